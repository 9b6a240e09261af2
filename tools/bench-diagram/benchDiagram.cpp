// Times the diagram's heavy paths on an offscreen widget:
//   load    - reading a 100,000-point teach-in file (sensor evaluated per point)
//   draw    - setTeachIn of those points, including the replot
//   live    - 10,000 measurement points appended one by one (onUpdateDiagram)
//   export  - the XLSX protocol of 100,000 points
//   floor   - libxlsxwriter alone writing the same cells (no chart, no Qt)
//   floor+c - the same with the same two-series chart
// Usage: bench-diagram [points] [live points]
#include "manual/diagramWorkbook.h"
#include "manual/formCurrentState.h"
#include "manual/qLvCustomPlot.h"
#include "valve/lvTeachIn.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <xlsxwriter.h>

#include <cmath>
#include <cstdio>

namespace {

lvTeachIn makeTeachIn(int nPoints)
{
    lvTeachIn teachIn;
    teachIn.strTeachInFile = QStringLiteral("bench");
    teachIn.sensor.strName = QStringLiteral("bench sensor");
    teachIn.sensor.strFormula = QStringLiteral("val1*1e-6");
    teachIn.sensor.strDataName = QStringLiteral("Leakrate");
    teachIn.sensor.bExponential = true;
    teachIn.sensor.strInputMask = QStringLiteral("0.00E+00");
    teachIn.withLock([nPoints](lvTeachIn &t) {
        const int nOpen = nPoints / 2;
        for (int i = 0; i < nPoints; ++i) {
            lvTeachInData pt;
            const bool bOpen = i < nOpen;
            const int nIndex = bOpen ? i : nPoints - 1 - i;
            pt.nCurveType = bOpen ? CURVE_OPEN : CURVE_CLOSE;
            pt.nSteps = int(1000000.0 * nIndex / nOpen);
            pt.dblTime = 0.1 * i;
            pt.dblCh1 = 0.5 + 9.0 * nIndex / nOpen;
            pt.dblCh2 = 1.0;
            pt.dblData = pt.dblCh1 * 1e-6;
            pt.dblSens = 1e-7 * (1 + i % 13);
            t.vecTeachInData.append(pt);
            t.dblMinSteps = std::min(t.dblMinSteps, double(pt.nSteps));
            t.dblMaxSteps = std::max(t.dblMaxSteps, double(pt.nSteps));
            t.dblMinData = std::min(t.dblMinData, pt.dblData);
            t.dblMaxData = std::max(t.dblMaxData, pt.dblData);
            t.dblMinTime = std::min(t.dblMinTime, pt.dblTime);
            t.dblMaxTime = std::max(t.dblMaxTime, pt.dblTime);
            t.dblMinSens = std::min(t.dblMinSens, pt.dblSens);
            t.dblMaxSens = std::max(t.dblMaxSens, pt.dblSens);
        }
    });
    return teachIn;
}

// The same cells as the protocol, written by the library alone; with
// bChart also the same two-series chart.
double writeFloorWorkbook(const QString &strFile, const lvTeachIn &teachIn, bool bChart)
{
    QElapsedTimer timer;
    timer.start();
    const QByteArray baFile = QFile::encodeName(strFile);
    lxw_workbook *pBook = workbook_new(baFile.constData());
    lxw_worksheet *pSheet = workbook_add_worksheet(pBook, "bench");
    lxw_format *pFormat = workbook_add_format(pBook);
    format_set_num_format(pFormat, "0.00E+00");
    const char *columns[] = {"Time", "Val1", "Val2", "Leakrate", "Position", "Setpoint", "Sensitivity", "Curve Type"};
    for (lxw_col_t c = 0; c < 8; ++c)
        worksheet_write_string(pSheet, 12, c, columns[c], nullptr);
    const QVector<lvTeachInData> &points = teachIn.vecTeachInData;
    for (int i = 0; i < points.size(); ++i) {
        const lvTeachInData &pt = points.at(i);
        const lxw_row_t r = lxw_row_t(13 + i);
        worksheet_write_number(pSheet, r, 0, pt.dblTime, nullptr);
        worksheet_write_number(pSheet, r, 1, pt.dblCh1, nullptr);
        worksheet_write_number(pSheet, r, 2, pt.dblCh2, nullptr);
        worksheet_write_number(pSheet, r, 3, pt.dblData, pFormat);
        worksheet_write_number(pSheet, r, 4, pt.nSteps, nullptr);
        worksheet_write_number(pSheet, r, 5, 0.0, nullptr);
        worksheet_write_number(pSheet, r, 6, pt.dblSens, nullptr);
        worksheet_write_string(pSheet, r, 7, pt.nCurveType == CURVE_OPEN ? "Open Curve" : "Close Curve", nullptr);
    }
    if (bChart) {
        const int nHalf = points.size() / 2;
        const QByteArray openX = QStringLiteral("'bench'!$E$14:$E$%1").arg(13 + nHalf).toUtf8();
        const QByteArray openY = QStringLiteral("'bench'!$D$14:$D$%1").arg(13 + nHalf).toUtf8();
        const QByteArray closeX = QStringLiteral("'bench'!$E$%1:$E$%2").arg(14 + nHalf).arg(13 + points.size()).toUtf8();
        const QByteArray closeY = QStringLiteral("'bench'!$D$%1:$D$%2").arg(14 + nHalf).arg(13 + points.size()).toUtf8();
        lxw_chart *pChart = workbook_add_chart(pBook, LXW_CHART_SCATTER_STRAIGHT);
        chart_add_series(pChart, openX.constData(), openY.constData());
        chart_add_series(pChart, closeX.constData(), closeY.constData());
        worksheet_insert_chart(pSheet, 13, 9, pChart);
    }
    workbook_close(pBook);
    return timer.nsecsElapsed() / 1e6;
}

void report(const char *pszWhat, double dblMs, int nItems)
{
    std::printf("%-8s %10.1f ms  (%d items, %.2f us each)\n", pszWhat, dblMs, nItems, 1000.0 * dblMs / nItems);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int nPoints = argc > 1 ? std::max(2, atoi(argv[1])) : 100000;
    const int nLive = argc > 2 ? std::max(2, atoi(argv[2])) : 10000;

    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    QDir().mkpath(QStringLiteral("teachIn"));

    lvTeachIn made = makeTeachIn(nPoints);
    made.saveTeachInToFile(QStringLiteral("bench"));

    QElapsedTimer timer;
    lvTeachIn teachIn;
    timer.start();
    teachIn.readTeachInFromFile(QStringLiteral("bench"));
    report("load", timer.nsecsElapsed() / 1e6, teachIn.vecTeachInData.size());
    teachIn = made; // drawing and export use the generated points (sensitivities included)

    formCurrentState diagram;
    diagram.resize(646, 262);
    diagram.show();
    QApplication::processEvents();

    timer.restart();
    diagram.setTeachIn(&teachIn);
    diagram.plot()->replot(QCustomPlot::rpImmediateRefresh);
    report("draw", timer.nsecsElapsed() / 1e6, nPoints);

    diagram.onDiagramMenuClearData();
    lvTeachIn measure;
    measure.sensor = teachIn.sensor;
    measure.sensor.bExponential = false;
    timer.restart();
    for (int i = 0; i < nLive; ++i) {
        measure.withLock([i](lvTeachIn &t) {
            lvTeachInData pt;
            pt.nCurveType = CURVE_DATA;
            pt.nSteps = 500000 + (i % 1000);
            pt.dblTime = 0.1 * i;
            pt.dblData = 2.0 + std::sin(i * 0.01);
            pt.dblSetpoint = 2.0;
            t.vecTeachInData.append(pt);
            t.dblMinSteps = std::min(t.dblMinSteps, double(pt.nSteps));
            t.dblMaxSteps = std::max(t.dblMaxSteps, double(pt.nSteps));
            t.dblMinData = std::min(t.dblMinData, pt.dblData);
            t.dblMaxData = std::max(t.dblMaxData, pt.dblData);
            t.dblMinTime = std::min(t.dblMinTime, pt.dblTime);
            t.dblMaxTime = std::max(t.dblMaxTime, pt.dblTime);
            t.dblMinSetpoint = std::min(t.dblMinSetpoint, pt.dblSetpoint);
            t.dblMaxSetpoint = std::max(t.dblMaxSetpoint, pt.dblSetpoint);
        });
        diagram.onUpdateDiagram(&measure, false);
        QApplication::processEvents(); // let each refresh hint paint
    }
    report("live", timer.nsecsElapsed() / 1e6, nLive);

    // One untimed workbook first: the first large write of a process pays for
    // growing the heap, which would otherwise land on whichever runs first.
    writeFloorWorkbook(dir.filePath(QStringLiteral("warmup.xlsx")), teachIn, true);

    timer.restart();
    writeDiagramWorkbook(dir.filePath(QStringLiteral("protocol.xlsx")), teachIn,
                         {Qt::green, Qt::red, Qt::red, Qt::blue}, QDate::currentDate());
    report("export", timer.nsecsElapsed() / 1e6, nPoints);

    report("floor", writeFloorWorkbook(dir.filePath(QStringLiteral("floor.xlsx")), teachIn, false), nPoints);
    report("floor+c", writeFloorWorkbook(dir.filePath(QStringLiteral("floorc.xlsx")), teachIn, true), nPoints);
    return 0;
}
