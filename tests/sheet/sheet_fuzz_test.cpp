// Random clipboard texts and random edit sequences must never break the
// sheet's bookkeeping: no value beyond a column's length or beyond the last
// variable, and never more than the sheet's capacity.
#include <gtest/gtest.h>

#include <random>

#include "core/sheet_bridge.h"
#include "core/text.h"
#include "sheet/sheet_editor.h"

namespace dalvex {
namespace {

void ExpectConsistent(const Workspace& ws, const std::string& step) {
    const SheetGrid& g = ws.sheet;
    ASSERT_LE(g.FilledCells(), CellCapacity) << step;
    ASSERT_GE(g.VariableCount(), 0) << step;
    ASSERT_LE(g.VariableCount(), SheetColumns) << step;
    for (int c = 1; c <= SheetColumns; ++c) {
        const int len = g.ColumnLength(c);
        ASSERT_GE(len, 0) << step;
        ASSERT_LE(len, SheetRows) << step;
        if (c > g.VariableCount()) {
            ASSERT_EQ(len, 0) << "column " << c << " after " << step;
        }
        // Nothing is stored below a column's last row.
        for (int r = len + 1; r <= std::min(len + 3, SheetRows); ++r) {
            ASSERT_TRUE(g.Cell(c, r).empty())
                << "column " << c << " row " << r << " after " << step;
        }
    }
}

std::string RandomText(std::mt19937& rng) {
    static const std::string alphabet = "0123456789.,-eE \t\t\n\r\nxя";
    std::string text;
    const int length = std::uniform_int_distribution<int>(0, 400)(rng);
    for (int i = 0; i < length; ++i) {
        if (rng() % 50 == 0)
            text += static_cast<char>(rng() % 256);  // stray binary bytes
        else
            text += alphabet[rng() % alphabet.size()];
    }
    return text;
}

TEST(SheetFuzzTest, RandomEditsKeepTheBookkeeping) {
    std::mt19937 rng(20261210);
    for (int round = 0; round < 20; ++round) {
        ScriptedDialogs ui;
        Workspace ws{ui};
        TSht1 sheet{ws};
        sheet.FormIni();
        for (int step = 0; step < 150; ++step) {
            const int col = std::uniform_int_distribution<int>(1, 12)(rng);
            const int row = std::uniform_int_distribution<int>(1, 30)(rng);
            std::string name;
            switch (rng() % 11) {
                case 0:
                    name = "press";
                    sheet.PressCell(col, row);
                    sheet.Release();
                    break;
                case 1:
                    name = "extend";
                    sheet.ExtendTo(col, row);
                    break;
                case 2:
                    name = "type";
                    sheet.TypeText(std::to_string(rng() % 100));
                    break;
                case 3:
                    name = "enter";
                    sheet.Enter(1);
                    break;
                case 4:
                    name = "insert";
                    sheet.InsertZero();
                    break;
                case 5:
                    name = "delete";
                    sheet.SelSht(0);
                    break;
                case 6:
                    name = "cut";
                    sheet.SelSht(1);
                    break;
                case 7:
                    name = "paste";
                    sheet.Paste(RandomText(rng));
                    break;
                case 8:
                    name = "drag";
                    sheet.DragColumn(col, std::uniform_int_distribution<int>(1, 14)(rng));
                    break;
                case 9:
                    name = "delete row";
                    sheet.DeleteRow();
                    break;
                default:
                    name = "editbox";
                    if (rng() % 2)
                        sheet.ClickColumnName(col);
                    sheet.EditBoxChanged(std::to_string(rng() % 7));
                    break;
            }
            ExpectConsistent(ws, name + " in round " + std::to_string(round));
            if (::testing::Test::HasFatalFailure())
                return;
        }
    }
}

TEST(SheetFuzzTest, PasteNearCapacityNeverOverflows) {
    std::mt19937 rng(7);
    ScriptedDialogs ui;
    Workspace ws{ui};
    TSht1 sheet{ws};
    sheet.FormIni();
    for (int c = 1; c <= 4; ++c)
        for (int obs = 0; obs < SheetRows - 10; ++obs)
            PutSheetText(ws, "1", c, obs);
    for (int i = 0; i < 60; ++i) {
        sheet.PressCell(std::uniform_int_distribution<int>(1, 6)(rng),
                        std::uniform_int_distribution<int>(1, SheetRows)(rng));
        sheet.Paste(RandomText(rng));
        ExpectConsistent(ws, "paste " + std::to_string(i));
        if (::testing::Test::HasFatalFailure())
            return;
    }
}

}  // namespace
}  // namespace dalvex
