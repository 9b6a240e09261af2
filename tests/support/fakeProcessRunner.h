#ifndef FAKEPROCESSRUNNER_H
#define FAKEPROCESSRUNNER_H

#include "platform/processRunner.h"

#include <QHash>
#include <QMutex>
#include <QStringList>

// Records every command the code under test would run and runs none.
// Installs itself as the runner for its lifetime.
class fakeProcessRunner : public processRunner
{
public:
    enum kind { EXECUTE, DETACHED, START };
    struct call {
        kind eKind;
        QString strProgram;
        QStringList args;
        QString commandLine() const { return (QStringList{strProgram} + args).join(QLatin1Char(' ')); }
    };

    fakeProcessRunner();
    ~fakeProcessRunner() override;

    result execute(const QString &strProgram, const QStringList &args, int nTimeoutMs = -1) override;
    bool startDetached(const QString &strProgram, const QStringList &args,
                       const QString &strWorkingDir = QString()) override;
    runningProcess *start(const QString &strProgram, const QStringList &args) override;

    // The answer execute() gives for a program (by name); default: exit 0.
    void setResult(const QString &strProgram, const result &res);
    QList<call> calls() const;
    QStringList commandLines() const;
    void clear();
    // Handles given out by start() that are still running (not killed).
    int runningCount() const;

private:
    friend class fakeRunningProcess;
    mutable QMutex lock;
    QList<call> listCalls;
    QHash<QString, result> results;
    int nRunning = 0;
};

#endif // FAKEPROCESSRUNNER_H
