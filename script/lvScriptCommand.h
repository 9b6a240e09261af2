#ifndef LVSCRIPTCOMMAND_H
#define LVSCRIPTCOMMAND_H

#include <QString>

// One line of a script: number, keyword (scriptCommandType), value and repeat.
// A plain value class; a default command is a WAIT of 1000 ms, repeat 1,
// number 1. In the script file one line of four ";"-terminated fields:
// "<nCmdNr>;<keyword>;<nValue>;<nRepeat>;".
class lvScriptCommand
{
public:
    lvScriptCommand();

    // Sets number, value and repeat; the type only when the keyword is one of
    // the nine exactly (case-sensitive), otherwise the type is kept.
    void setCommand(int nCmdNr, const QString &strKeyword, int nValue, int nRepeat);
    // The file line with its line end; also kept in strLine.
    QString toString();
    // The file line without touching strLine.
    QString fileLine() const;
    // The keyword of nCmdType, "unknown" outside 0..8.
    QString getCmdName() const;
    void setCmdNr(int nNr);

    // Equal when the stored fields (number, type, value, repeat) are.
    bool operator==(const lvScriptCommand &other) const;
    bool operator!=(const lvScriptCommand &other) const { return !(*this == other); }

    int nCmdNr;
    int nCmdType;
    int nValue;
    int nRepeat;
    // Working copy of nRepeat, set by the executor whenever it loads the
    // command; not stored.
    int nCurrentRepetition;
    // The text last produced by toString(); not stored, nothing reads it back.
    QString strLine;
};

#endif // LVSCRIPTCOMMAND_H
