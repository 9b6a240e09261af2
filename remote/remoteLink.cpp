#include "remote/remoteLink.h"

#include "remote/pcSerialTransport.h"
#include "remote/pcTcpTransport.h"
#include "remote/qlvModbus.h"
#include "valve/motorDriver.h"

#include <QCoreApplication>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcRemoteLink, "valve.remotelink")

namespace {
QString driveText(const char *pszText)
{
    return QCoreApplication::translate("motorDriver", pszText);
}
} // namespace

static_assert(int(motorDriver::REMOTE_DIRECT) == int(remoteLink::DIRECT)
                  && int(motorDriver::REMOTE_TERMINAL) == int(remoteLink::TERMINAL)
                  && int(motorDriver::REMOTE_ANALOG) == int(remoteLink::ANALOG)
                  && int(motorDriver::REMOTE_PARSER) == int(remoteLink::PARSER)
                  && int(motorDriver::REMOTE_MODBUS) == int(remoteLink::MODBUS),
              "remote mode values");

remoteLink::remoteLink(motorDriver *pDriveObject)
    : remoteSide(pDriveObject)
    , pDrive(pDriveObject)
{
    pModbus = new qlvModbus(this);
    connect(pModbus, SIGNAL(logString(QString)), pDrive, SLOT(onConnectWriteLog(QString)));
    pSerial = new pcSerialTransport(this);
    pTcp = new pcTcpTransport(this);
    for (pcTransport *pTransport : {static_cast<pcTransport *>(pSerial), static_cast<pcTransport *>(pTcp)}) {
        connect(pTransport, &pcTransport::received, this, &remoteLink::takePcChunk);
        connect(pTransport, &pcTransport::peerChanged, this, &remoteLink::resetPcLine);
        connect(pTransport, &pcTransport::note, this, &remoteLink::fromPc);
    }
    connect(pSerial, &pcSerialTransport::portError, this, &remoteLink::pcPortError);
}

remoteLink::~remoteLink()
{
    // The server first, while the drive it reports to is still whole.
    delete pModbus;
    pModbus = nullptr;
}

remoteLink::pcPortResult remoteLink::connectUsb(int nUiMode, const QString &strPcPort, int nPositionPpm)
{
    switch (nUiMode) {
    case 0:
        nMode = DIRECT;
        nChannel = CHANNEL_PC_SERIAL;
        break;
    case 1:
        nMode = PARSER;
        nChannel = CHANNEL_PC_SERIAL;
        break;
    case 2:
        nMode = MODBUS;
        nChannel = CHANNEL_PC_SERIAL;
        startModbus(true, strPcPort, 0, nPositionPpm);
        break;
    case 3:
        nMode = TERMINAL;
        nChannel = CHANNEL_TERMINAL;
        break;
    default:
        nMode = OFF;
        break;
    }
    if (nMode != DIRECT && nMode != PARSER)
        return PC_PORT_UNUSED;
    const bool bOpen = pSerial->open(strPcPort);
    resetPcLine();
    return bOpen ? PC_PORT_OPEN : PC_PORT_FAILED;
}

void remoteLink::connectEthernet(int nUiMode, const QString &strAddress, int nPort, int nPositionPpm)
{
    nChannel = CHANNEL_TCP;
    switch (nUiMode) {
    case 0:
        nMode = DIRECT;
        break;
    case 1:
        nMode = PARSER;
        break;
    case 2:
        nMode = MODBUS;
        startModbus(false, strAddress, nPort, nPositionPpm);
        break;
    default:
        nMode = OFF;
        break;
    }
    if (nMode == DIRECT || nMode == PARSER) {
        listenEthernet(strAddress, nPort);
        resetPcLine();
    }
}

void remoteLink::connectAnalog()
{
    nMode = ANALOG;
    nChannel = CHANNEL_ANALOG;
}

void remoteLink::disconnectUsb()
{
    if (nMode == MODBUS)
        stopModbus();
    if (nMode == DIRECT || nMode == PARSER) {
        pSerial->close();
        resetPcLine();
    }
    nMode = OFF;
    nChannel = CHANNEL_NONE;
}

void remoteLink::disconnectEthernet()
{
    if (nMode == DIRECT || nMode == PARSER)
        pTcp->close();
    if (nMode == MODBUS)
        stopModbus();
    nMode = OFF;
    nChannel = CHANNEL_NONE;
}

void remoteLink::disconnectAnalog()
{
    nMode = OFF;
    nChannel = CHANNEL_NONE;
}

void remoteLink::sendToPc(const QByteArray &data)
{
    qCDebug(lcRemoteLink) << "send to pc: " << data;
    if (nChannel == CHANNEL_PC_SERIAL)
        pSerial->write(data);
    else if (nChannel == CHANNEL_TCP)
        pTcp->write(data);
}

void remoteLink::clearPcData()
{
    dataReadPc.clear();
    lineState.bDiscarding = false;
}

void remoteLink::regulationEnded()
{
    pModbus->onFeedbackLoopEnded();
}

void remoteLink::readPcSerial()
{
    pSerial->readAvailable();
}

void remoteLink::acceptTcpClients()
{
    pTcp->acceptPending();
}

void remoteLink::tcpClientGone()
{
    pTcp->clientGone();
}

void remoteLink::readTcpClient()
{
    pTcp->readClient();
}

QString remoteLink::pcPortErrorString() const
{
    return pSerial->errorString();
}

void remoteLink::resetPcLine()
{
    dataReadPc.clear();
    lineState = remoteLineState();
    bLastReplyEchoed = false;
}

void remoteLink::takePcChunk(const QByteArray &chunk)
{
    dataReadPc.append(chunk);
    if (nMode == DIRECT) {
        passThrough(chunk);
    } else if (nMode == PARSER) {
        runTextLines();
    } else if (dataReadPc.size() > REMOTE_TEXT_MAX_LINE) {
        // No mode reads the PC now; keep nothing that nobody will take.
        dataReadPc.clear();
    }
}

void remoteLink::passThrough(QByteArray chunk)
{
    // Only the line feed that ends a chunk is the PC's own line end; any
    // other byte goes to the controller as the PC sent it.
    if (chunk.endsWith('\n'))
        chunk.chop(1);
    if (!chunk.isEmpty())
        emit toController(chunk);
    if (dataReadPc.endsWith('\n'))
        dataReadPc.chop(1);
    if (dataReadPc.contains('\r') || dataReadPc.size() > REMOTE_TEXT_MAX_LINE) {
        emit fromPc(dataReadPc);
        dataReadPc.clear();
    }
}

void remoteLink::runTextLines()
{
    const remoteLineSplit split = splitRemoteLines(dataReadPc, lineState);
    if (split.nDroppedLines > 0) {
        const QString strNote = driveText("Command longer than %1 bytes dropped\n").arg(REMOTE_TEXT_MAX_LINE);
        emit logLine(strNote.trimmed());
        emit fromPc(strNote.toLatin1());
    }
    for (const QByteArray &strLine : split.lines) {
        if (strLine == "\n") {
            // The line feed of a line already answered.
            if (bLastReplyEchoed) {
                emit fromPc(strLine);
                sendToPc(strLine);
            }
            bLastReplyEchoed = false;
            continue;
        }
        emit fromPc(strLine);
        const QByteArray reply = runTextCommand(strLine);
        bLastReplyEchoed = reply == strLine.toUpper();
        sendToPc(reply);
    }
}

QByteArray remoteLink::runTextCommand(const QByteArray &strLine)
{
    const remoteTextCommand cmd = parseRemoteTextLine(strLine);
    switch (cmd.eKind) {
    case remoteTextCommand::CMD_STATUS: {
        const remoteDriveStatus status = driveStatus();
        return remoteStatusReply(status.bLimitSwitch, status.nPosition40k);
    }
    case remoteTextCommand::CMD_GOTO:
        if (cmd.bValid)
            pDrive->onMotorGotoStep(cmd.nPpm);
        break;
    case remoteTextCommand::CMD_PLUS:
    case remoteTextCommand::CMD_MINUS:
        pDrive->onMotorGotoRelative(cmd.nPpm);
        break;
    case remoteTextCommand::CMD_HALT:
        pDrive->onMotorHalt();
        break;
    case remoteTextCommand::CMD_CALIBRATE:
        pDrive->onMotorCalibrate();
        break;
    case remoteTextCommand::CMD_INFO:
    case remoteTextCommand::CMD_UNKNOWN:
        break;
    }
    return cmd.reply;
}

void remoteLink::listenEthernet(const QString &strAddress, int nPort)
{
    const QString strError = pTcp->listen(strAddress, nPort);
    if (strError.isEmpty())
        return;
    const QString strMessage =
        driveText("TCP server not started on %1:%2: %3\n").arg(strAddress).arg(nPort).arg(strError);
    qCDebug(lcRemoteLink) << strMessage;
    emit logLine(strMessage.trimmed());
    emit fromPc(strMessage.toLatin1());
}

void remoteLink::startModbus(bool bSerial, const QString &strAddress, int nPort, int nPositionPpm)
{
    // The USB source always serves RTU on the PC serial port, whatever its
    // name; the Ethernet source serves TCP only on an address it can bind.
    if (bSerial)
        pModbus->startSerial(strAddress);
    else
        pModbus->startTcp(strAddress, nPort);
    joinModbus(true);
    // The master reads the valve's position from the start on.
    pModbus->setPosition(nPositionPpm);
}

void remoteLink::stopModbus()
{
    // Stopped while still joined, so that a feedback loop the master started
    // ends in the drive too; only then are the connections removed.
    pModbus->stopCommunicating();
    joinModbus(false);
}

void remoteLink::joinModbus(bool bJoin)
{
    struct link {
        QObject *pSender;
        const char *pszSignal;
        QObject *pReceiver;
        const char *pszSlot;
    };
    const link links[] = {
        {pDrive, SIGNAL(setMotorPosition(int)), pModbus, SLOT(setPosition(int))},
        {pDrive, SIGNAL(updateAnalogData(int,int,int)), pModbus, SLOT(setAnalogInputs(int,int,int))},
        {pDrive, SIGNAL(reachedDataPoint()), pModbus, SLOT(onReachedDataPoint())},
        {pDrive, SIGNAL(notReachedDataPoint()), pModbus, SLOT(onNotReachedDataPoint())},
        {pModbus, SIGNAL(setPositionMotor(int)), pDrive, SLOT(onMotorGotoStep(int))},
        {pModbus, SIGNAL(setMotorFeedbackVal(int,int)), pDrive, SLOT(onMotorSetFeedbackVal(int,int))},
        {pModbus, SIGNAL(stopFeedbackData()), pDrive, SLOT(onStopFeedback())},
        {pModbus, SIGNAL(sendStopToMotor()), pDrive, SLOT(onMotorHalt())},
        {pModbus, SIGNAL(sendPlusToMotor()), pDrive, SLOT(onMotorPlus())},
        {pModbus, SIGNAL(sendMinusToMotor()), pDrive, SLOT(onMotorMinus())},
        {pModbus, SIGNAL(sendPlusContPressed(bool,int)), pDrive, SLOT(onMotorPlusCont(bool,int))},
        {pModbus, SIGNAL(sendMinusContPressed(bool,int)), pDrive, SLOT(onMotorMinusCont(bool,int))},
        {pModbus, SIGNAL(setReceivedMessagePC(QString)), pDrive, SLOT(onReceivedFromModbusPC(QString))},
        {pModbus, SIGNAL(setReceivedMessageMotor(QString)), pDrive, SLOT(onReceivedFromModbusMotor(QString))},
    };
    for (const link &l : links) {
        // Always removed first, so that a repeated connect never doubles a
        // connection (a doubled stop or step would run twice).
        disconnect(l.pSender, l.pszSignal, l.pReceiver, l.pszSlot);
        if (bJoin)
            connect(l.pSender, l.pszSignal, l.pReceiver, l.pszSlot);
    }
}
