#ifndef LOGARCHIVENAME_H
#define LOGARCHIVENAME_H

#include <QDate>
#include <QString>

#include <functional>

// "wk<ISO week>-<calendar year>" of the log's first date; an invalid date
// gives "wk0-0".
QString logArchiveName(const QDate &logDate);

// A log is archived once its first date lies more than seven days back; a log
// without a valid first date is always due.
bool logArchiveDue(const QDate &logDate, const QDate &today);

// The stated name when it is free, else the first free "<name>_2", "<name>_3"...
// Two dates of one calendar year can share a week name (the first days of
// January may belong to the last ISO week), and a later archive must not be
// refused for that. Empty when no free name is found.
QString freeArchiveName(const QString &strName, const std::function<bool(const QString &)> &fnExists);

#endif // LOGARCHIVENAME_H
