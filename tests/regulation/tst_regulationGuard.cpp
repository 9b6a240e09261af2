// What guards the regulation, end to end on the same bench: the feedback
// boundaries and their actions, a Stop that ends the measurement, and actual
// values that cannot be used.
#include "regulationBench.h"

#include <QLoggingCategory>
#include <QtTest>

#include <cmath>
#include <limits>
#include <memory>

namespace {
const double NaN = std::numeric_limits<double>::quiet_NaN();
}

class tst_regulationGuard : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void boundaryActions_data();
    void boundaryActions();
    void stopEndsTheMeasurement();
    void unusableActualValueMovesNothing_data();
    void unusableActualValueMovesNothing();

private:
    std::unique_ptr<regulationBench> b;
};

void tst_regulationGuard::initTestCase()
{
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
}

void tst_regulationGuard::init()
{
    b = std::make_unique<regulationBench>();
    QVERIFY(b->setUp());
}

void tst_regulationGuard::cleanup()
{
    b.reset();
}

void tst_regulationGuard::boundaryActions_data()
{
    QTest::addColumn<double>("v1");
    QTest::addColumn<double>("v2");
    QTest::addColumn<QString>("statusLine");
    QTest::addColumn<int>("endSteps");
    QTest::newRow("feedback 1 above its band: close") << 9.95 << 5.0 << "Feedback Boundary exceeded: closing" << 1;
    QTest::newRow("feedback 1 below its band: open") << 0.05 << 5.0 << "Feedback Boundary exceeded: opening"
                                                     << 40000;
    QTest::newRow("feedback 2 out of its band: stay") << 5.0 << 9.5 << "Feedback Boundary exceeded: staying"
                                                      << 4000;
}

void tst_regulationGuard::boundaryActions()
{
    QFETCH(double, v1);
    QFETCH(double, v2);
    QFETCH(QString, statusLine);
    QFETCH(int, endSteps);

    QMetaObject::invokeMethod(b->rig->drv, "onSetMeasureData", Qt::QueuedConnection, Q_ARG(bool, true));
    b->readCard(5.0, 5.0);
    QTRY_COMPARE_WITH_TIMEOUT(b->rig->rec.measured.size(), 1, regulationBench::WAIT_MS);

    b->startConstantSampling(v1, v2);
    QTRY_VERIFY_WITH_TIMEOUT(b->renderedStatus().contains(QStringLiteral("Measuring...\n") + statusLine),
                             regulationBench::WAIT_MS);
    QTRY_COMPARE_WITH_TIMEOUT(b->rig->sim.position(), endSteps, regulationBench::WAIT_MS);
    QCOMPARE(b->rig->rec.measured.size(), 1);   // samples out of band are dropped

    // Meanwhile every other motion request is refused.
    QMetaObject::invokeMethod(b->rig->drv, "onMotorGotoStep", Qt::QueuedConnection, Q_ARG(int, 500000));
    QVERIFY(b->drainQueue());
    QVERIFY(!b->rig->sim.receivedCommands().contains("g20000"));

    // Back inside the band: measuring goes on and motion is allowed again.
    b->startConstantSampling(5.0, 5.0);
    QTRY_VERIFY_WITH_TIMEOUT(b->rig->rec.measured.size() > 1, regulationBench::WAIT_MS);
    // Without a set value no sample rewrites the status line: the boundary
    // note stays until measuring ends or a set value comes.
    QVERIFY(b->renderedStatus().contains(QStringLiteral("Measuring...\n") + statusLine));
    QMetaObject::invokeMethod(b->rig->drv, "onMotorGotoStep", Qt::QueuedConnection, Q_ARG(int, 500000));
    QTRY_COMPARE_WITH_TIMEOUT(b->rig->sim.position(), 20000, regulationBench::WAIT_MS);
}

void tst_regulationGuard::stopEndsTheMeasurement()
{
    // Regulating while the plant reads above the band: the close action runs.
    b->startConstantSampling(9.95, 5.0);
    b->startRegulation(5.0);
    QTRY_VERIFY_WITH_TIMEOUT(b->rig->sim.countOf("g1") > 0, regulationBench::WAIT_MS);

    // Stop: the measurement ends with it (the main window is told to stop the
    // samples), yet samples that are still on their way must neither run the
    // boundary action again nor arm the guard against the operator.
    QMetaObject::invokeMethod(b->rig->drv, "onMotorHalt", Qt::QueuedConnection);
    QTRY_VERIFY_WITH_TIMEOUT(b->rig->rec.measurement.contains(false), regulationBench::WAIT_MS);
    QTRY_VERIFY_WITH_TIMEOUT(b->rig->sim.countOf("h") > 0, regulationBench::WAIT_MS);
    QVERIFY(b->drainQueue());
    const int nCloses = b->rig->sim.countOf("g1");
    const int nMeasured = b->rig->rec.measured.size();
    for (int i = 0; i < 4; ++i)
        b->readCard(9.95, 5.0);
    QMetaObject::invokeMethod(b->rig->drv, "onMotorGotoStep", Qt::QueuedConnection, Q_ARG(int, 500000));
    QTRY_COMPARE_WITH_TIMEOUT(b->rig->sim.position(), 20000, regulationBench::WAIT_MS);
    QVERIFY(b->drainQueue());
    QCOMPARE(b->rig->sim.countOf("g1"), nCloses);
    QCOMPARE(b->rig->rec.measured.size(), nMeasured);
    QVERIFY(!b->renderedStatus().contains(QLatin1String("Boundary")));
}

void tst_regulationGuard::unusableActualValueMovesNothing_data()
{
    QTest::addColumn<QString>("formula");
    QTest::addColumn<double>("v1");
    QTest::newRow("formula that fails") << "unknownName * val1" << 5.0;
    QTest::newRow("formula giving infinity") << "val1 / 0" << 5.0;
    QTest::newRow("voltage not a number") << "val1" << NaN;
}

void tst_regulationGuard::unusableActualValueMovesNothing()
{
    QFETCH(QString, formula);
    QFETCH(double, v1);
    b->teach->withLock([&formula](lvTeachIn &t) { t.sensor.strFormula = formula; });

    // Regulation without a start position (as when the curve has none).
    QMetaObject::invokeMethod(b->rig->drv, "onMotorGotoLeak", Qt::QueuedConnection, Q_ARG(double, 5.0),
                              Q_ARG(int, -1));
    QTRY_VERIFY_WITH_TIMEOUT(b->rig->rec.anyStatusContains(QStringLiteral("TeachIn Data not found")), regulationBench::WAIT_MS);
    for (int i = 0; i < 5; ++i)
        b->sampleOnce(v1, 5.0);
    QTRY_COMPARE_WITH_TIMEOUT(b->rig->rec.measured.size(), 5, regulationBench::WAIT_MS);
    QVERIFY(b->drainQueue());
    QCOMPARE(b->rig->rec.nReached, 0);
    QCOMPARE(b->rig->rec.nNotReached, 0);
    QCOMPARE(b->rig->gotoCount(), 0);
    for (double d : qAsConst(b->rig->rec.measured))
        QVERIFY(!std::isfinite(d));

    // A usable value afterwards regulates as usual: one correction towards it.
    b->teach->withLock([](lvTeachIn &t) { t.sensor.strFormula = QStringLiteral("val1"); });
    b->sampleOnce(4.9, 5.0);
    QTRY_COMPARE_WITH_TIMEOUT(b->rig->rec.nNotReached, 1, regulationBench::WAIT_MS);
    QTRY_VERIFY_WITH_TIMEOUT(b->rig->gotoCount() > 0, regulationBench::WAIT_MS);
    QVERIFY(b->rig->sim.position() > 4000);
}

QTEST_GUILESS_MAIN(tst_regulationGuard)
#include "tst_regulationGuard.moc"
