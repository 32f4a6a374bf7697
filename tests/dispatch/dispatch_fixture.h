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
#include "support/report_lines.h"
#include "support/temp_folder.h"

namespace dalvex {

class DispatchFixture : public ::testing::Test {
  protected:
    DispatchFixture() : ws(ui) {
        ws.store.Allocate();
        ws.report = &results;
        ws.ProgramFolder = folder.WithSlash();
    }

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
    ReportLines results;
    TempFolder folder{"dispatch"};
};

inline constexpr double M = MissingValue;

}  // namespace dalvex
