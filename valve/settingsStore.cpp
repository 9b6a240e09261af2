#include "valve/settingsStore.h"

settingsStore::settingsStore()
    : settings(QString::fromLatin1(g_pszSettingsOrganisation), QString::fromLatin1(g_pszSettingsApplication))
{
}

QString settingsStore::path(settingKey eKey, int nInput)
{
    return settingInfo(eKey, nInput).path();
}

QVariant settingsStore::value(settingKey eKey, int nInput) const
{
    return settings.value(path(eKey, nInput));
}

bool settingsStore::contains(settingKey eKey, int nInput) const
{
    return settings.contains(path(eKey, nInput));
}

void settingsStore::setValue(settingKey eKey, const QVariant &value, int nInput)
{
    settings.setValue(path(eKey, nInput), value);
}
