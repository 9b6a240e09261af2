#include "panelValues.h"

#include "script/lvScript.h"
#include "script/scriptCommandType.h"
#include "script/scriptListRules.h"
#include "valve/motorStatus.h"

#include <QCoreApplication>
#include <QFileInfo>

QStringList runningScriptStatus()
{
    motorStatusValues drive;
    drive.nMotStat = STAT_OK;
    drive.nTargetPpm = 1000000;
    return {QCoreApplication::translate("formScriptTab", "Script Finished"), renderMotorStatusText(drive)};
}

QList<panelScript> widestScripts()
{
    QList<lvScriptCommand> commands;
    for (int i = 0; i < 12; ++i) {
        lvScriptCommand cmd;
        cmd.setCommand(i, scriptKeyword(i % scriptCommandTypeCount), scriptValueMin, scriptRepeatMax);
        commands << cmd;
    }
    // The widest names the tab gives new scripts; more than the table shows
    // at once.
    QList<panelScript> scripts;
    for (int i = 995; i <= 998; ++i)
        scripts << panelScript{QStringLiteral("New Script%1").arg(i), commands};
    return scripts;
}

bool layWidestScripts()
{
    bool bAll = true;
    for (const panelScript &script : widestScripts()) {
        if (QFileInfo::exists(lvScript::scriptFilePath(script.strName)))
            continue;
        lvScript file;
        bAll = file.writeCmdListScriptToFile(script.strName, script.commands) && bAll;
    }
    return bAll;
}
