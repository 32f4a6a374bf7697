// Writing into the sheet: the correlation matrix and a counted contingency
// table go after the user's variables, and a sheet without room for them
// keeps everything it had.
#include <gtest/gtest.h>

#include "core/text.h"
#include "stats/correlation_report.h"
#include "stats/cross_tabulation.h"
#include "stats_fixture.h"

namespace dalvex {
namespace {

class CorrelationSheetTest : public StatsTest {
  protected:
    // `count` variables "v1" .. with one value each.
    void FillVariables(int count) {
        for (int c = 1; c <= count; ++c) {
            PutSheetText(ws, "v" + std::to_string(c), c, -1);
            PutSheetValue(ws, c, 0, c);
        }
    }

    CorrelationMatrix Matrix() {
        CorrelationMatrix m;
        m.Resize(3);
        m.names = {"x", "y", "z"};
        m.at(0, 1) = m.at(1, 0) = 0.5;
        m.at(0, 2) = m.at(2, 0) = -0.25;  // (1, 2) undefined: its cell stays empty
        return m;
    }
};

TEST_F(CorrelationSheetTest, TheMatrixFollowsTheUsersVariables) {
    FillVariables(2);
    ASSERT_TRUE(WriteMatrixToSheet(ws, Matrix()));
    EXPECT_EQ(ws.sheet.VariableCount(), 6);
    EXPECT_EQ(SheetColumn(1), (std::vector<std::string>{"       1"}));
    EXPECT_EQ(Trim(ws.sheet.Cell(3, 0)), "Перемен.");
    EXPECT_EQ(Trim(ws.sheet.Cell(3, 2)), "y");
    EXPECT_EQ(Trim(ws.sheet.Cell(4, 0)), "x");
    EXPECT_EQ(SheetValue(ws, 4, 0), 1.0);
    EXPECT_EQ(SheetValue(ws, 5, 0), 0.5);
    EXPECT_EQ(SheetValue(ws, 6, 0), -0.25);
    EXPECT_EQ(SheetValue(ws, 6, 1), MissingValue);
}

TEST_F(CorrelationSheetTest, NoRoomMeansNothingWritten) {
    FillVariables(MaxVariables - 2);
    EXPECT_FALSE(WriteMatrixToSheet(ws, Matrix()));
    EXPECT_EQ(ws.sheet.VariableCount(), MaxVariables - 2);
    ASSERT_EQ(ui.notices().size(), 1u);
    EXPECT_EQ(ui.notices()[0], NoRoomForMatrixNotice);

    NamedTable t;
    t.table.cells = {{1, 2}, {3, 4}, {5, 6}};
    t.columnNames = {"a", "b", "c"};
    t.rowNames = {"r", "s"};
    EXPECT_FALSE(WriteTabulation(ws, t));
    EXPECT_EQ(ws.sheet.VariableCount(), MaxVariables - 2);
    EXPECT_EQ(ui.notices().back(), NoRoomForTableNotice);
}

}  // namespace
}  // namespace dalvex
