// Converting a column's numbers into a drive's internal units as the element's reader does.
#pragma once

#include <string>

class CMC_Units;

// value * from / to, the same arithmetic (and so the same rounding) as the host's columns.
struct CountScale {
    double from = 1.0;
    double to = 1.0;
    double ToInternal(double value) const { return value * from / to; }
    double FromInternal(double internal) const { return internal * to / from; }
};

// The scale from unit into its quantity's internal unit in units; "" is already internal.
// Throws PathError naming the unit when it does not convert there.
CountScale ScaleToInternal(const CMC_Units& units, const std::string& unit);
