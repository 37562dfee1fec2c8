// Paths as the host side reads a linear element of 1 um counts with columns in mm, m/s and
// m/s^2, on a drive of 1 ms samples: what the tests and benchmarks of the path's users start
// from.
#pragma once

#include <cstdint>

#include "toolpath/element/ElementPath.h"

inline ElementPath MicronPath(int axisCount = 3) {
    ElementPath path;
    path.axisCount = axisCount;
    path.unitKind = UnitKind::Linear;
    path.columnUnits = {{"mm", "mm", "mm"}, "m/s", "m/s^2"};
    for (InternalScale& position : path.scales.position) position = {1e-3, 1e-6};
    // Counts per sample against metres per second, and per sample squared against m/s^2.
    path.scales.speed = {1e-6 / 1e-3, 1e-6 / 1e-3};
    path.scales.acceleration = {1e-6 / 1e-6, 1e-6 / 1e-6};
    path.scales.baseLengthUnit = "m";
    return path;
}

// A segment of x, y, z counts with its own speed v m/s and acceleration a m/s^2 (0 = none).
inline PathSegment Move(std::int64_t x, std::int64_t y, std::int64_t z = 0, double v = 0.0,
                        double a = 0.0) {
    return {{x, y, z}, a, v * 1e3};
}
