// The points and boxes every layer measures a path with: positions and increments on X, Y, Z,
// points in a view or a drawing, and their extents.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

// A position or a direction on X, Y, Z (in whatever unit its user states).
using Vec3 = std::array<double, 3>;

// Whole counts on X, Y, Z: a segment's increments or a position in counts.
using Counts = std::array<std::int64_t, 3>;

// A point in a plane: across to the right and up in a view, or in pixels in a drawing.
struct Point2 {
    double x = 0.0;
    double y = 0.0;
};

// An area of a drawing in pixels, y down.
struct Rect {
    double left = 0.0;
    double top = 0.0;
    double width = 0.0;
    double height = 0.0;
    double Right() const { return left + width; }
    double Bottom() const { return top + height; }
};

// The extent of the points added to it; empty until the first.
struct Bounds {
    double minX = 0.0;
    double maxX = 0.0;
    double minY = 0.0;
    double maxY = 0.0;
    bool empty = true;

    void Add(Point2 point) {
        if (empty) {
            minX = maxX = point.x;
            minY = maxY = point.y;
            empty = false;
            return;
        }
        minX = std::min(minX, point.x);
        maxX = std::max(maxX, point.x);
        minY = std::min(minY, point.y);
        maxY = std::max(maxY, point.y);
    }
};
