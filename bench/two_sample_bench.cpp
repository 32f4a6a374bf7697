// The two-sample tests at full capacity, each a whole method run through the
// pairwise run: the variable dialog, loading from the sheet, the figures, the
// report lines and the significance lists. Methods 6 and 8 on two variables
// of 16000 values (method 6 with its paired tests, the lengths being equal),
// method 4 over all 190 pairs of 20 variables of 3250 values. Each must stay
// well under 100 ms. two_sample_bench.R times the same computations in R.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <filesystem>

#include "core/sheet_bridge.h"
#include "core/user_dialogs.h"
#include "core/workspace.h"
#include "stats/pairwise_run.h"
#include "stats/two_sample_report.h"

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

// Chooses every variable in the list dialog.
class AllVariables : public UserDialogs {
  public:
    void Notice(const std::string&) override { ++notices; }
    bool YesNo(const std::string&) override { return true; }
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
    explicit Bench(int variables, int length) {
        ws.store.Allocate();
        ws.report = &report;
        // The dialog memory and the lists go to a scratch folder.
        folder = std::filesystem::temp_directory_path() / "dalvex-two-sample-bench";
        std::filesystem::create_directories(folder);
        ws.ProgramFolder = folder.string() + "/";
        Lcg random;
        for (int c = 1; c <= variables; ++c) {
            PutSheetText(ws, "v" + std::to_string(c), c, -1);
            for (int i = 0; i < length; ++i) {
                // Rounded to tenths, so the rank tests meet ties.
                const double x = 100 + c + 10 * (random.Next() + random.Next() - 1);
                PutSheetValue(ws, c, i, std::round(x * 10) / 10);
            }
        }
    }
    ~Bench() { std::filesystem::remove_all(folder); }

    void Run(int type, const PairRoutine& routine) {
        ws.VerdictGroup = type;
        PairwiseRun(ws, type, Missing::PerRow, routine);
    }

    AllVariables ui;
    Workspace ws{ui};
    CountingReport report;
    std::filesystem::path folder;
};

void BM_ShiftTests2x16000(benchmark::State& state) {
    Bench bench(2, 16000);
    for (auto _ : state)
        bench.Run(ShiftPairs, RankTestsPair);
    if (bench.ui.notices > 0)
        state.SkipWithError("the method stopped with a notice");
    benchmark::DoNotOptimize(bench.report.chars);
}
BENCHMARK(BM_ShiftTests2x16000)->Unit(benchmark::kMillisecond);

void BM_Smirnov2x16000(benchmark::State& state) {
    Bench bench(2, 16000);
    for (auto _ : state)
        bench.Run(SmirnovPairs, RankTestsPair);
    if (bench.ui.notices > 0)
        state.SkipWithError("the method stopped with a notice");
    benchmark::DoNotOptimize(bench.report.chars);
}
BENCHMARK(BM_Smirnov2x16000)->Unit(benchmark::kMillisecond);

void BM_StudentFisher20Variables(benchmark::State& state) {
    Bench bench(20, 3250);
    for (auto _ : state)
        bench.Run(StudentFisherPairs, StudentFisherPair);
    if (bench.ui.notices > 0)
        state.SkipWithError("the method stopped with a notice");
    benchmark::DoNotOptimize(bench.report.chars);
}
BENCHMARK(BM_StudentFisher20Variables)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dalvex

BENCHMARK_MAIN();
