#ifndef QLVMESSAGEBOX_H
#define QLVMESSAGEBOX_H

#include <QMessageBox>

// The message box of the whole system: frameless, on top of everything, dark.
// It is a real modal dialog window, so the window behind it cannot be used
// while a question is open.
class qlvMessageBox : public QMessageBox
{
    Q_OBJECT

public:
    explicit qlvMessageBox(QWidget *parent = nullptr);

    // The dark style sheet the box applies to itself.
    static QString styleSheetText();

protected:
    void showEvent(QShowEvent *pEvent) override;

private:
    // A text taller than the window behind the box scrolls in a field of the
    // height that is left, instead of pushing the buttons off the screen.
    void fitTextHeight();
};

#endif // QLVMESSAGEBOX_H
