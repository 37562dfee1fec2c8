#include "toolpath/element/PathSimplifier.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

using Point = std::array<std::int64_t, 3>;

// The segments' end points, from the start at 0: point i is where segment i starts.
std::vector<Point> PointsOf(const std::vector<PathSegment>& segments) {
    std::vector<Point> points(segments.size() + 1, Point{});
    for (std::size_t i = 0; i < segments.size(); ++i)
        for (std::size_t a = 0; a < 3; ++a) points[i + 1][a] = points[i][a] + segments[i].counts[a];
    return points;
}

struct Vector {
    double x, y, z;
};

Vector Between(const Point& from, const Point& to) {
    return {static_cast<double>(to[0] - from[0]), static_cast<double>(to[1] - from[1]),
            static_cast<double>(to[2] - from[2])};
}

double Dot(const Vector& a, const Vector& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

double CrossSquare(const Vector& a, const Vector& b) {
    const Vector c{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
    return Dot(c, c);
}

// The square of the distance of a point at offset from the chord's start to the chord (a
// segment, not the line), given the point's projection along it. Squares spare a root for
// each of the many points a run checks again.
double SquareDistanceToChord(const Vector& offset, const Vector& chord, double length,
                             double projection) {
    if (projection <= 0.0) return Dot(offset, offset);
    if (projection >= length) {
        const Vector beyond{offset.x - chord.x, offset.y - chord.y, offset.z - chord.z};
        return Dot(beyond, beyond);
    }
    return CrossSquare(offset, chord) / (length * length);
}

bool FitsOperand(const Point& from, const Point& to) {
    for (std::size_t a = 0; a < 3; ++a) {
        const std::int64_t increment = to[a] - from[a];
        if (increment > std::numeric_limits<std::int32_t>::max() ||
            increment < std::numeric_limits<std::int32_t>::min())
            return false;
    }
    return true;
}

// The farthest the points strictly between first and last lie from the chord first -> last, or
// a negative value when one lies beyond tolerance or steps back along it by more than tolerance.
double ChordDeviation(const std::vector<Point>& points, std::size_t first, std::size_t last,
                      double tolerance) {
    const Vector chord = Between(points[first], points[last]);
    const double length = std::sqrt(Dot(chord, chord));
    if (length == 0.0) return -1.0;
    double deviation = 0.0;
    double along = 0.0;
    for (std::size_t k = first + 1; k < last; ++k) {
        const Vector offset = Between(points[first], points[k]);
        const double projection = Dot(offset, chord) / length;
        // A step back within the tolerance (counts rounding a near-straight line) stays inside
        // the chord's sleeve; a longer one would fold the path onto itself.
        if (projection < along - tolerance) return -1.0;
        along = std::max(along, projection);
        const double square = SquareDistanceToChord(offset, chord, length, projection);
        if (square > tolerance * tolerance) return -1.0;
        deviation = std::max(deviation, square);
    }
    return std::min(std::sqrt(deviation), tolerance);  // the root may round up past it
}

// Whether segment keeps the value in force: none of its own, or the same.
bool KeepsInForce(double literal, double inForce) { return literal == 0.0 || literal == inForce; }

}  // namespace

SimplifiedSegments SimplifySegments(const std::vector<PathSegment>& segments, double tolerance) {
    const std::vector<Point> points = PointsOf(segments);
    SimplifiedSegments result;
    double speed = 0.0;
    double acceleration = 0.0;
    for (std::size_t first = 0; first < segments.size();) {
        const PathSegment& head = segments[first];
        if (head.speedLiteral != 0.0) speed = head.speedLiteral;
        if (head.accelerationLiteral != 0.0) acceleration = head.accelerationLiteral;
        std::size_t last = first + 1;  // the run is segments first .. last - 1
        double runDeviation = 0.0;
        while (last < segments.size() && last - first < kMaxMergedSegments &&
               KeepsInForce(segments[last].speedLiteral, speed) &&
               KeepsInForce(segments[last].accelerationLiteral, acceleration) &&
               FitsOperand(points[first], points[last + 1])) {
            const double deviation = ChordDeviation(points, first, last + 1, tolerance);
            if (deviation < 0.0) break;
            runDeviation = deviation;
            ++last;
        }
        PathSegment merged = head;
        for (std::size_t a = 0; a < 3; ++a) merged.counts[a] = points[last][a] - points[first][a];
        result.segments.push_back(merged);
        result.largestDeviation = std::max(result.largestDeviation, runDeviation);
        first = last;
    }
    return result;
}
