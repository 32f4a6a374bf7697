// The menu and its dialogs through scripted answers: the user-program entry,
// the undo of the last transformation, the dialogs' memories.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/help_index.h"

#include "dispatch/command_frame.h"
#include "transform/transformations_menu.h"
#include "transform_fixture.h"

namespace dalvex {
namespace {

class MenuTest : public TransformTest {
  protected:
    MenuTest() {
        Column(1, "x", {"100", "0", "-5"});
        Column(2, "y", {"a", "b", "c"});
    }
    int RunMenu() {
        TTrMet menu(ws, form, undo, BlockOfSelection(ws, 1, 1, 1, 1));
        return menu.Run();
    }
    TSMForm form{ws};
    TransformUndo undo;
};

TEST_F(MenuTest, TheUserProgramEntrySaysNoProgramIsAttachedAndChangesNothing) {
    ui.ExpectForm("Преобразования", UserProgramChoice, {"10", "0", "3"});
    ui.ExpectForm("Преобразования", 0);
    const SheetGrid before = ws.sheet;
    EXPECT_EQ(RunMenu(), 0);
    EXPECT_EQ(ui.notices(), std::vector<std::string>{NoUserProgramText(3)});
    EXPECT_TRUE(ChangedColumns(before, ws.sheet).empty());
}

TEST_F(MenuTest, AStandardFunctionIsReportedAndUndoneOnce) {
    ui.ExpectForm("Преобразования", 1);
    ui.ExpectForm("Стандартные функции", 1);
    ui.ExpectForm("Стандартные функции", 0);
    EXPECT_EQ(RunMenu(), 1);
    EXPECT_EQ(Texts(1), (std::vector<std::string>{"2", "0", "0"}));
    EXPECT_EQ(ui.notices(), std::vector<std::string>{"Заменено недопустимых аргументов=2"});
    ASSERT_EQ(report.lines.size(), 1u);
    EXPECT_NE(report.lines[0].find("изменены x"), std::string::npos) << report.lines[0];
    // A missing "qtrop.ini" only beeps; the defaults stay.
    EXPECT_GE(ui.beeps(), 1);
    EXPECT_TRUE(std::filesystem::exists(folder / StandardFunctionsMemory));

    ui.ExpectForm("Преобразования", UndoChoice);
    RunMenu();
    EXPECT_EQ(Texts(1), (std::vector<std::string>{"100", "0", "-5"}));
    ui.ClearLog();
    ui.ExpectForm("Преобразования", UndoChoice);
    RunMenu();
    EXPECT_EQ(ui.notices(), std::vector<std::string>{NothingToUndoText});
}

TEST_F(MenuTest, UndoRefusesWhenTheSheetChangedSince) {
    ui.ExpectForm("Преобразования", 11);
    RunMenu();
    EXPECT_EQ(ws.sheet.VariableCount(), 3);
    PutSheetText(ws, "edited", 1, 0);
    ui.ExpectForm("Преобразования", UndoChoice);
    RunMenu();
    EXPECT_EQ(ui.notices(), std::vector<std::string>{SheetChangedSinceText});
    EXPECT_EQ(ws.sheet.VariableCount(), 3);
}

TEST_F(MenuTest, ANonNumberParameterIsRefusedAtItsField) {
    ui.ExpectForm("Преобразования", 1);
    ui.ExpectForm("Стандартные функции", 6, {"два"});
    RunMenu();
    EXPECT_EQ(ui.notices(), std::vector<std::string>{"!ПАРАМЕТР a НЕ ЯВЛЯЕТСЯ ЧИСЛОМ!"});
    EXPECT_EQ(Texts(1), (std::vector<std::string>{"100", "0", "-5"}));
}

// Every transformation's dialogs take help context choice + 50.
TEST(TransformHelpPages, EveryChoiceHasItsPage) {
    std::ifstream in(std::filesystem::path(DALVEX_RESOURCE_DIR) / "help" / "index.txt",
                     std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    const HelpIndex index = HelpIndex::Parse(text.str());
    for (int choice = 1; choice <= 12; ++choice) {
        const HelpTopic* topic = index.Find(choice + 50);
        ASSERT_NE(topic, nullptr) << choice;
        EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(DALVEX_RESOURCE_DIR) / "help" /
                                            topic->file))
            << topic->file;
    }
}

}  // namespace
}  // namespace dalvex
