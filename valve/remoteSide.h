#ifndef REMOTESIDE_H
#define REMOTESIDE_H

#include <QByteArray>
#include <QObject>
#include <QSerialPort>
#include <QString>

#include <functional>

// The drive's state as a remote master reads it: the limit switch and the
// position in 40000ths of full travel.
struct remoteDriveStatus
{
    bool bLimitSwitch = false;
    qint64 nPosition40k = -1;
};

// The remote side of the valve as the drive sees it: which remote mode is on
// and the transports that reach the remote master. The drive asks it instead
// of looking at transports; what the master's bytes mean is the remote
// side's business. It lives in the higher remote layer and is handed to the
// drive by whoever builds the drive (motorDriver::setRemoteSide), a child of
// the drive in the motor thread.
class remoteSide : public QObject
{
    Q_OBJECT

public:
    // The same values as motorDriver::remoteMode.
    enum mode { OFF = 0, DIRECT = 1, TERMINAL = 2, ANALOG = 3, PARSER = 4, MODBUS = 5 };

    enum pcPortResult { PC_PORT_UNUSED, PC_PORT_OPEN, PC_PORT_FAILED };

    using QObject::QObject;

    virtual int mode() const = 0;
    // The PC or the terminal talks to the controller itself.
    bool isPassThrough() const { return mode() == DIRECT || mode() == TERMINAL; }
    // The controller line belongs to the remote side: no idle polls.
    bool ownsLine() const { return mode() == DIRECT || mode() == TERMINAL || mode() == PARSER; }

    // Set by the drive: its state for a master's status request, asked in the
    // drive's thread (it may queue position queries to the controller).
    void setStatusSource(std::function<remoteDriveStatus()> source) { statusSource = std::move(source); }

    // The remote tab's choices. nUiMode: 0 direct, 1 text protocol, 2 Modbus,
    // 3 terminal (USB only). nPositionPpm: published to a Modbus master at once.
    virtual pcPortResult connectUsb(int nUiMode, const QString &strPcPort, int nPositionPpm) = 0;
    virtual void connectEthernet(int nUiMode, const QString &strAddress, int nPort, int nPositionPpm) = 0;
    virtual void connectAnalog() = 0;
    virtual void disconnectUsb() = 0;
    virtual void disconnectEthernet() = 0;
    virtual void disconnectAnalog() = 0;

    virtual void sendToPc(const QByteArray &data) = 0;
    virtual void clearPcData() = 0;
    // The drive ended its regulation: a loop a Modbus master started is off.
    virtual void regulationEnded() = 0;

    // What the drive's transport slots hand over.
    virtual void readPcSerial() = 0;
    virtual void acceptTcpClients() = 0;
    virtual void tcpClientGone() = 0;
    virtual void readTcpClient() = 0;
    virtual QString pcPortErrorString() const = 0;

signals:
    // For the PC's traffic pane.
    void fromPc(const QByteArray &data);
    // Pass-through bytes for the controller, outside the command queue.
    void toController(const QByteArray &data);
    void logLine(const QString &strLine);
    void pcPortError(QSerialPort::SerialPortError error);

protected:
    remoteDriveStatus driveStatus() const { return statusSource ? statusSource() : remoteDriveStatus(); }

private:
    std::function<remoteDriveStatus()> statusSource;
};

#endif // REMOTESIDE_H
