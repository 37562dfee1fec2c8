// The viewer's work per frame on a million segments: the picture of the path at the whole view,
// zoomed in and turned, on one core and on two as the window draws it, moved along with a pan,
// and building the viewer's path from an element's path once.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <span>
#include <vector>

#include "tests/viewer/ViewerTestPaths.h"
#include "viewer/PathRaster.h"

namespace {

constexpr int kSegments = 1000000;
constexpr int kWidth = 1000;
constexpr int kHeight = 600;

// A pocket's path: rings of short segments with a feed change each ring, as a CAM program cuts
// it, and a step down in Z between rings.
ElementPath PocketPath() {
    ElementPath path = MicronPath(3);
    path.segments.reserve(kSegments);
    const int perRing = 2000;
    for (int i = 0; i < kSegments; ++i) {
        const double ring = 1.0 + (i / perRing) % 50;
        const double a0 = (i % perRing) * 2.0 * M_PI / perRing;
        const double a1 = a0 + 2.0 * M_PI / perRing;
        const auto dx =
            static_cast<std::int64_t>(std::lround(ring * 1000.0 * (std::cos(a1) - std::cos(a0))));
        const auto dy =
            static_cast<std::int64_t>(std::lround(ring * 1000.0 * (std::sin(a1) - std::sin(a0))));
        const bool first = i % perRing == 0;
        path.segments.push_back(Move(dx, dy, first ? -10 : 0,
                                     first ? 0.02 + (i / perRing) % 5 * 0.01 : 0.0,
                                     first ? 0.5 : 0.0));
    }
    return path;
}

// A raster finish: long passes across the part and back, a count apart, so that hundreds of
// passes fall into each row of pixels at the whole view.
ElementPath RasterPath() {
    ElementPath path = MicronPath(3);
    path.segments.reserve(kSegments);
    for (int i = 0; i < kSegments; ++i) {
        const bool pass = i % 2 == 0;
        const std::int64_t across = i % 4 == 0 ? 100000 : -100000;
        path.segments.push_back(pass ? Move(across, 0, 0, 0.0, 0.0) : Move(0, 1, 0, 0.0, 0.0));
    }
    return path;
}

// A zigzag finish: each move a pass across the part, a count further along it, so that the
// passes zoomed in run off the picture at both ends.
ElementPath ZigzagPath() {
    ElementPath path = MicronPath(3);
    path.segments.reserve(kSegments);
    for (int i = 0; i < kSegments; ++i)
        path.segments.push_back(Move(i % 2 == 0 ? 1000000 : -1000000, 1, 0, 0.0, 0.0));
    return path;
}

// Long moves from point to point of a random set across the part, crossing each other
// everywhere (a drilling or probing program's rapids).
ElementPath ChordPath() {
    ElementPath path = MicronPath(3);
    path.segments.reserve(kSegments);
    std::mt19937_64 random(12345);
    auto next = [&random] { return static_cast<std::int64_t>(random() >> 44); };  // 0 .. 2^20
    std::int64_t x = 0;
    std::int64_t y = 0;
    for (int i = 0; i < kSegments; ++i) {
        const std::int64_t toX = next();
        const std::int64_t toY = next() / 2;
        path.segments.push_back(Move(toX - x, toY - y, 0, 0.0, 0.0));
        x = toX;
        y = toY;
    }
    return path;
}

// A random walk of short moves in all three axes, every one in a new direction: no two
// consecutive stretches can be merged, and the whole walk lies on the window.
ElementPath WalkPath() {
    ElementPath path = MicronPath(3);
    path.segments.reserve(kSegments);
    std::mt19937_64 random(54321);
    auto step = [&random] {
        return static_cast<std::int64_t>(random() >> 54) - 512;  // -512 .. 511 counts
    };
    for (int i = 0; i < kSegments; ++i)
        path.segments.push_back(Move(step(), step(), step() / 10, 0.0, 0.0));
    return path;
}

const ViewPath& Walk() {
    static const ViewPath view = ViewOf(WalkPath());
    return view;
}

const ViewPath& Pocket() {
    static const ViewPath view = ViewOf(PocketPath());
    return view;
}

const ViewPath& Chords() {
    static const ViewPath view = ViewOf(ChordPath());
    return view;
}

const ViewPath& Zigzag() {
    static const ViewPath view = ViewOf(ZigzagPath());
    return view;
}

const ViewPath& Raster() {
    static const ViewPath view = ViewOf(RasterPath());
    return view;
}

// On two cores, as the window draws on a machine of two: the later half of the path into a
// spare frame at once.
enum class Cores { One, Two };

void DrawFrames(benchmark::State& state, ViewKind kind, double zoom,
                const ViewPath& (*pathOf)() = Pocket, Cores cores = Cores::One) {
    const ViewPath& view = pathOf();
    ViewCamera camera;
    camera.SetKind(kind);
    camera.SetCanvas(kWidth, kHeight);
    camera.Fit(view);
    camera.ZoomAt(kWidth / 2.0, kHeight / 2.0, zoom);
    Frame frame(kWidth, kHeight);
    std::vector<Frame> spare(1, Frame(kWidth, kHeight));
    TurnedVertices turned;  // as the window keeps them
    for (auto _ : state) {
        frame.Clear();
        camera.Pan(1, 0);  // as a drag moves the view between frames
        benchmark::DoNotOptimize(DrawPath(
            view, camera, frame, cores == Cores::Two ? spare : std::span<Frame>{}, &turned));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(view.vertices.size()));
}

// As a pan is dragged: the picture moved a few pixels and what comes in at the edges drawn.
void DrawPannedFrames(benchmark::State& state, ViewKind kind, double zoom,
                      const ViewPath& (*pathOf)(), Cores cores = Cores::One) {
    const ViewPath& view = pathOf();
    ViewCamera camera;
    camera.SetKind(kind);
    camera.SetCanvas(kWidth, kHeight);
    camera.Fit(view);
    camera.ZoomAt(kWidth / 2.0, kHeight / 2.0, zoom);
    Frame frame(kWidth, kHeight);
    TurnedVertices turned;
    DrawPath(view, camera, frame, {}, &turned);
    std::vector<Frame> spare(1, Frame(kWidth, kHeight));
    int turn = 0;
    for (auto _ : state) {
        // To and fro, so that the path stays in view.
        const int dx = ++turn % 200 < 100 ? 4 : -4;
        camera.Pan(dx, 1);
        frame.Shift(dx, 1);
        benchmark::DoNotOptimize(DrawPathShifted(
            view, camera, frame, dx, 1, cores == Cores::Two ? spare : std::span<Frame>{}, &turned));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(view.vertices.size()));
}

// The frames measured, by name: how the view looks, its zoom, the path, and how it is drawn.
struct FrameCase {
    const char* name;
    ViewKind kind;
    double zoom;
    const ViewPath& (*pathOf)();
    enum { OneCore, TwoCores, Panned, PannedTwoCores } drawing;
};

constexpr FrameCase kFrames[] = {
    {"BM_FrameWholeView", ViewKind::XY, 1.0, Pocket, FrameCase::OneCore},
    {"BM_FrameZoomedIn", ViewKind::XY, 20.0, Pocket, FrameCase::OneCore},
    {"BM_FrameTurned3D", ViewKind::Free, 1.0, Pocket, FrameCase::OneCore},
    {"BM_FrameCrossingChords", ViewKind::XY, 1.0, Chords, FrameCase::OneCore},
    {"BM_FrameCrossingChords3D", ViewKind::Free, 1.0, Chords, FrameCase::OneCore},
    // Three times nearer: most moves run off the canvas.
    {"BM_FrameCrossingChords3DZoomedIn", ViewKind::Free, 3.0, Chords, FrameCase::OneCore},
    {"BM_FrameRasterPasses", ViewKind::XY, 1.0, Raster, FrameCase::OneCore},
    {"BM_FrameRasterPasses3D", ViewKind::Free, 1.0, Raster, FrameCase::OneCore},
    {"BM_FrameZigzag3D", ViewKind::Free, 1.0, Zigzag, FrameCase::OneCore},
    // Four times nearer: most passes run across the canvas and off it at both ends.
    {"BM_FrameZigzag3DZoomedIn", ViewKind::Free, 4.0, Zigzag, FrameCase::OneCore},
    {"BM_FrameRandomWalk", ViewKind::XY, 1.0, Walk, FrameCase::OneCore},
    {"BM_FrameRandomWalk3D", ViewKind::Free, 1.0, Walk, FrameCase::OneCore},
    // Zoomed in, its moves span a few pixels each: the short lines a dense path shows close up.
    {"BM_FrameRandomWalk3DZoomedIn", ViewKind::Free, 6.0, Walk, FrameCase::OneCore},
    {"BM_FrameWholeViewTwoCores", ViewKind::XY, 1.0, Pocket, FrameCase::TwoCores},
    {"BM_FrameTurned3DTwoCores", ViewKind::Free, 1.0, Pocket, FrameCase::TwoCores},
    {"BM_FrameCrossingChordsTwoCores", ViewKind::XY, 1.0, Chords, FrameCase::TwoCores},
    {"BM_FrameCrossingChords3DTwoCores", ViewKind::Free, 1.0, Chords, FrameCase::TwoCores},
    {"BM_FrameCrossingChords3DZoomedInTwoCores", ViewKind::Free, 3.0, Chords, FrameCase::TwoCores},
    {"BM_FrameRasterPasses3DTwoCores", ViewKind::Free, 1.0, Raster, FrameCase::TwoCores},
    {"BM_FrameRandomWalk3DTwoCores", ViewKind::Free, 1.0, Walk, FrameCase::TwoCores},
    {"BM_FramePannedPocket3D", ViewKind::Free, 1.0, Pocket, FrameCase::Panned},
    {"BM_FramePannedChords3D", ViewKind::Free, 1.0, Chords, FrameCase::Panned},
    // Zoomed in, nearly every move runs across the picture and off it, and half reach the
    // band that comes in.
    {"BM_FramePannedChords3DZoomedIn", ViewKind::Free, 3.0, Chords, FrameCase::Panned},
    {"BM_FramePannedChords3DZoomedInTwoCores", ViewKind::Free, 3.0, Chords,
     FrameCase::PannedTwoCores},
    {"BM_FramePannedZigzag3DZoomedIn", ViewKind::Free, 4.0, Zigzag, FrameCase::Panned},
    {"BM_FramePannedRandomWalk3D", ViewKind::Free, 1.0, Walk, FrameCase::Panned},
    {"BM_FramePannedRandomWalk3DTwoCores", ViewKind::Free, 1.0, Walk, FrameCase::PannedTwoCores},
};

const bool kFramesRegistered = [] {
    for (const FrameCase& frame : kFrames) {
        auto* registered = benchmark::RegisterBenchmark(frame.name, [frame](
                                                                        benchmark::State& state) {
            if (frame.drawing == FrameCase::Panned || frame.drawing == FrameCase::PannedTwoCores) {
                DrawPannedFrames(state, frame.kind, frame.zoom, frame.pathOf,
                                 frame.drawing == FrameCase::Panned ? Cores::One : Cores::Two);
                return;
            }
            DrawFrames(state, frame.kind, frame.zoom, frame.pathOf,
                       frame.drawing == FrameCase::TwoCores ? Cores::Two : Cores::One);
        });
        registered->Unit(benchmark::kMillisecond);
        if (frame.drawing == FrameCase::TwoCores || frame.drawing == FrameCase::PannedTwoCores)
            registered->UseRealTime();
    }
    return true;
}();

void BM_BuildViewPath(benchmark::State& state) {
    const ElementPath path = PocketPath();
    for (auto _ : state) benchmark::DoNotOptimize(ViewOf(path));
    state.SetItemsProcessed(state.iterations() * kSegments);
}

BENCHMARK(BM_BuildViewPath)->Unit(benchmark::kMillisecond);

}  // namespace
