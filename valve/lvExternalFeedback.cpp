#include "valve/lvExternalFeedback.h"

lvExternalFeedback::lvExternalFeedback()
    : dblSetpoint(0.0)
    , dblPropValue(1000.0)
    , dblRelativeDifference(0.1)
    , dblDiffValue(200.0)
    , dblIntValue(100.0)
    , nNumOfIntVal(10)
    , dblCorrectSensitivity(1000000.0)
    , strFeedbackName(QStringLiteral("Leakrate"))
    , strFeedbackUnit(QStringLiteral("mbar*l/sec"))
{
}

double lvExternalFeedback::calcFeedback(double val1, double val2)
{
    sensor.calcData(val1, val2);
    return sensor.dblResult;
}
