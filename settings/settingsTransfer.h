#ifndef SETTINGSTRANSFER_H
#define SETTINGSTRANSFER_H

#include <QSettings>
#include <QString>

// Copies the whole settings store into an INI file and back, key by key,
// knowing nothing of the keys' meaning. The INI file written is that of the
// settings library (one section per group), merged into a file that already
// holds settings.
class settingsTransfer
{
public:
    enum status {
        OK,
        NOT_FOUND,          // the import file does not exist or cannot be read
        NOT_SETTINGS,       // the file is no INI file of settings (or holds none)
        NO_GROUPS,          // no key inside one of the program's groups
        WRITE_FAILED        // the file or the store could not be written
    };

    // The store's groups; an import takes keys inside them only.
    static QStringList knownGroups();

    // A key path as the settings library stores it: no empty parts, so
    // "/controller//x/" is "controller/x".
    static QString normalisedKey(const QString &strKey);
    // Whether an import takes this (normalised) key: a key directly inside
    // one of the store's groups, never "update cleanup", the file the next
    // start deletes, however it is spelt.
    static bool isImportable(const QString &strNormalisedKey);

    // Writes every key of the store into the INI file at strPath. An existing
    // settings file keeps its other keys; any other existing file that is not
    // empty is refused and left as it is.
    static status exportTo(QSettings &store, const QString &strPath);
    // Reads the INI file at strPath and, only when it is a settings file,
    // writes the keys it holds inside the store's groups into the store and
    // syncs the store. Other keys are left out; a refused file changes
    // nothing. pImported, when given, receives the keys written.
    static status importFrom(const QString &strPath, QSettings &store, QStringList *pImported = nullptr);
    // Whether the INI file at strPath holds settings in the program's groups.
    static status check(const QString &strPath);

    // A line for the operator.
    static QString message(status eStatus);
};

#endif // SETTINGSTRANSFER_H
