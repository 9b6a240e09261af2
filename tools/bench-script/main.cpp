// bench-script [loop iterations] [go-tos] [endless seconds]
// 1. Scripts of immediate commands run by the executor in its own thread,
//    the main thread running its event loop meanwhile:
//    - [MEAS 2 0, GOTOCMD 0 <iterations>], once with nothing connected and
//      once with the Script page's receivers (the progress and measuring
//      relays, the Script tab, the status strip and the log file in a
//      temporary working directory; the measuring requests and diagram clears
//      reaching the main thread);
//    - [MEAS 0 0, MEAS 2 0, GOTOCMD 0 <iterations>], which switches measuring
//      off and on in every pass, with the page's receivers;
//    - the loops that never end, [MEAS 2 0, GOTOCMD 0 1, GOTOCMD 0 2] and
//      [MEAS 0 0, MEAS 2 0, GOTOCMD 0 1, GOTOCMD 0 2], each for <endless
//      seconds> (60) with the page's receivers, then stopped as the tab stops
//      them.
//    For each: the time from processScript() to finished() (or the stop), the
//    growth of the resident memory at its highest while the loop ran, and for
//    the page the growth of the log file (for the endless loops also per
//    hour), the status texts, the texts counted as not shown and the
//    measuring requests that reached the main window.
// 2. A script of alternating GOTOPOS commands run against the real drive in
//    its motor thread on the controller simulator: for each positionReached()
//    the time until the executor asks for the next go-to, and until that go-to
//    arrives at the controller.
#include "app/formStatusWidget.h"
#include "app/qlvLogFile.h"
#include "controllerSim.h"
#include "script/formScriptTab.h"
#include "script/lvScript.h"
#include "script/scriptExecutor.h"
#include "remote/remoteLink.h"
#include "script/scriptMeasuringRelay.h"
#include "script/scriptProgressRelay.h"
#include "valve/motorDriver.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLoggingCategory>
#include <QMutex>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

qint64 nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The resident memory now (VmRSS) or at its highest since the last
// resetPeakRss() (VmHWM), in KiB, from /proc/self/status.
long statusKiB(const char *pszField)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(pszField))
            return line.mid(int(qstrlen(pszField))).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

// The kernel starts the peak over from the resident memory now.
void resetPeakRss()
{
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    if (clearRefs.open(QIODevice::WriteOnly))
        clearRefs.write("5");
}

double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    const size_t i = std::min(v.size() - 1, size_t(p / 100.0 * double(v.size() - 1) + 0.5));
    return v[i];
}

lvScript scriptOf(const QList<std::tuple<const char *, int, int>> &lines)
{
    lvScript script;
    script.strName = QStringLiteral("bench");
    for (const auto &line : lines) {
        lvScriptCommand cmd;
        cmd.setCommand(script.cmdList.size(), QString::fromLatin1(std::get<0>(line)), std::get<1>(line),
                       std::get<2>(line));
        script.cmdList.append(cmd);
    }
    return script;
}

// The receivers of the executor's requests to the main window.
class requestSink : public QObject
{
public:
    qint64 nMeasuring = 0;
    qint64 nClears = 0;
    void onSetMeasurement(bool) { ++nMeasuring; }
    void onClearDiagram() { ++nClears; }
};

// The Script page as the main window joins it while it is shown.
struct scriptPage
{
    qlvLogFile log;
    formStatusWidget status;
    formScriptTab tab;
    scriptMeasuringRelay measuring;
    requestSink requests;
    qint64 nStatusTexts = 0;
    qint64 nNotShown = 0;

    scriptPage()
    {
        QObject::connect(&tab, &formScriptTab::setStatusMsg, &status, &formStatusWidget::setStatus);
        QObject::connect(&status, &formStatusWidget::onWriteLog, &log, &qlvLogFile::writeToLog);
        QObject::connect(&tab, &formScriptTab::onWriteLog, &log, &qlvLogFile::writeToLog);
        QObject::connect(&tab, &formScriptTab::setStatusMsg, &tab, [this] { ++nStatusTexts; });
        QObject::connect(tab.progressRelay(), &scriptProgressRelay::textsNotShown, &tab,
                         [this](qint64 n) { nNotShown += n; });
        QObject::connect(&measuring, &scriptMeasuringRelay::setMeasurement, &requests,
                         &requestSink::onSetMeasurement);
    }
    void join(scriptExecutor *exec)
    {
        tab.progressRelay()->follow(exec, true);
        measuring.follow(exec, true);
        QObject::connect(exec, &scriptExecutor::finished, &tab, &formScriptTab::onScriptFinished);
        QObject::connect(exec, &scriptExecutor::clearDiagram, &requests, &requestSink::onClearDiagram);
    }
    void resetCounts()
    {
        nStatusTexts = 0;
        nNotShown = 0;
        requests.nMeasuring = 0;
        requests.nClears = 0;
    }
};

struct loopResult
{
    double dblMs = 0.0;
    long nRssGrowthKiB = 0;
    qint64 nLogBytes = 0;
    // An endless loop: the log's growth over the second half of the run.
    qint64 nLogBytesSecondHalf = 0;
};

// Runs the script once, the main thread's event loop turning meanwhile, to
// its end or, with nStopAfterMs, until it is stopped then as the tab stops
// it.
loopResult runLoop(const QList<std::tuple<const char *, int, int>> &lines, scriptPage *pPage, int nStopAfterMs = 0)
{
    QThread scriptThread;
    auto *exec = new scriptExecutor;
    exec->moveToThread(&scriptThread);
    scriptThread.start();
    QMetaObject::invokeMethod(exec, &scriptExecutor::init, Qt::BlockingQueuedConnection);
    if (pPage) {
        pPage->join(exec);
        pPage->resetCounts();
    }
    std::atomic<qint64> nFinishedNs{0};
    QEventLoop loop;
    QObject::connect(exec, &scriptExecutor::finished, exec, [&nFinishedNs] { nFinishedNs = nowNs(); },
                     Qt::DirectConnection);
    QObject::connect(exec, &scriptExecutor::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    const lvScript script = scriptOf(lines);
    QMetaObject::invokeMethod(exec, [exec, script] { exec->setScript(script); }, Qt::BlockingQueuedConnection);
    const qint64 nLogStart = QFileInfo(qlvLogFile::logFilePath()).size();
    resetPeakRss();
    const long nRssStart = statusKiB("VmRSS:");
    QTimer stopper;
    stopper.setSingleShot(true);
    QObject::connect(&stopper, &QTimer::timeout, [&] {
        exec->stopScript();
        if (pPage)
            pPage->tab.onScriptStop();
        nFinishedNs = nowNs();
        loop.quit();
    });
    qint64 nLogHalfway = 0;
    QTimer halfway;
    halfway.setSingleShot(true);
    QObject::connect(&halfway, &QTimer::timeout,
                     [&nLogHalfway] { nLogHalfway = QFileInfo(qlvLogFile::logFilePath()).size(); });
    if (nStopAfterMs > 0) {
        stopper.start(nStopAfterMs);
        halfway.start(nStopAfterMs / 2);
    }

    const qint64 nStart = nowNs();
    if (pPage)
        pPage->tab.on_pushBtnScriptRun_clicked();
    QMetaObject::invokeMethod(exec, &scriptExecutor::processScript, Qt::QueuedConnection);
    loop.exec();
    loopResult result;
    result.dblMs = double(nFinishedNs.load() - nStart) / 1e6;
    // What is still on its way to the main thread.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    result.nRssGrowthKiB = statusKiB("VmHWM:") - nRssStart;
    result.nLogBytes = QFileInfo(qlvLogFile::logFilePath()).size() - nLogStart;
    if (nLogHalfway > 0)
        result.nLogBytesSecondHalf = QFileInfo(qlvLogFile::logFilePath()).size() - nLogHalfway;

    QMetaObject::invokeMethod(exec, [exec] { exec->deleteLater(); }, Qt::QueuedConnection);
    scriptThread.quit();
    scriptThread.wait();
    return result;
}

void printPageRun(const char *pszName, const loopResult &r, const scriptPage &page, int nEndlessMs = 0)
{
    std::printf("  %s: %.0f ms, resident +%.1f MiB, log +%lld bytes", pszName, r.dblMs, r.nRssGrowthKiB / 1024.0,
                r.nLogBytes);
    if (nEndlessMs > 0)
        std::printf(" (%.1f MB an hour at the pace of its second half)",
                    double(r.nLogBytesSecondHalf) * 3600000.0 / (nEndlessMs / 2) / 1e6);
    std::printf(",\n    %lld status texts, %lld texts counted as not shown, %lld measuring requests, "
                "last status \"%s\"\n",
                page.nStatusTexts, page.nNotShown, page.requests.nMeasuring,
                qPrintable(page.status.findChild<QLabel *>(QStringLiteral("lblStatus"))->text().simplified()));
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("valve.*.debug=false"));
    qRegisterMetaType<lvScript>("lvScript");
    const QStringList args = app.arguments();
    const int nIterations = args.size() > 1 ? args.at(1).toInt() : 999999;
    const int nGotos = args.size() > 2 ? args.at(2).toInt() : 50;
    const int nEndlessMs = (args.size() > 3 ? args.at(3).toInt() : 60) * 1000;

    // The log file and the scripts folder of the page live here.
    QTemporaryDir workDir;
    if (!workDir.isValid() || !QDir(workDir.path()).mkpath(QStringLiteral("log")) ||
        !QDir(workDir.path()).mkpath(QStringLiteral("scripts")) || !QDir::setCurrent(workDir.path())) {
        std::fprintf(stderr, "cannot prepare a working directory\n");
        return 1;
    }

    // --- 1. loops of immediate commands ---
    const loopResult alone = runLoop({{"MEAS", 2, 0}, {"GOTOCMD", 0, nIterations}}, nullptr);
    scriptPage page;
    page.tab.resize(563, 351);
    page.status.show();
    page.tab.show();
    QCoreApplication::processEvents();
    std::printf("loop [MEAS 2 0, GOTOCMD 0 %d]: %lld commands\n", nIterations, 2LL * (nIterations + 1));
    std::printf("  nothing connected: %.0f ms (%.0f ns a command), resident +%.1f MiB\n", alone.dblMs,
                alone.dblMs * 1e6 / (2.0 * (nIterations + 1)), alone.nRssGrowthKiB / 1024.0);
    const loopResult shown = runLoop({{"MEAS", 2, 0}, {"GOTOCMD", 0, nIterations}}, &page);
    printPageRun("the Script page's receivers", shown, page);

    std::printf("loop [MEAS 0 0, MEAS 2 0, GOTOCMD 0 %d]: %lld commands\n", nIterations, 3LL * (nIterations + 1));
    const loopResult toggling = runLoop({{"MEAS", 0, 0}, {"MEAS", 2, 0}, {"GOTOCMD", 0, nIterations}}, &page);
    printPageRun("the Script page's receivers", toggling, page);

    std::printf("endless loop [MEAS 2 0, GOTOCMD 0 1, GOTOCMD 0 2] for %d s\n", nEndlessMs / 1000);
    const loopResult endless = runLoop({{"MEAS", 2, 0}, {"GOTOCMD", 0, 1}, {"GOTOCMD", 0, 2}}, &page, nEndlessMs);
    printPageRun("the Script page's receivers", endless, page, nEndlessMs);

    std::printf("endless loop [MEAS 0 0, MEAS 2 0, GOTOCMD 0 1, GOTOCMD 0 2] for %d s\n", nEndlessMs / 1000);
    const loopResult endlessToggling =
        runLoop({{"MEAS", 0, 0}, {"MEAS", 2, 0}, {"GOTOCMD", 0, 1}, {"GOTOCMD", 0, 2}}, &page, nEndlessMs);
    printPageRun("the Script page's receivers", endlessToggling, page, nEndlessMs);
    std::fflush(stdout);

    // --- 2. reached report -> next command on the wire ---
    QTemporaryDir devDir;
    qputenv("VALVE_DEV_DIR", devDir.path().toLocal8Bit());
    controllerSim sim(controllerSim::FAMILY_BERGER_LAHR);
    sim.setPosition(sim.fullTravel() / 4);
    sim.setSpeed(sim.fullTravel() * 4);
    if (!sim.start(devDir.filePath(QStringLiteral("ttyUSB0")))) {
        std::fprintf(stderr, "cannot start the controller simulator\n");
        return 1;
    }
    QThread motorThread;
    auto *pDriver = new motorDriver(nullptr, motorDriver::BergerLahr);
    pDriver->setRemoteSide(new remoteLink(pDriver));
    pDriver->connectMotorSerial(QStringLiteral("ttyUSB0"));
    pDriver->moveToThread(&motorThread);
    motorThread.start();
    for (int i = 0; i < 500 && pDriver->getMotorPosition() < 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (pDriver->getMotorPosition() < 0) {
        std::fprintf(stderr, "the driver read no position\n");
        return 1;
    }

    QThread scriptThread;
    auto *exec = new scriptExecutor;
    exec->moveToThread(&scriptThread);
    scriptThread.start();
    QMetaObject::invokeMethod(exec, &scriptExecutor::init, Qt::BlockingQueuedConnection);
    QObject::connect(exec, &scriptExecutor::gotoPosAbs, pDriver, &motorDriver::onMotorGotoStep);
    QObject::connect(pDriver, &motorDriver::positionReached, exec, &scriptExecutor::processNextCommand);
    QMutex mtx;
    std::vector<qint64> reachedNs;
    std::vector<qint64> requestNs;
    QObject::connect(pDriver, &motorDriver::positionReached, pDriver, [&] {
        QMutexLocker lock(&mtx);
        reachedNs.push_back(nowNs());
    }, Qt::DirectConnection);
    QObject::connect(exec, &scriptExecutor::gotoPosAbs, exec, [&] {
        QMutexLocker lock(&mtx);
        requestNs.push_back(nowNs());
    }, Qt::DirectConnection);
    std::atomic<bool> bFinished{false};
    QObject::connect(exec, &scriptExecutor::finished, exec, [&bFinished] { bFinished = true; }, Qt::DirectConnection);

    QList<std::tuple<const char *, int, int>> lines;
    for (int i = 0; i < nGotos; ++i)
        lines.append(std::make_tuple("GOTOPOS", (i % 2) ? 250000 : 750000, 0));
    lines.append(std::make_tuple("WAIT", 0, 0));
    const lvScript script = scriptOf(lines);
    QMetaObject::invokeMethod(exec, [exec, script] { exec->setScript(script); }, Qt::BlockingQueuedConnection);
    const int nLogStart = sim.receivedCount();
    QMetaObject::invokeMethod(exec, &scriptExecutor::processScript, Qt::QueuedConnection);
    const qint64 nEnd = nowNs() + qint64(nGotos) * 2000000000LL;
    while (!bFinished && nowNs() < nEnd)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));

    // Arrival of every go-to at the controller, in order.
    std::vector<qint64> arrivalNs;
    const QVector<controllerSim::receivedCommand> log = sim.receivedLog();
    for (int i = nLogStart; i < log.size(); ++i)
        if (log.at(i).strCommand == "g30000" || log.at(i).strCommand == "g10000")
            arrivalNs.push_back(log.at(i).nArrivalNs);

    if (qEnvironmentVariableIsSet("BENCH_DEBUG"))
        for (int i = nLogStart; i < log.size(); ++i)
            std::fprintf(stderr, "%.1f %s\n", double(log.at(i).nArrivalNs - log.at(nLogStart).nArrivalNs) / 1e6,
                         log.at(i).strCommand.constData());
    std::vector<double> toRequestMs;
    std::vector<double> toWireMs;
    {
        QMutexLocker lock(&mtx);
        // Reached report i answers go-to i and starts go-to i + 1.
        for (size_t i = 0; i + 1 < requestNs.size() && i < reachedNs.size(); ++i) {
            toRequestMs.push_back(double(requestNs[i + 1] - reachedNs[i]) / 1e6);
            if (i + 1 < arrivalNs.size())
                toWireMs.push_back(double(arrivalNs[i + 1] - reachedNs[i]) / 1e6);
        }
    }

    QMetaObject::invokeMethod(exec, [exec] { exec->deleteLater(); }, Qt::QueuedConnection);
    scriptThread.quit();
    scriptThread.wait();
    QMetaObject::invokeMethod(pDriver, "stopCommunication", Qt::QueuedConnection);
    motorThread.quit();
    motorThread.wait();
    delete pDriver;
    sim.stop();

    if (!bFinished || toWireMs.empty()) {
        std::fprintf(stderr, "the go-to script did not finish (%zu reached, %zu requests, %zu arrivals)\n",
                     reachedNs.size(), requestNs.size(), arrivalNs.size());
        return 1;
    }
    std::printf("GOTOPOS script, %zu reached reports (BergerLahr):\n", toWireMs.size());
    std::printf("  reached -> next go-to asked by the script: median %.3f ms, p99 %.3f ms, max %.3f ms\n",
                percentile(toRequestMs, 50), percentile(toRequestMs, 99), percentile(toRequestMs, 100));
    std::printf("  reached -> next go-to at the controller:   median %.1f ms, p99 %.1f ms, min..max %.1f..%.1f ms\n",
                percentile(toWireMs, 50), percentile(toWireMs, 99), percentile(toWireMs, 0),
                percentile(toWireMs, 100));
    return 0;
}
