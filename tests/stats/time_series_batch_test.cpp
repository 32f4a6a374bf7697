// The time-series methods end to end through the batch runner: the
// variables and the form answered from a script, the report, the graph
// prompt and the dialog memory.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "batch/batch_runner.h"
#include "stats/statistics_methods.h"
#include "support/temp_folder.h"

namespace dalvex {
namespace {

class TimeSeriesBatchTest : public ::testing::Test {
  protected:
    TimeSeriesBatchTest() {
        // x and y of the correlation tests, y's 3rd value missing; z a third.
        const char* x[] = {"4.1", "5.3", "6.0", "5.2", "3.9", "3.1", "3.8", "5.0", "6.2", "6.4",
                           "5.1", "4.0", "2.9", "3.3", "4.6", "5.8", "6.6", "5.9", "4.4", "3.2"};
        const char* y[] = {"1.2", "0.8", "?",   "2.6", "2.1", "1.0", "0.4", "0.9", "2.0", "2.8",
                           "2.5", "1.3", "0.5", "0.7", "1.8", "2.9", "2.7", "1.6", "0.6", "0.3"};
        std::ofstream file(folder_ / "ts.txt");
        file << "x y z\n";
        for (int i = 0; i < 20; ++i)
            file << x[i] << " " << y[i] << " " << i % 7 << "\n";
    }

    struct Outcome {
        int status;
        std::string results;
        std::string messages;
    };

    Outcome Run(const std::string& script) {
        std::ostringstream results, messages;
        const int status = RunBatchScript("open ts.txt\n" + script, temp_.WithSlash(),
                                          BuiltStatisticsMethods(), results, messages);
        return {status, results.str(), messages.str()};
    }

    TempFolder temp_{"time-series"};
    std::filesystem::path folder_ = temp_.path();
};

TEST_F(TimeSeriesBatchTest, CorrelationFunctionFromAScript) {
    const Outcome lag = Run("method 15\nvariables x y\nform 1 \"Длина фрагмента=0\"\ngraph keep\n");
    ASSERT_EQ(lag.status, BatchDone) << lag.messages;
    EXPECT_NE(lag.results.find("Пропущн=1 2"), std::string::npos) << lag.results;
    EXPECT_NE(lag.results.find("               Переменные: x, y\n"), std::string::npos);
    EXPECT_NE(lag.results.find(" Сдвиг   Корреляция   Крит.значение\n"), std::string::npos);
    // 19 pairs: lags 0 .. 10, the last one at 10.
    EXPECT_NE(lag.results.find("\n       10 "), std::string::npos) << lag.results;
    EXPECT_EQ(lag.results.find("\n       11 "), std::string::npos) << lag.results;

    // Fragment mode: the critical value only; then a length the form
    // refuses, which stops the script at the form's line.
    const Outcome fragment =
        Run("method 15\nvariables y\nform 1 1 6 2\ngraph keep\n"
            "method 15\nvariables x\nform 1 1 3\n");
    EXPECT_EQ(fragment.status, BatchScriptFault) << fragment.messages;
    EXPECT_NE(fragment.results.find("         Критическое значение="), std::string::npos);
    EXPECT_NE(fragment.messages.find("!ДЛИНА ФРАГМЕНТА ДОЛЖНА БЫТЬ НЕ МЕНЬШЕ 4!"),
              std::string::npos)
        << fragment.messages;

    // A third variable does not fit the dialog: the script is stopped.
    const Outcome three = Run("method 15\nvariables x y z\n");
    EXPECT_EQ(three.status, BatchScriptFault) << three.messages;
}

TEST_F(TimeSeriesBatchTest, SpectralAnalysisFromAScript) {
    const Outcome two =
        Run("method 16\nvariables x y\n"
            "form 1 1 8 4 \"Окно=1\" \"Усреднение=1\"\n"
            "form 3\ngraph keep\nform 4\ngraph discard\nform 0\n");
    ASSERT_EQ(two.status, BatchDone) << two.messages;
    EXPECT_NE(two.results.find("               Переменные: x, y\n"), std::string::npos);

    // One series has no coherence to draw.
    const Outcome one = Run("method 16\nvariables x\nform 1\nform 3\n");
    EXPECT_EQ(one.status, BatchScriptFault) << one.messages;
    EXPECT_NE(one.messages.find("у формы нет кнопки 3"), std::string::npos) << one.messages;
}

}  // namespace
}  // namespace dalvex
