// The regulation end to end: the real driver in its motor thread on the
// controller simulator, a plant that turns the simulated valve position into
// feedback voltages, and a teach-in recorded on that plant: reaching,
// holding and re-targeting.
#include "regulationBench.h"

#include "valve/positionUnits.h"

#include <QLoggingCategory>
#include <QtTest>

#include <cmath>
#include <limits>
#include <memory>

class tst_regulationLoop : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void reachesAndHolds_data();
    void reachesAndHolds();
    void retargetsWhenThePlantDrifts();
    void oneSampleAgainstTheSetValue_data();
    void oneSampleAgainstTheSetValue();
    void setValueFromTwoFeedbackMillivolts();

private:
    std::unique_ptr<regulationBench> b;
};

void tst_regulationLoop::initTestCase()
{
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
}

void tst_regulationLoop::init()
{
    b = std::make_unique<regulationBench>();
    QVERIFY(b->setUp());
}

void tst_regulationLoop::cleanup()
{
    b.reset();
}

void tst_regulationLoop::reachesAndHolds_data()
{
    QTest::addColumn<bool>("byFeedbackValues");
    QTest::newRow("set value from the manual tab") << false;
    QTest::newRow("set value as two feedback millivolts (Modbus)") << true;
}

void tst_regulationLoop::reachesAndHolds()
{
    QFETCH(bool, byFeedbackValues);
    b->startPlantSamplingAtRest();
    if (byFeedbackValues) {
        // Formula "val1": 5000 mV on feedback 1 is the set value 5.0.
        QMetaObject::invokeMethod(b->rig->drv, "onMotorSetFeedbackVal", Qt::QueuedConnection, Q_ARG(int, 5000),
                                  Q_ARG(int, 5000));
        QTRY_VERIFY_WITH_TIMEOUT(b->rig->rec.measurement.contains(true), regulationBench::WAIT_MS);
    } else {
        b->startRegulation(5.0);
    }

    // First the teach-in's position (700000 ppm = 28000 steps), where the
    // plant gives 4.91; then step corrections up to the tolerance.
    QTRY_VERIFY_WITH_TIMEOUT(b->rig->sim.receivedCommands().contains("g28000"), regulationBench::WAIT_MS);
    QVERIFY(b->waitUntilSettledAndReached());
    QVERIFY(b->rig->rec.nNotReached > 0);
    const double dblActual = b->rig->rec.measured.last();
    QVERIFY2(std::fabs(dblActual / 5.0 - 1.0) <= 0.005, qPrintable(QString::number(dblActual)));
    QVERIFY(std::fabs(dblActual - plantFrameSource::quantised(b->plant.feedback1(b->rig->simPpm()))) < 1e-4);
    QVERIFY(b->rig->sim.position() > 28000);
    QVERIFY(b->renderedStatus().contains(QLatin1String("OK\nMeasuring: 5.00E+00")));

    // Holding: the following samples are all within the tolerance and the
    // valve is left where it is.
    const int nNotReached = b->rig->rec.nNotReached;
    const int nGotos = b->rig->gotoCount();
    const int nReached = b->rig->rec.nReached;
    QTRY_VERIFY_WITH_TIMEOUT(b->rig->rec.nReached >= nReached + 4, regulationBench::WAIT_MS);
    QCOMPARE(b->rig->rec.nNotReached, nNotReached);
    QCOMPARE(b->rig->gotoCount(), nGotos);
}

void tst_regulationLoop::retargetsWhenThePlantDrifts()
{
    // Started close to the curve's position (675000 ppm, 4.60 against 5.0):
    // the deviation stays far below the re-target threshold, so the approach
    // goes through the curve once and leaves no re-target cooldown behind.
    b = std::make_unique<regulationBench>();
    QVERIFY(b->setUp(675000));
    b->startPlantSamplingAtRest();
    b->startRegulation(5.0);
    QTRY_VERIFY_WITH_TIMEOUT(b->rig->sim.receivedCommands().contains("g28000"), regulationBench::WAIT_MS);
    QVERIFY(b->waitUntilSettledAndReached());
    const int nCurveGotos = b->rig->sim.countOf("g28000");
    QCOMPARE(nCurveGotos, 1);

    // The plant now gives twice the value: a deviation near 1 goes through
    // the teach-in curve once more (back to 28000 steps), then the step
    // corrections find the new position, where 2 * (0.5 + 9 x^2) = 5.
    b->plant.dblGain = 2.0;
    QTRY_VERIFY_WITH_TIMEOUT(b->rig->sim.countOf("g28000") > nCurveGotos, regulationBench::WAIT_MS);
    QVERIFY(b->waitUntilSettledAndReached());
    QVERIFY(std::fabs(b->rig->rec.measured.last() / 5.0 - 1.0) <= 0.005);
    QVERIFY2(std::abs(b->rig->simPpm() - 471404) < 5000, qPrintable(QString::number(b->rig->simPpm())));
    // At most nRecalcTimes + 1 = 3 re-targets in a row.
    QVERIFY(b->rig->sim.countOf("g28000") - nCurveGotos <= 3);
}

void tst_regulationLoop::oneSampleAgainstTheSetValue_data()
{
    QTest::addColumn<double>("actual");
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<bool>("retarget");
    QTest::newRow("1.05 against 1.0: reached, the valve stays")
        << 1.05 << QStringList{"reached", "measured 1.05"} << false;
    QTest::newRow("0.95 against 1.0: reached from below") << 0.95 << QStringList{"reached", "measured 0.95"} << false;
    QTest::newRow("2.0 against 1.0: re-target through the curve")
        << 2.0 << QStringList{"not reached", "measured 2"} << true;
    QTest::newRow("0.4 against 1.0: re-target through the curve")
        << 0.4 << QStringList{"not reached", "measured 0.4"} << true;
}

void tst_regulationLoop::oneSampleAgainstTheSetValue()
{
    // Default regulation parameters (tolerance 0.1, re-target above 0.5), set
    // value 1.0 without a start position, so only the sample moves the valve.
    QFETCH(double, actual);
    QFETCH(QStringList, events);
    QFETCH(bool, retarget);
    b->rig->drv->extFeedback = lvExternalFeedback();
    QStringList got;
    QObject ctx;
    connect(b->rig->drv, &motorDriver::reachedDataPoint, &ctx, [&got]() { got << QStringLiteral("reached"); });
    connect(b->rig->drv, &motorDriver::notReachedDataPoint, &ctx,
            [&got]() { got << QStringLiteral("not reached"); });
    connect(b->rig->drv, &motorDriver::setMeasuredData, &ctx,
            [&got](double d) { got << QStringLiteral("measured ") + QString::number(d); });

    QMetaObject::invokeMethod(b->rig->drv, "onMotorGotoLeak", Qt::QueuedConnection, Q_ARG(double, 1.0),
                              Q_ARG(int, -1));
    b->sampleOnce(actual, 5.0);
    QTRY_COMPARE_WITH_TIMEOUT(got.size(), events.size(), regulationBench::WAIT_MS);
    QCOMPARE(got, events);
    QVERIFY(b->drainQueue());
    if (retarget) {
        const int nPpm = b->teach->calcStepsFromData(1.0, actual, 1000000.0);
        QVERIFY(nPpm >= 0);
        const QByteArray strGoto = "g" + QByteArray::number(positionUnits::ppmToSteps(nPpm, 40000));
        QCOMPARE(b->rig->sim.countOf(strGoto), 1);
        QCOMPARE(b->rig->gotoCount(), 1);
    } else {
        QCOMPARE(b->rig->gotoCount(), 0);
    }
}

void tst_regulationLoop::setValueFromTwoFeedbackMillivolts()
{
    // A Modbus master gives the set value as two voltages in millivolts; each
    // must reach its own formula variable, in volts.
    b->teach->withLock([](lvTeachIn &t) { t.sensor.strFormula = QStringLiteral("val1 + 10 * val2"); });
    QMetaObject::invokeMethod(b->rig->drv, "onMotorSetFeedbackVal", Qt::QueuedConnection, Q_ARG(int, 1000),
                              Q_ARG(int, 2000));
    QTRY_VERIFY_WITH_TIMEOUT(b->rig->rec.measurement.contains(true), regulationBench::WAIT_MS);
    QTRY_COMPARE_WITH_TIMEOUT(b->rig->drv->extFeedback.get().dblSetpoint, 21.0, regulationBench::WAIT_MS);
}

QTEST_GUILESS_MAIN(tst_regulationLoop)
#include "tst_regulationLoop.moc"
