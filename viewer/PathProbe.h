// Where the motion is at a time, and which segment lies nearest to a pixel of a view.
#pragma once

#include <cstddef>
#include <optional>

#include "viewer/ViewCamera.h"
#include "viewer/ViewPath.h"

struct PathState {
    std::size_t segment = 0;
    ViewPoint position{};  // in counts from the start
    double speed = 0.0;    // in the speed column's unit; 0 without timing
    double time = 0.0;     // s; 0 without timing
};

// The state at time (clamped to the motion) of a timed path.
PathState StateAtTime(const ViewPath& path, double time);
// Without timing: the state at a fraction of the way through the segments, by count (1.5 is
// half way along segment 1).
PathState StateAtSegment(const ViewPath& path, double segments);

// The segment whose drawn line passes nearest to pixel, when that is within tolerance pixels.
std::optional<std::size_t> NearestSegment(const ViewPath& path, const ViewCamera& camera,
                                          Pixel pixel, double tolerance);
