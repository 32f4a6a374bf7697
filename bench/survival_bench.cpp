// Kaplan-Meier and the log-rank comparison of two groups, and the
// sequential chart, at full capacity, each a whole method run: loading from
// the sheet, the figures, the report lines and the graph's hand-over. The
// survival sheet holds four variables of 16000 values (two groups of 16000
// times with their counts, 64000 cells); the sequential chart one series of
// 16000 with its abscissae. Each must stay well under 100 ms.
// survival_bench.R times the same computations in R.
#include <benchmark/benchmark.h>

#include <cmath>
#include <fstream>

#include "bench_support.h"
#include "dispatch/loading.h"
#include "stats/frequencies.h"
#include "stats/survival.h"

namespace dalvex {
namespace {

void BM_Survival2Groups16000(benchmark::State& state) {
    BenchWorkspace<> bench;
    Lcg random;
    // Times rounded to whole days (ties), counts 1 or 2, a fifth censored.
    bench.FillSheet(4, 16000, [&](int c, int) {
        if (c % 2 == 1)
            return std::round(1000 * random.Next() * (c == 1 ? 1 : 1.2));
        const double count = random.Next() < 0.5 ? 1 : 2;
        return random.Next() < 0.2 ? -count : count;
    });
    for (auto _ : state) {
        SelectAllVariables(bench.ws, 1, Missing::PlainCopy);
        SurvivalAnalysis(bench.ws, "bench.txt");
    }
    bench.Check(state);
}
BENCHMARK(BM_Survival2Groups16000)->Unit(benchmark::kMillisecond);

void BM_Sequential16000(benchmark::State& state) {
    BenchWorkspace<> bench;
    Lcg random;
    bench.FillSheet(2, 16000, [&](int c, int i) { return c == 1 ? i : 10 + random.Next(); });
    // The form proposes x0 = 0, which has no chart: x0 = 10, d = 1, S = 1.
    std::ofstream(bench.folder / "q296.ini") << "10\r\n1\r\n1\r\n";
    for (auto _ : state)
        SequentialAnalysis(bench.ws);
    bench.Check(state);
}
BENCHMARK(BM_Sequential16000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dalvex

BENCHMARK_MAIN();
