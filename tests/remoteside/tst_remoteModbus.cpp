// The Modbus server as the drive runs it: started, joined and stopped by
// motorDriver in its motor thread, with an independent libmodbus master over
// loopback TCP and over a pseudo-terminal pair (RTU, 19200 8E1), and the
// controller simulator behind the drive.
#include "modbusMaster.h"
#include "remoteClient.h"
#include "driveRig.h"

#include "plantModel.h"
#include "ptyEndpoint.h"
#include "testWorkDir.h"
#include "valve/lvTeachIn.h"

#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QtTest>

namespace {
constexpr int WAIT_MS = 20000;
constexpr int ILLEGAL_DATA_ADDRESS = 2;

// ppm from HR0 (bits 0-15) and HR1 (bits 16-23).
int positionOf(const QVector<quint16> &regs)
{
    return int(regs.value(0)) | (int(regs.value(1)) << 16);
}
} // namespace

class tst_remoteModbus : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void tcpMasterDrivesTheValve();
    void rtuFeedbackLoopEndsWithTheDisconnect();
    void loopRestartsAfterItEnded_data();
    void loopRestartsAfterItEnded();
    void mastersWriteToTheValveRegisters();
    void ethernetRefusesWhatItCannotServe_data();
    void ethernetRefusesWhatItCannotServe();

private:
    static bool connectTcpMaster(modbusMaster &master, quint16 nPort);
};

void tst_remoteModbus::initTestCase()
{
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
}

bool tst_remoteModbus::connectTcpMaster(modbusMaster &master, quint16 nPort)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < WAIT_MS) {
        if (master.openTcp(nPort))
            return true;
        QTest::qWait(50);
    }
    return false;
}

void tst_remoteModbus::tcpMasterDrivesTheValve()
{
    driveRig rig(controllerSim::FAMILY_BERGER_LAHR);
    rig.sim.setSpeed(400000);
    rig.sim.setPosition(20000);
    QVERIFY(rig.startSim());
    rig.startDriver(motorDriver::BergerLahr);
    QTRY_COMPARE_WITH_TIMEOUT(rig.drv->getMotorPosition(), 500000, WAIT_MS);

    const quint16 nPort = freeLoopbackPort();
    QMetaObject::invokeMethod(rig.drv, "connectRemoteEthernet", Qt::QueuedConnection, Q_ARG(int, 2),
                              Q_ARG(QString, QStringLiteral("127.0.0.1")), Q_ARG(int, int(nPort)));
    modbusMaster master;
    QVERIFY2(connectTcpMaster(master, nPort), qPrintable(master.lastError()));

    // The position is there from the start: 500000 ppm.
    modbusMaster::reply r = master.readRegisters(0, 7);
    QVERIFY(r.ok());
    QCOMPARE(positionOf(r.values), 500000);
    QTRY_VERIFY_WITH_TIMEOUT(rig.rec.fromMotor.contains("Position set to: 500000"), WAIT_MS);

    // A position written as HR0 = 16960, HR1 = 15 opens the valve fully, and
    // the registers follow the valve.
    QVERIFY(master.writeRegisters(0, {16960, 15}).ok());
    QTRY_COMPARE_WITH_TIMEOUT(rig.sim.position(), 40000, WAIT_MS);
    QTRY_COMPARE_WITH_TIMEOUT(positionOf(master.readRegisters(0, 2).values), 1000000, WAIT_MS);
    QCOMPARE(master.readRegisters(0, 2).values, (QVector<quint16>{16960, 15}));
    QTRY_VERIFY_WITH_TIMEOUT(rig.rec.fromPc.contains("Holding Register received:  register 0 set to 16960 and 1 "
                                                     "set to 15 --> Positon set to 1000000\n"),
                             WAIT_MS);
    QTRY_VERIFY_WITH_TIMEOUT(rig.rec.logLines.join(QString()).contains(QLatin1String("holdReg written")), WAIT_MS);

    // Momentary coils reach the controller, each write counts, and they read
    // back 0 at once.
    for (int i = 0; i < 2; ++i) {
        const int nBefore = rig.sim.countOf("m");
        QVERIFY(master.writeBit(2, true).ok());
        QTRY_COMPARE_WITH_TIMEOUT(rig.sim.countOf("m"), nBefore + 1, WAIT_MS);
        QCOMPARE(master.readBits(0, 8).values, QVector<quint16>(8, 0));
    }
    QTRY_COMPARE_WITH_TIMEOUT(rig.sim.position(), 39998, WAIT_MS);
    QVERIFY(master.writeBit(1, true).ok());
    QTRY_COMPARE_WITH_TIMEOUT(rig.sim.countOf("p"), 1, WAIT_MS);
    QVERIFY(master.writeBit(0, true).ok());
    QTRY_VERIFY_WITH_TIMEOUT(rig.sim.countOf("h") == 1, WAIT_MS);
    QTRY_VERIFY_WITH_TIMEOUT(rig.rec.fromPc.contains("Coils received:  coil 0 set to 1 --> Stop\n"), WAIT_MS);

    // The inputs as the master sees them.
    QMetaObject::invokeMethod(rig.drv, "onUpdateInputs", Qt::QueuedConnection, Q_ARG(double, 2.5),
                              Q_ARG(double, 0.0), Q_ARG(double, 10.0));
    QTRY_COMPARE_WITH_TIMEOUT(master.readRegisters(2, 3).values, (QVector<quint16>{2557, 0, 10230}), WAIT_MS);
    QTRY_VERIFY_WITH_TIMEOUT(rig.rec.fromMotor.contains("I1 set: 2557\nI2 set: 0\nI3 set: 10230"), WAIT_MS);

    // Outside the map: exception 02.
    QVERIFY(master.readRegisters(7, 1).isException(ILLEGAL_DATA_ADDRESS));
    QVERIFY(master.readBits(8, 1).isException(ILLEGAL_DATA_ADDRESS));

    // The disconnect stops the server: the master is dropped and nothing
    // listens any more.
    QMetaObject::invokeMethod(rig.drv, "disconnectRemoteEhternet", Qt::BlockingQueuedConnection);
    QVERIFY(!master.readRegisters(0, 2).ok());
    modbusMaster late;
    QVERIFY(!late.openTcp(nPort));
    // Not in the Modbus mode any more: the inputs go nowhere.
    const int nAnalog = rig.rec.analogForModbus.size();
    QMetaObject::invokeMethod(rig.drv, "onUpdateInputs", Qt::BlockingQueuedConnection, Q_ARG(double, 1.0),
                              Q_ARG(double, 1.0), Q_ARG(double, 1.0));
    QCOMPARE(rig.rec.analogForModbus.size(), nAnalog);
}

void tst_remoteModbus::rtuFeedbackLoopEndsWithTheDisconnect()
{
    testWorkDir work;
    QVERIFY(plantModel::writeTeachIn(work, QStringLiteral("plant")));
    lvTeachIn teach;
    QVERIFY(teach.readTeachInFromFile(QStringLiteral("plant")));

    driveRig rig(controllerSim::FAMILY_BERGER_LAHR);
    rig.sim.setSpeed(400000);
    rig.sim.setPosition(20000);
    // The PC port's name holds no "USB": the USB source serves RTU all the same.
    ptyEndpoint pcPort;
    QVERIFY(pcPort.open());
    QVERIFY(pcPort.linkAs(rig.devPath(QStringLiteral("ttyS5"))));
    QVERIFY(rig.startSim());
    rig.startDriver(motorDriver::BergerLahr, nullptr, &teach);
    rig.drv->setRemotePort(QStringLiteral("ttyS5"));
    QTRY_COMPARE_WITH_TIMEOUT(rig.drv->getMotorPosition(), 500000, WAIT_MS);
    QMetaObject::invokeMethod(rig.drv, "connectRemoteUSB", Qt::BlockingQueuedConnection, Q_ARG(int, 2));

    modbusMaster master;
    QVERIFY(master.openRtuOnFd(pcPort.masterFd()));
    // The serial start publishes the position too.
    QCOMPARE(positionOf(master.readRegisters(0, 2).values), 500000);
    QCOMPARE(master.readInputBits(0, 2).values, (QVector<quint16>{1, 0}));

    // The loop: 5000 mV and 5000 mV are the set value 5.0 of the formula
    // "val1"; the teach-in sends the valve to 700000 ppm.
    QVERIFY(master.writeRegisters(5, {5000, 5000}).ok());
    QVERIFY(master.writeBit(7, true).ok());
    QTRY_VERIFY_WITH_TIMEOUT(rig.rec.measurement.contains(true), WAIT_MS);
    QTRY_COMPARE_WITH_TIMEOUT(rig.sim.position(), 28000, WAIT_MS);
    QCOMPARE(master.readBits(7, 1).values, QVector<quint16>{1});

    // The reached flag follows the samples.
    const auto sample = [&rig](double v1) {
        QMetaObject::invokeMethod(rig.drv, "onGetAnalogValue", Qt::QueuedConnection, Q_ARG(double, v1),
                                  Q_ARG(double, 5.0), Q_ARG(double, 0.0), Q_ARG(int, 0), Q_ARG(int, 1));
    };
    sample(5.01);
    QTRY_COMPARE_WITH_TIMEOUT(rig.rec.nReached, 1, WAIT_MS);
    QCOMPARE(master.readInputBits(1, 1).values, QVector<quint16>{1});
    sample(4.0);
    QTRY_COMPARE_WITH_TIMEOUT(rig.rec.nNotReached, 1, WAIT_MS);
    QCOMPARE(master.readInputBits(1, 1).values, QVector<quint16>{0});

    // Disconnecting stops the server first, so the loop the master started
    // ends in the drive as well.
    QMetaObject::invokeMethod(rig.drv, "disconnectRemoteUSB", Qt::BlockingQueuedConnection);
    QTRY_COMPARE_WITH_TIMEOUT(rig.rec.measurement.last(), false, WAIT_MS);
    QVERIFY(!master.readRegisters(0, 1).ok());

    // The drive keeps no connection to the stopped server: a later regulation
    // sample reaches no register and the valve is polled as usual again.
    const int nPolls = rig.sim.countOf("s");
    QTRY_VERIFY_WITH_TIMEOUT(rig.sim.countOf("s") > nPolls + 2, WAIT_MS);
}

void tst_remoteModbus::loopRestartsAfterItEnded_data()
{
    QTest::addColumn<QString>("end");
    QTest::newRow("master's Stop (coil 0)") << QStringLiteral("coil 0");
    QTest::newRow("status strip's Stop") << QStringLiteral("onMotorHalt");
    QTest::newRow("script ends the step") << QStringLiteral("onStopFeedback");
}

void tst_remoteModbus::loopRestartsAfterItEnded()
{
    QFETCH(QString, end);
    testWorkDir work;
    QVERIFY(plantModel::writeTeachIn(work, QStringLiteral("plant")));
    lvTeachIn teach;
    QVERIFY(teach.readTeachInFromFile(QStringLiteral("plant")));

    driveRig rig(controllerSim::FAMILY_BERGER_LAHR);
    rig.sim.setSpeed(400000);
    rig.sim.setPosition(20000);
    QVERIFY(rig.startSim());
    rig.startDriver(motorDriver::BergerLahr, nullptr, &teach);
    QTRY_COMPARE_WITH_TIMEOUT(rig.drv->getMotorPosition(), 500000, WAIT_MS);
    const quint16 nPort = freeLoopbackPort();
    QMetaObject::invokeMethod(rig.drv, "connectRemoteEthernet", Qt::QueuedConnection, Q_ARG(int, 2),
                              Q_ARG(QString, QStringLiteral("127.0.0.1")), Q_ARG(int, int(nPort)));
    modbusMaster master;
    QVERIFY2(connectTcpMaster(master, nPort), qPrintable(master.lastError()));

    // The loop at the set value of 5000 mV / 5000 mV: the teach-in sends the
    // valve to 28000 steps.
    QVERIFY(master.writeRegisters(5, {5000, 5000}).ok());
    QVERIFY(master.writeBit(7, true).ok());
    QTRY_COMPARE_WITH_TIMEOUT(rig.sim.position(), 28000, WAIT_MS);
    QCOMPARE(rig.sim.countOf("g28000"), 1);

    // A master that writes coil 7 = 1 cyclically does not restart the
    // running loop: the valve, moved away meanwhile, stays where it is.
    QVERIFY(master.writeRegisters(0, {41248, 7}).ok());   // 500000 ppm
    QTRY_COMPARE_WITH_TIMEOUT(rig.sim.position(), 20000, WAIT_MS);
    QVERIFY(master.writeBit(7, true).ok());
    QVERIFY(rig.drainQueue(WAIT_MS));
    QCOMPARE(rig.sim.countOf("g28000"), 1);
    QCOMPARE(rig.rec.measurement.count(true), 1);
    QCOMPARE(master.readBits(7, 1).values, QVector<quint16>{1});

    // The loop ends elsewhere: coil 7 reads 0 once it is off.
    if (end == QLatin1String("coil 0")) {
        QVERIFY(master.writeBit(0, true).ok());
        QTRY_COMPARE_WITH_TIMEOUT(rig.sim.countOf("h"), 1, WAIT_MS);
    } else {
        QMetaObject::invokeMethod(rig.drv, end.toLatin1().constData(), Qt::BlockingQueuedConnection);
    }
    QTRY_COMPARE_WITH_TIMEOUT(rig.rec.measurement.last(), false, WAIT_MS);
    QCOMPARE(master.readBits(7, 1).values, QVector<quint16>{0});

    // One write of 1 starts it again, with the values in force: the valve
    // goes back to the set value's position.
    QVERIFY(master.writeBit(7, true).ok());
    QTRY_COMPARE_WITH_TIMEOUT(rig.sim.countOf("g28000"), 2, WAIT_MS);
    QTRY_COMPARE_WITH_TIMEOUT(rig.sim.position(), 28000, WAIT_MS);
    QCOMPARE(rig.rec.measurement.count(true), 2);
    QCOMPARE(master.readBits(7, 1).values, QVector<quint16>{1});
    QMetaObject::invokeMethod(rig.drv, "disconnectRemoteEhternet", Qt::BlockingQueuedConnection);
}

void tst_remoteModbus::mastersWriteToTheValveRegisters()
{
    driveRig rig(controllerSim::FAMILY_BERGER_LAHR);
    rig.sim.setPosition(20000);
    QVERIFY(rig.startSim());
    rig.startDriver(motorDriver::BergerLahr);
    QTRY_COMPARE_WITH_TIMEOUT(rig.drv->getMotorPosition(), 500000, WAIT_MS);
    const quint16 nPort = freeLoopbackPort();
    QMetaObject::invokeMethod(rig.drv, "connectRemoteEthernet", Qt::QueuedConnection, Q_ARG(int, 2),
                              Q_ARG(QString, QStringLiteral("127.0.0.1")), Q_ARG(int, int(nPort)));
    modbusMaster master;
    QVERIFY2(connectTcpMaster(master, nPort), qPrintable(master.lastError()));
    QMetaObject::invokeMethod(rig.drv, "onUpdateInputs", Qt::QueuedConnection, Q_ARG(double, 1.0),
                              Q_ARG(double, 2.0), Q_ARG(double, 3.0));
    QTRY_COMPARE_WITH_TIMEOUT(master.readRegisters(2, 3).values, (QVector<quint16>{1023, 2046, 3069}), WAIT_MS);
    QTRY_VERIFY_WITH_TIMEOUT(rig.rec.fromMotor.contains("Position set to: 500000"), WAIT_MS);

    // HR2..HR4 written by the master read back unchanged until the next
    // sample publishes the inputs.
    QVERIFY(master.writeRegisters(2, {7, 8, 9}).ok());
    QTRY_VERIFY_WITH_TIMEOUT(rig.rec.fromPc.contains(" wrong adderess: 2\n"), WAIT_MS);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(master.readRegisters(2, 3).values, (QVector<quint16>{7, 8, 9}));
    QMetaObject::invokeMethod(rig.drv, "onUpdateInputs", Qt::QueuedConnection, Q_ARG(double, 4.0),
                              Q_ARG(double, 5.0), Q_ARG(double, 6.0));
    QTRY_COMPARE_WITH_TIMEOUT(master.readRegisters(2, 3).values, (QVector<quint16>{4092, 5115, 6138}), WAIT_MS);

    // A stray write to HR0 reads back as the valve's position at once, and
    // the valve's-side pane gets no line for it: the valve reported nothing.
    QVERIFY(rig.drainQueue(WAIT_MS));
    const int nPositionLines = rig.rec.fromMotor.count("Position set to:");
    QVERIFY(master.writeRegister(0, 1234).ok());
    QCOMPARE(master.readRegisters(0, 2).values, (QVector<quint16>{41248, 7}));
    QTRY_VERIFY_WITH_TIMEOUT(rig.rec.fromPc.contains(" wrong adderess: 0\n"), WAIT_MS);
    QVERIFY(rig.drainQueue(WAIT_MS));
    QCOMPARE(rig.rec.fromMotor.count("Position set to:"), nPositionLines);
    QCOMPARE(rig.sim.position(), 20000);
    QMetaObject::invokeMethod(rig.drv, "disconnectRemoteEhternet", Qt::BlockingQueuedConnection);
}

void tst_remoteModbus::ethernetRefusesWhatItCannotServe_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("port");
    QTest::addColumn<QByteArray>("message");
    // -1: a free port on 127.0.0.1.
    QTest::newRow("host name") << "localhost" << -1 << QByteArray("is not an IP address");
    QTest::newRow("empty address") << "" << -1 << QByteArray("is not an IP address");
    QTest::newRow("port 0") << "127.0.0.1" << 0 << QByteArray("port 0 is not in 1..65535");
    QTest::newRow("port too large") << "127.0.0.1" << 70000 << QByteArray("port 70000 is not in 1..65535");
}

void tst_remoteModbus::ethernetRefusesWhatItCannotServe()
{
    QFETCH(QString, address);
    QFETCH(int, port);
    QFETCH(QByteArray, message);
    const quint16 nFree = freeLoopbackPort();
    if (port == -1)
        port = nFree;
    driveRig rig(controllerSim::FAMILY_BERGER_LAHR);
    QVERIFY(rig.startSim());
    rig.startDriver(motorDriver::BergerLahr);
    QMetaObject::invokeMethod(rig.drv, "connectRemoteEthernet", Qt::QueuedConnection, Q_ARG(int, 2),
                              Q_ARG(QString, address), Q_ARG(int, port));
    QTRY_VERIFY_WITH_TIMEOUT(rig.rec.fromPc.contains(message), WAIT_MS);
    QVERIFY(rig.rec.logLines.join(QString()).contains(QString::fromLatin1(message)));
    modbusMaster master;
    QVERIFY(!master.openTcp(nFree));
    QMetaObject::invokeMethod(rig.drv, "disconnectRemoteEhternet", Qt::BlockingQueuedConnection);
}

QTEST_GUILESS_MAIN(tst_remoteModbus)
#include "tst_remoteModbus.moc"
