#include "processSample.h"

#include <QFile>
#include <QList>

#include <unistd.h>

qint64 rssKiBFromStatus(const QByteArray &status)
{
    for (const QByteArray &line : status.split('\n')) {
        if (!line.startsWith("VmRSS:"))
            continue;
        QByteArray value = line.mid(6).trimmed();
        if (value.endsWith("kB"))
            value.chop(2);
        bool bOk = false;
        const qint64 n = value.trimmed().toLongLong(&bOk);
        return bOk ? n : -1;
    }
    return -1;
}

double cpuSecondsFromStat(const QByteArray &stat, long nTicksPerSecond)
{
    const int nClose = stat.lastIndexOf(')');
    if (nClose < 0 || nTicksPerSecond <= 0)
        return -1.0;
    // After the name: state (3), ppid, pgrp, session, tty_nr, tpgid, flags,
    // minflt, cminflt, majflt, cmajflt, utime (14), stime (15).
    const QList<QByteArray> fields = stat.mid(nClose + 1).simplified().split(' ');
    if (fields.size() < 13)
        return -1.0;
    bool bUser = false;
    bool bSystem = false;
    const qint64 nUser = fields.at(11).toLongLong(&bUser);
    const qint64 nSystem = fields.at(12).toLongLong(&bSystem);
    if (!bUser || !bSystem)
        return -1.0;
    return double(nUser + nSystem) / double(nTicksPerSecond);
}

processSample sampleProcess(qint64 nPid, qint64 nElapsedMs)
{
    processSample sample;
    sample.nElapsedMs = nElapsedMs;
    QFile status(QStringLiteral("/proc/%1/status").arg(nPid));
    if (status.open(QIODevice::ReadOnly))
        sample.nRssKiB = rssKiBFromStatus(status.readAll());
    QFile stat(QStringLiteral("/proc/%1/stat").arg(nPid));
    if (stat.open(QIODevice::ReadOnly))
        sample.dblCpuSeconds = cpuSecondsFromStat(stat.readAll(), sysconf(_SC_CLK_TCK));
    return sample;
}

double rssGrowthKiBPerHour(const QVector<processSample> &samples, qint64 nFromMs)
{
    double n = 0, sumX = 0, sumY = 0, sumXX = 0, sumXY = 0;
    for (const processSample &s : samples) {
        if (s.nElapsedMs < nFromMs || s.nRssKiB < 0)
            continue;
        const double x = double(s.nElapsedMs) / 3600000.0;
        const double y = double(s.nRssKiB);
        n += 1;
        sumX += x;
        sumY += y;
        sumXX += x * x;
        sumXY += x * y;
    }
    const double dblDen = n * sumXX - sumX * sumX;
    if (n < 2 || dblDen <= 0)
        return 0.0;
    return (n * sumXY - sumX * sumY) / dblDen;
}
