#include "toolpath/plot/SvgPlot.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <optional>
#include <utility>
#include <vector>

#include "base/ClampedInt.h"
#include "base/numbertext/Layout.h"
#include "toolpath/motion/PathStats.h"
#include "toolpath/plot/LabelPlacer.h"
#include "toolpath/plot/PlotGeometry.h"
#include "toolpath/plot/PngCanvas.h"
#include "toolpath/plot/PolylineThinner.h"
#include "toolpath/plot/SvgDocument.h"

namespace {

// Speeds are drawn in this many colours, slow to fast.
constexpr int kSpeedColours = 12;
// Colours along the speed scale, interpolated between these stops.
constexpr std::array<std::array<int, 3>, 5> kColourStops = {
    {{44, 62, 158}, {42, 143, 189}, {39, 174, 96}, {230, 163, 0}, {215, 48, 31}}};

// The colours of everything but the speed scale.
namespace ink {
constexpr const char* kUnknownSpeed = "#555555";
constexpr const char* kProfile = "#1f4e9c";
constexpr const char* kGrid = "#eeeeee";
constexpr const char* kTick = "#666";  // ticks and the isometric key's axes
constexpr const char* kFrame = "#999";
constexpr const char* kScaleBar = "#333";
constexpr const char* kStart = "#1a9e2e";
constexpr const char* kEnd = "#111111";
constexpr const char* kEndEdge = "white";
constexpr const char* kLabel = "#444";
}  // namespace ink

// Layout, in pixels.
constexpr double kPad = 10.0;
constexpr double kTitleHeight = 44.0;
constexpr double kTitleBaseline = 26.0;
constexpr double kTitleFontSize = 15.0;
constexpr double kTitleSmallestFontSize = 10.0;
constexpr double kLegendWidth = 170.0;
constexpr double kAxisLeft = 66.0;    // room for the vertical axis' ticks and label
constexpr double kAxisBottom = 44.0;  // room for the horizontal axis' ticks and label
constexpr double kPanelTop = 24.0;    // room for the view's name
constexpr double kPanelRight = 16.0;
constexpr double kViewNameRise = 8.0;         // from the frame's top to the view name's baseline
constexpr Point2 kSinglePanel{800.0, 600.0};  // the one view of a 2D path
constexpr Point2 kGridPanel{480.0, 380.0};    // each of the four views of a 3D path
constexpr double kInnerMargin = 12.0;         // between the path's extent and the frame
constexpr double kProfileHeight = 230.0;
constexpr double kProfileHeadroom = 1.05;  // the speed axis reaches this far past the peak
constexpr double kPathWidth = 1.4;
// From the line a text centres on to its baseline, for the document's font size.
constexpr double kTextCentreDrop = 4.0;

// Ticks, their values and the axis names around a frame.
constexpr double kTickLength = 5.0;
constexpr double kTickSpacing = 70.0;  // about one tick per this many pixels
constexpr int kMinTicks = 3;
constexpr double kTickValueBelow = 17.0;  // the baseline of a value under the frame
constexpr double kTickValueLeft = 8.0;    // the end of a value left of the frame
constexpr double kAxisNameBelow = 36.0;   // the baseline of the name under the frame
constexpr double kAxisNameLeft = 52.0;    // the middle of the name left of the frame

// The isometric view's key: axis arrows at a corner under the frame, a scale bar beside them.
constexpr Point2 kKeyCorner{14.0, 36.0};  // from the frame's bottom left
constexpr double kKeyArrowLength = 18.0;
constexpr double kKeyLetterGap = 8.0;     // past an arrow's tip
constexpr double kKeyLetterCentre = 3.0;  // half a letter's width
constexpr double kScaleBarBelow = 30.0;
constexpr double kScaleBarWidth = 2.0;
constexpr double kScaleBarShare = 4.0;  // the bar is at most the frame's width over this
constexpr double kScaleBarValueGap = 6.0;

// The start's ring and the end's square, and the room they keep free of numbers.
constexpr double kStartRadius = 6.5;
constexpr double kStartRingWidth = 3.0;
constexpr double kStartRoom = 8.0;  // half the side of the room
constexpr double kEndHalfSide = 4.0;
constexpr double kEndRoom = 5.0;

// Segment numbers.
constexpr int kMaxLabelsPerView = 200;
constexpr double kLabelFontSize = 9.0;
constexpr double kLabelCharWidth = 5.6;
constexpr double kCharWidthPerFontSize = kLabelCharWidth / kLabelFontSize;  // an average one
constexpr double kLabelHeight = 10.0;
constexpr double kLabelPadding = 2.0;       // added to the width of the characters
constexpr double kLabelInset = 1.0;         // from the label's left to its text
constexpr double kLabelBaselineRise = 2.0;  // from the label's bottom to the baseline
constexpr double kLabelGap = 3.0;           // from the point it numbers
constexpr double kLabelGapOnMarker = 8.0;   // from a point on the start or the end
constexpr double kInkHalfSide = 0.5;        // an inked pixel, as the labels keep off it
constexpr int kShownDigits = 4;

// The legend, right of the views: offsets from its left and top.
namespace legend {
constexpr double kGap = 10.0;  // from the views
constexpr double kFirstBaseline = 12.0;
constexpr double kSecondBaseline = 28.0;
constexpr double kBarTop = 24.0;
constexpr double kBoxWidth = 16.0;
constexpr double kBoxHeight = 18.0;
constexpr double kTickEnd = 20.0;
constexpr double kTickValue = 23.0;
constexpr double kPeakBelowBar = 18.0;
constexpr double kMarkerCentre = 7.0;
constexpr double kMarkerName = 20.0;
constexpr double kStartRow = 40.0;  // the markers' centres below the speed scale
constexpr double kEndRow = 60.0;
constexpr double kNoteBaseline = 84.0;
constexpr int kTickCount = 4;
}  // namespace legend

// Segment numbers and the legend's note on them.
TextStyle LabelStyle() { return {.fontSize = kLabelFontSize, .fill = ink::kLabel}; }

std::string Number(double value, int digits = kShownDigits) {
    return numbertext::Significant(value == 0.0 ? 0.0 : value, digits).Str();
}

// Tick values longer than this are written with an exponent, so that they fit beside the frame
// and do not run into their neighbours.
constexpr std::size_t kLongestPlainTick = 7;

// A tick's value: plain while that is short, else with an exponent ("2e9", "-1.5e-7").
std::string TickText(double value) {
    const std::string plain = Number(value);
    if (plain.size() <= kLongestPlainTick || value == 0.0 || !std::isfinite(value)) return plain;
    const int exponent = ClampedInt(std::floor(std::log10(std::abs(value))), -330, 330);
    return Number(value / std::pow(10.0, exponent)) + "e" + std::to_string(exponent);
}

void DrawFrame(Canvas& canvas, const Rect& area) {
    canvas.Rect(area.left, area.top, area.width, area.height,
                {.fill = "none", .stroke = ink::kFrame});
}

// A tick on the area's bottom edge at x with its grid line and value.
void DrawTickAcross(Canvas& canvas, const Rect& area, double x, double value) {
    canvas.Line({x, area.top}, {x, area.Bottom()}, {.stroke = ink::kGrid});
    canvas.Line({x, area.Bottom()}, {x, area.Bottom() + kTickLength}, {.stroke = ink::kTick});
    canvas.Text({x, area.Bottom() + kTickValueBelow}, TickText(value),
                {.anchor = TextAnchor::Middle});
}

// A tick on the area's left edge at y with its grid line and value.
void DrawTickUp(Canvas& canvas, const Rect& area, double y, double value) {
    canvas.Line({area.left, y}, {area.Right(), y}, {.stroke = ink::kGrid});
    canvas.Line({area.left - kTickLength, y}, {area.left, y}, {.stroke = ink::kTick});
    canvas.Text({area.left - kTickValueLeft, y + kTextCentreDrop}, TickText(value),
                {.anchor = TextAnchor::End});
}

void DrawAxisNames(Canvas& canvas, const Rect& area, const std::string& across,
                   const std::string& up) {
    canvas.Text({area.left + area.width / 2, area.Bottom() + kAxisNameBelow}, across,
                {.anchor = TextAnchor::Middle});
    canvas.VerticalText({area.left - kAxisNameLeft, area.top + area.height / 2}, up);
}

int TickCount(double pixels) {
    return std::max(kMinTicks, static_cast<int>(pixels / kTickSpacing));
}

// A view's projection and fit as one linear map from the path's counts to pixels: every point
// of the path goes through it once for each view.
struct PixelMap {
    Vec3 across{};  // pixels right per count of each axis
    Vec3 down{};    // pixels down per count of each axis
    Point2 origin;  // the pixel of the path's 0, 0, 0

    PixelMap() = default;
    PixelMap(PlotView view, const ViewFit& fit) : origin{fit.originX, fit.originY} {
        for (size_t axis = 0; axis < 3; ++axis) {
            Vec3 unit{};
            unit[axis] = 1.0;
            const Point2 direction = ProjectOnto(view, unit);
            across[axis] = direction.x * fit.scale;
            down[axis] = -direction.y * fit.scale;
        }
    }
    Point2 operator()(const Vec3& point) const {
        return {origin.x + across[0] * point[0] + across[1] * point[1] + across[2] * point[2],
                origin.y + down[0] * point[0] + down[1] * point[1] + down[2] * point[2]};
    }
};

struct Panel {
    PlotView view;
    Rect area;  // the framed drawing area
    ViewFit fit;
    PixelMap map;
    Point2 Pixel(const Vec3& point) const { return map(point); }
};

// The path's extent in a view: a flat view's is that of its axes' ranges, which the statistics
// hold; only the isometric one needs its own pass over the points.
Bounds ExtentIn(PlotView view, const PathStats& stats, const std::vector<Vec3>& points) {
    Bounds bounds;
    if (view == PlotView::Isometric) {
        for (const Vec3& point : points) bounds.Add(ProjectOnto(view, point));
        return bounds;
    }
    const std::array<int, 2> axes = ViewAxes(view);
    const AxisTravel& across = stats.axes[static_cast<size_t>(axes[0])];
    const AxisTravel& up = stats.axes[static_cast<size_t>(axes[1])];
    bounds.Add({static_cast<double>(across.lowestCounts), static_cast<double>(up.lowestCounts)});
    bounds.Add({static_cast<double>(across.highestCounts), static_cast<double>(up.highestCounts)});
    return bounds;
}

std::string SpeedColour(int bucket) {
    const double position = (bucket + 0.5) / kSpeedColours * (kColourStops.size() - 1);
    const size_t stop = std::min(static_cast<size_t>(position), kColourStops.size() - 2);
    const double mix = position - static_cast<double>(stop);
    char text[8];
    std::array<int, 3> rgb{};
    for (size_t c = 0; c < 3; ++c) {
        rgb[c] = static_cast<int>(
            std::lround(kColourStops[stop][c] * (1.0 - mix) + kColourStops[stop + 1][c] * mix));
    }
    std::snprintf(text, sizeof text, "#%02x%02x%02x", rgb[0], rgb[1], rgb[2]);
    return text;
}

// What the speed colouring needs: the model and the peak speed to scale colours to.
struct SpeedScale {
    const MotionModel* model = nullptr;  // nothing when the speeds are unknown
    double peak = 0.0;                   // in the base unit
    std::string unknownReason;
    int Bucket(double speed) const {
        if (peak <= 0.0) return 0;
        return ClampedInt(speed / peak * kSpeedColours, 0, kSpeedColours - 1);
    }
};

SpeedScale SpeedScaleOf(const ElementPath& path, const std::optional<MotionModel>& model,
                        const MotionSummary& summary) {
    SpeedScale scale;
    if (!model) {
        scale.unknownReason = "no common unit";
    } else if (!model->Estimable()) {
        scale.unknownReason =
            model->SegmentsWithoutSpeed() > 0 ? "no speed in force" : "no acceleration in force";
    } else if (!std::isfinite(summary.peakSpeed) || !std::isfinite(summary.duration)) {
        // No colour scale or time axis can be drawn to it.
        scale.unknownReason = "speeds beyond what can be computed";
    } else {
        scale.model = &*model;
        scale.peak = path.scales.speed.BaseOfColumn(summary.peakSpeed);
    }
    return scale;
}

// The drawing's size and where its parts go.
struct PlotLayout {
    std::vector<Panel> panels;
    Rect profile;  // the speed over time, when asked for
    double legendLeft = 0.0;
    double width = 0.0;
    double height = 0.0;
};

std::vector<PlotView> ViewsDrawn(const ElementPath& path, const PlotRequest& request) {
    if (request.view) return {*request.view};
    return ViewsOf(path);
}

// Lays out the views in one column (one view) or two (four views), fitting the path into each;
// a size asked for is shared out among the views.
PlotLayout LayOut(const ElementPath& path, const PathStats& stats, const std::vector<Vec3>& points,
                  const PlotRequest& request) {
    const std::vector<PlotView> views = ViewsDrawn(path, request);
    const bool single = views.size() == 1;
    const double columns = single ? 1.0 : 2.0;
    const double rows = std::ceil(static_cast<double>(views.size()) / columns);
    const double profileHeight = request.speedProfile ? kProfileHeight : 0.0;
    Point2 panelSize = single ? kSinglePanel : kGridPanel;
    if (request.size) {
        panelSize.x = (request.size->width - kPad - kLegendWidth) / columns;
        panelSize.y = (request.size->height - kTitleHeight - kPad - profileHeight) / rows;
    }
    PlotLayout layout;
    for (size_t i = 0; i < views.size(); ++i) {
        const double left = kPad + static_cast<double>(i % 2) * panelSize.x;
        const double top = kTitleHeight + static_cast<double>(i / 2) * panelSize.y;
        Panel panel{views[i],
                    {left + kAxisLeft, top + kPanelTop, panelSize.x - kAxisLeft - kPanelRight,
                     panelSize.y - kPanelTop - kAxisBottom},
                    {},
                    {}};
        panel.fit = FitView(ExtentIn(panel.view, stats, points), panel.area, kInnerMargin);
        panel.map = PixelMap(panel.view, panel.fit);
        layout.panels.push_back(panel);
    }
    const double right = kPad + columns * panelSize.x;
    const double bottom = kTitleHeight + rows * panelSize.y;
    layout.profile = {kPad + kAxisLeft, bottom + kPanelTop, right - kPad - kAxisLeft - kPanelRight,
                      kProfileHeight - kPanelTop - kAxisBottom};
    layout.legendLeft = right + legend::kGap;
    layout.width = right + kLegendWidth;
    layout.height = bottom + profileHeight + kPad;
    return layout;
}

std::string AxisName(const ElementPath& path, int axis) {
    return std::string(1, AxisLetter(axis)) + " [" + PositionUnitName(path, axis) + "]";
}

// Ticks in each axis's column unit over what the frame shows.
void DrawTicks(Canvas& canvas, const ElementPath& path, const Panel& panel) {
    const Rect& area = panel.area;
    const std::array<int, 2> axes = ViewAxes(panel.view);
    const Point2 low = panel.fit.ToView({area.left, area.Bottom()});
    const Point2 high = panel.fit.ToView({area.Right(), area.top});
    const InternalScale& across = path.scales.position[static_cast<size_t>(axes[0])];
    for (double tick :
         NiceTicks(across.ToColumn(low.x), across.ToColumn(high.x), TickCount(area.width)))
        DrawTickAcross(canvas, area, panel.fit.ToPixels({across.FromColumn(tick), 0.0}).x, tick);
    const InternalScale& up = path.scales.position[static_cast<size_t>(axes[1])];
    for (double tick : NiceTicks(up.ToColumn(low.y), up.ToColumn(high.y), TickCount(area.height)))
        DrawTickUp(canvas, area, panel.fit.ToPixels({0.0, up.FromColumn(tick)}).y, tick);
    DrawAxisNames(canvas, area, AxisName(path, axes[0]), AxisName(path, axes[1]));
}

// The isometric view has no ticks: below its frame it shows the directions of the axes and a
// scale bar.
void DrawIsometricKey(Canvas& canvas, const ElementPath& path, const Panel& panel) {
    const Rect& area = panel.area;
    const Point2 corner{area.left + kKeyCorner.x, area.Bottom() + kKeyCorner.y};
    for (int axis = 0; axis < 3; ++axis) {
        Vec3 unit{};
        unit[static_cast<size_t>(axis)] = 1.0;
        const Point2 direction = ProjectOnto(PlotView::Isometric, unit);
        const Point2 tip{corner.x + direction.x * kKeyArrowLength,
                         corner.y - direction.y * kKeyArrowLength};
        canvas.Line(corner, tip, {.stroke = ink::kTick});
        canvas.Text({tip.x + direction.x * kKeyLetterGap - kKeyLetterCentre,
                     tip.y - direction.y * kKeyLetterGap + kTextCentreDrop},
                    std::string(1, AxisLetter(axis)));
    }
    const InternalScale& unit = path.scales.position[0];
    const double barValue =
        NiceValueBelow(unit.ToColumn(area.width / kScaleBarShare / panel.fit.scale));
    const double barPixels = unit.FromColumn(barValue) * panel.fit.scale;
    const Point2 barEnd{area.Right(), area.Bottom() + kScaleBarBelow};
    canvas.Line({barEnd.x - barPixels, barEnd.y}, barEnd,
                {.stroke = ink::kScaleBar, .strokeWidth = kScaleBarWidth});
    canvas.Text({barEnd.x - barPixels - kScaleBarValueGap, barEnd.y + kTextCentreDrop},
                Number(barValue) + " " + PositionUnitName(path, 0), {.anchor = TextAnchor::End});
}

void DrawFrames(Canvas& canvas, const ElementPath& path, const std::vector<Panel>& panels) {
    for (const Panel& panel : panels) {
        canvas.Text({panel.area.left, panel.area.top - kViewNameRise}, ViewName(panel.view),
                    {.bold = true});
        if (panel.view == PlotView::Isometric) {
            DrawIsometricKey(canvas, path, panel);
        } else {
            DrawTicks(canvas, path, panel);
        }
        DrawFrame(canvas, panel.area);
    }
}

// Where the path lies at distance along segment, given the segment's start distance and length.
Vec3 PointAlong(const Vec3& from, const Vec3& to, double fraction) {
    return {from[0] + (to[0] - from[0]) * fraction, from[1] + (to[1] - from[1]) * fraction,
            from[2] + (to[2] - from[2]) * fraction};
}

// Feeds the path, split where its speed changes colour, into one thinner per panel.
class PathTracer {
  public:
    PathTracer(const std::vector<Panel>& panels, const std::vector<Vec3>& points, double width,
               double height)
        : m_panels(panels), m_points(points) {
        for (size_t i = 0; i < panels.size(); ++i) {
            m_thinners.emplace_back(static_cast<int>(width), static_cast<int>(height),
                                    kSpeedColours);
            m_thinners.back().MoveTo(panels[i].Pixel(points[0]));
        }
    }

    void TraceSegments() {
        for (size_t i = 1; i < m_points.size(); ++i) LineTo(m_points[i], 0);
    }

    void TraceMotion(const SpeedScale& speeds, const ElementPath& path) {
        std::size_t segment = path.segments.size();
        double segmentStart = 0.0;
        double segmentLength = 0.0;
        speeds.model->Trace([&](const MotionPiece& piece) {
            if (piece.segment != segment) {
                segment = piece.segment;
                segmentStart = piece.startDistance;
                segmentLength = path.scales.position[0].ToBase(CountLength(path.segments[segment]));
            }
            if (piece.endDistance <= piece.startDistance) return;
            const auto at = [&](double distance) {
                const double fraction =
                    segmentLength > 0.0 ? (distance - segmentStart) / segmentLength : 1.0;
                return PointAlong(m_points[segment], m_points[segment + 1], fraction);
            };
            TracePiece(piece, speeds, at);
        });
    }

    void Finish() {
        for (PolylineThinner& thinner : m_thinners) thinner.Finish();
    }
    const PolylineThinner& Thinner(size_t panel) const { return m_thinners[panel]; }

  private:
    // Splits the piece where its speed crosses from one colour to the next.
    template <class At>
    void TracePiece(const MotionPiece& piece, const SpeedScale& speeds, At at) {
        const int first = speeds.Bucket(piece.startSpeed);
        const int last = speeds.Bucket(piece.endSpeed);
        const double startSquare = piece.startSpeed * piece.startSpeed;
        const double change = piece.endSpeed * piece.endSpeed - startSquare;
        const int step = last > first ? 1 : -1;
        for (int bucket = first; bucket != last; bucket += step) {
            const double boundary = speeds.peak * (step > 0 ? bucket + 1 : bucket) / kSpeedColours;
            const double fraction = (boundary * boundary - startSquare) / change;
            LineTo(at(piece.startDistance + (piece.endDistance - piece.startDistance) * fraction),
                   bucket);
        }
        LineTo(at(piece.endDistance), last);
    }

    void LineTo(const Vec3& point, int colour) {
        for (size_t i = 0; i < m_panels.size(); ++i)
            m_thinners[i].LineTo(m_panels[i].Pixel(point), colour);
    }

    const std::vector<Panel>& m_panels;
    const std::vector<Vec3>& m_points;
    std::vector<PolylineThinner> m_thinners;
};

// A thinner's drawing in one colour.
void DrawPathPoints(Canvas& canvas, const PathPoints& points, const std::string& colour) {
    canvas.Polyline(
        points, {.fill = "none", .stroke = colour, .strokeWidth = kPathWidth, .closedJoins = true});
}

void DrawPaths(Canvas& canvas, const PathTracer& tracer, const std::vector<Panel>& panels,
               const SpeedScale& speeds) {
    for (size_t i = 0; i < panels.size(); ++i) {
        for (int colour = 0; colour < kSpeedColours; ++colour) {
            const PathPoints& points = tracer.Thinner(i).Points(colour);
            if (points.empty()) continue;
            DrawPathPoints(canvas, points, speeds.model ? SpeedColour(colour) : ink::kUnknownSpeed);
        }
    }
}

// The start is a ring and the end a square inside it, so both show where they meet.
void DrawStartMarker(Canvas& canvas, Point2 at) {
    canvas.Circle(at, kStartRadius,
                  {.fill = "none", .stroke = ink::kStart, .strokeWidth = kStartRingWidth});
}

void DrawEndMarker(Canvas& canvas, Point2 at) {
    canvas.Rect(at.x - kEndHalfSide, at.y - kEndHalfSide, 2 * kEndHalfSide, 2 * kEndHalfSide,
                {.fill = ink::kEnd, .stroke = ink::kEndEdge});
}

// A segment number goes beside its point, in the first corner where it does not crowd; gap
// keeps it clear of a marker there.
bool PlaceLabel(Canvas& canvas, LabelPlacer& placer, Point2 at, const std::string& label,
                double width, double gap) {
    constexpr std::array<std::array<double, 2>, 4> kCorners = {
        {{1, -1}, {1, 1}, {-1, -1}, {-1, 1}}};
    for (const auto& corner : kCorners) {
        const double left = corner[0] > 0 ? at.x + gap : at.x - gap - width;
        const double top = corner[1] < 0 ? at.y - gap - kLabelHeight : at.y + gap;
        if (!placer.Place(left, top, width, kLabelHeight)) continue;
        canvas.Text({left + kLabelInset, top + kLabelHeight - kLabelBaselineRise}, label,
                    LabelStyle());
        return true;
    }
    return false;
}

bool SamePixel(Point2 a, Point2 b) { return std::abs(a.x - b.x) < 1 && std::abs(a.y - b.y) < 1; }

// Numbers are not written over the path.
void ReserveInk(LabelPlacer& placer, const Rect& area, const PolylineThinner& thinner) {
    for (int row = static_cast<int>(area.top); row < static_cast<int>(area.Bottom()); ++row) {
        for (int column = static_cast<int>(area.left); column < static_cast<int>(area.Right());
             ++column) {
            if (thinner.IsInked(column, row))
                placer.Reserve(column, row, kInkHalfSide, kInkHalfSide);
        }
    }
}

// The pixels of an area that were met; a point outside the area counts as met.
class PixelSet {
  public:
    explicit PixelSet(const Rect& area)
        : m_left(std::floor(area.left)),
          m_top(std::floor(area.top)),
          m_columns(ClampedInt(std::ceil(area.Right()) - m_left, 0, kMostPlotSide)),
          m_rows(ClampedInt(std::ceil(area.Bottom()) - m_top, 0, kMostPlotSide)),
          m_met(static_cast<size_t>(m_columns) * static_cast<size_t>(m_rows), 0) {}

    // Whether the pixel at point was met for the first time.
    bool Insert(Point2 point) {
        // From 0 on the truncation rounds down as the pixel's index does: no library call for
        // every point of a dense path.
        const double column = point.x - m_left;
        const double row = point.y - m_top;
        if (!(column >= 0.0 && row >= 0.0 && column < m_columns && row < m_rows)) return false;
        std::uint8_t& met = m_met[static_cast<size_t>(row) * static_cast<size_t>(m_columns) +
                                  static_cast<size_t>(column)];
        if (met) return false;
        met = 1;
        return true;
    }

  private:
    double m_left;
    double m_top;
    int m_columns;
    int m_rows;
    std::vector<std::uint8_t> m_met;
};

// Start and end markers, then the segment numbers at segment ends where they do not crowd.
void DrawMarkersAndNumbers(Canvas& canvas, const std::vector<Panel>& panels,
                           const std::vector<Vec3>& points, const PathTracer& tracer) {
    for (size_t p = 0; p < panels.size(); ++p) {
        const Panel& panel = panels[p];
        const Point2 start = panel.Pixel(points.front());
        const Point2 end = panel.Pixel(points.back());
        LabelPlacer placer(panel.area.left, panel.area.top, panel.area.width, panel.area.height);
        ReserveInk(placer, panel.area, tracer.Thinner(p));
        placer.Reserve(start.x - kStartRoom, start.y - kStartRoom, 2 * kStartRoom, 2 * kStartRoom);
        placer.Reserve(end.x - kEndRoom, end.y - kEndRoom, 2 * kEndRoom, 2 * kEndRoom);
        // Taken boxes only grow and later numbers are no narrower, so a number that did not fit
        // beside a pixel will not fit there later: a dense path tries each pixel once.
        PixelSet tried(panel.area);
        int placed = 0;
        for (size_t i = 1; i < points.size() && placed < kMaxLabelsPerView; ++i) {
            const Point2 at = panel.Pixel(points[i]);
            if (!tried.Insert(at)) continue;
            const std::string label = std::to_string(i - 1);
            const double width =
                kLabelCharWidth * static_cast<double>(label.size()) + kLabelPadding;
            const bool onMarker = SamePixel(at, start) || SamePixel(at, end);
            if (PlaceLabel(canvas, placer, at, label, width,
                           onMarker ? kLabelGapOnMarker : kLabelGap))
                ++placed;
        }
        DrawStartMarker(canvas, start);
        DrawEndMarker(canvas, end);
    }
}

void DrawLegend(Canvas& canvas, const ElementPath& path, const SpeedScale& speeds,
                const MotionSummary& summary, double left, double top) {
    using namespace legend;
    if (!speeds.model) {
        canvas.Text({left, top + kFirstBaseline}, "speed not known:");
        canvas.Text({left, top + kSecondBaseline}, speeds.unknownReason);
        top += kSecondBaseline;
    } else {
        canvas.Text({left, top + kFirstBaseline}, "speed [" + path.columnUnits.speed + "]");
        const double barTop = top + kBarTop;
        for (int colour = 0; colour < kSpeedColours; ++colour) {
            const double y = barTop + (kSpeedColours - 1 - colour) * kBoxHeight;
            canvas.Rect(left, y, kBoxWidth, kBoxHeight, {.fill = SpeedColour(colour)});
        }
        double barBottom = barTop + kSpeedColours * kBoxHeight;
        for (double tick : NiceTicks(0.0, summary.peakSpeed, kTickCount)) {
            const double y = barBottom - (barBottom - barTop) * tick / summary.peakSpeed;
            canvas.Line({left + kBoxWidth, y}, {left + kTickEnd, y}, {.stroke = ink::kTick});
            canvas.Text({left + kTickValue, y + kTextCentreDrop}, Number(tick));
        }
        canvas.Text({left, barBottom + kPeakBelowBar}, "peak " + Number(summary.peakSpeed));
        barBottom += kPeakBelowBar;
        top = barBottom;
    }
    DrawStartMarker(canvas, {left + kMarkerCentre, top + kStartRow});
    canvas.Text({left + kMarkerName, top + kStartRow + kTextCentreDrop}, "start");
    DrawEndMarker(canvas, {left + kMarkerCentre, top + kEndRow});
    canvas.Text({left + kMarkerName, top + kEndRow + kTextCentreDrop}, "end");
    canvas.Text({left, top + kNoteBaseline}, "numbers: segment ends", LabelStyle());
}

void DrawSpeedProfile(Canvas& canvas, const ElementPath& path, const SpeedScale& speeds,
                      const MotionSummary& summary, const Rect& area, double width, double height) {
    canvas.Text({area.left, area.top - kViewNameRise}, "speed over time", {.bold = true});
    DrawFrame(canvas, area);
    if (!speeds.model || summary.duration <= 0.0) {
        canvas.Text({area.left + area.width / 2, area.top + area.height / 2},
                    "speed over time not known: " + speeds.unknownReason,
                    {.anchor = TextAnchor::Middle});
        return;
    }
    const double top = summary.peakSpeed * kProfileHeadroom;
    const auto pixel = [&](double time, double speed) {
        return Point2{area.left + time / summary.duration * area.width,
                      area.Bottom() - speed / top * area.height};
    };
    for (double tick : NiceTicks(0.0, summary.duration, TickCount(area.width)))
        DrawTickAcross(canvas, area, pixel(tick, 0.0).x, tick);
    for (double tick : NiceTicks(0.0, top, TickCount(area.height)))
        DrawTickUp(canvas, area, pixel(0.0, tick).y, tick);
    DrawAxisNames(canvas, area, "time [s]", "speed [" + path.columnUnits.speed + "]");
    // The speed changes at one rate within a piece, so it is a straight line over time.
    const double toColumn = path.scales.speed.ColumnPerBase();
    PolylineThinner curve(static_cast<int>(width), static_cast<int>(height), 1);
    curve.MoveTo(pixel(0.0, 0.0));
    speeds.model->Trace([&](const MotionPiece& piece) {
        curve.LineTo(pixel(piece.endTime, piece.endSpeed * toColumn), 0);
    });
    curve.Finish();
    DrawPathPoints(canvas, curve.Points(0), ink::kProfile);
}

// What the title says after the element's name.
std::string TitleFacts(const ElementPath& path, const PathStats& stats) {
    std::string facts = ": " + std::to_string(path.segments.size()) +
                        (path.segments.size() == 1 ? " segment" : " segments") + ", path length " +
                        Number(stats.pathLength, 6) + " " + PositionUnitName(path, 0) + ", ";
    if (stats.motion.estimable)
        return facts + "estimated duration " + Number(stats.motion.duration, 4) + " s";
    return facts + "duration not estimable";
}

// The title fits the picture's width: its font shrinks down to a smallest size, and a name
// still too long then loses its folders.
void DrawTitle(Canvas& canvas, const ElementPath& path, const PlotRequest& request,
               const PathStats& stats, double width) {
    const double room = width - 2.0 * kPad;
    const std::string facts = TitleFacts(path, stats);
    const auto widthAt = [](const std::string& text, double fontSize) {
        return static_cast<double>(text.size()) * fontSize * kCharWidthPerFontSize;
    };
    std::string title = request.name + facts;
    const double fontSize =
        std::clamp(room / widthAt(title, 1.0), kTitleSmallestFontSize, kTitleFontSize);
    const std::size_t slash = request.name.rfind('/');
    if (widthAt(title, fontSize) > room && slash != std::string::npos)
        title = request.name.substr(slash + 1) + facts;
    canvas.Text({kPad, kTitleBaseline}, title, {.fontSize = fontSize});
}

void DrawPlot(Canvas& canvas, const ElementPath& path, const std::optional<MotionModel>& model,
              const PathStats& stats, const PlotRequest& request, const std::vector<Vec3>& points,
              const PlotLayout& layout) {
    const SpeedScale speeds = SpeedScaleOf(path, model, stats.motion);
    DrawTitle(canvas, path, request, stats, layout.width);
    DrawFrames(canvas, path, layout.panels);
    PathTracer tracer(layout.panels, points, layout.width, layout.height);
    if (speeds.model) {
        tracer.TraceMotion(speeds, path);
    } else {
        tracer.TraceSegments();
    }
    tracer.Finish();
    DrawPaths(canvas, tracer, layout.panels, speeds);
    DrawMarkersAndNumbers(canvas, layout.panels, points, tracer);
    DrawLegend(canvas, path, speeds, stats.motion, layout.legendLeft, kTitleHeight + kPanelTop);
    if (request.speedProfile)
        DrawSpeedProfile(canvas, path, speeds, stats.motion, layout.profile, layout.width,
                         layout.height);
}

}  // namespace

bool PathHasView(const ElementPath& path, PlotView view) {
    return path.axisCount == 3 || view == PlotView::XY;
}

std::string RenderSvgPlot(const ElementPath& path, const std::optional<MotionModel>& model,
                          const PathStats& stats, const PlotRequest& request) {
    const std::vector<Vec3> points = CumulativePoints(path);
    const PlotLayout layout = LayOut(path, stats, points, request);
    SvgDocument svg;
    DrawPlot(svg, path, model, stats, request, points, layout);
    return svg.Finish(layout.width, layout.height);
}

std::string RenderPngPlot(const ElementPath& path, const std::optional<MotionModel>& model,
                          const PathStats& stats, const PlotRequest& request) {
    const std::vector<Vec3> points = CumulativePoints(path);
    const PlotLayout layout = LayOut(path, stats, points, request);
    PngCanvas png(static_cast<int>(std::lround(layout.width)),
                  static_cast<int>(std::lround(layout.height)));
    DrawPlot(png, path, model, stats, request, points, layout);
    return png.Finish();
}
