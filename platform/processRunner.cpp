#include "platform/processRunner.h"

#include <QAtomicPointer>
#include <QProcess>

namespace {

class qprocessHandle : public runningProcess
{
public:
    qprocessHandle(const QString &strProgram, const QStringList &args)
    {
        proc.start(strProgram, args, QIODevice::ReadWrite);
        proc.waitForStarted(1000);
    }
    ~qprocessHandle() override
    {
        if (proc.state() != QProcess::NotRunning) {
            proc.kill();
            proc.waitForFinished(1000);
        }
    }
    bool isRunning() const override { return proc.state() != QProcess::NotRunning; }
    void kill() override
    {
        if (proc.state() != QProcess::NotRunning) {
            proc.kill();
            proc.waitForFinished(1000);
        }
    }
    void terminate() override { proc.terminate(); }
    bool waitForFinished(int nMsecs) override
    {
        if (proc.state() == QProcess::NotRunning)
            return true;
        return proc.waitForFinished(nMsecs);
    }

private:
    QProcess proc;
};

processRunner systemRunner;
QAtomicPointer<processRunner> currentRunner(nullptr);

} // namespace

processRunner::result processRunner::execute(const QString &strProgram, const QStringList &args, int nTimeoutMs)
{
    request req;
    req.strProgram = strProgram;
    req.args = args;
    req.nTimeoutMs = nTimeoutMs;
    return run(req);
}

processRunner::result processRunner::run(const request &req)
{
    const int nTimeoutMs = req.nTimeoutMs;
    result res;
    QProcess proc;
    if (!req.environment.isEmpty()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const QString &strEntry : req.environment)
            env.insert(strEntry.section(QLatin1Char('='), 0, 0), strEntry.section(QLatin1Char('='), 1));
        proc.setProcessEnvironment(env);
    }
    proc.start(req.strProgram, req.args, QIODevice::ReadWrite);
    if (!proc.waitForStarted(nTimeoutMs < 0 ? 30000 : nTimeoutMs)) {
        res.nExitCode = -2;
        return res;
    }
    res.bStarted = true;
    if (!req.stdIn.isEmpty()) {
        proc.write(req.stdIn);
        proc.waitForBytesWritten(nTimeoutMs < 0 ? 30000 : nTimeoutMs);
    }
    proc.closeWriteChannel();
    if (!proc.waitForFinished(nTimeoutMs)) {
        res.bTimedOut = true;
        proc.kill();
        proc.waitForFinished(1000);
    }
    res.stdOut = proc.readAllStandardOutput();
    res.stdErr = proc.readAllStandardError();
    if (res.bTimedOut || proc.exitStatus() == QProcess::CrashExit) {
        res.bCrashed = !res.bTimedOut;
        res.nExitCode = -1;
    } else {
        res.nExitCode = proc.exitCode();
    }
    return res;
}

bool processRunner::startDetached(const QString &strProgram, const QStringList &args, const QString &strWorkingDir)
{
    return QProcess::startDetached(strProgram, args, strWorkingDir);
}

runningProcess *processRunner::start(const QString &strProgram, const QStringList &args)
{
    return new qprocessHandle(strProgram, args);
}

QStringList processRunner::splitCommandLine(const QString &strCommandLine)
{
    return QProcess::splitCommand(strCommandLine);
}

processRunner::result processRunner::executeCommandLine(const QString &strCommandLine, int nTimeoutMs)
{
    QStringList parts = splitCommandLine(strCommandLine);
    if (parts.isEmpty())
        return result();
    const QString strProgram = parts.takeFirst();
    return execute(strProgram, parts, nTimeoutMs);
}

runningProcess *processRunner::startCommandLine(const QString &strCommandLine)
{
    QStringList parts = splitCommandLine(strCommandLine);
    const QString strProgram = parts.isEmpty() ? QString() : parts.takeFirst();
    return start(strProgram, parts);
}

processRunner &processRunner::instance()
{
    processRunner *p = currentRunner.loadAcquire();
    return p ? *p : systemRunner;
}

void processRunner::setInstance(processRunner *pRunner)
{
    currentRunner.storeRelease(pRunner);
}
