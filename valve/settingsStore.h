#ifndef SETTINGSSTORE_H
#define SETTINGSSTORE_H

#include "valve/settingsKeyTable.h"

#include <QSettings>
#include <QString>
#include <QVariant>

// One access to the settings store: opens it on construction and drops it
// (writing what was set) when it goes out of scope, the way every part of the
// program uses the store. Settings are named by settingKey, so the group and
// key spellings live only in the key table.
//
// Reads take no default: a missing key reads as empty text, 0 or false, as
// the program has always done. Writes store the value as given (a field's
// text stays text), so the bytes in the store are those the literal
// group/key writes produced.
class settingsStore
{
public:
    settingsStore();
    settingsStore(const settingsStore &) = delete;
    settingsStore &operator=(const settingsStore &) = delete;

    QVariant value(settingKey eKey, int nInput = 0) const;
    QString text(settingKey eKey, int nInput = 0) const { return value(eKey, nInput).toString(); }
    int number(settingKey eKey, int nInput = 0) const { return value(eKey, nInput).toInt(); }
    qlonglong bigNumber(settingKey eKey, int nInput = 0) const { return value(eKey, nInput).toLongLong(); }
    double real(settingKey eKey, int nInput = 0) const { return value(eKey, nInput).toDouble(); }
    bool flag(settingKey eKey, int nInput = 0) const { return value(eKey, nInput).toBool(); }
    bool contains(settingKey eKey, int nInput = 0) const;

    void setValue(settingKey eKey, const QVariant &value, int nInput = 0);
    void sync() { settings.sync(); }
    QSettings::Status status() const { return settings.status(); }
    QString fileName() const { return settings.fileName(); }

    // The whole store, for walking every key (export, import).
    QSettings &store() { return settings; }

    // "group/key" of a setting, as QSettings addresses it.
    static QString path(settingKey eKey, int nInput = 0);

private:
    QSettings settings;
};

#endif // SETTINGSSTORE_H
