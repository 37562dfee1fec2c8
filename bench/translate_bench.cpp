// Reading, validating and translating elements with many segments.
#include <benchmark/benchmark.h>

#include <string>

#include "model/CInternalData.h"
#include "plugin/VantrelExports.h"
#include "tests/support/TestProject.h"

namespace {

std::string ElementWithSegments(int count) {
    std::string x, y, z, acceleration, speed;
    for (int i = 0; i < count; ++i) {
        const std::string sep = i ? " " : "";
        x += sep + std::to_string(i % 97 + 1) + ".5";
        y += sep + std::to_string(i % 13);
        z += sep + "-" + std::to_string(i % 7) + ".25";
        acceleration += sep + (i % 3 ? "0" : "0.5");
        speed += sep + (i % 2 ? "0.05" : "0");
    }
    return "ProfileType=1\nConfigureMode=1\nClearBuffer=1\nInsertEndSegment=1\n"
           "SlaveX=0\nSlaveY=1\nSlaveZ=2\nX_TPOS[mm]=" +
           x + "\nY_TPOS[mm]=" + y + "\nZ_TPOS[mm]=" + z + "\nCACC[m/s^2]=" + acceleration +
           "\nCSPD[m/s]=" + speed + "\nExecute=0\nWaitForCompletion=1\n";
}

void BM_TranslateElement(benchmark::State& state) {
    TestProject project;
    project.AddSlaves(3, TestDrive{});
    const CString text(ElementWithSegments(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        CString code;
        const int ok = TranslateMotionSequence(project.controller, project.motion, text, code);
        if (!ok) state.SkipWithError(code.GetString());
        benchmark::DoNotOptimize(code);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_TranslateElement)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_ReadAndWriteElement(benchmark::State& state) {
    TestProject project;
    project.AddSlaves(3, TestDrive{});
    const CString text(ElementWithSegments(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        CInternalData data(project.controller, project.motion);
        CString error, written;
        data.ReadParameters(text, error);
        data.WriteParameters(written);
        benchmark::DoNotOptimize(written);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ReadAndWriteElement)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
