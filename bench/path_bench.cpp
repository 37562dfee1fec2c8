// Reading, timing and drawing the paths of elements with many segments.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <string>

#include "tests/support/MicronPath.h"
#include "tests/support/TestProject.h"
#include "toolpath/element/ElementPath.h"
#include "toolpath/motion/PathStats.h"
#include "toolpath/plot/SvgPlot.h"

namespace {

// As the plot command draws: the model built once, the statistics on it, then the drawing.
std::string PlotOf(const ElementPath& path, const PlotRequest& request) {
    const std::optional<MotionModel> model = MotionModelOf(path, {});
    return RenderSvgPlot(path, model, ComputeStats(path, model), request);
}

// A spiral of count segments on the demo drives, in the element's text.
std::string SpiralElement(int count) {
    std::string x, y, acceleration, speed;
    for (int i = 0; i < count; ++i) {
        const std::string sep = i ? " " : "";
        const double angle = i * 0.01;
        x += sep + std::to_string(std::round(-std::sin(angle) * 40.0) / 1000.0 + 0.0025);
        y += sep + std::to_string(std::round(std::cos(angle) * 40.0) / 1000.0);
        acceleration += sep + (i % 5000 ? "0" : "0.5");
        speed += sep + (i % 5000 ? "0" : std::to_string(0.01 + (i / 5000 % 7) * 0.01));
    }
    return "ProfileType=0\nSlaveX=0\nSlaveY=1\nX_TPOS[mm]=" + x + "\nY_TPOS[mm]=" + y +
           "\nCACC[m/s^2]=" + acceleration + "\nCSPD[m/s]=" + speed + "\nExecute=0\n";
}

ElementPath SpiralPath(int count) {
    TestProject project;
    project.AddSlaves(2, TestDrive{});
    return ReadElementPath(SpiralElement(count), "test.element", project.controller,
                           project.motion);
}

// A million short steps in every direction at changing speeds: the most a drawing can hold.
ElementPath ScribblePath(int count) {
    ElementPath path = MicronPath();
    std::mt19937 random(11);
    std::uniform_int_distribution<int> step(-500, 500);
    path.segments.resize(static_cast<size_t>(count));
    for (size_t i = 0; i < path.segments.size(); ++i) {
        path.segments[i].counts = {step(random), step(random), step(random)};
        if (i % 1000 == 0) path.segments[i].speedLiteral = 10.0 + static_cast<double>(i % 7) * 10;
    }
    path.segments[0].accelerationLiteral = 1.0;
    return path;
}

void BM_ReadElementPath(benchmark::State& state) {
    TestProject project;
    project.AddSlaves(2, TestDrive{});
    const std::string text = SpiralElement(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(
            ReadElementPath(text, "bench.element", project.controller, project.motion));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ReadElementPath)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_PathStats(benchmark::State& state) {
    const ElementPath path = SpiralPath(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(ComputeStats(path, MotionModelOf(path, {})));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PathStats)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_PlotSpiral(benchmark::State& state) {
    const ElementPath path = SpiralPath(static_cast<int>(state.range(0)));
    std::size_t size = 0;
    for (auto _ : state) size = PlotOf(path, {"spiral", true}).size();
    state.counters["bytes"] = static_cast<double>(size);
}
BENCHMARK(BM_PlotSpiral)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_PlotScribble(benchmark::State& state) {
    const ElementPath path = ScribblePath(static_cast<int>(state.range(0)));
    std::size_t size = 0;
    for (auto _ : state) size = PlotOf(path, {"scribble", true}).size();
    state.counters["bytes"] = static_cast<double>(size);
}
BENCHMARK(BM_PlotScribble)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The scribble rasterised, as plot -o x.png draws it: the model, the statistics, the PNG.
void BM_PlotScribblePng(benchmark::State& state) {
    const ElementPath path = ScribblePath(static_cast<int>(state.range(0)));
    std::size_t size = 0;
    for (auto _ : state) {
        const std::optional<MotionModel> model = MotionModelOf(path, {});
        size = RenderPngPlot(path, model, ComputeStats(path, model), {"scribble", true}).size();
    }
    state.counters["bytes"] = static_cast<double>(size);
}
BENCHMARK(BM_PlotScribblePng)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
