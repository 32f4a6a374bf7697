// The time-series methods at full capacity: series of 16000 values (the
// longest a sheet variable holds). Each whole method run (the dialogs
// answered, loading from the sheet, the figures, the report and the graph
// hand-over) and the computations alone. time_series_bench.R times the same
// computations in R.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <numbers>

#include "core/sheet_bridge.h"
#include "core/user_dialogs.h"
#include "core/workspace.h"
#include "numeric/autocorrelation.h"
#include "stats/spectral_analysis.h"
#include "stats/time_series_correlation.h"

namespace dalvex {
namespace {

constexpr int Length = 16000;

class Lcg {
  public:
    double Next() {
        seed_ = seed_ * 134775813u + 1;
        return seed_ * (1.0 / 4294967296.0);
    }

  private:
    std::uint32_t seed_ = 2024;
};

// A noisy sinusoid on an offset, and a second series lagging it.
std::vector<double> Series(int which) {
    Lcg random;
    std::vector<double> x(Length);
    for (int i = 0; i < Length; ++i)
        x[i] = 100 + std::sin(2 * std::numbers::pi * (i - 3 * which) / 50.0) + random.Next();
    return x;
}

// Chooses the first `series` variables, answers the method's form with
// `fields` and the graph choice with one amplitude graph.
class Answers : public UserDialogs {
  public:
    Answers(int series, std::vector<std::string> fields)
        : series_(series), fields_(std::move(fields)) {}
    void Notice(const std::string&) override { ++notices; }
    bool YesNo(const std::string&) override { return false; }
    FormAnswer Form(const FormDialog& form) override {
        if (form.caption == GraphChoiceCaption)
            return {graphs_++ % 2 == 0 ? 1 : 0, {}};
        FormDialog answered = form;
        answered.SetValues(fields_);
        return {1, answered.Values()};
    }
    FileChoice ChooseFile(const FileRequest&) override { return {}; }
    bool GraphPrompt(bool) override { return true; }
    void Variables(VariableDialog& dialog) override {
        for (int i = 0; i < series_; ++i)
            dialog.Press(VariableAction::Include, {{0}});
        dialog.Press(VariableAction::Confirm, {});
    }
    int notices = 0;

  private:
    int series_;
    std::vector<std::string> fields_;
    int graphs_ = 0;
};

struct CountingReport : ReportSink {
    void WriteResult(const std::string& text) override { chars += text.size(); }
    std::size_t chars = 0;
};

struct Bench {
    Bench(int series, std::vector<std::string> fields) : ui(series, std::move(fields)) {
        ws.store.Allocate();
        ws.report = &report;
        folder = std::filesystem::temp_directory_path() / "dalvex-time-series-bench";
        std::filesystem::create_directories(folder);
        ws.ProgramFolder = folder.string() + "/";
        for (int c = 1; c <= series; ++c) {
            PutSheetText(ws, "v" + std::to_string(c), c, -1);
            const std::vector<double> x = Series(c - 1);
            for (int i = 0; i < Length; ++i)
                PutSheetValue(ws, c, i, x[i]);
        }
    }
    ~Bench() { std::filesystem::remove_all(folder); }

    Answers ui;
    Workspace ws{ui};
    CountingReport report;
    std::filesystem::path folder;
};

void Check(benchmark::State& state, const Bench& bench) {
    if (bench.ui.notices > 0)
        state.SkipWithError("the method stopped with a notice");
    benchmark::DoNotOptimize(bench.report.chars);
}

// Method 15 by lags: 15993 lags, one report line each.
void BM_CorrelationFunctionByLags16000(benchmark::State& state) {
    Bench bench(1, {"1", "0", "0", "0"});
    for (auto _ : state)
        CorrelationFunction(bench.ws);
    Check(state, bench);
}
BENCHMARK(BM_CorrelationFunctionByLags16000)->Unit(benchmark::kMillisecond);

// Method 15, two series, a fragment of 100 slid along 16000 values.
void BM_CorrelationFunctionFragment16000(benchmark::State& state) {
    Bench bench(2, {"1", "100", "0", "0"});
    for (auto _ : state)
        CorrelationFunction(bench.ws);
    Check(state, bench);
}
BENCHMARK(BM_CorrelationFunctionFragment16000)->Unit(benchmark::kMillisecond);

void BM_Autocorrelations16000(benchmark::State& state) {
    const std::vector<double> x = Series(0);
    for (auto _ : state)
        benchmark::DoNotOptimize(Autocorrelations(x, Length - 8));
}
BENCHMARK(BM_Autocorrelations16000)->Unit(benchmark::kMillisecond);

// Method 16, one segment over the whole series with the Hann window.
void BM_SpectrumWhole16000(benchmark::State& state) {
    Bench bench(1, {"1", "0", "0", "1", "0"});
    for (auto _ : state)
        SpectralAnalysis(bench.ws);
    Check(state, bench);
}
BENCHMARK(BM_SpectrumWhole16000)->Unit(benchmark::kMillisecond);

// Method 16, two series: segments of 1024 every 512 values, Blackman-Harris
// -92 dB, linear averaging (30 segments).
void BM_CrossSpectrumAveraged16000(benchmark::State& state) {
    Bench bench(2, {"1", "1024", "512", "6", "1"});
    for (auto _ : state)
        SpectralAnalysis(bench.ws);
    Check(state, bench);
}
BENCHMARK(BM_CrossSpectrumAveraged16000)->Unit(benchmark::kMillisecond);

// The averaged spectrum of one series with segments of 256 every value:
// 15745 segments, the heaviest averaging a series of 16000 allows short of
// long segments every value.
void BM_SpectrumEveryValue16000(benchmark::State& state) {
    const std::vector<double> x = Series(0);
    for (auto _ : state)
        benchmark::DoNotOptimize(ComputeSpectrum(x, {}, false, 1, Averaging::Linear, 256, 1, 1));
}
BENCHMARK(BM_SpectrumEveryValue16000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dalvex

BENCHMARK_MAIN();
