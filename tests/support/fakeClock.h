#ifndef FAKECLOCK_H
#define FAKECLOCK_H

#include "platform/systemClock.h"

#include <QAtomicInteger>

// A clock that moves only when the test says so. Installs itself while alive.
class fakeClock : public systemClock
{
public:
    explicit fakeClock(const QDateTime &start = QDateTime(QDate(2026, 1, 5), QTime(8, 0)))
        : dtStart(start)
    {
        systemClock::setInstance(this);
    }
    ~fakeClock() override { systemClock::setInstance(nullptr); }

    QDateTime now() const override { return dtStart.addMSecs(nMsecs.loadAcquire()); }
    qint64 monotonicMsecs() const override { return nMsecs.loadAcquire(); }

    void advance(qint64 nBy) { nMsecs.fetchAndAddOrdered(nBy); }
    void setNow(const QDateTime &dt) { dtStart = dt; nMsecs.storeRelease(0); }

private:
    QDateTime dtStart;
    QAtomicInteger<qint64> nMsecs{0};
};

#endif // FAKECLOCK_H
