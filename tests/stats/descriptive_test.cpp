// Descriptive statistics: every figure of the three tables against values
// computed independently, and the method's report, notices and write-back.
#include "stats/descriptive.h"

#include <gtest/gtest.h>

#include <cmath>

#include "dispatch/dispatcher.h"
#include "output/text_resource.h"
#include "stats/statistics_methods.h"
#include "stats_fixture.h"

namespace dalvex {
namespace {

// Expected figures from R 4.x with the same definitions:
//   basic      c(N, min, max, mean, sqrt(var/N), var, sd, sum)
//   additional c(median, quantile(x, c(.25, .75), type = 6),
//                qt(.975, N-1) * sqrt(var/N), (N-1)*var/qchisq(.975, N-1),
//                (N-1)*var/qchisq(.025, N-1), sd * sqrt(2/(4*(N-1)+1)))
//   shape      with d = x - mean: g1 = mean(d^3)/mean(d^2)^1.5,
//              b2 = mean(d^4)/mean(d^2)^2, significances
//              1 - pnorm(abs(g1 / sqrt(6(N-2)/((N+1)(N+3))))) and
//              1 - pnorm(abs((b2-3+6/(N+1)) /
//                            sqrt(24N(N-2)(N-3)/((N+1)^2 (N+3)(N+5)))))
struct FigureCase {
    const char* name;
    std::vector<double> data;
    std::array<double, 8> basic;
    std::array<double, 7> additional;
    std::array<double, 4> shape;
};

const std::vector<FigureCase>& FigureCases() {
    static const std::vector<FigureCase> cases = {
        // N = 8: quartiles 0.75 x[1] + 0.25 x[2] and 0.25 x[5] + 0.75 x[6].
        {"eight",
         {2.1, 3.4, 1.9, 5.6, 4.4, 3.3, 2.8, 4.9},
         {8, 1.9, 5.6, 3.55, 0.467134119621213, 1.74571428571429, 1.32125481483107, 28.4},
         {3.35, 2.275, 4.775, 1.10459666800277, 0.763141191016058, 7.23132899263944,
          0.346978513268402},
         {0.245514931684503, 0.341952416296697, 1.80315867577768, 0.226077378142586}},
        {"ties",
         {1, 2, 2, 3, 3, 3, 4, 7, 7},
         {9, 1, 7, 3.55555555555556, 0.709285851933539, 4.52777777777778, 2.12785755580062, 32},
         {3, 2, 5.5, 1.63561610760055, 2.06576331854158, 16.6177507326889, 0.523842318270273},
         {0.785581821618035, 0.0921095970493337, 2.30620271745267, 0.449216171937045}},
        // A large offset: the raw power sums would cancel completely here.
        {"offset",
         {1e7 - 0.1, 1e7 + 0.1, 1e7 - 0.1, 1e7 + 0.1, 1e7},
         {5, 9999999.9, 10000000.1, 10000000, 0.0447213593833957, 0.00999999992549419,
          0.099999999627471, 50000000},
         {10000000, 9999999.9, 10000000.1, 0.124166399357821, 0.00358960515734265,
          0.0825732192062083, 0.0342997169007254},
         {0, 0.5, 1.25, 0.066807201268858}},
        {"four",
         {3, 7, 1, 12},
         {4, 1, 12, 5.75, 2.42813371405558, 23.5833333333333, 4.85626742811116, 23},
         {5, 1.5, 10.75, 7.72740516703098, 7.5681370844935, 327.857027918945, 1.90478479839722},
         {0.396992361747341, 0.248887897472865, 1.67380039705827, 0.358881717189729}},
        // N = 7: quartiles x[1] and x[5].
        {"seven",
         {5, 1, 9, 3, 7, 2, 8},
         {7, 1, 9, 5, 1.17513930278601, 9.66666666666667, 3.1091263510296, 35},
         {5, 2, 8, 2.87546228673331, 4.01401435380473, 46.8745865972914, 0.879393730551528},
         {0, 0.5, 1.46908442330559, 0.1188741990673}},
    };
    return cases;
}

// The critical t, the chi-square quantiles and the normal tail are the
// program's own approximations: the chi-square ones and the tail agree with
// the exact values to a few units in the fifth digit, the critical t for few
// degrees of freedom lies up to 1.2 % low (3.143 instead of 3.182 for 3).
// Everything else is exact arithmetic.
void ExpectNear(double actual, double expected, double relative, const std::string& what) {
    EXPECT_NEAR(actual, expected, relative * std::max(1.0, std::fabs(expected))) << what;
}

double AdditionalTolerance(int figure) {
    if (figure == 3)
        return 1.5e-2;
    return figure == 4 || figure == 5 ? 2e-4 : 1e-12;
}

TEST_F(StatsTest, FiguresOfAllThreeTablesMatchIndependentValues) {
    for (const FigureCase& c : FigureCases()) {
        const auto basic = BasicFigures(c.data);
        const auto additional = AdditionalFigures(c.data, 0.05);
        const auto shape = ShapeFigures(c.data);
        for (int i = 0; i < 8; ++i)
            ExpectNear(basic[i], c.basic[i], 1e-12,
                       std::string(c.name) + " basic " + std::to_string(i));
        for (int i = 0; i < 7; ++i)
            ExpectNear(additional[i], c.additional[i], AdditionalTolerance(i),
                       std::string(c.name) + " additional " + std::to_string(i));
        // The offset case keeps its shape only because the sums are centred.
        for (int i = 0; i < 4; ++i)
            EXPECT_NEAR(shape[i], c.shape[i], i % 2 == 0 ? 1e-6 : 3e-5) << c.name << " shape " << i;
    }
}

TEST_F(StatsTest, ReportHasTheThreeTablesAndSkipsVariablesItCannotDescribe) {
    SetRow(0, "offset", FigureCases()[2].data);
    SetRow(1, "three", {1, 2, 3});
    SetRow(2, "const", {0.1, 0.1, 0.1, 0.1, 0.1});
    ui.ExpectYesNo(AdditionalQuestion, true).ExpectYesNo(WriteBackQuestion, false);

    DescriptiveStatistics(ws);

    const std::vector<std::string> expected = {
        BasicHeading,
        "   offset        5      1E7      1E7      1E7  0.04472     0.01      0.1      5E7",
        "    const        5      0.1      0.1      0.1        0        0        0      0.5", " ",
        AdditionalHeading,
        "   offset      1E7      1E7      1E7   0.1243  0.00359  0.08257   0.0343",  // R: 0.1242
                                                                                     // with the
                                                                                     // exact t
        "    const      0.1      0.1      0.1        0        0        0        0", " ",
        ShapeHeading,
        "   offset        0      0.5     1.25   0.0668",  // R: 0.066807
    };
    EXPECT_EQ(report.lines, expected);
    // "three" is named once for all three tables, the constant variable has
    // no shape.
    const std::vector<std::string> notices = {std::string(TooFewMeasurementsNotice) + "\r\n(three)",
                                              std::string(ConstantShapeNotice) + "\r\n(const)"};
    EXPECT_EQ(ui.notices(), notices);
    EXPECT_TRUE(ui.scriptDone());
}

// Text columns load as empty rows: 55 of them give one notice naming them
// all, however many tables leave them out.
TEST_F(StatsTest, ManyUnusableVariablesAreNamedInOneNotice) {
    ws.store.SetRowWidth(0, 100);
    std::string names;
    for (int r = 0; r < 55; ++r) {
        SetRow(r, "t" + std::to_string(r), {});
        names += (r == 0 ? "" : ", ") + ("t" + std::to_string(r));
    }
    SetRow(55, "four", {3, 7, 1, 12});
    ui.ExpectYesNo(AdditionalQuestion, true).ExpectYesNo(WriteBackQuestion, false);
    DescriptiveStatistics(ws);
    EXPECT_EQ(ui.notices(), std::vector<std::string>{std::string(TooFewMeasurementsNotice) +
                                                     "\r\n(" + names + ")"});
    EXPECT_EQ(report.lines.size(), 8u);  // three headings, two blank lines, three lines of "four"
}

TEST_F(StatsTest, NoToAdditionalStatisticsSkipsBothFurtherTables) {
    SetRow(0, "four", {3, 7, 1, 12});
    ui.ExpectYesNo(AdditionalQuestion, false).ExpectYesNo(WriteBackQuestion, false);
    DescriptiveStatistics(ws);
    ASSERT_EQ(report.lines.size(), 2u);
    EXPECT_EQ(report.lines[1],
              "     four        4        1       12     5.75    2.428    23.58    4.856       23");
}

TEST_F(StatsTest, WriteBackGivesMeanDeviationAndSumOfTheValuesUsed) {
    // Row 0 came from a column of 9 cells with one missing: the sum is over
    // the 8 values used. Row 1 is refused and writes empty cells.
    SetRow(0, "eight", FigureCases()[0].data);
    ws.sheet.SetColumnLength(1, 9);
    SetRow(1, "three", {1, 2, 3});
    SetRow(2, "seven", FigureCases()[4].data);
    ui.ExpectYesNo(AdditionalQuestion, false).ExpectYesNo(WriteBackQuestion, true);

    DescriptiveStatistics(ws);

    ASSERT_EQ(ws.sheet.VariableCount(), 6);
    // R: mean, sd and sum of the "eight" and "seven" data, to the sheet's
    // 8 digits.
    const std::vector<std::vector<std::string>> expected = {
        {"    3.55", "        ", "       5"},
        {"1.3212548", "        ", "3.1091264"},
        {"    28.4", "        ", "      35"},
    };
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(SheetColumn(4 + k), expected[k]) << "column " << 4 + k;
}

TEST_F(StatsTest, ARefusedVariableNeverWritesAnEarlierRunsFigures) {
    SetRow(0, "four", {3, 7, 1, 12});
    ui.ExpectYesNo(AdditionalQuestion, false).ExpectYesNo(WriteBackQuestion, false);
    DescriptiveStatistics(ws);

    SetRow(0, "three", {1, 2, 3});
    ui.ExpectYesNo(AdditionalQuestion, false).ExpectYesNo(WriteBackQuestion, true);
    DescriptiveStatistics(ws);
    for (int col = 2; col <= 4; ++col)
        EXPECT_EQ(SheetColumn(col), std::vector<std::string>{"        "}) << col;
}

}  // namespace
}  // namespace dalvex

namespace dalvex {
namespace {

struct NoWindows : RunWindows {};

// A full sheet, 10 variables of 6500 values, is described whole: every row
// of the table counts 6500, and no notice says a variable is too long.
TEST_F(StatsTest, AFullSheetIsDescribedWhole) {
    ws.resources = &TextResources::Builtin();
    for (int col = 1; col <= 10; ++col) {
        PutSheetText(ws, "v" + std::to_string(col), col, -1);
        for (int i = 0; i < 6500; ++i)
            PutSheetText(ws, std::to_string(i % 97), col, i);
    }
    ASSERT_EQ(ws.sheet.FilledCells(), CellCapacity);
    TSMForm form(ws);
    NoWindows windows;
    const MethodRegistry methods = BuiltStatisticsMethods();
    MethodDispatcher dispatcher(ws, form, methods, windows);
    ui.ExpectVariables("Анализ переменных",
                       {{VariableAction::All, {}}, {VariableAction::Confirm, {}}})
        .ExpectYesNo(AdditionalQuestion, false)
        .ExpectYesNo(WriteBackQuestion, false);
    dispatcher.FormIni(1);
    EXPECT_TRUE(ui.notices().empty());
    ASSERT_EQ(report.lines.size(), 14u);  // header, heading, 10 rows, 2 closing lines
    for (int r = 0; r < 10; ++r)
        EXPECT_EQ(report.lines[2 + r].substr(9, 9), "     6500") << report.lines[2 + r];
}

}  // namespace
}  // namespace dalvex
