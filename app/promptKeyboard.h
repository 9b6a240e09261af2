#ifndef PROMPTKEYBOARD_H
#define PROMPTKEYBOARD_H

#include "app/onScreenKeyboard.h"

#include <QObject>

class QLineEdit;

// The full on-screen keyboard for the text field of a standard dialog (a
// password prompt, the name field of a file dialog), which is a plain line
// edit and not a touch field: shown while the field has the focus, beside the
// prompt where the screen leaves room (else beside the field), and ended when
// the field loses it, when the dialog closes and when the field goes away.
// Nothing else of the field changes (no saved text, no keys).
class promptKeyboard : public QObject
{
    Q_OBJECT

public:
    // Attach before the dialog is shown; lives as a child of the field.
    static promptKeyboard *attach(QLineEdit *pField);

protected:
    bool eventFilter(QObject *pWatched, QEvent *pEvent) override;

private:
    explicit promptKeyboard(QLineEdit *pField);

    QLineEdit *pField;
    onScreenKeyboard keyboard;
};

#endif // PROMPTKEYBOARD_H
