// Methods 28 and 29 end to end through the batch runner with the program's
// own registry - every dialog answered from the script, the report as the
// person reads it - and their graphs' rows as the graph windows receive them.
// The figures are R's (dbinom and pbinom to four digits; the Weibull fit as
// in goodness_of_fit_test.cpp); the normal quantile and F come from the
// program's own normal routine (NormalQuantile(0.975) = 1.958).
#include <gtest/gtest.h>

#include <cmath>

#include "stats/goodness_of_fit.h"
#include "stats/probability_calculator.h"
#include "stats_fixture.h"
#include "support/batch_run.h"
#include "support/temp_folder.h"

namespace dalvex {
namespace {

BatchOutcome RunScript(const std::string& script) {
    return RunMethodsScript(script, std::string(DALVEX_STATS_DATA) + "/");
}

TEST(ProbabilityMethods, CalculatorTablesBoundsAndQuantiles) {
    const BatchOutcome run = RunScript(
        "method 28\n"
        "form 1\n"         // binomial
        "form 1 0.5 10\n"  // p, N
        "form 1 11\n"      // rows
        "graph keep\n"
        "method 28\n"
        "form 6\n"  // normal, direct
        "form 1 0 1\n"
        "form 1 1.96 -1.96\n"  // bounds in either order
        "form 1 x 1\n"         // not a number: asked again
        "form 0\n"
        "graph keep\n"
        "graph discard\n"
        "method 28\n"
        "form 14\n"  // normal, inverse
        "form 1 0 1\n"
        "form 1 0\n"
        "form 1 0.975\n"
        "form 1 1.5\n"
        "form 1 1\n"
        "form 0\n"
        "graph keep\n"
        "graph keep\n"
        "method 28\n"
        "form 15\n"  // exponential, inverse: its support ends at 0
        "form 1 2\n"
        "form 1 0\n"
        "form 1 1\n"
        "form 0\n"
        "graph keep\n"
        "graph keep\n");
    ASSERT_EQ(run.status, BatchDone) << run.messages;
    const std::string header = "ВЫЧИСЛЕНИЕ ВЕРОЯТНОСТЕЙ РАСПРЕДЕЛЕНИЙ.  Файл: \n";
    const std::string expected = header +
                                 // The hidden third field keeps its remembered "2".
                                 "Распределение биномиальное: 0.5, 10, 2\n"
                                 "\n"
                                 "Среднее=5, Дисперсия=2.5, Ст.отклонение=1.581\n"
                                 "\n"
                                 " Функция распределения вероятностей\n"
                                 "        r      P(=r)     P(X<=r)\n"
                                 "        0  0.0009766  0.0009766\n"
                                 "        1   0.009766    0.01074\n"
                                 "        2    0.04395    0.05469\n"
                                 "        3     0.1172     0.1719\n"
                                 "        4     0.2051      0.377\n"
                                 "        5     0.2461      0.623\n"
                                 "        6     0.2051     0.8281\n"
                                 "        7     0.1172     0.9453\n"
                                 "        8    0.04395     0.9893\n"
                                 "        9   0.009766      0.999\n"
                                 "       10  0.0009766          1\n"
                                 "\n\n" +
                                 header +
                                 "Распределение нормальное:0,1\n"
                                 "\n"
                                 "Среднее=0, Дисперсия=1, Ст.отклонение=1\n"
                                 "       x1       x2    F(x1)    F(x2)  F(x1)-F(x2)\n"
                                 "    -1.96     1.96  0.02501    0.975     0.95\n"
                                 "\n\n" +
                                 header +
                                 "Распределение нормальное:0,1\n"
                                 "\n"
                                 "Среднее=0, Дисперсия=1, Ст.отклонение=1\n"
                                 "P=        0, X=-беск.\n"
                                 "P=    0.975, X=    1.958\n"
                                 "P=        1, X=+беск.\n"
                                 "\n\n" +
                                 header +
                                 "Распределение экспоненциальное:2\n"
                                 "\n"
                                 "Среднее=2, Дисперсия=4, Ст.отклонение=2\n"
                                 "P=        0, X=        0\n"
                                 "P=        1, X=+беск.\n"
                                 "\n\n";
    EXPECT_EQ(run.results, expected);
    EXPECT_EQ(run.messages,
              "Сообщение: !ПАРАМЕТР НЕ ЯВЛЯЕТСЯ ЧИСЛОМ!\n"
              "Сообщение: !ВЕРОЯТНОСТЬ ДОЛЖНА БЫТЬ ОТ 0 ДО 1!\n");
}

TEST(ProbabilityMethods, CalculatorRefusesParametersAndEndsTheTable) {
    const BatchOutcome run = RunScript(
        "method 28\n"
        "form 1\n"
        "form 1 1.5 10\n"
        "form 1 5\n"
        "method 28\n"
        "form 4\n"  // hypergeometric: 0.13 of 50 is no whole number of successes
        "form 1 0.13 10 50\n"
        "form 1 5\n"
        "method 28\n"
        "form 9\n"  // Weibull with a negative shape
        "form 1 2 -1\n");
    ASSERT_EQ(run.status, BatchDone) << run.messages;
    const std::string header = "ВЫЧИСЛЕНИЕ ВЕРОЯТНОСТЕЙ РАСПРЕДЕЛЕНИЙ.  Файл: \n";
    EXPECT_EQ(run.results, header + "Распределение биномиальное: 1.5, 10, 2\n\n\n" + header +
                               "Распределение гипергеомтрическое: 0.13, 10, 50\n\n\n" + header +
                               "Распределение Вейбулла:2,-1\n\n\n");
    EXPECT_EQ(run.messages,
              "Сообщение: !ВЕРОЯТНОСТЬ ДОЛЖНА БЫТЬ ОТ 0 ДО 1!\n"
              "Сообщение: !ЧИСЛО УСПЕХОВ P*N ДОЛЖНО БЫТЬ ЦЕЛЫМ, ВЫБОРКА m - ОТ 0 ДО N!\n"
              "Сообщение: !СТ.ОТКЛОНЕНИЕ, МАСШТАБ И ФОРМА ДОЛЖНЫ БЫТЬ БОЛЬШЕ 0!\n");
}

// At nine digits a probability fills its field: one blank keeps it apart
// from the field before. Erlang of scale 2 and shape 3, pgamma(x, 3, scale = 2).
TEST(ProbabilityMethods, BoundsAtNineDigitsNeverRunTogether) {
    const TempFolder folder("probability-digits");
    const BatchOutcome run = RunMethodsScript(
        "digits 9\nmethod 28\nform 12\nform 1 2 3\nform 1 0.5 4\nform 0\n"
        "graph keep\ngraph keep\n",
        folder.WithSlash());
    ASSERT_EQ(run.status, BatchDone) << run.messages;
    EXPECT_NE(run.results.find("\n      0.5        4 0.00216149669 0.323323584 0.321162087\n"),
              std::string::npos)
        << run.results;
}

// A parameter or a number of rows that does not fit stops the script at the
// form's line, naming the field, before any line of the table is written.
TEST(ProbabilityMethods, RefusedFieldsStopTheScriptAtTheirForm) {
    struct Case {
        const char* forms;
        const char* line;
        const char* field;
        const char* notice;
    };
    const Case cases[] = {
        {"form 5\nform 1 2\nform 1 0\n",
         "строка 4 сценария «form 1 0»: форма «Таблица распределения»", "«Значений функц.распред=»",
         "!ЧИСЛО ЗНАЧЕНИЙ ДОЛЖНО БЫТЬ ОТ 1 ДО 16250!"},
        {"form 5\nform 1 2\nform 1 16251\n", "строка 4", "«Значений функц.распред=»",
         "!ЧИСЛО ЗНАЧЕНИЙ ДОЛЖНО БЫТЬ ОТ 1 ДО 16250!"},
        {"form 1\nform 1 0.5 десять\n",
         "строка 3 сценария «form 1 0.5 десять»: форма «Биномиальное распределение:»",
         "«Число опытов N = »", "!ПАРАМЕТР НЕ ЯВЛЯЕТСЯ ЧИСЛОМ!"},
    };
    for (const Case& c : cases) {
        const TempFolder folder("probability-refused");
        const BatchOutcome run = RunMethodsScript(
            std::string("method 28\n") + c.forms + "graph keep\n", folder.WithSlash());
        EXPECT_EQ(run.status, BatchScriptFault) << c.forms;
        for (const std::string& part :
             {std::string(c.line), std::string(c.field), std::string(c.notice)})
            EXPECT_NE(run.messages.find(part), std::string::npos) << part << "\n" << run.messages;
        EXPECT_EQ(run.results.find("Распределение"), std::string::npos) << run.results;
    }
}

// Found by the fault sweep: a logistic law at -1e308 with scale 707 has no
// two points of its graph that differ; the graph was a division by zero.
// The bounds are still computed, the graph is left out with a notice (the
// script has no answer for a graph prompt).
TEST(ProbabilityMethods, ALawWhoseScaleIsLostBesideItsLocationIsNotDrawn) {
    const BatchOutcome run = RunScript(
        "method 28\n"
        "form 10\n"
        "form 1 -1e308 707\n"
        "form 1 0 1\n"
        "form 0\n"
        // A normal law of deviation 1e308: its range overflows.
        "method 28\n"
        "form 6\n"
        "form 1 0 1e308\n"
        "form 0\n");
    ASSERT_EQ(run.status, BatchDone) << run.messages;
    const std::string notice = std::string("Сообщение: ") + CurvesNotDrawnNotice + "\n";
    EXPECT_EQ(run.messages, notice + notice);
    EXPECT_NE(run.results.find("\n        0        1        1        1        0\n"),
              std::string::npos)
        << run.results;
    EXPECT_EQ(run.results.substr(run.results.size() - 3), "\n\n\n");
}

// fit.txt: "w" is the Weibull sample of goodness_of_fit_test.cpp with a
// missing cell among its 31, "neg" 31 values some of them negative, "const"
// 31 times 2, "none" 31 missing cells (read as an empty variable).
TEST(ProbabilityMethods, GoodnessOfFitFromTheFile) {
    const BatchOutcome run = RunScript(
        "open fit.txt\n"
        "method 29\n"
        "variable w\n"
        "form 4\n"
        "graph keep\n"
        "method 29\n"
        "variable neg\n"
        "form 2\n"
        "method 29\n"
        "variable const\n"
        "form 1\n"
        "method 29\n"
        "variable none\n"
        "form 1\n"
        "method 29\n"
        "variable w\n"
        "form 0\n");
    ASSERT_EQ(run.status, BatchDone) << run.messages;
    const std::string header = "СОГЛАСИЕ РАСПРЕДЕЛЕНИЙ.  Файл: fit.txt\n";
    EXPECT_EQ(run.results, header +
                               "Пропущн=1 1\n"
                               "Распределение Вейбулла: 9.939, 2.092\n"
                               " \n"
                               "Колмогоров=0.07341, Значимость=0.9999, степ.своб = 30\n"
                               "   Гипотеза 0: <Выборка согласуется с распределением>\n"
                               "Омега-квадрат=0.02824, Значимость=0.8041, степ.своб = 30\n"
                               "   Гипотеза 0: <Выборка согласуется с распределением>\n"
                               "\n\n" +
                               header + "\n\n" + header + "\n\n" + header + "\n\n" + header +
                               "Пропущн=1 1\n\n\n");
    EXPECT_EQ(run.messages,
              "Сообщение: !РАСПРЕДЕЛЕНИЕ ЭКСПОНЕНЦИАЛЬНОЕ НЕПРИМЕНИМО: ЕСТЬ ЗНАЧЕНИЯ < 0!\n"
              "Сообщение: !ПЕРЕМЕННАЯ const ПОСТОЯННА - СОГЛАСИЕ НЕ ОПРЕДЕЛЕНО!\n"
              "Сообщение: !МАЛО ЗНАЧЕНИЙ ПЕРЕМЕННЫХ!\n");
}

// The dialogs' memories ("q278.ini", "q270.ini") go to a folder of the
// test's own, never the current one.
class ProbabilityGraphs : public StatsTest {
  protected:
    ProbabilityGraphs() { ws.ProgramFolder = folder_.WithSlash(); }

  private:
    TempFolder folder_{"probability"};
};

TEST_F(ProbabilityGraphs, DiscreteTableDrawsProbabilitiesAndCumulativeOverEveryRow) {
    ui.ExpectForm("Функция вероятности распределения", 3)  // geometric, from r = 1
        .ExpectForm("Геометрическ.распределение:", 1, {"0.5"})
        .ExpectForm("Таблица распределения", 1, {"4"});
    ProbabilityCalculator(ws);
    ASSERT_EQ(graphs.requests, 1);
    EXPECT_EQ(graphs.request, RequestDescribed);
    EXPECT_EQ(graphs.lastSeries, 1);
    EXPECT_EQ(graphs.title, "Вероятности");
    // The cumulative probabilities first, then the probabilities, both over r.
    EXPECT_EQ(graphs.rows[0], (std::vector<double>{1, 2, 3, 4}));
    EXPECT_EQ(graphs.rows[2], graphs.rows[0]);
    const double probability[] = {0.5, 0.25, 0.125, 0.0625};
    const double cumulative[] = {0.5, 0.75, 0.875, 0.9375};
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(graphs.rows[1][i], cumulative[i], 1e-15);
        EXPECT_NEAR(graphs.rows[3][i], probability[i], 1e-15);
    }
    const SeriesDescription* d = ws.graphTables.SeriesDescriptions.data();
    EXPECT_EQ(std::vector<int>({d[0].xRow, d[0].yRow, d[0].marker, d[0].style}),
              (std::vector<int>{0, 1, 0, 1}));
    EXPECT_EQ(std::vector<int>({d[1].xRow, d[1].yRow, d[1].marker, d[1].style}),
              (std::vector<int>{2, 3, 1, 1}));
    EXPECT_EQ(graphs.prompts, 1);
    EXPECT_TRUE(ui.scriptDone());
}

TEST_F(ProbabilityGraphs, ContinuousLawDrawsItsFunctionAndDensity) {
    ui.ExpectForm("Функция вероятности распределения", 7)  // exponential
        .ExpectForm("Экспоненциал.распределение:", 1, {"2"})
        .ExpectForm("Функция распределения", 0);
    ProbabilityCalculator(ws);
    ASSERT_EQ(graphs.requests, 2);
    ASSERT_EQ(graphs.drawn.size(), 2u);
    EXPECT_EQ(graphs.title, "Функция распределения плотности вероятностей");
    // F over [0, 4a] at 52 points, and the difference quotients at the 51
    // midpoints: near the density e^(-x/a)/a there.
    const auto& function = graphs.drawn[0];
    ASSERT_EQ(function[0].size(), 52u);
    EXPECT_DOUBLE_EQ(function[0].back(), 8);
    EXPECT_NEAR(function[1].back(), 1 - std::exp(-4.0), 1e-15);
    const auto& density = graphs.drawn[1];
    ASSERT_EQ(density[0].size(), 51u);
    for (std::size_t i = 0; i < 51; ++i)
        EXPECT_NEAR(density[1][i], std::exp(-density[0][i] / 2) / 2, 1e-3);
    EXPECT_EQ(ws.graphTables.SeriesDescriptions[0].marker, 1);
}

TEST_F(ProbabilityGraphs, FitDrawsTheEmpiricalAndFittedFunctions) {
    // The only variable of the sheet is chosen without asking; its missing
    // cell is left out.
    PutSheetText(ws, "x", 1, -1);
    const char* cells[] = {"3", "1", "?", "2", "5", "4"};
    for (int row = 0; row < 6; ++row)
        PutSheetText(ws, cells[row], 1, row);
    ui.ExpectForm("Согласие распределений", 1);
    GoodnessOfFit(ws);
    ASSERT_EQ(graphs.requests, 1);
    EXPECT_EQ(graphs.request, RequestPairs);
    EXPECT_EQ(graphs.title, "Распределения");
    EXPECT_EQ(graphs.rows[0], (std::vector<double>{1, 2, 3, 4, 5}));
    EXPECT_EQ(graphs.rows[1], (std::vector<double>{0.2, 0.4, 0.6, 0.8, 1}));
    ASSERT_EQ(graphs.rows[2].size(), 51u);
    EXPECT_DOUBLE_EQ(graphs.rows[2].front(), 1);
    EXPECT_DOUBLE_EQ(graphs.rows[2].back(), 5);
    EXPECT_EQ(graphs.styles, (std::vector<int>{2, 0}));
}

}  // namespace
}  // namespace dalvex
