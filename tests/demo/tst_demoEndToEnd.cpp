// The real program, offscreen, in the demo world of ./run.sh: the controller
// simulator with the demo plant writing the analog card frame, the demo
// sensor, teach-in and settings. A set value typed on the Manual tab is
// reached and held on the simulated valve, and Stop ends the regulation.
#include "controllerSim.h"
#include "demoProgram.h"
#include "demoWorld.h"
#include "gaugeFrameWriter.h"
#include "programUnderTest.h"
#include "testWorkDir.h"

#include "valve/analogFrame.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QtTest>

#include <cmath>

namespace {

constexpr int nStepTimeoutMs = programUnderTest::nStepTimeoutMs;
// Within the curve, some three decades above the closed valve.
constexpr double dblSetValue = 1e-6;
// The demo's "Relative Difference".
constexpr double dblBand = 0.1;

// The leak rate the program would read now: the frame file through the
// demo sensor's formula. NaN while there is no whole frame.
double leakRateInFrame(const QString &strFrame)
{
    QFile file(strFrame);
    if (!file.open(QIODevice::ReadOnly))
        return std::nan("");
    const QByteArray frame = file.readAll();
    if (frame.size() != 11)
        return std::nan("");
    const analogFrameCounts counts = decodeAnalogFrame(frame);
    return demoWorld::sensor().evaluate(analogCountToVolts(counts[0]), analogCountToVolts(counts[1]));
}

bool inBand(double dblRate)
{
    return std::abs(dblRate / dblSetValue - 1.0) <= dblBand;
}

} // namespace

class tst_demoEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void setValueIsReachedHeldAndStopped();
};

void tst_demoEndToEnd::setValueIsReachedHeldAndStopped()
{
    testWorkDir wd;
    QVERIFY(wd.isValid());
    const QString strNoWorld = layOutDemoWorld(wd);
    QVERIFY2(strNoWorld.isEmpty(), qPrintable(strNoWorld));
    storeDemoController();
    controllerSim sim(controllerSim::FAMILY_BERGER_LAHR);
    QVERIFY(sim.start(wd.filePath(QStringLiteral("dev/ttySIM"))));
    // The program samples the card once a second and moves the valve from
    // every sample that is out of the band, also while the valve is still on
    // its way. A valve that crosses its travel in a tenth of a second is
    // almost never caught on its way, so the run does not depend on when the
    // samples fall.
    sim.setSpeed(400000);
    const QString strFrame = wd.filePath(QStringLiteral("dev/analog-frame"));
    gaugeFrameWriter plant(sim, strFrame);
    QVERIFY(plant.start());

    programUnderTest program;
    const QString strNotUp = startDemoProgram(program, wd, strFrame);
    QVERIFY2(strNotUp.isEmpty(), qPrintable(strNotUp));

    // The status strip shows the detector's leak rate once the card has been
    // sampled: the closed valve's 1e-9.
    QCOMPARE(program.request(QStringLiteral("scope widgetStatus")), QStringLiteral("ok"));
    const auto shownRate = [&program] { return program.text(QStringLiteral("lblSensorData")).toDouble(); };
    QTRY_VERIFY_WITH_TIMEOUT(std::abs(shownRate() / 1e-9 - 1.0) < 0.05, nStepTimeoutMs);

    // The operator types the set value on the Manual tab and presses Go.
    QCOMPARE(program.request(QStringLiteral("scope widgetManual")), QStringLiteral("ok"));
    QCOMPARE(program.request(QStringLiteral("tab 1")), QStringLiteral("ok 1"));
    QCOMPARE(program.text(QStringLiteral("lblSetData")), QStringLiteral("Set Leakrate"));
    QCOMPARE(program.request(QStringLiteral("text lineEditSetDataValue 1.0E-06")), QStringLiteral("ok"));
    QCOMPARE(program.request(QStringLiteral("click pushBtnSetLeakrateGo")), QStringLiteral("ok checked=0"));
    QVERIFY(!program.isEnabled(QStringLiteral("pushBtnSetLeakrateGo")));
    QVERIFY(program.isEnabled(QStringLiteral("pushBtnSetLeakrateStop")));

    // Reached: the leak rate in the frame has stayed in the band for three
    // seconds (three of the program's samples) ...
    QElapsedTimer timer;
    timer.start();
    QElapsedTimer inside;
    bool bInside = false;
    double dblRate = 0.0;
    while (timer.elapsed() < 4 * nStepTimeoutMs && !(bInside && inside.elapsed() >= 3000)) {
        dblRate = leakRateInFrame(strFrame);
        if (!inBand(dblRate))
            bInside = false;
        else if (!bInside) {
            bInside = true;
            inside.start();
        }
        QTest::qWait(100);
    }
    QVERIFY2(bInside && inside.elapsed() >= 3000,
             qPrintable(QStringLiteral("leak rate %1 at %2 steps").arg(dblRate).arg(sim.position())));
    // The valve went there itself, sent by the program.
    QVERIFY(sim.receivedCommands().contains("g" + QByteArray::number(sim.target())));

    // ... and held: ten more seconds in the band, the valve at rest at last.
    timer.restart();
    while (timer.elapsed() < 10000) {
        dblRate = leakRateInFrame(strFrame);
        QVERIFY2(inBand(dblRate), qPrintable(QStringLiteral("left the band: %1 at %2 steps")
                                                 .arg(dblRate)
                                                 .arg(sim.position())));
        QTest::qWait(100);
    }
    QVERIFY(!sim.isMoving());
    // The program reads the same: its status strip shows the held value.
    QCOMPARE(program.request(QStringLiteral("scope widgetStatus")), QStringLiteral("ok"));
    QVERIFY2(inBand(shownRate()), qPrintable(program.text(QStringLiteral("lblSensorData"))));
    QCOMPARE(program.request(QStringLiteral("scope widgetManual")), QStringLiteral("ok"));

    // Stop halts the valve and ends the regulation: moved away from the set
    // value, the valve is no longer brought back.
    sim.clearReceived();
    QCOMPARE(program.request(QStringLiteral("click pushBtnSetLeakrateStop")), QStringLiteral("ok checked=0"));
    QTRY_VERIFY_WITH_TIMEOUT(sim.receivedCommands().contains("h"), nStepTimeoutMs);
    QVERIFY(program.isEnabled(QStringLiteral("pushBtnSetLeakrateGo")));
    sim.setPosition(0);
    QTest::qWait(4000);
    for (const QByteArray &strCommand : sim.receivedCommands())
        QVERIFY2(!strCommand.startsWith('g'), strCommand.constData());
    QCOMPARE(sim.position(), 0);

    // The demo world starts without a start-up box, and nothing went wrong.
    program.request(QStringLiteral("ready"));
    QVERIFY2(program.boxes.isEmpty(), qPrintable(program.boxes.join(QLatin1Char('\n'))));
    QVERIFY2(program.quit(), "the program did not end when its window was closed");
}

QTEST_GUILESS_MAIN(tst_demoEndToEnd)
#include "tst_demoEndToEnd.moc"
