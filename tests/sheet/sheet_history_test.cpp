// Undo and redo of the data sheet: every editing command is one step that
// comes back exactly, whatever it moved; the history's limits and sharing.
#include "sheet/sheet_history.h"

#include <gtest/gtest.h>

#include <functional>

#include "core/sheet_bridge.h"
#include "sheet/sheet_editor.h"

namespace dalvex {
namespace {

// The whole grid as text: every column's cells to its last written one, the
// lengths and the variable count. Equal dumps mean the sheets read the same
// byte for byte.
std::string Dump(const SheetGrid& g) {
    std::string out = "vars " + std::to_string(g.VariableCount()) + "\n";
    for (int c = 0; c <= SheetColumns; ++c) {
        long last = g.StoredCells(c) - 1;
        while (last >= 0 && g.Cell(c, static_cast<int>(last)).empty())
            --last;
        out += std::to_string(c) + ":" + std::to_string(g.ColumnLength(c)) + "|";
        for (long r = 0; r <= last; ++r)
            out += g.Cell(c, static_cast<int>(r)) + "|";
        out += "\n";
    }
    return out;
}

class SheetHistoryTest : public ::testing::Test {
  public:
    // The edit sequences below reach into the fixture.
    void SetUp() override {
        sheet.FormIni();
        // Three variables of 5, 4 and 5 values; labels of their own.
        const char* rows[5][3] = {
            {"1", "10", "a"}, {"2", "20", "b"}, {"3", "30", "c"}, {"4", "40", "d"}, {"5", "", "e"}};
        for (int r = 0; r < 5; ++r)
            for (int c = 0; c < 3; ++c)
                if (*rows[r][c])
                    PutSheetText(ws, rows[r][c], c + 1, r);
        PutSheetText(ws, "Иванов", 0, 1);
        PutSheetText(ws, "рост", 1, -1);
        sheet.RecordStep();
    }
    void Select(int left, int top, int right, int bottom) {
        sheet.PressCell(left, top);
        sheet.ExtendTo(right, bottom);
    }

    ScriptedDialogs ui;
    Workspace ws{ui};
    TSht1 sheet{ws};
};

struct EditSequence {
    const char* name;
    std::function<void(SheetHistoryTest&, TSht1&)> edit;
    int steps;  // undo steps the sequence leaves
};

TEST_F(SheetHistoryTest, EveryEditComesBackExactlyAndRedoesExactly) {
    const std::vector<EditSequence> sequences{
        {"typing into two cells",
         [](SheetHistoryTest&, TSht1& s) {
             s.PressCell(2, 5);
             for (const char* ch : {"5", "0", "0"})
                 s.TypeText(ch);
             s.Backspace();
             s.Enter(1);
             s.TypeText("7");
         },
         2},
        {"insert a zero, then paste inserting into filled columns",
         [](SheetHistoryTest& t, TSht1& s) {
             t.Select(1, 2, 1, 2);
             s.InsertZero();
             t.Select(2, 1, 2, 1);
             s.Paste("1,5\t2\t3\n4 5 6\n");
         },
         2},
        {"delete whole observations (labels follow), then a variable",
         [](SheetHistoryTest& t, TSht1& s) {
             t.Select(1, 1, 3, 2);
             s.SelSht(0);
             t.ui.ExpectYesNo("Удалить переменную", true);
             s.DeleteVariable();
         },
         2},
        {"cut a block out of the middle",
         [](SheetHistoryTest& t, TSht1& s) {
             t.Select(2, 2, 3, 3);
             s.SelSht(1);
         },
         1},
        {"drag a column, then rename it in the EditBox",
         [](SheetHistoryTest&, TSht1& s) {
             s.DragColumn(1, 3);
             s.ClickColumnName(3);
             s.EditBoxChanged("h");
             s.EditBoxChanged("ht");
         },
         2},
        {"clear the sheet, then type into the empty one",
         [](SheetHistoryTest&, TSht1& s) {
             s.ShtFre();
             s.TypeText("9");
         },
         2},
        {"a change made without the editor (a method's results)",
         [](SheetHistoryTest& t, TSht1& s) {
             PutSheetValue(t.ws, 4, 0, 3.25);
             PutSheetValue(t.ws, 1, 2, -1);
             s.RecordStep();
         },
         1},
    };
    for (const EditSequence& seq : sequences) {
        SCOPED_TRACE(seq.name);
        TearDown();
        SetUp();
        const int before = sheet.history().undoSteps();
        const std::string original = Dump(ws.sheet);
        seq.edit(*this, sheet);
        const std::string edited = Dump(ws.sheet);
        ASSERT_NE(edited, original);
        EXPECT_EQ(sheet.history().undoSteps() - before, seq.steps);

        for (int i = 0; i < seq.steps; ++i)
            EXPECT_TRUE(sheet.Undo());
        EXPECT_EQ(Dump(ws.sheet), original);
        for (int i = 0; i < seq.steps; ++i)
            EXPECT_TRUE(sheet.Redo());
        EXPECT_EQ(Dump(ws.sheet), edited);
        EXPECT_FALSE(sheet.Redo());
        // The cursor stays within the limits of the sheet it lands on.
        EXPECT_LE(sheet.cursorColumn(), ws.sheet.VariableCount() + 1);
        EXPECT_LE(sheet.cursorRow(), ws.sheet.ColumnLength(sheet.cursorColumn()) + 1);
    }
}

TEST_F(SheetHistoryTest, ANewChangeEndsRedoAndAnUnrecordedOneIsItsOwnStep) {
    sheet.PressCell(1, 6);
    sheet.TypeText("6");
    const std::string typed = Dump(ws.sheet);
    ASSERT_TRUE(sheet.Undo());
    sheet.PressCell(2, 5);
    sheet.TypeText("8");
    EXPECT_FALSE(sheet.Redo());
    EXPECT_NE(Dump(ws.sheet), typed);

    // Written behind the editor's back and never recorded: the first undo
    // takes back only that, the typed 8 stays.
    const std::string withEight = Dump(ws.sheet);
    PutSheetText(ws, "99", 3, 0);
    ASSERT_TRUE(sheet.Undo());
    EXPECT_EQ(Dump(ws.sheet), withEight);
    // Nothing changed: a record leaves no step.
    const int steps = sheet.history().undoSteps();
    sheet.RecordStep();
    sheet.SelSht(2);  // a copy changes nothing
    EXPECT_EQ(sheet.history().undoSteps(), steps);
}

TEST_F(SheetHistoryTest, KeepsTheLastHundredStepsAndNoMore) {
    const std::string start = Dump(ws.sheet);
    std::vector<std::string> states{start};
    for (int i = 0; i < SheetUndoSteps + 5; ++i) {
        sheet.PressCell(4, 1);
        sheet.TypeText(std::to_string(i));
        states.push_back(Dump(ws.sheet));
    }
    int undone = 0;
    while (sheet.Undo())
        ++undone;
    EXPECT_EQ(undone, SheetUndoSteps);
    EXPECT_EQ(Dump(ws.sheet), states[5]);
}

TEST(SheetHistoryMemory, AStepHoldsOnlyTheColumnsItChanged) {
    ScriptedDialogs ui;
    Workspace ws{ui};
    TSht1 sheet{ws};
    sheet.FormIni();
    // A full sheet pasted in one go: 130 variables of 500 values.
    std::string text;
    for (int r = 0; r < 500; ++r) {
        for (int c = 0; c < 130; ++c)
            text += std::to_string(r * 130 + c) + (c < 129 ? "\t" : "\n");
    }
    sheet.Paste(text);
    ASSERT_EQ(ws.sheet.FilledCells(), 65000);
    EXPECT_EQ(sheet.history().undoSteps(), 1);
    // The empty sheet before it: names only, no data held twice.
    EXPECT_LT(sheet.history().HeldCells(ws.sheet), 1000);

    // One cell typed: the history keeps that one column's old cells.
    sheet.PressCell(7, 3);
    sheet.TypeText("1");
    EXPECT_LE(sheet.history().HeldCells(ws.sheet), 1000 + 501);
    ASSERT_TRUE(sheet.Undo());
    ASSERT_TRUE(sheet.Undo());
    EXPECT_EQ(ws.sheet.FilledCells(), 0);
    ASSERT_TRUE(sheet.Redo());
    EXPECT_EQ(ws.sheet.FilledCells(), 65000);
    EXPECT_EQ(ws.sheet.Cell(130, 500), "   64999");
}

// Every value of a sheet filled to the store's capacity (130 variables of
// 500 values) rewritten at once, each pass with values of its own.
void RewriteWholeSheet(SheetGrid& grid, int pass) {
    grid.SetVariableCount(130);
    for (int c = 1; c <= 130; ++c) {
        for (int r = 1; r <= 500; ++r)
            grid.SetCell(c, r, std::to_string(pass * 100000 + r * 130 + c));
        grid.SetColumnLength(c, 500);
    }
}

TEST(SheetHistoryMemory, WholeSheetChangesKeepTheHistoryWithinItsBudget) {
    SheetGrid grid;
    SheetHistory history;
    history.Reset(grid);
    std::vector<std::string> states{Dump(grid)};
    for (int pass = 1; pass <= 30; ++pass) {
        RewriteWholeSheet(grid, pass);
        ASSERT_TRUE(history.Record(grid));
        states.push_back(Dump(grid));
        ASSERT_LE(history.HeldCells(grid), SheetUndoHeldCells) << "after change " << pass;
    }
    // The budget holds eight full sheets, so at least eight steps stay.
    const int steps = history.undoSteps();
    EXPECT_GE(steps, 8);
    EXPECT_LT(steps, 30);
    for (int back = 1; back <= steps; ++back) {
        ASSERT_TRUE(history.Undo(grid));
        EXPECT_EQ(Dump(grid), states[states.size() - 1 - back]) << "undo " << back;
    }
    EXPECT_FALSE(history.Undo(grid));
    for (int again = steps - 1; again >= 0; --again)
        ASSERT_TRUE(history.Redo(grid));
    EXPECT_EQ(Dump(grid), states.back());

    // A budget smaller than one change still keeps that newest change whole.
    SheetHistory tight(SheetUndoSteps, 10);
    tight.Reset(grid);
    RewriteWholeSheet(grid, 31);
    tight.Record(grid);
    RewriteWholeSheet(grid, 32);
    tight.Record(grid);
    EXPECT_EQ(tight.undoSteps(), 1);
    ASSERT_TRUE(tight.Undo(grid));
    SheetGrid expected;
    RewriteWholeSheet(expected, 31);
    EXPECT_EQ(Dump(grid), Dump(expected));
    EXPECT_FALSE(tight.Undo(grid));
}

}  // namespace
}  // namespace dalvex
