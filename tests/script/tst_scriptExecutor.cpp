#include "executorRig.h"
#include "fakeClock.h"
#include "testWorkDir.h"
#include "script/scriptMeasurement.h"
#include "valve/lvTeachIn.h"

#include <QThread>
#include <QTimer>
#include <QtTest>

#include <atomic>
#include <cmath>
#include <limits>

namespace {

lvExternalFeedback feedbackWithFormula(const QString &strFormula, const QString &strName = QStringLiteral("probe"))
{
    lvExternalFeedback fb;
    fb.sensor.strName = strName;
    fb.sensor.strFormula = strFormula;
    fb.sensor.bExponential = false;
    return fb;
}

} // namespace

class tst_scriptExecutor : public QObject
{
    Q_OBJECT

private slots:
    void emptyScriptFinishesAtOnce();
    void loopReportsEveryPassInOrder();
    void gotoCmdLoops_data();
    void gotoCmdLoops();
    void longLoopOfImmediateCommandsRunsInOneCall();
    void endlessLoopStopsAtOnce();
    void endlessLoopStopsFromAnotherThread();

    void gotoDataThenGotoPos();
    void gotoDataThenWaitHoldsTheValue();
    void regulationReportDuringMoveRunsNextWait();
    void alreadyThereAnswerIsNoDataReport();
    void lastGotoDataStillEndsItsDataWait();
    void interruptedGotoDataLetsGotoPosAdvance();
    void resumedDataWaitCutsThePositionReportAgain();
    void stopDuringWaitThenNewScriptRunsNothing();
    void newScriptDuringHoldGivesReportsBack();
    void reportsOutsideRunExecuteNothing();
    void runRequestDuringRunChangesNothing_data();
    void runRequestDuringRunChangesNothing();

    void measureCommands_data();
    void measureCommands();
    void recordingTakesPointsAfterPositionReports();
    void saveWritesTeachInThatReadsBack();
    void saveWithFewerThanTwoPointsKeepsExistingFile();
    void progressTexts();
    void stopDuringWaitAndResume();
    void chosenCommandStartsTheRun();
    void setValueAndLastValueStartAtZero();
    void recordReadWhileScriptThreadAppends();

    void measurementPointTable_data();
    void measurementPointTable();
    void progressTextTable_data();
    void progressTextTable();
};

void tst_scriptExecutor::emptyScriptFinishesAtOnce()
{
    executorRig rig;
    rig.run({});
    QCOMPARE(rig.take(), QStringList{"finished"});
    rig.exec.processScript();
    QCOMPARE(rig.take(), QStringList{"finished"});
}

void tst_scriptExecutor::loopReportsEveryPassInOrder()
{
    executorRig rig;
    rig.run({"WAIT 100 1", "GOTOCMD 0 2"});
    QCOMPARE(rig.take(), QStringList{"exec 0 1 1 ''"});
    QVERIFY(rig.exec.waitTimer->isActive());
    rig.exec.waitTimerElapsed();
    QCOMPARE(rig.take(), (QStringList{"exec 1 2 2 ''", "rep 1", "exec 0 1 1 ''"}));
    rig.exec.waitTimerElapsed();
    QCOMPARE(rig.take(), (QStringList{"exec 1 1 2 ''", "rep 0", "exec 0 1 0 ''"}));
    rig.exec.waitTimerElapsed();
    QCOMPARE(rig.take(), (QStringList{"exec 1 2 0 ''", "finished"}));
    QVERIFY(!rig.exec.waitTimer->isActive());
}

void tst_scriptExecutor::gotoCmdLoops_data()
{
    QTest::addColumn<QStringList>("script");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("repeat 0 does not jump")
        << QStringList{"GOTOCMD 0 0", "GOTOPOS 5 0"}
        << QStringList{"exec 0 0 0 ''", "exec 1 0 0 ''", "abs 5", "finished"};
    QTest::newRow("jump to itself runs n + 1 times")
        << QStringList{"GOTOCMD 0 2"}
        << QStringList{"exec 0 2 2 ''", "rep 1", "exec 0 1 2 ''", "rep 0", "exec 0 2 0 ''", "finished"};
    QTest::newRow("forward jump")
        << QStringList{"GOTOCMD 2 1", "GOTOPOS 1 0", "GOTOPOS 2 0"}
        << QStringList{"exec 0 1 1 ''", "rep 0", "exec 2 0 0 ''", "abs 2", "finished"};
    QTest::newRow("target below the list ends the run")
        << QStringList{"GOTOPOS 1 0", "GOTOCMD -1 1", "GOTOPOS 2 0"}
        << QStringList{"exec 0 0 0 ''", "abs 1", "exec 1 1 1 ''", "finished"};
    QTest::newRow("target just past the list ends the run")
        << QStringList{"GOTOCMD 1 3"} << QStringList{"exec 0 3 3 ''", "finished"};
    QTest::newRow("far target ends the run")
        << QStringList{"GOTOCMD 1000000 1", "GOTOPOS 1 0"} << QStringList{"exec 0 1 1 ''", "finished"};
    QTest::newRow("bad target without repeat is never used")
        << QStringList{"GOTOCMD 1000000 0", "GOTOPOS 1 0"}
        << QStringList{"exec 0 0 0 ''", "exec 1 0 0 ''", "abs 1", "finished"};
}

void tst_scriptExecutor::gotoCmdLoops()
{
    QFETCH(QStringList, script);
    QFETCH(QStringList, expected);
    executorRig rig;
    rig.run(script);
    // A GOTOPOS waits for its report; let it come where the script has one.
    if (script.first().startsWith(QLatin1String("GOTOPOS")))
        emit rig.drive.positionReached();
    QCOMPARE(rig.take(), expected);
}

void tst_scriptExecutor::longLoopOfImmediateCommandsRunsInOneCall()
{
    scriptExecutor exec;
    exec.init();
    qint64 nExecuted = 0;
    int nFinished = 0;
    int nLastRepetition = -1;
    connect(&exec, &scriptExecutor::commandExecuted, [&nExecuted] { ++nExecuted; });
    connect(&exec, &scriptExecutor::finished, [&nFinished] { ++nFinished; });
    connect(&exec, &scriptExecutor::setCmdRepetition, [&nLastRepetition](int n) { nLastRepetition = n; });
    exec.setScript(executorRig::scriptOf({"MEAS 2 0", "GOTOCMD 0 999999", "GOTOPOS 7 0"}));
    int nGoto = -1;
    connect(&exec, &scriptExecutor::gotoPosAbs, [&nGoto](int n) { nGoto = n; });
    // Chained by recursion this would overflow the stack long before the end.
    exec.processScript();
    QCOMPARE(nExecuted, qint64(2 * 1000000 + 1));
    QCOMPARE(nLastRepetition, 0);
    QCOMPARE(nGoto, 7);
    QCOMPARE(nFinished, 1);
}

void tst_scriptExecutor::endlessLoopStopsAtOnce()
{
    // The nested loop shares one counter: the outer GOTOCMD reloads it every
    // time, so the script runs until it is stopped.
    executorRig rig;
    int nExecuted = 0;
    QObject::connect(&rig.exec, &scriptExecutor::commandExecuted, [&] {
        if (++nExecuted % 10000 == 0)
            rig.exec.stopScript();
    });
    rig.run({"MEAS 2 0", "GOTOCMD 0 1", "GOTOCMD 0 2"});
    QCOMPARE(nExecuted, 10000);
    QVERIFY(!rig.log.contains("finished"));
    rig.exec.processScript();
    QCOMPARE(nExecuted, 20000);
    QVERIFY(!rig.log.contains("finished"));
}

void tst_scriptExecutor::endlessLoopStopsFromAnotherThread()
{
    QThread thread;
    auto *exec = new scriptExecutor;
    exec->moveToThread(&thread);
    connect(&thread, &QThread::finished, exec, &QObject::deleteLater);
    thread.start();
    std::atomic<int> nExecuted{0};
    connect(exec, &scriptExecutor::commandExecuted, exec, [&nExecuted] { ++nExecuted; }, Qt::DirectConnection);
    QMetaObject::invokeMethod(exec, &scriptExecutor::init, Qt::QueuedConnection);
    const lvScript script = executorRig::scriptOf({"MEAS 2 0", "GOTOCMD 0 1", "GOTOCMD 0 2"});
    QMetaObject::invokeMethod(exec, [exec, script] { exec->setScript(script); }, Qt::QueuedConnection);
    QMetaObject::invokeMethod(exec, &scriptExecutor::processScript, Qt::QueuedConnection);
    QTRY_VERIFY_WITH_TIMEOUT(nExecuted.load() > 1000, 20000);

    // The main window's direct call, while the chain runs in the script thread.
    exec->stopScript();
    std::atomic<bool> bEventLoopFree{false};
    QMetaObject::invokeMethod(exec, [&bEventLoopFree] { bEventLoopFree = true; }, Qt::QueuedConnection);
    QTRY_VERIFY_WITH_TIMEOUT(bEventLoopFree.load(), 20000);
    const int nAtStop = nExecuted.load();
    QTest::qWait(50);
    QCOMPARE(nExecuted.load(), nAtStop);
    thread.quit();
    QVERIFY(thread.wait(20000));
}

void tst_scriptExecutor::gotoDataThenGotoPos()
{
    executorRig rig;
    rig.exec.onSetExtFeedback(feedbackWithFormula(QStringLiteral("val1 * 2")));
    rig.run({"GOTODATA 2500 0", "GOTOPOS 100 1"});
    // The position report is cut before the drive is asked to go.
    QCOMPARE(rig.take(), (QStringList{"exec 0 0 0 '5.00'", "cpos 0", "data 2500 0 0", "meas 1"}));
    QCOMPARE(rig.exec.dblDataSetpoint, 5.0);
    QVERIFY(rig.window.bMeasuring);

    emit rig.drive.reachedDataPoint();
    emit rig.drive.positionReached(); // the arrival at the start position
    emit rig.drive.reachedDataPoint();
    QCOMPARE(rig.take(), QStringList());
    QCOMPARE(rig.exec.nReachedCount, 2);

    emit rig.drive.reachedDataPoint();
    QCOMPARE(rig.take(), (QStringList{"stopfb", "cpos 1", "exec 1 1 1 ''", "abs 100", "finished"}));
    QCOMPARE(rig.drive.calls, (QStringList{"goto 500000", "stopfb", "goto 100"}));
}

void tst_scriptExecutor::gotoDataThenWaitHoldsTheValue()
{
    executorRig rig;
    rig.run({"GOTODATA 2500 0", "WAIT 5000 1"});
    rig.take();
    for (int i = 0; i < 3; ++i)
        emit rig.drive.reachedDataPoint();
    QCOMPARE(rig.take(), (QStringList{"cdata 0", "exec 1 1 1 ''"}));
    QVERIFY(rig.exec.waitTimer->isActive());
    // The regulation goes on reporting; nothing restarts the WAIT.
    for (int i = 0; i < 5; ++i) {
        emit rig.drive.reachedDataPoint();
        emit rig.drive.positionReached();
    }
    QCOMPARE(rig.take(), QStringList());
    rig.exec.waitTimerElapsed();
    QCOMPARE(rig.take(), (QStringList{"cdata 1", "cpos 1", "finished"}));
    // The regulation was never ended.
    QVERIFY(!rig.drive.calls.contains("stopfb"));
}

void tst_scriptExecutor::regulationReportDuringMoveRunsNextWait()
{
    executorRig rig;
    rig.run({"GOTODATA 2500 0", "WAIT 5000 1", "GOTOPOS 300 1", "WAIT 1000 1"});
    for (int i = 0; i < 3; ++i)
        emit rig.drive.reachedDataPoint();
    rig.take();
    rig.exec.waitTimerElapsed();
    QCOMPARE(rig.take(), (QStringList{"cdata 1", "cpos 1", "exec 2 1 1 ''", "abs 300"}));
    // The regulation still runs; its report during the move goes on.
    emit rig.drive.reachedDataPoint();
    QCOMPARE(rig.take(), QStringList{"exec 3 1 1 ''"});
}

void tst_scriptExecutor::alreadyThereAnswerIsNoDataReport()
{
    executorRig rig;
    rig.window.bAlreadyThere = true;
    rig.run({"GOTODATA 2500 0", "GOTOPOS 100 1"});
    QCOMPARE(rig.drive.calls, QStringList{"goto 500000"});
    QCOMPARE(rig.exec.nReachedCount, 0);
    QVERIFY(rig.exec.bWaitForData);
    emit rig.drive.reachedDataPoint();
    emit rig.drive.reachedDataPoint();
    QVERIFY(!rig.log.contains("abs 100"));
    emit rig.drive.reachedDataPoint();
    QVERIFY(rig.log.contains("abs 100"));
}

void tst_scriptExecutor::lastGotoDataStillEndsItsDataWait()
{
    executorRig rig;
    rig.run({"GOTODATA 2500 0"});
    QCOMPARE(rig.take().last(), QStringLiteral("finished"));
    for (int i = 0; i < 3; ++i)
        emit rig.drive.reachedDataPoint();
    QCOMPARE(rig.take(), (QStringList{"stopfb", "cpos 1"}));
    emit rig.drive.reachedDataPoint();
    emit rig.drive.positionReached();
    QCOMPARE(rig.take(), QStringList());
}

void tst_scriptExecutor::interruptedGotoDataLetsGotoPosAdvance()
{
    {
        // Stop in the data wait, then the operator starts at the GOTOPOS.
        executorRig rig;
        rig.run({"GOTODATA 2500 0", "GOTOPOS 100 0", "GOTOPOS 200 0"});
        emit rig.drive.reachedDataPoint();
        rig.take();
        rig.exec.stopScript();
        QCOMPARE(rig.take(), QStringList{"cpos 1"});
        rig.exec.onSetCmd(1);
        rig.exec.processScript();
        QCOMPARE(rig.take(), (QStringList{"exec 1 0 0 ''", "abs 100"}));
        emit rig.drive.positionReached();
        QCOMPARE(rig.take(), (QStringList{"exec 2 0 0 ''", "abs 200", "finished"}));
    }
    {
        // Stop in the data wait, then another script is selected and run;
        // the tab was left and entered meanwhile, which joins the reports again.
        executorRig rig;
        rig.run({"GOTODATA 2500 0", "GOTOPOS 100 0"});
        rig.exec.stopScript();
        rig.window.connectPositionReachedToScriptExec(true);
        rig.window.connectDataReachedToScriptExec(true);
        rig.run({"GOTOPOS 7 0", "GOTOPOS 8 0"});
        rig.take();
        emit rig.drive.positionReached();
        // Executed once: the connection exists once.
        QCOMPARE(rig.take(), (QStringList{"exec 1 0 0 ''", "abs 8", "finished"}));
    }
}

void tst_scriptExecutor::resumedDataWaitCutsThePositionReportAgain()
{
    executorRig rig;
    rig.run({"GOTODATA 2500 0", "GOTOPOS 100 0"});
    emit rig.drive.reachedDataPoint();
    rig.exec.stopScript();
    rig.take();
    // Resuming goes on counting the open data wait.
    rig.exec.processScript();
    QCOMPARE(rig.take(), QStringList{"cpos 0"});
    QCOMPARE(rig.exec.nReachedCount, 2);
    emit rig.drive.positionReached();
    QCOMPARE(rig.exec.nReachedCount, 2);
    emit rig.drive.reachedDataPoint();
    QCOMPARE(rig.take(), (QStringList{"stopfb", "cpos 1", "exec 1 0 0 ''", "abs 100", "finished"}));
}

void tst_scriptExecutor::stopDuringWaitThenNewScriptRunsNothing()
{
    executorRig rig;
    rig.run({"WAIT 30 1", "GOTOPOS 1 0"});
    rig.exec.stopScript();
    rig.select({"GOTOPOS 5 0", "GOTOPOS 6 0"});
    QVERIFY(!rig.exec.waitTimer->isActive());
    rig.take();
    QTest::qWait(150);
    QCOMPARE(rig.take(), QStringList());
    rig.exec.processScript();
    QCOMPARE(rig.take(), (QStringList{"exec 0 0 0 ''", "abs 5"}));
}

void tst_scriptExecutor::newScriptDuringHoldGivesReportsBack()
{
    executorRig rig;
    rig.run({"GOTODATA 2500 0", "WAIT 100000 1"});
    for (int i = 0; i < 3; ++i)
        emit rig.drive.reachedDataPoint();
    rig.take();
    rig.select({"GOTOPOS 5 0", "GOTOPOS 6 0"});
    QCOMPARE(rig.take(), (QStringList{"cdata 1", "cpos 1"}));
    QVERIFY(!rig.exec.waitTimer->isActive());
    rig.exec.processScript();
    emit rig.drive.positionReached();
    QCOMPARE(rig.take(), (QStringList{"exec 0 0 0 ''", "abs 5", "exec 1 0 0 ''", "abs 6", "finished"}));
}

void tst_scriptExecutor::reportsOutsideRunExecuteNothing()
{
    executorRig rig;
    // Before any run: the default command must not run, nor the script.
    rig.select({"GOTOPOS 5 0", "GOTOPOS 6 0"});
    emit rig.drive.positionReached();
    emit rig.drive.reachedDataPoint();
    QCOMPARE(rig.take(), QStringList());

    rig.exec.processScript();
    emit rig.drive.positionReached();
    QCOMPARE(rig.take().last(), QStringLiteral("finished"));
    emit rig.drive.positionReached();
    QCOMPARE(rig.take(), QStringList());

    // Stopped: nothing either; the run goes on where it stood.
    rig.run({"GOTOPOS 5 0", "GOTOPOS 6 0"});
    rig.exec.stopScript();
    rig.take();
    emit rig.drive.positionReached();
    QCOMPARE(rig.take(), QStringList());
    rig.exec.processScript();
    QCOMPARE(rig.take(), (QStringList{"exec 1 0 0 ''", "abs 6", "finished"}));

    // After a chosen start command, until the run is started.
    rig.select({"GOTOPOS 5 0", "GOTOPOS 6 0"});
    rig.exec.onSetCmd(1);
    emit rig.drive.positionReached();
    QCOMPARE(rig.take(), QStringList());
}

void tst_scriptExecutor::runRequestDuringRunChangesNothing_data()
{
    // A second start (the start cell held or tapped twice) while the run
    // waits for something; then what the run waits for arrives.
    QTest::addColumn<QStringList>("script");
    QTest::addColumn<QString>("report");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("during a move")
        << QStringList{"GOTOPOS 100 0", "GOTOPOS 200 0"} << "position"
        << QStringList{"exec 1 0 0 ''", "abs 200", "finished"};
    QTest::newRow("during a wait")
        << QStringList{"WAIT 1000 1", "GOTOPOS 200 0"} << "wait"
        << QStringList{"exec 1 0 0 ''", "abs 200", "finished"};
    QTest::newRow("during a data wait")
        << QStringList{"GOTODATA 2500 0", "GOTOPOS 200 0"} << "data"
        << QStringList{"stopfb", "cpos 1", "exec 1 0 0 ''", "abs 200", "finished"};
}

void tst_scriptExecutor::runRequestDuringRunChangesNothing()
{
    QFETCH(QStringList, script);
    QFETCH(QString, report);
    QFETCH(QStringList, expected);
    executorRig rig;
    rig.run(script);
    rig.take();
    rig.exec.processScript();
    QCOMPARE(rig.take(), QStringList());
    if (report == QLatin1String("position")) {
        emit rig.drive.positionReached();
    } else if (report == QLatin1String("wait")) {
        rig.exec.waitTimerElapsed();
    } else {
        // The third report of the regulation ends the data wait, not the
        // second one.
        emit rig.drive.reachedDataPoint();
        emit rig.drive.reachedDataPoint();
        QCOMPARE(rig.take(), QStringList());
        emit rig.drive.reachedDataPoint();
    }
    QCOMPARE(rig.take(), expected);
}

void tst_scriptExecutor::measureCommands_data()
{
    QTest::addColumn<QStringList>("script");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<bool>("recording");
    QTest::addColumn<int>("mode");

    QTest::newRow("MEAS 1 1 clears and records")
        << QStringList{"MEAS 1 1"} << QStringList{"exec 0 1 1 ''", "meas 1", "clear", "finished"} << true << 2;
    QTest::newRow("MEAS 0 5 ends measuring and recording")
        << QStringList{"MEAS 2 1", "MEAS 0 5"}
        << QStringList{"exec 0 1 1 ''", "meas 1", "exec 1 5 5 ''", "meas 0", "finished"} << false << 2;
    QTest::newRow("MEASOPEN 2 0 measures without recording")
        << QStringList{"MEASOPEN 2 0"} << QStringList{"exec 0 0 0 ''", "meas 1", "finished"} << false << 0;
    QTest::newRow("MEASOPEN 2 0 while recording keeps recording")
        << QStringList{"MEAS 2 1", "MEASOPEN 2 0"}
        << QStringList{"exec 0 1 1 ''", "meas 1", "exec 1 0 0 ''", "finished"} << true << 0;
    QTest::newRow("MEASCLOSE 1 1 while recording clears")
        << QStringList{"MEAS 2 1", "MEASCLOSE 1 1"}
        << QStringList{"exec 0 1 1 ''", "meas 1", "exec 1 1 1 ''", "clear", "finished"} << true << 1;
    QTest::newRow("MEAS 0 0 when not measuring")
        << QStringList{"MEAS 0 0"} << QStringList{"exec 0 0 0 ''", "meas 0", "finished"} << false << 2;
    QTest::newRow("MEASCLOSE 3 2 records without clearing")
        << QStringList{"MEASCLOSE 3 2"} << QStringList{"exec 0 2 2 ''", "meas 1", "finished"} << true << 1;
    // Within one chain of commands a request is sent only when it changes
    // what the chain asked for before.
    QTest::newRow("a loop asks for measuring once")
        << QStringList{"MEAS 2 0", "GOTOCMD 0 2"}
        << QStringList{"exec 0 0 0 ''", "meas 1", "exec 1 2 2 ''", "rep 1", "exec 0 1 0 ''", "exec 1 1 2 ''",
                       "rep 0", "exec 0 0 0 ''", "exec 1 2 0 ''", "finished"}
        << false << 2;
    QTest::newRow("a loop clears the diagram once")
        << QStringList{"MEAS 1 1", "GOTOCMD 0 1"}
        << QStringList{"exec 0 1 1 ''", "meas 1", "clear", "exec 1 1 1 ''", "rep 0", "exec 0 1 0 ''",
                       "exec 1 1 0 ''", "finished"}
        << true << 2;
    QTest::newRow("a loop switching measuring asks every time")
        << QStringList{"MEAS 0 0", "MEAS 2 0", "GOTOCMD 0 1"}
        << QStringList{"exec 0 0 0 ''", "meas 0", "exec 1 0 0 ''", "meas 1", "exec 2 1 1 ''", "rep 0",
                       "exec 0 0 0 ''", "meas 0", "exec 1 0 0 ''", "meas 1", "exec 2 1 0 ''", "finished"}
        << false << 2;
    // A WAIT returns to the event loop: the next chain asks afresh, since the
    // drive or a Stop may have switched measuring meanwhile.
    QTest::newRow("each chain asks afresh")
        << QStringList{"MEAS 2 0", "WAIT 0 0", "MEAS 2 0"}
        << QStringList{"exec 0 0 0 ''", "meas 1", "exec 1 0 0 ''", "exec 2 0 0 ''", "meas 1", "finished"} << false
        << 2;
}

void tst_scriptExecutor::measureCommands()
{
    QFETCH(QStringList, script);
    QFETCH(QStringList, expected);
    QFETCH(bool, recording);
    QFETCH(int, mode);
    executorRig rig;
    rig.run(script);
    // A WAIT ends at the next turn of the event loop.
    QTRY_VERIFY_WITH_TIMEOUT(rig.log.contains(QStringLiteral("finished")), 20000);
    QCOMPARE(rig.take(), expected);
    QCOMPARE(rig.exec.bRecording, recording);
    QCOMPARE(rig.exec.nMeasureMode, mode);
}

void tst_scriptExecutor::recordingTakesPointsAfterPositionReports()
{
    fakeClock clock;
    executorRig rig;
    rig.exec.onSetExtFeedback(feedbackWithFormula(QStringLiteral("val1 + val2"), QStringLiteral("sum")));
    rig.run({"MEAS 1 1", "WAIT 100000 1"});
    rig.take();

    // No position since the record was cleared: no point.
    clock.advance(100);
    rig.sample(1.0, 2.0, 3.0);
    QVERIFY(rig.take().filter(QStringLiteral("point")).isEmpty());

    emit rig.drive.setMotorPosition(1000);
    QCOMPARE(rig.take(), QStringList{"getA"});
    clock.advance(400);
    // Feedback 1 is input 3, feedback 2 input 1.
    rig.sample(1.0, 2.0, 3.0, 2, 0);
    clock.advance(500);
    rig.sample(1.0, 2.0, 3.0, 2, 0); // standstill
    emit rig.drive.setMotorPosition(3000);
    clock.advance(500);
    rig.sample(1.5, 2.0, 5.5, 2, 0);
    QCOMPARE(rig.log.filter(QStringLiteral("point")), (QStringList{"point 0", "point 0", "point 0"}));

    const lvTeachIn record = rig.exec.teachInSnapshot();
    QCOMPARE(record.sensor.strName, QStringLiteral("sum"));
    QCOMPARE(record.vecTeachInData.size(), 3);
    const lvTeachInData &a = record.vecTeachInData.at(0);
    QCOMPARE(a.dblTime, 0.5);
    QCOMPARE(a.nSteps, 1000);
    QCOMPARE(a.dblCh1, 3.0);
    QCOMPARE(a.dblCh2, 1.0);
    QCOMPARE(a.dblData, 4.0);
    QCOMPARE(a.dblSetpoint, 0.0);
    QCOMPARE(a.nCurveType, int(CURVE_DATA));
    QCOMPARE(a.dblSens, 0.0);
    const lvTeachInData &b = record.vecTeachInData.at(1);
    QCOMPARE(b.dblTime, 1.0);
    QCOMPARE(b.dblSens, 0.0);
    QVERIFY(std::isfinite(record.dblMaxSens) && std::isfinite(record.dblMinSens));
    const lvTeachInData &c = record.vecTeachInData.at(2);
    QCOMPARE(c.dblData, 7.0);
    QCOMPARE(c.dblSens, (4.0 - 7.0) / (1000 - 3000));
    QCOMPARE(record.dblMinSteps, 1000.0);
    QCOMPARE(record.dblMaxSteps, 3000.0);
    QCOMPARE(record.dblMinData, 4.0);
    QCOMPARE(record.dblMaxData, 7.0);
    QCOMPARE(record.dblMinTime, 0.5);
    QCOMPARE(record.dblMaxTime, 1.5);
    QCOMPARE(record.dblMinSens, 0.0);
    QCOMPARE(record.dblMaxSens, 0.0015);
    QCOMPARE(rig.exec.dblLastData, 7.0);
}

void tst_scriptExecutor::saveWritesTeachInThatReadsBack()
{
    testWorkDir work;
    executorRig rig;
    rig.exec.onSetExtFeedback(feedbackWithFormula(QStringLiteral("val1 * 10"), QStringLiteral("tenfold")));
    rig.run({"MEASOPEN 1 1", "WAIT 100000 1", "SAVE 0 0"}, QStringLiteral("opening"));
    for (int i = 1; i <= 3; ++i) {
        emit rig.drive.setMotorPosition(i * 100000);
        rig.sample(i * 1.0, 5.0, 0.0);
    }
    rig.take();
    rig.exec.waitTimerElapsed();
    QCOMPARE(rig.take(), (QStringList{"exec 2 0 0 ''", "saved opening", "name opening", "finished"}));

    lvTeachIn back;
    QVERIFY(back.readTeachInFromFile(QStringLiteral("opening")));
    QCOMPARE(back.sensor.strName, QStringLiteral("tenfold"));
    QCOMPARE(back.vecTeachInData.size(), 3);
    for (int i = 0; i < 3; ++i) {
        const lvTeachInData &p = back.vecTeachInData.at(i);
        QCOMPARE(p.nSteps, (i + 1) * 100000);
        QCOMPARE(p.nCurveType, int(CURVE_OPEN));
        QCOMPARE(p.dblCh1, i + 1.0);
        QCOMPARE(p.dblData, (i + 1) * 10.0);
    }
    // The record keeps its points.
    QCOMPARE(rig.exec.teachInSnapshot().vecTeachInData.size(), 3);
}

void tst_scriptExecutor::saveWithFewerThanTwoPointsKeepsExistingFile()
{
    testWorkDir work;
    const QByteArray previous("Version: 103;\nsensor name: x;\n");
    QVERIFY(work.writeFile(QStringLiteral("teachIn/kept.kfxteachin"), previous));
    executorRig rig;
    rig.run({"MEAS 1 1", "WAIT 100000 1", "SAVE 0 0"}, QStringLiteral("kept"));
    emit rig.drive.setMotorPosition(100);
    rig.sample(1.0, 1.0, 0.0);
    rig.exec.waitTimerElapsed();
    QCOMPARE(rig.log.filter(QRegularExpression(QStringLiteral("^(saved|name)"))), QStringList());
    QCOMPARE(rig.log.last(), QStringLiteral("finished"));
    QCOMPARE(work.readFile(QStringLiteral("teachIn/kept.kfxteachin")), previous);
}

void tst_scriptExecutor::progressTexts()
{
    fakeClock clock;
    executorRig rig;
    rig.run({"WAIT 10000 1"});
    clock.advance(1500);
    rig.take();
    rig.sample(0, 0, 0);
    QCOMPARE(rig.take(), QStringList{"progress 0 0 0 WAIT time: 1.5/10"});
    rig.exec.stopScript();
    rig.sample(0, 0, 0);
    QCOMPARE(rig.take(), QStringList());

    rig.run({"GOTODATA 1000 0", "GOTOPOS 1 0"});
    rig.take();
    for (int i = 0; i < 3; ++i) {
        rig.sample(0, 0, 0);
        emit rig.drive.reachedDataPoint();
    }
    rig.sample(0, 0, 0);
    QCOMPARE(rig.log.filter(QStringLiteral("progress")),
             (QStringList{"progress 0 0 0 GOTODATA reached: 0/3", "progress 0 0 0 GOTODATA reached: 1/3",
                          "progress 0 0 0 GOTODATA reached: 2/3"}));
}

void tst_scriptExecutor::stopDuringWaitAndResume()
{
    fakeClock clock;
    executorRig rig;
    rig.run({"MEAS 2 1", "WAIT 1000 1", "GOTOPOS 9 0"});
    emit rig.drive.setMotorPosition(5);
    clock.advance(2000);
    rig.sample(1, 1, 1);
    QCOMPARE(rig.exec.teachInSnapshot().vecTeachInData.last().dblTime, 2.0);

    // Stopped before the time is up: the WAIT starts again.
    rig.exec.stopScript();
    rig.take();
    rig.exec.processScript();
    QCOMPARE(rig.take(), QStringList{"exec 1 1 1 ''"});
    QVERIFY(rig.exec.waitTimer->isActive());

    // Stopped and the time ran out meanwhile: the next command waits for the run.
    rig.exec.stopScript();
    rig.exec.waitTimerElapsed();
    QCOMPARE(rig.take(), QStringList());
    rig.sample(1, 1, 1);
    QCOMPARE(rig.exec.teachInSnapshot().vecTeachInData.size(), 1);
    rig.exec.processScript();
    QCOMPARE(rig.take(), (QStringList{"exec 2 0 0 ''", "abs 9", "finished"}));
    // The points' times start again with the run.
    clock.advance(300);
    rig.sample(1, 1, 1);
    QCOMPARE(rig.exec.teachInSnapshot().vecTeachInData.last().dblTime, 0.3);
}

void tst_scriptExecutor::chosenCommandStartsTheRun()
{
    executorRig rig;
    rig.select({"WAIT 1 1", "WAIT 2 1", "WAIT 3 1", "GOTOCMD 1 4", "GOTOPOS 7 0"});
    rig.exec.onSetCmd(5);
    rig.exec.onSetCmd(-1);
    rig.exec.onSetCmd(3);
    rig.exec.processScript();
    QCOMPARE(rig.take(), (QStringList{"exec 3 4 4 ''", "rep 3", "exec 1 3 1 ''"}));
}

void tst_scriptExecutor::setValueAndLastValueStartAtZero()
{
    executorRig rig;
    rig.run({"MEAS 1 1", "GOTODATA 1000 0"});
    QVERIFY(rig.log.contains("data 1000 0 0"));
    emit rig.drive.setMotorPosition(10);
    rig.sample(1, 1, 1);
    QCOMPARE(rig.exec.teachInSnapshot().vecTeachInData.last().dblSetpoint, rig.exec.dblDataSetpoint);

    scriptExecutor fresh;
    QCOMPARE(fresh.dblDataSetpoint, 0.0);
    QCOMPARE(fresh.dblLastData, 0.0);
}

void tst_scriptExecutor::recordReadWhileScriptThreadAppends()
{
    QThread thread;
    auto *exec = new scriptExecutor;
    exec->moveToThread(&thread);
    connect(&thread, &QThread::finished, exec, &QObject::deleteLater);
    thread.start();
    const auto stopThread = qScopeGuard([&thread] {
        thread.quit();
        thread.wait();
    });
    exec->onSetExtFeedback(feedbackWithFormula(QStringLiteral("val1")));
    lvTeachIn *pHanded = nullptr;
    connect(exec, &scriptExecutor::updateDiagramMeasure, this, [&pHanded](lvTeachIn *p, bool) { pHanded = p; });
    lvTeachIn *pRecord = exec->measurementRecord();
    const lvScript script = executorRig::scriptOf({"MEAS 1 1", "WAIT 100000 1"});
    constexpr int nPoints = 20000;
    QMetaObject::invokeMethod(exec, [exec, script] {
        exec->init();
        exec->setScript(script);
        exec->processScript();
        for (int i = 1; i <= nPoints; ++i) {
            exec->onMotorPositionUpdated(i);
            exec->onGetAnalogValue(i, 0.0, 0.0, 0, 1);
        }
    }, Qt::QueuedConnection);

    // The GUI side reads the record as the diagram does while the points
    // arrive: every view is one consistent state.
    int nSeen = 0;
    QElapsedTimer timer;
    timer.start();
    while (nSeen < nPoints && timer.elapsed() < 60000) {
        const lvTeachIn view = pRecord->snapshot();
        const int n = view.vecTeachInData.size();
        QVERIFY(n >= nSeen);
        if (n > 0) {
            QCOMPARE(view.vecTeachInData.last().nSteps, n);
            QCOMPARE(view.dblMaxSteps, double(n));
            QCOMPARE(view.dblMaxData, double(n));
        }
        bool bGrown = false;
        pRecord->withLock([&bGrown, n](const lvTeachIn &t) { bGrown = t.vecTeachInData.size() >= n; });
        QVERIFY(bGrown);
        nSeen = n;
    }
    QCOMPARE(nSeen, nPoints);
    // The address handed out with every point is that record.
    QTRY_VERIFY_WITH_TIMEOUT(pHanded != nullptr, 20000);
    QCOMPARE(pHanded, pRecord);
}

void tst_scriptExecutor::measurementPointTable_data()
{
    QTest::addColumn<int>("previousSteps");
    QTest::addColumn<double>("previousData");
    QTest::addColumn<int>("steps");
    QTest::addColumn<double>("data");
    QTest::addColumn<double>("sensitivity");

    const double NaN = std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("opening, value rising") << 1000 << 1.0 << 3000 << 5.0 << 0.002;
    QTest::newRow("closing, value falling") << 3000 << 5.0 << 1000 << 1.0 << 0.002;
    QTest::newRow("standstill, value changed") << 2000 << 1.0 << 2000 << 3.0 << 0.0;
    QTest::newRow("standstill, value the same") << 2000 << 1.0 << 2000 << 1.0 << 0.0;
    QTest::newRow("value no number") << 1000 << 1.0 << 2000 << NaN << 0.0;
    QTest::newRow("extreme positions") << std::numeric_limits<int>::min() << 0.0 << std::numeric_limits<int>::max()
                                       << 1.0 << 1.0 / 4294967295.0;
}

void tst_scriptExecutor::measurementPointTable()
{
    QFETCH(int, previousSteps);
    QFETCH(double, previousData);
    QFETCH(int, steps);
    QFETCH(double, data);
    QFETCH(double, sensitivity);

    lvTeachIn record;
    lvTeachInData first;
    first.nSteps = previousSteps;
    first.dblData = previousData;
    appendMeasurementPoint(record, first);
    QCOMPARE(record.dblMinSens, 1000000.0); // the first point leaves the range alone
    lvTeachInData second;
    second.nSteps = steps;
    second.dblData = data;
    appendMeasurementPoint(record, second);
    QCOMPARE(record.vecTeachInData.size(), 2);
    QCOMPARE(record.vecTeachInData.at(1).dblSens, sensitivity);
    QVERIFY(std::isfinite(record.dblMinSens) && std::isfinite(record.dblMaxSens));
    QCOMPARE(record.dblMinSens, qMin(sensitivity, 1000000.0));
    QCOMPARE(record.dblMaxSens, qMax(sensitivity, 0.0));
}

void tst_scriptExecutor::progressTextTable_data()
{
    QTest::addColumn<qint64>("elapsed");
    QTest::addColumn<int>("wait");
    QTest::addColumn<QString>("text");
    QTest::newRow("part of ten seconds") << qint64(1500) << 10000 << "time: 1.5/10";
    QTest::newRow("nothing yet") << qint64(0) << 0 << "time: 0/0";
    QTest::newRow("six digits") << qint64(1234567) << 100 << "time: 1234.57/0.1";
    QTest::newRow("negative wait") << qint64(20) << -5 << "time: 0.02/-0.005";
}

void tst_scriptExecutor::progressTextTable()
{
    QFETCH(qint64, elapsed);
    QFETCH(int, wait);
    QFETCH(QString, text);
    QCOMPARE(waitProgressText(elapsed, wait), text);
    QCOMPARE(reachedProgressText(2), QStringLiteral("reached: 2/3"));
    QCOMPARE(feedbackChannel(1, 2, 3, 3), 0.0);
    QCOMPARE(feedbackChannel(1, 2, 3, -1), 0.0);
}

QTEST_GUILESS_MAIN(tst_scriptExecutor)
#include "tst_scriptExecutor.moc"
