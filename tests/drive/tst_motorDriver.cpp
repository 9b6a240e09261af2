// motorDriver without a controller, step by step in one thread (driverProbe):
// the reply handling, the motion slots and the status text.
#include "valve/motorDriver.h"

#include "driverProbe.h"
#include "testWorkDir.h"

#include <QLoggingCategory>
#include <QtTest>

class tst_motorDriver : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QLoggingCategory::setFilterRules(QStringLiteral("valve.*.debug=false"));
    }

    void typeIsRegisteredByName()
    {
        const QMetaObject &mo = motorDriver::staticMetaObject;
        const QMetaEnum e = mo.enumerator(mo.indexOfEnumerator("motorDriverType"));
        QVERIFY(e.isValid());
        QCOMPARE(e.keyToValue("BergerLahr"), 0);
        QCOMPARE(e.keyToValue("NanoTec"), 1);
        QCOMPARE(e.keyToValue("Remote"), 2);
        QCOMPARE(e.keyToValue(""), -1);
    }

    void portThatFailsShowsOnlyThat()
    {
        driverProbe p(motorDriver::BergerLahr);
        QCOMPARE(p.tick(), QStringLiteral("Motor Port Not Open"));
        QCOMPARE(p.takeQueued(), QStringList{"s\r"});
        // Emitted once, not on every tick.
        QVERIFY(p.tick().isNull());
        QVERIFY(p.tick().isNull());
        QCOMPARE(p.statusTexts.size(), 1);
        QCOMPARE(p.drv.getMotorPort(), QStringLiteral("/nonexistent/ttyUSB0"));
    }

    void bergerLahrStatusReply()
    {
        driverProbe p(motorDriver::BergerLahr);
        p.tick();
        p.reply("IP100\r");
        QCOMPARE(p.positions, QList<int>{2500});
        QCOMPARE(p.stepPositions, QList<int>{2500});
        QCOMPARE(p.nPosAndSteps, 1);
        QCOMPARE(p.status(), QStringLiteral("Motor Port Not Open\nWaiting for Command\nLimit Switch (LS) Reached"));
        // A changed position queues the status query that follows the move.
        QCOMPARE(p.takeQueued(), (QStringList{"s\r", "s\r"}));
        p.reply("RP100\r");
        // Same position: no signal, no extra query.
        QCOMPARE(p.positions.size(), 1);
        QVERIFY(p.takeQueued().isEmpty());
        QCOMPARE(p.status(), QStringLiteral("Motor Port Not Open\nWaiting for Command"));
        QCOMPARE(p.nPosAndSteps, 1);
    }

    void tickPollsAreShownInDebugMode()
    {
        driverProbe p(motorDriver::BergerLahr);
        p.reply("RP20000\r");
        p.reply("RP20000\r");
        p.takeQueued();
        p.tick();
        QCOMPARE(p.takeQueued(), QStringList{"s\r"});
    }

    void splitReadIsTakenWhole()
    {
        driverProbe p(motorDriver::BergerLahr);
        p.reply("IP12");
        QVERIFY(p.positions.isEmpty());
        p.reply("345\r");
        QCOMPARE(p.positions, QList<int>{308625});
        QCOMPARE(p.drv.getEncoderSteps(), 12345);
    }

    void onlyTheCompletingLineCarriesThePosition()
    {
        driverProbe p(motorDriver::BergerLahr);
        p.reply("RP20000\r"); // the start-up query
        p.reply("RP20000\r"); // the query that follows a new position
        p.drv.setMotorCommand("p\rs\r", false);
        p.reply("RP5\r"); // first of two lines: counts, carries nothing
        QCOMPARE(p.positions, QList<int>{500000});
        p.reply("RP20001\r");
        QCOMPARE(p.positions, (QList<int>{500000, 500025}));
        p.reply("RP20001\r");
        // Both lines in one read.
        p.drv.setMotorCommand("p\rs\r", false);
        p.reply("p\rRP20002\r");
        QCOMPARE(p.positions, (QList<int>{500000, 500025, 500050}));
    }

    void travelIsCounted()
    {
        driverProbe p(motorDriver::BergerLahr);
        p.drv.setTotalSteps(1000);
        p.reply("RP20000\r"); // the first position adds nothing
        QCOMPARE(p.drv.getTotalSteps(), qint64(1000));
        p.reply("RP30000\r");
        QCOMPARE(p.drv.getTotalSteps(), qint64(251000));
        p.reply("RP10000\r");
        QCOMPARE(p.drv.getTotalSteps(), qint64(751000));
        // A forced position moves nothing.
        p.drv.forceMotorPosition(900000, true);
        QCOMPARE(p.drv.getTotalSteps(), qint64(751000));
    }

    void nanoTecPositionSigns_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("steps");
        QTest::addColumn<int>("ppm");
        QTest::newRow("minus is open side") << QByteArray("1I-5000\r") << 5000 << 4882;
        QTest::newRow("plus is below closed") << QByteArray("1I+5000\r") << -5000 << -4882;
        QTest::newRow("full") << QByteArray("1I-1024000\r") << 1024000 << 1000000;
        QTest::newRow("no number counts as 0") << QByteArray("1I-x\r") << 0 << 0;
    }
    void nanoTecPositionSigns()
    {
        QFETCH(QByteArray, line);
        driverProbe p(motorDriver::NanoTec);
        p.drv.setMotorCommand("#1I\r", false);
        p.reply(line);
        QTEST(p.drv.getEncoderSteps(), "steps");
        QTEST(p.drv.getMotorPosition(), "ppm");
        QFETCH(int, ppm);
        QCOMPARE(p.positions, QList<int>{ppm});
        // "?" changes nothing.
        p.drv.setMotorCommand("#1I\r", false);
        p.reply("1I+?\r");
        QTEST(p.drv.getEncoderSteps(), "steps");
        QCOMPARE(p.positions.size(), 1);
    }

    void nanoTecPositionsReadNeedsBothKinds()
    {
        driverProbe p(motorDriver::NanoTec);
        for (int i = 0; i < 4; ++i)
            p.drv.setMotorCommand("#1$\r", false);
        p.reply("1I-5000\r");
        QCOMPARE(p.nPosAndSteps, 0);
        p.reply("1C-5100\r");
        QCOMPARE(p.nPosAndSteps, 1);
        QCOMPARE(p.stepPositions, QList<int>{4980});
        p.reply("1C-5200\r");
        p.reply("1I-5300\r");
        QCOMPARE(p.nPosAndSteps, 1);
        QCOMPARE(p.positions, (QList<int>{4882, 5175}));
    }

    void nanoTecStatusWord()
    {
        driverProbe p(motorDriver::NanoTec);
        p.tick();
        for (int i = 0; i < 3; ++i)
            p.drv.setMotorCommand("#1$\r", false);
        p.reply("1$6\r");
        QCOMPARE(p.status(),
                 QStringLiteral("Motor Port Not Open\nPos Error\nLimit Switch (LS) Reached"));
        p.reply("1$17\r");
        QCOMPARE(p.statusCtrl, (QList<int>{6, 17}));
        QCOMPARE(p.status(), QStringLiteral("Motor Port Not Open\nWaiting for Command"));
        // The raw value goes out on every reply, changed or not.
        p.reply("1$17\r");
        QCOMPARE(p.statusCtrl, (QList<int>{6, 17, 17}));
    }

    void nanoTecPositionErrorEverySeventhStopsAndClears()
    {
        driverProbe p(motorDriver::NanoTec);
        for (int i = 0; i < 8; ++i)
            p.drv.setMotorCommand("#1$\r", false);
        p.takeQueued();
        for (int i = 1; i <= 6; ++i) {
            p.reply("1$4\r");
            QCOMPARE(p.takeQueued(), QStringList{"#1E\r"});
        }
        p.reply("1$4\r");
        QCOMPARE(p.takeQueued(), (QStringList{"#1E\r", "#1S\r", "#1D\r"}));
        p.reply("1$4\r");
        QCOMPARE(p.takeQueued(), QStringList{"#1E\r"});
    }

    void nanoTecErrorMemory()
    {
        driverProbe p(motorDriver::NanoTec);
        for (int i = 0; i < 12; ++i)
            p.drv.setMotorCommand("#1$\r", false);
        p.tick();
        p.takeQueued();
        // Before the positions are read the index found counts as known.
        p.reply("1E+3\r");
        QVERIFY(p.takeQueued().isEmpty());
        p.reply("1I-5000\r1C-5000\r");
        p.reply("1E+3\r");
        QVERIFY(p.takeQueued().isEmpty());
        p.reply("1E+4\r");
        QCOMPARE(p.takeQueued(), QStringList{"#1Z4E\r"});
        p.reply("1Z4E+18\r");
        QCOMPARE(p.status(), QStringLiteral("Motor Port Not Open\nTemperature\nError Position"));
        p.reply("1Z4E+1\r");
        QCOMPARE(p.status(), QStringLiteral("Motor Port Not Open"));
        // Error 1 stored: the next error reply clears the position error once
        // instead of being stored.
        p.reply("1Z4E+2\r");
        QCOMPARE(p.takeQueued(), QStringList{"#1D\r"});
        QVERIFY(p.tick().isNull());
        p.reply("1Z4E+2\r");
        QCOMPARE(p.status(), QStringLiteral("Motor Port Not Open\nTemperature"));
    }

    void nanoTecFirstErrorIndexAfterPositions()
    {
        driverProbe p(motorDriver::NanoTec);
        for (int i = 0; i < 4; ++i)
            p.drv.setMotorCommand("#1$\r", false);
        p.reply("1I-0\r1C-0\r");
        p.takeQueued();
        p.reply("1E+3\r");
        QCOMPARE(p.takeQueued(), QStringList{"#1Z3E\r"});
    }

    void nanoTecInputWord()
    {
        driverProbe p(motorDriver::NanoTec);
        for (int i = 0; i < 4; ++i)
            p.drv.setMotorCommand("#1ZY\r", false);
        p.reply("1ZY+65568\r");
        QCOMPARE(p.output1, QList<bool>{true});
        QCOMPARE(p.limitSwitch, QList<bool>{true});
        p.reply("1ZY+65568\r");
        QCOMPARE(p.output1.size(), 1);
        QCOMPARE(p.limitSwitch.size(), 1);
        p.reply("1ZY+32\r");
        QCOMPARE(p.output1, (QList<bool>{true, false}));
        QCOMPARE(p.limitSwitch.size(), 1);
        p.reply("1ZY+0\r");
        QCOMPARE(p.limitSwitch, (QList<bool>{true, false}));
    }

    void nanoTecArrivalTolerance_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<bool>("reached");
        QTest::newRow("999 short") << QByteArray("1I-99001\r") << true;
        QTest::newRow("1001 short") << QByteArray("1I-98999\r") << false;
        QTest::newRow("1000 beyond") << QByteArray("1I-101000\r") << true;
        QTest::newRow("1001 beyond") << QByteArray("1I-101001\r") << false;
    }
    void nanoTecArrivalTolerance()
    {
        QFETCH(QByteArray, line);
        QFETCH(bool, reached);
        driverProbe p(motorDriver::NanoTec);
        for (int i = 0; i < 8; ++i)
            p.drv.setMotorCommand("#1$\r", false);
        p.reply("1I-0\r");
        p.tick();
        p.takeQueued();
        // 97657 ppm of 1024000 steps is 100000.77 steps: target 100000.
        p.drv.onMotorGotoStep(97657);
        QCOMPARE(p.takeQueued(), (QStringList{"#1y6\r", "#1s-100000\r", "#1A\r"}));
        QCOMPARE(p.status(), QStringLiteral("Positioning to 97656\nMotor Port Not Open"));
        p.reply(line);
        QCOMPARE(p.nPositionReached, reached ? 1 : 0);
        if (reached) {
            QCOMPARE(p.takeQueued(), QStringList{"#1I\r"});
            QCOMPARE(p.status(), QStringLiteral("Motor Port Not Open"));
        } else {
            QVERIFY(p.takeQueued().isEmpty());
        }
    }

    void bergerLahrGotoAndArrival()
    {
        driverProbe p(motorDriver::BergerLahr);
        p.reply("RP20000\r");
        p.reply("RP20000\r");
        p.tick();
        p.takeQueued();
        p.drv.onMotorGotoStep(1000000);
        QCOMPARE(p.takeQueued(), QStringList{"g40000\rs\r"});
        // BergerLahr shows no positioning line.
        QVERIFY(!p.status().contains(QLatin1String("Positioning")));
        p.reply("g40000\rRP20000\r");
        p.drv.readPosition();
        p.reply("RP39899\r");
        QCOMPARE(p.nPositionReached, 0);
        p.reply("RP39900\r");
        QCOMPARE(p.nPositionReached, 1);
        QCOMPARE(p.takeQueued().last(), QStringLiteral("s\r"));
        p.reply("RP40000\r");
        QCOMPARE(p.nPositionReached, 1);
    }

    void gotoEdgeCases()
    {
        driverProbe p(motorDriver::BergerLahr);
        p.reply("RP20000\r");
        p.tick();
        p.takeQueued();
        p.drv.onMotorGotoStep(500000);
        QCOMPARE(p.nPositionReached, 1);
        QVERIFY(p.takeQueued().isEmpty());
        p.drv.onMotorGotoStep(500001);
        QCOMPARE(p.takeQueued(), QStringList{"g20000\rs\r"});
        p.drv.onMotorGotoStep(1000001);
        p.drv.onMotorGotoStep(-1);
        QVERIFY(p.takeQueued().isEmpty());
        QCOMPARE(p.status(), QStringLiteral("Motor Port Not Open\nWaiting for Command\nPosition out of boundaries"));
        p.drv.onMotorGotoRelative(25);
        QCOMPARE(p.takeQueued(), QStringList{"g20001\rs\r"});
        p.drv.onMotorGotoStep(75);
        QCOMPARE(p.takeQueued(), QStringList{"g3\rs\r"});
    }

    void gotoBackWhilePositioningIsSent()
    {
        driverProbe p(motorDriver::BergerLahr);
        p.reply("RP20000\r");
        p.reply("RP20000\r");
        p.takeQueued();
        p.drv.onMotorGotoStep(1000000);
        // Back to where the valve was before the last position reply: it is
        // on its way elsewhere, so this is a real move, not "already there".
        p.drv.onMotorGotoStep(500000);
        QCOMPARE(p.takeQueued(), (QStringList{"g40000\rs\r", "g20000\rs\r"}));
        QCOMPARE(p.nPositionReached, 0);
        p.reply("g40000\rRP20000\r");
        // The later target is the one followed.
        QCOMPARE(p.nPositionReached, 1);
        p.reply("g20000\rRP20000\r");
        p.drv.onMotorGotoStep(500000);
        QCOMPARE(p.nPositionReached, 2);
        QVERIFY(p.takeQueued().filter(QStringLiteral("g")).isEmpty());
    }

    void noArrivalWithoutAPosition()
    {
        driverProbe p(motorDriver::BergerLahr);
        p.takeQueued();
        // Close to step 1 while no position was ever read: the controller's
        // echo must not count as arrival at "-1 steps".
        p.drv.onMotorGotoStep(0);
        QCOMPARE(p.takeQueued(), QStringList{"g1\rs\r"});
        p.reply("s\r"); // answers the start-up query
        p.reply("g1\r");
        QCOMPARE(p.nPositionReached, 0);
        p.reply("RP50\r");
        QCOMPARE(p.nPositionReached, 1);
    }

    void relativeMoveNeedsAPosition_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QByteArray>("positionReply");
        QTest::addColumn<QString>("expected");
        QTest::newRow("BergerLahr") << int(motorDriver::BergerLahr) << QByteArray("RP20000\r") << "g19999\rs\r";
        QTest::newRow("NanoTec") << int(motorDriver::NanoTec) << QByteArray("1I-512000\r") << "#1y7\r";
    }
    void relativeMoveNeedsAPosition()
    {
        QFETCH(int, type);
        QFETCH(QByteArray, positionReply);
        driverProbe p(type);
        p.drv.setMotorCommand("#1$\r", false);
        p.takeQueued();
        p.drv.onMotorGotoRelative(-25);
        QVERIFY(p.takeQueued().isEmpty());
        p.reply(positionReply);
        p.takeQueued();
        p.drv.onMotorGotoRelative(-25);
        const QStringList queued = p.takeQueued();
        QVERIFY(!queued.isEmpty());
        QTEST(queued.first(), "expected");
    }

    void continuousMoves()
    {
        driverProbe p(motorDriver::BergerLahr);
        p.reply("RP20000\r");
        p.reply("RP20000\r");
        p.takeQueued();
        // A release with an empty queue changes nothing.
        p.drv.onMotorPlusCont(false, 1);
        QCOMPARE(p.status(), QStringLiteral("Motor Port Not Open\nWaiting for Command"));
        p.drv.setMotorCommand("s\r", false);
        p.drv.onMotorPlusCont(false, 1);
        QCOMPARE(p.status(),
                 QStringLiteral("Motor Port Not Open\nWaiting for Command\nContinous Command not found"));
        p.takeQueued();
        p.drv.onMotorPlusCont(true, 5);
        QCOMPARE(p.takeQueued(), QStringList{"p\rp\rp\rp\rs\r"});
        p.drv.onMotorPlusCont(false, 1);
        QCOMPARE(p.status(), QStringLiteral("Motor Port Not Open\nWaiting for Command"));
        p.drv.onMotorMinusCont(true, 1);
        QCOMPARE(p.takeQueued(), QStringList{"m\rs\r"});
    }

    void haltDropsTheLinesOwedForADiscardedCommand()
    {
        driverProbe p(motorDriver::BergerLahr);
        p.reply("RP20000\r");
        p.takeQueued();
        p.drv.onMotorGotoStep(1000000);
        p.drv.communicateWithMotor(); // a ready tick takes the start-up query
        p.reply("RP20000\r");
        p.drv.communicateWithMotor(); // "g40000\rs\r" goes out (and waits)
        p.drv.onMotorHalt();
        QCOMPARE(p.takeQueued().last(), QStringLiteral("h\rs\r"));
        // The go-to's own answer arrives late: it must not be taken as the
        // halt's answer.
        p.reply("g40000\rRP30000\r");
        QCOMPARE(p.positions, QList<int>{500000});
        p.reply("h\rRP30001\r");
        QCOMPARE(p.positions, (QList<int>{500000, 750025}));
        QCOMPARE(p.nPositionReached, 0);
    }

    void nanoTecHaltEndsTheGoto()
    {
        driverProbe p(motorDriver::NanoTec);
        p.drv.onMotorGotoStep(500000);
        p.drv.setMotorCommand("#1A\r", true);
        p.takeQueued();
        p.drv.onMotorHalt();
        QCOMPARE(p.takeQueued(), (QStringList{"#1S\r", "#1I\r", "#1C\r"}));
        // The go-to is over: no positioning shown after a halt reached it.
        p.reply("1S\r1I-0\r1C-0\r");
        QCOMPARE(p.nPositionReached, 0);
    }

    void forcePosition()
    {
        driverProbe p(motorDriver::BergerLahr);
        p.reply("RP16000\r");
        p.tick();
        p.drv.forceMotorPosition(300000, false);
        QCOMPARE(p.status(), QStringLiteral("Motor Port Not Open\nWaiting for Command\n"
                                            "Must Calibrate Settings Pos: 300000 <--> Motor Pos: 400000"));
        QCOMPARE(p.positions, QList<int>{400000});
        p.takeQueued();
        p.drv.forceMotorPosition(300000, true);
        QCOMPARE(p.positions, (QList<int>{400000, 300000}));
        QCOMPARE(p.stepPositions.last(), 300000);
        QCOMPARE(p.drv.getEncoderSteps(), 12000);
        QCOMPARE(p.drv.getMotorPosition(), 300000);
        QVERIFY(p.takeQueued().isEmpty());
        QCOMPARE(p.status(), QStringLiteral("Motor Port Not Open\nWaiting for Command"));
        // Matching positions clear the request again.
        p.drv.forceMotorPosition(123, false);
        QVERIFY(p.status().contains(QLatin1String("Must Calibrate")));
        p.drv.forceMotorPosition(300000, false);
        QVERIFY(!p.status().contains(QLatin1String("Must Calibrate")));
        p.drv.forceMotorPosition(123, false);
        p.drv.onMotorCalibrate();
        QCOMPARE(p.takeQueued(), QStringList{"n\rs\r"});
        QVERIFY(!p.status().contains(QLatin1String("Must Calibrate")));
    }

    void nanoTecForceAndClearError()
    {
        driverProbe p(motorDriver::NanoTec);
        p.drv.forceMotorPosition(500000, true);
        QCOMPARE(p.takeQueued(), QStringList{"#1D-512000\r"});
        p.drv.onMotorGotoStep(0);
        p.takeQueued();
        QVERIFY(p.status().contains(QLatin1String("Positioning to 0")));
        p.drv.clearMotorError();
        QCOMPARE(p.takeQueued(), QStringList{"#1D\r"});
        QVERIFY(!p.status().contains(QLatin1String("Positioning")));
    }

    void familyWithoutTravelSendsNothing_data()
    {
        QTest::addColumn<int>("type");
        QTest::newRow("Remote") << int(motorDriver::Remote);
        QTest::newRow("missing key") << -1;
    }
    void familyWithoutTravelSendsNothing()
    {
        QFETCH(int, type);
        driverProbe p(type);
        QCOMPARE(p.drv.getMotorType(), type);
        QCOMPARE(p.tick(), QStringLiteral("Motor Port Not Open"));
        p.drv.onMotorGotoStep(500000);
        p.drv.onMotorGotoRelative(25);
        p.drv.onMotorOpen();
        p.drv.onMotorClose();
        p.drv.onMotorPlus();
        p.drv.onMotorMinus();
        p.drv.onMotorPlusCont(true, 5);
        p.drv.onMotorMinusCont(true, 10);
        p.drv.onMotorHalt();
        p.drv.onMotorCalibrate();
        p.drv.readPosition();
        p.drv.clearMotorError();
        p.drv.forceMotorPosition(100, true);
        QVERIFY(p.takeQueued().isEmpty());
        QCOMPARE(p.nPositionReached, 0);
        p.drv.onSetOutput1Mode(1);
        QCOMPARE(p.takeQueued(), QStringList{"#1:port_out_a1\r"});
        // Replies are not parsed.
        p.reply("RP100\r1I-100\r");
        QCOMPARE(p.positions, QList<int>{100}); // only the forced one
        for (int i = 0; i < 30; ++i)
            p.tick();
        QCOMPARE(p.statusTexts.last(), QStringLiteral("Motor Port Not Open"));
    }

    void statusLineAloneDoesNotRender()
    {
        driverProbe p(motorDriver::BergerLahr);
        p.tick();
        p.drv.onSetMeasureData(true);
        QVERIFY(p.tick().isNull());
        p.reply("RP0\r");
        QCOMPARE(p.tick(), QStringLiteral("Measuring...\nMotor Port Not Open\nWaiting for Command"));
        p.drv.onMotorHalt();
        QVERIFY(p.tick().isNull());
    }

    void otherAccessors()
    {
        driverProbe p(motorDriver::NanoTec);
        QCOMPARE(p.drv.getContSpeed(), 1);
        p.drv.onSetContSpeed(3);
        QCOMPARE(p.drv.getContSpeed(), 3);
        p.drv.onMotorPlusCont(true, 5);
        QCOMPARE(p.takeQueued(), (QStringList{"#1y3\r", "#1s60\r", "#1A\r#1I\r#1C\r"}));
        p.drv.setRemotePort(QStringLiteral("ttyUSB1"));
        QCOMPARE(p.drv.getRemotePort(), QStringLiteral("ttyUSB1"));
        QCOMPARE(p.drv.getMotorPosition(), -1);
        QCOMPARE(p.drv.getEncoderSteps(), -1);
    }
};

QTEST_GUILESS_MAIN(tst_motorDriver)
#include "tst_motorDriver.moc"
