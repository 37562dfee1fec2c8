// Paths the viewer tests share, and the viewer's path of one.
#pragma once

#include <array>
#include <cstdint>
#include <random>

#include "tests/support/MicronPath.h"
#include "toolpath/element/ElementPath.h"
#include "toolpath/motion/PathStats.h"
#include "viewer/ViewCamera.h"
#include "viewer/ViewPathOf.h"

inline ViewPath ViewOf(const ElementPath& path) {
    return ViewPathOf(path, MotionModelOf(path, {}));
}

// A camera looking as kind looks on a canvas of width by height pixels, fitted to view.
inline ViewCamera FittedCamera(const ViewPath& view, int width, int height,
                               ViewKind kind = ViewKind::XY) {
    ViewCamera camera;
    camera.SetKind(kind);
    camera.SetCanvas(width, height);
    camera.Fit(view);
    return camera;
}

// A path of count segments of 10 um that zigzag across a square of side counts.
inline ElementPath Zigzag(int count, std::int64_t side) {
    ElementPath path = MicronPath(2);
    path.segments.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const std::int64_t dx = (i / 2) % 2 == 0 ? 1 : -1;
        path.segments.push_back(i % 2 == 0
                                    ? Move(dx * side, 0, 0, i == 0 ? 0.1 : 0.0, i == 0 ? 1.0 : 0.0)
                                    : Move(0, 10));
    }
    return path;
}

// A walk of short moves with a long jump every so often and the speed changed every
// thousand moves, so that the later half runs over the first half's ink in other colours.
inline ElementPath WalkWithJumps(int count) {
    ElementPath path = MicronPath(3);
    std::mt19937_64 random(777);
    auto next = [&random](int range) {
        return static_cast<std::int64_t>(random() >> 33) % range - range / 2;
    };
    for (int i = 0; i < count; ++i) {
        const int range = i % 500 == 0 ? 400000 : 2000;
        const bool newSpeed = i % 1000 == 0;
        path.segments.push_back(
            Move(next(range), next(range), next(range / 4), newSpeed ? 500.0 : 0.0,
                 newSpeed ? 0.05 + static_cast<double>(i % 7000) / 10000 : 0.0));
    }
    return path;
}

// count moves between points at random in a box of 400 by 300 by 100 mm: each crosses much of
// the picture, and a few thousand fill it.
inline ElementPath CrossingMoves(int count) {
    ElementPath path = MicronPath(3);
    std::mt19937_64 random(4242);
    const std::array<std::int64_t, 3> box{400000, 300000, 100000};
    std::array<std::int64_t, 3> at{};
    for (int i = 0; i < count; ++i) {
        std::array<std::int64_t, 3> to{};
        for (std::size_t axis = 0; axis < 3; ++axis)
            to[axis] = static_cast<std::int64_t>(random() % static_cast<std::uint64_t>(box[axis]));
        path.segments.push_back(Move(to[0] - at[0], to[1] - at[1], to[2] - at[2],
                                     i == 0 ? 500.0 : 0.0, i == 0 ? 0.2 : 0.0));
        at = to;
    }
    return path;
}
