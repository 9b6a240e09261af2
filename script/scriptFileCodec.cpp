#include "script/scriptFileCodec.h"

#include "script/scriptListRules.h"

#include <QStringList>
#include <QVector>

#include <limits>

namespace {

enum class numberField { NOT_A_NUMBER, IN_INT_RANGE, BEYOND_INT_RANGE };

// Optional white space, an optional sign, decimal digits, optional white
// space. A number beyond the int range is told apart from text that is no
// number at all, however many digits it has.
numberField readNumberField(const QString &strField, int &nValue)
{
    nValue = 0;
    const QString strNumber = strField.trimmed();
    int nPos = 0;
    bool bNegative = false;
    if (nPos < strNumber.size() && (strNumber.at(nPos) == QLatin1Char('-') || strNumber.at(nPos) == QLatin1Char('+'))) {
        bNegative = strNumber.at(nPos) == QLatin1Char('-');
        ++nPos;
    }
    if (nPos == strNumber.size())
        return numberField::NOT_A_NUMBER;
    // Accumulated negative, so that the int minimum fits as well.
    qint64 nAccumulated = 0;
    const qint64 nLimit =
        bNegative ? qint64(std::numeric_limits<int>::min()) : -qint64(std::numeric_limits<int>::max());
    bool bBeyond = false;
    for (; nPos < strNumber.size(); ++nPos) {
        const QChar c = strNumber.at(nPos);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return numberField::NOT_A_NUMBER;
        if (bBeyond)
            continue;
        nAccumulated = nAccumulated * 10 - (c.unicode() - '0');
        bBeyond = nAccumulated < nLimit;
    }
    if (bBeyond)
        return numberField::BEYOND_INT_RANGE;
    nValue = int(bNegative ? nAccumulated : -nAccumulated);
    return numberField::IN_INT_RANGE;
}

// A value or repeat field: text that is no number reads as 0, as the format
// always had it; a number outside the editor's range makes the line damaged.
bool editorNumberField(const QString &strField, bool (*bInRange)(int), int &nValue)
{
    switch (readNumberField(strField, nValue)) {
    case numberField::NOT_A_NUMBER:
        return true;
    case numberField::IN_INT_RANGE:
        return bInRange(nValue);
    case numberField::BEYOND_INT_RANGE:
        break;
    }
    return false;
}

} // namespace

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
            int nValue = 0;
            int nRepeat = 0;
            if (!editorNumberField(fields.at(i + 2).toString(), isScriptValueInRange, nValue)
                || !editorNumberField(fields.at(i + 3).toString(), isScriptRepeatInRange, nRepeat))
                continue;
            lvScriptCommand cmd;
            cmd.setCommand(scriptNumberField(fields.at(i).toString()), fields.at(i + 1).toString(), nValue, nRepeat);
            commands.append(cmd);
        }
    }
    return commands;
}

int scriptNumberField(const QString &strField)
{
    int nValue = 0;
    return readNumberField(strField, nValue) == numberField::IN_INT_RANGE ? nValue : 0;
}
