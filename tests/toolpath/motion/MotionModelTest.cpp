#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "toolpath/motion/MotionModel.h"

namespace {

MotionSummary Summarize(const std::vector<MotionSegment>& segments, DynamicsInForce before = {}) {
    return MotionModel(segments, before).Summarize();
}

TEST(MotionModelOneSegment, TrapezoidTakesLengthOverSpeedPlusSpeedOverAcceleration) {
    const MotionSummary motion = Summarize({{10.0, 2.0, 1.0}});
    ASSERT_TRUE(motion.estimable);
    EXPECT_DOUBLE_EQ(motion.duration, 10.0 / 2.0 + 2.0 / 1.0);
    EXPECT_DOUBLE_EQ(motion.peakSpeed, 2.0);
    EXPECT_TRUE(motion.segments[0].reachesSpeed);
    EXPECT_EQ(motion.segments[0].entrySpeed, 0.0);
    EXPECT_EQ(motion.segments[0].exitSpeed, 0.0);
}

TEST(MotionModelOneSegment, TriangleNeverReachesItsSpeed) {
    const MotionSummary motion = Summarize({{2.0, 2.0, 1.0}});
    EXPECT_DOUBLE_EQ(motion.duration, 2.0 * std::sqrt(2.0 / 1.0));
    EXPECT_DOUBLE_EQ(motion.peakSpeed, std::sqrt(1.0 * 2.0));
    EXPECT_FALSE(motion.segments[0].reachesSpeed);
}

TEST(MotionModelOneSegment, SegmentJustLongEnoughReachesItsSpeedAtOnePoint) {
    const MotionSummary motion = Summarize({{4.0, 2.0, 1.0}});
    EXPECT_DOUBLE_EQ(motion.duration, 4.0);
    EXPECT_TRUE(motion.segments[0].reachesSpeed);
}

// Segment 0: up to 1 in 0.5 (1 s), 0.5 held (0.5 s). Segment 1: up to 2 in 1.5 (1 s), held
// 0.5 (0.25 s), then stops over 2 (2 s).
TEST(MotionModelTwoSegments, SpeedingUpRampsFromTheEntrySpeed) {
    const MotionSummary motion = Summarize({{1.0, 1.0, 1.0}, {4.0, 2.0, 0.0}});
    EXPECT_DOUBLE_EQ(motion.duration, 4.75);
    EXPECT_DOUBLE_EQ(motion.segments[0].time, 1.5);
    EXPECT_DOUBLE_EQ(motion.segments[0].exitSpeed, 1.0);
    EXPECT_DOUBLE_EQ(motion.segments[1].entrySpeed, 1.0);
    EXPECT_DOUBLE_EQ(motion.segments[1].peakSpeed, 2.0);
    EXPECT_DOUBLE_EQ(motion.segments[1].time, 3.25);
}

// Segment 0: up to 2 in 1 (1 s), 1 held (0.5 s). Segment 1: down to 1 in 1.5 (1 s), held 1
// (1 s), stops over 0.5 at its own acceleration (1 s).
TEST(MotionModelTwoSegments, SlowingDownRampsWithoutLookingAhead) {
    const MotionSummary motion = Summarize({{2.0, 2.0, 2.0}, {3.0, 1.0, 1.0}});
    EXPECT_DOUBLE_EQ(motion.duration, 4.5);
    EXPECT_DOUBLE_EQ(motion.segments[0].exitSpeed, 2.0);
    EXPECT_DOUBLE_EQ(motion.segments[1].entrySpeed, 2.0);
    EXPECT_DOUBLE_EQ(motion.segments[1].peakSpeed, 2.0);
    EXPECT_TRUE(motion.segments[1].reachesSpeed);
}

TEST(MotionModelSegments, SegmentTooShortToSlowDownNeverReachesItsSpeed) {
    // Segment 1 would slow from 2 to 1 over 1.5 but ends after 1, at sqrt(2).
    const MotionSummary motion = Summarize({{2.0, 2.0, 1.0}, {1.0, 1.0, 0.0}, {10.0, 0.0, 0.0}});
    EXPECT_FALSE(motion.segments[1].reachesSpeed);
    EXPECT_DOUBLE_EQ(motion.segments[1].exitSpeed, std::sqrt(2.0));
    EXPECT_TRUE(motion.segments[2].reachesSpeed);
}

TEST(MotionModelTwoSegments, StopsAtTheAccelerationInForceAtTheLastSegment) {
    // Up to 2 over 2 (2 s) at 1, held, then down over 0.5 at 4 (0.5 s).
    const MotionSummary motion = Summarize({{10.0, 2.0, 1.0}, {10.0, 0.0, 4.0}});
    EXPECT_DOUBLE_EQ(motion.duration, 2.0 + 17.5 / 2.0 + 0.5);
}

TEST(MotionModelZeroLength, SegmentWithoutLengthTakesNoTimeAndKeepsTheSpeed) {
    const MotionSummary motion = Summarize({{1.0, 1.0, 1.0}, {0.0, 0.0, 0.0}, {4.0, 2.0, 0.0}});
    EXPECT_DOUBLE_EQ(motion.duration, 4.75);
    EXPECT_EQ(motion.segments[1].time, 0.0);
    EXPECT_DOUBLE_EQ(motion.segments[1].entrySpeed, 1.0);
    EXPECT_DOUBLE_EQ(motion.segments[1].exitSpeed, 1.0);
}

TEST(MotionModelZeroLength, ItsOwnValuesStayInForceAfterIt) {
    // The zero-length segment sets speed 2 for the next one: as one trapezoid of 10 at 2 and 1.
    const MotionSummary motion = Summarize({{0.0, 2.0, 1.0}, {10.0, 0.0, 0.0}});
    EXPECT_DOUBLE_EQ(motion.duration, 7.0);
}

TEST(MotionModelInForce, SegmentsBeforeAnySpeedMakeTheDurationUnknown) {
    const MotionModel model({{1.0, 0.0, 1.0}, {1.0, 0.0, 0.0}, {1.0, 1.0, 0.0}}, {});
    EXPECT_EQ(model.SegmentsWithoutSpeed(), 2u);
    EXPECT_EQ(model.SegmentsWithoutAcceleration(), 0u);
    EXPECT_FALSE(model.Estimable());
    EXPECT_FALSE(model.Summarize().estimable);
}

TEST(MotionModelInForce, ValuesGivenBeforeTheElementFillTheGap) {
    const MotionSummary motion = Summarize({{6.0, 0.0, 0.0}, {4.0, 0.0, 0.0}}, {2.0, 1.0});
    ASSERT_TRUE(motion.estimable);
    EXPECT_DOUBLE_EQ(motion.duration, 7.0);
}

TEST(MotionModelPieces, FollowOneAnotherWithoutGaps) {
    const MotionModel model({{2.0, 2.0, 2.0}, {3.0, 1.0, 1.0}, {0.5, 3.0, 0.5}}, {});
    MotionPiece previous;
    model.Trace([&](const MotionPiece& piece) {
        EXPECT_DOUBLE_EQ(piece.startDistance, previous.endDistance);
        EXPECT_DOUBLE_EQ(piece.startTime, previous.endTime);
        EXPECT_NEAR(piece.startSpeed, previous.endSpeed, 1e-12);
        EXPECT_LE(piece.startDistance, piece.endDistance);
        const double middle = (piece.startDistance + piece.endDistance) / 2.0;
        const double speed = SpeedWithin(piece, middle);
        EXPECT_GE(speed, std::min(piece.startSpeed, piece.endSpeed) - 1e-12);
        EXPECT_LE(speed, std::max(piece.startSpeed, piece.endSpeed) + 1e-12);
        previous = piece;
    });
    EXPECT_DOUBLE_EQ(previous.endDistance, 5.5);
    EXPECT_EQ(previous.endSpeed, 0.0);
}

TEST(MotionModelLongElement, ManyShortSegmentsTakeAsLongAsOneLongOne) {
    constexpr int kSegments = 1000000;
    std::vector<MotionSegment> segments(kSegments, MotionSegment{10.0 / kSegments, 0.0, 0.0});
    segments[0].speed = 2.0;
    segments[0].acceleration = 1.0;
    const MotionSummary motion = Summarize(segments);
    EXPECT_NEAR(motion.duration, 7.0, 1e-6);
    EXPECT_DOUBLE_EQ(motion.peakSpeed, 2.0);
    ASSERT_EQ(motion.segments.size(), static_cast<size_t>(kSegments));
    EXPECT_FALSE(motion.segments[0].reachesSpeed);
    EXPECT_TRUE(motion.segments[kSegments / 2].reachesSpeed);
}

}  // namespace
