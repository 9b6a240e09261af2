#ifndef MOTORDRIVER_H
#define MOTORDRIVER_H

#include "valve/lockedValue.h"
#include "valve/lvExternalFeedback.h"
#include "valve/lvTeachInData.h"
#include "valve/motorCommandQueue.h"
#include "valve/motorFamily.h"
#include "valve/motorStatus.h"
#include "valve/regulationStep.h"
#include "valve/remoteSide.h"

#include <QByteArray>
#include <QMutex>
#include <QObject>
#include <QSerialPort>
#include <QString>
#include <QThread>

#include <atomic>

class QTimer;
class analogData;
class lvTeachIn;

// The valve drive: the serial link to the motor controller of either family
// (command queue, 100 ms send tick, reply parsing, position, status word and
// status text, reconnect), the motion commands, the leak-rate regulation and
// the remote-control side, whose mode and transports (PC serial port, TCP
// server, Modbus server) live in the remote side handed over with
// setRemoteSide. Built in the GUI thread, given its remote side and its port
// (connectMotorSerial) and then moved to a thread of its own; everything else
// talks to it by queued signals.
//
// Calls from another thread: the accessors below are safe to call from any
// thread (atomics and a lock). The public members are written by the main
// window directly; they are atomics or lockedValue wrappers, so a plain
// assignment is safe. The slots hand themselves over to the driver's own
// thread when they are called directly from another one (readFromMotor from
// the debug page, onMotorCalibrate at start-up), so they never run beside the
// tick.
class motorDriver : public QObject
{
    Q_OBJECT

public:
    enum motorDriverType { BergerLahr = 0, NanoTec = 1, Remote = 2 };
    Q_ENUM(motorDriverType)

    enum remoteMode {
        REMOTE_OFF = 0,
        REMOTE_DIRECT = 1,
        REMOTE_TERMINAL = 2,
        REMOTE_ANALOG = 3,
        REMOTE_PARSER = 4,
        REMOTE_MODBUS = 5
    };
    Q_ENUM(remoteMode)

    motorDriver(QObject *parent, int nType);
    ~motorDriver() override;

    // Written by the main window from the GUI thread.
    std::atomic<int> nRecalcTimes{2};
    std::atomic<double> dblRelativeRecalc{0.5};
    lockedValue<lvExternalFeedback> extFeedback;
    lockedValue<QString> strDebugData;
    std::atomic<bool> bDebug{false};

    void setMotorType(int nType);
    int getMotorType() const;
    int getEncoderSteps() const;
    int getMotorPosition() const;
    void setTeachIn(lvTeachIn *pTeach);
    void setAnalogData(analogData *pData);
    qint64 getTotalSteps() const;
    void setTotalSteps(qint64 nSteps);
    int getContSpeed() const;
    QString getMotorPort() const;
    QString getRemotePort() const;
    void setRemotePort(QString strPort);
    // Takes over the remote side (mode, PC transports, Modbus server) as its
    // child, replacing the one it had; once, before the move to the motor
    // thread. Until then the drive has none: every remote mode stays off.
    void setRemoteSide(remoteSide *pSide);

signals:
    void setMotorPosition(int nPos);
    void setMotorPositionSteps(int nPosSteps);
    void setMotorStatus(QString strStatus);
    void receivedFromMotor(QByteArray data);
    void receivedFromPc(QByteArray data);
    void positionReached();
    void setMotorStatusCtrl(int nStatusCtrl);
    void posAndStepsRead();
    void setMeasuredData(double pTeachInData);
    void reachedDataPoint();
    void notReachedDataPoint();
    void onUpdateLimitSwitch(bool bIsOn);
    void onUpdateOutput1(bool bIsOn);
    void onWriteLog(QString strLogMessage);
    void updateAnalogData(int nInput1, int nInput2, int nInput3);
    void shutdownRequest(bool bReboot);
    void setMeasurement(bool bMeasure);
    void debugSendToMotor(QString strBuffer);

public slots:
    void communicateWithMotor();
    void handleErrorMotor(QSerialPort::SerialPortError error);
    void handleErrorPc(QSerialPort::SerialPortError error);
    void sendToMotor(QByteArray data);
    void sendToPc(QByteArray data);
    void readFromMotor();
    void readFromPc();
    void setMotorCommand(QByteArray strCommand, bool queryAfter = true, bool bRepeatCmd = false);
    void onMotorPlus();
    void onMotorPlusCont(bool bRepeat, int nSpeed);
    void onMotorMinus();
    void onMotorMinusCont(bool bRepeat, int nSpeed);
    void onMotorGotoStep(int nStep);
    void onMotorGotoRelative(int nStep);
    void onMotorGotoLeak(double dblData, int nSteps);
    void onMotorSetFeedbackVal(int nVal1, int nVal2);
    void onMotorHalt();
    void onMotorOpen();
    void onMotorClose();
    void onMotorCalibrate();
    void connectRemoteUSB(int pnRemoteMode);
    void connectRemoteEthernet(int pnRemoteMode, QString strIPADdress, int nIPPort);
    void disconnectRemoteUSB();
    void disconnectRemoteEhternet();
    void clearDataReadMotor();
    void clearDataReadPc();
    void readPosition();
    void forceMotorPosition(int nMotorPosition, bool bForce);
    void clearMotorError();
    void onGetAnalogValue(double dblData1, double dblData2, double dblData3, int nIsFeedback1, int nIsFeedback2);
    void onSetMeasureData(bool pbMeasureData);
    void setData(int nValue, int nRepeat);
    void onSetOutput1Mode(int pnOutputMode);
    void connectRemoteAnalog(int pnInput);
    void disconnectRemoteAnalog();
    void onUpdateInputs(double dblInput1, double dblInput2, double dblInput3);
    void stopCommunication();
    void onConnectWriteLog(QString strLogMessage);
    void on_newConnectionEthernet();
    void on_disconnectedEthernet();
    void on_readyReadEthernet();
    void onStopFeedback();
    void onReceivedFromModbusPC(QString strMsg);
    void onReceivedFromModbusMotor(QString strMsg);
    void onSetContSpeed(int nSpeed);
    void connectMotorSerial(QString strPort);

private:
    // Hands a call made from another thread over to the driver's thread;
    // true when it did (the caller then returns at once).
    template <typename F>
    bool deferToOwnThread(F &&fn)
    {
        if (QThread::currentThread() == thread())
            return false;
        QMetaObject::invokeMethod(this, std::forward<F>(fn), Qt::QueuedConnection);
        return true;
    }

    // --- link (command queue, tick, port) ---
    void queueCommands(const controllerCommandList &commands);
    // Empties the queue and the partial reply. bLinkReady: the link may send
    // at once (halt, drop); the lines the controller still owes for a written
    // command are then dropped on arrival, so they are not taken for the
    // replies of later commands.
    void clearCommandQueue(bool bLinkReady);
    bool openMotorPort();
    void retryOpenMotorPort();
    void reconnectAfterSilence();
    void writeCommand(const QByteArray &strCommand);
    void renderStatusText();

    // --- replies ---
    void processBergerLahrLine(const QByteArray &strLine);
    void processNanoTecLine(const QByteArray &strLine);
    void takeBergerLahrPosition(int nSteps);
    void applyNanoTecEncoder(int nMagnitude, bool bUnknown, int nValveSteps);
    void applyNanoTecStepCounter(int nMagnitude, bool bUnknown, int nValveSteps);
    void applyNanoTecStatus(int nStatus);
    void applyNanoTecErrorIndex(int nIndex);
    void applyNanoTecErrorNumber(int nNumber);
    void applyNanoTecInputWord(int nWord);
    void updatePositionPpm(int nNewPpm);
    void emitPosAndStepsReadOnce();
    void testTarget();
    // Remote modes: what the controller's data does before it is parsed.
    // True when the data was consumed (pass-through, dropped first answer).
    bool takeRemoteMotorData(const QByteArray &bytesRead);

    // --- motion ---
    // True when a feedback boundary is exceeded while measuring; the
    // boundary action has then run in place of the request.
    bool feedbackGuardRefuses();
    int checkFeedbackBoundary(double dblVolt, int nInput);
    void releaseContinuous(bool bOpening);

    // --- regulation ---
    regulationParams currentRegulationParams() const;
    QString measuringStatusLine() const;

    // --- remote side ---
    // What a remote master's status request reads; for NanoTec it first
    // queues the position queries.
    remoteDriveStatus statusForRemote();
    int calcPosFromInput(double dblVolt, int nInput);
    // The drive's regulation is off: the remote side learns it.
    void regulationOff();
    // The link as a remote mode takes it over: what the controller still owes
    // is dropped when it arrives, and the link may send at once.
    void takeOverLink();
    // The line as the pass-through modes leave it: nothing they queued or
    // left unanswered is taken for the replies of later commands.
    void releaseLink();

    QTimer *pCommTimer = nullptr;
    QSerialPort *pSerialMotor = nullptr;
    // The queue with the tick state (ready/waiting, no-answer countdown and
    // the after-command poll counters).
    motorCommandQueue motorCmdList;
    std::atomic<lvTeachIn *> pTeachIn{nullptr};
    lvTeachInData currentData;
    std::atomic<analogData *> pAnalogData{nullptr};
    int nMotStat = STAT_POS_REACHED;
    int nMotStatShown = 0;
    int nNanoTecError = 0;
    int nNanoTecErrorShown = 0;
    std::atomic<int> nMotorType{-1};
    motorFamily family;
    QString strStatusText;
    // Re-target count and cooldown, the deviation window and its integral.
    regulationState regulation;
    std::atomic<int> motorPosition{-1};
    int nStepsPosition = -1;
    std::atomic<int> nPositionPpm{-1};
    int nStepsPositionPpm = -1;
    int nSettingsPosition = -1;
    int nMinSteps = 0;
    int nMaxSteps = 0;
    int nDelta = 0;
    int nErrIndex;
    int nPosErrorCount = 0;
    bool bCompareValue = false;
    int nCompareValue = 0;
    int nTargetPpm = 0;
    int nInputWord = -1;
    int nReconnectCount = 0;
    bool bEncoderRead = false;
    bool bStepsRead = false;
    bool bPosAndStepsSent = false;
    bool bMeasureData = false;
    bool bsetleak = false;
    bool bLimitSwitch = false;
    bool bOutput1 = false;
    bool bFirstErrorClear = true;
    bool bDropNextAnswer = false;
    double dblFeedbackVal1 = -1.0;
    double dblFeedbackVal2 = -1.0;
    int nFeedbackIdx1 = -1;
    int nFeedbackIdx2 = -1;
    bool bBoundaryExceeded = false;
    QString strStatusLine;
    QByteArray dataReadMotor;
    int nRemoteInput = -1;
    std::atomic<qint64> nTotalSteps{0};
    // The remote mode and the transports to the remote master; never null.
    remoteSide *remote = nullptr;
    QString strMotorPort;
    std::atomic<int> nContSpeed{1};
    QString strLastModbusMsg;
    QString strRemotePort;

    // Guards strMotorPort and strRemotePort, read by the main window.
    mutable QMutex mtxPortNames;
    // A controller position was read (or forced): relative moves and the
    // arrival test need one.
    bool bPositionKnown = false;
    // Reply lines still owed for a command that a halt or a drop discarded.
    int nStaleReplyLines = 0;
    // Ticks since the last attempt to open a port that would not open.
    int nReopenTicks = 0;
    // Ticks the pass-through modes have waited for lines still owed.
    int nStaleTicks = 0;
    // The thread the tick last ran in.
    QThread *pTickThread = nullptr;
    // Successful opens of the controller port so far.
    int nPortOpenings = 0;
};

#endif // MOTORDRIVER_H
