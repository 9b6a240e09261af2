#ifndef QLVMODBUS_H
#define QLVMODBUS_H

#include <QModbusDataUnit>
#include <QModbusDataUnitMap>
#include <QModbusDevice>
#include <QObject>
#include <QString>
#include <QStringList>

class QModbusServer;

// The valve as a Modbus server (address 1) for a remote master, RTU on a
// serial port or TCP. Master writes become requests to the drive (signals);
// what the drive reports is copied into the registers (slots). Lives in the
// motor thread as a child of motorDriver; everything here is called there.
//
// Coils: 0 stop, 1 step up, 2 step down, 3/4 plus/minus normal, 5/6 plus/
// minus fast (all momentary: they read 0 again right after), 7 feedback loop.
// Discrete inputs: 0 server running, 1 set value reached.
// Holding registers: 0/1 position (ppm; written together to move), 2..4
// analog inputs (V x 1023), 5/6 feedback values (mV) taken at coil 7 = 1.
class qlvModbus : public QObject
{
    Q_OBJECT

public:
    explicit qlvModbus(QObject *parent = nullptr);
    ~qlvModbus() override;

    // Modbus RTU on the named serial port (19200 baud, 8 data bits, even
    // parity, 1 stop bit), whatever the name; the name goes through
    // resolveSerialDeviceName(). Replaces a running server. Returns whether
    // the port could be opened (a failure is also reported as text).
    bool startSerial(const QString &strPortName);
    // Modbus TCP on an IP literal and a port 1..65535. Anything else is
    // refused with a text for the log and the master's-side pane, and no
    // server runs afterwards. Returns whether the server listens.
    bool startTcp(const QString &strAddress, int nPort);
    // Name-based choice for callers that only have a name and a port: a name
    // containing "USB" serves RTU on that port, anything else TCP as above.
    bool startCommunicating(const QString &strName, int nPort);
    // Ends a feedback loop the master started (stopFeedbackData()), then drops
    // the server and its registers.
    void stopCommunicating();

signals:
    void logString(const QString &logMessage);
    void setPositionMotor(int nPosition);
    void sendStopToMotor();
    void sendPlusToMotor();
    void sendMinusToMotor();
    void sendPlusContPressed(bool bRepeat, int nSpeed);
    void sendMinusContPressed(bool bRepeat, int nSpeed);
    void setMotorFeedbackVal(int nVal1, int nVal2);
    void setReceivedMessagePC(const QString &strMessage);
    void setReceivedMessageMotor(const QString &strMessage);
    void stopFeedbackData();

public slots:
    // Kept for a plain-socket variant; nothing connects them.
    void on_newConnection();
    void on_disconnected();
    void on_readyRead();

    // Every write a master makes to the running server ends up here.
    void onDataWritten(QModbusDataUnit::RegisterType table, int address, int size);
    void onStateChanged(int state);
    void onErrorOccured(QModbusDevice::Error newError);

    void setAnalogInputs(int nInput1, int nInput2, int nInput3);
    // Remembered even while stopped, so that the next start publishes it;
    // -1 means "no position read yet" (reads 65535 / 255).
    void setPosition(int nPosition);
    void onReachedDataPoint();
    void onNotReachedDataPoint();
    // The drive's regulation ended (a Stop, the end of measuring, coil 7 =
    // 0): coil 7 reads 0 again, and the next 1 a master writes starts the
    // loop anew.
    void onFeedbackLoopEnded();

private:
    bool startDevice(QModbusServer *pNewDevice);
    void dropDevice();
    static void closeDevice(QModbusServer *pServer);
    void writeInitialValues();
    // bTell: also report it for the valve's-side pane.
    void publishPosition(int nPosition, bool bTell = true);
    void restorePublished(int nAddress, int nSize);
    void handleCoilWrite(int nAddress, int nSize);
    void handleHoldingWrite(int nAddress, int nSize);
    void reportToPcLater(const QString &strMessage);

    QModbusServer *pDevice = nullptr;
    const QModbusDataUnitMap mapRegisters;
    int nFeedbackVal1 = 0;
    int nFeedbackVal2 = 0;
    bool bFeedbackLoopActive = false;
    bool bLoopCoilSet = false;        // coil 7 as the master last left it
    int nLastPosition = -1;           // last position the drive reported
    bool bStarting = false;
    QStringList lstStartMessages;
};

#endif // QLVMODBUS_H
