// Simple and nonlinear regression at full capacity: a straight line and a
// degree-5 polynomial on 16000 pairs (the orthogonal solver with the
// coefficient and variance figures), the logistic model by Marquardt through
// its formula on 2000 points, and the Huber smoothing of 16000 points with a
// half-width of 3. Each must stay well under 100 ms. regression_bench.R
// times the same computations in R.
#include <benchmark/benchmark.h>

#include <cmath>

#include "bench_support.h"
#include "formula/function_list.h"
#include "numeric/robust_smoothing.h"
#include "stats/nonlinear_regression.h"
#include "stats/simple_regression.h"

namespace dalvex {
namespace {

struct Pairs {
    explicit Pairs(int n) {
        Lcg random;
        for (int i = 0; i < n; ++i) {
            const double t = 10.0 * i / n;
            x.push_back(t);
            y.push_back(1 + t + 0.1 * t * t + random.Next() - 0.5);
        }
    }
    std::vector<double> x, y;
};

void BM_LinearFit16000(benchmark::State& state) {
    const Pairs data(16000);
    for (auto _ : state) {
        const SimpleFigures f = FitSimpleModel(*FindModel(1), 1, true, data.x, data.y);
        benchmark::DoNotOptimize(f.anova.f);
    }
}
BENCHMARK(BM_LinearFit16000)->Unit(benchmark::kMillisecond);

void BM_Polynomial5Fit16000(benchmark::State& state) {
    const Pairs data(16000);
    for (auto _ : state) {
        const SimpleFigures f = FitSimpleModel(*FindModel(3), 5, true, data.x, data.y);
        benchmark::DoNotOptimize(f.anova.f);
    }
}
BENCHMARK(BM_Polynomial5Fit16000)->Unit(benchmark::kMillisecond);

void BM_LogisticMarquardt2000(benchmark::State& state) {
    BenchWorkspace<> bench;
    Lcg random;
    std::vector<std::vector<double>> points;
    std::vector<double> y;
    for (int i = 0; i < 2000; ++i) {
        const double t = 15.0 * i / 2000;
        points.push_back({t});
        y.push_back(1 + 5 / (1 + std::exp(5 - 0.7 * t)) + 0.05 * (random.Next() - 0.5));
    }
    // The formula reads its functions from the program folder's list.
    WriteFunctionListIfMissing(bench.ws.ProgramFolder);
    FormulaModel model;
    if (!model.Compile(bench.ws, "a0+a1/(1+EXP(a2+a3*x))"))
        state.SkipWithError("the formula was refused");
    for (auto _ : state) {
        const NonlinearFigures f = FitFormulaModel(bench.ws, model, points, y, {1, 4, 4, -0.5});
        benchmark::DoNotOptimize(f.sse);
    }
    bench.Check(state);
}
BENCHMARK(BM_LogisticMarquardt2000)->Unit(benchmark::kMillisecond);

void BM_HuberSmoothing16000(benchmark::State& state) {
    const Pairs data(16000);
    std::vector<double> trend(data.x.size());
    for (std::size_t i = 0; i < trend.size(); ++i)
        trend[i] = static_cast<double>(i);
    for (auto _ : state) {
        const auto s = RobustSmooth(trend, data.y, 3, 2, SmoothingKernel::Epanechnikov);
        benchmark::DoNotOptimize(s.data());
    }
}
BENCHMARK(BM_HuberSmoothing16000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dalvex

BENCHMARK_MAIN();
