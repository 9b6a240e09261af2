// The real motorDriver in its motor thread over a real serial port against the
// controller simulator, for both families.
#include "driveRig.h"

#include <QLoggingCategory>
#include <QtTest>

namespace {
constexpr int WAIT_MS = 20000;
}

class tst_driveEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QLoggingCategory::setFilterRules(QStringLiteral("valve.*.debug=false"));
    }

    void bergerLahrStartAndGoto()
    {
        driveRig h(controllerSim::FAMILY_BERGER_LAHR);
        h.sim.setPosition(20000);
        QVERIFY(h.startSim());
        h.startDriver(motorDriver::BergerLahr);

        QTRY_VERIFY_WITH_TIMEOUT(h.rec.positions.contains(500000), WAIT_MS);
        QCOMPARE(h.rec.statusTexts.first(), QStringLiteral("OK"));
        QTRY_COMPARE_WITH_TIMEOUT(h.rec.lastStatus(), QStringLiteral("OK\nWaiting for Command"), WAIT_MS);
        QCOMPARE(h.rec.nPosAndSteps, 1);
        QCOMPARE(h.rec.stepPositions.first(), 500000);

        h.gotoPpm(1000000);
        QTRY_COMPARE_WITH_TIMEOUT(h.rec.nPositionReached, 1, WAIT_MS);
        QVERIFY(h.sim.receivedCommands().contains("g40000"));
        QTRY_COMPARE_WITH_TIMEOUT(h.sim.position(), 40000, WAIT_MS);
        QTRY_COMPARE_WITH_TIMEOUT(h.rec.positions.last(), 1000000, WAIT_MS);
        QTRY_COMPARE_WITH_TIMEOUT(h.rec.lastStatus(),
                                  QStringLiteral("OK\nWaiting for Command\nLimit Switch (LS) Reached"), WAIT_MS);
        QVERIFY(!h.rec.anyStatusContains(QStringLiteral("Positioning")));
        QCOMPARE(h.rec.nPosAndSteps, 1);
        QCOMPARE(h.drv->getMotorPosition(), 1000000);
        QCOMPARE(h.drv->getEncoderSteps(), 40000);
        QVERIFY(h.drv->getTotalSteps() >= 500000);

        // A go-to to where the valve stands answers at once.
        h.gotoPpm(1000000);
        QTRY_COMPARE_WITH_TIMEOUT(h.rec.nPositionReached, 2, WAIT_MS);
    }

    void nanoTecGotoShowsPositioning()
    {
        driveRig h(controllerSim::FAMILY_NANOTEC);
        h.sim.setPosition(0);
        h.sim.setSpeed(200000); // half travel in about 2.5 s
        QVERIFY(h.startSim());
        h.startDriver(motorDriver::NanoTec);
        QTRY_VERIFY_WITH_TIMEOUT(h.rec.positions.contains(0), WAIT_MS);
        QTRY_COMPARE_WITH_TIMEOUT(h.rec.nPosAndSteps, 1, WAIT_MS);
        QTRY_VERIFY_WITH_TIMEOUT(h.rec.lastStatus().startsWith(QLatin1String("OK\nWaiting for Command")), WAIT_MS);

        h.gotoPpm(500000);
        QTRY_VERIFY_WITH_TIMEOUT(h.rec.anyStatusContains(QStringLiteral("OK\nPositioning to 500000\n")), WAIT_MS);
        QTRY_COMPARE_WITH_TIMEOUT(h.rec.nPositionReached, 1, WAIT_MS);
        QTRY_VERIFY_WITH_TIMEOUT(!h.rec.lastStatus().contains(QLatin1String("Positioning")), WAIT_MS);
        QTRY_COMPARE_WITH_TIMEOUT(h.sim.position(), 512000, WAIT_MS);
        QTRY_COMPARE_WITH_TIMEOUT(h.rec.positions.last(), 500000, WAIT_MS);

        const QList<QByteArray> got = h.sim.receivedCommands();
        const int nY = int(got.indexOf("#1y6"));
        QVERIFY(nY >= 0);
        QCOMPARE(got.mid(nY, 3), (QList<QByteArray>{"#1y6", "#1s-512000", "#1A"}));
        for (const QByteArray &poll : {QByteArray("#1$"), QByteArray("#1I"), QByteArray("#1C"), QByteArray("#1ZY")})
            QVERIFY2(got.contains(poll), poll.constData());
        // The limit switch at the closed end showed and cleared again.
        QVERIFY(h.rec.limitSwitch.contains(true));
        QTRY_COMPARE_WITH_TIMEOUT(h.rec.limitSwitch.last(), false, WAIT_MS);
    }

    void splitRepliesAreJoined()
    {
        driveRig h(controllerSim::FAMILY_BERGER_LAHR);
        h.sim.setPosition(20000);
        h.sim.setSplitReplies(true);
        QVERIFY(h.startSim());
        h.startDriver(motorDriver::BergerLahr);
        QTRY_VERIFY_WITH_TIMEOUT(h.rec.positions.contains(500000), WAIT_MS);
        h.sim.setPosition(12345);
        QTRY_COMPARE_WITH_TIMEOUT(h.rec.positions.last(), 308625, WAIT_MS);
        QVERIFY(!h.rec.anyStatusContains(QStringLiteral("Reconnect")));
    }

    void continuousMoveEndsOnRelease_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<QByteArray>("moveCommand");
        QTest::addColumn<int>("stepsPerCommand");
        QTest::newRow("BergerLahr") << int(controllerSim::FAMILY_BERGER_LAHR) << QByteArray("p") << 1;
        QTest::newRow("NanoTec") << int(controllerSim::FAMILY_NANOTEC) << QByteArray("#1A") << 20;
    }
    void continuousMoveEndsOnRelease()
    {
        QFETCH(int, family);
        QFETCH(QByteArray, moveCommand);
        QFETCH(int, stepsPerCommand);
        driveRig h{controllerSim::family(family)};
        h.sim.setPosition(10000);
        QVERIFY(h.startSim());
        h.startDriver(family);
        QTRY_COMPARE_WITH_TIMEOUT(h.rec.nPosAndSteps, 1, WAIT_MS);
        h.sim.clearReceived();

        h.continuous("onMotorPlusCont", true, 5);
        QTRY_VERIFY_WITH_TIMEOUT(h.sim.countOf(moveCommand) >= 8, WAIT_MS);
        h.continuous("onMotorPlusCont", false, 1);

        // Idle polling comes back only once the repeating command has left
        // the queue: BergerLahr then sends nothing but "s", NanoTec its
        // input-word poll.
        const int nFrom = h.sim.receivedCount();
        auto idleAgain = [&] {
            const QList<QByteArray> got = h.sim.receivedCommands().mid(nFrom);
            if (family == controllerSim::FAMILY_NANOTEC)
                return got.contains("#1ZY");
            return got.size() >= 3 && got.mid(got.size() - 3) == QList<QByteArray>{"s", "s", "s"};
        };
        QTRY_VERIFY_WITH_TIMEOUT(idleAgain(), WAIT_MS);
        const int nMoves = h.sim.countOf(moveCommand);
        const int nNow = h.sim.receivedCount();
        QTRY_VERIFY_WITH_TIMEOUT(h.sim.receivedCount() >= nNow + 8, WAIT_MS);
        QCOMPARE(h.sim.countOf(moveCommand), nMoves);
        QTRY_COMPARE_WITH_TIMEOUT(h.sim.position(), 10000 + nMoves * stepsPerCommand, WAIT_MS);
        QVERIFY(!h.rec.anyStatusContains(QStringLiteral("Continous Command not found")));
    }

    void haltWhileAnAnswerIsOutstanding()
    {
        driveRig h(controllerSim::FAMILY_BERGER_LAHR);
        h.sim.setPosition(20000);
        h.sim.setSpeed(4000);
        QVERIFY(h.startSim());
        h.startDriver(motorDriver::BergerLahr);
        QTRY_VERIFY_WITH_TIMEOUT(h.rec.positions.contains(500000), WAIT_MS);

        h.sim.setReplyDelayMs(400);
        h.gotoPpm(1000000);
        QTRY_VERIFY_WITH_TIMEOUT(h.sim.receivedCommands().contains("g40000"), WAIT_MS);
        h.call("onMotorHalt");
        QTRY_VERIFY_WITH_TIMEOUT(h.sim.receivedCommands().contains("h"), WAIT_MS);
        QTRY_VERIFY_WITH_TIMEOUT(!h.sim.isMoving(), WAIT_MS);
        h.sim.setReplyDelayMs(0);

        // The link is still in step: the next go-to is answered and reached.
        const int nBefore = h.rec.nPositionReached;
        h.gotoPpm(250000);
        QTRY_COMPARE_WITH_TIMEOUT(h.rec.nPositionReached, nBefore + 1, WAIT_MS);
        QTRY_COMPARE_WITH_TIMEOUT(h.sim.position(), 10000, WAIT_MS);
        QTRY_COMPARE_WITH_TIMEOUT(h.rec.positions.last(), 250000, WAIT_MS);
        QVERIFY(!h.rec.anyStatusContains(QStringLiteral("Reconnect")));
    }

    void directCallsFromAnotherThread()
    {
        driveRig h(controllerSim::FAMILY_BERGER_LAHR);
        h.sim.setPosition(20000);
        QVERIFY(h.startSim());
        h.startDriver(motorDriver::BergerLahr);
        QTRY_COMPARE_WITH_TIMEOUT(h.drv->getMotorPosition(), 500000, WAIT_MS);
        // The main window calls these directly from the GUI thread.
        h.drv->onMotorCalibrate();
        h.drv->bDebug = false;
        h.drv->strDebugData = QStringLiteral("unused");
        h.drv->nRecalcTimes = 3;
        h.drv->readFromMotor();
        QTRY_VERIFY_WITH_TIMEOUT(h.sim.receivedCommands().contains("n"), WAIT_MS);
        QTRY_COMPARE_WITH_TIMEOUT(h.drv->getMotorPosition(), 0, WAIT_MS);
        QTRY_COMPARE_WITH_TIMEOUT(h.drv->getEncoderSteps(), 0, WAIT_MS);
    }
};

QTEST_GUILESS_MAIN(tst_driveEndToEnd)
#include "tst_driveEndToEnd.moc"
