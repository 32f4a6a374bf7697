// The numerical library at the sizes the store allows: ranking and sorting
// must stay within a few milliseconds at full capacity, the distribution
// routines are called inside searches and pairwise tables.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "bench_random.h"
#include "core/user_dialogs.h"
#include "core/workspace.h"
#include "numeric/distributions.h"
#include "numeric/inversion.h"
#include "numeric/moments.h"
#include "numeric/ranks.h"

namespace dalvex {
namespace {

struct Bench {
    Bench() { ws.store.Allocate(); }
    ScriptedDialogs ui;
    Workspace ws{ui};
};

// Rows 0 .. rows-1 of `length` values each, with ties (values on a grid).
void FillRows(Workspace& ws, int rows, int length, Lcg& lcg) {
    ws.store.SetRowWidth(0, length);
    ws.VarLength[0] = rows - 1;
    for (int r = 0; r < rows; ++r) {
        ws.VarLength[r + 1] = length - 1;
        for (int i = 0; i < length; ++i)
            ws.store.Data(r, i) = static_cast<int>(lcg.Next() * 5000);
    }
}

void BM_RankDataPooledFullRoom(benchmark::State& state) {
    Bench b;
    Lcg lcg;
    for (auto _ : state) {
        state.PauseTiming();
        FillRows(b.ws, 2, RankRoom / 2, lcg);  // 32500 values pooled
        state.ResumeTiming();
        benchmark::DoNotOptimize(RankData(b.ws, 2));
    }
    state.SetItemsProcessed(state.iterations() * RankRoom);
}
BENCHMARK(BM_RankDataPooledFullRoom)->Unit(benchmark::kMillisecond);

void BM_RankDataWithinRows(benchmark::State& state) {
    Bench b;
    Lcg lcg;
    for (auto _ : state) {
        state.PauseTiming();
        FillRows(b.ws, 4, VectorCapacity, lcg);  // four full sheet columns
        state.ResumeTiming();
        benchmark::DoNotOptimize(RankData(b.ws, 1));
    }
    state.SetItemsProcessed(state.iterations() * 4 * VectorCapacity);
}
BENCHMARK(BM_RankDataWithinRows)->Unit(benchmark::kMillisecond);

void BM_SortDataColumns16000(benchmark::State& state) {
    Bench b;
    Lcg lcg;
    for (auto _ : state) {
        state.PauseTiming();
        FillRows(b.ws, 4, VectorCapacity, lcg);
        state.ResumeTiming();
        SortDataColumns(b.ws, 0, false, 0, 3, VectorCapacity - 1);
        benchmark::DoNotOptimize(b.ws.store.Data(0, 0));
    }
    state.SetItemsProcessed(state.iterations() * VectorCapacity);
}
BENCHMARK(BM_SortDataColumns16000)->Unit(benchmark::kMillisecond);

void BM_InvertWorkMatrix253(benchmark::State& state) {
    Bench b;
    Lcg lcg;
    b.ws.store.SetRowWidth(1, SquareSide);
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 0; i < SquareSide; ++i)
            for (int j = 0; j < SquareSide; ++j)
                b.ws.store.Work(i, j) = lcg.Next() - 0.5 + (i == j ? 4 : 0);
        state.ResumeTiming();
        benchmark::DoNotOptimize(InvertWorkMatrix(b.ws, SquareSide - 1));
    }
}
BENCHMARK(BM_InvertWorkMatrix253)->Unit(benchmark::kMillisecond);

void BM_RowMoments16000(benchmark::State& state) {
    Bench b;
    Lcg lcg;
    FillRows(b.ws, 2, VectorCapacity, lcg);
    for (auto _ : state)
        benchmark::DoNotOptimize(RowMoments(b.ws, 0).variance);
    state.SetItemsProcessed(state.iterations() * VectorCapacity);
}
BENCHMARK(BM_RowMoments16000)->Unit(benchmark::kMicrosecond);

void BM_PairCorrelation16000(benchmark::State& state) {
    Bench b;
    Lcg lcg;
    FillRows(b.ws, 2, VectorCapacity, lcg);
    for (auto _ : state) {
        int n = VectorCapacity - 1;
        benchmark::DoNotOptimize(PairCorrelation(b.ws, 0, 1, 0, n));
    }
    state.SetItemsProcessed(state.iterations() * VectorCapacity);
}
BENCHMARK(BM_PairCorrelation16000)->Unit(benchmark::kMicrosecond);

// One call of each distribution routine, with the argument varied a little
// so nothing is folded away.
template <typename Call>
void RunDistribution(benchmark::State& state, Call call) {
    double shift = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(call(shift));
        shift = shift < 1e-3 ? shift + 1e-6 : 0;
    }
}

void BM_NormalCdf(benchmark::State& s) {
    RunDistribution(s, [](double d) { return NormalCdf(1.96 + d, 0, 1); });
}
void BM_NormalQuantile(benchmark::State& s) {
    RunDistribution(s, [](double d) { return NormalQuantile(0.025 + d); });
}
void BM_FisherTail(benchmark::State& s) {
    RunDistribution(s, [](double d) { return FisherTail(3.1 + d, 3, 20); });
}
void BM_FisherQuantile(benchmark::State& s) {
    RunDistribution(s, [](double d) { return FisherQuantile(3, 20, 0.05 + d); });
}
void BM_ChiSquareTailSeries(benchmark::State& s) {
    RunDistribution(s, [](double d) { return ChiSquareTail(18.307 + d, 10); });
}
void BM_ChiSquareTailWilsonHilferty(benchmark::State& s) {
    RunDistribution(s, [](double d) { return ChiSquareTail(67.5 + d, 50); });
}
void BM_ChiSquareQuantileSearch(benchmark::State& s) {
    RunDistribution(s, [](double d) { return ChiSquareQuantile(0.05 + d, 10); });
}
void BM_ChiSquareQuantileTable(benchmark::State& s) {
    RunDistribution(s, [](double d) { return ChiSquareQuantile(0.05 + d, 40); });
}
BENCHMARK(BM_NormalCdf);
BENCHMARK(BM_NormalQuantile);
BENCHMARK(BM_FisherTail);
BENCHMARK(BM_FisherQuantile);
BENCHMARK(BM_ChiSquareTailSeries);
BENCHMARK(BM_ChiSquareTailWilsonHilferty);
BENCHMARK(BM_ChiSquareQuantileSearch);
BENCHMARK(BM_ChiSquareQuantileTable);

}  // namespace
}  // namespace dalvex
