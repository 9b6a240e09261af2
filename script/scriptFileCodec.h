#ifndef SCRIPTFILECODEC_H
#define SCRIPTFILECODEC_H

#include "script/lvScriptCommand.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The script file: one line per command, "<nr>;<keyword>;<value>;<repeat>;"
// followed by "\n"; nothing else, UTF-8.

// The file's bytes for the commands, in list order, numbers unchanged.
QByteArray encodeScriptFile(const QList<lvScriptCommand> &commands);

// The commands of a file's text. Each line is read on its own, in groups of
// four ";"-terminated fields, so a damaged line (a field too many or too few,
// a missing final ";", a CR before the line end) costs at most that line's
// own command and never shifts the commands of the following lines. A
// keyword that is none of the nine gives a WAIT with the line's numbers; a
// number field that is not a base-10 number gives 0. A value or repeat
// outside the command editor's ranges (scriptListRules) makes the command
// damaged as well, so a file cannot hold what the editor would refuse.
QList<lvScriptCommand> decodeScriptFile(const QString &strText);

// A number field: optional white space, an optional sign, decimal digits,
// optional white space, within the int range; anything else reads as 0.
int scriptNumberField(const QString &strField);

#endif // SCRIPTFILECODEC_H
