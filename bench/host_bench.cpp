// Reading and writing long arrays through the parameter text, as elements with many segments do.
#include <benchmark/benchmark.h>

#include "host/CMC_ArrayParameter.h"
#include "host/CMC_Motion.h"
#include "host/CMC_Setup.h"
#include "host/CMC_Value.h"
#include "tests/support/StubModel.h"
#include "tests/support/TestProject.h"

namespace {
struct Fixture {
    Fixture() {
        drive.SetUnits(TestDrive{}.Units());
        positions.InitializeMotionParam(VT_LONG, "X_TPOS", "mm", "", MC_UNSET_LIMIT,
                                        MC_UNSET_LIMIT);
        for (int i = 0; i < kCount; ++i) positions.InsertValueAt(i, (i % 4000 - 2000) * 0.0175);
        model.WriteArrayDataParam(text, &positions);
    }

    static constexpr int kCount = 1000000;
    CMC_Setup controller{"controller"};
    CMC_Setup drive{"drive"};
    CMC_Motion motion;
    StubModel model{controller, motion};
    CMC_ArrayParameter positions{&drive};
    CString text;
};

Fixture& Shared() {
    static Fixture fixture;
    return fixture;
}

void BM_WriteMillionPositions(benchmark::State& state) {
    Fixture& f = Shared();
    for (auto _ : state) {
        CString text;
        f.model.WriteArrayDataParam(text, &f.positions);
        benchmark::DoNotOptimize(text.GetLength());
    }
    state.SetItemsProcessed(state.iterations() * Fixture::kCount);
}
BENCHMARK(BM_WriteMillionPositions)->Unit(benchmark::kMillisecond);

void BM_ReadMillionPositions(benchmark::State& state) {
    Fixture& f = Shared();
    for (auto _ : state) {
        CMC_ArrayParameter array(&f.drive);
        const CString error = f.model.ReadArrayDataParam(f.text, "TPOS", "X_", nullptr, &array);
        benchmark::DoNotOptimize(array.GetValuesCount());
    }
    state.SetItemsProcessed(state.iterations() * Fixture::kCount);
}
BENCHMARK(BM_ReadMillionPositions)->Unit(benchmark::kMillisecond);

void BM_AppendMillionValues(benchmark::State& state) {
    Fixture& f = Shared();
    for (auto _ : state) {
        CMC_ArrayParameter array(&f.drive);
        array.InitializeMotionParam(VT_LONG, "X_TPOS", "mm", "", MC_UNSET_LIMIT, MC_UNSET_LIMIT);
        for (int i = 0; i < Fixture::kCount; ++i) array.InsertValueAt(i, i * 0.0025);
        benchmark::DoNotOptimize(array.GetValuesCount());
    }
}
BENCHMARK(BM_AppendMillionValues)->Unit(benchmark::kMillisecond);
}  // namespace
