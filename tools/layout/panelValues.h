#ifndef PANELVALUES_H
#define PANELVALUES_H

#include "script/lvScriptCommand.h"

#include <QList>
#include <QString>
#include <QStringList>

// What the operator's screens show at their widest, shared by the layout
// check and the screenshot tool, so both look at the same screens.

// The status texts the strip receives while a script runs, in order: the
// script's line (kept above the drive's status) and the drive's two lines.
QStringList runningScriptStatus();

// A script for the Script tab with the widest values of its ranges: every
// keyword, values at -1000000, repeats at 999999, more rows than the table
// shows at once (two-digit row numbers).
struct panelScript
{
    QString strName;
    QList<lvScriptCommand> commands;
};
QList<panelScript> widestScripts();

// Writes widestScripts() into the scripts folder of the working directory,
// each only where no script of its name exists yet; false when one could not
// be written.
bool layWidestScripts();

#endif // PANELVALUES_H
