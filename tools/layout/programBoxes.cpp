#include "programBoxes.h"

#include "app/qlvMessageBox.h"
#include "app/qlvMessageDialog.h"
#include "valve/motorStatus.h"

#include <QCoreApplication>
#include <QFileDialog>
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

std::function<QWidget *(QWidget *)> fileDialog(const QString &strCaption, const QString &strFilter, bool bSave)
{
    // As the diagram's menu builds it for a JPG, XLSX or teach-in file.
    return [=](QWidget *pParent) -> QWidget * {
        auto *pDialog = new QFileDialog(pParent, strCaption, QStringLiteral("./teachIn"), strFilter);
        pDialog->setWindowFlags(pDialog->windowFlags() | Qt::FramelessWindowHint);
        pDialog->setGeometry(20, 20, 340, 260);
        pDialog->setOption(QFileDialog::DontUseNativeDialog);
        pDialog->setFileMode(bSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        if (bSave)
            pDialog->setAcceptMode(QFileDialog::AcceptSave);
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
        // The shell's own dialog: part of its widget set, shown by nothing yet.
        {QStringLiteral("message-dialog"), [](QWidget *pParent) -> QWidget * { return new qlvMessageDialog(pParent); }},
    };
}
