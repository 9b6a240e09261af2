#ifndef QTBLVIEWSCRIPT_H
#define QTBLVIEWSCRIPT_H

#include "script/tableLongPressAction.h"

#include <QModelIndex>
#include <QTableView>
#include <QTimer>

class QDialog;
class QLabel;

// The table view of the Script tab's two tables. Pressing and holding a cell
// turns into a command: while the finger rests, a small popup counts the
// hold time down; a release after the hold time emits longPressEvent() with
// the cell under the release point instead of a click. A shorter press is an
// ordinary tap (selection, clicked, double-click, editing). The owner tells
// the view which columns stand for which action; the view uses them only to
// word the popup.
//
// The hold is timed with systemClock's monotonic counter, so tests can drive
// it.
//
// Every column stays in view, so every cell can be held: a column is at
// least as wide as the widest texts its cells and their editors can hold
// (with the tab's cmbBoxItem delegate) and as its header text, and the view
// asks for the width of all its columns with room for the vertical scroll
// bar. A stretching column gives way down to its least size.
class qTblViewScript : public QTableView
{
    Q_OBJECT

public:
    explicit qTblViewScript(QWidget *parent = nullptr);
    ~qTblViewScript() override;

    // Action columns, -1 for an action this table does not have; the owner
    // writes them after construction. Matched in this order.
    int nColumnStart;
    int nColumnStop;
    int nColumnAdd;
    int nColumnDelete;
    int nColumnUp;
    int nColumnDown;
    int nColumnSave;
    // Column of the cell under the last press, -1 beside the cells.
    int nPressedColumn;
    // A press held strictly longer than this many milliseconds is a long press.
    int nLongPressTime;

    // Read-only views for the tests.
    QDialog *longPressDialog() const { return dlgLongPress; }
    QLabel *longPressLabel() const { return lblLongPress; }
    bool isLongPressTimerActive() const { return timerLongPress.isActive(); }

signals:
    void longPressEvent(QModelIndex index);

public slots:
    // The once-a-second countdown step while a press lasts.
    void onUpdateLongPressLabel();

protected:
    bool event(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void updateGeometries() override;

private:
    tableLongPressAction pressedAction() const;
    QString holdText(tableLongPressAction action, const QString &strSeconds) const;
    QString releaseText(tableLongPressAction action) const;
    qint64 elapsedSincePress() const;
    // Widens the columns to what their texts need at the fonts and styles the
    // view and its editors have now.
    void fitColumns();
    int widthShowingEveryColumn() const;

    // Monotonic time of the last press; -1 before the first one.
    qint64 nTimePressed = -1;
    QTimer timerLongPress;
    QDialog *dlgLongPress = nullptr;
    QLabel *lblLongPress = nullptr;
};

#endif // QTBLVIEWSCRIPT_H
