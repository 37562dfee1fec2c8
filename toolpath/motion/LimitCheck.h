// Whether a path asks more of its drives than they can give: each axis's share of the modelled
// vector speed and acceleration against the drive's limits, the positions against its travel
// envelope, and segments too short for the controller to run at their speed.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "toolpath/element/ElementPath.h"
#include "toolpath/motion/MotionModel.h"

// One drive's limits in the base units of the element (m, in or rad; per second, per second
// squared); nothing = no limit.
struct AxisLimits {
    std::optional<double> maxSpeed;
    std::optional<double> maxAcceleration;
    std::optional<double> travelMin;  // positions where start says the element starts
    std::optional<double> travelMax;
};

struct PathLimits {
    std::array<AxisLimits, 3> axes;  // X, Y, Z
    std::array<double, 3> start{};   // the axes' positions at the element's start, base units
    double minSegmentTime = 0.0;     // seconds; 0 = not checked
};

enum class LimitKind { Speed, Acceleration, BelowTravel, AboveTravel, ShortSegment };

// What one segment asks beyond a limit, in base units (seconds for a short segment).
struct LimitFinding {
    std::size_t segment = 0;
    LimitKind kind = LimitKind::Speed;
    int axis = -1;       // 0 X, 1 Y, 2 Z; -1 for a short segment
    double value = 0.0;  // the axis's speed, acceleration or end position; the segment's time
    double limit = 0.0;  // the limit it passes
    double speed = 0.0;  // a short segment's speed in force
};

struct LimitReport {
    std::vector<LimitFinding> findings;  // in segment order
    // Why speeds and accelerations (and, without units, positions) were not checked; "" = they
    // were.
    std::string dynamicsUnchecked;
    bool travelChecked = false;
};

// Checks path against limits, from model (MotionModelOf's for the path; nothing without a
// common unit). Linear in the segment count.
LimitReport CheckLimits(const ElementPath& path, const std::optional<MotionModel>& model,
                        const PathLimits& limits);

// "segment 812: X speed 0.62 m/s over its limit 0.5 m/s", in the element's column units.
std::string DescribeFinding(const ElementPath& path, const LimitFinding& finding);
// The findings grouped by kind and axis, each with its worst value and its segments: the
// warnings stats shows (what was not checked, stats says in warnings of its own).
std::vector<std::string> LimitWarnings(const ElementPath& path, const LimitReport& report);

// The name of the kind as JSON gives it: "speed", "acceleration", "below_travel",
// "above_travel", "short_segment".
const char* LimitKindName(LimitKind kind);
// A value of the finding in the unit DescribeFinding shows it in, and that unit's name.
double FindingInColumnUnit(const ElementPath& path, const LimitFinding& finding, double value);
std::string FindingUnit(const ElementPath& path, const LimitFinding& finding);
