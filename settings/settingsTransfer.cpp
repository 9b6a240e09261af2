#include "settings/settingsTransfer.h"

#include "valve/settingsStore.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

settingsTransfer::status checkIni(QSettings &ini)
{
    if (ini.status() != QSettings::NoError)
        return settingsTransfer::NOT_SETTINGS;
    const QStringList keys = ini.allKeys();
    if (keys.isEmpty())
        return settingsTransfer::NOT_SETTINGS;
    bool bKnownGroup = false;
    const QStringList known = settingsTransfer::knownGroups();
    for (const QString &strKey : keys) {
        const int nSlash = strKey.indexOf(QLatin1Char('/'));
        if (nSlash <= 0)
            return settingsTransfer::NO_GROUPS;
        if (known.contains(strKey.left(nSlash)))
            bKnownGroup = true;
    }
    return bKnownGroup ? settingsTransfer::OK : settingsTransfer::NO_GROUPS;
}

} // namespace

QStringList settingsTransfer::knownGroups()
{
    return {QStringLiteral("controller"), QStringLiteral("motor driver"), QStringLiteral("external feedback"),
            QStringLiteral("teachIn"),    QStringLiteral("inputs"),       QStringLiteral("outputs"),
            QStringLiteral("remote"),     QStringLiteral("diagram")};
}

settingsTransfer::status settingsTransfer::check(const QString &strPath)
{
    const QFileInfo info(strPath);
    if (!info.isFile() || !info.isReadable())
        return NOT_FOUND;
    QSettings ini(strPath, QSettings::IniFormat);
    return checkIni(ini);
}

settingsTransfer::status settingsTransfer::exportTo(QSettings &store, const QString &strPath)
{
    const QFileInfo info(strPath);
    if (info.exists()) {
        // An operator's file that holds no settings is never overwritten;
        // an empty file may take them.
        if (!info.isFile())
            return WRITE_FAILED;
        if (info.size() > 0) {
            QSettings existing(strPath, QSettings::IniFormat);
            if (checkIni(existing) != OK)
                return NOT_SETTINGS;
        }
    }
    QSettings ini(strPath, QSettings::IniFormat);
    const QStringList keys = store.allKeys();
    for (const QString &strKey : keys)
        ini.setValue(strKey, store.value(strKey));
    ini.sync();
    if (ini.status() != QSettings::NoError || !QFileInfo::exists(strPath))
        return WRITE_FAILED;
    return OK;
}

settingsTransfer::status settingsTransfer::importFrom(const QString &strPath, QSettings &store)
{
    const status eCheck = check(strPath);
    if (eCheck != OK)
        return eCheck;
    QSettings ini(strPath, QSettings::IniFormat);
    // The next start deletes the file this key names: only this panel's own
    // update may name one, never a file brought in from elsewhere.
    const QString strCleanup = settingsStore::path(settingKey::UpdateCleanup);
    const QStringList keys = ini.allKeys();
    for (const QString &strKey : keys) {
        const QVariant value = ini.value(strKey);
        if (strKey != strCleanup || value.toString().isEmpty())
            store.setValue(strKey, value);
    }
    store.sync();
    return store.status() == QSettings::NoError ? OK : WRITE_FAILED;
}

QString settingsTransfer::message(status eStatus)
{
    switch (eStatus) {
    case OK:
        break;
    case NOT_FOUND:
        return QCoreApplication::translate("settingsTransfer", "The file does not exist or cannot be read.");
    case NOT_SETTINGS:
        return QCoreApplication::translate("settingsTransfer", "The file is not a settings file.");
    case NO_GROUPS:
        return QCoreApplication::translate("settingsTransfer", "The file holds no settings groups of this valve.");
    case WRITE_FAILED:
        return QCoreApplication::translate("settingsTransfer", "The settings could not be written.");
    }
    return QString();
}
