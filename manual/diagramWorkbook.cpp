#include "manual/diagramWorkbook.h"

#include "manual/xlsxSheetName.h"
#include "valve/lvTeachIn.h"

#include <QCoreApplication>
#include <QFile>

#include <xlsxwriter.h>

#include <cmath>

namespace {

// The texts belong to the diagram widget's translation context; the call
// sites mark them with QT_TRANSLATE_NOOP so that lupdate finds them.
QString trDiagram(const char *pszText)
{
    return QCoreApplication::translate("formCurrentState", pszText);
}

constexpr int nFirstPointRow = 13; // 0-based; spreadsheet row 14
constexpr lxw_row_t nHeaderRow = 12;

lxw_color_t lxwColour(const QColor &col)
{
    return (static_cast<lxw_color_t>(col.red()) << 16) | (static_cast<lxw_color_t>(col.green()) << 8)
           | static_cast<lxw_color_t>(col.blue());
}

// Keeps the UTF-8 bytes of every text handed to the library alive until the
// workbook is closed, whatever the library copies.
class utf8Pool
{
public:
    const char *operator()(const QString &str)
    {
        vecBytes.append(str.toUtf8());
        return vecBytes.constLast().constData();
    }

private:
    QVector<QByteArray> vecBytes;
};

// A number cell, or an empty cell for a value no spreadsheet can hold (a zero
// process value makes the sensitivity infinite or not a number).
void writeNumber(lxw_worksheet *pSheet, lxw_row_t nRow, lxw_col_t nCol, double dblValue,
                 lxw_format *pFormat = nullptr)
{
    if (std::isfinite(dblValue))
        worksheet_write_number(pSheet, nRow, nCol, dblValue, pFormat);
}

// The library reads a chart text that starts with "=" as a cell reference;
// a blank in front keeps a name such as "=run 3" a plain text.
QString chartText(const QString &str)
{
    return str.startsWith(QLatin1Char('=')) ? QLatin1Char(' ') + str : str;
}

QString curveText(int nCurveType)
{
    switch (nCurveType) {
    case CURVE_OPEN:
        return trDiagram(QT_TRANSLATE_NOOP("formCurrentState", "Open Curve"));
    case CURVE_CLOSE:
        return trDiagram(QT_TRANSLATE_NOOP("formCurrentState", "Close Curve"));
    case CURVE_DATA:
        return trDiagram(QT_TRANSLATE_NOOP("formCurrentState", "Data Curve"));
    default:
        return QString();
    }
}

} // namespace

QString xlsxExportFileName(const QString &strChosen)
{
    if (strChosen.right(5) == QLatin1String(".xlsx"))
        return strChosen;
    return strChosen + QLatin1String(".xlsx");
}

diagramChartRows diagramChartRowsFor(const QVector<int> &vecCurveTypes)
{
    diagramChartRows rows;
    const int nLastRow = vecCurveTypes.size() + nFirstPointRow; // spreadsheet row of the last point
    for (int i = 0; i < vecCurveTypes.size(); ++i) {
        chartSeriesRows *pSeries = nullptr;
        switch (vecCurveTypes.at(i)) {
        case CURVE_OPEN:
            pSeries = &rows.open;
            break;
        case CURVE_CLOSE:
            pSeries = &rows.close;
            break;
        case CURVE_DATA:
            pSeries = &rows.data;
            break;
        default:
            break;
        }
        if (pSeries && !pSeries->bPresent) {
            pSeries->bPresent = true;
            pSeries->nFirstRow = nFirstPointRow + 1 + i;
        }
    }

    rows.data.nLastRow = nLastRow;
    rows.open.nLastRow = nLastRow;
    rows.close.nLastRow = nLastRow;
    if (rows.open.bPresent && rows.close.bPresent) {
        if (rows.open.nFirstRow < rows.close.nFirstRow)
            rows.open.nLastRow = rows.close.nFirstRow - 1;
        else
            rows.close.nLastRow = rows.open.nFirstRow - 1;
    }
    if (!rows.open.bPresent)
        rows.open = chartSeriesRows();
    if (!rows.close.bPresent)
        rows.close = chartSeriesRows();
    if (!rows.data.bPresent)
        rows.data = chartSeriesRows();
    return rows;
}

bool writeDiagramWorkbook(const QString &strFile, const lvTeachIn &teachIn,
                          const diagramWorkbookColours &colours, const QDate &dtToday,
                          QString *pstrError)
{
    auto fail = [pstrError](const QString &strWhy) {
        if (pstrError)
            *pstrError = strWhy;
        return false;
    };

    utf8Pool utf8;
    const QByteArray baFile = QFile::encodeName(strFile);
    lxw_workbook *pBook = workbook_new(baFile.constData());
    if (!pBook)
        return fail(QStringLiteral("cannot create the workbook"));

    const lvSensor &sensor = teachIn.sensor;
    const QString strSheet = xlsxSheetName(teachIn.strTeachInFile);
    lxw_worksheet *pSheet = workbook_add_worksheet(pBook, utf8(strSheet));
    if (!pSheet) {
        workbook_close(pBook);
        return fail(QStringLiteral("invalid worksheet name"));
    }

    // Header block.
    worksheet_write_string(pSheet, 0, 0, utf8(trDiagram(QT_TRANSLATE_NOOP("formCurrentState", "Measurement Protocol"))), nullptr);
    lxw_format *pDateFormat = workbook_add_format(pBook);
    format_set_num_format(pDateFormat, "dd.mm.yyyy");
    worksheet_write_string(pSheet, 3, 0, utf8(trDiagram(QT_TRANSLATE_NOOP("formCurrentState", "Date"))), nullptr);
    lxw_datetime today = {dtToday.year(), dtToday.month(), dtToday.day(), 0, 0, 0.0};
    worksheet_write_datetime(pSheet, 3, 1, &today, pDateFormat);
    const struct
    {
        lxw_row_t nRow;
        QString strLabel;
        QString strValue;
    } header[] = {
        {4, trDiagram(QT_TRANSLATE_NOOP("formCurrentState", "Made by")), trDiagram(QT_TRANSLATE_NOOP("formCurrentState", "pi"))},
        {5, trDiagram(QT_TRANSLATE_NOOP("formCurrentState", "Valve Nr.")), trDiagram(QT_TRANSLATE_NOOP("formCurrentState", "vvv"))},
        {6, trDiagram(QT_TRANSLATE_NOOP("formCurrentState", "Spring Type")), trDiagram(QT_TRANSLATE_NOOP("formCurrentState", "sss"))},
        {7, trDiagram(QT_TRANSLATE_NOOP("formCurrentState", "Valve Type")), trDiagram(QT_TRANSLATE_NOOP("formCurrentState", "ttt"))},
        {8, trDiagram(QT_TRANSLATE_NOOP("formCurrentState", "Annotation")), trDiagram(QT_TRANSLATE_NOOP("formCurrentState", "-"))},
        {9, trDiagram(QT_TRANSLATE_NOOP("formCurrentState", "Sensor")), sensor.strName},
        {10, trDiagram(QT_TRANSLATE_NOOP("formCurrentState", "Formula")), sensor.strFormula},
    };
    for (const auto &line : header) {
        worksheet_write_string(pSheet, line.nRow, 0, utf8(line.strLabel), nullptr);
        worksheet_write_string(pSheet, line.nRow, 1, utf8(line.strValue), nullptr);
    }

    // The sensor's input mask doubles as the number format of the values.
    lxw_format *pValueFormat = workbook_add_format(pBook);
    format_set_num_format(pValueFormat, utf8(sensor.strInputMask));

    const QString columns[] = {trDiagram(QT_TRANSLATE_NOOP("formCurrentState", "Time")),     trDiagram(QT_TRANSLATE_NOOP("formCurrentState", "Val1")),     trDiagram(QT_TRANSLATE_NOOP("formCurrentState", "Val2")),
                               sensor.strDataName,    trDiagram(QT_TRANSLATE_NOOP("formCurrentState", "Position")), trDiagram(QT_TRANSLATE_NOOP("formCurrentState", "Setpoint")),
                               trDiagram(QT_TRANSLATE_NOOP("formCurrentState", "Sensitivity")), trDiagram(QT_TRANSLATE_NOOP("formCurrentState", "Curve Type"))};
    for (lxw_col_t nCol = 0; nCol < 8; ++nCol)
        worksheet_write_string(pSheet, nHeaderRow, nCol, utf8(columns[nCol]), nullptr);

    // Converted once: the curve-type texts repeat on every row.
    const QByteArray curveTexts[] = {curveText(CURVE_OPEN).toUtf8(), curveText(CURVE_CLOSE).toUtf8(),
                                     curveText(CURVE_DATA).toUtf8()};

    const QVector<lvTeachInData> &points = teachIn.vecTeachInData;
    QVector<int> vecCurveTypes;
    vecCurveTypes.reserve(points.size());
    for (int i = 0; i < points.size(); ++i) {
        const lvTeachInData &pt = points.at(i);
        vecCurveTypes.append(pt.nCurveType);
        if (pt.nCurveType != CURVE_OPEN && pt.nCurveType != CURVE_CLOSE && pt.nCurveType != CURVE_DATA)
            continue;
        const lxw_row_t nRow = static_cast<lxw_row_t>(nFirstPointRow + i);
        writeNumber(pSheet, nRow, 0, pt.dblTime);
        writeNumber(pSheet, nRow, 1, pt.dblCh1);
        writeNumber(pSheet, nRow, 2, pt.dblCh2);
        writeNumber(pSheet, nRow, 3, pt.dblData, pValueFormat);
        writeNumber(pSheet, nRow, 4, pt.nSteps);
        writeNumber(pSheet, nRow, 5, pt.nCurveType == CURVE_DATA ? pt.dblSetpoint : 0.0);
        writeNumber(pSheet, nRow, 6, pt.dblSens);
        worksheet_write_string(pSheet, nRow, 7, curveTexts[pt.nCurveType].constData(), nullptr);
    }

    // The chart.
    lxw_chart *pChart = workbook_add_chart(pBook, LXW_CHART_SCATTER_STRAIGHT);
    chart_title_set_name(pChart, utf8(chartText(teachIn.strTeachInFile)));
    chart_axis_set_name(pChart->y_axis, utf8(chartText(sensor.strDataName)));
    if (sensor.bExponential) {
        chart_axis_set_log_base(pChart->y_axis, 10);
        chart_axis_set_num_format(pChart->y_axis, "0.00E+00");
    }

    const QString strRef = xlsxQuotedSheetName(strSheet);
    auto range = [&strRef](QChar chColumn, const chartSeriesRows &rows) {
        return QStringLiteral("%1!$%2$%3:$%2$%4").arg(strRef).arg(chColumn).arg(rows.nFirstRow).arg(rows.nLastRow);
    };
    bool bAnySeries = false;
    auto addSeries = [&](const QString &strCategories, const QString &strValues, const QString &strName,
                         const QColor &col) {
        lxw_chart_series *pSeries = chart_add_series(pChart, utf8(strCategories), utf8(strValues));
        chart_series_set_name(pSeries, utf8(chartText(strName)));
        lxw_chart_line line = {};
        line.color = lxwColour(col);
        line.none = 0;
        line.width = 1.0f;
        line.dash_type = LXW_CHART_LINE_DASH_SOLID;
        chart_series_set_line(pSeries, &line);
        bAnySeries = true;
    };

    const diagramChartRows rows = diagramChartRowsFor(vecCurveTypes);
    // The x axis is named by the last series that names it: Time when there
    // are data points, Position otherwise. Named once, since the library
    // does not free a name it replaces.
    if (rows.data.bPresent)
        chart_axis_set_name(pChart->x_axis, utf8(trDiagram(QT_TRANSLATE_NOOP("formCurrentState", "Time"))));
    else if (rows.open.bPresent || rows.close.bPresent)
        chart_axis_set_name(pChart->x_axis, utf8(trDiagram(QT_TRANSLATE_NOOP("formCurrentState", "Position"))));

    if (rows.open.bPresent) {
        addSeries(range(QLatin1Char('E'), rows.open), range(QLatin1Char('D'), rows.open),
                  trDiagram(QT_TRANSLATE_NOOP("formCurrentState", "Open Curve")), colours.colOpen);
    }
    if (rows.close.bPresent) {
        addSeries(range(QLatin1Char('E'), rows.close), range(QLatin1Char('D'), rows.close),
                  trDiagram(QT_TRANSLATE_NOOP("formCurrentState", "Close Curve")), colours.colClose);
    }
    if (rows.data.bPresent) {
        addSeries(range(QLatin1Char('A'), rows.data), range(QLatin1Char('D'), rows.data),
                  trDiagram(QT_TRANSLATE_NOOP("formCurrentState", "Data Curve")), colours.colData);
        addSeries(range(QLatin1Char('A'), rows.data), range(QLatin1Char('F'), rows.data),
                  trDiagram(QT_TRANSLATE_NOOP("formCurrentState", "Setpoint Curve")), colours.colSetpoint);
    }

    // A chart without series cannot be placed; the protocol is written without it.
    if (bAnySeries) {
        lxw_chart_options options = {};
        options.x_offset = 0;
        options.y_offset = 0;
        options.x_scale = 2.0;
        options.y_scale = 2.0;
        worksheet_insert_chart_opt(pSheet, nFirstPointRow, 9, pChart, &options);
    }

    const lxw_error nResult = workbook_close(pBook);
    if (nResult != LXW_NO_ERROR)
        return fail(QString::fromUtf8(lxw_strerror(nResult)));
    return true;
}
