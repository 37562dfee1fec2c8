// Paths the viewer tests share, and the viewer's path of one.
#pragma once

#include <cstdint>

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
