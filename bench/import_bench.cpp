// Importing a CAM program of a million G1 lines, beside translating the element it makes.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "host/CString.h"
#include "module/plugin/VantrelExports.h"
#include "tests/support/TestProject.h"
#include "toolpath/element/ElementPath.h"
#include "toolpath/element/ElementWriter.h"
#include "toolpath/exchange/GcodeReader.h"
#include "toolpath/exchange/SegmentBuilder.h"

namespace {

// A random walk as CAM output writes it: four decimals, a feed now and then.
std::string GcodeProgram(int lines) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> step(-1.0, 1.0);
    std::string text = "G21 G90\nG1 F1200\n";
    double x = 0.0, y = 0.0;
    char line[96];
    for (int i = 0; i < lines; ++i) {
        x += step(random);
        y += step(random);
        const int length = std::snprintf(line, sizeof line, "G1 X%.4f Y%.4f Z%.3f%s\n", x, y,
                                         (i % 7) * 0.1, i % 1000 == 0 ? " F1500" : "");
        text.append(line, static_cast<size_t>(length));
    }
    return text;
}

struct Import {
    explicit Import(int lines) : program(GcodeProgram(lines)) {
        project.AddSlaves(3, TestDrive{});
        layout = ReadElementPath(kDefault3D, "test.element", project.controller, project.motion);
    }

    std::string Run() const {
        const ImportedPath path = ReadGcode(program, "bench.nc", GcodeOptions{});
        PathScales scales;
        for (auto& axis : scales.position) axis = ScaleToInternal(layout.units, "mm");
        scales.speed = ScaleToInternal(layout.units, "mm/s");
        scales.acceleration = ScaleToInternal(layout.units, "m/s^2");
        const BuiltSegments built = BuildSegments(path, scales, "bench.nc");
        return WithColumns(kDefault3D, built.segments, layout.units,
                           {{"mm", "mm", "mm"}, "m/s", "m/s^2"}, true);
    }

    TestProject project;
    std::string program;
    ElementPath layout;
};

void BM_ReadGcode(benchmark::State& state) {
    const std::string program = GcodeProgram(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(ReadGcode(program, "bench.nc", GcodeOptions{}));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ReadGcode)->Arg(1000000)->Unit(benchmark::kMillisecond);

// Reading, rounding to counts and writing the element: the import but for the module's check.
void BM_ImportGcode(benchmark::State& state) {
    const Import import(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(import.Run());
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ImportGcode)->Arg(1000000)->Unit(benchmark::kMillisecond);

// What the import's check by the module costs, and what translate takes anyway.
void BM_TranslateImportedElement(benchmark::State& state) {
    Import import(static_cast<int>(state.range(0)));
    const CString element(import.Run());
    for (auto _ : state) {
        CString code;
        if (!TranslateMotionSequence(import.project.controller, import.project.motion, element,
                                     code))
            state.SkipWithError(code.GetString());
        benchmark::DoNotOptimize(code);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_TranslateImportedElement)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
