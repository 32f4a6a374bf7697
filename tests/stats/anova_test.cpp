// The one-factor analysis of variance and its rank tests: the figures against
// R, the degenerate data that must end in a plain notice, and method 11 end
// to end from a script (choice dialog, comparisons, contrasts).
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "numeric/distributions.h"
#include "stats/anova.h"
#include "support/batch_run.h"
#include "support/temp_folder.h"

namespace dalvex {
namespace {

// The figures are compared with R under the exact laws ("Точные
// вероятности"): the default approximations differ in the third digit for
// few degrees of freedom.

// R: g1 <- c(4.2,4.8,5.1,5.5,4.9); g2 <- c(5.9,6.3,5.7,6.8);
//    g3 <- c(5.0,5.2,4.7,5.3,5.6,5.1); y <- c(g1,g2,g3)
//    g <- factor(rep(1:3, c(5,4,6))); anova(lm(y ~ g))
const std::vector<std::vector<double>> Groups = {
    {4.2, 4.8, 5.1, 5.5, 4.9}, {5.9, 6.3, 5.7, 6.8}, {5.0, 5.2, 4.7, 5.3, 5.6, 5.1}};
const std::vector<std::string> Names = {"g1", "g2", "g3"};

std::vector<std::vector<double>> Shifted(std::vector<std::vector<double>> groups, double by) {
    for (auto& g : groups)
        for (double& x : g)
            x += by;
    return groups;
}

// The distribution routines are approximations of about five digits.
void ExpectSignificance(double p, double r) {
    EXPECT_NEAR(p, r, 2e-4 * r + 1e-7);
}

TEST(OneFactorTest, TableParametersAndComparisonsAgreeWithR) {
    // Compared with R\'s exact laws, not the default approximations.
    const ProbabilityModeScope exact(true);
    // The same data on an offset of 1e7 keep every figure but the mean:
    // the sums of squares are taken about the means.
    for (double offset : {0.0, 1e7}) {
        SCOPED_TRACE(offset);
        const OneFactorFigures f = ComputeOneFactor(Shifted(Groups, offset), Names, 0.05);
        ASSERT_TRUE(f.notice.empty());
        EXPECT_NEAR(f.ss1, 3.9735, 1e-7);
        EXPECT_NEAR(f.sse, 2.0625, 1e-7);
        EXPECT_NEAR(f.sst, 6.036, 1e-7);
        EXPECT_EQ(f.dfError, 12);
        const AnovaTableResult t = ComputeAnovaTable(f.table, 0.05);
        ASSERT_TRUE(t.notice.empty());
        const AnovaRow& factor = t.figures.rows[0];
        EXPECT_NEAR(factor.f, 11.55927, 1e-5);
        ExpectSignificance(factor.p, 0.0015917);
        // (SS1^2 - SSE^2) / ((SS1^2 + SSE^2) N/k)
        EXPECT_NEAR(factor.strength, 0.1151027422, 1e-8);
        EXPECT_NEAR(t.figures.rows[1].ms, 0.171875, 1e-9);  // the residual row

        // t = qt(0.975, 12): t*sqrt(MSE/N), t*sqrt(MSE*(1/n - 1/N))
        EXPECT_NEAR(f.grandMean - offset, 5.34, 1e-7);
        EXPECT_NEAR(f.meanHalfWidth, 0.2332279795, 2e-5);
        const double effects[] = {-0.44, 0.835, -0.19};
        const double widths[] = {0.3298341718, 0.3867648493, 0.2856447718};
        for (int g = 0; g < 3; ++g) {
            EXPECT_NEAR(f.effects[g], effects[g], 1e-7);
            EXPECT_NEAR(f.effectHalfWidths[g], widths[g], 3e-5);
        }

        // d = m_g - m_h, D = 1/n_g + 1/n_h: |d|, sqrt(2 MSE D qf(0.95, 2, 12)),
        // pf(d^2 / (2 MSE D), 2, 12, lower = FALSE)
        const std::vector<Comparison> pairs = ScheffeComparisons(f, 0.05);
        ASSERT_EQ(pairs.size(), 3u);
        const double r[3][3] = {{1.275, 0.775246019, 0.002304456678},
                                {0.25, 0.699792048, 0.6209897731},
                                {1.025, 0.7459808296, 0.00829652239}};
        for (int i = 0; i < 3; ++i) {
            EXPECT_NEAR(pairs[i].difference, r[i][0], 1e-7);
            EXPECT_NEAR(pairs[i].interval, r[i][1], 1e-4);
            ExpectSignificance(pairs[i].p, r[i][2]);
            EXPECT_EQ(pairs[i].significant, r[i][2] < 0.05);
        }
        EXPECT_EQ(pairs[0].label, "    1-2   ");
        // (m1 + m3)/2 - m2, D = 1/(4*5) + 1/(4*6) + 1/4
        const Comparison c = Contrast(f, {0, 2}, {1}, "g1,g3-g2: ", 0.05);
        EXPECT_NEAR(c.difference, 1.15, 1e-7);
        EXPECT_NEAR(c.interval, 0.6755143718, 1e-4);
        ExpectSignificance(c.p, 0.001764476545);
    }
}

// With one numerator degree of freedom the significance is that of F, not of
// F squared, and Scheffé's critical F is the square of the two-sided t.
TEST(OneFactorTest, TwoGroupsTakeTheSignificanceOfFThroughStudentsT) {
    // Compared with R\'s exact laws, not the default approximations.
    const ProbabilityModeScope exact(true);
    // R: anova(lm(c(g1, g2) ~ factor(rep(1:2, c(5, 4)))))
    const OneFactorFigures f = ComputeOneFactor({Groups[0], Groups[1]}, {"g1", "g2"}, 0.05);
    ASSERT_TRUE(f.notice.empty());
    const AnovaTableResult t = ComputeAnovaTable(f.table, 0.05);
    EXPECT_NEAR(t.figures.rows[0].f, 15.73095, 1e-5);
    ExpectSignificance(t.figures.rows[0].p, 0.0054184);
    ExpectSignificance(f.factorP, 0.0054184);
    // With two groups Scheffé is Student's t: the interval is
    // qt(0.975, 7) * sqrt(MSE (1/5 + 1/4)), the significance the same as F's.
    const std::vector<Comparison> pairs = ScheffeComparisons(f, 0.05);
    EXPECT_NEAR(pairs[0].interval, 2.364624252 * std::sqrt(0.2296429 * 0.45), 2e-4);
    ExpectSignificance(pairs[0].p, 0.0054184);
}

TEST(OneFactorTest, DegenerateGroupsEndInAPlainNotice) {
    // Compared with R\'s exact laws, not the default approximations.
    const ProbabilityModeScope exact(true);
    struct Case {
        const char* what;
        std::vector<std::vector<double>> groups;
        std::string notice;
    };
    const Case cases[] = {
        {"one group", {{1, 2, 3}}, "!МАЛО ПЕРЕМЕННЫХ!"},
        {"an empty group", {{1, 2, 3}, {}}, "!НЕТ ЗНАЧЕНИЙ В ГРУППЕ g2!"},
        {"one value a group", {{1}, {2}, {4}}, NoErrorDfNotice},
        {"constant data", {{7, 7}, {7, 7, 7}}, ConstantDataNotice},
        {"constant groups", {{1e7 + 0.1, 1e7 + 0.1}, {1e7 + 0.3, 1e7 + 0.3}}, ZeroErrorNotice},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<std::string> names = {"g1", "g2", "g3"};
        EXPECT_EQ(ComputeOneFactor(c.groups, names, 0.05).notice, c.notice);
    }
    // A group of one value among larger ones is analysed.
    EXPECT_TRUE(ComputeOneFactor({{1, 2, 3}, {5}}, Names, 0.05).notice.empty());
}

TEST(RankTestsTest, KruskalWallisAndJonckheereAgreeWithR) {
    // Compared with R\'s exact laws, not the default approximations.
    const ProbabilityModeScope exact(true);
    // R: kruskal.test(list(h1, h2, h3)); J and z from their definitions
    // (pairs g < h, y > x counts 1, y = x one half).
    const std::vector<std::vector<double>> h = {
        {3, 5, 5, 7, 9}, {6, 8, 8, 10, 12, 12}, {9, 11, 13, 13, 14}};
    for (double offset : {0.0, 1e7}) {
        const KruskalWallisFigures f = ComputeKruskalWallis(Shifted(h, offset), Names);
        ASSERT_TRUE(f.notice.empty());
        EXPECT_NEAR(f.h, 9.0118519, 1e-6);
        ExpectSignificance(f.p, 0.01104336);
        EXPECT_DOUBLE_EQ(f.j, 75.5);
        EXPECT_NEAR(f.z, 3.176652277, 1e-8);
        ExpectSignificance(f.jp, 0.0007449277543);
    }
    EXPECT_DOUBLE_EQ(ComputeKruskalWallis({{1, 2}, {3, 4}}, Names).tieFactor, 1);
    EXPECT_EQ(ComputeKruskalWallis({{2, 2}, {2}}, Names).notice, ConstantDataNotice);
}

TEST(RankTestsTest, FriedmanAndPageAgreeWithR) {
    // Compared with R\'s exact laws, not the default approximations.
    const ProbabilityModeScope exact(true);
    // R: M <- cbind(c(1,2,3,1,2,4), c(2,3,3,2,4,5), c(3,1,4,5,5,6), c(4,4,2,6,3,7))
    //    friedman.test(M); L = sum((1:4) * colSums(t(apply(M, 1, rank))))
    const std::vector<std::vector<double>> m = {
        {1, 2, 3, 1, 2, 4}, {2, 3, 3, 2, 4, 5}, {3, 1, 4, 5, 5, 6}, {4, 4, 2, 6, 3, 7}};
    const FriedmanFigures f = ComputeFriedman(m);
    ASSERT_TRUE(f.notice.empty());
    EXPECT_NEAR(f.chiSquare, 6.8644068, 1e-6);
    ExpectSignificance(f.p, 0.07634749);
    EXPECT_DOUBLE_EQ(f.page, 167.5);
    EXPECT_NEAR(f.z, 2.474873734, 1e-8);
    ExpectSignificance(f.pageP, 0.00666416439);

    EXPECT_EQ(ComputeFriedman({{1, 2, 3}, {1, 2}}).notice, UnequalBlocksNotice);
    EXPECT_EQ(ComputeFriedman({{1, 2, 3}, {1, 2, 3}}).notice, ConstantDataNotice);
}

// ---------------------------------------------------------------------------
// Method 11 from a script

class OneFactorMethodTest : public ::testing::Test {
  protected:
    BatchOutcome Run(const std::string& data, const std::string& answers) {
        std::ofstream(folder / "groups.txt") << data;
        return RunMethodsScript("open groups.txt\nmethod 11\n" + answers, folder.WithSlash());
    }
    static std::vector<std::string> Lines(const std::string& text) {
        std::vector<std::string> lines;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }
    static bool Has(const std::vector<std::string>& lines, const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
    static int StartingWith(const std::vector<std::string>& lines, const std::string& start) {
        return static_cast<int>(std::count_if(
            lines.begin(), lines.end(), [&](const auto& l) { return l.rfind(start, 0) == 0; }));
    }
    TempFolder folder{"anova"};
};

// g2's third cell is missing: per-row removal leaves it out of g2 only.
const char* GroupsFile =
    "g1 g2 g3\n4.2 5.9 5.0\n4.8 6.3 5.2\n5.1 NA 4.7\n5.5 5.7 5.3\n4.9 6.8 5.6\n4.4 6.1 5.1\n";

TEST_F(OneFactorMethodTest, ParametricReportWithScheffeBonferroniAndContrasts) {
    // R: g1 <- c(4.2,4.8,5.1,5.5,4.9,4.4); g2 <- c(5.9,6.3,5.7,6.8,6.1);
    //    g3 <- c(5.0,5.2,4.7,5.3,5.6,5.1); anova(lm(y ~ g)).
    const BatchOutcome out =
        Run(GroupsFile, "variables g1 g2 g3\nform 1\ngroups g1 g3 - g2\ngroups 1 - 2\ncancel\n");
    ASSERT_EQ(out.status, BatchDone) << out.messages;
    const auto lines = Lines(out.results);
    for (const char* line :
         {"          параметрический", AnovaTableHeading, ModelParametersLine, ScheffeTitle,
          ScheffeHeading, "С поправкой Бонферрони для множественных сравнений:",
          "Крит.значимость нулевых гипотез=0.01667",
          "Необходимо перепроверить результаты принятия альтернативных гипотез !!!"})
        EXPECT_TRUE(Has(lines, line)) << line << "\n" << out.results;
    EXPECT_EQ(StartingWith(lines, "  Факт.1   "), 1);
    EXPECT_EQ(StartingWith(lines, "  Факт.2   "), 0);
    EXPECT_EQ(StartingWith(lines, "F(фактор1)="), 1);
    EXPECT_EQ(StartingWith(lines, "Эффект"), 3);
    EXPECT_EQ(StartingWith(lines, "    1-2   "), 1);
    EXPECT_EQ(StartingWith(lines, "    2-3   "), 1);
    EXPECT_EQ(StartingWith(lines, "g1,g3-g2: "), 1);
    EXPECT_EQ(StartingWith(lines, "g1-g2: "), 1);
    // F = 16.059 on 2 and 14 degrees of freedom.
    EXPECT_EQ(StartingWith(lines, "F(фактор1)=16.06, Значимость="), 1) << out.results;
    EXPECT_NE(out.results.find("степ.своб = 2,14"), std::string::npos);
}

TEST_F(OneFactorMethodTest, NoDifferenceMeansNoComparisonsAndNoContrastDialog) {
    const BatchOutcome out = Run("a b\n1 2\n2 1\n3 3\n", "variables a b\nform 1\n");
    ASSERT_EQ(out.status, BatchDone) << out.messages;
    EXPECT_NE(out.results.find(ModelParametersLine), std::string::npos);
    EXPECT_EQ(out.results.find(ScheffeTitle), std::string::npos);
}

TEST_F(OneFactorMethodTest, RankTestsWithTheirTrendQuestions) {
    const BatchOutcome kw = Run(GroupsFile, "variables g1 g2 g3\nform 2\nyes\n");
    ASSERT_EQ(kw.status, BatchDone) << kw.messages;
    EXPECT_EQ(StartingWith(Lines(kw.results), "Краскал-Уоллис="), 1) << kw.results;
    EXPECT_EQ(StartingWith(Lines(kw.results), "Джонкхиер="), 1);

    // Friedman drops the block with a missing value (the third) from every
    // treatment: R's friedman.test on the complete rows gives chi-squared =
    // 8.4 on 2 degrees of freedom.
    const BatchOutcome fr = Run(GroupsFile, "variables g1 g2 g3\nform 3\nno\n");
    ASSERT_EQ(fr.status, BatchDone) << fr.messages;
    EXPECT_EQ(StartingWith(Lines(fr.results), "Фридман=8.4, Значимость="), 1) << fr.results;
    EXPECT_EQ(StartingWith(Lines(fr.results), "Пейдж="), 0);
}

TEST_F(OneFactorMethodTest, FriedmanRefusesTreatmentsOfUnequalLength) {
    const BatchOutcome out = Run("a b\n1 2\n2 3\n3\n", "variables a b\nform 3\n");
    ASSERT_EQ(out.status, BatchDone) << out.messages;
    EXPECT_NE(out.messages.find(UnequalBlocksNotice), std::string::npos) << out.messages;
    EXPECT_EQ(out.results.find("Фридман="), std::string::npos);
}

}  // namespace
}  // namespace dalvex
