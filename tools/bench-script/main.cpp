// bench-script [loop iterations] [go-tos]
// 1. A script of immediate commands, [MEAS 2 0, GOTOCMD 0 <iterations>], run
//    by the executor in its own thread: the time from processScript() to
//    finished(), and the process's peak resident memory, once with nothing
//    connected and once with the Script page's receivers (the progress
//    relay, the Script tab, the status strip and the log file in a temporary
//    working directory; the measuring and diagram requests queued to the
//    main thread), the main thread running its event loop meanwhile. For the
//    second: the growth of the log file and what reached the page.
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
#include "script/scriptProgressRelay.h"
#include "valve/motorDriver.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QLabel>
#include <QLoggingCategory>
#include <QMutex>
#include <QTemporaryDir>
#include <QThread>

#include <sys/resource.h>

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

long peakRssKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
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
    requestSink requests;
    qint64 nStatusTexts = 0;

    scriptPage()
    {
        QObject::connect(&tab, &formScriptTab::setStatusMsg, &status, &formStatusWidget::setStatus);
        QObject::connect(&status, &formStatusWidget::onWriteLog, &log, &qlvLogFile::writeToLog);
        QObject::connect(&tab, &formScriptTab::setStatusMsg, &tab, [this] { ++nStatusTexts; });
    }
    void join(scriptExecutor *exec)
    {
        tab.progressRelay()->follow(exec, true);
        QObject::connect(exec, &scriptExecutor::finished, &tab, &formScriptTab::onScriptFinished);
        QObject::connect(exec, &scriptExecutor::setMeasurement, &requests, &requestSink::onSetMeasurement);
        QObject::connect(exec, &scriptExecutor::clearDiagram, &requests, &requestSink::onClearDiagram);
    }
};

struct loopResult
{
    double dblMs = 0.0;
    qint64 nLogBytes = 0;
};

// Runs the loop once, the main thread's event loop turning meanwhile; the wall
// time in ms from the start to finished().
loopResult runLoop(int nIterations, scriptPage *pPage)
{
    QThread scriptThread;
    auto *exec = new scriptExecutor;
    exec->moveToThread(&scriptThread);
    scriptThread.start();
    QMetaObject::invokeMethod(exec, &scriptExecutor::init, Qt::BlockingQueuedConnection);
    if (pPage)
        pPage->join(exec);
    std::atomic<qint64> nFinishedNs{0};
    QEventLoop loop;
    QObject::connect(exec, &scriptExecutor::finished, exec, [&nFinishedNs] { nFinishedNs = nowNs(); },
                     Qt::DirectConnection);
    QObject::connect(exec, &scriptExecutor::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    const lvScript script = scriptOf({{"MEAS", 2, 0}, {"GOTOCMD", 0, nIterations}});
    QMetaObject::invokeMethod(exec, [exec, script] { exec->setScript(script); }, Qt::BlockingQueuedConnection);
    const qint64 nLogStart = QFileInfo(qlvLogFile::logFilePath()).size();

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
    result.nLogBytes = QFileInfo(qlvLogFile::logFilePath()).size() - nLogStart;

    QMetaObject::invokeMethod(exec, [exec] { exec->deleteLater(); }, Qt::QueuedConnection);
    scriptThread.quit();
    scriptThread.wait();
    return result;
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

    // The log file and the scripts folder of the page live here.
    QTemporaryDir workDir;
    if (!workDir.isValid() || !QDir(workDir.path()).mkpath(QStringLiteral("log")) ||
        !QDir(workDir.path()).mkpath(QStringLiteral("scripts")) || !QDir::setCurrent(workDir.path())) {
        std::fprintf(stderr, "cannot prepare a working directory\n");
        return 1;
    }

    // --- 1. the loop of immediate commands ---
    const long nRssStart = peakRssKiB();
    const loopResult alone = runLoop(nIterations, nullptr);
    const long nRssAlone = peakRssKiB();
    scriptPage page;
    page.tab.resize(563, 351);
    page.status.show();
    page.tab.show();
    QCoreApplication::processEvents();
    const long nRssPage = peakRssKiB();
    const loopResult shown = runLoop(nIterations, &page);
    const long nRssShown = peakRssKiB();
    std::printf("loop [MEAS 2 0, GOTOCMD 0 %d]: %lld commands\n", nIterations, 2LL * (nIterations + 1));
    std::printf("  nothing connected:        %.0f ms (%.0f ns a command), peak RSS %.1f MiB (+%.1f)\n",
                alone.dblMs, alone.dblMs * 1e6 / (2.0 * (nIterations + 1)), nRssAlone / 1024.0,
                (nRssAlone - nRssStart) / 1024.0);
    std::printf("  the Script page's receivers: %.0f ms, peak RSS %.1f MiB (+%.1f), log +%lld bytes,\n"
                "    %lld status texts, %lld measuring requests, last status \"%s\"\n",
                shown.dblMs, nRssShown / 1024.0, (nRssShown - nRssPage) / 1024.0, shown.nLogBytes,
                page.nStatusTexts, page.requests.nMeasuring,
                qPrintable(page.status.findChild<QLabel *>(QStringLiteral("lblStatus"))->text().simplified()));

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
