// Splines at the largest size the graph menu fits: 500 points and a curve
// of 16 000 steps, both the bare routines and the whole way from the sheet
// (parsing, pairing, sorting, fitting, the curve into the store). A graph
// must appear without a noticeable wait: well under 100 ms.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "bench_random.h"
#include "core/sheet_bridge.h"
#include "core/user_dialogs.h"
#include "core/workspace.h"
#include "dispatch/sheet_graph.h"
#include "graphics/graph_data.h"
#include "numeric/splines.h"

namespace dalvex {
namespace {

constexpr int Points = 500;
constexpr int CurveSteps = 16000;

// A noisy wave at unevenly spaced, shuffled X.
struct Wave {
    Wave() {
        Lcg lcg;
        double at = 0;
        for (int i = 0; i < Points; ++i) {
            at += 0.05 + lcg.Next();
            x.push_back(at);
            y.push_back(std::sin(at / 10) + 0.3 * lcg.Next());
        }
    }
    std::vector<double> x, y;
};

void BM_InterpolatingSpline500(benchmark::State& state) {
    const Wave w;
    std::vector<double> gx, gy;
    for (auto _ : state) {
        const CubicPieces s = InterpolatingSpline(w.x, w.y);
        EvaluateOnGrid(s, CurveSteps, gx, gy);
        benchmark::DoNotOptimize(gy.data());
    }
}
BENCHMARK(BM_InterpolatingSpline500)->Unit(benchmark::kMillisecond);

void BM_SmoothingSpline500(benchmark::State& state) {
    const Wave w;
    std::vector<double> gx, gy;
    for (auto _ : state) {
        const CubicPieces s = SmoothingSpline(w.x, w.y, SmoothingBound(w.y, 0.5));
        EvaluateOnGrid(s, CurveSteps, gx, gy);
        benchmark::DoNotOptimize(gy.data());
    }
}
BENCHMARK(BM_SmoothingSpline500)->Unit(benchmark::kMillisecond);

// From the sheet's two columns to the rows the graph window copies.
void SplineFromSheet(benchmark::State& state, int answer) {
    ScriptedDialogs ui;
    Workspace ws(ui);
    ws.store.Allocate();
    const Wave w;
    PutSheetText(ws, "x", 1, -1);
    PutSheetText(ws, "y", 2, -1);
    // The sheet holds them in the person's order, not sorted.
    for (int i = 0; i < Points; ++i) {
        const int row = (i * 7) % Points;
        PutSheetValue(ws, 1, row, w.x[i]);
        PutSheetValue(ws, 2, row, w.y[i]);
    }
    const GraphOptions options{true, false, 0, CurveSteps, 0.5};
    for (auto _ : state) {
        benchmark::DoNotOptimize(DrawSheetGraph(ws, answer, {1, 2}, options));
        if (ws.VarLength[3] != CurveSteps)
            state.SkipWithError("no curve");
    }
}

void BM_InterpolationFromSheet500(benchmark::State& state) {
    SplineFromSheet(state, KindSplineInterpolation);
}
BENCHMARK(BM_InterpolationFromSheet500)->Unit(benchmark::kMillisecond);

void BM_SmoothingFromSheet500(benchmark::State& state) {
    SplineFromSheet(state, KindSplineSmoothing);
}
BENCHMARK(BM_SmoothingFromSheet500)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dalvex
