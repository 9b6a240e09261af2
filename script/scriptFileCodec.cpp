#include "script/scriptFileCodec.h"

#include <QStringList>
#include <QVector>

#include <limits>

QByteArray encodeScriptFile(const QList<lvScriptCommand> &commands)
{
    QString strText;
    for (const lvScriptCommand &cmd : commands)
        strText += cmd.fileLine();
    return strText.toUtf8();
}

QList<lvScriptCommand> decodeScriptFile(const QString &strText)
{
    QList<lvScriptCommand> commands;
    const QVector<QStringRef> lines = strText.splitRef(QLatin1Char('\n'), Qt::KeepEmptyParts);
    for (const QStringRef &line : lines) {
        QVector<QStringRef> fields = line.split(QLatin1Char(';'), Qt::KeepEmptyParts);
        // What follows the last ";" of the line is no field of its own: the
        // CR of a CR LF line end, or a field whose ";" is missing.
        fields.removeLast();
        for (int i = 0; i + 4 <= fields.size(); i += 4) {
            lvScriptCommand cmd;
            cmd.setCommand(scriptNumberField(fields.at(i).toString()), fields.at(i + 1).toString(),
                           scriptNumberField(fields.at(i + 2).toString()),
                           scriptNumberField(fields.at(i + 3).toString()));
            commands.append(cmd);
        }
    }
    return commands;
}

int scriptNumberField(const QString &strField)
{
    const QString strNumber = strField.trimmed();
    int nPos = 0;
    bool bNegative = false;
    if (nPos < strNumber.size() && (strNumber.at(nPos) == QLatin1Char('-') || strNumber.at(nPos) == QLatin1Char('+'))) {
        bNegative = strNumber.at(nPos) == QLatin1Char('-');
        ++nPos;
    }
    if (nPos == strNumber.size())
        return 0;
    // Accumulated negative, so that the int minimum fits as well.
    qint64 nValue = 0;
    const qint64 nLimit =
        bNegative ? qint64(std::numeric_limits<int>::min()) : -qint64(std::numeric_limits<int>::max());
    for (; nPos < strNumber.size(); ++nPos) {
        const QChar c = strNumber.at(nPos);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return 0;
        nValue = nValue * 10 - (c.unicode() - '0');
        if (nValue < nLimit)
            return 0;
    }
    return int(bNegative ? nValue : -nValue);
}
