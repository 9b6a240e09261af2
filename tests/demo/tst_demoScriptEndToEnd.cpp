// The real program, offscreen, in the demo world of ./run.sh: the demo
// script, started by holding its start cell on the Script tab, records a
// teach-in on the simulated plant and saves it under its own name.
#include "controllerSim.h"
#include "demoProgram.h"
#include "demoWorld.h"
#include "gaugeFrameWriter.h"
#include "gaugePlant.h"
#include "programUnderTest.h"
#include "testWorkDir.h"

#include "script/scriptFileCodec.h"
#include "valve/lvTeachIn.h"

#include <QDir>
#include <QSet>
#include <QSettings>
#include <QUrl>
#include <QtTest>

#include <algorithm>

namespace {

constexpr int nStepTimeoutMs = programUnderTest::nStepTimeoutMs;
constexpr int nStepPpm = 100000;
// The controller's closed end is step 1: the steps start there.
constexpr int nClosedPpm = 25;

// The text after "ok " of a driver reply, percent-decoded.
QString replyText(programUnderTest &program, const QString &strCommand)
{
    return QUrl::fromPercentEncoding(program.request(strCommand).mid(3).toUtf8());
}

QString logText(const testWorkDir &wd)
{
    return QString::fromUtf8(wd.readFile(QStringLiteral("log/qVarnixLeakvalve.log")));
}

QString describe(const lvTeachInData &point)
{
    return QStringLiteral("curve %1 at %2 ppm: %3").arg(point.nCurveType).arg(point.nSteps).arg(point.dblData);
}

} // namespace

class tst_demoScriptEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void demoScriptRecordsATeachInOfThePlant();
};

void tst_demoScriptEndToEnd::demoScriptRecordsATeachInOfThePlant()
{
    testWorkDir wd;
    QVERIFY(wd.isValid());
    const QString strNoWorld = layOutDemoWorld(wd);
    QVERIFY2(strNoWorld.isEmpty(), qPrintable(strNoWorld));
    // The simulated valve stands where the program left it, a third open.
    controllerSim sim(controllerSim::FAMILY_BERGER_LAHR);
    QVERIFY(sim.start(wd.filePath(QStringLiteral("dev/ttySIM"))));
    sim.setPosition(12000);
    sim.setSpeed(200000); // as ./run.sh starts it
    storeDemoController({{QStringLiteral("motor driver/position"), 300000}});
    const QString strFrame = wd.filePath(QStringLiteral("dev/analog-frame"));
    gaugeFrameWriter plant(sim, strFrame);
    QVERIFY(plant.start());

    programUnderTest program;
    const QString strNotUp = startDemoProgram(program, wd, strFrame);
    QVERIFY2(strNotUp.isEmpty(), qPrintable(strNotUp));

    // The Script tab lists the demo script with its commands.
    QCOMPARE(program.request(QStringLiteral("tab 2")), QStringLiteral("ok 2"));
    QCOMPARE(program.request(QStringLiteral("scope widgetScript")), QStringLiteral("ok"));
    QCOMPARE(replyText(program, QStringLiteral("cells tblViewScripts 2")), demoWorld::scriptName());
    QCOMPARE(replyText(program, QStringLiteral("cells tblViewCommands 0")),
             QStringLiteral("GOTOPOS|WAIT|MEASOPEN|GOTOREL|WAIT|GOTOCMD|MEASCLOSE|GOTOREL|WAIT|GOTOCMD|MEAS|SAVE"));

    // Held past the hold time (2 s unless the settings say otherwise), its
    // start cell starts it.
    QCOMPARE(program.request(QStringLiteral("hold tblViewScripts 0 0 3000")), QStringLiteral("ok"));
    QTRY_VERIFY_WITH_TIMEOUT(logText(wd).contains(QLatin1String("Script Finished")), 3 * nStepTimeoutMs);
    QCOMPARE(sim.position(), 1);

    // The teach-in is saved under the script's name, with the demo sensor.
    lvTeachIn teach;
    QVERIFY(teach.readTeachInFromFile(demoWorld::scriptName()));
    QCOMPARE(teach.sensor.strName, demoWorld::sensor().strName);
    QCOMPARE(teach.sensor.strFormula, demoWorld::sensor().strFormula);

    // Every step's target holds a point of its curve: opening from a tenth to
    // nine tenths, closing from eight tenths to closed. A point pairs the
    // last reported position with the sample taken now, so the valve behind
    // a point at a target was on its way there, there, or already on its way
    // to the next one: its leak rate lies between the plant's at the targets
    // on either side.
    QSet<int> openTargets;
    QSet<int> closeTargets;
    for (const lvTeachInData &point : teach.vecTeachInData) {
        QVERIFY2(point.nCurveType == CURVE_OPEN || point.nCurveType == CURVE_CLOSE, qPrintable(describe(point)));
        if ((point.nSteps - nClosedPpm) % nStepPpm != 0)
            continue; // reported on the way
        const bool bOpening = point.nCurveType == CURVE_OPEN;
        const double dblLow = gaugePlant::leakRate((point.nSteps - nStepPpm) / 1e6) * 0.95;
        const double dblHigh = gaugePlant::leakRate((point.nSteps + nStepPpm) / 1e6) * 1.05;
        QVERIFY2(point.dblData >= dblLow && point.dblData <= dblHigh, qPrintable(describe(point)));
        (bOpening ? openTargets : closeTargets) << point.nSteps;
    }
    for (int i = 1; i <= 9; ++i) {
        const int nOpen = nClosedPpm + i * nStepPpm;
        const int nClose = nClosedPpm + (i - 1) * nStepPpm;
        QVERIFY2(openTargets.contains(nOpen), qPrintable(QString::number(nOpen)));
        QVERIFY2(closeTargets.contains(nClose), qPrintable(QString::number(nClose)));
    }
    // Recorded in that order: the opening curve first, then the closing one.
    const auto firstClose = std::find_if(teach.vecTeachInData.cbegin(), teach.vecTeachInData.cend(),
                                         [](const lvTeachInData &p) { return p.nCurveType == CURVE_CLOSE; });
    QVERIFY(std::none_of(firstClose, teach.vecTeachInData.cend(),
                         [](const lvTeachInData &p) { return p.nCurveType == CURVE_OPEN; }));

    // The script file is the demo's, untouched by the run, and nothing went
    // wrong on the way.
    QCOMPARE(wd.readFile(QStringLiteral("scripts/%1.kfxscript").arg(demoWorld::scriptName())),
             encodeScriptFile(demoWorld::teachInScript()));
    program.request(QStringLiteral("ready"));
    QVERIFY2(program.boxes.isEmpty(), qPrintable(program.boxes.join(QLatin1Char('\n'))));
    QVERIFY2(program.quit(), "the program did not end when its window was closed");
}

QTEST_GUILESS_MAIN(tst_demoScriptEndToEnd)
#include "tst_demoScriptEndToEnd.moc"
