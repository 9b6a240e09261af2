#ifndef SETVALUECONVERSION_H
#define SETVALUECONVERSION_H

#include <QString>

#include <optional>

// The typed set value of a set-data run: decimal point, optional exponent,
// read in the C locale (a decimal comma fails). "nan", "inf" and the like are
// refused as well: they are no value the valve can regulate to.
std::optional<double> parseSetValue(const QString &strText);

// The typed target position: the text as a base-10 integer, 0 when it is
// empty or no integer (the motor driver checks the range).
int parseSetSteps(const QString &strText);

#endif // SETVALUECONVERSION_H
