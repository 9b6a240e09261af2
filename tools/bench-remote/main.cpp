// bench-remote [modbus requests] [text requests] [berger|nanotec]
// The real motorDriver in its own thread, polling the controller simulator on
// a pseudo-terminal, serves a remote master on 127.0.0.1:
//  1. Modbus TCP: a libmodbus client reads holding registers 0..6 back to
//     back; latency of each request and requests per second.
//  2. The text protocol over TCP: "S\r" and its reply, one at a time.
#include "controllerSim.h"
#include "remote/remoteLink.h"
#include "valve/motorDriver.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>

#include <modbus.h>

#include <algorithm>
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

double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    const size_t i = std::min(v.size() - 1, size_t(p / 100.0 * double(v.size() - 1) + 0.5));
    return v[i];
}

quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

void report(const char *pszWhat, const std::vector<double> &latMs, double dblSeconds)
{
    std::printf("%-34s n=%zu median %.3f ms  p99 %.3f ms  max %.3f ms  %.0f req/s\n", pszWhat, latMs.size(),
                percentile(latMs, 50), percentile(latMs, 99), percentile(latMs, 100),
                double(latMs.size()) / dblSeconds);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    const int nModbus = argc > 1 ? std::max(1, atoi(argv[1])) : 10000;
    const int nText = argc > 2 ? std::max(1, atoi(argv[2])) : 2000;
    const bool bNanoTec = argc > 3 && QByteArray(argv[3]) == "nanotec";

    QTemporaryDir devDir;
    qputenv("VALVE_DEV_DIR", devDir.path().toLocal8Bit());
    controllerSim sim(bNanoTec ? controllerSim::FAMILY_NANOTEC : controllerSim::FAMILY_BERGER_LAHR);
    sim.setPosition(sim.fullTravel() / 2);
    if (!sim.start(devDir.filePath(QStringLiteral("ttyUSB0")))) {
        std::fprintf(stderr, "simulator did not start\n");
        return 1;
    }

    QThread motorThread;
    auto *pDrv = new motorDriver(nullptr, bNanoTec ? motorDriver::NanoTec : motorDriver::BergerLahr);
    pDrv->setRemoteSide(new remoteLink(pDrv));
    pDrv->connectMotorSerial(QStringLiteral("ttyUSB0"));
    pDrv->moveToThread(&motorThread);
    motorThread.start();
    const qint64 nStart = nowNs();
    while (pDrv->getMotorPosition() != 500000 && nowNs() - nStart < 10000000000LL)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));

    // --- Modbus TCP ---
    const quint16 nModbusPort = freePort();
    QMetaObject::invokeMethod(pDrv, "connectRemoteEthernet", Qt::BlockingQueuedConnection, Q_ARG(int, 2),
                              Q_ARG(QString, QStringLiteral("127.0.0.1")), Q_ARG(int, int(nModbusPort)));
    modbus_t *pCtx = modbus_new_tcp("127.0.0.1", nModbusPort);
    modbus_set_slave(pCtx, 1);
    modbus_set_response_timeout(pCtx, 5, 0);
    if (modbus_connect(pCtx) != 0) {
        std::fprintf(stderr, "modbus connect failed: %s\n", modbus_strerror(errno));
        return 1;
    }
    const int nPollsBefore = sim.receivedCount();
    std::vector<double> modbusMs;
    modbusMs.reserve(size_t(nModbus));
    uint16_t regs[7];
    int nFailed = 0;
    const qint64 nModbusStart = nowNs();
    for (int i = 0; i < nModbus; ++i) {
        const qint64 t0 = nowNs();
        if (modbus_read_registers(pCtx, 0, 7, regs) != 7)
            ++nFailed;
        modbusMs.push_back(double(nowNs() - t0) / 1e6);
    }
    const double dblModbusSeconds = double(nowNs() - nModbusStart) / 1e9;
    const int nPolls = sim.receivedCount() - nPollsBefore;
    modbus_close(pCtx);
    modbus_free(pCtx);
    QMetaObject::invokeMethod(pDrv, "disconnectRemoteEhternet", Qt::BlockingQueuedConnection);
    report("Modbus TCP read HR0-6", modbusMs, dblModbusSeconds);
    std::printf("  failed requests: %d; controller commands meanwhile: %d (%.1f per s)\n", nFailed, nPolls,
                nPolls / dblModbusSeconds);

    // --- text protocol over TCP ---
    const quint16 nTextPort = freePort();
    QMetaObject::invokeMethod(pDrv, "connectRemoteEthernet", Qt::BlockingQueuedConnection, Q_ARG(int, 1),
                              Q_ARG(QString, QStringLiteral("127.0.0.1")), Q_ARG(int, int(nTextPort)));
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, nTextPort);
    if (!socket.waitForConnected(5000)) {
        std::fprintf(stderr, "text protocol connect failed\n");
        return 1;
    }
    const QByteArray expected = "RP20000";   // half open in 40000ths, either family
    std::vector<double> textMs;
    textMs.reserve(size_t(nText));
    nFailed = 0;
    const qint64 nTextStart = nowNs();
    for (int i = 0; i < nText; ++i) {
        const qint64 t0 = nowNs();
        socket.write("S\r");
        socket.flush();
        QByteArray got;
        while (got.size() < expected.size() && socket.waitForReadyRead(5000))
            got += socket.readAll();
        if (got != expected)
            ++nFailed;
        textMs.push_back(double(nowNs() - t0) / 1e6);
    }
    const double dblTextSeconds = double(nowNs() - nTextStart) / 1e9;
    socket.disconnectFromHost();
    report("text protocol \"S\\r\" round trip", textMs, dblTextSeconds);
    std::printf("  wrong or missing replies: %d\n", nFailed);

    QMetaObject::invokeMethod(pDrv, "disconnectRemoteEhternet", Qt::BlockingQueuedConnection);
    QMetaObject::invokeMethod(pDrv, "stopCommunication", Qt::BlockingQueuedConnection);
    motorThread.quit();
    motorThread.wait();
    delete pDrv;
    return 0;
}
