#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "toolpath/element/PathSimplifier.h"

namespace {

PathSegment Step(std::int64_t x, std::int64_t y, std::int64_t z = 0, double speed = 0.0,
                 double acceleration = 0.0) {
    return {{x, y, z}, acceleration, speed};
}

Counts EndOf(const std::vector<PathSegment>& segments) {
    Counts end{};
    for (const PathSegment& segment : segments)
        for (std::size_t a = 0; a < 3; ++a) end[a] += segment.counts[a];
    return end;
}

// Chords of a circle of radius r counts through n points rounded to counts, so that the sum of
// the increments is exact.
std::vector<PathSegment> DenseCircle(double radius, int n) {
    std::vector<PathSegment> segments;
    Counts previous{static_cast<std::int64_t>(std::llround(radius)), 0, 0};
    for (int i = 1; i <= n; ++i) {
        const double angle = 2.0 * std::numbers::pi * i / n;
        const Counts point{std::llround(radius * std::cos(angle)),
                           std::llround(radius * std::sin(angle)), 0};
        segments.push_back(Step(point[0] - previous[0], point[1] - previous[1]));
        previous = point;
    }
    segments[0].speedLiteral = 10.0;
    segments[0].accelerationLiteral = 1.0;
    return segments;
}

// The distance from point p to the segment a -> b, independently of the simplifier's test.
double DistanceToChord(const Counts& p, const Counts& a, const Counts& b) {
    double ab[3], ap[3];
    double abab = 0.0, apab = 0.0;
    for (std::size_t i = 0; i < 3; ++i) {
        ab[i] = static_cast<double>(b[i] - a[i]);
        ap[i] = static_cast<double>(p[i] - a[i]);
        abab += ab[i] * ab[i];
        apab += ap[i] * ab[i];
    }
    const double t = abab > 0.0 ? std::clamp(apab / abab, 0.0, 1.0) : 0.0;
    double square = 0.0;
    for (std::size_t i = 0; i < 3; ++i) square += (ap[i] - t * ab[i]) * (ap[i] - t * ab[i]);
    return std::sqrt(square);
}

// The farthest an original point lies from the merged chord that spans it; the chords' ends are
// original points, found by walking both paths.
double MeasuredDeviation(const std::vector<PathSegment>& original,
                         const std::vector<PathSegment>& merged) {
    double worst = 0.0;
    Counts start{}, point{};
    std::size_t next = 0;
    for (const PathSegment& chord : merged) {
        Counts end = start;
        for (std::size_t a = 0; a < 3; ++a) end[a] += chord.counts[a];
        while (point != end) {
            for (std::size_t a = 0; a < 3; ++a) point[a] += original[next].counts[a];
            ++next;
            worst = std::max(worst, DistanceToChord(point, start, end));
        }
        start = end;
    }
    return worst;
}

TEST(PathSimplifierShapes, ADenseCircleDropsSegmentsWithinTheTolerance) {
    const std::vector<PathSegment> circle = DenseCircle(50000.0, 20000);
    const double tolerance = 10.0;
    const SimplifiedSegments merged = SimplifySegments(circle, tolerance);
    EXPECT_LT(merged.segments.size(), circle.size() / 10);
    EXPECT_EQ(EndOf(merged.segments), EndOf(circle));
    EXPECT_LE(merged.largestDeviation, tolerance);
    EXPECT_LE(MeasuredDeviation(circle, merged.segments), tolerance);
    EXPECT_NEAR(MeasuredDeviation(circle, merged.segments), merged.largestDeviation, 1e-9);
}

TEST(PathSimplifierShapes, AZigZagAboveTheToleranceIsKept) {
    std::vector<PathSegment> zigzag;
    for (int i = 0; i < 100; ++i) zigzag.push_back(Step(100, i % 2 == 0 ? 50 : -50));
    const SimplifiedSegments merged = SimplifySegments(zigzag, 10.0);
    EXPECT_EQ(merged.segments.size(), zigzag.size());
    EXPECT_EQ(merged.largestDeviation, 0.0);
}

TEST(PathSimplifierShapes, ACollinearRunMergesIntoOneSegment) {
    std::vector<PathSegment> run(50, Step(3, 4, 5));
    run[0].speedLiteral = 2.0;
    const SimplifiedSegments merged = SimplifySegments(run, 0.0);
    ASSERT_EQ(merged.segments.size(), 1u);
    EXPECT_EQ(merged.segments[0].counts, (Counts{150, 200, 250}));
    EXPECT_EQ(merged.segments[0].speedLiteral, 2.0);
}

TEST(PathSimplifierShapes, APathThatTurnsBackIsNotFoldedOntoItself) {
    const std::vector<PathSegment> backAndForth = {Step(100, 0), Step(-100, 0), Step(100, 0)};
    EXPECT_EQ(SimplifySegments(backAndForth, 10.0).segments.size(), 3u);
}

TEST(PathSimplifierShapes, AStepBackWithinTheToleranceStillMerges) {
    const std::vector<PathSegment> jitter = {Step(100, 0), Step(-3, 0), Step(100, 0)};
    const SimplifiedSegments merged = SimplifySegments(jitter, 10.0);
    ASSERT_EQ(merged.segments.size(), 1u);
    EXPECT_EQ(merged.segments[0].counts[0], 197);
}

TEST(PathSimplifierShapes, AMergedSegmentSpansAtMostTheBoundedRun) {
    const std::vector<PathSegment> run(3 * kMaxMergedSegments, Step(1, 0));
    EXPECT_EQ(SimplifySegments(run, 0.0).segments.size(), 3u);
}

TEST(PathSimplifierDynamics, NoRunCrossesAChangeOfSpeedOrAcceleration) {
    const std::vector<PathSegment> path = {
        Step(10, 0, 0, 5.0, 1.0), Step(10, 0), Step(10, 0, 0, 5.0),
        Step(10, 0, 0, 6.0),      Step(10, 0), Step(10, 0, 0, 0.0, 2.0)};
    const SimplifiedSegments merged = SimplifySegments(path, 0.0);
    ASSERT_EQ(merged.segments.size(), 3u);
    EXPECT_EQ(merged.segments[0].counts[0], 30);
    EXPECT_EQ(merged.segments[1].counts[0], 20);
    EXPECT_EQ(merged.segments[1].speedLiteral, 6.0);
    EXPECT_EQ(merged.segments[2].accelerationLiteral, 2.0);
}

TEST(PathSimplifierDynamics, MergedIncrementsStayWithinTheOperandsRange) {
    const std::int64_t big = 1'500'000'000;
    const std::vector<PathSegment> path = {Step(big, 0), Step(big, 0)};
    const SimplifiedSegments merged = SimplifySegments(path, 0.0);
    EXPECT_EQ(merged.segments.size(), 2u);
}

}  // namespace
