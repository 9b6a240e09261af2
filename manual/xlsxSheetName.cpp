#include "manual/xlsxSheetName.h"

namespace {
constexpr int nMaxSheetNameLength = 31;
}

QString xlsxSheetName(const QString &strName)
{
    QString strSheet;
    strSheet.reserve(strName.size());
    for (const QChar ch : strName) {
        if (ch == QLatin1Char('[') || ch == QLatin1Char(']') || ch == QLatin1Char(':')
            || ch == QLatin1Char('*') || ch == QLatin1Char('?') || ch == QLatin1Char('/')
            || ch == QLatin1Char('\\') || ch.category() == QChar::Other_Control)
            strSheet += QLatin1Char('_');
        else
            strSheet += ch;
    }

    // The length limit counts characters; never cut a surrogate pair in half.
    if (strSheet.size() > nMaxSheetNameLength) {
        int nCut = nMaxSheetNameLength;
        if (strSheet.at(nCut - 1).isHighSurrogate())
            --nCut;
        strSheet.truncate(nCut);
    }

    // Stripping after cutting: a cut can bring an apostrophe to the end.
    while (strSheet.startsWith(QLatin1Char('\'')))
        strSheet.remove(0, 1);
    while (strSheet.endsWith(QLatin1Char('\'')))
        strSheet.chop(1);

    if (strSheet.trimmed().isEmpty())
        return QStringLiteral("Sheet1");
    return strSheet;
}

QString xlsxQuotedSheetName(const QString &strSheetName)
{
    QString strQuoted = strSheetName;
    strQuoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + strQuoted + QLatin1Char('\'');
}
