#ifndef DIAGRAMAXISRANGE_H
#define DIAGRAMAXISRANGE_H

#include <optional>

// The axis-range rules of the diagram. Each returns no range when the
// extremes cannot give a usable one (a teach-in without points still holds
// its empty extremes 1000000 and 0; a zero or non-finite value has no
// logarithm); the caller then keeps the axis's previous range.
struct diagramRange
{
    double dblLower;
    double dblUpper;
};

// Key axes (position, time): exactly the extremes.
std::optional<diagramRange> keyAxisRange(double dblMin, double dblMax);

// Value axes on a linear scale: 10 % of room below the smallest and above the
// largest value. For positive extremes this is [min x 0.9, max x 1.1]; the
// room is taken from the magnitude so that negative values stay in view.
std::optional<diagramRange> marginAxisRange(double dblMin, double dblMax);

// Value axis on a logarithmic scale: whole decades around the extremes,
// [10^floor(log10 min), 10^(floor(log10 max) + 1)].
std::optional<diagramRange> decadeAxisRange(double dblMin, double dblMax);

// The data axis: decades with an exponential sensor, margins otherwise.
std::optional<diagramRange> dataAxisRange(double dblMin, double dblMax, bool bExponential);

#endif // DIAGRAMAXISRANGE_H
