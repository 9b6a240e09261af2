#ifndef LOGARCHIVER_H
#define LOGARCHIVER_H

#include <QDate>
#include <QString>

#include <functional>

class QFile;
struct logFileScan;

using fileCopyFunction = std::function<bool(const QString &strFrom, const QString &strTo)>;

enum class logArchiveResult { NotDue, Archived, Failed };

// Moves a log that is due into "<strDir><week archive name>" and empties the
// open log. The log is only emptied after its lines are safe in the archive:
// on failure it stays open and whole, to be tried again at the next start.
// A taken archive name gets a free variant, except for an empty log, which
// holds nothing worth a second archive.
logArchiveResult archiveLogIfDue(QFile &openLog, const QString &strDir, const logFileScan &scan,
                                 const QDate &today, const fileCopyFunction &fnCopy);

#endif // LOGARCHIVER_H
