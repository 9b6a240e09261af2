#ifndef PANELADMINISTRATION_H
#define PANELADMINISTRATION_H

#include <QFileDialog>
#include <QString>

class QInputDialog;
class QWidget;

// The administration actions of the Settings tab, each run modally in the
// GUI thread: its file dialog or password prompts, its outside commands
// (through the process runner, with a busy note while they run) and its
// message boxes. The tab's slots call these and do the rest (signals, fields).
class panelAdministration
{
public:
    struct fileDialogSpec {
        QString strCaption;
        QString strFolder;
        QString strFilter;
        QFileDialog::FileMode eFileMode;
        QFileDialog::AcceptMode eAcceptMode;
    };
    static fileDialogSpec teachInChoiceDialog();
    static fileDialogSpec teachInExportDialog();
    static fileDialogSpec updatePackageDialog();
    static fileDialogSpec shellScriptDialog();
    static fileDialogSpec settingsExportDialog();
    static fileDialogSpec settingsImportDialog();

    // The tab's file dialog: frameless, 340 x 260 at (20, 20), not the
    // platform's own. Returns the chosen path, empty when cancelled.
    static QString chooseFile(QWidget *pTab, const fileDialogSpec &spec);
    // That dialog, built but not shown, with the on-screen keyboard for its
    // name field; the caller owns it.
    static QFileDialog *makeFileDialog(QWidget *pTab, const fileDialogSpec &spec);
    // A frameless password prompt with the on-screen keyboard for its field,
    // built but not shown; the caller owns it.
    static QInputDialog *makePasswordPrompt(QWidget *pParent, const QString &strTitle, const QString &strLabel);

    // The path of the teach-in file chosen, empty when cancelled.
    static QString chooseTeachIn(QWidget *pTab);
    // Copies the teach-in file of that name to a chosen path; a failed copy
    // is reported.
    static void exportTeachIn(QWidget *pTab, QWidget *pBoxParent, const QString &strTeachInName);
    // Installs a chosen update package. True when the update script reported
    // success, the operator has read so and "update cleanup" is on disk: the
    // panel must reboot now.
    static bool installUpdate(QWidget *pTab, QWidget *pBoxParent);
    static void changeSambaPassword(QWidget *pTab, QWidget *pBoxParent);
    static void executeShellScript(QWidget *pTab, QWidget *pBoxParent);
    // The whole store into a chosen INI file; a refused or failed export is
    // reported.
    static void exportSettings(QWidget *pTab, QWidget *pBoxParent);
    // A chosen INI file into the store. True when the store took it; a
    // refused file changes nothing and is reported. pImported, when given,
    // receives the keys the store took.
    static bool importSettings(QWidget *pTab, QWidget *pBoxParent, QStringList *pImported = nullptr);

    static void showBox(QWidget *pParent, const QString &strText, const QString &strInformation);
};

#endif // PANELADMINISTRATION_H
