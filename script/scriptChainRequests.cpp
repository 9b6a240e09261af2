#include "script/scriptChainRequests.h"

void scriptChainRequests::newChain()
{
    eMeasuring = MEASURING_UNKNOWN;
    bDiagramCleared = false;
}

bool scriptChainRequests::measurement(bool bOn)
{
    const measuring eWanted = bOn ? MEASURING_ON : MEASURING_OFF;
    if (eMeasuring == eWanted)
        return false;
    eMeasuring = eWanted;
    return true;
}

bool scriptChainRequests::clearDiagram()
{
    if (bDiagramCleared)
        return false;
    bDiagramCleared = true;
    return true;
}
