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
        keyboard.startBeside(nKeyboardMode, this);
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

void qLvLineEdit::keyPressEvent(QKeyEvent *e)
{
    QLineEdit::keyPressEvent(e);
    // A cancel key cancels this field's entry at its release; its press must
    // not also reach a dialog around the field, which would close and drop
    // what was typed into its other fields.
    if (isKeyboardCancelKey(nKeyboardMode, e->key()))
        e->accept();
}

void qLvLineEdit::keyReleaseEvent(QKeyEvent *e)
{
    QLineEdit::keyReleaseEvent(e);
    if (nKeyboardMode == KEYBOARD_NONE)
        return;

    if (isKeyboardCancelKey(nKeyboardMode, e->key())) {
        keyboard.end();
        setText(strSavedText);
        leaveField();
    } else if (e->key() == Qt::Key_Return) {
        keyboard.end();
        leaveField();
    }
}

void qLvLineEdit::leaveField()
{
    if (QWidget *pParent = parentWidget())
        pParent->setFocus(Qt::OtherFocusReason);
    else
        clearFocus();
}
