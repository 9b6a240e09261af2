#ifndef LOGLINEFORMAT_H
#define LOGLINEFORMAT_H

#include <QDateTime>
#include <QString>

// One log line without its line end: "dd.MM.yyyy hh:mm:ss.zzz ### text", the
// text's line feeds turned into tabs so that a message never spans lines.
// Date and time come from one instant, so a line written at midnight cannot
// carry the old date with the new time.
QString formatLogLine(const QDateTime &dtWhen, const QString &strText);

#endif // LOGLINEFORMAT_H
