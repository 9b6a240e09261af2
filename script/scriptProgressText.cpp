#include "script/scriptProgressText.h"

#include <QCoreApplication>

namespace {

QString loopText(int nCmdNr, int nCurrentRepetition, int nRepeat)
{
    return QCoreApplication::translate("formScriptTab", "Do Script: Cmd %1 %2/%3 ")
        .arg(nCmdNr)
        .arg(nCurrentRepetition)
        .arg(nRepeat);
}

QString setToOrPlain(int nCmdNr, const QString &strSetData)
{
    if (!strSetData.isEmpty())
        return QCoreApplication::translate("formScriptTab", "Do Script: Cmd %1 set to %2").arg(nCmdNr).arg(strSetData);
    return QCoreApplication::translate("formScriptTab", "Do Script: Cmd %1").arg(nCmdNr);
}

} // namespace

QString scriptCommandStartedText(int nCmdNr, int nCurrentRepetition, int nRepeat, const QString &strSetData)
{
    if (nCurrentRepetition > 0)
        return loopText(nCmdNr, nCurrentRepetition, nRepeat);
    return setToOrPlain(nCmdNr, strSetData);
}

QString scriptCommandProgressText(int nCmdNr, int nCurrentRepetition, int nRepeat, const QString &strSetData,
                                  const QString &strCmdType)
{
    if (nCurrentRepetition > 0)
        return loopText(nCmdNr, nCurrentRepetition, nRepeat);
    if (strCmdType == QLatin1String("WAIT") || strCmdType == QLatin1String("GOTODATA"))
        return QCoreApplication::translate("formScriptTab", "Do Script: Cmd %1 %2").arg(nCmdNr).arg(strSetData);
    return setToOrPlain(nCmdNr, strSetData);
}
