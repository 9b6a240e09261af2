#include "app/fixedPlaceFit.h"

#include <QEvent>
#include <QLayout>
#include <QWidget>

fixedPlaceFit::fixedPlaceFit(QWidget *pWidget, fitKind eKind)
    : QObject(pWidget)
    , pWidget(pWidget)
    , eKind(eKind)
    , nFormWidth(pWidget->width())
{
}

void fixedPlaceFit::growToLayout(QWidget *pContainer)
{
    auto *pFit = new fixedPlaceFit(pContainer, GROW_TO_LAYOUT);
    pContainer->installEventFilter(pFit);
    pFit->apply();
}

void fixedPlaceFit::keepInsideParent(QWidget *pChild)
{
    auto *pFit = new fixedPlaceFit(pChild, KEEP_INSIDE_PARENT);
    if (pChild->parentWidget())
        pChild->parentWidget()->installEventFilter(pFit);
    pFit->apply();
}

bool fixedPlaceFit::eventFilter(QObject *pWatched, QEvent *pEvent)
{
    switch (pEvent->type()) {
    case QEvent::LayoutRequest:
    case QEvent::Polish:
    case QEvent::FontChange:
    case QEvent::StyleChange:
    case QEvent::Show:
    case QEvent::Resize:
        if (eKind == GROW_TO_LAYOUT ? pWatched == pWidget : pWatched == pWidget->parentWidget())
            apply();
        break;
    default:
        break;
    }
    return false;
}

void fixedPlaceFit::apply()
{
    if (eKind == GROW_TO_LAYOUT) {
        if (!pWidget->layout())
            return;
        const QSize sizeNeeded = pWidget->layout()->minimumSize();
        if (pWidget->width() < sizeNeeded.width() || pWidget->height() < sizeNeeded.height())
            pWidget->resize(pWidget->size().expandedTo(sizeNeeded));
        return;
    }
    const QWidget *pParent = pWidget->parentWidget();
    if (!pParent)
        return;
    const int nWidth = qMax(pWidget->minimumWidth(), qMin(nFormWidth, pParent->width() - pWidget->x()));
    if (nWidth != pWidget->width())
        pWidget->resize(nWidth, pWidget->height());
}
