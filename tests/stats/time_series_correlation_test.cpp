// The correlation function (method 15) against R. Series and calls:
//   x <- c(4.1, 5.3, 6.0, 5.2, 3.9, 3.1, 3.8, 5.0, 6.2, 6.4, 5.1, 4.0, 2.9,
//          3.3, 4.6, 5.8, 6.6, 5.9, 4.4, 3.2)
//   y <- c(1.2, 0.8, 1.9, 2.6, 2.1, 1.0, 0.4, 0.9, 2.0, 2.8, 2.5, 1.3, 0.5,
//          0.7, 1.8, 2.9, 2.7, 1.6, 0.6, 0.3)
// with the call beside each table of figures.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "core/number.h"
#include "core/settings.h"
#include "numeric/distributions.h"
#include "stats/time_series_correlation.h"
#include "stats/time_series_dialogs.h"
#include "stats_fixture.h"
#include "support/temp_folder.h"

namespace dalvex {
namespace {

const std::vector<std::string> X = {"4.1", "5.3", "6.0", "5.2", "3.9", "3.1", "3.8",
                                    "5.0", "6.2", "6.4", "5.1", "4.0", "2.9", "3.3",
                                    "4.6", "5.8", "6.6", "5.9", "4.4", "3.2"};
const std::vector<std::string> Y = {"1.2", "0.8", "1.9", "2.6", "2.1", "1.0", "0.4",
                                    "0.9", "2.0", "2.8", "2.5", "1.3", "0.5", "0.7",
                                    "1.8", "2.9", "2.7", "1.6", "0.6", "0.3"};

// acf(x, lag.max = 11)$acf
const std::vector<double> AcfX = {1,
                                  0.557292616226071,
                                  -0.226268611364327,
                                  -0.75618353084169,
                                  -0.703220905499848,
                                  -0.190063810391978,
                                  0.373230021270131,
                                  0.607824369492555,
                                  0.382907930720146,
                                  -0.0432391370404132,
                                  -0.370176238225463,
                                  -0.372364023093285};

class CorrelationFunctionTest : public StatsTest {
  protected:
    CorrelationFunctionTest() { ws.ProgramFolder = folder.WithSlash(); }

    void Column(int col, const std::string& name, const std::vector<std::string>& cells) {
        PutSheetText(ws, name, col, -1);
        for (std::size_t i = 0; i < cells.size(); ++i)
            PutSheetText(ws, cells[i], col, static_cast<int>(i));
    }
    // Chooses the columns, then answers the form with its four fields.
    void Answer(std::vector<int> columns, std::vector<std::string> fields) {
        std::vector<VariableStep> steps;
        for (int column : columns)
            steps.push_back({VariableAction::Include, {column}});
        steps.push_back({VariableAction::Confirm, {}});
        ui.ExpectVariables(CorrelationCaption, steps).ExpectForm(CorrelationCaption, 1, fields);
    }
    void Run() {
        report.lines.clear();
        graphs.requests = 0;
        CorrelationFunction(ws);
        EXPECT_TRUE(ui.scriptDone());
    }
    static void ExpectNear(const std::vector<double>& actual, const std::vector<double>& expected,
                           double tolerance) {
        ASSERT_EQ(actual.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i)
            EXPECT_NEAR(actual[i], expected[i], tolerance) << "index " << i;
    }

    TempFolder folder;
};

TEST_F(CorrelationFunctionTest, LagModeOfOneSeriesIsRsAcfWithOneLinePerLag) {
    Column(1, "ряд", X);
    Answer({1}, {"1", "0", "0", "0"});
    Run();
    EXPECT_TRUE(ui.notices().empty());
    ASSERT_EQ(report.lines.size(), 3u + 12u);
    EXPECT_EQ(report.lines[0], " ");
    EXPECT_EQ(report.lines[1], "               Переменные: ряд, ряд");
    EXPECT_EQ(report.lines[2], LagHeading);
    // Lag 0 is exactly 1; 20 values give lags 0 .. 11.
    EXPECT_EQ(report.lines[3].substr(0, 18), "        0        1");
    EXPECT_EQ(report.lines[4].substr(0, 18), "        1   0.5573");
    EXPECT_EQ(report.lines[14].substr(0, 18), "       11  -0.3724");
    ASSERT_EQ(graphs.requests, 1);
    EXPECT_EQ(graphs.title, "Корреляция");
    EXPECT_EQ(graphs.rows[1][0], 1.0);
    ExpectNear(graphs.rows[1], AcfX, 1e-13);
    EXPECT_EQ(graphs.rows[0].back(), 11);
}

TEST_F(CorrelationFunctionTest, TwoSeriesGiveRsCcfWithTheTimeStep) {
    Column(1, "x", X);
    Column(2, "y", Y);
    Answer({1, 2}, {"0,5", "0", "0", "0"});
    Run();
    // ccf(y, x, lag.max = 11)$acf at lags 0 .. 11: x_t against y_{t+k}
    ExpectNear(graphs.rows[1],
               {0.734183780855458, 0.568347151449337, -0.0886182766735689, -0.653964369978505,
                -0.668314139467603, -0.170742796133656, 0.429253739841956, 0.633223268468568,
                0.320355275025337, -0.186762096262813, -0.480579003874694, -0.334121220916377},
               1e-13);
    EXPECT_EQ(report.lines[1], "               Переменные: x, y");
    EXPECT_EQ(graphs.rows[0][3], 1.5);
    EXPECT_EQ(report.lines[6].substr(0, 9), "      1.5");
}

// The critical r of a lag with n pairs: the same n - 2 degrees of freedom
// in the quantile and under the root, so that the t it stands for has the
// tail α with n - 2 degrees of freedom.
TEST_F(CorrelationFunctionTest, CriticalValuesUseNMinusTwoDegreesOfFreedomThroughout) {
    Column(1, "ряд", X);
    Answer({1}, {"1", "0", "0", "0"});
    Run();
    const double alpha = ws.settings.SignificanceLevel;
    for (int k = 0; k <= 11; ++k) {
        const int pairs = 20 - k;
        const double r = CriticalCorrelation(pairs, alpha);
        const double t = r * std::sqrt((pairs - 2) / (1 - r * r));
        EXPECT_NEAR(FisherTail(t, 1, pairs - 2), alpha, 1e-5) << "lag " << k;
        // qt(0.975, 18) gives r* = 0.4438 for 20 pairs; the program's
        // quantile is the approximate one (t 2.076 for 2.101).
        if (pairs == 20) {
            EXPECT_NEAR(r, 0.4438, 0.006);
        }
    }
    EXPECT_NE(report.lines[3].find(FormatPadded(CriticalCorrelation(20, alpha), 4)),
              std::string::npos);
}

TEST_F(CorrelationFunctionTest, FragmentModeSlidesYAlongTheFixedFragmentOfX) {
    Column(1, "x", X);
    Column(2, "y", Y);
    // The fragment x[3 .. 8] against every window of 6 values of y:
    // sapply(0:14, function(i) cor(x[3:8], y[(i + 1):(i + 6)]))
    Answer({1, 2}, {"1", "6", "2", "0"});
    Run();
    ExpectNear(graphs.rows[1],
               {-0.890257614788919, -0.535121975938183, 0.480540826820063, 0.99678338295872,
                0.481123879871839, -0.434773365878342, -0.986100536047195, -0.628062618581041,
                0.320539198352457, 0.966005250607173, 0.687552059643591, -0.244264411858107,
                -0.936027285671451, -0.774479844895483, 0.105138644433825},
               1e-13);
    EXPECT_EQ(graphs.rows[0].front(), -2);
    // Critical r of 6 pairs with 4 degrees of freedom; no table.
    ASSERT_EQ(report.lines.size(), 3u);
    EXPECT_EQ(report.lines[2],
              "         Критическое значение=" + FormatNumber(CriticalCorrelation(6, 0.05), 4));
    const double r = CriticalCorrelation(6, 0.05);
    EXPECT_NEAR(FisherTail(r * std::sqrt(4 / (1 - r * r)), 1, 4), 0.05, 1e-5);
}

TEST_F(CorrelationFunctionTest, FieldRulesOfTheDialog) {
    Column(1, "x", X);
    struct Case {
        std::vector<std::string> fields;
        std::string notice;        // the refusal, or empty
        std::size_t points = 0;    // points of the graph
        double firstAbscissa = 0;  // (0 - s)·Δ
    };
    const Case cases[] = {
        // A length of 0 or below is the lag mode with the shift 0.
        {{"1", "-3", "5", "0"}, "", 12, 0},
        // The shift keeps 8 values after the fragment: 20 - 10 - 8 = 2 at most.
        {{"1", "10", "7", "0"}, "", 11, -2},
        // A fragment that leaves no room for the shift starts at 0.
        {{"1", "13", "4", "0"}, "", 8, 0},
        // Δ = 0 is taken as 1; empty length and shift fields count 0.
        {{"0", "", "", "0"}, "", 12, 0},
        {{"1", "3", "0", "0"}, ShortFragmentNotice},
        {{"шаг", "10", "0", "0"}, StepNotNumberNotice},
        {{"1", "десять", "0", "0"}, LengthNotNumberNotice},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fields[0] + " " + c.fields[1] + " " + c.fields[2]);
        ui.ClearLog();
        Answer({1}, c.fields);
        Run();
        if (!c.notice.empty()) {
            EXPECT_EQ(ui.notices(), std::vector<std::string>{c.notice});
            EXPECT_TRUE(report.lines.empty());
            continue;
        }
        EXPECT_TRUE(ui.notices().empty());
        ASSERT_EQ(graphs.rows[0].size(), c.points);
        EXPECT_EQ(graphs.rows[0][0], c.firstAbscissa);
    }
}

TEST_F(CorrelationFunctionTest, MissingCellsLeaveBothSeriesAndShortSeriesAreRefused) {
    std::vector<std::string> x = X;
    x[4] = "?";
    Column(1, "x", x);
    Answer({1}, {"1", "0", "0", "0"});
    Run();
    // acf(x[-5], lag.max = 10)$acf
    ExpectNear(graphs.rows[1],
               {1, 0.499949113712447, -0.295502085255103, -0.731947277475347, -0.556650512977086,
                -0.0676657702018562, 0.378634038812162, 0.489646264513419, 0.223385388922813,
                -0.131619006786282, -0.339149527731944},
               1e-13);
    EXPECT_EQ(report.lines[0], "Пропущн=1 1");

    // 16 values: lags 0 .. 7; 15 values: too few, after the header.
    Column(2, "y", std::vector<std::string>(Y.begin(), Y.begin() + 16));
    Answer({2}, {"1", "0", "0", "0"});
    Run();
    EXPECT_EQ(report.lines.size(), 3u + 8u);
    Column(3, "z", std::vector<std::string>(Y.begin(), Y.begin() + 15));
    Answer({3}, {"1", "0", "0", "0"});
    Run();
    EXPECT_EQ(ui.notices().back(), TooLittleDataNotice);
    EXPECT_EQ(report.lines.size(), 2u);
    EXPECT_EQ(graphs.requests, 0);
}

TEST_F(CorrelationFunctionTest, ConstantSeriesAndFragmentsGiveNoticesNotFaults) {
    Column(1, "x", X);
    Column(2, "c", std::vector<std::string>(20, "0.1"));
    std::vector<std::string> steps = Y;
    for (int i = 5; i < 12; ++i)
        steps[i] = "7";
    Column(3, "s", steps);

    Answer({1, 2}, {"1", "0", "0", "0"});
    Run();
    EXPECT_EQ(ui.notices().back(), ConstantSeriesNotice("c"));
    EXPECT_EQ(graphs.requests, 0);

    Answer({2, 1}, {"1", "6", "0", "0"});
    Run();
    EXPECT_EQ(ui.notices().back(), ConstantFragmentNotice("c"));
    EXPECT_EQ(graphs.requests, 0);

    // Windows of 6 inside the run of seven 7s: positions 5 and 6.
    Answer({1, 3}, {"1", "6", "0", "0"});
    Run();
    EXPECT_EQ(ui.notices().back(), ConstantWindowsNotice(2));
    ASSERT_EQ(graphs.requests, 1);
    EXPECT_EQ(graphs.rows[1][5], 0);
    EXPECT_EQ(graphs.rows[1][6], 0);
    EXPECT_NE(graphs.rows[1][4], 0);
}

TEST_F(CorrelationFunctionTest, NominalModeComparesCellTexts) {
    const std::vector<std::string> a = {"а", "б", "в", "а", "б", "в", "а", "б", "в", "а",
                                        "б", "в", "а", "б", "в", "а", "б", "в", "а", "б"};
    Column(1, "к", a);
    Answer({1}, {"1", "4", "1", "1"});
    Run();
    // The fragment б в а б against every window of 4: equal at periods of 3.
    ASSERT_EQ(graphs.rows[1].size(), 17u);
    EXPECT_EQ(graphs.rows[1][0], 0);
    EXPECT_EQ(graphs.rows[1][1], 1);
    EXPECT_EQ(graphs.rows[1][4], 1);
    EXPECT_EQ(graphs.rows[0][1], 0);

    // A column of X shorter than the fragment has nothing to compare.
    Column(2, "кор", {"а", "б", "в"});
    Answer({2, 1}, {"1", "4", "0", "1"});
    Run();
    EXPECT_EQ(ui.notices().back(), TooLittleDataNotice);
    EXPECT_EQ(graphs.requests, 0);
}

TEST_F(CorrelationFunctionTest, TheDialogRemembersFieldsAndVariablesInOneFile) {
    Column(1, "x", X);
    Column(2, "y", Y);
    Answer({2, 1}, {"2", "0", "0", "0"});
    Run();
    std::vector<std::string> lines;
    ASSERT_TRUE(ReadLinesFile(ws.ProgramFolder + CorrelationMemory, lines).ok);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], "2");
    EXPECT_EQ(lines[3], "0");
    EXPECT_EQ(lines[4], VariableItem(ws, 2));
    EXPECT_EQ(lines[5], VariableItem(ws, 1));

    // Restored: y then x again, the form offered with the remembered step.
    ui.ExpectVariables(CorrelationCaption,
                       {{VariableAction::Restore, {}}, {VariableAction::Confirm, {}}})
        .ExpectForm(CorrelationCaption, 1);
    Run();
    EXPECT_EQ(ui.forms().back().FieldAt(0).value, "2");
    EXPECT_EQ(report.lines[1], "               Переменные: y, x");
}

TEST_F(CorrelationFunctionTest, AtMostTwoVariablesAreChosen) {
    for (int col = 1; col <= 3; ++col)
        Column(col, "v" + std::to_string(col), X);
    TimeSeriesVariables all(ws, CorrelationCaption, {}, false);
    all.Press(VariableAction::All, {});
    EXPECT_EQ(all.chosen().size(), 2u);
    TimeSeriesVariables some(ws, CorrelationCaption, {}, false);
    some.Press(VariableAction::Include, {{2}});
    some.Press(VariableAction::Include, {{0, 1}});
    ASSERT_EQ(some.chosen().size(), 2u);
    EXPECT_EQ(some.chosen()[0], VariableItem(ws, 3));
    some.Press(VariableAction::Confirm, {});
    EXPECT_EQ(ws.SelectedColumns[0], 2);
    EXPECT_EQ(ws.SelectedColumns[1], 3);
    EXPECT_EQ(ws.SelectedColumns[2], 1);

    // A remembered list of three and a double click stop at two as well.
    TimeSeriesVariables restored(ws, CorrelationCaption,
                                 {VariableItem(ws, 3), VariableItem(ws, 2), VariableItem(ws, 1)},
                                 false);
    restored.Press(VariableAction::Restore, {});
    restored.DoubleClick(0, 0);
    EXPECT_EQ(restored.chosen(),
              (std::vector<std::string>{VariableItem(ws, 3), VariableItem(ws, 2)}));
}

}  // namespace
}  // namespace dalvex
