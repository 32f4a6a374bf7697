#include "dispatch/loading.h"

#include "dispatch_fixture.h"

namespace dalvex {
namespace {

using LoadingTest = DispatchFixture;

TEST_F(LoadingTest, EmptyColumnLoadsAsARowWithoutValues) {
    Sheet({{"a", "1"}, {"b"}});
    LoadVariable(ws, 1, 2);
    EXPECT_EQ(ws.VarLength[1], -1);
    EXPECT_TRUE(ui.notices().empty());
}

TEST_F(LoadingTest, ColumnLongerThanARowKeepsItsFirstWidthMinusOneValues) {
    std::vector<std::string> column{"long"};
    for (int i = 1; i <= 60; ++i)
        column.push_back(std::to_string(i));
    Sheet({column});
    ASSERT_EQ(ws.store.DataWidth(), 50);
    LoadVariable(ws, 1, 1);
    EXPECT_EQ(ws.VarLength[1], 48);
    EXPECT_EQ(ws.store.Data(0, 48), 49.0);
    EXPECT_EQ(ui.notices(),
              std::vector<std::string>{
                  "!ДЛИНА ПЕРЕМЕННОЙ БОЛЬШЕ ДОПУСТИМОЙ: 50!\r\n(при данном числе переменных)"});
}

// Rows (1, M, 3) and (4, 5, M) loaded by hand, then both kinds of removal.
TEST_F(LoadingTest, RemovalListwiseAndPerRowCountWhatTheyFoundAndRemoved) {
    struct Case {
        bool listwise;
        std::vector<double> row0, row1;
        std::string line;
    };
    for (const Case& c :
         {Case{true, {1}, {4}, "Пропущн=2 4"}, Case{false, {1, 3}, {4, 5}, "Пропущн=2 2"}}) {
        const double rows[2][3] = {{1, M, 3}, {4, 5, M}};
        for (int r = 0; r < 2; ++r)
            for (int i = 0; i < 3; ++i)
                ws.store.Data(r, i) = rows[r][i];
        ws.VarLength[0] = 1;
        ws.VarLength[1] = ws.VarLength[2] = 2;
        results.lines.clear();
        RemoveMissing(ws, c.listwise);
        EXPECT_EQ(Row(0), c.row0) << c.line;
        EXPECT_EQ(Row(1), c.row1) << c.line;
        EXPECT_EQ(results.lines, std::vector<std::string>{c.line});
    }
}

TEST_F(LoadingTest, RemovalWithoutMissingValuesWritesNothing) {
    Sheet({{"a", "1", "2"}});
    ws.SelectedColumns = {1, 1};
    ASSERT_TRUE(LoadSelected(ws, 0, 2));
    EXPECT_TRUE(results.lines.empty());
    EXPECT_EQ(Row(0), (std::vector<double>{1, 2}));
}

TEST_F(LoadingTest, PairWithTheSameColumnNumbersTheObservations) {
    Sheet({{"y", "7", "8", "9"}});
    LoadPair(ws, 1, 1, 1);
    EXPECT_EQ(ws.VarLength[0], 1);
    EXPECT_EQ(Row(0), (std::vector<double>{0, 1, 2}));
    EXPECT_EQ(Row(1), (std::vector<double>{7, 8, 9}));
}

// Read from the sheet and from the columns parsed once, as a pairwise run loads
// them.
TEST_F(LoadingTest, PairOfUnequalLengthsIsCutToTheShorterWithANotice) {
    Sheet({{"x", "1", "2", "3", "4"}, {"y", "5", "x", "7"}});
    ParsedColumns parsed;
    for (ParsedColumns* source : {static_cast<ParsedColumns*>(nullptr), &parsed}) {
        ui.ClearLog();
        results.lines.clear();
        ws.runNotices.Begin();
        LoadPair(ws, 1, 2, 1, source);
        EXPECT_EQ(ui.notices(), std::vector<std::string>{UnequalLengthNotice});
        EXPECT_EQ(Row(0), (std::vector<double>{1, 3}));
        EXPECT_EQ(Row(1), (std::vector<double>{5, 7}));
        EXPECT_EQ(results.lines, std::vector<std::string>{"Пропущн=1 2"});
    }
    EXPECT_EQ(parsed.Of(ws, 2), (std::vector<double>{5, MissingValue, 7}));
}

// Pair after pair of a run, and variable after variable of a selection, meet
// the same unequal lengths: the notice is said once in a run.
TEST_F(LoadingTest, UnequalLengthsAreNoticedOnceInARun) {
    Sheet({{"a", "1", "2", "3"}, {"b", "4", "5"}, {"c", "6"}});
    ws.runNotices.Begin();
    LoadPair(ws, 1, 2, Missing::Listwise);
    LoadPair(ws, 1, 3, Missing::Listwise);
    LoadPair(ws, 2, 3, Missing::PerRow);
    EXPECT_EQ(ui.notices(), std::vector<std::string>{UnequalLengthNotice});
    ui.ClearLog();
    ws.runNotices.Begin();
    ws.SelectedColumns = {3, 1, 2, 3};
    ASSERT_TRUE(LoadSelected(ws, 0, Missing::Keep));
    EXPECT_EQ(ui.notices(), std::vector<std::string>{UnequalLengthNotice});
}

TEST_F(LoadingTest, SelectedColumnsSizeTheRowsAndTakeTheRange) {
    Sheet({{"a", "1", "2"}, {"b", "3", "-4"}, {"c", "0", "9"}});
    ws.SelectedColumns = {2, 3, 1};
    ASSERT_TRUE(LoadSelected(ws, 2, 1));
    EXPECT_EQ(ws.store.DataWidth(), CellCapacity / 4);
    EXPECT_EQ(ws.store.WorkWidth(), SquareSide);
    EXPECT_EQ(ws.VarLength[0], 1);
    EXPECT_EQ(Row(0), (std::vector<double>{0, 9}));
    EXPECT_EQ(Row(1), (std::vector<double>{1, 2}));
    EXPECT_EQ(ws.VarLength[4], 1);  // the second spare row's slot
    EXPECT_EQ(ws.store.RangeMin[1], 0.0);
    EXPECT_EQ(ws.store.RangeMax[1], 9.0);
}

// Listwise loading of unequal columns: only observations every row holds
// are kept, so no row carries values past the common length.
TEST_F(LoadingTest, ListwiseLoadingOfUnequalColumnsLeavesNoStaleValues) {
    Sheet({{"a", "1", "2", "3", "4", "5"}, {"b", "6", "", "8"}});
    ws.SelectedColumns = {2, 1, 2};
    ASSERT_TRUE(LoadSelected(ws, 0, 0));
    EXPECT_EQ(ui.notices(), std::vector<std::string>{UnequalLengthNotice});
    EXPECT_EQ(Row(0), (std::vector<double>{1, 3}));
    EXPECT_EQ(Row(1), (std::vector<double>{6, 8}));
    EXPECT_EQ(ws.store.RangeMax[1], 8.0);
}

TEST_F(LoadingTest, FiveHundredVariablesKeepTheSpareRowSlot) {
    for (int col = 1; col <= MaxVariables; ++col)
        PutSheetText(ws, std::to_string(col), col, 0);
    ASSERT_TRUE(SelectAllVariables(ws, 2, 1));
    EXPECT_EQ(ws.VarLength.at(0), MaxVariables - 1);
    EXPECT_EQ(ws.VarLength.at(MaxVariables), 0);
    EXPECT_EQ(ws.VarLength.at(MaxVariables + 2), 0);
}

TEST_F(LoadingTest, AllVariablesOfAnEmptySheetAreTooFew) {
    for (int spare : {0, 1}) {
        EXPECT_FALSE(SelectAllVariables(ws, spare, 0));
        EXPECT_EQ(ui.notices().back(), TooFewValuesNotice);
    }
    EXPECT_EQ(ws.SelectedColumns[0], 0);
}

}  // namespace
}  // namespace dalvex
