#include "gaugePlant.h"

#include <algorithm>
#include <cmath>

namespace gaugePlant {

QString sensorFormula()
{
    return QStringLiteral("val1*Math.pow(10,Math.round(val2)-%1)").arg(nExponentOffset);
}

double leakRate(double dblOpening)
{
    const double x = std::clamp(dblOpening, 0.0, 1.0);
    // x (2 - x): a parabola that starts steep and ends with zero slope.
    return dblClosedLeakRate * std::pow(10.0, nDecades * x * (2.0 - x));
}

feedbackVolts feedbackForLeakRate(double dblLeakRate)
{
    int nExponent = int(std::floor(std::log10(dblLeakRate)));
    double dblMantissa = dblLeakRate / std::pow(10.0, nExponent);
    // log10 may round just below a power of ten: keep the mantissa in 1..10.
    if (dblMantissa >= 10.0) {
        dblMantissa /= 10.0;
        ++nExponent;
    } else if (dblMantissa < 1.0) {
        dblMantissa *= 10.0;
        --nExponent;
    }
    return {dblMantissa, double(nExponent + nExponentOffset)};
}

double leakRateFromFeedback(double dblMantissa, double dblExponent)
{
    return dblMantissa * std::pow(10.0, std::round(dblExponent) - nExponentOffset);
}

int voltsToCount(double dblVolts)
{
    return std::clamp(int(std::lround(dblVolts * 1023.0 / 10.0)), 0, 1023);
}

QByteArray frameForFeedback(const feedbackVolts &volts)
{
    QByteArray frame(11, '\0');
    const std::array<int, 2> counts{voltsToCount(volts.dblMantissa), voltsToCount(volts.dblExponent)};
    for (int i = 0; i < int(counts.size()); ++i) {
        frame[1 + 2 * i] = char(counts[i] & 0xFF);
        frame[2 + 2 * i] = char((counts[i] >> 8) & 0xFF);
    }
    return frame;
}

QByteArray frameForOpening(double dblOpening, double dblRelativeNoise)
{
    return frameForFeedback(feedbackForLeakRate(leakRate(dblOpening) * (1.0 + dblRelativeNoise)));
}

} // namespace gaugePlant
