#include "app/labelWidthReserve.h"

#include <QEvent>
#include <QLabel>

labelWidthReserve::labelWidthReserve(QLabel *pLabel, const QString &strWidest, const QWidget *pFieldBehind)
    : QObject(pLabel)
    , pLabel(pLabel)
    , strWidest(strWidest)
    , pFieldBehind(pFieldBehind)
{
}

void labelWidthReserve::reserve(QLabel *pLabel, const QString &strWidest, const QWidget *pFieldBehind)
{
    auto *pReserve = new labelWidthReserve(pLabel, strWidest, pFieldBehind);
    pLabel->installEventFilter(pReserve);
    pReserve->apply();
}

bool labelWidthReserve::eventFilter(QObject *pWatched, QEvent *pEvent)
{
    if (pWatched == pLabel
        && (pEvent->type() == QEvent::Polish || pEvent->type() == QEvent::FontChange
            || pEvent->type() == QEvent::StyleChange))
        apply();
    return false;
}

void labelWidthReserve::apply()
{
    // Frame, style-sheet border and padding, and the label's margins.
    const int nAround = pLabel->width() - pLabel->contentsRect().width() + 2 * pLabel->margin();
    // The label lays its text out in this rectangle, which may be a pixel
    // wider than the sum of the advances.
    const int nText = pLabel->fontMetrics().boundingRect(QRect(0, 0, 10000, 1000), Qt::AlignLeft | Qt::AlignTop, strWidest).width();
    const int nWidth = nText + nAround;
    if (pLabel->minimumWidth() != nWidth)
        pLabel->setMinimumWidth(nWidth);
    // The field behind would paint over the caption's end.
    if (pFieldBehind && pLabel->geometry().right() >= pFieldBehind->x())
        pLabel->move(qMax(0, pFieldBehind->x() - pLabel->width()), pLabel->y());
}
