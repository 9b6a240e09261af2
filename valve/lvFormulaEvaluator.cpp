#include "valve/lvFormulaEvaluator.h"

#include "valve/engineStateScope.h"
#include "valve/plainArithmetic.h"

#include <QAtomicInt>
#include <QJSEngine>
#include <QJSValue>
#include <QStringList>
#include <QVector>
#include <QThreadStorage>

#include <chrono>
#include <condition_variable>
#include <cmath>
#include <limits>
#include <map>
#include <mutex>
#include <thread>

#include <pthread.h>
#include <time.h>

namespace {

QAtomicInt timeLimit(lvFormulaEvaluator::defaultTimeLimitMs);

// One thread watches every running evaluation and interrupts those that
// outlive their limit. The limit is processor time of the evaluating thread,
// not time on the wall clock: on a busy panel a short formula may wait long
// for the processor, and it must not come back as "no value" for that; an
// endless formula uses the processor all the time and is stopped after its
// limit all the same. Arming and disarming happen under one mutex, so an
// engine is never interrupted after its evaluation has been disarmed.
class evaluationWatchdog
{
public:
    using clock = std::chrono::steady_clock;

    ~evaluationWatchdog()
    {
        {
            std::lock_guard<std::mutex> guard(mtx);
            bStop = true;
        }
        cv.notify_all();
        if (worker.joinable())
            worker.join();
    }

    quint64 arm(QJSEngine *pEngine, int nLimitMs)
    {
        entry item{pEngine, CLOCK_MONOTONIC, 0, qint64(nLimitMs) * 1000000};
        // Without the thread's own clock the wall clock stands in.
        clockid_t threadClock;
        if (pthread_getcpuclockid(pthread_self(), &threadClock) == 0)
            item.cpuClock = threadClock;
        item.nStartNs = nowNs(item.cpuClock);
        std::lock_guard<std::mutex> guard(mtx);
        if (!worker.joinable())
            worker = std::thread([this] { run(); });
        const quint64 nId = ++nLastId;
        const bool bWasIdle = running.empty();
        running.emplace(nId, item);
        if (bWasIdle)
            cv.notify_all();
        return nId;
    }

    void disarm(quint64 nId)
    {
        std::lock_guard<std::mutex> guard(mtx);
        running.erase(nId);
    }

private:
    struct entry
    {
        QJSEngine *pEngine;
        clockid_t cpuClock;
        qint64 nStartNs;
        qint64 nLimitNs;
    };

    static qint64 nowNs(clockid_t id)
    {
        timespec ts{};
        if (clock_gettime(id, &ts) != 0)
            return 0;
        return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
    }

    void run()
    {
        std::unique_lock<std::mutex> guard(mtx);
        while (!bStop) {
            if (running.empty()) {
                cv.wait(guard);
                continue;
            }
            // Entries are disarmed by their thread before it can end, so
            // every clock read here belongs to a living thread.
            qint64 nNextNs = std::numeric_limits<qint64>::max();
            for (auto &item : running) {
                const qint64 nLeftNs = item.second.nLimitNs - (nowNs(item.second.cpuClock) - item.second.nStartNs);
                if (nLeftNs <= 0)
                    item.second.pEngine->setInterrupted(true);
                else
                    nNextNs = std::min(nNextNs, nLeftNs);
            }
            // A thread uses its processor time no faster than the wall clock
            // runs, so waiting what is left of its limit never wakes too
            // late. Interrupted entries stay until their thread disarms them;
            // poll them rarely.
            const qint64 nWaitNs = std::min<qint64>(nNextNs, 10000000);
            cv.wait_until(guard, clock::now() + std::chrono::nanoseconds(nWaitNs));
        }
    }

    std::mutex mtx;
    std::condition_variable cv;
    std::map<quint64, entry> running;
    quint64 nLastId = 0;
    bool bStop = false;
    std::thread worker;
};

evaluationWatchdog &watchdog()
{
    static evaluationWatchdog instance;
    return instance;
}

QThreadStorage<QJSEngine *> engines;

QJSEngine *threadEngine()
{
    if (!engines.hasLocalData())
        engines.setLocalData(new QJSEngine);
    return engines.localData();
}

// The thread's engine only ever runs programs that cannot change it, so it
// stays as fresh as a new one; every other program (a declaration, an
// assignment, a name of its own, "delete Math.sqrt") gets an engine of its
// own, as every program once did, and takes whatever it changed with it.
bool mayLeaveState(const QString &strProgram)
{
    return !leavesNoEngineState(strProgram);
}

double runInEngine(QJSEngine *pEngine, const QString &strProgram)
{
    evaluationWatchdog &guard = watchdog();
    const quint64 nId = guard.arm(pEngine, lvFormulaEvaluator::timeLimitMs());
    const QJSValue result = pEngine->evaluate(strProgram, QString(), 1);
    // Converting may run the program's own valueOf: still under the watchdog.
    const double dblResult = result.isError() ? std::numeric_limits<double>::quiet_NaN() : result.toNumber();
    guard.disarm(nId);
    if (pEngine->isInterrupted()) {
        pEngine->setInterrupted(false);
        return std::numeric_limits<double>::quiet_NaN();
    }
    return dblResult;
}

// Runs many programs in one call of the engine: each is evaluated like a
// program of its own (indirect eval: global scope, its own lexical scope, its
// completion value; a thrown value becomes the result and a failed conversion
// 0, as with QJSEngine::evaluate and QJSValue::toNumber), at a fraction of the
// cost of one evaluate() each.
// The time limit applies per call; when it strikes, the program that was
// running gets its own bounded evaluation and the batch goes on after it.
void runBatch(QJSEngine *pEngine, const QStringList &programs, const QVector<int> &indices, QVector<double> &results)
{
    const int nCount = indices.size();
    QJSValue jsPrograms = pEngine->newArray(uint(nCount));
    for (int k = 0; k < nCount; ++k)
        jsPrograms.setProperty(quint32(k), programs.at(indices.at(k)));
    QJSValue jsResults = pEngine->newArray(uint(nCount));
    QJSValue jsState = pEngine->newObject();
    QJSValue runner = pEngine->evaluate(QStringLiteral(
        "(function (programs, results, state, start) {\n"
        "    var run = eval, number = Number;\n"
        "    for (var k = start; k < programs.length; ++k) {\n"
        "        state.k = k;\n"
        "        var value;\n"
        "        try { value = run(programs[k]); }\n"
        "        catch (e) { if (e instanceof Error) { results[k] = NaN; continue; } value = e; }\n"
        "        try { results[k] = number(value); } catch (e) { results[k] = 0; }\n"
        "    }\n"
        "})"));
    evaluationWatchdog &guard = watchdog();
    int nStart = 0;
    while (nStart < nCount) {
        const quint64 nId = guard.arm(pEngine, lvFormulaEvaluator::timeLimitMs());
        const QJSValue done = runner.call({jsPrograms, jsResults, jsState, nStart});
        guard.disarm(nId);
        const bool bInterrupted = pEngine->isInterrupted();
        if (bInterrupted)
            pEngine->setInterrupted(false);
        if (!done.isError())
            break;
        const int k = qBound(nStart, jsState.property(QStringLiteral("k")).toInt(), nCount - 1);
        jsResults.setProperty(quint32(k), runInEngine(pEngine, programs.at(indices.at(k))));
        nStart = k + 1;
    }
    for (int k = 0; k < nCount; ++k)
        results[indices.at(k)] = jsResults.property(quint32(k)).toNumber();
}

} // namespace

QVector<double> lvFormulaEvaluator::evaluateAll(const QStringList &programs)
{
    QVector<double> results(programs.size(), std::numeric_limits<double>::quiet_NaN());
    QVector<int> batch;
    for (int i = 0; i < programs.size(); ++i) {
        const QString &strProgram = programs.at(i);
        if (evaluatePlainArithmetic(strProgram, results[i]))
            continue;
        if (mayLeaveState(strProgram))
            results[i] = evaluate(strProgram);
        else
            batch.append(i);
    }
    if (batch.size() == 1)
        results[batch.first()] = runInEngine(threadEngine(), programs.at(batch.first()));
    else if (!batch.isEmpty())
        runBatch(threadEngine(), programs, batch, results);
    return results;
}

double lvFormulaEvaluator::evaluate(const QString &strProgram)
{
    double dblResult;
    if (evaluatePlainArithmetic(strProgram, dblResult))
        return dblResult;
    if (mayLeaveState(strProgram)) {
        QJSEngine engine;
        return runInEngine(&engine, strProgram);
    }
    return runInEngine(threadEngine(), strProgram);
}

void lvFormulaEvaluator::setTimeLimitMs(int nMs)
{
    timeLimit.storeRelaxed(nMs > 0 ? nMs : defaultTimeLimitMs);
}

int lvFormulaEvaluator::timeLimitMs()
{
    return timeLimit.loadRelaxed();
}

QString substituteSensorFormula(const QString &strFormula, double val1, double val2)
{
    QString strText = strFormula;
    strText.replace(QStringLiteral("val1"), QStringLiteral("%1").arg(val1));
    strText.replace(QStringLiteral("val2"), QStringLiteral("%1").arg(val2));
    return strText;
}

QString formatSensorResult(double dblResult, bool bExponential)
{
    return QStringLiteral("%1").arg(dblResult, 0, bExponential ? 'E' : 'F', 2);
}
