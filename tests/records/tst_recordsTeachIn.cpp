#include "testWorkDir.h"
#include "valve/lvTeachIn.h"
#include "valve/teachInFileCodec.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <cmath>
#include <limits>

namespace {
const double NaN = std::numeric_limits<double>::quiet_NaN();

const QByteArray header("Version: 103;\n"
                        "sensor name: Pirani;\n"
                        "sensor formula: val1*2;\n"
                        "sensor data name: Leakrate;\n"
                        "Steps; Time [s]; Channel1 [V]; Channel2 [V]; CurveType;\n");

lvTeachInData point(int nSteps, double dblData, int nType, double dblTime = 0.0)
{
    lvTeachInData p;
    p.nSteps = nSteps;
    p.dblData = dblData;
    p.nCurveType = nType;
    p.dblTime = dblTime;
    return p;
}

// A teach-in with its ranges as the reader would leave them.
lvTeachIn teachInOf(const QVector<lvTeachInData> &points)
{
    lvTeachIn teachIn;
    for (const lvTeachInData &p : points) {
        teachIn.vecTeachInData.append(p);
        teachIn.dblMinData = qMin(teachIn.dblMinData, p.dblData);
        teachIn.dblMaxData = qMax(teachIn.dblMaxData, p.dblData);
        teachIn.dblMinSteps = qMin(teachIn.dblMinSteps, double(p.nSteps));
        teachIn.dblMaxSteps = qMax(teachIn.dblMaxSteps, double(p.nSteps));
    }
    return teachIn;
}

QByteArray fileOfPoints(int nPoints, int nOffset = 0)
{
    QByteArray text = header;
    for (int i = 0; i < nPoints; ++i)
        text += QByteArray::number(i * 100 + nOffset) + ';' + QByteArray::number(i * 0.1) + ';'
            + QByteArray::number(1.0 + i * 0.001) + ";0.5;" + (i < nPoints / 2 ? "O" : "C") + ";\n";
    return text;
}
} // namespace

class tst_recordsTeachIn : public QObject
{
    Q_OBJECT

private slots:
    void roundTripIsByteExact();
    void readRecomputesDataSensitivityAndRanges();
    void damagedFiles_data();
    void damagedFiles();
    void garbageNeverStopsTheReader();
    void missingFileLeavesNoPoints();
    void emptyOrUnsafeNameDoesNothing_data();
    void emptyOrUnsafeNameDoesNothing();
    void fewerThanTwoPointsWriteAnEmptyFile();
    void saveNeverCreatesFolderNorLeavesTemporaries();
    void semicolonInSensorTextKeepsFieldsAligned();
    void tenThousandPointsLoad();
    void scriptFormulasAndEndlessFormulasInFiles();

    void calcStepsFromData_data();
    void calcStepsFromData();
    void calcDataAt();

    void copiesAreConsistentWhileReReading();
    void recorderAndDrawerShareOneRecord();
};

void tst_recordsTeachIn::roundTripIsByteExact()
{
    testWorkDir dir;
    lvTeachIn teachIn;
    teachIn.sensor.strName = QStringLiteral("Pirani");
    teachIn.sensor.strFormula = QStringLiteral("val1*2");
    teachIn.sensor.strDataName = QStringLiteral("Leakrate");
    lvTeachInData p = point(0, 99.0, CURVE_OPEN, 0.5);
    p.dblCh1 = 1.0;
    p.dblCh2 = 0.25;
    teachIn.vecTeachInData << p;
    p = point(100000, 99.0, CURVE_OPEN, 1.25);
    p.dblCh1 = 2.0;
    p.dblCh2 = 0.5;
    teachIn.vecTeachInData << p;
    p = point(300000, 99.0, CURVE_CLOSE, 2.0);
    p.dblCh1 = 4.0;
    p.dblCh2 = 0.00001;
    teachIn.vecTeachInData << p;
    p = point(123, 0.000123, CURVE_DATA, 1234567.0);
    p.dblSetpoint = 2.5;
    p.dblCh1 = 7.0; // a data point's channel columns hold data and set value
    teachIn.vecTeachInData << p;
    teachIn.vecTeachInData << point(5, 1.0, 7); // no letter for this type: left out
    QVERIFY(teachIn.saveTeachInToFile(QStringLiteral("curve")));
    QCOMPARE(teachIn.strTeachInFile, QStringLiteral("curve"));
    QCOMPARE(teachIn.strTeachInDir, QDir::current().absolutePath() + QStringLiteral("/teachIn/"));

    const QByteArray expected = header
        + "0;0.5;1;0.25;O;\n"
          "100000;1.25;2;0.5;O;\n"
          "300000;2;4;1e-05;C;\n"
          "123;1.23457e+06;0.000123;2.5;D;\n";
    QCOMPARE(dir.readFile(QStringLiteral("teachIn/curve.kfxteachin")), expected);

    lvTeachIn read;
    QVERIFY(read.readTeachInFromFile(QStringLiteral("curve")));
    QCOMPARE(read.vecTeachInData.size(), 4);
    QVERIFY(read.saveTeachInToFile(QStringLiteral("again")));
    QCOMPARE(dir.readFile(QStringLiteral("teachIn/again.kfxteachin")), expected);
}

void tst_recordsTeachIn::readRecomputesDataSensitivityAndRanges()
{
    testWorkDir dir;
    QVERIFY(dir.writeFile(QStringLiteral("teachIn/curve.kfxteachin"),
                          header
                              + "0;0.5;1;0.25;O;\n"
                                "100000;1.25;2;0.5;O;\n"
                                "300000;2;4;1e-05;C;\n"
                                "123;1.23457e+06;0.000123;2.5;D;\n"));
    lvTeachIn teachIn;
    teachIn.sensor.strUnit = QStringLiteral("mbar");
    teachIn.sensor.bExponential = false;
    teachIn.dblMinSetpoint = 5.0;
    teachIn.dblMaxSetpoint = 6.0;
    QVERIFY(teachIn.readTeachInFromFile(QStringLiteral("curve")));

    QCOMPARE(teachIn.sensor.strName, QStringLiteral("Pirani"));
    QCOMPARE(teachIn.sensor.strFormula, QStringLiteral("val1*2"));
    QCOMPARE(teachIn.sensor.strDataName, QStringLiteral("Leakrate"));
    QCOMPARE(teachIn.sensor.strUnit, QStringLiteral("mbar")); // not stored in the file
    QCOMPARE(teachIn.sensor.bExponential, false);

    const QVector<lvTeachInData> &pts = teachIn.vecTeachInData;
    QCOMPARE(pts.size(), 4);
    QCOMPARE(pts[0].nCurveType, int(CURVE_OPEN));
    QCOMPARE(pts[2].nCurveType, int(CURVE_CLOSE));
    QCOMPARE(pts[3].nCurveType, int(CURVE_DATA));
    QCOMPARE(pts[1].nSteps, 100000);
    QCOMPARE(pts[1].dblTime, 1.25);
    QCOMPARE(pts[2].dblCh2, 0.00001);
    // Open and close points: data from the stored formula, no set value.
    QCOMPARE(pts[0].dblData, 2.0);
    QCOMPARE(pts[1].dblData, 4.0);
    QCOMPARE(pts[2].dblData, 8.0);
    QCOMPARE(pts[2].dblSetpoint, 0.0);
    // Data point: data and set value from its channel columns, which keep them.
    QCOMPARE(pts[3].dblData, 0.000123);
    QCOMPARE(pts[3].dblSetpoint, 2.5);
    QCOMPARE(pts[3].dblCh1, 0.000123);
    QCOMPARE(pts[3].dblCh2, 2.5);
    QCOMPARE(pts[3].dblTime, 1234570.0);

    // Sensitivity across each inner point; first and last keep 0.
    QCOMPARE(pts[0].dblSens, 0.0);
    QCOMPARE(pts[1].dblSens, ((2.0 - 8.0) / 2.0) / (0 - 300000));
    QCOMPARE(pts[2].dblSens, ((4.0 - 0.000123) / 4.0) / (100000 - 123));
    QCOMPARE(pts[3].dblSens, 0.0);
    QCOMPARE(teachIn.dblMinSens, qMin(pts[1].dblSens, pts[2].dblSens));
    QCOMPARE(teachIn.dblMaxSens, qMax(pts[1].dblSens, pts[2].dblSens));

    QCOMPARE(teachIn.dblMinData, 0.000123);
    QCOMPARE(teachIn.dblMaxData, 8.0);
    QCOMPARE(teachIn.dblMinSteps, 0.0);
    QCOMPARE(teachIn.dblMaxSteps, 300000.0);
    QCOMPARE(teachIn.dblMinTime, 0.5);
    QCOMPARE(teachIn.dblMaxTime, 1234570.0);
    QCOMPARE(teachIn.dblMinSetpoint, 5.0); // the reader leaves the set-value range alone
    QCOMPARE(teachIn.dblMaxSetpoint, 6.0);

    // A neighbour at the same position hands its own sensitivity on.
    QVERIFY(dir.writeFile(QStringLiteral("teachIn/same.kfxteachin"),
                          header + "0;0;1;0;O;\n100;0;2;0;O;\n200;0;4;0;O;\n100;0;8;0;O;\n"));
    QVERIFY(teachIn.readTeachInFromFile(QStringLiteral("same")));
    QCOMPARE(teachIn.vecTeachInData[1].dblSens, ((2.0 - 8.0) / 2.0) / (0 - 200));
    QCOMPARE(teachIn.vecTeachInData[2].dblSens, teachIn.vecTeachInData[1].dblSens);
}

void tst_recordsTeachIn::damagedFiles_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("steps0");
    QTest::addColumn<double>("time0");
    QTest::addColumn<double>("ch10");
    QTest::addColumn<int>("type0");

    const QByteArray one("7;0.5;1.5;0.25;O;\n");
    QTest::newRow("empty") << QByteArray() << 0 << 0 << 0.0 << 0.0 << 0;
    QTest::newRow("version only") << QByteArray("Version: 103;") << 0 << 0 << 0.0 << 0.0 << 0;
    QTest::newRow("header only") << header << 0 << 0 << 0.0 << 0.0 << 0;
    QTest::newRow("one point") << header + one << 1 << 7 << 0.5 << 1.5 << int(CURVE_OPEN);
    QTest::newRow("missing final semicolon") << header + one + "9;1;2;3;C" << 1 << 7 << 0.5 << 1.5
                                             << int(CURVE_OPEN);
    QTest::newRow("missing final semicolon and line end") << header + "7;0.5;1.5;0.25;O" << 0 << 0 << 0.0 << 0.0
                                                          << 0;
    QTest::newRow("truncated in a line") << header + one + "9;1" << 1 << 7 << 0.5 << 1.5 << int(CURVE_OPEN);
    QTest::newRow("comma decimals") << header + "7; 0,5 ;1,5;0,25;C;\n" << 1 << 7 << 0.5 << 1.5
                                    << int(CURVE_CLOSE);
    QTest::newRow("comma in position") << header + "7,5;0.5;1.5;0.25;O;\n" << 1 << 0 << 0.5 << 1.5
                                       << int(CURVE_OPEN);
    QTest::newRow("lower-case letter") << header + "7;0.5;1.5;0.25;o;\n" << 1 << 7 << 0.5 << 1.5
                                       << int(CURVE_CLOSE);
    QTest::newRow("other letter") << header + "7;0.5;1.5;0.25;X;\n" << 1 << 7 << 0.5 << 1.5 << int(CURVE_CLOSE);
    QTest::newRow("letter with blank") << header + "7;0.5;1.5;0.25; O;\n" << 1 << 7 << 0.5 << 1.5
                                       << int(CURVE_CLOSE);
    QTest::newRow("other version") << QByteArray(header).replace("103", "113") + one << 1 << 7 << 0.5 << 1.5
                                   << int(CURVE_OPEN);
    QTest::newRow("words for numbers") << header + "abc;x;y;z;O;\n" << 1 << 0 << 0.0 << 0.0 << int(CURVE_OPEN);
    QTest::newRow("extreme positions")
        << header + "2147483647;0;1;0;O;\n-2147483648;1;2;0;O;\n2147483647;2;3;0;O;\n-2147483648;3;0;0;O;\n" << 4
        << 2147483647 << 0.0 << 1.0 << int(CURVE_OPEN);
    QTest::newRow("position out of range") << header + "99999999999;0;1;0;O;\n" << 1 << 0 << 0.0 << 1.0
                                           << int(CURVE_OPEN);
}

void tst_recordsTeachIn::damagedFiles()
{
    QFETCH(QByteArray, content);
    QFETCH(int, count);
    testWorkDir dir;
    QVERIFY(dir.writeFile(QStringLiteral("teachIn/damaged.kfxteachin"), content));
    lvTeachIn teachIn;
    teachIn.vecTeachInData << point(1, 1.0, CURVE_OPEN) << point(2, 2.0, CURVE_OPEN);
    teachIn.readTeachInFromFile(QStringLiteral("damaged"));
    QCOMPARE(teachIn.vecTeachInData.size(), count);
    QCOMPARE(teachIn.strTeachInFile, QStringLiteral("damaged"));
    if (count > 0) {
        const lvTeachInData &first = teachIn.vecTeachInData.first();
        QTEST(first.nSteps, "steps0");
        QTEST(first.dblTime, "time0");
        QTEST(first.dblCh1, "ch10");
        QTEST(first.nCurveType, "type0");
        QCOMPARE(first.dblData, first.dblCh1 * 2); // the file's formula
    }
    // Whatever was read, interpolation on it stays defined.
    const int nSteps = teachIn.calcStepsFromData(1.5, 0.0, 0.0);
    Q_UNUSED(nSteps)
}

void tst_recordsTeachIn::garbageNeverStopsTheReader()
{
    testWorkDir dir;
    QByteArray garbage;
    quint32 nSeed = 12345;
    for (int i = 0; i < 20000; ++i) {
        nSeed = nSeed * 1103515245u + 12345u;
        const char c = char(nSeed >> 24);
        garbage += (nSeed >> 8) % 7 == 0 ? ';' : c;
    }
    QVERIFY(dir.writeFile(QStringLiteral("teachIn/garbage.kfxteachin"), garbage));
    lvTeachIn teachIn;
    teachIn.readTeachInFromFile(QStringLiteral("garbage"));
    // Points start at field 9 and need five fields and one more after them.
    QCOMPARE(teachIn.vecTeachInData.size(), qMax(0, (garbage.count(';') + 1 - 10) / 5));
}

void tst_recordsTeachIn::missingFileLeavesNoPoints()
{
    testWorkDir dir;
    lvTeachIn teachIn = teachInOf({point(0, 1.0, CURVE_OPEN), point(10, 2.0, CURVE_OPEN)});
    teachIn.sensor.strName = QStringLiteral("kept");
    QVERIFY(!teachIn.readTeachInFromFile(QStringLiteral("absent")));
    QCOMPARE(teachIn.strTeachInFile, QStringLiteral("absent"));
    QVERIFY(teachIn.vecTeachInData.isEmpty());
    QCOMPARE(teachIn.dblMinData, 1000000.0);
    QCOMPARE(teachIn.dblMaxData, 0.0);
    QCOMPARE(teachIn.dblMinSteps, 1000000.0);
    QCOMPARE(teachIn.sensor.strName, QStringLiteral("kept"));
    QCOMPARE(teachIn.calcStepsFromData(1.0, 0.0, 0.0), -1);
}

void tst_recordsTeachIn::emptyOrUnsafeNameDoesNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("empty") << QString();
    QTest::newRow("parent folder") << "../curve";
    QTest::newRow("backslash") << "a\\b";
    QTest::newRow("leading dot") << ".curve";
    QTest::newRow("semicolon") << "a;b";
    QTest::newRow("control character") << "a\rb";
}

void tst_recordsTeachIn::emptyOrUnsafeNameDoesNothing()
{
    QFETCH(QString, name);
    testWorkDir dir;
    QVERIFY(dir.writeFile(QStringLiteral("curve.kfxteachin"), fileOfPoints(4)));
    lvTeachIn teachIn = teachInOf({point(0, 1.0, CURVE_OPEN), point(10, 2.0, CURVE_OPEN)});
    teachIn.strTeachInFile = QStringLiteral("before");
    QVERIFY(!teachIn.readTeachInFromFile(name));
    QVERIFY(!teachIn.saveTeachInToFile(name));
    QCOMPARE(teachIn.strTeachInFile, QStringLiteral("before"));
    QCOMPARE(teachIn.strTeachInDir, QString());
    QCOMPARE(teachIn.vecTeachInData.size(), 2);
    QCOMPARE(dir.readFile(QStringLiteral("curve.kfxteachin")), fileOfPoints(4));
    QCOMPARE(QDir(dir.filePath(QStringLiteral("teachIn"))).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList());
}

void tst_recordsTeachIn::fewerThanTwoPointsWriteAnEmptyFile()
{
    testWorkDir dir;
    QVERIFY(dir.writeFile(QStringLiteral("teachIn/one.kfxteachin"), fileOfPoints(3)));
    lvTeachIn teachIn = teachInOf({point(0, 1.0, CURVE_OPEN)});
    QVERIFY(teachIn.saveTeachInToFile(QStringLiteral("one")));
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("teachIn/one.kfxteachin"))));
    QCOMPARE(dir.readFile(QStringLiteral("teachIn/one.kfxteachin")), QByteArray());
    lvTeachIn none;
    QVERIFY(none.saveTeachInToFile(QStringLiteral("none")));
    QCOMPARE(dir.readFile(QStringLiteral("teachIn/none.kfxteachin")), QByteArray());
    QCOMPARE(teachIn.vecTeachInData.size(), 1);
}

void tst_recordsTeachIn::saveNeverCreatesFolderNorLeavesTemporaries()
{
    testWorkDir dir;
    lvTeachIn teachIn = teachInOf({point(0, 1.0, CURVE_OPEN), point(10, 2.0, CURVE_OPEN)});
    QVERIFY(teachIn.saveTeachInToFile(QStringLiteral("kept")));
    const QByteArray before = dir.readFile(QStringLiteral("teachIn/kept.kfxteachin"));
    QVERIFY(!before.isEmpty());

    QTemporaryDir other;
    QVERIFY(QDir::setCurrent(other.path()));
    QVERIFY(!teachIn.saveTeachInToFile(QStringLiteral("kept")));
    QCOMPARE(teachIn.strTeachInFile, QStringLiteral("kept"));
    QCOMPARE(teachIn.strTeachInDir, QDir(other.path()).absolutePath() + QStringLiteral("/teachIn/"));
    QVERIFY(!QFileInfo::exists(other.filePath(QStringLiteral("teachIn"))));
    QVERIFY(QDir::setCurrent(dir.path()));

    QCOMPARE(dir.readFile(QStringLiteral("teachIn/kept.kfxteachin")), before);
    QCOMPARE(QDir(dir.filePath(QStringLiteral("teachIn"))).entryList(QDir::Files | QDir::Hidden),
             QStringList{"kept.kfxteachin"});
}

void tst_recordsTeachIn::semicolonInSensorTextKeepsFieldsAligned()
{
    testWorkDir dir;
    lvTeachIn teachIn = teachInOf({point(0, 1.0, CURVE_OPEN), point(10, 2.0, CURVE_OPEN)});
    teachIn.vecTeachInData[0].dblCh1 = 0.5;
    teachIn.vecTeachInData[1].dblCh1 = 1.0;
    teachIn.sensor.strName = QStringLiteral("Gauge; \u00b5");
    teachIn.sensor.strFormula = QStringLiteral("var a = val1; a*2");
    QVERIFY(teachIn.saveTeachInToFile(QStringLiteral("odd")));
    const QByteArray bytes = dir.readFile(QStringLiteral("teachIn/odd.kfxteachin"));
    QVERIFY(bytes.contains("sensor name: Gauge, \xc2\xb5;\n"));

    lvTeachIn read;
    QVERIFY(read.readTeachInFromFile(QStringLiteral("odd")));
    QCOMPARE(read.sensor.strName, QStringLiteral("Gauge, \u00b5"));
    QCOMPARE(read.sensor.strFormula, QStringLiteral("var a = val1, a*2"));
    QCOMPARE(read.vecTeachInData.size(), 2);
    QCOMPARE(read.vecTeachInData[1].nSteps, 10);
    QCOMPARE(read.vecTeachInData[1].dblCh1, 1.0);
}

void tst_recordsTeachIn::tenThousandPointsLoad()
{
    testWorkDir dir;
    QByteArray text = header;
    for (int i = 0; i < 10000; ++i)
        text += QByteArray::number(i * 100) + ';' + QByteArray::number(i * 0.25) + ';'
            + QByteArray::number(0.001 * i, 'g', 6) + ";0.5;" + (i % 2 ? "C" : "O") + ";\n";
    QVERIFY(dir.writeFile(QStringLiteral("teachIn/big.kfxteachin"), text));
    lvTeachIn teachIn;
    QVERIFY(teachIn.readTeachInFromFile(QStringLiteral("big")));
    QCOMPARE(teachIn.vecTeachInData.size(), 10000);
    QCOMPARE(teachIn.vecTeachInData[4321].dblData, 2 * 4.321);
    QCOMPARE(teachIn.dblMaxSteps, 999900.0);
    QCOMPARE(teachIn.dblMaxTime, 9999 * 0.25);
}

void tst_recordsTeachIn::scriptFormulasAndEndlessFormulasInFiles()
{
    testWorkDir dir;
    QByteArray text = QByteArray(header).replace("val1*2", "val1 > 1 ? val1*val2 : -1");
    text += "0;0;0.5;3;O;\n10;0;2;3;O;\n20;0;4;0.5;C;\n30;0;7;8;D;\n";
    QVERIFY(dir.writeFile(QStringLiteral("teachIn/script.kfxteachin"), text));
    lvTeachIn teachIn;
    QVERIFY(teachIn.readTeachInFromFile(QStringLiteral("script")));
    QCOMPARE(teachIn.vecTeachInData.size(), 4);
    QCOMPARE(teachIn.vecTeachInData[0].dblData, -1.0);
    QCOMPARE(teachIn.vecTeachInData[1].dblData, 6.0);
    QCOMPARE(teachIn.vecTeachInData[2].dblData, 2.0);
    QCOMPARE(teachIn.vecTeachInData[3].dblData, 7.0);
    QCOMPARE(teachIn.sensor.dblResult, 2.0); // as if the last point was evaluated last

    // A formula that never ends costs a bounded time per point and reads as NaN.
    text = QByteArray(header).replace("val1*2", "while(true){}");
    text += "0;0;0.5;3;O;\n10;0;2;3;O;\n20;0;4;0.5;C;\n";
    QVERIFY(dir.writeFile(QStringLiteral("teachIn/endless.kfxteachin"), text));
    QVERIFY(teachIn.readTeachInFromFile(QStringLiteral("endless")));
    QCOMPARE(teachIn.vecTeachInData.size(), 3);
    for (const lvTeachInData &p : qAsConst(teachIn.vecTeachInData))
        QVERIFY(std::isnan(p.dblData));
}

void tst_recordsTeachIn::calcStepsFromData_data()
{
    QTest::addColumn<QVector<lvTeachInData>>("points");
    QTest::addColumn<int>("curveUse");
    QTest::addColumn<double>("setValue");
    QTest::addColumn<double>("actual");
    QTest::addColumn<int>("expected");

    const QVector<lvTeachInData> rising{point(0, 1.0, CURVE_OPEN), point(100000, 2.0, CURVE_OPEN),
                                        point(300000, 4.0, CURVE_OPEN)};
    QTest::newRow("open 1.5") << rising << 0 << 1.5 << 0.0 << 50000;
    QTest::newRow("open 3.0") << rising << 0 << 3.0 << 0.0 << 200000;
    QTest::newRow("below range") << rising << 0 << 0.5 << 0.0 << 0;
    QTest::newRow("above range") << rising << 0 << 5.0 << 0.0 << 300000;
    QTest::newRow("at minimum") << rising << 0 << 1.0 << 0.0 << 0;
    QTest::newRow("at an inner point") << rising << 0 << 2.0 << 0.0 << 100000;
    QTest::newRow("not a number") << rising << 0 << NaN << 0.0 << -1;
    QTest::newRow("one point") << QVector<lvTeachInData>{point(0, 1.0, CURVE_OPEN)} << 0 << 1.0 << 0.0 << -1;
    QTest::newRow("no points") << QVector<lvTeachInData>() << 0 << 1.0 << 0.0 << -1;
    QTest::newRow("two points") << QVector<lvTeachInData>{point(1000, 1.0, CURVE_CLOSE), point(2000, 3.0, CURVE_CLOSE)}
                                << 1 << 2.0 << 0.0 << 1500;
    QTest::newRow("falling curve") << QVector<lvTeachInData>{point(0, 4.0, CURVE_OPEN), point(100000, 2.0, CURVE_OPEN)}
                                   << 0 << 3.0 << 0.0 << 50000;

    const QVector<lvTeachInData> both{point(0, 1.0, CURVE_OPEN),       point(100000, 2.0, CURVE_OPEN),
                                      point(300000, 4.0, CURVE_OPEN),  point(300000, 4.0, CURVE_CLOSE),
                                      point(200000, 2.5, CURVE_CLOSE), point(0, 1.0, CURVE_CLOSE)};
    QTest::newRow("close curve") << both << 1 << 3.0 << 0.0 << 233333;
    QTest::newRow("both, set below actual: close") << both << 2 << 3.0 << 4.0 << 233333;
    QTest::newRow("both, set equal actual: open") << both << 2 << 3.0 << 3.0 << 200000;
    QTest::newRow("both, set above actual: open") << both << 2 << 3.0 << 1.0 << 200000;
    // Bounds cover every point, whatever its curve.
    QTest::newRow("bound from the other curve")
        << QVector<lvTeachInData>{point(0, 1.0, CURVE_OPEN), point(100, 2.0, CURVE_OPEN),
                                  point(500, 3.0, CURVE_CLOSE), point(900, 5.0, CURVE_CLOSE)}
        << 0 << 6.0 << 0.0 << 900;
    QTest::newRow("only the other curve covers it")
        << QVector<lvTeachInData>{point(0, 1.0, CURVE_OPEN), point(100, 2.0, CURVE_OPEN),
                                  point(200, 3.0, CURVE_CLOSE), point(300, 5.0, CURVE_CLOSE)}
        << 0 << 4.0 << 0.0 << -1;
    QTest::newRow("data points are no curve")
        << QVector<lvTeachInData>{point(0, 1.0, CURVE_DATA), point(100, 3.0, CURVE_DATA),
                                  point(200, 5.0, CURVE_DATA)}
        << 0 << 2.0 << 0.0 << -1;
    QTest::newRow("extreme positions")
        << QVector<lvTeachInData>{point(-2147483647 - 1, 1.0, CURVE_OPEN), point(2147483647, 2.0, CURVE_OPEN)}
        << 0 << 1.5 << 0.0 << 0;
}

void tst_recordsTeachIn::calcStepsFromData()
{
    QFETCH(QVector<lvTeachInData>, points);
    QFETCH(int, curveUse);
    QFETCH(double, setValue);
    QFETCH(double, actual);
    QFETCH(int, expected);
    lvTeachIn teachIn = teachInOf(points);
    teachIn.nCurveUse = curveUse;
    QCOMPARE(teachIn.calcStepsFromData(setValue, actual, 1000000.0), expected);
}

void tst_recordsTeachIn::calcDataAt()
{
    lvTeachIn teachIn;
    teachIn.sensor.strFormula = QStringLiteral("val1*10+val2");
    teachIn.vecChannel1 = {1.0, 2.0, 3.0};
    teachIn.vecChannel2 = {0.5, 0.25};
    teachIn.calcDataAt(2); // beyond channel 2
    teachIn.calcDataAt(-1);
    QVERIFY(teachIn.vecDataValues.isEmpty());
    teachIn.calcDataAt(1);
    QCOMPARE(teachIn.vecDataValues, (QVector<double>{0.0, 0.0, 20.25}));
    QCOMPARE(teachIn.dblMinData, 20.25);
    QCOMPARE(teachIn.dblMaxData, 20.25);
    teachIn.calcDataAt(0);
    QCOMPARE(teachIn.vecDataValues, (QVector<double>{0.0, 0.0, 20.25, 10.5}));
    QCOMPARE(teachIn.dblMinData, 10.5);
}

// The motor thread copies the main window's teach-in while the GUI thread
// re-reads it: every copy must be one whole file, never a mixture.
void tst_recordsTeachIn::copiesAreConsistentWhileReReading()
{
    testWorkDir dir;
    QVERIFY(dir.writeFile(QStringLiteral("teachIn/small.kfxteachin"), fileOfPoints(3)));
    QVERIFY(dir.writeFile(QStringLiteral("teachIn/large.kfxteachin"), fileOfPoints(400, 7)));
    const QString strTeachInDir = lvTeachIn::teachInDirectory();

    lvTeachIn shared;
    QAtomicInt bDone(0);
    QAtomicInt nBad(0);
    QAtomicInt nCopies(0);
    QThread *pReader = QThread::create([&] {
        while (!bDone.loadAcquire() || nCopies.loadRelaxed() < 50) {
            const lvTeachIn copy(shared);
            nCopies.ref();
            const int n = copy.vecTeachInData.size();
            const bool bOk = (copy.strTeachInFile.isEmpty() && n == 0)
                || (copy.strTeachInFile == QLatin1String("small") && n == 3 && copy.dblMaxSteps == 200.0)
                || (copy.strTeachInFile == QLatin1String("large") && n == 400 && copy.dblMaxSteps == 39907.0
                    && copy.vecTeachInData.last().nSteps == 39907);
            if (!bOk)
                nBad.ref();
            shared.calcStepsFromData(1.1, 1.0, 0.0);
        }
    });
    pReader->start();
    for (int i = 0; i < 60; ++i)
        shared.readTeachInFromFile(i % 2 ? QStringLiteral("large") : QStringLiteral("small"));
    bDone.storeRelease(1);
    QVERIFY(pReader->wait(120000));
    delete pReader;
    QCOMPARE(nBad.loadRelaxed(), 0);
    QCOMPARE(shared.strTeachInDir, strTeachInDir);
}

// The script thread appends under the record's lock while the GUI thread
// draws from snapshots.
void tst_recordsTeachIn::recorderAndDrawerShareOneRecord()
{
    lvTeachIn record;
    QAtomicInt nBad(0);
    QThread *pRecorder = QThread::create([&] {
        for (int i = 0; i < 2000; ++i)
            record.withLock([i](lvTeachIn &t) {
                t.vecTeachInData.append(point(i, i * 0.5, CURVE_DATA, i));
                t.dblMaxTime = i;
                t.dblMaxSteps = i;
            });
    });
    pRecorder->start();
    int nSeen = 0;
    while (nSeen < 2000) {
        const lvTeachIn snapshot = record.snapshot();
        nSeen = snapshot.vecTeachInData.size();
        if (nSeen > 0
            && (snapshot.dblMaxTime != nSeen - 1 || snapshot.vecTeachInData.last().nSteps != nSeen - 1))
            nBad.ref();
        QThread::yieldCurrentThread();
    }
    QVERIFY(pRecorder->wait(60000));
    delete pRecorder;
    QCOMPARE(nBad.loadRelaxed(), 0);
}

QTEST_GUILESS_MAIN(tst_recordsTeachIn)
#include "tst_recordsTeachIn.moc"
