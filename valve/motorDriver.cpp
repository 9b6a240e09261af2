#include "valve/motorDriver.h"

#include "platform/serialDeviceName.h"
#include "valve/analogData.h"
#include "valve/bergerLahrCommands.h"
#include "valve/bergerLahrReply.h"
#include "valve/lvTeachIn.h"
#include "valve/motionCommands.h"
#include "valve/nanoTecCommands.h"
#include "valve/nanoTecReply.h"
#include "valve/positionUnits.h"
#include "valve/analogRemoteMapping.h"

#include <QLoggingCategory>
#include <QMutexLocker>
#include <QTimer>

#include <cmath>
#include <cstdlib>
#include <limits>

Q_LOGGING_CATEGORY(lcMotorDriver, "valve.motordriver")

static_assert(int(motorDriver::BergerLahr) == int(motorFamily::BERGER_LAHR), "family values");
static_assert(int(motorDriver::REMOTE_OFF) == int(remoteSide::OFF)
                  && int(motorDriver::REMOTE_DIRECT) == int(remoteSide::DIRECT)
                  && int(motorDriver::REMOTE_TERMINAL) == int(remoteSide::TERMINAL)
                  && int(motorDriver::REMOTE_ANALOG) == int(remoteSide::ANALOG)
                  && int(motorDriver::REMOTE_PARSER) == int(remoteSide::PARSER)
                  && int(motorDriver::REMOTE_MODBUS) == int(remoteSide::MODBUS),
              "remote mode values");
static_assert(int(motorDriver::NanoTec) == int(motorFamily::NANOTEC), "family values");

namespace {

constexpr int TICK_MS = 100;
// Ticks between two attempts to open a port that would not open.
constexpr int REOPEN_TICKS = 10;
// A controller reply line is a few bytes; more than this without being taken
// is line noise, not something to keep collecting.
constexpr int MAX_PENDING_REPLY_BYTES = 4096;
// Commands queued while the port is not open are never written; keep only
// the latest ones instead of growing without bound (an analog remote queues a
// go-to per sample).
constexpr int MAX_QUEUED_WHILE_CLOSED = 256;
constexpr int NO_ERROR_INDEX = std::numeric_limits<int>::min();

// The drive's remote side until one is handed over: no mode, no transport.
class noRemoteSide : public remoteSide
{
public:
    using remoteSide::remoteSide;
    int mode() const override { return OFF; }
    pcPortResult connectUsb(int, const QString &, int) override { return PC_PORT_UNUSED; }
    void connectEthernet(int, const QString &, int, int) override {}
    void connectAnalog() override {}
    void disconnectUsb() override {}
    void disconnectEthernet() override {}
    void disconnectAnalog() override {}
    void sendToPc(const QByteArray &) override {}
    void clearPcData() override {}
    void regulationEnded() override {}
    void readPcSerial() override {}
    void acceptTcpClients() override {}
    void tcpClientGone() override {}
    void readTcpClient() override {}
    QString pcPortErrorString() const override { return QString(); }
};

} // namespace

motorDriver::motorDriver(QObject *parent, int nType)
    : QObject(parent)
    , nErrIndex(NO_ERROR_INDEX)
{
    pCommTimer = new QTimer(this);
    pCommTimer->start(TICK_MS);
    connect(pCommTimer, SIGNAL(timeout()), this, SLOT(communicateWithMotor()));

    pSerialMotor = new QSerialPort(this);
    connect(pSerialMotor, SIGNAL(errorOccurred(QSerialPort::SerialPortError)), this,
            SLOT(handleErrorMotor(QSerialPort::SerialPortError)));
    connect(pSerialMotor, SIGNAL(readyRead()), this, SLOT(readFromMotor()));

    setMotorType(nType);
    nMotStat |= STAT_POS_REACHED;

    remote = new noRemoteSide(this);
}

motorDriver::~motorDriver()
{
    if (pSerialMotor->isOpen()) {
        pSerialMotor->close();
        qCDebug(lcMotorDriver) << "serial close";
    }
    delete pCommTimer;
    delete remote;
    delete pSerialMotor;
    qCDebug(lcMotorDriver) << "motorDriver destroyed";
}

// ---------------------------------------------------------------- accessors

void motorDriver::setMotorType(int nType)
{
    nMotorType = nType;
    family = motorFamily::forType(nType);
    motorCmdList.setFamily(nType);
    // A type without a family keeps fixed limits of nothing: it has no
    // travel, so every go-to is refused instead of dividing by it.
    nMinSteps = family.nMinSteps;
    nMaxSteps = family.nMaxSteps;
    nDelta = family.nDelta;
}

int motorDriver::getMotorType() const
{
    return nMotorType;
}

int motorDriver::getEncoderSteps() const
{
    return motorPosition;
}

int motorDriver::getMotorPosition() const
{
    return nPositionPpm;
}

void motorDriver::setTeachIn(lvTeachIn *pTeach)
{
    pTeachIn = pTeach;
    if (pTeach)
        qCDebug(lcMotorDriver) << "teachin set:" << pTeach->withLock([](const lvTeachIn &t) { return t.strTeachInFile; });
    else
        qCDebug(lcMotorDriver) << "teachin set:";
}

void motorDriver::setAnalogData(analogData *pData)
{
    pAnalogData = pData;
}

qint64 motorDriver::getTotalSteps() const
{
    return nTotalSteps;
}

void motorDriver::setTotalSteps(qint64 nSteps)
{
    nTotalSteps = nSteps;
}

int motorDriver::getContSpeed() const
{
    return nContSpeed;
}

QString motorDriver::getMotorPort() const
{
    QMutexLocker locker(&mtxPortNames);
    return strMotorPort;
}

QString motorDriver::getRemotePort() const
{
    QMutexLocker locker(&mtxPortNames);
    return strRemotePort;
}

void motorDriver::setRemotePort(QString strPort)
{
    QMutexLocker locker(&mtxPortNames);
    strRemotePort = strPort;
}

// --------------------------------------------------------- link and the tick

void motorDriver::communicateWithMotor()
{
    // The tick stops with the thread it runs in, so that a driver deleted
    // after its thread ended has no live timer in a dead thread.
    if (pTickThread != QThread::currentThread()) {
        pTickThread = QThread::currentThread();
        connect(pTickThread, &QThread::finished, pCommTimer, &QTimer::stop, Qt::DirectConnection);
    }
    if (family.bKnown && remote->isPassThrough()) {
        if (nMotStat & STAT_PORT_NOT_OPEN)
            retryOpenMotorPort();
        // The PC or the terminal owns the line: no polls, no waiting for
        // replies that go to them, no reconnect. What the operator queues
        // meanwhile (a Stop above all) still goes out, one command a tick.
        if (nStaleReplyLines > 0 && ++nStaleTicks > motorCommandQueue::NO_ANSWER_TICKS)
            nStaleReplyLines = 0;
        if (!motorCmdList.isEmpty()) {
            writeCommand(motorCmdList.head()->strSendData);
            motorCmdList.dropHead();
        }
    } else if (family.bKnown) {
        if (nMotStat & STAT_PORT_NOT_OPEN)
            retryOpenMotorPort();
        const motorCommandQueue::tickResult r = motorCmdList.tick(!remote->ownsLine());
        if (bDebug)
            for (const controllerCommand &c : r.queued)
                emit debugSendToMotor(QString::fromLatin1(c.strCommand));
        if (!r.strWrite.isEmpty())
            writeCommand(r.strWrite);
        if (r.bNoAnswer)
            reconnectAfterSilence();
    }
    renderStatusText();
}

void motorDriver::writeCommand(const QByteArray &strCommand)
{
    qCDebug(lcMotorDriver) << "command list count: " << motorCmdList.count();
    qCDebug(lcMotorDriver) << "sending cmd";
    qCDebug(lcMotorDriver) << "data: " << strCommand;
    qCDebug(lcMotorDriver) << "MotorDriver Thread ID: " << QThread::currentThreadId();
    // A closed port takes nothing; the no-answer countdown then runs out.
    if (pSerialMotor->isOpen())
        pSerialMotor->write(strCommand);
}

void motorDriver::reconnectAfterSilence()
{
    nMotStat |= STAT_RECONNECT;
    nMotStat &= ~STAT_OK;
    ++nReconnectCount;
    clearCommandQueue(false);
    pSerialMotor->close();
    connectMotorSerial(getMotorPort());
    qCDebug(lcMotorDriver) << "error: no Answer";
}

void motorDriver::retryOpenMotorPort()
{
    // An adapter that was unplugged comes back without a restart. Commands
    // queued meanwhile are stale and are not written afterwards.
    if (pSerialMotor->portName().isEmpty() || ++nReopenTicks < REOPEN_TICKS)
        return;
    nReopenTicks = 0;
    if (!openMotorPort())
        return;
    clearCommandQueue(false);
    motorCmdList.setReady();
    if (family.isBergerLahr()) {
        setMotorCommand(bergerLahrCommands::statusQuery(true).strCommand, true);
        motorCmdList.stopAfterCommandRounds();
    }
}

bool motorDriver::openMotorPort()
{
    if (pSerialMotor->isOpen())
        pSerialMotor->close();
    pSerialMotor->clearError();
    if (pSerialMotor->open(QIODevice::ReadWrite)) {
        // Whatever waited in the line belongs to commands nobody waits for.
        pSerialMotor->clear(QSerialPort::AllDirections);
        dataReadMotor.clear();
        nMotStat |= STAT_OK;
        nMotStat &= ~STAT_PORT_NOT_OPEN;
        motorCmdList.setReady();
        nReopenTicks = 0;
        ++nPortOpenings;
        qCDebug(lcMotorDriver) << "serial Open";
        return true;
    }
    nMotStat |= STAT_PORT_NOT_OPEN;
    qCDebug(lcMotorDriver) << "serial not open";
    return false;
}

void motorDriver::connectMotorSerial(QString strPort)
{
    if (deferToOwnThread([this, strPort] { connectMotorSerial(strPort); }))
        return;
    {
        QMutexLocker locker(&mtxPortNames);
        strMotorPort = strPort;
    }
    if (family.bKnown) {
        pSerialMotor->setPortName(resolveSerialDeviceName(strPort));
        pSerialMotor->setBaudRate(family.nBaudRate, QSerialPort::AllDirections);
    }
    pSerialMotor->setDataBits(QSerialPort::Data8);
    pSerialMotor->setParity(QSerialPort::NoParity);
    pSerialMotor->setStopBits(QSerialPort::OneStop);
    pSerialMotor->setFlowControl(QSerialPort::NoFlowControl);
    openMotorPort();
    if (family.isBergerLahr()) {
        // Only the status query itself, not the rounds that follow motion.
        setMotorCommand(bergerLahrCommands::statusQuery(true).strCommand, true);
        motorCmdList.stopAfterCommandRounds();
    }
}

void motorDriver::setMotorCommand(QByteArray strCommand, bool queryAfter, bool bRepeatCmd)
{
    if (deferToOwnThread([this, strCommand, queryAfter, bRepeatCmd] {
            setMotorCommand(strCommand, queryAfter, bRepeatCmd);
        }))
        return;
    if (bDebug)
        emit debugSendToMotor(QString::fromLatin1(strCommand));
    if (!pSerialMotor->isOpen() && motorCmdList.count() >= MAX_QUEUED_WHILE_CLOSED) {
        qCDebug(lcMotorDriver) << "queue full while the port is closed, oldest command dropped";
        motorCmdList.dropHead();
    }
    motorCmdList.append(strCommand, queryAfter, bRepeatCmd);
}

void motorDriver::queueCommands(const controllerCommandList &commands)
{
    for (const controllerCommand &c : commands)
        setMotorCommand(c.strCommand, c.bQueryAfter, c.bRepeat);
}

void motorDriver::clearCommandQueue(bool bLinkReady)
{
    const int nOwed = motorCmdList.clear();
    dataReadMotor.clear();
    nStaleReplyLines = bLinkReady ? nOwed : 0;
    if (bLinkReady && pSerialMotor->isOpen() && motorCmdList.maySend() == motorCommandQueue::MAY_SEND_WAITING)
        motorCmdList.setReady();
}

void motorDriver::sendToMotor(QByteArray data)
{
    if (deferToOwnThread([this, data] { sendToMotor(data); }))
        return;
    qCDebug(lcMotorDriver) << "send to motor: " << data;
    if (pSerialMotor->isOpen())
        pSerialMotor->write(data);
}

void motorDriver::sendToPc(QByteArray data)
{
    if (deferToOwnThread([this, data] { sendToPc(data); }))
        return;
    remote->sendToPc(data);
}

void motorDriver::readFromPc()
{
    if (deferToOwnThread([this] { readFromPc(); }))
        return;
    remote->readPcSerial();
}

void motorDriver::handleErrorMotor(QSerialPort::SerialPortError error)
{
    if (error != QSerialPort::ResourceError)
        return;
    qCDebug(lcMotorDriver) << "error Motor-Com: " << pSerialMotor->errorString() << "end";
    // The device is gone: a port left open on it reports the same error in
    // a busy loop. Close it (after the serial port has finished emitting);
    // the no-answer countdown then reopens it as for any silent controller.
    // A port reopened meanwhile is a new one and stays open.
    const int nOpening = nPortOpenings;
    QMetaObject::invokeMethod(
        this,
        [this, nOpening] {
            if (nOpening == nPortOpenings && pSerialMotor->isOpen())
                pSerialMotor->close();
        },
        Qt::QueuedConnection);
}

void motorDriver::handleErrorPc(QSerialPort::SerialPortError error)
{
    if (error == QSerialPort::ResourceError)
        qCDebug(lcMotorDriver) << "error Pc-Com: " << remote->pcPortErrorString() << "end";
}

void motorDriver::renderStatusText()
{
    if (nMotStat == nMotStatShown && nNanoTecError == nNanoTecErrorShown)
        return;
    motorStatusValues v;
    v.nMotStat = nMotStat;
    v.nNanoTecError = nNanoTecError;
    v.strStatusLine = strStatusLine;
    v.nTargetPpm = nTargetPpm;
    v.nReconnectCount = nReconnectCount;
    v.nSettingsPosition = nSettingsPosition;
    v.nPositionPpm = nPositionPpm;
    strStatusText = renderMotorStatusText(v);
    // "Reconnect:%1" belongs to exactly one emitted text per reconnect.
    nMotStat &= ~STAT_RECONNECT;
    nMotStatShown = nMotStat;
    nNanoTecErrorShown = nNanoTecError;
    emit setMotorStatus(strStatusText);
}

void motorDriver::stopCommunication()
{
    if (deferToOwnThread([this] { stopCommunication(); }))
        return;
    pCommTimer->stop();
}

// ------------------------------------------------------------------ replies

void motorDriver::readFromMotor()
{
    if (deferToOwnThread([this] { readFromMotor(); }))
        return;
    const QByteArray bytesRead = pSerialMotor->isOpen() ? pSerialMotor->readAll() : QByteArray();
    if (bDebug)
        dataReadMotor.append(strDebugData.get().toLatin1());
    else
        dataReadMotor.append(bytesRead);

    if (takeRemoteMotorData(bytesRead))
        return;

    if (!family.bKnown) {
        // Nothing parses replies for such a type; do not collect them either.
        dataReadMotor.clear();
        return;
    }
    if (dataReadMotor.contains('\r')) {
        nReconnectCount = 0;
        while (dataReadMotor.contains('\r')) {
            if (nStaleReplyLines > 0) {
                const QByteArray strStale = motorCommandQueue::takeLine(dataReadMotor);
                --nStaleReplyLines;
                qCDebug(lcMotorDriver) << "late reply dropped: " << strStale;
                continue;
            }
            // A line that arrives with nothing queued waits for the next command.
            if (motorCmdList.isEmpty())
                break;
            const QByteArray strLine = motorCommandQueue::takeLine(dataReadMotor);
            if (family.isBergerLahr())
                processBergerLahrLine(strLine);
            else
                processNanoTecLine(strLine);
        }
    }
    if (dataReadMotor.size() > MAX_PENDING_REPLY_BYTES) {
        qCDebug(lcMotorDriver) << "controller data discarded: " << dataReadMotor.size() << "bytes";
        dataReadMotor.clear();
    }
}

void motorDriver::processBergerLahrLine(const QByteArray &strLine)
{
    if (motorCmdList.takeReplyLine(strLine) == motorCommandQueue::LINE_COMPLETED) {
        const bergerLahrReply reply = bergerLahrReply::parse(strLine.left(strLine.size() - 1));
        if (reply.isStatus()) {
            takeBergerLahrPosition(reply.nPosition);
            nMotStat |= STAT_WAITING_FOR_CMD;
            if (reply.bLimitReached)
                nMotStat |= STAT_LIMIT_SWITCH;
            if (reply.bLimitClear)
                nMotStat &= ~STAT_LIMIT_SWITCH;
        }
    }
    testTarget();
}

void motorDriver::processNanoTecLine(const QByteArray &strLine)
{
    const nanoTecReply reply = nanoTecReply::parse(strLine.left(strLine.size() - 1));
    if (reply.encoder.bPresent)
        applyNanoTecEncoder(reply.encoder.nMagnitude, reply.encoder.bUnknown, reply.encoder.valveSteps());
    if (reply.stepCounter.bPresent)
        applyNanoTecStepCounter(reply.stepCounter.nMagnitude, reply.stepCounter.bUnknown,
                                reply.stepCounter.valveSteps());
    if (reply.bStatus)
        applyNanoTecStatus(reply.nStatus);
    if (reply.bErrorNumber)
        applyNanoTecErrorNumber(reply.nErrorNumber);
    if (reply.bErrorIndex)
        applyNanoTecErrorIndex(reply.nErrorIndex);
    if (reply.bInputWord)
        applyNanoTecInputWord(reply.nInputWord);
    motorCmdList.takeReplyLine(strLine);
    testTarget();
}

void motorDriver::updatePositionPpm(int nNewPpm)
{
    // The first position read adds no travel.
    const int nOld = nPositionPpm;
    if (nOld != -1)
        nTotalSteps += std::llabs(qint64(nOld) - qint64(nNewPpm));
    nPositionPpm = nNewPpm;
}

void motorDriver::emitPosAndStepsReadOnce()
{
    if (bPosAndStepsSent)
        return;
    bPosAndStepsSent = true;
    emit posAndStepsRead();
}

void motorDriver::takeBergerLahrPosition(int nSteps)
{
    bPositionKnown = true;
    if (nSteps == motorPosition)
        return;
    motorPosition = nSteps;
    // Queued with the after-command polls: a moving valve is followed.
    setMotorCommand(bergerLahrCommands::statusQuery(true).strCommand, true);
    nStepsPosition = nSteps;
    const int nPpm = positionUnits::stepsToPpm(nSteps, nMaxSteps);
    updatePositionPpm(nPpm);
    nStepsPositionPpm = nPpm;
    emit setMotorPosition(nPositionPpm);
    emit setMotorPositionSteps(nStepsPositionPpm);
    emitPosAndStepsReadOnce();
}

void motorDriver::applyNanoTecEncoder(int nMagnitude, bool bUnknown, int nValveSteps)
{
    // The controller answers "?" when it has no position: nothing changes.
    if (bUnknown)
        return;
    bPositionKnown = true;
    // Compared by magnitude, as the controller reports it.
    if (nMagnitude == motorPosition)
        return;
    motorPosition = nValveSteps;
    bEncoderRead = true;
    updatePositionPpm(positionUnits::stepsToPpm(nValveSteps, nMaxSteps));
    emit setMotorPosition(nPositionPpm);
    // After the position is taken, so that a comparison it triggers sees it.
    if (bStepsRead)
        emitPosAndStepsReadOnce();
}

void motorDriver::applyNanoTecStepCounter(int nMagnitude, bool bUnknown, int nValveSteps)
{
    if (bUnknown || nMagnitude == nStepsPosition)
        return;
    nStepsPosition = nValveSteps;
    bStepsRead = true;
    nStepsPositionPpm = positionUnits::stepsToPpm(nValveSteps, nMaxSteps);
    emit setMotorPositionSteps(nStepsPositionPpm);
    if (bEncoderRead)
        emitPosAndStepsReadOnce();
}

void motorDriver::applyNanoTecStatus(int nStatus)
{
    emit setMotorStatusCtrl(nStatus);
    if (nStatus & 0x01)
        nMotStat |= STAT_WAITING_FOR_CMD;
    else
        nMotStat &= ~STAT_WAITING_FOR_CMD;
    if (nStatus & 0x02)
        nMotStat |= STAT_LIMIT_SWITCH;
    else
        nMotStat &= ~STAT_LIMIT_SWITCH;
    if (nStatus & 0x04) {
        nMotStat |= STAT_POS_ERROR;
        motorCmdList.stopStatusQueries();
        queueCommands({nanoTecCommands::errorIndexQuery()});
        // Every seventh report in a row also stops the motor and clears it.
        if (nPosErrorCount > 5) {
            queueCommands(nanoTecCommands::stopAndClearPositionError());
            nPosErrorCount = 0;
        } else {
            ++nPosErrorCount;
        }
    } else {
        nMotStat &= ~STAT_POS_ERROR;
    }
}

void motorDriver::applyNanoTecErrorIndex(int nIndex)
{
    // The index found before the positions were read counts as known.
    if (!bPosAndStepsSent)
        nErrIndex = nIndex;
    if (nIndex != nErrIndex) {
        nErrIndex = nIndex;
        motorCmdList.stopStatusQueries();
        queueCommands({nanoTecCommands::errorNumberQuery(nIndex)});
    }
}

void motorDriver::applyNanoTecErrorNumber(int nNumber)
{
    if (bFirstErrorClear && nNanoTecError == 1) {
        queueCommands(nanoTecCommands::clearError());
        bFirstErrorClear = false;
        return;
    }
    nNanoTecError = nNumber;
}

void motorDriver::applyNanoTecInputWord(int nWord)
{
    const bool bNewOutput1 = (nWord & 0x10000) != 0;
    const bool bNewLimit = (nWord & 0x20) != 0;
    const bool bFirst = nInputWord == -1;
    nInputWord = nWord;
    if (bFirst || bNewOutput1 != bOutput1) {
        bOutput1 = bNewOutput1;
        emit onUpdateOutput1(bOutput1);
    }
    if (bFirst || bNewLimit != bLimitSwitch) {
        bLimitSwitch = bNewLimit;
        emit onUpdateLimitSwitch(bLimitSwitch);
    }
}

void motorDriver::testTarget()
{
    // Without a position read there is nothing to compare with.
    if (!bCompareValue || !bPositionKnown)
        return;
    const qint64 nPos = motorPosition;
    if (nPos - nDelta <= nCompareValue && nCompareValue <= nPos + nDelta) {
        queueCommands(motionCommands::positionQuery(family));
        bCompareValue = false;
        if (family.isNanoTec())
            nMotStat |= STAT_POS_REACHED;
        emit positionReached();
    }
}

bool motorDriver::takeRemoteMotorData(const QByteArray &bytesRead)
{
    if (!remote->ownsLine())
        return false;

    // The answer the controller still owed when the remote mode took over
    // belongs to nobody: not shown, not passed on, not parsed.
    const bool bWasOwed = nStaleReplyLines > 0;
    while (nStaleReplyLines > 0 && dataReadMotor.contains('\r')) {
        const QByteArray strStale = motorCommandQueue::takeLine(dataReadMotor);
        --nStaleReplyLines;
        qCDebug(lcMotorDriver) << "answer owed before the remote connect dropped: " << strStale;
    }
    if (nStaleReplyLines > 0)
        return true;   // the rest of that answer is still to come
    bDropNextAnswer = false;
    const QByteArray forward = bWasOwed ? dataReadMotor : bytesRead;

    if (dataReadMotor.contains('\r')) {
        emit receivedFromMotor(dataReadMotor);
        if (remote->isPassThrough())
            dataReadMotor.clear();
    }
    if (remote->mode() == REMOTE_DIRECT && !forward.isEmpty())
        sendToPc(forward);
    if (!remote->isPassThrough())
        return false;
    if (dataReadMotor.size() > MAX_PENDING_REPLY_BYTES) {
        // Shown as it is rather than collected for ever.
        emit receivedFromMotor(dataReadMotor);
        dataReadMotor.clear();
    }
    return true;
}

// ------------------------------------------------------------------- motion

int motorDriver::checkFeedbackBoundary(double dblVolt, int nInput)
{
    analogData *pData = pAnalogData;
    // An input that does not exist has no band to leave.
    if (!pData || nInput < 0 || nInput > 2)
        return 100;
    int nAction;
    if (pData->getLowerBoundaryValue(nInput) > dblVolt * 1000.0) {
        bBoundaryExceeded = true;
        nAction = pData->getLowerBoundaryAction(nInput);
    } else if (dblVolt * 1000.0 > pData->getUpperBoundaryValue(nInput)) {
        bBoundaryExceeded = true;
        nAction = pData->getUpperBoundaryAction(nInput);
    } else {
        bBoundaryExceeded = false;
        return 100;
    }
    switch (nAction) {
    case ACTION_CLOSE:
        onMotorClose();
        strStatusLine = tr("Measuring...\nFeedback Boundary exceeded: closing");
        return ACTION_CLOSE;
    case ACTION_OPEN:
        onMotorOpen();
        strStatusLine = tr("Measuring...\nFeedback Boundary exceeded: opening");
        return ACTION_OPEN;
    case ACTION_STAY:
        strStatusLine = tr("Measuring...\nFeedback Boundary exceeded: staying");
        return ACTION_STAY;
    default:
        return -1;
    }
}

bool motorDriver::feedbackGuardRefuses()
{
    if (nFeedbackIdx1 == -1 || nFeedbackIdx2 == -1 || dblFeedbackVal1 == -1.0 || dblFeedbackVal2 == -1.0)
        return false;
    if (checkFeedbackBoundary(dblFeedbackVal1, nFeedbackIdx1) != 100)
        return true;
    return checkFeedbackBoundary(dblFeedbackVal2, nFeedbackIdx2) != 100;
}

void motorDriver::onMotorPlus()
{
    if (deferToOwnThread([this] { onMotorPlus(); }))
        return;
    if (feedbackGuardRefuses())
        return;
    queueCommands(motionCommands::plus(family));
    bCompareValue = false;
}

void motorDriver::onMotorMinus()
{
    if (deferToOwnThread([this] { onMotorMinus(); }))
        return;
    if (feedbackGuardRefuses())
        return;
    queueCommands(motionCommands::minus(family));
    bCompareValue = false;
}

void motorDriver::onMotorPlusCont(bool bRepeat, int nSpeed)
{
    if (deferToOwnThread([this, bRepeat, nSpeed] { onMotorPlusCont(bRepeat, nSpeed); }))
        return;
    const bool bRefused = feedbackGuardRefuses();
    if (!bRepeat) {
        // A release always ends the move, even while motion is refused:
        // otherwise the valve would keep moving.
        releaseContinuous(true);
        return;
    }
    if (bRefused)
        return;
    queueCommands(motionCommands::continuousPress(family, true, nSpeed, nContSpeed));
    bCompareValue = false;
}

void motorDriver::onMotorMinusCont(bool bRepeat, int nSpeed)
{
    if (deferToOwnThread([this, bRepeat, nSpeed] { onMotorMinusCont(bRepeat, nSpeed); }))
        return;
    const bool bRefused = feedbackGuardRefuses();
    if (!bRepeat) {
        releaseContinuous(false);
        return;
    }
    if (bRefused)
        return;
    queueCommands(motionCommands::continuousPress(family, false, nSpeed, nContSpeed));
    bCompareValue = false;
}

void motorDriver::releaseContinuous(bool bOpening)
{
    if (motorCmdList.isEmpty())
        return;
    if (motorCmdList.releaseRepeat(motionCommands::continuousTexts(family, bOpening)))
        nMotStat &= ~STAT_CONT_CMD_NOT_FOUND;
    else
        nMotStat |= STAT_CONT_CMD_NOT_FOUND;
}

void motorDriver::onMotorGotoStep(int nStep)
{
    if (deferToOwnThread([this, nStep] { onMotorGotoStep(nStep); }))
        return;
    if (!family.bKnown) {
        qCDebug(lcMotorDriver) << "go-to refused: no controller family";
        return;
    }
    if (feedbackGuardRefuses())
        return;
    const gotoPlan plan = motionCommands::planGoto(family, nStep, motorPosition, bCompareValue);
    switch (plan.result) {
    case gotoPlan::NO_TRAVEL:
        return;
    case gotoPlan::OUT_OF_BOUNDARIES:
        nMotStat |= STAT_OUT_OF_BOUNDARIES;
        qCDebug(lcMotorDriver) << "Suggested motor position out of boundaries: " << nStep;
        qCDebug(lcMotorDriver) << "boundaries: " << nMinSteps << nMaxSteps;
        return;
    case gotoPlan::ALREADY_REACHED:
        qCDebug(lcMotorDriver) << "Pos already reached";
        emit positionReached();
        return;
    case gotoPlan::MOVE:
        break;
    }
    queueCommands(plan.commands);
    if (plan.bClearPosReached)
        nMotStat &= ~STAT_POS_REACHED;
    bCompareValue = true;
    nCompareValue = plan.nCompareValue;
    nTargetPpm = plan.nTargetPpm;
}

void motorDriver::onMotorGotoRelative(int nStep)
{
    if (deferToOwnThread([this, nStep] { onMotorGotoRelative(nStep); }))
        return;
    if (!family.bKnown)
        return;
    // Moving "from" a position never read would aim at a made-up target.
    if (!bPositionKnown) {
        qCDebug(lcMotorDriver) << "relative move refused: position not known yet";
        return;
    }
    onMotorGotoStep(positionUnits::relativeTargetPpm(motorPosition, nStep, nMaxSteps));
}

void motorDriver::onMotorOpen()
{
    if (deferToOwnThread([this] { onMotorOpen(); }))
        return;
    if (!family.bKnown)
        return;
    // While a boundary is exceeded this is the boundary action itself.
    if (!bBoundaryExceeded && feedbackGuardRefuses())
        return;
    const gotoPlan plan = motionCommands::planOpen(family);
    queueCommands(plan.commands);
    bCompareValue = true;
    nCompareValue = plan.nCompareValue;
    nTargetPpm = plan.nTargetPpm;
}

void motorDriver::onMotorClose()
{
    if (deferToOwnThread([this] { onMotorClose(); }))
        return;
    if (!family.bKnown)
        return;
    if (!bBoundaryExceeded && feedbackGuardRefuses())
        return;
    const gotoPlan plan = motionCommands::planClose(family);
    queueCommands(plan.commands);
    bCompareValue = true;
    nCompareValue = plan.nCompareValue;
    nTargetPpm = plan.nTargetPpm;
}

void motorDriver::onMotorHalt()
{
    if (deferToOwnThread([this] { onMotorHalt(); }))
        return;
    // The stop goes out at the next tick, not after an outstanding answer.
    clearCommandQueue(true);
    queueCommands(motionCommands::halt(family));
    if (family.isNanoTec())
        motorCmdList.stopStatusQueries();
    bCompareValue = false;
    bsetleak = false;
    regulation.nRecalcCount = 0;
    regulationOff();
    const bool bWasMeasuring = bMeasureData;
    onSetMeasureData(false);
    // The main window stops delivering samples only when told; a Stop ends
    // the measurement there too.
    if (bWasMeasuring)
        emit setMeasurement(false);
}

void motorDriver::onMotorCalibrate()
{
    if (deferToOwnThread([this] { onMotorCalibrate(); }))
        return;
    if (feedbackGuardRefuses())
        return;
    queueCommands(motionCommands::calibrate(family));
    bCompareValue = false;
    nMotStat &= ~STAT_MUST_CALIBRATE;
}

void motorDriver::readPosition()
{
    if (deferToOwnThread([this] { readPosition(); }))
        return;
    queueCommands(motionCommands::readPosition(family));
}

void motorDriver::forceMotorPosition(int nMotorPosition, bool bForce)
{
    if (deferToOwnThread([this, nMotorPosition, bForce] { forceMotorPosition(nMotorPosition, bForce); }))
        return;
    if (nMotorPosition == nPositionPpm && nMotorPosition == nStepsPositionPpm)
        nMotStat &= ~STAT_MUST_CALIBRATE;
    else
        nMotStat |= STAT_MUST_CALIBRATE;
    nSettingsPosition = nMotorPosition;
    if (!bForce)
        return;
    nMotStat &= ~STAT_MUST_CALIBRATE;
    nPositionPpm = nMotorPosition;
    motorPosition = positionUnits::ppmToSteps(nMotorPosition, nMaxSteps);
    nStepsPositionPpm = nMotorPosition;
    nStepsPosition = motorPosition;
    bPositionKnown = true;
    queueCommands(motionCommands::forcePosition(family, motorPosition));
    emit setMotorPosition(nPositionPpm);
    emit setMotorPositionSteps(nStepsPositionPpm);
}

void motorDriver::clearMotorError()
{
    if (deferToOwnThread([this] { clearMotorError(); }))
        return;
    if (!family.isNanoTec())
        return;
    queueCommands(motionCommands::clearError(family));
    nMotStat |= STAT_POS_REACHED;
}

void motorDriver::onSetOutput1Mode(int pnOutputMode)
{
    if (deferToOwnThread([this, pnOutputMode] { onSetOutput1Mode(pnOutputMode); }))
        return;
    const controllerCommand c = motionCommands::output1Mode(pnOutputMode);
    setMotorCommand(c.strCommand, c.bQueryAfter, c.bRepeat);
}

void motorDriver::onSetContSpeed(int nSpeed)
{
    nContSpeed = nSpeed;
}

// --------------------------------------------------------------- regulation

regulationParams motorDriver::currentRegulationParams() const
{
    const lvExternalFeedback fb = extFeedback.get();
    regulationParams params;
    params.dblPropValue = fb.dblPropValue;
    params.dblDiffValue = fb.dblDiffValue;
    params.dblIntValue = fb.dblIntValue;
    params.dblRelativeDifference = fb.dblRelativeDifference;
    params.nNumOfIntVal = fb.nNumOfIntVal;
    params.dblRelativeRecalc = dblRelativeRecalc;
    params.nRecalcTimes = nRecalcTimes;
    return params;
}

QString motorDriver::measuringStatusLine() const
{
    const lvExternalFeedback fb = extFeedback.get();
    return tr("Measuring: ") + QStringLiteral("%1").arg(fb.dblSetpoint, 0, fb.sensor.bExponential ? 'E' : 'F', 2);
}

void motorDriver::onGetAnalogValue(double dblData1, double dblData2, double dblData3, int nIsFeedback1,
                                   int nIsFeedback2)
{
    if (deferToOwnThread([=] { onGetAnalogValue(dblData1, dblData2, dblData3, nIsFeedback1, nIsFeedback2); }))
        return;
    // Samples still on their way when measuring ended (a Stop, the end of a
    // script step) must neither run a boundary action nor arm the feedback
    // guard against the operator again.
    if (!bMeasureData)
        return;

    const double dblPrevious = currentData.dblData;
    currentData.dblCh1 = dblData1;
    currentData.dblCh2 = dblData2;
    currentData.nSteps = motorPosition;
    currentData.dblTime = 0.0;

    const double dblVolts[3] = {dblData1, dblData2, dblData3};
    nFeedbackIdx1 = nIsFeedback1;
    nFeedbackIdx2 = nIsFeedback2;
    if (nIsFeedback1 >= 0 && nIsFeedback1 <= 2)
        dblFeedbackVal1 = dblVolts[nIsFeedback1];
    if (nIsFeedback2 >= 0 && nIsFeedback2 <= 2)
        dblFeedbackVal2 = dblVolts[nIsFeedback2];

    if (checkFeedbackBoundary(dblFeedbackVal1, nFeedbackIdx1) != 100)
        return;
    if (checkFeedbackBoundary(dblFeedbackVal2, nFeedbackIdx2) != 100)
        return;

    lvTeachIn *pTeach = pTeachIn;
    const double dblActual = pTeach ? pTeach->calcSensorData(dblFeedbackVal1, dblFeedbackVal2)
                                    : std::numeric_limits<double>::quiet_NaN();
    currentData.dblData = dblActual;

    if (bsetleak) {
        const lvExternalFeedback fb = extFeedback.get();
        currentData.dblSetpoint = fb.dblSetpoint;
        const bool bPositionReached = (nMotStat & STAT_POS_REACHED) != 0;
        const regulationResult r = regulationStep(currentRegulationParams(), regulation, fb.dblSetpoint,
                                                  dblActual, dblPrevious, bPositionReached);
        if (r.eAction == regulationResult::ACTION_RETARGET) {
            const int nSteps = pTeach ? pTeach->calcStepsFromData(fb.dblSetpoint, dblActual, fb.dblCorrectSensitivity)
                                      : -1;
            onMotorGotoLeak(fb.dblSetpoint, nSteps);
        } else if (r.eAction == regulationResult::ACTION_CORRECT) {
            qCDebug(lcMotorDriver) << "Auto-Korrektur <: " << r.nCorrection << "Prop-Korr: " << r.dblPropTerm
                                   << " Diff-Korr: " << r.dblDiffTerm << " Int Korr: " << r.dblIntTerm;
            onMotorGotoRelative(r.nCorrection);
        }
        if (r.isNotReached())
            emit notReachedDataPoint();
        else if (r.isReached())
            emit reachedDataPoint();
        strStatusLine = measuringStatusLine();
    }
    emit setMeasuredData(dblActual);
}

void motorDriver::onMotorGotoLeak(double dblData, int nSteps)
{
    if (deferToOwnThread([this, dblData, nSteps] { onMotorGotoLeak(dblData, nSteps); }))
        return;
    bsetleak = true;
    regulation.clearWindow();
    // The set value first, so that the status line names the new one.
    extFeedback.update([dblData](lvExternalFeedback &fb) { fb.dblSetpoint = dblData; });
    onSetMeasureData(true);

    if (analogData *pData = pAnalogData) {
        const int nInput1 = pData->getFeedbackInput1();
        if (checkFeedbackBoundary(pData->getInputVolt(nInput1), nInput1) != 100)
            return;
        const int nInput2 = pData->getFeedbackInput2();
        if (checkFeedbackBoundary(pData->getInputVolt(nInput2), nInput2) != 100)
            return;
    }
    if (nSteps == -1) {
        // Regulation stays on: the samples correct from where the valve is.
        nMotStat |= STAT_TEACHIN_NOT_FOUND;
        return;
    }
    nMotStat &= ~(STAT_TEACHIN_NOT_FOUND | STAT_WAITING_FOR_CMD);
    onMotorGotoStep(nSteps);
}

void motorDriver::onMotorSetFeedbackVal(int nVal1, int nVal2)
{
    if (deferToOwnThread([this, nVal1, nVal2] { onMotorSetFeedbackVal(nVal1, nVal2); }))
        return;
    lvTeachIn *pTeach = pTeachIn;
    const double dblSetpoint = pTeach ? pTeach->calcSensorData(nVal1 / 1000.0, nVal2 / 1000.0)
                                      : std::numeric_limits<double>::quiet_NaN();
    currentData.dblData = dblSetpoint;
    const int nSteps = pTeach ? pTeach->calcStepsFromData(dblSetpoint, 0.0, 0.0) : -1;
    emit setMeasurement(true);
    onMotorGotoLeak(dblSetpoint, nSteps);
}

void motorDriver::onSetMeasureData(bool pbMeasureData)
{
    if (deferToOwnThread([this, pbMeasureData] { onSetMeasureData(pbMeasureData); }))
        return;
    bMeasureData = pbMeasureData;
    currentData.dblCh1 = 0.0;
    currentData.dblCh2 = 0.0;
    if (!pbMeasureData) {
        // Ending the measurement switches the feedback guard off.
        strStatusLine.clear();
        dblFeedbackVal1 = -1.0;
        dblFeedbackVal2 = -1.0;
        nFeedbackIdx1 = -1;
        nFeedbackIdx2 = -1;
        bBoundaryExceeded = false;
        bsetleak = false;
        regulationOff();
    } else if (bsetleak) {
        strStatusLine = measuringStatusLine();
    } else {
        strStatusLine = tr("Measuring...");
    }
}

void motorDriver::setData(int nValue, int nRepeat)
{
    qCDebug(lcMotorDriver) << "setData: " << nValue * std::pow(10.0, -nRepeat);
}

void motorDriver::onStopFeedback()
{
    if (deferToOwnThread([this] { onStopFeedback(); }))
        return;
    bsetleak = false;
    regulation.nRecalcCount = 0;
    regulationOff();
    emit setMeasurement(false);
}

void motorDriver::setRemoteSide(remoteSide *pSide)
{
    if (!pSide || pSide == remote)
        return;
    delete remote;
    remote = pSide;
    remote->setParent(this);
    remote->setStatusSource([this] { return statusForRemote(); });
    connect(remote, &remoteSide::fromPc, this, &motorDriver::receivedFromPc);
    connect(remote, &remoteSide::toController, this, &motorDriver::sendToMotor);
    connect(remote, &remoteSide::logLine, this, &motorDriver::onWriteLog);
    connect(remote, &remoteSide::pcPortError, this, &motorDriver::handleErrorPc);
}

void motorDriver::regulationOff()
{
    remote->regulationEnded();
}

// -------------------------------------------------------------- remote side

void motorDriver::takeOverLink()
{
    clearCommandQueue(true);
    nStaleTicks = 0;
    bDropNextAnswer = nStaleReplyLines > 0;
}

void motorDriver::releaseLink()
{
    // Replies to what the PC or the terminal sent last must not be taken for
    // the answers of the polls that start again now.
    clearCommandQueue(false);
    if (pSerialMotor->isOpen())
        pSerialMotor->clear(QSerialPort::Input);
}

void motorDriver::connectRemoteUSB(int pnRemoteMode)
{
    if (deferToOwnThread([this, pnRemoteMode] { connectRemoteUSB(pnRemoteMode); }))
        return;
    switch (remote->connectUsb(pnRemoteMode, getRemotePort(), nPositionPpm)) {
    case remoteSide::PC_PORT_OPEN:
        nMotStat &= ~STAT_REMOTE_PORT_NOT_OPEN;
        break;
    case remoteSide::PC_PORT_FAILED:
        nMotStat |= STAT_REMOTE_PORT_NOT_OPEN;
        break;
    case remoteSide::PC_PORT_UNUSED:
        break;
    }
    if (remote->ownsLine())
        takeOverLink();
    else
        bDropNextAnswer = true;
}

void motorDriver::connectRemoteEthernet(int pnRemoteMode, QString strIPADdress, int nIPPort)
{
    if (deferToOwnThread([=] { connectRemoteEthernet(pnRemoteMode, strIPADdress, nIPPort); }))
        return;
    remote->connectEthernet(pnRemoteMode, strIPADdress, nIPPort, nPositionPpm);
    if (remote->ownsLine())
        takeOverLink();
    else
        bDropNextAnswer = true;
}

void motorDriver::disconnectRemoteUSB()
{
    if (deferToOwnThread([this] { disconnectRemoteUSB(); }))
        return;
    const bool bPassThrough = remote->isPassThrough();
    if (remote->mode() == REMOTE_DIRECT || remote->mode() == REMOTE_PARSER)
        dataReadMotor.clear();
    // "Remote Port Not Open" stays until the PC port opens.
    remote->disconnectUsb();
    if (bPassThrough)
        releaseLink();
    if (family.isBergerLahr())
        setMotorCommand(bergerLahrCommands::statusQuery(true).strCommand, true);
    bDropNextAnswer = false;
}

void motorDriver::disconnectRemoteEhternet()
{
    if (deferToOwnThread([this] { disconnectRemoteEhternet(); }))
        return;
    const bool bPassThrough = remote->isPassThrough();
    remote->disconnectEthernet();
    if (bPassThrough)
        releaseLink();
    bDropNextAnswer = false;
}

void motorDriver::clearDataReadMotor()
{
    if (deferToOwnThread([this] { clearDataReadMotor(); }))
        return;
    qCDebug(lcMotorDriver) << "motorDriver clearDataReadMotor";
    dataReadMotor.clear();
}

void motorDriver::clearDataReadPc()
{
    if (deferToOwnThread([this] { clearDataReadPc(); }))
        return;
    qCDebug(lcMotorDriver) << "motorDriver clearDataReadPc";
    remote->clearPcData();
}

void motorDriver::connectRemoteAnalog(int pnInput)
{
    if (deferToOwnThread([this, pnInput] { connectRemoteAnalog(pnInput); }))
        return;
    nRemoteInput = pnInput;
    remote->connectAnalog();
    bDropNextAnswer = true;
}

void motorDriver::disconnectRemoteAnalog()
{
    if (deferToOwnThread([this] { disconnectRemoteAnalog(); }))
        return;
    remote->disconnectAnalog();
    bDropNextAnswer = false;
}

void motorDriver::onUpdateInputs(double dblInput1, double dblInput2, double dblInput3)
{
    if (deferToOwnThread([=] { onUpdateInputs(dblInput1, dblInput2, dblInput3); }))
        return;
    if (remote->mode() == REMOTE_ANALOG) {
        if (nRemoteInput < 0 || nRemoteInput > 2)
            return;
        const double dblVolts[3] = {dblInput1, dblInput2, dblInput3};
        const int nPosition = calcPosFromInput(dblVolts[nRemoteInput], nRemoteInput);
        if (nPosition >= 0)
            onMotorGotoStep(nPosition);
    } else if (remote->mode() == REMOTE_MODBUS) {
        emit updateAnalogData(analogVoltsToModbusCounts(dblInput1), analogVoltsToModbusCounts(dblInput2),
                              analogVoltsToModbusCounts(dblInput3));
    }
}

int motorDriver::calcPosFromInput(double dblVolt, int nInput)
{
    analogData *pData = pAnalogData;
    if (!pData || nInput < 0 || nInput > 2)
        return -1;
    // The input's own boundary points, whichever input was configured last.
    analogRemoteBoundaries bounds;
    bounds.dblLowerMv = pData->getLowerBoundaryValue(nInput);
    bounds.dblUpperMv = pData->getUpperBoundaryValue(nInput);
    bounds.nLowerPos = pData->getLowerBoundarySteps(nInput);
    bounds.nUpperPos = pData->getUpperBoundarySteps(nInput);
    const analogRemoteTarget target = analogRemotePosition(dblVolt, bounds);
    if (target.bOnBoundary)
        emit receivedFromPc(QStringLiteral("Input: %1 V").arg(dblVolt, 0, 'f', 2).toLatin1());
    return target.nPosition;
}

void motorDriver::onConnectWriteLog(QString strLogMessage)
{
    emit onWriteLog(strLogMessage);
}

void motorDriver::on_newConnectionEthernet()
{
    remote->acceptTcpClients();
}

void motorDriver::on_disconnectedEthernet()
{
    remote->tcpClientGone();
}

void motorDriver::on_readyReadEthernet()
{
    remote->readTcpClient();
}

void motorDriver::onReceivedFromModbusPC(QString strMsg)
{
    strLastModbusMsg = strMsg;
    emit receivedFromPc(strMsg.toLatin1());
}

void motorDriver::onReceivedFromModbusMotor(QString strMsg)
{
    strLastModbusMsg = strMsg;
    emit receivedFromMotor(strMsg.toLatin1());
}

remoteDriveStatus motorDriver::statusForRemote()
{
    qint64 nPosition = motorPosition;
    if (family.isNanoTec()) {
        setMotorCommand(nanoTecCommands::encoderQuery().strCommand, true);
        setMotorCommand(nanoTecCommands::stepCounterQuery().strCommand, true);
        nPosition = positionUnits::stepsToRemote(motorPosition, nMaxSteps);
    } else if (!family.isBergerLahr()) {
        nPosition = positionUnits::stepsToRemote(motorPosition, nMaxSteps);
    }
    remoteDriveStatus status;
    status.bLimitSwitch = (nMotStat & STAT_LIMIT_SWITCH) != 0;
    status.nPosition40k = nPosition;
    return status;
}
