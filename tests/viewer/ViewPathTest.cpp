#include <gtest/gtest.h>

#include <cmath>

#include "tests/viewer/ViewerTestPaths.h"
#include "viewer/ViewPath.h"

namespace {

TEST(ViewPathPoints, AreTheCumulativeCountsAndDistances) {
    ElementPath path = MicronPath(3);
    path.segments = {Move(3000, 4000, 0, 0.1, 1.0), Move(0, 0, 2000), Move(-3000, 0, 0)};
    const ViewPath view = ViewOf(path);
    ASSERT_EQ(view.SegmentCount(), 3u);
    EXPECT_EQ(view.points[1], (ViewPoint{3000, 4000, 0}));
    EXPECT_EQ(view.points[3], (ViewPoint{0, 4000, 2000}));
    EXPECT_DOUBLE_EQ(view.distances[1], 5000.0);
    EXPECT_DOUBLE_EQ(view.distances[3], 10000.0);
    EXPECT_EQ(view.axisUnits[0], "mm");
    EXPECT_DOUBLE_EQ(view.unitsPerCount[2], 1e-3);
    EXPECT_EQ(view.speedUnit, "m/s");
}

TEST(ViewPathTiming, OneSegmentTakesTheTrapezoidsClosedFormTime) {
    // 0.1 m at 0.1 m/s and 1 m/s^2: L / V + V / A = 1.1 s.
    ElementPath path = MicronPath(2);
    path.segments = {Move(100000, 0, 0, 0.1, 1.0)};
    const ViewPath view = ViewOf(path);
    ASSERT_TRUE(view.timed);
    EXPECT_NEAR(view.duration, 1.1, 1e-9);
    EXPECT_NEAR(view.peakSpeed, 0.1, 1e-6);
    ASSERT_EQ(view.segments.size(), 1u);
    EXPECT_FLOAT_EQ(view.segments[0].entrySpeed, 0.0f);
    EXPECT_FLOAT_EQ(view.segments[0].exitSpeed, 0.0f);
    EXPECT_NEAR(view.segments[0].time, 1.1, 1e-9);
}

TEST(ViewPathTiming, SegmentsStartWhereTheOnesBeforeEnd) {
    ElementPath path = MicronPath(2);
    path.segments = {Move(20000, 0, 0, 0.1, 1.0), Move(0, 30000), Move(-5000, 0)};
    const ViewPath view = ViewOf(path);
    ASSERT_EQ(view.segments.size(), 3u);
    for (std::size_t i = 1; i < 3; ++i) {
        EXPECT_NEAR(view.segments[i].startTime,
                    view.segments[i - 1].startTime + view.segments[i - 1].time, 1e-12);
        EXPECT_FLOAT_EQ(view.segments[i].entrySpeed, view.segments[i - 1].exitSpeed);
    }
    EXPECT_NEAR(view.segments[2].startTime + view.segments[2].time, view.duration, 1e-12);
}

TEST(ViewPathColours, ARampIsSplitWhereTheSpeedCrossesEachColour) {
    ElementPath path = MicronPath(2);
    path.segments = {Move(100000, 0, 0, 0.1, 1.0)};
    const ViewPath view = ViewOf(path);
    // Up through every colour and down again, on one straight line.
    ASSERT_GE(view.vertices.size(), static_cast<std::size_t>(2 * kSpeedColours - 1));
    EXPECT_EQ(view.vertices.front(), view.points.front());
    EXPECT_EQ(view.vertices.back(), view.points.back());
    int highest = 0;
    for (std::size_t i = 1; i < view.vertices.size(); ++i) {
        EXPECT_GE(view.vertices[i][0], view.vertices[i - 1][0]);
        EXPECT_DOUBLE_EQ(view.vertices[i][1], 0.0);
        highest = std::max(highest, static_cast<int>(view.colours[i]));
    }
    EXPECT_EQ(highest, kSpeedColours - 1);
    EXPECT_EQ(view.colours[1], 0);
    EXPECT_EQ(view.colours.back(), 0);
}

TEST(ViewPathColours, KeepEveryCornerOfThePath) {
    ElementPath path = MicronPath(2);
    path.segments = {Move(1000, 0, 0, 0.1, 1.0), Move(0, 1000), Move(-1000, 0), Move(0, -1000)};
    const ViewPath view = ViewOf(path);
    for (const ViewPoint& corner : view.points)
        EXPECT_NE(std::find(view.vertices.begin(), view.vertices.end(), corner),
                  view.vertices.end());
}

TEST(ViewPathUntimed, SaysWhyAndDrawsThePointsInOneColour) {
    ElementPath path = MicronPath(2);
    path.segments = {Move(1000, 0), Move(0, 1000)};
    const ViewPath noSpeed = ViewOf(path);
    EXPECT_FALSE(noSpeed.timed);
    EXPECT_NE(noSpeed.untimedReason.find("no speed"), std::string::npos);
    EXPECT_EQ(noSpeed.vertices, noSpeed.points);

    path.unitKind = UnitKind::None;
    const ViewPath noUnit = ViewOf(path);
    EXPECT_FALSE(noUnit.timed);
    EXPECT_NE(noUnit.untimedReason.find("no common unit"), std::string::npos);
}

TEST(SpeedColourScale, RunsFromTheSlowEndToTheFastOne) {
    EXPECT_EQ(SpeedColour(0.0, 2.0), 0);
    EXPECT_EQ(SpeedColour(2.0, 2.0), kSpeedColours - 1);
    EXPECT_EQ(SpeedColour(1.0, 0.0), 0);
    const auto slow = SpeedColourRgb(0);
    const auto fast = SpeedColourRgb(kSpeedColours - 1);
    EXPECT_GT(slow[2], slow[0]);  // blue
    EXPECT_GT(fast[0], fast[2]);  // red
}

}  // namespace
