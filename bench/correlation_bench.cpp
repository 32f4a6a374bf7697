// Correlation and cross-tabulation at full capacity, each a whole method run:
// the variable dialog, loading from the sheet, the figures and the report.
// Method 3 over 20 variables of 3000 values (190 pairs and the matrix),
// method 9 on two variables of 16000 values (Kendall's S in O(N log N)),
// method 10 on a 50 x 50 table in the sheet. Each must stay well under
// 100 ms. correlation_bench.R times the same computations in R.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <filesystem>

#include "core/sheet_bridge.h"
#include "core/user_dialogs.h"
#include "core/workspace.h"
#include "stats/correlation_report.h"
#include "stats/cross_tabulation.h"

namespace dalvex {
namespace {

class Lcg {
  public:
    double Next() {
        seed_ = seed_ * 134775813u + 1;
        return seed_ * (1.0 / 4294967296.0);
    }

  private:
    std::uint32_t seed_ = 2024;
};

// Chooses every variable; declines to write the matrix into the sheet, so
// that every run meets the same sheet.
class AllVariables : public UserDialogs {
  public:
    void Notice(const std::string&) override { ++notices; }
    bool YesNo(const std::string&) override { return false; }
    FormAnswer Form(const FormDialog& form) override { return {1, form.Values()}; }
    FileChoice ChooseFile(const FileRequest&) override { return {}; }
    bool GraphPrompt(bool) override { return true; }
    void Variables(VariableDialog& dialog) override {
        dialog.Press(VariableAction::All, {});
        dialog.Press(VariableAction::Confirm, {});
    }
    int notices = 0;
};

struct CountingReport : ReportSink {
    void WriteResult(const std::string& text) override { chars += text.size(); }
    std::size_t chars = 0;
};

struct Bench {
    // `counts`: whole numbers 1..30 as a contingency table; otherwise
    // correlated measurements rounded to tenths (ties for the rank methods).
    Bench(int variables, int length, bool counts) {
        ws.store.Allocate();
        ws.report = &report;
        folder = std::filesystem::temp_directory_path() / "dalvex-correlation-bench";
        std::filesystem::create_directories(folder);
        ws.ProgramFolder = folder.string() + "/";
        Lcg random;
        std::vector<double> common(length);
        for (double& v : common)
            v = random.Next();
        for (int c = 1; c <= variables; ++c) {
            PutSheetText(ws, "v" + std::to_string(c), c, -1);
            for (int i = 0; i < length; ++i) {
                const double x = counts ? std::floor(1 + 30 * random.Next())
                                        : std::round((common[i] + random.Next()) * 100) / 10;
                PutSheetValue(ws, c, i, x);
            }
        }
    }
    ~Bench() { std::filesystem::remove_all(folder); }

    AllVariables ui;
    Workspace ws{ui};
    CountingReport report;
    std::filesystem::path folder;
};

void Check(benchmark::State& state, const Bench& bench) {
    if (bench.ui.notices > 0)
        state.SkipWithError("the method stopped with a notice");
    benchmark::DoNotOptimize(bench.report.chars);
}

void BM_CorrelationMatrix20x3000(benchmark::State& state) {
    Bench bench(20, 3000, false);
    for (auto _ : state) {
        bench.ws.VerdictGroup = 1;
        CorrelationMethod(bench.ws, Missing::Listwise);
    }
    Check(state, bench);
}
BENCHMARK(BM_CorrelationMatrix20x3000)->Unit(benchmark::kMillisecond);

void BM_KendallSpearman2x16000(benchmark::State& state) {
    Bench bench(2, 16000, false);
    for (auto _ : state) {
        bench.ws.VerdictGroup = 7;
        RankCorrelationMethod(bench.ws, Missing::Listwise);
    }
    Check(state, bench);
}
BENCHMARK(BM_KendallSpearman2x16000)->Unit(benchmark::kMillisecond);

void BM_CrossTabulation50x50(benchmark::State& state) {
    Bench bench(50, 50, true);
    for (auto _ : state) {
        bench.ws.VerdictGroup = 8;
        CrossTabulation(bench.ws);
    }
    Check(state, bench);
}
BENCHMARK(BM_CrossTabulation50x50)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dalvex

BENCHMARK_MAIN();
