// The multi-factor analysis of variance at full size, the whole method
// routine: four factors (4, 5, 6 and 8 levels, unbalanced) and the response
// over 6500 observations. It must stay well under 100 ms.
// anova_multi_bench.R times the same computations in R.
#include <benchmark/benchmark.h>

#include <cmath>

#include "bench_support.h"
#include "stats/anova_multi_factor.h"

namespace dalvex {
namespace {

void BM_MultiFactor4x6500(benchmark::State& state) {
    BenchWorkspace<> bench;
    Lcg random;
    const int levels[] = {4, 5, 6, 8};
    bench.FillRows(5, 6500, [&](int r, int) {
        if (r < 4)
            return 1 + std::floor(random.Next() * levels[r]);
        return std::round((100 + 10 * (random.Next() + random.Next())) * 10) / 10;
    });
    for (auto _ : state)
        MultiFactorAnova(bench.ws);
    bench.Check(state);
}
BENCHMARK(BM_MultiFactor4x6500)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dalvex

BENCHMARK_MAIN();
