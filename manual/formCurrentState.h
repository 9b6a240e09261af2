#ifndef FORMCURRENTSTATE_H
#define FORMCURRENTSTATE_H

#include "manual/diagramGraphPlan.h"

#include <qcustomplot.h>

#include <QColor>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QWidget>

class QAction;
class QFileDialog;
class QMenu;
class QMouseEvent;
class lvTeachIn;
class qLvCustomPlot;

namespace Ui {
class formCurrentState;
}

// The diagram embedded in the Manual, Script and Remote tabs: a teach-in's
// open and close curves over the valve position (sensitivities on the right),
// or its data and set-value curves with the valve position over time; during
// a script measurement the newest point is appended live. Touching a curve
// reports its value and position; press-and-hold opens the diagram menu with
// zoom, redraw, JPG print, XLSX export, clear, another teach-in and the
// legend, sensitivity and position switches.
//
// Teach-ins are read only under their own lock (a snapshot for whole
// drawings and exports, a short locked read for a live point), because the
// script executor appends to its measurement teach-in from another thread.
// The teach-ins handed in are not owned and must outlive the widget.
class formCurrentState : public QWidget
{
    Q_OBJECT

public:
    explicit formCurrentState(QWidget *parent = nullptr);
    ~formCurrentState() override;

    // Clears the diagram, keeps the teach-in and draws all its points.
    void setTeachIn(lvTeachIn *pTeachIn);
    // Hold delay of the press-and-hold menu, in milliseconds.
    void setLongPressTime(int nLongPressTimeMs);
    // Asks for a JPG file name and saves the plot there.
    void printDiagramm();

    // The file operations behind the menu's dialogs. Each reports a file that
    // could not be written to the operator and returns false.
    bool printDiagramTo(const QString &strFile);
    bool exportDiagramTo(const QString &strFile);

    // Read-only views for the embedding tabs and the tests.
    qLvCustomPlot *plot() const;
    QCPTextElement *title() const { return pTitle; }
    QMenu *menu() const { return pMenu; }
    lvTeachIn *teachIn() const { return pTeachIn; }
    bool isLegendShown() const { return bShowLegend; }
    bool isSensitivityShown() const { return bShowSens; }
    bool isPositionShown() const { return bShowPos; }
    QCPGraph *openGraph() const { return graphOpen; }
    QCPGraph *closeGraph() const { return graphClose; }
    QCPGraph *dataGraph() const { return graphData; }
    QCPGraph *sensOpenGraph() const { return graphSensOpen; }
    QCPGraph *sensCloseGraph() const { return graphSensClose; }
    QCPGraph *setpointGraph() const { return graphSetpoint; }
    QCPGraph *posGraph() const { return graphPos; }
    QCPItemTracer *crossTracer() const { return tracerCross; }
    QCPItemTracer *squareTracer() const { return tracerSquare; }

signals:
    void setDataFromClick(double dblData);
    void setStepsFromClick(int nSteps);
    void setNewTeachIn(QString strTeachInFile);

public slots:
    void onUpdateDiagram(lvTeachIn *pTeachIn, bool pbMarkPt);
    void onDiagramMenuClearData();
    void setDiagramName(QString pstrName);
    void onDiagramMenuPrint();
    void onDiagramMenuChooseData();
    void onDiagramMenuShowLeg();
    void onDiagramMenuShowSens();
    void onDiagramMenuShowPos();
    void onZoomIn();
    void onZoomOut();
    void onRedraw();
    void onDiagramExport();
    void onPlottableClicked(QCPAbstractPlottable *plottable, int nDataIndex, QMouseEvent *event);
    void onCustomPlotMousePress(QMouseEvent *event);
    void mouseMove(QMouseEvent *event);
    void onDiagramDoubleClick(QMouseEvent *event);

private:
    void setLogScale(bool pbExponential);
    void readDiagramSettings();
    void replotDiagram();
    void setTitleText(const QString &strText);
    void zoom(double dblFactor);
    QCPAxis *axisOf(diagramAxis axis) const;
    QPointer<QCPGraph> &graphOf(diagramGraphKind kind);
    diagramGraphSet existingGraphs();
    // Creates a graph the plan asks for, with its axis set-up; bLive for a
    // measurement point, false while a whole teach-in is drawn.
    void createPlannedGraph(diagramGraphKind kind, bool bLive);
    QCPGraph *createGraph(QCPAxis *pKeyAxis, QCPAxis *pValueAxis, const QColor &col,
                          const QString &strName, bool bVisible);
    QFileDialog *createFileDialog(const QString &strCaption, const QString &strFilter);
    // Runs the shared file dialog; the chosen file, or empty when cancelled.
    QString chooseFile(const QString &strCaption, const QString &strFilter, bool bSave);
    void reportWriteFailure(const QString &strText, const QString &strFile, const QString &strReason);

    Ui::formCurrentState *ui;
    QMenu *pMenu = nullptr;
    QAction *actZoomIn = nullptr;
    QAction *actZoomOut = nullptr;
    QAction *actRedraw = nullptr;
    QAction *actPrint = nullptr;
    QAction *actExport = nullptr;
    QAction *actClearData = nullptr;
    QAction *actChooseData = nullptr;
    QAction *actShowLegend = nullptr;
    QAction *actShowSens = nullptr;
    QAction *actShowPos = nullptr;
    bool bFirstUpdate = true;
    bool bShowLegend = false;
    bool bShowSens = false;
    bool bShowPos = false;
    QCPTextElement *pTitle = nullptr;
    bool bOpenCurve = false;
    bool bCloseCurve = false;
    bool bDataCurve = false;
    bool bSensOpenCurve = false;
    bool bSensCloseCurve = false;
    bool bSetpointCurve = false;
    bool bPosCurve = false;
    // Guarded pointers: the plot deletes graphs and tracers on every clear,
    // and a later click must find them gone rather than dangling.
    QPointer<QCPGraph> graphOpen;
    QPointer<QCPGraph> graphClose;
    QPointer<QCPGraph> graphData;
    QPointer<QCPGraph> graphSensOpen;
    QPointer<QCPGraph> graphSensClose;
    QPointer<QCPGraph> graphSetpoint;
    QPointer<QCPGraph> graphPos;
    QPointer<QCPItemTracer> tracerCross;
    QPointer<QCPItemTracer> tracerSquare;
    QString strDataDir;
    int nPenWidth = 1;
    QColor colOpen{0, 255, 0};
    QColor colSensOpen{0, 255, 255};
    QColor colClose{255, 0, 0};
    QColor colSensClose{255, 128, 0};
    QColor colData{255, 0, 0};
    QColor colSetpoint{0, 0, 255};
    QColor colPos{0, 255, 0};
    QPoint ptZoomCenter{0, 0};
    lvTeachIn *pTeachIn = nullptr;
};

#endif // FORMCURRENTSTATE_H
