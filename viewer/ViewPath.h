// What the viewer shows of an element: its path as points in counts of the reference axis, the
// motion model's timing along it, and the polyline to draw split where the speed's colour
// changes. Built once per reading of the element; the rest of the viewer reads only this.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

using ViewPoint = std::array<double, 3>;  // X, Y, Z in counts from the start

// A stretch of the path over which the speed changes at one rate (the model's piece). It ends
// where the next piece starts; the last one at the path's end.
struct TimedPiece {
    double startTime = 0.0;      // s
    double startDistance = 0.0;  // in counts along the path
    float startSpeed = 0.0f;     // in the speed column's unit
    float endSpeed = 0.0f;
    std::uint32_t segment = 0;
};

struct SegmentTiming {
    float entrySpeed = 0.0f;  // in the speed column's unit
    float exitSpeed = 0.0f;
    float peakSpeed = 0.0f;
    double startTime = 0.0;  // s
    double time = 0.0;
};

struct ViewPath {
    int axisCount = 2;
    std::array<std::string, 3> axisUnits;   // of the X, Y, Z columns, or "counts"
    std::array<double, 3> unitsPerCount{};  // a count in each column's unit
    std::string speedUnit;                  // of the speed column; "" without units

    std::vector<ViewPoint> points;  // point 0 the start, point i + 1 the end of segment i
    std::vector<double> distances;  // along the path to each point, in counts

    // The timing, when the model can tell it (see untimedReason otherwise).
    bool timed = false;
    std::string untimedReason;
    double duration = 0.0;
    double peakSpeed = 0.0;  // in the speed column's unit
    std::vector<SegmentTiming> segments;
    std::vector<TimedPiece> pieces;

    // What is drawn: the polyline through vertices, the stretch ending at vertex i (i >= 1) in
    // colour colours[i]; colours[0] is unused. Without timing every stretch has colour 0.
    std::vector<ViewPoint> vertices;
    std::vector<std::uint8_t> colours;
    // The box of the vertices, lowest and highest on each axis, once NoteVertexBox has measured
    // it: a drawing then knows where no stretch can reach. Left unknown, it is not used.
    std::optional<std::array<ViewPoint, 2>> vertexBox;

    std::size_t SegmentCount() const { return points.empty() ? 0 : points.size() - 1; }
};

// Measures the box of the path's vertices, as they are now.
void NoteVertexBox(ViewPath& path);

// The point at distance (in counts along the path, within segment) on segment.
ViewPoint PointAlong(const ViewPath& path, std::size_t segment, double distance);

// The number of colours of the speed scale, slow to fast.
inline constexpr int kSpeedColours = 32;
// The colour of a speed on the scale up to peak.
int SpeedColour(double speed, double peak);
// The red, green and blue of colour on the speed scale.
std::array<std::uint8_t, 3> SpeedColourRgb(int colour);
