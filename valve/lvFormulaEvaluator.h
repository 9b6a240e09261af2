#ifndef LVFORMULAEVALUATOR_H
#define LVFORMULAEVALUATOR_H

#include <QString>
#include <QStringList>
#include <QVector>

// Evaluates sensor formula texts as ECMAScript programs. Plain arithmetic is
// computed directly (plainArithmetic.h, same results); anything else runs in
// a script engine that every thread keeps for itself (created at its first
// use, destroyed when the thread ends) if it cannot change that engine
// (engineStateScope.h); every other program gets a fresh engine, so that each
// result is what a fresh engine gives. A program that runs longer than the
// time limit is interrupted.
class lvFormulaEvaluator
{
public:
    // Completion value of the program converted to a number; NaN when the
    // program fails, is no number or was interrupted.
    static double evaluate(const QString &strProgram);
    // The same for many programs at once, each result exactly what evaluate()
    // gives for it; much cheaper for programs that need the script engine.
    static QVector<double> evaluateAll(const QStringList &strPrograms);

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

#endif // LVFORMULAEVALUATOR_H
