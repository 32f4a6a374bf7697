// Multiple regression (method 21) end to end through the batch runner,
// against R. longley.txt is R's datasets::longley with short names
// (deflator GNP unemp armed popul year employed): the classical
// ill-conditioned benchmark. The R calls are beside each figure.
// Significances come from the program's own approximate distribution
// routines and are not compared with R.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "core/number.h"
#include "core/text.h"
#include "numeric/distributions.h"
#include "stats/multiple_regression.h"
#include "support/batch_run.h"
#include "support/temp_folder.h"

namespace dalvex {
namespace {

// A figure as the report shows it, in its 9-character field.
std::string F(double x, int digits = 7) {
    const std::string text = FormatNumber(x, digits);
    return CharLength(text) >= 9 ? " " + text : PadLeft(text, 9);
}

std::string Row(const std::string& label, std::initializer_list<double> figures, int digits = 7) {
    std::string line = label;
    for (double x : figures)
        line += F(x, digits);
    return line + "\n";
}

class MultipleRegressionTest : public ::testing::Test {
  protected:
    BatchOutcome Run(const std::string& script, const std::string& data = {}) {
        std::string open = "open " + std::string(DALVEX_STATS_DATA) + "/longley.txt\n";
        if (!data.empty()) {
            std::ofstream(folder_ / "m.txt", std::ios::binary) << data;
            open = "open m.txt\n";
        }
        return RunMethodsScript(open + script, folder_.WithSlash());
    }
    static bool Has(const BatchOutcome& run, const std::string& text) {
        return run.results.find(text) != std::string::npos;
    }
    TempFolder folder_{"multireg"};
};

// summary(lm(employed ~ ., longley)): every coefficient and standard error;
// anova(): SSR 184.1724019 (the sum of the sequential sums of squares), SSE
// 0.8364240555 on 9 df; R^2 0.9954790046, adjusted 0.9924650076, sigma
// 0.3048540736, F 330.2853392. Beta = b * sd(x) / sd(y), F = t^2.
TEST_F(MultipleRegressionTest, LongleyAgreesWithLmToThePrintedDigits) {
    const BatchOutcome run =
        Run("digits 7\nmethod 21\nregression x 1 2 3 4 5 6 y 7\ncancel\nform 0\n");
    ASSERT_EQ(run.status, BatchDone) << run.messages;
    EXPECT_TRUE(
        Has(run,
            "Y=employed, X=deflator,      GNP,    unemp,    armed,    popul,     year, \n"
            "  Коэфф.       a0       a1       a2       a3       a4       a5       a6\n" +
                Row("Значение", {-3482.258635, 0.01506187227, -0.03581917929, -0.02020229804,
                                 -0.01033226867, -0.05110410565, 1.829151465}) +
                Row("Ст.ошиб.", {890.4203836, 0.08491492577, 0.03349100777, 0.004883996817,
                                 0.002142741632, 0.2260732001, 0.4554784991})))
        << run.results;
    EXPECT_TRUE(Has(run, Row("Регресс.", {184.1724019, 6, 184.1724019 / 6}) +
                             Row("Остаточн", {0.8364240555, 9, 0.8364240555 / 9}) +
                             Row("     Вся", {184.1724019 + 0.8364240555, 15})))
        << run.results;
    EXPECT_TRUE(Has(run, F(std::sqrt(0.9954790046), 5) + F(0.9954790046, 5) + F(0.9924650076, 5) +
                             F(0.3048540736, 5) + F(330.2853392)))
        << run.results;
    const double t = std::sqrt(17.11003127);
    EXPECT_TRUE(Has(run, std::string(InEquationRule) + "\n" + InEquationHeading + "\n"))
        << run.results;
    EXPECT_TRUE(Has(run, "    unemp" + Row("", {-0.02020229804, 0.004883996817, -0.5375425776,
                                                17.11003127, FisherTail(t, 1, 9)})))
        << run.results;
    EXPECT_TRUE(
        Has(run, "     year" + F(1.829151465) + F(0.4554784991) + F(2.479664383) + F(16.12737099)))
        << run.results;
}

// predict(m, data.frame(deflator = 100, GNP = 400, unemp = 300, armed =
// 300, popul = 115, year = 1955)) = 65.87365207. The residual table's first
// line: deflator 83, employed 60.323, fitted 60.05565997, residual
// 0.2673400298, (e - mean(e)) / sd(e) = 1.132130171, and the standard error
// of prediction sqrt(sigma^2 (1 + hatvalues(m)[1])) = 0.3638554287.
TEST_F(MultipleRegressionTest, PredictionResidualTableAndGraphs) {
    const BatchOutcome run =
        Run("digits 7\nmethod 21\nregression x 1 2 3 4 5 6 y 7\n"
            "form 1 100\nform 1 400\nform 1 300\nform 1 300\nform 1 115\nform 1 1955\ncancel\n"
            "form 4\nform 2 X=3\ngraph keep\nform 3 X=9\ngraph keep\nform 1\ngraph keep\nform 0\n");
    ASSERT_EQ(run.status, BatchDone) << run.messages;
    EXPECT_TRUE(Has(run,
                    "deflator=100, GNP=400, unemp=300, armed=300, popul=115, year=1955, "
                    "employed=" +
                        FormatNumber(65.87365207, 7) + "\n"))
        << run.results;
    const double t = FisherQuantile(1, 9, 0.05);
    EXPECT_TRUE(Has(run, std::string(ResidualHeading) + "\n" +
                             Row("", {83, 60.323, 60.05565997, 0.2673400298, 1.132130171,
                                      0.3638554287, t * 0.3638554287})))
        << run.results;
    EXPECT_EQ(run.messages.find("Сообщение"), std::string::npos) << run.messages;
}

// Sheets where the fit is hard or cannot be made; each case: the script's
// variables, the notice it must give (or none) and lines that must (not)
// be in the report.
TEST_F(MultipleRegressionTest, HardAndDegenerateData) {
    // h1 = 1e7 + tenths, h2, h3 = h2 + a few thousandths, s = h1 + h2
    // exactly, c constant, y; the fourth row has no h2.
    const std::string data =
        "h1 h2 h3 s c y\n"
        "10000000.1 1 1.001 10000001.1 4 2.1\n"
        "10000000.3 3 2.998 10000003.3 4 3.0\n"
        "10000000.2 2 2.0015 10000002.2 4 2.2\n"
        "10000001.3 ? 8 10000009.3 4 7.7\n"
        "10000000.5 5 5 10000005.5 4 4.1\n"
        "10000000.4 4 3.999 10000004.4 4 3.6\n"
        "10000000.7 4 4.002 10000004.7 4 4.4\n"
        "10000000.6 6 5.9995 10000006.6 4 4.9\n"
        "10000000.9 7 7.001 10000007.9 4 5.8\n";
    struct Case {
        const char* what;
        std::string script, notice, present, absent;
    };
    const std::string end = "cancel\nform 0\n";
    const Case cases[] = {
        // lm(y ~ I(h1 - 1e7) + h2) on the 8 complete rows: slopes
        // 2.580041584535 (se 0.5793280221026) and 0.3152806645291 (se
        // 0.07731913283857); the intercept -25800414.53724 (se
        // 5793280.207578) through vcov(). Listwise: the row without h2
        // leaves h1 and y too.
        {"large offset, a missing cell", "method 21\nregression x 1 2 y 6\n" + end, "",
         Row("Значение", {-25800414.53724, 2.580041584535, 0.3152806645291}) +
             Row("Ст.ошиб.", {5793280.207578, 0.5793280221026, 0.07731913283857}),
         "Сообщение"},
        // lm(y ~ h2 + h3): near-collinear, 1.178125 (se 0.2669701235626),
        // -130.1954166667 (se 87.81537828995), 130.8333333333 (se
        // 87.82163109903).
        {"near-collinear", "method 21\nregression x 2 3 y 6\n" + end, "",
         Row("Значение", {1.178125, -130.1954166667, 130.8333333333}) +
             Row("Ст.ошиб.", {0.2669701235626, 87.81537828995, 87.82163109903}),
         ""},
        {"exactly collinear X are named", "method 21\nregression x 1 2 4 y 6\n",
         "!СИНГУЛЯРНАЯ МАТРИЦА - РЕШЕНИЕ НЕВОЗМОЖНО! ЛИНЕЙНО ЗАВИСИМЫ: h1, h2, s!", "", "Коэфф."},
        {"a constant X is named", "method 21\nregression x 2 5 y 6\n",
         "!СИНГУЛЯРНАЯ МАТРИЦА - РЕШЕНИЕ НЕВОЗМОЖНО! ПОСТОЯННАЯ ПЕРЕМЕННАЯ: c!", "", "Коэфф."},
        {"constant Y", "method 21\nregression x 1 2 y 5\n",
         "!ЗАВИСИМАЯ ПЕРЕМЕННАЯ ПОСТОЯННА - РЕГРЕССИЯ НЕ ОПРЕДЕЛЕНА!", "", "Коэфф."},
    };
    for (const Case& c : cases) {
        const BatchOutcome run = Run("digits 7\n" + c.script, data);
        EXPECT_EQ(run.status, BatchDone) << c.what << "\n" << run.messages;
        if (c.notice.empty()) {
            EXPECT_EQ(run.messages.find("Сообщение"), std::string::npos) << c.what << run.messages;
        } else {
            EXPECT_NE(run.messages.find(c.notice), std::string::npos) << c.what << run.messages;
        }
        if (!c.present.empty()) {
            EXPECT_TRUE(Has(run, c.present)) << c.what << "\n" << run.results;
        }
        if (!c.absent.empty()) {
            EXPECT_FALSE(Has(run, c.absent)) << c.what << "\n" << run.results;
        }
        for (const char* bad : {"nan", "inf", "NaN", "Inf"})
            EXPECT_FALSE(Has(run, bad)) << c.what;
    }
}

// With one X the multiple regression is the simple linear one:
// lm(employed ~ GNP) 51.84358978 (se 0.6813716364), 0.03475229435 (se
// 0.001705712155). The slope's t test and the regression's F test are one
// test: F's significance is that of t = sqrt(F), not of F itself.
TEST_F(MultipleRegressionTest, OneXIsTheSimpleLine) {
    const BatchOutcome run = Run("digits 7\nmethod 21\nregression x 2 y 7\ncancel\nform 0\n");
    ASSERT_EQ(run.status, BatchDone) << run.messages;
    EXPECT_TRUE(Has(run, Row("Значение", {51.84358978, 0.03475229435}) +
                             Row("Ст.ошиб.", {0.6813716364, 0.001705712155})))
        << run.results;
    const std::string p = FormatNumber(FisherTail(0.03475229435 / 0.001705712155, 1, 14), 7);
    const std::string table = run.results.substr(run.results.find(" Значим."));
    const std::string slopeLine = table.substr(0, table.find('\n'));
    const auto endsWith = [&](const std::string& line) {
        return line.size() >= p.size() && line.compare(line.size() - p.size(), p.size(), p) == 0;
    };
    EXPECT_TRUE(endsWith(slopeLine)) << run.results;
    const std::string fit = run.results.substr(run.results.find(FitHeading));
    const std::string fitLine = SplitLines(fit)[1];
    EXPECT_TRUE(endsWith(fitLine)) << run.results;
}

// As many observations as coefficients: the plane passes through every
// point (y = 1 + x1 + 2 x2), no error can be estimated and no variance
// table is written; fewer observations are refused.
TEST_F(MultipleRegressionTest, AsManyObservationsAsCoefficients) {
    const std::string data = "x1 x2 y\n0 0 1\n1 0 2\n0 1 3\n";
    const BatchOutcome exact = Run("method 21\nregression x 1 2 y 3\ncancel\nform 0\n", data);
    ASSERT_EQ(exact.status, BatchDone) << exact.messages;
    EXPECT_TRUE(Has(exact, Row("Значение", {1, 1, 2}, 4) + Row("Ст.ошиб.", {0, 0, 0}, 4)))
        << exact.results;
    EXPECT_FALSE(Has(exact, AnovaHeading)) << exact.results;
    for (const char* bad : {"nan", "inf"})
        EXPECT_FALSE(Has(exact, bad));

    const BatchOutcome few = Run("method 21\nregression x 1 2 y 3\n", "x1 x2 y\n0 0 1\n1 0 2\n");
    EXPECT_NE(few.messages.find(FewerMeasurementsNotice), std::string::npos) << few.messages;
}

}  // namespace
}  // namespace dalvex
