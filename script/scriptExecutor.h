#ifndef SCRIPTEXECUTOR_H
#define SCRIPTEXECUTOR_H

#include "script/lvScript.h"
#include "script/lvScriptCommand.h"
#include "script/scriptChainRequests.h"
#include "valve/lockedValue.h"
#include "valve/lvExternalFeedback.h"
#include "valve/lvTeachIn.h"

#include <QObject>
#include <QString>

#include <atomic>

class QTimer;

// Runs one script, command by command, in the script thread. It never talks
// to the valve drive itself: it emits requests (go to a position, move by a
// distance, go to and hold a process value, switch measuring) that the main
// window joins to the drive and to its own slots, and it is paced by the
// drive's positionReached() and reachedDataPoint() (both to
// processNextCommand()), by its wait timer and by the analog samples. While a
// script records, every sample becomes a point of the executor's own teach-in
// record, which SAVE writes as a teach-in file.
//
// Threads: the object and its wait timer live in the script thread. stopScript()
// and onSetExtFeedback() may also be called directly from any other thread;
// a stop then takes effect before the next command of a running chain. The
// record handed out by updateDiagramMeasure() is only changed under its own
// lock; readers take snapshot() or withLock().
class scriptExecutor : public QObject
{
    Q_OBJECT

public:
    explicit scriptExecutor(QObject *parent = nullptr);
    ~scriptExecutor() override;

    // A consistent copy of the measurement record (any thread).
    lvTeachIn teachInSnapshot() const { return teachIn.snapshot(); }
    // The record itself, as updateDiagramMeasure() hands it out.
    lvTeachIn *measurementRecord() { return &teachIn; }

signals:
    // Once for every executed command, before the command's own requests.
    void commandExecuted(int nCmdNr, int ncurrentRepetition = 0, int nRepeat = 0, QString strSetData = QString());
    void gotoPosAbs(int nPos);
    void gotoPosRel(int nPos);
    // GOTODATA with its raw value and repeat (thousandths of val1 and val2)
    // and the last recorded process value.
    void gotoData(int nValue, int nRepeat, double dblActualData);
    void setMeasurement(bool pbMeasure);
    // Requests to join (true) or cut (false) the drive's positionReached()
    // resp. reachedDataPoint() to processNextCommand().
    void connectPositionReached(bool bConnect);
    void connectDataReached(bool bConnect);
    // End of a data wait not followed by WAIT: the drive ends the regulation.
    void stopFeedbackData();
    // Jumps left after a GOTOCMD jump.
    void setCmdRepetition(int pnRepetition);
    // Asks the analog inputs for one sample at once.
    void getAnalogValue();
    // After every recorded point; pbMarkPt: recorded while reached reports
    // are being counted.
    void updateDiagramMeasure(lvTeachIn *pTeachIn, bool pbMarkPt);
    void clearDiagram();
    // SAVE wrote the teach-in file of this name.
    void newDataSeved(QString strDataFileName);
    void setDiagramName(QString pstrName);
    // Progress of a running WAIT or data wait, at every analog sample.
    void updateCommandExecute(int nCmdNr, int ncurrentRepetition = 0, int nRepeat = 0,
                              QString strSetData = QString(), QString strCmdType = QStringLiteral("NOCMD"));
    // No further command: the last one has been issued, or nothing to run.
    void finished();

public slots:
    // Creates the wait timer in the script thread; run once, queued.
    void init();
    // Takes the script to run and makes its first command the start; ends
    // what a previous run left behind (wait timer, data wait, cut reports).
    void setScript(lvScript script);
    // Starts a run, or continues a stopped one, at the current command; a
    // request while a run is going on changes nothing.
    void processScript();
    // Pauses the run: nothing is halted, no further command is executed
    // until processScript(). Safe to call from any thread.
    void stopScript();
    // Executes the current command: a reached report, the end of a wait, or
    // the start of a run.
    void processNextCommand();
    void waitTimerElapsed();
    // Makes the command at this list index the start of the next run.
    void onSetCmd(int nCmdNr);
    void onMotorPositionUpdated(int motorPosition);
    void onGetAnalogValue(double dblData1, double dblData2, double dblData3, int nIsFeedback1, int nIsFeedback2);
    // Safe to call from any thread.
    void onSetExtFeedback(lvExternalFeedback plvExtFeedback);
    // Pauses (true) or continues (false) the run and its time base.
    void setResume(bool bResume);

private:
    friend class tst_scriptExecutor;
    friend class tst_MainWindow;

    // The run's steps; none of them returns to the event loop.
    void loadCommand(int nIndex);
    // Executes currentCmd and every command that completes at once after it.
    void executeChain();
    // nCmdIndex += 1, then loads that command or finishes the run; false
    // when the run finished.
    bool advance();
    void finishRun();
    // Ends an open data wait (the third reached report).
    void endDataWait();
    // Gives back every report connection the run has cut.
    void restoreConnections();
    // The wait timer, a data wait and the cut reports of a run, all dropped.
    void dropPendingWaits();
    // Cuts or gives back the report connections so that they match what the
    // run needs now.
    void syncConnections();
    void stopWaitTimer();
    void clearRecord();
    void saveRecord();
    void executeGotoData();
    void executeMeasure(int nMode);
    void applyStop();
    qint64 nowMs() const;

    lvScript script;
    lvTeachIn teachIn;
    lockedValue<lvExternalFeedback> extFeedback;
    lvScriptCommand currentCmd;
    lvScriptCommand executedCmd;
    // Measuring and diagram requests of the chain under way.
    scriptChainRequests chainRequests;
    int nCmdIndex;
    int nLoopCounter;
    bool bInLoop;
    // Set by stopScript() from any thread, read before every chained command.
    std::atomic<bool> resumeable;
    // A run started by processScript() is under way: reports outside a run
    // never execute a command.
    bool bRunActive;
    QTimer *waitTimer;
    qint64 nWaitStartMs;  // monotonic ms at the start of the running WAIT
    qint64 nRunStartMs;   // monotonic ms of the last restart of the time base
    qint64 nRunTimeMs;    // time base of the recorded points
    bool bRecording;
    int nMeasureMode;
    int nLastPosition;
    double dblDataSetpoint;
    double dblLastData;
    bool bWaitForData;
    int nReachedCount;
    bool bCountingReached;
    bool bHoldDuringWait;
    // What the run needs cut: the position report during a data wait and
    // the WAIT after it, the data report during that WAIT (bHoldDuringWait).
    // The two flags below say what is cut now; a stop gives both back and the
    // next run cuts again what it still needs.
    bool bPositionDisconnected;
    bool bDataDisconnected;
};

#endif // SCRIPTEXECUTOR_H
