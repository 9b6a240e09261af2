#include "script/scriptCommandType.h"

namespace {

const char *const keywords[scriptCommandTypeCount] = {"GOTOPOS", "GOTOREL",   "GOTOCMD",  "GOTODATA", "WAIT",
                                                       "MEAS",    "MEASCLOSE", "MEASOPEN", "SAVE"};

} // namespace

QString scriptKeyword(int nCmdType)
{
    if (nCmdType < 0 || nCmdType >= scriptCommandTypeCount)
        return QStringLiteral("unknown");
    return QString::fromLatin1(keywords[nCmdType]);
}

int scriptCommandTypeOf(const QString &strKeyword)
{
    for (int i = 0; i < scriptCommandTypeCount; ++i)
        if (strKeyword == QLatin1String(keywords[i]))
            return i;
    return -1;
}
