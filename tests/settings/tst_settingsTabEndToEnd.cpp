// The real program, offscreen, against the controller simulator: a setting is
// changed on the Settings page through its widgets (by the driver plugin),
// the tab is left, and the store and the valve drive are checked.
#include "controllerSim.h"
#include "programUnderTest.h"
#include "testWorkDir.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QtTest>

class tst_settingsTabEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void editLeaveAndClose();
};

void tst_settingsTabEndToEnd::editLeaveAndClose()
{
    testWorkDir wd;
    QVERIFY(wd.isValid());
    QVERIFY(QDir(wd.path()).mkpath(QStringLiteral("dev")));
    // The NanoTec controller is on the panel's own UART.
    controllerSim sim(controllerSim::FAMILY_NANOTEC);
    QVERIFY(sim.start(wd.filePath(QStringLiteral("dev/ttyAMA0"))));
    QVERIFY(wd.writeFile(QStringLiteral("dev/ttyUSB1"), QByteArray()));
    QVERIFY(wd.writeFile(QStringLiteral("dev/ttyUSB2"), QByteArray()));
    QVERIFY(wd.writeFile(QStringLiteral("sensor/Pirani.kfxsensor"), "Pirani;Leak rate;mbar l/s;val1*2;exp;;"));
    sim.setPosition(512000);
    {
        QSettings s(QStringLiteral("varnix"), QStringLiteral("Pendrosix"));
        s.setValue(QStringLiteral("motor driver/type"), QStringLiteral("NanoTec"));
        s.setValue(QStringLiteral("motor driver/position"), 500000);
        s.setValue(QStringLiteral("controller/long press time"), 2000);
        s.setValue(QStringLiteral("controller/remote port"), QStringLiteral("ttyUSB1"));
        s.setValue(QStringLiteral("external feedback/sensor name"), QStringLiteral("Pirani"));
        s.setValue(QStringLiteral("external feedback/relative difference new calc"), 0.1);
        s.setValue(QStringLiteral("external feedback/number of retries new calc"), 2);
        s.setValue(QStringLiteral("inputs/input1 type"), 0);
        s.setValue(QStringLiteral("inputs/input2 type"), 1);
        s.setValue(QStringLiteral("inputs/input3 type"), 2);
        s.sync();
    }

    programUnderTest program;
    QVERIFY2(program.start(wd),
             "the program did not start or its driver did not connect");
    QVERIFY2(program.waitReady(), "the main window did not come up");

    QCOMPARE(program.request(QStringLiteral("tab 3")), QStringLiteral("ok 3"));
    QCOMPARE(program.request(QStringLiteral("scope widgetSettings")), QStringLiteral("ok"));

    // Output 1 "Moving" reaches the controller at once, and the store.
    sim.clearReceived();
    QCOMPARE(program.request(QStringLiteral("combo cmbOutput1Config 2")), QStringLiteral("ok 2"));
    QTRY_VERIFY_WITH_TIMEOUT(sim.receivedCommands().contains("#1:port_out_a2"), programUnderTest::nStepTimeoutMs);
    // Clear Error goes to the controller.
    QCOMPARE(program.request(QStringLiteral("click pushBtnClearError")), QStringLiteral("ok checked=0"));
    QTRY_VERIFY_WITH_TIMEOUT(sim.receivedCommands().contains("#1D"), programUnderTest::nStepTimeoutMs);

    // Fields saved only with the page, and a port: taken over when the tab
    // is left.
    QCOMPARE(program.request(QStringLiteral("text lineEditRelativeRecalc 0.35")), QStringLiteral("ok"));
    QCOMPARE(program.request(QStringLiteral("text lineEditRecalcTimes 4")), QStringLiteral("ok"));
    QCOMPARE(program.request(QStringLiteral("combo cmbBoxRemotePort 1")), QStringLiteral("ok 1"));
    QCOMPARE(program.request(QStringLiteral("text lineEditLongPressTime 1200")), QStringLiteral("ok"));
    QCOMPARE(program.request(QStringLiteral("tab 1")), QStringLiteral("ok 1"));
    {
        QSettings s(QStringLiteral("varnix"), QStringLiteral("Pendrosix"));
        s.sync();
        QCOMPARE(s.value(QStringLiteral("outputs/output1 config")).toString(), QStringLiteral("2"));
        QCOMPARE(s.value(QStringLiteral("external feedback/relative difference new calc")).toString(),
                 QStringLiteral("0.35"));
        QCOMPARE(s.value(QStringLiteral("external feedback/number of retries new calc")).toString(),
                 QStringLiteral("4"));
        QCOMPARE(s.value(QStringLiteral("controller/remote port")).toString(), QStringLiteral("ttyUSB2"));
        QCOMPARE(s.value(QStringLiteral("controller/long press time")).toString(), QStringLiteral("1200"));
        QCOMPARE(s.value(QStringLiteral("motor driver/motor port")).toString(), QStringLiteral("ttyAMA0"));
        QCOMPARE(s.value(QStringLiteral("inputs/input2 type")).toString(), QStringLiteral("1"));
        QCOMPARE(s.value(QStringLiteral("external feedback/sensor name")).toString(), QStringLiteral("Pirani"));
        QCOMPARE(s.value(QStringLiteral("external feedback/sensor formula")).toString(), QString());
        // Different values now, so the close below shows what the drive holds.
        s.setValue(QStringLiteral("external feedback/relative difference new calc"), 0.9);
        s.setValue(QStringLiteral("external feedback/number of retries new calc"), 9);
        s.setValue(QStringLiteral("controller/remote port"), QStringLiteral("ttyUSB9"));
        s.sync();
    }

    // Closing stores what the drive holds: the values it took over on leaving.
    QVERIFY(program.quit());
    QSettings s(QStringLiteral("varnix"), QStringLiteral("Pendrosix"));
    s.sync();
    QCOMPARE(s.value(QStringLiteral("external feedback/relative difference new calc")).toDouble(), 0.35);
    QCOMPARE(s.value(QStringLiteral("external feedback/number of retries new calc")).toInt(), 4);
    QCOMPARE(s.value(QStringLiteral("controller/remote port")).toString(), QStringLiteral("ttyUSB2"));
    QVERIFY(program.boxes.filter(QStringLiteral("Invalid")).isEmpty());
}

QTEST_GUILESS_MAIN(tst_settingsTabEndToEnd)
#include "tst_settingsTabEndToEnd.moc"
