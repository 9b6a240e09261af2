#include "app/logArchiver.h"

#include "app/logArchiveName.h"
#include "app/logFileScan.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>

logArchiveResult archiveLogIfDue(QFile &openLog, const QString &strDir, const logFileScan &scan,
                                 const QDate &today, const fileCopyFunction &fnCopy)
{
    const QDate logDate = scan.logDate();
    if (!logArchiveDue(logDate, today))
        return logArchiveResult::NotDue;

    const QString strStated = logArchiveName(logDate);
    QString strName = strStated;
    if (!scan.bEmpty)
        strName = freeArchiveName(strStated, [&strDir](const QString &strCandidate) {
            return QFileInfo::exists(strDir + strCandidate);
        });

    if (strName.isEmpty() || !fnCopy(openLog.fileName(), strDir + strName)) {
        qDebug() << "log file saving did not work";
        return logArchiveResult::Failed;
    }
    // The log stays open throughout; with append mode the next line lands at
    // the start of the emptied file.
    if (openLog.isOpen() && !openLog.resize(0))
        qDebug() << "log file could not be emptied after archiving";
    return logArchiveResult::Archived;
}
