#include "app/panelFileDialog.h"

#include "app/promptKeyboard.h"

#include <QFileDialog>
#include <QLineEdit>

QFileDialog *makePanelFileDialog(QWidget *pParent, const QString &strCaption, const QString &strFolder,
                                 const QString &strFilter)
{
    auto *pDialog = new QFileDialog(pParent, strCaption, strFolder, strFilter);
    pDialog->setWindowFlags(pDialog->windowFlags() | Qt::FramelessWindowHint);
    pDialog->setGeometry(20, 20, 340, 260);
    pDialog->setOption(QFileDialog::DontUseNativeDialog);
    if (auto *pName = pDialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
        promptKeyboard::attach(pName);
    return pDialog;
}
