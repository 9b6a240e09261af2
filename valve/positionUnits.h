#ifndef POSITIONUNITS_H
#define POSITIONUNITS_H

#include <QtGlobal>

// Conversions between controller steps, parts per million of full travel
// (ppm) and 40000ths of full travel (remote text protocol).
//
// Everything is computed exactly in 64-bit integers and truncated toward zero.
// Done in double precision, 75 ppm of 40000 steps comes out as
// 2.9999999999999996 steps and the valve stops one step short.
namespace positionUnits {

constexpr qint64 PPM_FULL = 1000000;
constexpr qint64 REMOTE_FULL = 40000;

// Clamps a 64-bit intermediate into int; the callers range-check afterwards.
int saturateToInt(qint64 nValue);

// steps / nMaxSteps * 1000000, truncated. 0 when there is no travel.
int stepsToPpm(qint64 nSteps, int nMaxSteps);

// A position in ppm as an exact step value: the numerator over 1000000, i.e.
// steps scaled by one million. Range and "already there" tests use this
// unrounded value; only a command text or a stored value is truncated.
qint64 ppmToMicroSteps(qint64 nPpm, int nMaxSteps);

// nPpm / 1000000 * nMaxSteps, truncated.
int ppmToSteps(qint64 nPpm, int nMaxSteps);

// (steps / nMaxSteps * 1000000 + nDeltaPpm), truncated: the target of a
// relative move. 0 when there is no travel.
int relativeTargetPpm(qint64 nSteps, qint64 nDeltaPpm, int nMaxSteps);

// steps / nMaxSteps * 40000, truncated (remote text protocol position).
int stepsToRemote(qint64 nSteps, int nMaxSteps);

// n / 40000 * 1000000, i.e. n * 25 (remote text protocol go-to).
int remoteToPpm(qint64 nRemote);

} // namespace positionUnits

#endif // POSITIONUNITS_H
