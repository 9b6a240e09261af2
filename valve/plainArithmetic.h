#ifndef PLAINARITHMETIC_H
#define PLAINARITHMETIC_H

#include <QString>

// Evaluates programs made only of decimal numbers, + - * / % **, unary + and
// -, parentheses, a few Math functions (abs, ceil, exp, floor, log, log10,
// pow, round, sqrt, min, max) and constants (E, PI, LN2, LN10), with exactly the
// results the script engine gives for them. That is what a typical sensor
// formula becomes once its values are filled in, and it is a hundred times
// cheaper than compiling it as a script.
//
// Returns false, leaving dblResult alone, for any other program (or anything
// this evaluator is not sure of); the caller then runs the script engine.
bool evaluatePlainArithmetic(const QString &strProgram, double &dblResult);

#endif // PLAINARITHMETIC_H
