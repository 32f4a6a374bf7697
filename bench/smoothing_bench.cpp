// Smoothing, filtering and the Fourier model at full capacity: every smoother
// and filter on a series of 16000 values (the longest a sheet variable
// holds), the Fourier band-pass filter on it, and a Fourier model of 4000
// values keeping 20 harmonics, tuned by the adaptation and carried 20 steps
// ahead. smoothing_bench.R times the same computations in R.
#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>

#include "bench_random.h"
#include "numeric/robust_smoothing.h"
#include "stats/fourier_model.h"
#include "stats/smoothing.h"

namespace dalvex {
namespace {

std::vector<double> NoisyWave(int length) {
    Lcg random;
    std::vector<double> x(length);
    for (int i = 0; i < length; ++i)
        x[i] = 100 + 0.001 * i + std::sin(2 * std::numbers::pi * i / 50.0) + random.Next();
    return x;
}

void BM_Smoother(benchmark::State& state) {
    const std::vector<double> x = NoisyWave(16000);
    const int answer = static_cast<int>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(SmoothSeries(x, answer, 0.3, FilterOrder(12, 16000)));
}
BENCHMARK(BM_Smoother)->DenseRange(1, 4)->DenseRange(6, 14)->Unit(benchmark::kMillisecond);

void BM_RobustSmoothing(benchmark::State& state) {
    const std::vector<double> y = NoisyWave(16000);
    std::vector<double> t(y.size());
    for (std::size_t i = 0; i < t.size(); ++i)
        t[i] = static_cast<double>(i);
    for (auto _ : state)
        benchmark::DoNotOptimize(RobustSmooth(t, y, 3, 2, SmoothingKernel::Triangular));
}
BENCHMARK(BM_RobustSmoothing)->Unit(benchmark::kMillisecond);

void BM_FourierBandFilter(benchmark::State& state) {
    const std::vector<double> x = NoisyWave(16000);
    for (auto _ : state)
        benchmark::DoNotOptimize(FourierBandFilter(x, 0.01, 0.1, 1).values);
}
BENCHMARK(BM_FourierBandFilter)->Unit(benchmark::kMillisecond);

// 4000 values: a trend, 20 waves of amplitudes 1 .. 2.9 on whole and
// fractional frequencies, and noise; the threshold keeps their harmonics.
void BM_FourierModel(benchmark::State& state) {
    Lcg random;
    std::vector<double> x(4000);
    for (int t = 0; t < 4000; ++t) {
        x[t] = 50 + 0.01 * t + 0.2 * random.Next();
        for (int w = 0; w < 20; ++w)
            x[t] += (1 + 0.1 * w) * std::cos(2 * std::numbers::pi * (7 + 13 * w) * t / 4001.0 + w);
    }
    const bool adapt = state.range(0) != 0;
    int kept = 0;
    for (auto _ : state) {
        const CorrectedSeries c = CorrectSeries(x, 0, 1, false);
        const std::vector<double> lengthened = Lengthen(c.values);
        HarmonicModel model = SpectrumOf(lengthened);
        ModelParameters p;
        p.threshold = 25;
        RemoveHarmonics(model, p);
        if (adapt)
            AdaptModel(model, c.values, true);
        benchmark::DoNotOptimize(ForecastOf(model, c, 20, 0, 1, 0.05));
        kept = 0;
        for (int j = 1; j <= model.top(); ++j)
            kept += model.amplitude[j] != 0;
    }
    state.counters["harmonics"] = kept;
}
BENCHMARK(BM_FourierModel)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dalvex

BENCHMARK_MAIN();
