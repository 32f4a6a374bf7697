// The short sweep: every registered method on every hostile sheet with a
// fixed list of seeds, so each run of the suite (and its sanitizer build)
// tries them all; and the harness's own promises - the checks see what they
// must, the answers repeat with their seed and replay in dalvex-batch.
#include <gtest/gtest.h>

#include <sstream>

#include "batch/batch_runner.h"
#include "stats/statistics_methods.h"
#include "support/temp_folder.h"
#include "sweep/sweep.h"

namespace dalvex {
namespace {

TEST(SweepChecksTest, NonFiniteNumbersAreFoundInEveryPrintedForm) {
    struct Case {
        const char* text;
        bool nonFinite;
    };
    const Case cases[] = {
        {"   x     nan    1.5", true},
        {"-INF", true},
        {"1.#INF", true},
        {"-1.#IND0", true},
        {"среднее=Infinity", true},
        {"1.#QNAN", true},
        {"inf;", true},
        {"information", false},
        {"banana", false},
        {"sinf nano", false},
        {"Среднее 1.5e+300", false},
        {"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HoldsNonFinite(c.text), c.nonFinite) << c.text;
}

int SheetIndex(const std::string& name) {
    const auto& sheets = HostileSheets();
    for (std::size_t i = 0; i < sheets.size(); ++i)
        if (sheets[i].name == name)
            return static_cast<int>(i);
    return -1;
}

// The seeds every method meets on every sheet in the suite.
constexpr std::uint64_t ShortSweepSeeds[] = {1, 2, 3};

TEST(ShortSweepTest, EveryMethodSurvivesEveryHostileSheet) {
    const TempFolder temp("sweep");
    Sweeper sweeper(temp.WithSlash(), BuiltStatisticsMethods());
    Watchdog watchdog(240.0);
    const std::vector<int> methods = sweeper.Methods();
    ASSERT_FALSE(methods.empty());
    for (int method : methods)
        for (int sheet = 0; sheet < static_cast<int>(HostileSheets().size()); ++sheet)
            for (std::uint64_t seed : ShortSweepSeeds) {
                const SweepCase c{seed * 1000 + static_cast<std::uint64_t>(method), sheet, method};
                watchdog.Arm();
                const SweepOutcome outcome = sweeper.Run(c);
                watchdog.Disarm();
                EXPECT_TRUE(outcome.findings.empty()) << sweeper.Describe(c, outcome);
            }
}

TEST(SweepHarnessTest, ASeedRepeatsItsAnswersAndTheScriptReplaysTheRun) {
    const TempFolder temp("sweep-replay");
    Sweeper sweeper(temp.WithSlash(), BuiltStatisticsMethods());
    int replayed = 0;
    for (int method : sweeper.Methods()) {
        for (std::uint64_t seed = 1; seed <= 6; ++seed) {
            // Small sheets, where every answer matters.
            const int sheet = SheetIndex(seed % 2 == 0 ? "two" : "signs");
            const SweepCase c{seed, sheet, method};
            const SweepOutcome first = sweeper.Run(c);
            const SweepOutcome again = sweeper.Run(c);
            ASSERT_EQ(first.script, again.script);
            ASSERT_EQ(first.results, again.results);

            const std::string folder =
                (temp / ("replay" + std::to_string(method) + "-" + std::to_string(seed))).string();
            sweeper.WriteReplay(folder, c, first);
            std::ostringstream results, messages;
            const int status =
                RunBatchFile(folder + "/replay.txt", BuiltStatisticsMethods(), results, messages);
            // A script stops at a field the method refuses, naming it; what
            // was written before stays.
            if (first.fieldRefused) {
                EXPECT_EQ(status, BatchScriptFault) << messages.str();
                EXPECT_EQ(first.results.rfind(results.str(), 0), 0u) << results.str();
                continue;
            }
            // The runner ends every line it prints; a method after 35 whose
            // choice dialog was cancelled has written no line at all.
            const std::string printed = first.results.empty() ? "" : first.results + "\n";
            EXPECT_EQ(results.str(), printed) << sweeper.Describe(c, first);
            EXPECT_EQ(status, BatchDone) << messages.str() << sweeper.Describe(c, first);
            std::string notices;
            for (const std::string& notice : first.notices)
                for (char ch : "Сообщение: " + notice + "\n")
                    if (ch != '\r')
                        notices += ch;
            EXPECT_EQ(messages.str(), notices) << sweeper.Describe(c, first);
            ++replayed;
        }
    }
    EXPECT_GT(replayed, 0);
}

}  // namespace
}  // namespace dalvex
