#ifndef QLVLOGFILE_H
#define QLVLOGFILE_H

#include <QMutex>
#include <QObject>
#include <QString>

class QFile;

// The valve's event log "<working dir>/log/qVarnixLeakvalve.log": one line per
// message, appended under a lock so that any thread may write. At start it
// tells whether the previous run ended with a clean shutdown and moves a log
// older than a week into a weekly archive "wk<week>-<year>" beside it.
class qlvLogFile : public QObject
{
    Q_OBJECT

public:
    explicit qlvLogFile(QObject *parent = nullptr);
    ~qlvLogFile() override;

    // The last line of the log found at start ended with "Shutdown".
    bool bCleanShutdown = false;

    void setUptime(qint64 nUptime);
    // Adds the whole seconds since construction or the last call and returns
    // the accumulated running time (nLastUptimeSec is on the monotonic clock).
    qint64 updateUptime();

    // The log's full path, taken from the current working directory.
    static QString logFilePath();

public slots:
    void writeToLog(QString strLogText);

private:
    QFile *logFile = nullptr;
    QMutex logMutex;
    qint64 nLastUptimeSec = 0;
    qint64 nUptimeSec = 0;
};

#endif // QLVLOGFILE_H
