// What the statistics benchmarks share: the program's own generator for the
// data, a person who agrees to everything and chooses every variable, a
// report that only counts what it is given, and a workspace with a scratch
// program folder filled the way a sheet or a loaded selection would be.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "bench_random.h"
#include "core/sheet_bridge.h"
#include "core/user_dialogs.h"
#include "core/workspace.h"

namespace dalvex {

// Answers every question with `yes`, confirms every form as proposed, keeps
// every graph and chooses every variable of a variable dialog.
class AgreeingDialogs : public UserDialogs {
  public:
    explicit AgreeingDialogs(bool yes = true) : yes_(yes) {}
    void Notice(const std::string&) override { ++notices; }
    bool YesNo(const std::string&) override { return yes_; }
    FormAnswer Form(const FormDialog& form) override { return {1, form.Values()}; }
    FileChoice ChooseFile(const FileRequest&) override { return {}; }
    bool GraphPrompt(bool) override { return true; }
    void Variables(VariableDialog& dialog) override {
        dialog.Press(VariableAction::All, {});
        dialog.Press(VariableAction::Confirm, {});
    }
    int notices = 0;

  private:
    bool yes_;
};

struct CountingReport : ReportSink {
    void WriteResult(const std::string& text) override { chars += text.size(); }
    std::size_t chars = 0;
};

// A workspace for one benchmark: its store allocated, the report counted and
// the dialog memories and significance lists kept in a folder of its own,
// removed with it.
template <class Dialogs = AgreeingDialogs>
struct BenchWorkspace {
    template <class... Args>
    explicit BenchWorkspace(Args&&... args) : ui(std::forward<Args>(args)...) {
        ws.store.Allocate();
        ws.report = &report;
        std::string pattern =
            (std::filesystem::temp_directory_path() / "dalvex-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr)
            folder = pattern;
        ws.ProgramFolder = folder.empty() ? "/nonexistent/" : folder.string() + "/";
    }
    ~BenchWorkspace() {
        if (!folder.empty())
            std::filesystem::remove_all(folder);
    }
    BenchWorkspace(const BenchWorkspace&) = delete;
    BenchWorkspace& operator=(const BenchWorkspace&) = delete;

    // Sheet variables "v1" .. "v<variables>" of `length` values value(c, i).
    void FillSheet(int variables, int length, const std::function<double(int c, int i)>& value) {
        for (int c = 1; c <= variables; ++c) {
            PutSheetText(ws, "v" + std::to_string(c), c, -1);
            for (int i = 0; i < length; ++i)
                PutSheetValue(ws, c, i, value(c, i));
        }
    }

    // DataMatrix rows 0 .. rows - 1 of `length` values value(r, i), selected
    // as sheet columns 1 .. rows, as loading would leave them.
    void FillRows(int rows, int length, const std::function<double(int r, int i)>& value) {
        ws.store.SetRowWidth(0, CellCapacity / rows);
        for (int r = 0; r < rows; ++r) {
            for (int i = 0; i < length; ++i)
                ws.store.Data(r, i) = value(r, i);
            ws.VarLength[r + 1] = length - 1;
            ws.SelectedColumns[r + 1] = r + 1;
        }
        ws.VarLength[0] = rows - 1;
        ws.SelectedColumns[0] = rows;
    }

    // A run that showed a notice stopped early: its time means nothing.
    void Check(benchmark::State& state) const {
        if (ui.notices > 0)
            state.SkipWithError("the method stopped with a notice");
        benchmark::DoNotOptimize(report.chars);
    }

    Dialogs ui;
    Workspace ws{ui};
    CountingReport report;
    std::filesystem::path folder;
};

}  // namespace dalvex
