#ifndef PLANNEDANSWERER_H
#define PLANNEDANSWERER_H

#include "modalAnswerer.h"

#include <QAbstractItemView>
#include <QFileDialog>
#include <QHash>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

// Answers every modal dialog from planned answers, on top of modalAnswerer
// (which retries a lost answer and fails a dialog that stays open): file
// dialogs take the next planned path (an empty one cancels), text prompts the
// next planned text (a null one cancels), message boxes their default button.
// Records what it saw. Other dialogs (a busy note) are left to close by
// themselves.
class plannedAnswerer : public QObject
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

    plannedAnswerer()
        : answerer([this](QWidget *pWidget) { act(pWidget); }, modalAnswerer::MODAL, modalAnswerer::EVERY_ONE)
    {
        answerer.onFirstSight = [this](QWidget *pWidget) { firstSight(pWidget); };
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
    // The record and the choice of answer happen once per dialog; a retried
    // answer gives the same one again.
    void firstSight(QWidget *pWidget)
    {
        if (auto *pFile = qobject_cast<QFileDialog *>(pWidget)) {
            seen << QStringLiteral("file:") + pFile->windowTitle();
            strFileFolder = pFile->directory().absolutePath();
            eFileMode = pFile->fileMode();
            eAcceptMode = pFile->acceptMode();
            fileGeometry = pFile->geometry();
            bFileFrameless = pFile->windowFlags().testFlag(Qt::FramelessWindowHint);
            bFileNative = !pFile->testOption(QFileDialog::DontUseNativeDialog);
            chosen.insert(pWidget, files.isEmpty() ? QString() : files.takeFirst());
        } else if (auto *pInput = qobject_cast<QInputDialog *>(pWidget)) {
            seen << QStringLiteral("input:") + pInput->labelText();
            eLastEcho = pInput->textEchoMode();
            chosen.insert(pWidget, inputs.isEmpty() ? QString() : inputs.takeFirst());
        } else if (auto *pBox = qobject_cast<QMessageBox *>(pWidget)) {
            seen << QStringLiteral("box:") + pBox->text() + QLatin1Char('|') + pBox->informativeText();
        }
    }

    void act(QWidget *pWidget)
    {
        if (auto *pFile = qobject_cast<QFileDialog *>(pWidget)) {
            const QString strPath = chosen.value(pWidget);
            if (strPath.isEmpty()) {
                pFile->reject();
                return;
            }
            // Typed into the name field, as the operator would; the view's
            // selection is cleared so only the typed path counts.
            if (auto *pView = pFile->findChild<QAbstractItemView *>(QStringLiteral("listView")))
                pView->clearSelection();
            if (auto *pEdit = pFile->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
                pEdit->setText(strPath);
            // Past the overwrite question a real save would ask.
            static_cast<QDialog *>(pFile)->done(QDialog::Accepted);
        } else if (auto *pInput = qobject_cast<QInputDialog *>(pWidget)) {
            const QString strText = chosen.value(pWidget);
            if (strText.isNull()) {
                pInput->reject();
                return;
            }
            pInput->setTextValue(strText);
            pInput->done(QDialog::Accepted);
        } else if (auto *pBox = qobject_cast<QMessageBox *>(pWidget)) {
            QAbstractButton *pButton = pBox->defaultButton();
            if (!pButton && !pBox->buttons().isEmpty())
                pButton = pBox->buttons().first();
            if (pButton)
                pButton->click();
        }
    }

    // By address, set anew at every first sight: a later dialog may be built
    // where a finished one was.
    QHash<QWidget *, QString> chosen;
    modalAnswerer answerer;
};

#endif // PLANNEDANSWERER_H
