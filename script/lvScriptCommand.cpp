#include "script/lvScriptCommand.h"

#include "script/scriptCommandType.h"

lvScriptCommand::lvScriptCommand()
    : nCmdNr(1)
    , nCmdType(CMD_WAIT)
    , nValue(1000)
    , nRepeat(1)
    , nCurrentRepetition(0)
{
}

void lvScriptCommand::setCommand(int nNr, const QString &strKeyword, int nVal, int nRep)
{
    nCmdNr = nNr;
    nValue = nVal;
    nRepeat = nRep;
    const int nType = scriptCommandTypeOf(strKeyword);
    if (nType >= 0)
        nCmdType = nType;
}

QString lvScriptCommand::toString()
{
    strLine = fileLine();
    return strLine;
}

QString lvScriptCommand::fileLine() const
{
    return QString::number(nCmdNr) + QLatin1Char(';') + getCmdName() + QLatin1Char(';') + QString::number(nValue)
        + QLatin1Char(';') + QString::number(nRepeat) + QLatin1String(";\n");
}

QString lvScriptCommand::getCmdName() const
{
    return scriptKeyword(nCmdType);
}

void lvScriptCommand::setCmdNr(int nNr)
{
    nCmdNr = nNr;
}

bool lvScriptCommand::operator==(const lvScriptCommand &other) const
{
    return nCmdNr == other.nCmdNr && nCmdType == other.nCmdType && nValue == other.nValue
        && nRepeat == other.nRepeat;
}
