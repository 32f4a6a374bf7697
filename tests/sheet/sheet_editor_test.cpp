#include "sheet/sheet_editor.h"

#include <gtest/gtest.h>

#include "core/sheet_bridge.h"
#include "core/text.h"

namespace dalvex {
namespace {

class SheetEditorTest : public ::testing::Test {
  protected:
    void SetUp() override { sheet.FormIni(); }

    // Fills columns from rows of texts: rows[r][c] goes to column c + 1, row r + 1.
    void Fill(const std::vector<std::vector<std::string>>& rows) {
        for (std::size_t r = 0; r < rows.size(); ++r)
            for (std::size_t c = 0; c < rows[r].size(); ++c)
                if (!rows[r][c].empty())
                    PutSheetText(ws, rows[r][c], static_cast<int>(c) + 1, static_cast<int>(r));
    }
    std::vector<std::string> Column(int col) {
        std::vector<std::string> out;
        for (int r = 1; r <= ws.sheet.ColumnLength(col); ++r)
            out.push_back(Trim(ws.sheet.Cell(col, r)));
        return out;
    }
    std::string Name(int col) { return Trim(ws.sheet.Cell(col, 0)); }
    void Select(int left, int top, int right, int bottom) {
        sheet.PressCell(left, top);
        sheet.ExtendTo(right, bottom);
    }
    using Col = std::vector<std::string>;

    ScriptedDialogs ui;
    Workspace ws{ui};
    TSht1 sheet{ws};
};

TEST_F(SheetEditorTest, InitialSheet) {
    EXPECT_EQ(ws.sheet.Cell(1, 0), "      x1");
    EXPECT_EQ(ws.sheet.Cell(500, 0), "    x500");
    EXPECT_EQ(ws.sheet.Cell(0, 16000), "16000");
    EXPECT_EQ(ws.sheet.Cell(0, 7), "   7");
    EXPECT_EQ(ws.ActiveWindowKind, 1);
    EXPECT_EQ(sheet.StatusText(), "ВсехX=0, x1=0, y1");
}

TEST_F(SheetEditorTest, TypingReplacesThenAppends) {
    for (const char* ch : {"1", "2", "3"})
        sheet.TypeText(ch);
    EXPECT_EQ(ws.sheet.Cell(1, 1), "     123");
    EXPECT_EQ(ws.sheet.VariableCount(), 1);
    EXPECT_EQ(ws.sheet.ColumnLength(1), 1);
    sheet.Backspace();
    EXPECT_EQ(sheet.EditBoxText(), "12");

    sheet.Enter(1);
    sheet.TypeText("я");
    sheet.PressCell(1, 1);
    sheet.TypeText("9");  // a fresh selection replaces the text
    EXPECT_EQ(Column(1), (Col{"9", "я"}));
    EXPECT_EQ(sheet.StatusText(), "ВсехX=1, x1=2, y1");
}

TEST_F(SheetEditorTest, TypingClearsTheOverflowFlag) {
    ws.sheetOverflow = true;
    sheet.TypeText("1");
    EXPECT_FALSE(ws.sheetOverflow);
}

TEST_F(SheetEditorTest, CursorStaysWithinTheLimits) {
    Fill({{"1", "2"}, {"3"}});
    EXPECT_FALSE(sheet.PressCell(5, 4));  // column too far: (VariableCount + 1, 1)
    EXPECT_EQ(sheet.cursorColumn(), 3);
    EXPECT_EQ(sheet.cursorRow(), 1);
    EXPECT_FALSE(sheet.PressCell(2, 9));  // row too far: one past the data
    EXPECT_EQ(sheet.cursorRow(), 2);
    sheet.ExtendTo(2, 5);
    sheet.Release();  // a refused press collapses the selection to the cursor
    EXPECT_EQ(sheet.selection(), (SheetSelection{2, 2, 2, 2}));
    EXPECT_TRUE(sheet.PressCell(1, 3));
    sheet.MoveCursor(0, 5, false);
    EXPECT_EQ(sheet.cursorRow(), 3);
    sheet.MoveCursor(-3, -9, false);
    EXPECT_EQ(sheet.cursorColumn(), 1);
    EXPECT_EQ(sheet.cursorRow(), 1);
}

TEST_F(SheetEditorTest, EnterMovesDownAndAsksToScrollPastTenRows) {
    for (int i = 0; i < 20; ++i)
        PutSheetText(ws, "1", 1, i);
    sheet.PressCell(1, 10);
    EXPECT_FALSE(sheet.Enter(1));
    EXPECT_EQ(sheet.selection().top, 11);
    EXPECT_TRUE(sheet.Enter(1));
    EXPECT_EQ(sheet.selection(), (SheetSelection{1, 12, 1, 12}));
}

TEST_F(SheetEditorTest, InsertPutsAZeroAndShiftsDown) {
    Fill({{"1"}, {"2"}, {"3"}});
    sheet.PressCell(1, 3);  // the last filled cell
    sheet.InsertZero();
    EXPECT_EQ(Column(1), (Col{"1", "2", "0", "3"}));
    sheet.PressCell(1, 1);
    sheet.InsertZero();
    EXPECT_EQ(Column(1), (Col{"0", "1", "2", "0", "3"}));
    sheet.PressCell(1, 6);  // one past the data
    sheet.InsertZero();
    EXPECT_EQ(ws.sheet.ColumnLength(1), 6);
}

TEST_F(SheetEditorTest, InsertOnAFullSheetLeavesTheColumnIntact) {
    for (int c = 1; c <= 4; ++c)
        for (int obs = 0; obs < SheetRows; ++obs)
            PutSheetText(ws, std::to_string(obs), c, obs);
    for (int obs = 0; obs < 1000; ++obs)
        PutSheetText(ws, std::to_string(obs), 5, obs);
    sheet.PressCell(5, 1);
    sheet.InsertZero();
    EXPECT_EQ(ws.sheet.ColumnLength(5), 1000);
    EXPECT_EQ(Trim(ws.sheet.Cell(5, 1)), "0");
    EXPECT_EQ(Trim(ws.sheet.Cell(5, 2)), "1");
    EXPECT_EQ(Trim(ws.sheet.Cell(5, 1000)), "999");
    EXPECT_EQ(ui.notices().size(), 1u);
    // A full column cannot move down either.
    sheet.PressCell(1, 1);
    ws.sheetOverflow = false;
    sheet.InsertZero();
    EXPECT_EQ(Trim(ws.sheet.Cell(1, SheetRows)), "15999");
}

TEST_F(SheetEditorTest, DeletingRowsMovesTheRestUp) {
    Fill({{"1"}, {"2"}, {"3"}, {"4"}, {"5"}});
    Select(1, 2, 1, 3);
    sheet.SelSht(0);
    EXPECT_EQ(Column(1), (Col{"1", "4", "5"}));
    EXPECT_EQ(Trim(ws.sheet.Cell(1, 4)), "");
}

TEST_F(SheetEditorTest, DeletingAWholeColumnAsksAndRemovesIt) {
    Fill({{"1", "2", "3"}, {"4", "5", "6"}});
    PutSheetText(ws, "рост", 2, -1);
    sheet.ClickColumnName(2);
    EXPECT_EQ(sheet.EditBoxText(), "рост");
    ui.ExpectYesNo("", false);
    sheet.DeleteCommand(false);
    EXPECT_EQ(ws.sheet.VariableCount(), 3);
    ASSERT_EQ(ui.questions().size(), 1u);
    EXPECT_EQ(ui.questions()[0], "Удалить переменную рост?");

    ui.ExpectYesNo("рост", true);
    sheet.DeleteCommand(false);
    EXPECT_EQ(ws.sheet.VariableCount(), 2);
    EXPECT_EQ(Column(2), (Col{"3", "6"}));
    EXPECT_EQ(Name(2), "x3");
    EXPECT_EQ(Name(3), "x3+");  // the freed column's default name collides with its neighbour
    EXPECT_EQ(ws.sheet.ColumnLength(3), 0);
    EXPECT_TRUE(Trim(ws.sheet.Cell(3, 1)).empty());

    sheet.DeleteCommand(true);  // ignored while the EditBox has the focus
    EXPECT_TRUE(ui.scriptDone());
}

TEST_F(SheetEditorTest, DeletingObservationsKeepsLabelsWithTheirData) {
    Fill({{"1", "10"}, {"2", "20"}, {"3", "30"}, {"4", "40"}});
    PutSheetText(ws, "а", 0, 0);
    PutSheetText(ws, "в", 0, 2);
    sheet.ClickRowLabel(2);
    EXPECT_EQ(sheet.selection(), (SheetSelection{1, 2, 2, 2}));
    sheet.SelSht(0);
    EXPECT_EQ(Column(1), (Col{"1", "3", "4"}));
    EXPECT_EQ(Column(2), (Col{"10", "30", "40"}));
    // Given labels move up with their rows; default numbers stay numbers.
    EXPECT_EQ(Trim(ws.sheet.Cell(0, 1)), "а");
    EXPECT_EQ(Trim(ws.sheet.Cell(0, 2)), "в");
    EXPECT_EQ(Trim(ws.sheet.Cell(0, 3)), "3");
    EXPECT_EQ(Trim(ws.sheet.Cell(0, 4)), "4");
}

TEST_F(SheetEditorTest, CopyWritesTabbedLinesWithQuestionMarksForEmptyCells) {
    Fill({{"1", "2"}, {"3"}});
    Select(1, 1, 2, 2);
    sheet.SelSht(2);
    EXPECT_EQ(sheet.clipboardText(), "1\t2\n3\t?\n");
    EXPECT_EQ(Column(1), (Col{"1", "3"}));
    sheet.SelSht(1);  // cut
    EXPECT_EQ(sheet.clipboardText(), "1\t2\n3\t?\n");
    EXPECT_EQ(ws.sheet.VariableCount(), 0);
}

TEST_F(SheetEditorTest, PasteCreatesVariablesAndInsertsWithoutOverwriting) {
    sheet.Paste("1\t2\t3\r\n4\t5,5\t6\r\n");
    EXPECT_EQ(ws.sheet.VariableCount(), 3);
    for (int c = 1; c <= 3; ++c)
        EXPECT_EQ(ws.sheet.ColumnLength(c), 2);
    EXPECT_EQ(SheetValue(ws, 2, 1), 5.5);

    sheet.PressCell(2, 1);
    sheet.Paste("a b");
    EXPECT_EQ(Column(2), (Col{"a", "2", "5.5"}));
    EXPECT_EQ(Column(3), (Col{"b", "3", "6"}));
    sheet.Paste("");
    EXPECT_EQ(Column(2).size(), 3u);
}

TEST_F(SheetEditorTest, PasteTreatsRunsOfBlanksAsOneSeparator) {
    sheet.Paste("   1.5    2.5\n  3 4\n");
    EXPECT_EQ(ws.sheet.VariableCount(), 2);
    EXPECT_EQ(Column(2), (Col{"2.5", "4"}));
    sheet.PressCell(3, 1);
    sheet.Paste("1\t\t3\n");  // an empty field between TABs keeps its column
    EXPECT_EQ(ws.sheet.VariableCount(), 5);
    EXPECT_EQ(Column(5), (Col{"3"}));
}

TEST_F(SheetEditorTest, HostileClipboardTextNeverPassesTheCapacity) {
    std::string wide;
    for (int i = 0; i < 3000; ++i)
        wide += "1\t";
    wide += "\n";
    std::string text;
    for (int i = 0; i < 200; ++i)
        text += wide;  // 200 lines of 3000 columns
    text += std::string("\x00\x01\xff\xfe binary", 11);
    sheet.Paste(text);
    EXPECT_EQ(ws.sheet.VariableCount(), SheetColumns);
    EXPECT_EQ(ws.sheet.FilledCells(), CellCapacity);
    EXPECT_LE(ws.sheet.FilledCells(), CellCapacity);
    EXPECT_EQ(ui.notices().size(), 1u);

    sheet.ShtFre();
    sheet.Paste(std::string("\x00\x01\xff\xfe binary", 11));
    EXPECT_EQ(Column(1), (Col{"????"}));
    EXPECT_EQ(Column(2), (Col{"binary"}));

    std::string tall;
    for (int i = 0; i < 70000; ++i)
        tall += "7\n";
    sheet.ShtFre();
    ui.ClearLog();
    sheet.Paste(tall);
    EXPECT_EQ(ws.sheet.ColumnLength(1), SheetRows);
    EXPECT_EQ(ui.notices().size(), 1u);
}

TEST_F(SheetEditorTest, TenMegabytesOfClipboardTextArePlacedOrRefusedQuickly) {
    sheet.Paste(std::string(10'000'000, 'z'));  // one huge token: the cell keeps 255 characters
    EXPECT_EQ(CharLength(ws.sheet.Cell(1, 1)), static_cast<std::size_t>(MaxCellChars));
    sheet.ShtFre();
    sheet.Paste(std::string(10'000'000, '\n') + "5");  // ten million empty lines, then a value
    EXPECT_EQ(ws.sheet.VariableCount(), 0);
    ASSERT_EQ(ui.notices().size(), 1u);
    EXPECT_EQ(ui.notices()[0], SheetOverflowText());
}

TEST_F(SheetEditorTest, PasteIntoAFullColumnIsRefusedWithoutLosingItsLastValue) {
    for (int obs = 0; obs < SheetRows; ++obs)
        PutSheetText(ws, std::to_string(obs), 1, obs);
    sheet.PressCell(1, 1);
    sheet.Paste("x\n");
    EXPECT_EQ(Trim(ws.sheet.Cell(1, 1)), "0");
    EXPECT_EQ(Trim(ws.sheet.Cell(1, SheetRows)), "15999");
    EXPECT_EQ(ui.notices().size(), 1u);
}

TEST_F(SheetEditorTest, DraggingAVariableMakesANamedCopy) {
    Fill({{"1", "2", "3", "4"}, {"5", "6", "7", "8"}, {"9"}});
    sheet.DragColumn(1, 3);
    EXPECT_EQ(ws.sheet.VariableCount(), 5);
    EXPECT_EQ(Name(3), "x1+");
    EXPECT_EQ(Column(3), (Col{"1", "5", "9"}));
    EXPECT_EQ(Name(4), "x3");
    EXPECT_EQ(Column(4), (Col{"3", "7"}));
    EXPECT_EQ(Column(5), (Col{"4", "8"}));

    sheet.DragColumn(5, 1);  // a copy to the left shifts the source too
    EXPECT_EQ(Name(1), "x4+");
    EXPECT_EQ(Column(1), (Col{"4", "8"}));
    EXPECT_EQ(Column(2), (Col{"1", "5", "9"}));
    EXPECT_TRUE(Trim(ws.sheet.Cell(1, 3)).empty());  // surplus rows of the former column 1
    EXPECT_EQ(ws.sheet.VariableCount(), 6);

    sheet.DragColumn(1, 9);  // far to the right: every column up to it is a variable
    EXPECT_EQ(ws.sheet.VariableCount(), 9);
    EXPECT_EQ(Column(9), (Col{"4", "8"}));
}

TEST_F(SheetEditorTest, DragThatDoesNotFitChangesNothing) {
    for (int c = 1; c <= 4; ++c)
        for (int obs = 0; obs < SheetRows; ++obs)
            PutSheetText(ws, "1", c, obs);
    sheet.DragColumn(1, 2);
    EXPECT_EQ(ws.sheet.VariableCount(), 4);
    EXPECT_EQ(Name(2), "x2");
    EXPECT_EQ(ui.notices().size(), 1u);
}

TEST_F(SheetEditorTest, ClearResetsNamesLabelsAndCursor) {
    Fill({{"1", "2"}, {"3", "4"}});
    PutSheetText(ws, "имя", 1, -1);
    PutSheetText(ws, "метка", 0, 1);
    sheet.PressCell(2, 2);
    sheet.ShtFre();
    EXPECT_EQ(ws.sheet.VariableCount(), 0);
    EXPECT_EQ(ws.sheet.ColumnLength(1), 0);
    EXPECT_EQ(Name(1), "x1");
    EXPECT_EQ(Trim(ws.sheet.Cell(0, 2)), "2");
    EXPECT_EQ(sheet.selection(), (SheetSelection{1, 1, 1, 1}));
    EXPECT_TRUE(Trim(ws.sheet.Cell(2, 2)).empty());
}

TEST_F(SheetEditorTest, HeaderClicksSelectAndCollapse) {
    Fill({{"1", "2"}, {"3", "4"}, {"5"}});
    sheet.ClickColumnName(1);
    EXPECT_EQ(sheet.selection(), (SheetSelection{1, 1, 1, 3}));
    sheet.ClickColumnName(1);
    EXPECT_EQ(sheet.selection(), (SheetSelection{1, 1, 1, 1}));
    sheet.ClickCorner();
    EXPECT_EQ(sheet.selection(), (SheetSelection{1, 1, 2, 3}));
    sheet.ClickCorner();
    EXPECT_EQ(sheet.selection(), (SheetSelection{1, 1, 1, 1}));
    sheet.ClickRowLabel(9);  // beyond the first column's data: nothing happens
    EXPECT_EQ(sheet.selection(), (SheetSelection{1, 1, 1, 1}));
}

TEST_F(SheetEditorTest, EditBoxEditsNameLabelOrCell) {
    Fill({{"1"}});
    sheet.ClickColumnName(1);
    sheet.EditBoxChanged("вес");
    EXPECT_EQ(Name(1), "вес");
    EXPECT_EQ(Column(1), (Col{"1"}));
    sheet.ClickRowLabel(1);
    sheet.EditBoxChanged("Иванов");
    EXPECT_EQ(Trim(ws.sheet.Cell(0, 1)), "Иванов");
    sheet.PressCell(1, 1);  // one variable of one value: still the value is edited
    sheet.EditBoxChanged("2,5");
    EXPECT_EQ(SheetValue(ws, 1, 0), 2.5);
    EXPECT_EQ(Name(1), "вес");
}

TEST_F(SheetEditorTest, ContextMenuDeletesVariableOrRow) {
    Fill({{"1", "2"}, {"3", "4"}});
    sheet.PressCell(2, 2);
    sheet.DeleteRow();
    EXPECT_EQ(Column(1), (Col{"1"}));
    EXPECT_EQ(Column(2), (Col{"2"}));
    sheet.PressCell(1, 1);
    ui.ExpectYesNo("x1", true);
    sheet.DeleteVariable();
    EXPECT_EQ(ws.sheet.VariableCount(), 1);
    EXPECT_EQ(Column(1), (Col{"2"}));
}

TEST_F(SheetEditorTest, ScrollingStaysNearTheData) {
    Fill({{"1", "2"}, {"3"}});
    for (int i = 0; i < 50; ++i)
        PutSheetText(ws, "1", 2, i);
    EXPECT_EQ(sheet.LimitScroll({7, 1}, 600), (SheetScroll{2, 1}));
    EXPECT_EQ(sheet.LimitScroll({1, 100}, 600), (SheetScroll{1, 50}));
    EXPECT_EQ(sheet.LimitScroll({1, 100}, 60), (SheetScroll{1, 2}));  // only column 1 visible
    sheet.ShtFre();
    EXPECT_EQ(sheet.LimitScroll({5, 5}, 600), (SheetScroll{1, 1}));
}

TEST_F(SheetEditorTest, PrintLinesPadCellsToTen) {
    EXPECT_TRUE(sheet.PrintLines().empty());
    Fill({{"1", "2"}, {"", "4"}});
    const auto lines = sheet.PrintLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "        x1        x2");
    EXPECT_EQ(lines[1], "         1         2");
    EXPECT_EQ(lines[2], std::string(10, ' ') + "         4");
}

}  // namespace
}  // namespace dalvex
