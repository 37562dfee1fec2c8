#include <gtest/gtest.h>

#include "tests/viewer/ViewerTestPaths.h"
#include "viewer/PathProbe.h"

namespace {

// 0.1 m at 0.1 m/s and 1 m/s^2: up to speed in 0.1 s over 5 mm, at speed for 0.9 s, down in
// 0.1 s.
ViewPath Trapezoid() {
    ElementPath path = MicronPath(2);
    path.segments = {Move(100000, 0, 0, 0.1, 1.0)};
    return ViewOf(path);
}

TEST(StateAtTime, StartsAtRestAtTheStartAndEndsAtTheEnd) {
    const ViewPath view = Trapezoid();
    const PathState start = StateAtTime(view, 0.0);
    EXPECT_DOUBLE_EQ(start.position[0], 0.0);
    EXPECT_DOUBLE_EQ(start.speed, 0.0);
    const PathState end = StateAtTime(view, view.duration + 5.0);
    EXPECT_NEAR(end.position[0], 100000.0, 1e-6);
    EXPECT_NEAR(end.speed, 0.0, 1e-6);
    EXPECT_DOUBLE_EQ(end.time, view.duration);
}

TEST(StateAtTime, FollowsTheRampAndTheHold) {
    const ViewPath view = Trapezoid();
    // Half way up the ramp: v = a t, s = a t^2 / 2.
    const PathState ramp = StateAtTime(view, 0.05);
    EXPECT_NEAR(ramp.speed, 0.05, 1e-6);
    EXPECT_NEAR(ramp.position[0], 1250.0, 1e-3);
    // At speed: 5 mm of ramp, then 0.1 m/s.
    const PathState hold = StateAtTime(view, 0.6);
    EXPECT_NEAR(hold.speed, 0.1, 1e-6);
    EXPECT_NEAR(hold.position[0], 5000.0 + 50000.0, 1e-3);
}

TEST(StateAtTime, NamesTheSegmentThatRunsThen) {
    ElementPath path = MicronPath(2);
    path.segments = {Move(10000, 0, 0, 0.1, 1.0), Move(0, 10000), Move(-10000, 0)};
    const ViewPath view = ViewOf(path);
    for (std::size_t i = 0; i < 3; ++i) {
        const SegmentTiming& t = view.segments[i];
        const PathState state = StateAtTime(view, t.startTime + t.time / 2.0);
        EXPECT_EQ(state.segment, i);
    }
    const PathState corner = StateAtTime(view, view.segments[1].startTime + 1e-9);
    EXPECT_NEAR(corner.position[0], 10000.0, 1e-3);
    EXPECT_NEAR(corner.position[1], 0.0, 1.0);
}

TEST(StateAtSegment, MovesByCountWithoutTiming) {
    ElementPath path = MicronPath(2);
    path.segments = {Move(1000, 0), Move(0, 1000)};
    const ViewPath view = ViewOf(path);
    const PathState half = StateAtSegment(view, 1.5);
    EXPECT_EQ(half.segment, 1u);
    EXPECT_DOUBLE_EQ(half.position[0], 1000.0);
    EXPECT_DOUBLE_EQ(half.position[1], 500.0);
    const PathState end = StateAtSegment(view, 9.0);
    EXPECT_EQ(end.segment, 1u);
    EXPECT_DOUBLE_EQ(end.position[1], 1000.0);
}

TEST(NearestSegment, IsTheOneUnderTheClickWithinTheTolerance) {
    ElementPath path = MicronPath(2);
    path.segments = {Move(1000, 0), Move(0, 1000), Move(-1000, 0)};
    const ViewPath view = ViewOf(path);
    ViewCamera camera = FittedCamera(view, 200, 200);
    const Pixel onSecond = camera.ToPixel({1000, 500, 0});
    EXPECT_EQ(NearestSegment(view, camera, {onSecond.x - 3, onSecond.y}, 8.0), 1u);
    const Pixel onThird = camera.ToPixel({400, 1000, 0});
    EXPECT_EQ(NearestSegment(view, camera, {onThird.x, onThird.y + 2}, 8.0), 2u);
    const Pixel middle = camera.ToPixel({500, 500, 0});
    EXPECT_FALSE(NearestSegment(view, camera, middle, 8.0).has_value());
}

}  // namespace
