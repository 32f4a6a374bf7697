// The formula language at the scale of a full sheet: a formula over 10
// variables compiled once and evaluated for every one of the 65000 cells,
// with the value table refilled from the sheet's texts as a block
// transformation does.
#include <benchmark/benchmark.h>

#include <string>

#include "core/sheet_bridge.h"
#include "core/text.h"
#include "core/workspace.h"
#include "formula/formula.h"

namespace {

using namespace dalvex;

constexpr int kVariables = 10;
constexpr int kRows = CellCapacity / kVariables;
constexpr const char* kFormula = "x1+x2*2-x3/4+x4^2+x5*x6-x7+(x8 MOD 3)+(x9>x10)+i-x(2)";

struct FullSheet {
    ScriptedDialogs ui;
    Workspace ws{ui};
    FullSheet() {
        for (int col = 1; col <= kVariables; ++col)
            for (int obs = 0; obs < kRows; ++obs)
                PutSheetText(ws, std::to_string(obs % 97) + "," + std::to_string(col), col, obs);
    }
};

FullSheet& Sheet() {
    static FullSheet sheet;
    return sheet;
}

void BM_CompileFormula(benchmark::State& state) {
    FullSheet& s = Sheet();
    ActiveFormula formula;
    for (auto _ : state)
        benchmark::DoNotOptimize(CompileFormula(s.ws, formula, kFormula, FormulaContext::Block));
}
BENCHMARK(BM_CompileFormula);

// One sweep over all 65000 cells per iteration.
void BM_EvaluateFullSheet(benchmark::State& state) {
    FullSheet& s = Sheet();
    ActiveFormula formula;
    if (CompileFormula(s.ws, formula, kFormula, FormulaContext::Block) != 0) {
        state.SkipWithError("formula refused");
        return;
    }
    const auto& variables = formula.program().variables;
    double sum = 0;
    for (auto _ : state) {
        for (int col = 1; col <= kVariables; ++col) {
            for (int obs = 0; obs < kRows; ++obs) {
                for (std::size_t k = 0; k < variables.size(); ++k)
                    formula.SetVariableText(static_cast<int>(k) + 1,
                                            Trim(s.ws.sheet.Cell(variables[k], obs + 1)));
                formula.SetObservation(obs);
                formula.SetColumn(col);
                sum += EvaluateFormula(s.ws, formula);
            }
        }
    }
    benchmark::DoNotOptimize(sum);
    state.SetItemsProcessed(state.iterations() * CellCapacity);
}
BENCHMARK(BM_EvaluateFullSheet)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
