#ifndef GAUGEPLANT_H
#define GAUGEPLANT_H

#include <QByteArray>
#include <QString>

#include <array>

// The plant of the demo: a leak valve in front of a leak detector whose
// analog output is a mantissa and an exponent. The leak rate rises smoothly
// and monotonically with the opening over six decades, steep when the valve
// just opens and flat near full travel. Everything here is pure, so the
// simulator's frame writer, the demo teach-in and the tests share one plant.
namespace gaugePlant {

constexpr double dblClosedLeakRate = 1e-9; // mbar*l/s with the valve closed
constexpr int nDecades = 6;                // up to 1e-3 fully open
// Exponent output: 1 V per decade, 0 V at 1e-12.
constexpr int nExponentOffset = 12;

// The detector's formula, in the sensor formula language (val1 mantissa
// volts, val2 exponent volts). Rounding the exponent makes it immune to the
// card's quantisation and to noise.
QString sensorFormula();

// Leak rate for an opening of 0 (closed) .. 1 (fully open); outside that
// range the opening is taken as its nearest end.
double leakRate(double dblOpening);

struct feedbackVolts
{
    double dblMantissa = 0.0; // 1 .. 10 V
    double dblExponent = 0.0; // whole volts, one per decade
};

// The detector's two output voltages for a leak rate (> 0).
feedbackVolts feedbackForLeakRate(double dblLeakRate);

// What the formula gives for two voltages; the tests compare it with the
// sensor formula evaluated by the program's own engine.
double leakRateFromFeedback(double dblMantissa, double dblExponent);

// The card's count for a voltage: 10 V are 1023 counts, rounded, limited to
// 0 .. 1023.
int voltsToCount(double dblVolts);

// An analog card frame (11 bytes) with the mantissa on channel 1 and the
// exponent on channel 2; channels 3 to 5 read 0 V.
QByteArray frameForFeedback(const feedbackVolts &volts);

// The frame of the valve at an opening, the leak rate multiplied by
// (1 + dblRelativeNoise) on its way to the detector.
QByteArray frameForOpening(double dblOpening, double dblRelativeNoise = 0.0);

} // namespace gaugePlant

#endif // GAUGEPLANT_H
