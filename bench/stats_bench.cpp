// The first statistics methods at the sizes people run them: descriptive
// statistics of 10 variables of 6500 values with all three tables, and the
// histogram with its normality tests on a full vector of 16000 values. Each
// must stay well under 100 ms, the report and the write-back included.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>

#include "core/form_dialog.h"
#include "core/user_dialogs.h"
#include "core/workspace.h"
#include "stats/descriptive.h"

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

// Says Yes to every question, confirms every form as proposed and keeps
// every graph.
class AgreeingDialogs : public UserDialogs {
  public:
    void Notice(const std::string&) override { ++notices; }
    bool YesNo(const std::string&) override { return true; }
    FormAnswer Form(const FormDialog& form) override { return {1, form.Values()}; }
    FileChoice ChooseFile(const FileRequest&) override { return {}; }
    bool GraphPrompt(bool) override { return true; }
    int notices = 0;
};

struct CountingReport : ReportSink {
    void WriteResult(const std::string& text) override { chars += text.size(); }
    std::size_t chars = 0;
};

struct Bench {
    Bench() {
        ws.store.Allocate();
        ws.report = &report;
    }
    // Rows 0 .. rows-1 of `length` roughly normal values (sums of uniforms)
    // around an offset, as a sheet would give them.
    void Fill(int rows, int length) {
        ws.store.SetRowWidth(0, CellCapacity / rows);
        Lcg random;
        for (int r = 0; r < rows; ++r) {
            for (int i = 0; i < length; ++i) {
                double x = 0;
                for (int k = 0; k < 4; ++k)
                    x += random.Next();
                ws.store.Data(r, i) = 1000 + 10 * x;
            }
            ws.VarLength[r + 1] = length - 1;
            ws.SelectedColumns[r + 1] = r + 1;
        }
        ws.VarLength[0] = rows - 1;
        ws.SelectedColumns[0] = rows;
    }

    AgreeingDialogs ui;
    Workspace ws{ui};
    CountingReport report;
};

void BM_DescriptiveStatistics10x6500(benchmark::State& state) {
    Bench bench;
    for (auto _ : state) {
        state.PauseTiming();
        bench.ws.sheet = SheetGrid();
        bench.Fill(10, 6500);
        state.ResumeTiming();
        DescriptiveStatistics(bench.ws);
    }
    if (bench.ui.notices > 0)
        state.SkipWithError("the method stopped with a notice");
    benchmark::DoNotOptimize(bench.report.chars);
}
BENCHMARK(BM_DescriptiveStatistics10x6500)->Unit(benchmark::kMillisecond);

void BM_HistogramNormality16000(benchmark::State& state) {
    Bench bench;
    for (auto _ : state) {
        state.PauseTiming();
        bench.ws.sheet = SheetGrid();
        bench.Fill(2, VectorCapacity);
        bench.ws.VarLength[0] = 0;
        state.ResumeTiming();
        HistogramNormality(bench.ws);
    }
    if (bench.ui.notices > 0)
        state.SkipWithError("the method stopped with a notice");
    benchmark::DoNotOptimize(bench.report.chars);
}
BENCHMARK(BM_HistogramNormality16000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dalvex

BENCHMARK_MAIN();
