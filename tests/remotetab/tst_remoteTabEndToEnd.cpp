// The real program, offscreen, against the controller simulator: the Remote
// tab is operated through its widgets (by a driver plugin loaded into the
// program), a TCP client speaks the text protocol and a libmodbus master reads
// and writes the registers, all on 127.0.0.1.
#include "controllerSim.h"
#include "programUnderTest.h"
#include "testWorkDir.h"

#include <modbus.h>

#include <QDir>
#include <QElapsedTimer>
#include <QSettings>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

namespace {

constexpr int nStepTimeoutMs = programUnderTest::nStepTimeoutMs;

quint16 freePort()
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        return 0;
    return probe.serverPort();
}

// Reads from a TCP client until the text holds strWanted or time runs out.
QByteArray readUntil(QTcpSocket &client, const QByteArray &strWanted, QByteArray &received)
{
    QElapsedTimer timer;
    timer.start();
    while (!received.contains(strWanted) && timer.elapsed() < nStepTimeoutMs) {
        client.waitForReadyRead(100);
        received += client.readAll();
    }
    return received;
}

struct modbusContext {
    modbus_t *ctx = nullptr;
    ~modbusContext()
    {
        if (ctx) {
            modbus_close(ctx);
            modbus_free(ctx);
        }
    }
};

int positionFromRegisters(const uint16_t *regs)
{
    return int(regs[0]) | (int(regs[1]) << 16);
}

} // namespace

class tst_remoteTabEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void ethernetProtocolsThroughTheTab();
};

void tst_remoteTabEndToEnd::ethernetProtocolsThroughTheTab()
{
    testWorkDir wd;
    QVERIFY(wd.isValid());
    QVERIFY(QDir(wd.path()).mkpath(QStringLiteral("dev")));
    controllerSim sim(controllerSim::FAMILY_BERGER_LAHR);
    QVERIFY(sim.start(wd.filePath(QStringLiteral("dev/ttySIM"))));
    // Mid-travel, away from the limit switches, where the store expects it.
    sim.setPosition(10000);
    const quint16 nTextPort = freePort();
    const quint16 nModbusPort = freePort();
    QVERIFY(nTextPort && nModbusPort && nTextPort != nModbusPort);
    {
        QSettings s(QStringLiteral("varnix"), QStringLiteral("Pendrosix"));
        s.setValue(QStringLiteral("motor driver/type"), QStringLiteral("BergerLahr"));
        s.setValue(QStringLiteral("motor driver/motor port"), QStringLiteral("ttySIM"));
        s.setValue(QStringLiteral("motor driver/position"), 250000);
        s.setValue(QStringLiteral("controller/long press time"), 2000);
        s.setValue(QStringLiteral("remote/remote mode"), 2);
        s.sync();
    }

    programUnderTest program;
    QVERIFY2(program.start(wd), "the program did not start or its driver did not connect");
    QVERIFY2(program.waitReady(), "the main window did not come up");
    // Until the drive has read the controller's position the program rightly
    // answers "RP-1": the status strip shows the steps once it has.
    QCOMPARE(program.request(QStringLiteral("scope widgetStatus")), QStringLiteral("ok"));
    QTRY_COMPARE_WITH_TIMEOUT(program.text(QStringLiteral("lblSteps")), QStringLiteral("250000"), nStepTimeoutMs);
    QCOMPARE(program.request(QStringLiteral("scope widgetRemote")), QStringLiteral("ok"));

    // The operator opens the Remote tab: the stored source is shown.
    QCOMPARE(program.request(QStringLiteral("tab 0")), QStringLiteral("ok 0"));
    QCOMPARE(program.request(QStringLiteral("combo cmbSource 2")), QStringLiteral("ok 2"));

    // --- the text protocol over TCP ---
    QCOMPARE(program.request(QStringLiteral("combo cmbEthernetRemoteMode 1")), QStringLiteral("ok 1"));
    QCOMPARE(program.request(QStringLiteral("text lineEditIpAddress 127.0.0.1")), QStringLiteral("ok"));
    QCOMPARE(program.request(QStringLiteral("text lineEditEthernetPort %1").arg(nTextPort)), QStringLiteral("ok"));
    QCOMPARE(program.request(QStringLiteral("click pushBtnConnect")), QStringLiteral("ok checked=1"));

    QTcpSocket client;
    QElapsedTimer timer;
    timer.start();
    while (client.state() != QAbstractSocket::ConnectedState && timer.elapsed() < nStepTimeoutMs) {
        client.abort();
        client.connectToHost(QHostAddress::LocalHost, nTextPort);
        if (!client.waitForConnected(1000))
            QTest::qWait(100);
    }
    QCOMPARE(client.state(), QAbstractSocket::ConnectedState);
    QByteArray received;
    client.write("I\r");
    QVERIFY2(readUntil(client, "varnix 2.7.2 Remote Parser\r", received).contains("varnix 2.7.2 Remote Parser\r"),
             received.constData());
    received.clear();
    // The position in 40000ths of the travel, without a line end.
    client.write("s\r");
    QCOMPARE(readUntil(client, "RP10000", received), QByteArray("RP10000"));
    client.write("G20000\r");
    QTRY_VERIFY_WITH_TIMEOUT(sim.receivedCommands().contains("g20000"), nStepTimeoutMs);
    QTRY_COMPARE_WITH_TIMEOUT(sim.position(), 20000, nStepTimeoutMs);
    QVERIFY(program.pane(QStringLiteral("plTextEditEthernet")).contains(QLatin1String("Connection established")));

    // Disconnecting from the tab drops the client.
    QCOMPARE(program.request(QStringLiteral("click pushBtnConnect")), QStringLiteral("ok checked=0"));
    QTRY_COMPARE_WITH_TIMEOUT(client.state(), QAbstractSocket::UnconnectedState, nStepTimeoutMs);

    // --- Modbus TCP ---
    QCOMPARE(program.request(QStringLiteral("combo cmbEthernetRemoteMode 2")), QStringLiteral("ok 2"));
    QCOMPARE(program.request(QStringLiteral("text lineEditEthernetPort %1").arg(nModbusPort)), QStringLiteral("ok"));
    QCOMPARE(program.request(QStringLiteral("click pushBtnConnect")), QStringLiteral("ok checked=1"));

    modbusContext master;
    master.ctx = modbus_new_tcp("127.0.0.1", nModbusPort);
    QVERIFY(master.ctx);
    modbus_set_response_timeout(master.ctx, 2, 0);
    QVERIFY(modbus_set_slave(master.ctx, 1) == 0);
    bool bConnected = false;
    timer.restart();
    while (!bConnected && timer.elapsed() < nStepTimeoutMs) {
        bConnected = modbus_connect(master.ctx) == 0;
        if (!bConnected)
            QTest::qWait(200);
    }
    QVERIFY2(bConnected, modbus_strerror(errno));

    // The position registers follow the valve: 20000 of 40000 steps.
    uint16_t regs[7] = {};
    auto readPosition = [&]() {
        if (modbus_read_registers(master.ctx, 0, 7, regs) != 7)
            return -2;
        return positionFromRegisters(regs);
    };
    QTRY_COMPARE_WITH_TIMEOUT(readPosition(), 500000, nStepTimeoutMs);

    // A position written by the master moves the valve.
    const uint16_t target[2] = {uint16_t(250000 & 0xffff), uint16_t(250000 >> 16)};
    QCOMPARE(modbus_write_registers(master.ctx, 0, 2, target), 2);
    QTRY_VERIFY_WITH_TIMEOUT(sim.receivedCommands().contains("g10000"), nStepTimeoutMs);
    QTRY_COMPARE_WITH_TIMEOUT(readPosition(), 250000, nStepTimeoutMs);
    QVERIFY(program.pane(QStringLiteral("plTextEditEthernet")).contains(QLatin1String("Holding Register received")));

    // Disconnect stops the server: a new master finds nobody.
    QCOMPARE(program.request(QStringLiteral("click pushBtnConnect")), QStringLiteral("ok checked=0"));
    modbusContext late;
    late.ctx = modbus_new_tcp("127.0.0.1", nModbusPort);
    auto refused = [&]() {
        if (modbus_connect(late.ctx) != 0)
            return true;
        modbus_close(late.ctx);
        return false;
    };
    QTRY_VERIFY_WITH_TIMEOUT(refused(), nStepTimeoutMs);

    // --- the leave rule ---
    // An Ethernet link does not hold the operator; a terminal link does, and
    // the window says why.
    program.boxes.clear();
    QCOMPARE(program.request(QStringLiteral("combo cmbSource 3")), QStringLiteral("ok 3"));
    QCOMPARE(program.request(QStringLiteral("click pushBtnConnect")), QStringLiteral("ok checked=1"));
    QCOMPARE(program.request(QStringLiteral("tab 1")), QStringLiteral("ok 0"));
    QVERIFY2(program.boxes.contains(QStringLiteral("Remote is connected|USB Remote is still connected. First disconnect it.")),
             qPrintable(program.boxes.join(QLatin1Char('\n'))));
    QCOMPARE(program.request(QStringLiteral("click pushBtnConnect")), QStringLiteral("ok checked=0"));
    QCOMPARE(program.request(QStringLiteral("tab 1")), QStringLiteral("ok 1"));

    QVERIFY2(program.quit(), "the program did not end when its window was closed");
    // What the window stored at close: the Ethernet fields as used.
    QSettings s(QStringLiteral("varnix"), QStringLiteral("Pendrosix"));
    s.sync();
    QCOMPARE(s.value(QStringLiteral("remote/eth mode")).toInt(), 2);
    QCOMPARE(s.value(QStringLiteral("remote/eth port")).toInt(), int(nModbusPort));
    QCOMPARE(s.value(QStringLiteral("remote/eth address")).toString(), QStringLiteral("127.0.0.1"));
    QCOMPARE(s.value(QStringLiteral("remote/usb mode")).toInt(), 0);
}

QTEST_GUILESS_MAIN(tst_remoteTabEndToEnd)
#include "tst_remoteTabEndToEnd.moc"
