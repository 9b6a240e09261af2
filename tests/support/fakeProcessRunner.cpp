#include "fakeProcessRunner.h"

class fakeRunningProcess : public runningProcess
{
public:
    explicit fakeRunningProcess(fakeProcessRunner *pRunner) : pOwner(pRunner)
    {
        QMutexLocker l(&pOwner->lock);
        ++pOwner->nRunning;
    }
    ~fakeRunningProcess() override { stop(); }
    bool isRunning() const override { return bRunning; }
    void kill() override { stop(); }
    void terminate() override { stop(); }
    bool waitForFinished(int) override { return !bRunning; }

private:
    void stop()
    {
        if (!bRunning)
            return;
        bRunning = false;
        QMutexLocker l(&pOwner->lock);
        --pOwner->nRunning;
    }
    fakeProcessRunner *pOwner;
    bool bRunning = true;
};

fakeProcessRunner::fakeProcessRunner()
{
    processRunner::setInstance(this);
}

fakeProcessRunner::~fakeProcessRunner()
{
    processRunner::setInstance(nullptr);
}

processRunner::result fakeProcessRunner::run(const request &req)
{
    QMutexLocker l(&lock);
    listCalls.append({EXECUTE, req.strProgram, req.args, req.stdIn, req.nTimeoutMs, req.environment});
    QList<result> &queued = queuedResults[req.strProgram];
    if (!queued.isEmpty())
        return queued.takeFirst();
    if (results.contains(req.strProgram))
        return results.value(req.strProgram);
    return exitResult(0);
}

processRunner::result fakeProcessRunner::execute(const QString &strProgram, const QStringList &args, int nTimeoutMs)
{
    request req;
    req.strProgram = strProgram;
    req.args = args;
    req.nTimeoutMs = nTimeoutMs;
    // Through run(), so a test runner that watches run() sees these too.
    return run(req);
}

processRunner::result fakeProcessRunner::exitResult(int nExitCode)
{
    result res;
    res.bStarted = nExitCode != -2;
    res.bCrashed = nExitCode == -1;
    res.nExitCode = nExitCode;
    return res;
}

void fakeProcessRunner::queueResult(const QString &strProgram, const result &res)
{
    QMutexLocker l(&lock);
    queuedResults[strProgram].append(res);
}

bool fakeProcessRunner::startDetached(const QString &strProgram, const QStringList &args, const QString &)
{
    QMutexLocker l(&lock);
    listCalls.append({DETACHED, strProgram, args, {}, -1, {}});
    return true;
}

runningProcess *fakeProcessRunner::start(const QString &strProgram, const QStringList &args)
{
    {
        QMutexLocker l(&lock);
        (strProgram == QLatin1String("xvkbd") ? listKeyboardCalls : listCalls).append({START, strProgram, args, {}, -1, {}});
    }
    return new fakeRunningProcess(this);
}

void fakeProcessRunner::setResult(const QString &strProgram, const result &res)
{
    QMutexLocker l(&lock);
    results.insert(strProgram, res);
}

QList<fakeProcessRunner::call> fakeProcessRunner::calls() const
{
    QMutexLocker l(&lock);
    return listCalls;
}

namespace {

QStringList linesOf(const QList<fakeProcessRunner::call> &calls)
{
    QStringList out;
    for (const fakeProcessRunner::call &c : calls)
        out << c.commandLine();
    return out;
}

} // namespace

QStringList fakeProcessRunner::commandLines() const
{
    return linesOf(calls());
}

QList<fakeProcessRunner::call> fakeProcessRunner::keyboardCalls() const
{
    QMutexLocker l(&lock);
    return listKeyboardCalls;
}

QStringList fakeProcessRunner::keyboardCommandLines() const
{
    return linesOf(keyboardCalls());
}

void fakeProcessRunner::clear()
{
    QMutexLocker l(&lock);
    listCalls.clear();
    listKeyboardCalls.clear();
}

int fakeProcessRunner::runningCount() const
{
    QMutexLocker l(&lock);
    return nRunning;
}
