// A controller that falls silent, answers junk, or whose line drops or is not
// there at start: the driver reconnects, says so in its status text and comes
// back on its own.
#include "driveRig.h"

#include <QLoggingCategory>
#include <QtTest>

namespace {
constexpr int WAIT_MS = 20000;

int countContaining(const QStringList &texts, const QString &strPart)
{
    int n = 0;
    for (const QString &s : texts)
        if (s.contains(strPart))
            ++n;
    return n;
}
} // namespace

class tst_driveReconnect : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QLoggingCategory::setFilterRules(QStringLiteral("valve.*.debug=false"));
    }

    void silenceGivesReconnectAndRecovers()
    {
        driveRig h(controllerSim::FAMILY_BERGER_LAHR);
        h.sim.setPosition(20000);
        QVERIFY(h.startSim());
        h.startDriver(motorDriver::BergerLahr);
        QTRY_COMPARE_WITH_TIMEOUT(h.rec.lastStatus(), QStringLiteral("OK\nWaiting for Command"), WAIT_MS);

        h.sim.setSilent(true);
        QTRY_VERIFY_WITH_TIMEOUT(h.rec.anyStatusContains(QStringLiteral("Reconnect:1")), WAIT_MS);
        QVERIFY(h.rec.statusTexts.contains(QStringLiteral("OK\nReconnect:1\nWaiting for Command")));
        QTRY_VERIFY_WITH_TIMEOUT(h.rec.anyStatusContains(QStringLiteral("Reconnect:2")), WAIT_MS);
        // One text per reconnect.
        QCOMPARE(countContaining(h.rec.statusTexts, QStringLiteral("Reconnect:1")), 1);

        h.sim.setSilent(false);
        h.sim.setPosition(30000);
        QTRY_COMPARE_WITH_TIMEOUT(h.rec.positions.last(), 750000, WAIT_MS);

        // The first answer reset the count: the next silence starts at 1.
        const int nTexts = h.rec.statusTexts.size();
        h.sim.setSilent(true);
        QTRY_VERIFY_WITH_TIMEOUT(h.rec.statusTexts.mid(nTexts).join('|').contains(QLatin1String("Reconnect:1")),
                                 WAIT_MS);
        h.sim.setSilent(false);
        h.sim.setPosition(10000);
        QTRY_COMPARE_WITH_TIMEOUT(h.rec.positions.last(), 250000, WAIT_MS);
        // A status change afterwards renders without the reconnect line.
        h.sim.setPosition(0);
        QTRY_COMPARE_WITH_TIMEOUT(h.rec.lastStatus(),
                                  QStringLiteral("OK\nWaiting for Command\nLimit Switch (LS) Reached"), WAIT_MS);
    }

    void droppedLineComesBack_data()
    {
        QTest::addColumn<int>("family");
        QTest::newRow("BergerLahr") << int(controllerSim::FAMILY_BERGER_LAHR);
        QTest::newRow("NanoTec") << int(controllerSim::FAMILY_NANOTEC);
    }
    void droppedLineComesBack()
    {
        QFETCH(int, family);
        driveRig h{controllerSim::family(family)};
        const int nHalf = family == controllerSim::FAMILY_NANOTEC ? 512000 : 20000;
        h.sim.setPosition(nHalf);
        QVERIFY(h.startSim());
        h.startDriver(family);
        QTRY_VERIFY_WITH_TIMEOUT(h.rec.positions.contains(500000), WAIT_MS);

        h.sim.dropLine(3000);
        QTRY_VERIFY_WITH_TIMEOUT(h.rec.anyStatusContains(QStringLiteral("Reconnect:1")), WAIT_MS);
        QTRY_COMPARE_WITH_TIMEOUT(h.sim.lineGeneration(), 1, WAIT_MS);
        QTRY_VERIFY_WITH_TIMEOUT(h.rec.lastStatus().startsWith(QLatin1String("OK")), WAIT_MS);
        h.sim.setPosition(nHalf / 2);
        QTRY_COMPARE_WITH_TIMEOUT(h.rec.positions.last(), 250000, WAIT_MS);
        h.gotoPpm(750000);
        QTRY_COMPARE_WITH_TIMEOUT(h.rec.nPositionReached, 1, WAIT_MS);
        QTRY_COMPARE_WITH_TIMEOUT(h.rec.positions.last(), 750000, WAIT_MS);
    }

    void portMissingAtStartIsRetried()
    {
        driveRig h(controllerSim::FAMILY_BERGER_LAHR);
        h.startDriver(motorDriver::BergerLahr);
        QTRY_COMPARE_WITH_TIMEOUT(h.rec.lastStatus(), QStringLiteral("Motor Port Not Open"), WAIT_MS);
        QVERIFY(h.rec.positions.isEmpty());

        h.sim.setPosition(40000);
        QVERIFY(h.startSim());
        QTRY_COMPARE_WITH_TIMEOUT(h.rec.lastStatus(),
                                  QStringLiteral("OK\nWaiting for Command\nLimit Switch (LS) Reached"), WAIT_MS);
        QTRY_VERIFY_WITH_TIMEOUT(h.rec.positions.contains(1000000), WAIT_MS);
        QVERIFY(!h.rec.anyStatusContains(QStringLiteral("Reconnect")));
    }

    void junkAnswersChangeNothing()
    {
        driveRig h(controllerSim::FAMILY_NANOTEC);
        h.sim.setPosition(512000);
        QVERIFY(h.startSim());
        h.startDriver(motorDriver::NanoTec);
        QTRY_VERIFY_WITH_TIMEOUT(h.rec.positions.contains(500000), WAIT_MS);

        h.sim.setGarbage(true);
        const int nCount = h.sim.receivedCount();
        h.sim.setPosition(100000);
        QTRY_VERIFY_WITH_TIMEOUT(h.sim.receivedCount() >= nCount + 12, WAIT_MS);
        // Every command still got its one line: no reconnect, no position.
        QCOMPARE(h.rec.positions.last(), 500000);
        QVERIFY(!h.rec.anyStatusContains(QStringLiteral("Reconnect")));

        h.sim.setGarbage(false);
        QTRY_COMPARE_WITH_TIMEOUT(h.rec.positions.last(), 97656, WAIT_MS);
    }

    void unsolicitedLineIsNotFatal()
    {
        driveRig h(controllerSim::FAMILY_BERGER_LAHR);
        h.sim.setPosition(20000);
        QVERIFY(h.startSim());
        h.startDriver(motorDriver::BergerLahr);
        QTRY_VERIFY_WITH_TIMEOUT(h.rec.positions.contains(500000), WAIT_MS);
        // Noise without a line end, then a stray line.
        h.sim.injectRaw(QByteArray(5000, 'x'));
        h.sim.injectRaw("stray\r");
        h.sim.setPosition(30000);
        QTRY_COMPARE_WITH_TIMEOUT(h.rec.positions.last(), 750000, WAIT_MS);
    }
};

QTEST_GUILESS_MAIN(tst_driveReconnect)
#include "tst_driveReconnect.moc"
