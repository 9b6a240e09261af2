#include "platform/systemClock.h"

#include <QAtomicPointer>
#include <QElapsedTimer>

namespace {
systemClock realClock;
QAtomicPointer<systemClock> currentClock(nullptr);

const QElapsedTimer &processTimer()
{
    static QElapsedTimer timer = [] { QElapsedTimer t; t.start(); return t; }();
    return timer;
}
} // namespace

QDateTime systemClock::now() const
{
    return QDateTime::currentDateTime();
}

qint64 systemClock::monotonicMsecs() const
{
    return processTimer().elapsed();
}

systemClock &systemClock::instance()
{
    systemClock *p = currentClock.loadAcquire();
    return p ? *p : realClock;
}

void systemClock::setInstance(systemClock *pClock)
{
    currentClock.storeRelease(pClock);
}
