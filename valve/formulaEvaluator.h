#ifndef FORMULAEVALUATOR_H
#define FORMULAEVALUATOR_H

#include <QString>

// Evaluates sensor formula texts as ECMAScript programs. Every thread keeps
// one script engine of its own (created at its first evaluation, destroyed
// when the thread ends), so an evaluation costs a compile and a run, not an
// engine. A program that runs longer than the time limit is interrupted.
class formulaEvaluator
{
public:
    // Completion value of the program converted to a number; NaN when the
    // program fails, is no number or was interrupted.
    static double evaluate(const QString &strProgram);

    static constexpr int defaultTimeLimitMs = 100;
    static void setTimeLimitMs(int nMs);
    static int timeLimitMs();
};

// The plain text substitution of a sensor formula: every "val1", then every
// "val2" (case-sensitive) replaced by the argument written with six
// significant digits ('g').
QString substituteSensorFormula(const QString &strFormula, double val1, double val2);

// A result as shown to the operator: two decimals, 'E' or 'F'.
QString formatSensorResult(double dblResult, bool bExponential);

#endif // FORMULAEVALUATOR_H
