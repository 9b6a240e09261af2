#ifndef ENGINESTATESCOPE_H
#define ENGINESTATESCOPE_H

#include <QString>

// True only for programs that cannot change anything in the script engine
// that runs them: numbers, operators without assignment or update, brackets,
// the comparison and conditional operators, NaN/Infinity/undefined/true/
// false/null and reads or calls of Math's own members. Such a program gives
// in an engine that has run many others exactly what it gives in a fresh one,
// as long as that engine has only ever run such programs.
//
// Anything else (a declaration, an assignment, a string, an object, a member
// of anything but Math, a name of its own) is false and must get an engine of
// its own. The test errs on the side of false: text the engine would read as
// a comment or a regular expression is judged as if it were code.
bool leavesNoEngineState(const QString &strProgram);

#endif // ENGINESTATESCOPE_H
