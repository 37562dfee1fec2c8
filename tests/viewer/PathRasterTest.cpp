#include <gtest/gtest.h>

#include <random>
#include <span>
#include <string>
#include <vector>

#include "tests/viewer/ViewerPictures.h"
#include "tests/viewer/ViewerTestPaths.h"
#include "viewer/PathRaster.h"

namespace {

int InkedPixels(const Frame& frame) {
    int inked = 0;
    for (int y = 0; y < frame.Height(); ++y)
        for (int x = 0; x < frame.Width(); ++x) inked += frame.At(x, y) != kBackground;
    return inked;
}

bool Inked(const Frame& frame, Pixel pixel) {
    return frame.At(static_cast<int>(pixel.x), static_cast<int>(pixel.y)) != kBackground;
}

// The camera fitted to path on a picture of 200 by 120 pixels, zoomed about its middle.
ViewCamera ZoomedCamera(const ElementPath& path, double zoom) {
    ViewCamera camera = FittedCamera(ViewOf(path), 200, 120);
    camera.ZoomAt(100, 60, zoom);
    return camera;
}

TEST(DrawPath, InksEveryCornerAndTheLinesBetween) {
    ElementPath path = MicronPath(2);
    path.segments = {Move(1000, 0, 0, 0.1, 1.0), Move(0, 1000), Move(-1000, 0), Move(0, -1000)};
    const ViewPath view = ViewOf(path);
    ViewCamera camera = FittedCamera(view, 120, 100);
    Frame frame(120, 100);
    const RasterCount count = DrawPath(view, camera, frame);
    EXPECT_GE(count.drawn, 4u);
    for (const ViewPoint& corner : view.points) EXPECT_TRUE(Inked(frame, camera.ToPixel(corner)));
    EXPECT_TRUE(Inked(frame, camera.ToPixel({500, 0, 0})));
    EXPECT_TRUE(Inked(frame, camera.ToPixel({1000, 500, 0})));
    EXPECT_FALSE(Inked(frame, camera.ToPixel({500, 500, 0})));
}

TEST(DrawPath, KeepsACornerSmallerThanTheStretchesAroundIt) {
    // A spike of two pixels off a long line: thinning by distance alone would drop it.
    ElementPath path = MicronPath(2);
    path.segments = {Move(50000, 0, 0, 0.1, 1.0), Move(100, 2000), Move(100, -2000),
                     Move(50000, 0)};
    const ViewPath view = ViewOf(path);
    ViewCamera camera = FittedCamera(view, 200, 200);
    Frame frame(200, 200);
    DrawPath(view, camera, frame);
    EXPECT_TRUE(Inked(frame, camera.ToPixel(view.points[2])));
}

TEST(DrawPath, ColoursTheStretchesBySpeed) {
    ElementPath path = MicronPath(2);
    path.segments = {Move(100000, 0, 0, 0.1, 1.0)};
    const ViewPath view = ViewOf(path);
    ViewCamera camera = FittedCamera(view, 400, 400);
    Frame frame(400, 400);
    DrawPath(view, camera, frame);
    const auto fast = SpeedColourRgb(kSpeedColours - 1);
    EXPECT_EQ(frame.At(200, static_cast<int>(camera.ToPixel({50000, 0, 0}).y)),
              Rgb(fast[0], fast[1], fast[2]));
    // The first pixel holds the start of the ramp: a colour of the scale's slower part.
    const Pixel start = camera.ToPixel({0, 0, 0});
    const std::uint32_t first = frame.At(static_cast<int>(start.x), static_cast<int>(start.y));
    int index = -1;
    for (int c = 0; c < kSpeedColours; ++c) {
        const auto rgb = SpeedColourRgb(c);
        if (first == Rgb(rgb[0], rgb[1], rgb[2])) index = c;
    }
    EXPECT_GE(index, 0);
    EXPECT_LT(index, kSpeedColours / 2);
}

TEST(DrawPath, AMillionSegmentsInASmallAreaInkItWhole) {
    const ViewPath view = ViewOf(Zigzag(1000000, 5000000));
    ViewCamera camera = FittedCamera(view, 300, 300);
    Frame frame(300, 300);
    const RasterCount count = DrawPath(view, camera, frame);
    EXPECT_EQ(count.drawn + count.skipped, view.vertices.size() - 1);
    // The zigzag fills its square: every pixel inside the fitted area is inked.
    const Pixel low = camera.ToPixel({0, 0, 0});
    const Pixel high = camera.ToPixel({5000000, 5000000, 0});
    for (int y = static_cast<int>(high.y) + 1; y < static_cast<int>(low.y); y += 7)
        for (int x = static_cast<int>(low.x) + 1; x < static_cast<int>(high.x); x += 7)
            EXPECT_NE(frame.At(x, y), kBackground) << x << "," << y;
}

TEST(DrawPath, ClipsLinesFarBeyondTheCanvasAndSkipsThoseOutside) {
    ElementPath path = MicronPath(2);
    path.segments = {Move(1000000, 0), Move(0, 1000000)};
    const ViewPath view = ViewOf(path);
    ViewCamera camera = FittedCamera(view, 100, 100);
    // Zoomed in a million times about the middle of the first line.
    const Pixel middle = camera.ToPixel({500000, 0, 0});
    camera.ZoomAt(middle.x, middle.y, 1e6);
    Frame frame(100, 100);
    const RasterCount count = DrawPath(view, camera, frame);
    EXPECT_EQ(count.drawn, 1u);
    EXPECT_EQ(count.skipped, 1u);
    EXPECT_EQ(InkedPixels(frame), 100);
}

TEST(DrawPath, DrawsPassesBetweenTheSamePixelsOnceAndInksWhatOneRoundInks) {
    // A raster's diagonal passes, forth and a count aside, back and a count back: at this
    // scale all of them run between the same two pixels.
    ElementPath onePass = MicronPath(2);
    onePass.segments = {Move(100000, 50000), Move(0, 1), Move(-100000, -50000), Move(0, -1)};
    ElementPath passes = MicronPath(2);
    for (int i = 0; i < 500; ++i)
        passes.segments.insert(passes.segments.end(), onePass.segments.begin(),
                               onePass.segments.end());
    // Zoomed in four times, the passes run off the picture at both ends.
    for (const double zoom : {1.0, 4.0}) {
        SCOPED_TRACE(zoom);
        const ViewCamera camera = ZoomedCamera(onePass, zoom);
        Frame all(200, 120);
        Frame one(200, 120);
        const RasterCount count = DrawPath(ViewOf(passes), camera, all);
        DrawPath(ViewOf(onePass), camera, one);
        EXPECT_GE(count.skipped, 998u);
        EXPECT_GT(InkedPixels(one), 140);
        for (int y = 0; y < one.Height(); ++y)
            for (int x = 0; x < one.Width(); ++x)
                ASSERT_EQ(all.At(x, y) == kBackground, one.At(x, y) == kBackground)
                    << x << "," << y;
    }
}

TEST(DrawPath, DrawsTwoLinesFromOnePixelToTwoPixelsOfOneColumn) {
    // The last line leaves the pixel the first left, for another pixel of the column the first
    // ran to: on the picture, and zoomed in, where all three run off it at both ends.
    ElementPath fan = MicronPath(2);
    fan.segments = {Move(100000, 30000), Move(-100000, -30000), Move(100000, 20000)};
    ElementPath last = MicronPath(2);
    last.segments = {Move(100000, 20000)};
    for (const double zoom : {1.0, 4.0}) {
        SCOPED_TRACE(zoom);
        const ViewCamera camera = ZoomedCamera(fan, zoom);
        Frame all(200, 120);
        Frame alone(200, 120);
        DrawPath(ViewOf(fan), camera, all);
        DrawPath(ViewOf(last), camera, alone);
        EXPECT_GT(InkedPixels(alone), 100);
        for (int y = 0; y < alone.Height(); ++y)
            for (int x = 0; x < alone.Width(); ++x)
                ASSERT_TRUE(alone.At(x, y) == kBackground || all.At(x, y) != kBackground)
                    << x << "," << y;
    }
}

TEST(DrawPath, LeavesOutAPassOverThePassBeforeItsRowsPixelsApart) {
    // A raster seen close up: a hundred rows five pixels apart, cut twice. The second cut's
    // rows run between the pixels of the first's, however many lines came between.
    ElementPath cut = MicronPath(2);
    for (int row = 0; row < 100; ++row)
        cut.segments.insert(cut.segments.end(), {Move(row % 2 == 0 ? 100 : -100, 0), Move(0, 1)});
    ElementPath twice = cut;
    twice.segments.push_back(Move(0, -100));
    twice.segments.insert(twice.segments.end(), cut.segments.begin(), cut.segments.end());
    const ViewPath view = ViewOf(twice);
    const ViewCamera camera = FittedCamera(view, 560, 560);
    Frame frame(560, 560);
    const RasterCount count = DrawPath(view, camera, frame);
    EXPECT_GE(count.skipped, 95u);
}

TEST(DrawPath, InPartsAtOnceDrawsTheSamePicture) {
    const ViewPath view = ViewOf(WalkWithJumps(240000));
    for (ViewKind kind : {ViewKind::XY, ViewKind::Free}) {
        const ViewCamera camera = FittedCamera(view, 300, 200, kind);
        Frame whole(300, 200);
        DrawPath(view, camera, whole);
        for (std::size_t spares : {1, 3}) {
            Frame parts(300, 200);
            std::vector<Frame> spare(spares, Frame(300, 200));
            const RasterCount count = DrawPath(view, camera, parts, spare);
            EXPECT_EQ(count.drawn + count.skipped, view.vertices.size() - 1);
            ASSERT_NO_FATAL_FAILURE(ExpectSamePicture(whole, parts, std::to_string(spares)));
        }
    }
}

// How many pixels differ between the pictures, and whether each inked in one is inked in the
// other at most a pixel away.
std::pair<int, bool> Differences(const Frame& one, const Frame& other) {
    const auto near = [](const Frame& frame, int x, int y) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int nx = x + dx;
                const int ny = y + dy;
                if (nx >= 0 && ny >= 0 && nx < frame.Width() && ny < frame.Height() &&
                    frame.At(nx, ny) != kBackground)
                    return true;
            }
        return false;
    };
    int differ = 0;
    bool near_ = true;
    for (int y = 0; y < one.Height(); ++y)
        for (int x = 0; x < one.Width(); ++x) {
            if (one.At(x, y) == other.At(x, y)) continue;
            ++differ;
            if (one.At(x, y) != kBackground && !near(other, x, y)) near_ = false;
            if (other.At(x, y) != kBackground && !near(one, x, y)) near_ = false;
        }
    return {differ, near_};
}

// Pans the camera by each of moves in turn, shifting the picture and drawing what came in;
// calls check with the picture and a whole drawing after each.
template <class Check>
void PanAndCompare(const ViewPath& view, ViewCamera camera,
                   const std::vector<std::pair<int, int>>& moves, Check check,
                   std::span<Frame> spares = {}) {
    Frame moved(camera.Width(), camera.Height());
    DrawPath(view, camera, moved);
    for (const auto& [dx, dy] : moves) {
        camera.Pan(dx, dy);
        moved.Shift(dx, dy);
        DrawPathShifted(view, camera, moved, dx, dy, spares);
        Frame whole(camera.Width(), camera.Height());
        DrawPath(view, camera, whole);
        check(moved, whole);
    }
}

// Pans as PanAndCompare does, in parts into spares, and expects each pan's picture to be the
// one of pictures in turn, pixel for pixel.
void ExpectPansDrawnInParts(const ViewPath& view, const ViewCamera& camera,
                            const std::vector<std::pair<int, int>>& moves,
                            const std::vector<Frame>& pictures, std::span<Frame> spares) {
    std::size_t pan = 0;
    PanAndCompare(
        view, camera, moves,
        [&](const Frame& moved, const Frame&) {
            ASSERT_LT(pan, pictures.size());
            ASSERT_NO_FATAL_FAILURE(
                ExpectSamePicture(pictures[pan], moved, std::to_string(pan + 1)));
            ++pan;
        },
        spares);
}

TEST(DrawPathShifted, InksWhatAPanBringsInAsAWholeDrawingDoes) {
    const ViewPath view = ViewOf(WalkWithJumps(20000));
    for (ViewKind kind : {ViewKind::XY, ViewKind::Free}) {
        const ViewCamera camera = FittedCamera(view, 300, 200, kind);
        // Lines running off the canvas too: they are stepped from their ends, not from where
        // the canvas cuts them. A corner that lies on a pixel's edge may round to the other
        // pixel after a pan, as the camera's sums round.
        PanAndCompare(view, camera,
                      {{7, 0}, {0, -5}, {-12, 9}, {40, 30}, {-3, -60}, {1, 1}, {-150, 0}, {0, 120}},
                      [kind](const Frame& moved, const Frame& whole) {
                          EXPECT_GT(InkedPixels(whole), 100);
                          const auto [differ, near] = Differences(moved, whole);
                          // The flat view's corners lie off the pixels' edges.
                          EXPECT_LE(differ, kind == ViewKind::XY ? 0 : 4);
                          EXPECT_TRUE(near);
                      });
    }
}

// Each pan's picture in parts is the picture of the same pan drawn in one part, pixel for pixel.
// Zoomed in, so that the path runs beyond every edge and each pan brings some of it in.
TEST(DrawPathShifted, InPartsAtOnceDrawsTheSamePicture) {
    const ViewPath view = ViewOf(WalkWithJumps(240000));
    const std::vector<std::pair<int, int>> moves = {{7, 0}, {0, -5}, {-12, 9}, {40, 30}, {-150, 0}};
    for (ViewKind kind : {ViewKind::XY, ViewKind::Free}) {
        ViewCamera camera = FittedCamera(view, 300, 200, kind);
        camera.ZoomAt(150, 100, 2.5);
        std::vector<Frame> inOne;
        PanAndCompare(view, camera, moves, [&](const Frame& moved, const Frame&) {
            EXPECT_GT(InkedPixels(moved), 1000);
            inOne.push_back(moved);
        });
        std::vector<Frame> spares(3, Frame(300, 200));
        ExpectPansDrawnInParts(view, camera, moves, inOne, spares);
    }
}

// Zoomed in on a corner of moves criss-crossing a box, the picture fills but beyond the box,
// and each pan's bands fill within a few thousand moves: the moves after those that a pan
// leaves out would have inked nothing.
TEST(DrawPathShifted, LeavesOutOnlyMovesThatInkNothingOverAFilledBand) {
    const ViewPath view = ViewOf(CrossingMoves(60000));
    for (ViewKind kind : {ViewKind::XY, ViewKind::Free}) {
        ViewCamera camera = FittedCamera(view, 300, 200, kind);
        camera.ZoomAt(0, 0, 2.0);
        const std::vector<std::pair<int, int>> moves = {{4, 1}, {4, 1}, {-4, 1}, {0, -6}, {9, 0}};
        std::vector<Frame> inOne;
        PanAndCompare(view, camera, moves, [&](const Frame& moved, const Frame& whole) {
            EXPECT_LT(InkedPixels(whole), 300 * 200);
            const auto [differ, near] = Differences(moved, whole);
            EXPECT_LE(differ, kind == ViewKind::XY ? 0 : 4);
            EXPECT_TRUE(near);
            inOne.push_back(moved);
        });
        std::vector<Frame> spares(1, Frame(300, 200));
        ExpectPansDrawnInParts(view, camera, moves, inOne, spares);
    }
}

TEST(DrawPath, InksOfALineLeavingTheCanvasWhatItInksOnALargerOne) {
    // Long moves criss-crossing a canvas and running far beyond it on every side, shallow ones
    // among them: the small canvas is the middle of the large one, a pixel for a pixel.
    ElementPath path = MicronPath(2);
    std::mt19937_64 random(91);
    std::int64_t x = 0;
    std::int64_t y = 0;
    for (int i = 0; i < 400; ++i) {
        const std::int64_t toX = static_cast<std::int64_t>(random() % 400000);
        const std::int64_t toY = i % 4 == 0 ? y + static_cast<std::int64_t>(random() % 9) - 4
                                            : static_cast<std::int64_t>(random() % 400000);
        path.segments.push_back(Move(toX - x, toY - y));
        x = toX;
        y = toY;
    }
    const ViewPath view = ViewOf(path);
    ViewCamera camera = FittedCamera(view, 400, 400);
    Frame large(400, 400);
    DrawPath(view, camera, large);
    camera.SetCanvas(100, 100);  // the same scale and centre: every pixel 150 to the left and up
    Frame small(100, 100);
    DrawPath(view, camera, small);
    int inked = 0;
    for (int row = 0; row < 100; ++row)
        for (int column = 0; column < 100; ++column) {
            const bool ink = large.At(column + 150, row + 150) != kBackground;
            inked += ink;
            ASSERT_EQ(ink, small.At(column, row) != kBackground) << column << "," << row;
        }
    EXPECT_GT(inked, 500);
}

TEST(FrameShift, MovesThePixelsAndTheirCountsAndBlanksWhatComesIn) {
    Frame frame(40, 30);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) frame.Set(x, y, Rgb(static_cast<std::uint8_t>(x), 0, 0));
    frame.Shift(5, -3);
    EXPECT_EQ(frame.At(5, 0), Rgb(0, 0, 0));
    EXPECT_EQ(frame.At(39, 26), Rgb(34, 0, 0));
    EXPECT_EQ(frame.At(4, 10), kBackground);
    EXPECT_EQ(frame.At(20, 27), kBackground);
    EXPECT_TRUE(frame.BlockInked(1, 0));  // columns 16-31, rows 0-15: inked whole still
    EXPECT_FALSE(frame.BlockInked(0, 0));
    frame.Shift(-2, 4);  // down: the rows move from the bottom up
    EXPECT_EQ(frame.At(3, 4), Rgb(0, 0, 0));
    EXPECT_EQ(frame.At(37, 29), Rgb(34, 0, 0));
    EXPECT_EQ(frame.At(10, 3), kBackground);
    EXPECT_EQ(frame.At(38, 10), kBackground);
    frame.Shift(-100, 0);
    EXPECT_EQ(InkedPixels(frame), 0);
    EXPECT_FALSE(frame.BlockInked(1, 0));
}

TEST(DrawMarker, IsADiscWithARing) {
    Frame frame(20, 20);
    DrawMarker(frame, {10, 10}, 5, Rgb(0, 0, 0), Rgb(255, 0, 0));
    EXPECT_EQ(frame.At(10, 10), Rgb(0, 0, 0));
    EXPECT_EQ(frame.At(16, 10), Rgb(255, 0, 0));
    EXPECT_EQ(frame.At(0, 0), kBackground);
    DrawMarker(frame, {-100, 3}, 5, Rgb(0, 0, 0), Rgb(0, 0, 0));  // off the frame: nothing
}

// The start, the time marker and a picked segment show where they lie on the path: drawn
// after it, they cover its ink.
TEST(DrawMarker, CoversThePathUnderIt) {
    Frame frame(20, 20);
    const std::uint32_t path = Rgb(0, 128, 0);
    for (int x = 0; x < 20; ++x) frame.Set(x, 10, path);
    DrawMarker(frame, {10, 10}, 3, Rgb(0, 0, 0), Rgb(255, 0, 0));
    EXPECT_EQ(frame.At(10, 10), Rgb(0, 0, 0));
    EXPECT_EQ(frame.At(14, 10), Rgb(255, 0, 0));
    EXPECT_EQ(frame.At(19, 10), path);
    DrawLine(frame, {0.5, 10.5}, {5.5, 10.5}, Rgb(0, 0, 255));
    EXPECT_EQ(frame.At(3, 10), Rgb(0, 0, 255));
}

}  // namespace
