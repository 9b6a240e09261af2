#include "valve/motorFamily.h"

motorFamily motorFamily::forType(int nType)
{
    motorFamily f;
    f.nType = nType;
    switch (nType) {
    case BERGER_LAHR:
        f.bKnown = true;
        f.nMinSteps = 0;
        f.nMaxSteps = 40000;
        f.nDelta = 100;
        f.nBaudRate = 9600;
        break;
    case NANOTEC:
        f.bKnown = true;
        f.nMinSteps = 0;
        f.nMaxSteps = 1024000;
        f.nDelta = 1000;
        f.nBaudRate = 115200;
        break;
    default:
        break;
    }
    return f;
}
