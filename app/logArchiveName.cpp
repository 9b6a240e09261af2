#include "app/logArchiveName.h"

QString logArchiveName(const QDate &logDate)
{
    if (!logDate.isValid())
        return QStringLiteral("wk0-0");
    return QStringLiteral("wk%1-%2").arg(logDate.weekNumber()).arg(logDate.year());
}

bool logArchiveDue(const QDate &logDate, const QDate &today)
{
    if (!logDate.isValid())
        return true;
    return logDate < today.addDays(-7);
}

QString freeArchiveName(const QString &strName, const std::function<bool(const QString &)> &fnExists)
{
    if (!fnExists(strName))
        return strName;
    // Bounded so that a directory that claims every name cannot hang the start.
    for (int n = 2; n < 10000; ++n) {
        const QString strCandidate = QStringLiteral("%1_%2").arg(strName).arg(n);
        if (!fnExists(strCandidate))
            return strCandidate;
    }
    return QString();
}
