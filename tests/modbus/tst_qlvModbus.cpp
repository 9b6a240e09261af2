#include "modbusMaster.h"
#include "ptyEndpoint.h"
#include "remote/qlvModbus.h"
#include "testWorkDir.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include <memory>

// The server with a real, independent master (libmodbus): every test runs
// once over loopback TCP and once as RTU over a pseudo-terminal pair. The
// server lives in the test thread; each request of the master runs on a
// worker thread while the test thread's event loop turns.
class tst_qlvModbus : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<testWorkDir> workDir;
    std::unique_ptr<qlvModbus> server;
    std::unique_ptr<ptyEndpoint> pty;
    modbusMaster master;
    QStringList events;
    int nTcpPort = 0;
    QString strRtuName;

    static int freeTcpPort()
    {
        QTcpServer probe;
        if (!probe.listen(QHostAddress::LocalHost, 0))
            return 0;
        return probe.serverPort();
    }

    static bool tcpPortAccepts(int nPort)
    {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, quint16(nPort));
        return socket.waitForConnected(3000);
    }

    void record(qlvModbus *p)
    {
        connect(p, &qlvModbus::logString, this, [this](const QString &s) { events << "log:" + s; });
        connect(p, &qlvModbus::setPositionMotor, this,
                [this](int n) { events << QStringLiteral("setPositionMotor(%1)").arg(n); });
        connect(p, &qlvModbus::sendStopToMotor, this, [this]() { events << "sendStopToMotor()"; });
        connect(p, &qlvModbus::sendPlusToMotor, this, [this]() { events << "sendPlusToMotor()"; });
        connect(p, &qlvModbus::sendMinusToMotor, this, [this]() { events << "sendMinusToMotor()"; });
        connect(p, &qlvModbus::sendPlusContPressed, this, [this](bool b, int n) {
            events << QStringLiteral("sendPlusContPressed(%1,%2)").arg(b ? "true" : "false").arg(n);
        });
        connect(p, &qlvModbus::sendMinusContPressed, this, [this](bool b, int n) {
            events << QStringLiteral("sendMinusContPressed(%1,%2)").arg(b ? "true" : "false").arg(n);
        });
        connect(p, &qlvModbus::setMotorFeedbackVal, this, [this](int a, int b) {
            events << QStringLiteral("setMotorFeedbackVal(%1,%2)").arg(a).arg(b);
        });
        connect(p, &qlvModbus::stopFeedbackData, this, [this]() { events << "stopFeedbackData()"; });
        connect(p, &qlvModbus::setReceivedMessagePC, this, [this](const QString &s) { events << "pc:" + s; });
        connect(p, &qlvModbus::setReceivedMessageMotor, this,
                [this](const QString &s) { events << "valve:" + s; });
    }

    QString transport() const
    {
        QFETCH_GLOBAL(QString, transport);
        return transport;
    }

    // Starts the server on this row's transport and connects the master.
    bool startServer()
    {
        if (transport() == QLatin1String("tcp")) {
            // Another test may take the probed port before we listen: retry.
            for (int nTry = 0; nTry < 10; ++nTry) {
                nTcpPort = freeTcpPort();
                if (nTcpPort > 0 && server->startTcp(QStringLiteral("127.0.0.1"), nTcpPort))
                    return master.openTcp(nTcpPort);
            }
            return false;
        }
        if (!server->startSerial(strRtuName))
            return false;
        return master.openRtuOnFd(pty->masterFd());
    }

    QVector<quint16> registers(int nAddress, int nCount)
    {
        const modbusMaster::reply r = master.readRegisters(nAddress, nCount);
        return r.ok() ? r.values : QVector<quint16>();
    }
    QVector<quint16> coils()
    {
        const modbusMaster::reply r = master.readBits(0, 8);
        return r.ok() ? r.values : QVector<quint16>();
    }
    QVector<quint16> discreteInputs()
    {
        const modbusMaster::reply r = master.readInputBits(0, 2);
        return r.ok() ? r.values : QVector<quint16>();
    }

private slots:
    void initTestCase_data()
    {
        QTest::addColumn<QString>("transport");
        QTest::newRow("tcp") << QStringLiteral("tcp");
        QTest::newRow("rtu") << QStringLiteral("rtu");
    }

    void initTestCase()
    {
        workDir = std::make_unique<testWorkDir>();
        QVERIFY(workDir->isValid());
        QVERIFY(QDir().mkpath(workDir->filePath("dev")));
        qputenv("VALVE_DEV_DIR", workDir->filePath("dev").toLocal8Bit());
        // No "USB" in the name: the serial source serves RTU whatever the
        // port is called. The pid keeps the port's lock file apart from
        // other tests running at the same time.
        strRtuName = QStringLiteral("ttyMB%1").arg(QCoreApplication::applicationPid());
    }

    void init()
    {
        events.clear();
        server = std::make_unique<qlvModbus>();
        record(server.get());
        if (transport() == QLatin1String("rtu")) {
            pty = std::make_unique<ptyEndpoint>();
            QVERIFY(pty->open());
            QVERIFY(pty->linkAs(workDir->filePath("dev/" + strRtuName)));
        }
        QVERIFY2(startServer(), qPrintable(master.lastError()));
        events.clear();
    }

    void cleanup()
    {
        master.close();
        server.reset();
        pty.reset();
    }

    void startsWithInitialValues()
    {
        QCOMPARE(coils(), QVector<quint16>(8, 0));
        QCOMPARE(discreteInputs(), (QVector<quint16>{1, 0}));
        // No position known yet: "none" rather than a closed valve.
        QCOMPARE(registers(0, 7), (QVector<quint16>{65535, 255, 0, 0, 0, 0, 0}));
        QVERIFY(events.isEmpty());
    }

    void coilWrite_data()
    {
        QTest::addColumn<int>("coil");
        QTest::addColumn<bool>("on");
        QTest::addColumn<QStringList>("expected");
        const QString pc = QStringLiteral("pc:Coils received: ");
        const QStringList emitted{"sendStopToMotor()",
                                  "sendPlusToMotor()",
                                  "sendMinusToMotor()",
                                  "sendPlusContPressed(false,5)",
                                  "sendMinusContPressed(false,5)",
                                  "sendPlusContPressed(false,10)",
                                  "sendMinusContPressed(false,10)"};
        const QStringList names{"Stop", "Plus slow", "Minus slow", "Plus normal",
                                "Minus normal", "Plus fast", "Minus fast"};
        for (int c = 0; c < 7; ++c) {
            QTest::addRow("coil %d = 1", c)
                << c << true
                << QStringList{emitted.at(c), pc + QStringLiteral(" coil %1 set to 1 --> %2\n").arg(c).arg(names.at(c))};
            QTest::addRow("coil %d = 0", c)
                << c << false << QStringList{pc + QStringLiteral(" coil %1 set to 0 --> nothing\n").arg(c)};
        }
        QTest::newRow("coil 7 = 1") << 7 << true
                                    << QStringList{"setMotorFeedbackVal(0,0)", pc + " start feedback loop\n"};
        QTest::newRow("coil 7 = 0 without a loop") << 7 << false << QStringList{pc};
    }
    void coilWrite()
    {
        QFETCH(int, coil);
        QFETCH(bool, on);
        QFETCH(QStringList, expected);
        QVERIFY(master.writeBit(coil, on).ok());
        QCOMPARE(events, expected);
        // Momentary coils read 0 at once; coil 7 keeps what was written.
        QVector<quint16> expectedCoils(8, 0);
        expectedCoils[7] = (coil == 7 && on) ? 1 : 0;
        QCOMPARE(coils(), expectedCoils);
    }

    void repeatedCoilWritesAreNeverLost()
    {
        for (int c = 0; c < 7; ++c) {
            events.clear();
            QVERIFY(master.writeBit(c, true).ok());
            QVERIFY(master.writeBit(c, true).ok());
            QCOMPARE(events.size(), 4);
            QCOMPARE(events.at(0), events.at(2));
            QVERIFY(!events.at(0).startsWith("pc:"));
        }

        // A multiple-coil write interprets only its first coil, but leaves no
        // stray 1 behind in the momentary coils that would swallow the next.
        events.clear();
        QVERIFY(master.writeBits(0, {0, 0, 0, 1, 0, 0, 1, 0}).ok());
        QCOMPARE(events, QStringList{"pc:Coils received:  coil 0 set to 0 --> nothing\n"});
        QCOMPARE(coils(), QVector<quint16>(8, 0));
        events.clear();
        QVERIFY(master.writeBit(3, true).ok());
        QCOMPARE(events.value(0), QStringLiteral("sendPlusContPressed(false,5)"));
    }

    void allCoilsInOneRequest()
    {
        QVERIFY(master.writeBits(0, QVector<quint16>(8, 1)).ok());
        QCOMPARE(events, (QStringList{"sendStopToMotor()", "pc:Coils received:  coil 0 set to 1 --> Stop\n"}));
        // The 1 in coil 7 started no loop; it stays in the register ...
        QCOMPARE(coils(), (QVector<quint16>{0, 0, 0, 0, 0, 0, 0, 1}));
        // ... and a single write of 1 afterwards still starts the loop.
        events.clear();
        QVERIFY(master.writeBit(7, true).ok());
        QCOMPARE(events, (QStringList{"setMotorFeedbackVal(0,0)", "pc:Coils received:  start feedback loop\n"}));
    }

    void feedbackLoop()
    {
        QVERIFY(master.writeRegister(5, 1500).ok());
        QVERIFY(master.writeRegister(6, 2500).ok());
        QCOMPARE(events, (QStringList{
                             "pc:Holding Register received:  register 5 set to 1500 --> Feedback Val1 set to 1500\n",
                             "pc:Holding Register received:  register 6 set to 2500 --> Feedback Val2 set to 2500\n"}));
        events.clear();
        QVERIFY(master.writeBit(7, true).ok());
        QCOMPARE(events, (QStringList{"setMotorFeedbackVal(1500,2500)",
                                      "pc:Coils received:  start feedback loop\n"}));
        QCOMPARE(coils().value(7), quint16(1));

        // Later values wait for the next start; a repeated 1 restarts nothing.
        events.clear();
        QVERIFY(master.writeRegisters(5, {1700, 2700}).ok());
        QVERIFY(master.writeBit(7, true).ok());
        QCOMPARE(events, (QStringList{
                             "pc:Holding Register received:  register 5 set to 1700 --> Feedback Val1 set to 1700\n"
                             " register 6 set to 2700 --> Feedback Val2 set to 2700\n",
                             "pc:Coils received: "}));

        // The Stop itself leaves coil 7 alone: only the drive knows whether
        // its regulation ended, and says so.
        events.clear();
        QVERIFY(master.writeBit(0, true).ok());
        QCOMPARE(events.value(0), QStringLiteral("sendStopToMotor()"));
        QCOMPARE(coils().value(7), quint16(1));
        server->onFeedbackLoopEnded();
        QCOMPARE(coils().value(7), quint16(0));
        // The loop is off: the next 1 starts it, with the values in force,
        // and a cyclic writer's repeated 1 starts nothing more.
        events.clear();
        QVERIFY(master.writeBit(7, true).ok());
        QVERIFY(master.writeBit(7, true).ok());
        QCOMPARE(events, (QStringList{"setMotorFeedbackVal(1700,2700)", "pc:Coils received:  start feedback loop\n",
                                      "pc:Coils received: "}));

        events.clear();
        QVERIFY(master.writeBit(7, false).ok());
        QCOMPARE(events, (QStringList{"stopFeedbackData()", "pc:Coils received:  stop feedback loop\n"}));
        QVERIFY(master.writeBit(7, true).ok());
        QCOMPARE(events.value(2), QStringLiteral("setMotorFeedbackVal(1700,2700)"));

        // Stopping the server ends the loop the master started, once.
        events.clear();
        server->stopCommunicating();
        QCOMPARE(events, QStringList{"stopFeedbackData()"});
        server->stopCommunicating();
        QCOMPARE(events, QStringList{"stopFeedbackData()"});
    }

    void stopWithoutLoopEmitsNothing()
    {
        QVERIFY(master.writeBit(7, true).ok());
        QVERIFY(master.writeBit(7, false).ok());
        events.clear();
        server->stopCommunicating();
        QVERIFY(events.isEmpty());
    }

    void holdingWrite_data()
    {
        QTest::addColumn<int>("address");
        QTest::addColumn<QVector<quint16>>("values");
        QTest::addColumn<QStringList>("expected");
        const QString pc = QStringLiteral("pc:Holding Register received: ");
        QTest::newRow("position 1000000")
            << 0 << QVector<quint16>{16960, 15}
            << QStringList{"log:holdReg written low=16960 igh=15 pos= 1000000\n", "setPositionMotor(1000000)",
                           pc + " register 0 set to 16960 and 1 set to 15 --> Positon set to 1000000\n"};
        QTest::newRow("position -1")
            << 0 << QVector<quint16>{65535, 65535}
            << QStringList{"log:holdReg written low=65535 igh=65535 pos= -1\n", "setPositionMotor(-1)",
                           pc + " register 0 set to 65535 and 1 set to 65535 --> Positon set to -1\n"};
        QTest::newRow("HR0 alone") << 0 << QVector<quint16>{1234} << QStringList{pc + " wrong adderess: 0\n"};
        QTest::newRow("HR1 alone") << 1 << QVector<quint16>{3} << QStringList{pc + " wrong adderess: 1\n"};
        QTest::newRow("three from 0") << 0 << QVector<quint16>{1, 2, 3}
                                      << QStringList{pc + " wrong adderess: 0\n"};
        QTest::newRow("input register") << 3 << QVector<quint16>{777} << QStringList{pc + " wrong adderess: 3\n"};
        QTest::newRow("all three inputs") << 2 << QVector<quint16>{7, 8, 9} << QStringList{pc + " wrong adderess: 2\n"};
        QTest::newRow("HR5") << 5 << QVector<quint16>{1500}
                             << QStringList{pc + " register 5 set to 1500 --> Feedback Val1 set to 1500\n"};
        QTest::newRow("HR6") << 6 << QVector<quint16>{2500}
                             << QStringList{pc + " register 6 set to 2500 --> Feedback Val2 set to 2500\n"};
        QTest::newRow("HR5 and HR6")
            << 5 << QVector<quint16>{1500, 2500}
            << QStringList{pc + " register 5 set to 1500 --> Feedback Val1 set to 1500\n"
                                " register 6 set to 2500 --> Feedback Val2 set to 2500\n"};
    }
    void holdingWrite()
    {
        QFETCH(int, address);
        QFETCH(QVector<quint16>, values);
        QFETCH(QStringList, expected);
        server->setPosition(250000);
        server->setAnalogInputs(10230, 0, 5115);
        events.clear();
        const modbusMaster::reply r = values.size() == 1 ? master.writeRegister(address, values.first())
                                                         : master.writeRegisters(address, values);
        QVERIFY2(r.ok(), qPrintable(master.lastError()));
        QCOMPARE(events, expected);

        // The position registers show the valve again at once (without a
        // pane line: the valve reported nothing new); what the master wrote
        // to the inputs or the feedback values stays.
        QVector<quint16> expectedRegs{53392, 3, 10230, 0, 5115, 0, 0}; // 250000 = 3 * 65536 + 53392
        for (int i = 0; i < values.size(); ++i)
            if (address + i >= 2)
                expectedRegs[address + i] = values.at(i);
        QCOMPARE(registers(0, 7), expectedRegs);

        // The inputs written by a master hold until the next sample.
        server->setAnalogInputs(1, 2, 3);
        QCOMPARE(registers(2, 3), (QVector<quint16>{1, 2, 3}));
    }

    void illegalAddresses_data()
    {
        QTest::addColumn<QString>("request");
        QTest::newRow("read coil 8") << "readBits 8";
        QTest::newRow("read coils 0..8") << "readBits 0 9";
        QTest::newRow("write coil 8") << "writeBit 8";
        QTest::newRow("read discrete input 2") << "readInputBits 2";
        QTest::newRow("read holding register 7") << "readRegisters 7";
        QTest::newRow("write holding register 7") << "writeRegister 7";
        QTest::newRow("write holding registers 6..7") << "writeRegisters 6";
        QTest::newRow("read input register 0") << "readInputRegisters 0";
    }
    void illegalAddresses()
    {
        QFETCH(QString, request);
        const QStringList parts = request.split(' ');
        const int address = parts.at(1).toInt();
        const int count = parts.size() > 2 ? parts.at(2).toInt() : 1;
        modbusMaster::reply r;
        if (parts.at(0) == "readBits")
            r = master.readBits(address, count);
        else if (parts.at(0) == "writeBit")
            r = master.writeBit(address, true);
        else if (parts.at(0) == "readInputBits")
            r = master.readInputBits(address, count);
        else if (parts.at(0) == "readRegisters")
            r = master.readRegisters(address, count);
        else if (parts.at(0) == "writeRegister")
            r = master.writeRegister(address, 1);
        else if (parts.at(0) == "writeRegisters")
            r = master.writeRegisters(address, {1, 2});
        else
            r = master.readInputRegisters(address, count);
        QVERIFY(r.bDone);
        QVERIFY2(r.isException(2), qPrintable(master.lastError()));
        QVERIFY(events.isEmpty());
        // The refused write changed nothing.
        QCOMPARE(registers(5, 2), (QVector<quint16>{0, 0}));
    }

    void publishing()
    {
        server->setPosition(1000000);
        QCOMPARE(events, QStringList{"valve:Position set to: 1000000"});
        QCOMPARE(registers(0, 2), (QVector<quint16>{16960, 15}));
        server->setPosition(-1);
        QCOMPARE(registers(0, 2), (QVector<quint16>{65535, 255}));

        events.clear();
        server->setAnalogInputs(10230, 0, 70000);
        QCOMPARE(events, QStringList{"valve:I1 set: 10230\nI2 set: 0\nI3 set: 70000"});
        QCOMPARE(registers(2, 3), (QVector<quint16>{10230, 0, 4464}));

        events.clear();
        server->onReachedDataPoint();
        QCOMPARE(discreteInputs(), (QVector<quint16>{1, 1}));
        server->onNotReachedDataPoint();
        QCOMPARE(discreteInputs(), (QVector<quint16>{1, 0}));
        QVERIFY(events.isEmpty());
    }

    void restartPublishesKnownPosition()
    {
        // A position told before the start is in the registers right away.
        master.close();
        server->stopCommunicating();
        server->setPosition(1000000);
        QVERIFY(events.isEmpty());
        events.clear();
        QVERIFY2(startServer(), qPrintable(master.lastError()));
        QVERIFY(events.contains("valve:Position set to: 1000000"));
        QCOMPARE(registers(0, 2), (QVector<quint16>{16960, 15}));

        // A second start replaces the server: registers and feedback values
        // start over, the last known position is published again.
        QVERIFY(master.writeRegister(5, 900).ok());
        QVERIFY(master.writeBit(7, true).ok());
        master.close();
        events.clear();
        QVERIFY2(startServer(), qPrintable(master.lastError()));
        QCOMPARE(events, QStringList{"valve:Position set to: 1000000"});
        QCOMPARE(registers(0, 7), (QVector<quint16>{16960, 15, 0, 0, 0, 0, 0}));
        QCOMPARE(coils(), QVector<quint16>(8, 0));
        // The replaced server ended no loop; the next start of the loop
        // takes the new (zero) feedback values.
        QVERIFY(!events.contains("stopFeedbackData()"));
        events.clear();
        QVERIFY(master.writeBit(7, true).ok());
        QCOMPARE(events.value(0), QStringLiteral("setMotorFeedbackVal(0,0)"));

        // After a stop the old position is forgotten: never published stale.
        master.close();
        server->stopCommunicating();
        QVERIFY2(startServer(), qPrintable(master.lastError()));
        QCOMPARE(registers(0, 2), (QVector<quint16>{65535, 255}));
    }

    void stoppedServerIgnoresPublishing()
    {
        // The master stays connected: the stop drops it at once.
        server->stopCommunicating();
        events.clear();
        server->setPosition(5);
        server->setAnalogInputs(1, 2, 3);
        server->onReachedDataPoint();
        server->onNotReachedDataPoint();
        QVERIFY(events.isEmpty());
        if (transport() == QLatin1String("tcp")) {
            const modbusMaster::reply r = master.readBits(0, 8);
            QVERIFY(r.bDone);
            QVERIFY(!r.ok());
            QVERIFY(!tcpPortAccepts(nTcpPort));
        }
    }

    void servesFromItsOwnThread()
    {
        // As in the program: the server lives in the motor thread and the
        // master's requests are answered there.
        master.close();
        server.reset();
        QThread motorThread;
        auto *pThreaded = new qlvModbus();
        pThreaded->moveToThread(&motorThread);
        connect(&motorThread, &QThread::finished, pThreaded, &QObject::deleteLater);
        QStringList received;
        connect(pThreaded, &qlvModbus::setPositionMotor, this,
                [&received](int n) { received << QString::number(n); });
        motorThread.start();

        bool bStarted = false;
        const bool bTcp = transport() == QLatin1String("tcp");
        for (int nTry = 0; nTry < 10 && !bStarted; ++nTry) {
            const int nPort = freeTcpPort();
            QMetaObject::invokeMethod(
                pThreaded,
                [&, nPort]() {
                    bStarted = bTcp ? pThreaded->startTcp(QStringLiteral("127.0.0.1"), nPort)
                                    : pThreaded->startSerial(strRtuName);
                },
                Qt::BlockingQueuedConnection);
            if (bStarted)
                QVERIFY(bTcp ? master.openTcp(nPort) : master.openRtuOnFd(pty->masterFd()));
        }
        QVERIFY(bStarted);
        QMetaObject::invokeMethod(pThreaded, [pThreaded]() { pThreaded->setPosition(1000000); },
                                  Qt::BlockingQueuedConnection);
        QCOMPARE(registers(0, 2), (QVector<quint16>{16960, 15}));
        QVERIFY(master.writeRegisters(0, {41248, 7}).ok());
        QTRY_COMPARE_WITH_TIMEOUT(received, QStringList{"500000"}, 10000);
        QCOMPARE(registers(0, 2), (QVector<quint16>{16960, 15}));

        master.close();
        QMetaObject::invokeMethod(pThreaded, [pThreaded]() { pThreaded->stopCommunicating(); },
                                  Qt::BlockingQueuedConnection);
        motorThread.quit();
        QVERIFY(motorThread.wait(30000));
    }

    void tcpRefusals_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<int>("port");
        QTest::addColumn<bool>("nameBased");
        QTest::newRow("host name") << "localhost" << -1 << false;
        QTest::newRow("empty address") << "" << -1 << false;
        QTest::newRow("port 0") << "127.0.0.1" << 0 << false;
        QTest::newRow("port above 65535") << "127.0.0.1" << 65536 << false;
        QTest::newRow("serial name without USB") << "ttyAMA0" << 0 << true;
    }
    void tcpRefusals()
    {
        if (transport() != QLatin1String("tcp"))
            QSKIP("TCP only");
        QFETCH(QString, address);
        QFETCH(int, port);
        QFETCH(bool, nameBased);
        master.close();
        const int nListenPort = port < 0 ? nTcpPort : port;
        const bool bStarted = nameBased ? server->startCommunicating(address, nListenPort)
                                        : server->startTcp(address, nListenPort);
        QVERIFY(!bStarted);
        QCOMPARE(events.size(), 1);
        QVERIFY(events.at(0).startsWith("log:Modbus TCP not started: "));
        // The pane gets the same text, also when the drive joins us after the start.
        QTRY_COMPARE_WITH_TIMEOUT(events.size(), 2, 10000);
        QCOMPARE(events.at(1).mid(3), events.at(0).mid(4));
        // The replaced server is gone and nothing listens on any interface.
        QVERIFY(!tcpPortAccepts(nTcpPort));
    }

    void restartOnSamePort()
    {
        if (transport() != QLatin1String("tcp"))
            QSKIP("TCP only");
        master.close();
        server->stopCommunicating();
        QVERIFY(server->startTcp(QStringLiteral("127.0.0.1"), nTcpPort));
        QVERIFY(master.openTcp(nTcpPort));
        QCOMPARE(discreteInputs(), (QVector<quint16>{1, 0}));
    }

    void serialByName()
    {
        if (transport() != QLatin1String("rtu"))
            QSKIP("RTU only");
        // The name-based entry still serves RTU on a port named like "ttyUSB1".
        master.close();
        const QString strUsbName = QStringLiteral("ttyUSBmb%1").arg(QCoreApplication::applicationPid());
        QVERIFY(pty->linkAs(workDir->filePath("dev/" + strUsbName)));
        QVERIFY(server->startCommunicating(strUsbName, 0));
        QVERIFY(master.openRtuOnFd(pty->masterFd()));
        QCOMPARE(discreteInputs(), (QVector<quint16>{1, 0}));
        QFile::remove(workDir->filePath("dev/" + strUsbName));
    }

    void deviceErrorIsReported()
    {
        if (transport() != QLatin1String("rtu"))
            QSKIP("RTU only");
        master.close();
        events.clear();
        QVERIFY(!server->startSerial(QStringLiteral("ttyMissing")));
        // Each error the device reports goes to the log at once and, with the
        // same text, to the master's-side pane.
        const auto texts = [this](const QString &strPrefix) {
            QStringList out;
            for (const QString &strEvent : qAsConst(events))
                if (strEvent.startsWith(strPrefix))
                    out << strEvent.mid(strPrefix.size());
            return out;
        };
        QVERIFY(!texts("log:").isEmpty());
        QVERIFY(!texts("log:").contains(QString()));
        QTRY_COMPARE_WITH_TIMEOUT(texts("pc:"), texts("log:"), 10000);
    }
};

QTEST_GUILESS_MAIN(tst_qlvModbus)
#include "tst_qlvModbus.moc"
