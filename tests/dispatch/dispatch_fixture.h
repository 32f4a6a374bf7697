// A fresh workspace with scripted answers, a sheet filled from texts, the
// results collected as lines and a program folder of its own.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/sheet_bridge.h"
#include "core/user_dialogs.h"
#include "core/workspace.h"

namespace dalvex {

struct CollectedResults : ReportSink {
    void WriteResult(const std::string& text) override { lines.push_back(text); }
    std::vector<std::string> lines;
};

class DispatchFixture : public ::testing::Test {
  protected:
    DispatchFixture() : ws(ui) {
        ws.store.Allocate();
        ws.report = &results;
        folder = std::filesystem::temp_directory_path() /
                 ("dalvex-dispatch-" +
                  std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        ws.ProgramFolder = folder.string() + "/";
    }
    ~DispatchFixture() override { std::filesystem::remove_all(folder); }

    // One column per entry: its name, then its cells ("" leaves a cell empty).
    void Sheet(const std::vector<std::vector<std::string>>& columns) {
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const int col = static_cast<int>(c) + 1;
            PutSheetText(ws, columns[c][0], col, -1);
            for (std::size_t i = 1; i < columns[c].size(); ++i)
                if (!columns[c][i].empty())
                    PutSheetText(ws, columns[c][i], col, static_cast<int>(i) - 1);
        }
    }

    std::vector<double> Row(int row) {
        std::vector<double> values;
        for (int i = 0; i <= ws.VarLength[row + 1]; ++i)
            values.push_back(ws.store.Data(row, i));
        return values;
    }

    std::vector<int> Selected() const {
        return {ws.SelectedColumns.begin() + 1,
                ws.SelectedColumns.begin() + 1 + ws.SelectedColumns[0]};
    }

    ScriptedDialogs ui;
    Workspace ws;
    CollectedResults results;
    std::filesystem::path folder;
};

inline constexpr double M = MissingValue;

}  // namespace dalvex
