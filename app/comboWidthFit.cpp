#include "app/comboWidthFit.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QStyle>
#include <QStyleOptionComboBox>

namespace {

QRect editField(QStyle *pStyle, const QComboBox *pCombo)
{
    QStyleOptionComboBox opt;
    opt.initFrom(pCombo);
    opt.editable = pCombo->isEditable();
    opt.frame = pCombo->hasFrame();
    opt.subControls = QStyle::SC_All;
    opt.currentText = pCombo->currentText();
    opt.currentIcon = pCombo->itemIcon(pCombo->currentIndex());
    opt.iconSize = pCombo->iconSize();
    // On a touch panel the pointer stays on the box last tapped: the item
    // must fit the hovered box (a wider border in the style sheets) too.
    const QRect rResting = pStyle->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, pCombo);
    opt.state |= QStyle::State_MouseOver;
    const QRect rHovered = pStyle->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, pCombo);
    // The shown item is drawn one pixel in from each side of the field.
    return (rResting & rHovered).adjusted(1, 0, -1, 0);
}

} // namespace

comboWidthFit::comboWidthFit(QComboBox *pCombo)
    : QObject(pCombo)
    , pCombo(pCombo)
{
}

void comboWidthFit::fit(QComboBox *pCombo)
{
    auto *pFit = new comboWidthFit(pCombo);
    pCombo->installEventFilter(pFit);
    connect(pCombo->model(), &QAbstractItemModel::rowsInserted, pFit, &comboWidthFit::apply);
    connect(pCombo->model(), &QAbstractItemModel::dataChanged, pFit, &comboWidthFit::apply);
    pFit->apply();
}

QRect comboWidthFit::textRoom(const QComboBox *pCombo)
{
    QStyle *pStyle = pCombo->style();
    QRect rect = editField(pStyle, pCombo);
    // A widget under a style sheet has the sheet's style; the sheet hands the
    // drawing of the item to the application's style when it pads nothing.
    QStyle *pBase = QApplication::style();
    if (pBase != pStyle && qstrcmp(pStyle->metaObject()->className(), "QStyleSheetStyle") == 0
        && qstrcmp(pBase->metaObject()->className(), "QStyleSheetStyle") != 0)
        rect &= editField(pBase, pCombo);
    return rect;
}

int comboWidthFit::widestItem(const QComboBox *pCombo)
{
    const QFontMetrics fm(pCombo->font());
    int nWidest = 0;
    for (int i = 0; i < pCombo->count(); ++i) {
        int nWidth = fm.boundingRect(QRect(0, 0, 10000, 1000), Qt::AlignLeft | Qt::AlignTop, pCombo->itemText(i)).width();
        if (!pCombo->itemIcon(i).isNull())
            nWidth += pCombo->iconSize().width() + 4;
        nWidest = qMax(nWidest, nWidth);
    }
    return nWidest;
}

bool comboWidthFit::eventFilter(QObject *pWatched, QEvent *pEvent)
{
    if (pWatched == pCombo
        && (pEvent->type() == QEvent::Polish || pEvent->type() == QEvent::FontChange
            || pEvent->type() == QEvent::StyleChange || pEvent->type() == QEvent::Show))
        apply();
    return false;
}

void comboWidthFit::apply()
{
    if (pCombo->isEditable())
        return;
    const int nMissing = widestItem(pCombo) - textRoom(pCombo).width();
    if (nMissing > 0)
        pCombo->setMinimumWidth(pCombo->width() + nMissing);
}
