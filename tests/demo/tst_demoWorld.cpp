// The demo world of ./run.sh: what it lays out is read back by the program's
// own readers, its teach-in leads the regulation into its band on the demo
// plant, and an operator's own files and keys are never replaced.
#include "demoWorld.h"
#include "gaugePlant.h"
#include "testWorkDir.h"

#include "app/logFileScan.h"
#include "script/lvScript.h"
#include "valve/analogFrame.h"
#include "valve/lvSensor.h"
#include "valve/lvTeachIn.h"

#include <QFile>
#include <QSettings>
#include <QtTest>

#include <cmath>

class tst_demoWorld : public QObject
{
    Q_OBJECT

private slots:
    void freshWorldReadsBackAsTheDemo();
    void curveLeadsIntoTheBand_data();
    void curveLeadsIntoTheBand();
    void operatorFilesAndKeysAreKept();
};

void tst_demoWorld::freshWorldReadsBackAsTheDemo()
{
    testWorkDir wd;
    QVERIFY(wd.isValid());
    const QDateTime dtNow = QDateTime::currentDateTime();
    const demoWorld::layoutResult result = demoWorld::layOut(wd.path(), dtNow);
    QVERIFY2(result.bOk, qPrintable(result.strError));
    QVERIFY(result.kept.isEmpty());

    const lvSensor demo = demoWorld::sensor();
    lvSensor sensor;
    QVERIFY(sensor.readSensorFromFile(demo.strName));
    QCOMPARE(sensor.strName, demo.strName);
    QCOMPARE(sensor.strDataName, QStringLiteral("Leakrate"));
    QCOMPARE(sensor.strUnit, QStringLiteral("mbar*l/sec"));
    QCOMPARE(sensor.strFormula, gaugePlant::sensorFormula());
    QVERIFY(sensor.bExponential);

    lvTeachIn teach;
    QVERIFY(teach.readTeachInFromFile(demoWorld::teachInName()));
    QCOMPARE(teach.sensor.strName, demo.strName);
    QCOMPARE(teach.sensor.strFormula, demo.strFormula);
    QCOMPARE(teach.vecTeachInData.size(), 202);
    QCOMPARE(teach.vecTeachInData.first().nCurveType, int(CURVE_OPEN));
    QCOMPARE(teach.vecTeachInData.last().nCurveType, int(CURVE_CLOSE));
    // Six decades, from the closed valve to full travel.
    QVERIFY2(teach.dblMinData > 0.95e-9 && teach.dblMinData < 1.05e-9, qPrintable(QString::number(teach.dblMinData)));
    QVERIFY2(teach.dblMaxData > 0.95e-3 && teach.dblMaxData < 1.05e-3, qPrintable(QString::number(teach.dblMaxData)));
    QCOMPARE(teach.dblMaxSteps, 1000000.0);

    // The script that records a teach-in reads back as the demo's.
    lvScript script;
    QVERIFY(script.readScriptFromFile(demoWorld::scriptName()));
    QCOMPARE(script.cmdList, demoWorld::teachInScript());

    // The store makes them the active sensor and teach-in on inputs 1 and 2,
    // sampled from the card.
    QSettings store(QStringLiteral("varnix"), QStringLiteral("Pendrosix"));
    QCOMPARE(store.value(QStringLiteral("external feedback/sensor name")).toString(), demo.strName);
    QCOMPARE(store.value(QStringLiteral("external feedback/sensor formula")).toString(), demo.strFormula);
    QCOMPARE(store.value(QStringLiteral("external feedback/Relative Difference")).toDouble(), 0.1);
    QCOMPARE(store.value(QStringLiteral("teachIn/teachInFile")).toString(), demoWorld::teachInName());
    QCOMPARE(store.value(QStringLiteral("inputs/input1 type")).toInt(), 1);
    QCOMPARE(store.value(QStringLiteral("inputs/input2 type")).toInt(), 2);
    QCOMPARE(store.value(QStringLiteral("inputs/input3 type")).toInt(), 0);
    QCOMPARE(store.value(QStringLiteral("controller/Analog Card Type")).toInt(), 1);

    // The last run ended with a shutdown, today: no start-up box, no archive.
    QFile log(wd.filePath(QStringLiteral("log/qVarnixLeakvalve.log")));
    QVERIFY(log.open(QIODevice::ReadOnly));
    const logFileScan scan = scanLog(log);
    QVERIFY(scan.cleanShutdown());
    QCOMPARE(scan.logDate(), dtNow.date());
}

void tst_demoWorld::curveLeadsIntoTheBand_data()
{
    QTest::addColumn<double>("setValue");
    QTest::newRow("2e-9, just open") << 2e-9;
    QTest::newRow("1e-8") << 1e-8;
    QTest::newRow("3e-7") << 3e-7;
    QTest::newRow("1e-6") << 1e-6;
    QTest::newRow("4.5e-5") << 4.5e-5;
    QTest::newRow("2e-4, the flat end") << 2e-4;
}

void tst_demoWorld::curveLeadsIntoTheBand()
{
    QFETCH(double, setValue);
    testWorkDir wd;
    QVERIFY(demoWorld::layOut(wd.path()).bOk);
    lvTeachIn teach;
    QVERIFY(teach.readTeachInFromFile(demoWorld::teachInName()));
    const int nPpm = teach.calcStepsFromData(setValue, 0.0, 0.0);
    QVERIFY(nPpm >= 0);
    // The position the curve gives, read through the card: well inside the
    // regulation band of 10 %, so that the plant's noise cannot push it out.
    const analogFrameCounts counts = decodeAnalogFrame(gaugePlant::frameForOpening(nPpm / 1000000.0));
    const double dblRead = teach.calcSensorData(analogCountToVolts(counts[0]), analogCountToVolts(counts[1]));
    QVERIFY2(std::abs(dblRead / setValue - 1.0) < 0.04,
             qPrintable(QStringLiteral("%1 ppm read %2").arg(nPpm).arg(dblRead)));
}

void tst_demoWorld::operatorFilesAndKeysAreKept()
{
    testWorkDir wd;
    const QString strSensorFile = QStringLiteral("sensor/%1.kfxsensor").arg(demoWorld::sensor().strName);
    const QByteArray mine = "DemoLeakDetector;Pressure;mbar;val1*2;no_exp;;";
    QVERIFY(wd.writeFile(strSensorFile, mine));
    QVERIFY(wd.writeFile(QStringLiteral("log/qVarnixLeakvalve.log"), "01.02.2026 10:00:00.000 ### Application Quit\n"));
    const QString strScriptFile = QStringLiteral("scripts/%1.kfxscript").arg(demoWorld::scriptName());
    QVERIFY(wd.writeFile(strScriptFile, "0;WAIT;1000;1;\n"));
    {
        QSettings store(QStringLiteral("varnix"), QStringLiteral("Pendrosix"));
        store.setValue(QStringLiteral("inputs/sampling"), 2000);
        store.setValue(QStringLiteral("teachIn/teachInFile"), QStringLiteral("Mine"));
    }

    demoWorld::layoutResult result = demoWorld::layOut(wd.path());
    QVERIFY2(result.bOk, qPrintable(result.strError));
    QCOMPARE(wd.readFile(strSensorFile), mine);
    QCOMPARE(wd.readFile(QStringLiteral("log/qVarnixLeakvalve.log")),
             QByteArray("01.02.2026 10:00:00.000 ### Application Quit\n"));
    QCOMPARE(wd.readFile(strScriptFile), QByteArray("0;WAIT;1000;1;\n"));
    QVERIFY(QFile::exists(wd.filePath(QStringLiteral("teachIn/DemoLeakValve.kfxteachin"))));
    {
        QSettings store(QStringLiteral("varnix"), QStringLiteral("Pendrosix"));
        QCOMPARE(store.value(QStringLiteral("inputs/sampling")).toInt(), 2000);
        QCOMPARE(store.value(QStringLiteral("teachIn/teachInFile")).toString(), QStringLiteral("Mine"));
        QCOMPARE(store.value(QStringLiteral("inputs/input1 type")).toInt(), 1);
    }
    QVERIFY(result.kept.contains(QStringLiteral("inputs/sampling")));

    // A second run finds everything in place and writes nothing.
    const QByteArray teachIn = wd.readFile(QStringLiteral("teachIn/DemoLeakValve.kfxteachin"));
    result = demoWorld::layOut(wd.path());
    QVERIFY(result.bOk);
    QVERIFY2(result.laidOut.isEmpty(), qPrintable(result.laidOut.join(QLatin1Char(' '))));
    QCOMPARE(wd.readFile(QStringLiteral("teachIn/DemoLeakValve.kfxteachin")), teachIn);
}

QTEST_GUILESS_MAIN(tst_demoWorld)
#include "tst_demoWorld.moc"
