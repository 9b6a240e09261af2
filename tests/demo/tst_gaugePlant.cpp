// The demo plant: leak rate over the opening, the detector's two voltages,
// the card frame, and the sensor formula that turns the frame back into the
// leak rate with the program's own evaluator; the simulator's frame file
// follows the valve and is never seen half written.
#include "controllerSim.h"
#include "gaugeFrameWriter.h"
#include "gaugePlant.h"

#include "valve/analogFrame.h"
#include "valve/lvSensor.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

class tst_gaugePlant : public QObject
{
    Q_OBJECT

private slots:
    void leakRateOverTheOpening_data();
    void leakRateOverTheOpening();
    void risesSmoothlyAndMonotonically();
    void frameReadsBackThroughTheFormula_data();
    void frameReadsBackThroughTheFormula();
    void noiseScalesTheLeakRate();
    void frameFileFollowsTheValve();
};

void tst_gaugePlant::leakRateOverTheOpening_data()
{
    QTest::addColumn<double>("opening");
    QTest::addColumn<double>("leakRate");
    QTest::newRow("closed") << 0.0 << 1e-9;
    QTest::newRow("a tenth open: 1.14 decades") << 0.1 << 1e-9 * std::pow(10.0, 1.14);
    QTest::newRow("half open: 4.5 decades") << 0.5 << 1e-9 * std::pow(10.0, 4.5);
    QTest::newRow("fully open") << 1.0 << 1e-3;
    QTest::newRow("below closed is closed") << -0.2 << 1e-9;
    QTest::newRow("beyond full travel is fully open") << 1.5 << 1e-3;
}

void tst_gaugePlant::leakRateOverTheOpening()
{
    QFETCH(double, opening);
    QFETCH(double, leakRate);
    QVERIFY2(std::abs(gaugePlant::leakRate(opening) / leakRate - 1.0) < 1e-9,
             qPrintable(QString::number(gaugePlant::leakRate(opening), 'g', 12)));
}

void tst_gaugePlant::risesSmoothlyAndMonotonically()
{
    // Step by step the rate rises, and no step of a thousandth of travel
    // jumps by more than 3 % (the regulation band is 10 %).
    double dblPrevious = gaugePlant::leakRate(0.0);
    for (int i = 1; i <= 1000; ++i) {
        const double dblRate = gaugePlant::leakRate(i / 1000.0);
        QVERIFY2(dblRate > dblPrevious, qPrintable(QString::number(i)));
        QVERIFY2(dblRate / dblPrevious < 1.03, qPrintable(QString::number(i)));
        dblPrevious = dblRate;
    }
}

void tst_gaugePlant::frameReadsBackThroughTheFormula_data()
{
    QTest::addColumn<double>("leakRate");
    QTest::addColumn<double>("mantissa");
    QTest::addColumn<double>("exponent");
    QTest::newRow("1e-9, a power of ten") << 1e-9 << 1.0 << 3.0;
    QTest::newRow("2.5e-7") << 2.5e-7 << 2.5 << 5.0;
    QTest::newRow("just below a power of ten") << 9.99e-6 << 9.99 << 6.0;
    QTest::newRow("1e-3, fully open") << 1e-3 << 1.0 << 9.0;
    QTest::newRow("3.16e-5") << 3.16e-5 << 3.16 << 7.0;
}

void tst_gaugePlant::frameReadsBackThroughTheFormula()
{
    QFETCH(double, leakRate);
    QFETCH(double, mantissa);
    QFETCH(double, exponent);
    const gaugePlant::feedbackVolts volts = gaugePlant::feedbackForLeakRate(leakRate);
    QVERIFY2(std::abs(volts.dblMantissa - mantissa) < 1e-9, qPrintable(QString::number(volts.dblMantissa, 'g', 12)));
    QCOMPARE(volts.dblExponent, exponent);

    // Through the card: the frame the program decodes, then the sensor
    // formula evaluated by the program's own engine.
    const analogFrameCounts counts = decodeAnalogFrame(gaugePlant::frameForFeedback(volts));
    QCOMPARE(counts[2], 0);
    QCOMPARE(counts[3], 0);
    QCOMPARE(counts[4], 0);
    lvSensor gauge;
    gauge.strFormula = gaugePlant::sensorFormula();
    const double dblRead = gauge.evaluate(analogCountToVolts(counts[0]), analogCountToVolts(counts[1]));
    // The 10-bit card resolves the mantissa to 10/1023 V: 1 % at 1 V.
    QVERIFY2(std::abs(dblRead / leakRate - 1.0) < 0.01, qPrintable(QString::number(dblRead, 'g', 6)));
    QVERIFY2(std::abs(gaugePlant::leakRateFromFeedback(analogCountToVolts(counts[0]), analogCountToVolts(counts[1]))
                      / dblRead - 1.0) < 1e-5,
             "the formula and the plant's own reading differ");
}

void tst_gaugePlant::noiseScalesTheLeakRate()
{
    lvSensor gauge;
    gauge.strFormula = gaugePlant::sensorFormula();
    const auto read = [&gauge](const QByteArray &frame) {
        const analogFrameCounts counts = decodeAnalogFrame(frame);
        return gauge.evaluate(analogCountToVolts(counts[0]), analogCountToVolts(counts[1]));
    };
    // At a mantissa of 3.16 V a count is 0.3 %: 2 % of noise shows as such.
    const double dblOpening = 0.5; // 3.16e-5
    const double dblQuiet = read(gaugePlant::frameForOpening(dblOpening));
    const double dblNoisy = read(gaugePlant::frameForOpening(dblOpening, 0.02));
    QVERIFY2(std::abs(dblNoisy / dblQuiet - 1.02) < 0.01, qPrintable(QString::number(dblNoisy / dblQuiet)));
    // Counts stay within the card's range whatever the noise.
    const analogFrameCounts counts = decodeAnalogFrame(gaugePlant::frameForOpening(1.0, 0.5));
    QVERIFY(counts[0] <= 1023 && counts[1] <= 1023);
}

void tst_gaugePlant::frameFileFollowsTheValve()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString strFrame = dir.filePath(QStringLiteral("analog-frame"));
    controllerSim sim(controllerSim::FAMILY_BERGER_LAHR);
    sim.setPosition(0);
    lvSensor gauge;
    gauge.strFormula = gaugePlant::sensorFormula();
    int nShortReads = 0;
    // What a reader of the file gets; NaN for anything but a whole frame.
    const auto readFile = [&]() {
        QFile file(strFrame);
        if (!file.open(QIODevice::ReadOnly))
            return std::nan("");
        const QByteArray frame = file.readAll();
        if (frame.size() != 11) {
            ++nShortReads;
            return std::nan("");
        }
        const analogFrameCounts counts = decodeAnalogFrame(frame);
        return gauge.evaluate(analogCountToVolts(counts[0]), analogCountToVolts(counts[1]));
    };

    {
        gaugeFrameWriter writer(sim, strFrame, 0.005, 5);
        QVERIFY(writer.start());
        // The first frame is there at once: the closed valve.
        const double dblClosed = readFile();
        QVERIFY2(std::abs(dblClosed / 1e-9 - 1.0) < 0.02, qPrintable(QString::number(dblClosed)));

        // Half open: 3.16e-5 within the noise, soon after the valve moved.
        sim.setPosition(20000);
        const double dblHalf = gaugePlant::leakRate(0.5);
        QTRY_VERIFY_WITH_TIMEOUT(std::abs(readFile() / dblHalf - 1.0) < 0.03, 10000);

        // Read as often as it is written: never a short or empty frame.
        const int nWritten = writer.framesWritten();
        for (int i = 0; i < 2000 || writer.framesWritten() < nWritten + 20; ++i) {
            const double dblRead = readFile();
            QVERIFY2(std::abs(dblRead / dblHalf - 1.0) < 0.03, qPrintable(QString::number(dblRead)));
        }
        QCOMPARE(nShortReads, 0);
        writer.stop();
    }
    // Only the frame is left behind, no temporary file.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("analog-frame")});
}

QTEST_GUILESS_MAIN(tst_gaugePlant)
#include "tst_gaugePlant.moc"
