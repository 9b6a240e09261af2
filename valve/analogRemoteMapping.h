#ifndef ANALOGREMOTEMAPPING_H
#define ANALOGREMOTEMAPPING_H

// The analog remote input: a voltage on one input sets the valve position,
// linearly between the input's two boundary points. Boundaries are in
// millivolts, positions in ppm of full travel, the voltage in volts.

struct analogRemoteBoundaries
{
    double dblLowerMv = 0.0;
    double dblUpperMv = 0.0;
    int nLowerPos = 0;
    int nUpperPos = 0;
};

struct analogRemoteTarget
{
    int nPosition = -1;        // -1: no position for this sample
    bool bOnBoundary = false;  // the voltage sits exactly on a boundary
};

// Below the lower boundary: its position; above the upper boundary: its
// position; strictly between: the interpolation, truncated toward zero. Exactly
// on a boundary the position is that boundary's own, so the mapping stays
// continuous there. A voltage that is not a number gives no position.
analogRemoteTarget analogRemotePosition(double dblVolts, const analogRemoteBoundaries &bounds);

// An input voltage as published to a Modbus master: volts x 1023 truncated,
// kept within one unsigned 16-bit register (10 V gives 10230).
int analogVoltsToModbusCounts(double dblVolts);

#endif // ANALOGREMOTEMAPPING_H
