#include "programBoxes.h"

#include "app/panelFileDialog.h"
#include "app/qlvMessageBox.h"
#include "app/qlvMessageDialog.h"
#include "settings/busyTask.h"
#include "settings/lvSensorDlg.h"
#include "settings/panelAdministration.h"
#include "settings/panelUpdate.h"
#include "settings/settingsTransfer.h"
#include "valve/motorStatus.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QProgressDialog>
#include <QPushButton>

namespace {

QString tr(const char *pszContext, const char *pszText)
{
    return QCoreApplication::translate(pszContext, pszText);
}

struct buttonText
{
    const char *pszText;
    QMessageBox::ButtonRole eRole;
};

// A box the way every part of the program builds it: text, explanation, and
// either standard buttons or buttons of its own.
std::function<QWidget *(QWidget *)> box(const char *pszContext, const char *pszText, QString strInfo,
                                       QMessageBox::StandardButtons buttons,
                                       QList<buttonText> own = {})
{
    const QString strText = tr(pszContext, pszText);
    return [=](QWidget *pParent) -> QWidget * {
        auto *pBox = new qlvMessageBox(pParent);
        pBox->setText(strText);
        pBox->setInformativeText(strInfo);
        if (own.isEmpty()) {
            pBox->setStandardButtons(buttons);
            if (buttons & QMessageBox::No)
                pBox->setDefaultButton(QMessageBox::No);
            else
                pBox->setDefaultButton(QMessageBox::Ok);
        }
        for (const buttonText &b : own)
            pBox->addButton(QCoreApplication::translate(pszContext, b.pszText), b.eRole);
        return pBox;
    };
}

QString remoteText(const char *pszText)
{
    return tr("formRemoteTab", pszText);
}

QString scriptText(const char *pszText)
{
    return tr("formScriptTab", pszText);
}

std::function<QWidget *(QWidget *)> fileDialog(const QString &strCaption, const QString &strFilter, bool bSave)
{
    // As the diagram's menu builds it for a JPG, XLSX or teach-in file.
    return [=](QWidget *pParent) -> QWidget * {
        QFileDialog *pDialog = makePanelFileDialog(pParent, strCaption, QStringLiteral("./teachIn"), strFilter);
        pDialog->setFileMode(bSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        if (bSave)
            pDialog->setAcceptMode(QFileDialog::AcceptSave);
        return pDialog;
    };
}

QString settingsText(const char *pszText)
{
    return tr("formSettingsTab", pszText);
}

std::function<QWidget *(QWidget *)> settingsBox(const char *pszText, const QString &strInfo)
{
    return box("formSettingsTab", pszText, strInfo, QMessageBox::Ok);
}

std::function<QWidget *(QWidget *)> settingsFileDialog(panelAdministration::fileDialogSpec (*spec)())
{
    return [spec](QWidget *pParent) -> QWidget * { return panelAdministration::makeFileDialog(pParent, spec()); };
}

std::function<QWidget *(QWidget *)> passwordPrompt(const char *pszTitle, const char *pszLabel)
{
    return [=](QWidget *pParent) -> QWidget * {
        return panelAdministration::makePasswordPrompt(pParent, settingsText(pszTitle), settingsText(pszLabel));
    };
}

std::function<QWidget *(QWidget *)> busyNote(const char *pszText)
{
    return [=](QWidget *pParent) -> QWidget * { return busyTask::makeNote(pParent, settingsText(pszText)); };
}

std::function<QWidget *(QWidget *)> sensorDialog(bool bChange)
{
    // As the Settings tab runs it: a frameless dialog window; a new sensor
    // without the border, a changed one with its fields filled.
    return [=](QWidget *pParent) -> QWidget * {
        auto *pDialog = new lvSensorDlg(nullptr);
        pDialog->setParent(pParent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::FramelessWindowHint);
        if (!bChange) {
            pDialog->setStyleSheet(lvSensorDlg::styleSheetWithoutBorder());
            return pDialog;
        }
        lvSensor sensor;
        sensor.strName = QStringLiteral("DemoLeakDetector");
        sensor.strDataName = QStringLiteral("Leakrate");
        sensor.strUnit = QStringLiteral("mbar*l/sec");
        sensor.strFormula = QStringLiteral("Math.pow(10, 2*val1-11)");
        sensor.strInputMask = QStringLiteral("9.99E-99");
        sensor.bExponential = true;
        pDialog->setSensor(sensor);
        return pDialog;
    };
}

} // namespace

QString widestMotorStatus()
{
    motorStatusValues v;
    v.nMotStat = 0xffff & ~STAT_MUST_CALIBRATE & ~STAT_POS_REACHED;
    v.nNanoTecError = 0xff;
    v.strStatusLine = tr("motorDriver", "Measuring...\nFeedback Boundary exceeded: opening");
    v.nTargetPpm = 1000000;
    v.nReconnectCount = 1000000;
    v.nSettingsPosition = 1000000;
    v.nPositionPpm = 1000000;
    return renderMotorStatusText(v);
}

// A drive that lost its controller and found it again in a wrong place.
QString faultMotorStatus()
{
    motorStatusValues v;
    v.nMotStat = STAT_OK | STAT_PORT_NOT_OPEN | STAT_RECONNECT | STAT_INCORRECT_ANSWER | STAT_POS_ERROR
                 | STAT_LIMIT_SWITCH | STAT_OUT_OF_BOUNDARIES;
    v.strStatusLine = tr("motorDriver", "Measuring...\nFeedback Boundary exceeded: opening");
    v.nTargetPpm = 1000000;
    v.nReconnectCount = 1000000;
    return renderMotorStatusText(v);
}

QList<programBox> programBoxes()
{
    const auto yes = QMessageBox::YesRole;
    const auto no = QMessageBox::NoRole;
    const QString strLongFile = QStringLiteral("/home/pi/leakvalve/teachIn/2026-12-10_leakrate_measurement.xlsx");
    const QString strLongScript = QStringLiteral("/home/pi/leakvalve/shell-scripts/set-panel-network-address.sh");
    // sudo's longest refusal, as it names the whole command.
    const QString strSudoRefusal = QStringLiteral(
        "Sorry, user pi is not allowed to execute '/usr/bin/bash /home/pi/leakvalve/shell-scripts/set_smb_pwd.sh pi' "
        "as root on leakvalve-panel.");

    return {
        // Status strip
        {QStringLiteral("status-shutdown"),
         box("formStatusWidget", "Shutdown", tr("formStatusWidget", "Do you want to shutdown the valve?"),
             QMessageBox::Yes | QMessageBox::No)},
        {QStringLiteral("status-motor-position-differs"),
         box("formStatusWidget", "Motor Position differs",
             tr("formStatusWidget", "Do you want to force the stored position to the valve or calibrate "
                                    "(=valve moves to close position)?\nMotor Position = %1\nSettings Position = %2")
                 .arg(QStringLiteral("1000000"), QStringLiteral("1000000")),
             {}, {{"Force", yes}, {"Calibrate", no}})},
        {QStringLiteral("status-full-status"),
         [](QWidget *pParent) -> QWidget * {
             auto *pBox = new qlvMessageBox(pParent);
             pBox->setText(QStringLiteral("Full Status"));
             pBox->setInformativeText(tr("formStatusWidget", "Do Script: Cmd %1 %2/%3 ")
                                          .arg(QStringLiteral("GotoPosition"), QStringLiteral("1000"),
                                               QStringLiteral("1000"))
                                      + tr("formStatusWidget", "\nReal Time Clock not working") + QLatin1Char('\n')
                                      + faultMotorStatus());
             pBox->setStandardButtons(QMessageBox::Ok);
             pBox->setDefaultButton(QMessageBox::Ok);
             return pBox;
         }},
        {QStringLiteral("status-full-status-every-line"),
         [](QWidget *pParent) -> QWidget * {
             // Everything the status strip can hold at once: taller than the
             // screen without the box's scrolling text.
             auto *pBox = new qlvMessageBox(pParent);
             pBox->setText(QStringLiteral("Full Status"));
             pBox->setInformativeText(tr("formStatusWidget", "Do Script: Cmd %1 %2/%3 ")
                                          .arg(QStringLiteral("GotoPosition"), QStringLiteral("1000"),
                                               QStringLiteral("1000"))
                                      + tr("formStatusWidget", "\nReal Time Clock not working") + QLatin1Char('\n')
                                      + widestMotorStatus());
             pBox->setStandardButtons(QMessageBox::Ok);
             pBox->setDefaultButton(QMessageBox::Ok);
             return pBox;
         }},
        {QStringLiteral("status-help-missing"),
         [](QWidget *pParent) -> QWidget * {
             return new QMessageBox(QMessageBox::Critical, tr("formStatusWidget", "kfxZENTU"),
                                    tr("formStatusWidget", "Could not start Qt Assistant from %1.")
                                        .arg(QStringLiteral("/home/pi/leakvalve/assistant")),
                                    QMessageBox::Ok, pParent);
         }},
        // Main window
        {QStringLiteral("main-set-data-running"),
         box("MainWindow", "Set Data is running...",
             tr("MainWindow", "Do you want to stop it or return to the manual tab?"), {},
             {{"Stop", yes}, {"Return", no}})},
        {QStringLiteral("main-teachin-sensor"),
         box("MainWindow", "TeachIn - Inormation",
             tr("MainWindow", "Selected TeachIn file has different Sensor.\nTo select another one goto to "
                              "Settings Tab or long press on the diagram."),
             QMessageBox::Ok)},
        {QStringLiteral("main-unexpected-shutdown"),
         box("MainWindow", "Unexpected Shutdown",
             tr("MainWindow", "Valve was not shut down correctly. Probably due to Power loss. Make sure you always "
                              "shut down the valve by pressing the yellow Power-Off button on the uppern right "
                              "corner bfore turning power off by the physical Power-OFF button right to the touch "
                              "screen."),
             QMessageBox::Ok)},
        {QStringLiteral("main-update"),
         box("MainWindow", "Update", tr("MainWindow", "The software was updated successfully."), QMessageBox::Ok)},
        // Manual tab and diagram
        {QStringLiteral("manual-number-conversion"),
         box("formManualTab", "Number Conversion Error",
             tr("formManualTab", "The data you set, could not be converted into a number. Probably you need to "
                                 "adjust the input mask of the sensor. Hint: Ust decimal point not decimal comma."),
             QMessageBox::Ok)},
        {QStringLiteral("diagram-print-failed"),
         box("formCurrentState", "Print failed",
             tr("formCurrentState", "The file %1 could not be written.").arg(strLongFile), QMessageBox::Ok)},
        {QStringLiteral("diagram-export-failed"),
         box("formCurrentState", "Export failed",
             tr("formCurrentState", "The file %1 could not be written.").arg(strLongFile), QMessageBox::Ok)},
        {QStringLiteral("diagram-choose-jpg"), fileDialog(QStringLiteral("Choose Data File"), QStringLiteral("*.jpg"), true)},
        {QStringLiteral("diagram-choose-teachin"),
         fileDialog(tr("formCurrentState", "Choose Data File"), QStringLiteral("*.kfxteachin"), false)},
        // Remote tab
        {QStringLiteral("remote-usb-connected"),
         box("formRemoteTab", "Remote is connected", remoteText("USB Remote is still connected. First disconnect it."),
             QMessageBox::Ok)},
        {QStringLiteral("remote-analog-connected"),
         box("formRemoteTab", "Remote is connected",
             remoteText("Analog Remote is still connected. First disconnect it."), QMessageBox::Ok)},
        {QStringLiteral("remote-other-source-connected"),
         box("formRemoteTab", "Remote is connected",
             remoteText("%1 Remote is still connected. The valve follows one remote source at a time: "
                        "first disconnect it.")
                 .arg(QStringLiteral("Modbus TCP")),
             QMessageBox::Ok)},
        {QStringLiteral("remote-feedback-input-kept"),
         box("formRemoteTab", "Feedback input",
             remoteText("Input %1 is configured as Feedback %2, so it was not made the remote input. "
                        "Choose another input or change its type on the settings page.")
                 .arg(3)
                 .arg(2),
             QMessageBox::Ok)},
        {QStringLiteral("remote-feedback-input-refused"),
         box("formRemoteTab", "Feedback input",
             remoteText("Input %1 is configured as Feedback %2 and cannot steer the valve. "
                        "Choose another input or change its type on the settings page.")
                 .arg(3)
                 .arg(2),
             QMessageBox::Ok)},
        {QStringLiteral("remote-input-conflicts"),
         box("formRemoteTab", "Possible Input Type Conflicts",
             remoteText("Please chekc the feedback inputs in the setting tab for possible conflicts."),
             QMessageBox::Ok)},
        {QStringLiteral("remote-no-mode"),
         box("formRemoteTab", "No remote mode", remoteText("Choose a remote mode first."), QMessageBox::Ok)},
        {QStringLiteral("remote-bad-address"),
         box("formRemoteTab", "Invalid IP address",
             remoteText("\"%1\" is not an IP address. Enter one of the panel's addresses, such as 192.168.0.10.")
                 .arg(QStringLiteral("255.255.255.2555")),
             QMessageBox::Ok)},
        {QStringLiteral("remote-bad-port"),
         box("formRemoteTab", "Invalid port", remoteText("Enter a port number from 1 to 65535."), QMessageBox::Ok)},
        {QStringLiteral("remote-local-addresses"),
         box("formRemoteTab", "Local IP Addresses",
             remoteText("Yopur local IP addresses are:\n%1")
                 .arg(QStringLiteral("127.0.0.1\n192.168.100.200\n::1\nfe80::a00:27ff:fe4e:66a1%eth0\n")),
             QMessageBox::Ok)},
        // Script tab
        {QStringLiteral("script-save-question"),
         box("formScriptTab", "Script changed", scriptText("do you want to save it?"),
             QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel)},
        {QStringLiteral("script-save-again"),
         box("formScriptTab", "Script Save", scriptText("Click ok to go on."), QMessageBox::Ok)},
        {QStringLiteral("script-save-failed"),
         box("formScriptTab", "Script Save",
             scriptText("The script \"%1\" could not be written to %2. Your changes are kept; the file on disk is "
                        "unchanged.")
                 .arg(QStringLiteral("New Script998"), QStringLiteral("/home/pi/leakvalve/scripts/")),
             QMessageBox::Ok)},
        {QStringLiteral("script-rename-invalid"),
         box("formScriptTab", "Rename",
             scriptText("\"%1\" cannot be a script name: it must not contain \"/\", \"\\\", \";\", \"..\" or "
                        "control characters, nor begin with \".\".")
                 .arg(QStringLiteral("../../etc/passwd-and-some")),
             QMessageBox::Ok)},
        {QStringLiteral("script-rename-taken"),
         box("formScriptTab", "Rename",
             scriptText("There is already a script named \"%1\".").arg(QStringLiteral("Leak test chamber 2")),
             QMessageBox::Ok)},
        {QStringLiteral("script-rename-empty"),
         box("formScriptTab", "Rename", scriptText("A script needs a name: the name was not changed."),
             QMessageBox::Ok)},
        {QStringLiteral("script-delete-question"),
         box("formScriptTab", "Delete", QStringLiteral("Do you ant to delete the current script?"),
             QMessageBox::Yes | QMessageBox::No)},
        {QStringLiteral("script-delete-last"),
         box("formScriptTab", "Delete", QStringLiteral("You cannot delete the last script"), QMessageBox::Ok)},
        {QStringLiteral("script-delete-last-command"),
         box("formScriptTab", "Delete", scriptText("You cannot delete the last command"), QMessageBox::Ok)},
        {QStringLiteral("script-not-saved-run"),
         box("formScriptTab", "Script Changed",
             scriptText("The script was changed.\nIt will not run until it is saved or the changes are cancelled."),
             QMessageBox::Ok)},
        {QStringLiteral("script-folder-missing"),
         box("formScriptTab", "Scripts",
             scriptText("The scripts folder %1 does not exist, so there are no scripts to show.")
                 .arg(QStringLiteral("/home/pi/leakvalve/scripts/")),
             QMessageBox::Ok)},
        {QStringLiteral("script-names-used-up"),
         box("formScriptTab", "New Script",
             scriptText("All names from New Script0 to New Script998 are taken. Rename or delete one of these "
                        "scripts first."),
             QMessageBox::Ok)},
        {QStringLiteral("script-new-teach-in"),
         box("MainWindow", "TeachIn Data changed", tr("MainWindow", "Do you want to set the new data file active?"),
             QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)},
        // Settings tab
        {QStringLiteral("settings-invalid-page"),
         settingsBox("Invalid value", settingsText("%1: \"%2\" is not a usable number. The settings were not saved.")
                                          .arg(QStringLiteral("Feedback Input 1 Upper"),
                                               QStringLiteral("12345678901234567890")))},
        {QStringLiteral("settings-invalid-field"),
         settingsBox("Invalid value", settingsText("%1: \"%2\" is not a usable number. The value was not changed.")
                                          .arg(QStringLiteral("Feedback Input 1 Upper"),
                                               QStringLiteral("12345678901234567890")))},
        {QStringLiteral("settings-input-conflicts"),
         settingsBox("Possible Input Type Conflicts",
                     settingsText("Please check the analog input in the remote tab for possible conflicts."))},
        {QStringLiteral("settings-sensor-folder-missing"),
         settingsBox("Sensor not saved", settingsText("The sensor folder %1 does not exist.")
                                                 .arg(QStringLiteral("/home/pi/leakvalve/sensor"))
                                             + QLatin1Char(' ') + settingsText("Nothing was changed."))},
        {QStringLiteral("settings-sensor-semicolon"),
         settingsBox("Sensor not saved", settingsText("A field holds a \";\", which a sensor file cannot store.")
                                             + QLatin1Char(' ') + settingsText("Nothing was changed."))},
        {QStringLiteral("settings-sensor-not-written"),
         settingsBox("Sensor not saved", settingsText("The file %1 could not be written.")
                                                 .arg(QStringLiteral("/home/pi/leakvalve/sensor/"
                                                                     "Pirani-Penning combined gauge.kfxsensor"))
                                             + QLatin1Char(' ') + settingsText("Nothing was changed."))},
        {QStringLiteral("settings-sensor-not-deleted"),
         settingsBox("Sensor not deleted", settingsText("The file %1 could not be removed. Nothing was changed.")
                                               .arg(QStringLiteral("/home/pi/leakvalve/sensor/"
                                                                   "Pirani-Penning combined gauge.kfxsensor")))},
        {QStringLiteral("settings-sensor-exists"),
         settingsBox("Sensor exists", settingsText("A sensor with this Name already exists. It will not be saved."))},
        {QStringLiteral("settings-sensor-exists-change"),
         settingsBox("Sensor exists",
                     settingsText("A sensor with this Name already exists. The change will not be saved."))},
        {QStringLiteral("settings-sensor-name-invalid"),
         settingsBox("Invalid sensor name",
                     settingsText("A sensor name must not be empty, start with \".\" or hold \"..\", \"/\", \"\\\", "
                                  "\";\", control or invisible characters. The change will not be saved."))},
        {QStringLiteral("settings-sensor-add"), sensorDialog(false)},
        {QStringLiteral("settings-sensor-change"), sensorDialog(true)},
        {QStringLiteral("settings-imported"),
         settingsBox("Settings imported", settingsText("The program restarts to use the imported settings."))},
        // Panel administration
        {QStringLiteral("admin-choose-teachin"), settingsFileDialog(&panelAdministration::teachInChoiceDialog)},
        {QStringLiteral("admin-export-teachin"), settingsFileDialog(&panelAdministration::teachInExportDialog)},
        {QStringLiteral("admin-choose-update"), settingsFileDialog(&panelAdministration::updatePackageDialog)},
        {QStringLiteral("admin-choose-shell-script"), settingsFileDialog(&panelAdministration::shellScriptDialog)},
        {QStringLiteral("admin-export-settings"), settingsFileDialog(&panelAdministration::settingsExportDialog)},
        {QStringLiteral("admin-import-settings"), settingsFileDialog(&panelAdministration::settingsImportDialog)},
        {QStringLiteral("admin-busy-copy"), busyNote("Copying...")},
        {QStringLiteral("admin-busy-update"), busyNote("Installing the update...")},
        {QStringLiteral("admin-busy-password"), busyNote("Changing the password...")},
        {QStringLiteral("admin-busy-shell-script"), busyNote("Running the shell script...")},
        {QStringLiteral("admin-export-failed"),
         settingsBox("Export failed", settingsText("The teach-in file could not be copied."))},
        {QStringLiteral("admin-update-failed"),
         settingsBox("Updagte failed",
                     settingsText("The update failed.") + QLatin1Char('\n')
                         + tr("panelUpdate", "The update script did not finish in time."))},
        {QStringLiteral("admin-update-refused-by-sudo"),
         settingsBox("Updagte failed",
                     settingsText("The update failed.") + QLatin1Char('\n')
                         + tr("panelUpdate", "sudo refused to run the update script: %1").arg(strSudoRefusal))},
        {QStringLiteral("admin-update-ready"),
         settingsBox("Updagte ready", settingsText("The update worked. Rebooting..."))},
        {QStringLiteral("admin-password"), passwordPrompt("Password", "Enter new Samba Password")},
        {QStringLiteral("admin-password-retype"), passwordPrompt("Retype Password", "Retype new Samba Password")},
        {QStringLiteral("admin-password-mistyped"),
         settingsBox("Password not changed", settingsText("The password was not retyped correctly."))},
        {QStringLiteral("admin-password-control"),
         settingsBox("Password not changed", settingsText("The password must not contain control characters."))},
        {QStringLiteral("admin-password-failed"),
         settingsBox("Password not changed", settingsText("The password was not changed."))},
        {QStringLiteral("admin-password-refused-by-sudo"),
         settingsBox("Password not changed",
                     settingsText("The password was not changed.") + QLatin1Char('\n') + strSudoRefusal)},
        {QStringLiteral("admin-password-changed"),
         settingsBox("Password changed", settingsText("The password was successfully changed."))},
        {QStringLiteral("admin-shell-script-executed"),
         settingsBox("Shell Script executed", settingsText("The shell script %1 was executed. Return Code: %2")
                                                  .arg(strLongScript)
                                                  .arg(127))},
        {QStringLiteral("admin-shell-script-failed"),
         settingsBox("Error: Shell Script not executed",
                     settingsText("Error: The shell script %1 was not executed. Return Code: %2")
                         .arg(strLongScript)
                         .arg(-1))},
        {QStringLiteral("admin-settings-not-exported"),
         settingsBox("Settings not exported", settingsTransfer::message(settingsTransfer::WRITE_FAILED))},
        {QStringLiteral("admin-settings-not-imported"),
         settingsBox("Settings not imported", settingsTransfer::message(settingsTransfer::NO_GROUPS))},
        // The shell's own dialog: part of its widget set, shown by nothing yet.
        {QStringLiteral("message-dialog"), [](QWidget *pParent) -> QWidget * { return new qlvMessageDialog(pParent); }},
    };
}
