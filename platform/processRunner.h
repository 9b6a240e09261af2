#ifndef PROCESSRUNNER_H
#define PROCESSRUNNER_H

#include <QByteArray>
#include <QString>
#include <QStringList>

// A process started with start(); the owner ends it. Kept abstract so that
// tests can hand out handles that never touch the system.
class runningProcess
{
public:
    virtual ~runningProcess() = default;
    virtual bool isRunning() const = 0;
    virtual void kill() = 0;
    virtual void terminate() = 0;
    virtual bool waitForFinished(int nMsecs) = 0;
};

// Every outside program of the system (sudo, shutdown, reboot, hwclock,
// xvkbd, assistant, cp, unzip, user scripts) is started through this one
// object, so that a test can put a fake in its place and nothing real runs.
// Programs are looked up through PATH exactly as named.
class processRunner
{
public:
    struct result {
        bool bStarted = false;    // false: the program could not be started
        bool bCrashed = false;
        bool bTimedOut = false;   // killed after the time limit
        int nExitCode = -2;       // QProcess::execute convention: -2 not started, -1 crashed
        QByteArray stdOut;
        QByteArray stdErr;
    };

    // One program with its arguments, handed over as they are (never split
    // or interpreted by a shell). Its standard input gets stdIn and is then
    // closed, so a program that asks a question reads end of input instead of
    // waiting for an answer nobody gives.
    struct request {
        QString strProgram;
        QStringList args;
        QByteArray stdIn;
        int nTimeoutMs = -1;      // -1: no limit
        // "NAME=value" entries set for this process only, over the
        // program's own environment.
        QStringList environment;
    };

    virtual ~processRunner() = default;

    // Runs the program to its end (or until the time limit, after which it is
    // killed) and collects its output. Safe to call from any thread.
    virtual result run(const request &req);
    // The same without input data.
    virtual result execute(const QString &strProgram, const QStringList &args, int nTimeoutMs = -1);
    // Starts the program and forgets it.
    virtual bool startDetached(const QString &strProgram, const QStringList &args,
                               const QString &strWorkingDir = QString());
    // Starts the program asynchronously; the caller owns the handle. Never null,
    // even when the start fails (the handle then reports not running).
    virtual runningProcess *start(const QString &strProgram, const QStringList &args);

    // A command line split at blanks, double-quoted parts kept whole
    // (QProcess::splitCommand rules). Empty when the line is empty.
    static QStringList splitCommandLine(const QString &strCommandLine);
    result executeCommandLine(const QString &strCommandLine, int nTimeoutMs = -1);
    runningProcess *startCommandLine(const QString &strCommandLine);

    // The runner in use. setInstance(nullptr) puts the system runner back;
    // the caller keeps ownership of what it sets.
    static processRunner &instance();
    static void setInstance(processRunner *pRunner);
};

#endif // PROCESSRUNNER_H
