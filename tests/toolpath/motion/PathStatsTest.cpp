#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "tests/support/MicronPath.h"
#include "toolpath/motion/PathStats.h"

namespace {

PathStats StatsOf(const ElementPath& path, DynamicsInForce before) {
    return ComputeStats(path, MotionModelOf(path, before));
}

bool HasWarning(const PathStats& stats, const std::string& start) {
    for (const std::string& warning : stats.warnings) {
        if (warning.rfind(start, 0) == 0) return true;
    }
    return false;
}

TEST(PathStatsAxes, TravelExtentsAndEndFollowTheCumulativePositions) {
    ElementPath path = MicronPath(3);
    path.segments = {Move(3000, 0, 1000, 0.1, 1.0), Move(-5000, 4000), Move(1000, -6000)};
    const PathStats stats = StatsOf(path, {});
    EXPECT_DOUBLE_EQ(stats.axes[0].travel, 9.0);
    EXPECT_DOUBLE_EQ(stats.axes[0].lowest, -2.0);
    EXPECT_DOUBLE_EQ(stats.axes[0].highest, 3.0);
    EXPECT_DOUBLE_EQ(stats.axes[0].end, -1.0);
    EXPECT_EQ(stats.axes[0].endCounts, -1000);
    EXPECT_DOUBLE_EQ(stats.axes[1].lowest, -2.0);
    EXPECT_DOUBLE_EQ(stats.axes[1].highest, 4.0);
    EXPECT_DOUBLE_EQ(stats.axes[2].lowest, 0.0);
    EXPECT_DOUBLE_EQ(stats.axes[2].highest, 1.0);
    EXPECT_EQ(stats.axes[2].endCounts, 1000);
}

TEST(PathStatsAxes, EndCountsSumBeyondTheOperandsRange) {
    ElementPath path = MicronPath(2);
    const std::int64_t big = std::numeric_limits<std::int32_t>::max() - 1;
    path.segments = {Move(big, 0, 0, 0.1, 1.0), Move(big, 0), Move(big, 1)};
    EXPECT_EQ(StatsOf(path, {}).axes[0].endCounts, 3 * big);
}

TEST(PathStatsLength, VectorLengthsAreInTheXColumnsUnit) {
    ElementPath path = MicronPath(3);
    path.columnUnits.position[0] = "um";
    path.scales.position[0].perInternal = 1.0;
    path.segments = {Move(3000, 4000, 0, 0.1, 1.0), Move(0, 0, -12000)};
    const PathStats stats = StatsOf(path, {});
    EXPECT_DOUBLE_EQ(stats.segmentLengths[0], 5000.0);
    EXPECT_DOUBLE_EQ(stats.pathLength, 17000.0);
}

TEST(PathStatsMotion, DurationAndSpeedsComeFromTheModelInTheColumnsUnits) {
    ElementPath path = MicronPath(2);
    path.columnUnits.speed = "mm/s";
    path.scales.speed.perInternal = 1.0;
    // 10 mm at 0.01 m/s and 0.1 m/s^2: a trapezoid of 1 s + 0.1 s.
    path.segments = {Move(6000, 8000, 0, 0.01, 0.1)};
    const PathStats stats = StatsOf(path, {});
    ASSERT_TRUE(stats.motion.estimable);
    EXPECT_NEAR(stats.motion.duration, 1.1, 1e-12);
    EXPECT_NEAR(stats.motion.peakSpeed, 10.0, 1e-12);
    EXPECT_TRUE(stats.warnings.empty());
}

TEST(PathStatsMotion, SpeedGivenBeforeTheElementIsInTheColumnsUnit) {
    ElementPath path = MicronPath(2);
    path.segments = {Move(10000, 0)};
    const PathStats unknown = StatsOf(path, {});
    EXPECT_FALSE(unknown.motion.estimable);
    EXPECT_TRUE(HasWarning(unknown, "no speed in force"));
    EXPECT_TRUE(HasWarning(unknown, "no acceleration in force"));
    const PathStats known = StatsOf(path, {0.01, 0.1});
    ASSERT_TRUE(known.motion.estimable);
    EXPECT_NEAR(known.motion.duration, 1.1, 1e-12);
}

TEST(PathStatsWarnings, NameZeroLengthSlowAndClampedSegments) {
    ElementPath path = MicronPath(2);
    path.segments = {Move(10, 0, 0, 1.0, 0.1), Move(0, 0), Move(100000, 0),
                     Move(std::numeric_limits<std::int32_t>::max(), 0)};
    const PathStats stats = StatsOf(path, {});
    EXPECT_TRUE(HasWarning(stats, "zero length: segment 1")) << stats.warnings[0];
    EXPECT_TRUE(HasWarning(stats, "never reach their speed: segments 0 and 2"));
    EXPECT_TRUE(HasWarning(stats, "a count or value at the end of its operand's range"));
}

TEST(PathStatsWarnings, LongListsAreCutShort) {
    ElementPath path = MicronPath(2);
    for (int i = 0; i < 40; ++i) path.segments.push_back(Move(i % 2, 0, 0, 1.0, 0.1));
    const PathStats stats = StatsOf(path, {});
    EXPECT_TRUE(HasWarning(stats,
                           "zero length: segments 0, 2, 4, 6, 8, 10, 12, 14, 16, 18 and "
                           "10 more"));
}

TEST(PathStatsWithoutUnits, LengthsAreCountsAndTheDurationIsUnknown) {
    ElementPath path;
    path.segments = {Move(3, 4, 0, 1.0, 1.0)};
    const PathStats stats = StatsOf(path, {1.0, 1.0});
    EXPECT_DOUBLE_EQ(stats.pathLength, 5.0);
    EXPECT_FALSE(stats.motion.estimable);
    EXPECT_TRUE(HasWarning(stats, "the axes have no common unit"));
}

}  // namespace
