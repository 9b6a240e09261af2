#ifndef SCRIPTCOMMANDTYPE_H
#define SCRIPTCOMMANDTYPE_H

#include <QString>

// The nine script keywords; the number is what a command stores in nCmdType.
// The numbers are fixed by the script files: MEASCLOSE is 6, MEASOPEN 7.
enum scriptCommandType {
    CMD_GOTOPOS = 0,   // move to an absolute position (ppm) and wait for it
    CMD_GOTOREL = 1,   // move by a signed distance (ppm) and wait for it
    CMD_GOTOCMD = 2,   // jump to the command at index nValue, nRepeat times
    CMD_GOTODATA = 3,  // go to and hold a process value (val1, val2 in thousandths)
    CMD_WAIT = 4,      // wait nValue ms
    CMD_MEAS = 5,      // switch measuring and recording; data curve points
    CMD_MEASCLOSE = 6, // the same; closing curve points
    CMD_MEASOPEN = 7,  // the same; opening curve points
    CMD_SAVE = 8       // save the recorded points as a teach-in
};

constexpr int scriptCommandTypeCount = 9;

// "GOTOPOS" .. "SAVE" for 0..8, "unknown" for any other number.
QString scriptKeyword(int nCmdType);

// The number of the keyword that equals the text exactly (case-sensitive, no
// trimming); -1 when the text is none of the nine.
int scriptCommandTypeOf(const QString &strKeyword);

#endif // SCRIPTCOMMANDTYPE_H
