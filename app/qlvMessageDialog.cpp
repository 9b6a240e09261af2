#include "app/qlvMessageDialog.h"

#include "ui_qlvMessageDialog.h"

qlvMessageDialog::qlvMessageDialog(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui_qlvMessageDialog)
{
    ui->setupUi(this);
    // Qt::Dialog keeps it a window of its own when it has a parent; without
    // the type flag a parented dialog would be drawn inside the parent.
    setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::FramelessWindowHint);
}

qlvMessageDialog::~qlvMessageDialog()
{
    delete ui;
}
