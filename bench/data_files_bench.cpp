// A data file that fills the sheet (65000 values: 10 variables of 6500
// observations) written and read back in each format, files on disk included.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "core/number.h"
#include "core/sheet_bridge.h"
#include "sheet/data_files.h"

namespace dalvex {
namespace {

constexpr int Variables = 10;
constexpr int Rows = CellCapacity / Variables;

const char* const Files[] = {"full.dvx", "full.txt", "full.tab", "full.dbf", "full.csv"};
constexpr int LastFormat = 4;

std::string PathOf(int format) {
    return (std::filesystem::temp_directory_path() / ("dalvex-bench-" + std::string(Files[format])))
        .string();
}

void Fill(Workspace& ws) {
    for (int c = 1; c <= Variables; ++c) {
        PutSheetText(ws, "перем" + std::to_string(c), c, -1);
        for (int obs = 0; obs < Rows; ++obs)
            PutSheetValue(ws, c, obs, obs * 0.731 + c * 1000.25);
    }
}

void BM_WriteFullSheet(benchmark::State& state) {
    const int format = static_cast<int>(state.range(0));
    ScriptedDialogs ui;
    Workspace ws{ui};
    TSht1 sheet{ws};
    sheet.FormIni();
    Fill(ws);
    SheetFiles files{ws, sheet};
    for (auto _ : state)
        if (!files.Write(PathOf(format), "Полная таблица"))
            state.SkipWithError("write failed");
    state.SetLabel(Files[format]);
    state.SetItemsProcessed(state.iterations() * CellCapacity);
}
BENCHMARK(BM_WriteFullSheet)->DenseRange(0, LastFormat)->Unit(benchmark::kMillisecond);

void BM_ReadFullSheet(benchmark::State& state) {
    const int format = static_cast<int>(state.range(0));
    ScriptedDialogs ui;
    Workspace ws{ui};
    TSht1 sheet{ws};
    sheet.FormIni();
    Fill(ws);
    SheetFiles files{ws, sheet};
    files.Write(PathOf(format), "Полная таблица");
    for (auto _ : state) {
        state.PauseTiming();
        sheet.ShtFre();
        state.ResumeTiming();
        files.Read(PathOf(format), true);
        if (ws.sheet.FilledCells() != CellCapacity)
            state.SkipWithError("sheet not full after reading");
    }
    std::filesystem::remove(PathOf(format));
    state.SetLabel(Files[format]);
    state.SetItemsProcessed(state.iterations() * CellCapacity);
}
BENCHMARK(BM_ReadFullSheet)->DenseRange(0, LastFormat)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dalvex
