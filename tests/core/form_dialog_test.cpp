#include "core/form_dialog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "core/user_dialogs.h"
#include "core/workspace.h"
#include "support/temp_folder.h"

namespace dalvex {
namespace {

namespace fs = std::filesystem;

FormDialog ArimaLikeForm() {
    FormDialog form;
    form.caption = "Параметры";
    form.Group("Введите параметры ")
        .Field("Порядок=", "2", "подсказка")
        .Field("Шаг=", "1")
        .Group("")
        .Check("Адаптация", true)
        .Choice("Тренд= ", {"нет", "линейный", "парабола"}, 1)
        .Button("Утвердить", 1)
        .Button("Отменить", 0);
    return form;
}

TEST(FormDialogTest, FieldsRunInFormOrderAcrossGroups) {
    FormDialog form = ArimaLikeForm();
    EXPECT_EQ(form.FieldCount(), 4);
    EXPECT_EQ(form.Values(), (std::vector<std::string>{"2", "1", "1", "1"}));
    EXPECT_EQ(form.FieldAt(2).kind, FormFieldKind::Check);
    EXPECT_EQ(form.FieldAt(3).items.size(), 3u);
    EXPECT_EQ(form.FieldAt(0).hint, "подсказка");

    form.SetValues({"5"});  // fewer texts: the rest stay
    EXPECT_EQ(form.Values(), (std::vector<std::string>{"5", "1", "1", "1"}));
    form.SetValues({"a", "b", "0", "2", "extra"});  // more texts: the extra one is dropped
    EXPECT_EQ(form.Values(), (std::vector<std::string>{"a", "b", "0", "2"}));
    EXPECT_THROW(form.FieldAt(4), std::out_of_range);

    FormDialog bare;  // a field before any group opens an untitled one
    bare.Field("x=", "0");
    ASSERT_EQ(bare.groups.size(), 1u);
    EXPECT_EQ(bare.groups[0].caption, "");
}

TEST(ScriptedFormTest, AnswersWithTheScriptedButtonAndTexts) {
    ScriptedDialogs ui;
    ui.ExpectForm("Параметры", 1, {"7"}).ExpectForm("Параметры", 0);
    const FormDialog form = ArimaLikeForm();
    const FormAnswer first = ui.Form(form);
    EXPECT_EQ(first.button, 1);
    EXPECT_EQ(first.values, (std::vector<std::string>{"7", "1", "1", "1"}));
    EXPECT_EQ(ui.Form(form).button, 0);
    EXPECT_TRUE(ui.scriptDone());
    ASSERT_EQ(ui.forms().size(), 2u);
    EXPECT_EQ(ui.forms()[0].Values(), form.Values());  // recorded as shown
}

TEST(ScriptedFormTest, MismatchesNameTheDialogs) {
    const FormDialog form = ArimaLikeForm();
    struct Case {
        const char* name;
        std::function<void(ScriptedDialogs&)> script;
        bool askQuestion;  // ask a Yes/No question instead of showing the form
        std::vector<std::string> mustMention;
    };
    const std::vector<Case> cases = {
        {"empty script", [](ScriptedDialogs&) {}, false, {"Параметры"}},
        {"other caption",
         [](ScriptedDialogs& ui) { ui.ExpectForm("Гистограмма", 1); },
         false,
         {"Гистограмма", "Параметры"}},
        {"question expected",
         [](ScriptedDialogs& ui) { ui.ExpectYesNo("Выдать", true); },
         false,
         {"Выдать", "Параметры"}},
        {"form expected",
         [](ScriptedDialogs& ui) { ui.ExpectForm("Параметры", 1); },
         true,
         {"Параметры", "Выдать график?"}},
        {"too many texts",
         [](ScriptedDialogs& ui) {
             ui.ExpectForm("Параметры", 1, {"1", "2", "3", "4", "5"});
         },
         false,
         {"Параметры", "5"}},
        {"no such button",
         [](ScriptedDialogs& ui) { ui.ExpectForm("Параметры", 3); },
         false,
         {"Параметры", "3"}},
    };
    for (const Case& c : cases) {
        ScriptedDialogs ui;
        c.script(ui);
        try {
            if (c.askQuestion)
                ui.YesNo("Выдать график?");
            else
                ui.Form(form);
            ADD_FAILURE() << c.name << ": no mismatch";
        } catch (const ScriptMismatch& e) {
            for (const std::string& part : c.mustMention)
                EXPECT_NE(std::string(e.what()).find(part), std::string::npos)
                    << c.name << ": " << e.what();
        }
    }
}

class ShowFormTest : public ::testing::Test {
  protected:
    void SetUp() override { ws_.ProgramFolder = folder_.string() + "/"; }
    std::string FileBytes(const std::string& name) const {
        std::ifstream in(folder_ / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    TempFolder temp_{"form"};
    fs::path folder_ = temp_.path();
    ScriptedDialogs ui_;
    Workspace ws_{ui_};
};

TEST_F(ShowFormTest, RemembersTheAnsweredTextsInItsFile) {
    FormDialog form = ArimaLikeForm();
    form.RememberIn("qtest.ini");
    ui_.ExpectForm("Параметры", 1, {"3", "0,5"}).ExpectForm("Параметры", 0, {"9"});

    // No file yet: a beep, and the form shows its initial texts.
    FormAnswer answer = ShowForm(ws_, form);
    EXPECT_EQ(ui_.beeps(), 1);
    EXPECT_EQ(ui_.forms()[0].Values(), form.Values());
    EXPECT_EQ(answer.button, 1);
    EXPECT_EQ(ws_.LastAnswer, 1);
    EXPECT_EQ(FileBytes("qtest.ini"), "3\r\n0,5\r\n1\r\n1\r\n");

    // Shown again with what was answered; a cancel leaves the file alone.
    answer = ShowForm(ws_, form);
    EXPECT_EQ(ui_.beeps(), 1);
    EXPECT_EQ(ui_.forms()[1].Values(), (std::vector<std::string>{"3", "0,5", "1", "1"}));
    EXPECT_EQ(answer.button, 0);
    EXPECT_EQ(ws_.LastAnswer, 0);
    EXPECT_EQ(FileBytes("qtest.ini"), "3\r\n0,5\r\n1\r\n1\r\n");
}

TEST_F(ShowFormTest, ShortRememberedFileFillsTheFirstFieldsOnly) {
    std::ofstream(folder_ / "qshort.ini", std::ios::binary) << "\xcf\r\n";  // "П" in cp1251
    FormDialog form = ArimaLikeForm();
    form.RememberIn("qshort.ini");
    ui_.ExpectForm("Параметры", 1);
    ShowForm(ws_, form);
    EXPECT_EQ(ui_.beeps(), 0);
    EXPECT_EQ(ui_.forms()[0].Values(), (std::vector<std::string>{"П", "1", "1", "1"}));
}

TEST_F(ShowFormTest, FormWithoutMemoryTouchesNoFile) {
    ui_.ExpectForm("Параметры", 1);
    ShowForm(ws_, ArimaLikeForm());
    EXPECT_EQ(ui_.beeps(), 0);
    EXPECT_TRUE(fs::is_empty(folder_));
}

}  // namespace
}  // namespace dalvex

namespace dalvex {
namespace {

// A grid's value as a script writes it and as the clipboard holds it.
TEST(GridField, CellsFromScriptsAndPastedText) {
    struct Case {
        std::string value;
        std::vector<std::vector<std::string>> cells;
    };
    const Case cases[] = {
        {"1 2,5  -3;4 5 6", {{"1", "2,5", "-3"}, {"4", "5", "6"}}},
        // Tabs keep empty cells; blanks only separate.
        {"1\t\t3\r\n4\t5\t6\n", {{"1", "", "3"}, {"4", "5", "6"}}},
        // Held to 3 columns and 2 rows.
        {"1 2 3 4;5;6;7", {{"1", "2", "3"}, {"5"}}},
        {"", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GridCells(c.value, 2, 3), c.cells) << c.value;

    // Pasted lines are rows; a ";" there is a cell's own character.
    EXPECT_EQ(PasteGrid("1\t2\n3 4;5\n\n6", 3, 7), "1\t2\n3\t4;5\n");
    EXPECT_EQ(GridValue({{"1", ""}, {"2"}}), "1\t\n2");
}

}  // namespace
}  // namespace dalvex
