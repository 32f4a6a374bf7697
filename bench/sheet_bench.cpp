// The sheet at its full capacity: every user action on it should feel instant.
#include <benchmark/benchmark.h>

#include <string>

#include "core/number.h"
#include "core/sheet_bridge.h"
#include "sheet/sheet_editor.h"

namespace dalvex {
namespace {

// 65000 values: four full columns of 16000 and one of 1000.
void FillToCapacity(Workspace& ws) {
    for (int c = 1; c <= 5; ++c) {
        const int rows = c <= 4 ? SheetRows : CellCapacity - 4 * SheetRows;
        for (int obs = 0; obs < rows; ++obs)
            PutSheetValue(ws, c, obs, obs * 0.5 + c);
    }
}

void BM_FillSheetToCapacity(benchmark::State& state) {
    for (auto _ : state) {
        ScriptedDialogs ui;
        Workspace ws{ui};
        FillToCapacity(ws);
        benchmark::DoNotOptimize(ws.sheet.FilledCells());
    }
    state.SetItemsProcessed(state.iterations() * CellCapacity);
}
BENCHMARK(BM_FillSheetToCapacity)->Unit(benchmark::kMillisecond);

void BM_ReadFullSheetBack(benchmark::State& state) {
    ScriptedDialogs ui;
    Workspace ws{ui};
    FillToCapacity(ws);
    for (auto _ : state) {
        double sum = 0;
        for (int c = 1; c <= ws.sheet.VariableCount(); ++c)
            for (int obs = 0; obs < ws.sheet.ColumnLength(c); ++obs)
                sum += SheetValue(ws, c, obs);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * CellCapacity);
}
BENCHMARK(BM_ReadFullSheetBack)->Unit(benchmark::kMillisecond);

// Pasting a whole spreadsheet: 13000 lines of five TAB-separated values.
void BM_PasteFullSheet(benchmark::State& state) {
    std::string text;
    for (int r = 0; r < CellCapacity / 5; ++r) {
        for (int c = 0; c < 5; ++c)
            text += std::to_string(r * 5 + c) + (c < 4 ? "\t" : "\n");
    }
    for (auto _ : state) {
        ScriptedDialogs ui;
        Workspace ws{ui};
        TSht1 sheet{ws};
        sheet.FormIni();
        sheet.Paste(text);
        benchmark::DoNotOptimize(ws.sheet.FilledCells());
    }
}
BENCHMARK(BM_PasteFullSheet)->Unit(benchmark::kMillisecond);

// Inserting at the top of a long column shifts every value below it.
void BM_InsertAtTopOfFullColumn(benchmark::State& state) {
    ScriptedDialogs ui;
    Workspace ws{ui};
    TSht1 sheet{ws};
    sheet.FormIni();
    for (int obs = 0; obs < SheetRows - 1; ++obs)
        PutSheetValue(ws, 1, obs, obs);
    for (auto _ : state) {
        sheet.PressCell(1, 1);
        sheet.InsertZero();
        state.PauseTiming();
        sheet.PressCell(1, 1);
        sheet.SelSht(0);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_InsertAtTopOfFullColumn)->Unit(benchmark::kMicrosecond);

// Copying the whole sheet to the clipboard text.
void BM_CopyFullSheet(benchmark::State& state) {
    ScriptedDialogs ui;
    Workspace ws{ui};
    TSht1 sheet{ws};
    sheet.FormIni();
    FillToCapacity(ws);
    sheet.ClickCorner();
    for (auto _ : state) {
        sheet.SelSht(2);
        benchmark::DoNotOptimize(sheet.clipboardText().size());
    }
}
BENCHMARK(BM_CopyFullSheet)->Unit(benchmark::kMillisecond);

// Taking back a paste of the whole sheet (65000 values in 13000 lines) and
// making it again: each is one step, timed together.
void BM_UndoRedoFullSheetPaste(benchmark::State& state) {
    std::string text;
    for (int r = 0; r < CellCapacity / 5; ++r) {
        for (int c = 0; c < 5; ++c)
            text += std::to_string(r * 5 + c) + (c < 4 ? "\t" : "\n");
    }
    ScriptedDialogs ui;
    Workspace ws{ui};
    TSht1 sheet{ws};
    sheet.FormIni();
    sheet.Paste(text);
    for (auto _ : state) {
        if (!sheet.Undo() || !sheet.Redo())
            state.SkipWithError("no step to undo or redo");
        benchmark::DoNotOptimize(ws.sheet.FilledCells());
    }
    state.SetItemsProcessed(state.iterations() * CellCapacity);
}
BENCHMARK(BM_UndoRedoFullSheetPaste)->Unit(benchmark::kMicrosecond);

void BM_FormatNumber(benchmark::State& state) {
    double x = 0.000123456;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FormatNumber(x, 4));
        x *= 1.0001;
    }
}
BENCHMARK(BM_FormatNumber);

}  // namespace
}  // namespace dalvex
