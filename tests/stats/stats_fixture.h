// A fresh workspace with scripted answers, named sheet variables, rows put
// straight into DataMatrix, the report collected as lines and the graph
// requests caught with a copy of the rows they draw.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/sheet_bridge.h"
#include "core/user_dialogs.h"
#include "core/workspace.h"
#include "support/report_lines.h"

namespace dalvex {

struct GraphCapture : GraphHost {
    explicit GraphCapture(Workspace& ws) : ws_(ws) {}
    void GraSt(int request, int lastSeries) override {
        ++requests;
        this->request = request;
        this->lastSeries = lastSeries;
        title = ws_.TextBuffer();
        styles = {ws_.graphTables.SeriesStyles[0], ws_.graphTables.SeriesStyles[1]};
        rows.clear();
        const long width = ws_.store.DataWidth();
        for (int r = 0; r < 4; ++r) {
            std::vector<double> row;
            // Rows past the store (a graph of fewer, wider rows) stay empty.
            const long last = ws_.VarLength[r + 1];
            if (last < width && r * width + last < ws_.store.DataCells())
                for (int i = 0; i <= last; ++i)
                    row.push_back(ws_.store.Data(r, i));
            rows.push_back(row);
        }
        drawn.push_back(rows);
    }
    void pqsegr(bool) override { ++prompts; }

    int requests = 0, prompts = 0, request = 0, lastSeries = 0;
    std::string title;
    std::vector<int> styles;
    std::vector<std::vector<double>> rows;
    // The rows of every graph drawn, in order.
    std::vector<std::vector<std::vector<double>>> drawn;

  private:
    Workspace& ws_;
};

class StatsTest : public ::testing::Test {
  protected:
    StatsTest() {
        EXPECT_TRUE(ws.store.Allocate());
        // Room for eight rows, as loading would size the store.
        ws.store.SetRowWidth(0, CellCapacity / 8);
        ws.report = &report;
        ws.graphs = &graphs;
    }

    // Loads `values` as DataMatrix row `row`, taken from a sheet variable
    // named `name` in column row + 1.
    void SetRow(int row, const std::string& name, const std::vector<double>& values) {
        PutSheetText(ws, name, row + 1, -1);
        ws.SelectedColumns[0] = row + 1;
        ws.SelectedColumns[row + 1] = row + 1;
        for (std::size_t i = 0; i < values.size(); ++i)
            ws.store.Data(row, static_cast<int>(i)) = values[i];
        ws.VarLength[row + 1] = static_cast<int>(values.size()) - 1;
        ws.VarLength[0] = row;
    }

    std::vector<std::string> SheetColumn(int col) const {
        std::vector<std::string> cells;
        for (int row = 1; row <= ws.sheet.ColumnLength(col); ++row)
            cells.push_back(ws.sheet.Cell(col, row));
        return cells;
    }

    ScriptedDialogs ui;
    Workspace ws{ui};
    ReportLines report;
    GraphCapture graphs{ws};
};

}  // namespace dalvex
