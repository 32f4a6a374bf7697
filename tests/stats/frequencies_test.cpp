// The agreement of frequencies and the sequential analysis: the figures
// against R, the refusals of bad parameters, and both methods run from a
// script through the dispatcher.
#include "stats/frequencies.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "batch/batch_runner.h"
#include "stats/statistics_methods.h"
#include "support/temp_folder.h"

namespace dalvex {
namespace {

// R: a <- prop.test(k, n); b <- prop.test(k, n, correct = FALSE);
// v <- sum(k) / sum(n); sqrt(a$statistic), a$p.value, sqrt(b$statistic),
// qnorm(0.975) * sqrt(v * (1 - v) * sum(1 / n)) (the interval's half-width
// with the pooled frequency and the two-sided quantile).
TEST(FrequenciesTest, TwoFrequenciesAgreeWithR) {
    struct Case {
        double k1, n1, k2, n2;
        double z, p, halfWidth;
    };
    const Case cases[] = {
        // The defaults; either order gives the same positive Z.
        {20, 1000, 30, 900, 1.66934829311433, 0.09504837460952, 0.0144152076315584},
        {30, 900, 20, 1000, 1.66934829311433, 0.09504837460952, 0.0144152076315584},
        // Large counts differing far behind the leading digits.
        {5000001, 1e7, 5000900, 10000001, 0.401374173418532, 0.688144661141065,
         0.000438261257554829},
        // A difference smaller than the correction: Z is 0, not negative.
        {3, 10, 4, 10, 0, 1, 0.418074606190788},
        {0, 10, 5, 12, 1.81123941965001, 0.0701037986725239, 0.351686413217863},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.k1);
        const TwoFrequencies r = CompareTwoFrequencies(c.k1, c.n1, c.k2, c.n2, 0.05);
        EXPECT_NEAR(r.z, c.z, 1e-9 * (1 + c.z));
        // The program's normal tail and quantile are approximations good to
        // about five digits.
        EXPECT_NEAR(r.p, c.p, 5e-5);
        EXPECT_NEAR(r.halfWidth, c.halfWidth, 1e-3 * c.halfWidth);
        EXPECT_DOUBLE_EQ(r.difference, std::fabs(c.k1 / c.n1 - c.k2 / c.n2));
    }
    // The correction reduces |Z|: R's uncorrected Z for the defaults is 1.81286692464905.
    EXPECT_LT(CompareTwoFrequencies(20, 1000, 30, 900, 0.05).z, 1.81286692464905);
}

// R: b <- prop.test(k, n, p = p0, correct = FALSE); sign(k / n - p0) *
// sqrt(b$statistic), b$p.value.
TEST(FrequenciesTest, FrequencyAgainstProbabilityAgreesWithR) {
    struct Case {
        double k, n, p0, z, p;
    };
    const Case cases[] = {
        {20, 1000, 0.03, -1.85375999440016, 0.0637735042703906},
        {350, 1000, 0.3, 3.45032779671177, 0.000559906248006184},
        {0, 50, 0.1, -2.35702260395516, 0.018422125454099},
    };
    for (const Case& c : cases) {
        const FrequencyAgainstProbability r = CompareWithProbability(c.k, c.n, c.p0);
        EXPECT_NEAR(r.z, c.z, 1e-9);
        EXPECT_NEAR(r.p, c.p, 5e-5);
    }
}

TEST(FrequenciesTest, SampleSizeIsFourPTimesHundredLessPOverDeltaSquared) {
    EXPECT_EQ(SampleSizeFor(0.3, 0.04), 525);    // 4 * 30 * 70 / 16
    EXPECT_EQ(SampleSizeFor(0.5, 0.05), 400);    // 4 * 50 * 50 / 25
    EXPECT_EQ(SampleSizeFor(0.57, 0.01), 9804);  // 4 * 57 * 43 / 1 rounded
    EXPECT_EQ(SampleSizeFor(0.999, 0.9), 1);     // at least one observation
    EXPECT_EQ(SampleSizeFor(0, 0.04), 0);
    EXPECT_EQ(SampleSizeFor(1, 0.04), 0);
    EXPECT_EQ(SampleSizeFor(0.3, 0.0004), 0);
}

class FrequenciesBatchTest : public ::testing::Test {
  protected:
    FrequenciesBatchTest() {
        std::ofstream(temp_ / "f.txt") << "x y\n1 0.5\n2 1.5\n3 2.5\n4 0.2\n5 3.1\n6 2.2\n";
    }
    struct Outcome {
        int status;
        std::string results, messages;
    };
    Outcome Run(const std::string& script) {
        std::ostringstream results, messages;
        const int status = RunBatchScript("open f.txt\n" + script, temp_.WithSlash(),
                                          BuiltStatisticsMethods(), results, messages);
        return {status, results.str(), messages.str()};
    }
    TempFolder temp_{"frequencies"};
};

TEST_F(FrequenciesBatchTest, CompareFrequenciesWritesZTheVerdictAndTheInterval) {
    const Outcome o = Run("method 30\nform 1\nmethod 30\nform 2 350 1000\nmethod 30\nform 3\n");
    ASSERT_EQ(o.status, BatchDone) << o.messages;
    EXPECT_NE(o.results.find("СОГЛАСИЕ ЧАСТОТ.  Файл: f.txt\n"
                             "Z=1.669,  Значимость=0.09505\n"
                             "   Гипотеза 0: <Различие частот незначимо>\n"
                             "Разность частот=0.01333, доверит.интервал=0.0144\n"),
              std::string::npos)
        << o.results;
    // R's p is 0.0005599; the program's normal tail is good to five digits.
    EXPECT_NE(o.results.find("Z=3.45,  Значимость=0.0005634\n"
                             "   Гипотеза 1: <Различие частот значимо>\n"),
              std::string::npos)
        << o.results;
    EXPECT_NE(o.messages.find("Мин.размер выборки = 525"), std::string::npos) << o.messages;
}

TEST_F(FrequenciesBatchTest, BadParametersAreRefusedWithTheNotice) {
    const char* scripts[] = {
        "form 1 20 0",            // no observations in the first sample
        "form 1 20 1000 30 0",    // nor in the second
        "form 1 1001 1000",       // more events than observations
        "form 1 20 1000 -1 900",  // negative events
        "form 2 20 1000 30 900 0",
        "form 2 20 1000 30 900 1",
        "form 2 20 1000 30 900 слово",
        "form 3 20 1000 30 900 0.3 0.3 0",
        "form 3 20 1000 30 900 0.3 1.5 0.04",
        "form 3 20 1000 30 900 0.3 0 0.04",
    };
    for (const char* script : scripts) {
        SCOPED_TRACE(script);
        const Outcome o = Run(std::string("method 30\n") + script + "\n");
        EXPECT_EQ(o.status, BatchScriptFault);
        EXPECT_NE(o.messages.find(ParameterErrorNotice), std::string::npos) << o.messages;
        EXPECT_EQ(o.results.find("Z="), std::string::npos) << o.results;
    }
    // No events at all: no spread to test against.
    const Outcome none = Run("method 30\nform 1 0 100 0 200\n");
    EXPECT_EQ(none.status, BatchDone);
    EXPECT_NE(none.messages.find(NoSpreadNotice), std::string::npos) << none.messages;
    EXPECT_EQ(none.results.find("Z="), std::string::npos) << none.results;
}

// R: cumsum(y - x0); log(99) * ((x0 + S) * d / x0)^2 / S.
TEST(SequentialTest, CumulativeSumAndBoundariesAgreeWithR) {
    const SequentialChart a =
        ComputeSequentialChart({1, 2, 3, 4, 5, 6}, {0.5, 1.5, 2.5, 0.2, 3.1, 2.2}, 1, 1, 1);
    const std::vector<double> sums = {-0.5, 0, 1.5, 0.7, 2.8, 4.0};
    for (std::size_t i = 0; i < sums.size(); ++i)
        EXPECT_NEAR(a.sums[i], sums[i], 1e-14);
    EXPECT_NEAR(a.intercept, 18.3804794005384, 1e-12);
    EXPECT_EQ(a.slope, 0.5);
    EXPECT_EQ(a.firstX, 1);
    EXPECT_EQ(a.lastX, 6);
    EXPECT_NEAR(a.upper[0], 18.3804794005384 + 0.5, 1e-12);
    EXPECT_NEAR(a.upper[1], 18.3804794005384 + 3, 1e-12);
    EXPECT_NEAR(a.lower[1], -18.3804794005384 + 3, 1e-12);
    // Observations near 1e7 keep their small deviations (R's figures are
    // those of the doubles 1e7 + 0.3 ...).
    const SequentialChart b =
        ComputeSequentialChart({0, 1, 2}, {1e7 + 0.3, 1e7 - 0.1, 1e7 + 0.2}, 1e7, 2, 0.5);
    EXPECT_NEAR(b.sums[2], 0.400000000372529, 1e-12);
    EXPECT_NEAR(b.intercept, 36.7609624771727, 1e-10);
}

TEST_F(FrequenciesBatchTest, SequentialAnalysisDrawsItsChart) {
    const Outcome o = Run("method 31\nvariables x y\nform 1 1 1 1\ngraph keep\n");
    ASSERT_EQ(o.status, BatchDone) << o.messages;
    EXPECT_NE(o.results.find("ПОСЛЕДОВАТЕЛЬНЫЙ АНАЛИЗ.  Файл: f.txt\n"), std::string::npos);

    // x0 = 0, S not above 0, a word, and boundaries beyond the range of
    // numbers (x0 near 0 beside S, a huge d, a tiny S).
    const char* refused[] = {"form 1 0 1 1",         "form 1 1 1 0",      "form 1 1 1 -2",
                             "form 1 1 слово 1",     "form 1 1e-200 1 1", "form 1 1 1e200 1",
                             "form 1 1 1e10 1e-290", "form 1 1e308 7",    "form 1 1 1 1e305"};
    for (const char* form : refused) {
        SCOPED_TRACE(form);
        const Outcome r = Run(std::string("method 31\nvariables x y\n") + form + "\n");
        EXPECT_EQ(r.status, BatchScriptFault);
        EXPECT_NE(r.messages.find(ParameterErrorNotice), std::string::npos) << r.messages;
    }
    // x0 = -S: the boundaries meet at the cumulative sums' start.
    const Outcome meet = Run("method 31\nvariables x y\nform 1 -1 1 1\ngraph keep\n");
    EXPECT_EQ(meet.status, BatchDone) << meet.messages;
    EXPECT_EQ(meet.messages.find("Прерывание"), std::string::npos) << meet.messages;

    const Outcome one = Run("method 31\nvariables y\n");
    EXPECT_EQ(one.status, BatchDone);
    EXPECT_NE(one.messages.find(TwoVariablesNotice), std::string::npos) << one.messages;
}

}  // namespace
}  // namespace dalvex
