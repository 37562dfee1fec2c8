// Circular and helical arcs as chords that stay within a distance of the true arc.
#pragma once

#include <cstddef>
#include <vector>

#include "base/Geometry.h"

// An arc in its plane: coordinates are (a, b, c) with a and b the plane's axes and c the axis
// across it; a helix moves along c in step with the angle.
struct PlaneArc {
    Vec3 start{};
    Vec3 end{};
    double centreA = 0.0;
    double centreB = 0.0;
    bool clockwise = false;
};

// Distance of a point's (a, b) from the arc's centre.
double RadiusAt(const PlaneArc& arc, const Vec3& point);
// Angle swept from start to end around the centre in the arc's direction, in (0, 2 pi]; a full
// circle when the ends meet in the plane.
double ArcSweep(const PlaneArc& arc);
// Chords needed so that none lies farther than tolerance from an arc of that radius and sweep.
// No chord turns more than a quarter circle, so small circles keep their shape.
double ChordCount(double radius, double sweep, double tolerance);
// Appends count chord end points along the arc; the last is exactly arc.end. The radius changes
// evenly from the start's to the end's, so an end slightly off the circle is met smoothly.
void AppendChords(const PlaneArc& arc, std::size_t count, std::vector<Vec3>& points);
