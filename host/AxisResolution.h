// Comparing the resolutions of axes, by the length of 1000 internal position units in their
// base unit, as both the module and the host's reading of an element choose the reference axis.
#pragma once

#include <limits>

// One resolution set up in different units of a family (5 mm, 0.005 m or 5000 um per
// revolution; 360 deg or 1 rot) gives lengths a few rounding errors apart, which must not make
// one axis finer than the other.
inline bool IsFinerResolution(double length, double than) {
    constexpr double kRoundingTolerance = 16 * std::numeric_limits<double>::epsilon();
    return length < than * (1.0 - kRoundingTolerance);
}
