// Press-and-hold on the Script tab's table view, timed by a fake clock: taps
// stay ordinary taps, long presses replace the click, the popup words the
// held column's action and counts down.
#include "script/qTblViewScript.h"

#include "fakeClock.h"

#include <QDialog>
#include <QLabel>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QtTest>

namespace {

// A view over a 3 x 7 model with the command table's action columns
// (add 3, delete 4, up 5, down 6) or the script table's (start 0, stop 1,
// add 3, delete 4, save 5).
struct tableFixture
{
    explicit tableFixture(bool bScriptColumns)
        : model(3, 7)
    {
        view.setModel(&model);
        view.setSelectionBehavior(QAbstractItemView::SelectRows);
        view.resize(600, 200);
        for (int c = 0; c < 7; ++c)
            view.setColumnWidth(c, 60);
        if (bScriptColumns) {
            view.nColumnStart = 0;
            view.nColumnStop = 1;
            view.nColumnAdd = 3;
            view.nColumnDelete = 4;
            view.nColumnSave = 5;
        } else {
            view.nColumnAdd = 3;
            view.nColumnDelete = 4;
            view.nColumnUp = 5;
            view.nColumnDown = 6;
        }
        view.show();
    }

    QPoint cell(int nRow, int nColumn) const { return view.visualRect(model.index(nRow, nColumn)).center(); }

    void press(const QPoint &pt) { QTest::mousePress(view.viewport(), Qt::LeftButton, Qt::NoModifier, pt); }
    void release(const QPoint &pt) { QTest::mouseRelease(view.viewport(), Qt::LeftButton, Qt::NoModifier, pt); }

    QString label() const { return view.longPressLabel()->text(); }

    QStandardItemModel model;
    qTblViewScript view;
};

} // namespace

class tst_scriptTableView : public QObject
{
    Q_OBJECT

private slots:
    void actionOfColumn_data();
    void actionOfColumn();
    void tapOrLongPress_data();
    void tapOrLongPress();
    void countdownTexts_data();
    void countdownTexts();
    void editColumnKeepsItsText();
    void releaseElsewhere();
    void pressBesideTheCells();
    void longPressTimeChanged();
};

void tst_scriptTableView::actionOfColumn_data()
{
    QTest::addColumn<int>("nColumn");
    QTest::addColumn<QVector<int>>("columns");
    QTest::addColumn<int>("nAction");
    const QVector<int> script{0, 1, 3, 4, -1, -1, 5};
    const QVector<int> commands{-1, -1, 3, 4, 5, 6, -1};
    QTest::newRow("start") << 0 << script << int(LONG_PRESS_START);
    QTest::newRow("save") << 5 << script << int(LONG_PRESS_SAVE);
    QTest::newRow("name column edits") << 2 << script << int(LONG_PRESS_EDIT);
    QTest::newRow("command up") << 5 << commands << int(LONG_PRESS_UP);
    QTest::newRow("command down") << 6 << commands << int(LONG_PRESS_DOWN);
    QTest::newRow("keyword column edits") << 0 << commands << int(LONG_PRESS_EDIT);
    // Unused actions carry -1; a press beside the cells must not match them.
    QTest::newRow("beside the cells") << -1 << commands << int(LONG_PRESS_NONE);
    // Two actions on one column: the first in matching order words it.
    QTest::newRow("shared column") << 2 << QVector<int>{-1, 2, 2, -1, -1, -1, 2} << int(LONG_PRESS_STOP);
}

void tst_scriptTableView::actionOfColumn()
{
    QFETCH(int, nColumn);
    QFETCH(QVector<int>, columns);
    QFETCH(int, nAction);
    tableActionColumns array;
    std::copy(columns.cbegin(), columns.cend(), array.begin());
    QCOMPARE(int(tableActionOfColumn(nColumn, array)), nAction);
}

void tst_scriptTableView::tapOrLongPress_data()
{
    QTest::addColumn<int>("nLongPressTime");
    QTest::addColumn<int>("nHeldMs");
    QTest::addColumn<bool>("bLong");
    QTest::newRow("quick tap") << 2000 << 100 << false;
    QTest::newRow("exactly the hold time") << 2000 << 2000 << false;
    QTest::newRow("one ms more") << 2000 << 2001 << true;
    QTest::newRow("long hold") << 2000 << 9000 << true;
    QTest::newRow("zero time, instant release") << 0 << 0 << false;
    QTest::newRow("zero time, 1 ms") << 0 << 1 << true;
    QTest::newRow("odd time") << 1500 << 1501 << true;
}

void tst_scriptTableView::tapOrLongPress()
{
    QFETCH(int, nLongPressTime);
    QFETCH(int, nHeldMs);
    QFETCH(bool, bLong);
    fakeClock clock;
    tableFixture t(false);
    t.view.nLongPressTime = nLongPressTime;
    QSignalSpy clicked(&t.view, &QAbstractItemView::clicked);
    QSignalSpy longPress(&t.view, &qTblViewScript::longPressEvent);

    const QPoint pt = t.cell(1, 4);
    t.press(pt);
    QVERIFY(t.view.longPressDialog()->isVisible());
    QVERIFY(t.view.isLongPressTimerActive());
    clock.advance(nHeldMs);
    t.release(pt);

    QVERIFY(!t.view.longPressDialog()->isVisible());
    QVERIFY(!t.view.isLongPressTimerActive());
    QCOMPARE(longPress.size(), bLong ? 1 : 0);
    QCOMPARE(clicked.size(), bLong ? 0 : 1);
    // Either way the press selected the row under the finger.
    QCOMPARE(t.view.currentIndex().row(), 1);
    if (bLong) {
        const QModelIndex index = longPress.at(0).at(0).value<QModelIndex>();
        QCOMPARE(index.row(), 1);
        QCOMPARE(index.column(), 4);
    }
}

void tst_scriptTableView::countdownTexts_data()
{
    QTest::addColumn<bool>("bScriptColumns");
    QTest::addColumn<int>("nColumn");
    QTest::addColumn<QString>("strPress");
    QTest::addColumn<QString>("strOneLeft");
    QTest::addColumn<QString>("strRelease");
    QTest::newRow("start") << true << 0 << "Hold to start in 2 seconds" << "Hold to start in 1 seconds"
                           << "Release to strat Scipt";
    QTest::newRow("stop") << true << 1 << "Hold to stop in 2 seconds" << "Hold to stop in 1 seconds"
                          << "Release to stop Scipt";
    QTest::newRow("add") << false << 3 << "Hold to add in 2 seconds" << "Hold to add in 1 seconds" << "Release to add";
    QTest::newRow("delete") << false << 4 << "Hold to delete in 2 seconds" << "Hold to delete in 1 seconds"
                            << "Release to delete";
    QTest::newRow("up") << false << 5 << "Hold to move up in 2 seconds" << "Hold to move up in 1 seconds"
                        << "Release to move up";
    QTest::newRow("down") << false << 6 << "Hold to move down in 2 seconds" << "Hold to move down in 1 seconds"
                          << "Release to move down";
    QTest::newRow("save") << true << 5 << "Hold to save script in 2 seconds" << "Hold to save script in 1 seconds"
                          << "Release to save script";
}

void tst_scriptTableView::countdownTexts()
{
    QFETCH(bool, bScriptColumns);
    QFETCH(int, nColumn);
    QFETCH(QString, strPress);
    QFETCH(QString, strOneLeft);
    QFETCH(QString, strRelease);
    fakeClock clock;
    tableFixture t(bScriptColumns);
    const QPoint pt = t.cell(0, nColumn);
    t.press(pt);
    QCOMPARE(t.label(), strPress);
    // Whole seconds left, truncated: 1.001 s and 1.0 s both show 1.
    clock.advance(999);
    t.view.onUpdateLongPressLabel();
    QCOMPARE(t.label(), strOneLeft);
    clock.advance(1);
    t.view.onUpdateLongPressLabel();
    QCOMPARE(t.label(), strOneLeft);
    // A tick that comes a little late already asks for the release.
    clock.advance(1);
    t.view.onUpdateLongPressLabel();
    QCOMPARE(t.label(), strRelease);
    t.release(pt);
}

void tst_scriptTableView::editColumnKeepsItsText()
{
    fakeClock clock;
    tableFixture t(false);
    t.view.nLongPressTime = 1500;
    QSignalSpy longPress(&t.view, &qTblViewScript::longPressEvent);
    const QPoint pt = t.cell(2, 1);
    t.press(pt);
    QCOMPARE(t.label(), QStringLiteral("Hold to edit in 1.5 seconds"));
    clock.advance(3000);
    t.view.onUpdateLongPressLabel();
    QCOMPARE(t.label(), QStringLiteral("Hold to edit in 1.5 seconds"));
    t.release(pt);
    QCOMPARE(longPress.size(), 1);
    QCOMPARE(longPress.at(0).at(0).value<QModelIndex>().column(), 1);
}

void tst_scriptTableView::releaseElsewhere()
{
    fakeClock clock;
    tableFixture t(false);
    QSignalSpy longPress(&t.view, &qTblViewScript::longPressEvent);
    t.press(t.cell(0, 3));
    const QPoint ptPopup = t.view.longPressDialog()->pos();
    QTest::mouseMove(t.view.viewport(), t.cell(2, 5));
    QCOMPARE(t.view.longPressDialog()->pos(), ptPopup);
    clock.advance(2500);
    // The emitted cell is the one under the release point.
    t.release(t.cell(2, 5));
    QCOMPARE(longPress.size(), 1);
    const QModelIndex index = longPress.at(0).at(0).value<QModelIndex>();
    QCOMPARE(index.row(), 2);
    QCOMPARE(index.column(), 5);
}

void tst_scriptTableView::pressBesideTheCells()
{
    fakeClock clock;
    tableFixture t(false);
    t.view.resize(600, 300);
    QSignalSpy longPress(&t.view, &qTblViewScript::longPressEvent);
    // Below the last row: no cell, no popup; the late release still reports
    // an invalid index, which owners ignore.
    const QPoint ptBelow(10, t.view.viewport()->height() - 5);
    QVERIFY(!t.view.indexAt(ptBelow).isValid());
    t.press(ptBelow);
    QCOMPARE(t.view.nPressedColumn, -1);
    QVERIFY(!t.view.longPressDialog()->isVisible());
    clock.advance(2500);
    t.view.onUpdateLongPressLabel();
    QVERIFY(!t.view.longPressDialog()->isVisible());
    t.release(ptBelow);
    QCOMPARE(longPress.size(), 1);
    QVERIFY(!longPress.at(0).at(0).value<QModelIndex>().isValid());
}

void tst_scriptTableView::longPressTimeChanged()
{
    fakeClock clock;
    tableFixture t(false);
    QSignalSpy longPress(&t.view, &qTblViewScript::longPressEvent);
    const QPoint pt = t.cell(0, 4);
    t.press(pt);
    clock.advance(1000);
    t.release(pt);
    QCOMPARE(longPress.size(), 0);

    // The owner shortens the time: the same hold is now long.
    t.view.nLongPressTime = 500;
    t.press(pt);
    QCOMPARE(t.label(), QStringLiteral("Hold to delete in 0.5 seconds"));
    clock.advance(1000);
    t.release(pt);
    QCOMPARE(longPress.size(), 1);
}

QTEST_MAIN(tst_scriptTableView)
#include "tst_scriptTableView.moc"
