#include "script/scriptProgressRelay.h"

#include "platform/systemClock.h"
#include "script/scriptExecutor.h"

#include <QMutexLocker>
#include <QTimer>

#include <algorithm>

namespace {

qint64 nowMs()
{
    return systemClock::instance().monotonicMsecs();
}

} // namespace

scriptProgressRelay::scriptProgressRelay(QObject *parent)
    : QObject(parent)
    , pDueTimer(new QTimer(this))
    , queue(nowMs())
{
    pDueTimer->setSingleShot(true);
    // Never early: an early shot would find nothing due and shoot again.
    pDueTimer->setTimerType(Qt::PreciseTimer);
    connect(pDueTimer, &QTimer::timeout, this, &scriptProgressRelay::onDue);
}

template <typename F>
void scriptProgressRelay::takeAndHandOn(bool bAll, F &&fnThen)
{
    QVector<scriptProgressQueue::report> reports;
    {
        QMutexLocker lock(&mutex);
        reports = bAll ? queue.takeAll(nowMs()) : queue.take();
        fnThen();
    }
    handOn(reports);
}

void scriptProgressRelay::follow(scriptExecutor *pExec, bool bFollow)
{
    if (bFollow) {
        const auto type = Qt::ConnectionType(Qt::DirectConnection | Qt::UniqueConnection);
        connect(pExec, &scriptExecutor::commandExecuted, this, &scriptProgressRelay::onCommandExecuted, type);
        connect(pExec, &scriptExecutor::updateCommandExecute, this, &scriptProgressRelay::onUpdateCommandExecute,
                type);
    } else {
        disconnect(pExec, &scriptExecutor::commandExecuted, this, &scriptProgressRelay::onCommandExecuted);
        disconnect(pExec, &scriptExecutor::updateCommandExecute, this,
                   &scriptProgressRelay::onUpdateCommandExecute);
    }
    setOpen(bFollow);
}

void scriptProgressRelay::setOpen(bool bOpenNow)
{
    if (!bOpenNow) {
        takeAndHandOn(true, [this] { bOpen = false; });
        return;
    }
    QMutexLocker lock(&mutex);
    if (!bOpen)
        queue.reset(nowMs());
    bOpen = true;
}

void scriptProgressRelay::flush()
{
    takeAndHandOn(true, [] {});
}

void scriptProgressRelay::newRun()
{
    takeAndHandOn(true, [this] {
        queue.reset(nowMs());
        bOpen = true;
    });
}

void scriptProgressRelay::onCommandExecuted(int nCmdNr, int ncurrentRepetition, int nRepeat,
                                          const QString &strSetData)
{
    put({scriptProgressQueue::report::STARTED, nCmdNr, ncurrentRepetition, nRepeat, strSetData, QString(), 0});
}

void scriptProgressRelay::onUpdateCommandExecute(int nCmdNr, int ncurrentRepetition, int nRepeat,
                                               const QString &strSetData, const QString &strCmdType)
{
    put({scriptProgressQueue::report::PROGRESS, nCmdNr, ncurrentRepetition, nRepeat, strSetData, strCmdType, 0});
}

void scriptProgressRelay::put(const scriptProgressQueue::report &r)
{
    bool bPost = false;
    bool bArm = false;
    {
        QMutexLocker lock(&mutex);
        if (!bOpen)
            return;
        bPost = queue.put(r, nowMs());
        if (!bDueTimerWanted && queue.dueMs() >= 0) {
            bDueTimerWanted = true;
            bArm = true;
        }
    }
    if (bPost)
        QMetaObject::invokeMethod(this, &scriptProgressRelay::deliver, Qt::QueuedConnection);
    if (bArm)
        QMetaObject::invokeMethod(this, &scriptProgressRelay::armDueTimer, Qt::QueuedConnection);
}

void scriptProgressRelay::deliver()
{
    takeAndHandOn(false, [] {});
}

void scriptProgressRelay::armDueTimer()
{
    qint64 nDue = -1;
    {
        QMutexLocker lock(&mutex);
        nDue = queue.dueMs();
        // Given up under the lock: a report that holds something back after
        // this asks for the timer again.
        if (nDue < 0)
            bDueTimerWanted = false;
    }
    if (nDue >= 0)
        pDueTimer->start(int(std::max<qint64>(0, nDue - nowMs())));
}

void scriptProgressRelay::onDue()
{
    QVector<scriptProgressQueue::report> reports;
    {
        QMutexLocker lock(&mutex);
        queue.release(nowMs());
        reports = queue.take();
    }
    handOn(reports);
    armDueTimer();
}

void scriptProgressRelay::handOn(const QVector<scriptProgressQueue::report> &reports)
{
    for (const scriptProgressQueue::report &r : reports) {
        switch (r.eKind) {
        case scriptProgressQueue::report::STARTED:
            emit commandStarted(r.nCmdNr, r.nRepetition, r.nRepeat, r.strSetData);
            break;
        case scriptProgressQueue::report::PROGRESS:
            emit commandProgress(r.nCmdNr, r.nRepetition, r.nRepeat, r.strSetData, r.strCmdType);
            break;
        case scriptProgressQueue::report::NOT_SHOWN:
            emit textsNotShown(r.nNotShown);
            break;
        }
    }
}
