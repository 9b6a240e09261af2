#ifndef LONGPRESSCOUNTDOWN_H
#define LONGPRESSCOUNTDOWN_H

#include <QString>
#include <QtGlobal>

// The arithmetic of the plot's press-and-hold popup, kept apart from the
// widget so that it can be checked without a clock or a mouse.

// The hold time as the press text shows it: 2000 ms gives "2", 2500 ms "2.5".
QString longPressHoldSecondsText(int nLongPressTimeMs);

// Whole seconds left, truncated toward zero and deliberately not clamped: a
// finger held past the delay counts on into negative numbers.
int longPressRemainingSeconds(int nLongPressTimeMs, qint64 nElapsedMs);

// The countdown line rewritten at every tick (not translated).
QString longPressTickText(int nLongPressTimeMs, qint64 nElapsedMs);

// A release counts as a long press only when the hold lasted strictly longer
// than the delay.
bool isLongPress(int nLongPressTimeMs, qint64 nElapsedMs);

#endif // LONGPRESSCOUNTDOWN_H
