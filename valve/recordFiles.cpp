#include "valve/recordFiles.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

bool isValidRecordName(const QString &strName)
{
    if (strName.isEmpty() || strName.startsWith(QLatin1Char('.')))
        return false;
    for (const QChar c : strName) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(';'))
            return false;
        if (c.category() == QChar::Other_Control)
            return false;
    }
    return true;
}

QString workingSubdirectory(const QString &strFolder)
{
    return QDir::current().absolutePath() + QLatin1Char('/') + strFolder + QLatin1Char('/');
}

bool readRecordFile(const QString &strPath, QByteArray &data)
{
    data.clear();
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // A device or a runaway file must not swallow the panel's memory.
    data = file.read(maxRecordFileSize + 1);
    if (data.size() > maxRecordFileSize) {
        data.clear();
        return false;
    }
    return true;
}

bool writeRecordFile(const QString &strPath, const QByteArray &data)
{
    QSaveFile file(strPath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(data) != data.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
