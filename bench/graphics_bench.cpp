// Redrawing a graph window: 16000 points through the layout, the axes and
// the drawing of the kind onto the image the window shows.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cmath>

#include "core/workspace.h"
#include "graphics/graph_data.h"
#include "graphics/recording_canvas.h"
#include "graphics/tgra.h"
#include "gui/graph_image.h"

namespace dalvex {
namespace {

constexpr int Points = 16000;

struct Window {
    ScriptedDialogs ui;
    Workspace ws{ui};
    TGra graph{ws};
    QFont font;

    // Series of 16000 points: X in row 2p, Y in row 2p + 1.
    Window(int kind, int series, int style) {
        ws.store.Allocate();
        ws.store.SetRowWidth(0, Points);
        for (int p = 0; p < series; ++p) {
            for (int i = 0; i < Points; ++i) {
                ws.store.Data(2 * p, i) = i * 0.01;
                ws.store.Data(2 * p + 1, i) = std::sin(i * 0.003 + p) * (10 + p);
            }
            ws.VarLength[2 * p + 1] = ws.VarLength[2 * p + 2] = Points - 1;
            ws.graphTables.SeriesStyles[p] = static_cast<std::uint8_t>(style);
        }
        graph.FormIni(TakeGraphData(ws, kind, series - 1));
        font = GraphQFont(ws);
        SetGraphFont(graph, font);
        graph.Resize(1000, 700);
    }
};

// The window's whole redraw: a fresh image, everything drawn on it.
void RedrawOnImage(benchmark::State& state, int style) {
    Window w(KindFunctions, 1, style);
    for (auto _ : state) {
        QImage image = RenderGraph(w.graph, w.font);
        benchmark::DoNotOptimize(image.bits());
    }
    state.SetItemsProcessed(state.iterations() * Points);
}

void BM_Redraw16000PointsLine(benchmark::State& state) {
    RedrawOnImage(state, 0);
}
BENCHMARK(BM_Redraw16000PointsLine)->Unit(benchmark::kMillisecond);

void BM_Redraw16000PointsLineAndMarkers(benchmark::State& state) {
    RedrawOnImage(state, 1);
}
BENCHMARK(BM_Redraw16000PointsLineAndMarkers)->Unit(benchmark::kMillisecond);

void BM_Redraw16000PointsBars(benchmark::State& state) {
    RedrawOnImage(state, 3);
}
BENCHMARK(BM_Redraw16000PointsBars)->Unit(benchmark::kMillisecond);

// Two series of 16000 points, markers only, as a scatter of a large sample.
void BM_Redraw2x16000Markers(benchmark::State& state) {
    Window w(KindFunctions, 2, 2);
    for (auto _ : state) {
        QImage image = RenderGraph(w.graph, w.font);
        benchmark::DoNotOptimize(image.bits());
    }
    state.SetItemsProcessed(state.iterations() * 2 * Points);
}
BENCHMARK(BM_Redraw2x16000Markers)->Unit(benchmark::kMillisecond);

// The model's share alone: ranges, mapping and the drawing calls.
void BM_Draw16000PointsOnRecordingCanvas(benchmark::State& state) {
    Window w(KindFunctions, 1, 1);
    for (auto _ : state) {
        RecordingCanvas canvas(1000, 700);
        w.graph.DG(canvas);
        benchmark::DoNotOptimize(canvas.ops().size());
    }
}
BENCHMARK(BM_Draw16000PointsOnRecordingCanvas)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dalvex

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
