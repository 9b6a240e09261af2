#include "valve/positionUnits.h"

#include <limits>

namespace positionUnits {

int saturateToInt(qint64 nValue)
{
    if (nValue > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (nValue < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return int(nValue);
}

int stepsToPpm(qint64 nSteps, int nMaxSteps)
{
    if (nMaxSteps <= 0)
        return 0;
    return saturateToInt(nSteps * PPM_FULL / nMaxSteps);
}

qint64 ppmToMicroSteps(qint64 nPpm, int nMaxSteps)
{
    return nPpm * nMaxSteps;
}

int ppmToSteps(qint64 nPpm, int nMaxSteps)
{
    return saturateToInt(ppmToMicroSteps(nPpm, nMaxSteps) / PPM_FULL);
}

int relativeTargetPpm(qint64 nSteps, qint64 nDeltaPpm, int nMaxSteps)
{
    if (nMaxSteps <= 0)
        return 0;
    // steps * 1e6 / max + delta == (steps * 1e6 + delta * max) / max; one
    // division keeps the truncation of the sum, not of its first term.
    return saturateToInt((nSteps * PPM_FULL + nDeltaPpm * nMaxSteps) / nMaxSteps);
}

int stepsToRemote(qint64 nSteps, int nMaxSteps)
{
    if (nMaxSteps <= 0)
        return 0;
    return saturateToInt(nSteps * REMOTE_FULL / nMaxSteps);
}

int remoteToPpm(qint64 nRemote)
{
    // Anything this large is out of range anyway; keep the product defined.
    const qint64 nLimit = qint64(1) << 40;
    if (nRemote > nLimit)
        nRemote = nLimit;
    if (nRemote < -nLimit)
        nRemote = -nLimit;
    return saturateToInt(nRemote * (PPM_FULL / REMOTE_FULL));
}

} // namespace positionUnits
