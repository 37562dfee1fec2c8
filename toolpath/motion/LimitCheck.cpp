#include "toolpath/motion/LimitCheck.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

#include "base/numbertext/Layout.h"
#include "toolpath/motion/PathStats.h"

namespace {

// A value this close to its limit is at it, not over: the 16.16 fixed point of the speeds and
// accelerations, the unit conversions and the model's arithmetic round, and a value that shows
// as its limit in six digits must not be reported over it.
constexpr double kRelativeSlack = 5e-7;
constexpr int kShownDigits = 6;

bool Exceeds(double value, double limit) {
    return value > limit + std::abs(limit) * kRelativeSlack;
}

std::string Number(double value) {
    return numbertext::Significant(value == 0.0 ? 0.0 : value, kShownDigits).Str();
}

// The highest speed and the steepest change of speed the model gives each segment.
struct SegmentPeaks {
    std::vector<double> speed;
    std::vector<double> acceleration;
};

SegmentPeaks PeaksOf(const MotionModel& model, std::size_t count) {
    SegmentPeaks peaks{std::vector<double>(count, 0.0), std::vector<double>(count, 0.0)};
    model.Trace([&peaks](const MotionPiece& piece) {
        double& speed = peaks.speed[piece.segment];
        speed = std::max({speed, piece.startSpeed, piece.endSpeed});
        const double length = piece.endDistance - piece.startDistance;
        if (length <= 0.0) return;
        // v^2 is linear in s over a piece, so its rate is constant: a = d(v^2)/ds / 2.
        const double rate =
            std::abs(piece.endSpeed * piece.endSpeed - piece.startSpeed * piece.startSpeed) /
            (2.0 * length);
        double& acceleration = peaks.acceleration[piece.segment];
        acceleration = std::max(acceleration, rate);
    });
    return peaks;
}

void CheckAxisShares(const ElementPath& path, const SegmentPeaks& peaks, const PathLimits& limits,
                     std::size_t i, std::vector<LimitFinding>& findings) {
    const PathSegment& segment = path.segments[i];
    const double length = CountLength(segment);
    if (length == 0.0) return;
    for (int a = 0; a < path.axisCount; ++a) {
        const AxisLimits& axis = limits.axes[static_cast<std::size_t>(a)];
        const double share = std::abs(static_cast<double>(segment.counts[a])) / length;
        const double speed = peaks.speed[i] * share;
        const double acceleration = peaks.acceleration[i] * share;
        if (axis.maxSpeed && Exceeds(speed, *axis.maxSpeed))
            findings.push_back({i, LimitKind::Speed, a, speed, *axis.maxSpeed, 0.0});
        if (axis.maxAcceleration && Exceeds(acceleration, *axis.maxAcceleration))
            findings.push_back(
                {i, LimitKind::Acceleration, a, acceleration, *axis.maxAcceleration, 0.0});
    }
}

void CheckShortSegment(const ElementPath& path, const MotionModel& model, const PathLimits& limits,
                       std::size_t i, std::vector<LimitFinding>& findings) {
    if (limits.minSegmentTime <= 0.0) return;
    const double length = path.scales.position[0].ToBase(CountLength(path.segments[i]));
    const double speed = model.SpeedInForce(i);
    if (length == 0.0 || speed <= 0.0) return;
    const double time = length / speed;
    if (time < limits.minSegmentTime * (1.0 - kRelativeSlack))
        findings.push_back({i, LimitKind::ShortSegment, -1, time, limits.minSegmentTime, speed});
}

void CheckTravel(const ElementPath& path, const PathLimits& limits, std::size_t i, Counts& position,
                 std::vector<LimitFinding>& findings) {
    for (int a = 0; a < path.axisCount; ++a) {
        const auto axis = static_cast<std::size_t>(a);
        position[axis] += path.segments[i].counts[axis];
        const AxisLimits& envelope = limits.axes[axis];
        if (!envelope.travelMin && !envelope.travelMax) continue;
        const double at = limits.start[axis] +
                          path.scales.position[axis].ToBase(static_cast<double>(position[axis]));
        if (envelope.travelMin && Exceeds(*envelope.travelMin, at))
            findings.push_back({i, LimitKind::BelowTravel, a, at, *envelope.travelMin, 0.0});
        if (envelope.travelMax && Exceeds(at, *envelope.travelMax))
            findings.push_back({i, LimitKind::AboveTravel, a, at, *envelope.travelMax, 0.0});
    }
}

std::string DynamicsUnchecked(const std::optional<MotionModel>& model) {
    if (!model) return "the axes have no common unit";
    if (model->SegmentsWithoutSpeed() > 0)
        return "no speed in force at segment 0 (--speed gives the speed in force before the "
               "element)";
    if (model->SegmentsWithoutAcceleration() > 0)
        return "no acceleration in force at segment 0 (--accel gives the acceleration in force "
               "before the element)";
    return "";
}

const char* QuantityName(LimitKind kind) {
    return kind == LimitKind::Speed ? "speed" : "acceleration";
}

}  // namespace

LimitReport CheckLimits(const ElementPath& path, const std::optional<MotionModel>& model,
                        const PathLimits& limits) {
    LimitReport report;
    report.dynamicsUnchecked = DynamicsUnchecked(model);
    report.travelChecked = model.has_value();
    if (!model) return report;
    const bool dynamics = report.dynamicsUnchecked.empty();
    const SegmentPeaks peaks = dynamics ? PeaksOf(*model, path.segments.size()) : SegmentPeaks{};
    Counts position{};
    for (std::size_t i = 0; i < path.segments.size(); ++i) {
        if (dynamics) {
            CheckAxisShares(path, peaks, limits, i, report.findings);
            CheckShortSegment(path, *model, limits, i, report.findings);
        }
        CheckTravel(path, limits, i, position, report.findings);
    }
    return report;
}

const char* LimitKindName(LimitKind kind) {
    switch (kind) {
        case LimitKind::Speed:
            return "speed";
        case LimitKind::Acceleration:
            return "acceleration";
        case LimitKind::BelowTravel:
            return "below_travel";
        case LimitKind::AboveTravel:
            return "above_travel";
        default:
            return "short_segment";
    }
}

double FindingInColumnUnit(const ElementPath& path, const LimitFinding& finding, double value) {
    switch (finding.kind) {
        case LimitKind::Speed:
            return path.scales.speed.ColumnOfBase(value);
        case LimitKind::Acceleration:
            return path.scales.acceleration.ColumnOfBase(value);
        case LimitKind::BelowTravel:
        case LimitKind::AboveTravel:
            return path.scales.position[static_cast<std::size_t>(finding.axis)].ColumnOfBase(value);
        default:
            return value;
    }
}

std::string FindingUnit(const ElementPath& path, const LimitFinding& finding) {
    switch (finding.kind) {
        case LimitKind::Speed:
            return path.columnUnits.speed;
        case LimitKind::Acceleration:
            return path.columnUnits.acceleration;
        case LimitKind::BelowTravel:
        case LimitKind::AboveTravel:
            return PositionUnitName(path, finding.axis);
        default:
            return "s";
    }
}

namespace {

std::string WithUnit(const ElementPath& path, const LimitFinding& finding, double value) {
    const std::string unit = FindingUnit(path, finding);
    const std::string number = Number(FindingInColumnUnit(path, finding, value));
    return unit.empty() ? number : number + " " + unit;
}

// What the finding is, without its segment: "X speed 0.62 m/s over its limit 0.5 m/s".
std::string FindingText(const ElementPath& path, const LimitFinding& finding) {
    const std::string axis(1, AxisLetter(std::max(finding.axis, 0)));
    switch (finding.kind) {
        case LimitKind::Speed:
        case LimitKind::Acceleration:
            return axis + " " + QuantityName(finding.kind) + " " +
                   WithUnit(path, finding, finding.value) + " over its limit " +
                   WithUnit(path, finding, finding.limit);
        case LimitKind::BelowTravel:
            return axis + " at " + WithUnit(path, finding, finding.value) + ", " +
                   WithUnit(path, finding, finding.limit - finding.value) +
                   " below its travel_min " + WithUnit(path, finding, finding.limit);
        case LimitKind::AboveTravel:
            return axis + " at " + WithUnit(path, finding, finding.value) + ", " +
                   WithUnit(path, finding, finding.value - finding.limit) +
                   " above its travel_max " + WithUnit(path, finding, finding.limit);
        default:
            return "takes " + Number(finding.value) + " s at " +
                   Number(path.scales.speed.ColumnOfBase(finding.speed)) + " " +
                   path.columnUnits.speed + ", shorter than min_segment_time " +
                   Number(finding.limit) + " s";
    }
}

// How the warnings of stats group the findings: by kind and axis.
std::string GroupText(const ElementPath& path, const LimitFinding& worst) {
    const std::string axis(1, AxisLetter(std::max(worst.axis, 0)));
    switch (worst.kind) {
        case LimitKind::Speed:
        case LimitKind::Acceleration:
            return axis + " " + QuantityName(worst.kind) + " over its limit " +
                   WithUnit(path, worst, worst.limit) + " (up to " +
                   WithUnit(path, worst, worst.value) + ")";
        case LimitKind::BelowTravel:
            return axis + " below its travel_min " + WithUnit(path, worst, worst.limit) +
                   " (down to " + WithUnit(path, worst, worst.value) + ")";
        case LimitKind::AboveTravel:
            return axis + " above its travel_max " + WithUnit(path, worst, worst.limit) +
                   " (up to " + WithUnit(path, worst, worst.value) + ")";
        default:
            return "shorter than min_segment_time " + Number(worst.limit) +
                   " s at their speed (down to " + Number(worst.value) + " s)";
    }
}

// Whether a is the worse of two findings of one group.
bool Worse(const LimitFinding& a, const LimitFinding& b) {
    const bool lowerIsWorse = a.kind == LimitKind::BelowTravel || a.kind == LimitKind::ShortSegment;
    return lowerIsWorse ? a.value < b.value : a.value > b.value;
}

}  // namespace

std::string DescribeFinding(const ElementPath& path, const LimitFinding& finding) {
    return "segment " + std::to_string(finding.segment) + ": " + FindingText(path, finding);
}

std::vector<std::string> LimitWarnings(const ElementPath& path, const LimitReport& report) {
    struct Group {
        LimitFinding worst;
        std::vector<std::size_t> segments;
    };
    std::map<std::pair<LimitKind, int>, Group> groups;
    for (const LimitFinding& finding : report.findings) {
        auto [entry, added] = groups.try_emplace({finding.kind, finding.axis}, Group{finding, {}});
        Group& group = entry->second;
        if (!added && Worse(finding, group.worst)) group.worst = finding;
        group.segments.push_back(finding.segment);
    }
    std::vector<std::string> warnings;
    for (const auto& [key, group] : groups)
        warnings.push_back(GroupText(path, group.worst) + ": " + DescribeSegments(group.segments));
    return warnings;
}
