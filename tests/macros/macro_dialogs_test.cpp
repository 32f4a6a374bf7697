// The two macro dialogs answered by script, over "StMc.ini".
#include "macros/macro_dialogs.h"

#include <gtest/gtest.h>

#include "core/settings.h"
#include "core/workspace.h"
#include "support/temp_folder.h"

namespace dalvex {
namespace {

TEST(MacroDialogsTest, DefinitionNamesTheMacrosAndChoosesTheOneToRecord) {
    MacroNames shown;
    shown.names[2] = "Ввод";
    struct Case {
        std::string chosen;  // the list's index, as the form answers it
        int edited;          // the name field typed into (0: none)
        int expected;
    };
    const Case cases[] = {{"-1", 0, 1}, {"4", 0, 5}, {"-1", 7, 7}, {"9", 2, 10}, {"0", 7, 1}};
    for (const Case& c : cases) {
        FormAnswer answer{1, DefinitionForm(shown).Values()};
        answer.values[0] = c.chosen;
        if (c.edited)
            answer.values[c.edited] = "новое имя";
        MacroNames names;
        EXPECT_EQ(DefinitionAnswer(answer, shown, names), c.expected) << c.chosen << c.edited;
        if (c.edited) {
            EXPECT_EQ(names.names[c.edited - 1], "новое имя");
        }
        EXPECT_EQ(names.names[2], "Ввод");
    }
    MacroNames names;
    EXPECT_EQ(DefinitionAnswer({0, DefinitionForm(shown).Values()}, shown, names), 0);
    EXPECT_EQ(MacroKeyLabel(10), "&0=");
}

TEST(MacroDialogsTest, DialogsKeepNamesAndCountInStMcIni) {
    TempFolder folder("macro_dialogs");
    ScriptedDialogs ui;
    Workspace ws(ui);
    // No "StMc.ini" yet: a beep, empty names.
    ui.ExpectForm(DefinitionCaption, 1, {"2", "", "", "Печать таблицы"});
    EXPECT_EQ(ShowDefinitionDialog(ws, folder.WithSlash()), 3);
    EXPECT_EQ(ui.beeps(), 1);

    ui.ExpectForm(DefinitionCaption, 11, {"4"});
    const ExecutionAnswer repeat = ShowExecutionDialog(ws, folder.WithSlash());
    EXPECT_EQ(repeat.button, 11);
    EXPECT_EQ(repeat.count, 4);
    const FormDialog& shown = ui.forms().back();
    EXPECT_EQ(shown.buttons[2].text, "&3=Печать таблицы");
    EXPECT_EQ(shown.buttons[9].text, "&0=");
    EXPECT_EQ(shown.buttons[9].answer, 10);

    std::vector<std::string> lines;
    ASSERT_TRUE(ReadLinesFile(folder.WithSlash() + MacroNamesFileName, lines).ok);
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[2], "Печать таблицы");
    EXPECT_EQ(lines[10], "4");

    // The count is kept even when the dialog is cancelled, and offered next.
    ui.ExpectForm(DefinitionCaption, 0, {"6"});
    EXPECT_EQ(ShowExecutionDialog(ws, folder.WithSlash()).button, 0);
    ui.ExpectForm(DefinitionCaption, 0);
    ShowExecutionDialog(ws, folder.WithSlash());
    EXPECT_EQ(ui.forms().back().Values(), std::vector<std::string>{"6"});
    EXPECT_EQ(ui.beeps(), 1);
}

}  // namespace
}  // namespace dalvex
