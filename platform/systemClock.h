#ifndef SYSTEMCLOCK_H
#define SYSTEMCLOCK_H

#include <QDateTime>
#include <QtGlobal>

// Wall clock and a monotonic millisecond counter, replaceable by tests
// (press-and-hold timing, log dates, week archives).
class systemClock
{
public:
    virtual ~systemClock() = default;
    virtual QDateTime now() const;
    virtual qint64 monotonicMsecs() const;

    static systemClock &instance();
    // The caller keeps ownership; nullptr restores the real clock.
    static void setInstance(systemClock *pClock);
};

#endif // SYSTEMCLOCK_H
