#include "script/scriptProgressRelay.h"

#include "script/scriptExecutor.h"

scriptProgressRelay::scriptProgressRelay(QObject *parent)
    : QObject(parent)
{
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

void scriptProgressRelay::setOpen(bool bOpen)
{
    pending.setOpen(bOpen);
}

void scriptProgressRelay::onCommandExecuted(int nCmdNr, int ncurrentRepetition, int nRepeat,
                                          const QString &strSetData)
{
    post(pending.put([&](waiting &w) {
        w.started = report{true, nCmdNr, ncurrentRepetition, nRepeat, strSetData, QString()};
        // Progress of an earlier command is older than this start.
        w.progress = report();
    }));
}

void scriptProgressRelay::onUpdateCommandExecute(int nCmdNr, int ncurrentRepetition, int nRepeat,
                                               const QString &strSetData, const QString &strCmdType)
{
    post(pending.put([&](waiting &w) {
        w.progress = report{true, nCmdNr, ncurrentRepetition, nRepeat, strSetData, strCmdType};
    }));
}

void scriptProgressRelay::post(bool bPost)
{
    if (bPost)
        QMetaObject::invokeMethod(this, &scriptProgressRelay::deliver, Qt::QueuedConnection);
}

void scriptProgressRelay::deliver()
{
    const waiting w = pending.take();
    if (w.started.bValid)
        emit commandStarted(w.started.nCmdNr, w.started.nRepetition, w.started.nRepeat, w.started.strSetData);
    if (w.progress.bValid)
        emit commandProgress(w.progress.nCmdNr, w.progress.nRepetition, w.progress.nRepeat, w.progress.strSetData,
                             w.progress.strCmdType);
}
