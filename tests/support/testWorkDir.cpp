#include "testWorkDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

testWorkDir::testWorkDir()
    : strPreviousDir(QDir::currentPath())
{
    if (!tmp.isValid())
        return;
    QDir dir(tmp.path());
    for (const char *sub : {"log", "teachIn", "sensor", "scripts", "icon", "languages", "help", "config"})
        dir.mkpath(QString::fromLatin1(sub));
    QDir::setCurrent(tmp.path());
    oldXdg = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", configPath().toLocal8Bit());
    for (auto fmt : {QSettings::NativeFormat, QSettings::IniFormat})
        for (auto scope : {QSettings::UserScope, QSettings::SystemScope})
            QSettings::setPath(fmt, scope, configPath());
}

testWorkDir::~testWorkDir()
{
    QDir::setCurrent(strPreviousDir);
    if (oldXdg.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", oldXdg);
}

bool testWorkDir::writeFile(const QString &strRelative, const QByteArray &data) const
{
    const QString strPath = tmp.filePath(strRelative);
    QDir().mkpath(QFileInfo(strPath).absolutePath());
    QFile f(strPath);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return f.write(data) == data.size();
}

QByteArray testWorkDir::readFile(const QString &strRelative) const
{
    QFile f(tmp.filePath(strRelative));
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}
