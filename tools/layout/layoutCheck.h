#ifndef LAYOUTCHECK_H
#define LAYOUTCHECK_H

#include <QList>
#include <QRect>
#include <QSet>
#include <QString>
#include <QStringList>

class QLabel;
class QTableView;
class QWidget;

// The panel's screen: what the operator can see of any window or box.
inline QRect panelScreen()
{
    return QRect(0, 0, 800, 479);
}

// One text that the operator cannot read whole, or one widget that leaves
// the screen or its parent.
struct layoutProblem
{
    QString strWidget; // object name path, e.g. "formStatusWidget/lblPos"
    QString strText;
    QString strWhat;

    QString toString() const;
};

// Looks at every visible label, button, line edit and combo box below (and
// including) pRoot: its text, at the widget's own font, must fit the room the
// widget's style leaves for it, and the widget must lie inside the screen and
// inside its parent. A table shows every column at once, and every cell text
// (of every row, shown or scrolled to) and header text fits its cell. Any
// other visible widget must lie inside the screen.
//
// setCutByDesign lists object names whose text may be cut because the form
// fixes their size and shows the whole text elsewhere. A label among them is
// cut at its end only: its first line and first characters stay in view.
class layoutCheck
{
public:
    explicit layoutCheck(const QRect &rectScreen = panelScreen());

    void setCutByDesign(const QSet<QString> &names) { cutByDesign = names; }

    QList<layoutProblem> problemsBelow(QWidget *pRoot) const;

    // Shows a window or dialog without entering its event loop (as its exec()
    // would show it), lets it lay itself out, checks it and hides it again.
    QList<layoutProblem> problemsOfShown(QWidget *pWindow) const;

    static QStringList describe(const QList<layoutProblem> &problems);

    // The room a widget's style leaves for its text, in the widget's
    // coordinates; an empty rectangle for widgets without a text to check.
    static QRect textRoom(const QWidget *pWidget);
    // The widget's text(s) as shown (mnemonics removed); every item for a
    // combo box, since each of them can become the shown one.
    static QStringList shownTexts(const QWidget *pWidget);
    // The size the text needs at the widget's font, wrapped to the room's
    // width where the widget wraps.
    static QSize neededSize(const QWidget *pWidget, const QString &strText, const QRect &rectRoom);

    static QString widgetPath(const QWidget *pWidget);

private:
    void checkOne(QWidget *pWidget, QList<layoutProblem> &problems) const;
    static void checkTable(const QTableView *pTable, QList<layoutProblem> &problems);
    static void checkStartShown(const QLabel *pLabel, const QString &strText, QList<layoutProblem> &problems);

    QRect rectScreen;
    QSet<QString> cutByDesign;
};

#endif // LAYOUTCHECK_H
