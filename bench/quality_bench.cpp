// Quality control at full capacity, each a whole method run from the sheet:
// loading, the figures and the graph's hand-over. The control charts of one
// series of 16000 values (means and ranges of subgroups of 5, individual
// values) and of 2 x 16000 batch sizes and defectives (the p chart, its
// limits point by point); the quality histogram and the Pareto chart of
// 16000 values. Each must stay well under 100 ms. quality_bench.R times the
// same computations in R.
#include <benchmark/benchmark.h>

#include <cmath>

#include "bench_support.h"
#include "stats/quality_control.h"

namespace dalvex {
namespace {

// Agrees to everything, pressing the chart's button in "Контрольные карты".
class ChartDialogs : public AgreeingDialogs {
  public:
    explicit ChartDialogs(int button) : button_(button) {}
    FormAnswer Form(const FormDialog& form) override {
        return {form.caption == "Контрольные карты" ? button_ : 1, form.Values()};
    }

  private:
    int button_;
};

// Measurements near 10, or batch sizes 50..149 with their defectives.
void FillMeasurements(BenchWorkspace<ChartDialogs>& bench, int variables) {
    Lcg random;
    bench.FillSheet(variables, 16000, [&](int c, int) {
        if (variables == 1)
            return 10 + random.Next() + random.Next();
        const double size = std::floor(50 + 100 * random.Next());
        return c == 1 ? size : std::floor(size * random.Next() * 0.1);
    });
}

void BM_ControlChart(benchmark::State& state) {
    const int button = static_cast<int>(state.range(0));
    const bool paired = button == 4 || button == 6;
    BenchWorkspace<ChartDialogs> bench(button);
    FillMeasurements(bench, paired ? 2 : 1);
    for (auto _ : state)
        QualityControl(bench.ws, 3);
    bench.Check(state);
}
// 1 means and ranges, 2 individual values, 4 the p chart.
BENCHMARK(BM_ControlChart)->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond);

void BM_QualityHistogram16000(benchmark::State& state) {
    BenchWorkspace<ChartDialogs> bench(1);
    FillMeasurements(bench, 1);
    for (auto _ : state)
        QualityControl(bench.ws, 1);
    bench.Check(state);
}
BENCHMARK(BM_QualityHistogram16000)->Unit(benchmark::kMillisecond);

void BM_Pareto16000(benchmark::State& state) {
    BenchWorkspace<ChartDialogs> bench(1);
    FillMeasurements(bench, 1);
    for (auto _ : state)
        QualityControl(bench.ws, 2);
    bench.Check(state);
}
BENCHMARK(BM_Pareto16000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dalvex

BENCHMARK_MAIN();
