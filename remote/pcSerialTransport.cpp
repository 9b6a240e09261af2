#include "remote/pcSerialTransport.h"

#include "platform/serialDeviceName.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcPcSerial, "valve.pcserial")

pcSerialTransport::pcSerialTransport(QObject *pParent)
    : pcTransport(pParent)
    , pPort(new QSerialPort(this))
{
}

pcSerialTransport::~pcSerialTransport()
{
    if (pPort->isOpen()) {
        pPort->close();
        qCDebug(lcPcSerial) << "serial PC close";
    }
}

bool pcSerialTransport::open(const QString &strPortName)
{
    disconnect(pPort, nullptr, this, nullptr);
    connect(pPort, &QSerialPort::errorOccurred, this, &pcSerialTransport::portError);
    connect(pPort, &QSerialPort::readyRead, this, &pcSerialTransport::readAvailable);
    if (pPort->isOpen())
        pPort->close();
    pPort->clearError();
    pPort->setPortName(resolveSerialDeviceName(strPortName));
    pPort->setBaudRate(QSerialPort::Baud19200, QSerialPort::AllDirections);
    pPort->setDataBits(QSerialPort::Data8);
    pPort->setParity(QSerialPort::EvenParity);
    pPort->setStopBits(QSerialPort::OneStop);
    pPort->setFlowControl(QSerialPort::NoFlowControl);
    const bool bOpen = pPort->open(QIODevice::ReadWrite);
    qCDebug(lcPcSerial) << (bOpen ? "serial PC Open" : "serial PC not open");
    if (bOpen)
        emit peerChanged();
    return bOpen;
}

bool pcSerialTransport::isOpen() const
{
    return pPort->isOpen();
}

QString pcSerialTransport::errorString() const
{
    return pPort->errorString();
}

void pcSerialTransport::readAvailable()
{
    if (!pPort->isOpen())
        return;
    const QByteArray data = pPort->readAll();
    qCDebug(lcPcSerial) << "read Pc: " << data;
    if (!data.isEmpty())
        emit received(data);
}

void pcSerialTransport::write(const QByteArray &data)
{
    if (pPort->isOpen())
        pPort->write(data);
}

void pcSerialTransport::close()
{
    if (pPort->isOpen())
        pPort->close();
    disconnect(pPort, nullptr, this, nullptr);
}
