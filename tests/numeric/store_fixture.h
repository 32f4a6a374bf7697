// A fresh workspace with an allocated store, scripted dialogs and the report
// lines collected, for the routines that work on the data store.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/user_dialogs.h"
#include "core/workspace.h"
#include "support/report_lines.h"

namespace dalvex {

class StoreTest : public ::testing::Test {
  protected:
    StoreTest() {
        EXPECT_TRUE(ws.store.Allocate());
        ws.report = &report;
    }

    // Puts `values` into DataMatrix row `row` and notes its length; the rows
    // loaded so far are 0 .. the highest row given.
    void SetRow(int row, const std::vector<double>& values) {
        for (std::size_t i = 0; i < values.size(); ++i)
            ws.store.Data(row, static_cast<int>(i)) = values[i];
        ws.VarLength[row + 1] = static_cast<int>(values.size()) - 1;
        if (row > ws.VarLength[0])
            ws.VarLength[0] = row;
    }
    std::vector<double> Row(int row) {
        std::vector<double> values;
        for (int i = 0; i <= ws.VarLength[row + 1]; ++i)
            values.push_back(ws.store.Data(row, i));
        return values;
    }

    ScriptedDialogs ui;
    Workspace ws{ui};
    ReportLines report;
};

}  // namespace dalvex
