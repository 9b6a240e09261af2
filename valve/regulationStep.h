#ifndef REGULATIONSTEP_H
#define REGULATIONSTEP_H

#include <QVector>

// One sample of the set-value regulation, free of ports, threads and the clock:
// the caller feeds the set value, the actual value of this sample and that of
// the previous one, and whether the controller has finished positioning; the
// step tells what to do with the valve and keeps the deviation window.

struct regulationParams
{
    double dblPropValue = 1000.0;          // P
    double dblDiffValue = 200.0;           // D
    double dblIntValue = 100.0;            // I
    double dblRelativeDifference = 0.1;    // tolerance counted as reached
    int nNumOfIntVal = 10;                 // the window keeps one value less
    double dblRelativeRecalc = 0.5;        // above this deviation: re-target
    int nRecalcTimes = 2;                  // re-targets allowed in a row (plus one)
};

struct regulationState
{
    int nRecalcCount = 0;
    int nRecalcCooldown = 0;
    QVector<double> vecDeviation;
    double dblIntegral = 0.0;

    // A new set value starts a fresh window.
    void clearWindow()
    {
        vecDeviation.clear();
        dblIntegral = 0.0;
    }
};

struct regulationResult
{
    enum action {
        ACTION_NONE,      // no usable deviation: neither reached nor not reached, nothing moves
        ACTION_REACHED,   // within the tolerance: the valve stays
        ACTION_RETARGET,  // go through the teach-in curve again
        ACTION_CORRECT,   // relative step correction of nCorrection ppm
        ACTION_WAIT       // not reached, but nothing may move now (positioning under way)
    };

    action eAction = ACTION_NONE;
    double dblDeviation = 0.0;
    int nCorrection = 0;
    double dblPropTerm = 0.0;
    double dblDiffTerm = 0.0;
    double dblIntTerm = 0.0;

    bool isReached() const { return eAction == ACTION_REACHED; }
    bool isNotReached() const
    {
        return eAction == ACTION_RETARGET || eAction == ACTION_CORRECT || eAction == ACTION_WAIT;
    }
};

// Relative deviation actual / set value - 1; not finite when either value is
// unusable (a failing formula, a set value of 0).
double regulationDeviation(double dblSetpoint, double dblActual);

// A correction never asks for more than the whole travel, whatever the
// parameters: huge or non-finite terms must not overflow the ppm integer.
int limitCorrectionToTravel(double dblCorrection);

// bPositionReached: the controller is not positioning (status bit "position
// reached" set); while it is, corrections and re-targets wait.
regulationResult regulationStep(const regulationParams &params, regulationState &state,
                                double dblSetpoint, double dblActual, double dblPrevious,
                                bool bPositionReached);

#endif // REGULATIONSTEP_H
