#include "app/qLvTextEdit.h"

#include <QFocusEvent>
#include <QKeyEvent>

qLvTextEdit::qLvTextEdit(QWidget *parent)
    : QPlainTextEdit(parent)
{
}

qLvTextEdit::~qLvTextEdit() = default;

void qLvTextEdit::setKeyboardMode(int nMode)
{
    nKeyboardMode = nMode;
}

void qLvTextEdit::keyPressEvent(QKeyEvent *e)
{
    switch (e->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Down:
        e->accept();
        return;
    default:
        break;
    }
    QPlainTextEdit::keyPressEvent(e);
    emit sendData(e->text().toLocal8Bit());
}

void qLvTextEdit::keyReleaseEvent(QKeyEvent *e)
{
    QPlainTextEdit::keyReleaseEvent(e);
    if (!isKeyboardCancelKey(nKeyboardMode, e->key()))
        return;
    keyboard.end();
    if (QWidget *pParent = parentWidget())
        pParent->setFocus(Qt::OtherFocusReason);
    else
        clearFocus();
}

void qLvTextEdit::focusInEvent(QFocusEvent *e)
{
    QPlainTextEdit::focusInEvent(e);
    if (nKeyboardMode == KEYBOARD_FULL || nKeyboardMode == KEYBOARD_KEYPAD)
        keyboard.startBeside(nKeyboardMode, this);
    emit focussed(true);
}

void qLvTextEdit::focusOutEvent(QFocusEvent *e)
{
    QPlainTextEdit::focusOutEvent(e);
    keyboard.end();
    emit focussed(false);
}
