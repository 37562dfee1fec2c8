#include <gtest/gtest.h>

#include "tests/viewer/ViewerTestPaths.h"
#include "viewer/ViewCamera.h"

namespace {

ViewPath Box() {
    ElementPath path = MicronPath(3);
    path.segments = {Move(4000, 0, 0), Move(0, 2000, 0), Move(0, 0, 1000)};
    return ViewOf(path);
}

TEST(ViewCameraFit, CentresThePathInsideTheCanvas) {
    const ViewPath view = Box();
    ViewCamera camera = FittedCamera(view, 400, 300);
    const Pixel low = camera.ToPixel({0, 0, 0});
    const Pixel high = camera.ToPixel({4000, 2000, 0});
    EXPECT_NEAR((low.x + high.x) / 2.0, 200.0, 1e-9);
    EXPECT_NEAR((low.y + high.y) / 2.0, 150.0, 1e-9);
    EXPECT_GT(low.x, 0.0);
    EXPECT_LT(high.x, 400.0);
    EXPECT_GT(low.y, high.y);  // Y up
}

TEST(ViewCameraFit, GivesAPointOrALineASize) {
    ElementPath path = MicronPath(2);
    path.segments = {Move(0, 0)};
    ViewCamera camera;
    camera.SetCanvas(100, 100);
    camera.Fit(ViewOf(path));
    EXPECT_GT(camera.Scale(), 0.0);
    path.segments = {Move(1000, 0)};
    camera.Fit(ViewOf(path));
    EXPECT_NEAR(camera.ToPixel({1000, 0, 0}).x - camera.ToPixel({0, 0, 0}).x, 52.0, 1e-9);
}

TEST(ViewCameraGestures, ZoomKeepsThePointUnderThePointer) {
    const ViewPath view = Box();
    ViewCamera camera = FittedCamera(view, 400, 300);
    const Pixel corner = camera.ToPixel({4000, 2000, 0});
    camera.ZoomAt(corner.x, corner.y, 3.0);
    EXPECT_NEAR(camera.ToPixel({4000, 2000, 0}).x, corner.x, 1e-9);
    EXPECT_NEAR(camera.ToPixel({4000, 2000, 0}).y, corner.y, 1e-9);
    const Pixel origin = camera.ToPixel({0, 0, 0});
    camera.Pan(10, -5);
    EXPECT_NEAR(camera.ToPixel({0, 0, 0}).x, origin.x + 10, 1e-9);
    EXPECT_NEAR(camera.ToPixel({0, 0, 0}).y, origin.y - 5, 1e-9);
}

TEST(ViewCameraKinds, FlatViewsShowTheirTwoAxes) {
    ViewCamera camera;
    camera.SetKind(ViewKind::XZ);
    EXPECT_EQ(camera.Up(), (std::array<double, 3>{0, 0, 1}));
    camera.SetKind(ViewKind::YZ);
    EXPECT_EQ(camera.Right(), (std::array<double, 3>{0, 1, 0}));
    const auto before = camera.Right();
    camera.Rotate(50, 0);  // a flat view does not turn
    EXPECT_EQ(camera.Right(), before);
}

TEST(ViewCameraKinds, TheFreeViewTurnsAndStaysUpright) {
    ViewCamera camera;
    camera.SetKind(ViewKind::Free);
    const auto right = camera.Right();
    EXPECT_DOUBLE_EQ(right[2], 0.0);
    EXPECT_GT(camera.Up()[2], 0.0);
    camera.Rotate(100, 0);
    EXPECT_NE(camera.Right(), right);
    camera.Rotate(0, 100000);  // pitch stops at looking straight down
    EXPECT_NEAR(camera.Up()[2], 0.0, 1e-9);
    const auto& r = camera.Right();
    const auto& u = camera.Up();
    EXPECT_NEAR(r[0] * u[0] + r[1] * u[1] + r[2] * u[2], 0.0, 1e-12);
}

}  // namespace
