#include "core/sheet_bridge.h"

#include <gtest/gtest.h>

#include "core/text.h"

namespace dalvex {
namespace {

class SheetBridgeTest : public ::testing::Test {
  protected:
    ScriptedDialogs ui;
    Workspace ws{ui};
};

TEST_F(SheetBridgeTest, ReadsCellsAsNumbers) {
    PutSheetText(ws, "1,5", 1, 0);
    PutSheetText(ws, "abc", 1, 1);
    PutSheetText(ws, "  -2e3 ", 1, 2);
    EXPECT_EQ(SheetValue(ws, 1, 0), 1.5);
    EXPECT_EQ(SheetValue(ws, 1, 1), MissingValue);
    EXPECT_EQ(SheetValue(ws, 1, 2), -2000);
    EXPECT_EQ(SheetValue(ws, 1, 3), MissingValue);  // empty
    EXPECT_EQ(SheetValue(ws, 999, 0), MissingValue);
}

TEST_F(SheetBridgeTest, WritesPadAndKeepTheBookkeeping) {
    EXPECT_TRUE(PutSheetText(ws, " 12 ", 1, 4));
    EXPECT_EQ(ws.sheet.Cell(1, 5), "      12");
    EXPECT_EQ(ws.sheet.ColumnLength(1), 5);
    EXPECT_EQ(ws.sheet.VariableCount(), 1);
    PutSheetText(ws, "a much longer text", 1, 0);
    EXPECT_EQ(ws.sheet.Cell(1, 1), "a much longer text");
    PutSheetText(ws, "рост", 2, -1);
    EXPECT_EQ(ws.sheet.Cell(2, 0), "    рост");
    EXPECT_EQ(VariableName(ws, 1), "рост");
    EXPECT_EQ(PaddedVariableName(ws, 1), "     рост");
    EXPECT_EQ(VariableName(ws, 0), "x1");
    PutSheetText(ws, std::string(300, 'z'), 1, 1);
    EXPECT_EQ(ws.sheet.Cell(1, 2).size(), static_cast<std::size_t>(MaxCellChars));
}

// A write several columns past the last variable must not leave data where
// it can be neither saved nor selected.
TEST_F(SheetBridgeTest, FarWriteMakesEveryColumnUpToItAVariable) {
    PutSheetText(ws, "1", 1, 0);
    PutSheetText(ws, "2", 4, 0);
    EXPECT_EQ(ws.sheet.VariableCount(), 4);
    EXPECT_EQ(ws.sheet.ColumnLength(2), 0);
}

TEST_F(SheetBridgeTest, ValuesUseTwiceTheSignificantDigits) {
    PutSheetValue(ws, 1, 0, 3.14159265358979);
    EXPECT_EQ(Trim(ws.sheet.Cell(1, 1)), "3.1415927");
    ws.settings.decimalSeparator = ',';
    PutSheetValue(ws, 1, 1, 0.5);
    EXPECT_EQ(ws.sheet.Cell(1, 2), "     0,5");
    EXPECT_EQ(SheetValue(ws, 1, 1), 0.5);
}

TEST_F(SheetBridgeTest, WriteRowToSheetAddsAVariable) {
    ASSERT_TRUE(ws.store.Allocate());
    PutSheetText(ws, "1", 1, 0);
    ws.store.SetRowWidth(0, 10);
    for (int i = 0; i < 3; ++i)
        ws.store.Data(1, i) = i * 0.25;
    WriteRowToSheet(ws, 1, 2);
    EXPECT_EQ(ws.sheet.VariableCount(), 2);
    EXPECT_EQ(ws.sheet.ColumnLength(2), 3);
    EXPECT_EQ(SheetValue(ws, 2, 2), 0.5);
}

TEST_F(SheetBridgeTest, OverflowIsRefusedWithOneNoticeUntilAWriteSucceeds) {
    // Fill the sheet to exactly CellCapacity values: 4 full columns and one of 1000.
    for (int c = 1; c <= 4; ++c)
        for (int obs = 0; obs < SheetRows; ++obs)
            ASSERT_TRUE(PutSheetText(ws, "1", c, obs));
    for (int obs = 0; obs < 1000; ++obs)
        ASSERT_TRUE(PutSheetText(ws, "1", 5, obs));
    EXPECT_EQ(ws.sheet.FilledCells(), CellCapacity);
    EXPECT_TRUE(ui.notices().empty());

    EXPECT_FALSE(PutSheetText(ws, "2", 5, 1000));  // the 65001st value
    EXPECT_FALSE(PutSheetText(ws, "2", 6, 0));
    EXPECT_EQ(ws.sheet.VariableCount(), 5);
    ASSERT_EQ(ui.notices().size(), 1u);
    EXPECT_EQ(ui.notices()[0], "!ПЕРЕПОЛНЕНА ЭЛЕКТРОННАЯ ТАБЛИЦА: 65000!");

    // Changing a value in place adds nothing, so a full sheet stays editable.
    EXPECT_TRUE(PutSheetText(ws, "7", 5, 999));
    EXPECT_FALSE(PutSheetText(ws, "2", 5, 1000));
    EXPECT_EQ(ui.notices().size(), 2u);
}

TEST_F(SheetBridgeTest, AGapWriteCannotTakeTheSheetPastCapacity) {
    for (int c = 1; c <= 4; ++c)
        for (int obs = 0; obs < SheetRows; ++obs)
            PutSheetText(ws, "1", c, obs);
    EXPECT_FALSE(PutSheetText(ws, "1", 5, 1000));  // would add 1001 values to 64000
    EXPECT_TRUE(PutSheetText(ws, "1", 5, 999));
    EXPECT_FALSE(PutSheetText(ws, "1", 1, SheetRows));  // outside the grid
}

TEST_F(SheetBridgeTest, AskYesNoLeavesItsAnswer) {
    ui.ExpectYesNo("Удалить", true).ExpectYesNo("", false);
    EXPECT_TRUE(AskYesNo(ws, "Удалить переменную x1?"));
    EXPECT_EQ(ws.LastAnswer, 1);
    EXPECT_FALSE(AskYesNo(ws, "Ещё?"));
    EXPECT_EQ(ws.LastAnswer, 2);
    EXPECT_THROW(AskYesNo(ws, "Лишний вопрос"), ScriptMismatch);
}

TEST_F(SheetBridgeTest, ScriptNamesBothQuestionsOnMismatch) {
    ui.ExpectYesNo("Закончить", true);
    try {
        AskYesNo(ws, "Удалить переменную x1?");
        FAIL();
    } catch (const ScriptMismatch& e) {
        EXPECT_NE(std::string(e.what()).find("Закончить"), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("Удалить переменную x1?"), std::string::npos);
    }
}

TEST_F(SheetBridgeTest, TextBufferKeeps255Characters) {
    std::string text;
    for (int i = 0; i < 300; ++i)
        text += "я";
    ws.SetTextBuffer(text);
    EXPECT_EQ(CharLength(ws.TextBuffer()), 255u);
}

}  // namespace
}  // namespace dalvex
