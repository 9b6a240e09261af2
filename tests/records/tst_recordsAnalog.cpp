#include "platform/analogFrameSource.h"
#include "testWorkDir.h"
#include "valve/analogData.h"
#include "valve/analogFrame.h"

#include <QSignalSpy>
#include <QTemporaryFile>
#include <QThread>
#include <QtTest>

#include <cmath>

namespace {

// A card whose frame the test sets; counts per channel 1..5.
class scriptedCard : public analogFrameSource
{
public:
    scriptedCard() { setInstance(this); }
    ~scriptedCard() override { setInstance(nullptr); }

    void setCounts(std::initializer_list<int> counts)
    {
        QByteArray bytes(FRAME_SIZE, '\0');
        bytes[0] = char(0x5a); // unused byte
        int i = 0;
        for (int n : counts) {
            bytes[1 + 2 * i] = char(n & 0xff);
            bytes[2 + 2 * i] = char((n >> 8) & 0xff);
            ++i;
        }
        frame = bytes;
    }
    QByteArray readFrame() override
    {
        ++nReads;
        return frame;
    }

    QByteArray frame = QByteArray(FRAME_SIZE, '\0');
    int nReads = 0;
};

double volts(int nCount)
{
    return nCount * 10.0 / 1023;
}

} // namespace

class tst_recordsAnalog : public QObject
{
    Q_OBJECT

private slots:
    void newObjectIsUnconfigured();
    void frameDecoding_data();
    void frameDecoding();
    void periodicAndRequestedReadsTakeDifferentThirdChannel();
    void frameFileFeedsTheReads();
    void otherCardTypesReadNothing_data();
    void otherCardTypesReadNothing();
    void samplingPeriodHasAFloor();
    void periodicReadRuns();
    void feedbackRolesStayWithLastTypedInput();
    void boundariesAndActions();
    void mappingIsKeptPerInput();
    void equalBoundariesLeaveInputUnmapped();
    void inputsOutsideRangeAreIgnored_data();
    void inputsOutsideRangeAreIgnored();
    void readersInOtherThreadSeeWholeValues();
};

void tst_recordsAnalog::newObjectIsUnconfigured()
{
    analogData data;
    QCOMPARE(data.nSampling, 0);
    QCOMPARE(data.nOutput1Config, 0);
    QCOMPARE(data.nAnalogCardType, 1);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(data.getInputType(i), int(INPUT_REMOTE_ANALOG));
        QCOMPARE(data.getUpperBoundaryValue(i), 0.0);
        QCOMPARE(data.getLowerBoundaryValue(i), 0.0);
        QCOMPARE(data.getUpperBoundarySteps(i), 0);
        QCOMPARE(data.getLowerBoundaryAction(i), 0);
        QVERIFY(!data.isMapped(i));
    }
    for (int i = 0; i < 5; ++i)
        QCOMPARE(data.getInputVolt(i), 0.0);
    QCOMPARE(data.getFeedbackInput1(), 0);
    QCOMPARE(data.getFeedbackInput2(), 0);
    QCOMPARE(data.readPeriodMs(), -1);
}

void tst_recordsAnalog::frameDecoding_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QVector<int>>("counts");

    QTest::newRow("zeros") << QByteArray(11, '\0') << QVector<int>{0, 0, 0, 0, 0};
    QTest::newRow("full scale on channel 1") << QByteArray("\x00\xff\x03", 3) + QByteArray(8, '\0')
                                             << QVector<int>{1023, 0, 0, 0, 0};
    QTest::newRow("512 on channel 1") << QByteArray("\x00\x00\x02", 3) + QByteArray(8, '\0')
                                      << QVector<int>{512, 0, 0, 0, 0};
    QTest::newRow("byte 0 unused, low byte first")
        << QByteArray("\xff\x01\x00\x02\x00\x03\x00\x04\x00\x05\x01", 11) << QVector<int>{1, 2, 3, 4, 261};
    QTest::newRow("counts above 1023 are kept") << QByteArray("\x00\xff\xff", 3) + QByteArray(8, '\0')
                                                << QVector<int>{65535, 0, 0, 0, 0};
    QTest::newRow("short frame") << QByteArray("\x00\x10\x00\x20", 4) << QVector<int>{16, 32, 0, 0, 0};
    QTest::newRow("empty frame") << QByteArray() << QVector<int>{0, 0, 0, 0, 0};
}

void tst_recordsAnalog::frameDecoding()
{
    QFETCH(QByteArray, frame);
    QFETCH(QVector<int>, counts);
    const analogFrameCounts decoded = decodeAnalogFrame(frame);
    QCOMPARE(QVector<int>(decoded.begin(), decoded.end()), counts);
    QCOMPARE(analogCountToVolts(1023), 10.0);
    QCOMPARE(analogCountToVolts(512), 512 * 10.0 / 1023);
}

void tst_recordsAnalog::periodicAndRequestedReadsTakeDifferentThirdChannel()
{
    scriptedCard card;
    card.setCounts({100, 200, 300, 400, 500});
    analogData data;
    data.setInputType(2, INPUT_FEEDBACK_1);
    data.setInputType(1, INPUT_FEEDBACK_2);
    QSignalSpy samples(&data, &analogData::sampleInputs);
    QSignalSpy values(&data, &analogData::setAnalogValue);

    data.onTimerReadInputs();
    QCOMPARE(samples.count(), 1);
    QCOMPARE(values.count(), 1);
    QCOMPARE(samples.at(0), (QVariantList{volts(100), volts(200), volts(400)}));
    QCOMPARE(values.at(0), (QVariantList{volts(100), volts(200), volts(400), 2, 1}));
    QCOMPARE(data.getInputVolt(2), volts(400));
    QCOMPARE(data.getInputVolt(3), 0.0); // left alone by the periodic read
    QCOMPARE(data.getInputVolt(4), 0.0);

    data.onGetAnalogValue();
    QCOMPARE(samples.count(), 1); // the read on request does not sample
    QCOMPARE(values.count(), 2);
    QCOMPARE(values.at(1), (QVariantList{volts(100), volts(200), volts(300), 2, 1}));
    for (int i = 0; i < 5; ++i)
        QCOMPARE(data.getInputVolt(i), volts(100 * (i + 1)));
}

void tst_recordsAnalog::frameFileFeedsTheReads()
{
    QTemporaryFile file;
    QVERIFY(file.open());
    file.write(QByteArray("\x00\xff\x03\x00\x02\x00\x00\x00\x00\x00\x00", 11));
    file.flush();
    qputenv("VALVE_ANALOG_FRAME_FILE", file.fileName().toLocal8Bit());
    analogData data;
    QSignalSpy values(&data, &analogData::setAnalogValue);
    data.onGetAnalogValue();
    qunsetenv("VALVE_ANALOG_FRAME_FILE");
    QCOMPARE(values.count(), 1);
    QCOMPARE(values.at(0).at(0).toDouble(), 10.0);
    QCOMPARE(values.at(0).at(1).toDouble(), 512 * 10.0 / 1023);
    // Without the file every channel reads 0 V.
    data.onGetAnalogValue();
    QCOMPARE(values.at(1).at(0).toDouble(), 0.0);
}

void tst_recordsAnalog::otherCardTypesReadNothing_data()
{
    QTest::addColumn<int>("cardType");
    QTest::newRow("missing setting") << 0;
    QTest::newRow("18-bit card") << 2;
    QTest::newRow("unknown") << 7;
}

void tst_recordsAnalog::otherCardTypesReadNothing()
{
    QFETCH(int, cardType);
    scriptedCard card;
    card.setCounts({100, 200, 300, 400, 500});
    analogData data;
    data.nAnalogCardType = cardType;
    QSignalSpy samples(&data, &analogData::sampleInputs);
    QSignalSpy values(&data, &analogData::setAnalogValue);
    data.onTimerReadInputs();
    data.onGetAnalogValue();
    QCOMPARE(samples.count(), 0);
    QCOMPARE(values.count(), 0);
    QCOMPARE(card.nReads, 0);
    QCOMPARE(data.getInputVolt(0), 0.0);
}

void tst_recordsAnalog::samplingPeriodHasAFloor()
{
    analogData data;
    data.setSampling(300); // before init there is no timer to start
    QCOMPARE(data.nSampling, 300);
    QCOMPARE(data.readPeriodMs(), -1);
    data.init();
    QCOMPARE(data.readPeriodMs(), -1); // init creates, does not start
    data.setSampling(200);
    QCOMPARE(data.nSampling, 200);
    QCOMPARE(data.readPeriodMs(), 1000);
    data.setSampling(5000);
    QCOMPARE(data.readPeriodMs(), 5000);
    data.nSampling = 1500; // written directly: applies at the next setSampling only
    QCOMPARE(data.readPeriodMs(), 5000);
}

void tst_recordsAnalog::periodicReadRuns()
{
    scriptedCard card;
    card.setCounts({1023, 0, 0, 512, 0});
    analogData data;
    data.init();
    QSignalSpy samples(&data, &analogData::sampleInputs);
    data.setSampling(0);
    QVERIFY(samples.wait(10000));
    QCOMPARE(samples.at(0), (QVariantList{10.0, 0.0, volts(512)}));
}

void tst_recordsAnalog::feedbackRolesStayWithLastTypedInput()
{
    analogData data;
    data.setInputType(2, INPUT_FEEDBACK_1);
    data.setInputType(2, INPUT_REMOTE_ANALOG);
    QCOMPARE(data.getFeedbackInput1(), 2);
    QCOMPARE(data.getInputType(2), int(INPUT_REMOTE_ANALOG));
    data.setInputType(1, INPUT_FEEDBACK_2);
    data.setInputType(0, INPUT_FEEDBACK_2);
    QCOMPARE(data.getFeedbackInput2(), 0);
    QCOMPARE(data.getInputType(1), int(INPUT_FEEDBACK_2)); // two inputs may claim one role
}

void tst_recordsAnalog::boundariesAndActions()
{
    analogData data;
    data.setUpperBoundary(1, 8000.0, 900000, ACTION_OPEN);
    data.setLowerBoundary(1, 2000.0, 100000, ACTION_STAY);
    QCOMPARE(data.getUpperBoundaryValue(1), 8000.0);
    QCOMPARE(data.getLowerBoundaryValue(1), 2000.0);
    QCOMPARE(data.getUpperBoundarySteps(1), 900000);
    QCOMPARE(data.getLowerBoundarySteps(1), 100000);
    QCOMPARE(data.getUpperBoundaryAction(1), int(ACTION_OPEN));
    QCOMPARE(data.getLowerBoundaryAction(1), int(ACTION_STAY));
    data.setUpperBoundaryAction(1, ACTION_CLOSE);
    data.setLowerBoundaryAction(1, ACTION_OPEN);
    QCOMPARE(data.getUpperBoundaryAction(1), int(ACTION_CLOSE));
    QCOMPARE(data.getLowerBoundaryAction(1), int(ACTION_OPEN));

    // Strictly inside only.
    QVERIFY(!data.isInBoundaries(1, 2.0));
    QVERIFY(data.isInBoundaries(1, 2.0001));
    QVERIFY(data.isInBoundaries(1, 7.9999));
    QVERIFY(!data.isInBoundaries(1, 8.0));
    QVERIFY(!data.isInBoundaries(0, 0.0)); // an unset input has an empty band
}

void tst_recordsAnalog::mappingIsKeptPerInput()
{
    analogData data;
    data.setUpperBoundary(0, 10000.0, 1000000, ACTION_OPEN);
    data.setLowerBoundary(0, 0.0, 0, ACTION_CLOSE);
    QCOMPARE(data.getSlope(0), 100000.0);
    QCOMPARE(data.getOffset(0), 0.0);
    QVERIFY(data.isMapped(0));

    data.setUpperBoundary(1, 9000.0, 800000, ACTION_OPEN);
    data.setLowerBoundary(1, 1000.0, 400000, ACTION_CLOSE);
    QCOMPARE(data.getSlope(1), 50000.0);
    QCOMPARE(data.getOffset(1), 400000.0);
    // Input 1 keeps its own pair.
    QCOMPARE(data.getSlope(0), 100000.0);
    QCOMPARE(data.getOffset(0), 0.0);

    data.setUpperBoundaryValue(0, 5000.0);
    QCOMPARE(data.getSlope(0), 200000.0);
    data.setLowerBoundarySteps(0, 200000);
    QCOMPARE(data.getSlope(0), 160000.0);
    QCOMPARE(data.getOffset(0), 200000.0);
    data.setUpperBoundarySteps(0, 1000000);
    data.setLowerBoundaryValue(0, 1000.0);
    QCOMPARE(data.getSlope(0), 200000.0);
    QCOMPARE(data.getOffset(0), 200000.0);
    // A falling mapping.
    data.setUpperBoundary(2, 10000.0, 0, ACTION_OPEN);
    data.setLowerBoundary(2, 0.0, 1000000, ACTION_CLOSE);
    QCOMPARE(data.getSlope(2), -100000.0);
    QCOMPARE(data.getOffset(2), 1000000.0);
}

void tst_recordsAnalog::equalBoundariesLeaveInputUnmapped()
{
    analogData data;
    data.setUpperBoundary(0, 3000.0, 1000000, ACTION_OPEN);
    data.setLowerBoundary(0, 3000.0, 0, ACTION_CLOSE);
    QVERIFY(!data.isMapped(0));
    QCOMPARE(data.getSlope(0), 0.0);
    QVERIFY(std::isfinite(data.getOffset(0)));
    data.setUpperBoundary(0, 3000.0, 0, ACTION_OPEN); // equal positions too: 0/0
    QCOMPARE(data.getSlope(0), 0.0);
    data.setUpperBoundaryValue(0, 4000.0);
    QVERIFY(data.isMapped(0));
}

void tst_recordsAnalog::inputsOutsideRangeAreIgnored_data()
{
    QTest::addColumn<int>("input");
    QTest::newRow("3") << 3;
    QTest::newRow("-1") << -1;
    QTest::newRow("large") << 1000000;
    QTest::newRow("most negative") << int(0x80000000);
}

void tst_recordsAnalog::inputsOutsideRangeAreIgnored()
{
    QFETCH(int, input);
    analogData data;
    data.setUpperBoundary(input, 1.0, 2, 1);
    data.setUpperBoundaryValue(input, 1.0);
    data.setUpperBoundarySteps(input, 2);
    data.setUpperBoundaryAction(input, 1);
    data.setLowerBoundary(input, 1.0, 2, 1);
    data.setLowerBoundaryValue(input, 1.0);
    data.setLowerBoundarySteps(input, 2);
    data.setLowerBoundaryAction(input, 1);
    data.setInputType(input, INPUT_FEEDBACK_1);
    QCOMPARE(data.getFeedbackInput1(), 0);
    QCOMPARE(data.getUpperBoundaryValue(input), -1.0);
    QCOMPARE(data.getLowerBoundaryValue(input), -1.0);
    QCOMPARE(data.getUpperBoundarySteps(input), -1);
    QCOMPARE(data.getLowerBoundarySteps(input), -1);
    QCOMPARE(data.getUpperBoundaryAction(input), -1);
    QCOMPARE(data.getLowerBoundaryAction(input), -1);
    QCOMPARE(data.getInputType(input), -1);
    QVERIFY(!data.isInBoundaries(input, 0.5));
    QCOMPARE(data.getInputVolt(input == 3 ? 5 : input), -1.0);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(data.getUpperBoundarySteps(i), 0);
}

// The motor thread reads the boundaries while the GUI thread sets them: a
// reader sees each input's band as one whole setting.
void tst_recordsAnalog::readersInOtherThreadSeeWholeValues()
{
    analogData data;
    QAtomicInt bDone(0);
    QAtomicInt nBad(0);
    QThread *pReader = QThread::create([&] {
        while (!bDone.loadAcquire()) {
            const double dblSlope = data.getSlope(0);
            if (!std::isfinite(dblSlope))
                nBad.ref();
            const double dblUpper = data.getUpperBoundaryValue(0);
            if (dblUpper != 0.0 && dblUpper != 5000.0 && dblUpper != 6000.0)
                nBad.ref();
            data.isInBoundaries(0, 2.5);
            data.getInputVolt(0);
        }
    });
    pReader->start();
    for (int i = 0; i < 20000; ++i) {
        data.setUpperBoundary(0, i % 2 ? 5000.0 : 6000.0, 1000000, ACTION_OPEN);
        data.setLowerBoundary(0, i % 3 ? 5000.0 : 1000.0, 0, ACTION_CLOSE);
    }
    bDone.storeRelease(1);
    QVERIFY(pReader->wait(60000));
    delete pReader;
    QCOMPARE(nBad.loadRelaxed(), 0);
}

QTEST_GUILESS_MAIN(tst_recordsAnalog)
#include "tst_recordsAnalog.moc"
