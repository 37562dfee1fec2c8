// Holding a million segments against drive limits, and reducing them within a tolerance.
#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>

#include "tests/support/MicronPath.h"
#include "toolpath/element/PathSimplifier.h"
#include "toolpath/motion/LimitCheck.h"
#include "toolpath/motion/PathStats.h"

namespace {

// A circle of radius 0.1 m in count segments of 1 um counts, with a speed change every 5000
// segments, so that the check finds overruns and the simplifier meets boundaries.
ElementPath CirclePath(int count) {
    ElementPath path = MicronPath();
    path.segments.resize(static_cast<size_t>(count));
    const double radius = 100000.0;
    Counts previous{static_cast<std::int64_t>(radius), 0, 0};
    for (size_t i = 0; i < path.segments.size(); ++i) {
        const double angle = 2.0 * std::numbers::pi * static_cast<double>(i + 1) / count;
        const Counts point{std::llround(radius * std::cos(angle)),
                           std::llround(radius * std::sin(angle)),
                           static_cast<std::int64_t>(i % 3)};
        for (size_t a = 0; a < 3; ++a) path.segments[i].counts[a] = point[a] - previous[a];
        previous = point;
        if (i % 5000 == 0) path.segments[i].speedLiteral = 10.0 + static_cast<double>(i % 7) * 10;
    }
    path.segments[0].accelerationLiteral = 1.0;
    return path;
}

void BM_CheckLimits(benchmark::State& state) {
    const ElementPath path = CirclePath(static_cast<int>(state.range(0)));
    PathLimits limits;
    for (AxisLimits& axis : limits.axes) axis = {0.03, 0.5, -0.05, 0.05};
    limits.minSegmentTime = 0.001;
    std::size_t findings = 0;
    for (auto _ : state) {
        const LimitReport report = CheckLimits(path, MotionModelOf(path, {}), limits);
        findings = report.findings.size();
    }
    state.counters["findings"] = static_cast<double>(findings);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_CheckLimits)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_SimplifySegments(benchmark::State& state) {
    const ElementPath path = CirclePath(static_cast<int>(state.range(0)));
    std::size_t kept = 0;
    for (auto _ : state) kept = SimplifySegments(path.segments, 10.0).segments.size();
    state.counters["kept"] = static_cast<double>(kept);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SimplifySegments)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
