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

processRunner::result fakeProcessRunner::execute(const QString &strProgram, const QStringList &args, int)
{
    QMutexLocker l(&lock);
    listCalls.append({EXECUTE, strProgram, args});
    if (results.contains(strProgram))
        return results.value(strProgram);
    result res;
    res.bStarted = true;
    res.nExitCode = 0;
    return res;
}

bool fakeProcessRunner::startDetached(const QString &strProgram, const QStringList &args, const QString &)
{
    QMutexLocker l(&lock);
    listCalls.append({DETACHED, strProgram, args});
    return true;
}

runningProcess *fakeProcessRunner::start(const QString &strProgram, const QStringList &args)
{
    {
        QMutexLocker l(&lock);
        listCalls.append({START, strProgram, args});
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

QStringList fakeProcessRunner::commandLines() const
{
    QStringList out;
    for (const call &c : calls())
        out << c.commandLine();
    return out;
}

void fakeProcessRunner::clear()
{
    QMutexLocker l(&lock);
    listCalls.clear();
}

int fakeProcessRunner::runningCount() const
{
    QMutexLocker l(&lock);
    return nRunning;
}
