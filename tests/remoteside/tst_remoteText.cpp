// The remote side of the valve with real peers: a TCP client on 127.0.0.1 or
// a pseudo-terminal as the PC serial port on one end, the controller
// simulator on the other, the real driver in its motor thread in between.
#include "remoteClient.h"
#include "driveRig.h"

#include "ptyEndpoint.h"
#include "valve/analogData.h"

#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QtTest>

namespace {
constexpr int WAIT_MS = 20000;
// Long enough for a dozen ticks of the driver.
constexpr int QUIET_MS = 1500;

QByteArray readUntil(ptyEndpoint &pty, const QByteArray &strExpected, int nTimeoutMs = WAIT_MS)
{
    QByteArray got;
    QElapsedTimer timer;
    timer.start();
    while (!got.contains(strExpected) && timer.elapsed() < nTimeoutMs)
        got += pty.read(100);
    return got;
}
} // namespace

class tst_remoteText : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void textProtocolOverTcp_data();
    void textProtocolOverTcp();
    void everyCommandOfAChunkRuns();
    void overlongLineIsDroppedVisibly();
    void linkStaysReadyAfterConnect();
    void pcSession_data();
    void pcSession();
    void serialPortThatDoesNotOpen();
    void terminalMode();
    void tcpServerLifecycle();
    void connectMovesTheServer();
    void analogRemote_data();
    void analogRemote();

private:
    // A driver of the family on the simulator at nSteps, position read.
    void startValve(driveRig &rig, int nType, int nSteps);
    void connectEthernet(driveRig &rig, int nMode, quint16 nPort);
};

void tst_remoteText::initTestCase()
{
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
}

void tst_remoteText::startValve(driveRig &rig, int nType, int nSteps)
{
    // Moves take a few ticks, not seconds: these tests are about the remote
    // side, not about travel.
    rig.sim.setSpeed(10 * rig.sim.fullTravel());
    rig.sim.setPosition(nSteps);
    QVERIFY(rig.startSim());
    rig.startDriver(nType);
    const int nPpm = int(qint64(nSteps) * 1000000 / rig.sim.fullTravel());
    QTRY_COMPARE_WITH_TIMEOUT(rig.drv->getMotorPosition(), nPpm, WAIT_MS);
}

void tst_remoteText::connectEthernet(driveRig &rig, int nMode, quint16 nPort)
{
    QMetaObject::invokeMethod(rig.drv, "connectRemoteEthernet", Qt::BlockingQueuedConnection, Q_ARG(int, nMode),
                              Q_ARG(QString, QStringLiteral("127.0.0.1")), Q_ARG(int, int(nPort)));
}

void tst_remoteText::textProtocolOverTcp_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("startSteps");
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QList<QByteArray>>("controllerGets");
    QTest::addColumn<int>("endSteps");   // -1: the valve does not move

    using L = QList<QByteArray>;
    const int BL = motorDriver::BergerLahr;
    const int NT = motorDriver::NanoTec;
    QTest::newRow("BL s lower case") << BL << 20000 << QByteArray("s\r") << QByteArray("RP20000") << L{} << -1;
    QTest::newRow("BL S at the open end") << BL << 40000 << QByteArray("S\r") << QByteArray("IP40000") << L{} << -1;
    QTest::newRow("NT S") << NT << 512000 << QByteArray("S\r") << QByteArray("RP20000") << L{"#1I", "#1C"} << -1;
    QTest::newRow("BL G20000") << BL << 4000 << QByteArray("G20000\r") << QByteArray("G20000\r") << L{"g20000"}
                               << 20000;
    QTest::newRow("NT g10000") << NT << 0 << QByteArray("g10000\r") << QByteArray("G10000\r")
                               << L{"#1y6", "#1s-256000", "#1A"} << 256000;
    QTest::newRow("BL G letters") << BL << 4000 << QByteArray("Gxy\r") << QByteArray("GXY\r") << L{} << -1;
    QTest::newRow("BL G beyond the travel") << BL << 4000 << QByteArray("G40001\r") << QByteArray("G40001\r")
                                            << L{} << -1;
    QTest::newRow("BL P") << BL << 20000 << QByteArray("P\r") << QByteArray("P\r") << L{"g20001"} << 20001;
    QTest::newRow("BL m") << BL << 20000 << QByteArray("m\r") << QByteArray("M\r") << L{"g19999"} << 19999;
    QTest::newRow("NT P") << NT << 512000 << QByteArray("P\r") << QByteArray("P\r")
                          << L{"#1y6", "#1s-512025", "#1A"} << 512025;
    QTest::newRow("BL H") << BL << 20000 << QByteArray("H\r") << QByteArray("H\r") << L{"h"} << -1;
    QTest::newRow("NT h") << NT << 512000 << QByteArray("h\r") << QByteArray("H\r") << L{"#1S"} << -1;
    QTest::newRow("BL N") << BL << 20000 << QByteArray("N\r") << QByteArray("N\r") << L{"n"} << 0;
    QTest::newRow("NT N") << NT << 512000 << QByteArray("n\r") << QByteArray("N\r") << L{"#1y4", "#1A"} << 0;
    QTest::newRow("I") << BL << 20000 << QByteArray("i\r") << QByteArray("varnix 2.7.2 Remote Parser\r") << L{}
                       << -1;
    QTest::newRow("X") << NT << 0 << QByteArray("X\r") << QByteArray("Resolution: 40k. All Commands must send enter\r")
                       << L{} << -1;
    QTest::newRow("T") << BL << 20000 << QByteArray("t\r") << QByteArray("Timer: 5s\r") << L{} << -1;
    QTest::newRow("unknown letter") << NT << 0 << QByteArray("zap\r") << QByteArray("ZAP\r") << L{} << -1;
}

void tst_remoteText::textProtocolOverTcp()
{
    QFETCH(int, type);
    QFETCH(int, startSteps);
    QFETCH(QByteArray, command);
    QFETCH(QByteArray, reply);
    QFETCH(QList<QByteArray>, controllerGets);
    QFETCH(int, endSteps);

    driveRig rig(type == motorDriver::NanoTec ? controllerSim::FAMILY_NANOTEC : controllerSim::FAMILY_BERGER_LAHR);
    startValve(rig, type, startSteps);
    const quint16 nPort = freeLoopbackPort();
    connectEthernet(rig, 1, nPort);
    remoteClient pc;
    QVERIFY(pc.connectTo(nPort));
    QTRY_VERIFY_WITH_TIMEOUT(rig.rec.fromPc.contains("Connection established\n"), WAIT_MS);

    rig.sim.clearReceived();
    pc.send(command);
    QTRY_COMPARE_WITH_TIMEOUT(pc.received, reply, WAIT_MS);
    // The PC side pane shows what the PC sent.
    QTRY_VERIFY_WITH_TIMEOUT(rig.rec.fromPc.contains(command), WAIT_MS);
    QVERIFY(rig.drainQueue(WAIT_MS));
    QList<QByteArray> got = rig.sim.receivedCommands();
    got.removeAll("s");   // BergerLahr status queries after a move
    got.removeAll("#1:port_out_a3");
    for (const QByteArray &poll : {QByteArray("#1$"), QByteArray("#1I"), QByteArray("#1C")})
        if (!controllerGets.contains(poll))
            got.removeAll(poll);
    QCOMPARE(got.mid(0, controllerGets.size()), controllerGets);
    if (controllerGets.isEmpty())
        QVERIFY2(got.isEmpty(), got.join(' ').constData());
    if (endSteps >= 0)
        QTRY_COMPARE_WITH_TIMEOUT(rig.sim.position(), endSteps, WAIT_MS);
    else
        QCOMPARE(rig.sim.position(), startSteps);
    QCOMPARE(pc.received, reply);   // nothing more was sent back
}

void tst_remoteText::everyCommandOfAChunkRuns()
{
    driveRig rig(controllerSim::FAMILY_BERGER_LAHR);
    startValve(rig, motorDriver::BergerLahr, 20000);
    const quint16 nPort = freeLoopbackPort();
    connectEthernet(rig, 1, nPort);
    remoteClient pc;
    QVERIFY(pc.connectTo(nPort));

    // Several commands in one chunk run in order, each with its reply.
    pc.send("s\rT\rG100\r");
    QTRY_COMPARE_WITH_TIMEOUT(pc.received, QByteArray("RP20000Timer: 5s\rG100\r"), WAIT_MS);
    QTRY_COMPARE_WITH_TIMEOUT(rig.sim.position(), 100, WAIT_MS);
    pc.take();

    // A command cut into pieces, a PC that ends its lines with "\r\n", and an
    // incomplete tail that is completed by the next chunk.
    for (const char c : QByteArray("i\r\n"))
        pc.send(QByteArray(1, c));
    pc.send("x\r\nG2");
    QTRY_COMPARE_WITH_TIMEOUT(pc.received, QByteArray("varnix 2.7.2 Remote Parser\r"
                                                      "Resolution: 40k. All Commands must send enter\r"),
                              WAIT_MS);
    pc.send("00\r\n");
    QTRY_VERIFY_WITH_TIMEOUT(pc.received.endsWith("G200\r\n"), WAIT_MS);
    QTRY_COMPARE_WITH_TIMEOUT(rig.sim.position(), 200, WAIT_MS);
    QVERIFY(!rig.sim.receivedCommands().contains(QByteArray("\ng200")));
}

void tst_remoteText::overlongLineIsDroppedVisibly()
{
    driveRig rig(controllerSim::FAMILY_BERGER_LAHR);
    startValve(rig, motorDriver::BergerLahr, 20000);
    const quint16 nPort = freeLoopbackPort();
    connectEthernet(rig, 1, nPort);
    remoteClient pc;
    QVERIFY(pc.connectTo(nPort));

    // Thousands of bytes without "\r": not collected, not executed; the
    // command after the line's end runs.
    for (int i = 0; i < 40; ++i)
        pc.send(QByteArray(100, 'G'));
    pc.send("1000\rT\r");
    QTRY_COMPARE_WITH_TIMEOUT(pc.received, QByteArray("Timer: 5s\r"), WAIT_MS);
    QVERIFY(rig.rec.fromPc.contains("dropped"));
    QVERIFY(rig.drainQueue(WAIT_MS));
    QCOMPARE(rig.sim.position(), 20000);
}

void tst_remoteText::linkStaysReadyAfterConnect()
{
    // NanoTec polls four commands in a row, so a command is outstanding when
    // the connect comes; the link must be ready to send afterwards without
    // waiting for a reconnect.
    driveRig rig(controllerSim::FAMILY_NANOTEC);
    startValve(rig, motorDriver::NanoTec, 512000);
    const quint16 nPort = freeLoopbackPort();
    connectEthernet(rig, 1, nPort);
    remoteClient pc;
    QVERIFY(pc.connectTo(nPort));
    for (int i = 0; i < 5; ++i) {
        const int nBefore = rig.sim.countOf("#1I");
        pc.send("S\r");
        QTRY_VERIFY_WITH_TIMEOUT(rig.sim.countOf("#1I") > nBefore, WAIT_MS);
        QTRY_COMPARE_WITH_TIMEOUT(pc.received, QByteArray("RP20000"), WAIT_MS);
        pc.take();
    }
    QVERIFY(!rig.rec.anyStatusContains(QStringLiteral("Reconnect")));
}

namespace {
// The PC of a session: the PC serial port (a pseudo-terminal) or a TCP client.
class pcPeer
{
public:
    explicit pcPeer(bool bSerial)
        : bSerial(bSerial)
    {
    }
    bool bSerial;
    ptyEndpoint port;
    remoteClient client;
    QByteArray received;

    void send(const QByteArray &data)
    {
        if (bSerial)
            port.write(data);
        else
            client.send(data);
    }
    // Everything received so far, waiting until it holds strExpected.
    QByteArray receivedUntil(const QByteArray &strExpected)
    {
        QElapsedTimer timer;
        timer.start();
        while (!received.contains(strExpected) && timer.elapsed() < WAIT_MS) {
            if (bSerial) {
                received += port.read(100);
            } else {
                QTest::qWait(20);
                received += client.take();
            }
        }
        return received;
    }
};
} // namespace

void tst_remoteText::pcSession_data()
{
    QTest::addColumn<bool>("serial");
    QTest::addColumn<int>("mode");   // 0 direct pass-through, 1 text protocol
    QTest::addColumn<QList<QByteArray>>("chunks");
    QTest::addColumn<QList<QByteArray>>("controllerGets");
    QTest::addColumn<QByteArray>("pcGets");
    QTest::addColumn<QByteArray>("paneGets");

    using L = QList<QByteArray>;
    for (const bool bSerial : {true, false}) {
        const char *pszVia = bSerial ? "serial" : "tcp";
        // Direct: only a line feed that ends a chunk is dropped.
        QTest::addRow("%s direct: trailing line feed dropped", pszVia)
            << bSerial << 0 << L{"s\r\n"} << L{"s"} << QByteArray("RP20000\r") << QByteArray("s\r");
        QTest::addRow("%s direct: leading line feed passed on", pszVia)
            << bSerial << 0 << L{"s\r", "\ns\r"} << L{"s", "\ns"} << QByteArray("RP20000\r\ns\r")
            << QByteArray("s\r\ns\r");
        QTest::addRow("%s direct: leading and trailing line feed", pszVia)
            << bSerial << 0 << L{"\ns\r\n"} << L{"\ns"} << QByteArray("\ns\r") << QByteArray("\ns\r");
        QTest::addRow("%s direct: only the last of two line feeds dropped", pszVia)
            << bSerial << 0 << L{"s\r\n\n", "s\r"} << L{"s", "\ns"} << QByteArray("RP20000\r\ns\r")
            << QByteArray("s\r\ns\r");
        // Text protocol: the echo is the whole line, CR or CR LF; every
        // command of a chunk runs, in order.
        QTest::addRow("%s text: CR", pszVia)
            << bSerial << 1 << L{"g200\r"} << L{"g200"} << QByteArray("G200\r") << QByteArray("g200\r");
        QTest::addRow("%s text: CR LF", pszVia)
            << bSerial << 1 << L{"G200\r\n"} << L{"g200"} << QByteArray("G200\r\n") << QByteArray("G200\r\n");
        QTest::addRow("%s text: two CR LF lines in one chunk", pszVia)
            << bSerial << 1 << L{"G200\r\nP\r\n"} << L{"g200", "g20001"} << QByteArray("G200\r\nP\r\n")
            << QByteArray("G200\r\nP\r\n");
        QTest::addRow("%s text: line feed in the next chunk", pszVia)
            << bSerial << 1 << L{"G200\r", "\nT\r\n"} << L{"g200"} << QByteArray("G200\r\nTimer: 5s\r")
            << QByteArray("G200\r\nT\r\n");
        QTest::addRow("%s text: a reply replaces the echo with its line feed", pszVia)
            << bSerial << 1 << L{"s\r\n", "s\r", "\nT\r"} << L{} << QByteArray("RP20000RP20000Timer: 5s\r")
            << QByteArray("s\r\ns\rT\r");
    }
}

void tst_remoteText::pcSession()
{
    QFETCH(bool, serial);
    QFETCH(int, mode);
    QFETCH(QList<QByteArray>, chunks);
    QFETCH(QList<QByteArray>, controllerGets);
    QFETCH(QByteArray, pcGets);
    QFETCH(QByteArray, paneGets);

    driveRig rig(controllerSim::FAMILY_BERGER_LAHR);
    pcPeer pc(serial);
    if (serial) {
        QVERIFY(pc.port.open());
        QVERIFY(pc.port.linkAs(rig.devPath(QStringLiteral("ttyUSB1"))));
    }
    startValve(rig, motorDriver::BergerLahr, 20000);
    if (serial) {
        QMetaObject::invokeMethod(rig.drv, "connectRemoteUSB", Qt::BlockingQueuedConnection, Q_ARG(int, mode));
    } else {
        const quint16 nPort = freeLoopbackPort();
        connectEthernet(rig, mode, nPort);
        QVERIFY(pc.client.connectTo(nPort));
        QTRY_VERIFY_WITH_TIMEOUT(rig.rec.fromPc.contains("Connection established\n"), WAIT_MS);
    }
    // Whatever the controller still owed for a poll is not the PC's. The
    // marker that shows the queue drained is the controller's, so in direct
    // mode the PC gets its answer.
    const QByteArray marker = mode == 0 ? QByteArray("#1:port_out_a3\r") : QByteArray();
    QVERIFY(rig.drainQueue(WAIT_MS));
    QCOMPARE(pc.receivedUntil(marker).right(marker.size()), marker);
    pc.received.clear();
    rig.sim.clearReceived();
    rig.rec.fromPc.clear();

    // Each chunk is taken before the next is sent, so the driver sees the
    // chunks as they are cut here.
    for (const QByteArray &chunk : qAsConst(chunks)) {
        const int nPane = rig.rec.fromPc.size();
        pc.send(chunk);
        QTRY_VERIFY_WITH_TIMEOUT(rig.rec.fromPc.size() > nPane, WAIT_MS);
    }
    QVERIFY(rig.drainQueue(WAIT_MS));
    QCOMPARE(pc.receivedUntil(pcGets + marker), pcGets + marker);
    if (mode == 0)
        QTest::qWait(QUIET_MS);   // a dozen ticks: still no polls of the driver's own
    QList<QByteArray> got = rig.sim.receivedCommands();
    got.removeAll("#1:port_out_a3");
    if (mode == 1)
        got.removeAll("s");   // status queries after a move
    QCOMPARE(got, controllerGets);
    QCOMPARE(pc.receivedUntil(pcGets + marker), pcGets + marker);   // nothing more came
    QCOMPARE(rig.rec.fromPc, paneGets);
    QVERIFY(!rig.rec.anyStatusContains(QStringLiteral("Reconnect")));

    // After the disconnect the PC is no longer served and polling resumes.
    QMetaObject::invokeMethod(rig.drv, serial ? "disconnectRemoteUSB" : "disconnectRemoteEhternet",
                              Qt::BlockingQueuedConnection);
    rig.sim.clearReceived();
    QTRY_VERIFY_WITH_TIMEOUT(rig.sim.countOf("s") > 2, WAIT_MS);
    if (serial) {
        pc.port.write("I\r");
        QCOMPARE(pc.port.read(300), QByteArray());
    } else {
        QTRY_VERIFY_WITH_TIMEOUT(pc.client.bDisconnected, WAIT_MS);
    }
}

void tst_remoteText::serialPortThatDoesNotOpen()
{
    driveRig rig(controllerSim::FAMILY_BERGER_LAHR);
    startValve(rig, motorDriver::BergerLahr, 20000);
    QMetaObject::invokeMethod(rig.drv, "connectRemoteUSB", Qt::QueuedConnection, Q_ARG(int, 1));
    QTRY_VERIFY_WITH_TIMEOUT(rig.rec.lastStatus().contains(QLatin1String("Remote Port Not Open")), WAIT_MS);
    // Unplugging the remote leaves the note: the port never opened.
    QMetaObject::invokeMethod(rig.drv, "disconnectRemoteUSB", Qt::BlockingQueuedConnection);
    QVERIFY(rig.drainQueue(WAIT_MS));
    QVERIFY(rig.rec.lastStatus().contains(QLatin1String("Remote Port Not Open")));
    // Only a PC port that opens clears it.
    ptyEndpoint pcPort;
    QVERIFY(pcPort.open());
    QVERIFY(pcPort.linkAs(rig.devPath(QStringLiteral("ttyUSB1"))));
    QMetaObject::invokeMethod(rig.drv, "connectRemoteUSB", Qt::QueuedConnection, Q_ARG(int, 1));
    QTRY_VERIFY_WITH_TIMEOUT(!rig.rec.lastStatus().contains(QLatin1String("Remote Port Not Open")), WAIT_MS);
    pcPort.write("T\r");
    QCOMPARE(readUntil(pcPort, "Timer: 5s\r"), QByteArray("Timer: 5s\r"));
}

void tst_remoteText::terminalMode()
{
    driveRig rig(controllerSim::FAMILY_BERGER_LAHR);
    startValve(rig, motorDriver::BergerLahr, 20000);
    QMetaObject::invokeMethod(rig.drv, "connectRemoteUSB", Qt::BlockingQueuedConnection, Q_ARG(int, 3));
    rig.sim.clearReceived();
    QElapsedTimer timer;
    timer.start();
    int nTyped = 0;
    while (timer.elapsed() < QUIET_MS) {
        QMetaObject::invokeMethod(rig.drv, "sendToMotor", Qt::QueuedConnection, Q_ARG(QByteArray, "s\r"));
        ++nTyped;
        QTRY_COMPARE_WITH_TIMEOUT(rig.sim.receivedCount(), nTyped, WAIT_MS);
    }
    QTRY_VERIFY_WITH_TIMEOUT(rig.rec.fromMotor.contains("RP20000\r"), WAIT_MS);
    QCOMPARE(rig.sim.countOf("s"), nTyped);   // nothing but the typed bytes
    QVERIFY(!rig.rec.anyStatusContains(QStringLiteral("Reconnect")));

    QMetaObject::invokeMethod(rig.drv, "disconnectRemoteUSB", Qt::BlockingQueuedConnection);
    QTRY_VERIFY_WITH_TIMEOUT(rig.sim.countOf("s") > nTyped + 2, WAIT_MS);
}

void tst_remoteText::tcpServerLifecycle()
{
    driveRig rig(controllerSim::FAMILY_BERGER_LAHR);
    startValve(rig, motorDriver::BergerLahr, 20000);
    const quint16 nPort = freeLoopbackPort();
    connectEthernet(rig, 1, nPort);

    remoteClient first;
    QVERIFY(first.connectTo(nPort));
    QTRY_VERIFY_WITH_TIMEOUT(rig.rec.fromPc.contains("Connection established\n"), WAIT_MS);

    // A second client is closed at once; the first one is still served.
    remoteClient second;
    second.connectTo(nPort);
    QTRY_VERIFY_WITH_TIMEOUT(second.bDisconnected || second.socket.state() == QAbstractSocket::UnconnectedState,
                             WAIT_MS);
    first.send("T\r");
    QTRY_COMPARE_WITH_TIMEOUT(first.received, QByteArray("Timer: 5s\r"), WAIT_MS);
    QCOMPARE(second.received, QByteArray());
    QCOMPARE(rig.rec.fromPc.count("Connection established\n"), 1);

    // The client leaves: the server stops listening.
    first.socket.disconnectFromHost();
    QTRY_VERIFY_WITH_TIMEOUT(rig.rec.fromPc.contains("Connection closed\n"), WAIT_MS);
    remoteClient third;
    QVERIFY(!third.connectTo(nPort, 3000));

    // A new connect listens again; a disconnect without a client stops it.
    connectEthernet(rig, 1, nPort);
    remoteClient fourth;
    QVERIFY(fourth.connectTo(nPort));
    fourth.send("I\r");
    QTRY_COMPARE_WITH_TIMEOUT(fourth.received, QByteArray("varnix 2.7.2 Remote Parser\r"), WAIT_MS);
    QMetaObject::invokeMethod(rig.drv, "disconnectRemoteEhternet", Qt::BlockingQueuedConnection);
    QTRY_VERIFY_WITH_TIMEOUT(fourth.bDisconnected, WAIT_MS);
    connectEthernet(rig, 1, nPort);
    QMetaObject::invokeMethod(rig.drv, "disconnectRemoteEhternet", Qt::BlockingQueuedConnection);
    remoteClient fifth;
    QVERIFY(!fifth.connectTo(nPort, 3000));
}

void tst_remoteText::connectMovesTheServer()
{
    // A connect while the server still listens (no client came) moves it to
    // the new port instead of keeping the old one.
    driveRig rig(controllerSim::FAMILY_BERGER_LAHR);
    startValve(rig, motorDriver::BergerLahr, 20000);
    const quint16 nFirst = freeLoopbackPort();
    connectEthernet(rig, 1, nFirst);
    quint16 nSecond = freeLoopbackPort();
    while (nSecond == nFirst)
        nSecond = freeLoopbackPort();
    connectEthernet(rig, 0, nSecond);

    remoteClient old;
    QVERIFY(!old.connectTo(nFirst, 3000));
    remoteClient pc;
    QVERIFY(pc.connectTo(nSecond));
    pc.send("s\r");   // direct mode now: the controller answers
    QTRY_COMPARE_WITH_TIMEOUT(pc.received, QByteArray("RP20000\r"), WAIT_MS);
}

void tst_remoteText::analogRemote_data()
{
    QTest::addColumn<int>("input");
    QTest::addColumn<double>("volts");
    QTest::addColumn<int>("endSteps");
    QTest::addColumn<QByteArray>("note");
    QTest::addColumn<int>("followSteps");   // after 7 V on the same input
    QTest::newRow("middle of the band") << 0 << 5.0 << 20000 << QByteArray() << 30000;
    QTest::newRow("below the lower boundary") << 0 << 0.5 << 1 << QByteArray() << 30000;
    QTest::newRow("above the upper boundary") << 0 << 9.5 << 40000 << QByteArray() << 30000;
    QTest::newRow("exactly on the lower boundary") << 0 << 1.0 << 1 << QByteArray("Input: 1.00 V") << 30000;
    QTest::newRow("exactly on the upper boundary") << 0 << 9.0 << 40000 << QByteArray("Input: 9.00 V") << 30000;
    QTest::newRow("quarter") << 0 << 3.0 << 10000 << QByteArray() << 30000;
    // Input 3 with its own boundaries (0..10 V as 500000..600000 ppm).
    QTest::newRow("third input follows its own volts") << 2 << 5.0 << 22000 << QByteArray() << 22800;
}

void tst_remoteText::analogRemote()
{
    QFETCH(int, input);
    QFETCH(double, volts);
    QFETCH(int, endSteps);
    QFETCH(QByteArray, note);
    QFETCH(int, followSteps);

    analogData analog;
    analog.setLowerBoundary(0, 1000.0, 0, ACTION_STAY);
    analog.setUpperBoundary(0, 9000.0, 1000000, ACTION_STAY);
    // Another input set last must not change input 1's mapping.
    analog.setLowerBoundary(2, 0.0, 500000, ACTION_STAY);
    analog.setUpperBoundary(2, 10000.0, 600000, ACTION_STAY);

    driveRig rig(controllerSim::FAMILY_BERGER_LAHR);
    rig.sim.setSpeed(400000);
    rig.sim.setPosition(12345);
    QVERIFY(rig.startSim());
    rig.startDriver(motorDriver::BergerLahr, &analog);
    QTRY_VERIFY_WITH_TIMEOUT(rig.drv->getMotorPosition() >= 0, WAIT_MS);
    QMetaObject::invokeMethod(rig.drv, "connectRemoteAnalog", Qt::QueuedConnection, Q_ARG(int, input));
    // The other inputs carry 7 V, which would map elsewhere.
    double dblVolts[3] = {7.0, 7.0, 7.0};
    dblVolts[input] = volts;
    QMetaObject::invokeMethod(rig.drv, "onUpdateInputs", Qt::QueuedConnection, Q_ARG(double, dblVolts[0]),
                              Q_ARG(double, dblVolts[1]), Q_ARG(double, dblVolts[2]));
    QTRY_COMPARE_WITH_TIMEOUT(rig.sim.position(), endSteps, WAIT_MS);
    if (!note.isEmpty())
        QTRY_VERIFY_WITH_TIMEOUT(rig.rec.fromPc.contains(note), WAIT_MS);
    else
        QVERIFY(!rig.rec.fromPc.contains("Input:"));

    // Every sample follows; after the disconnect samples move nothing.
    double dblFollow[3] = {0.0, 0.0, 0.0};
    dblFollow[input] = 7.0;
    QMetaObject::invokeMethod(rig.drv, "onUpdateInputs", Qt::QueuedConnection, Q_ARG(double, dblFollow[0]),
                              Q_ARG(double, dblFollow[1]), Q_ARG(double, dblFollow[2]));
    QTRY_COMPARE_WITH_TIMEOUT(rig.sim.position(), followSteps, WAIT_MS);
    QMetaObject::invokeMethod(rig.drv, "disconnectRemoteAnalog", Qt::QueuedConnection);
    QMetaObject::invokeMethod(rig.drv, "onUpdateInputs", Qt::QueuedConnection, Q_ARG(double, 5.0),
                              Q_ARG(double, 0.0), Q_ARG(double, 0.0));
    QVERIFY(rig.drainQueue(WAIT_MS));
    QCOMPARE(rig.sim.position(), followSteps);
}

QTEST_GUILESS_MAIN(tst_remoteText)
#include "tst_remoteText.moc"
