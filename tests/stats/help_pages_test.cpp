// F1 while a method runs asks for help context method + 99: every built method
// has its own page in the shipped index.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/help_index.h"

namespace dalvex {
namespace {

TEST(StatsHelpPages, EveryBuiltMethodHasItsPage) {
    const std::filesystem::path folder = std::filesystem::path(DALVEX_RESOURCE_DIR) / "help";
    std::ifstream in(folder / "index.txt", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    const HelpIndex index = HelpIndex::Parse(text.str());
    const std::pair<int, const char*> pages[] = {{100, "descriptive_statistics.html"},
                                                 {101, "histogram_normality.html"},
                                                 {102, "correlation.html"},
                                                 {103, "student_fisher.html"},
                                                 {104, "chi_square_two.html"},
                                                 {105, "shift_tests.html"},
                                                 {106, "scale_tests.html"},
                                                 {107, "smirnov_test.html"},
                                                 {108, "rank_correlation.html"},
                                                 {109, "cross_tabulation.html"},
                                                 {112, "anova_multi_factor.html"},
                                                 {98, "anova_repeated.html"},
                                                 {118, "two_regressions.html"},
                                                 {119, "simple_regression.html"},
                                                 {120, "multiple_regression.html"},
                                                 {121, "stepwise_regression.html"},
                                                 {122, "general_model.html"},
                                                 {123, "discriminant_analysis.html"},
                                                 {124, "cluster_analysis.html"},
                                                 {125, "factor_analysis.html"},
                                                 {126, "scaling.html"},
                                                 {114, "time_series_correlation.html"},
                                                 {115, "spectral_analysis.html"},
                                                 {117, "arima_models.html"},
                                                 {127, "probability_calculator.html"},
                                                 {128, "goodness_of_fit.html"},
                                                 {129, "frequencies.html"},
                                                 {130, "sequential_analysis.html"},
                                                 {131, "quality_histogram.html"},
                                                 {132, "pareto_chart.html"},
                                                 {133, "control_charts.html"},
                                                 {136, "survival.html"}};
    for (const auto& [context, file] : pages) {
        const HelpTopic* topic = index.Find(context);
        ASSERT_NE(topic, nullptr) << context;
        EXPECT_EQ(topic->file, file);
        EXPECT_TRUE(std::filesystem::exists(folder / file)) << file;
    }
}

}  // namespace
}  // namespace dalvex
