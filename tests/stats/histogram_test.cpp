// The histogram and the normality tests: the three criteria against values
// computed independently, the report with its significance and verdict
// lines, the stored frequencies, the graph, and data the tests cannot use.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "core/form_dialog.h"
#include "dispatch/loading.h"
#include "output/text_resource.h"
#include "stats/descriptive.h"
#include "stats_fixture.h"

namespace dalvex {
namespace {

// R: round(exp(qnorm(ppoints(100)) * 0.5) * 10, 1), a skewed sample.
const std::vector<double> Skewed = {
    2.8,  3.4,  3.8,  4,    4.3,  4.5,  4.7,  4.9,  5,    5.2,  5.3,  5.5,  5.6,  5.8,  5.9,
    6,    6.1,  6.3,  6.4,  6.5,  6.6,  6.7,  6.9,  7,    7.1,  7.2,  7.3,  7.4,  7.5,  7.6,
    7.7,  7.9,  8,    8.1,  8.2,  8.3,  8.4,  8.5,  8.6,  8.8,  8.9,  9,    9.1,  9.2,  9.3,
    9.5,  9.6,  9.7,  9.8,  9.9,  10.1, 10.2, 10.3, 10.4, 10.6, 10.7, 10.9, 11,   11.1, 11.3,
    11.4, 11.6, 11.7, 11.9, 12,   12.2, 12.4, 12.5, 12.7, 12.9, 13.1, 13.3, 13.5, 13.7, 13.9,
    14.1, 14.4, 14.6, 14.8, 15.1, 15.4, 15.7, 16,   16.3, 16.6, 17,   17.4, 17.8, 18.2, 18.7,
    19.3, 19.9, 20.5, 21.3, 22.2, 23.3, 24.7, 26.6, 29.6, 36.3};

// R: round(10 + 2 * qnorm(ppoints(100)), 2), as normal as 100 values get.
const std::vector<double> Normal = {
    4.85,  5.66,  6.08,  6.38,  6.61,  6.8,   6.97,  7.12,  7.26,  7.38,  7.49,  7.6,   7.7,
    7.79,  7.88,  7.97,  8.05,  8.13,  8.21,  8.28,  8.35,  8.42,  8.49,  8.56,  8.62,  8.68,
    8.74,  8.8,   8.86,  8.92,  8.98,  9.04,  9.09,  9.15,  9.2,   9.26,  9.31,  9.36,  9.42,
    9.47,  9.52,  9.57,  9.62,  9.67,  9.72,  9.77,  9.82,  9.87,  9.92,  9.97,  10.03, 10.08,
    10.13, 10.18, 10.23, 10.28, 10.33, 10.38, 10.43, 10.48, 10.53, 10.58, 10.64, 10.69, 10.74,
    10.8,  10.85, 10.91, 10.96, 11.02, 11.08, 11.14, 11.2,  11.26, 11.32, 11.38, 11.44, 11.51,
    11.58, 11.65, 11.72, 11.79, 11.87, 11.95, 12.03, 12.12, 12.21, 12.3,  12.4,  12.51, 12.62,
    12.74, 12.88, 13.03, 13.2,  13.39, 13.62, 13.92, 14.34, 15.15};

// Expected values from R with the same definitions, 9 classes between the
// extremes (a value on an inner border in the lower class):
//   with C = sum(O), the values counted in a class (N when none is outside):
//   mg = sum(O*(i+0.5))/C; sg = sqrt(sum(O*(i+0.5-mg)^2)/C - 1/48)
//   P_i = pnorm((i-mg)/sg + 1/sg) - pnorm((i-mg)/sg); chi = sum((O-C*P)^2/(C*P))
//   F = pnorm((x-mean)/sd); D = max(|F-j/N|, |F-(j+1)/N|);
//   omega = 1/(12N) + sum((F-(2j+1)/(2N))^2) (the complete statistic); pD = 2*sqrt(K)*exp(-K*N*D^2)
//   with K = 5.503876787768218; pO = exp(0.9372 - 31.18*omega*(1+0.5/N)); either one at 0.5 or
//   above replaced by pchisq(chi, k-3, lower=F) + 0.0513 or + 0.1112.
struct NormalityCase {
    const char* name;
    const std::vector<double>* data;
    std::vector<double> frequencies;
    double mean, sd;
    NormalityFigures expected;
};

const NormalityCase Cases[] = {
    {"skewed",
     &Skewed,
     {20, 32, 23, 12, 7, 3, 1, 1, 1},
     11.31,
     5.92431217505245,
     {2.28, 1.57821629273895, 89.3711774315347, 0.104138407163948, 0.38939189592849,
      0.011998482689664, 1.28169055594502e-05, 4.09290706886174e-17}},
    // Borders 2.8 and 21.41 in 5 classes leave 6 values outside: the grouped
    // figures and the expected counts are over the 94 values counted.
    {"outside",
     &Skewed,
     {20, 32, 23, 12, 7},
     11.31,
     5.92431217505245,
     {2.01063829787234, 1.16478026586697, 7.51276278808106, 0.104138407163948, 0.38939189592849,
      0.011998482689664, 1.28169055594502e-05, 0.0233681476828655}},
    // Both fallbacks pass 1 here (1.051 and 1.111 in R): printed as 1.
    {"normal",
     &Normal,
     {2, 6, 12, 19, 22, 19, 12, 6, 2},
     10,
     1.99743471846903,
     {4.5, 1.74332058631414, 0.259652206920462, 0.00600359669920492, 0.00086367051026735, 1, 1,
      0.99966903201434}},
};

TEST(NormalityTestsTest, CriteriaAndSignificancesMatchIndependentValues) {
    for (const NormalityCase& c : Cases) {
        NormalityFigures f;
        ASSERT_TRUE(NormalityTests(*c.data, c.frequencies, c.mean, c.sd, f)) << c.name;
        const NormalityFigures& e = c.expected;
        EXPECT_NEAR(f.groupedMean, e.groupedMean, 1e-12) << c.name;
        EXPECT_NEAR(f.groupedSd, e.groupedSd, 1e-12) << c.name;
        // The normal law is the program's approximation, about 1e-5 off the
        // exact one; chi-square divides by class probabilities as small as
        // 1e-4 in the tails, where that becomes up to 1 % of the statistic.
        EXPECT_NEAR(f.chiSquare, e.chiSquare, 1e-2 * e.chiSquare) << c.name;
        EXPECT_NEAR(f.kolmogorov, e.kolmogorov, 2e-5) << c.name;
        EXPECT_NEAR(f.omegaSquare, e.omegaSquare, 5e-5) << c.name;
        EXPECT_NEAR(f.kolmogorovP, e.kolmogorovP, 1e-5) << c.name;
        EXPECT_NEAR(f.omegaSquareP, e.omegaSquareP, 1e-5) << c.name;
        EXPECT_NEAR(f.chiSquareP, e.chiSquareP, 1e-4) << c.name;
        EXPECT_LE(f.kolmogorovP, 1.0);
        EXPECT_LE(f.omegaSquareP, 1.0);
    }
}

TEST(NormalityTestsTest, ValuesInOneClassLeaveTheGroupedDeviationUndefined) {
    NormalityFigures f;
    EXPECT_FALSE(NormalityTests({1, 2, 3, 4}, {4, 0, 0, 0}, 2.5, 1.29, f));
    EXPECT_FALSE(NormalityTests({1, 2, 3, 4}, {0, 0, 0, 0}, 2.5, 1.29, f));
}

class HistogramTest : public StatsTest {
  protected:
    HistogramTest() {
        ws.resources = &TextResources::Builtin();
        ws.VerdictGroup = 0;
        ws.VerdictIndex = 1;
    }
    // The data shuffled, as a sheet would hold them: the method sorts.
    void Load(const std::vector<double>& data) {
        std::vector<double> shuffled = data;
        std::reverse(shuffled.begin(), shuffled.end());
        std::rotate(shuffled.begin(), shuffled.begin() + shuffled.size() / 3, shuffled.end());
        SetRow(0, "доход", shuffled);
    }
    // "<name><value>, Значимость=<p>, степ.своб = <df>", the value and p to
    // the four printed digits (and the program's approximate normal law).
    static void ExpectCriterion(const std::string& line, const std::string& name, double value,
                                double p, const std::string& df) {
        SCOPED_TRACE(line);
        ASSERT_EQ(line.rfind(name, 0), 0u);
        const std::size_t sig = line.find(", Значимость=");
        const std::size_t dfAt = line.find(", степ.своб = ");
        ASSERT_NE(sig, std::string::npos);
        ASSERT_NE(dfAt, std::string::npos);
        const double printed = std::stod(line.substr(name.size(), sig - name.size()));
        const double printedP = std::stod(line.substr(sig + std::string(", Значимость=").size()));
        EXPECT_NEAR(printed, value, 1e-2 * value);
        // The chi-square tail approximation bottoms out near 1e-5.
        EXPECT_NEAR(printedP, p, std::max(2e-3 * p, 2e-5));
        EXPECT_EQ(line.substr(dfAt + std::string(", степ.своб = ").size()), df);
    }
    bool Has(const std::string& line) const {
        return std::find(report.lines.begin(), report.lines.end(), line) != report.lines.end();
    }
};

TEST_F(HistogramTest, ProposedClassesTestsVerdictsStoredFrequenciesAndGraph) {
    Load(Skewed);
    ui.ExpectForm("Гистограмма", 1)
        .ExpectYesNo(StoreHistogramQuestion, true)
        .ExpectGraphPrompt(true);

    HistogramNormality(ws);

    ASSERT_EQ(ui.forms().size(), 1u);
    EXPECT_EQ(ui.forms()[0].Values()[0], "9");  // classes proposed for 100 values
    EXPECT_EQ(report.lines.front(), "                  Переменная: доход");
    // Kolmogorov and omega-square with N degrees of freedom, chi-square with
    // k - 3, each followed by the verdict; the figures are R's above.
    const std::string rejected = "   Гипотеза 1: <Распределение отличается от нормального>";
    ASSERT_GE(report.lines.size(), 6u);
    const std::vector<std::string> tail(report.lines.end() - 6, report.lines.end());
    ExpectCriterion(tail[0], "Колмогоров=", 0.104138, 0.0119985, "100");
    ExpectCriterion(tail[2], "Омега-квадрат=", 0.389392, 1.28169e-05, "100");
    ExpectCriterion(tail[4], "Хи-квадрат=", 89.3712, 4.0929e-17, "6");
    for (int i : {1, 3, 5})
        EXPECT_EQ(tail[i], rejected);

    // The frequencies as a new variable.
    const std::vector<std::string> stored = {"      20", "      32", "      23",
                                             "      12", "       7", "       3",
                                             "       1", "       1", "       1"};
    EXPECT_EQ(SheetColumn(2), stored);

    // Bars at the class centres, the curve's peak as tall as the tallest bar.
    ASSERT_EQ(graphs.requests, 1);
    EXPECT_EQ(graphs.prompts, 1);
    EXPECT_EQ(graphs.request, RequestPairs);
    EXPECT_EQ(graphs.lastSeries, 1);
    EXPECT_EQ(graphs.title, "Гистограмма: доход");
    EXPECT_EQ(graphs.styles, (std::vector<int>{3, 0}));
    const double w = (36.3 - 2.8) / 9;
    ASSERT_EQ(graphs.rows[0].size(), 9u);
    EXPECT_NEAR(graphs.rows[0][0], 2.8 + w / 2, 1e-12);
    EXPECT_NEAR(graphs.rows[0][8], 36.3 - w / 2, 1e-12);
    EXPECT_EQ(graphs.rows[1][1], 32);
    ASSERT_EQ(graphs.rows[2].size(), 51u);
    EXPECT_DOUBLE_EQ(graphs.rows[2][0], 2.8);
    EXPECT_DOUBLE_EQ(graphs.rows[2][50], 36.3);
    // R: 32 * exp(-((x - 11.31)/5.92431217505245)^2 / 2) at x = 2.8 + 33.5/50 * 13.
    EXPECT_NEAR(graphs.rows[3][13], 31.98177026, 1e-4);
    EXPECT_LE(*std::max_element(graphs.rows[3].begin(), graphs.rows[3].end()), 32.0);
}

TEST_F(HistogramTest, AFitThatLooksNormalGetsTheAcceptingVerdictAndSignificanceOne) {
    Load(Normal);
    ui.ExpectForm("Гистограмма", 1)
        .ExpectYesNo(StoreHistogramQuestion, false)
        .ExpectGraphPrompt(false);
    HistogramNormality(ws);
    const std::string accepted = "   Гипотеза 0: <Распределение не отличается от нормального>";
    ASSERT_GE(report.lines.size(), 6u);
    const std::vector<std::string> tail(report.lines.end() - 6, report.lines.end());
    ExpectCriterion(tail[0], "Колмогоров=", 0.00600360, 1, "100");
    ExpectCriterion(tail[2], "Омега-квадрат=", 8.63671e-04, 1, "100");
    ExpectCriterion(tail[4], "Хи-квадрат=", 0.259652, 0.999669, "6");
    for (int i : {1, 3, 5})
        EXPECT_EQ(tail[i], accepted);
    EXPECT_EQ(ws.sheet.VariableCount(), 1);
}

TEST_F(HistogramTest, DataTheTestsCannotUseGiveANoticeInsteadOfAFault) {
    struct Case {
        const char* name;
        std::vector<double> data;
        std::vector<std::string> form;  // empty: no form is shown
        std::string notice;
    };
    const Case cases[] = {
        {"constant", {0.1, 0.1, 0.1, 0.1, 0.1}, {}, ConstantHistogramNotice("доход")},
        {"only missing cells", {}, {}, TooFewValuesNotice},
        {"three classes", Skewed, {"3"}, FewBinsNotice},
        {"one class", Skewed, {"4", "0", "1000"}, OneClassNotice},
    };
    for (const Case& c : cases) {
        ui.ClearLog();
        report.lines.clear();
        graphs.requests = 0;
        Load(c.data);
        if (!c.form.empty())
            ui.ExpectForm("Гистограмма", 1, c.form);
        HistogramNormality(ws);
        EXPECT_EQ(ui.notices(), std::vector<std::string>{c.notice}) << c.name;
        EXPECT_EQ(ui.forms().size(), c.form.empty() ? 0u : 1u) << c.name;
        EXPECT_FALSE(Has("Хи-квадрат") || std::any_of(report.lines.begin(), report.lines.end(),
                                                      [](const std::string& line) {
                                                          return line.find("Значимость") !=
                                                                 std::string::npos;
                                                      }))
            << c.name;
        EXPECT_EQ(graphs.requests, 0) << c.name;
        EXPECT_TRUE(ui.scriptDone()) << c.name;
    }
}

}  // namespace
}  // namespace dalvex
