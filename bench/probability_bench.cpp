// The probability calculator and the goodness of fit at full capacity: a
// binomial table of n = 10 000 (10 001 rows written to the report and the
// store), and the fit of each of the ten laws to 16 000 values. Each must
// stay well under 100 ms. bench/probability_bench.R times the same
// computations in R.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "bench_support.h"
#include "stats/goodness_of_fit.h"
#include "stats/probability_calculator.h"

namespace dalvex {
namespace {

// Answers the calculator's forms by their captions: the binomial law with
// p = 0.5 and N = 10000, a table of 10001 rows.
class TableDialogs : public AgreeingDialogs {
  public:
    FormAnswer Form(const FormDialog& form) override {
        if (form.caption == "Функция вероятности распределения")
            return {1, {}};
        if (form.caption == "Биномиальное распределение:")
            return {1, {"0.5", "10000"}};
        return {1, {"10001"}};
    }
};

void BM_BinomialTable10000(benchmark::State& state) {
    BenchWorkspace<TableDialogs> bench;
    for (auto _ : state)
        ProbabilityCalculator(bench.ws);
    bench.Check(state);
}
BENCHMARK(BM_BinomialTable10000)->Unit(benchmark::kMillisecond);

// 16000 values between 0.05 and 0.95, so every law, beta included, can
// take them; the seed's sequence is the program's own generator's.
std::vector<double> Values() {
    Lcg random;
    std::vector<double> values(16000);
    for (double& x : values)
        x = 0.05 + 0.9 * random.Next();
    return values;
}

void BM_Fit16000(benchmark::State& state) {
    const auto law = static_cast<ContinuousLaw>(state.range(0));
    const std::vector<double> values = Values();
    for (auto _ : state) {
        const FitResult fit = FitDistribution(law, values);
        if (fit.refusal != FitRefusal::None)
            state.SkipWithError("the fit was refused");
        benchmark::DoNotOptimize(fit.kolmogorov);
    }
    state.SetLabel(DistributionName(NameIndex(law)));
}
BENCHMARK(BM_Fit16000)->DenseRange(1, 10)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dalvex

BENCHMARK_MAIN();
