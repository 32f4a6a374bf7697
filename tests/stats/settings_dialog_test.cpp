// The settings dialog changes what the next report prints: its significance
// level, its digits and the laws its critical values come from.
#include "core/settings_dialog.h"

#include <gtest/gtest.h>

#include <fstream>

#include "session/session.h"
#include "stats/statistics_methods.h"
#include "support/temp_folder.h"

namespace dalvex {
namespace {

// The descriptive statistics' two questions.
constexpr const char* AdditionalQuestion = "Выдать дополнительную статистику?";
constexpr const char* WriteBackQuestion = "Записать среднее";

// The confidence half-width of the mean of these eight values, from R:
// qt(0.975, 7) * sd(x) / sqrt(8) = 1.104596668 and qt(0.95, 7) * ... =
// 0.8850223087; the variance's lower bound 7 * var(x) / qchisq(0.95, 7) =
// 0.8686911206.
TEST(SettingsDialogTest, LevelDigitsAndExactLawsChangeTheNextReport) {
    TempFolder folder("settings_dialog");
    std::ofstream(folder / "x.txt")
        << "x\r\n2.1\r\n3.4\r\n1.9\r\n5.6\r\n4.4\r\n3.3\r\n2.8\r\n4.9\r\n";
    ScriptedDialogs ui;
    Workspace ws(ui);
    Session session(ws, BuiltStatisticsMethods());
    ASSERT_TRUE(session.StartWithoutSettings(folder.WithSlash() + "memories"));
    ASSERT_TRUE(session.files().Read((folder / "x.txt").string(), true));
    auto describe = [&] {
        session.results().Clear();
        ui.ExpectVariables("Анализ переменных",
                           {{VariableAction::Include, {1}}, {VariableAction::Confirm, {}}});
        ui.ExpectYesNo(AdditionalQuestion, true).ExpectYesNo(WriteBackQuestion, false);
        EXPECT_TRUE(session.RunMethod(1));
        return session.results().Text();
    };

    const std::string before = describe();
    EXPECT_EQ(before.find("1.105"), std::string::npos) << before;  // the approximate t

    ui.ExpectForm(SettingsCaption, 1, {"0,05", "6", "1"});
    EXPECT_TRUE(Tqset(ws).accepted);
    EXPECT_NE(describe().find("1.1046"), std::string::npos);

    ui.ExpectForm(SettingsCaption, 1, {"0,1", "7"});
    Tqset(ws);
    const std::string wider = describe();
    EXPECT_NE(wider.find(" 0.8850223"), std::string::npos) << wider;
    EXPECT_NE(wider.find(" 0.8686911"), std::string::npos) << wider;

    // "Отменить" changes nothing.
    ui.ExpectForm(SettingsCaption, 0, {"0,01", "3", "0"});
    EXPECT_FALSE(Tqset(ws).accepted);
    EXPECT_EQ(describe(), wider);
    EXPECT_TRUE(ui.scriptDone());
}

TEST(SettingsDialogTest, ValuesOutsideTheirRangesAreDropped) {
    struct Case {
        std::vector<std::string> texts;
        double level;
        int digits, width, height;
        bool sheetChanged;
    };
    const Case cases[] = {
        {{"0,01", "9", "0", "80", "20"}, 0.01, 9, 80, 20, true},
        {{"0.2", "10", "0", "68", "16"}, 0.05, 4, 68, 16, false},
        {{"0", "2", "0", "0", "0"}, 0.05, 4, 68, 16, false},  // a width of 0 hid the grid
        {{"x", "4,5", "0", "abc", "201"}, 0.05, 4, 68, 16, false},
        {{"0.1", "3", "0", "1000", "8"}, 0.1, 3, 1000, 8, true},
    };
    for (const Case& c : cases) {
        SettingsValues v;
        const SettingsChange change = ApplySettingsForm({1, c.texts}, v);
        EXPECT_TRUE(change.accepted);
        EXPECT_EQ(change.sheetChanged, c.sheetChanged) << c.texts[0];
        EXPECT_DOUBLE_EQ(v.SignificanceLevel, c.level) << c.texts[0];
        EXPECT_EQ(v.SignificantDigits, c.digits) << c.texts[1];
        EXPECT_EQ(v.columnWidth, c.width) << c.texts[3];
        EXPECT_EQ(v.rowHeight, c.height) << c.texts[4];
    }
    // The form shows the values in effect.
    SettingsValues v;
    v.SignificanceLevel = 0.01;
    v.exactProbabilities = true;
    const FormDialog form = SettingsForm(v);
    EXPECT_EQ(form.caption, "Установки");
    EXPECT_EQ(form.Values(), (std::vector<std::string>{"0.01", "4", "1", "68", "16"}));
}

}  // namespace
}  // namespace dalvex
