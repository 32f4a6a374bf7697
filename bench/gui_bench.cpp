// What the person waits for on screen: the main window's start-up, a frame of
// the full sheet while scrolling, and a long report arriving in the results.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPixmap>
#include <QScrollBar>
#include <QTemporaryDir>

#include "core/sheet_bridge.h"
#include "gui/main_window.h"
#include "gui/results_view.h"
#include "gui/sheet_view.h"

namespace dalvex {
namespace {

QTemporaryDir& Folder() {
    static QTemporaryDir dir;
    return dir;
}

std::string FolderPath() {
    return Folder().path().toStdString() + "/";
}

void BM_StartUpToFirstPaint(benchmark::State& state) {
    for (auto _ : state) {
        ScriptedDialogs ui;
        Workspace ws{ui};
        MainWindow window(ws, FolderPath());
        window.resize(1280, 800);
        window.StartUp();
        QPixmap frame = window.grab();
        benchmark::DoNotOptimize(frame.width());
    }
}
BENCHMARK(BM_StartUpToFirstPaint)->Unit(benchmark::kMillisecond);

// One frame of the sheet at a new scroll position, over a sheet holding its
// full 65000 values in 500 variables of 130.
void BM_ScrollFullSheet(benchmark::State& state) {
    ScriptedDialogs ui;
    Workspace ws{ui};
    MainWindow window(ws, FolderPath());
    window.resize(1280, 800);
    window.StartUp();
    for (int c = 1; c <= SheetColumns; ++c)
        for (int obs = 0; obs < CellCapacity / SheetColumns; ++obs)
            PutSheetValue(ws, c, obs, obs * 0.125 + c);
    SheetView* view = window.sheetView();
    view->Refresh();
    int step = 0;
    for (auto _ : state) {
        view->horizontalScrollBar()->setValue((step * 7) % 480);
        view->verticalScrollBar()->setValue((step * 13) % 120);
        QPixmap frame = view->viewport()->grab();
        benchmark::DoNotOptimize(frame.width());
        ++step;
    }
}
BENCHMARK(BM_ScrollFullSheet)->Unit(benchmark::kMillisecond);

void BM_ReportOf100000LinesReachesTheWindow(benchmark::State& state) {
    const std::string line =
        "   x1      12.5     3.25    0.125     1.5E-5      17   Значимость=0.0123";
    ScriptedDialogs ui;
    Workspace ws{ui};
    MainWindow window(ws, FolderPath());
    window.resize(1280, 800);
    window.StartUp();
    for (auto _ : state) {
        window.results()->Clear();
        for (int i = 0; i < 100000; ++i)
            WriteResult(ws, line);
        window.resultsView()->Flush();
        QPixmap frame = window.resultsView()->viewport()->grab();
        benchmark::DoNotOptimize(frame.width());
    }
}
BENCHMARK(BM_ReportOf100000LinesReachesTheWindow)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dalvex

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::benchmark::Initialize(&argc, argv);
    ::benchmark::RunSpecifiedBenchmarks();
    ::benchmark::Shutdown();
    return 0;
}
