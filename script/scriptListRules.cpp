#include "script/scriptListRules.h"

#include "script/lvScript.h"

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
    // Besides what the script files refuse, no ".." anywhere: such a name
    // reads like a path on the panel's file shares.
    if (!lvScript::isValidName(strNewName) || strNewName.contains(QLatin1String("..")))
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
    const int nOther = nRow + nStep;
    if ((nStep != -1 && nStep != 1) || nRow < 0 || nRow >= commands.size() || nOther < 0
        || nOther >= commands.size())
        return false;
    commands[nRow].nCmdNr += nStep;
    commands[nOther].nCmdNr -= nStep;
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
