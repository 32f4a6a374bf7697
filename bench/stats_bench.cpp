// The first statistics methods at the sizes people run them: descriptive
// statistics of 10 variables of 6500 values with all three tables, and the
// histogram with its normality tests on a full vector of 16000 values. Each
// must stay well under 100 ms, the report and the write-back included.
#include <benchmark/benchmark.h>

#include "bench_support.h"
#include "stats/descriptive.h"

namespace dalvex {
namespace {

// Rows 0 .. rows-1 of `length` roughly normal values (sums of uniforms)
// around an offset, as a sheet would give them.
void FillNormalRows(BenchWorkspace<>& bench, int rows, int length) {
    Lcg random;
    bench.FillRows(rows, length, [&](int, int) {
        double x = 0;
        for (int k = 0; k < 4; ++k)
            x += random.Next();
        return 1000 + 10 * x;
    });
}

void BM_DescriptiveStatistics10x6500(benchmark::State& state) {
    BenchWorkspace<> bench;
    for (auto _ : state) {
        state.PauseTiming();
        bench.ws.sheet = SheetGrid();
        FillNormalRows(bench, 10, 6500);
        state.ResumeTiming();
        DescriptiveStatistics(bench.ws);
    }
    bench.Check(state);
}
BENCHMARK(BM_DescriptiveStatistics10x6500)->Unit(benchmark::kMillisecond);

void BM_HistogramNormality16000(benchmark::State& state) {
    BenchWorkspace<> bench;
    for (auto _ : state) {
        state.PauseTiming();
        bench.ws.sheet = SheetGrid();
        FillNormalRows(bench, 2, VectorCapacity);
        bench.ws.VarLength[0] = 0;
        state.ResumeTiming();
        HistogramNormality(bench.ws);
    }
    bench.Check(state);
}
BENCHMARK(BM_HistogramNormality16000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dalvex

BENCHMARK_MAIN();
