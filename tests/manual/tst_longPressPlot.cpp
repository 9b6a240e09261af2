// Press-and-hold on the diagram's plot, timed by an injected clock: the
// release exactly at the hold time is a click, one millisecond more a long
// press; the countdown popup follows the press and disappears at every
// release; a long press on a curve reports the click first.
#include "manual/qLvCustomPlot.h"

#include "fakeClock.h"

#include <QDialog>
#include <QLabel>
#include <QtTest>

class tst_longPressPlot : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void releaseTiming_data();
    void releaseTiming();
    void popupAtPressPoint_data();
    void popupAtPressPoint();
    void countdownTicks();
    void countdownTimerRunsWhilePressed();
    void movingFingerStillLongPress();
    void delayChangedWhilePressed();
    void curveClickThenLongPress_data();
    void curveClickThenLongPress();
    void releaseWithoutPress();

private:
    QPoint pointOfGraph(int nIndex) const;

    fakeClock *pClock = nullptr;
    qLvCustomPlot *pPlot = nullptr;
};

void tst_longPressPlot::initTestCase()
{
    qRegisterMetaType<QMouseEvent *>("QMouseEvent*");
}

void tst_longPressPlot::init()
{
    pClock = new fakeClock;
    pPlot = new qLvCustomPlot;
    pPlot->resize(400, 300);
    QCPGraph *pGraph = pPlot->addGraph();
    pGraph->setData({0.0, 1.0, 2.0}, {0.0, 1.0, 2.0});
    pPlot->xAxis->setRange(-0.5, 2.5);
    pPlot->yAxis->setRange(-0.5, 2.5);
    pPlot->show();
    QVERIFY(QTest::qWaitForWindowExposed(pPlot));
    pPlot->replot(QCustomPlot::rpImmediateRefresh);
}

void tst_longPressPlot::cleanup()
{
    delete pPlot;
    pPlot = nullptr;
    delete pClock;
    pClock = nullptr;
}

QPoint tst_longPressPlot::pointOfGraph(int nIndex) const
{
    QCPGraph *pGraph = pPlot->graph(0);
    return pGraph->coordsToPixels(pGraph->data()->at(nIndex)->key, pGraph->data()->at(nIndex)->value).toPoint();
}

void tst_longPressPlot::releaseTiming_data()
{
    QTest::addColumn<int>("nDelay");
    QTest::addColumn<int>("nHeld");
    QTest::addColumn<bool>("bLongPress");
    QTest::newRow("short tap") << 2000 << 100 << false;
    QTest::newRow("exactly the hold time") << 2000 << 2000 << false;
    QTest::newRow("one ms more") << 2000 << 2001 << true;
    QTest::newRow("delay 0, released at once") << 0 << 0 << false;
    QTest::newRow("delay 0, one ms") << 0 << 1 << true;
    QTest::newRow("delay 500, held 501") << 500 << 501 << true;
}

void tst_longPressPlot::releaseTiming()
{
    QFETCH(int, nDelay);
    QFETCH(int, nHeld);
    QFETCH(bool, bLongPress);

    QCOMPARE(pPlot->nLongPressTime, 2000); // the built-in delay
    pPlot->nLongPressTime = nDelay;
    QSignalSpy spyLong(pPlot, &qLvCustomPlot::longPressEvent);
    const QPoint pt(30, 30);

    QTest::mousePress(pPlot, Qt::LeftButton, Qt::NoModifier, pt);
    QVERIFY(pPlot->longPressDialog()->isVisible());
    QVERIFY(pPlot->isLongPressTimerActive());
    pClock->advance(nHeld);
    QTest::mouseRelease(pPlot, Qt::LeftButton, Qt::NoModifier, pt);

    QCOMPARE(spyLong.count(), bLongPress ? 1 : 0);
    QVERIFY(!pPlot->longPressDialog()->isVisible());
    QVERIFY(!pPlot->isLongPressTimerActive());
}

void tst_longPressPlot::popupAtPressPoint_data()
{
    QTest::addColumn<int>("nDelay");
    QTest::addColumn<QString>("strText");
    QTest::newRow("default") << 2000 << "Hold to show context menu in 2 seconds";
    QTest::newRow("half seconds") << 2500 << "Hold to show context menu in 2.5 seconds";
    QTest::newRow("no delay") << 0 << "Hold to show context menu in 0 seconds";
}

void tst_longPressPlot::popupAtPressPoint()
{
    QFETCH(int, nDelay);
    QFETCH(QString, strText);
    pPlot->nLongPressTime = nDelay;
    const QPoint pt(120, 80);

    QTest::mousePress(pPlot, Qt::LeftButton, Qt::NoModifier, pt);
    QDialog *pPopup = pPlot->longPressDialog();
    QVERIFY(pPopup->isVisible());
    QCOMPARE(pPopup->pos(), pPlot->mapToGlobal(pt));
    QCOMPARE(pPlot->longPressLabel()->text(), strText);
    QCOMPARE(pPlot->longPressLabel()->textFormat(), Qt::RichText);
    QVERIFY(pPlot->longPressLabel()->wordWrap());
    QVERIFY(pPopup->windowFlags().testFlag(Qt::ToolTip));

    QTest::mouseRelease(pPlot, Qt::LeftButton, Qt::NoModifier, pt);
    QVERIFY(!pPopup->isVisible());
}

void tst_longPressPlot::countdownTicks()
{
    QTest::mousePress(pPlot, Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
    const struct
    {
        int nAdvance;
        const char *pszText;
    } ticks[] = {{1000, "Hold to show context menu in 1 seconds"},
                 {1, "Hold to show context menu in 0 seconds"},
                 {1999, "Hold to show context menu in -1 seconds"},
                 {1000, "Hold to show context menu in -2 seconds"}};
    for (const auto &tick : ticks) {
        pClock->advance(tick.nAdvance);
        QVERIFY(QMetaObject::invokeMethod(pPlot, "onUpdateLongPressLabel"));
        QCOMPARE(pPlot->longPressLabel()->text(), QString(tick.pszText));
    }
    QTest::mouseRelease(pPlot, Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
}

void tst_longPressPlot::countdownTimerRunsWhilePressed()
{
    // The real one-second tick rewrites the label by itself.
    QTest::mousePress(pPlot, Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
    pClock->advance(1500);
    QTRY_COMPARE_WITH_TIMEOUT(pPlot->longPressLabel()->text(), QString("Hold to show context menu in 0 seconds"),
                              20000);
    QTest::mouseRelease(pPlot, Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
    QVERIFY(!pPlot->isLongPressTimerActive());
}

void tst_longPressPlot::movingFingerStillLongPress()
{
    QSignalSpy spyLong(pPlot, &qLvCustomPlot::longPressEvent);
    const QPoint ptPress(60, 60);
    QTest::mousePress(pPlot, Qt::LeftButton, Qt::NoModifier, ptPress);
    const QPoint ptPopup = pPlot->longPressDialog()->pos();
    QTest::mouseMove(pPlot, QPoint(200, 150));
    QCOMPARE(pPlot->longPressDialog()->pos(), ptPopup);
    pClock->advance(2500);
    QTest::mouseRelease(pPlot, Qt::LeftButton, Qt::NoModifier, QPoint(200, 150));
    QCOMPARE(spyLong.count(), 1);
    QVERIFY(!pPlot->longPressDialog()->isVisible());
}

void tst_longPressPlot::delayChangedWhilePressed()
{
    QSignalSpy spyLong(pPlot, &qLvCustomPlot::longPressEvent);
    QTest::mousePress(pPlot, Qt::LeftButton, Qt::NoModifier, QPoint(40, 40));
    pClock->advance(1200);
    pPlot->nLongPressTime = 1000;
    QTest::mouseRelease(pPlot, Qt::LeftButton, Qt::NoModifier, QPoint(40, 40));
    QCOMPARE(spyLong.count(), 1);
}

void tst_longPressPlot::curveClickThenLongPress_data()
{
    QTest::addColumn<int>("nHeld");
    QTest::addColumn<QStringList>("events");
    QTest::newRow("short tap on a curve") << 200 << QStringList{"click 1"};
    QTest::newRow("long press on a curve") << 2500 << QStringList{"click 1", "long"};
}

void tst_longPressPlot::curveClickThenLongPress()
{
    QFETCH(int, nHeld);
    QFETCH(QStringList, events);

    QStringList got;
    connect(pPlot, &QCustomPlot::plottableClick, this,
            [&got](QCPAbstractPlottable *, int nIndex, QMouseEvent *) { got << QString("click %1").arg(nIndex); });
    connect(pPlot, &qLvCustomPlot::longPressEvent, this, [&got](QMouseEvent *) { got << "long"; });

    const QPoint pt = pointOfGraph(1);
    QTest::mousePress(pPlot, Qt::LeftButton, Qt::NoModifier, pt);
    pClock->advance(nHeld);
    QTest::mouseRelease(pPlot, Qt::LeftButton, Qt::NoModifier, pt);
    QCOMPARE(got, events);
}

void tst_longPressPlot::releaseWithoutPress()
{
    QSignalSpy spyLong(pPlot, &qLvCustomPlot::longPressEvent);
    pClock->advance(100000);
    QTest::mouseRelease(pPlot, Qt::LeftButton, Qt::NoModifier, QPoint(40, 40));
    QCOMPARE(spyLong.count(), 0);
}

QTEST_MAIN(tst_longPressPlot)
#include "tst_longPressPlot.moc"
