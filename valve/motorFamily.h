#ifndef MOTORFAMILY_H
#define MOTORFAMILY_H

#include <QtGlobal>

// What the drive needs to know about a controller family: travel, reach
// tolerance and line speed. The values match motorDriver::motorDriverType.
struct motorFamily
{
    enum id { BERGER_LAHR = 0, NANOTEC = 1 };

    int nType = -1;
    // False for "Remote", a missing key or any other value: such a driver has
    // no travel, sends nothing to a controller and refuses every go-to.
    bool bKnown = false;
    int nMinSteps = 0;
    int nMaxSteps = 0;
    int nDelta = 0;
    qint32 nBaudRate = 0;

    bool isBergerLahr() const { return bKnown && nType == BERGER_LAHR; }
    bool isNanoTec() const { return bKnown && nType == NANOTEC; }

    static motorFamily forType(int nType);
};

#endif // MOTORFAMILY_H
