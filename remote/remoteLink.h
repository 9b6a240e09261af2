#ifndef REMOTELINK_H
#define REMOTELINK_H

#include "remote/remoteTextProtocol.h"
#include "valve/remoteSide.h"

#include <QByteArray>
#include <QString>

class motorDriver;
class pcSerialTransport;
class pcTcpTransport;
class pcTransport;
class qlvModbus;

// The remote side of the valve: which remote mode is on, the transports that
// reach the remote master (the PC serial port and the TCP server behind one
// interface, the Modbus server beside them), and what the PC's bytes do
// (passed through to the controller, or split into text-protocol lines that
// it runs on the drive). A child of the drive in the motor thread; whoever
// builds the drive hands it over with motorDriver::setRemoteSide.
class remoteLink : public remoteSide
{
    Q_OBJECT

public:
    // Where replies to the remote side go.
    enum channel { CHANNEL_NONE = 0, CHANNEL_ANALOG = 1, CHANNEL_TERMINAL = 2, CHANNEL_PC_SERIAL = 3,
                   CHANNEL_TCP = 4 };

    // pDrive: the parent, the drive the text commands move, and the far end
    // of the Modbus server's connections.
    explicit remoteLink(motorDriver *pDrive);
    ~remoteLink() override;

    int mode() const override { return nMode; }
    int channel() const { return nChannel; }

    pcPortResult connectUsb(int nUiMode, const QString &strPcPort, int nPositionPpm) override;
    void connectEthernet(int nUiMode, const QString &strAddress, int nPort, int nPositionPpm) override;
    void connectAnalog() override;
    void disconnectUsb() override;
    void disconnectEthernet() override;
    void disconnectAnalog() override;

    void sendToPc(const QByteArray &data) override;
    void clearPcData() override;
    void regulationEnded() override;

    void readPcSerial() override;
    void acceptTcpClients() override;
    void tcpClientGone() override;
    void readTcpClient() override;
    QString pcPortErrorString() const override;

private:
    void takePcChunk(const QByteArray &chunk);
    void passThrough(QByteArray chunk);
    void runTextLines();
    // Runs one text-protocol line on the drive; returns the reply for the PC.
    QByteArray runTextCommand(const QByteArray &strLine);
    void resetPcLine();
    void listenEthernet(const QString &strAddress, int nPort);
    void startModbus(bool bSerial, const QString &strAddress, int nPort, int nPositionPpm);
    void stopModbus();
    void joinModbus(bool bJoin);

    motorDriver *pDrive = nullptr;
    pcSerialTransport *pSerial = nullptr;
    pcTcpTransport *pTcp = nullptr;
    qlvModbus *pModbus = nullptr;
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
