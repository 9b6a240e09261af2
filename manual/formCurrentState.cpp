#include "manual/formCurrentState.h"
#include "ui_formCurrentState.h"

#include "app/panelFileDialog.h"
#include "app/qlvMessageBox.h"
#include "manual/diagramAxisRange.h"
#include "manual/diagramGraphPlan.h"
#include "manual/diagramWorkbook.h"
#include "manual/qLvCustomPlot.h"
#include "platform/systemClock.h"
#include "valve/lvTeachIn.h"
#include "valve/settingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QMouseEvent>

#include <cmath>
#include <limits>

namespace {

// What a live update needs of the measurement teach-in, read in one go under
// the teach-in's lock while the script thread may be appending.
struct liveTeachInView
{
    int nCount = 0;
    lvTeachInData last;
    bool bExponential = false;
    double dblMinSteps = 0, dblMaxSteps = 0;
    double dblMinData = 0, dblMaxData = 0;
    double dblMinTime = 0, dblMaxTime = 0;
    double dblMinSens = 0, dblMaxSens = 0;
    double dblMinSetpoint = 0, dblMaxSetpoint = 0;
};

liveTeachInView readLiveView(lvTeachIn *pTeachIn)
{
    return pTeachIn->withLock([](const lvTeachIn &t) {
        liveTeachInView view;
        view.nCount = t.vecTeachInData.size();
        if (view.nCount > 0)
            view.last = t.vecTeachInData.constLast();
        view.bExponential = t.sensor.bExponential;
        view.dblMinSteps = t.dblMinSteps;
        view.dblMaxSteps = t.dblMaxSteps;
        view.dblMinData = t.dblMinData;
        view.dblMaxData = t.dblMaxData;
        view.dblMinTime = t.dblMinTime;
        view.dblMaxTime = t.dblMaxTime;
        view.dblMinSens = t.dblMinSens;
        view.dblMaxSens = t.dblMaxSens;
        view.dblMinSetpoint = t.dblMinSetpoint;
        view.dblMaxSetpoint = t.dblMaxSetpoint;
        return view;
    });
}

void applyRange(QCPAxis *pAxis, const std::optional<diagramRange> &range)
{
    // No usable range (no points yet, no logarithm): the axis keeps its range.
    if (range)
        pAxis->setRange(range->dblLower, range->dblUpper);
}

int truncatedToInt(double dblValue)
{
    if (!std::isfinite(dblValue))
        return 0;
    if (dblValue >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (dblValue <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(dblValue);
}

QString teachInDirectory()
{
    return QDir::current().absolutePath() + QStringLiteral("/teachIn/");
}

} // namespace

formCurrentState::formCurrentState(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::formCurrentState)
{
    ui->setupUi(this);

    connect(ui->customPlotLeakrateDiagram, SIGNAL(plottableClick(QCPAbstractPlottable *, int, QMouseEvent *)),
            this, SLOT(onPlottableClicked(QCPAbstractPlottable *, int, QMouseEvent *)));
    connect(ui->customPlotLeakrateDiagram, SIGNAL(longPressEvent(QMouseEvent *)), this,
            SLOT(onDiagramDoubleClick(QMouseEvent *)));
}

formCurrentState::~formCurrentState()
{
    delete ui;
}

qLvCustomPlot *formCurrentState::plot() const
{
    return ui->customPlotLeakrateDiagram;
}

void formCurrentState::setLongPressTime(int nLongPressTimeMs)
{
    ui->customPlotLeakrateDiagram->nLongPressTime = nLongPressTimeMs;
}

void formCurrentState::replotDiagram()
{
    ui->customPlotLeakrateDiagram->replot(QCustomPlot::rpRefreshHint);
}

void formCurrentState::readDiagramSettings()
{
    const settingsStore settings;
    bShowSens = settings.flag(settingKey::ShowSensitivity);
    nPenWidth = settings.number(settingKey::PenWidth);
}

void formCurrentState::setTitleText(const QString &strText)
{
    QCustomPlot *pPlot = ui->customPlotLeakrateDiagram;
    if (pTitle) {
        pTitle->setText(strText);
        return;
    }
    // The title sits in a row of its own above the axis rectangle; it is made
    // once, by whichever comes first (a teach-in, a measurement, a name).
    pPlot->plotLayout()->insertRow(0);
    QFont font(QStringLiteral("sans"), 12, QFont::Bold);
    font.setItalic(false);
    pTitle = new QCPTextElement(pPlot, strText, font);
    pPlot->plotLayout()->addElement(0, 0, pTitle);
}

QCPGraph *formCurrentState::createGraph(QCPAxis *pKeyAxis, QCPAxis *pValueAxis, const QColor &col,
                                        const QString &strName, bool bVisible)
{
    QCPGraph *pGraph = ui->customPlotLeakrateDiagram->addGraph(pKeyAxis, pValueAxis);
    QPen pen(col);
    pen.setWidth(nPenWidth);
    pGraph->setPen(pen);
    pGraph->setName(strName);
    pGraph->setVisible(bVisible);
    return pGraph;
}

void formCurrentState::setLogScale(bool pbExponential)
{
    QCPAxis *pAxis = ui->customPlotLeakrateDiagram->yAxis;
    if (pbExponential) {
        pAxis->setScaleType(QCPAxis::stLogarithmic);
        QSharedPointer<QCPAxisTickerLog> ticker(new QCPAxisTickerLog);
        ticker->setTickStepStrategy(QCPAxisTicker::tssReadability);
        pAxis->setTicker(ticker);
        pAxis->setNumberFormat(QStringLiteral("eb"));
        pAxis->setNumberPrecision(0);
    } else {
        pAxis->setScaleType(QCPAxis::stLinear);
        pAxis->setNumberFormat(QStringLiteral("gb"));
    }
    pAxis->grid()->setVisible(true);
    pAxis->grid()->setSubGridVisible(true);
}

void formCurrentState::setTeachIn(lvTeachIn *pTeachInToDraw)
{
    onDiagramMenuClearData();
    pTeachIn = pTeachInToDraw;
    if (!pTeachIn)
        return;

    const lvTeachIn teachIn = pTeachIn->snapshot();
    QCustomPlot *pPlot = ui->customPlotLeakrateDiagram;

    setTitleText(teachIn.strTeachInFile);

    bOpenCurve = bCloseCurve = bDataCurve = false;
    bSensOpenCurve = bSensCloseCurve = bSetpointCurve = bPosCurve = false;
    graphOpen = graphClose = graphData = nullptr;
    graphSensOpen = graphSensClose = graphSetpoint = graphPos = nullptr;

    pPlot->xAxis->setVisible(false);
    pPlot->xAxis2->setVisible(false);
    pPlot->yAxis2->setVisible(false);

    readDiagramSettings();

    const QVector<lvTeachInData> &points = teachIn.vecTeachInData;
    if (!points.isEmpty())
        pPlot->yAxis->setLabel(teachIn.sensor.strDataName);

    // Only the first point's key axis is labelled, ranged and shown.
    const diagramTeachInPlan plan = planDiagramTeachIn(points);
    if (plan.firstKeyAxis == AXIS_BOTTOM) {
        pPlot->xAxis->setLabel(tr("Steps"));
        pPlot->xAxis->setVisible(true);
        applyRange(pPlot->xAxis, keyAxisRange(teachIn.dblMinSteps, teachIn.dblMaxSteps));
    } else if (plan.firstKeyAxis == AXIS_TOP) {
        pPlot->xAxis2->setLabel(tr("Time"));
        applyRange(pPlot->xAxis2, keyAxisRange(teachIn.dblMinTime, teachIn.dblMaxTime));
        pPlot->xAxis2->setVisible(true);
    }
    // Graphs are created in point order (which decides the legend order);
    // their points are handed over in one go.
    for (const diagramGraphKind kind : plan.create)
        createPlannedGraph(kind, false);
    for (int nKind = 0; nKind < GRAPH_COUNT; ++nKind) {
        QCPGraph *pGraph = graphOf(diagramGraphKind(nKind));
        if (!pGraph)
            continue;
        QVector<QCPGraphData> vecData;
        vecData.reserve(plan.data[nKind].size());
        for (const diagramPlotPoint &pt : plan.data[nKind])
            vecData.append(QCPGraphData(pt.dblKey, pt.dblValue));
        pGraph->data()->add(vecData, false);
    }

    setLogScale(teachIn.sensor.bExponential);
    applyRange(pPlot->yAxis, dataAxisRange(teachIn.dblMinData, teachIn.dblMaxData, teachIn.sensor.bExponential));
    pPlot->setInteractions(QCP::iRangeZoom);

    if (graphSensOpen || graphSensClose) {
        applyRange(pPlot->yAxis2, marginAxisRange(teachIn.dblMinSens, teachIn.dblMaxSens));
        if (graphSensOpen)
            graphSensOpen->setVisible(bShowSens);
        if (graphSensClose)
            graphSensClose->setVisible(bShowSens);
    }
    if (graphPos) {
        applyRange(pPlot->yAxis2, marginAxisRange(teachIn.dblMinSteps, teachIn.dblMaxSteps));
        graphPos->setVisible(true);
        bShowPos = true;
    }

    tracerCross = new QCPItemTracer(pPlot);
    tracerSquare = new QCPItemTracer(pPlot);
    tracerCross->setInterpolating(true);
    tracerSquare->setInterpolating(true);
    if (graphClose) {
        tracerCross->setGraph(graphClose);
        tracerCross->setPen(graphClose->pen());
        tracerSquare->setGraph(graphClose);
        tracerSquare->setPen(graphClose->pen());
    }
    if (graphOpen) {
        tracerCross->setGraph(graphOpen);
        tracerCross->setPen(graphOpen->pen());
        tracerSquare->setGraph(graphOpen);
        tracerSquare->setPen(graphOpen->pen());
    }
    if (graphData) {
        tracerSquare->setGraph(graphData);
        tracerSquare->setPen(graphData->pen());
    }
    tracerCross->setSize(4);
    tracerCross->setStyle(QCPItemTracer::tsCrosshair);
    tracerSquare->setSize(8);
    tracerSquare->setStyle(QCPItemTracer::tsSquare);
    const double dblMiddle = (teachIn.dblMinSteps + teachIn.dblMaxSteps) / 2.0;
    tracerCross->setGraphKey(dblMiddle);
    tracerSquare->setGraphKey(dblMiddle);

    pPlot->legend->setVisible(true);
    bShowLegend = true;
    for (QCPGraph *pSens : {graphSensOpen.data(), graphSensClose.data()}) {
        if (!pSens)
            continue;
        if (bShowSens)
            pSens->addToLegend();
        else
            pSens->removeFromLegend();
    }

    QFont legendFont = font();
    legendFont.setPointSize(9);
    pPlot->legend->setFont(legendFont);
    pPlot->legend->setBrush(QBrush(QColor(255, 255, 255, 230)));
    pPlot->axisRect()->insetLayout()->setInsetAlignment(0, Qt::AlignTop | Qt::AlignLeft);

    replotDiagram();
    bFirstUpdate = false;
}

void formCurrentState::onUpdateDiagram(lvTeachIn *pTeachInUpdated, bool pbMarkPt)
{
    Q_UNUSED(pbMarkPt)
    pTeachIn = pTeachInUpdated;
    if (!pTeachIn)
        return;

    QCustomPlot *pPlot = ui->customPlotLeakrateDiagram;
    const liveTeachInView view = readLiveView(pTeachIn);

    if (bFirstUpdate) {
        setTitleText("Measuring...");
        replotDiagram();
        bFirstUpdate = false;
    }

    if (view.nCount == 1) {
        setLogScale(view.bExponential);
        readDiagramSettings();
        replotDiagram();
    }

    if (view.nCount >= 1) {
        const diagramPointPlan plan = planDiagramPoint(view.last, existingGraphs());
        for (const diagramGraphKind kind : plan.create)
            createPlannedGraph(kind, true);
        for (const diagramPlotPoint &pt : plan.append) {
            if (QCPGraph *pGraph = graphOf(pt.graph))
                pGraph->addData(pt.dblKey, pt.dblValue);
        }
        // An open-curve point counts the sensitivities as shown, so the menu
        // offers to hide them (their graph keeps its own visibility).
        if (view.last.nCurveType == CURVE_OPEN)
            bShowSens = true;
    }

    if (view.nCount > 1) {
        if (view.last.nCurveType == CURVE_DATA) {
            applyRange(pPlot->xAxis2, keyAxisRange(view.dblMinTime, view.dblMaxTime));
            const double dblLow = std::min(view.dblMinData, view.dblMinSetpoint);
            const double dblHigh = std::max(view.dblMaxData, view.dblMaxSetpoint);
            applyRange(pPlot->yAxis, dataAxisRange(dblLow, dblHigh, view.bExponential));
        } else {
            applyRange(pPlot->xAxis, keyAxisRange(view.dblMinSteps, view.dblMaxSteps));
            applyRange(pPlot->yAxis, dataAxisRange(view.dblMinData, view.dblMaxData, view.bExponential));
        }
        if (graphSensOpen || graphSensClose)
            applyRange(pPlot->yAxis2, marginAxisRange(view.dblMinSens, view.dblMaxSens));
        if (graphPos)
            applyRange(pPlot->yAxis2, marginAxisRange(view.dblMinSteps, view.dblMaxSteps));
    }

    replotDiagram();
}

QCPAxis *formCurrentState::axisOf(diagramAxis axis) const
{
    QCustomPlot *pPlot = ui->customPlotLeakrateDiagram;
    switch (axis) {
    case AXIS_BOTTOM:
        return pPlot->xAxis;
    case AXIS_TOP:
        return pPlot->xAxis2;
    case AXIS_LEFT:
        return pPlot->yAxis;
    default:
        return pPlot->yAxis2;
    }
}

QPointer<QCPGraph> &formCurrentState::graphOf(diagramGraphKind kind)
{
    switch (kind) {
    case GRAPH_OPEN:
        return graphOpen;
    case GRAPH_CLOSE:
        return graphClose;
    case GRAPH_DATA:
        return graphData;
    case GRAPH_SENS_OPEN:
        return graphSensOpen;
    case GRAPH_SENS_CLOSE:
        return graphSensClose;
    case GRAPH_SETPOINT:
        return graphSetpoint;
    default:
        return graphPos;
    }
}

diagramGraphSet formCurrentState::existingGraphs()
{
    diagramGraphSet exists;
    for (int nKind = 0; nKind < GRAPH_COUNT; ++nKind)
        exists.set(nKind, !graphOf(diagramGraphKind(nKind)).isNull());
    return exists;
}

void formCurrentState::createPlannedGraph(diagramGraphKind kind, bool bLive)
{
    QCustomPlot *pPlot = ui->customPlotLeakrateDiagram;
    const diagramGraphLayout layout = diagramGraphLayoutOf(kind);
    static const QColor formCurrentState::*const colours[GRAPH_COUNT] = {
        &formCurrentState::colOpen,       &formCurrentState::colClose,    &formCurrentState::colData,
        &formCurrentState::colSensOpen,   &formCurrentState::colSensClose, &formCurrentState::colSetpoint,
        &formCurrentState::colPos};
    bool *const existsFlags[GRAPH_COUNT] = {&bOpenCurve,     &bCloseCurve,    &bDataCurve, &bSensOpenCurve,
                                            &bSensCloseCurve, &bSetpointCurve, &bPosCurve};

    const bool bSens = kind == GRAPH_SENS_OPEN || kind == GRAPH_SENS_CLOSE;
    const bool bVisible = bSens ? bShowSens : kind == GRAPH_POS ? bShowPos : true;

    // A live measurement shows each key axis with its first graph; a whole
    // teach-in shows only the first point's (set up by setTeachIn).
    if (bLive && (kind == GRAPH_OPEN || kind == GRAPH_CLOSE)) {
        pPlot->xAxis->setLabel(tr("Steps"));
        pPlot->xAxis->setVisible(true);
    }
    if (bLive && kind == GRAPH_DATA) {
        pPlot->xAxis2->setLabel(tr("Time"));
        pPlot->xAxis2->setVisible(true);
    }
    if (layout.pszValueLabel) {
        pPlot->yAxis2->setLabel(tr(layout.pszValueLabel));
        pPlot->yAxis2->setVisible(bSens ? bShowSens : true);
    }

    QPointer<QCPGraph> &graph = graphOf(kind);
    graph = createGraph(axisOf(layout.keyAxis), axisOf(layout.valueAxis), this->*colours[kind], tr(layout.pszName),
                        bVisible);
    *existsFlags[kind] = true;

    if (bLive && kind == GRAPH_DATA)
        graph->setSelectable(QCP::stMultipleDataRanges);
    if (bLive && bSens) {
        if (bShowSens)
            graph->addToLegend();
        else
            graph->removeFromLegend();
    }
}

void formCurrentState::onDiagramMenuClearData()
{
    QCustomPlot *pPlot = ui->customPlotLeakrateDiagram;
    pPlot->clearGraphs();
    bOpenCurve = bCloseCurve = bDataCurve = false;
    bSensOpenCurve = bSensCloseCurve = bSetpointCurve = bPosCurve = false;
    pPlot->legend->clearItems();
    pPlot->clearItems();
    pPlot->clearPlottables();

    pPlot->xAxis->setRange(0, 1000000);
    pPlot->xAxis2->setRange(0, 1);
    pPlot->yAxis->setRange(0, 1);
    pPlot->yAxis2->setRange(0, 1);

    pPlot->yAxis2->setVisible(false);
    pPlot->xAxis->setVisible(false);
    pPlot->xAxis2->setVisible(false);
    pPlot->legend->setVisible(false);

    replotDiagram();

    if (pTitle)
        pTitle->setText(QString());
    bFirstUpdate = true;
}

void formCurrentState::setDiagramName(QString pstrName)
{
    setTitleText(pstrName);
    replotDiagram();
}

void formCurrentState::onDiagramMenuShowLeg()
{
    bShowLegend = !bShowLegend;
    ui->customPlotLeakrateDiagram->legend->setVisible(bShowLegend);
    replotDiagram();
}

void formCurrentState::onDiagramMenuShowSens()
{
    bShowSens = !bShowSens;
    for (QCPGraph *pSens : {graphSensOpen.data(), graphSensClose.data()}) {
        if (!pSens)
            continue;
        pSens->setVisible(bShowSens);
        if (bShowSens)
            pSens->addToLegend();
        else
            pSens->removeFromLegend();
    }
    ui->customPlotLeakrateDiagram->yAxis2->setVisible(bShowSens);

    settingsStore().setValue(settingKey::ShowSensitivity, bShowSens);

    replotDiagram();
}

void formCurrentState::onDiagramMenuShowPos()
{
    bShowPos = !bShowPos;
    if (graphPos) {
        graphPos->setVisible(bShowPos);
        if (bShowPos)
            graphPos->addToLegend();
        else
            graphPos->removeFromLegend();
    }
    ui->customPlotLeakrateDiagram->yAxis2->setVisible(bShowPos);
    replotDiagram();
}

void formCurrentState::zoom(double dblFactor)
{
    QCustomPlot *pPlot = ui->customPlotLeakrateDiagram;
    pPlot->xAxis->scaleRange(dblFactor, pPlot->xAxis->pixelToCoord(ptZoomCenter.x()));
    pPlot->yAxis->scaleRange(dblFactor, pPlot->yAxis->pixelToCoord(ptZoomCenter.y()));
    replotDiagram();
}

void formCurrentState::onZoomIn()
{
    zoom(0.66);
}

void formCurrentState::onZoomOut()
{
    zoom(1.5);
}

void formCurrentState::onRedraw()
{
    if (pTeachIn)
        setTeachIn(pTeachIn);
}

void formCurrentState::onPlottableClicked(QCPAbstractPlottable *plottable, int nDataIndex, QMouseEvent *event)
{
    if (!plottable)
        return;
    QCPPlottableInterface1D *pData = plottable->interface1D();
    if (!pData || nDataIndex < 0 || nDataIndex >= pData->dataCount())
        return;

    QCustomPlot *pPlot = ui->customPlotLeakrateDiagram;
    const double dblValue = pData->dataMainValue(nDataIndex);
    const QPointF ptPixel = plottable->coordsToPixels(pData->dataMainKey(nDataIndex), dblValue);
    const int nSteps = truncatedToInt(pPlot->xAxis->pixelToCoord(ptPixel.x()));

    emit setDataFromClick(dblValue);

    // The tracers exist from a drawn teach-in to the next clear; a click on a
    // live curve after a clear has none to move.
    auto *pGraph = qobject_cast<QCPGraph *>(plottable);
    if (pGraph && event) {
        const double dblKey = pPlot->xAxis->pixelToCoord(event->pos().x());
        for (QCPItemTracer *pTracer : {tracerCross.data(), tracerSquare.data()}) {
            if (!pTracer)
                continue;
            pTracer->setInterpolating(true);
            pTracer->setGraph(pGraph);
            pTracer->setPen(pGraph->pen());
            pTracer->setGraphKey(dblKey);
        }
    }
    replotDiagram();

    emit setStepsFromClick(nSteps);
}

void formCurrentState::onCustomPlotMousePress(QMouseEvent *event)
{
    Q_UNUSED(event)
}

void formCurrentState::mouseMove(QMouseEvent *event)
{
    Q_UNUSED(event)
}

void formCurrentState::onDiagramDoubleClick(QMouseEvent *event)
{
    QCustomPlot *pPlot = ui->customPlotLeakrateDiagram;

    // Only the newest menu is kept; the previous one has long been closed.
    if (pMenu)
        pMenu->deleteLater();
    pMenu = new QMenu(pPlot->window());

    auto addEntry = [this](const QString &strText, const char *pszSlot) {
        QAction *pAction = new QAction(strText, pMenu);
        pMenu->addAction(pAction);
        connect(pAction, SIGNAL(triggered()), this, pszSlot);
        return pAction;
    };
    actZoomIn = addEntry(tr("Zoom In"), SLOT(onZoomIn()));
    actZoomOut = addEntry(tr("Zoom Out"), SLOT(onZoomOut()));
    actRedraw = addEntry(tr("Redraw"), SLOT(onRedraw()));
    actPrint = addEntry(tr("Print Diagram"), SLOT(onDiagramMenuPrint()));
    actExport = addEntry(tr("Export Diagram"), SLOT(onDiagramExport()));
    actClearData = addEntry(tr("Clear Diagram"), SLOT(onDiagramMenuClearData()));
    actChooseData = addEntry(tr("Choose Data"), SLOT(onDiagramMenuChooseData()));
    actShowLegend = addEntry(bShowLegend ? QStringLiteral("Hide Key") : tr("Show Key"), SLOT(onDiagramMenuShowLeg()));
    actShowSens = nullptr;
    if (graphSensClose || graphSensOpen)
        actShowSens = addEntry(bShowSens ? tr("Hide Sensitivity") : tr("Show Sensitivity"),
                               SLOT(onDiagramMenuShowSens()));
    actShowPos = nullptr;
    if (graphPos)
        actShowPos = addEntry(bShowPos ? tr("Hide Position") : tr("Show Position"), SLOT(onDiagramMenuShowPos()));

    const QPoint ptAt = event ? event->pos() : QPoint();
    ptZoomCenter = ptAt;
    pMenu->exec(pPlot->mapToGlobal(ptAt));
}

QFileDialog *formCurrentState::createFileDialog(const QString &strCaption, const QString &strFilter)
{
    strDataDir = teachInDirectory();
    return makePanelFileDialog(this, strCaption, strDataDir, strFilter);
}

void formCurrentState::reportWriteFailure(const QString &strText, const QString &strFile,
                                          const QString &strReason)
{
    qWarning("%s: %s (%s)", qPrintable(strText), qPrintable(strFile), qPrintable(strReason));
    qlvMessageBox box(window());
    box.setText(strText);
    box.setInformativeText(tr("The file %1 could not be written.").arg(strFile));
    box.setStandardButtons(QMessageBox::Ok);
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
}

QString formCurrentState::chooseFile(const QString &strCaption, const QString &strFilter, bool bSave)
{
    QFileDialog *pDialog = createFileDialog(strCaption, strFilter);
    pDialog->setFileMode(bSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (bSave)
        pDialog->setAcceptMode(QFileDialog::AcceptSave);
    const bool bAccepted = pDialog->exec() == QDialog::Accepted;
    const QStringList files = pDialog->selectedFiles();
    delete pDialog;
    return bAccepted && !files.isEmpty() ? files.first() : QString();
}

void formCurrentState::onDiagramMenuPrint()
{
    printDiagramm();
}

void formCurrentState::printDiagramm()
{
    const QString strFile = chooseFile("Choose Data File", "*.jpg", true);
    if (!strFile.isEmpty())
        printDiagramTo(strFile);
}

bool formCurrentState::printDiagramTo(const QString &strFile)
{
    if (ui->customPlotLeakrateDiagram->saveJpg(strFile, 0, 0, 1.0, -1, 96, QCP::ruDotsPerInch))
        return true;
    reportWriteFailure(tr("Print failed"), strFile, QStringLiteral("image not saved"));
    return false;
}

void formCurrentState::onDiagramMenuChooseData()
{
    const QString strFile = chooseFile(tr("Choose Data File"), "*.kfxteachin", false);
    if (strFile.isEmpty())
        return;

    if (QFile::exists(strFile)) {
        QCustomPlot *pPlot = ui->customPlotLeakrateDiagram;
        pPlot->clearGraphs();
        pPlot->clearItems();
        pPlot->clearPlottables();
        pPlot->yAxis2->setVisible(false);
        bOpenCurve = bCloseCurve = bDataCurve = false;
        bSensOpenCurve = bSensCloseCurve = bSetpointCurve = bPosCurve = false;
        replotDiagram();
    }
    emit setNewTeachIn(strFile);
}

void formCurrentState::onDiagramExport()
{
    if (!pTeachIn)
        return;
    const QString strFile = chooseFile("Choose Data File", "*.xlsx", true);
    if (!strFile.isEmpty())
        exportDiagramTo(xlsxExportFileName(strFile));
}

bool formCurrentState::exportDiagramTo(const QString &strFile)
{
    if (!pTeachIn)
        return false;
    const lvTeachIn teachIn = pTeachIn->snapshot();
    QString strReason;
    if (writeDiagramWorkbook(strFile, teachIn, {colOpen, colClose, colData, colSetpoint},
                             systemClock::instance().now().date(), &strReason))
        return true;
    reportWriteFailure(tr("Export failed"), strFile, strReason);
    return false;
}
