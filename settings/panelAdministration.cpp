#include "settings/panelAdministration.h"

#include "app/panelFileDialog.h"
#include "app/promptKeyboard.h"
#include "app/qlvMessageBox.h"
#include "settings/busyTask.h"
#include "settings/panelAdminCommands.h"
#include "settings/panelUpdate.h"
#include "settings/settingsTransfer.h"
#include "valve/settingsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QInputDialog>

#include <memory>

namespace {

QString tr(const char *pszText)
{
    return QCoreApplication::translate("formSettingsTab", pszText);
}

QString workingDir()
{
    return QDir::currentPath();
}

processRunner::result runBusy(QWidget *pParent, const QString &strText, const processRunner::request &req)
{
    processRunner::result res;
    busyTask::run(pParent, strText, [&res, req] { res = processRunner::instance().run(req); });
    return res;
}

// One password prompt; empty when cancelled or left empty.
QString askPassword(QWidget *pParent, const QString &strTitle, const QString &strLabel)
{
    const std::unique_ptr<QInputDialog> pDlg(panelAdministration::makePasswordPrompt(pParent, strTitle, strLabel));
    return pDlg->exec() == QDialog::Accepted ? pDlg->textValue() : QString();
}

} // namespace

panelAdministration::fileDialogSpec panelAdministration::teachInChoiceDialog()
{
    return {QStringLiteral("Choose Data File"), workingDir() + QStringLiteral("/teachIn/"),
            QStringLiteral("*.kfxteachin"), QFileDialog::ExistingFile, QFileDialog::AcceptOpen};
}

panelAdministration::fileDialogSpec panelAdministration::teachInExportDialog()
{
    // Opens in the update folder below the working directory (where a USB
    // stick is usually mounted on the panel), not in a folder that does not
    // exist there.
    return {tr("Choose Update File"), workingDir() + QStringLiteral("/update/"), QStringLiteral("*.kfxupdate"),
            QFileDialog::AnyFile, QFileDialog::AcceptSave};
}

panelAdministration::fileDialogSpec panelAdministration::updatePackageDialog()
{
    return {tr("Choose Update File"), workingDir() + QStringLiteral("/update/"), QStringLiteral("*.kfxupdate"),
            QFileDialog::ExistingFile, QFileDialog::AcceptOpen};
}

panelAdministration::fileDialogSpec panelAdministration::shellScriptDialog()
{
    return {QStringLiteral("Choose Sehll Script File"), workingDir() + QStringLiteral("/shell-scripts/"), QString(),
            QFileDialog::ExistingFile, QFileDialog::AcceptOpen};
}

panelAdministration::fileDialogSpec panelAdministration::settingsExportDialog()
{
    return {QStringLiteral("Choose Settings File"), workingDir() + QStringLiteral("/teachIn/"), QStringLiteral("*.*"),
            QFileDialog::AnyFile, QFileDialog::AcceptSave};
}

panelAdministration::fileDialogSpec panelAdministration::settingsImportDialog()
{
    return {QStringLiteral("Choose Settings File"), workingDir() + QStringLiteral("/teachIn/"), QStringLiteral("*.*"),
            QFileDialog::AnyFile, QFileDialog::AcceptOpen};
}

QFileDialog *panelAdministration::makeFileDialog(QWidget *pTab, const fileDialogSpec &spec)
{
    QFileDialog *pDlg = makePanelFileDialog(pTab, spec.strCaption, spec.strFolder, spec.strFilter);
    pDlg->setFileMode(spec.eFileMode);
    pDlg->setAcceptMode(spec.eAcceptMode);
    return pDlg;
}

QInputDialog *panelAdministration::makePasswordPrompt(QWidget *pParent, const QString &strTitle,
                                                      const QString &strLabel)
{
    // What QInputDialog::getText builds for a password, with the on-screen
    // keyboard for its field.
    auto *pDlg = new QInputDialog(pParent, Qt::FramelessWindowHint);
    pDlg->setWindowTitle(strTitle);
    pDlg->setLabelText(strLabel);
    pDlg->setTextValue(QString());
    pDlg->setTextEchoMode(QLineEdit::Password);
    if (auto *pField = pDlg->findChild<QLineEdit *>())
        promptKeyboard::attach(pField);
    return pDlg;
}

QString panelAdministration::chooseFile(QWidget *pTab, const fileDialogSpec &spec)
{
    const std::unique_ptr<QFileDialog> pDlg(makeFileDialog(pTab, spec));
    if (pDlg->exec() != QDialog::Accepted)
        return QString();
    const QStringList files = pDlg->selectedFiles();
    return files.isEmpty() ? QString() : files.first();
}

void panelAdministration::showBox(QWidget *pParent, const QString &strText, const QString &strInformation)
{
    qlvMessageBox msgBox(pParent);
    msgBox.setText(strText);
    msgBox.setInformativeText(strInformation);
    msgBox.setStandardButtons(QMessageBox::Ok);
    msgBox.setDefaultButton(QMessageBox::Ok);
    msgBox.exec();
}

QString panelAdministration::chooseTeachIn(QWidget *pTab)
{
    return chooseFile(pTab, teachInChoiceDialog());
}

void panelAdministration::exportTeachIn(QWidget *pTab, QWidget *pBoxParent, const QString &strTeachInName)
{
    const QString strTarget = chooseFile(pTab, teachInExportDialog());
    if (strTarget.isEmpty())
        return;
    const QString strSource = workingDir() + QStringLiteral("/teachIn/") + strTeachInName + QStringLiteral(".kfxteachin");
    const processRunner::result res =
        runBusy(pTab, tr("Copying..."), panelAdminCommands::copy(strSource, strTarget));
    if (!panelAdminCommands::copySucceeded(res))
        showBox(pBoxParent, tr("Export failed"), tr("The teach-in file could not be copied."));
}

bool panelAdministration::installUpdate(QWidget *pTab, QWidget *pBoxParent)
{
    const QString strPackage = chooseFile(pTab, updatePackageDialog());
    if (strPackage.isEmpty())
        return false;
    panelUpdate::outcome res;
    busyTask::run(pTab, tr("Installing the update..."), [&res, strPackage] {
        res = panelUpdate::install(strPackage, panelUpdate::defaultFolder(), processRunner::instance());
    });
    if (!res.succeeded()) {
        showBox(pBoxParent, tr("Updagte failed"), tr("The update failed.") + QLatin1Char('\n') + panelUpdate::failureReason(res));
        return false;
    }
    showBox(pBoxParent, tr("Updagte ready"), tr("The update worked. Rebooting..."));
    settingsStore settings;
    settings.setValue(settingKey::UpdateCleanup, QCoreApplication::applicationFilePath());
    // On disk before the reboot is asked for.
    settings.sync();
    return true;
}

void panelAdministration::changeSambaPassword(QWidget *pTab, QWidget *pBoxParent)
{
    const QString strPassword = askPassword(pBoxParent, tr("Password"), tr("Enter new Samba Password"));
    if (strPassword.isEmpty())
        return;
    const QString strRetyped = askPassword(pBoxParent, tr("Retype Password"), tr("Retype new Samba Password"));
    if (strRetyped.isEmpty())
        return;
    if (strPassword != strRetyped) {
        showBox(pBoxParent, tr("Password not changed"), tr("The password was not retyped correctly."));
        return;
    }
    if (!panelAdminCommands::isPasswordAcceptable(strPassword)) {
        showBox(pBoxParent, tr("Password not changed"), tr("The password must not contain control characters."));
        return;
    }
    const processRunner::result res =
        runBusy(pTab, tr("Changing the password..."), panelAdminCommands::sambaPassword(workingDir(), strPassword));
    if (panelAdminCommands::panelScriptSucceeded(res))
        showBox(pBoxParent, tr("Password changed"), tr("The password was successfully changed."));
    else if (panelAdminCommands::sudoRefused(res))
        showBox(pBoxParent, tr("Password not changed"),
                tr("The password was not changed.") + QLatin1Char('\n') + panelAdminCommands::sudoMessage(res));
    else
        showBox(pBoxParent, tr("Password not changed"), tr("The password was not changed."));
}

void panelAdministration::executeShellScript(QWidget *pTab, QWidget *pBoxParent)
{
    const QString strScript = chooseFile(pTab, shellScriptDialog());
    if (strScript.isEmpty())
        return;
    const processRunner::result res =
        runBusy(pTab, tr("Running the shell script..."), panelAdminCommands::shellScript(strScript));
    if (panelAdminCommands::shellScriptExecuted(res))
        showBox(pBoxParent, tr("Shell Script executed"),
                tr("The shell script %1 was executed. Return Code: %2").arg(strScript).arg(res.nExitCode));
    else
        showBox(pBoxParent, tr("Error: Shell Script not executed"),
                tr("Error: The shell script %1 was not executed. Return Code: %2").arg(strScript).arg(res.nExitCode));
}

void panelAdministration::exportSettings(QWidget *pTab, QWidget *pBoxParent)
{
    const QString strFile = chooseFile(pTab, settingsExportDialog());
    if (strFile.isEmpty())
        return;
    settingsStore settings;
    const settingsTransfer::status eStatus = settingsTransfer::exportTo(settings.store(), strFile);
    if (eStatus != settingsTransfer::OK)
        showBox(pBoxParent, tr("Settings not exported"), settingsTransfer::message(eStatus));
}

bool panelAdministration::importSettings(QWidget *pTab, QWidget *pBoxParent, QStringList *pImported)
{
    const QString strFile = chooseFile(pTab, settingsImportDialog());
    if (strFile.isEmpty())
        return false;
    settingsStore settings;
    const settingsTransfer::status eStatus = settingsTransfer::importFrom(strFile, settings.store(), pImported);
    if (eStatus != settingsTransfer::OK) {
        showBox(pBoxParent, tr("Settings not imported"), settingsTransfer::message(eStatus));
        return false;
    }
    return true;
}
