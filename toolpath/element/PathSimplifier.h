// Fewer segments for the same path: consecutive segments merge into one chord while every point
// between lies within a tolerance of it.
#pragma once

#include <cstddef>
#include <vector>

#include "toolpath/element/ElementPath.h"

// A merged segment spans at most this many segments. Each extension of a chord checks every
// point it spans again, so the bound keeps the work linear in the segment count (at most this
// many checks per segment).
inline constexpr std::size_t kMaxMergedSegments = 128;

struct SimplifiedSegments {
    std::vector<PathSegment> segments;
    double largestDeviation = 0.0;  // in counts: the farthest a point lies from its chord
};

// Merges runs of segments greedily from the start: a run grows while each point it spans lies
// within tolerance (in counts) of the chord from its first point to its last, the points go
// forward along the chord (a step back of at most tolerance is allowed, so a path that turns
// back is never folded onto itself), the run's speed and acceleration do not change (a later
// segment has none of its own or the one in force) and each axis's merged increment fits a
// 32-bit operand. A merged segment's increments are the sums of its segments' counts, so every
// axis ends where it did; it has its first segment's speed and acceleration.
SimplifiedSegments SimplifySegments(const std::vector<PathSegment>& segments, double tolerance);
