#ifndef SCRIPTPROGRESSRELAY_H
#define SCRIPTPROGRESSRELAY_H

#include "script/scriptProgressQueue.h"

#include <QMutex>
#include <QObject>
#include <QString>

class QTimer;
class scriptExecutor;

// Carries the script executor's progress (commandExecuted() and
// updateCommandExecute()) from the script thread to the Script tab, in the
// order the executor made it, through a bounded queue (scriptProgressQueue):
// every report of a run with moves and waits arrives, a flood from a loop of
// immediate commands is thinned to a few texts a second with a count of
// those left out. A delivery is posted when the queue stops being empty, so
// a flood costs the GUI thread a few deliveries a second, not one per
// report; a timer in the GUI thread lets through what a flood holds once it
// is due, also when the run has gone quiet at a move or a wait.
class scriptProgressRelay : public QObject
{
    Q_OBJECT

public:
    explicit scriptProgressRelay(QObject *parent = nullptr);

    // Joins (true) or releases (false) the executor's two progress signals,
    // directly, so the reports reach the relay in the script thread; joined
    // it opens, released it closes.
    void follow(scriptExecutor *pExec, bool bFollow);
    // Opening after a close starts afresh. Closing first hands on, at once,
    // what waits, the count of what was left out and the text a flood held,
    // then drops every report until the relay opens again: a report of a
    // run that has been stopped must not come after the text that says so.
    void setOpen(bool bOpen);
    // Hands on, at once, what waits, the count of what was left out and the
    // text a flood held (the end of a run).
    void flush();
    // A run starts: flush(), open, and the rate starts afresh, so a run after
    // a flood has its whole burst.
    void newRun();

    // Any thread.
    void onCommandExecuted(int nCmdNr, int ncurrentRepetition, int nRepeat, const QString &strSetData);
    void onUpdateCommandExecute(int nCmdNr, int ncurrentRepetition, int nRepeat, const QString &strSetData,
                              const QString &strCmdType);

signals:
    // In the relay's thread, in the order of the reports.
    void commandStarted(int nCmdNr, int ncurrentRepetition, int nRepeat, QString strSetData);
    void commandProgress(int nCmdNr, int ncurrentRepetition, int nRepeat, QString strSetData, QString strCmdType);
    // nCount command texts were left out at this point.
    void textsNotShown(qint64 nCount);

private:
    void put(const scriptProgressQueue::report &r);
    void deliver();
    // The due timer: started for what the queue holds back, or given up
    // when nothing is held back any more.
    void armDueTimer();
    void onDue();
    // Takes what waits and, with bAll, the count and the text a flood held
    // (scriptProgressQueue::takeAll); runs fnThen under the same lock; then
    // hands it on.
    template <typename F>
    void takeAndHandOn(bool bAll, F &&fnThen);
    void handOn(const QVector<scriptProgressQueue::report> &reports);

    QTimer *pDueTimer;
    QMutex mutex;
    scriptProgressQueue queue;    // guarded by mutex
    bool bOpen = true;            // guarded by mutex
    bool bDueTimerWanted = false; // guarded by mutex: started, or asked for
};

#endif // SCRIPTPROGRESSRELAY_H
