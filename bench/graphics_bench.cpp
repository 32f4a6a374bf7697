// Redrawing a graph window: 16000 points through the layout, the axes and
// the drawing of the kind onto the image the window shows; the function
// surface at its largest grid, a map of 5000 points, the superdiagram and
// its invisible-coordinate bars, and box plots, pie and colour map with the
// store full.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cmath>

#include "core/workspace.h"
#include "graphics/function_surface.h"
#include "graphics/graph_data.h"
#include "graphics/level_grid.h"
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

// The function surface at the largest grid (147 x 147 points, 146 x 146
// faces) in the oblique box, redrawn on the window's image.
void BM_RedrawFunctionSurfaceLargestGrid(benchmark::State& state) {
    ScriptedDialogs ui;
    Workspace ws{ui};
    ws.store.Allocate();
    const int n = LargestSurfaceGrid();
    ws.store.SetRowWidth(0, CellCapacity / 3);
    for (int c = 0; c < n; ++c)
        for (int d = 0; d < n; ++d) {
            const double x = -3 + 6.0 * d / (n - 1), y = -3 + 6.0 * c / (n - 1);
            ws.store.Data(0, d + c * n) = x;
            ws.store.Data(1, d + c * n) = y;
            ws.store.Data(2, d + c * n) = std::sin(x) * std::cos(y);
        }
    for (int r = 1; r <= 3; ++r)
        ws.VarLength[r] = n * n - 1;
    TGra graph{ws};
    graph.FormIni(TakeGraphData(ws, KindFunctionSurface, 0));
    const QFont font = GraphQFont(ws);
    SetGraphFont(graph, font);
    graph.Resize(1000, 700);
    for (auto _ : state) {
        QImage image = RenderGraph(graph, font);
        benchmark::DoNotOptimize(image.bits());
    }
    state.SetItemsProcessed(state.iterations() * (n - 1) * (n - 1));
}
BENCHMARK(BM_RedrawFunctionSurfaceLargestGrid)->Unit(benchmark::kMillisecond);

// A map of 5000 scattered points: the grid is computed once when the graph
// is set up (measured apart), and every redraw stretches its picture.
struct MapWindow {
    ScriptedDialogs ui;
    Workspace ws{ui};
    TGra graph{ws};
    QFont font;
    static constexpr int N = 5000;
    explicit MapWindow(int smoothing) {
        ws.store.Allocate();
        ws.store.SetRowWidth(0, N + 1);
        std::uint32_t seed = 12345;
        auto next = [&seed] {
            seed = seed * 134775813u + 1u;
            return seed * (1.0 / 4294967296.0);
        };
        for (int i = 0; i < N; ++i) {
            const double a = next() * 10, b = next() * 10;
            ws.store.Data(0, i) = a;
            ws.store.Data(1, i) = b;
            ws.store.Data(2, i) = std::sin(a) + std::cos(b);
        }
        for (int r = 1; r <= 3; ++r)
            ws.VarLength[r] = N - 1;
        GraphData data = TakeGraphData(ws, KindMap3D, 0);
        data.smoothing = smoothing;
        graph.FormIni(std::move(data));
        font = GraphQFont(ws);
        SetGraphFont(graph, font);
        graph.Resize(1000, 700);
    }
};

void BM_RedrawMapOf5000Points(benchmark::State& state) {
    MapWindow w(0);
    for (auto _ : state) {
        QImage image = RenderGraph(w.graph, w.font);
        benchmark::DoNotOptimize(image.bits());
    }
}
BENCHMARK(BM_RedrawMapOf5000Points)->Unit(benchmark::kMillisecond);

// Setting the map up: the levels of 5000 points onto the 26 x 26 grid,
// without smoothing and with it (every point against every other).
void BM_MapGridOf5000Points(benchmark::State& state) {
    const int smoothing = static_cast<int>(state.range(0));
    MapWindow w(0);
    MapRequest request;
    for (int r = 0; r < 2; ++r)
        request.coordinates.emplace_back(w.graph.data().Row(r));
    request.value = w.graph.data().Row(2);
    request.smoothing = smoothing;
    for (auto _ : state) {
        LevelGrid grid = ComputeLevelGrid(request);
        benchmark::DoNotOptimize(grid.levels.data());
    }
}
BENCHMARK(BM_MapGridOf5000Points)->Arg(0)->Arg(3)->Unit(benchmark::kMillisecond);

// `series` rows of `length` scattered values each (rows 0, 1, ...), as the
// one-row-a-series kinds read them, drawn on the window's image.
struct SeriesWindow {
    ScriptedDialogs ui;
    Workspace ws{ui};
    TGra graph{ws};
    QFont font;
    SeriesWindow(int kind, int series, int length, int smoothing = 0) {
        ws.store.Allocate();
        ws.store.SetRowWidth(0, length);
        std::uint32_t seed = 2024;
        auto next = [&seed] {
            seed = seed * 134775813u + 1u;
            return seed * (1.0 / 4294967296.0);
        };
        for (int s = 0; s < series; ++s) {
            for (int i = 0; i < length; ++i)
                ws.store.Data(s, i) = 1 + s + 10 * next();
            ws.VarLength[s + 1] = length - 1;
        }
        GraphData data = TakeGraphData(ws, kind, series - 1);
        data.smoothing = smoothing;
        graph.FormIni(std::move(data));
        font = GraphQFont(ws);
        SetGraphFont(graph, font);
        graph.Resize(1000, 700);
    }
    void Redraw(benchmark::State& state) {
        for (auto _ : state) {
            QImage image = RenderGraph(graph, font);
            benchmark::DoNotOptimize(image.bits());
        }
    }
};

// Box plots: 4 variables of 16000 values (each sorted for its median), and
// the most boxes a graph holds, 256 variables of 250 values.
void BM_RedrawBoxPlots(benchmark::State& state) {
    const int series = static_cast<int>(state.range(0));
    SeriesWindow w(KindBoxPlots, series, 64000 / series);
    w.Redraw(state);
}
BENCHMARK(BM_RedrawBoxPlots)->Arg(4)->Arg(256)->Unit(benchmark::kMillisecond);

// A pie of one variable's 16000 observations as slices, flat and deep.
void BM_RedrawPie16000Slices(benchmark::State& state) {
    SeriesWindow w(KindPie, 1, 16000);
    if (state.range(0) != 0)
        w.graph.gDim();
    w.Redraw(state);
}
BENCHMARK(BM_RedrawPie16000Slices)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The colour map of a full store: 256 columns of 250 rows.
void BM_RedrawColourMap256x250(benchmark::State& state) {
    SeriesWindow w(KindColourMap, 256, 250);
    w.Redraw(state);
}
BENCHMARK(BM_RedrawColourMap256x250)->Unit(benchmark::kMillisecond);

// The superdiagram of 5000 points in four coordinates and a value, smoothing
// 0 or 3: a redraw, and a move of an invisible coordinate's bar (the grid
// computed again, then redrawn).
void BM_RedrawSuperDiagram5000Points(benchmark::State& state) {
    SeriesWindow w(KindSuperDiagram, 5, 5000, static_cast<int>(state.range(0)));
    w.Redraw(state);
}
BENCHMARK(BM_RedrawSuperDiagram5000Points)->Arg(0)->Arg(3)->Unit(benchmark::kMillisecond);

void BM_MoveSuperDiagramBar5000Points(benchmark::State& state) {
    SeriesWindow w(KindSuperDiagram, 5, 5000, static_cast<int>(state.range(0)));
    int position = 0;
    for (auto _ : state) {
        position = (position + 7) % 26;
        w.graph.SetInvisiblePosition(2, position);
        QImage image = RenderGraph(w.graph, w.font);
        benchmark::DoNotOptimize(image.bits());
    }
}
BENCHMARK(BM_MoveSuperDiagramBar5000Points)->Arg(0)->Arg(3)->Unit(benchmark::kMillisecond);

// The smoothing surface of 5000 points (its byte grid drawn shaded).
void BM_RedrawSmoothingSurface5000Points(benchmark::State& state) {
    SeriesWindow w(KindSmoothingSurface, 3, 5000);
    w.Redraw(state);
}
BENCHMARK(BM_RedrawSmoothingSurface5000Points)->Unit(benchmark::kMillisecond);

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
