// Paths the viewer tests share, built as the host side reads an element: counts of 1 um, columns
// in mm and m/s, on a drive with 1 ms samples.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "toolpath/element/ElementPath.h"
#include "toolpath/motion/PathStats.h"
#include "viewer/ViewPathOf.h"

inline ElementPath MicronPath(int axisCount) {
    ElementPath path;
    path.axisCount = axisCount;
    path.unitKind = UnitKind::Linear;
    path.columnUnits = {{"mm", "mm", "mm"}, "m/s", "m/s^2"};
    for (InternalScale& position : path.scales.position) position = {1e-3, 1e-6};
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

inline ViewPath ViewOf(const ElementPath& path) {
    return ViewPathOf(path, MotionModelOf(path, {}));
}

// A path of count segments of 10 um that zigzag across a square of side counts.
inline ElementPath Zigzag(int count, std::int64_t side) {
    ElementPath path = MicronPath(2);
    path.segments.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const std::int64_t dx = (i / 2) % 2 == 0 ? 1 : -1;
        path.segments.push_back(i % 2 == 0
                                    ? Move(dx * side, 0, 0, i == 0 ? 0.1 : 0.0, i == 0 ? 1.0 : 0.0)
                                    : Move(0, 10));
    }
    return path;
}
