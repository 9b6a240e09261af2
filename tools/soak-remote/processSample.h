#ifndef PROCESSSAMPLE_H
#define PROCESSSAMPLE_H

#include <QByteArray>
#include <QVector>

// One look at a running process: its resident memory and the CPU time it has
// used, as the kernel reports them in /proc/<pid>/status and /proc/<pid>/stat.
struct processSample
{
    qint64 nElapsedMs = 0;
    qint64 nRssKiB = -1;
    double dblCpuSeconds = -1.0;
};

// "VmRSS:  12345 kB" of a status text; -1 without it.
qint64 rssKiBFromStatus(const QByteArray &status);
// utime + stime of a stat line in seconds; -1 when the line cannot be read.
// The command name (field 2) may hold blanks and parentheses, so the fields
// are counted from its last ")".
double cpuSecondsFromStat(const QByteArray &stat, long nTicksPerSecond);

processSample sampleProcess(qint64 nPid, qint64 nElapsedMs);

// Least-squares slope of the resident memory over the samples taken at or
// after nFromMs, in KiB per hour; 0 with fewer than two such samples.
double rssGrowthKiBPerHour(const QVector<processSample> &samples, qint64 nFromMs);

#endif // PROCESSSAMPLE_H
