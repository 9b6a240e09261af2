#ifndef PCSERIALTRANSPORT_H
#define PCSERIALTRANSPORT_H

#include "remote/pcTransport.h"

#include <QSerialPort>
#include <QString>

// The PC on the PC serial port: 19200 baud, 8 data bits, even parity, 1 stop
// bit, no flow control.
class pcSerialTransport : public pcTransport
{
    Q_OBJECT

public:
    explicit pcSerialTransport(QObject *pParent);
    ~pcSerialTransport() override;

    // Opens the named port (through resolveSerialDeviceName); a port open
    // before is closed first. True when it is open.
    bool open(const QString &strPortName);
    bool isOpen() const;
    QString errorString() const;
    // Reads what the PC sent and reports it as one chunk.
    void readAvailable();

    void write(const QByteArray &data) override;
    void close() override;

signals:
    void portError(QSerialPort::SerialPortError error);

private:
    QSerialPort *pPort = nullptr;
};

#endif // PCSERIALTRANSPORT_H
