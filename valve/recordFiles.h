#ifndef RECORDFILES_H
#define RECORDFILES_H

#include <QByteArray>
#include <QString>

// File access shared by the valve's record files (teach-ins, sensors).

// A record name becomes a file name inside its folder: refuse what could leave
// the folder, hide the file or shift the ";"-separated fields of a record.
bool isValidRecordName(const QString &strName);

// The absolute path of the current directory, taken now, followed by
// "/<folder>/". The folder is never created.
QString workingSubdirectory(const QString &strFolder);

// Reads a whole record file; false when it cannot be opened or is larger than
// any record the program writes (maxRecordFileSize).
bool readRecordFile(const QString &strPath, QByteArray &data);
constexpr qint64 maxRecordFileSize = 64 * 1024 * 1024;

// Writes a record file so that a failure (missing folder, full disk) leaves
// the previous file as it was.
bool writeRecordFile(const QString &strPath, const QByteArray &data);

#endif // RECORDFILES_H
