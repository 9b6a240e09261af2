#include "script/lvScript.h"

#include "script/scriptFileCodec.h"
#include "valve/recordFiles.h"

bool lvScript::readScriptFromFile(const QString &strScriptName)
{
    if (strScriptName.isEmpty())
        return false;
    strName = strScriptName;
    strDir = scriptDirectory();
    cmdList.clear();
    if (!isValidName(strName))
        return false;
    QByteArray data;
    if (!readRecordFile(strDir + strName + QStringLiteral(".kfxscript"), data))
        return false;
    cmdList = decodeScriptFile(QString::fromUtf8(data));
    return true;
}

bool lvScript::writeScriptToFile(const QString &strScriptName)
{
    return writeCmdListScriptToFile(strScriptName, cmdList);
}

bool lvScript::writeCmdListScriptToFile(const QString &strScriptName, const QList<lvScriptCommand> &list)
{
    // The list may be the own one: encode before anything changes.
    const QByteArray data = encodeScriptFile(list);
    if (!strScriptName.isEmpty())
        strName = strScriptName;
    strDir = scriptDirectory();
    if (!isValidName(strName))
        return false;
    return writeRecordFile(strDir + strName + QStringLiteral(".kfxscript"), data);
}

void lvScript::replaceCommand(int nIndex, const lvScriptCommand &cmd)
{
    if (nIndex >= 0 && nIndex < cmdList.size())
        cmdList[nIndex] = cmd;
}

QString lvScript::scriptDirectory()
{
    return workingSubdirectory(QStringLiteral("scripts"));
}

QString lvScript::scriptFilePath(const QString &strScriptName)
{
    return scriptDirectory() + strScriptName + QStringLiteral(".kfxscript");
}

bool lvScript::isValidName(const QString &strScriptName)
{
    return isValidRecordName(strScriptName);
}
