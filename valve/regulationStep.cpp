#include "valve/regulationStep.h"

#include <cmath>

namespace {
const int FULL_TRAVEL_PPM = 1000000;
const int RECALC_COOLDOWN = 5;
}

double regulationDeviation(double dblSetpoint, double dblActual)
{
    return dblActual / dblSetpoint - 1.0;
}

int limitCorrectionToTravel(double dblCorrection)
{
    if (std::isnan(dblCorrection))
        return 0;
    if (dblCorrection > FULL_TRAVEL_PPM)
        return FULL_TRAVEL_PPM;
    if (dblCorrection < -FULL_TRAVEL_PPM)
        return -FULL_TRAVEL_PPM;
    return static_cast<int>(dblCorrection);
}

regulationResult regulationStep(const regulationParams &params, regulationState &state,
                                double dblSetpoint, double dblActual, double dblPrevious,
                                bool bPositionReached)
{
    regulationResult result;
    const double dblDev = regulationDeviation(dblSetpoint, dblActual);
    if (!std::isfinite(dblDev))
        return result;   // keeps the window free of values that would poison the integral
    result.dblDeviation = dblDev;

    state.vecDeviation.append(dblDev);
    const int nKeep = qMax(params.nNumOfIntVal, 1) - 1;
    while (state.vecDeviation.size() > nKeep)
        state.vecDeviation.removeFirst();
    // Summed afresh each time, so rounding never accumulates in a running sum.
    double dblSum = 0.0;
    for (double d : qAsConst(state.vecDeviation))
        dblSum += d;
    state.dblIntegral = dblSum;

    const double dblAbsDev = std::fabs(dblDev);
    if (!(dblAbsDev > params.dblRelativeDifference)) {
        state.nRecalcCount = 0;
        result.eAction = regulationResult::ACTION_REACHED;
        return result;
    }

    result.eAction = regulationResult::ACTION_WAIT;
    if (dblAbsDev > params.dblRelativeRecalc && state.nRecalcCooldown == 0
        && state.nRecalcCount <= params.nRecalcTimes) {
        if (bPositionReached) {
            result.eAction = regulationResult::ACTION_RETARGET;
            state.nRecalcCount += 1;
            state.nRecalcCooldown = RECALC_COOLDOWN;
        }
        return result;
    }

    if (!bPositionReached)
        return result;
    if (state.nRecalcCooldown > 0)
        state.nRecalcCooldown -= 1;

    // Without a usable previous value the differential factor is neutral.
    double dblRatio = dblActual / dblPrevious;
    if (!std::isfinite(dblRatio))
        dblRatio = 1.0;
    result.dblDiffTerm = params.dblDiffValue * dblDev * dblRatio;
    result.dblPropTerm = params.dblPropValue * dblDev;
    result.dblIntTerm = params.dblIntValue * state.dblIntegral;
    const double dblCorrection = result.dblDiffTerm - result.dblPropTerm - result.dblIntTerm;
    if (std::isnan(dblCorrection))
        return result;
    result.nCorrection = limitCorrectionToTravel(dblCorrection);
    result.eAction = regulationResult::ACTION_CORRECT;
    return result;
}
