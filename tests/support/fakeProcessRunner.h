#ifndef FAKEPROCESSRUNNER_H
#define FAKEPROCESSRUNNER_H

#include "platform/processRunner.h"

#include <QHash>
#include <QMutex>
#include <QStringList>

// Records every command the code under test would run and runs none.
// Installs itself as the runner for its lifetime. The on-screen keyboard's
// starts are kept apart (keyboardCalls): a touch field or prompt starts one
// whenever it holds the focus, which is no concern of a test of the other
// programs.
class fakeProcessRunner : public processRunner
{
public:
    enum kind { EXECUTE, DETACHED, START };
    struct call {
        kind eKind;
        QString strProgram;
        QStringList args;
        QByteArray stdIn;
        int nTimeoutMs = -1;
        QStringList environment;
        QString commandLine() const { return (QStringList{strProgram} + args).join(QLatin1Char(' ')); }
    };

    fakeProcessRunner();
    ~fakeProcessRunner() override;

    result run(const request &req) override;
    result execute(const QString &strProgram, const QStringList &args, int nTimeoutMs = -1) override;
    bool startDetached(const QString &strProgram, const QStringList &args,
                       const QString &strWorkingDir = QString()) override;
    runningProcess *start(const QString &strProgram, const QStringList &args) override;

    // The answer execute() and run() give for a program (by name); default:
    // exit 0. A queued answer is used once, before the standing one.
    void setResult(const QString &strProgram, const result &res);
    void queueResult(const QString &strProgram, const result &res);
    // A result with this exit code (-2: not started, -1: crashed).
    static result exitResult(int nExitCode);
    QList<call> calls() const;
    QStringList commandLines() const;
    QList<call> keyboardCalls() const;
    QStringList keyboardCommandLines() const;
    void clear();
    // Handles given out by start() that are still running (not killed).
    int runningCount() const;

private:
    friend class fakeRunningProcess;
    mutable QMutex lock;
    QList<call> listCalls;
    QList<call> listKeyboardCalls;
    QHash<QString, result> results;
    QHash<QString, QList<result>> queuedResults;
    int nRunning = 0;
};

#endif // FAKEPROCESSRUNNER_H
