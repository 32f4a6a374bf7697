// Methods 3, 5, 9 and 10 end to end through the batch runner: every report
// line, the questions and the dialog answered from the script, the sheet
// written after the user's data, and the degenerate inputs.
//
// corr.txt: a, b, c, g, k (26 rows; c misses its 7th value, so pairs with c
// keep 25; g is b + 1e7). The coefficients are R's cor() on complete pairs,
// the critical values and significances the program's Fisher tail and
// quantile search written out in R (tests/stats/data/correlation_reference.R),
// Kendall's tau-a and Spearman's rho of mid-ranks by their definitions.
// crosstab.txt: a 4 x 3 table with row labels; categories.txt: two raw
// category columns of 17 rows.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/text.h"
#include "support/batch_run.h"
#include "support/temp_folder.h"

namespace dalvex {
namespace {

namespace fs = std::filesystem;

class CorrelationBatchTest : public ::testing::Test {
  protected:
    CorrelationBatchTest() {
        for (const char* name : {"corr.txt", "crosstab.txt", "categories.txt", "corrdegenerate.txt",
                                 "emptyrow.txt", "fractional.txt"})
            fs::copy_file(fs::path(DALVEX_STATS_DATA) / name, folder_ / name);
    }

    BatchOutcome Run(const std::string& script, const char* data = "corr.txt") {
        return RunMethodsScript("open " + std::string(data) + "\n" + script,
                                folder_.string() + "/");
    }

    std::string ReadFile(const std::string& name) {
        return Cp1251ToUtf8(FileBytes(folder_ / name));
    }

    TempFolder temp_{"correlation"};
    fs::path folder_ = temp_.path();
};

TEST_F(CorrelationBatchTest, PearsonOfAPairWithAMissingCellAndItsList) {
    const BatchOutcome run = Run("method 3\nvariables a c\n");
    ASSERT_EQ(run.status, BatchDone) << run.messages;
    EXPECT_EQ(run.results,
              "КОРРЕЛЯЦИЯ ПИРСОНА.  Файл: corr.txt\n"
              "Пропущн=1 2\n"
              "                            Переменные: a, c\n"
              "Коэфф.корреляции=-0.6695 T:=-4.322, Значимость=0.000453, степ.своб = 23\n"
              "   Гипотеза 1: <Коэффициент корреляции отличен от нуля>\n\n\n");
    EXPECT_EQ(ReadFile("л-кор.txt"), "-0.6695 0.000453\r\n");
}

TEST_F(CorrelationBatchTest, ThreeVariablesGiveTheMatrixThePartialsAndWriteAfterTheData) {
    const BatchOutcome run = Run("method 3\nvariables a b c\nyes\nsave out.txt\n");
    ASSERT_EQ(run.status, BatchDone) << run.messages;
    EXPECT_EQ(run.results,
              "КОРРЕЛЯЦИЯ ПИРСОНА.  Файл: corr.txt\n"
              "Пропущн=1 2\n"
              "Пропущн=1 2\n"
              "            Корреляционная матрица\n"
              "                 a        b\n"
              "        b   0.8725\n"
              "        c  -0.6695  -0.4722\n"
              "\n"
              "Критичeское значение с учетом поправки Бонферрони на множественные "
              "сравнения=0.4709\n"
              "Число значимых коэффициентов=3 (100%)\n"
              "Критичeское значение без поправки Бонферрони=0.392\n"
              "            Частные корреляции\n"
              "                 a        b\n"
              "        b   0.8497\n"
              "        c  -0.5978   0.3084\n"
              " Критичeское значение=0.4003\n"
              " Число значимых коэффициентов=2 (66%)\n\n\n");
    // The user's five variables stay; the matrix follows them.
    const std::vector<std::string> lines = SplitLines(ReadFile("out.txt"));
    EXPECT_EQ(lines[0], "a b c g k Перемен. a b c");
    EXPECT_EQ(lines[1], "3 5.4 7.2 10000005.4 -0.18 a 1 0.87253539 -0.6694987");
    EXPECT_EQ(lines[3], "4 2.6 5.2 10000002.6 -0.43 c -0.6694987 -0.4722398 1");
}

TEST_F(CorrelationBatchTest, FiveVariablesCountAgainstTheBonferroniBound) {
    const BatchOutcome run = Run("method 3\nvariables a b c g k\nno\n");
    ASSERT_EQ(run.status, BatchDone) << run.messages;
    const std::string expected =
        "            Корреляционная матрица\n"
        "                 a        b        c        g\n"
        "        b   0.8725\n"
        "        c  -0.6695  -0.4722\n"
        "        g   0.8725        1  -0.4722\n"
        "        k -0.02602 -0.01601   0.1556 -0.01601\n"
        "\n"
        "Критичeское значение с учетом поправки Бонферрони на множественные "
        "сравнения=0.5449\n"
        "Число значимых коэффициентов=4 (40%)\n"
        "Критичeское значение без поправки Бонферрони=0.392\n\n\n";
    EXPECT_NE(run.results.find(expected), std::string::npos) << run.results;
}

TEST_F(CorrelationBatchTest, KendallAndSpearmanWithTheirMatrix) {
    const BatchOutcome run = Run("method 9\nvariables a b c\nno\n");
    ASSERT_EQ(run.status, BatchDone) << run.messages;
    const std::string pair =
        " \n"
        "                            Переменные: a, b\n"
        "Тау Кендалла=0.6462, Z=4.629, Значимость=1.868E-6, степ.своб = 26\n"
        "   Гипотеза 1: <Есть ранговая корреляция между выборками>\n"
        "Ро Спирмена=0.8364, Z=5.039, Значимость=2.381E-7, степ.своб = 26\n"
        "   Гипотеза 1: <Есть ранговая корреляция между выборками>\n";
    EXPECT_NE(run.results.find(pair), std::string::npos) << run.results;
    const std::string tail =
        "Крит.значимость нулевых гипотез=0.01667\n"
        "Необходимо перепроверить результаты принятия альтернативных гипотез !!!\n"
        " \n"
        "            Корреляционная матрица\n"
        "                 a        b\n"
        "        b   0.8364\n"
        "        c  -0.6694  -0.4821\n"
        "\n\n\n";
    EXPECT_NE(run.results.find(tail), std::string::npos) << run.results;
}

TEST_F(CorrelationBatchTest, DegenerateInputSaysWhyAndNeverPrintsAFault) {
    const BatchOutcome run =
        Run("method 3\nvariables x y\n"
            "method 3\nvariables x k\n"
            "method 3\nvariables x y k\nno\n"
            "method 9\nvariables x k\n"
            "method 5\nvariables x m\nform 1\n",
            "corrdegenerate.txt");
    ASSERT_EQ(run.status, BatchDone) << run.messages;
    for (const char* line : {
             "Коэфф.корреляции=-1 T:=100, Значимость=3.364E-5, степ.своб = 3\n",
             "Критерий неприменим: переменная k постоянна\n",
             "        y       -1\n        k        -        -\n",
             "-: коэффициент не определен (переменная постоянна или полных пар меньше 3)\n",
             "Критерий неприменим: меньше двух непустых классов или нулевая сумма частот\n",
         })
        EXPECT_NE(run.results.find(line), std::string::npos) << line << "\n" << run.results;
    for (const char* fault : {"Прерывание", "nan", "inf", "NAN", "INF"})
        EXPECT_EQ(run.results.find(fault), std::string::npos) << fault;
}

TEST_F(CorrelationBatchTest, ChiSquareAsksForTheSecondDistribution) {
    const BatchOutcome run =
        Run("method 5\nvariables a c\nform 1\nmethod 5\nvariables a b\ncancel\n");
    ASSERT_EQ(run.status, BatchDone) << run.messages;
    // chisq.test(rbind(a, c), correct = FALSE) over the 25 complete rows.
    EXPECT_NE(run.results.find("Хи-квадрат=30.66, Значимость=0.1637, степ.своб = 24\n"),
              std::string::npos)
        << run.results;
    // b holds -0.2: no frequency.
    const BatchOutcome negative = Run("method 5\nvariables a b\nform 2\n");
    EXPECT_NE(negative.results.find("Критерий неприменим: отрицательная частота\n"),
              std::string::npos)
        << negative.results;
    const BatchOutcome wrong = Run("method 5\nvariables a c\nyes\n");
    EXPECT_EQ(wrong.status, BatchScriptFault);
    EXPECT_NE(wrong.messages.find("Второе распределение"), std::string::npos) << wrong.messages;
}

TEST_F(CorrelationBatchTest, CrossTabulationOfTheSheet) {
    const BatchOutcome run = Run("method 10\ngraph keep\n", "crosstab.txt");
    ASSERT_EQ(run.status, BatchDone) << run.messages;
    const std::string head =
        "КРОССТАБУЛЯЦИЯ.  Файл: crosstab.txt\n"
        "Столбцы: мало средне много \n"
        "Строки: до20 до40 до60 старше \n"
        "\n"
        "        Наблюденные частоты признаков\n"
        "       12        5        3|       20\n"
        "        8       10        6|       24\n"
        "        4        9       11|       24\n"
        "        2        3       14|       19\n"
        "---------------------------|\n"
        "       26       27       34|       87\n";
    EXPECT_EQ(run.results.substr(0, head.size()), head);
    const std::string percents =
        "       Общая процентная встречаемость признаков:\n"
        "    13.79    5.747    3.448|    22.99%\n"
        "    9.195    11.49    6.897|    27.59%\n"
        "    4.598    10.34    12.64|    27.59%\n"
        "    2.299    3.448    16.09|    21.84%\n"
        "---------------------------|\n"
        "    29.89%    31.03%    39.08%\n";
    EXPECT_NE(run.results.find(percents), std::string::npos) << run.results;
    // chisq.test (6 degrees of freedom; the program's series tail), the
    // measures by their definitions in R.
    const std::string measures =
        "Хи-квадрат =23.09, Значимость=0.0007704, степ.своб = 6\n"
        "   Гипотеза 1: <Есть связь между признаками>\n"
        "Коэфф. Фи =0.5152\n"
        "Коэфф.сопряж. Пирсона =0.458\n"
        "V-коэфф. Краммера =0.3643\n"
        "Ламбда Гудмана и Крускала: симметр, ряд, столб =0.2155, 0.2453, 0.1905\n"
        "Тау-b Кендала =0.4179\n"
        "Тау-с Кендала =0.4407\n"
        "Гамма Гудмана и Кендала =0.5703\n"
        "d(x,y)Соммера=0.3932, 0.4441\n\n\n";
    EXPECT_NE(run.results.find(measures), std::string::npos) << run.results;
}

TEST_F(CorrelationBatchTest, RawCategoriesAreCountedAndWrittenAfterTheData) {
    const BatchOutcome run = Run("method 10\ngraph keep\nsave out.txt\n", "categories.txt");
    ASSERT_EQ(run.status, BatchDone) << run.messages;
    EXPECT_NE(run.results.find("Столбцы: ж м \nСтроки: да нет \n"), std::string::npos);
    EXPECT_NE(run.results.find("        3        6|        9\n        5        3|        8\n"),
              std::string::npos)
        << run.results;
    // 2 x 2: Yates's correction (chisq.test gives 0.5124).
    EXPECT_NE(run.results.find("Хи-квадрат =0.5124,"), std::string::npos);
    const std::vector<std::string> lines = SplitLines(ReadFile("out.txt"));
    EXPECT_EQ(lines[0], "пол ответ Категории ж м");
    EXPECT_EQ(lines[1], "ж да да 3 6");
}

TEST_F(CorrelationBatchTest, TablesThatCannotBeTabulatedAreRefusedWithoutTouchingTheSheet) {
    const BatchOutcome empty = Run("method 10\nsave out.txt\n", "emptyrow.txt");
    ASSERT_EQ(empty.status, BatchDone) << empty.messages;
    EXPECT_NE(empty.messages.find("!НУЛЕВЫЕ ИТОГИ ТАБЛИЦЫ СОПРЯЖЕННОСТИ - СТРОКИ: 3!"),
              std::string::npos)
        << empty.messages;
    EXPECT_EQ(empty.results.find("Процентная"), std::string::npos);

    const BatchOutcome fractional = Run("method 10\nsave out.txt\n", "fractional.txt");
    ASSERT_EQ(fractional.status, BatchDone) << fractional.messages;
    EXPECT_NE(fractional.messages.find("!ДАННЫЕ НЕ ДЛЯ ТАБУЛЯЦИИ!"), std::string::npos);
    EXPECT_EQ(SplitLines(ReadFile("out.txt"))[0], "a b");
}

}  // namespace
}  // namespace dalvex
