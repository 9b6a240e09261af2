#include "manual/longPressCountdown.h"

#include <cmath>

QString longPressHoldSecondsText(int nLongPressTimeMs)
{
    return QString("%1").arg(nLongPressTimeMs / 1000.0, 0, 'g', -1, QLatin1Char(' '));
}

int longPressRemainingSeconds(int nLongPressTimeMs, qint64 nElapsedMs)
{
    const double dblRemaining = nLongPressTimeMs / 1000.0 - nElapsedMs / 1000.0;
    // Both operands are bounded (an int and a monotonic clock), so the
    // truncated value always fits an int.
    return static_cast<int>(std::trunc(dblRemaining));
}

QString longPressTickText(int nLongPressTimeMs, qint64 nElapsedMs)
{
    return QString("Hold to show context menu in %1 seconds")
        .arg(longPressRemainingSeconds(nLongPressTimeMs, nElapsedMs), 0, 10, QLatin1Char(' '));
}

bool isLongPress(int nLongPressTimeMs, qint64 nElapsedMs)
{
    return nElapsedMs > nLongPressTimeMs;
}
