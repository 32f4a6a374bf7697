// Each transformation on a full sheet: 5 variables of 13 000 values (65 000
// cells), filled afresh for every iteration outside the timing.
#include <benchmark/benchmark.h>

#include "bench_support.h"
#include "formula/function_list.h"
#include "transform/missing_outliers.h"
#include "transform/sheet_transforms.h"

namespace dalvex {
namespace {

constexpr int Variables = 5;
constexpr int Length = CellCapacity / Variables;

struct FullSheet {
    FullSheet() {
        WriteFunctionListIfMissing(bench.ws.ProgramFolder);
        Lcg random;
        bench.FillSheet(Variables, Length, [&](int, int) { return 100 * random.Next() + 1; });
        filled = bench.ws.sheet;
    }
    void Refill() { bench.ws.sheet = filled; }
    BenchWorkspace<> bench;
    SheetGrid filled;
    const std::vector<int> all{1, 2, 3, 4, 5};
    const SheetBlock block{1, Variables, 0, Length - 1};
};

template <class Body>
void RunOnFullSheet(benchmark::State& state, Body body) {
    FullSheet sheet;
    for (auto _ : state) {
        state.PauseTiming();
        sheet.Refill();
        state.ResumeTiming();
        body(sheet.bench.ws, sheet);
    }
    sheet.bench.Check(state);
}

void BM_StandardFunction(benchmark::State& state) {
    RunOnFullSheet(state, [](Workspace& ws, FullSheet& s) {
        ApplyStandardFunction(ws, s.block, StandardFunction::Ln, 1, 0);
    });
}
BENCHMARK(BM_StandardFunction)->Unit(benchmark::kMillisecond);

void BM_FormulaOverBlock(benchmark::State& state) {
    RunOnFullSheet(state, [](Workspace& ws, FullSheet& s) {
        ActiveFormula formula;
        CompileFormula(ws, formula, "x(1)*2+SQRT(x(2))", FormulaContext::Block);
        ApplyFormulaToBlock(ws, formula, s.block);
    });
}
BENCHMARK(BM_FormulaOverBlock)->Unit(benchmark::kMillisecond);

void BM_Selection(benchmark::State& state) {
    RunOnFullSheet(state, [](Workspace& ws, FullSheet& s) {
        ActiveFormula condition;
        CompileFormula(ws, condition, "x>50", FormulaContext::Condition);
        SelectObservations(ws, condition, s.all);
    });
}
BENCHMARK(BM_Selection)->Unit(benchmark::kMillisecond);

void BM_NormaliseByDeviation(benchmark::State& state) {
    RunOnFullSheet(state, [](Workspace& ws, FullSheet& s) { NormaliseByDeviation(ws, s.all); });
}
BENCHMARK(BM_NormaliseByDeviation)->Unit(benchmark::kMillisecond);

void BM_Ranking(benchmark::State& state) {
    RunOnFullSheet(state, [](Workspace& ws, FullSheet& s) { RankVariables(ws, s.all); });
}
BENCHMARK(BM_Ranking)->Unit(benchmark::kMillisecond);

void BM_Sorting(benchmark::State& state) {
    RunOnFullSheet(state, [](Workspace& ws, FullSheet& s) { SortRows(ws, {1, 2}, s.all, false); });
}
BENCHMARK(BM_Sorting)->Unit(benchmark::kMillisecond);

void BM_Sample(benchmark::State& state) {
    RunOnFullSheet(state,
                   [](Workspace& ws, FullSheet& s) { SampleObservations(ws, s.all, Length / 2); });
}
BENCHMARK(BM_Sample)->Unit(benchmark::kMillisecond);

void BM_Transposition(benchmark::State& state) {
    // 500 variables of 130 values: the widest table that transposes.
    BenchWorkspace<> bench;
    Lcg random;
    bench.FillSheet(500, 130, [&](int, int) { return random.Next(); });
    for (auto _ : state)
        Transpose(bench.ws);
    bench.Check(state);
}
BENCHMARK(BM_Transposition)->Unit(benchmark::kMillisecond);

void BM_MissingSearchAndMeans(benchmark::State& state) {
    RunOnFullSheet(state, [](Workspace& ws, FullSheet&) {
        ReplaceFindings(ws, FindMissingAndOutliers(ws, 2, LookFor::Both), ReplaceBy::Means);
    });
}
BENCHMARK(BM_MissingSearchAndMeans)->Unit(benchmark::kMillisecond);

void BM_Generator(benchmark::State& state) {
    BenchWorkspace<> bench;
    for (auto _ : state)
        WriteGenerated(bench.ws, 1,
                       GenerateValues(bench.ws, GeneratorLaw::Normal, SheetRows, 0, 1));
    bench.Check(state);
}
BENCHMARK(BM_Generator)->Unit(benchmark::kMillisecond);

void BM_UndoCopy(benchmark::State& state) {
    FullSheet sheet;
    for (auto _ : state) {
        SheetGrid copy = sheet.bench.ws.sheet;
        benchmark::DoNotOptimize(copy);
    }
}
BENCHMARK(BM_UndoCopy)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dalvex

BENCHMARK_MAIN();
