#include "valve/recordFiles.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

bool isValidRecordName(const QString &strName)
{
    if (strName.isEmpty() || strName.startsWith(QLatin1Char('.')) || strName.contains(QLatin1String(".."))
        || !strName.isValidUtf16())
        return false;
    for (const QChar c : strName) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(';'))
            return false;
        // Format characters (a byte-order mark, zero-width and direction
        // marks) are invisible: a UTF-8 reader drops a leading mark, so such
        // a name would not read back as itself.
        switch (c.category()) {
        case QChar::Other_Control:
        case QChar::Other_Format:
        case QChar::Separator_Line:
        case QChar::Separator_Paragraph:
            return false;
        default:
            break;
        }
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
