#include "settings/settingsTransfer.h"

#include "valve/settingsStore.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <algorithm>
#include <functional>

namespace {

struct iniContent {
    settingsTransfer::status eStatus = settingsTransfer::NOT_FOUND;
    // The keys an import takes (normalised) with their values.
    QList<QPair<QString, QVariant>> entries;
};

// The settings library's reading of the INI file at strPath, handed to
// fnRead. The library keeps a parsed file and hands it, without its format
// error, to the next settings object on the same unchanged path, so a damaged
// file would pass on a second look: the file is parsed from a copy on a path
// of its own. False when the file cannot be read or copied.
bool readFresh(const QString &strPath, const std::function<void(QSettings &)> &fnRead)
{
    const QFileInfo info(strPath);
    if (!info.isFile() || !info.isReadable())
        return false;
    const QTemporaryDir copyDir;
    const QString strCopy = copyDir.filePath(QStringLiteral("settings.ini"));
    if (!copyDir.isValid() || !QFile::copy(strPath, strCopy))
        return false;
    QSettings ini(strCopy, QSettings::IniFormat);
    fnRead(ini);
    return true;
}

// Reads the INI file once and judges it by what was read.
iniContent readIni(const QString &strPath)
{
    iniContent content;
    readFresh(strPath, [&content](QSettings &ini) {
        const QStringList keys = ini.allKeys();
        if (ini.status() != QSettings::NoError || keys.isEmpty()) {
            content.eStatus = settingsTransfer::NOT_SETTINGS;
            return;
        }
        for (const QString &strKey : keys) {
            const QString strNormalised = settingsTransfer::normalisedKey(strKey);
            if (!settingsTransfer::isImportable(strNormalised))
                continue;
            // The library looks a key up in its normalised form: a key spelt
            // otherwise in the file ("a//b") has no value of its own to give.
            const QVariant value = ini.value(strKey);
            if (value.isValid())
                content.entries.append({strNormalised, value});
        }
        content.eStatus = content.entries.isEmpty() ? settingsTransfer::NO_GROUPS : settingsTransfer::OK;
    });
    return content;
}

// Whether the INI file at strPath reads back as a settings file that holds
// every one of these keys.
bool holdsKeys(const QString &strPath, const QStringList &keys)
{
    bool bHolds = false;
    readFresh(strPath, [&](QSettings &ini) {
        // The status tells of the parse once the keys have been read.
        const QStringList read = ini.allKeys();
        const QSet<QString> readKeys(read.begin(), read.end());
        bHolds = ini.status() == QSettings::NoError
            && std::all_of(keys.begin(), keys.end(), [&readKeys](const QString &strKey) {
                   return readKeys.contains(strKey);
               });
    });
    return bHolds;
}

} // namespace

QStringList settingsTransfer::knownGroups()
{
    return {QStringLiteral("controller"), QStringLiteral("motor driver"), QStringLiteral("external feedback"),
            QStringLiteral("teachIn"),    QStringLiteral("inputs"),       QStringLiteral("outputs"),
            QStringLiteral("remote"),     QStringLiteral("diagram")};
}

QString settingsTransfer::normalisedKey(const QString &strKey)
{
    return strKey.split(QLatin1Char('/'), Qt::SkipEmptyParts).join(QLatin1Char('/'));
}

bool settingsTransfer::isImportable(const QString &strNormalisedKey)
{
    const QStringList parts = strNormalisedKey.split(QLatin1Char('/'));
    if (parts.size() != 2 || !knownGroups().contains(parts.first()))
        return false;
    return strNormalisedKey.compare(settingsStore::path(settingKey::UpdateCleanup), Qt::CaseInsensitive) != 0;
}

settingsTransfer::status settingsTransfer::check(const QString &strPath)
{
    return readIni(strPath).eStatus;
}

settingsTransfer::status settingsTransfer::exportTo(QSettings &store, const QString &strPath)
{
    const QFileInfo info(strPath);
    if (info.exists()) {
        // An operator's file that holds no settings is never overwritten;
        // an empty file may take them.
        if (!info.isFile())
            return WRITE_FAILED;
        if (info.size() > 0 && check(strPath) != OK)
            return NOT_SETTINGS;
    }
    // Written beside the target and read back before it takes the target's
    // place: the library may write a key of the existing file back in a form
    // its own reader refuses, and the file would then import no more. A
    // failed export leaves the target as it was.
    QTemporaryFile draft(info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".XXXXXX"));
    if (!draft.open())
        return WRITE_FAILED;
    if (info.exists()) {
        QFile target(strPath);
        if (!target.open(QIODevice::ReadOnly) || draft.write(target.readAll()) != target.size())
            return WRITE_FAILED;
    }
    draft.close();
    const QStringList keys = store.allKeys();
    {
        QSettings ini(draft.fileName(), QSettings::IniFormat);
        for (const QString &strKey : keys)
            ini.setValue(strKey, store.value(strKey));
        ini.sync();
        if (ini.status() != QSettings::NoError)
            return WRITE_FAILED;
    }
    if (!holdsKeys(draft.fileName(), keys))
        return WRITE_FAILED;

    QFile written(draft.fileName());
    if (!written.open(QIODevice::ReadOnly))
        return WRITE_FAILED;
    QSaveFile target(strPath);
    if (!target.open(QIODevice::WriteOnly) || target.write(written.readAll()) != written.size() || !target.commit())
        return WRITE_FAILED;
    return OK;
}

settingsTransfer::status settingsTransfer::importFrom(const QString &strPath, QSettings &store, QStringList *pImported)
{
    const iniContent content = readIni(strPath);
    if (content.eStatus != OK)
        return content.eStatus;
    for (const auto &entry : content.entries) {
        store.setValue(entry.first, entry.second);
        if (pImported)
            pImported->append(entry.first);
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
