// Stepwise regression (method 22) on R's longley data through the batch
// runner. Every step is checked against R's add1() / drop1(test = "F") on
// the same equation (longley.txt: deflator GNP unemp armed popul year, Y =
// employed); partial r = sqrt(Sum of Sq / RSS of the smaller equation),
// tolerance = 1 - summary(lm(v ~ members))$r.squared.
#include <gtest/gtest.h>

#include <cmath>

#include "core/number.h"
#include "core/text.h"
#include "numeric/distributions.h"
#include "stats/nonlinear_regression.h"
#include "stats/stepwise_regression.h"
#include "support/batch_run.h"
#include "support/report_lines.h"
#include "support/temp_folder.h"

namespace dalvex {
namespace {

std::string F(double x, int digits = 7) {
    const std::string text = FormatNumber(x, digits);
    return CharLength(text) >= 9 ? " " + text : PadLeft(text, 9);
}

class StepwiseRegressionTest : public ::testing::Test {
  protected:
    BatchOutcome Run(const std::string& answers) {
        return RunMethodsScript("open " + std::string(DALVEX_STATS_DATA) +
                                    "/longley.txt\ndigits 7\nmethod 22\n"
                                    "regression x 1 2 3 4 5 6 y 7\nno\n" +
                                    answers,
                                folder_.WithSlash());
    }
    static bool Has(const BatchOutcome& run, const std::string& text) {
        return run.results.find(text) != std::string::npos;
    }
    static std::string Entered(int step, const std::string& name) {
        return "    *** Метод включения. Шаг No." + std::to_string(step) +
               ", введена переменная:" + name + "\n";
    }
    static std::string Removed(int step, const std::string& name) {
        return "   ***   Метод исключения.   Шаг No." + std::to_string(step) +
               ", удалена переменная:" + name + "\n";
    }
    TempFolder folder_{"stepwise"};
};

// GNP is the X most correlated with employed (cor() 0.9835516112) and
// enters first. add1(lm(employed ~ GNP), test = "F") gives unemp the
// largest partial r (F 8.924671063; R^2 0.9673737719 -> 0.9806546258).
// On GNP + unemp, add1 gives armed F 3.579713976 (partial r 0.47934083,
// tolerance 0.4857087934), below F-вкл = 3.84: selection ends.
TEST_F(StepwiseRegressionTest, ForwardSelectionFollowsAdd1) {
    const BatchOutcome run = Run("form 1\nform 0\n");
    ASSERT_EQ(run.status, BatchDone) << run.messages;
    EXPECT_TRUE(Has(run, Entered(1, "GNP"))) << run.results;
    EXPECT_TRUE(Has(run, Entered(2, "unemp"))) << run.results;
    EXPECT_FALSE(Has(run, "Шаг No.3")) << run.results;
    EXPECT_TRUE(Has(run, "Измен.R^2        F   Значим\n" + F(0.9806546258 - 0.9673737719) +
                             F(8.924671063) + F(FisherTail(std::sqrt(8.924671063), 1, 13)) + "\n"))
        << run.results;
    EXPECT_TRUE(Has(run,
                    " Переменн. Коэфф.В  Ст.ош.В     Бета        F   Значим  Частн.R    "
                    "Толер.\n"))
        << run.results;
    EXPECT_TRUE(Has(run, F(3.579713976) + F(FisherTail(std::sqrt(3.579713976), 1, 12)) +
                             F(0.47934083) + F(0.4857087934) + "\n"))
        << run.results;
    // Step 1's candidates: year's tolerance given GNP.
    EXPECT_TRUE(Has(run, F(0.4317521243) + F(0.009430692515) + "\n")) << run.results;
}

// drop1(lm(employed ~ .), test = "F"): deflator has the smallest partial r
// of those with F < 2.71 and leaves. The next round is refitted without it:
// GNP's F 1.7438727508 and partial r 0.3853467738 are those of drop1 on the
// five left (an R^2 carried over from the six would give others); popul
// leaves, then GNP unemp armed year all stay (GNP F 5.952719628).
TEST_F(StepwiseRegressionTest, BackwardEliminationRefitsAfterEachRemoval) {
    const BatchOutcome run = Run("form 2\nform 0\n");
    ASSERT_EQ(run.status, BatchDone) << run.messages;
    EXPECT_TRUE(Has(run, Removed(1, "deflator"))) << run.results;
    EXPECT_TRUE(Has(run, Removed(2, "popul"))) << run.results;
    EXPECT_FALSE(Has(run, "Шаг No.3")) << run.results;
    EXPECT_TRUE(Has(run, " Переменн. Коэфф.В  Ст.ош.В   Бета       F    Значим   Частн.R\n"))
        << run.results;
    EXPECT_TRUE(Has(run, F(1.7438727508) + F(FisherTail(std::sqrt(1.7438727508), 1, 10)) +
                             F(0.3853467738) + "\n"))
        << run.results;
    EXPECT_TRUE(Has(run, F(5.952719628) + F(FisherTail(std::sqrt(5.952719628), 1, 11)) +
                             F(0.5925677670) + "\n"))
        << run.results;
}

// The thresholds decide: a huge F-вкл enters only the first variable; a
// tolerance limit of 0.7 keeps out unemp (0.6348687165), popul and year
// however large their F, so with F-вкл 0.1 armed (0.8006941908, F
// 0.1672091642) enters second; by significance the same entries as by F.
TEST_F(StepwiseRegressionTest, ThresholdsAndCriteria) {
    struct Case {
        const char* what;
        std::string form;
        std::vector<std::string> entered;
    };
    const Case cases[] = {
        {"huge F-вкл", "form 1 F-вкл=1000", {"GNP"}},
        {"tolerance", "form 1 F-вкл=0.1 F-искл=0.05 Сходство=0.7", {"GNP", "armed"}},
        {"by significance", "form 1 Критерий=1", {"GNP", "unemp"}},
        {"two-way", "form 3", {"GNP", "unemp"}},
    };
    for (const Case& c : cases) {
        const BatchOutcome run = Run(c.form + "\nform 0\n");
        ASSERT_EQ(run.status, BatchDone) << c.what << run.messages;
        for (std::size_t i = 0; i < c.entered.size(); ++i)
            EXPECT_TRUE(Has(run, Entered(static_cast<int>(i) + 1, c.entered[i]))) << c.what << "\n"
                                                                                  << run.results;
        EXPECT_FALSE(Has(run, "Шаг No." + std::to_string(c.entered.size() + 1) + ", введена"))
            << c.what << "\n"
            << run.results;
    }
}

// Settings under which a variable could enter and leave at once are
// refused by the dialog, naming the field; selection never starts.
TEST_F(StepwiseRegressionTest, DialogRefusesCyclingThresholds) {
    struct Case {
        std::string form, notice;
    };
    const Case cases[] = {
        {"form 1 F-вкл=2 F-искл=3", FRemoveAboveEnterNotice},
        {"form 3 P-вкл=0.05 P-искл=0.01 Критерий=1", PRemoveBelowEnterNotice},
        {"form 1 F-вкл=x", FThresholdNotice},
    };
    for (const Case& c : cases) {
        const BatchOutcome run = Run(c.form + "\n");
        EXPECT_EQ(run.status, BatchScriptFault) << c.form;
        EXPECT_NE(run.messages.find(c.notice), std::string::npos) << run.messages;
        EXPECT_FALSE(Has(run, "Метод включения")) << run.results;
    }
    // Thresholds that may not cycle are taken whatever the other pair says.
    const BatchOutcome fine = Run("form 1 F-вкл=3 F-искл=3 P-вкл=0.5 P-искл=0.01\nform 0\n");
    EXPECT_EQ(fine.status, BatchDone) << fine.messages;
}

// Thresholds the dialog refuses (a variable leaves as soon as it enters)
// would cycle for ever: the selection stops at its step limit with the
// notice, and gives no equation.
TEST(StepwiseSelectionTest, CyclingThresholdsStopAtTheStepLimit) {
    ScriptedDialogs ui;
    Workspace ws(ui);
    ReportLines report;
    ws.report = &report;
    RegressionData data;
    data.names = {"a", "b", "c"};
    data.xs = {{1, 2, 3, 4, 5, 6, 7, 8}, {2, 1, 4, 3, 6, 5, 8, 7}, {1, 3, 2, 4, 3, 5, 4, 6}};
    data.yName = "y";
    data.y = {1.1, 2.3, 2.9, 4.2, 4.8, 6.1, 7.2, 7.9};
    SelectionSettings settings;
    settings.kind = SelectionKind::Stepwise;
    settings.fEnter = 0;
    settings.fRemove = 1e9;
    settings.tolerance = 0;
    EXPECT_TRUE(SelectVariables(ws, data, settings).empty());
    ASSERT_FALSE(ui.notices().empty());
    EXPECT_EQ(ui.notices().back(), IterationLimitNotice);
}

}  // namespace
}  // namespace dalvex
