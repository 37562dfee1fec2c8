#include "viewer/PathProbe.h"

#include <algorithm>
#include <cmath>

namespace {

double PieceEndTime(const ViewPath& path, std::size_t piece) {
    return piece + 1 < path.pieces.size() ? path.pieces[piece + 1].startTime : path.duration;
}

double PieceEndDistance(const ViewPath& path, std::size_t piece) {
    return piece + 1 < path.pieces.size() ? path.pieces[piece + 1].startDistance
                                          : path.distances.back();
}

double SquaredDistanceToLine(Pixel p, Pixel a, Pixel b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double length = dx * dx + dy * dy;
    double t = length > 0.0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    const double ex = a.x + t * dx - p.x;
    const double ey = a.y + t * dy - p.y;
    return ex * ex + ey * ey;
}

}  // namespace

PathState StateAtTime(const ViewPath& path, double time) {
    PathState state;
    if (path.pieces.empty()) return StateAtSegment(path, 0.0);
    time = std::clamp(time, 0.0, path.duration);
    auto after = std::upper_bound(path.pieces.begin(), path.pieces.end(), time,
                                  [](double t, const TimedPiece& p) { return t < p.startTime; });
    const auto index =
        static_cast<std::size_t>(std::max<std::ptrdiff_t>(after - path.pieces.begin() - 1, 0));
    const TimedPiece& piece = path.pieces[index];
    // The speed changes at one rate in time over a piece: it travels v0 t + a t^2 / 2 of its
    // (v0 + v1) T / 2.
    const double span = PieceEndTime(path, index) - piece.startTime;
    const double t = std::clamp(time - piece.startTime, 0.0, span);
    const double v0 = piece.startSpeed;
    const double v1 = piece.endSpeed;
    const double rate = span > 0.0 ? (v1 - v0) / span : 0.0;
    const double whole = (v0 + v1) * span / 2.0;
    const double fraction =
        whole > 0.0 ? std::clamp((v0 * t + rate * t * t / 2.0) / whole, 0.0, 1.0) : 0.0;
    const double distance =
        piece.startDistance + fraction * (PieceEndDistance(path, index) - piece.startDistance);
    state.segment = piece.segment;
    state.position = PointAlong(path, piece.segment, distance);
    state.speed = v0 + rate * t;
    state.time = time;
    return state;
}

PathState StateAtSegment(const ViewPath& path, double segments) {
    PathState state;
    const std::size_t count = path.SegmentCount();
    if (count == 0) {
        if (!path.points.empty()) state.position = path.points[0];
        return state;
    }
    segments = std::clamp(segments, 0.0, static_cast<double>(count));
    state.segment = std::min(static_cast<std::size_t>(segments), count - 1);
    const double within = segments - static_cast<double>(state.segment);
    const double start = path.distances[state.segment];
    state.position = PointAlong(path, state.segment,
                                start + within * (path.distances[state.segment + 1] - start));
    return state;
}

std::optional<std::size_t> NearestSegment(const ViewPath& path, const ViewCamera& camera,
                                          Pixel pixel, double tolerance) {
    std::optional<std::size_t> nearest;
    double best = tolerance * tolerance;
    if (path.points.size() < 2) return nearest;
    Pixel from = camera.ToPixel(path.points[0]);
    for (std::size_t i = 0; i + 1 < path.points.size(); ++i) {
        const Pixel to = camera.ToPixel(path.points[i + 1]);
        // Lines whose box is beyond the tolerance cannot be nearer.
        const bool far = std::min(from.x, to.x) - pixel.x > tolerance ||
                         pixel.x - std::max(from.x, to.x) > tolerance ||
                         std::min(from.y, to.y) - pixel.y > tolerance ||
                         pixel.y - std::max(from.y, to.y) > tolerance;
        if (!far) {
            const double d = SquaredDistanceToLine(pixel, from, to);
            if (d <= best) {
                best = d;
                nearest = i;
            }
        }
        from = to;
    }
    return nearest;
}
