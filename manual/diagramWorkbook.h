#ifndef DIAGRAMWORKBOOK_H
#define DIAGRAMWORKBOOK_H

#include <QColor>
#include <QDate>
#include <QString>
#include <QVector>

class lvTeachIn;

// The XLSX measurement protocol of a teach-in: a header block, one row per
// point from spreadsheet row 14 on, and a scatter chart of the open, close,
// data and set-value curves beside the rows.

// The export file name: ".xlsx" appended unless the typed name already ends
// in it (case-sensitively, as typed).
QString xlsxExportFileName(const QString &strChosen);

// Spreadsheet rows (1-based, as the chart references show them) that one
// chart series spans.
struct chartSeriesRows
{
    bool bPresent = false;
    int nFirstRow = 0;
    int nLastRow = 0;
};

struct diagramChartRows
{
    chartSeriesRows open;
    chartSeriesRows close;
    chartSeriesRows data; // the set-value series spans the same rows
};

// Point i sits on row 14 + i. A series starts at the first point of its curve
// type; the data series runs to the last point; of open and close, the one
// that starts first ends on the row before the other starts, the other (or a
// lone one) at the last point.
diagramChartRows diagramChartRowsFor(const QVector<int> &vecCurveTypes);

// Pen colours of the four charted curves (the diagram's graph colours).
struct diagramWorkbookColours
{
    QColor colOpen;
    QColor colClose;
    QColor colData;
    QColor colSetpoint;
};

// Writes the protocol of teachIn (a snapshot nobody changes meanwhile) to
// strFile, dated dtToday. Returns false with a reason in pstrError when the
// workbook could not be written.
bool writeDiagramWorkbook(const QString &strFile, const lvTeachIn &teachIn,
                          const diagramWorkbookColours &colours, const QDate &dtToday,
                          QString *pstrError = nullptr);

#endif // DIAGRAMWORKBOOK_H
