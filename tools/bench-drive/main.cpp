// bench-drive [go-tos] [idle seconds] [berger|nanotec]
// A real motorDriver in its own thread against the controller simulator on a
// pseudo-terminal. Prints, for go-to requests made as queued slot calls from
// another thread (as the remote side and the forms make them), the time until
// the command bytes arrive at the controller; then the motor thread's CPU time
// over a stretch of idle polling.
#include "controllerSim.h"
#include "remote/remoteLink.h"
#include "valve/motorDriver.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <random>
#include <thread>
#include <vector>

namespace {

qint64 nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

qint64 threadCpuNs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    const size_t i = std::min(v.size() - 1, size_t(p / 100.0 * double(v.size() - 1) + 0.5));
    return v[i];
}

// Arrival time of the first command equal to strCommand at or after index nFrom.
qint64 waitForArrival(const controllerSim &sim, const QByteArray &strCommand, int nFrom, int nTimeoutMs)
{
    const qint64 nEnd = nowNs() + qint64(nTimeoutMs) * 1000000;
    while (nowNs() < nEnd) {
        const QVector<controllerSim::receivedCommand> log = sim.receivedLog();
        for (int i = nFrom; i < log.size(); ++i)
            if (log.at(i).strCommand == strCommand)
                return log.at(i).nArrivalNs;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return -1;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("valve.*.debug=false"));
    const QStringList args = app.arguments();
    const int nGotos = args.size() > 1 ? args.at(1).toInt() : 200;
    const int nIdleSeconds = args.size() > 2 ? args.at(2).toInt() : 10;
    const bool bNanoTec = args.size() > 3 && args.at(3) == QLatin1String("nanotec");

    QTemporaryDir devDir;
    qputenv("VALVE_DEV_DIR", devDir.path().toLocal8Bit());
    controllerSim sim(bNanoTec ? controllerSim::FAMILY_NANOTEC : controllerSim::FAMILY_BERGER_LAHR);
    sim.setPosition(sim.fullTravel() / 2);
    sim.setSpeed(sim.fullTravel() * 4);
    if (!sim.start(devDir.filePath(QStringLiteral("ttyUSB0")))) {
        std::fprintf(stderr, "cannot start the controller simulator\n");
        return 1;
    }

    QThread motorThread;
    auto *pDriver = new motorDriver(nullptr, bNanoTec ? motorDriver::NanoTec : motorDriver::BergerLahr);
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

    std::mt19937 rng(20240601);
    std::uniform_int_distribution<int> pause(0, 99);
    std::vector<double> latencyMs;
    int nLost = 0;
    for (int i = 0; i < nGotos; ++i) {
        const int nPpm = (i % 2) ? 750000 : 250000;
        const int nSteps = int(qint64(nPpm) * sim.fullTravel() / 1000000);
        // The first command of the go-to: the record load on NanoTec.
        const QByteArray strCommand = bNanoTec ? QByteArray((i % 2) ? "#1y6" : "#1y7")
                                               : "g" + QByteArray::number(nSteps);
        // A random phase against the 100 ms tick.
        std::this_thread::sleep_for(std::chrono::milliseconds(100 + pause(rng)));
        const int nFrom = sim.receivedCount();
        const qint64 nStart = nowNs();
        QMetaObject::invokeMethod(pDriver, "onMotorGotoStep", Qt::QueuedConnection, Q_ARG(int, nPpm));
        const qint64 nArrival = waitForArrival(sim, strCommand, nFrom, 5000);
        if (nArrival < 0) {
            if (qEnvironmentVariableIsSet("BENCH_DEBUG"))
                std::fprintf(stderr, "lost %d: %s pos %d sim %d last: %s\n", i, strCommand.constData(),
                             pDriver->getEncoderSteps(), sim.position(),
                             sim.receivedCommands().mid(nFrom - 5).join(' ').constData());
            ++nLost;
            continue;
        }
        latencyMs.push_back(double(nArrival - nStart) / 1e6);
    }

    qint64 nCpuStart = 0;
    qint64 nCpuEnd = 0;
    QMetaObject::invokeMethod(pDriver, [&] { nCpuStart = threadCpuNs(); }, Qt::BlockingQueuedConnection);
    const int nPollsBefore = sim.receivedCount();
    const qint64 nWallStart = nowNs();
    std::this_thread::sleep_for(std::chrono::seconds(nIdleSeconds));
    QMetaObject::invokeMethod(pDriver, [&] { nCpuEnd = threadCpuNs(); }, Qt::BlockingQueuedConnection);
    const double dblWallS = double(nowNs() - nWallStart) / 1e9;
    const int nPolls = sim.receivedCount() - nPollsBefore;

    QMetaObject::invokeMethod(pDriver, "stopCommunication", Qt::QueuedConnection);
    motorThread.quit();
    motorThread.wait();
    delete pDriver;
    sim.stop();

    std::printf("family: %s\n", bNanoTec ? "NanoTec" : "BergerLahr");
    if (!latencyMs.empty()) {
        std::printf("go-to slot call -> command at the controller, %zu go-tos (%d lost):\n", latencyMs.size(), nLost);
        std::printf("  median %.1f ms, p99 %.1f ms, min %.1f ms, max %.1f ms\n", percentile(latencyMs, 50),
                    percentile(latencyMs, 99), percentile(latencyMs, 0), percentile(latencyMs, 100));
    }
    const double dblCpuMs = double(nCpuEnd - nCpuStart) / 1e6;
    std::printf("idle polling for %.1f s: motor thread CPU %.1f ms (%.3f %% of one core), %d polls answered\n",
                dblWallS, dblCpuMs, dblCpuMs / (dblWallS * 10.0), nPolls);
    return nLost == 0 ? 0 : 1;
}
