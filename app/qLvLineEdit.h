#ifndef QLVLINEEDIT_H
#define QLVLINEEDIT_H

#include "app/onScreenKeyboard.h"

#include <QLineEdit>

class QFocusEvent;
class QKeyEvent;

// One-line input field for the touch panel: shows the on-screen keyboard while
// it has the focus; the cancel keys (isKeyboardCancelKey) bring back the text
// saved at focus-in, Return accepts; both hand the focus back to the parent
// widget.
class qLvLineEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit qLvLineEdit(QWidget *parent = nullptr);
    ~qLvLineEdit() override;

    // The text saved at the last focus-in, put back by the cancel keys. An
    // owner may preset it right after creating the field: a keypad field then
    // shows the preset at its first focus-in.
    QString strSavedText;

    // A keyboardMode value; takes effect at the next focus-in, focus-out or
    // key release.
    void setKeyboardMode(int nMode);
    int keyboardMode() const { return nKeyboardMode; }

signals:
    void focussed(bool bHasFocus);

public slots:
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;

protected:
    void keyPressEvent(QKeyEvent *e) override;
    void keyReleaseEvent(QKeyEvent *e) override;

private:
    void leaveField();

    onScreenKeyboard keyboard;
    int nKeyboardMode = KEYBOARD_FULL;
    // Only the first focus-in may restore an owner's preset; later ones would
    // silently revert what was typed or set since.
    bool bPresetPending = true;
};

#endif // QLVLINEEDIT_H
