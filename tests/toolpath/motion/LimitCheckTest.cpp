#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "tests/support/MicronPath.h"
#include "toolpath/motion/LimitCheck.h"
#include "toolpath/motion/PathStats.h"

namespace {

LimitReport Check(const ElementPath& path, const PathLimits& limits) {
    return CheckLimits(path, MotionModelOf(path, {}), limits);
}

TEST(LimitCheckSpeed, AnAxisShareOverItsLimitIsFoundWithAmountAndLimit) {
    ElementPath path = MicronPath();
    // 3-4-5 triangle: X carries 3/5 of the vector speed, Y 4/5; a long segment reaches 0.1 m/s.
    path.segments = {Move(300000, 400000, 0, 0.1, 1.0)};
    PathLimits limits;
    limits.axes[0].maxSpeed = 0.05;
    limits.axes[1].maxSpeed = 0.09;
    const LimitReport report = Check(path, limits);
    ASSERT_EQ(report.findings.size(), 1u);
    const LimitFinding& finding = report.findings[0];
    EXPECT_EQ(finding.kind, LimitKind::Speed);
    EXPECT_EQ(finding.axis, 0);
    EXPECT_NEAR(finding.value, 0.06, 1e-12);
    EXPECT_EQ(finding.limit, 0.05);
    EXPECT_EQ(DescribeFinding(path, finding),
              "segment 0: X speed 0.06 m/s over its limit 0.05 m/s");
}

TEST(LimitCheckSpeed, NothingIsFoundWhereTheSpeedReachedStaysWithinTheLimit) {
    struct Case {
        const char* why;
        PathSegment segment;
        double maxSpeed;
    };
    const Case cases[] = {
        {"a share at its limit is not over", Move(100000, 0, 0, 0.1, 1.0), 0.1},
        // 1 mm at 1 m/s^2 peaks at sqrt(a L) = 0.0316 m/s (a triangle), below the limit.
        {"a segment too short to reach its speed is held to the speed it reaches",
         Move(1000, 0, 0, 1.0, 1.0), 0.05},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        ElementPath path = MicronPath();
        path.segments = {c.segment};
        PathLimits limits;
        limits.axes[0].maxSpeed = c.maxSpeed;
        EXPECT_TRUE(Check(path, limits).findings.empty());
    }
}

TEST(LimitCheckAcceleration, TheAxisShareOfTheRampIsHeldToTheLimitAndCountsFromZero) {
    ElementPath path = MicronPath();
    path.segments = {Move(0, 100000, 0, 0.1, 2.0), Move(0, 100000), Move(100000, 0)};
    PathLimits limits;
    limits.axes[0].maxAcceleration = 1.5;
    limits.axes[1].maxAcceleration = 3.0;
    const LimitReport report = Check(path, limits);
    // X moves only in the last segment, which stops under the stopping curve at 2 m/s^2.
    ASSERT_EQ(report.findings.size(), 1u);
    EXPECT_EQ(report.findings[0].segment, 2u);
    EXPECT_EQ(report.findings[0].kind, LimitKind::Acceleration);
    EXPECT_NEAR(report.findings[0].value, 2.0, 1e-9);
}

TEST(LimitCheckTravel, OverrunsAreFoundRelativeToTheStartOrToTheGivenStart) {
    ElementPath path = MicronPath();
    path.segments = {Move(5000, 0, 0, 0.1, 1.0), Move(-8000, 0), Move(3000, 0)};
    PathLimits limits;
    limits.axes[0].travelMin = -0.002;
    limits.axes[0].travelMax = 0.004;
    const LimitReport relative = Check(path, limits);
    ASSERT_EQ(relative.findings.size(), 2u);
    EXPECT_EQ(relative.findings[0].kind, LimitKind::AboveTravel);
    EXPECT_EQ(relative.findings[0].segment, 0u);
    EXPECT_EQ(DescribeFinding(path, relative.findings[0]),
              "segment 0: X at 5 mm, 1 mm above its travel_max 4 mm");
    EXPECT_EQ(relative.findings[1].kind, LimitKind::BelowTravel);
    EXPECT_EQ(DescribeFinding(path, relative.findings[1]),
              "segment 1: X at -3 mm, 1 mm below its travel_min -2 mm");

    limits.start[0] = -0.001;
    const LimitReport shifted = Check(path, limits);
    ASSERT_EQ(shifted.findings.size(), 1u);
    EXPECT_EQ(shifted.findings[0].kind, LimitKind::BelowTravel);
    EXPECT_NEAR(shifted.findings[0].value, -0.004, 1e-12);
}

TEST(LimitCheckShortSegments, ASegmentShorterThanTheMinimumTimeAtItsSpeedIsFound) {
    ElementPath path = MicronPath();
    // 0.1 mm at 0.1 m/s takes 1 ms; 1 mm takes 10 ms; a zero-length segment takes no time.
    path.segments = {Move(1000, 0, 0, 0.1, 1.0), Move(100, 0), Move(0, 0)};
    PathLimits limits;
    limits.minSegmentTime = 0.002;
    const LimitReport report = Check(path, limits);
    ASSERT_EQ(report.findings.size(), 1u);
    EXPECT_EQ(report.findings[0].segment, 1u);
    EXPECT_NEAR(report.findings[0].value, 0.001, 1e-12);
    EXPECT_EQ(DescribeFinding(path, report.findings[0]),
              "segment 1: takes 0.001 s at 0.1 m/s, shorter than min_segment_time 0.002 s");
}

TEST(LimitCheckCoverage, WithoutASpeedInForceOnlyTheTravelIsChecked) {
    ElementPath path = MicronPath();
    path.segments = {Move(5000, 0)};
    PathLimits limits;
    limits.axes[0].maxSpeed = 1e-9;
    limits.axes[0].travelMax = 0.001;
    const LimitReport report = Check(path, limits);
    EXPECT_FALSE(report.dynamicsUnchecked.empty());
    ASSERT_EQ(report.findings.size(), 1u);
    EXPECT_EQ(report.findings[0].kind, LimitKind::AboveTravel);
}

TEST(LimitCheckWarnings, FindingsAreGroupedByKindAndAxisWithTheWorstValue) {
    ElementPath path = MicronPath();
    path.segments = {Move(100000, 0, 0, 0.1, 1.0), Move(100000, 0, 0, 0.2),
                     Move(100000, 0, 0, 0.05)};
    PathLimits limits;
    limits.axes[0].maxSpeed = 0.04;
    const std::vector<std::string> warnings = LimitWarnings(path, Check(path, limits));
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0], "X speed over its limit 0.04 m/s (up to 0.2 m/s): segments 0 to 2");
}

}  // namespace
