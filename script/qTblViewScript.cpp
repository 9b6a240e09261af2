#include "script/qTblViewScript.h"

#include "manual/longPressCountdown.h"
#include "platform/systemClock.h"
#include "script/cmbBoxItem.h"

#include <QDialog>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyleOptionHeader>
#include <QVBoxLayout>
#include <QtMath>

qTblViewScript::qTblViewScript(QWidget *parent)
    : QTableView(parent)
    , nColumnStart(-1)
    , nColumnStop(-1)
    , nColumnAdd(-1)
    , nColumnDelete(-1)
    , nColumnUp(-1)
    , nColumnDown(-1)
    , nColumnSave(-1)
    , nPressedColumn(-1)
    , nLongPressTime(2000)
{
    // Popup | ToolTip makes a tool-tip window: it floats above the panel but
    // does not grab the mouse, so the release still reaches the table.
    dlgLongPress = new QDialog(this, Qt::Popup | Qt::ToolTip);
    lblLongPress = new QLabel(dlgLongPress);
    lblLongPress->setWordWrap(true);
    lblLongPress->setTextFormat(Qt::RichText);
    auto *pLayout = new QVBoxLayout();
    pLayout->addWidget(lblLongPress);
    dlgLongPress->setLayout(pLayout);

    connect(&timerLongPress, &QTimer::timeout, this, &qTblViewScript::onUpdateLongPressLabel);
}

qTblViewScript::~qTblViewScript() = default;

bool qTblViewScript::event(QEvent *event)
{
    const bool bResult = QTableView::event(event);
    // The style sheets give the cells and editors their fonts only when the
    // view is polished.
    if (event->type() == QEvent::Polish || event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        fitColumns();
    return bResult;
}

namespace {

// The width a header section needs for strText.
int headerWidthFor(const QHeaderView *pHeader, int nSection, const QString &strText)
{
    QStyleOptionHeader opt;
    opt.initFrom(pHeader);
    opt.rect = QRect(0, 0, 1000, 100);
    opt.section = nSection;
    opt.orientation = pHeader->orientation();
    opt.text = strText;
    const int nAround = opt.rect.width() - pHeader->style()->subElementRect(QStyle::SE_HeaderLabel, &opt, pHeader).width();
    return qCeil(QFontMetricsF(pHeader->font()).horizontalAdvance(strText)) + nAround;
}

} // namespace

void qTblViewScript::fitColumns()
{
    auto *pDelegate = qobject_cast<cmbBoxItem *>(itemDelegate());
    QHeaderView *pHeader = horizontalHeader();
    const int nGrid = showGrid() ? 1 : 0;
    for (int c = 0; c < pHeader->count(); ++c) {
        int nNeeded = pDelegate ? pDelegate->columnWidthNeeded(this, c, nGrid) : 0;
        const QString strHeader = model() ? model()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString() : QString();
        if (!strHeader.isEmpty())
            nNeeded = qMax(nNeeded, headerWidthFor(pHeader, c, strHeader));
        if (nNeeded > columnWidth(c))
            setColumnWidth(c, nNeeded);
    }
    updateGeometries();
}

int qTblViewScript::widthShowingEveryColumn() const
{
    int nWidth = 2 * frameWidth();
    const QHeaderView *pRows = verticalHeader();
    if (!pRows->isHidden())
        nWidth += qMin(qMax(pRows->minimumWidth(), pRows->sizeHint().width()), pRows->maximumWidth());
    const QHeaderView *pColumns = horizontalHeader();
    for (int c = 0; c < pColumns->count(); ++c) {
        if (pColumns->isSectionHidden(c))
            continue;
        nWidth += pColumns->sectionResizeMode(c) == QHeaderView::Stretch ? pColumns->minimumSectionSize()
                                                                           : pColumns->sectionSize(c);
    }
    // More rows than the view shows bring the vertical scroll bar; it must
    // not push the last column out of view.
    return nWidth + verticalScrollBar()->sizeHint().width();
}

void qTblViewScript::updateGeometries()
{
    // Row numbers gain digits as rows are added; the last is the widest.
    QHeaderView *pRows = verticalHeader();
    const int nRows = model() ? model()->rowCount(rootIndex()) : 0;
    const QString strLastRow = nRows > 0 ? model()->headerData(nRows - 1, Qt::Vertical, Qt::DisplayRole).toString() : QString();
    const int nRowsWidth = strLastRow.isEmpty() ? 0 : headerWidthFor(pRows, nRows - 1, strLastRow);
    if (pRows->minimumWidth() != nRowsWidth)
        pRows->setMinimumWidth(nRowsWidth);
    QTableView::updateGeometries();
    const int nWidth = widthShowingEveryColumn();
    if (minimumWidth() != nWidth)
        setMinimumWidth(nWidth);
}

qint64 qTblViewScript::elapsedSincePress() const
{
    return systemClock::instance().monotonicMsecs() - nTimePressed;
}

tableLongPressAction qTblViewScript::pressedAction() const
{
    return tableActionOfColumn(nPressedColumn, {nColumnStart, nColumnStop, nColumnAdd, nColumnDelete, nColumnUp,
                                                nColumnDown, nColumnSave});
}

QString qTblViewScript::holdText(tableLongPressAction action, const QString &strSeconds) const
{
    switch (action) {
    case LONG_PRESS_START:
        return tr("Hold to start in %1 seconds").arg(strSeconds);
    case LONG_PRESS_STOP:
        return tr("Hold to stop in %1 seconds").arg(strSeconds);
    case LONG_PRESS_ADD:
        return tr("Hold to add in %1 seconds").arg(strSeconds);
    case LONG_PRESS_DELETE:
        return tr("Hold to delete in %1 seconds").arg(strSeconds);
    case LONG_PRESS_UP:
        return tr("Hold to move up in %1 seconds").arg(strSeconds);
    case LONG_PRESS_DOWN:
        return tr("Hold to move down in %1 seconds").arg(strSeconds);
    case LONG_PRESS_SAVE:
        return tr("Hold to save script in %1 seconds").arg(strSeconds);
    case LONG_PRESS_EDIT:
    case LONG_PRESS_NONE:
        break;
    }
    return tr("Hold to edit in %1 seconds").arg(strSeconds);
}

QString qTblViewScript::releaseText(tableLongPressAction action) const
{
    switch (action) {
    case LONG_PRESS_START:
        return tr("Release to strat Scipt");
    case LONG_PRESS_STOP:
        return tr("Release to stop Scipt");
    case LONG_PRESS_ADD:
        return tr("Release to add");
    case LONG_PRESS_DELETE:
        return tr("Release to delete");
    case LONG_PRESS_UP:
        return tr("Release to move up");
    case LONG_PRESS_DOWN:
        return tr("Release to move down");
    case LONG_PRESS_SAVE:
        return tr("Release to save script");
    case LONG_PRESS_EDIT:
    case LONG_PRESS_NONE:
        break;
    }
    return QString();
}

void qTblViewScript::mousePressEvent(QMouseEvent *event)
{
    nTimePressed = systemClock::instance().monotonicMsecs();
    timerLongPress.start(1000);

    const QModelIndex index = indexAt(event->pos());
    nPressedColumn = index.isValid() ? index.column() : -1;

    // A press beside the cells counts as a hold too, but there is no cell to
    // put a countdown under and nothing it could act on.
    const tableLongPressAction action = pressedAction();
    if (action != LONG_PRESS_NONE) {
        lblLongPress->setText(holdText(action, longPressHoldSecondsText(nLongPressTime)));
        dlgLongPress->move(viewport()->mapToGlobal(visualRect(index).bottomLeft()));
        dlgLongPress->adjustSize();
        dlgLongPress->show();
    }

    QTableView::mousePressEvent(event);
}

void qTblViewScript::onUpdateLongPressLabel()
{
    const tableLongPressAction action = pressedAction();
    if (action == LONG_PRESS_EDIT || action == LONG_PRESS_NONE)
        return;
    const int nRemaining = longPressRemainingSeconds(nLongPressTime, elapsedSincePress());
    lblLongPress->setText(nRemaining > 0 ? holdText(action, QString::number(nRemaining)) : releaseText(action));
}

void qTblViewScript::mouseReleaseEvent(QMouseEvent *event)
{
    dlgLongPress->hide();
    timerLongPress.stop();
    // The second press of a double-click goes to the double-click handling,
    // so its release is measured from the first press.
    if (nTimePressed >= 0 && isLongPress(nLongPressTime, elapsedSincePress())) {
        // No clicked() or activated() for a long press: the base handling is
        // skipped on purpose.
        emit longPressEvent(indexAt(event->pos()));
        return;
    }
    QTableView::mouseReleaseEvent(event);
}
