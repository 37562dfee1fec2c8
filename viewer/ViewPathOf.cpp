#include "viewer/ViewPathOf.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "toolpath/motion/PathStats.h"

namespace {

void AddPoints(const ElementPath& path, ViewPath& view) {
    const std::size_t count = path.segments.size();
    view.points.reserve(count + 1);
    view.distances.reserve(count + 1);
    ViewPoint at{};
    double distance = 0.0;
    view.points.push_back(at);
    view.distances.push_back(distance);
    for (const PathSegment& segment : path.segments) {
        for (std::size_t a = 0; a < 3; ++a) at[a] += static_cast<double>(segment.counts[a]);
        distance += CountLength(segment);
        view.points.push_back(at);
        view.distances.push_back(distance);
    }
}

void AddUnits(const ElementPath& path, ViewPath& view) {
    view.axisCount = path.axisCount;
    for (int axis = 0; axis < 3; ++axis) {
        const auto a = static_cast<std::size_t>(axis);
        view.axisUnits[a] = PositionUnitName(path, axis);
        view.unitsPerCount[a] = path.scales.position[a].perInternal;
    }
    view.speedUnit = path.columnUnits.speed;
}

// Builds the drawn polyline: the path's corners, and a vertex wherever the speed crosses from
// one colour of the scale to the next. The square of the speed is linear in the distance
// within a piece, which gives the crossings in closed form.
class ColourSplitter {
  public:
    explicit ColourSplitter(ViewPath& view) : m_view(view) {
        m_view.vertices.reserve(view.points.size());
        m_view.colours.reserve(view.points.size());
        m_view.vertices.push_back(view.points[0]);
        m_view.colours.push_back(0);
    }

    void AddPiece(const TimedPiece& piece, double endDistance) {
        const double v0 = piece.startSpeed;
        const double v1 = piece.endSpeed;
        const int c0 = SpeedColour(v0, m_view.peakSpeed);
        const int c1 = SpeedColour(v1, m_view.peakSpeed);
        const double length = endDistance - piece.startDistance;
        const int step = c1 >= c0 ? 1 : -1;
        double from = piece.startDistance;
        for (int c = c0; c != c1; c += step) {
            const double boundary =
                m_view.peakSpeed * (step > 0 ? c + 1 : c) / static_cast<double>(kSpeedColours);
            const double f = (boundary * boundary - v0 * v0) / (v1 * v1 - v0 * v0);
            const double at = piece.startDistance + std::clamp(f, 0.0, 1.0) * length;
            Stretch(piece.segment, from, c);
            from = at;
        }
        Stretch(piece.segment, from, c1);
    }

    void EndSegment(std::size_t segment) {
        if (m_pending < 0) m_pending = 0;
        m_view.vertices.push_back(m_view.points[segment + 1]);
        m_view.colours.push_back(static_cast<std::uint8_t>(m_pending));
        m_pending = -1;
    }

  private:
    // A stretch of colour that starts at distance from along segment.
    void Stretch(std::size_t segment, double from, int colour) {
        if (m_pending >= 0 && colour != m_pending) {
            m_view.vertices.push_back(PointAlong(m_view, segment, from));
            m_view.colours.push_back(static_cast<std::uint8_t>(m_pending));
        }
        m_pending = colour;
    }

    ViewPath& m_view;
    int m_pending = -1;  // the colour of the stretch since the last vertex; -1 none yet
};

void AddTiming(const ElementPath& path, const MotionModel& model, ViewPath& view) {
    const double perCount = path.scales.position[0].basePerInternal;
    model.Trace([&](const MotionPiece& piece) {
        view.pieces.push_back({piece.startTime, piece.startDistance / perCount,
                               static_cast<float>(SpeedInColumnUnit(path, piece.startSpeed)),
                               static_cast<float>(SpeedInColumnUnit(path, piece.endSpeed)),
                               static_cast<std::uint32_t>(piece.segment)});
        view.duration = piece.endTime;
    });
    view.segments.assign(view.SegmentCount(), {});
    std::vector<bool> seen(view.SegmentCount(), false);
    for (std::size_t i = 0; i < view.pieces.size(); ++i) {
        const TimedPiece& piece = view.pieces[i];
        const double end =
            i + 1 < view.pieces.size() ? view.pieces[i + 1].startTime : view.duration;
        SegmentTiming& timing = view.segments[piece.segment];
        if (!seen[piece.segment]) {
            seen[piece.segment] = true;
            timing.entrySpeed = piece.startSpeed;
            timing.startTime = piece.startTime;
        }
        timing.exitSpeed = piece.endSpeed;
        timing.peakSpeed = std::max({timing.peakSpeed, piece.startSpeed, piece.endSpeed});
        timing.time = end - timing.startTime;
        view.peakSpeed = std::max(view.peakSpeed, static_cast<double>(timing.peakSpeed));
    }
}

void AddColouredVertices(ViewPath& view) {
    ColourSplitter splitter(view);
    std::size_t ended = 0;  // segments whose end vertex is in
    for (std::size_t i = 0; i < view.pieces.size(); ++i) {
        const TimedPiece& piece = view.pieces[i];
        while (ended < piece.segment) splitter.EndSegment(ended++);
        const bool last = i + 1 == view.pieces.size();
        splitter.AddPiece(piece, last ? view.distances.back() : view.pieces[i + 1].startDistance);
    }
    while (ended < view.SegmentCount()) splitter.EndSegment(ended++);
}

}  // namespace

ViewPath ViewPathOf(const ElementPath& path, const std::optional<MotionModel>& model) {
    ViewPath view;
    AddUnits(path, view);
    AddPoints(path, view);
    if (!model) {
        view.untimedReason = "the axes have no common unit";
    } else if (!model->Estimable()) {
        view.untimedReason = "a segment has no speed or acceleration in force";
    } else {
        view.timed = true;
        AddTiming(path, *model, view);
        AddColouredVertices(view);
        NoteVertexBox(view);
        return view;
    }
    view.vertices = view.points;
    view.colours.assign(view.points.size(), 0);
    NoteVertexBox(view);
    return view;
}
