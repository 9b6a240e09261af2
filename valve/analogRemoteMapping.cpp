#include "valve/analogRemoteMapping.h"

#include <cmath>

analogRemoteTarget analogRemotePosition(double dblVolts, const analogRemoteBoundaries &bounds)
{
    analogRemoteTarget target;
    if (std::isnan(dblVolts))
        return target;
    const double dblLower = bounds.dblLowerMv / 1000.0;
    const double dblUpper = bounds.dblUpperMv / 1000.0;
    if (dblVolts < dblLower) {
        target.nPosition = bounds.nLowerPos;
    } else if (dblVolts > dblUpper) {
        target.nPosition = bounds.nUpperPos;
    } else if (dblVolts == dblLower) {
        target.bOnBoundary = true;
        target.nPosition = bounds.nLowerPos;
    } else if (dblVolts == dblUpper) {
        target.bOnBoundary = true;
        target.nPosition = bounds.nUpperPos;
    } else {
        // Strictly inside, so the span is positive and the slope finite.
        const double dblSlope = (static_cast<double>(bounds.nUpperPos) - bounds.nLowerPos)
                                / (dblUpper - dblLower);
        target.nPosition = static_cast<int>((dblVolts - dblLower) * dblSlope + bounds.nLowerPos);
    }
    return target;
}

int analogVoltsToModbusCounts(double dblVolts)
{
    const double dblCounts = dblVolts * 1023.0;
    if (!(dblCounts > 0.0))
        return 0;   // also catches NaN
    if (dblCounts >= 65535.0)
        return 65535;
    return static_cast<int>(dblCounts);
}
