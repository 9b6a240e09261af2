#ifndef SCRIPTPROGRESSTEXT_H
#define SCRIPTPROGRESSTEXT_H

#include <QString>

// The Script tab's progress lines for the status strip (translated in the
// context "formScriptTab"). Every one of them contains the word "Script", so
// the status strip keeps it on the script line.

// A command has started: its loop pass, the set value it goes to, or only
// its number.
QString scriptCommandStartedText(int nCmdNr, int nCurrentRepetition, int nRepeat, const QString &strSetData);

// A WAIT or a go-to-value command is in progress: strSetData is the
// executor's progress ("time: 1.5/10", "reached: 1/3").
QString scriptCommandProgressText(int nCmdNr, int nCurrentRepetition, int nRepeat, const QString &strSetData,
                                  const QString &strCmdType);

#endif // SCRIPTPROGRESSTEXT_H
