// soak-remote [--minutes N] [--warmup N] [--interval S] [--phases modbus,text,script]
//
// Weeks on the panel in minutes: the real program, offscreen, against the
// controller simulator on a pseudo-terminal, serves a remote master at full
// speed while its resident memory and CPU time are sampled every --interval
// seconds (default 30) from /proc. Each phase runs a fresh program for
// --minutes (default 12); the growth per hour is the least-squares slope of
// the samples after --warmup minutes (default 2).
//  modbus  The Remote tab connects Ethernet in mode "Modbus": a libmodbus
//          master reads HR0-HR6 back to back and writes a new go-to position
//          (HR0/HR1) every 3 s.
//  text    The same pattern in the text protocol over TCP: "S\r" (followed by
//          "X\r", whose reply ends with "\r" and so delimits the position
//          reply, which has no line end) back to back, "G<n>\r" every 3 s.
//  script  A script loop [MEAS 1 1, GOTOPOS, WAIT, GOTOPOS, WAIT, MEAS 0 0,
//          GOTOCMD 0 999999] run by the script executor in its thread with
//          the real drive in its motor thread, in a host process of its own
//          (this program with --script-host), its progress queued to the main
//          thread as the Script page receives it.
// The Remote tab is operated through the test driver plugin (tests/support).
// SOAK_WRAP="heaptrack -o <file>" (or valgrind --tool=massif ...) runs the
// program under a memory profiler to find what grows.
#include "controllerSim.h"
#include "processSample.h"
#include "script/lvScript.h"
#include "script/scriptExecutor.h"
#include "testWorkDir.h"
#include "valve/analogData.h"
#include "remote/remoteLink.h"
#include "valve/motorDriver.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>

#include <modbus.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <thread>

namespace {

constexpr int GOTO_PERIOD_MS = 3000;
constexpr int START_TIMEOUT_MS = 60000;
// Go-to targets in parts per million of full travel, alternated.
constexpr int GOTO_LOW_PPM = 250000;
constexpr int GOTO_HIGH_PPM = 750000;

struct options
{
    double dblMinutes = 12.0;
    double dblWarmUpMinutes = 2.0;
    int nIntervalS = 30;
    QStringList phases{QStringLiteral("modbus"), QStringLiteral("text"), QStringLiteral("script")};
};

quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// What a master did in a phase; written by its thread, read by the sampler.
struct masterCounts
{
    std::atomic<qint64> nReads{0};
    std::atomic<qint64> nGotos{0};
    std::atomic<qint64> nFailed{0};
    std::atomic<bool> bStop{false};
};

// --- the masters --------------------------------------------------------------

void runModbusMaster(quint16 nPort, masterCounts &counts)
{
    modbus_t *pCtx = modbus_new_tcp("127.0.0.1", nPort);
    modbus_set_slave(pCtx, 1);
    modbus_set_response_timeout(pCtx, 5, 0);
    QElapsedTimer connectTimer;
    connectTimer.start();
    while (modbus_connect(pCtx) != 0) {
        if (connectTimer.elapsed() > START_TIMEOUT_MS || counts.bStop) {
            std::fprintf(stderr, "modbus connect failed: %s\n", modbus_strerror(errno));
            counts.nFailed += 1;
            modbus_free(pCtx);
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    QElapsedTimer gotoTimer;
    gotoTimer.start();
    bool bHigh = true;
    uint16_t regs[7];
    while (!counts.bStop) {
        if (gotoTimer.elapsed() >= GOTO_PERIOD_MS) {
            gotoTimer.restart();
            const int nPpm = bHigh ? GOTO_HIGH_PPM : GOTO_LOW_PPM;
            bHigh = !bHigh;
            const uint16_t pos[2] = {uint16_t(nPpm % 65536), uint16_t(nPpm / 65536)};
            if (modbus_write_registers(pCtx, 0, 2, pos) == 2)
                counts.nGotos += 1;
            else
                counts.nFailed += 1;
        }
        if (modbus_read_registers(pCtx, 0, 7, regs) == 7)
            counts.nReads += 1;
        else
            counts.nFailed += 1;
    }
    modbus_close(pCtx);
    modbus_free(pCtx);
}

// A blocking loopback client for the text protocol.
class textClient
{
public:
    ~textClient()
    {
        if (nFd >= 0)
            ::close(nFd);
    }

    bool connectTo(quint16 nPort)
    {
        nFd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(nPort);
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::connect(nFd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0) {
            ::close(nFd);
            nFd = -1;
            return false;
        }
        int nOne = 1;
        setsockopt(nFd, IPPROTO_TCP, TCP_NODELAY, &nOne, sizeof nOne);
        timeval tv{5, 0};
        setsockopt(nFd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
        return true;
    }

    bool send(const QByteArray &data) { return ::send(nFd, data.constData(), size_t(data.size()), MSG_NOSIGNAL) == data.size(); }

    // Reads until pred(received) holds; false on a time-out or a closed link.
    template<typename Pred>
    bool readUntil(QByteArray &received, Pred pred)
    {
        char buf[512];
        while (!pred(received)) {
            const ssize_t n = ::recv(nFd, buf, sizeof buf, 0);
            if (n <= 0)
                return false;
            received.append(buf, int(n));
        }
        return true;
    }

private:
    int nFd = -1;
};

void runTextMaster(quint16 nPort, masterCounts &counts)
{
    static const QByteArray resolution = QByteArrayLiteral("Resolution: 40k. All Commands must send enter\r");
    // The position is the motor's own, in 40000ths of travel: just past the
    // closed end it is negative ("RP-1").
    static const QRegularExpression positionThenResolution(
        QStringLiteral("^[RI]P-?\\d+Resolution: 40k\\. All Commands must send enter\\r$"));
    textClient client;
    QElapsedTimer connectTimer;
    connectTimer.start();
    while (!client.connectTo(nPort)) {
        if (connectTimer.elapsed() > START_TIMEOUT_MS || counts.bStop) {
            std::fprintf(stderr, "text protocol connect failed\n");
            counts.nFailed += 1;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    QElapsedTimer gotoTimer;
    gotoTimer.start();
    bool bHigh = true;
    QByteArray received;
    while (!counts.bStop) {
        if (gotoTimer.elapsed() >= GOTO_PERIOD_MS) {
            gotoTimer.restart();
            // 40000ths of full travel.
            const QByteArray command =
                "G" + QByteArray::number((bHigh ? GOTO_HIGH_PPM : GOTO_LOW_PPM) / 25) + "\r";
            bHigh = !bHigh;
            received.clear();
            if (client.send(command)
                && client.readUntil(received, [&](const QByteArray &r) { return r.size() >= command.size(); })
                && received == command)
                counts.nGotos += 1;
            else if (!received.isEmpty() || !counts.bStop)
                counts.nFailed += 1;
        }
        received.clear();
        const bool bOk = client.send("S\r")
                         && client.readUntil(received, [](const QByteArray &r) { return r.size() >= 3; })
                         && client.send("X\r")
                         && client.readUntil(received, [](const QByteArray &r) { return r.endsWith(resolution); });
        if (bOk && positionThenResolution.match(QString::fromLatin1(received)).hasMatch())
            counts.nReads += 1;
        else {
            // The first few wrong replies show what came instead.
            if (counts.nFailed.fetch_add(1) < 3)
                std::fprintf(stderr, "text protocol: unexpected reply \"%s\"\n",
                             received.toPercentEncoding(" :.").constData());
            if (!bOk)
                return;   // the link is gone; the phase reports it
        }
    }
}

// --- the program under test -----------------------------------------------------

class programUnderTest
{
public:
    ~programUnderTest()
    {
        if (proc.state() != QProcess::NotRunning) {
            proc.kill();
            proc.waitForFinished(10000);
        }
    }

    bool start(const testWorkDir &wd)
    {
        if (!server.listen(QHostAddress::LocalHost, 0))
            return false;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("QT_PLUGIN_PATH"), QStringLiteral(SOAK_DRIVER_PLUGIN_DIR));
        env.insert(QStringLiteral("QT_QPA_GENERIC_PLUGINS"),
                   QStringLiteral("programdriver:%1").arg(server.serverPort()));
        env.insert(QStringLiteral("VALVE_DEV_DIR"), wd.filePath(QStringLiteral("dev")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), wd.configPath());
        proc.setProcessEnvironment(env);
        proc.setWorkingDirectory(wd.path());
        proc.setProcessChannelMode(QProcess::ForwardedOutputChannel);
        proc.setStandardErrorFile(wd.filePath(QStringLiteral("program.err")));
        // SOAK_WRAP runs the program under a tool, e.g. "heaptrack -o /tmp/soak"
        // (the samples are then the tool's, its own report is what counts).
        QStringList command = QString::fromLocal8Bit(qgetenv("SOAK_WRAP")).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        command << QStringLiteral(SOAK_PROGRAM);
        proc.start(command.takeFirst(), command);
        if (!proc.waitForStarted(30000))
            return false;
        QElapsedTimer timer;
        timer.start();
        while (!server.hasPendingConnections() && timer.elapsed() < START_TIMEOUT_MS
               && proc.state() == QProcess::Running)
            server.waitForNewConnection(200);
        driver.reset(server.nextPendingConnection());
        if (!driver)
            return false;
        while (timer.elapsed() < START_TIMEOUT_MS) {
            if (request(QStringLiteral("ready")) == QLatin1String("ok 1"))
                return true;
            QThread::msleep(200);
        }
        return false;
    }

    QString request(const QString &strCommand)
    {
        driver->write(strCommand.toUtf8() + '\n');
        driver->flush();
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < START_TIMEOUT_MS) {
            while (driver->canReadLine()) {
                const QString strLine = QString::fromUtf8(driver->readLine()).trimmed();
                if (strLine.startsWith(QLatin1String("box ")))
                    std::printf("  message box answered: %s\n", qPrintable(strLine.mid(4)));
                else
                    return strLine;
            }
            driver->waitForReadyRead(100);
        }
        return QStringLiteral("timeout");
    }

    // Connects the Ethernet source in the given mode of the Remote tab.
    bool connectEthernet(int nMode, quint16 nPort)
    {
        return request(QStringLiteral("tab 0")) == QLatin1String("ok 0")
               && request(QStringLiteral("scope widgetRemote")) == QLatin1String("ok")
               && request(QStringLiteral("combo cmbSource 2")) == QLatin1String("ok 2")
               && request(QStringLiteral("combo cmbEthernetRemoteMode %1").arg(nMode)) == QStringLiteral("ok %1").arg(nMode)
               && request(QStringLiteral("text lineEditIpAddress 127.0.0.1")) == QLatin1String("ok")
               && request(QStringLiteral("text lineEditEthernetPort %1").arg(nPort)) == QLatin1String("ok")
               && request(QStringLiteral("click pushBtnConnect")) == QLatin1String("ok checked=1");
    }

    bool quit()
    {
        request(QStringLiteral("click pushBtnConnect"));
        request(QStringLiteral("quit"));
        return proc.waitForFinished(60000);
    }

    QProcess proc;
    QTcpServer server;
    std::unique_ptr<QTcpSocket> driver;
};

void writeStore(const QString &strMotorPort)
{
    QSettings s(QStringLiteral("varnix"), QStringLiteral("Pendrosix"));
    s.setValue(QStringLiteral("motor driver/type"), QStringLiteral("BergerLahr"));
    s.setValue(QStringLiteral("motor driver/motor port"), strMotorPort);
    s.setValue(QStringLiteral("motor driver/position"), 500000);
    s.setValue(QStringLiteral("remote/remote mode"), 2);
    s.sync();
}

// --- sampling -------------------------------------------------------------------

// Samples the process every interval until the phase time is over, printing
// each sample; then the growth after the warm-up.
void samplePhase(const char *pszPhase, qint64 nPid, const options &opt, masterCounts &counts,
                 const std::function<bool()> &alive)
{
    const qint64 nPhaseMs = qint64(opt.dblMinutes * 60000.0);
    const qint64 nWarmUpMs = qint64(opt.dblWarmUpMinutes * 60000.0);
    QVector<processSample> samples;
    QElapsedTimer clock;
    clock.start();
    qint64 nNextMs = 0;
    std::printf("%s: %8s %10s %9s %12s %8s %7s\n", pszPhase, "min", "RSS KiB", "CPU s", "requests", "go-tos",
                "failed");
    while (nNextMs <= nPhaseMs && alive()) {
        while (clock.elapsed() < nNextMs && alive())
            QThread::msleep(200);
        const processSample s = sampleProcess(nPid, clock.elapsed());
        samples.append(s);
        std::printf("%s: %8.1f %10lld %9.1f %12lld %8lld %7lld\n", pszPhase, double(s.nElapsedMs) / 60000.0,
                    s.nRssKiB, s.dblCpuSeconds, qint64(counts.nReads), qint64(counts.nGotos),
                    qint64(counts.nFailed));
        std::fflush(stdout);
        nNextMs += qint64(opt.nIntervalS) * 1000;
    }
    if (samples.size() < 2 || !alive()) {
        std::printf("%s: the process ended during the phase\n", pszPhase);
        return;
    }
    // First sample at or after the warm-up to the last.
    const processSample *pFrom = nullptr;
    for (const processSample &s : samples)
        if (s.nElapsedMs >= nWarmUpMs) {
            pFrom = &s;
            break;
        }
    const processSample &last = samples.last();
    if (!pFrom || pFrom == &last) {
        std::printf("%s: no samples after the warm-up\n", pszPhase);
        return;
    }
    const double dblHours = double(last.nElapsedMs - pFrom->nElapsedMs) / 3600000.0;
    const double dblSeconds = double(last.nElapsedMs) / 1000.0;
    std::printf("%s: after %.1f min warm-up, over %.1f min: RSS %lld -> %lld KiB, growth %.0f KiB/h "
                "(least squares), %.0f KiB/h (end points); CPU %.1f%% of one core; %lld requests (%.0f/s), "
                "%lld go-tos, %lld failed\n",
                pszPhase, double(pFrom->nElapsedMs) / 60000.0, dblHours * 60.0, pFrom->nRssKiB, last.nRssKiB,
                rssGrowthKiBPerHour(samples, nWarmUpMs), double(last.nRssKiB - pFrom->nRssKiB) / dblHours,
                100.0 * (last.dblCpuSeconds - samples.first().dblCpuSeconds)
                    / (double(last.nElapsedMs - samples.first().nElapsedMs) / 1000.0),
                qint64(counts.nReads), double(counts.nReads) / dblSeconds, qint64(counts.nGotos),
                qint64(counts.nFailed));
    std::fflush(stdout);
}

bool runRemotePhase(const QString &strPhase, const options &opt)
{
    const bool bModbus = strPhase == QLatin1String("modbus");
    testWorkDir wd;
    QDir(wd.path()).mkpath(QStringLiteral("dev"));
    controllerSim sim(controllerSim::FAMILY_BERGER_LAHR);
    sim.setPosition(sim.fullTravel() / 2);
    sim.setSpeed(sim.fullTravel() * 2);
    if (!sim.start(wd.filePath(QStringLiteral("dev/ttySIM")))) {
        std::fprintf(stderr, "the controller simulator did not start\n");
        return false;
    }
    writeStore(QStringLiteral("ttySIM"));
    programUnderTest program;
    if (!program.start(wd)) {
        std::fprintf(stderr, "the program did not start or its driver did not connect\n");
        return false;
    }
    const quint16 nPort = freePort();
    if (!program.connectEthernet(bModbus ? 2 : 1, nPort)) {
        std::fprintf(stderr, "the Remote tab did not connect\n");
        return false;
    }
    masterCounts counts;
    std::thread master(bModbus ? runModbusMaster : runTextMaster, nPort, std::ref(counts));
    const qint64 nPid = program.proc.processId();
    samplePhase(qPrintable(strPhase), nPid, opt, counts,
                [&program] { return program.proc.state() == QProcess::Running; });
    counts.bStop = true;
    master.join();
    program.quit();
    return counts.nFailed == 0;
}

// --- the script phase -----------------------------------------------------------

lvScript soakScript()
{
    lvScript script;
    script.strName = QStringLiteral("soak");
    const struct
    {
        const char *pszCmd;
        int nValue;
        int nRepeat;
    } lines[] = {{"MEAS", 1, 1},
                 {"GOTOPOS", GOTO_HIGH_PPM, 0},
                 {"WAIT", 200, 0},
                 {"GOTOPOS", GOTO_LOW_PPM, 0},
                 {"WAIT", 200, 0},
                 {"MEAS", 0, 0},
                 {"GOTOCMD", 0, 999999}};
    for (const auto &line : lines) {
        lvScriptCommand cmd;
        cmd.setCommand(script.cmdList.size(), QString::fromLatin1(line.pszCmd), line.nValue, line.nRepeat);
        script.cmdList.append(cmd);
    }
    return script;
}

// The GUI side of a script run, as the main window and the Script page take
// it: the reports arrive queued in the main thread.
class scriptGuiSide : public QObject
{
public:
    std::atomic<qint64> nExecuted{0};
    std::atomic<qint64> nProgress{0};
    void onExecuted(int, int, int, QString) { ++nExecuted; }
    void onProgress(int, int, int, QString, QString) { ++nProgress; }
    void onRecorded(lvTeachIn *, bool) {}
};

// The host process of the script phase: analog inputs, drive and executor
// wired as the main window wires them while the Script page is shown.
int scriptHost(QCoreApplication &app, const QString &strDevDir)
{
    qputenv("VALVE_DEV_DIR", strDevDir.toLocal8Bit());
    qRegisterMetaType<lvScript>("lvScript");
    auto *pAnalog = new analogData(&app);
    pAnalog->init();
    pAnalog->setSampling(pAnalog->nSampling);

    QThread motorThread;
    auto *pDriver = new motorDriver(nullptr, motorDriver::BergerLahr);
    pDriver->setRemoteSide(new remoteLink(pDriver));
    pDriver->setAnalogData(pAnalog);
    pDriver->connectMotorSerial(QStringLiteral("ttySIM"));
    pDriver->moveToThread(&motorThread);
    motorThread.start();

    QThread scriptThread;
    auto *pExec = new scriptExecutor;
    pExec->moveToThread(&scriptThread);
    scriptThread.start();
    QMetaObject::invokeMethod(pExec, &scriptExecutor::init, Qt::BlockingQueuedConnection);

    // A sensor as a configured panel has one. The default "not defined" is no
    // formula: each sample would leave a syntax error object to the script
    // engine's collector, which only frees them after some thousand samples.
    lvExternalFeedback feedback;
    feedback.sensor.strFormula = QStringLiteral("val1 * 1000 + val2");
    pDriver->extFeedback = feedback;
    pExec->onSetExtFeedback(feedback);

    QObject::connect(pExec, &scriptExecutor::getAnalogValue, pAnalog, &analogData::onGetAnalogValue);
    QObject::connect(pAnalog, &analogData::setAnalogValue, pExec, &scriptExecutor::onGetAnalogValue);
    QObject::connect(pAnalog, &analogData::setAnalogValue, pDriver, &motorDriver::onGetAnalogValue);
    QObject::connect(pDriver, &motorDriver::setMotorPosition, pExec, &scriptExecutor::onMotorPositionUpdated);
    QObject::connect(pDriver, &motorDriver::positionReached, pExec, &scriptExecutor::processNextCommand);
    QObject::connect(pExec, &scriptExecutor::gotoPosAbs, pDriver, &motorDriver::onMotorGotoStep);
    QObject::connect(pExec, &scriptExecutor::setMeasurement, pDriver, &motorDriver::onSetMeasureData);
    scriptGuiSide gui;
    QObject::connect(pExec, &scriptExecutor::commandExecuted, &gui, &scriptGuiSide::onExecuted);
    QObject::connect(pExec, &scriptExecutor::updateCommandExecute, &gui, &scriptGuiSide::onProgress);
    QObject::connect(pExec, &scriptExecutor::updateDiagramMeasure, &gui, &scriptGuiSide::onRecorded);
    QObject::connect(pExec, &scriptExecutor::finished, &app, &QCoreApplication::quit);

    const lvScript script = soakScript();
    QMetaObject::invokeMethod(pExec, [pExec, script] { pExec->setScript(script); }, Qt::BlockingQueuedConnection);
    QMetaObject::invokeMethod(pExec, &scriptExecutor::processScript, Qt::QueuedConnection);
    // One line a second for the soak: commands executed and progress reports.
    QTimer report;
    QObject::connect(&report, &QTimer::timeout, [&gui] {
        std::printf("%lld %lld\n", qint64(gui.nExecuted), qint64(gui.nProgress));
        std::fflush(stdout);
    });
    report.start(1000);
    const int nResult = app.exec();

    QMetaObject::invokeMethod(pExec, [pExec] { pExec->deleteLater(); }, Qt::QueuedConnection);
    scriptThread.quit();
    scriptThread.wait();
    QMetaObject::invokeMethod(pDriver, "stopCommunication", Qt::BlockingQueuedConnection);
    motorThread.quit();
    motorThread.wait();
    delete pDriver;
    return nResult;
}

bool runScriptPhase(const options &opt)
{
    testWorkDir wd;
    QDir(wd.path()).mkpath(QStringLiteral("dev"));
    controllerSim sim(controllerSim::FAMILY_BERGER_LAHR);
    sim.setPosition(sim.fullTravel() / 2);
    sim.setSpeed(sim.fullTravel() * 2);
    if (!sim.start(wd.filePath(QStringLiteral("dev/ttySIM")))) {
        std::fprintf(stderr, "the controller simulator did not start\n");
        return false;
    }
    QProcess host;
    host.setWorkingDirectory(wd.path());
    host.setProcessChannelMode(QProcess::SeparateChannels);
    host.setStandardErrorFile(wd.filePath(QStringLiteral("host.err")));
    QStringList command = QString::fromLocal8Bit(qgetenv("SOAK_WRAP")).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    command << QCoreApplication::applicationFilePath() << QStringLiteral("--script-host")
            << wd.filePath(QStringLiteral("dev"));
    host.start(command.takeFirst(), command);
    if (!host.waitForStarted(30000)) {
        std::fprintf(stderr, "the script host did not start\n");
        return false;
    }
    masterCounts counts;
    // The host's last report line: commands executed, progress reports.
    std::atomic<bool> bHostAlive{true};
    auto alive = [&] {
        if (host.state() != QProcess::Running)
            return false;
        host.waitForReadyRead(0);
        while (host.canReadLine()) {
            const QList<QByteArray> fields = host.readLine().trimmed().split(' ');
            if (fields.size() == 2) {
                counts.nReads = fields.at(0).toLongLong();
                counts.nGotos = fields.at(1).toLongLong();
            }
        }
        return true;
    };
    std::printf("script: requests = commands executed, go-tos = progress reports\n");
    samplePhase("script", host.processId(), opt, counts, alive);
    const bool bRan = host.state() == QProcess::Running;
    host.terminate();
    if (!host.waitForFinished(10000))
        host.kill();
    return bRan;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    const QStringList args = app.arguments();
    if (args.size() == 3 && args.at(1) == QLatin1String("--script-host"))
        return scriptHost(app, args.at(2));

    options opt;
    for (int i = 1; i + 1 < args.size(); i += 2) {
        const QString &strKey = args.at(i);
        const QString &strValue = args.at(i + 1);
        if (strKey == QLatin1String("--minutes"))
            opt.dblMinutes = strValue.toDouble();
        else if (strKey == QLatin1String("--warmup"))
            opt.dblWarmUpMinutes = strValue.toDouble();
        else if (strKey == QLatin1String("--interval"))
            opt.nIntervalS = std::max(1, strValue.toInt());
        else if (strKey == QLatin1String("--phases"))
            opt.phases = strValue.split(QLatin1Char(','), Qt::SkipEmptyParts);
        else {
            std::fprintf(stderr, "usage: soak-remote [--minutes N] [--warmup N] [--interval S] "
                                 "[--phases modbus,text,script]\n");
            return 2;
        }
    }
    std::printf("soak: %.1f min a phase, %.1f min warm-up, a sample every %d s\n", opt.dblMinutes,
                opt.dblWarmUpMinutes, opt.nIntervalS);
    bool bAllOk = true;
    for (const QString &strPhase : opt.phases) {
        bool bOk = false;
        if (strPhase == QLatin1String("script"))
            bOk = runScriptPhase(opt);
        else if (strPhase == QLatin1String("modbus") || strPhase == QLatin1String("text"))
            bOk = runRemotePhase(strPhase, opt);
        else
            std::fprintf(stderr, "unknown phase %s\n", qPrintable(strPhase));
        bAllOk = bAllOk && bOk;
    }
    return bAllOk ? 0 : 1;
}
