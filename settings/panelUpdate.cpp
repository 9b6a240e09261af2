#include "settings/panelUpdate.h"

#include "settings/panelAdminCommands.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

// Whether strEntry is the package itself or a folder that holds it.
bool holdsPackage(const QFileInfo &entry, const QString &strPackage)
{
    const QString strEntry = entry.canonicalFilePath();
    return !strEntry.isEmpty() && (strPackage == strEntry || strPackage.startsWith(strEntry + QLatin1Char('/')));
}

// Empties the folder, except for the package being installed when the
// operator chose one that lies in it: that file is the operator's.
bool emptyFolder(const QString &strFolder, const QString &strPackage)
{
    QDir dir(strFolder);
    if (!dir.exists())
        return QDir().mkpath(strFolder);
    const QString strKeep = QFileInfo(strPackage).canonicalFilePath();
    bool bOk = true;
    const QFileInfoList entries =
        dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        if (!strKeep.isEmpty() && !entry.isSymLink() && holdsPackage(entry, strKeep))
            continue;
        if (entry.isDir() && !entry.isSymLink())
            bOk = QDir(entry.absoluteFilePath()).removeRecursively() && bOk;
        else
            bOk = QFile::remove(entry.absoluteFilePath()) && bOk;
    }
    return bOk;
}

} // namespace

QString panelUpdate::defaultFolder()
{
    // The panel's folder at the file-system root; elsewhere (tests, a desk
    // machine) another one can be named, since the folder is emptied first.
    const QString strFolder = qEnvironmentVariable("VALVE_UPDATE_DIR");
    return strFolder.isEmpty() ? QStringLiteral("/update/") : strFolder;
}

panelUpdate::outcome panelUpdate::install(const QString &strPackage, const QString &strFolder, processRunner &runner)
{
    outcome res;
    if (!emptyFolder(strFolder, strPackage)) {
        res.eFailedAt = EMPTY_FOLDER;
        return res;
    }
    const QString strZip =
        panelAdminCommands::inFolder(strFolder, panelAdminCommands::baseName(strPackage) + QStringLiteral(".zip"));

    res.last = runner.run(panelAdminCommands::copy(strPackage, strZip));
    if (!panelAdminCommands::copySucceeded(res.last)) {
        res.eFailedAt = COPY;
        return res;
    }
    res.last = runner.run(panelAdminCommands::unzip(strZip, strFolder));
    if (!panelAdminCommands::unzipSucceeded(res.last)) {
        res.eFailedAt = UNZIP;
        return res;
    }
    if (!QFileInfo(panelAdminCommands::inFolder(strFolder, panelAdminCommands::updateScriptName())).isFile()) {
        res.eFailedAt = FIND_SCRIPT;
        return res;
    }
    res.last = runner.run(panelAdminCommands::updateScript(strFolder));
    if (!panelAdminCommands::panelScriptSucceeded(res.last)) {
        res.eFailedAt = RUN_SCRIPT;
        return res;
    }
    res.eFailedAt = DONE;
    return res;
}

QString panelUpdate::failureReason(const outcome &res)
{
    switch (res.eFailedAt) {
    case EMPTY_FOLDER:
        return QCoreApplication::translate("panelUpdate", "The update folder could not be emptied.");
    case COPY:
        return QCoreApplication::translate("panelUpdate", "The package could not be copied.");
    case UNZIP:
        return QCoreApplication::translate("panelUpdate", "The package could not be unpacked.");
    case FIND_SCRIPT:
        return QCoreApplication::translate("panelUpdate", "The package holds no update script.");
    case RUN_SCRIPT:
        if (res.last.bTimedOut)
            return QCoreApplication::translate("panelUpdate", "The update script did not finish in time.");
        if (panelAdminCommands::sudoRefused(res.last))
            return QCoreApplication::translate("panelUpdate", "sudo refused to run the update script: %1")
                .arg(panelAdminCommands::sudoMessage(res.last));
        return QCoreApplication::translate("panelUpdate", "The update script returned %1.").arg(res.last.nExitCode);
    case DONE:
        break;
    }
    return QString();
}
