// Kaplan-Meier curves, Greenwood's errors and the log-rank comparison
// against R's survival package, on groups given unsorted with ties of
// events and censorings, a group where everyone dies and a last time with
// one case at risk; then the method from a script.
#include "stats/survival.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "batch/batch_runner.h"
#include "core/workspace.h"
#include "stats/statistics_methods.h"
#include "support/temp_folder.h"

namespace dalvex {
namespace {

// Group 1 unsorted, with an event and a censoring at 3, 8 and 15, and its
// last case dying alone at 30; group 2 ends with everyone dead at 14.
const std::vector<double> T1 = {5, 3, 3, 8, 8, 12, 15, 15, 20, 30};
const std::vector<double> C1 = {2, 1, -1, 1, -2, 1, 1, -1, -1, 1};
const std::vector<double> T2 = {2, 4, 4, 6, 9, 9, 11, 14};
const std::vector<double> C2 = {1, 2, -1, 1, 1, -1, 2, 1};

// R (survival 3): each (t, c) expanded to |c| records with status c > 0;
// s <- summary(survfit(Surv(time, status) ~ 1), censored = TRUE);
// s$time, s$surv, s$std.err. R gives NaN as the error where S = 0; the
// program gives 0.
TEST(SurvivalTest, KaplanMeierAndGreenwoodAgreeWithR) {
    struct Row {
        double time, survival, error;
    };
    const Row first[] = {{3, 0.916666666666667, 0.0797855923130282},
                         {3, 0.916666666666667, 0.0797855923130282},  // its censoring
                         {5, 0.733333333333333, 0.1323575404671699},
                         {8, 0.641666666666667, 0.1441008199015408},
                         {8, 0.641666666666667, 0.1441008199015408},
                         {12, 0.513333333333333, 0.1626812379630337},
                         {15, 0.385000000000000, 0.1650416614070520},
                         {15, 0.385000000000000, 0.1650416614070520},
                         {20, 0.385000000000000, 0.1650416614070520},
                         {30, 0, 0}};
    const SurvivalCurve a = KaplanMeier(T1, C1);
    ASSERT_EQ(a.steps.size(), std::size(first));
    EXPECT_EQ(a.cases, 12);
    for (std::size_t i = 0; i < a.steps.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(a.steps[i].time, first[i].time);
        EXPECT_NEAR(a.steps[i].survival, first[i].survival, 1e-14);
        EXPECT_NEAR(a.steps[i].error, first[i].error, 1e-14);
    }
    // At a tied time the events come first: 12 at risk at 3, the
    // censoring leaves 11 of 11 then.
    EXPECT_EQ(a.steps[0].count, 1);
    EXPECT_EQ(a.steps[0].atRisk, 12);
    EXPECT_NEAR(a.steps[0].kept, 11.0 / 12, 1e-15);
    EXPECT_EQ(a.steps[1].count, -1);
    EXPECT_NEAR(a.steps[1].kept, 10.0 / 11, 1e-15);

    const Row second[] = {{2, 0.9, 0.0948683298050514},
                          {4, 0.7, 0.1449137674618944},
                          {4, 0.7, 0.1449137674618944},
                          {6, 0.583333333333333, 0.1610152971798827},
                          {9, 0.466666666666667, 0.1657753946805179},
                          {9, 0.466666666666667, 0.1657753946805179},
                          {11, 0.155555555555556, 0.1385105959310882},
                          {14, 0, 0}};
    const SurvivalCurve b = KaplanMeier(T2, C2);
    ASSERT_EQ(b.steps.size(), std::size(second));
    for (std::size_t i = 0; i < b.steps.size(); ++i) {
        EXPECT_NEAR(b.steps[i].survival, second[i].survival, 1e-14);
        EXPECT_NEAR(b.steps[i].error, second[i].error, 1e-14);
    }
}

TEST(SurvivalTest, EdgeCasesGiveSoundValues) {
    // One time at which all N die: S = 0 with error 0.
    const SurvivalCurve all = KaplanMeier({4}, {7});
    ASSERT_EQ(all.steps.size(), 1u);
    EXPECT_EQ(all.steps[0].survival, 0);
    EXPECT_EQ(all.steps[0].error, 0);
    // Missing cells and zero counts drop their pairs; the times may sit far
    // from 0 with small gaps; equal times of one kind make one step.
    const SurvivalCurve far =
        KaplanMeier({1e7 + 0.2, MissingValue, 1e7 + 0.1, 1e7 + 0.2, 1e7 + 3}, {1, 5, 2, 1, 0});
    ASSERT_EQ(far.steps.size(), 2u);
    EXPECT_EQ(far.cases, 4);
    EXPECT_EQ(far.steps[0].time, 1e7 + 0.1);
    EXPECT_EQ(far.steps[1].count, 2);
    EXPECT_NEAR(far.steps[0].survival, 0.5, 1e-15);
    EXPECT_EQ(far.steps[1].survival, 0);
    // A fraction of a case is not counted.
    const SurvivalCurve whole = KaplanMeier({1, 2, 3}, {1.7, -0.4, -2.5});
    ASSERT_EQ(whole.steps.size(), 2u);
    EXPECT_EQ(whole.cases, 3);
    EXPECT_EQ(whole.steps[1].count, -2);
    // Only censorings: S stays 1 with error 0.
    const SurvivalCurve none = KaplanMeier({1, 2}, {-3, -1});
    EXPECT_EQ(none.steps[1].survival, 1);
    EXPECT_EQ(none.steps[1].error, 0);
}

// R: sd <- survdiff(Surv(time, status) ~ g); U = sd$obs[1] - sd$exp[1],
// V = sd$var[1, 1], sd$chisq = U^2 / V = 3.1544233825941. The last event of
// group 1 has one case at risk in all: it adds nothing to V.
TEST(SurvivalTest, LogRankAgreesWithR) {
    const LogRank r = CompareCurves(KaplanMeier(T1, C1), KaplanMeier(T2, C2));
    ASSERT_TRUE(r.valid);
    EXPECT_NEAR(r.u, -2.989661215977, 1e-12);
    EXPECT_NEAR(r.v, 2.83350492379584, 1e-12);
    // The correction brings U toward 0 whatever its sign; the significance
    // is two-sided.
    EXPECT_NEAR(r.z, -(2.989661215977 - 0.5) / std::sqrt(2.83350492379584), 1e-12);
    EXPECT_NEAR(r.p, 0.1391311, 5e-5);  // R: 2 * pnorm(-abs(z))
    EXPECT_NEAR(CompareCurves(KaplanMeier(T2, C2), KaplanMeier(T1, C1)).z, -r.z, 1e-12);
    // No event anywhere: nothing to compare.
    EXPECT_FALSE(CompareCurves(KaplanMeier({1}, {-2}), KaplanMeier({2}, {-1})).valid);
}

class SurvivalBatchTest : public ::testing::Test {
  protected:
    void Write(const std::string& text) { std::ofstream(temp_ / "s.txt") << text; }
    struct Outcome {
        int status;
        std::string results, messages;
    };
    Outcome Run(const std::string& script) {
        std::ostringstream results, messages;
        const int status = RunBatchScript("open s.txt\n" + script, temp_.WithSlash(),
                                          BuiltStatisticsMethods(), results, messages);
        return {status, results.str(), messages.str()};
    }
    TempFolder temp_{"survival"};
};

TEST_F(SurvivalBatchTest, TwoGroupsFromAScript) {
    std::string text = "t1 c1 t2 c2\n";
    for (std::size_t i = 0; i < T1.size(); ++i)
        text += std::to_string(T1[i]) + " " + std::to_string(C1[i]) + " " +
                (i < T2.size() ? std::to_string(T2[i]) + " " + std::to_string(C2[i]) : "") + "\n";
    Write(text);
    const Outcome o = Run("method 37\ngraph keep\n");
    ASSERT_EQ(o.status, BatchDone) << o.messages;
    EXPECT_NE(o.results.find("СРАВНЕНИЕ ВЫЖИВАЕМОСТЕЙ. Файл: s.txt\n\n"
                             "    Время Пережили   Выжили  Ст.ошибка\n"
                             "        3   0.9167   0.9167  0.07979\n"
                             "        3   0.9091   0.9167  0.07979\n"
                             "        5      0.8   0.7333   0.1324\n"),
              std::string::npos)
        << o.results;
    EXPECT_NE(o.results.find("       14        0        0        0\n\n"
                             "Z=-1.479, значимость=0.1391\n"
                             "   Гипотеза 0: <Нет различий между  кривыми выживаемости>\n"),
              std::string::npos)
        << o.results;
}

TEST_F(SurvivalBatchTest, OtherShapesOfDataAreRefused) {
    Write("t c x\n1 1 1\n2 -1 2\n");
    const Outcome three = Run("method 37\n");
    EXPECT_EQ(three.status, BatchDone);
    EXPECT_NE(three.messages.find(NotSurvivalDataNotice), std::string::npos) << three.messages;
    EXPECT_EQ(three.results.find("ВЫЖИВАЕМОСТ"), std::string::npos) << three.results;

    // Counts beyond any population.
    Write("t c\n1 1e300\n2 -1e300\n");
    const Outcome huge = Run("method 37\n");
    EXPECT_EQ(huge.status, BatchDone);
    EXPECT_NE(huge.messages.find(NotSurvivalDataNotice), std::string::npos) << huge.messages;

    Write("t c\n? 1\n2 ?\n");
    const Outcome missing = Run("method 37\n");
    EXPECT_EQ(missing.status, BatchDone);
    EXPECT_NE(missing.messages.find("!МАЛО ЗНАЧЕНИЙ ПЕРЕМЕННЫХ!"), std::string::npos);

    // One group: its own heading, no comparison.
    Write("t c\n4 7\n");
    const Outcome one = Run("method 37\ngraph keep\n");
    ASSERT_EQ(one.status, BatchDone) << one.messages;
    EXPECT_NE(one.results.find("АНАЛИЗ ВЫЖИВАЕМОСТИ. Файл: s.txt\n\n"
                               "    Время Пережили   Выжили  Ст.ошибка\n"
                               "        4        0        0        0\n"),
              std::string::npos)
        << one.results;
    EXPECT_EQ(one.results.find("Z="), std::string::npos);
}

}  // namespace
}  // namespace dalvex
