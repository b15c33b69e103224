// One frame of the game against the raw memory work it implies, side by side in one run.
// Run bench/ratios.sh for the ratio; the raw times alone mean little.
#include "typical_frame.h"

#include "app/shell.h"

#include <benchmark/benchmark.h>

namespace {

void BM_RenderFrame(benchmark::State& state) {
    if (!StartTypicalFrame(ZOBU_SOURCE_DIR)) {
        state.SkipWithError("cannot start the game");
        return;
    }
    for (auto _ : state) {
        RenderFrame();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RenderFrame);

void BM_FrameMemoryWork(benchmark::State& state) {
    FrameMemoryWork work;
    for (auto _ : state) {
        work.Run();
        benchmark::ClobberMemory();
    }
    benchmark::DoNotOptimize(work.Sample());
}
BENCHMARK(BM_FrameMemoryWork);

} // namespace

BENCHMARK_MAIN();
