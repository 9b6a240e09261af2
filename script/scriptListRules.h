#ifndef SCRIPTLISTRULES_H
#define SCRIPTLISTRULES_H

#include "script/lvScriptCommand.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// The Script tab's rules for its two lists, apart from files and widgets.

// Ranges the command editor accepts for a command's value and repeat.
constexpr int scriptValueMin = -1000000;
constexpr int scriptValueMax = 1000000;
constexpr int scriptRepeatMin = 0;
constexpr int scriptRepeatMax = 999999;

// The script names among the file names of the scripts folder, in the given
// order: every name ending with ".kfxscript" (case-sensitive), without it.
QStringList scriptNamesFromFiles(const QStringList &fileNames);

// "New Script0", "New Script1", ... up to "New Script998": the first one for
// which bExists is false; empty when all of them are taken.
QString nextNewScriptName(const std::function<bool(const QString &)> &bExists);

// Why a script may not take a new name, or RENAME_OK. otherNames are the
// names of the other scripts of the list.
enum scriptRenameCheck { RENAME_OK, RENAME_EMPTY, RENAME_INVALID, RENAME_TAKEN };
scriptRenameCheck checkScriptRename(const QString &strNewName, const QStringList &otherNames);

// Fresh commands in table order, numbered 0, 1, 2 ... by their position; the
// type, value, repeat and working repetition are taken over.
QList<lvScriptCommand> renumberedCommands(const QList<lvScriptCommand> &commands);

// Swaps the command at nRow with its neighbour above (nStep -1) or below
// (nStep +1); the numbers stay with the rows, so each number follows its
// command's move without arithmetic that could overflow. False (and nothing
// changed) at the top or bottom or for a row outside the list.
bool moveCommand(QList<lvScriptCommand> &commands, int nRow, int nStep);

// Whether a committed value or repeat lies in the editor's range.
bool isScriptValueInRange(int nValue);
bool isScriptRepeatInRange(int nRepeat);

#endif // SCRIPTLISTRULES_H
