#ifndef MODALANSWERER_H
#define MODALANSWERER_H

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

// Answers the modal dialogs of the administration as they come up: file
// dialogs and text prompts from planned answers (an empty path or a null text
// cancels), message boxes with their default button. Records what it saw.
// Polls until each dialog is gone; a dialog without a planned answer is
// cancelled, so a test never hangs on it.
class modalAnswerer : public QObject
{
public:
    QStringList files;   // planned answers of file dialogs
    QStringList inputs;  // planned answers of text prompts
    QStringList seen;    // "file:<caption>", "input:<label>", "box:<text>|<informative>"
    // Geometry and modes of the last file dialog.
    QString strFileFolder;
    QFileDialog::FileMode eFileMode = QFileDialog::AnyFile;
    QFileDialog::AcceptMode eAcceptMode = QFileDialog::AcceptOpen;
    QRect fileGeometry;
    bool bFileFrameless = false;
    bool bFileNative = true;
    QLineEdit::EchoMode eLastEcho = QLineEdit::Normal;

    modalAnswerer()
    {
        connect(&poll, &QTimer::timeout, this, [this] { answer(); });
        poll.start(20);
    }

    QStringList boxes() const
    {
        QStringList out;
        for (const QString &s : seen)
            if (s.startsWith(QLatin1String("box:")))
                out << s.mid(4);
        return out;
    }

private:
    void answer()
    {
        QWidget *pModal = QApplication::activeModalWidget();
        if (!pModal || pModal == pHandled)
            return;
        if (auto *pFile = qobject_cast<QFileDialog *>(pModal)) {
            pHandled = pModal;
            seen << QStringLiteral("file:") + pFile->windowTitle();
            strFileFolder = pFile->directory().absolutePath();
            eFileMode = pFile->fileMode();
            eAcceptMode = pFile->acceptMode();
            fileGeometry = pFile->geometry();
            bFileFrameless = pFile->windowFlags().testFlag(Qt::FramelessWindowHint);
            bFileNative = !pFile->testOption(QFileDialog::DontUseNativeDialog);
            const QString strPath = files.isEmpty() ? QString() : files.takeFirst();
            if (strPath.isEmpty()) {
                pFile->reject();
            } else {
                // Typed into the name field, as the operator would; the view's
                // selection is cleared so only the typed path counts.
                if (auto *pView = pFile->findChild<QAbstractItemView *>(QStringLiteral("listView")))
                    pView->clearSelection();
                if (auto *pEdit = pFile->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
                    pEdit->setText(strPath);
                // Past the overwrite question a real save would ask.
                static_cast<QDialog *>(pFile)->done(QDialog::Accepted);
            }
        } else if (auto *pInput = qobject_cast<QInputDialog *>(pModal)) {
            pHandled = pModal;
            seen << QStringLiteral("input:") + pInput->labelText();
            eLastEcho = pInput->textEchoMode();
            const QString strText = inputs.isEmpty() ? QString() : inputs.takeFirst();
            if (strText.isNull()) {
                pInput->reject();
            } else {
                pInput->setTextValue(strText);
                pInput->done(QDialog::Accepted);
            }
        } else if (auto *pBox = qobject_cast<QMessageBox *>(pModal)) {
            pHandled = pModal;
            seen << QStringLiteral("box:") + pBox->text() + QLatin1Char('|') + pBox->informativeText();
            QAbstractButton *pButton = pBox->defaultButton();
            if (!pButton && !pBox->buttons().isEmpty())
                pButton = pBox->buttons().first();
            if (pButton)
                pButton->click();
        }
    }

    QTimer poll;
    // Guarded: a later dialog may be built where a finished one was.
    QPointer<QWidget> pHandled;
};

#endif // MODALANSWERER_H
