// Simple and nonlinear regression (methods 20 and 23) end to end through the
// batch runner, against R. The sheet (written by each test):
//   x = 1..10, y (a curve), z (two values <= 0), c (constant), p = 2x + 1,
//   t (8 values, a trend), b = 1e7 + 0.1 i and w (20 values).
// The R calls are beside each figure; figures are R's rounded to the
// printed digits. Significances and t quantiles come from the program's own
// approximate distribution routines and are not compared with R.
#include <gtest/gtest.h>

#include <fstream>

#include <cmath>

#include "core/number.h"
#include "core/text.h"
#include "numeric/distributions.h"
#include "stats/simple_regression.h"
#include "support/batch_run.h"
#include "support/temp_folder.h"

namespace dalvex {
namespace {

const char* const Sheet =
    "x y z c p t b w\n"
    "1 2.1 1.2 5 3 3.1 10000000.0 0.0\n"
    "2 3.9 -0.5 5 5 3.9 10000000.1 0.25\n"
    "3 8.2 2.9 5 7 5.2 10000000.2 0.5\n"
    "4 15.8 4.1 5 9 5.8 10000000.3 0.25\n"
    "5 26.1 0 5 11 7.1 10000000.4 0.5\n"
    "6 37.2 9.8 5 13 8.2 10000000.5 0.25\n"
    "7 50.5 14.2 5 15 8.8 10000000.6 0.5\n"
    "8 64.8 22.5 5 17 10.1 10000000.7 0.75\n"
    "9 82.1 30.1 5 19 ? 10000000.8 0.5\n"
    "10 101.5 52.0 5 21 ? 10000000.9 0.75\n"
    "? ? ? ? ? ? 10000001.0 0.5\n"
    "? ? ? ? ? ? 10000001.1 0.75\n"
    "? ? ? ? ? ? 10000001.2 1.0\n"
    "? ? ? ? ? ? 10000001.3 0.75\n"
    "? ? ? ? ? ? 10000001.4 1.0\n"
    "? ? ? ? ? ? 10000001.5 0.75\n"
    "? ? ? ? ? ? 10000001.6 1.0\n"
    "? ? ? ? ? ? 10000001.7 1.25\n"
    "? ? ? ? ? ? 10000001.8 1.0\n"
    "? ? ? ? ? ? 10000001.9 1.25\n";

// x = 0..14 and a logistic rise; x7, y7 (10 values) and x12, y12 (12).
const char* const Curves =
    "x y x7 y7 x12 y12\n"
    "0 1.02 1 3.1 1 8.2\n"
    "1 1.05 2 4.6 2 6.9\n"
    "2 1.11 3 6.6 3 5.9\n"
    "3 1.24 4 9.1 4 5.2\n"
    "4 1.49 5 11.8 5 4.6\n"
    "5 1.98 6 15.2 6 4.2\n"
    "6 2.72 7 18.7 7 3.9\n"
    "7 3.61 8 22.6 8 3.7\n"
    "8 4.43 9 27.2 9 3.55\n"
    "9 5.05 10 31.9 10 3.4\n"
    "10 5.43 ? ? 11 3.35\n"
    "11 5.66 ? ? 12 3.3\n"
    "12 5.79 ? ? ? ?\n"
    "13 5.85 ? ? ? ?\n"
    "14 5.90 ? ? ? ?\n";

class SimpleRegressionTest : public ::testing::Test {
  protected:
    BatchOutcome Run(const std::string& script, const char* data = Sheet) {
        std::ofstream(folder_ / "r.txt", std::ios::binary) << data;
        return RunMethodsScript("open r.txt\n" + script, folder_.WithSlash());
    }
    static bool Has(const BatchOutcome& run, const std::string& text) {
        return run.results.find(text) != std::string::npos;
    }
    TempFolder folder_{"regression"};
};

// A figure as the report shows it, in its 9-character field.
std::string F(double x, int digits = 4) {
    const std::string text = FormatNumber(x, digits);
    return CharLength(text) >= 9 ? " " + text : PadLeft(text, 9);
}

std::string Fields(std::initializer_list<double> figures) {
    std::string line;
    for (double x : figures)
        line += F(x);
    return line + "\n";
}

std::string Row(const std::string& label, std::initializer_list<double> figures) {
    std::string line = label;
    for (double x : figures)
        line += F(x);
    return line + "\n";
}

// One model on one pair, every line of its tables, from lm(y ~ x):
// a = -22.12 (se 5.6631421303), b = 11.15272727 (se 0.9126979954), SSR
// 10261.6243636, SSE 549.7916364, R^2 0.9491471204, adj. 0.9427905104,
// sigma 8.2899912271, F 149.3165582730. The slope's significance and F's
// are one test: the same figure.
TEST_F(SimpleRegressionTest, LinearModelWritesItsTablesAsLmHasThem) {
    const BatchOutcome run =
        Run("method 20\nregression x 1 y 2\nform 1\ncancel\ngraph keep\nform 0\n");
    ASSERT_EQ(run.status, BatchDone) << run.messages;
    const double p = FisherTail(11.15272727 / 0.9126979954, 1, 8);
    const std::string expected =
        "Линейная модель: Y=a0+a1*x\n"
        "Y=y, X=       x, \n"
        "  Коэфф.       a0       a1\n" +
        Row("Значение", {-22.12, 11.15272727}) + Row("Ст.ошиб.", {5.6631421303, 0.9126979954}) +
        Row(" Значим.", {FisherTail(22.12 / 5.6631421303, 1, 8), p}) +
        "\n"
        "Источник  Сум.квадр. Степ.св Средн.квадр.\n" +
        Row("Регресс.", {10261.6243636, 1, 10261.6243636}) +
        Row("Остаточн", {549.7916364, 8, 549.7916364 / 8}) +
        Row("     Вся", {10261.6243636 + 549.7916364, 9}) +
        "\n"
        "Множеств R     R^2  R^2прив  Ст.ошиб.       F   Значим\n" +
        F(std::sqrt(0.9491471204), 5) + F(0.9491471204, 5) + F(0.9427905104, 5) +
        F(8.2899912271, 5) + F(149.3165582730) + F(p) +
        "\n"
        "   Гипотеза 1: <Модель регрессии значима>\n";
    EXPECT_TRUE(Has(run, expected)) << run.results;
}

// predict(lm(y ~ x), data.frame(x = 11:21), interval = "prediction"): the fit
// 100.56 at 11 ... 212.0872727 at 21, eleven lines from one step after the
// last X. The half-width is t * se with the program's t.
TEST_F(SimpleRegressionTest, ForecastOfTenStepsPrintsElevenLines) {
    const BatchOutcome run =
        Run("method 20\nregression x 1 y 2\nform 1\ncancel\ngraph keep\nform 2 10 1\ngraph keep\n"
            "form 0\n");
    ASSERT_EQ(run.status, BatchDone) << run.messages;
    const double t = FisherQuantile(1, 8, 0.05);
    const std::string heading = "   Xпрогн   Yпрогн   Ст.ошиб  Довер.инт\n";
    ASSERT_TRUE(Has(run, heading)) << run.results;
    const std::string table = run.results.substr(run.results.find(heading) + heading.size());
    const std::vector<std::string> lines = SplitLines(table);
    ASSERT_GE(lines.size(), 11u);
    const double se11 = (123.7115389 - 100.56) / 2.306004135;
    const double se21 = (250.3786666 - 212.0872727) / 2.306004135;
    EXPECT_EQ(lines[0] + "\n", Fields({11, 100.56, se11, t * se11}));
    EXPECT_EQ(lines[10] + "\n", Fields({21, 212.0872727, se21, t * se21}));
    EXPECT_TRUE(lines[11].empty() || lines[11].find("Xпрогн") == std::string::npos);
}

// Each run's script, a notice it must give (or none), a line that must be in
// the report and one that must not.
TEST_F(SimpleRegressionTest, ModelsAndTheirFaultsAgainstR) {
    struct Case {
        const char* what;
        std::string script, notice, present, absent;
        int status = BatchDone;
    };
    const std::string end = "cancel\ngraph keep\nform 0\n";
    const Case cases[] = {
        // lm(y ~ 0 + x): 7.992727273 (se 0.679164166), uncentred R^2
        // 0.9389818223, adj. 0.9322020248 on 9 df; the total has 10 df.
        {"no intercept", "method 20\nregression x 1 y 2\nform 3 m=1\nno\n" + end, "",
         Row("Значение", {7.992727273}) + Row("Ст.ошиб.", {0.679164166}), "  Коэфф.       a0"},
        {"no intercept: totals", "method 20\nregression x 1 y 2\nform 3 m=1\nno\n" + end, "",
         Row("Остаточн", {1598.2796363636, 9, 1598.2796363636 / 9}) +
             Row("     Вся", {0, 10}).substr(0, 8),
         ""},
        // lm(log(z[z > 0]) ~ x[z > 0]): -0.2101730549 (se 0.039755846779),
        // 0.4113398387 (se 0.005959653397); z = -0.5 and 0 are left out.
        {"exponential without y <= 0", "method 20\nregression x 1 y 3\nform 8\n" + end,
         "Исключено наблюдений=2",
         Row("Значение", {-0.2101730549, 0.4113398387}) +
             Row("Ст.ошиб.", {0.039755846779, 0.005959653397}),
         ""},
        {"all X equal", "method 20\nregression x 4 y 2\nform 1\n",
         "!СИНГУЛЯРНАЯ МАТРИЦА - РЕШЕНИЕ НЕВОЗМОЖНО!", "Линейная модель", "Коэфф."},
        {"polynomial degree above the data", "method 20\nregression x 1 y 2\nform 3 m=9\n",
         "!МАЛО ЗНАЧЕНИЙ ПЕРЕМЕННЫХ!", "Полиномиальная модель", "Коэфф."},
        {"constant Y", "method 20\nregression x 1 y 4\nform 1\n",
         "!ЗАВИСИМАЯ ПЕРЕМЕННАЯ ПОСТОЯННА - РЕГРЕССИЯ НЕ ОПРЕДЕЛЕНА!", "", "Коэфф."},
        // p = 2x + 1 exactly: MSE = 0, F infinite with significance 0.
        {"perfect fit", "method 20\nregression x 1 y 5\nform 1\n" + end, "",
         PadLeft("беск.", 9) + F(0) + "\n", "Прерывание"},
        // A trend: lm(t ~ I(0:7)) gives 3.033333333 (se 0.11629760219) and
        // 0.997619047619 (se 0.0278004442669).
        {"trend", "method 20\nregression y 6\nform 1\n" + end, "",
         Row("Значение", {3.033333333, 0.997619047619}) +
             Row("Ст.ошиб.", {0.11629760219, 0.0278004442669}),
         ""},
        // x = 1e7 + 0.1 i: lm(ys ~ xs) on the shifted data, slope
        // 0.530075187970 (se 0.0573710433196), R^2 0.825863000042.
        {"large offset", "method 20\nregression x 7 y 8\nform 1\n" + end, "",
         F(0.530075187970) + "\nСт.ошиб.", "СИНГУЛЯРНАЯ"},
        {"smoothing window 0 refused", "method 20\nregression x 1 y 2\nform 24\nform 1 0 2\n",
         "!ШИРИНА ОКНА ДОЛЖНА БЫТЬ БОЛЬШЕ НУЛЯ!", "", "Коэфф.", BatchScriptFault},
    };
    for (const Case& c : cases) {
        const BatchOutcome run = Run(c.script);
        EXPECT_EQ(run.status, c.status) << c.what << "\n" << run.messages;
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

// 1/y of y near 1e-300 is some 1e300, and X'X of an X spread near 1e-300 is
// 0: both leave the double range, so the model is refused instead of
// stopping on an arithmetic fault.
TEST_F(SimpleRegressionTest, ValuesNearTheDoubleRangeAreRefused) {
    const BatchOutcome run = Run("method 20\nregression x 1 y 2\nform 14\n",
                                 "x y\n1 1e-300\n2 2e-300\n3 4e-300\n4 3e-300\n");
    EXPECT_NE(run.messages.find("!ЗНАЧЕНИЯ СЛИШКОМ ВЕЛИКИ ДЛЯ ЭТОЙ МОДЕЛИ!"), std::string::npos)
        << run.messages;
    EXPECT_EQ(run.messages.find("Прерывание"), std::string::npos) << run.messages;
    // ln y against an X spread near 1e-300.
    const BatchOutcome tinyX = Run("method 20\nregression x 1 y 2\nform 8\n",
                                   "x y\n1e-300 1\n2e-300 2\n3e-300 4\n4e-300 3\n");
    EXPECT_NE(tinyX.messages.find("!СИНГУЛЯРНАЯ МАТРИЦА - РЕШЕНИЕ НЕВОЗМОЖНО!"), std::string::npos)
        << tinyX.messages;
    EXPECT_EQ(tinyX.messages.find("Прерывание"), std::string::npos) << tinyX.messages;
}

// R: nls(y ~ a0 + a1/(1 + exp(a2 + a3*x)), start = list(a0 = 1, a1 = 5, a2 = 6,
// a3 = -0.9)), nls(y7 ~ a0 + a1*x7^a2, ...) and nls(y12 ~ a0 + a1*exp(a2*x12),
// ...) stop at nls's relative-offset tolerance, within some 1e-6 of the
// minimum; the figures below are that minimum to machine precision: Gauss-
// Newton steps with the analytic derivatives, p <- p + qr.solve(J(p), y - f(p)),
// from nls's result until max|d/p| < 1e-15, and se = sqrt(diag(solve(
// crossprod(J))) * SSE / (N - k)). Printed with 7 digits.
TEST_F(SimpleRegressionTest, NonlinearModelsAgreeWithNls) {
    struct Case {
        std::string pair;
        int code;
        std::vector<double> values, errors;
    };
    const Case cases[] = {
        {"x 1 y 2",
         21,
         {0.969340351624, 4.928287624275, 4.999882700760, -0.731974586557},
         {0.0129479516328, 0.0202091911731, 0.0602357203638, 0.0085761223564}},
        {"x 3 y 4",
         7,
         {2.546181660617, 0.648365421019, 1.654797148237},
         {0.1059833640096, 0.0271693475186, 0.0175792169030}},
        {"x 5 y 6",
         12,
         {3.083905096907, 6.941401556036, -0.301556516751},
         {0.02059419904745, 0.03839987832501, 0.00401468778075}},
    };
    for (const Case& c : cases) {
        const BatchOutcome run = Run("digits 7\nmethod 20\nregression " + c.pair + "\nform " +
                                         std::to_string(c.code) + "\ncancel\ngraph keep\nform 0\n",
                                     Curves);
        ASSERT_EQ(run.status, BatchDone) << run.messages;
        std::string values = "Значение", errors = "Ст.ошиб.";
        for (double v : c.values)
            values += F(v, 7);
        for (double e : c.errors)
            errors += F(e, 7);
        EXPECT_TRUE(Has(run, values + "\n" + errors + "\n")) << c.code << "\n" << run.results;
    }
}

// Method 23 with two X named in the formula: nls(w ~ a0 + a1*u*exp(a2*v),
// start = list(a0 = 1, a1 = 1, a2 = 0.1)), polished as above: 3.073399261938,
// 0.703581371937, 0.153038491249 (se 1.2765124795230, 0.3571017831510,
// 0.0612402086625). With several X the fit ends in the residual loop of
// multiple regression: its table's first line from the polished
// coefficients, with e = w - fitted, x = u: u 1, w 3.9, fitted 4.0289238721,
// residual -0.1289238721, (e - mean(e)) / sd(e) = -0.1086714302, and the error
// sqrt(s2 * (1 + 1/8 + (u - mean(u))^2 / sum((u - mean(u))^2))) at u = 1,
// s2 = sum((e - mean(e))^2) / (8 - 3), 1.6707667104.
TEST_F(SimpleRegressionTest, GeneralModelOverTwoNamedVariables) {
    const char* data =
        "u v w\n1 2 3.9\n2 1 3.2\n3 4 8.1\n4 3 7.2\n5 6 13.8\n6 5 12.1\n7 8 20.3\n8 7 18.0\n";
    const BatchOutcome run =
        Run("digits 7\nmethod 23\nformula 1 \"w=a0+a1*u*EXP(a2*v)\"\nform 1 1 1 0.1\ncancel\n"
            "form 4\nform 2 X=2\ngraph keep\nform 3 X=2\ngraph keep\nform 0\n",
            data);
    ASSERT_EQ(run.status, BatchDone) << run.messages;
    EXPECT_TRUE(Has(run, ResidualHeading + std::string("\n") + F(1, 7) + F(3.9, 7) +
                             F(4.0289238721, 7) + F(-0.1289238721, 7) + F(-0.1086714302, 7) +
                             F(1.6707667104, 7)))
        << run.results;
    EXPECT_TRUE(Has(run, "Y=w, X=       u,        v, \n")) << run.results;
    EXPECT_TRUE(
        Has(run, "Значение" + F(3.073399261938, 7) + F(0.703581371937, 7) + F(0.153038491249, 7)))
        << run.results;
    EXPECT_TRUE(Has(
        run, "Ст.ошиб." + F(1.2765124795230, 7) + F(0.3571017831510, 7) + F(0.0612402086625, 7)))
        << run.results;
}

// x near 1e7 reaches the formula whole: lm(ys ~ xs) on the shifted data has
// 0.171428571429 and 0.530075187970; a text of the value would have lost
// the tenths.
TEST_F(SimpleRegressionTest, GeneralModelKeepsEveryDigitOfX) {
    const BatchOutcome run =
        Run("digits 7\nmethod 23\nformula 1 \"w=a0+a1*(b-10000000)\"\nform 1 1 1\ncancel\n"
            "graph keep\nform 0\n");
    ASSERT_EQ(run.status, BatchDone) << run.messages;
    EXPECT_TRUE(Has(run, "Значение" + F(0.171428571429, 7) + F(0.530075187970, 7))) << run.results;
}

TEST_F(SimpleRegressionTest, FormulaWithoutCoefficientsIsAMismatch) {
    const BatchOutcome run = Run("method 23\nformula 1 \"y=x*2\"\n");
    ASSERT_EQ(run.status, BatchDone) << run.messages;
    EXPECT_NE(run.messages.find("!НЕСООТВЕТСТВИЕ МОДЕЛИ!"), std::string::npos) << run.messages;
}

TEST(SimpleModelTest, PowerModelKeepsTheSignOfOddPowers) {
    const std::vector<double> a = {0, 2};
    EXPECT_DOUBLE_EQ(*EvaluateModel(6, a, -3), 9);
    EXPECT_DOUBLE_EQ(*EvaluateModel(6, {0, 3}, -2), -8);
    EXPECT_DOUBLE_EQ(*EvaluateModel(6, a, 0), 0);
    EXPECT_FALSE(EvaluateModel(5, a, -1));
    EXPECT_FALSE(EvaluateModel(14, {1, -1}, 1));
}

}  // namespace
}  // namespace dalvex
