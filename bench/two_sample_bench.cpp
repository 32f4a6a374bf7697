// The two-sample tests at full capacity, each a whole method run through the
// pairwise run: the variable dialog, loading from the sheet, the figures, the
// report lines and the significance lists. Methods 6 and 8 on two variables
// of 16000 values (method 6 with its paired tests, the lengths being equal),
// method 4 over all 190 pairs of 20 variables of 3250 values. Each must stay
// well under 100 ms. two_sample_bench.R times the same computations in R.
#include <benchmark/benchmark.h>

#include <cmath>

#include "bench_support.h"
#include "stats/pairwise_run.h"
#include "stats/two_sample_report.h"

namespace dalvex {
namespace {

struct Bench : BenchWorkspace<> {
    Bench(int variables, int length) {
        Lcg random;
        // Rounded to tenths, so the rank tests meet ties.
        FillSheet(variables, length, [&](int c, int) {
            const double x = 100 + c + 10 * (random.Next() + random.Next() - 1);
            return std::round(x * 10) / 10;
        });
    }

    void Run(int type, const PairRoutine& routine) {
        ws.VerdictGroup = type;
        PairwiseRun(ws, type, Missing::PerRow, routine);
    }
};

void BM_ShiftTests2x16000(benchmark::State& state) {
    Bench bench(2, 16000);
    for (auto _ : state)
        bench.Run(ShiftPairs, RankTestsPair);
    bench.Check(state);
}
BENCHMARK(BM_ShiftTests2x16000)->Unit(benchmark::kMillisecond);

void BM_Smirnov2x16000(benchmark::State& state) {
    Bench bench(2, 16000);
    for (auto _ : state)
        bench.Run(SmirnovPairs, RankTestsPair);
    bench.Check(state);
}
BENCHMARK(BM_Smirnov2x16000)->Unit(benchmark::kMillisecond);

void BM_StudentFisher20Variables(benchmark::State& state) {
    Bench bench(20, 3250);
    for (auto _ : state)
        bench.Run(StudentFisherPairs, StudentFisherPair);
    bench.Check(state);
}
BENCHMARK(BM_StudentFisher20Variables)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dalvex

BENCHMARK_MAIN();
