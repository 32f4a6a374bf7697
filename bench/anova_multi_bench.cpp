// The multi-factor and repeated-measures analyses of variance, each the whole
// method routine: four factors (4, 5, 6 and 8 levels, unbalanced) and the
// response over 6500 observations and over 13 000 (the store full); one
// within factor of 8 levels by two between factors (2 x 2 groups of 50
// subjects, 200 in all) with its covariance matrix, corrected tests and graph
// of cell means; and the store full: one within factor of 8 levels over 8000
// subjects. Each must stay well under 100 ms. anova_multi_bench.R times the
// first two in R.
#include <benchmark/benchmark.h>

#include <cmath>

#include "bench_support.h"
#include "stats/anova_multi_factor.h"
#include "stats/anova_repeated.h"

namespace dalvex {
namespace {

// Four factors of 4, 5, 6 and 8 levels (unbalanced) and the response over
// `n` observations.
void FillFactors(BenchWorkspace<>& bench, int n) {
    Lcg random;
    const int levels[] = {4, 5, 6, 8};
    bench.FillRows(5, n, [&](int r, int) {
        if (r < 4)
            return 1 + std::floor(random.Next() * levels[r]);
        return std::round((100 + 10 * (random.Next() + random.Next())) * 10) / 10;
    });
}

void BM_MultiFactor4x6500(benchmark::State& state) {
    BenchWorkspace<> bench;
    FillFactors(bench, 6500);
    for (auto _ : state)
        MultiFactorAnova(bench.ws);
    bench.Check(state);
}
BENCHMARK(BM_MultiFactor4x6500)->Unit(benchmark::kMillisecond);

// The store full: five rows of 13 000 values.
void BM_MultiFactor4x13000(benchmark::State& state) {
    BenchWorkspace<> bench;
    FillFactors(bench, CellCapacity / 5);
    for (auto _ : state)
        MultiFactorAnova(bench.ws);
    bench.Check(state);
}
BENCHMARK(BM_MultiFactor4x13000)->Unit(benchmark::kMillisecond);

// Subject i of group g has its own level, every cell its own, and noise.
void FillSubjects(BenchWorkspace<>& bench, int cells, int n, int levels1) {
    Lcg random;
    std::vector<double> subject(static_cast<std::size_t>(n) * (cells / levels1));
    for (double& s : subject)
        s = 10 * random.Next();
    bench.FillRows(cells, n, [&](int r, int i) {
        const double x = 100 + r % levels1 +
                         subject[i + static_cast<std::size_t>(n) * (r / levels1)] +
                         (1 + 0.2 * (r % levels1)) * (random.Next() + random.Next());
        return std::round(x * 10) / 10;
    });
}

void BM_OneWithinTwoBetween200x8(benchmark::State& state) {
    BenchWorkspace<> bench;
    bench.ws.AnswerNumber = 8 + 64 * 2;
    for (auto _ : state) {
        // The graph of cell means takes the DataMatrix rows: the cells are
        // loaded again, as every run of the method does.
        state.PauseTiming();
        FillSubjects(bench, 32, 50, 8);
        state.ResumeTiming();
        GroupAnalysisMethod(bench.ws, static_cast<int>(RepeatedDesign::WithinOneBetweenTwo));
    }
    bench.Check(state);
}
BENCHMARK(BM_OneWithinTwoBetween200x8)->Unit(benchmark::kMillisecond);

void BM_OneWithin8000x8(benchmark::State& state) {
    BenchWorkspace<> bench;
    FillSubjects(bench, 8, 8000, 8);
    for (auto _ : state)
        GroupAnalysisMethod(bench.ws, static_cast<int>(RepeatedDesign::WithinOne));
    bench.Check(state);
}
BENCHMARK(BM_OneWithin8000x8)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dalvex

BENCHMARK_MAIN();
