// The pure pieces of the diagram and the manual tab: countdown arithmetic,
// axis-range rules, sheet names, export names, chart rows and the two
// conversions of typed and clicked values.
#include "manual/diagramAxisRange.h"
#include "manual/diagramGraphPlan.h"
#include "manual/diagramWorkbook.h"
#include "manual/longPressCountdown.h"
#include "manual/plotClickText.h"
#include "manual/setValueConversion.h"
#include "manual/xlsxSheetName.h"
#include "valve/lvTeachInData.h"

#include <QtTest>

#include <cmath>
#include <limits>

Q_DECLARE_METATYPE(std::optional<double>)

namespace {
const double dblNaN = std::numeric_limits<double>::quiet_NaN();
const double dblInf = std::numeric_limits<double>::infinity();
// Points from a line of curve marks: "O" open, "C" close, "D" data, "X" a
// curve type that joins no curve. Each point's position is 1000 x its index.
QVector<lvTeachInData> pointsFrom(const QString &strMarks)
{
    QVector<lvTeachInData> points;
    for (const QChar ch : strMarks) {
        lvTeachInData pt;
        pt.nCurveType = ch == QLatin1Char('O') ? CURVE_OPEN
                        : ch == QLatin1Char('C') ? CURVE_CLOSE
                        : ch == QLatin1Char('D') ? CURVE_DATA
                                                 : 7;
        pt.nSteps = 1000 * points.size();
        pt.dblTime = points.size();
        pt.dblData = 1.0;
        pt.dblSens = 0.5;
        pt.dblSetpoint = 2.0;
        points.append(pt);
    }
    return points;
}

QString graphNames(const QVector<diagramGraphKind> &kinds)
{
    static const char *const names[GRAPH_COUNT] = {"open", "close", "data", "sensOpen", "sensClose", "setpoint", "pos"};
    QStringList list;
    for (const diagramGraphKind kind : kinds)
        list << QLatin1String(names[kind]);
    return list.join(QLatin1Char(' '));
}

} // namespace

class tst_diagramTables : public QObject
{
    Q_OBJECT

private slots:
    void holdSecondsText_data();
    void holdSecondsText();
    void countdown_data();
    void countdown();
    void axisRanges_data();
    void axisRanges();
    void sheetName_data();
    void sheetName();
    void quotedSheetName();
    void exportFileName_data();
    void exportFileName();
    void chartRows_data();
    void chartRows();
    void plotClickValue_data();
    void plotClickValue();
    void setValue_data();
    void setValue();
    void setSteps_data();
    void setSteps();
    void graphPlan_data();
    void graphPlan();
    void livePointPlan();
    void gapsForInfiniteValues();
};

void tst_diagramTables::holdSecondsText_data()
{
    QTest::addColumn<int>("nTime");
    QTest::addColumn<QString>("strText");
    QTest::newRow("default") << 2000 << "2";
    QTest::newRow("half seconds") << 2500 << "2.5";
    QTest::newRow("zero") << 0 << "0";
    QTest::newRow("odd ms") << 1234 << "1.234";
}

void tst_diagramTables::holdSecondsText()
{
    QFETCH(int, nTime);
    QFETCH(QString, strText);
    QCOMPARE(longPressHoldSecondsText(nTime), strText);
}

void tst_diagramTables::countdown_data()
{
    QTest::addColumn<int>("nTime");
    QTest::addColumn<qint64>("nElapsed");
    QTest::addColumn<int>("nRemaining");
    QTest::addColumn<bool>("bLong");

    QTest::newRow("tick at 1000 ms") << 2000 << qint64(1000) << 1 << false;
    QTest::newRow("just after 1000 ms") << 2000 << qint64(1001) << 0 << false;
    QTest::newRow("release at the hold time is a click") << 2000 << qint64(2000) << 0 << false;
    QTest::newRow("one ms more is a long press") << 2000 << qint64(2001) << 0 << true;
    QTest::newRow("just before 3000 ms") << 2000 << qint64(2999) << 0 << true;
    QTest::newRow("3000 ms counts below zero") << 2000 << qint64(3000) << -1 << true;
    QTest::newRow("4000 ms") << 2000 << qint64(4000) << -2 << true;
    QTest::newRow("delay 0, no time") << 0 << qint64(0) << 0 << false;
    QTest::newRow("delay 0, one ms") << 0 << qint64(1) << 0 << true;
    QTest::newRow("delay 2500 at 1000") << 2500 << qint64(1000) << 1 << false;
}

void tst_diagramTables::countdown()
{
    QFETCH(int, nTime);
    QFETCH(qint64, nElapsed);
    QFETCH(int, nRemaining);
    QFETCH(bool, bLong);
    QCOMPARE(longPressRemainingSeconds(nTime, nElapsed), nRemaining);
    QCOMPARE(longPressTickText(nTime, nElapsed),
             QString("Hold to show context menu in %1 seconds").arg(nRemaining));
    QCOMPARE(isLongPress(nTime, nElapsed), bLong);
}

void tst_diagramTables::axisRanges_data()
{
    QTest::addColumn<QString>("strRule");
    QTest::addColumn<double>("dblMin");
    QTest::addColumn<double>("dblMax");
    QTest::addColumn<bool>("bRange");
    QTest::addColumn<double>("dblLower");
    QTest::addColumn<double>("dblUpper");

    QTest::newRow("exponential decades") << "exp" << 0.00023 << 0.047 << true << 0.0001 << 0.1;
    QTest::newRow("exponential, one decade") << "exp" << 1.0 << 1.0 << true << 1.0 << 10.0;
    QTest::newRow("linear margins") << "lin" << 2.0 << 10.0 << true << 1.8 << 11.0;
    QTest::newRow("linear, negative values stay in view") << "lin" << -10.0 << -2.0 << true << -11.0 << -1.8;
    QTest::newRow("linear across zero") << "lin" << -10.0 << 10.0 << true << -11.0 << 11.0;
    // A teach-in without points still holds its empty extremes.
    QTest::newRow("empty teach-in, linear") << "lin" << 1000000.0 << 0.0 << false << 0.0 << 0.0;
    QTest::newRow("empty teach-in, exponential") << "exp" << 1000000.0 << 0.0 << false << 0.0 << 0.0;
    QTest::newRow("exponential with a zero value") << "exp" << 0.0 << 0.047 << false << 0.0 << 0.0;
    QTest::newRow("exponential with a negative value") << "exp" << -0.5 << 0.047 << false << 0.0 << 0.0;
    QTest::newRow("exponential with NaN") << "exp" << dblNaN << 0.047 << false << 0.0 << 0.0;
    QTest::newRow("exponential with inf") << "exp" << 0.001 << dblInf << false << 0.0 << 0.0;
    QTest::newRow("linear with inf") << "lin" << 0.0 << dblInf << false << 0.0 << 0.0;
    QTest::newRow("linear, all zero") << "lin" << 0.0 << 0.0 << false << 0.0 << 0.0;
    QTest::newRow("key range") << "key" << 0.0 << 1000000.0 << true << 0.0 << 1000000.0;
    QTest::newRow("key range of one point") << "key" << 5000.0 << 5000.0 << false << 0.0 << 0.0;
    QTest::newRow("key range of no points") << "key" << 1000000.0 << 0.0 << false << 0.0 << 0.0;
}

void tst_diagramTables::axisRanges()
{
    QFETCH(QString, strRule);
    QFETCH(double, dblMin);
    QFETCH(double, dblMax);
    QFETCH(bool, bRange);
    QFETCH(double, dblLower);
    QFETCH(double, dblUpper);

    std::optional<diagramRange> range;
    if (strRule == "exp")
        range = dataAxisRange(dblMin, dblMax, true);
    else if (strRule == "lin")
        range = dataAxisRange(dblMin, dblMax, false);
    else
        range = keyAxisRange(dblMin, dblMax);

    QCOMPARE(range.has_value(), bRange);
    if (bRange) {
        QVERIFY2(std::fabs(range->dblLower - dblLower) <= 1e-12 * std::max(1.0, std::fabs(dblLower)),
                 qPrintable(QString::number(range->dblLower, 'g', 17)));
        QVERIFY2(std::fabs(range->dblUpper - dblUpper) <= 1e-12 * std::max(1.0, std::fabs(dblUpper)),
                 qPrintable(QString::number(range->dblUpper, 'g', 17)));
    }
}

void tst_diagramTables::sheetName_data()
{
    QTest::addColumn<QString>("strName");
    QTest::addColumn<QString>("strSheet");

    QTest::newRow("plain") << "run 7" << "run 7";
    QTest::newRow("empty") << "" << "Sheet1";
    QTest::newRow("blank") << "   " << "Sheet1";
    QTest::newRow("forbidden characters") << "a[b]c:d*e?f/g\\h" << "a_b_c_d_e_f_g_h";
    QTest::newRow("control character") << QString("a\tb") << "a_b";
    QTest::newRow("edge apostrophes") << "'quoted'" << "quoted";
    QTest::newRow("inner apostrophe kept") << "it's" << "it's";
    QTest::newRow("only apostrophes") << "''" << "Sheet1";
    QTest::newRow("too long") << QString(40, QLatin1Char('x')) << QString(31, QLatin1Char('x'));
    QTest::newRow("cut brings an apostrophe to the end")
        << QString(30, QLatin1Char('x')) + "'yz" << QString(30, QLatin1Char('x'));
    QTest::newRow("surrogate pair not split")
        << QString(30, QLatin1Char('x')) + QString::fromUtf8("\xF0\x9F\x98\x80") << QString(30, QLatin1Char('x'));
    QTest::newRow("umlauts kept") << QString::fromUtf8("Dichtheit Ü") << QString::fromUtf8("Dichtheit Ü");
}

void tst_diagramTables::sheetName()
{
    QFETCH(QString, strName);
    QFETCH(QString, strSheet);
    QCOMPARE(xlsxSheetName(strName), strSheet);
}

void tst_diagramTables::quotedSheetName()
{
    QCOMPARE(xlsxQuotedSheetName("run"), QString("'run'"));
    QCOMPARE(xlsxQuotedSheetName("Bob's run"), QString("'Bob''s run'"));
}

void tst_diagramTables::exportFileName_data()
{
    QTest::addColumn<QString>("strChosen");
    QTest::addColumn<QString>("strFile");
    QTest::newRow("no suffix") << "/tmp/run" << "/tmp/run.xlsx";
    QTest::newRow("upper-case suffix") << "/tmp/run.XLSX" << "/tmp/run.XLSX.xlsx";
    QTest::newRow("suffix as typed") << "/tmp/run.xlsx" << "/tmp/run.xlsx";
    QTest::newRow("suffix inside") << "/tmp/run.xlsx.bak" << "/tmp/run.xlsx.bak.xlsx";
}

void tst_diagramTables::exportFileName()
{
    QFETCH(QString, strChosen);
    QFETCH(QString, strFile);
    QCOMPARE(xlsxExportFileName(strChosen), strFile);
}

void tst_diagramTables::chartRows_data()
{
    QTest::addColumn<QVector<int>>("vecTypes");
    // present, first and last row of open, close and data (0 when absent)
    QTest::addColumn<QVector<int>>("vecRows");

    const int O = CURVE_OPEN, C = CURVE_CLOSE, D = CURVE_DATA;
    QVector<int> openThenClose = QVector<int>(10, O) + QVector<int>(12, C);
    QTest::newRow("10 open then 12 close") << openThenClose << QVector<int>{1, 14, 23, 1, 24, 35, 0, 0, 0};
    QVector<int> closeThenOpen = QVector<int>(12, C) + QVector<int>(10, O);
    QTest::newRow("12 close then 10 open") << closeThenOpen << QVector<int>{1, 26, 35, 1, 14, 25, 0, 0, 0};
    QTest::newRow("data only") << QVector<int>(5, D) << QVector<int>{0, 0, 0, 0, 0, 0, 1, 14, 18};
    QTest::newRow("open only") << QVector<int>(3, O) << QVector<int>{1, 14, 16, 0, 0, 0, 0, 0, 0};
    QTest::newRow("mixed") << QVector<int>{D, O, O, C, D} << QVector<int>{1, 15, 16, 1, 17, 18, 1, 14, 18};
    QTest::newRow("no points") << QVector<int>() << QVector<int>{0, 0, 0, 0, 0, 0, 0, 0, 0};
    QTest::newRow("unknown type keeps its row") << QVector<int>{7, O, O} << QVector<int>{1, 15, 16, 0, 0, 0, 0, 0, 0};
}

void tst_diagramTables::chartRows()
{
    QFETCH(QVector<int>, vecTypes);
    QFETCH(QVector<int>, vecRows);
    const diagramChartRows rows = diagramChartRowsFor(vecTypes);
    const QVector<int> vecGot{rows.open.bPresent,  rows.open.nFirstRow,  rows.open.nLastRow,
                              rows.close.bPresent, rows.close.nFirstRow, rows.close.nLastRow,
                              rows.data.bPresent,  rows.data.nFirstRow,  rows.data.nLastRow};
    QCOMPARE(vecGot, vecRows);
}

void tst_diagramTables::plotClickValue_data()
{
    QTest::addColumn<double>("dblValue");
    QTest::addColumn<bool>("bExponential");
    QTest::addColumn<QString>("strText");
    QTest::newRow("tiny, exponential") << 0.00000025 << true << "2.50E-07";
    QTest::newRow("tiny, fixed") << 0.00000025 << false << "2.5e-07";
    QTest::newRow("small, exponential") << 0.00025 << true << "2.50E-04";
    QTest::newRow("small, fixed") << 0.00025 << false << "0.00025";
    QTest::newRow("large, fixed") << 1234567.0 << false << "1.23457e+06";
    QTest::newRow("whole, fixed") << 100.0 << false << "100";
}

void tst_diagramTables::plotClickValue()
{
    QFETCH(double, dblValue);
    QFETCH(bool, bExponential);
    QFETCH(QString, strText);
    QCOMPARE(plotClickValueText(dblValue, bExponential), strText);
}

void tst_diagramTables::setValue_data()
{
    QTest::addColumn<QString>("strText");
    QTest::addColumn<bool>("bOk");
    QTest::addColumn<double>("dblValue");
    QTest::newRow("exponent") << "1.5e-6" << true << 1.5e-6;
    QTest::newRow("capital exponent") << "2.50E-07" << true << 2.5e-7;
    QTest::newRow("negative") << "-3" << true << -3.0;
    QTest::newRow("decimal comma") << "1,5e-6" << false << 0.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("letters") << "abc" << false << 0.0;
    QTest::newRow("nan") << "nan" << false << 0.0;
    QTest::newRow("NaN") << "NaN" << false << 0.0;
    QTest::newRow("inf") << "inf" << false << 0.0;
    QTest::newRow("-inf") << "-inf" << false << 0.0;
    QTest::newRow("overflow") << "1e999" << false << 0.0;
}

void tst_diagramTables::setValue()
{
    QFETCH(QString, strText);
    QFETCH(bool, bOk);
    QFETCH(double, dblValue);
    const std::optional<double> value = parseSetValue(strText);
    QCOMPARE(value.has_value(), bOk);
    if (bOk)
        QCOMPARE(*value, dblValue);
}

void tst_diagramTables::setSteps_data()
{
    QTest::addColumn<QString>("strText");
    QTest::addColumn<int>("nSteps");
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("unfinished") << "5" << 5;
    QTest::newRow("position") << "500000" << 500000;
    QTest::newRow("no number") << "abc" << 0;
}

void tst_diagramTables::setSteps()
{
    QFETCH(QString, strText);
    QFETCH(int, nSteps);
    QCOMPARE(parseSetSteps(strText), nSteps);
}

void tst_diagramTables::graphPlan_data()
{
    QTest::addColumn<QString>("strMarks");
    QTest::addColumn<QString>("strCreated");
    QTest::addColumn<int>("nFirstKeyAxis");
    QTest::addColumn<int>("nPosPoints");
    QTest::newRow("no points") << "" << "" << int(AXIS_LEFT) << 0;
    QTest::newRow("open then close") << "OOCC" << "open sensOpen close sensClose" << int(AXIS_BOTTOM) << 0;
    QTest::newRow("close first") << "CO" << "close sensClose open sensOpen" << int(AXIS_BOTTOM) << 0;
    QTest::newRow("data only") << "DDD" << "data setpoint pos" << int(AXIS_TOP) << 3;
    // The right axis holds both sensitivities: no room for the position.
    QTest::newRow("both curves, then data") << "OCD" << "open sensOpen close sensClose data setpoint"
                                            << int(AXIS_BOTTOM) << 0;
    QTest::newRow("one curve, then data") << "OD" << "open sensOpen data setpoint pos" << int(AXIS_BOTTOM) << 1;
    // Once made, the position graph takes every later data point.
    QTest::newRow("data, curves, data") << "DOCD" << "data setpoint pos open sensOpen close sensClose"
                                        << int(AXIS_TOP) << 2;
    QTest::newRow("other curve type only") << "XX" << "" << int(AXIS_LEFT) << 0;
    QTest::newRow("other curve type first") << "XO" << "open sensOpen" << int(AXIS_LEFT) << 0;
}

void tst_diagramTables::graphPlan()
{
    QFETCH(QString, strMarks);
    QFETCH(QString, strCreated);
    QFETCH(int, nFirstKeyAxis);
    QFETCH(int, nPosPoints);
    const QVector<lvTeachInData> points = pointsFrom(strMarks);
    const diagramTeachInPlan plan = planDiagramTeachIn(points);
    QCOMPARE(graphNames(plan.create), strCreated);
    QCOMPARE(int(plan.firstKeyAxis), nFirstKeyAxis);
    QCOMPARE(plan.data[GRAPH_POS].size(), nPosPoints);

    // Every point reaches its curve (and sensitivity, or set value) graph
    // with the key of its own axis.
    const int nCurvePoints = strMarks.count(QLatin1Char('O')) + strMarks.count(QLatin1Char('C'));
    QCOMPARE(plan.data[GRAPH_OPEN].size() + plan.data[GRAPH_CLOSE].size(), nCurvePoints);
    QCOMPARE(plan.data[GRAPH_SENS_OPEN].size() + plan.data[GRAPH_SENS_CLOSE].size(), nCurvePoints);
    QCOMPARE(plan.data[GRAPH_DATA].size(), strMarks.count(QLatin1Char('D')));
    QCOMPARE(plan.data[GRAPH_SETPOINT].size(), strMarks.count(QLatin1Char('D')));
    for (const diagramPlotPoint &pt : plan.data[GRAPH_OPEN])
        QCOMPARE(pt.dblValue, 1.0);
    for (const diagramPlotPoint &pt : plan.data[GRAPH_SETPOINT])
        QCOMPARE(pt.dblValue, 2.0);
    for (const diagramPlotPoint &pt : plan.data[GRAPH_POS]) {
        const int nIndex = int(pt.dblKey); // the time is the index
        QCOMPARE(pt.dblValue, double(points.at(nIndex).nSteps));
    }
}

void tst_diagramTables::livePointPlan()
{
    // A live data point into a diagram that already shows both sensitivities
    // and its data graphs: nothing to create, two values to append.
    diagramGraphSet existing;
    for (const diagramGraphKind kind : {GRAPH_SENS_OPEN, GRAPH_SENS_CLOSE, GRAPH_DATA, GRAPH_SETPOINT})
        existing.set(kind);
    const diagramPointPlan plan = planDiagramPoint(pointsFrom(QStringLiteral("D")).first(), existing);
    QVERIFY(plan.create.isEmpty());
    QCOMPARE(plan.append.size(), 2);
    QCOMPARE(int(plan.append.at(0).graph), int(GRAPH_DATA));
    QCOMPARE(int(plan.append.at(1).graph), int(GRAPH_SETPOINT));

    // The same point into an empty diagram creates the three time graphs.
    const diagramPointPlan first = planDiagramPoint(pointsFrom(QStringLiteral("D")).first(), diagramGraphSet());
    QCOMPARE(graphNames(first.create), QStringLiteral("data setpoint pos"));
    QCOMPARE(first.append.size(), 3);

    // The layout the widget gives them: position on the right, over time.
    QCOMPARE(int(diagramGraphLayoutOf(GRAPH_POS).keyAxis), int(AXIS_TOP));
    QCOMPARE(int(diagramGraphLayoutOf(GRAPH_POS).valueAxis), int(AXIS_RIGHT));
    QCOMPARE(QString::fromLatin1(diagramGraphLayoutOf(GRAPH_SENS_CLOSE).pszValueLabel), QStringLiteral("Sensitivity"));
    QCOMPARE(int(diagramGraphLayoutOf(GRAPH_CLOSE).keyAxis), int(AXIS_BOTTOM));
}

void tst_diagramTables::gapsForInfiniteValues()
{
    QVector<lvTeachInData> points = pointsFrom(QStringLiteral("OD"));
    points[0].dblSens = dblInf;
    points[1].dblData = -dblInf;
    const diagramTeachInPlan plan = planDiagramTeachIn(points);
    QVERIFY(std::isnan(plan.data[GRAPH_SENS_OPEN].at(0).dblValue));
    QVERIFY(std::isnan(plan.data[GRAPH_DATA].at(0).dblValue));
    QCOMPARE(plan.data[GRAPH_OPEN].at(0).dblValue, 1.0);
}

QTEST_GUILESS_MAIN(tst_diagramTables)
#include "tst_diagramTables.moc"
