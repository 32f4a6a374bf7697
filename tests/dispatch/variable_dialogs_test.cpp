#include "dispatch/variable_dialogs.h"

#include <cstdio>
#include <memory>

#include "core/settings.h"
#include "dispatch_fixture.h"

namespace dalvex {
namespace {

class VariableDialogsTest : public DispatchFixture {
  protected:
    void FourVariables() { Sheet({{"a", "1"}, {"b", "2"}, {"c", "3"}, {"d", "4"}}); }
    std::vector<std::string> Memory(const char* file) {
        std::vector<std::string> lines;
        ReadLinesFile(ws.ProgramFolder + file, lines);
        return lines;
    }
};

TEST_F(VariableDialogsTest, ItemIsTheNamePaddedToTwentyFiveCharactersThenTheColumn) {
    Sheet({{"Длина", "1"}});
    const std::string item = VariableItem(ws, 1);
    EXPECT_EQ(item, "Длина" + std::string(20, ' ') + "1");
    EXPECT_EQ(ItemColumn(item), 1);
    EXPECT_EQ(ItemColumn("x" + std::string(24, ' ') + "12"), 12);
    EXPECT_EQ(ItemColumn("x" + std::string(24, ' ') + "1a"), std::nullopt);
    EXPECT_EQ(ItemColumn("short"), std::nullopt);
}

TEST_F(VariableDialogsTest, ListDialogChoosesInTheOrderIncludedAndRemembersIt) {
    FourVariables();
    Tq30 dialog(ws);
    ASSERT_EQ(dialog.lists()[0].items.size(), 4u);
    dialog.Press(VariableAction::Include, {{2}});     // c
    dialog.Press(VariableAction::Include, {{0, 2}});  // a, d
    dialog.DoubleClick(1, 1);                         // a goes back, at the end
    EXPECT_EQ(dialog.lists()[0].items.back(), VariableItem(ws, 1));
    dialog.Press(VariableAction::Confirm, {});
    ASSERT_TRUE(dialog.closed());
    EXPECT_EQ(ws.LastAnswer, 1);
    EXPECT_EQ(Selected(), (std::vector<int>{3, 4}));
    EXPECT_EQ(Memory(ListDialogMemory),
              (std::vector<std::string>{VariableItem(ws, 3), VariableItem(ws, 4)}));
}

TEST_F(VariableDialogsTest, ListDialogConfirmedEmptyOrCancelledAnswersZero) {
    FourVariables();
    for (VariableAction action : {VariableAction::Confirm, VariableAction::Cancel}) {
        Tq30 dialog(ws);
        dialog.Press(action, {});
        EXPECT_TRUE(dialog.closed());
        EXPECT_EQ(ws.LastAnswer, 0);
        EXPECT_EQ(ws.SelectedColumns[0], 0);
    }
}

// "… и нажмите <Enter>": Enter takes the highlighted variables, then
// confirms; with none highlighted it is "Утвердить".
TEST_F(VariableDialogsTest, EnterChoosesTheHighlightedVariables) {
    FourVariables();
    struct Case {
        const char* what;
        bool single;
        std::vector<std::vector<int>> highlighted;
        int answer;
        std::vector<int> chosen;
    };
    const std::vector<Case> cases{
        {"list, two highlighted", false, {{1, 3}}, 1, {2, 4}},
        {"list, none highlighted", false, {}, 0, {}},
        {"single, one highlighted", true, {{2}}, 1, {3}},
        {"single, several: the first", true, {{1, 2}}, 1, {2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::remove((ws.ProgramFolder + SingleDialogMemory).c_str());
        std::unique_ptr<VariableDialog> dialog;
        if (c.single)
            dialog = std::make_unique<Tq030>(ws);
        else
            dialog = std::make_unique<Tq30>(ws);
        dialog->Press(VariableAction::Enter, c.highlighted);
        EXPECT_TRUE(dialog->closed());
        EXPECT_EQ(ws.LastAnswer, c.answer);
        EXPECT_EQ(Selected(), c.chosen);
    }
}

// The remembered items name a variable by name and column; after the data
// changed only variables matching both come back.
TEST_F(VariableDialogsTest, RestoreAfterTheDataChangedTakesOnlyExactMatches) {
    FourVariables();
    {
        Tq30 dialog(ws);
        dialog.Press(VariableAction::All, {});
        dialog.Press(VariableAction::Confirm, {});
    }
    ws.sheet.Reset();
    Sheet({{"a", "1"}, {"c", "2"}, {"b", "3"}, {"d", "4"}, {"e", "5"}});
    Tq30 dialog(ws);
    dialog.Press(VariableAction::Restore, {});
    dialog.Press(VariableAction::Confirm, {});
    EXPECT_EQ(Selected(), (std::vector<int>{1, 4}));
}

TEST_F(VariableDialogsTest, ListDialogReadsPairsOnlyWhenTheMethodOffersIt) {
    FourVariables();
    WriteLinesFile(ws.ProgramFolder + "pairs.txt", {"1 2", "3 4"});
    ui.ExpectFile(0, ws.ProgramFolder + "pairs.txt");
    Tq30 plain(ws);
    EXPECT_EQ(plain.buttons().size(), 6u);
    Tq30 dialog(ws, true);
    EXPECT_EQ(dialog.buttons().size(), 7u);
    dialog.Press(VariableAction::Include, {{0}});
    dialog.Press(VariableAction::ReadPairs, {});
    EXPECT_TRUE(dialog.closed());
    EXPECT_TRUE(ws.PairListRead);
    EXPECT_EQ(ws.LineBuffer, (std::vector<std::string>{"1 2", "3 4"}));
    EXPECT_EQ(ui.fileRequests().at(0).filter, PairFileFilter);
}

TEST_F(VariableDialogsTest, SingleDialogWithOneVariableChoosesItAtOnce) {
    Sheet({{"only", "1"}});
    ws.LastAnswer = 7;
    Tq030 dialog(ws);
    EXPECT_TRUE(dialog.closed());
    EXPECT_EQ(ws.LastAnswer, 1);
    EXPECT_EQ(Selected(), std::vector<int>{1});
    // The opener shows nothing: the script holds no answer and is not asked.
    EXPECT_EQ(pq030(ws), 1);
}

TEST_F(VariableDialogsTest, SingleDialogIncludeConfirmsAndIsRememberedExactly) {
    FourVariables();
    {
        Tq030 dialog(ws);
        dialog.Press(VariableAction::Include, {{1}});
        ASSERT_TRUE(dialog.closed());
        EXPECT_EQ(Selected(), std::vector<int>{2});
        EXPECT_EQ(Memory(SingleDialogMemory), std::vector<std::string>{VariableItem(ws, 2)});
    }
    {  // confirming with nothing chosen offers the remembered variable
        Tq030 dialog(ws);
        dialog.Press(VariableAction::Confirm, {});
        EXPECT_FALSE(dialog.closed());
        EXPECT_EQ(dialog.lists()[1].items, std::vector<std::string>{VariableItem(ws, 2)});
        EXPECT_EQ(dialog.lists()[0].items.size(), 3u);
        dialog.Press(VariableAction::Confirm, {});
        EXPECT_EQ(Selected(), std::vector<int>{2});
    }
    // "b" now stands in column 3: the remembered item no longer matches.
    ws.sheet.Reset();
    Sheet({{"a", "1"}, {"x", "2"}, {"b", "3"}});
    Tq030 dialog(ws);
    dialog.Press(VariableAction::Confirm, {});
    EXPECT_TRUE(dialog.closed());
    EXPECT_EQ(ws.LastAnswer, 0);
    EXPECT_EQ(ws.SelectedColumns[0], 0);
}

TEST_F(VariableDialogsTest, SimpleRegressionRefusesASecondXAndADoubleClickMakesY) {
    FourVariables();
    ws.AnswerNumber = 1;
    Tq31 dialog(ws);
    dialog.Press(VariableAction::ChooseX, {{0, 1}});
    EXPECT_EQ(dialog.lists()[1].items, std::vector<std::string>{VariableItem(ws, 1)});
    dialog.Press(VariableAction::ChooseX, {{0}});
    EXPECT_EQ(dialog.lists()[1].items.size(), 1u);
    dialog.DoubleClick(0, 2);  // d
    EXPECT_EQ(dialog.lists()[2].items, std::vector<std::string>{VariableItem(ws, 4)});
    dialog.Press(VariableAction::Confirm, {});
    EXPECT_EQ(Selected(), (std::vector<int>{1, 4}));
}

TEST_F(VariableDialogsTest, AllInTheRegressionDialogMakesTheLastVariableY) {
    FourVariables();
    ws.AnswerNumber = 0;
    Tq31 dialog(ws);
    dialog.Press(VariableAction::All, {});
    dialog.Press(VariableAction::Confirm, {});
    EXPECT_EQ(ws.SelectedColumns[0], 4);
    EXPECT_EQ(Selected(), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(Memory(RegressionDialogMemory).size(), 4u);

    Tq31 withY(ws);  // with Y chosen first, all the others become X
    withY.Press(VariableAction::ChooseY, {{1}});
    withY.Press(VariableAction::All, {});
    withY.Press(VariableAction::Confirm, {});
    EXPECT_EQ(Selected(), (std::vector<int>{1, 3, 4, 2}));
}

TEST_F(VariableDialogsTest, RegressionDialogNeedsAYAndRestoresXsThenY) {
    FourVariables();
    ws.AnswerNumber = 0;
    {
        Tq31 dialog(ws);
        dialog.Press(VariableAction::ChooseX, {{1, 2}});
        dialog.Press(VariableAction::Confirm, {});
        EXPECT_FALSE(dialog.closed());
        dialog.Press(VariableAction::ChooseY, {{0}});
        dialog.Press(VariableAction::Exclude, {{}, {0}, {}});  // b goes back
        dialog.Press(VariableAction::Confirm, {});
        EXPECT_EQ(Selected(), (std::vector<int>{3, 1}));
    }
    Tq31 dialog(ws);
    dialog.Press(VariableAction::Restore, {});
    EXPECT_EQ(dialog.lists()[1].items, std::vector<std::string>{VariableItem(ws, 3)});
    EXPECT_EQ(dialog.lists()[2].items, std::vector<std::string>{VariableItem(ws, 1)});
}

TEST_F(VariableDialogsTest, ScriptAnswersAndRefusesByColumnNumbers) {
    FourVariables();
    ui.ExpectVariables("Анализ переменных",
                       {{VariableAction::Include, {4, 2}}, {VariableAction::Confirm, {}}});
    EXPECT_EQ(pq30(ws), 1);
    EXPECT_EQ(Selected(), (std::vector<int>{2, 4}));

    ui.ExpectVariables("Анализ переменных", {{VariableAction::Include, {9}}});
    EXPECT_THROW(pq30(ws), ScriptMismatch);
    ui.ExpectVariables("Переменные регрессии", {{VariableAction::Cancel, {}}});
    EXPECT_THROW(pq30(ws), ScriptMismatch);
}

}  // namespace
}  // namespace dalvex
