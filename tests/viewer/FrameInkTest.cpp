#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <random>

#include "tests/viewer/ViewerTestPaths.h"
#include "viewer/PathRaster.h"

namespace {

constexpr std::uint32_t kInk = Rgb(0, 0, 0);

// Inks every pixel of the frame but the one at holeX, holeY (none when it is off the frame).
void InkAllBut(Frame& frame, int holeX, int holeY) {
    for (int y = 0; y < frame.Height(); ++y)
        for (int x = 0; x < frame.Width(); ++x)
            if (x != holeX || y != holeY) frame.Set(x, y, kInk);
}

// Walks enough long lines for the frame to sum its table of inked tiles again.
void WalkLinesUntilSummed(Frame& frame) {
    for (int i = 0; i < 100000; ++i) frame.LineWalked();
}

TEST(FrameInks, ShowEachPixelInItsColourAndWhiteInkIsInked) {
    Frame frame(3, 2);
    frame.Set(0, 0, Rgb(10, 20, 30));
    frame.Set(2, 1, kBackground);   // white ink on a white picture is still ink
    frame.Set(2, 1, Rgb(1, 2, 3));  // the first colour stays
    EXPECT_EQ(frame.At(0, 0), Rgb(10, 20, 30));
    EXPECT_EQ(frame.At(2, 1), kBackground);
    const unsigned char* bytes = frame.Bytes();
    EXPECT_EQ(bytes[0], 10);
    EXPECT_EQ(bytes[1], 20);
    EXPECT_EQ(bytes[2], 30);
    EXPECT_EQ(bytes[4], 255);  // the pixel beside it is the background
    frame.Clear();
    EXPECT_EQ(frame.At(0, 0), kBackground);
    frame.Set(2, 1, Rgb(1, 2, 3));
    EXPECT_EQ(frame.At(2, 1), Rgb(1, 2, 3));
}

TEST(FrameInks, GiveANewColourTheNearestOnceAllAreTaken) {
    Frame frame(1, 1);
    for (int i = 0; i < 255; ++i) frame.InkOf(Rgb(static_cast<std::uint8_t>(i), 0, 0));
    frame.Set(0, 0, Rgb(100, 0, 3));
    EXPECT_EQ(frame.At(0, 0), Rgb(100, 0, 0));
}

TEST(FrameAreaInked, SaysYesOnlyForBoxesOverTilesInkedWhole) {
    // An odd size, so that the tiles and blocks at the right and bottom edges are smaller.
    Frame frame(37, 23);
    InkAllBut(frame, 21, 9);
    WalkLinesUntilSummed(frame);
    EXPECT_TRUE(frame.AreaInked({0.5, 0.5}, {19.5, 22.5}));
    EXPECT_TRUE(frame.AreaInked({24.5, 0.5}, {36.5, 22.5}));
    EXPECT_TRUE(frame.AreaInked({36.5, 22.5}, {0.5, 12.5}));  // either corner first
    // The hole's tile is columns 20-23 and rows 8-11: any box touching it is not inked.
    EXPECT_FALSE(frame.AreaInked({0.5, 0.5}, {36.5, 22.5}));
    EXPECT_FALSE(frame.AreaInked({20.5, 11.5}, {20.5, 11.5}));
    EXPECT_FALSE(frame.AreaInked({23.5, 0.5}, {30.5, 8.5}));
    // Ends a rounding off the picture count as its edge.
    EXPECT_TRUE(frame.AreaInked({-0.25, -0.25}, {10.0, 37.0}));
}

TEST(FrameAreaInked, CountsTheSmallerTilesAtTheEdgesWhenTheirPixelsAreInked) {
    Frame frame(6, 5);  // a tile of 4 by 4, then tiles of 2 across and 1 down
    InkAllBut(frame, -1, -1);
    WalkLinesUntilSummed(frame);
    EXPECT_TRUE(frame.AreaInked({0.5, 0.5}, {5.5, 4.5}));
    EXPECT_TRUE(frame.BlockInked(0, 0));
}

TEST(FrameAreaInked, SeesABlankPixelInTheSmallerTilesOfTheLastBlock) {
    Frame frame(37, 23);
    InkAllBut(frame, 36, 22);
    WalkLinesUntilSummed(frame);
    EXPECT_FALSE(frame.AreaInked({0.5, 0.5}, {36.5, 22.5}));
    EXPECT_FALSE(frame.AreaInked({32.5, 16.5}, {36.5, 22.5}));
    EXPECT_TRUE(frame.AreaInked({0.5, 0.5}, {35.5, 19.5}));
    EXPECT_TRUE(frame.AreaInked({0.5, 0.5}, {31.5, 22.5}));
}

TEST(FrameAreaInked, KnowsOnlyTheTilesInkedWhenTheTableWasLastSummed) {
    Frame frame(64, 64);
    EXPECT_FALSE(frame.AreaInked({0.5, 0.5}, {63.5, 63.5}));
    InkAllBut(frame, -1, -1);
    // Until enough lines are walked the table is as it was: the lines are walked, no ink lost.
    EXPECT_FALSE(frame.AreaInked({0.5, 0.5}, {63.5, 63.5}));
    WalkLinesUntilSummed(frame);
    EXPECT_TRUE(frame.AreaInked({0.5, 0.5}, {63.5, 63.5}));
    frame.Clear();
    EXPECT_FALSE(frame.AreaInked({0.5, 0.5}, {3.5, 3.5}));
}

TEST(FrameInkCounts, ABlockIsInkedWholeWithItsLastPixel) {
    Frame frame(40, 40);
    for (int y = 16; y < 32; ++y)
        for (int x = 16; x < 32; ++x)
            if (x != 31 || y != 31) frame.Set(x, y, kInk);
    EXPECT_FALSE(frame.BlockInked(1, 1));
    EXPECT_FALSE(frame.InkedAround({17.5, 17.5}, {30.5, 30.5}));
    frame.Set(31, 31, kInk);
    frame.Set(31, 31, kInk);  // inking a pixel again counts it once
    EXPECT_TRUE(frame.BlockInked(1, 1));
    EXPECT_TRUE(frame.InkedAround({17.5, 17.5}, {30.5, 30.5}));
    EXPECT_FALSE(frame.BlockInked(0, 1));
}

// A path of long moves between random points of a square of side counts.
ViewPath RandomChords(int count, double side) {
    ViewPath view;
    std::mt19937_64 random(2024);
    const auto next = [&random, side] {
        return static_cast<double>(random() >> 40) / static_cast<double>(1ULL << 24) * side;
    };
    for (int i = 0; i <= count; ++i) view.vertices.push_back({next(), next(), 0.0});
    view.points = view.vertices;
    view.colours.assign(view.vertices.size(), 0);
    return view;
}

TEST(FrameInkCounts, LinesLeftOutOverInkedTilesLoseNoPixelOfThem) {
    // Enough moves criss-crossing a small canvas to fill it, each drawn also on its own: the
    // pixels of the whole equal those of the moves one by one, though many were left out. Turned
    // in 3D, the filled picture's edges slant across the tiles, and the moves' boxes hold blank
    // tiles off the moves; zoomed in, most moves leave the canvas.
    const ViewPath chords = RandomChords(3000, 1000.0);
    struct Look {
        ViewKind kind;
        double zoom;
    };
    for (const Look look :
         {Look{ViewKind::XY, 1.0}, Look{ViewKind::Free, 1.0}, Look{ViewKind::Free, 3.0}}) {
        ViewCamera camera = FittedCamera(chords, 120, 120, look.kind);
        camera.ZoomAt(60.0, 60.0, look.zoom);
        Frame all(120, 120);
        const RasterCount count = DrawPath(chords, camera, all);
        EXPECT_GT(count.skipped, 500u) << look.zoom;
        std::vector<bool> inked(120 * 120, false);
        Frame single(120, 120);
        for (std::size_t i = 1; i < chords.vertices.size(); ++i) {
            ViewPath chord;
            chord.vertices = {chords.vertices[i - 1], chords.vertices[i]};
            chord.colours = {0, 0};
            single.Clear();
            DrawPath(chord, camera, single);
            for (int y = 0; y < 120; ++y)
                for (int x = 0; x < 120; ++x)
                    if (single.At(x, y) != kBackground)
                        inked[static_cast<std::size_t>(y * 120 + x)] = true;
        }
        for (int y = 0; y < 120; ++y)
            for (int x = 0; x < 120; ++x)
                ASSERT_EQ(all.At(x, y) != kBackground, inked[static_cast<std::size_t>(y * 120 + x)])
                    << x << "," << y << (look.kind == ViewKind::Free ? " turned" : "") << " zoomed "
                    << look.zoom;
    }
}

// A path of one move between two pixels of a canvas of width by height, for a camera that
// looks at it as CanvasCamera does: a pixel's centre x, y is the point x - width / 2,
// height / 2 - y.
ViewPath MoveBetween(Pixel a, Pixel b, int width, int height) {
    const auto point = [&](Pixel p) {
        return ViewPoint{p.x - width / 2.0, height / 2.0 - p.y, 0.0};
    };
    ViewPath move;
    move.vertices = {point(a), point(b)};
    move.points = move.vertices;
    move.colours = {0, 0};
    return move;
}

ViewCamera CanvasCamera(int width, int height) {
    ViewCamera camera;
    camera.SetCanvas(width, height);
    return camera;
}

TEST(FrameInkCounts, ALineOverAPictureInkedButForOneOfItsPixelsInksThatPixel) {
    // Each pixel a move inks on a blank canvas, alone left blank on a canvas inked whole: the
    // move must ink it, wherever its tile lies in the move's box and its halves. The canvas's
    // odd size leaves smaller tiles at its edges; some moves run off it.
    constexpr int kWidth = 203;
    constexpr int kHeight = 157;
    const ViewCamera camera = CanvasCamera(kWidth, kHeight);
    const std::array<std::array<Pixel, 2>, 6> moves{{
        {{{3.5, 4.5}, {198.5, 150.5}}},
        {{{201.5, 2.5}, {5.5, 155.5}}},
        {{{0.5, 78.5}, {202.5, 80.5}}},
        {{{100.5, 0.5}, {103.5, 156.5}}},
        {{{-300.5, -40.5}, {250.5, 120.5}}},
        {{{60.5, 500.5}, {140.5, -200.5}}},
    }};
    for (const auto& [from, to] : moves) {
        const ViewPath move = MoveBetween(from, to, kWidth, kHeight);
        Frame blank(kWidth, kHeight);
        DrawPath(move, camera, blank);
        Frame frame(kWidth, kHeight);
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                if (blank.At(x, y) == kBackground) continue;
                frame.Clear();
                InkAllBut(frame, x, y);
                WalkLinesUntilSummed(frame);
                DrawPath(move, camera, frame);
                ASSERT_NE(frame.At(x, y), kBackground)
                    << x << "," << y << " of the move from " << from.x << "," << from.y;
            }
        }
    }
}

TEST(FrameInkCounts, ALongLineCutByTheEdgeInksThePixelItsStepsStrayOnto) {
    // A move of sixteen million pixels that crosses the top edge at a slope of 1/300: the step
    // taken before the cut lies a two-hundred-and-fiftieth of a pixel above the edge, and the
    // steps' drift brings it onto the top row, left of the tile where the cut falls. Over a
    // canvas inked but for that tile, the move inks it.
    constexpr int kWidth = 6400;
    constexpr int kHeight = 32;
    const ViewPath move = MoveBetween({-16771193.5, -56000.5}, {6239.5, 20.5}, kWidth, kHeight);
    const ViewCamera camera = CanvasCamera(kWidth, kHeight);
    Frame blank(kWidth, kHeight);
    DrawPath(move, camera, blank);
    ASSERT_NE(blank.At(99, 0), kBackground);
    Frame frame(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            if (x < 96 || x >= 100 || y >= 4) frame.Set(x, y, kInk);
    WalkLinesUntilSummed(frame);
    DrawPath(move, camera, frame);
    EXPECT_NE(frame.At(99, 0), kBackground);
}

TEST(FrameInkCounts, ALineOverInkedTilesStillInksItsEndInABlankOne) {
    // Every pixel but the line's end inked: wherever the end falls in its tile (first in it,
    // the step before in the tile beside), the line is not left out with the tiles it crosses.
    ViewPath square;
    square.vertices = {{0.0, 0.0, 0.0}, {100.0, 100.0, 0.0}};
    square.points = square.vertices;
    const ViewCamera camera = FittedCamera(square, 120, 120);
    Frame frame(120, 120);
    for (int length = 20; length <= 100; ++length) {
        ViewPath line;
        line.vertices = {{0.0, 50.0, 0.0}, {static_cast<double>(length), 50.0, 0.0}};
        line.colours = {0, 0};
        const Pixel end = camera.ToPixel(line.vertices[1]);
        const int endX = static_cast<int>(std::floor(end.x));
        const int endY = static_cast<int>(std::floor(end.y));
        frame.Clear();
        InkAllBut(frame, endX, endY);
        WalkLinesUntilSummed(frame);
        DrawPath(line, camera, frame);
        ASSERT_NE(frame.At(endX, endY), kBackground) << "a line of " << length;
    }
}

TEST(FrameInkCounts, MovesCrissCrossingAFilledCanvasAreMostlyLeftOut) {
    const ViewPath chords = RandomChords(60000, 1000.0);
    const ViewCamera camera = FittedCamera(chords, 400, 400);
    Frame frame(400, 400);
    const RasterCount count = DrawPath(chords, camera, frame);
    EXPECT_GT(count.skipped, 30000u);
}

TEST(FrameInkCounts, MovesCrissCrossingAFilledCanvasTurnedIn3DAreMostlyLeftOut) {
    // The filled picture is a lozenge whose edges slant across the tiles: most moves' boxes
    // hold blank tiles beyond its edge, though the moves themselves cross only inked ones.
    const ViewPath chords = RandomChords(60000, 1000.0);
    const ViewCamera camera = FittedCamera(chords, 400, 400, ViewKind::Free);
    Frame frame(400, 400);
    const RasterCount count = DrawPath(chords, camera, frame);
    EXPECT_GT(count.skipped, 45000u);
}

}  // namespace
