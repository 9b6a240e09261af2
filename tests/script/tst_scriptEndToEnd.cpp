// One script run as the program runs it: the executor in its own thread, the
// real drive in the motor thread on the controller simulator's serial line,
// the analog inputs reading the plant, every connection queued; the stand-in
// for the main window does what the window's slots do.
#include "regulationBench.h"
#include "script/lvScript.h"
#include "script/scriptExecutor.h"

#include <QLoggingCategory>
#include <QThread>
#include <QtTest>

#include <cmath>

class windowStandIn : public QObject
{
    Q_OBJECT
public:
    windowStandIn(motorDriver *pDriver, scriptExecutor *pExec, lvTeachIn *pTeach, const lvExternalFeedback &fb)
        : drv(pDriver)
        , exec(pExec)
        , teach(pTeach)
        , extFeedback(fb)
    {
        connect(this, &windowStandIn::setDataToMotor, drv, &motorDriver::onMotorGotoLeak);
        connect(this, &windowStandIn::setMeaureData, drv, &motorDriver::onSetMeasureData);
        connect(drv, &motorDriver::setMeasurement, this, &windowStandIn::onSetMeasurement);
    }

    QStringList executed;
    QStringList saved;
    int nFinished = 0;
    QList<bool> measuring;

signals:
    void setDataToMotor(double dblData, int nSteps);
    void setMeaureData(bool b);

public slots:
    void setData(int nValue, int nRepeat, double dblActualData)
    {
        extFeedback.sensor.calcData(nValue / 1000.0, nRepeat / 1000.0);
        const double dblData = extFeedback.sensor.dblResult;
        emit setDataToMotor(dblData, teach->calcStepsFromData(dblData, dblActualData, 0.0));
    }
    void onSetMeasurement(bool b)
    {
        if (!measuring.isEmpty() && measuring.last() == b)
            return;
        measuring << b;
        emit setMeaureData(b);
    }
    void connectPositionReachedToScriptExec(bool bConnect)
    {
        if (bConnect)
            connect(drv, &motorDriver::positionReached, exec, &scriptExecutor::processNextCommand,
                    Qt::UniqueConnection);
        else
            disconnect(drv, &motorDriver::positionReached, exec, &scriptExecutor::processNextCommand);
    }
    void connectDataReachedToScriptExec(bool bConnect)
    {
        if (bConnect)
            connect(drv, &motorDriver::reachedDataPoint, exec, &scriptExecutor::processNextCommand,
                    Qt::UniqueConnection);
        else
            disconnect(drv, &motorDriver::reachedDataPoint, exec, &scriptExecutor::processNextCommand);
    }
    void onNewDataSaved(QString strName) { saved << strName; }
    void onCommandExecuted(int nNr, int, int, QString) { executed << QString::number(nNr); }
    void onFinished() { ++nFinished; }

private:
    motorDriver *drv;
    scriptExecutor *exec;
    lvTeachIn *teach;
    lvExternalFeedback extFeedback;
};

class tst_scriptEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLoggingCategory::setFilterRules(QStringLiteral("valve.*.debug=false")); }
    void runMovesRegulatesRecordsAndSaves();
};

void tst_scriptEndToEnd::runMovesRegulatesRecordsAndSaves()
{
    qRegisterMetaType<lvScript>("lvScript");
    regulationBench bench;
    QVERIFY(bench.setUp(100000));
    motorDriver *drv = bench.rig->drv;

    lvExternalFeedback fb = regulationBench::plantFeedback();
    fb.sensor.strName = QStringLiteral("plant");
    fb.sensor.strFormula = QStringLiteral("val1");
    fb.sensor.bExponential = false;

    QThread scriptThread;
    auto *exec = new scriptExecutor;
    exec->moveToThread(&scriptThread);
    scriptThread.start();
    // Also when a check fails half-way: a running thread must not be
    // destroyed.
    const auto stopScriptThread = [&] {
        if (scriptThread.isRunning() && !scriptThread.isFinished()) {
            QMetaObject::invokeMethod(exec, [exec] { exec->deleteLater(); }, Qt::QueuedConnection);
            scriptThread.quit();
        }
        return scriptThread.wait(20000);
    };
    const auto stopAtExit = qScopeGuard([&] { stopScriptThread(); });
    QMetaObject::invokeMethod(exec, &scriptExecutor::init, Qt::QueuedConnection);
    exec->onSetExtFeedback(fb);

    windowStandIn window(drv, exec, bench.teach.get(), fb);
    // Permanent links.
    connect(exec, &scriptExecutor::stopFeedbackData, drv, &motorDriver::onStopFeedback);
    connect(exec, &scriptExecutor::getAnalogValue, bench.analog.get(), &analogData::onGetAnalogValue);
    connect(bench.analog.get(), &analogData::setAnalogValue, exec, &scriptExecutor::onGetAnalogValue);
    connect(drv, &motorDriver::setMotorPosition, exec, &scriptExecutor::onMotorPositionUpdated);
    // While the Script page is shown.
    window.connectPositionReachedToScriptExec(true);
    window.connectDataReachedToScriptExec(true);
    connect(exec, &scriptExecutor::gotoPosAbs, drv, &motorDriver::onMotorGotoStep);
    connect(exec, &scriptExecutor::gotoPosRel, drv, &motorDriver::onMotorGotoRelative);
    connect(exec, &scriptExecutor::gotoData, &window, &windowStandIn::setData);
    connect(exec, &scriptExecutor::setMeasurement, &window, &windowStandIn::onSetMeasurement);
    connect(exec, &scriptExecutor::newDataSeved, &window, &windowStandIn::onNewDataSaved);
    connect(exec, &scriptExecutor::connectPositionReached, &window, &windowStandIn::connectPositionReachedToScriptExec);
    connect(exec, &scriptExecutor::connectDataReached, &window, &windowStandIn::connectDataReachedToScriptExec);
    connect(exec, &scriptExecutor::commandExecuted, &window, &windowStandIn::onCommandExecuted);
    connect(exec, &scriptExecutor::finished, &window, &windowStandIn::onFinished);

    QVERIFY(bench.work->writeFile(QStringLiteral("scripts/e2e.kfxscript"),
                                  "0;MEASOPEN;1;1;\n1;GOTOPOS;300000;0;\n2;WAIT;300;1;\n3;GOTOREL;200000;0;\n"
                                  "4;GOTODATA;5000;0;\n5;GOTOPOS;800000;0;\n6;SAVE;0;0;\n"));
    lvScript script;
    QVERIFY(script.readScriptFromFile(QStringLiteral("e2e")));
    QCOMPARE(script.cmdList.size(), 7);

    bench.startPlantSampling();
    QMetaObject::invokeMethod(exec, [exec, script] { exec->setScript(script); }, Qt::QueuedConnection);
    QMetaObject::invokeMethod(exec, &scriptExecutor::processScript, Qt::QueuedConnection);

    QTRY_COMPARE_WITH_TIMEOUT(window.nFinished, 1, 3 * regulationBench::WAIT_MS);
    QCOMPARE(window.executed, (QStringList{"0", "1", "2", "3", "4", "5", "6"}));
    QCOMPARE(window.saved, QStringList{"e2e"});
    // Measuring was switched on by MEASOPEN and off by the end of the data wait.
    QCOMPARE(window.measuring, (QList<bool>{true, false}));

    // The controller saw the moves in script order: 300000 and 500000 ppm,
    // the teach-in's position for 5.0 (700000 ppm) and its corrections, 800000.
    const QList<QByteArray> got = bench.rig->sim.receivedCommands();
    const int n1 = got.indexOf("g12000");
    const int n2 = got.indexOf("g20000");
    const int n3 = got.indexOf("g28000");
    const int n4 = got.lastIndexOf("g32000");
    QVERIFY2(n1 >= 0 && n1 < n2 && n2 < n3 && n3 < n4,
             qPrintable(QStringLiteral("%1 %2 %3 %4").arg(n1).arg(n2).arg(n3).arg(n4)));
    QTRY_COMPARE_WITH_TIMEOUT(bench.rig->sim.position(), 32000, regulationBench::WAIT_MS);
    // The span the valve travelled: from its start through every target it
    // was sent to. The regulation's corrections may reach past 800000 ppm
    // when the samples lag on a busy machine; a recorded position outside
    // this span is one the valve never had.
    int nLowestPpm = 100000;
    int nHighestPpm = 100000;
    for (const QByteArray &cmd : got) {
        if (cmd.size() < 2 || !cmd.startsWith('g'))
            continue;
        bool bNumber = false;
        const int nPpm = cmd.mid(1).toInt(&bNumber) * 25;
        if (!bNumber)
            continue;
        nLowestPpm = qMin(nLowestPpm, nPpm);
        nHighestPpm = qMax(nHighestPpm, nPpm);
    }
    QVERIFY(nHighestPpm >= 800000);

    // The saved teach-in reads back with the points recorded on the way.
    lvTeachIn back;
    QVERIFY(back.readTeachInFromFile(QStringLiteral("e2e")));
    QCOMPARE(back.sensor.strName, QStringLiteral("plant"));
    QVERIFY2(back.vecTeachInData.size() >= 4, qPrintable(QString::number(back.vecTeachInData.size())));
    int nLastSteps = -1;
    for (const lvTeachInData &p : qAsConst(back.vecTeachInData)) {
        QCOMPARE(p.nCurveType, int(CURVE_OPEN));
        QVERIFY2(p.nSteps >= nLowestPpm && p.nSteps <= nHighestPpm,
                 qPrintable(QStringLiteral("%1 outside %2..%3").arg(p.nSteps).arg(nLowestPpm).arg(nHighestPpm)));
        // The plant's feedback for the recorded position, as the card reads it
        // (a sample may lag one position report behind).
        QVERIFY(p.dblCh1 >= 0.5 && p.dblCh1 <= bench.plant.feedback1(nHighestPpm) + 0.05);
        QVERIFY(std::fabs(p.dblData - p.dblCh1) < 1e-9);
        nLastSteps = p.nSteps;
    }
    QVERIFY(nLastSteps > 700000);
    QVERIFY(back.dblMaxSteps <= nHighestPpm);

    QVERIFY(stopScriptThread());
}

QTEST_MAIN(tst_scriptEndToEnd)
#include "tst_scriptEndToEnd.moc"
