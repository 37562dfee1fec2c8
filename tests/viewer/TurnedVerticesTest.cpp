#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/viewer/ViewerPictures.h"
#include "tests/viewer/ViewerTestPaths.h"
#include "viewer/PathRaster.h"
#include "viewer/TurnedVertices.h"

namespace {

// The picture of the view drawn from the path's own vertices.
Frame PictureOf(const ViewPath& view, const ViewCamera& camera) {
    Frame frame(camera.Width(), camera.Height());
    DrawPath(view, camera, frame);
    return frame;
}

TEST(TurnedVerticesTaking, WaitsForTheSecondFrameOfATurnAndHoldsItsSums) {
    const ViewPath view = ViewOf(WalkWithJumps(1000));
    ViewCamera camera = FittedCamera(view, 300, 200, ViewKind::Free);
    TurnedVertices turned;
    EXPECT_EQ(turned.For(view, camera.Right(), camera.Up()), nullptr);
    const std::array<double, 2>* held = turned.For(view, camera.Right(), camera.Up());
    ASSERT_NE(held, nullptr);
    for (std::size_t i = 0; i < view.vertices.size(); ++i) {
        ASSERT_EQ(held[i][0], Along(camera.Right(), view.vertices[i])) << i;
        ASSERT_EQ(held[i][1], Along(camera.Up(), view.vertices[i])) << i;
    }
    // A turn being dragged: each frame turns the view again, and none takes the sums.
    for (int frame = 0; frame < 3; ++frame) {
        camera.Rotate(5.0, 2.0);
        EXPECT_EQ(turned.For(view, camera.Right(), camera.Up()), nullptr) << frame;
    }
    EXPECT_NE(turned.For(view, camera.Right(), camera.Up()), nullptr);
    turned.Forget();
    EXPECT_EQ(turned.For(view, camera.Right(), camera.Up()), nullptr);
}

// Zoomed in so that the walk runs beyond every edge, turned between the zooms and pans as a user
// turns it, in one part and in four.
TEST(TurnedVerticesDrawing, ZoomsPansAndTurnsDrawThePicturesOfThePathsOwnVertices) {
    const ViewPath view = ViewOf(WalkWithJumps(240000));
    for (std::size_t spares : {0, 3}) {
        ViewCamera camera = FittedCamera(view, 300, 200, ViewKind::Free);
        TurnedVertices turned;
        std::vector<Frame> spare(spares, Frame(300, 200));
        Frame frame(300, 200);
        const auto drawWhole = [&](const std::string& what) {
            frame.Clear();
            DrawPath(view, camera, frame, spare, &turned);
            ASSERT_NO_FATAL_FAILURE(ExpectSamePicture(PictureOf(view, camera), frame, what));
        };
        for (int step = 0; step < 3; ++step) {
            const std::string at = std::to_string(spares) + " spares, step " + std::to_string(step);
            drawWhole(at + ", the turn's first frame");
            camera.ZoomAt(120, 90, 1.6);
            drawWhole(at + ", zoomed");
            // A pan shifts the picture drawn from the vertices held, and so does the whole
            // drawing it is held to: they are the frames a user sees.
            Frame moved = frame;
            Frame expected = frame;
            ViewCamera plain = camera;
            camera.Pan(9, -4);
            plain.Pan(9, -4);
            moved.Shift(9, -4);
            expected.Shift(9, -4);
            DrawPathShifted(view, camera, moved, 9, -4, spare, &turned);
            DrawPathShifted(view, plain, expected, 9, -4, spare);
            ASSERT_NO_FATAL_FAILURE(ExpectSamePicture(expected, moved, at + ", panned"));
            // Tipped only (its right stays), then swung only.
            camera.Rotate(step == 0 ? 0.0 : 25.0, step == 0 ? -10.0 : 0.0);
        }
    }
}

TEST(TurnedVerticesDrawing, AChangedPathForgottenDrawsTheNewVertices) {
    const ViewPath first = ViewOf(WalkWithJumps(5000));
    ViewPath second = first;
    for (ViewPoint& vertex : second.vertices) vertex[2] += 300000.0;  // all raised
    NoteVertexBox(second);
    const ViewCamera camera = FittedCamera(first, 300, 200, ViewKind::Free);
    TurnedVertices turned;
    Frame frame(300, 200);
    for (int times = 0; times < 2; ++times) DrawPath(first, camera, frame, {}, &turned);
    turned.Forget();
    for (int times = 0; times < 2; ++times) {
        frame.Clear();
        DrawPath(second, camera, frame, {}, &turned);
        ASSERT_NO_FATAL_FAILURE(
            ExpectSamePicture(PictureOf(second, camera), frame, "frame " + std::to_string(times)));
    }
}

}  // namespace
