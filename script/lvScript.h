#ifndef LVSCRIPT_H
#define LVSCRIPT_H

#include "script/lvScriptCommand.h"

#include <QList>
#include <QMetaType>
#include <QString>

// A script: its name and its commands in execution order. Stored as
// "<name>.kfxscript" in "scripts/" below the working directory (the folder is
// never created here). A plain value class, copied freely; it crosses from the
// GUI thread to the script thread as the argument of a queued signal and is
// registered as the meta-type "lvScript" for that.
class lvScript
{
public:
    lvScript() = default;

    // Loads the script of the given name; an empty name changes nothing.
    // Otherwise the name and folder are taken and the list is replaced by
    // the file's commands: empty when the file is missing, unreadable or the
    // name is no safe file name. Returns whether the file was read.
    bool readScriptFromFile(const QString &strScriptName);
    // Writes the own list to the script's file. A non-empty name becomes the
    // script's name first; an empty one keeps the stored name. The previous
    // file is replaced only once the new one is complete; nothing is written
    // for an unsafe name or a missing folder. Returns whether it was written.
    bool writeScriptToFile(const QString &strScriptName);
    // The same with the given list; the own list is left as it is.
    bool writeCmdListScriptToFile(const QString &strScriptName, const QList<lvScriptCommand> &list);
    // Replaces the command at a valid index; other indices are ignored.
    void replaceCommand(int nIndex, const lvScriptCommand &cmd);

    // "<working directory>/scripts/" and the full path of a script's file.
    static QString scriptDirectory();
    static QString scriptFilePath(const QString &strScriptName);
    // A name that may become a file name in the scripts folder: the one rule of
    // every record file (isValidRecordName).
    static bool isValidName(const QString &strScriptName);

    QList<lvScriptCommand> cmdList;
    QString strName;
    QString strDir;
};

Q_DECLARE_METATYPE(lvScript)

#endif // LVSCRIPT_H
