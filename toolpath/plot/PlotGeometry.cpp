#include "toolpath/plot/PlotGeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

const double kCos30 = std::sqrt(3.0) / 2.0;
constexpr double kSin30 = 0.5;

// A round step: factor (1, 2, 5 or 10) times ten to the exponent.
struct RoundStep {
    double factor;
    int exponent;
    // i steps, computed so that decimal values come out exact (3 * 0.2 gives 0.6).
    double Times(double i) const {
        return exponent >= 0 ? i * factor * std::pow(10.0, exponent)
                             : i * factor / std::pow(10.0, -exponent);
    }
};

// Whether value can be the size of a round step: positive, finite and normal, so that its
// decimal exponent lies from -308 to 308 and fits an int.
bool IsStepSize(double value) {
    return std::isfinite(value) && value >= std::numeric_limits<double>::min();
}

// The smallest round step not below step, which IsStepSize() accepts.
RoundStep NiceStep(double step) {
    const int exponent = static_cast<int>(std::floor(std::log10(step)));
    for (double factor : {1.0, 2.0, 5.0}) {
        const RoundStep candidate{factor, exponent};
        if (candidate.Times(1.0) >= step * (1.0 - 1e-12)) return candidate;
    }
    return {1.0, exponent + 1};
}

// Ticks are counted from zero in steps; beyond 2^53 steps from it a count no longer moves by one.
constexpr double kMostStepsFromZero = 9007199254740992.0;

}  // namespace

std::vector<PlotView> ViewsOf(const ElementPath& path) {
    if (path.axisCount == 3) return {PlotView::XY, PlotView::XZ, PlotView::YZ, PlotView::Isometric};
    return {PlotView::XY};
}

const char* ViewName(PlotView view) {
    switch (view) {
        case PlotView::XY:
            return "XY";
        case PlotView::XZ:
            return "XZ";
        case PlotView::YZ:
            return "YZ";
        default:
            return "isometric";
    }
}

std::array<int, 2> ViewAxes(PlotView view) {
    switch (view) {
        case PlotView::XZ:
            return {0, 2};
        case PlotView::YZ:
            return {1, 2};
        default:
            return {0, 1};
    }
}

Point2 ProjectOnto(PlotView view, const Vec3& point) {
    if (view == PlotView::Isometric)
        return {(point[0] - point[1]) * kCos30, (point[0] + point[1]) * kSin30 + point[2]};
    const std::array<int, 2> axes = ViewAxes(view);
    return {point[static_cast<size_t>(axes[0])], point[static_cast<size_t>(axes[1])]};
}

std::vector<Vec3> CumulativePoints(const ElementPath& path) {
    std::vector<Vec3> points;
    points.reserve(path.segments.size() + 1);
    Counts position{};
    points.push_back({0.0, 0.0, 0.0});
    for (const PathSegment& segment : path.segments) {
        for (size_t a = 0; a < 3; ++a) position[a] += segment.counts[a];
        points.push_back({static_cast<double>(position[0]), static_cast<double>(position[1]),
                          static_cast<double>(position[2])});
    }
    return points;
}

ViewFit FitView(const Bounds& bounds, const Rect& area, double margin) {
    double spanX = bounds.empty ? 0.0 : bounds.maxX - bounds.minX;
    double spanY = bounds.empty ? 0.0 : bounds.maxY - bounds.minY;
    if (spanX <= 0.0) spanX = spanY;
    if (spanY <= 0.0) spanY = spanX;
    if (spanX <= 0.0) spanX = spanY = 1.0;
    const double usableWidth = std::max(area.width - 2.0 * margin, 1.0);
    const double usableHeight = std::max(area.height - 2.0 * margin, 1.0);
    ViewFit fit;
    fit.scale = std::min(usableWidth / spanX, usableHeight / spanY);
    const double centreX = bounds.empty ? 0.0 : (bounds.minX + bounds.maxX) / 2.0;
    const double centreY = bounds.empty ? 0.0 : (bounds.minY + bounds.maxY) / 2.0;
    fit.originX = area.left + area.width / 2.0 - centreX * fit.scale;
    fit.originY = area.top + area.height / 2.0 + centreY * fit.scale;
    return fit;
}

std::vector<double> NiceTicks(double low, double high, int count) {
    std::vector<double> ticks;
    if (!std::isfinite(low) || !std::isfinite(high) || !(high > low) || count < 1) return ticks;
    const double rough = (high - low) / count;
    if (!IsStepSize(rough)) return ticks;
    const RoundStep step = NiceStep(rough);
    const double size = step.Times(1.0);
    const double first = std::ceil(low / size - 1e-9);
    const double last = std::floor(high / size + 1e-9);
    if (!IsStepSize(size) || !(std::abs(first) < kMostStepsFromZero) ||
        !(std::abs(last) < kMostStepsFromZero))
        return ticks;
    for (double i = first; i <= last; i += 1.0) ticks.push_back(i == 0.0 ? 0.0 : step.Times(i));
    return ticks;
}

double NiceValueBelow(double limit) {
    if (!IsStepSize(limit)) return 0.0;
    const RoundStep step = NiceStep(limit);
    // As a ratio, so that a step beyond the doubles (2e308 for the largest limit) is not taken.
    if (step.Times(1.0) / limit <= 1.0 + 1e-12) return step.Times(1.0);
    if (step.factor == 1.0) return RoundStep{5.0, step.exponent - 1}.Times(1.0);
    return RoundStep{step.factor == 5.0 ? 2.0 : 1.0, step.exponent}.Times(1.0);
}
