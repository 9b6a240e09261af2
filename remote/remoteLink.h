#ifndef REMOTELINK_H
#define REMOTELINK_H

#include "remote/remoteTextProtocol.h"

#include <QByteArray>
#include <QObject>
#include <QSerialPort>
#include <QString>

#include <functional>

class pcSerialTransport;
class pcTcpTransport;
class pcTransport;
class qlvModbus;

// The remote side of the valve: which remote mode is on, the transports that
// reach the remote master (the PC serial port and the TCP server behind one
// interface, the Modbus server beside them), and what the PC's bytes do
// (passed through to the controller, or split into text-protocol lines). A
// child of the drive in the motor thread; the drive asks it instead of
// looking at transports, and runs the text commands it hands over.
class remoteLink : public QObject
{
    Q_OBJECT

public:
    // The same values as motorDriver::remoteMode.
    enum mode { OFF = 0, DIRECT = 1, TERMINAL = 2, ANALOG = 3, PARSER = 4, MODBUS = 5 };

    // Where replies to the remote side go.
    enum channel { CHANNEL_NONE = 0, CHANNEL_ANALOG = 1, CHANNEL_TERMINAL = 2, CHANNEL_PC_SERIAL = 3,
                   CHANNEL_TCP = 4 };

    enum pcPortResult { PC_PORT_UNUSED, PC_PORT_OPEN, PC_PORT_FAILED };

    // pDrive: the parent, and the far end of the Modbus server's connections.
    explicit remoteLink(QObject *pDrive);
    ~remoteLink() override;

    int mode() const { return nMode; }
    int channel() const { return nChannel; }
    // The PC or the terminal talks to the controller itself.
    bool isPassThrough() const { return nMode == DIRECT || nMode == TERMINAL; }
    // The controller line belongs to the remote side: no idle polls.
    bool ownsLine() const { return nMode == DIRECT || nMode == TERMINAL || nMode == PARSER; }
    qlvModbus *modbus() const { return pModbus; }

    // Runs one text-protocol line and returns the reply for the PC.
    void setCommandRunner(std::function<QByteArray(const QByteArray &)> runner);

    // The remote tab's choices. nUiMode: 0 direct, 1 text protocol, 2 Modbus,
    // 3 terminal (USB only). nPositionPpm: published to a Modbus master at once.
    pcPortResult connectUsb(int nUiMode, const QString &strPcPort, int nPositionPpm);
    void connectEthernet(int nUiMode, const QString &strAddress, int nPort, int nPositionPpm);
    void connectAnalog();
    void disconnectUsb();
    void disconnectEthernet();
    void disconnectAnalog();

    void sendToPc(const QByteArray &data);
    void clearPcData();
    // The drive ended its regulation: a loop a Modbus master started is off.
    void regulationEnded();

    // What the drive's transport slots hand over.
    void readPcSerial();
    void acceptTcpClients();
    void tcpClientGone();
    void readTcpClient();
    QString pcPortErrorString() const;

signals:
    // For the PC's traffic pane.
    void fromPc(const QByteArray &data);
    // Pass-through bytes for the controller, outside the command queue.
    void toController(const QByteArray &data);
    void logLine(const QString &strLine);
    void pcPortError(QSerialPort::SerialPortError error);

private:
    void takePcChunk(const QByteArray &chunk);
    void passThrough(QByteArray chunk);
    void runTextLines();
    void resetPcLine();
    void listenEthernet(const QString &strAddress, int nPort);
    void startModbus(bool bSerial, const QString &strAddress, int nPort, int nPositionPpm);
    void stopModbus();
    void joinModbus(bool bJoin);

    QObject *pDrive = nullptr;
    pcSerialTransport *pSerial = nullptr;
    pcTcpTransport *pTcp = nullptr;
    qlvModbus *pModbus = nullptr;
    std::function<QByteArray(const QByteArray &)> commandRunner;
    int nMode = OFF;
    int nChannel = CHANNEL_NONE;
    // Bytes received from the PC and not yet taken.
    QByteArray dataReadPc;
    remoteLineState lineState;
    // The last text-protocol reply was the line's echo: a line feed that
    // completes that line later is echoed too.
    bool bLastReplyEchoed = false;
};

#endif // REMOTELINK_H
