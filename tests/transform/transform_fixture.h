// A fresh workspace with scripted answers, the function list in a program
// folder of its own, and helpers that fill and read sheet columns as texts.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/sheet_bridge.h"
#include "core/text.h"
#include "core/user_dialogs.h"
#include "core/workspace.h"
#include "formula/formula.h"
#include "formula/function_list.h"
#include "support/report_lines.h"
#include "support/temp_folder.h"

namespace dalvex {

class TransformTest : public ::testing::Test {
  protected:
    TransformTest() {
        ws.ProgramFolder = folder.WithSlash();
        EXPECT_TRUE(WriteFunctionListIfMissing(ws.ProgramFolder));
        ws.report = &report;
    }

    // Column `col` named `name` holding the texts (an empty text is an empty cell).
    void Column(int col, const std::string& name, const std::vector<std::string>& cells) {
        PutSheetText(ws, name, col, -1);
        for (std::size_t i = 0; i < cells.size(); ++i)
            if (!cells[i].empty())
                PutSheetText(ws, cells[i], col, static_cast<int>(i));
        if (ws.sheet.ColumnLength(col) < static_cast<int>(cells.size()))
            ws.sheet.SetColumnLength(col, static_cast<int>(cells.size()));
        if (ws.sheet.VariableCount() < col)
            ws.sheet.SetVariableCount(col);
    }

    // The trimmed texts of a column, up to its length.
    std::vector<std::string> Texts(int col) const {
        std::vector<std::string> cells;
        for (int row = 1; row <= ws.sheet.ColumnLength(col); ++row)
            cells.push_back(Trim(ws.sheet.Cell(col, row)));
        return cells;
    }

    std::vector<double> Values(int col) const {
        std::vector<double> values;
        for (int obs = 0; obs < ws.sheet.ColumnLength(col); ++obs)
            values.push_back(SheetValue(ws, col, obs));
        return values;
    }

    void Compile(const std::string& text, FormulaContext context) {
        ASSERT_EQ(CompileFormula(ws, formula, text, context), 0) << text;
    }

    TempFolder folder{"transform"};
    ScriptedDialogs ui;
    Workspace ws{ui};
    ReportLines report;
    ActiveFormula formula;
};

}  // namespace dalvex
