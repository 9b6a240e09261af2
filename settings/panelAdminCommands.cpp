#include "settings/panelAdminCommands.h"

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

// sudo with its messages in English whatever the panel's locale: a refusal
// is told from the script's own exit code by those messages (sudoRefused).
processRunner::request sudoCommand(const QStringList &args, int nTimeoutMs)
{
    processRunner::request req = command(QStringLiteral("sudo"), args, nTimeoutMs);
    req.environment = QStringList{QStringLiteral("LC_ALL=C")};
    return req;
}

} // namespace

QString panelAdminCommands::inFolder(const QString &strFolder, const QString &strName)
{
    if (strFolder.isEmpty() || strFolder.endsWith(QLatin1Char('/')))
        return strFolder + strName;
    return strFolder + QLatin1Char('/') + strName;
}

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
    return sudoCommand({QStringLiteral("-n"), QStringLiteral("bash"), inFolder(strFolder, updateScriptName())},
                       UPDATE_SCRIPT_TIMEOUT_MS);
}

processRunner::request panelAdminCommands::sambaPassword(const QString &strWorkingDir, const QString &strPassword)
{
    processRunner::request req =
        sudoCommand({QStringLiteral("-n"), QStringLiteral("bash"),
                     strWorkingDir + QStringLiteral("/shell-scripts/set_smb_pwd.sh"), QStringLiteral("pi")},
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
    return res.bStarted && !res.bCrashed && !res.bTimedOut && res.nExitCode == 1 && !sudoRefused(res);
}

QString panelAdminCommands::sudoMessage(const processRunner::result &res)
{
    const QStringList lines = QString::fromLocal8Bit(res.stdErr).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString &strLine : lines) {
        if (!strLine.trimmed().isEmpty())
            return strLine.trimmed();
    }
    return QString();
}

bool panelAdminCommands::sudoRefused(const processRunner::result &res)
{
    if (!res.bStarted || res.bCrashed || res.bTimedOut || res.nExitCode != 1)
        return false;
    // When sudo refuses, the script never ran and sudo's message is the first
    // thing on standard error: "sudo: a password is required", "Sorry, user
    // pi is not allowed to execute ...", "pi is not in the sudoers file."
    // (the last two are printed without sudo's name).
    const QString strFirst = sudoMessage(res);
    return strFirst.startsWith(QLatin1String("sudo:")) || strFirst.startsWith(QLatin1String("Sorry, user "))
        || strFirst.contains(QLatin1String(" is not in the sudoers file"));
}

bool panelAdminCommands::shellScriptExecuted(const processRunner::result &res)
{
    return res.bStarted && !res.bCrashed && !res.bTimedOut && res.nExitCode >= 0;
}
