#ifndef QLVTEXTEDIT_H
#define QLVTEXTEDIT_H

#include "app/onScreenKeyboard.h"

#include <QByteArray>
#include <QPlainTextEdit>

class QFocusEvent;
class QKeyEvent;

// Terminal pane for the touch panel: every typed key is shown and also sent
// out as bytes; Backspace and the arrow keys are dropped because a terminal
// line cannot be edited after it was sent. Shows the on-screen keyboard while
// it has the focus.
class qLvTextEdit : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit qLvTextEdit(QWidget *parent = nullptr);
    ~qLvTextEdit() override;

    void setKeyboardMode(int nMode);
    int keyboardMode() const { return nKeyboardMode; }

signals:
    void focussed(bool bHasFocus);
    void sendData(QByteArray data);

public slots:
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;

protected:
    void keyPressEvent(QKeyEvent *e) override;
    void keyReleaseEvent(QKeyEvent *e) override;

private:
    onScreenKeyboard keyboard;
    int nKeyboardMode = KEYBOARD_FULL;
};

#endif // QLVTEXTEDIT_H
