#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

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
    // tiles off the moves; zoomed in, most moves leave the canvas. With the path's box known,
    // the tiles near the turned picture's edges count as inked for moves deep inside it, and
    // moves deeper than every blank tile are left out at once, flat or turned.
    ViewPath chords = RandomChords(3000, 1000.0);
    struct Look {
        ViewKind kind;
        double zoom;
        bool boxKnown;
    };
    for (const Look look : {Look{ViewKind::XY, 1.0, false}, Look{ViewKind::Free, 1.0, false},
                            Look{ViewKind::Free, 3.0, false}, Look{ViewKind::Free, 1.0, true},
                            Look{ViewKind::Free, 3.0, true}, Look{ViewKind::XY, 1.0, true},
                            Look{ViewKind::XY, 3.0, true}}) {
        chords.vertexBox.reset();
        if (look.boxKnown) NoteVertexBox(chords);
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
                    << look.zoom << (look.boxKnown ? " in its box" : "");
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

// Draws move over a canvas inked in the rows from top to bottom (not included), and gives the
// pixels that the move inks on a blank canvas and not there.
int PixelsLostOverInkedRows(const ViewPath& move, const ViewCamera& camera, int top, int bottom) {
    const int width = camera.Width();
    const int height = camera.Height();
    Frame blank(width, height);
    DrawPath(move, camera, blank);
    Frame frame(width, height);
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < width; ++x) frame.Set(x, y, kInk);
    WalkLinesUntilSummed(frame);
    DrawPath(move, camera, frame);
    int lost = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            lost += blank.At(x, y) != kBackground && frame.At(x, y) == kBackground ? 1 : 0;
    return lost;
}

TEST(FrameInkCounts, AMoveWhoseStepsStrayIntoTheNextRowInksItOverInkedRows) {
    // Rounded to 32.32 fixed point, the steps of a nearly level move stray from it, always the
    // same way: so far that they cross into the next row of pixels, which the box of the move's
    // ends does not hold, where the move runs within that stray of a row's edge. Over a canvas
    // inked in the row the move lies in, the move must still ink the next one.
    constexpr int kWidth = 32;
    constexpr int kHeight = 40;
    const ViewCamera camera = CanvasCamera(kWidth, kHeight);
    // A short move off the left edge from just above row 16 to just above it again: its steps
    // of half a unit of the fixed point each round up, and its last ones land in row 16.
    const double unit = std::ldexp(1.0, -32);
    const ViewPath shortMove =
        MoveBetween({-3.3, 16.0 - 11 * unit}, {12.2, 16.0 - 3 * unit}, kWidth, kHeight);
    EXPECT_EQ(PixelsLostOverInkedRows(shortMove, camera, 0, 16), 0);
    const ViewPath onCanvas =
        MoveBetween({1.3, 16.0 - 11 * unit}, {16.8, 16.0 - 3 * unit}, kWidth, kHeight);
    EXPECT_EQ(PixelsLostOverInkedRows(onCanvas, camera, 0, 16), 0);
    // A move of four million pixels cut by both edges, one row down over its length, of a length
    // whose steps round its rise down: the steps on the canvas fall a hair into row 15, which
    // the cut move's box does not hold.
    long length = 4000000;
    while (true) {
        const double perStep = 4294967296.0 / static_cast<double>(length);
        const double fraction = perStep - std::floor(perStep);
        if (fraction > 0.45 && fraction < 0.499) break;
        length += 2;
    }
    const double from = -9.5 - static_cast<double>(length) / 2.0;
    const ViewPath longMove =
        MoveBetween({from, 15.5}, {from + static_cast<double>(length), 16.5}, kWidth, kHeight);
    EXPECT_EQ(PixelsLostOverInkedRows(longMove, camera, 16, kHeight), 0);
}

TEST(FrameInkCounts, AVertexThatIsNotANumberCostsOnlyItsStretches) {
    ViewPath path;
    const double nan = std::nan("");
    const double far = std::numeric_limits<double>::infinity();
    path.vertices = {{0, 0, 0},   {nan, 5, 0}, {10, 10, 0}, {far, 3, 0},
                     {20, 20, 0}, {30, 20, 0}, {30, 30, 0}};
    path.points = {{0, 0, 0}, {30, 30, 0}};
    path.colours.assign(path.vertices.size(), 0);
    for (const ViewKind kind : {ViewKind::XY, ViewKind::Free}) {
        const ViewCamera camera = FittedCamera(path, 200, 150, kind);
        Frame frame(200, 150);
        const RasterCount count = DrawPath(path, camera, frame);
        EXPECT_EQ(count.drawn + count.skipped, path.vertices.size() - 1);
        EXPECT_GE(count.drawn, 2u) << ViewKindName(kind);
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

// A turned view of a flat box of the path, whose outline is the parallelogram of its corners,
// and where it places a pixel's point. The view opens turned, and is then turned further by
// the pixels of a drag.
struct TurnedBox {
    static constexpr int kWidth = 203;
    static constexpr int kHeight = 157;
    ViewCamera camera;
    ViewPath path;  // no vertices yet; the box
    std::array<Pixel, 4> corners{};

    explicit TurnedBox(Pixel drag = {}) {
        camera.SetKind(ViewKind::Free);
        camera.SetCanvas(kWidth, kHeight);
        camera.Rotate(drag.x, drag.y);
        path.vertices = {{0.0, 0.0, 0.0}, {1000.0, 600.0, 0.0}};
        path.points = path.vertices;
        camera.Fit(path);
        path.vertexBox = {path.vertices[0], path.vertices[1]};
        const auto& [low, high] = *path.vertexBox;
        corners = {camera.ToPixel(low), camera.ToPixel({high[0], low[1], 0.0}),
                   camera.ToPixel(high), camera.ToPixel({low[0], high[1], 0.0})};
    }
    // The point of the plane of the camera's right and up that it places at p.
    ViewPoint PointAt(Pixel p) const {
        const Pixel origin = camera.ToPixel({0.0, 0.0, 0.0});
        const double across = (p.x - origin.x) / camera.Scale();
        const double up = (origin.y - p.y) / camera.Scale();
        ViewPoint point{};
        for (std::size_t a = 0; a < 3; ++a)
            point[a] = across * camera.Right()[a] + up * camera.Up()[a];
        return point;
    }
    // The path of one move between the points it places at from and to.
    ViewPath Move(Pixel from, Pixel to) const {
        ViewPath move = path;
        move.vertices = {PointAt(from), PointAt(to)};
        move.colours = {0, 0};
        return move;
    }
    // How far p lies inside the parallelogram, from its nearest edge.
    double Depth(Pixel p) const {
        double depth = std::numeric_limits<double>::infinity();
        for (std::size_t i = 0; i < 4; ++i) {
            const Pixel a = corners[i];
            const Pixel b = corners[(i + 1) % 4];
            const Pixel c = corners[(i + 2) % 4];
            const auto side = [&](Pixel q) {
                return ((b.x - a.x) * (q.y - a.y) - (b.y - a.y) * (q.x - a.x)) /
                       std::hypot(b.x - a.x, b.y - a.y);
            };
            depth = std::min(depth, side(c) > 0.0 ? side(p) : -side(p));
        }
        return depth;
    }
    // A move between pixel centres along each edge, each at a depth just over Frame::kDeep.
    std::vector<std::array<Pixel, 2>> MovesAlongEdges() const {
        std::vector<std::array<Pixel, 2>> moves;
        for (std::size_t i = 0; i < 4; ++i) {
            const auto centreNear = [&](double along) {
                const Pixel a = corners[i];
                const Pixel b = corners[(i + 1) % 4];
                const Pixel at{a.x + (b.x - a.x) * along, a.y + (b.y - a.y) * along};
                Pixel best{};
                double bestDepth = std::numeric_limits<double>::infinity();
                for (int dy = -12; dy <= 12; ++dy) {
                    for (int dx = -12; dx <= 12; ++dx) {
                        const Pixel c{std::floor(at.x) + dx + 0.5, std::floor(at.y) + dy + 0.5};
                        const double depth = Depth(c);
                        if (depth >= Frame::kDeep && depth < bestDepth) {
                            best = c;
                            bestDepth = depth;
                        }
                    }
                }
                return best;
            };
            for (const double along : {0.1, 0.35, 0.6})
                moves.push_back({centreNear(along), centreNear(along + 0.3)});
        }
        return moves;
    }
    // A move from a point 2 pixels inside each edge, across it, to the middle of the box, and
    // the same back.
    std::vector<std::array<Pixel, 2>> MovesFromEdges() const {
        const Pixel middle{(corners[0].x + corners[2].x) / 2.0,
                           (corners[0].y + corners[2].y) / 2.0};
        std::vector<std::array<Pixel, 2>> moves;
        for (std::size_t i = 0; i < 4; ++i) {
            const Pixel a = corners[i];
            const Pixel b = corners[(i + 1) % 4];
            for (const double along : {0.3, 0.6}) {
                Pixel at{a.x + (b.x - a.x) * along, a.y + (b.y - a.y) * along};
                const Pixel step{(middle.x - at.x) / 1000.0, (middle.y - at.y) / 1000.0};
                while (Depth(at) < 2.0) at = {at.x + step.x, at.y + step.y};
                moves.push_back({at, middle});
                moves.push_back({middle, at});
            }
        }
        return moves;
    }
};

// Draws the move from to to of the box's view on a blank canvas and, for each pixel it inks
// there, on a canvas inked whole but for that pixel: the move must ink it.
void ExpectEachPixelInkedWhenLeftBlankAlone(const TurnedBox& box, Pixel from, Pixel to) {
    const ViewPath path = box.Move(from, to);
    Frame blank(TurnedBox::kWidth, TurnedBox::kHeight);
    DrawPath(path, box.camera, blank);
    Frame frame(TurnedBox::kWidth, TurnedBox::kHeight);
    for (int y = 0; y < TurnedBox::kHeight; ++y) {
        for (int x = 0; x < TurnedBox::kWidth; ++x) {
            if (blank.At(x, y) == kBackground) continue;
            frame.Clear();
            InkAllBut(frame, x, y);
            DrawPath(path, box.camera, frame);
            ASSERT_NE(frame.At(x, y), kBackground)
                << x << "," << y << " of the move from " << from.x << "," << from.y << " to "
                << to.x << "," << to.y;
        }
    }
}

TEST(FrameOutline, AMoveDeepInsideThePathsBoxInksEachOfItsPixelsLeftBlankAlone) {
    // Each pixel a move along an edge of the turned box inks on a blank canvas, alone left
    // blank on a canvas inked whole: the tiles taken as out of the move's reach must not hold
    // it. Turned further, the box is seen nearly from above, its edges 15 degrees off the
    // picture's rows and columns.
    for (const TurnedBox& box : {TurnedBox(), TurnedBox({52.0, 78.0})}) {
        for (const auto& [from, to] : box.MovesAlongEdges()) {
            Frame outlined(TurnedBox::kWidth, TurnedBox::kHeight);
            DrawPath(box.Move(from, to), box.camera, outlined);
            ASSERT_TRUE(outlined.DeepInside(from) && outlined.DeepInside(to))
                << from.x << "," << from.y;
            ExpectEachPixelInkedWhenLeftBlankAlone(box, from, to);
        }
    }
}

TEST(FrameOutline, AMoveFromItsEdgeIntoAFilledPictureInksEachOfItsPixelsLeftBlankAlone) {
    // Each pixel a move from near an edge of the turned box to its middle (or back) inks on a
    // blank canvas, alone left blank on a canvas inked whole: the move's part deeper than that
    // pixel's tile is left out unwalked, and the walk of the rest must reach the pixel. Turned
    // further, the box is seen nearly from above.
    for (const TurnedBox& box : {TurnedBox(), TurnedBox({52.0, 78.0})})
        for (const auto& [from, to] : box.MovesFromEdges())
            ExpectEachPixelInkedWhenLeftBlankAlone(box, from, to);
}

// How far p lies inside the convex hull of corners, from its nearest edge: the least over
// the lines through two corners with every corner on one side.
double HullDepth(const std::vector<Pixel>& corners, Pixel p) {
    double depth = std::numeric_limits<double>::infinity();
    for (const Pixel a : corners) {
        for (const Pixel b : corners) {
            const double length = std::hypot(b.x - a.x, b.y - a.y);
            if (length < 1e-9) continue;
            const auto side = [&](Pixel q) {
                return ((b.x - a.x) * (q.y - a.y) - (b.y - a.y) * (q.x - a.x)) / length;
            };
            if (std::all_of(corners.begin(), corners.end(),
                            [&](Pixel q) { return side(q) >= -1e-9; }))
                depth = std::min(depth, side(p));
        }
    }
    return depth;
}

TEST(FrameOutline, DrawsThePictureItDrawsWithoutTheBoxOverABlankBandAtTheEdges) {
    // Boxes of every shape, turned and zoomed at random, moves between points of the box most of
    // them 7 to 12 pixels inside its outline, over a picture inked but for a band at its edges
    // (some moves leave the canvas): the picture drawn with the box known is the one drawn
    // without it.
    std::mt19937_64 random(7);
    const auto uniform = [&](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random);
    };
    for (int trial = 0; trial < 40; ++trial) {
        const std::array<double, 3> side{uniform(1, 1000), uniform(1, 1000),
                                         trial % 3 == 0 ? 0.0 : uniform(1, 1000)};
        const int width = static_cast<int>(uniform(40, 200));
        const int height = static_cast<int>(uniform(40, 200));
        ViewPath path;
        for (int c = 0; c < 8; ++c)
            path.points.push_back({(c & 1) != 0 ? side[0] : 0.0, (c & 2) != 0 ? side[1] : 0.0,
                                   (c & 4) != 0 ? side[2] : 0.0});
        ViewCamera camera;
        camera.SetKind(ViewKind::Free);
        camera.SetCanvas(width, height);
        camera.Rotate(uniform(-400, 400), uniform(-400, 400));
        camera.Fit(path);
        camera.ZoomAt(uniform(0, width), uniform(0, height), std::exp(uniform(-0.5, 1.5)));
        std::vector<Pixel> corners;
        for (const ViewPoint& corner : path.points) corners.push_back(camera.ToPixel(corner));
        const auto inBox = [&] {
            return ViewPoint{uniform(0, side[0]), uniform(0, side[1]), uniform(0, side[2])};
        };
        path.vertices = path.points;
        for (int i = 0; i < 300; ++i) {
            ViewPoint v = inBox();
            for (int tries = 0; tries < 200 && i % 4 != 0; ++tries) {
                const double depth = HullDepth(corners, camera.ToPixel(v));
                if (depth >= 7.0 && depth <= 12.0) break;
                v = inBox();
            }
            path.vertices.push_back(v);
        }
        path.colours.assign(path.vertices.size(), 0);
        const double band = uniform(-2, 8);
        Frame known(width, height);
        Frame unknown(width, height);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                if (HullDepth(corners, {x + 0.5, y + 0.5}) <= band) continue;
                known.Set(x, y, kInk);
                unknown.Set(x, y, kInk);
            }
        }
        WalkLinesUntilSummed(unknown);
        NoteVertexBox(path);
        DrawPath(path, camera, known);
        path.vertexBox.reset();
        DrawPath(path, camera, unknown);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                ASSERT_EQ(known.At(x, y), unknown.At(x, y)) << x << "," << y << " in " << trial;
    }
}

TEST(FrameOutline, TakesTheTilesAtItsEdgesAsInkedForALineDeepInside) {
    // A diamond's outline and the picture inked but for the pixels within a pixel of its edges
    // or beyond: the box of a line along an edge at kDeep holds blank tiles at the edge, which
    // the line cannot reach, so that its first look leaves it out.
    Frame frame(200, 200);
    frame.SetOutline(std::vector<Pixel>{{100, 10}, {190, 100}, {100, 190}, {10, 100}});
    const auto depth = [](double x, double y) {
        return (90.0 - std::fabs(x - 100.0) - std::fabs(y - 100.0)) / std::sqrt(2.0);
    };
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x)
            if (depth(x + 0.5, y + 0.5) > 1.0) frame.Set(x, y, kInk);
    WalkLinesUntilSummed(frame);
    const double off = Frame::kDeep * std::sqrt(2.0);
    const Pixel from{100.0, 10.0 + off + 20.0};
    const Pixel to{170.0, 80.0 + off};
    ASSERT_GE(depth(from.x, from.y), Frame::kDeep);
    ASSERT_GE(depth(to.x, to.y), Frame::kDeep);
    EXPECT_FALSE(frame.AreaInked(from, to, Reach::Anywhere));
    EXPECT_TRUE(frame.AreaInked(from, to, Reach::FromDeepInside));
    frame.Clear();  // the outline belongs to the drawing it was set for
    InkAllBut(frame, 0, 0);
    WalkLinesUntilSummed(frame);
    EXPECT_FALSE(frame.AreaInked({0.5, 0.5}, to, Reach::FromDeepInside));
    EXPECT_TRUE(frame.AreaInked(from, to, Reach::FromDeepInside));
}

TEST(FrameOutline, TellsPointsDeepInsideATurnedOutlineGivenEitherWayRound) {
    // A square of side 100 turned by 30 degrees about 200, 200, its corners given in either
    // turn and with repeats, as the corners of a flat box come: a point is deep inside at
    // kDeep from every edge, not a hair nearer one.
    const double turn = M_PI / 6.0;
    const auto at = [&](double across, double down) {
        return Pixel{200.0 + across * std::cos(turn) - down * std::sin(turn),
                     200.0 + across * std::sin(turn) + down * std::cos(turn)};
    };
    const std::vector<Pixel> corners{at(-50, -50), at(50, -50), at(50, 50), at(-50, 50)};
    std::vector<Pixel> otherWay(corners.rbegin(), corners.rend());
    otherWay.insert(otherWay.end(), corners.begin(), corners.end());
    for (const std::vector<Pixel>& given : {corners, otherWay}) {
        Frame frame(400, 400);
        frame.SetOutline(given);
        const double edge = 50.0 - Frame::kDeep;
        EXPECT_TRUE(frame.DeepInside(at(0, 0)));
        EXPECT_TRUE(frame.DeepInside(at(edge, -edge + 1e-6)));
        EXPECT_FALSE(frame.DeepInside(at(edge + 1e-6, 0)));
        EXPECT_FALSE(frame.DeepInside(at(0, -edge - 1e-6)));
        EXPECT_FALSE(frame.DeepInside(at(-edge - 1e-6, 10)));
        EXPECT_FALSE(frame.DeepInside(at(10, edge + 1e-6)));
        EXPECT_FALSE(frame.DeepInside(at(200, 0)));
        EXPECT_FALSE(frame.DeepInside({std::nan(""), 200.0}));
        frame.Clear();  // the outline belongs to the drawing it was set for
        EXPECT_FALSE(frame.DeepInside(at(0, 0)));
    }
}

TEST(FrameOutline, IsNoneForCornersOnALineOrFarOffWhateverWasSetBefore) {
    Frame frame(400, 400);
    frame.SetOutline(std::vector<Pixel>{{0, 0}, {400, 0}, {0, 400}});
    EXPECT_TRUE(frame.DeepInside({50, 50}));
    frame.SetOutline(std::vector<Pixel>{{0, 0}, {100, 100}, {300, 300}, {100, 100}});
    EXPECT_FALSE(frame.DeepInside({100, 100}));
    EXPECT_FALSE(frame.DeepInside({50, 50}));
    frame.SetOutline(std::vector<Pixel>{{0, 0}, {400, 0}, {0, 400}, {1e9, 1e9}});
    EXPECT_FALSE(frame.DeepInside({50, 50}));
}

}  // namespace
