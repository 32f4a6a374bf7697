// The frequency table: the classes proposed and confirmed in its form, the
// counts, the table written and the refusals of bad answers.
#include "stats/frequency_table.h"

#include "core/arithmetic_fault.h"
#include "core/form_dialog.h"
#include "stats_fixture.h"

namespace dalvex {
namespace {

const std::string kHeading = "    Х-лев. Х-станд  Частота        %   Накопл.       %";

class FrequencyTableTest : public StatsTest {
  protected:
    void SetUp() override { ws.settings.SignificantDigits = 4; }
    void SetRow(int row, const std::vector<double>& values) { StatsTest::SetRow(row, "x", values); }
    std::vector<double> Counts(int k) {
        std::vector<double> counts;
        for (int j = 0; j < k; ++j)
            counts.push_back(ws.store.Vec1(j));
        return counts;
    }
};

TEST_F(FrequencyTableTest, ProposesClassesOverTheDataRange) {
    std::vector<double> values;
    for (int i = 0; i < 100; ++i)
        values.push_back(i);
    SetRow(0, values);
    ui.ExpectForm("Гистограмма", 1);
    // floor(3.3 lg 99 + 1.5 + 0.99) = 9 classes of width 11 over 0 .. 99.
    EXPECT_EQ(FrequencyTable(ws, 99), 8);
    const FormDialog& shown = ui.forms().at(0);
    EXPECT_EQ(shown.Values(), (std::vector<std::string>{"9", "0", "99"}));
    ASSERT_EQ(shown.buttons.size(), 1u);
    EXPECT_EQ(shown.buttons[0].text, "Утвердить");
    EXPECT_EQ(shown.FieldAt(0).label, "Число интервалов=");
    EXPECT_EQ(shown.FieldAt(1).label, "Левая граница=");
    EXPECT_EQ(shown.FieldAt(2).label, "Правая граница=");
    // 11 lies on the first inner border and goes to the lower class; both
    // outer borders belong to the table.
    EXPECT_EQ(Counts(9), (std::vector<double>{12, 11, 11, 11, 11, 11, 11, 11, 11}));
    // R: sd(0:99) = 29.011491975882016.
    EXPECT_NEAR(ws.store.StatVariance, 29.011491975882016, 1e-12);
    EXPECT_EQ(ws.store.StatMean, 49.5);
    EXPECT_EQ(ws.store.RangeMin[0], 0);
    EXPECT_EQ(ws.store.RangeMax[0], 99);
}

TEST_F(FrequencyTableTest, WritesTheTable) {
    SetRow(0, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    ui.ExpectForm("Гистограмма", 1, {"3", "1", "10"});
    EXPECT_EQ(FrequencyTable(ws, 9), 2);
    // Mean 5.5, sd 3.0277 (R: (c(1,4,7,10) - 5.5) / sd(1:10) = -1.4863, -0.49543, ...).
    const std::vector<std::string> expected = {
        "",
        kHeading,
        "        1   -1.486        4       40        4       40",
        "        4  -0.4954        3       30        7       70",
        "        7   0.4954        3       30       10      100",
        "       10    1.486",
    };
    EXPECT_EQ(report.lines, expected);
    EXPECT_EQ(ws.store.StatSum, 5 + 50);  // RowMoments ran after the borders were read
}

TEST_F(FrequencyTableTest, ValuesOutsideEitherBorderAreLeftOutAndCounted) {
    // Values left of the left border used to land in the first class, values
    // right of the right border in none.
    SetRow(0, {-50, 0.5, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 10.5, 99});
    ui.ExpectForm("Гистограмма", 1, {"3", "1,0", "10"});  // a comma is a decimal point
    EXPECT_EQ(FrequencyTable(ws, 13), 2);
    EXPECT_EQ(Counts(3), (std::vector<double>{4, 3, 3}));
    EXPECT_EQ(report.lines.back(), "Вне границ=4");
}

TEST_F(FrequencyTableTest, ProposedBordersHoldTheExtremesExactly) {
    // Borders proposed with a few rounded digits would leave 1/3 and 2/3
    // outside the table.
    SetRow(0, {1.0 / 3, 0.5, 0.5, 2.0 / 3});
    ws.settings.decimalSeparator = ',';
    ui.ExpectForm("Гистограмма", 1);
    const int last = FrequencyTable(ws, 3);
    EXPECT_EQ(ui.forms()[0].FieldAt(1).value, "0,3333333333333333");
    double counted = 0;
    for (int j = 0; j <= last; ++j)
        counted += ws.store.Vec1(j);
    EXPECT_EQ(counted, 4);
    EXPECT_NE(report.lines.back().find(','), std::string::npos);  // locale separator in the table
}

TEST_F(FrequencyTableTest, RefusedAnswersShowANoticeAndWriteNothing) {
    struct Case {
        std::vector<std::string> texts;
        std::string notice;
    };
    const Case cases[] = {
        {{"0"}, "!ЧИСЛО ИНТЕРВАЛОВ ДОЛЖНО БЫТЬ ОТ 1 ДО 16000!"},
        {{"-2"}, ClassCountNotice()},
        {{"abc"}, ClassCountNotice()},
        {{"16001"}, ClassCountNotice()},
        {{"3", "один", "10"}, BorderNumberNotice},
        {{"3", "1", ""}, BorderNumberNotice},
        {{"3", "10", "1"}, BorderOrderNotice},
        {{"3", "5", "5"}, BorderOrderNotice},
    };
    SetRow(0, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    for (const Case& c : cases) {
        ui.ClearLog();
        report.lines.clear();
        ui.ExpectForm("Гистограмма", 1, c.texts);
        EXPECT_EQ(FrequencyTable(ws, 9), -1) << c.texts[0];
        EXPECT_EQ(ui.notices(), std::vector<std::string>{c.notice}) << c.texts[0];
        EXPECT_TRUE(report.lines.empty()) << c.texts[0];
    }
    // The largest class count Vector1 holds is accepted.
    ui.ExpectForm("Гистограмма", 1, {"16000"});
    EXPECT_EQ(FrequencyTable(ws, 9), 15999);
}

// Borders typed far beyond data of a small spread: their standardised
// values, or the class width, leave the range of numbers.
TEST_F(FrequencyTableTest, BordersBeyondTheNumberRangeAreRefused) {
    const std::vector<std::vector<std::string>> cases = {
        {"3", "10000000", "1e308"},
        {"3", "-1e308", "10000001"},
        {"3", "-1e308", "1e308"},
    };
    SetRow(0, {1e7, 1e7 + 1e-3, 1e7 + 2e-3, 1e7 + 3e-3});
    for (const auto& texts : cases) {
        ui.ClearLog();
        report.lines.clear();
        ui.ExpectForm("Гистограмма", 1, texts);
        EXPECT_EQ(FrequencyTable(ws, 3), -1) << texts[1] << " " << texts[2];
        EXPECT_EQ(ui.notices(), std::vector<std::string>{BorderRangeNotice});
        EXPECT_TRUE(report.lines.empty());
    }
    // Far but still measurable borders give their table.
    ui.ExpectForm("Гистограмма", 1, {"3", "-1e290", "1e290"});
    EXPECT_EQ(FrequencyTable(ws, 3), 2);
}

TEST_F(FrequencyTableTest, ClosedFormEndsWithoutATable) {
    SetRow(0, {1, 2, 3});
    ui.ExpectForm("Гистограмма", 0);
    EXPECT_EQ(FrequencyTable(ws, 2), -1);
    EXPECT_EQ(ws.LastAnswer, 0);
    EXPECT_TRUE(report.lines.empty());
    EXPECT_TRUE(ui.notices().empty());
}

TEST_F(FrequencyTableTest, ConstantDataFaultsInTheStandardisation) {
    SetRow(0, {4, 4, 4});
    ui.ExpectForm("Гистограмма", 1, {"2", "3", "5"});
    EXPECT_THROW(FrequencyTable(ws, 2), ArithmeticFault);
}

}  // namespace
}  // namespace dalvex
