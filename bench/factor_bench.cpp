// Factor analysis at full capacity: 50 variables of 1300 observations (the
// sheet's 65 000 cells), from the correlation matrix through Jacobi's
// eigen-decomposition to a varimax rotation, alone and as a whole method run
// from the sheet; and Jacobi on the largest matrix the method takes
// (250 x 250). factor_bench.R times eigen(cor(x)) and varimax in R.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>

#include "bench_random.h"
#include "core/sheet_bridge.h"
#include "core/user_dialogs.h"
#include "core/workspace.h"
#include "numeric/jacobi.h"
#include "stats/factor_analysis.h"
#include "stats/factor_report.h"

namespace dalvex {
namespace {

// Five common factors under 50 variables, with noise.
MatrixInput Data(int variables, int observations) {
    Lcg random;
    MatrixInput input;
    for (int j = 0; j < variables; ++j) {
        input.names.push_back("v" + std::to_string(j + 1));
        std::vector<double> column;
        for (int i = 0; i < observations; ++i)
            column.push_back(std::sin(0.01 * i * (j % 5 + 1) + j) +
                             0.5 * std::sin(0.37 * i * (j + 1)) + random.Next());
        input.values.push_back(column);
    }
    return input;
}

void BM_ExtractionAndVarimax(benchmark::State& state) {
    const MatrixInput input = Data(50, 1300);
    for (auto _ : state) {
        const MatrixOutcome m = BuildCorrelationMatrix(MatrixKind::Pearson, input, 0.05);
        const FactorExtraction e = ExtractFactors(m.figures->matrix, m.figures->size);
        const RotatedFactors r = RotateFactors(e, std::min(e.factors, 10), Rotation::Varimax, true);
        benchmark::DoNotOptimize(r.loadings.data());
    }
}
BENCHMARK(BM_ExtractionAndVarimax)->Unit(benchmark::kMillisecond);

void BM_Jacobi250(benchmark::State& state) {
    const MatrixInput input = Data(250, 260);
    const MatrixOutcome m = BuildCorrelationMatrix(MatrixKind::Pearson, input, 0.05);
    for (auto _ : state) {
        const EigenDecomposition e = JacobiEigen(m.figures->matrix, 250);
        benchmark::DoNotOptimize(e.values.data());
    }
}
BENCHMARK(BM_Jacobi250)->Unit(benchmark::kMillisecond);

// Every question answered No; one varimax, then the dialog is cancelled.
class OneRotation : public UserDialogs {
  public:
    void Notice(const std::string&) override {}
    bool YesNo(const std::string&) override { return false; }
    FormAnswer Form(const FormDialog& form) override {
        if (form.caption == FactorAnalysisCaption)
            return {1, form.Values()};
        if (form.caption == RotationCaption)
            return {rotations++ == 0 ? 1 : 0, form.Values()};
        return {0, form.Values()};
    }
    FileChoice ChooseFile(const FileRequest&) override { return {}; }
    bool GraphPrompt(bool) override { return true; }
    int rotations = 0;
};

struct CountingReport : ReportSink {
    void WriteResult(const std::string& text) override { chars += text.size(); }
    std::size_t chars = 0;
};

void BM_WholeMethodRun(benchmark::State& state) {
    OneRotation ui;
    Workspace ws(ui);
    if (!ws.store.Allocate()) {
        state.SkipWithError("no store");
        return;
    }
    CountingReport report;
    ws.report = &report;
    const MatrixInput input = Data(50, 1300);
    for (int c = 0; c < 50; ++c) {
        PutSheetText(ws, input.names[c], c + 1, -1);
        for (int i = 0; i < 1300; ++i)
            PutSheetValue(ws, c + 1, i, input.values[c][i]);
    }
    for (auto _ : state) {
        ui.rotations = 0;
        FactorAnalysis(ws);
    }
    benchmark::DoNotOptimize(report.chars);
}
BENCHMARK(BM_WholeMethodRun)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dalvex

BENCHMARK_MAIN();
