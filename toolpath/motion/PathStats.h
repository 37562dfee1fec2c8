// What an element's path does: per-axis travel and extents, the vector length, the motion model's
// duration and speeds, and warnings about segments that do not move as written.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "toolpath/element/ElementPath.h"
#include "toolpath/motion/MotionModel.h"

// One axis over the whole path, in its column's unit; positions are relative to the start.
struct AxisTravel {
    double travel = 0.0;  // sum of the absolute increments
    double lowest = 0.0;
    double highest = 0.0;
    double end = 0.0;
    std::int64_t endCounts = 0;     // sum of the LPOS operands
    std::int64_t lowestCounts = 0;  // lowest and highest in counts, for a picture's extent
    std::int64_t highestCounts = 0;
};

struct PathStats {
    std::array<AxisTravel, 3> axes;      // the first axisCount are used
    double pathLength = 0.0;             // in the X column's unit; in counts without units
    std::vector<double> segmentLengths;  // the same for each segment
    MotionSummary motion;                // speeds in the speed column's unit
    std::vector<std::string> warnings;
};

// "segment 4", "segments 0 to 2, 7 and 9", "segments 0, 2, ... and 12 more" (indexes ascending).
std::string DescribeSegments(const std::vector<std::size_t>& indexes);

// The motion model on the path, in the base units of its reference drive; nothing when the axes
// have no common unit. before is in the speed and acceleration columns' units.
std::optional<MotionModel> MotionModelOf(const ElementPath& path, DynamicsInForce before);
// Why a speed or acceleration in force before the element (in its column's unit, 0 for none)
// cannot be in force on the controller, or nothing: the controller holds each as a 16.16
// fixed-point operand in internal units, so a value must lie from its smallest step to its
// largest value. Beyond these, the model's squares of speeds would leave the range of a double.
std::optional<std::string> SpeedInForceProblem(const ElementPath& path, double speed);
std::optional<std::string> AccelerationInForceProblem(const ElementPath& path, double acceleration);
// A speed of the model in the speed column's unit.
double SpeedInColumnUnit(const ElementPath& path, double baseSpeed);

// The statistics of path, its motion summarised from model (MotionModelOf's for the path, built
// once by the caller, who may also trace it).
PathStats ComputeStats(const ElementPath& path, const std::optional<MotionModel>& model);
