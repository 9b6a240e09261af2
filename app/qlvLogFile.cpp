#include "app/qlvLogFile.h"

#include "app/logArchiveName.h"
#include "app/logFileScan.h"
#include "app/logLineFormat.h"
#include "platform/systemClock.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutexLocker>

namespace {

QString logDirPath()
{
    return QDir::currentPath() + QStringLiteral("/log/");
}

} // namespace

QString qlvLogFile::logFilePath()
{
    return logDirPath() + QStringLiteral("qVarnixLeakvalve.log");
}

qlvLogFile::qlvLogFile(QObject *parent)
    : QObject(parent)
{
    const QString strPath = logFilePath();
    logFile = new QFile(strPath);
    logFile->open(QIODevice::ReadWrite | QIODevice::Append);

    // Running time follows the monotonic clock: the panel's wall clock may
    // jump by months when it is first set after power-up.
    nLastUptimeSec = systemClock::instance().monotonicMsecs() / 1000;

    // A file opened for appending stands at its end: read through a handle
    // of its own from the first byte.
    logFileScan scan;
    QFile reader(strPath);
    if (reader.open(QIODevice::ReadOnly))
        scan = scanLog(reader);

    bCleanShutdown = scan.cleanShutdown();
    archiveIfDue(scan.logDate(), scan.bEmpty);
}

qlvLogFile::~qlvLogFile()
{
    QMutexLocker locker(&logMutex);
    if (logFile) {
        logFile->close();
        delete logFile;
        logFile = nullptr;
    }
}

void qlvLogFile::archiveIfDue(const QDate &logDate, bool bLogEmpty)
{
    const QDate today = systemClock::instance().now().date();
    if (!logArchiveDue(logDate, today))
        return;

    const QString strDir = logDirPath();
    const QString strStated = logArchiveName(logDate);
    QString strName = strStated;
    // An empty log holds nothing worth a second archive under another name.
    if (!bLogEmpty)
        strName = freeArchiveName(strStated, [&strDir](const QString &strCandidate) {
            return QFileInfo::exists(strDir + strCandidate);
        });

    // The log is only emptied once its lines are safe in the archive; on any
    // failure it stays open and whole, and the next start tries again.
    if (strName.isEmpty() || !QFile::copy(logFilePath(), strDir + strName)) {
        qDebug() << "log file saving did not work";
        return;
    }
    if (logFile->isOpen() && !logFile->resize(0))
        qDebug() << "log file could not be emptied after archiving";
}

void qlvLogFile::writeToLog(QString strLogText)
{
    const QDateTime dtNow = systemClock::instance().now();
    const QByteArray line = (formatLogLine(dtNow, strLogText) + QLatin1Char('\n')).toLocal8Bit();

    QMutexLocker locker(&logMutex);
    if (!logFile || !logFile->isOpen())
        return;
    logFile->write(line);
    logFile->flush();
}

void qlvLogFile::setUptime(qint64 nUptime)
{
    nUptimeSec = nUptime;
}

qint64 qlvLogFile::updateUptime()
{
    const qint64 nNow = systemClock::instance().monotonicMsecs() / 1000;
    if (nNow > nLastUptimeSec)
        nUptimeSec += nNow - nLastUptimeSec;
    nLastUptimeSec = nNow;
    return nUptimeSec;
}
