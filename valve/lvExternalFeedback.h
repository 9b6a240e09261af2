#ifndef LVEXTERNALFEEDBACK_H
#define LVEXTERNALFEEDBACK_H

#include "valve/lvSensor.h"

#include <QMetaType>
#include <QString>

// The active sensor together with the parameters of the regulation loop and
// the data set value. A plain value class, handed on as copies (motor driver,
// manual tab, script executor) or by address (settings tab, status strip);
// one object is used by one thread at a time.
class lvExternalFeedback
{
public:
    lvExternalFeedback();

    // Evaluates sensor with calcData and returns its dblResult.
    double calcFeedback(double val1, double val2);

    double dblSetpoint;            // set value held by the regulation
    double dblPropValue;           // "Prop-Value"
    double dblRelativeDifference;  // "Relative Difference"
    double dblDiffValue;           // "Differential Value"
    double dblIntValue;            // "Integral Value"
    int nNumOfIntVal;              // "Integral Quantity"
    double dblCorrectSensitivity;  // "Correct Sensitivity Value"
    QString strFeedbackName;
    QString strFeedbackUnit;
    lvSensor sensor;
};

Q_DECLARE_METATYPE(lvExternalFeedback)

#endif // LVEXTERNALFEEDBACK_H
