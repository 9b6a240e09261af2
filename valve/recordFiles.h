#ifndef RECORDFILES_H
#define RECORDFILES_H

#include <QByteArray>
#include <QString>

// File access shared by the record files (teach-ins, sensors, scripts).

// The one name rule of every record file, for a name typed by the operator as
// for one read from a file. A record name becomes a file name inside its
// folder: refuse what could leave the folder or read like a path (".."
// anywhere), hide the file, shift the ";"-separated fields of a record, or
// not read back as itself (control, line-break and invisible format
// characters such as a byte-order mark).
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
