#include "app/logLineFormat.h"

QString formatLogLine(const QDateTime &dtWhen, const QString &strText)
{
    QString strMessage = strText;
    strMessage.replace(QLatin1Char('\n'), QLatin1Char('\t'));
    return QStringLiteral("%1 %2 ### %3")
        .arg(dtWhen.date().toString(QStringLiteral("dd.MM.yyyy")),
             dtWhen.time().toString(QStringLiteral("hh:mm:ss.zzz")),
             strMessage);
}
