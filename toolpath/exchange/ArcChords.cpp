#include "toolpath/exchange/ArcChords.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kLargestChordTurn = std::numbers::pi / 2.0;

double AngleAt(const PlaneArc& arc, const Vec3& point) {
    return std::atan2(point[1] - arc.centreB, point[0] - arc.centreA);
}
}  // namespace

double RadiusAt(const PlaneArc& arc, const Vec3& point) {
    return std::hypot(point[0] - arc.centreA, point[1] - arc.centreB);
}

double ArcSweep(const PlaneArc& arc) {
    if (arc.start[0] == arc.end[0] && arc.start[1] == arc.end[1]) return kTwoPi;
    const double turn = AngleAt(arc, arc.end) - AngleAt(arc, arc.start);
    double sweep = arc.clockwise ? -turn : turn;
    while (sweep <= 0.0) sweep += kTwoPi;
    return std::min(sweep, kTwoPi);
}

// A chord turning by angle t lies r (1 - cos(t / 2)) from its arc at most.
double ChordCount(double radius, double sweep, double tolerance) {
    double turn = kLargestChordTurn;
    if (tolerance < radius) turn = std::min(turn, 2.0 * std::acos(1.0 - tolerance / radius));
    // A whole number of turns computed with rounding error must not gain a chord.
    return std::max(1.0, std::ceil(sweep / turn * (1.0 - 1e-12)));
}

void AppendChords(const PlaneArc& arc, std::size_t count, std::vector<Vec3>& points) {
    const double startAngle = AngleAt(arc, arc.start);
    const double sweep = arc.clockwise ? -ArcSweep(arc) : ArcSweep(arc);
    const double startRadius = RadiusAt(arc, arc.start);
    const double endRadius = RadiusAt(arc, arc.end);
    const double n = static_cast<double>(count);
    for (std::size_t k = 1; k < count; ++k) {
        const double t = static_cast<double>(k) / n;
        const double angle = startAngle + sweep * t;
        const double radius = startRadius + (endRadius - startRadius) * t;
        points.push_back({arc.centreA + radius * std::cos(angle),
                          arc.centreB + radius * std::sin(angle),
                          arc.start[2] + (arc.end[2] - arc.start[2]) * t});
    }
    points.push_back(arc.end);
}
