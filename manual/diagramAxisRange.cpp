#include "manual/diagramAxisRange.h"

#include <cmath>

namespace {

std::optional<diagramRange> checked(double dblLower, double dblUpper)
{
    if (!std::isfinite(dblLower) || !std::isfinite(dblUpper) || !(dblLower < dblUpper))
        return std::nullopt;
    return diagramRange{dblLower, dblUpper};
}

} // namespace

std::optional<diagramRange> keyAxisRange(double dblMin, double dblMax)
{
    return checked(dblMin, dblMax);
}

std::optional<diagramRange> marginAxisRange(double dblMin, double dblMax)
{
    if (!std::isfinite(dblMin) || !std::isfinite(dblMax) || dblMin > dblMax)
        return std::nullopt;
    return checked(dblMin - 0.1 * std::fabs(dblMin), dblMax + 0.1 * std::fabs(dblMax));
}

std::optional<diagramRange> decadeAxisRange(double dblMin, double dblMax)
{
    if (!std::isfinite(dblMin) || !std::isfinite(dblMax) || !(dblMin > 0.0) || !(dblMax > 0.0)
        || dblMin > dblMax)
        return std::nullopt;
    const double dblLowDecade = std::floor(std::log10(dblMin));
    const double dblHighDecade = std::floor(std::log10(dblMax)) + 1.0;
    return checked(std::pow(10.0, dblLowDecade), std::pow(10.0, dblHighDecade));
}

std::optional<diagramRange> dataAxisRange(double dblMin, double dblMax, bool bExponential)
{
    return bExponential ? decadeAxisRange(dblMin, dblMax) : marginAxisRange(dblMin, dblMax);
}
