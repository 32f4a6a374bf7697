// Methods 4, 6, 7 and 8 end to end through the batch runner: the data file
// with missing cells and unequal lengths, the variable dialog (chosen
// variables or a list of pairs), every report line, the Bonferroni note and
// the significance lists saved beside the data file.
//
// twosample.txt: x (12 values, a missing cell after the fourth), y (15), p
// (8 values, a missing third cell among 9), q and w (9 each), u and v (6
// values near 1e7 that differ by tenths). Every figure below was computed in
// R with the program's definitions, its distribution routines written out
// from their formulas (Fisher's tail, the normal tail and quantile), and
// printed with four significant digits; the statistics themselves agree with
// var.test, t.test, wilcox.test, ansari.test and ks.test.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/batch_run.h"
#include "support/temp_folder.h"

namespace dalvex {
namespace {

namespace fs = std::filesystem;

class TwoSampleBatchTest : public ::testing::Test {
  protected:
    TwoSampleBatchTest() {
        for (const char* name : {"twosample.txt", "degenerate.txt"})
            fs::copy_file(fs::path(DALVEX_STATS_DATA) / name, folder_ / name);
    }

    BatchOutcome Run(const std::string& script, const char* data = "twosample.txt") {
        return RunMethodsScript("open " + std::string(data) + "\n" + script,
                                folder_.string() + "/");
    }

    void WriteFile(const std::string& name, const std::string& text) {
        std::ofstream(folder_ / name, std::ios::binary) << text;
    }
    std::string ReadFile(const std::string& name) { return FileBytes(folder_ / name); }

    TempFolder temp_{"twosample"};
    fs::path folder_ = temp_.path();
};

const char* const Header = "                            Переменные: ";

TEST_F(TwoSampleBatchTest, StudentAndFisherOverThreePairsWithTheBonferroniNote) {
    const BatchOutcome run = Run("method 4\nvariables p q w\n");
    ASSERT_EQ(run.status, BatchDone) << run.messages;
    const std::string expected =
        "КРИТЕРИИ СТЬЮДЕНТА И ФИШЕРА.  Файл: twosample.txt\n"
        " \n"
        "Пропущн=1 1\n" +
        std::string(Header) +
        "p, q\n"
        "Статистика Фишера=0.04503, Значимость=0.00128, степ.своб = 8,7\n"
        "   Гипотеза 1: <Есть различия между дисперсиями выборок>\n"
        "Статистика Стьюдента=0.0722, Значимость=0.9424, степ.своб = 9\n"
        "   Гипотеза 0: <Нет различий между средними выборок>\n"
        "Разность средних=0.02361, доверит.интервал=0.7324\n"
        // The paired test: the row with p's missing cell leaves both columns.
        "Пропущн=1 2\n"
        "Стьюдент для парных данных=0.1831, Значимость=0.8535, степ.своб = 7\n"
        "   Гипотеза 0: <Нет различий между средними выборок>\n"
        " \n"
        "Пропущн=1 1\n" +
        Header +
        "p, w\n"
        // var.test: p = 0.0938, so the variances count as equal and t is
        // pooled (t.test(var.equal = TRUE): 2.9245 with 15 degrees of freedom).
        "Статистика Фишера=0.2614, Значимость=0.09465, степ.своб = 8,7\n"
        "   Гипотеза 0: <Нет различий между дисперсиями выборок>\n"
        "Статистика Стьюдента=2.924, Значимость=0.01018, степ.своб = 15\n"
        "   Гипотеза 1: <Есть различия между средними выборок>\n"
        "Разность средних=0.4569, доверит.интервал=0.3292\n"
        "Пропущн=1 2\n"
        "Стьюдент для парных данных=2.719, Значимость=0.02892, степ.своб = 7\n"
        "   Гипотеза 1: <Есть различия между средними выборок>\n"
        " \n" +
        Header +
        "q, w\n"
        "Статистика Фишера=5.806, Значимость=0.02369, степ.своб = 8,8\n"
        "   Гипотеза 1: <Есть различия между дисперсиями выборок>\n"
        "Статистика Стьюдента=1.254, Значимость=0.2344, степ.своб = 11\n"
        "   Гипотеза 0: <Нет различий между средними выборок>\n"
        "Разность средних=0.4333, доверит.интервал=0.7522\n"
        "Стьюдент для парных данных=1.398, Значимость=0.198, степ.своб = 8\n"
        "   Гипотеза 0: <Нет различий между средними выборок>\n"
        "\n"
        "С поправкой Бонферрони для множественных сравнений:\n"
        "Крит.значимость нулевых гипотез=0.01667\n"
        "Необходимо перепроверить результаты принятия альтернативных гипотез !!!\n"
        "\n\n";
    EXPECT_EQ(run.results, expected);
    EXPECT_EQ(run.messages, "");
    // The hidden lists, saved beside the data file in Windows Cyrillic.
    EXPECT_EQ(ReadFile("непарC.txt"), "0.9424\r\n0.01018\r\n0.2344\r\n");
    EXPECT_EQ(ReadFile("парC.txt"), "0.8535\r\n0.02892\r\n0.198\r\n");
}

TEST_F(TwoSampleBatchTest, NearlyEqualLargeValuesKeepTheirDifferences) {
    const BatchOutcome run = Run("method 4\nvariables u v\n");
    ASSERT_EQ(run.status, BatchDone) << run.messages;
    EXPECT_NE(run.results.find("Статистика Фишера=3.182, Значимость=0.2306, степ.своб = 5,5\n"
                               "   Гипотеза 0: <Нет различий между дисперсиями выборок>\n"
                               "Статистика Стьюдента=2.284, Значимость=0.04364, степ.своб = 10\n"
                               "   Гипотеза 1: <Есть различия между средними выборок>\n"
                               "Разность средних=0.2, доверит.интервал=0.1931\n"
                               "Стьюдент для парных данных=3.162, Значимость=0.02498, "
                               "степ.своб = 5\n"),
              std::string::npos)
        << run.results;
}

TEST_F(TwoSampleBatchTest, ShiftTestsWithTheApproximationAndWithTheTables) {
    const BatchOutcome run =
        Run("method 6\nvariables x y\nmethod 6\nvariables p q\nmethod 6\nvariables u v\n");
    ASSERT_EQ(run.status, BatchDone) << run.messages;
    const std::string expected =
        "НЕПАРАМЕТРИЧЕСКИЕ КРИТЕРИИ СДВИГА (ПОЛОЖЕНИЯ).  Файл: twosample.txt\n"
        " \n"
        "Пропущн=1 1\n" +
        std::string(Header) +
        "x, y\n"
        // 12 against 15 is past the table: the approximation, with ties.
        "Вилкоксон=233.5, Z=-3.201, Значимость=0.0006881, степ.своб = 12,15\n"
        "   Гипотеза 1: <Есть различия между медианами выборок>\n"
        "Ван дер Варден=7.473, Z=3.176, Значимость=0.0007493, степ.своб = 12,15\n"
        "   Гипотеза 1: <Есть различия между медианами выборок>\n"
        "\n\n\n"
        "НЕПАРАМЕТРИЧЕСКИЕ КРИТЕРИИ СДВИГА (ПОЛОЖЕНИЯ).  Файл: twosample.txt\n"
        " \n"
        "Пропущн=1 1\n" +
        Header +
        "p, q\n"
        // 8 against 9: T = 90, the smaller sample's rank sum 70.5.
        "Вилкоксон=70.5, Критические границы = 54-90, степ.своб = 9,8\n"
        "   Гипотеза 0: <Нет различий между медианами выборок>\n"
        "Ван дер Варден=-0.2104, Z=-0.1163, Значимость=0.4537, степ.своб = 8,9\n"
        "   Гипотеза 0: <Нет различий между медианами выборок>\n"
        "Пропущн=1 2\n"
        "\n"
        "Для парных данных:\n"
        // 8 complete pairs: W+ = 18 (wilcox.test's V), P = 3.
        "Вилкоксон=18, Критические границы = 6-30, степ.своб = 8\n"
        "   Гипотеза 0: <Нет различий между медианами выборок>\n"
        "Знаков=3, Критические границы = 1-7, степ.своб = 8\n"
        "   Гипотеза 0: <Нет различий между медианами выборок>\n"
        "\n\n\n"
        "НЕПАРАМЕТРИЧЕСКИЕ КРИТЕРИИ СДВИГА (ПОЛОЖЕНИЯ).  Файл: twosample.txt\n"
        " \n" +
        Header +
        "u, v\n"
        "Вилкоксон=50.5, Критические границы = 28-50, степ.своб = 6,6\n"
        "   Гипотеза 1: <Есть различия между медианами выборок>\n"
        "Ван дер Варден=2.746, Z=1.867, Значимость=0.03096, степ.своб = 6,6\n"
        "   Гипотеза 1: <Есть различия между медианами выборок>\n"
        "\n"
        "Для парных данных:\n"
        "Вилкоксон=21, Критические границы = 3-18, степ.своб = 6\n"
        "   Гипотеза 1: <Есть различия между медианами выборок>\n"
        "Знаков=6, Критические границы = 1-5, степ.своб = 6\n"
        "   Гипотеза 1: <Есть различия между медианами выборок>\n"
        "\n\n\n";
    EXPECT_EQ(run.results, expected);
    // Only the approximation logs its significance.
    EXPECT_EQ(ReadFile("непар.txt"), "0.0006881\r\n");
    EXPECT_FALSE(fs::exists(folder_ / "пар.txt"));
}

TEST_F(TwoSampleBatchTest, ScaleTests) {
    const BatchOutcome run = Run("method 7\nvariables x y\n");
    ASSERT_EQ(run.status, BatchDone) << run.messages;
    EXPECT_NE(
        run.results.find("x, y\n"
                         "Ансари-Брэдли=79.5, Z=-0.7412, Значимость=0.2293, степ.своб = 12,15\n"
                         "   Гипотеза 0: <Нет различий между рассеяниями выборок>\n"
                         "Клотц=11.01, Z=0.5775, Значимость=0.2818, степ.своб = 12,15\n"
                         "   Гипотеза 0: <Нет различий между рассеяниями выборок>\n"
                         "\n\n\n"),
        std::string::npos)
        << run.results;
}

TEST_F(TwoSampleBatchTest, SmirnovOverAListOfPairsFromAFile) {
    // Lines without a blank are passed over.
    WriteFile("pairs.txt", "1 2\r\nпары\r\n6 7\r\n");
    const BatchOutcome run = Run("method 8\nvariables pairs\nfile pairs.txt\n");
    ASSERT_EQ(run.status, BatchDone) << run.messages;
    const std::string expected =
        "КРИТЕРИЙ ПРОИЗВОЛЬНЫХ АЛЬТЕРНАТИВ (СМИРНОВА).  Файл: twosample.txt\n"
        " \n"
        "Пропущн=1 1\n" +
        std::string(Header) +
        "x, y\n"
        "Смирнов=0.6, Значимость=0.01646, степ.своб = 12,15\n"
        "   Гипотеза 1: <Есть различия между распределениями выборок>\n"
        " \n" +
        Header +
        "u, v\n"
        "Смирнов=0.5, Значимость=0.4463, степ.своб = 6,6\n"
        "   Гипотеза 0: <Нет различий между распределениями выборок>\n"
        "\n"
        "С поправкой Бонферрони для множественных сравнений:\n"
        "Крит.значимость нулевых гипотез=0.025\n"
        "Необходимо перепроверить результаты принятия альтернативных гипотез !!!\n"
        "\n\n";
    EXPECT_EQ(run.results, expected);
}

TEST_F(TwoSampleBatchTest, AListNamingWhatTheSheetDoesNotHoldIsRefused) {
    const std::pair<const char*, const char*> cases[] = {
        {"1 2\r\n3 9\r\n", "!СПИСОК ПАР, СТРОКА 2: НЕТ ПЕРЕМЕННОЙ 9 (ПЕРЕМЕННЫХ 7)!"},
        {"1 2\r\n0 3\r\n", "!СПИСОК ПАР, СТРОКА 2: НЕТ ПЕРЕМЕННОЙ 0 (ПЕРЕМЕННЫХ 7)!"},
        {"1 x\r\n", "!СПИСОК ПАР, СТРОКА 1: \"1 x\" - НЕ ДВА НОМЕРА ПЕРЕМЕННЫХ!"},
        {"1 2 3\r\n", "!СПИСОК ПАР, СТРОКА 1: \"1 2 3\" - НЕ ДВА НОМЕРА ПЕРЕМЕННЫХ!"},
        {"\r\n4 4\r\n", "!СПИСОК ПАР, СТРОКА 2: ПЕРЕМЕННАЯ 4 В ПАРЕ С СОБОЙ!"},
    };
    for (const auto& [list, notice] : cases) {
        WriteFile("pairs.txt", list);
        const BatchOutcome run = Run("method 8\nvariables pairs\nfile pairs.txt\n");
        ASSERT_EQ(run.status, BatchDone) << run.messages;
        EXPECT_EQ(run.messages, std::string("Сообщение: ") + notice + "\n");
        // Nothing is computed: the header and the closing lines only.
        EXPECT_EQ(run.results,
                  "КРИТЕРИЙ ПРОИЗВОЛЬНЫХ АЛЬТЕРНАТИВ (СМИРНОВА).  Файл: twosample.txt\n\n\n");
    }
}

TEST_F(TwoSampleBatchTest, OneVariableIsTooFewAndACancelledDialogSaysNothing) {
    const BatchOutcome run = Run("method 6\nvariables x\nmethod 7\ncancel\n");
    ASSERT_EQ(run.status, BatchDone) << run.messages;
    EXPECT_EQ(run.messages, "Сообщение: !МАЛО ПЕРЕМЕННЫХ!\n");
    EXPECT_EQ(run.results,
              "НЕПАРАМЕТРИЧЕСКИЕ КРИТЕРИИ СДВИГА (ПОЛОЖЕНИЯ).  Файл: twosample.txt\n\n\n"
              "НЕПАРАМЕТРИЧЕСКИЕ КРИТЕРИИ МАСШТАБА (РАССЕЯНИЯ).  Файл: twosample.txt\n\n\n");
}

// degenerate.txt: c and c2 five times 5, "one" a single value, e only
// missing cells, k three values, z1 and z2 the same five values.
TEST_F(TwoSampleBatchTest, DegeneratePairsSayWhyInsteadOfFaulting) {
    struct Case {
        const char* script;
        std::vector<const char*> lines;
    } cases[] = {
        {"method 4\nvariables c k\n", {"Критерий неприменим: переменная c постоянна\n"}},
        {"method 4\nvariables one k\n",
         {"Критерий неприменим: значений переменной one меньше 2\n"}},
        {"method 4\nvariables e k\n", {"Критерий неприменим: значений переменной e меньше 2\n"}},
        // Equal means: no Student line; equal columns: constant differences.
        {"method 4\nvariables z1 z2\n",
         {"Статистика Фишера=1, Значимость=", "Критерий неприменим: разности пар постоянны\n"}},
        {"method 6\nvariables z1 z2\n",
         {"Для парных данных:\nКритерий неприменим: число значений < 3\n"
          "Критерий знаков неприменим: все разности равны нулю\n"}},
        {"method 6\nvariables e k\n", {"Критерий неприменим: значений переменной e меньше 1\n"}},
        {"method 7\nvariables c c2\n", {"Критерий неприменим: все значения пары одинаковы\n"}},
        {"method 8\nvariables one c\n", {"Смирнов=1, Значимость="}},
        {"method 8\nvariables one e\n", {"Критерий неприменим: значений переменной e меньше 1\n"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        const BatchOutcome run = Run(c.script, "degenerate.txt");
        ASSERT_EQ(run.status, BatchDone) << run.messages;
        for (const char* line : c.lines)
            EXPECT_NE(run.results.find(line), std::string::npos) << run.results;
        EXPECT_EQ(run.results.find("Стьюдента="), std::string::npos) << run.results;
        for (const char* fault : {"Прерывание", "NAN", "INF", "nan", "inf"}) {
            EXPECT_EQ(run.results.find(fault), std::string::npos) << run.results;
            EXPECT_EQ(run.messages.find(fault), std::string::npos) << run.messages;
        }
    }
}

}  // namespace
}  // namespace dalvex
