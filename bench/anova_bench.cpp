// The analysis of variance at the sizes a person meets, each a whole method
// routine: the figures, the table and the report lines. One factor with 10
// groups of 3000, Kruskal-Wallis (with Jonckheere) on the same 30000 values,
// Friedman (with Page) on 10 treatments of 3000 blocks loaded from the sheet,
// two factors 20 x 20 with 5 replicates a cell, and the covariance analysis
// of 16000 observations in 10 groups. Each must stay well under 100 ms.
// anova_bench.R times the same computations in R.
#include <benchmark/benchmark.h>

#include <cmath>

#include "bench_support.h"
#include "stats/anova.h"
#include "stats/covariance_analysis.h"

namespace dalvex {
namespace {

// Group r around 100 + r, rounded to tenths so the rank tests meet ties.
double Value(Lcg& random, int r) {
    const double x = 100 + r + 10 * (random.Next() + random.Next() - 1);
    return std::round(x * 10) / 10;
}

struct Bench : BenchWorkspace<> {
    Bench() : BenchWorkspace<>(false) {}  // no trend questions, no contrasts
};

void BM_OneFactor10x3000(benchmark::State& state) {
    Bench bench;
    Lcg random;
    bench.FillRows(10, 3000, [&](int r, int) { return Value(random, r); });
    for (auto _ : state)
        OneFactorAnalysis(bench.ws, 1);
    bench.Check(state);
}
BENCHMARK(BM_OneFactor10x3000)->Unit(benchmark::kMillisecond);

void BM_KruskalWallisJonckheere30000(benchmark::State& state) {
    BenchWorkspace<> bench;  // yes: Jonckheere too
    Lcg random;
    bench.FillRows(10, 3000, [&](int r, int) { return Value(random, r); });
    for (auto _ : state)
        OneFactorAnalysis(bench.ws, 2);
    bench.Check(state);
}
BENCHMARK(BM_KruskalWallisJonckheere30000)->Unit(benchmark::kMillisecond);

void BM_FriedmanPage10x3000(benchmark::State& state) {
    BenchWorkspace<> bench;
    Lcg random;
    bench.FillSheet(10, 3000, [&](int c, int) { return Value(random, c); });
    for (auto _ : state) {
        SelectAllVariables(bench.ws, 1, Missing::PerRow);
        OneFactorAnalysis(bench.ws, 3);
    }
    bench.Check(state);
}
BENCHMARK(BM_FriedmanPage10x3000)->Unit(benchmark::kMillisecond);

void BM_TwoFactors20x20x5(benchmark::State& state) {
    Bench bench;
    Lcg random;
    bench.FillRows(400, 5, [&](int r, int) { return Value(random, r % 20 + r / 20 % 3); });
    bench.ws.AnswerNumber = 20;
    for (auto _ : state)
        TwoFactorAnalysis(bench.ws, static_cast<int>(TwoFactorDesign::Fixed));
    bench.Check(state);
}
BENCHMARK(BM_TwoFactors20x20x5)->Unit(benchmark::kMillisecond);

void BM_Covariance16000(benchmark::State& state) {
    Bench bench;
    Lcg random;
    std::vector<double> x(16000);
    for (double& v : x)
        v = Value(random, 0);
    bench.FillRows(3, 16000, [&](int r, int i) {
        switch (r) {
            case 0:
                return x[i];
            case 1:
                return 2 * x[i] + i % 10 + Value(random, 0) / 10;
            default:
                return static_cast<double>(i % 10);
        }
    });
    for (auto _ : state)
        CovarianceAnalysis(bench.ws);
    bench.Check(state);
}
BENCHMARK(BM_Covariance16000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dalvex

BENCHMARK_MAIN();
