#include "settings/panelAdminCommands.h"

#include <QDir>
#include <QFileInfo>

namespace {

processRunner::request command(const QString &strProgram, const QStringList &args, int nTimeoutMs)
{
    processRunner::request req;
    req.strProgram = strProgram;
    req.args = args;
    req.nTimeoutMs = nTimeoutMs;
    return req;
}

QString inFolder(const QString &strFolder, const QString &strName)
{
    return QDir(strFolder).filePath(strName);
}

} // namespace

QString panelAdminCommands::updateScriptName()
{
    return QStringLiteral("update-script.sh");
}

QString panelAdminCommands::baseName(const QString &strPath)
{
    return QFileInfo(strPath).baseName();
}

processRunner::request panelAdminCommands::copy(const QString &strSource, const QString &strTarget)
{
    return command(QStringLiteral("cp"), {QStringLiteral("--"), strSource, strTarget}, COPY_TIMEOUT_MS);
}

processRunner::request panelAdminCommands::unzip(const QString &strZip, const QString &strFolder)
{
    // unzip knows no "--"; the archive path is always absolute below the
    // update folder, so it cannot be taken for an option.
    return command(QStringLiteral("unzip"),
                   {QStringLiteral("-o"), QStringLiteral("-qq"), strZip, QStringLiteral("-d"), strFolder},
                   UNZIP_TIMEOUT_MS);
}

processRunner::request panelAdminCommands::updateScript(const QString &strFolder)
{
    return command(QStringLiteral("sudo"), {QStringLiteral("bash"), inFolder(strFolder, updateScriptName())},
                   UPDATE_SCRIPT_TIMEOUT_MS);
}

processRunner::request panelAdminCommands::sambaPassword(const QString &strWorkingDir, const QString &strPassword)
{
    processRunner::request req =
        command(QStringLiteral("sudo"),
                {QStringLiteral("bash"), strWorkingDir + QStringLiteral("/shell-scripts/set_smb_pwd.sh"),
                 QStringLiteral("pi")},
                SAMBA_TIMEOUT_MS);
    req.stdIn = strPassword.toUtf8() + '\n';
    return req;
}

processRunner::request panelAdminCommands::shellScript(const QString &strScript)
{
    return command(strScript, {}, SHELL_SCRIPT_TIMEOUT_MS);
}

bool panelAdminCommands::isPasswordAcceptable(const QString &strPassword)
{
    for (const QChar c : strPassword) {
        if (c.category() == QChar::Other_Control)
            return false;
    }
    return true;
}

bool panelAdminCommands::copySucceeded(const processRunner::result &res)
{
    return res.bStarted && !res.bCrashed && !res.bTimedOut && res.nExitCode == 0;
}

bool panelAdminCommands::unzipSucceeded(const processRunner::result &res)
{
    return res.bStarted && !res.bCrashed && !res.bTimedOut && (res.nExitCode == 0 || res.nExitCode == 1);
}

bool panelAdminCommands::panelScriptSucceeded(const processRunner::result &res)
{
    return res.bStarted && !res.bCrashed && !res.bTimedOut && res.nExitCode == 1;
}

bool panelAdminCommands::shellScriptExecuted(const processRunner::result &res)
{
    return res.bStarted && !res.bCrashed && !res.bTimedOut && res.nExitCode >= 0;
}
