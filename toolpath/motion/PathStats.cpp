#include "toolpath/motion/PathStats.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/FixedPoint.h"
#include "base/numbertext/Layout.h"

namespace {

// Index lists in warnings name this many runs at most.
constexpr std::size_t kListedRuns = 10;

constexpr int kShownDigits = 6;

bool AtLiteralLimit(const PathSegment& segment) {
    const auto atLimit = [](std::int64_t count) {
        return count == std::numeric_limits<std::int32_t>::max() ||
               count == std::numeric_limits<std::int32_t>::min();
    };
    return std::any_of(segment.counts.begin(), segment.counts.end(), atLimit) ||
           segment.accelerationLiteral >= fixedpoint::kMax ||
           segment.speedLiteral >= fixedpoint::kMax;
}

}  // namespace

std::string DescribeSegments(const std::vector<std::size_t>& indexes) {
    std::vector<std::string> runs;
    std::size_t more = 0;
    for (std::size_t i = 0; i < indexes.size();) {
        std::size_t last = i;
        while (last + 1 < indexes.size() && indexes[last + 1] == indexes[last] + 1) ++last;
        if (runs.size() < kListedRuns) {
            runs.push_back(last == i ? std::to_string(indexes[i])
                                     : std::to_string(indexes[i]) + " to " +
                                           std::to_string(indexes[last]));
        } else {
            more += last - i + 1;
        }
        i = last + 1;
    }
    std::string text = indexes.size() == 1 ? "segment " : "segments ";
    for (std::size_t r = 0; r < runs.size(); ++r) {
        if (r > 0) text += r + 1 == runs.size() && more == 0 ? " and " : ", ";
        text += runs[r];
    }
    if (more > 0) text += " and " + std::to_string(more) + " more";
    return text;
}

namespace {

std::vector<std::size_t> LeadingSegments(std::size_t count) {
    std::vector<std::size_t> indexes(count);
    for (std::size_t i = 0; i < count; ++i) indexes[i] = i;
    return indexes;
}

void AddWarning(std::vector<std::string>& warnings, const std::string& what,
                const std::vector<std::size_t>& indexes) {
    if (!indexes.empty()) warnings.push_back(what + ": " + DescribeSegments(indexes));
}

void AddTravel(const ElementPath& path, PathStats& stats) {
    Counts position{};
    Counts lowest{};
    Counts highest{};
    Counts travel{};
    for (const PathSegment& segment : path.segments) {
        for (size_t a = 0; a < 3; ++a) {
            position[a] += segment.counts[a];
            travel[a] += std::abs(segment.counts[a]);
            lowest[a] = std::min(lowest[a], position[a]);
            highest[a] = std::max(highest[a], position[a]);
        }
    }
    for (size_t a = 0; a < static_cast<size_t>(path.axisCount); ++a) {
        const InternalScale& unit = path.scales.position[a];
        stats.axes[a] = {unit.ToColumn(static_cast<double>(travel[a])),
                         unit.ToColumn(static_cast<double>(lowest[a])),
                         unit.ToColumn(static_cast<double>(highest[a])),
                         unit.ToColumn(static_cast<double>(position[a])),
                         position[a],
                         lowest[a],
                         highest[a]};
    }
}

void AddLengths(const ElementPath& path, PathStats& stats) {
    const InternalScale& unit = path.scales.position[0];
    stats.segmentLengths.reserve(path.segments.size());
    for (const PathSegment& segment : path.segments) {
        stats.segmentLengths.push_back(unit.ToColumn(CountLength(segment)));
        stats.pathLength += stats.segmentLengths.back();
    }
}

void ConvertSpeeds(const ElementPath& path, MotionSummary& motion) {
    motion.peakSpeed = SpeedInColumnUnit(path, motion.peakSpeed);
    for (SegmentMotion& segment : motion.segments) {
        segment.entrySpeed = SpeedInColumnUnit(path, segment.entrySpeed);
        segment.exitSpeed = SpeedInColumnUnit(path, segment.exitSpeed);
        segment.peakSpeed = SpeedInColumnUnit(path, segment.peakSpeed);
    }
}

void AddMotion(const ElementPath& path, const std::optional<MotionModel>& model, PathStats& stats) {
    if (!model) {
        stats.warnings.push_back(
            "the axes have no common unit: lengths are in counts and the duration cannot be "
            "estimated");
        return;
    }
    AddWarning(stats.warnings,
               "no speed in force, so the duration cannot be estimated (--speed gives the speed "
               "in force before the element)",
               LeadingSegments(model->SegmentsWithoutSpeed()));
    AddWarning(stats.warnings,
               "no acceleration in force, so the duration cannot be estimated (--accel gives "
               "the acceleration in force before the element)",
               LeadingSegments(model->SegmentsWithoutAcceleration()));
    stats.motion = model->Summarize();
    ConvertSpeeds(path, stats.motion);
    std::vector<std::size_t> slow;
    for (std::size_t i = 0; i < stats.motion.segments.size(); ++i) {
        if (!stats.motion.segments[i].reachesSpeed && stats.segmentLengths[i] > 0.0)
            slow.push_back(i);
    }
    AddWarning(stats.warnings, "never reach their speed", slow);
}

}  // namespace

std::optional<MotionModel> MotionModelOf(const ElementPath& path, DynamicsInForce before) {
    if (path.unitKind == UnitKind::None) return std::nullopt;
    std::vector<MotionSegment> segments;
    const ColumnScales& scales = path.scales;
    segments.reserve(path.segments.size());
    for (const PathSegment& segment : path.segments) {
        segments.push_back({scales.position[0].ToBase(CountLength(segment)),
                            scales.speed.ToBase(segment.speedLiteral),
                            scales.acceleration.ToBase(segment.accelerationLiteral)});
    }
    const DynamicsInForce inBase{scales.speed.BaseOfColumn(before.speed),
                                 scales.acceleration.BaseOfColumn(before.acceleration)};
    return MotionModel(std::move(segments), inBase);
}

namespace {

std::string WithUnit(double value, const std::string& unit) {
    const std::string number = numbertext::Significant(value, kShownDigits).Str();
    return unit.empty() ? number : number + " " + unit;
}

std::optional<std::string> RateProblem(double value, const InternalScale& scale,
                                       const std::string& unit) {
    if (value == 0.0) return std::nullopt;
    const double internal = scale.FromColumn(value);
    if (internal >= fixedpoint::kStep / 2 && internal <= fixedpoint::kMax) return std::nullopt;
    return WithUnit(value, unit) + " is not a value the controller holds (from " +
           WithUnit(scale.ToColumn(fixedpoint::kStep), unit) + " to " +
           WithUnit(scale.ToColumn(fixedpoint::kMax), unit) + ")";
}

}  // namespace

std::optional<std::string> SpeedInForceProblem(const ElementPath& path, double speed) {
    return RateProblem(speed, path.scales.speed, path.columnUnits.speed);
}

std::optional<std::string> AccelerationInForceProblem(const ElementPath& path,
                                                      double acceleration) {
    return RateProblem(acceleration, path.scales.acceleration, path.columnUnits.acceleration);
}

double SpeedInColumnUnit(const ElementPath& path, double baseSpeed) {
    return path.scales.speed.ColumnOfBase(baseSpeed);
}

PathStats ComputeStats(const ElementPath& path, const std::optional<MotionModel>& model) {
    PathStats stats;
    AddTravel(path, stats);
    AddLengths(path, stats);
    std::vector<std::size_t> zero;
    std::vector<std::size_t> clamped;
    for (std::size_t i = 0; i < path.segments.size(); ++i) {
        if (stats.segmentLengths[i] == 0.0) zero.push_back(i);
        if (AtLiteralLimit(path.segments[i])) clamped.push_back(i);
    }
    AddWarning(stats.warnings, "zero length", zero);
    AddWarning(stats.warnings,
               "a count or value at the end of its operand's range (beyond it, it is clamped)",
               clamped);
    AddMotion(path, model, stats);
    return stats;
}
