// The diagram widget: teach-ins drawn whole, live measurement points, the
// press-and-hold menu per teach-in kind, clicks on curves, zoom, the show
// switches, choosing another teach-in, and the cross-thread measurement.
#include "manual/formCurrentState.h"
#include "manual/qLvCustomPlot.h"

#include "diagramFixtures.h"
#include "fakeClock.h"
#include "testWorkDir.h"

#include <QFileDialog>
#include <QMenu>
#include <QSettings>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <cmath>

namespace {

bool inLegend(QCustomPlot *pPlot, QCPAbstractPlottable *pPlottable)
{
    return pPlot->legend->hasItemWithPlottable(pPlottable);
}

bool closeTo(double dblA, double dblB)
{
    return std::fabs(dblA - dblB) <= 1e-9 * std::max(1.0, std::fabs(dblB));
}

void writeDiagramSettings(bool bShowSens, int nPenWidth)
{
    QSettings settings(QStringLiteral("varnix"), QStringLiteral("Pendrosix"));
    settings.beginGroup(QStringLiteral("diagram"));
    settings.setValue(QStringLiteral("show sensitivity"), bShowSens);
    settings.setValue(QStringLiteral("pen width"), nPenWidth);
}

} // namespace

class tst_currentState : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void openThenCloseCurves();
    void dataCurvesOnly();
    void dataAxisRange_data();
    void dataAxisRange();
    void emptyTeachInOnFreshStore();
    void sensitivityFromSettings();
    void liveOpenMeasurement();
    void liveDataMeasurement();
    void liveUpdateBeforeAnyTeachIn();
    void menuEntries_data();
    void menuEntries();
    void hideSensitivityAfterLiveOpenPoint();
    void clickOnCurve();
    void clickOnLiveCurveAfterClear();
    void zoomAroundMenuPoint();
    void clearThenRedraw();
    void redrawWithoutTeachIn();
    void legendAndPositionSwitches();
    void chooseData();
    void chooseDataCancelled();
    void measurementFromAnotherThread();

private:
    QStringList openMenuAt(const QPoint &pt);
    QPoint pixelOf(QCPGraph *pGraph, int nIndex) const;

    testWorkDir *pWorkDir = nullptr;
    fakeClock *pClock = nullptr;
    formCurrentState *pDiagram = nullptr;
};

void tst_currentState::initTestCase()
{
    qRegisterMetaType<QMouseEvent *>("QMouseEvent*");
    // The main window registers it for the executor's queued updates.
    qRegisterMetaType<lvTeachIn *>("lvTeachIn*");
}

void tst_currentState::init()
{
    pWorkDir = new testWorkDir;
    QVERIFY(pWorkDir->isValid());
    pClock = new fakeClock;
    pDiagram = new formCurrentState;
    pDiagram->resize(800, 400);
    pDiagram->show();
    QVERIFY(QTest::qWaitForWindowExposed(pDiagram));
}

void tst_currentState::cleanup()
{
    delete pDiagram;
    pDiagram = nullptr;
    delete pClock;
    pClock = nullptr;
    delete pWorkDir;
    pWorkDir = nullptr;
}

QStringList tst_currentState::openMenuAt(const QPoint &pt)
{
    QStringList entries;
    modalAnswerer answer([&entries](QWidget *pWidget) {
        if (auto *pMenu = qobject_cast<QMenu *>(pWidget)) {
            for (QAction *pAction : pMenu->actions())
                entries << pAction->text();
        }
        pWidget->close();
    }, modalAnswerer::MODAL_OR_POPUP, modalAnswerer::FIRST_ONLY, 30000);
    QTest::mousePress(pDiagram->plot(), Qt::LeftButton, Qt::NoModifier, pt);
    pClock->advance(pDiagram->plot()->nLongPressTime + 1);
    QTest::mouseRelease(pDiagram->plot(), Qt::LeftButton, Qt::NoModifier, pt);
    return entries;
}

QPoint tst_currentState::pixelOf(QCPGraph *pGraph, int nIndex) const
{
    auto it = pGraph->data()->at(nIndex);
    return pGraph->coordsToPixels(it->key, it->value).toPoint();
}

void tst_currentState::openThenCloseCurves()
{
    writeDiagramSettings(false, 1);
    lvTeachIn teachIn;
    teachIn.strTeachInFile = "teach 1";
    setTeachInSensor(teachIn, "Leakrate", false);
    fillOpenClose(teachIn, 4, 3);

    pDiagram->setTeachIn(&teachIn);
    QCustomPlot *pPlot = pDiagram->plot();

    QCOMPARE(pDiagram->title()->text(), QString("teach 1"));
    QCOMPARE(pPlot->xAxis->label(), QString("Steps"));
    QVERIFY(pPlot->xAxis->visible());
    QCOMPARE(pPlot->xAxis->range().lower, 0.0);
    QCOMPARE(pPlot->xAxis->range().upper, 300000.0);
    QVERIFY(!pPlot->xAxis2->visible());
    QCOMPARE(pPlot->yAxis->label(), QString("Leakrate"));

    QCPGraph *pOpen = pDiagram->openGraph();
    QCPGraph *pClose = pDiagram->closeGraph();
    QVERIFY(pOpen && pClose);
    QCOMPARE(pOpen->name(), QString("Open Curve"));
    QCOMPARE(pOpen->pen().color(), QColor(0, 255, 0));
    QCOMPARE(pClose->name(), QString("Close Curve"));
    QCOMPARE(pClose->pen().color(), QColor(255, 0, 0));
    QCOMPARE(pOpen->dataCount(), 4);
    QCOMPARE(pClose->dataCount(), 3);
    QVERIFY(inLegend(pPlot, pOpen) && inLegend(pPlot, pClose));

    // Sensitivities exist but are hidden; without room on the right axis no
    // position graph is made.
    QVERIFY(pDiagram->sensOpenGraph() && pDiagram->sensCloseGraph());
    QVERIFY(!pDiagram->sensOpenGraph()->visible() && !pDiagram->sensCloseGraph()->visible());
    QVERIFY(!inLegend(pPlot, pDiagram->sensOpenGraph()) && !inLegend(pPlot, pDiagram->sensCloseGraph()));
    QVERIFY(!pPlot->yAxis2->visible());
    QVERIFY(!pDiagram->posGraph());
    QVERIFY(!pDiagram->dataGraph());

    QVERIFY(pPlot->legend->visible());
    QVERIFY(pDiagram->isLegendShown());
    QCOMPARE(pPlot->axisRect()->insetLayout()->insetAlignment(0), Qt::AlignTop | Qt::AlignLeft);
    QCOMPARE(pPlot->legend->font().pointSize(), 9);
    QCOMPARE(pPlot->legend->brush().color(), QColor(255, 255, 255, 230));

    QVERIFY(pDiagram->crossTracer() && pDiagram->squareTracer());
    QCOMPARE(pDiagram->crossTracer()->graph(), pOpen);
    QCOMPARE(pDiagram->squareTracer()->graph(), pOpen);
    QCOMPARE(pDiagram->crossTracer()->graphKey(), 150000.0);
    QCOMPARE(pDiagram->crossTracer()->style(), QCPItemTracer::tsCrosshair);
    QCOMPARE(pDiagram->squareTracer()->style(), QCPItemTracer::tsSquare);
    QCOMPARE(pPlot->interactions(), QCP::Interactions(QCP::iRangeZoom));
}

void tst_currentState::dataCurvesOnly()
{
    lvTeachIn teachIn;
    teachIn.strTeachInFile = "measure";
    setTeachInSensor(teachIn, "Leakrate", false);
    for (int i = 0; i < 5; ++i)
        appendTeachInPoint(teachIn, teachInPoint(CURVE_DATA, 200000 + 10000 * i, 2.0 + i, 1.0 + i, 0.0, 4.0));

    pDiagram->setTeachIn(&teachIn);
    QCustomPlot *pPlot = pDiagram->plot();

    QCOMPARE(pPlot->xAxis2->label(), QString("Time"));
    QVERIFY(pPlot->xAxis2->visible());
    QCOMPARE(pPlot->xAxis2->range().lower, 1.0);
    QCOMPARE(pPlot->xAxis2->range().upper, 5.0);
    QVERIFY(!pPlot->xAxis->visible());

    QVERIFY(pDiagram->dataGraph() && pDiagram->setpointGraph() && pDiagram->posGraph());
    QCOMPARE(pDiagram->dataGraph()->pen().color(), QColor(255, 0, 0));
    QCOMPARE(pDiagram->setpointGraph()->pen().color(), QColor(0, 0, 255));
    QCOMPARE(pDiagram->posGraph()->pen().color(), QColor(0, 255, 0));
    QCOMPARE(pDiagram->posGraph()->valueAxis(), pPlot->yAxis2);
    QCOMPARE(pDiagram->setpointGraph()->dataCount(), 5);
    QCOMPARE(pDiagram->posGraph()->dataCount(), 5);

    QCOMPARE(pPlot->yAxis2->label(), QString("Position"));
    QVERIFY(pPlot->yAxis2->visible());
    QVERIFY(closeTo(pPlot->yAxis2->range().lower, 200000 * 0.9));
    QVERIFY(closeTo(pPlot->yAxis2->range().upper, 240000 * 1.1));
    QVERIFY(pDiagram->posGraph()->visible());
    QVERIFY(pDiagram->isPositionShown());
    QCOMPARE(pDiagram->squareTracer()->graph(), pDiagram->dataGraph());
}

void tst_currentState::dataAxisRange_data()
{
    QTest::addColumn<bool>("bExponential");
    QTest::addColumn<double>("dblMin");
    QTest::addColumn<double>("dblMax");
    QTest::addColumn<double>("dblLower");
    QTest::addColumn<double>("dblUpper");
    QTest::newRow("exponential") << true << 0.00023 << 0.047 << 0.0001 << 0.1;
    QTest::newRow("linear") << false << 2.0 << 10.0 << 1.8 << 11.0;
}

void tst_currentState::dataAxisRange()
{
    QFETCH(bool, bExponential);
    QFETCH(double, dblMin);
    QFETCH(double, dblMax);
    QFETCH(double, dblLower);
    QFETCH(double, dblUpper);

    lvTeachIn teachIn;
    setTeachInSensor(teachIn, "Leakrate", bExponential);
    appendTeachInPoint(teachIn, teachInPoint(CURVE_OPEN, 0, dblMin));
    appendTeachInPoint(teachIn, teachInPoint(CURVE_OPEN, 1000, dblMax));
    pDiagram->setTeachIn(&teachIn);

    QCPAxis *pAxis = pDiagram->plot()->yAxis;
    QCOMPARE(pAxis->scaleType(), bExponential ? QCPAxis::stLogarithmic : QCPAxis::stLinear);
    QCOMPARE(pAxis->numberFormat(), bExponential ? QString("eb") : QString("gb"));
    QVERIFY(closeTo(pAxis->range().lower, dblLower));
    QVERIFY(closeTo(pAxis->range().upper, dblUpper));
    QVERIFY(pAxis->grid()->visible() && pAxis->grid()->subGridVisible());
}

void tst_currentState::emptyTeachInOnFreshStore()
{
    // A fresh store: no teach-in file, the default exponential sensor.
    lvTeachIn teachIn;
    QVERIFY(teachIn.sensor.bExponential);
    pDiagram->setTeachIn(&teachIn);

    QCPAxis *pAxis = pDiagram->plot()->yAxis;
    QCOMPARE(pAxis->scaleType(), QCPAxis::stLogarithmic);
    QVERIFY(std::isfinite(pAxis->range().lower) && std::isfinite(pAxis->range().upper));
    QVERIFY(pAxis->range().lower > 0.0);
    QCOMPARE(pDiagram->plot()->graphCount(), 0);
    QVERIFY(pDiagram->plot()->legend->visible());
    QCOMPARE(pDiagram->title()->text(), QString());
}

void tst_currentState::sensitivityFromSettings()
{
    writeDiagramSettings(true, 3);
    lvTeachIn teachIn;
    setTeachInSensor(teachIn, "Leakrate", false);
    fillOpenClose(teachIn, 3, 3);
    pDiagram->setTeachIn(&teachIn);

    QCustomPlot *pPlot = pDiagram->plot();
    QVERIFY(pDiagram->isSensitivityShown());
    QVERIFY(pDiagram->sensOpenGraph()->visible() && pDiagram->sensCloseGraph()->visible());
    QVERIFY(inLegend(pPlot, pDiagram->sensOpenGraph()) && inLegend(pPlot, pDiagram->sensCloseGraph()));
    QVERIFY(pPlot->yAxis2->visible());
    QCOMPARE(pPlot->yAxis2->label(), QString("Sensitivity"));
    QVERIFY(closeTo(pPlot->yAxis2->range().lower, teachIn.dblMinSens * 0.9));
    QVERIFY(closeTo(pPlot->yAxis2->range().upper, teachIn.dblMaxSens * 1.1));
    QCOMPARE(pDiagram->openGraph()->pen().width(), 3);
}

void tst_currentState::liveOpenMeasurement()
{
    writeDiagramSettings(false, 2);
    lvTeachIn seed;
    setTeachInSensor(seed, "Leakrate", false);
    fillOpenClose(seed, 2, 0);
    pDiagram->setTeachIn(&seed);
    pDiagram->onDiagramMenuClearData();
    QCustomPlot *pPlot = pDiagram->plot();

    lvTeachIn measure;
    setTeachInSensor(measure, "Leakrate", false);
    appendTeachInPoint(measure, teachInPoint(CURVE_OPEN, 100000, 2.0, 0.0, 0.1));
    pDiagram->onUpdateDiagram(&measure, false);

    // The first point titles the plot and chooses the scale, but no range.
    QCOMPARE(pDiagram->title()->text(), QString("Measuring..."));
    QCOMPARE(pPlot->xAxis->range(), QCPRange(0, 1000000));
    QCOMPARE(pPlot->yAxis->range(), QCPRange(0, 1));
    QVERIFY(pDiagram->openGraph());
    QCOMPARE(pDiagram->openGraph()->dataCount(), 1);
    QCOMPARE(pDiagram->openGraph()->pen().width(), 2);
    QCOMPARE(pDiagram->sensOpenGraph()->dataCount(), 1);

    appendTeachInPoint(measure, teachInPoint(CURVE_OPEN, 300000, 6.0, 1.0, 0.2));
    pDiagram->onUpdateDiagram(&measure, false);
    QCOMPARE(pDiagram->openGraph()->dataCount(), 2);
    QCOMPARE(pPlot->xAxis->range(), QCPRange(100000, 300000));
    QVERIFY(closeTo(pPlot->yAxis->range().lower, 1.8));
    QVERIFY(closeTo(pPlot->yAxis->range().upper, 6.6));
    QCOMPARE(pDiagram->title()->text(), QString("Measuring..."));
    QCOMPARE(pDiagram->teachIn(), &measure);
}

void tst_currentState::liveDataMeasurement()
{
    lvTeachIn seed;
    pDiagram->setTeachIn(&seed);
    pDiagram->onDiagramMenuClearData();
    QCustomPlot *pPlot = pDiagram->plot();

    lvTeachIn measure;
    setTeachInSensor(measure, "Leakrate", false);
    appendTeachInPoint(measure, teachInPoint(CURVE_DATA, 100000, 2.0, 0.0, 0.0, 8.0));
    pDiagram->onUpdateDiagram(&measure, false);
    appendTeachInPoint(measure, teachInPoint(CURVE_DATA, 200000, 4.0, 3.0, 0.0, 8.0));
    pDiagram->onUpdateDiagram(&measure, false);

    QCOMPARE(pDiagram->dataGraph()->dataCount(), 2);
    QCOMPARE(pDiagram->setpointGraph()->dataCount(), 2);
    QCOMPARE(pDiagram->posGraph()->dataCount(), 2);
    QCOMPARE(pPlot->xAxis2->range(), QCPRange(0, 3));
    // Data and set values together: 2 .. 8.
    QVERIFY(closeTo(pPlot->yAxis->range().lower, 1.8));
    QVERIFY(closeTo(pPlot->yAxis->range().upper, 8.8));
    QVERIFY(closeTo(pPlot->yAxis2->range().lower, 90000));
    QVERIFY(closeTo(pPlot->yAxis2->range().upper, 220000));
    QCOMPARE(pDiagram->dataGraph()->name(), QString("Data Curve"));
}

void tst_currentState::liveUpdateBeforeAnyTeachIn()
{
    // The title element does not exist yet: the first update makes it, and a
    // name set before any teach-in does as well.
    formCurrentState fresh;
    lvTeachIn measure;
    setTeachInSensor(measure, "Leakrate", true);
    appendTeachInPoint(measure, teachInPoint(CURVE_DATA, 100000, 0.0, 0.0));
    fresh.onUpdateDiagram(&measure, false);
    QVERIFY(fresh.title());
    QCOMPARE(fresh.title()->text(), QString("Measuring..."));
    QCOMPARE(fresh.plot()->yAxis->scaleType(), QCPAxis::stLogarithmic);
    // A zero process value on an exponential sensor has no logarithm: the
    // axis keeps a usable range.
    appendTeachInPoint(measure, teachInPoint(CURVE_DATA, 100000, 0.0, 1.0));
    fresh.onUpdateDiagram(&measure, false);
    QVERIFY(fresh.plot()->yAxis->range().lower > 0.0);
    QVERIFY(std::isfinite(fresh.plot()->yAxis->range().upper));

    formCurrentState named;
    named.setDiagramName("saved run");
    QVERIFY(named.title());
    QCOMPARE(named.title()->text(), QString("saved run"));
}

void tst_currentState::menuEntries_data()
{
    QTest::addColumn<QString>("strKind");
    QTest::addColumn<QStringList>("entries");
    const QStringList common{"Zoom In", "Zoom Out", "Redraw", "Print Diagram", "Export Diagram", "Clear Diagram",
                             "Choose Data"};
    QTest::newRow("no points") << "empty" << (common + QStringList{"Hide Key"});
    QTest::newRow("data only") << "data" << (common + QStringList{"Hide Key", "Hide Position"});
    QTest::newRow("open and close") << "openclose" << (common + QStringList{"Hide Key", "Show Sensitivity"});
    QTest::newRow("after clear") << "cleared" << (common + QStringList{"Hide Key"});
    QTest::newRow("nothing drawn yet") << "fresh" << (common + QStringList{"Show Key"});
}

void tst_currentState::menuEntries()
{
    QFETCH(QString, strKind);
    QFETCH(QStringList, entries);
    writeDiagramSettings(false, 1);

    lvTeachIn teachIn;
    setTeachInSensor(teachIn, "Leakrate", false);
    if (strKind == "data") {
        for (int i = 0; i < 3; ++i)
            appendTeachInPoint(teachIn, teachInPoint(CURVE_DATA, 1000 * i, 1.0 + i, i));
    } else if (strKind == "openclose" || strKind == "cleared") {
        fillOpenClose(teachIn, 3, 3);
    }
    if (strKind != "fresh")
        pDiagram->setTeachIn(&teachIn);
    if (strKind == "cleared")
        pDiagram->onDiagramMenuClearData();

    QCOMPARE(openMenuAt(QPoint(300, 150)), entries);
    QVERIFY(pDiagram->menu());
    QCOMPARE(pDiagram->menu()->parent(), pDiagram->plot()->window());
}

void tst_currentState::hideSensitivityAfterLiveOpenPoint()
{
    writeDiagramSettings(false, 1);
    lvTeachIn seed;
    pDiagram->setTeachIn(&seed);
    pDiagram->onDiagramMenuClearData();

    lvTeachIn measure;
    setTeachInSensor(measure, "Leakrate", false);
    appendTeachInPoint(measure, teachInPoint(CURVE_OPEN, 1000, 1.0));
    pDiagram->onUpdateDiagram(&measure, false);

    QVERIFY(pDiagram->isSensitivityShown());
    QVERIFY(!pDiagram->sensOpenGraph()->visible());
    QVERIFY(openMenuAt(QPoint(300, 150)).contains("Hide Sensitivity"));

    pDiagram->onDiagramMenuShowSens();
    QVERIFY(!pDiagram->isSensitivityShown());
    QVERIFY(!pDiagram->sensOpenGraph()->visible());
    QSettings settings(QStringLiteral("varnix"), QStringLiteral("Pendrosix"));
    QCOMPARE(settings.value("diagram/show sensitivity").toBool(), false);
    QVERIFY(settings.contains("diagram/show sensitivity"));

    pDiagram->onDiagramMenuShowSens();
    QVERIFY(pDiagram->sensOpenGraph()->visible());
    QCOMPARE(QSettings(QStringLiteral("varnix"), QStringLiteral("Pendrosix")).value("diagram/show sensitivity").toBool(),
             true);
}

void tst_currentState::clickOnCurve()
{
    lvTeachIn teachIn;
    setTeachInSensor(teachIn, "Leakrate", false);
    fillOpenClose(teachIn, 4, 0);
    pDiagram->setTeachIn(&teachIn);
    pDiagram->plot()->replot(QCustomPlot::rpImmediateRefresh);

    QStringList events;
    double dblValue = 0;
    int nSteps = 0;
    connect(pDiagram, &formCurrentState::setDataFromClick, this, [&](double d) {
        events << "data";
        dblValue = d;
    });
    connect(pDiagram, &formCurrentState::setStepsFromClick, this, [&](int n) {
        events << "steps";
        nSteps = n;
    });

    QCPGraph *pOpen = pDiagram->openGraph();
    const QPoint pt = pixelOf(pOpen, 2); // (200000, 3.0)
    QTest::mouseClick(pDiagram->plot(), Qt::LeftButton, Qt::NoModifier, pt);

    QCOMPARE(events, QStringList({"data", "steps"}));
    QCOMPARE(dblValue, 3.0);
    // Converted back from the pixel: the stored position or just below it.
    QVERIFY2(std::abs(nSteps - 200000) <= pDiagram->plot()->xAxis->range().size() / 100, qPrintable(QString::number(nSteps)));
    QCOMPARE(pDiagram->crossTracer()->graph(), pOpen);
    QVERIFY(std::fabs(pDiagram->crossTracer()->graphKey() - 200000) < 3000);
}

void tst_currentState::clickOnLiveCurveAfterClear()
{
    lvTeachIn teachIn;
    setTeachInSensor(teachIn, "Leakrate", false);
    fillOpenClose(teachIn, 3, 0);
    pDiagram->setTeachIn(&teachIn);
    pDiagram->onDiagramMenuClearData();
    QVERIFY(!pDiagram->crossTracer() && !pDiagram->squareTracer());

    lvTeachIn measure;
    setTeachInSensor(measure, "Leakrate", false);
    appendTeachInPoint(measure, teachInPoint(CURVE_DATA, 500000, 2.0, 0.0));
    pDiagram->onUpdateDiagram(&measure, false);
    appendTeachInPoint(measure, teachInPoint(CURVE_DATA, 600000, 4.0, 10.0));
    pDiagram->onUpdateDiagram(&measure, false);
    appendTeachInPoint(measure, teachInPoint(CURVE_DATA, 600000, 3.0, 20.0));
    pDiagram->onUpdateDiagram(&measure, false);
    pDiagram->plot()->replot(QCustomPlot::rpImmediateRefresh);

    QSignalSpy spyData(pDiagram, &formCurrentState::setDataFromClick);
    QSignalSpy spySteps(pDiagram, &formCurrentState::setStepsFromClick);
    QTest::mouseClick(pDiagram->plot(), Qt::LeftButton, Qt::NoModifier, pixelOf(pDiagram->dataGraph(), 1));
    QCOMPARE(spyData.count(), 1);
    QCOMPARE(spyData.at(0).at(0).toDouble(), 4.0);
    QCOMPARE(spySteps.count(), 1);
}

void tst_currentState::zoomAroundMenuPoint()
{
    lvTeachIn teachIn;
    setTeachInSensor(teachIn, "Leakrate", false);
    fillOpenClose(teachIn, 3, 0);
    for (int i = 0; i < 3; ++i)
        appendTeachInPoint(teachIn, teachInPoint(CURVE_DATA, 1000 * i, 1.0 + i, i));
    pDiagram->setTeachIn(&teachIn);
    QCustomPlot *pPlot = pDiagram->plot();
    pPlot->replot(QCustomPlot::rpImmediateRefresh);

    const QPoint pt(350, 200);
    openMenuAt(pt);
    const QCPRange x0 = pPlot->xAxis->range(), y0 = pPlot->yAxis->range();
    const QCPRange x20 = pPlot->xAxis2->range(), y20 = pPlot->yAxis2->range();
    const double dblCenterX = pPlot->xAxis->pixelToCoord(pt.x());
    const double dblCenterY = pPlot->yAxis->pixelToCoord(pt.y());

    pDiagram->onZoomIn();
    QVERIFY(closeTo(pPlot->xAxis->range().size(), x0.size() * 0.66));
    QVERIFY(closeTo(pPlot->yAxis->range().size(), y0.size() * 0.66));
    QVERIFY(closeTo(pPlot->xAxis->range().lower, dblCenterX + (x0.lower - dblCenterX) * 0.66));
    QVERIFY(closeTo(pPlot->yAxis->range().upper, dblCenterY + (y0.upper - dblCenterY) * 0.66));
    QCOMPARE(pPlot->xAxis2->range(), x20);
    QCOMPARE(pPlot->yAxis2->range(), y20);

    const QCPRange x1 = pPlot->xAxis->range();
    pDiagram->onZoomOut();
    QVERIFY(closeTo(pPlot->xAxis->range().size(), x1.size() * 1.5));
    QCOMPARE(pPlot->xAxis2->range(), x20);
}

void tst_currentState::clearThenRedraw()
{
    lvTeachIn teachIn;
    teachIn.strTeachInFile = "again";
    setTeachInSensor(teachIn, "Leakrate", false);
    fillOpenClose(teachIn, 3, 2);
    pDiagram->setTeachIn(&teachIn);
    pDiagram->onDiagramMenuClearData();

    QCustomPlot *pPlot = pDiagram->plot();
    QCOMPARE(pPlot->graphCount(), 0);
    QCOMPARE(pPlot->itemCount(), 0);
    QVERIFY(!pPlot->legend->visible() && !pPlot->xAxis->visible() && !pPlot->yAxis2->visible());
    QCOMPARE(pDiagram->title()->text(), QString());
    QCOMPARE(pPlot->xAxis->range(), QCPRange(0, 1000000));
    QVERIFY(pDiagram->isLegendShown()); // the menu entry still reads as before

    pDiagram->onRedraw();
    QCOMPARE(pDiagram->title()->text(), QString("again"));
    QCOMPARE(pDiagram->openGraph()->dataCount(), 3);
    QCOMPARE(pDiagram->closeGraph()->dataCount(), 2);
    QCOMPARE(pPlot->itemCount(), 2);
    // The title is made once and kept.
    QCOMPARE(pPlot->plotLayout()->rowCount(), 2);
}

void tst_currentState::redrawWithoutTeachIn()
{
    pDiagram->onRedraw();
    QCOMPARE(pDiagram->plot()->graphCount(), 0);
    QVERIFY(!pDiagram->title());
}

void tst_currentState::legendAndPositionSwitches()
{
    lvTeachIn teachIn;
    setTeachInSensor(teachIn, "Leakrate", false);
    for (int i = 0; i < 3; ++i)
        appendTeachInPoint(teachIn, teachInPoint(CURVE_DATA, 1000 * i, 1.0 + i, i));
    pDiagram->setTeachIn(&teachIn);
    QCustomPlot *pPlot = pDiagram->plot();

    pDiagram->onDiagramMenuShowLeg();
    QVERIFY(!pDiagram->isLegendShown() && !pPlot->legend->visible());
    pDiagram->onDiagramMenuShowLeg();
    QVERIFY(pPlot->legend->visible());

    pDiagram->onDiagramMenuShowPos();
    QVERIFY(!pDiagram->isPositionShown());
    QVERIFY(!pDiagram->posGraph()->visible());
    QVERIFY(!inLegend(pPlot, pDiagram->posGraph()));
    QVERIFY(!pPlot->yAxis2->visible());
    pDiagram->onDiagramMenuShowPos();
    QVERIFY(pDiagram->posGraph()->visible() && inLegend(pPlot, pDiagram->posGraph()) && pPlot->yAxis2->visible());
}

void tst_currentState::chooseData()
{
    QVERIFY(pWorkDir->writeFile("teachIn/other.kfxteachin", "Version: 103;\n"));
    const QString strFile = pWorkDir->filePath("teachIn/other.kfxteachin");
    lvTeachIn teachIn;
    setTeachInSensor(teachIn, "Leakrate", false);
    fillOpenClose(teachIn, 3, 3);
    pDiagram->setTeachIn(&teachIn);

    QString strDirectory;
    modalAnswerer answer([&](QWidget *pWidget) {
        auto *pDialog = qobject_cast<QFileDialog *>(pWidget);
        QVERIFY(pDialog);
        strDirectory = pDialog->directory().absolutePath();
        QCOMPARE(pDialog->fileMode(), QFileDialog::ExistingFile);
        QCOMPARE(pDialog->nameFilters(), QStringList("*.kfxteachin"));
        typeAndAccept(pDialog, strFile);
    }, modalAnswerer::MODAL_OR_POPUP, modalAnswerer::FIRST_ONLY, 30000);
    QSignalSpy spy(pDiagram, &formCurrentState::setNewTeachIn);
    pDiagram->onDiagramMenuChooseData();

    QCOMPARE(strDirectory, QDir(pWorkDir->filePath("teachIn")).absolutePath());
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), strFile);
    QCOMPARE(pDiagram->plot()->graphCount(), 0);
    QCOMPARE(pDiagram->plot()->itemCount(), 0);
    QVERIFY(!pDiagram->crossTracer() && !pDiagram->openGraph());
    QVERIFY(!pDiagram->plot()->yAxis2->visible());

    // A click afterwards has nothing left to touch.
    pDiagram->onPlottableClicked(nullptr, 0, nullptr);
}

void tst_currentState::chooseDataCancelled()
{
    lvTeachIn teachIn;
    setTeachInSensor(teachIn, "Leakrate", false);
    fillOpenClose(teachIn, 3, 3);
    pDiagram->setTeachIn(&teachIn);

    modalAnswerer answer([](QWidget *pWidget) { static_cast<QDialog *>(pWidget)->reject(); }, modalAnswerer::MODAL_OR_POPUP, modalAnswerer::FIRST_ONLY, 30000);
    QSignalSpy spy(pDiagram, &formCurrentState::setNewTeachIn);
    pDiagram->onDiagramMenuChooseData();
    QCOMPARE(spy.count(), 0);
    QCOMPARE(pDiagram->plot()->graphCount(), 4);
}

void tst_currentState::measurementFromAnotherThread()
{
    // The script thread appends under the teach-in's lock and hands over the
    // address with a queued call; the diagram reads the newest point only
    // under that lock.
    lvTeachIn seed;
    pDiagram->setTeachIn(&seed);
    pDiagram->onDiagramMenuClearData();

    lvTeachIn measure;
    setTeachInSensor(measure, "Leakrate", false);
    constexpr int nPoints = 2000;
    std::atomic<int> nPosted{0};
    QThread *pWriter = QThread::create([&]() {
        for (int i = 0; i < nPoints; ++i) {
            appendTeachInPoint(measure, teachInPoint(CURVE_DATA, 1000 + i, 1.0 + (i % 7), 0.1 * i, 0.0, 3.0));
            QMetaObject::invokeMethod(pDiagram, "onUpdateDiagram", Qt::QueuedConnection,
                                      Q_ARG(lvTeachIn *, &measure), Q_ARG(bool, false));
            ++nPosted;
        }
    });
    pWriter->start();
    QVERIFY(pWriter->wait(120000));
    delete pWriter;
    QTRY_COMPARE_WITH_TIMEOUT(pDiagram->dataGraph() ? pDiagram->dataGraph()->dataCount() : 0, nPoints, 60000);
    QCOMPARE(nPosted.load(), nPoints);
    QCOMPARE(pDiagram->plot()->xAxis2->range(), QCPRange(0.0, 0.1 * (nPoints - 1)));
}

QTEST_MAIN(tst_currentState)
#include "tst_currentState.moc"
