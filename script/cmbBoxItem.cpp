#include "script/cmbBoxItem.h"

#include "app/comboWidthFit.h"
#include "app/onScreenKeyboard.h"
#include "app/qLvLineEdit.h"
#include "script/scriptCommandType.h"
#include "script/scriptListRules.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QIntValidator>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QtMath>

#include <memory>

namespace {

enum { COLUMN_KEYWORD = 0, COLUMN_VALUE = 1, COLUMN_REPEAT = 2, COLUMN_NAME = 2 };

// The order of the keyword list: MEASOPEN before MEASCLOSE, unlike their
// numbers.
const int keywordOrder[scriptCommandTypeCount] = {CMD_GOTOPOS, CMD_GOTOREL, CMD_GOTOCMD,  CMD_GOTODATA, CMD_WAIT,
                                                  CMD_MEAS,    CMD_MEASOPEN, CMD_MEASCLOSE, CMD_SAVE};

qLvLineEdit *touchField(QWidget *parent, int nMode)
{
    auto *pField = new qLvLineEdit(parent);
    pField->setKeyboardMode(nMode);
    return pField;
}

qLvLineEdit *numberField(QWidget *parent, int nMin, int nMax)
{
    qLvLineEdit *pField = touchField(parent, KEYBOARD_KEYPAD);
    pField->setValidator(new QIntValidator(nMin, nMax, pField));
    return pField;
}

// The texts a command cell shows at their widest: every keyword, the ends of
// the value and repeat ranges. A script's name is the operator's own.
QStringList widestTexts(bool bScriptTable, int nColumn)
{
    if (bScriptTable)
        return {};
    switch (nColumn) {
    case COLUMN_KEYWORD: {
        QStringList keywords;
        for (const int nType : keywordOrder)
            keywords << scriptKeyword(nType);
        return keywords;
    }
    case COLUMN_VALUE:
        return {QString::number(scriptValueMin), QString::number(scriptValueMax)};
    case COLUMN_REPEAT:
        return {QString::number(scriptRepeatMin), QString::number(scriptRepeatMax)};
    default:
        return {};
    }
}

// The width a line edit needs to show strText from its first character, with
// room for the cursor behind the last one.
int lineEditWidthFor(const QLineEdit *pEdit, const QString &strText)
{
    QStyleOptionFrame opt;
    opt.initFrom(pEdit);
    opt.rect = QRect(0, 0, 1000, pEdit->sizeHint().height());
    opt.lineWidth = pEdit->hasFrame() ? pEdit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, pEdit) : 0;
    opt.midLineWidth = 0;
    opt.state |= QStyle::State_Sunken;
    const QRect rectContents = pEdit->style()->subElementRect(QStyle::SE_LineEditContents, &opt, pEdit);
    const QMargins margins = pEdit->textMargins();
    // The line edit keeps two pixels free left and right of its text.
    const int nAround = opt.rect.width() - rectContents.width() + margins.left() + margins.right() + 2 * 2;
    return qCeil(QFontMetricsF(pEdit->font()).horizontalAdvance(strText)) + 1 + nAround;
}

// The width a combo box needs to show each of its items whole.
int comboWidthFor(QComboBox *pCombo)
{
    pCombo->resize(1000, pCombo->sizeHint().height());
    const int nAround = pCombo->width() - comboWidthFit::textRoom(pCombo).width();
    return qMax(pCombo->sizeHint().width(), comboWidthFit::widestItem(pCombo) + nAround);
}

} // namespace

cmbBoxItem::cmbBoxItem(QObject *parent)
    : QItemDelegate(parent)
    , bScriptTable(false)
{
}

QWidget *cmbBoxItem::makeEditor(QWidget *parent, int nColumn) const
{
    if (bScriptTable)
        return nColumn == COLUMN_NAME ? touchField(parent, KEYBOARD_FULL) : nullptr;
    switch (nColumn) {
    case COLUMN_KEYWORD: {
        auto *pCombo = new QComboBox(parent);
        pCombo->addItems(widestTexts(false, COLUMN_KEYWORD));
        return pCombo;
    }
    case COLUMN_VALUE:
        return numberField(parent, scriptValueMin, scriptValueMax);
    case COLUMN_REPEAT:
        return numberField(parent, scriptRepeatMin, scriptRepeatMax);
    default:
        return nullptr;
    }
}

QWidget *cmbBoxItem::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                  const QModelIndex &index) const
{
    QWidget *pEditor = makeEditor(parent, index.column());
    if (!pEditor)
        return QItemDelegate::createEditor(parent, option, index);
    const QString strShown = index.data(Qt::DisplayRole).toString();
    if (auto *pCombo = qobject_cast<QComboBox *>(pEditor)) {
        const int nCurrent = pCombo->findText(strShown);
        if (nCurrent >= 0)
            pCombo->setCurrentIndex(nCurrent);
    } else if (auto *pField = qobject_cast<qLvLineEdit *>(pEditor)) {
        pField->strSavedText = strShown;
    }
    return pEditor;
}

int cmbBoxItem::columnWidthNeeded(const QAbstractItemView *pView, int nColumn, int nGrid) const
{
    const QStringList texts = widestTexts(bScriptTable, nColumn);
    if (texts.isEmpty())
        return 0;
    // In its cell: the margins this delegate keeps left and right of a text,
    // and the grid line.
    const int nMargin = pView->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, pView) + 1;
    const QFontMetricsF fm(pView->font());
    int nNeeded = 0;
    for (const QString &strText : texts)
        nNeeded = qMax(nNeeded, qCeil(fm.horizontalAdvance(strText)) + 2 * nMargin + nGrid);

    // In its editor, which covers the cell but for the grid line, at the
    // font and frame the style sheets give it.
    std::unique_ptr<QWidget> pEditor(makeEditor(pView->viewport(), nColumn));
    if (!pEditor)
        return nNeeded;
    pEditor->hide();
    pEditor->ensurePolished();
    if (auto *pCombo = qobject_cast<QComboBox *>(pEditor.get())) {
        nNeeded = qMax(nNeeded, comboWidthFor(pCombo) + nGrid);
    } else if (auto *pEdit = qobject_cast<QLineEdit *>(pEditor.get())) {
        for (const QString &strText : texts)
            nNeeded = qMax(nNeeded, lineEditWidthFor(pEdit, strText) + nGrid);
    }
    return nNeeded;
}
