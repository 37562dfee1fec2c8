#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "toolpath/exchange/ArcChords.h"

namespace {

// The farthest the chords from start through points lie from the arc, found by sampling each
// chord against the circle (the radius changes evenly along the arc).
double FarthestFromArc(const PlaneArc& arc, const std::vector<Vec3>& points) {
    double farthest = 0.0;
    Vec3 from = arc.start;
    for (const Vec3& to : points) {
        for (int s = 0; s <= 64; ++s) {
            const double t = s / 64.0;
            const double a = from[0] + (to[0] - from[0]) * t - arc.centreA;
            const double b = from[1] + (to[1] - from[1]) * t - arc.centreB;
            const double radius = (RadiusAt(arc, from) + RadiusAt(arc, to)) / 2.0;
            farthest = std::max(farthest, std::abs(std::hypot(a, b) - radius));
        }
        from = to;
    }
    return farthest;
}

PlaneArc HalfCircle(double radius, bool clockwise) {
    PlaneArc arc;
    arc.start = {0, 0, 0};
    arc.end = {2 * radius, 0, 3};
    arc.centreA = radius;
    arc.clockwise = clockwise;
    return arc;
}

TEST(ArcChords, StayWithinTheToleranceOverRadiiAndTolerances) {
    for (double radius : {0.05, 1.0, 10.0, 250.0}) {
        for (double tolerance : {0.001, 0.01, 0.1}) {
            const PlaneArc arc = HalfCircle(radius, true);
            const double count = ChordCount(radius, ArcSweep(arc), tolerance);
            std::vector<Vec3> points;
            AppendChords(arc, static_cast<size_t>(count), points);
            EXPECT_LE(FarthestFromArc(arc, points), tolerance) << radius << " " << tolerance;
            // Not wastefully many: one chord fewer would not do.
            if (count > 2) {
                points.clear();
                AppendChords(arc, static_cast<size_t>(count) - 1, points);
                EXPECT_GT(FarthestFromArc(arc, points), tolerance * 0.9);
            }
        }
    }
}

TEST(ArcChords, EndExactlyAtTheArcsEnd) {
    PlaneArc arc = HalfCircle(3.0, false);
    arc.end = {6.0001, 0.0002, 1};
    std::vector<Vec3> points;
    AppendChords(arc, 17, points);
    ASSERT_EQ(points.size(), 17u);
    EXPECT_EQ(points.back(), arc.end);
}

TEST(ArcChords, SweepFollowsTheDirectionAndMeetingEndsMakeAFullCircle) {
    PlaneArc arc;
    arc.start = {1, 0, 0};
    arc.end = {0, 1, 0};
    EXPECT_DOUBLE_EQ(ArcSweep(arc), std::numbers::pi / 2);
    arc.clockwise = true;
    EXPECT_DOUBLE_EQ(ArcSweep(arc), 3 * std::numbers::pi / 2);
    arc.end = arc.start;
    EXPECT_DOUBLE_EQ(ArcSweep(arc), 2 * std::numbers::pi);
    // An end a little off the start, on its ray from the centre, closes the circle too.
    arc.end = {1.0001, 0, 0};
    EXPECT_DOUBLE_EQ(ArcSweep(arc), 2 * std::numbers::pi);
    arc.clockwise = false;
    EXPECT_DOUBLE_EQ(ArcSweep(arc), 2 * std::numbers::pi);
}

TEST(ArcChords, SmallCirclesKeepAtLeastFourChords) {
    EXPECT_EQ(ChordCount(0.001, 2 * std::numbers::pi, 0.01), 4.0);
}

}  // namespace
