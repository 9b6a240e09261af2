#include "app/labelWidthReserve.h"

#include <QEvent>
#include <QLabel>
#include <QLayout>
#include <QStyle>

QMargins labelTextIndent(const QLabel *pLabel)
{
    const int m = pLabel->margin();
    const int nIndent = pLabel->indent() < 0 && pLabel->frameWidth() > 0
                            ? pLabel->fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2 - m
                            : pLabel->indent();
    QMargins indent;
    if (nIndent <= 0)
        return indent;
    const Qt::Alignment align = QStyle::visualAlignment(pLabel->layoutDirection(), pLabel->alignment());
    if (align & Qt::AlignLeft)
        indent.setLeft(nIndent);
    if (align & Qt::AlignRight)
        indent.setRight(nIndent);
    if (align & Qt::AlignTop)
        indent.setTop(nIndent);
    if (align & Qt::AlignBottom)
        indent.setBottom(nIndent);
    return indent;
}

namespace {

// What a label keeps free around its text: frame, style-sheet border and
// padding, margins and indent.
QMargins roomAroundText(const QLabel *pLabel)
{
    const QRect rectContents = pLabel->contentsRect();
    const int m = pLabel->margin();
    const QMargins around(rectContents.left() + m, rectContents.top() + m,
                          pLabel->width() - rectContents.right() - 1 + m, pLabel->height() - rectContents.bottom() - 1 + m);
    return around + labelTextIndent(pLabel);
}

} // namespace

labelWidthReserve::labelWidthReserve(QLabel *pLabel, const QString &strWidest, const QWidget *pFieldBehind,
                                     int nLines, QWidget *pHolder)
    : QObject(pLabel)
    , pLabel(pLabel)
    , strWidest(strWidest)
    , pFieldBehind(pFieldBehind)
    , nLines(nLines)
    , pHolder(pHolder)
{
}

void labelWidthReserve::reserve(QLabel *pLabel, const QString &strWidest, const QWidget *pFieldBehind)
{
    install(new labelWidthReserve(pLabel, strWidest, pFieldBehind, 0, nullptr));
}

void labelWidthReserve::reserveLines(QLabel *pLabel, int nLines, QWidget *pHolder)
{
    install(new labelWidthReserve(pLabel, QString(), nullptr, nLines, pHolder));
}

void labelWidthReserve::install(labelWidthReserve *pReserve)
{
    pReserve->pLabel->installEventFilter(pReserve);
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
    if (nLines > 0)
        applyLines();
    else
        applyWidth();
}

void labelWidthReserve::applyWidth()
{
    const QMargins around = roomAroundText(pLabel);
    // The label lays its text out in this rectangle, which may be a pixel
    // wider than the sum of the advances.
    const int nText = pLabel->fontMetrics().boundingRect(QRect(0, 0, 10000, 1000), Qt::AlignLeft | Qt::AlignTop, strWidest).width();
    const int nWidth = nText + around.left() + around.right();
    if (pLabel->minimumWidth() != nWidth)
        pLabel->setMinimumWidth(nWidth);
    // The field behind would paint over the caption's end.
    if (pFieldBehind && pLabel->geometry().right() >= pFieldBehind->x())
        pLabel->move(qMax(0, pFieldBehind->x() - pLabel->width()), pLabel->y());
}

void labelWidthReserve::applyLines()
{
    const QMargins around = roomAroundText(pLabel);
    QStringList lines;
    for (int i = 0; i < nLines; ++i)
        lines << QStringLiteral("X");
    const QString strLines = lines.join(QLatin1Char('\n'));
    const int nText = pLabel->fontMetrics().boundingRect(QRect(0, 0, 10000, 10000), Qt::AlignLeft | Qt::AlignTop, strLines).height();
    // Never beyond what the holder may grow to: the first lines stay in view
    // at the top of what there is.
    const int nHeight = qMin(nText + around.top() + around.bottom(), pHolder ? pHolder->maximumHeight() : QWIDGETSIZE_MAX);
    if (pLabel->minimumHeight() != nHeight)
        pLabel->setMinimumHeight(nHeight);
    if (pHolder && pHolder->layout()) {
        const int nHolder = qMin(pHolder->layout()->minimumSize().height(), pHolder->maximumHeight());
        if (pHolder->minimumHeight() < nHolder)
            pHolder->setMinimumHeight(nHolder);
    }
}
