// Scripts run end to end: a data file opened, a method's frame with its
// variable dialog answered, the sheet saved, and scripts that do not fit.
#include "batch/batch_runner.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/number.h"
#include "dispatch/loading.h"
#include "formula/formula_set_dialog.h"
#include "numeric/distributions.h"
#include "support/temp_folder.h"

namespace dalvex {
namespace {

namespace fs = std::filesystem;

const std::string Data = std::string(DALVEX_BATCH_DATA) + "/";

struct Outcome {
    int status;
    std::string results;
    std::string messages;
};

// Method 1 stands in for the descriptive statistics until they are built:
// the frame and the loading are the dispatcher's, the routine only lists
// what it was given.
MethodRegistry StandIns() {
    MethodRegistry methods;
    methods.Add(1, [](MethodRun& run) {
        for (int row = 0; row <= run.ws.VarLength[0]; ++row) {
            std::string line = "row";
            for (int i = 0; i <= run.ws.VarLength[row + 1]; ++i)
                line += " " + std::to_string(static_cast<int>(run.ws.store.Data(row, i)));
            WriteResult(run.ws, line);
        }
    });
    return methods;
}

Outcome RunScript(const std::string& script, const MethodRegistry& methods = StandIns()) {
    std::ostringstream results;
    std::ostringstream messages;
    const int status = RunBatchScript(script, Data, methods, results, messages);
    return {status, results.str(), messages.str()};
}

TEST(BatchTest, CancellingMethodOneLeavesTheHeaderAndTwoEmptyLines) {
    const Outcome run = RunScript("open two.txt\nmethod 1\ncancel\n");
    EXPECT_EQ(run.status, BatchDone) << run.messages;
    EXPECT_EQ(run.results, "ОПИСАТЕЛЬНАЯ СТАТИСТИКА.  Файл: two.txt\n\n\n");
}

TEST(BatchTest, VariablesByNameOrColumnAreLoadedWithMissingValuesRemoved) {
    const Outcome run = RunScript(
        "# both orders, one run after the other\n"
        "open two.txt\n"
        "method 1\n"
        "variables вес 1\n"
        "method 1\n"
        "variables restore\n");
    EXPECT_EQ(run.status, BatchDone) << run.messages;
    const std::string one =
        "ОПИСАТЕЛЬНАЯ СТАТИСТИКА.  Файл: two.txt\nПропущн=1 1\nrow 65 58\nrow 170 182 165\n\n\n";
    EXPECT_EQ(run.results, one + one);
}

TEST(BatchTest, ScriptThatDoesNotFitStopsNamingTheDialogAndTheLine) {
    struct Case {
        const char* script;
        std::vector<const char*> message;  // parts of the message
    };
    const Case cases[] = {
        {"open two.txt\nmethod 1\nyes\n", {"строка 3", "«yes»", "«Анализ переменных»"}},
        {"open two.txt\nmethod 1\n", {"сценарий кончился", "«Анализ переменных»"}},
        {"open two.txt\nmethod 1\nvariables рост пульс\n", {"строка 3", "«пульс»"}},
        {"open two.txt\nmethod 1\nmethod 1\n", {"строка 3", "это команда"}},
        {"no\n", {"строка 1", "ни один диалог"}},
        {"method 2\n", {"строка 1", "метода 2"}},
        // A word that is neither a command nor an answer.
        {"opne two.txt\n", {"строка 1", "неизвестная команда «opne»"}},
        {"open two.txt\nmethod 1\nvariabels рост\n",
         {"строка 3", "«variabels» — не команда и не ответ", "variables all"}},
        {"open two.txt\nmethod 1\nvariable рост\n", {"строка 3", "здесь отвечают variables"}},
        {"open\n", {"строка 1", "open <файл>"}},
        {"digits 0\n", {"строка 1", "от 3 до 9"}},
        {"level 0\n", {"строка 1", "больше 0 и меньше 0,2"}},
        {"level 0.2\n", {"строка 1", "больше 0 и меньше 0,2"}},
    };
    for (const Case& c : cases) {
        const Outcome run = RunScript(c.script);
        EXPECT_EQ(run.status, BatchScriptFault) << c.script;
        for (const char* part : c.message)
            EXPECT_NE(run.messages.find(part), std::string::npos) << c.script << run.messages;
    }
    // What was written before the fault stays.
    EXPECT_EQ(RunScript(cases[0].script).results, "ОПИСАТЕЛЬНАЯ СТАТИСТИКА.  Файл: two.txt\n");
}

// "exact on" switches every routine of the next methods to the exact laws:
// R's 2 * pt(-2.228, 10) = 0.050012 and qt(0.975, 10) = 2.228139, where the
// approximations give 0.048067 and 2.205051.
TEST(BatchTest, ExactSwitchesTheDistributionLawsOfTheFollowingMethods) {
    MethodRegistry methods;
    methods.Add(1, [](MethodRun& run) {
        WriteResult(run.ws, FormatNumber(FisherTail(2.228, 1, 10), 6, '.') + " " +
                                FormatNumber(FisherQuantile(1, 10, 0.05), 7, '.'));
    });
    const Outcome run = RunScript(
        "open two.txt\nmethod 1\nvariables 1\nexact on\nmethod 1\nvariables 1\nexact off\n"
        "method 1\nvariables 1\n",
        methods);
    EXPECT_EQ(run.status, BatchDone) << run.messages;
    const std::string header = "ОПИСАТЕЛЬНАЯ СТАТИСТИКА.  Файл: two.txt\n";
    const std::string approximate = header + "0.0480672 2.205051\n\n\n";
    EXPECT_EQ(run.results, approximate + header + "0.0500118 2.228139\n\n\n" + approximate);
    EXPECT_FALSE(ExactProbabilities());  // the choice lasts only while a method runs

    EXPECT_EQ(RunScript("exact yes\n", methods).status, BatchScriptFault);
}

TEST(BatchTest, SavesTheSheetInTheFormatOfTheName) {
    const TempFolder temp("batch-save");
    const fs::path out = temp / "saved.tab";
    const Outcome run = RunScript("open two.txt\nsave " + out.string() + "\n");
    EXPECT_EQ(run.status, BatchDone) << run.messages;
    std::ifstream in(out, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    EXPECT_EQ(bytes.str().substr(0, 6), "\xF0\xEE\xF1\xF2\t\xE2");  // "рост\tв" in cp1251

    // A CSV file opens like the others; the encoding word chooses the
    // character set of a text file.
    const std::string csv = (temp / "saved.csv").string();
    const std::string text = (temp / "saved.txt").string();
    const Outcome again = RunScript("open " + out.string() + "\nsave " + csv + "\nopen " + csv +
                                    "\nsave " + text + " utf8\n");
    EXPECT_EQ(again.status, BatchDone) << again.messages;
    std::ifstream csvIn(csv, std::ios::binary), textIn(text, std::ios::binary);
    std::stringstream csvBytes, textBytes;
    csvBytes << csvIn.rdbuf();
    textBytes << textIn.rdbuf();
    EXPECT_EQ(csvBytes.str().substr(0, 11), "\"рост\",");
    EXPECT_EQ(textBytes.str().substr(0, 9), "рост ");
    EXPECT_EQ(RunScript("open two.txt\nsave " + text + " koi8\n").status, BatchScriptFault);

    const Outcome missing = RunScript("open nothing-here.txt\n");
    EXPECT_EQ(missing.status, BatchFileError);
    EXPECT_NE(missing.messages.find("строка 1"), std::string::npos);
    // The system's reason, in the program's language.
    EXPECT_NE(missing.messages.find("нет такого файла или папки"), std::string::npos)
        << missing.messages;
}

// A model chosen by a script line: a stand-in for method 23 asks for a
// regression model and lists what it was handed.
TEST(BatchTest, FormulaLinesAnswerTheFormulaSetDialog) {
    MethodRegistry methods;
    methods.Add(23, [](MethodRun& run) {
        ActiveFormula formula;
        const int answer = ChooseFormula(run.ws, 2, formula);
        std::string line = "ответ " + std::to_string(answer) + ": " + run.ws.TextBuffer();
        for (int k = 1; k <= run.ws.SelectedColumns[0]; ++k)
            line += " " + std::to_string(run.ws.SelectedColumns[static_cast<std::size_t>(k)]);
        WriteResult(run.ws, line);
    });
    const Outcome run = RunScript(
        "open two.txt\n"
        "method 23\n"
        "formula 3 вес=a0+a1*рост\n"
        "method 23\n"
        "formula 9\n",
        methods);
    EXPECT_EQ(run.status, BatchScriptFault);
    EXPECT_NE(run.results.find("  Модель:вес=a0+a1*рост\nответ 1: вес=a0+a1*рост 1 2"),
              std::string::npos)
        << run.results;
    EXPECT_NE(run.messages.find("строки 9 нет"), std::string::npos) << run.messages;
}

// The program itself: a script file given on the command line.
TEST(BatchProgramTest, RunsAScriptFileAndExitsWithItsStatus) {
    const TempFolder temp("batch-program");
    const fs::path script = temp / "script.txt";
    auto exitStatus = [&](const std::string& text) {
        std::ofstream(script) << text;
        const std::string command =
            std::string(DALVEX_BATCH_PROGRAM) + " " + script.string() + " > /dev/null 2>&1";
        const int raw = std::system(command.c_str());
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    };
    EXPECT_EQ(exitStatus("open " + Data + "two.txt\n"), BatchDone);
    EXPECT_EQ(exitStatus("open " + Data + "two.txt\nmethod 99\n"), BatchScriptFault);
    const int raw = std::system((std::string(DALVEX_BATCH_PROGRAM) + " > /dev/null 2>&1").c_str());
    EXPECT_EQ(WEXITSTATUS(raw), BatchFileError);
}

}  // namespace
}  // namespace dalvex
