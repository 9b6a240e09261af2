#include "script/cmbBoxItem.h"

#include "app/onScreenKeyboard.h"
#include "app/qLvLineEdit.h"
#include "script/scriptCommandType.h"
#include "script/scriptListRules.h"

#include <QComboBox>
#include <QIntValidator>

namespace {

enum { COLUMN_KEYWORD = 0, COLUMN_VALUE = 1, COLUMN_REPEAT = 2, COLUMN_NAME = 2 };

// The order of the keyword list: MEASOPEN before MEASCLOSE, unlike their
// numbers.
const int keywordOrder[scriptCommandTypeCount] = {CMD_GOTOPOS, CMD_GOTOREL, CMD_GOTOCMD,  CMD_GOTODATA, CMD_WAIT,
                                                  CMD_MEAS,    CMD_MEASOPEN, CMD_MEASCLOSE, CMD_SAVE};

qLvLineEdit *touchField(QWidget *parent, int nMode, const QModelIndex &index)
{
    auto *pField = new qLvLineEdit(parent);
    pField->setKeyboardMode(nMode);
    pField->strSavedText = index.data(Qt::DisplayRole).toString();
    return pField;
}

} // namespace

cmbBoxItem::cmbBoxItem(QObject *parent)
    : QItemDelegate(parent)
    , bScriptTable(false)
{
}

QWidget *cmbBoxItem::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                  const QModelIndex &index) const
{
    if (bScriptTable) {
        if (index.column() == COLUMN_NAME)
            return touchField(parent, KEYBOARD_FULL, index);
        return QItemDelegate::createEditor(parent, option, index);
    }
    switch (index.column()) {
    case COLUMN_KEYWORD: {
        auto *pCombo = new QComboBox(parent);
        for (const int nType : keywordOrder)
            pCombo->addItem(scriptKeyword(nType));
        const int nCurrent = pCombo->findText(index.data(Qt::DisplayRole).toString());
        if (nCurrent >= 0)
            pCombo->setCurrentIndex(nCurrent);
        return pCombo;
    }
    case COLUMN_VALUE: {
        qLvLineEdit *pField = touchField(parent, KEYBOARD_KEYPAD, index);
        pField->setValidator(new QIntValidator(scriptValueMin, scriptValueMax, pField));
        return pField;
    }
    case COLUMN_REPEAT: {
        qLvLineEdit *pField = touchField(parent, KEYBOARD_KEYPAD, index);
        pField->setValidator(new QIntValidator(scriptRepeatMin, scriptRepeatMax, pField));
        return pField;
    }
    default:
        return QItemDelegate::createEditor(parent, option, index);
    }
}
