// Reports arrive line by line; a long session appends hundreds of thousands.
#include <benchmark/benchmark.h>

#include <string>

#include "output/results_text.h"
#include "output/significance.h"

namespace dalvex {
namespace {

void BM_Append100000ReportLines(benchmark::State& state) {
    const std::string line =
        "   x1      12.5     3.25    0.125     1.5E-5      17   Значимость=0.0123";
    for (auto _ : state) {
        ScriptedDialogs ui;
        Workspace ws{ui};
        TEditForm results(ws);
        for (int i = 0; i < 100000; ++i)
            results.WriteResult(line);
        benchmark::DoNotOptimize(results.chars());
    }
    state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(BM_Append100000ReportLines)->Unit(benchmark::kMillisecond);

void BM_WrapLongLines(benchmark::State& state) {
    const std::string line(1000, 'x');
    for (auto _ : state) {
        ScriptedDialogs ui;
        Workspace ws{ui};
        TEditForm results(ws);
        for (int i = 0; i < 10000; ++i)
            results.WriteResult(line);
        benchmark::DoNotOptimize(results.chars());
    }
}
BENCHMARK(BM_WrapLongLines)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dalvex
