#include "script/scriptListRules.h"

#include "script/lvScript.h"

#include <utility>

namespace {
const QString strScriptSuffix = QStringLiteral(".kfxscript");
}

QStringList scriptNamesFromFiles(const QStringList &fileNames)
{
    QStringList names;
    for (const QString &strFile : fileNames) {
        if (strFile.endsWith(strScriptSuffix, Qt::CaseSensitive))
            names << strFile.left(strFile.size() - strScriptSuffix.size());
    }
    return names;
}

QString nextNewScriptName(const std::function<bool(const QString &)> &bExists)
{
    for (int i = 0; i <= 998; ++i) {
        const QString strName = QStringLiteral("New Script") + QString::number(i);
        if (!bExists(strName))
            return strName;
    }
    return QString();
}

scriptRenameCheck checkScriptRename(const QString &strNewName, const QStringList &otherNames)
{
    if (strNewName.isEmpty())
        return RENAME_EMPTY;
    if (!lvScript::isValidName(strNewName))
        return RENAME_INVALID;
    if (otherNames.contains(strNewName))
        return RENAME_TAKEN;
    return RENAME_OK;
}

QList<lvScriptCommand> renumberedCommands(const QList<lvScriptCommand> &commands)
{
    QList<lvScriptCommand> result;
    result.reserve(commands.size());
    for (int i = 0; i < commands.size(); ++i) {
        const lvScriptCommand &from = commands.at(i);
        lvScriptCommand cmd;
        cmd.nCmdNr = i;
        cmd.nCmdType = from.nCmdType;
        cmd.nValue = from.nValue;
        cmd.nRepeat = from.nRepeat;
        cmd.nCurrentRepetition = from.nCurrentRepetition;
        result.append(cmd);
    }
    return result;
}

bool moveCommand(QList<lvScriptCommand> &commands, int nRow, int nStep)
{
    if ((nStep != -1 && nStep != 1) || nRow < 0 || nRow >= commands.size())
        return false;
    const int nOther = nRow + nStep;
    if (nOther < 0 || nOther >= commands.size())
        return false;
    // The two commands trade their numbers: for the numbers of a saved list
    // (the row positions) that is the one step each number moves, and a
    // number read from a file at the int limit cannot run past it.
    std::swap(commands[nRow].nCmdNr, commands[nOther].nCmdNr);
    commands.swapItemsAt(nRow, nOther);
    return true;
}

bool isScriptValueInRange(int nValue)
{
    return nValue >= scriptValueMin && nValue <= scriptValueMax;
}

bool isScriptRepeatInRange(int nRepeat)
{
    return nRepeat >= scriptRepeatMin && nRepeat <= scriptRepeatMax;
}
