// Correlation and cross-tabulation at full capacity, each a whole method run:
// the variable dialog, loading from the sheet, the figures and the report.
// Method 3 over 20 variables of 3000 values (190 pairs and the matrix),
// method 9 on two variables of 16000 values (Kendall's S in O(N log N)),
// method 10 on a 50 x 50 table in the sheet. Each must stay well under
// 100 ms. correlation_bench.R times the same computations in R.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "bench_support.h"
#include "stats/correlation_report.h"
#include "stats/cross_tabulation.h"

namespace dalvex {
namespace {

// Declines to write the matrix into the sheet, so that every run meets the
// same sheet. `counts`: whole numbers 1..30 as a contingency table;
// otherwise correlated measurements rounded to tenths (ties for the rank
// methods).
struct Bench : BenchWorkspace<> {
    Bench(int variables, int length, bool counts) : BenchWorkspace<>(false) {
        Lcg random;
        std::vector<double> common(length);
        for (double& v : common)
            v = random.Next();
        FillSheet(variables, length, [&](int, int i) {
            return counts ? std::floor(1 + 30 * random.Next())
                          : std::round((common[i] + random.Next()) * 100) / 10;
        });
    }
};

void BM_CorrelationMatrix20x3000(benchmark::State& state) {
    Bench bench(20, 3000, false);
    for (auto _ : state) {
        bench.ws.VerdictGroup = 1;
        CorrelationMethod(bench.ws, Missing::Listwise);
    }
    bench.Check(state);
}
BENCHMARK(BM_CorrelationMatrix20x3000)->Unit(benchmark::kMillisecond);

void BM_KendallSpearman2x16000(benchmark::State& state) {
    Bench bench(2, 16000, false);
    for (auto _ : state) {
        bench.ws.VerdictGroup = 7;
        RankCorrelationMethod(bench.ws, Missing::Listwise);
    }
    bench.Check(state);
}
BENCHMARK(BM_KendallSpearman2x16000)->Unit(benchmark::kMillisecond);

void BM_CrossTabulation50x50(benchmark::State& state) {
    Bench bench(50, 50, true);
    for (auto _ : state) {
        bench.ws.VerdictGroup = 8;
        CrossTabulation(bench.ws);
    }
    bench.Check(state);
}
BENCHMARK(BM_CrossTabulation50x50)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dalvex

BENCHMARK_MAIN();
