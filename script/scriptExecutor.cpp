#include "script/scriptExecutor.h"

#include "platform/systemClock.h"
#include "script/scriptCommandType.h"
#include "script/scriptMeasurement.h"

#include <QDebug>
#include <QThread>
#include <QTimer>

namespace {

// Reached reports that end a data wait.
constexpr int reachedReportsNeeded = 3;

} // namespace

scriptExecutor::scriptExecutor(QObject *parent)
    : QObject(parent)
    , nCmdIndex(0)
    , nLoopCounter(0)
    , bInLoop(false)
    , resumeable(false)
    , bRunActive(false)
    , waitTimer(nullptr)
    , nWaitStartMs(0)
    , nRunStartMs(0)
    , nRunTimeMs(0)
    , bRecording(false)
    , nMeasureMode(CURVE_DATA)
    , nLastPosition(-1)
    , dblDataSetpoint(0.0)
    , dblLastData(0.0)
    , bWaitForData(false)
    , nReachedCount(0)
    , bCountingReached(false)
    , bHoldDuringWait(false)
    , bPositionDisconnected(false)
    , bDataDisconnected(false)
{
    nRunStartMs = nowMs();
}

scriptExecutor::~scriptExecutor()
{
    delete waitTimer;
}

qint64 scriptExecutor::nowMs() const
{
    return systemClock::instance().monotonicMsecs();
}

void scriptExecutor::init()
{
    if (waitTimer)
        return;
    // No parent: the timer belongs to the thread that runs init().
    waitTimer = new QTimer;
    connect(waitTimer, &QTimer::timeout, this, &scriptExecutor::waitTimerElapsed);
}

void scriptExecutor::setScript(lvScript newScript)
{
    // Nothing of the previous run may act on the new script: a WAIT still
    // running would advance it, a cut report would never come back.
    dropPendingWaits();

    script = newScript;
    nCmdIndex = 0;
    bInLoop = false;
    bRecording = false;
    bRunActive = false;
    resumeable = false;
}

void scriptExecutor::processScript()
{
    // A second start while the run goes on (the start cell held or tapped
    // again) would execute the next command before the move, the wait or
    // the data wait under way has ended; the run simply goes on.
    if (bRunActive && !resumeable)
        return;
    nRunStartMs = nowMs();
    nRunTimeMs = 0;
    if (nCmdIndex < script.cmdList.size()) {
        bInLoop = false;
        loadCommand(nCmdIndex);
        nLoopCounter = currentCmd.nRepeat;
        resumeable = false;
        bRunActive = true;
        // A stop gave back the reports a data wait or its WAIT had cut.
        syncConnections();
        processNextCommand();
    } else {
        bRunActive = false;
        emit finished();
    }
}

void scriptExecutor::stopScript()
{
    // Seen at once by a chain of commands running in the script thread.
    resumeable = true;
    if (QThread::currentThread() == thread())
        applyStop();
    else
        QMetaObject::invokeMethod(this, [this] { applyStop(); }, Qt::QueuedConnection);
}

void scriptExecutor::dropPendingWaits()
{
    stopWaitTimer();
    bWaitForData = false;
    nReachedCount = 0;
    bCountingReached = false;
    bHoldDuringWait = false;
    restoreConnections();
}

void scriptExecutor::applyStop()
{
    const qint64 nNow = nowMs();
    nRunTimeMs += nNow - nRunStartMs;
    nRunStartMs = nNow;
    restoreConnections();
}

void scriptExecutor::setResume(bool bResume)
{
    resumeable = bResume;
    const qint64 nNow = nowMs();
    if (!bResume)
        nRunTimeMs += nNow - nRunStartMs;
    nRunStartMs = nNow;
}

void scriptExecutor::processNextCommand()
{
    if (resumeable)
        return;
    if (bWaitForData) {
        bCountingReached = true;
        ++nReachedCount;
        if (nReachedCount < reachedReportsNeeded)
            return;
        endDataWait();
    }
    executeChain();
}

void scriptExecutor::endDataWait()
{
    bWaitForData = false;
    bCountingReached = false;
    if (nCmdIndex < script.cmdList.size() && currentCmd.nCmdType == CMD_WAIT) {
        // The regulation holds the value through the WAIT.
        bHoldDuringWait = true;
        syncConnections();
    } else {
        emit stopFeedbackData();
        syncConnections();
    }
}

void scriptExecutor::waitTimerElapsed()
{
    stopWaitTimer();
    ++nCmdIndex;
    bHoldDuringWait = false;
    syncConnections();
    if (nCmdIndex < script.cmdList.size()) {
        loadCommand(nCmdIndex);
        executeChain();
    } else {
        finishRun();
    }
}

void scriptExecutor::onSetCmd(int nCmdNr)
{
    if (nCmdNr < 0 || nCmdNr >= script.cmdList.size())
        return;
    // A new start: what the interrupted run waited for is dropped.
    dropPendingWaits();
    bRunActive = false;

    nCmdIndex = nCmdNr;
    bInLoop = false;
    loadCommand(nCmdNr);
    nLoopCounter = currentCmd.nRepeat;
    executedCmd = currentCmd;
}

void scriptExecutor::onMotorPositionUpdated(int motorPosition)
{
    nLastPosition = motorPosition;
    if (bRecording)
        emit getAnalogValue();
}

void scriptExecutor::onGetAnalogValue(double dblData1, double dblData2, double dblData3, int nIsFeedback1,
                                      int nIsFeedback2)
{
    if (resumeable)
        return;

    if (bRunActive || bWaitForData) {
        if (executedCmd.nCmdType == CMD_WAIT)
            emit updateCommandExecute(executedCmd.nCmdNr, 0, 0,
                                      waitProgressText(nowMs() - nWaitStartMs, executedCmd.nValue),
                                      executedCmd.getCmdName());
        else if (executedCmd.nCmdType == CMD_GOTODATA)
            emit updateCommandExecute(executedCmd.nCmdNr, 0, 0, reachedProgressText(nReachedCount),
                                      executedCmd.getCmdName());
    }

    if (!bRecording || nLastPosition == -1)
        return;

    const qint64 nNow = nowMs();
    nRunTimeMs += nNow - nRunStartMs;
    nRunStartMs = nNow;

    lvTeachInData point;
    point.dblTime = nRunTimeMs / 1000.0;
    point.nSteps = nLastPosition;
    point.dblCh1 = feedbackChannel(dblData1, dblData2, dblData3, nIsFeedback1);
    point.dblCh2 = feedbackChannel(dblData1, dblData2, dblData3, nIsFeedback2);
    // Evaluated outside the record's lock, so the diagram never waits for it.
    const lvSensor sensor = teachIn.withLock([](const lvTeachIn &t) { return t.sensor; });
    point.dblData = sensor.evaluate(point.dblCh1, point.dblCh2);
    point.dblSetpoint = dblDataSetpoint;
    point.nCurveType = nMeasureMode;
    dblLastData = point.dblData;
    teachIn.withLock([&point](lvTeachIn &t) { appendMeasurementPoint(t, point); });
    emit updateDiagramMeasure(&teachIn, bCountingReached);
}

void scriptExecutor::onSetExtFeedback(lvExternalFeedback plvExtFeedback)
{
    extFeedback = plvExtFeedback;
}

// ---------------------------------------------------------------------------
// Running the commands

void scriptExecutor::loadCommand(int nIndex)
{
    if (nIndex < 0 || nIndex >= script.cmdList.size())
        return;
    currentCmd = script.cmdList.at(nIndex);
    currentCmd.nCurrentRepetition = currentCmd.nRepeat;
    if (!bInLoop)
        nLoopCounter = currentCmd.nRepeat;
}

bool scriptExecutor::advance()
{
    ++nCmdIndex;
    if (nCmdIndex < script.cmdList.size()) {
        loadCommand(nCmdIndex);
        return true;
    }
    finishRun();
    return false;
}

void scriptExecutor::finishRun()
{
    nCmdIndex = script.cmdList.size();
    bInLoop = false;
    bRunActive = false;
    emit finished();
}

void scriptExecutor::executeChain()
{
    // Commands that complete at once are chained in this loop, never by
    // recursion, so a long loop of them needs no stack; a stop from another
    // thread ends the chain before its next command.
    chainRequests.newChain();
    for (;;) {
        if (resumeable || !bRunActive || nCmdIndex >= script.cmdList.size())
            return;
        executedCmd = currentCmd;
        const lvScriptCommand &cmd = executedCmd;

        if (cmd.nCmdType == CMD_GOTODATA) {
            // One evaluation serves the progress text and the set value.
            lvSensor sensor = extFeedback.get().sensor;
            sensor.calcData(cmd.nValue / 1000.0, cmd.nRepeat / 1000.0);
            dblDataSetpoint = sensor.dblResult;
            if (nLoopCounter != 0)
                emit commandExecuted(cmd.nCmdNr, nLoopCounter, cmd.nRepeat, QString());
            else
                emit commandExecuted(cmd.nCmdNr, 0, 0, sensor.strResult);
        } else if (nLoopCounter != 0) {
            emit commandExecuted(cmd.nCmdNr, nLoopCounter, cmd.nRepeat, QString());
        } else {
            emit commandExecuted(cmd.nCmdNr, cmd.nRepeat, 0, QString());
        }

        switch (cmd.nCmdType) {
        case CMD_GOTOPOS:
            emit gotoPosAbs(cmd.nValue);
            advance();
            return;
        case CMD_GOTOREL:
            emit gotoPosRel(cmd.nValue);
            advance();
            return;
        case CMD_GOTODATA:
            executeGotoData();
            advance();
            return;
        case CMD_WAIT:
            if (!waitTimer)
                init();
            nWaitStartMs = nowMs();
            waitTimer->start(cmd.nValue);
            return;
        case CMD_GOTOCMD:
            bInLoop = true;
            if (nLoopCounter != 0) {
                if (cmd.nValue < 0 || cmd.nValue >= script.cmdList.size()) {
                    qWarning() << "script" << script.strName << "command" << cmd.nCmdNr
                               << "jumps to a command the script does not have:" << cmd.nValue;
                    finishRun();
                    return;
                }
                nCmdIndex = cmd.nValue;
                --nLoopCounter;
                emit setCmdRepetition(nLoopCounter);
                loadCommand(nCmdIndex);
                continue;
            }
            bInLoop = false;
            break;
        case CMD_MEAS:
            executeMeasure(CURVE_DATA);
            break;
        case CMD_MEASCLOSE:
            executeMeasure(CURVE_CLOSE);
            break;
        case CMD_MEASOPEN:
            executeMeasure(CURVE_OPEN);
            break;
        case CMD_SAVE:
            saveRecord();
            break;
        default:
            // A type no keyword names does nothing.
            break;
        }
        if (!advance())
            return;
    }
}

void scriptExecutor::executeGotoData()
{
    const bool bSwitchMeasuringOn = !bWaitForData && !bRecording;
    bWaitForData = true;
    nReachedCount = 0;
    // The position report is cut before the drive is asked to go: an
    // "already there" answer must not count as a reached data point.
    syncConnections();
    emit gotoData(executedCmd.nValue, executedCmd.nRepeat, dblLastData);
    if (bSwitchMeasuringOn && chainRequests.measurement(true))
        emit setMeasurement(true);
}

void scriptExecutor::executeMeasure(int nMode)
{
    const lvScriptCommand &cmd = executedCmd;
    if (!bWaitForData && !bRecording && cmd.nValue != 0 && chainRequests.measurement(true))
        emit setMeasurement(true);
    if (cmd.nRepeat > 0)
        bRecording = true;
    nMeasureMode = nMode;
    if (cmd.nValue == 0) {
        if (chainRequests.measurement(false))
            emit setMeasurement(false);
        bRecording = false;
    }
    if (cmd.nValue == 1)
        clearRecord();
}

void scriptExecutor::clearRecord()
{
    const lvSensor sensor = extFeedback.get().sensor;
    teachIn.withLock([&sensor](lvTeachIn &t) { resetMeasurementRecord(t, sensor); });
    nLastPosition = -1;
    if (chainRequests.clearDiagram())
        emit clearDiagram();
}

void scriptExecutor::saveRecord()
{
    const QString strName = script.strName;
    // Fewer than two points make no curve: an existing teach-in of this name
    // is kept and nothing is offered.
    if (teachIn.withLock([](const lvTeachIn &t) { return t.vecTeachInData.size(); }) < 2) {
        qWarning() << "script" << strName << ": fewer than two measured points, nothing saved";
        return;
    }
    if (!teachIn.saveTeachInToFile(strName)) {
        qWarning() << "script" << strName << ": the teach-in file could not be written";
        return;
    }
    emit newDataSeved(strName);
    emit setDiagramName(strName);
}

// ---------------------------------------------------------------------------
// Report connections

void scriptExecutor::syncConnections()
{
    const bool bNeedPositionCut = bWaitForData || bHoldDuringWait;
    const bool bNeedDataCut = bHoldDuringWait;
    if (bDataDisconnected && !bNeedDataCut) {
        bDataDisconnected = false;
        emit connectDataReached(true);
    }
    if (bPositionDisconnected && !bNeedPositionCut) {
        bPositionDisconnected = false;
        emit connectPositionReached(true);
    }
    if (bNeedPositionCut && !bPositionDisconnected) {
        bPositionDisconnected = true;
        emit connectPositionReached(false);
    }
    if (bNeedDataCut && !bDataDisconnected) {
        bDataDisconnected = true;
        emit connectDataReached(false);
    }
}

void scriptExecutor::restoreConnections()
{
    if (bDataDisconnected) {
        bDataDisconnected = false;
        emit connectDataReached(true);
    }
    if (bPositionDisconnected) {
        bPositionDisconnected = false;
        emit connectPositionReached(true);
    }
}

void scriptExecutor::stopWaitTimer()
{
    if (waitTimer)
        waitTimer->stop();
}
