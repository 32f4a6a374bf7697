// A workspace with a small sheet and a program folder holding the default
// function list, for the formula tests.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "core/sheet_bridge.h"
#include "core/workspace.h"
#include "formula/formula.h"
#include "formula/function_list.h"

namespace dalvex {

class FormulaTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ = std::filesystem::temp_directory_path() /
                  (std::string("dalvex_formula_") + info->test_suite_name() + "_" + info->name() +
                   "_" + std::to_string(::getpid()));
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        ws.ProgramFolder = folder_.string() + "/";
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
    void TearDown() override { std::filesystem::remove_all(folder_); }

    int Compile(const std::string& text, FormulaContext context) {
        return CompileFormula(ws, formula, text, context);
    }
    // Compiles (expecting acceptance without a notice) and evaluates once.
    double Value(const std::string& text, FormulaContext context) {
        EXPECT_EQ(Compile(text, context), 0) << text;
        EXPECT_TRUE(ui.notices().empty()) << text << ": " << ui.notices().front();
        return EvaluateFormula(ws, formula);
    }

    std::filesystem::path folder_;
    ScriptedDialogs ui;
    Workspace ws{ui};
    ActiveFormula formula;
};

}  // namespace dalvex
