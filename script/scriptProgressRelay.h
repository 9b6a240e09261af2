#ifndef SCRIPTPROGRESSRELAY_H
#define SCRIPTPROGRESSRELAY_H

#include "valve/pendingDelivery.h"

#include <QObject>
#include <QString>

class scriptExecutor;

// Carries the script executor's progress (commandExecuted() and
// updateCommandExecute()) from the script thread to the Script tab with at
// most one delivery waiting in the GUI thread. A loop of immediate commands
// executes millions of commands a second and reports every one; queued
// one signal per report, they pile up in the GUI thread by the million, and
// each that is handled becomes a status text and a log line. Here the reports
// that come while a delivery waits replace what waits, so the status strip
// and the log get the latest text.
//
// A delivery holds the last command started since the previous delivery and
// the last progress reported after it: the row of the command under way is
// still selected when a progress report follows at once.
class scriptProgressRelay : public QObject
{
    Q_OBJECT

public:
    explicit scriptProgressRelay(QObject *parent = nullptr);

    // Joins (true) or releases (false) the executor's two progress signals,
    // directly, so the reports reach the relay in the script thread; joined
    // it opens, released it closes.
    void follow(scriptExecutor *pExec, bool bFollow);
    // Closed, it drops what waits and every report until it opens again: a
    // report of a run that has been stopped must not come after the text
    // that says so.
    void setOpen(bool bOpen);

    // Any thread.
    void onCommandExecuted(int nCmdNr, int ncurrentRepetition, int nRepeat, const QString &strSetData);
    void onUpdateCommandExecute(int nCmdNr, int ncurrentRepetition, int nRepeat, const QString &strSetData,
                              const QString &strCmdType);

signals:
    // In the relay's thread; for one delivery, in this order.
    void commandStarted(int nCmdNr, int ncurrentRepetition, int nRepeat, QString strSetData);
    void commandProgress(int nCmdNr, int ncurrentRepetition, int nRepeat, QString strSetData, QString strCmdType);

private:
    struct report
    {
        bool bValid = false;
        int nCmdNr = 0;
        int nRepetition = 0;
        int nRepeat = 0;
        QString strSetData;
        QString strCmdType;
    };
    struct waiting
    {
        report started;
        report progress;
    };

    void post(bool bPost);
    void deliver();

    pendingDelivery<waiting> pending;
};

#endif // SCRIPTPROGRESSRELAY_H
