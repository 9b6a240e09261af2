#ifndef DEBUGPAGEVALUES_H
#define DEBUGPAGEVALUES_H

#include <QString>

class lvSensor;

// What the test and debug page makes of its fields: simulated voltages, set
// value millivolts and controller replies, and the sensor formula evaluated on
// them. Texts that are no numbers count as 0.
class debugPageValues
{
public:
    // A field in volts (a floating-point number).
    static double volts(const QString &strText);
    // A field in millivolts: a whole number in base 10 ("1.5" counts as 0).
    static int millivolts(const QString &strText);
    // The sensor formula on two voltages, as the page shows it ("%1" of the
    // result: general format, 6 significant digits, "nan" when the formula
    // gives no number).
    static QString sensorText(lvSensor &sensor, double dblVal1, double dblVal2);
    // The set value of two millivolt fields, as the page shows it.
    static QString setValueText(lvSensor &sensor, int nVal1, int nVal2);
    // A typed controller reply with the controllers' reply terminator.
    static QString controllerReply(const QString &strText);
};

#endif // DEBUGPAGEVALUES_H
