#include "viewer/ViewPath.h"

#include <algorithm>
#include <cmath>

namespace {

// The colours along the speed scale are interpolated between these stops, slow to fast; the
// same stops as the SVG plot's, so that the two pictures of a path read alike.
constexpr std::array<std::array<int, 3>, 5> kColourStops = {
    {{44, 62, 158}, {42, 143, 189}, {39, 174, 96}, {230, 163, 0}, {215, 48, 31}}};

}  // namespace

int SpeedColour(double speed, double peak) {
    if (!(peak > 0.0)) return 0;
    return std::clamp(static_cast<int>(speed / peak * kSpeedColours), 0, kSpeedColours - 1);
}

std::array<std::uint8_t, 3> SpeedColourRgb(int colour) {
    const double position = (colour + 0.5) / kSpeedColours * (kColourStops.size() - 1);
    const size_t stop = std::min(static_cast<size_t>(position), kColourStops.size() - 2);
    const double mix = position - static_cast<double>(stop);
    std::array<std::uint8_t, 3> rgb{};
    for (size_t c = 0; c < 3; ++c) {
        rgb[c] = static_cast<std::uint8_t>(
            std::lround(kColourStops[stop][c] * (1.0 - mix) + kColourStops[stop + 1][c] * mix));
    }
    return rgb;
}

ViewPoint PointAlong(const ViewPath& path, std::size_t segment, double distance) {
    const ViewPoint& from = path.points[segment];
    const ViewPoint& to = path.points[segment + 1];
    const double length = path.distances[segment + 1] - path.distances[segment];
    const double f = length > 0.0 ? (distance - path.distances[segment]) / length : 0.0;
    return {from[0] + (to[0] - from[0]) * f, from[1] + (to[1] - from[1]) * f,
            from[2] + (to[2] - from[2]) * f};
}

void NoteVertexBox(ViewPath& path) {
    path.vertexBox.reset();
    if (path.vertices.empty()) return;
    ViewPoint low = path.vertices.front();
    ViewPoint high = low;
    bool finite = true;
    for (const ViewPoint& vertex : path.vertices) {
        for (std::size_t a = 0; a < 3; ++a) {
            low[a] = std::min(low[a], vertex[a]);
            high[a] = std::max(high[a], vertex[a]);
            finite = finite && std::isfinite(vertex[a]);
        }
    }
    if (!finite) return;
    path.vertexBox = {low, high};
}
