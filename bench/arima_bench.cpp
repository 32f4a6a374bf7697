// ARIMA models at full capacity. The search and refinement of an ARMA(1, 1)
// on 6500 values, started from the orders (1, 1, 0), beside R's
// arima(x, c(1, 0, 1)) on the same values (arima_bench.R makes them with the
// same generator); and the whole method 18 - scan, search, refinement,
// forecast, report - on a series of 16000 values, the longest a sheet column
// holds; and the search at that length with every one of its 27 candidates
// tried (a level no model reaches), the worst case of the search.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/sheet_bridge.h"
#include "core/user_dialogs.h"
#include "core/workspace.h"
#include "dispatch/loading.h"
#include "stats/arima.h"
#include "stats/arima_report.h"

namespace dalvex {
namespace {

// x_t = 0.6 x_{t-1} + e_t + 0.4 e_{t-1}, e from the program's generator
// seeded with 2718 by the polar method.
std::vector<double> Arma11(int n) {
    std::uint32_t seed = 2718;
    std::vector<double> x(n);
    double last = 0, lastNoise = 0;
    for (int t = 0; t < n; ++t) {
        const double e = PolarNormal(seed);
        last = 0.6 * last + e + 0.4 * lastNoise;
        lastNoise = e;
        x[t] = last;
    }
    return x;
}

void BM_ArimaSearchAndRefinement(benchmark::State& state) {
    const std::vector<double> x = Arma11(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const ArimaSearchFigures search = SearchArima(x, {1, 1, 0}, 0.05);
        const ArimaRefinement refined = RefineArima(x, search.tried[search.chosen].model);
        benchmark::DoNotOptimize(refined.model.phi.data());
    }
}
BENCHMARK(BM_ArimaSearchAndRefinement)->Arg(6500)->Unit(benchmark::kMillisecond);

void BM_ArimaEveryCandidate(benchmark::State& state) {
    const std::vector<double> x = Arma11(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const ArimaSearchFigures search = SearchArima(x, {1, 0, 0}, 1.5);
        const ArimaRefinement refined = RefineArima(x, search.tried[search.chosen].model);
        benchmark::DoNotOptimize(refined.model.phi.data());
        state.counters["candidates"] = static_cast<double>(search.tried.size());
    }
}
BENCHMARK(BM_ArimaEveryCandidate)->Arg(16000)->Unit(benchmark::kMillisecond);

// Answers the form with the orders and says no to every graph.
class Answers : public UserDialogs {
  public:
    explicit Answers(std::vector<std::string> form) : form_(std::move(form)) {}
    void Notice(const std::string&) override {}
    bool YesNo(const std::string&) override { return false; }
    FormAnswer Form(const FormDialog& form) override {
        std::vector<std::string> values = form.Values();
        for (std::size_t i = 0; i < form_.size(); ++i)
            values[i] = form_[i];
        return {1, values};
    }
    FileChoice ChooseFile(const FileRequest&) override { return {}; }
    bool GraphPrompt(bool) override { return true; }

  private:
    std::vector<std::string> form_;
};

struct NoReport : ReportSink {
    void WriteResult(const std::string&) override { ++lines; }
    long lines = 0;
};

void BM_ArimaWholeMethod(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::vector<double> x = Arma11(n);
    Answers answers({"1", "0", "0", "1"});
    Workspace ws(answers);
    NoReport report;
    ws.report = &report;
    ws.store.Allocate();
    PutSheetText(ws, "ряд", 1, -1);
    ws.SelectedColumns[0] = 1;
    ws.SelectedColumns[1] = 1;
    for (auto _ : state) {
        ws.store.SetRowWidth(StoreMatrix::Work, SquareSide);
        FitDataRows(ws, 6, n);
        for (int i = 0; i < n; ++i)
            ws.store.Data(0, i) = x[i];
        ws.VarLength[0] = 0;
        ws.VarLength[1] = n - 1;
        ArimaModel(ws);
    }
    state.counters["report_lines"] = static_cast<double>(report.lines) / state.iterations();
}
BENCHMARK(BM_ArimaWholeMethod)->Arg(16000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dalvex

BENCHMARK_MAIN();
