#ifndef PANELADMINCOMMANDS_H
#define PANELADMINCOMMANDS_H

#include "platform/processRunner.h"

#include <QString>

// The outside commands of the panel administration, each one program with an
// argument list: a path or a password with blanks or quotes stays one
// argument and never turns into options or further commands. Every command
// has a time limit, so nothing the panel starts can hold the program forever.
class panelAdminCommands
{
public:
    static constexpr int COPY_TIMEOUT_MS = 120000;
    static constexpr int UNZIP_TIMEOUT_MS = 300000;
    static constexpr int UPDATE_SCRIPT_TIMEOUT_MS = 1800000;
    static constexpr int SAMBA_TIMEOUT_MS = 60000;
    static constexpr int SHELL_SCRIPT_TIMEOUT_MS = 600000;

    // The name of the update script at the top of an unpacked package.
    static QString updateScriptName();
    // The file name up to its first dot ("pkg-1.2.kfxupdate" gives "pkg-1").
    static QString baseName(const QString &strPath);
    // A name in a folder, joined as plain text: a name such as ":x.zip"
    // stays inside the folder (QDir would take it for a resource path).
    static QString inFolder(const QString &strFolder, const QString &strName);

    // cp -- <source> <target>
    static processRunner::request copy(const QString &strSource, const QString &strTarget);
    // unzip -o -qq <zip> -d <folder>: overwrite without asking; the input is
    // closed, so a question unzip still asks is answered by end of input.
    static processRunner::request unzip(const QString &strZip, const QString &strFolder);
    // sudo -n bash <folder>/update-script.sh. sudo never waits for a
    // password (-n): where it would ask, it refuses (see sudoRefused). Both
    // sudo commands run with LC_ALL=C, so sudo's messages are the English
    // ones sudoRefused() knows in any locale of the panel.
    static processRunner::request updateScript(const QString &strFolder);
    // sudo -n bash <working dir>/shell-scripts/set_smb_pwd.sh pi, with the
    // password and a line end on standard input: a password in an argument
    // list can be read by every user of the panel and is logged by sudo.
    static processRunner::request sambaPassword(const QString &strWorkingDir, const QString &strPassword);
    // The chosen script itself, started as a program without arguments.
    static processRunner::request shellScript(const QString &strScript);

    // A password must not carry control characters: a line end would end it
    // early on the script's input.
    static bool isPasswordAcceptable(const QString &strPassword);

    // Exit-code tables.
    static bool copySucceeded(const processRunner::result &res);
    // unzip: 0 done, 1 done with warnings; everything else failed.
    static bool unzipSucceeded(const processRunner::result &res);
    // The panel's update and Samba scripts report success with exit code 1,
    // which is also sudo's own code when it runs nothing: that is told by
    // sudo's message on standard error.
    static bool panelScriptSucceeded(const processRunner::result &res);
    // Whether sudo refused to run the script (no rule, a password wanted).
    static bool sudoRefused(const processRunner::result &res);
    // sudo's message, for the operator: the first line on standard error.
    static QString sudoMessage(const processRunner::result &res);
    // A user script was executed when it started and ended by itself, with
    // whatever exit code; crashed, killed after the limit or not started: not.
    static bool shellScriptExecuted(const processRunner::result &res);
};

#endif // PANELADMINCOMMANDS_H
