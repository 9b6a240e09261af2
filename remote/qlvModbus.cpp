#include "remote/qlvModbus.h"

#include "platform/serialDeviceName.h"
#include "remote/modbusRegisterMap.h"
#include "remote/modbusTcpEndpoint.h"
#include "remote/modbusWriteDecoder.h"
#include "remote/writeReportingServer.h"

#include <QAbstractSocket>
#include <QDebug>
#include <QModbusRtuSerialSlave>
#include <QModbusTcpServer>
#include <QPointer>
#include <QSerialPort>
#include <QVector>

using namespace modbusMap;

qlvModbus::qlvModbus(QObject *parent)
    : QObject(parent)
    , mapRegisters(modbusMap::registerMap())
{
}

qlvModbus::~qlvModbus()
{
    // The running server and any dropped one still waiting for its deferred
    // delete. Their masters' sockets go first, while each server is alive:
    // the TCP server frees what it keeps per master only when the socket is
    // deleted before the server itself.
    pDevice = nullptr;
    const QList<QModbusServer *> lstServers = findChildren<QModbusServer *>(QString(), Qt::FindDirectChildrenOnly);
    for (QModbusServer *pServer : lstServers) {
        disconnect(pServer, nullptr, this, nullptr);
        closeDevice(pServer);
        qDeleteAll(pServer->findChildren<QAbstractSocket *>());
        delete pServer;
    }
}

bool qlvModbus::startSerial(const QString &strPortName)
{
    dropDevice();
    if (strPortName.trimmed().isEmpty()) {
        const QString strMessage = tr("Modbus RTU not started: no serial port name\n");
        emit logString(strMessage);
        reportToPcLater(strMessage);
        return false;
    }

    auto *pRtu = new writeReportingServer<QModbusRtuSerialSlave>(this);
    pRtu->setWriteHandler([this, pRtu](QModbusDataUnit::RegisterType table, int nAddress, int nSize) {
        if (pDevice == pRtu)
            onDataWritten(table, nAddress, nSize);
    });
    pRtu->setConnectionParameter(QModbusDevice::SerialPortNameParameter,
                                 resolveSerialDeviceName(strPortName));
    pRtu->setConnectionParameter(QModbusDevice::SerialParityParameter, QSerialPort::EvenParity);
    pRtu->setConnectionParameter(QModbusDevice::SerialBaudRateParameter, QSerialPort::Baud19200);
    pRtu->setConnectionParameter(QModbusDevice::SerialDataBitsParameter, QSerialPort::Data8);
    pRtu->setConnectionParameter(QModbusDevice::SerialStopBitsParameter, QSerialPort::OneStop);
    return startDevice(pRtu);
}

bool qlvModbus::startTcp(const QString &strAddress, int nPort)
{
    dropDevice();
    const modbusTcpEndpoint endpoint = checkModbusTcpEndpoint(strAddress, nPort);
    if (!endpoint.bValid) {
        emit logString(endpoint.strError);
        reportToPcLater(endpoint.strError);
        return false;
    }

    auto *pTcp = new writeReportingServer<QModbusTcpServer>(this);
    pTcp->setWriteHandler([this, pTcp](QModbusDataUnit::RegisterType table, int nAddress, int nSize) {
        if (pDevice == pTcp)
            onDataWritten(table, nAddress, nSize);
    });
    pTcp->setConnectionParameter(QModbusDevice::NetworkPortParameter, endpoint.nPort);
    pTcp->setConnectionParameter(QModbusDevice::NetworkAddressParameter, endpoint.strServerAddress);
    return startDevice(pTcp);
}

bool qlvModbus::startCommunicating(const QString &strName, int nPort)
{
    if (strName.contains(QLatin1String("USB")))
        return startSerial(strName);
    return startTcp(strName, nPort);
}

bool qlvModbus::startDevice(QModbusServer *pNewDevice)
{
    pDevice = pNewDevice;
    pDevice->setMap(mapRegisters);
    connect(pDevice, &QModbusDevice::stateChanged, this, &qlvModbus::onStateChanged);
    connect(pDevice, &QModbusDevice::errorOccurred, this, &qlvModbus::onErrorOccured);
    pDevice->setServerAddress(nServerAddress);

    // Errors of the connect reach the pane one event-loop turn later, so the
    // operator sees them whether the drive joins our signals before or after
    // the start.
    bStarting = true;
    const bool bConnected = pDevice->connectDevice();
    bStarting = false;
    if (!bConnected)
        qDebug() << "Connect failed: " << pDevice->errorString();
    if (!lstStartMessages.isEmpty()) {
        const QStringList lstMessages = lstStartMessages;
        lstStartMessages.clear();
        for (const QString &strMessage : lstMessages)
            reportToPcLater(strMessage);
    }

    writeInitialValues();
    // A master must never read a position the valve does not have: the
    // registers hold the last reported one (or "none yet") from the start on.
    publishPosition(nLastPosition);
    return bConnected;
}

void qlvModbus::writeInitialValues()
{
    pDevice->setData(QModbusDataUnit(QModbusDataUnit::Coils, 0, QVector<quint16>(nCoilCount, 0)));
    QVector<quint16> discreteInputs(nDiscreteInputCount, 0);
    discreteInputs[DI_RUNNING] = 1;
    pDevice->setData(QModbusDataUnit(QModbusDataUnit::DiscreteInputs, 0, discreteInputs));
    pDevice->setData(QModbusDataUnit(QModbusDataUnit::HoldingRegisters, 0,
                                     QVector<quint16>(nHoldingRegisterCount, 0)));
    nFeedbackVal1 = 0;
    nFeedbackVal2 = 0;
    bLoopCoilSet = false;
}

void qlvModbus::stopCommunicating()
{
    if (bFeedbackLoopActive) {
        bFeedbackLoopActive = false;
        emit stopFeedbackData();
    }
    dropDevice();
    // While stopped the drive reports nothing here; a stale position must not
    // be published at the next start.
    nLastPosition = -1;
}

void qlvModbus::dropDevice()
{
    if (!pDevice)
        return;
    QModbusServer *pOld = pDevice;
    pDevice = nullptr;
    disconnect(pOld, nullptr, this, nullptr);
    // Closed now so that the port or address is free for the next start;
    // deleted later because a master's request may still be on the stack.
    closeDevice(pOld);
    pOld->deleteLater();
}

void qlvModbus::closeDevice(QModbusServer *pServer)
{
    // Masters are dropped at once (not after their pending replies), so that
    // none keeps talking to a stopped server.
    const QList<QAbstractSocket *> lstClients = pServer->findChildren<QAbstractSocket *>();
    for (QAbstractSocket *pClient : lstClients)
        pClient->abort();
    pServer->disconnectDevice();
}

void qlvModbus::reportToPcLater(const QString &strMessage)
{
    QMetaObject::invokeMethod(
        this, [this, strMessage]() { emit setReceivedMessagePC(strMessage); }, Qt::QueuedConnection);
}

void qlvModbus::on_newConnection()
{
}

void qlvModbus::on_disconnected()
{
}

void qlvModbus::on_readyRead()
{
}

void qlvModbus::onDataWritten(QModbusDataUnit::RegisterType table, int address, int size)
{
    if (!pDevice)
        return;
    if (table == QModbusDataUnit::Coils)
        handleCoilWrite(address, size);
    else if (table == QModbusDataUnit::HoldingRegisters)
        handleHoldingWrite(address, size);
}

void qlvModbus::handleCoilWrite(int nAddress, int nSize)
{
    const QPointer<QModbusServer> pServer = pDevice;
    quint16 nValue = 0;
    pServer->data(QModbusDataUnit::Coils, quint16(nAddress), &nValue);

    const bool bLoopCoilBefore = bLoopCoilSet;
    if (nAddress <= COIL_FEEDBACK_LOOP && nAddress + nSize > COIL_FEEDBACK_LOOP) {
        quint16 nLoopCoil = 0;
        pServer->data(QModbusDataUnit::Coils, COIL_FEEDBACK_LOOP, &nLoopCoil);
        bLoopCoilSet = nLoopCoil != 0;
    }

    const modbusCoilAction action =
        decodeCoilWrite(nAddress, nValue != 0, bLoopCoilBefore, bFeedbackLoopActive);
    switch (action.eKind) {
    case modbusCoilAction::STOP:
        emit sendStopToMotor();
        break;
    case modbusCoilAction::PLUS:
        emit sendPlusToMotor();
        break;
    case modbusCoilAction::MINUS:
        emit sendMinusToMotor();
        break;
    case modbusCoilAction::PLUS_CONT:
        emit sendPlusContPressed(false, action.nSpeed);
        break;
    case modbusCoilAction::MINUS_CONT:
        emit sendMinusContPressed(false, action.nSpeed);
        break;
    case modbusCoilAction::START_LOOP:
        // Marked first: should the drive end the loop at once, it says so
        // during the call.
        bFeedbackLoopActive = true;
        emit setMotorFeedbackVal(nFeedbackVal1, nFeedbackVal2);
        break;
    case modbusCoilAction::STOP_LOOP:
        bFeedbackLoopActive = false;
        emit stopFeedbackData();
        break;
    case modbusCoilAction::NONE:
        break;
    }

    // Coils 0-6 are momentary: all of them read 0 after every coil write, so
    // that the next 1 is a fresh request even if it repeats the last one.
    if (pServer && pServer == pDevice)
        pServer->setData(QModbusDataUnit(QModbusDataUnit::Coils, COIL_STOP,
                                         QVector<quint16>(COIL_MINUS_FAST + 1, 0)));

    emit setReceivedMessagePC(action.strMessage);
}

void qlvModbus::handleHoldingWrite(int nAddress, int nSize)
{
    const QPointer<QModbusServer> pServer = pDevice;
    QVector<quint16> regs(nHoldingRegisterCount, 0);
    for (int i = 0; i < nHoldingRegisterCount; ++i)
        pServer->data(QModbusDataUnit::HoldingRegisters, quint16(i), &regs[i]);

    const modbusHoldingAction action = decodeHoldingWrite(nAddress, nSize, regs);
    if (action.bPosition) {
        emit logString(action.strLog);
        emit setPositionMotor(action.nPosition);
    }
    if (action.bFeedback1)
        nFeedbackVal1 = action.nFeedback1;
    if (action.bFeedback2)
        nFeedbackVal2 = action.nFeedback2;
    if (action.bWrongAddress)
        qDebug() << "Modbus Holdings Registerts, wrong Address: " << nAddress
                 << " or wrong size: " << nSize;

    emit setReceivedMessagePC(action.strMessage);

    if (pServer && pServer == pDevice)
        restorePublished(nAddress, nSize);
}

void qlvModbus::restorePublished(int nAddress, int nSize)
{
    // HR0/HR1 show where the valve is; a master's write (a move order or a
    // stray one) must not leave its own numbers there. Put back quietly: the
    // valve reported nothing new. A write to HR2..HR4 stays until the next
    // sample publishes the inputs.
    if (nAddress <= HR_POSITION_HIGH && nAddress + nSize - 1 >= HR_POSITION_LOW)
        publishPosition(nLastPosition, false);
}

void qlvModbus::onStateChanged(int state)
{
    qDebug() << "onStateChanged" << state;
}

void qlvModbus::onErrorOccured(QModbusDevice::Error newError)
{
    if (newError == QModbusDevice::NoError)
        return;
    auto *pSource = qobject_cast<QModbusDevice *>(sender());
    if (!pSource)
        pSource = pDevice;
    const QString strError = pSource ? pSource->errorString() : QString();
    emit logString(strError);
    if (bStarting)
        lstStartMessages.append(strError);
    else
        emit setReceivedMessagePC(strError);
}

void qlvModbus::setAnalogInputs(int nInput1, int nInput2, int nInput3)
{
    if (!pDevice)
        return;
    pDevice->setData(QModbusDataUnit(
        QModbusDataUnit::HoldingRegisters, HR_INPUT1,
        QVector<quint16>{publishedInput(nInput1), publishedInput(nInput2), publishedInput(nInput3)}));
    emit setReceivedMessageMotor(
        tr("I1 set: %1\nI2 set: %2\nI3 set: %3").arg(nInput1).arg(nInput2).arg(nInput3));
}

void qlvModbus::setPosition(int nPosition)
{
    nLastPosition = nPosition;
    if (!pDevice)
        return;
    publishPosition(nPosition);
}

void qlvModbus::publishPosition(int nPosition, bool bTell)
{
    if (!pDevice)
        return;
    const positionWords words = publishedPosition(nPosition);
    pDevice->setData(QModbusDataUnit(QModbusDataUnit::HoldingRegisters, HR_POSITION_LOW,
                                     QVector<quint16>{words.nLow, words.nHigh}));
    if (bTell)
        emit setReceivedMessageMotor(tr("Position set to: %1").arg(nPosition));
}

void qlvModbus::onReachedDataPoint()
{
    if (pDevice)
        pDevice->setData(QModbusDataUnit::DiscreteInputs, DI_REACHED, 1);
}

void qlvModbus::onNotReachedDataPoint()
{
    if (pDevice)
        pDevice->setData(QModbusDataUnit::DiscreteInputs, DI_REACHED, 0);
}

void qlvModbus::onFeedbackLoopEnded()
{
    bFeedbackLoopActive = false;
    bLoopCoilSet = false;
    if (pDevice)
        pDevice->setData(QModbusDataUnit::Coils, COIL_FEEDBACK_LOOP, 0);
}
