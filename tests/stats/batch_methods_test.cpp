// Methods 1 and 2 end to end through the batch runner with the program's own
// registry: data files opened, the dispatcher's frame and loading, every
// question answered from the script, the sheet saved and read back.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "support/batch_run.h"
#include "support/temp_folder.h"

namespace dalvex {
namespace {

namespace fs = std::filesystem;

BatchOutcome RunScript(const std::string& script) {
    return RunMethodsScript(script, std::string(DALVEX_STATS_DATA) + "/");
}

// describe.txt: "a" is the eight values of the figures test with a missing
// cell among nine, "offset" five values near 1e7 that differ by 0.1, "three"
// three values and "const" five times 0.1. Figures from R (see
// descriptive_test.cpp) to four digits.
TEST(BatchMethodsTest, DescriptiveStatisticsFromTheFileToTheSavedSheet) {
    const TempFolder temp("stats-describe");
    const fs::path saved = temp / "describe.tab";
    const BatchOutcome run = RunScript(
        "open describe.txt\n"
        "method 1\n"
        "variables all\n"
        "yes\n"
        "yes\n"
        "save " +
        saved.string() + "\n");
    ASSERT_EQ(run.status, BatchDone) << run.messages;
    // The tables themselves are checked line by line in descriptive_test.cpp;
    // here the run's frame and the missing cell left out of "a".
    const std::string head =
        "ОПИСАТЕЛЬНАЯ СТАТИСТИКА.  Файл: describe.txt\n"
        "Пропущн=1 1\n";
    EXPECT_EQ(run.results.substr(0, head.size()), head) << run.results;
    const std::string rowOfA =
        "        a        8      1.9      5.6     3.55   0.4671    1.746    1.321     28.4\n";
    EXPECT_NE(run.results.find("\n" + rowOfA), std::string::npos) << run.results;
    // The closing two empty lines.
    ASSERT_GE(run.results.size(), 3u);
    EXPECT_EQ(run.results.substr(run.results.size() - 3), "\n\n\n") << run.results;
    // "three" is named once for all three tables; the constant has no shape.
    EXPECT_EQ(run.messages,
              "Сообщение: МЕТОД НЕПРИМЕНИМ: измерений < 4!\n(three)\n"
              "Сообщение: !ПОСТОЯННАЯ ПЕРЕМЕННАЯ - АСИММЕТРИЯ И ЭКСЦЕСС НЕ ОПРЕДЕЛЕНЫ!\n(const)\n");

    // Three new columns: the sum of "a" is over its 8 values (28.4, not 3.55
    // times its 9 cells), "three" has empty cells.
    std::string sheet = FileBytes(saved);
    std::istringstream lines(sheet);
    std::vector<std::string> rows;
    for (std::string line; std::getline(lines, line);)
        rows.push_back(line.substr(0, line.find_last_not_of('\r') + 1));
    ASSERT_GE(rows.size(), 5u);
    auto lastThree = [](const std::string& row) {
        std::vector<std::string> cells(1);
        for (char c : row) {
            if (c == '\t')
                cells.emplace_back();
            else
                cells.back() += c;
        }
        return std::vector<std::string>(cells.end() - 3, cells.end());
    };
    EXPECT_EQ(lastThree(rows[1]), (std::vector<std::string>{"3.55", "1.3212548", "28.4"}));
    EXPECT_EQ(lastThree(rows[2]), (std::vector<std::string>{"10000000", "0.1", "50000000"}));
    EXPECT_EQ(lastThree(rows[3]), (std::vector<std::string>{"", "", ""}));
    EXPECT_EQ(lastThree(rows[4]), (std::vector<std::string>{"0.1", "0", "0.5"}));
}

// skewed.txt: the 100 skewed values of the histogram test in another order,
// with one missing cell. The only variable is taken without a dialog.
TEST(BatchMethodsTest, HistogramWithItsTestsStoredFrequenciesAndGraph) {
    const BatchOutcome run = RunScript(
        "open skewed.txt\n"
        "method 2\n"
        "form 1\n"
        "yes\n"
        "graph keep\n");
    ASSERT_EQ(run.status, BatchDone) << run.messages;
    const std::string rejected = "   Гипотеза 1: <Распределение отличается от нормального>\n";
    for (const std::string& part :
         {std::string("ГИСТОГРАММА И ПРОВЕРКА НОРМАЛЬНОСТИ.  Файл: skewed.txt\nПропущн=1 1\n"),
          std::string("                  Переменная: x\n"),
          "Колмогоров=0.1041, Значимость=0.01199, степ.своб = 100\n" + rejected,
          std::string(", степ.своб = 6\n") + rejected + "\n\n"})
        EXPECT_NE(run.results.find(part), std::string::npos) << part << "\n" << run.results;
    EXPECT_EQ(run.messages, "");
}

TEST(BatchMethodsTest, TooFewClassesStopAfterTheTable) {
    const BatchOutcome run = RunScript(
        "open skewed.txt\n"
        "method 2\n"
        "form 1 3\n");
    ASSERT_EQ(run.status, BatchDone) << run.messages;
    EXPECT_EQ(run.messages, "Сообщение: !ЧИСЛО БИНОВ ГИСТОГРАММЫ < 3!\n");
    EXPECT_EQ(run.results.find("Значимость"), std::string::npos);
}

// A form answered by its field labels runs as by position; a refused field
// stops the run at the form's line, before the lines meant for a run that
// went on are read as commands.
TEST(BatchMethodsTest, HistogramFormByLabelAndRefusedFields) {
    const BatchOutcome byLabel = RunScript(
        "open skewed.txt\n"
        "method 2\n"
        "form 1 \"число интервалов=3\"\n");
    ASSERT_EQ(byLabel.status, BatchDone) << byLabel.messages;
    EXPECT_EQ(byLabel.messages, "Сообщение: !ЧИСЛО БИНОВ ГИСТОГРАММЫ < 3!\n");

    struct Case {
        const char* form;
        const char* field;
        const char* notice;
    };
    const Case cases[] = {
        {"form 1 0", "«Число интервалов=»", "!ЧИСЛО ИНТЕРВАЛОВ ДОЛЖНО БЫТЬ ОТ 1 ДО"},
        {"form 1 \"Левая граница=abc\"", "«Левая граница=»", "!ГРАНИЦА ИНТЕРВАЛОВ"},
        {"form 1 10 5 1", "«Правая граница=»", "!ЛЕВАЯ ГРАНИЦА ДОЛЖНА БЫТЬ МЕНЬШЕ ПРАВОЙ!"},
        // A label the form lacks: its text went to the first field.
        {"form 1 \"Шаг=3\"", "«Число интервалов=»", "поля «Шаг» у формы нет"},
    };
    for (const Case& c : cases) {
        const BatchOutcome run =
            RunScript(std::string("open skewed.txt\nmethod 2\n") + c.form + "\nyes\ngraph keep\n");
        EXPECT_EQ(run.status, BatchScriptFault) << c.form;
        const std::string line =
            std::string("строка 3 сценария «") + c.form + "»: форма «Гистограмма»";
        for (const std::string& part : {line, std::string(c.field), std::string(c.notice)})
            EXPECT_NE(run.messages.find(part), std::string::npos) << part << "\n" << run.messages;
        EXPECT_EQ(run.messages.find("строка 4"), std::string::npos) << run.messages;
    }
}

}  // namespace
}  // namespace dalvex
