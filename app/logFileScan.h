#ifndef LOGFILESCAN_H
#define LOGFILESCAN_H

#include <QByteArray>
#include <QDate>
#include <QIODevice>
#include <QString>

// What the start of a run needs to know about the log it finds.
struct logFileScan
{
    QString strFirstLine;
    QString strLastLine;
    bool bEmpty = true;       // no byte at all

    // Date at the start of the first line; invalid when the line does not
    // begin with "dd.MM.yyyy".
    QDate logDate() const;
    // The previous run ended with a clean shutdown: its last line ends with
    // "Shutdown".
    bool cleanShutdown() const;
};

// Reads the device from where it stands to its end, line by line. A final
// "\n" ends the last line; it does not start an empty one.
logFileScan scanLog(QIODevice &device);
logFileScan scanLog(const QByteArray &content);

bool isCleanShutdownLine(const QString &strLine);

#endif // LOGFILESCAN_H
