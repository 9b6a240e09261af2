#include "valve/regulationStep.h"

#include <QtTest>

#include <cmath>
#include <limits>

Q_DECLARE_METATYPE(regulationResult::action)

namespace {
const double NaN = std::numeric_limits<double>::quiet_NaN();
const double INF = std::numeric_limits<double>::infinity();
}

class tst_regulationStep : public QObject
{
    Q_OBJECT

private slots:
    void decision_data();
    void decision();
    void correctionExample();
    void windowKeepsOneLessThanQuantity_data();
    void windowKeepsOneLessThanQuantity();
    void retargetLimitAndCooldown();
    void unusableValuesMoveNothing_data();
    void unusableValuesMoveNothing();
    void correctionLimitedToTravel();
};

void tst_regulationStep::decision_data()
{
    QTest::addColumn<double>("setpoint");
    QTest::addColumn<double>("actual");
    QTest::addColumn<double>("previous");
    QTest::addColumn<bool>("posReached");
    QTest::addColumn<int>("countBefore");
    QTest::addColumn<int>("cooldownBefore");
    QTest::addColumn<regulationResult::action>("action");
    QTest::addColumn<int>("countAfter");
    QTest::addColumn<int>("cooldownAfter");

    using R = regulationResult;
    QTest::newRow("1.05 against 1.0 is reached, count reset")
        << 1.0 << 1.05 << 1.0 << true << 2 << 3 << R::ACTION_REACHED << 0 << 3;
    QTest::newRow("exactly on the tolerance is reached")
        << 1.0 << 0.9 << 1.0 << true << 0 << 0 << R::ACTION_REACHED << 0 << 0;
    QTest::newRow("2.0 against 1.0 re-targets, cooldown 5")
        << 1.0 << 2.0 << 1.0 << true << 0 << 0 << R::ACTION_RETARGET << 1 << 5;
    QTest::newRow("re-target waits while positioning")
        << 1.0 << 2.0 << 1.0 << false << 0 << 0 << R::ACTION_WAIT << 0 << 0;
    QTest::newRow("large deviation during cooldown corrects")
        << 1.0 << 2.0 << 2.0 << true << 1 << 5 << R::ACTION_CORRECT << 1 << 4;
    QTest::newRow("re-target budget spent: corrects")
        << 1.0 << 2.0 << 2.0 << true << 3 << 0 << R::ACTION_CORRECT << 3 << 0;
    QTest::newRow("last allowed re-target (count == times)")
        << 1.0 << 2.0 << 2.0 << true << 2 << 0 << R::ACTION_RETARGET << 3 << 5;
    QTest::newRow("small deviation corrects")
        << 1.0 << 1.3 << 1.3 << true << 0 << 0 << R::ACTION_CORRECT << 0 << 0;
    QTest::newRow("correction waits while positioning")
        << 1.0 << 1.3 << 1.3 << false << 0 << 2 << R::ACTION_WAIT << 0 << 2;
    QTest::newRow("below the set value re-targets too")
        << 1.0 << 0.4 << 1.0 << true << 0 << 0 << R::ACTION_RETARGET << 1 << 5;
}

void tst_regulationStep::decision()
{
    QFETCH(double, setpoint);
    QFETCH(double, actual);
    QFETCH(double, previous);
    QFETCH(bool, posReached);
    QFETCH(int, countBefore);
    QFETCH(int, cooldownBefore);
    QFETCH(regulationResult::action, action);
    QFETCH(int, countAfter);
    QFETCH(int, cooldownAfter);

    regulationParams params;
    regulationState state;
    state.nRecalcCount = countBefore;
    state.nRecalcCooldown = cooldownBefore;
    const regulationResult r = regulationStep(params, state, setpoint, actual, previous, posReached);
    QCOMPARE(r.eAction, action);
    QCOMPARE(state.nRecalcCount, countAfter);
    QCOMPARE(state.nRecalcCooldown, cooldownAfter);
    QCOMPARE(r.isReached(), action == regulationResult::ACTION_REACHED);
    QCOMPARE(r.isNotReached(), action != regulationResult::ACTION_REACHED);
}

void tst_regulationStep::correctionExample()
{
    // Set 1.0, actual 1.3, previous 1.3, first value of the window:
    // 200 * 0.3 * 1 - 1000 * 0.3 - 100 * 0.3 = -270.
    regulationParams params;
    regulationState state;
    const regulationResult r = regulationStep(params, state, 1.0, 1.3, 1.3, true);
    QCOMPARE(r.eAction, regulationResult::ACTION_CORRECT);
    QCOMPARE(r.nCorrection, -270);
    QVERIFY(qFuzzyCompare(r.dblDiffTerm, 60.0));
    QVERIFY(qFuzzyCompare(r.dblPropTerm, 300.0));
    QVERIFY(qFuzzyCompare(r.dblIntTerm, 30.0));
    QCOMPARE(state.vecDeviation.size(), 1);

    // The differential term follows the change against the previous sample.
    regulationState second;
    const regulationResult r2 = regulationStep(params, second, 1.0, 1.3, 1.0, true);
    QVERIFY(qFuzzyCompare(r2.dblDiffTerm, 200.0 * 0.3 * 1.3));
}

void tst_regulationStep::windowKeepsOneLessThanQuantity_data()
{
    QTest::addColumn<int>("quantity");
    QTest::addColumn<int>("samples");
    QTest::addColumn<int>("kept");
    QTest::newRow("default 10, twelve samples") << 10 << 12 << 9;
    QTest::newRow("fewer samples than the window") << 10 << 4 << 4;
    QTest::newRow("quantity 1 keeps none") << 1 << 5 << 0;
    QTest::newRow("quantity 0 keeps none") << 0 << 5 << 0;
    QTest::newRow("negative quantity keeps none") << -3 << 5 << 0;
}

void tst_regulationStep::windowKeepsOneLessThanQuantity()
{
    QFETCH(int, quantity);
    QFETCH(int, samples);
    QFETCH(int, kept);
    regulationParams params;
    params.nNumOfIntVal = quantity;
    regulationState state;
    QVector<double> all;
    for (int i = 0; i < samples; ++i) {
        const double actual = 1.11 + 0.01 * i;   // never re-targets, never reached
        const regulationResult r = regulationStep(params, state, 1.0, actual, actual, true);
        QCOMPARE(r.eAction, regulationResult::ACTION_CORRECT);
        all.append(r.dblDeviation);
    }
    QCOMPARE(state.vecDeviation.size(), kept);
    double sum = 0.0;
    for (int i = all.size() - kept; i < all.size(); ++i) {
        QCOMPARE(state.vecDeviation.at(i - (all.size() - kept)), all.at(i));
        sum += all.at(i);
    }
    QVERIFY(std::fabs(state.dblIntegral - sum) < 1e-12);

    // A new set value starts a fresh window.
    state.clearWindow();
    QVERIFY(state.vecDeviation.isEmpty());
    QCOMPARE(state.dblIntegral, 0.0);
}

void tst_regulationStep::retargetLimitAndCooldown()
{
    // With the defaults: at most nRecalcTimes + 1 = 3 re-targets in a row and
    // at least five corrections between two of them.
    regulationParams params;
    regulationState state;
    int nRetargets = 0;
    int nCorrectionsSinceRetarget = 0;
    for (int i = 0; i < 60; ++i) {
        const regulationResult r = regulationStep(params, state, 1.0, 3.0, 3.0, true);
        if (r.eAction == regulationResult::ACTION_RETARGET) {
            if (nRetargets > 0)
                QCOMPARE(nCorrectionsSinceRetarget, 5);
            ++nRetargets;
            nCorrectionsSinceRetarget = 0;
            state.clearWindow();   // as the re-target's new set value does
        } else {
            QCOMPARE(r.eAction, regulationResult::ACTION_CORRECT);
            ++nCorrectionsSinceRetarget;
        }
    }
    QCOMPARE(nRetargets, 3);

    // A reached sample gives back the whole budget.
    QCOMPARE(regulationStep(params, state, 1.0, 1.0, 3.0, true).eAction,
             regulationResult::ACTION_REACHED);
    QCOMPARE(state.nRecalcCount, 0);
}

void tst_regulationStep::unusableValuesMoveNothing_data()
{
    QTest::addColumn<double>("setpoint");
    QTest::addColumn<double>("actual");
    QTest::newRow("actual NaN (failing formula)") << 1.0 << NaN;
    QTest::newRow("actual +inf") << 1.0 << INF;
    QTest::newRow("actual -inf") << 1.0 << -INF;
    QTest::newRow("set value 0") << 0.0 << 1.0;
    QTest::newRow("set value NaN") << NaN << 1.0;
    QTest::newRow("both 0") << 0.0 << 0.0;
}

void tst_regulationStep::unusableValuesMoveNothing()
{
    QFETCH(double, setpoint);
    QFETCH(double, actual);
    regulationParams params;
    regulationState state;
    regulationStep(params, state, 1.0, 1.2, 1.2, true);   // one good value in the window
    state.nRecalcCount = 1;
    state.nRecalcCooldown = 2;
    const regulationState before = state;

    const regulationResult r = regulationStep(params, state, setpoint, actual, 1.2, true);
    QCOMPARE(r.eAction, regulationResult::ACTION_NONE);
    QVERIFY(!r.isReached());
    QVERIFY(!r.isNotReached());
    QCOMPARE(state.vecDeviation, before.vecDeviation);
    QCOMPARE(state.dblIntegral, before.dblIntegral);
    QCOMPARE(state.nRecalcCount, before.nRecalcCount);
    QCOMPARE(state.nRecalcCooldown, before.nRecalcCooldown);

    // The next good sample still regulates with a finite integral.
    const regulationResult next = regulationStep(params, state, 1.0, 1.2, actual, true);
    QCOMPARE(next.eAction, regulationResult::ACTION_CORRECT);
    QVERIFY(std::isfinite(state.dblIntegral));
    QVERIFY(std::isfinite(next.dblDiffTerm));   // unusable previous value: neutral factor
}

void tst_regulationStep::correctionLimitedToTravel()
{
    QCOMPARE(limitCorrectionToTravel(-270.9), -270);
    QCOMPARE(limitCorrectionToTravel(5e12), 1000000);
    QCOMPARE(limitCorrectionToTravel(-5e12), -1000000);
    QCOMPARE(limitCorrectionToTravel(INF), 1000000);
    QCOMPARE(limitCorrectionToTravel(NaN), 0);

    // A huge proportional factor would overflow an int without the limit.
    regulationParams params;
    params.dblPropValue = 1e15;
    regulationState state;
    const regulationResult r = regulationStep(params, state, 1.0, 1.3, 1.3, true);
    QCOMPARE(r.eAction, regulationResult::ACTION_CORRECT);
    QCOMPARE(r.nCorrection, -1000000);

}

QTEST_GUILESS_MAIN(tst_regulationStep)
#include "tst_regulationStep.moc"
