#include "app/qlvLogFile.h"

#include "app/logArchiver.h"
#include "app/logFileScan.h"
#include "app/logLineFormat.h"
#include "platform/systemClock.h"

#include <QDebug>
#include <QDir>
#include <QFile>
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
    archiveLogIfDue(*logFile, logDirPath(), scan, systemClock::instance().now().date(),
                    [](const QString &strFrom, const QString &strTo) { return QFile::copy(strFrom, strTo); });
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
