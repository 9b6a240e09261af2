#ifndef QLVMESSAGEDIALOG_H
#define QLVMESSAGEDIALOG_H

#include <QDialog>

class Ui_qlvMessageDialog;

// A small frameless, stay-on-top dialog with one text and Ok/Cancel.
class qlvMessageDialog : public QDialog
{
    Q_OBJECT

public:
    explicit qlvMessageDialog(QWidget *parent = nullptr);
    ~qlvMessageDialog() override;

private:
    Ui_qlvMessageDialog *ui;
};

#endif // QLVMESSAGEDIALOG_H
