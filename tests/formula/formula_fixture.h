// A workspace with a small sheet and a program folder holding the default
// function list, for the formula tests.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/sheet_bridge.h"
#include "core/workspace.h"
#include "formula/formula.h"
#include "formula/function_list.h"
#include "support/temp_folder.h"

namespace dalvex {

class FormulaTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ws.ProgramFolder = folder_.WithSlash();
        ASSERT_TRUE(WriteFunctionListIfMissing(ws.ProgramFolder));

        // x1: 10 20 30; вес: 1.5 2.5 3.5 4.5; code: abc, 5, empty.
        for (int obs = 0; obs < 3; ++obs)
            PutSheetText(ws, std::to_string(10 * (obs + 1)), 1, obs);
        PutSheetText(ws, "вес", 2, -1);
        for (int obs = 0; obs < 4; ++obs)
            PutSheetText(ws, std::to_string(obs + 1) + ",5", 2, obs);
        PutSheetText(ws, "code", 3, -1);
        PutSheetText(ws, "abc", 3, 0);
        PutSheetText(ws, "5", 3, 1);
    }

    int Compile(const std::string& text, FormulaContext context) {
        return CompileFormula(ws, formula, text, context);
    }
    // Compiles (expecting acceptance without a notice) and evaluates once.
    double Value(const std::string& text, FormulaContext context) {
        EXPECT_EQ(Compile(text, context), 0) << text;
        EXPECT_TRUE(ui.notices().empty()) << text << ": " << ui.notices().front();
        return EvaluateFormula(ws, formula);
    }

    TempFolder folder_{"formula"};
    ScriptedDialogs ui;
    Workspace ws{ui};
    ActiveFormula formula;
};

}  // namespace dalvex
