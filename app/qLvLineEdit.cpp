#include "app/qLvLineEdit.h"

#include <QFocusEvent>
#include <QKeyEvent>

qLvLineEdit::qLvLineEdit(QWidget *parent)
    : QLineEdit(parent)
{
}

qLvLineEdit::~qLvLineEdit() = default;

void qLvLineEdit::setKeyboardMode(int nMode)
{
    nKeyboardMode = nMode;
}

void qLvLineEdit::focusInEvent(QFocusEvent *e)
{
    QLineEdit::focusInEvent(e);

    const bool bPreset = bPresetPending;
    bPresetPending = false;

    if (nKeyboardMode == KEYBOARD_FULL || nKeyboardMode == KEYBOARD_KEYPAD) {
        if (nKeyboardMode == KEYBOARD_KEYPAD && bPreset && !strSavedText.isEmpty())
            setText(strSavedText);
        strSavedText = text();
        keyboard.start(nKeyboardMode,
                       lineEditKeyboardPos(nKeyboardMode, mapToGlobal(QPoint(0, 0)), size()));
        selectAll();
    }
    emit focussed(true);
}

void qLvLineEdit::focusOutEvent(QFocusEvent *e)
{
    QLineEdit::focusOutEvent(e);
    if (nKeyboardMode != KEYBOARD_NONE)
        keyboard.end();
    emit focussed(false);
}

void qLvLineEdit::keyReleaseEvent(QKeyEvent *e)
{
    QLineEdit::keyReleaseEvent(e);
    if (nKeyboardMode == KEYBOARD_NONE)
        return;

    switch (e->key()) {
    case Qt::Key_Down:
    case Qt::Key_Slash:
    case Qt::Key_Escape:
        keyboard.end();
        setText(strSavedText);
        leaveField();
        break;
    case Qt::Key_Return:
        keyboard.end();
        leaveField();
        break;
    default:
        break;
    }
}

void qLvLineEdit::leaveField()
{
    if (QWidget *pParent = parentWidget())
        pParent->setFocus(Qt::OtherFocusReason);
    else
        clearFocus();
}
