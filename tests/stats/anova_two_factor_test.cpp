// Two factors: every design's table and error terms against R's aov, the
// parameters' intervals, the pooled lines, and method 12 from a script.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "numeric/distributions.h"
#include "stats/anova.h"
#include "support/batch_run.h"
#include "support/temp_folder.h"

namespace dalvex {
namespace {

// The figures are compared with R under the exact laws ("Точные
// вероятности"): the default approximations differ in the third digit for
// few degrees of freedom.

// Six cells, factor 1 (3 levels) changing fastest, 3 values each. R:
//   cells <- list(c(12,14,13), c(15,17,18), c(11,10,12), c(16,15,17),
//                 c(20,22,21), c(13,12,15))
//   A <- factor(rep(rep(1:3, 2), each = 3)); B <- factor(rep(1:2, each = 9))
//   y <- unlist(cells); summary(aov(y ~ A * B))
const std::vector<std::vector<double>> Cells = {{12, 14, 13}, {15, 17, 18}, {11, 10, 12},
                                                {16, 15, 17}, {20, 22, 21}, {13, 12, 15}};
const std::vector<std::string> CellNames = {"c1", "c2", "c3", "c4", "c5", "c6"};

void ExpectSignificance(double p, double r) {
    EXPECT_NEAR(p, r, 2e-4 * r + 1e-7);
}

struct Expected {
    const char* label;
    double ss, df, f, p;
};

void ExpectRows(const AnovaTableFigures& t, const std::vector<Expected>& rows) {
    ASSERT_GE(t.rows.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(rows[i].label);
        EXPECT_STREQ(t.rows[i].label, rows[i].label);
        EXPECT_NEAR(t.rows[i].ss, rows[i].ss, 1e-5);
        EXPECT_EQ(t.rows[i].df, rows[i].df);
        if (t.rows[i].tested) {
            EXPECT_NEAR(t.rows[i].f, rows[i].f, 1e-5 * rows[i].f);
            ExpectSignificance(t.rows[i].p, rows[i].p);
        }
    }
}

TEST(TwoFactorTest, EachReplicatedDesignTestsItsSourcesAgainstTheRightErrorTerm) {
    // Compared with R\'s exact laws, not the default approximations.
    const ProbabilityModeScope exact(true);
    struct Case {
        TwoFactorDesign design;
        std::vector<Expected> rows;
    };
    // Fixed: aov(y ~ A * B). Random: A and B over A:B, A:B over the cells
    // (aov(y ~ A * B + Error(A:B)) gives the mean squares). Blocks: A over
    // A:B, the blocks B over the cells. Nested: aov(y ~ A/B) for B within A
    // and aov(y ~ A + Error(A:B)) for A over it.
    const Case cases[] = {
        {TwoFactorDesign::Fixed,
         {{"  Факт.1   ", 137.33333, 2, 47.53846, 1.9811e-06},
          {"  Факт.2   ", 46.72222, 1, 32.34615, 0.00010113},
          {"  Межфак   ", 3.11111, 2, 1.07692, 0.37139893},
          {"  Остат.   ", 17.33333, 12, 0, 0}}},
        {TwoFactorDesign::Random,
         {{"  Факт.1   ", 137.33333, 2, 44.14285714, 0.02215189873},
          {"  Факт.2   ", 46.72222, 1, 30.03571429, 0.03171818322},
          {"  Межфак   ", 3.11111, 2, 1.07692, 0.37139893}}},
        {TwoFactorDesign::Blocks,
         {{"  Факт.1   ", 137.33333, 2, 44.14285714, 0.02215189873},
          {"  Факт.2   ", 46.72222, 1, 32.34615385, 0.0001011261044},
          {"  Межфак   ", 3.11111, 2, 1.07692, 0.37139893}}},
        {TwoFactorDesign::Nested,
         {{"  Факт.1   ", 137.33333, 2, 4.13378, 0.13738},
          {"  Факт.2   ", 49.83333, 3, 11.5, 0.00076427},
          {"  Остат.   ", 17.33333, 12, 0, 0}}},
    };
    for (double offset : {0.0, 1e7}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(static_cast<int>(c.design));
            SCOPED_TRACE(offset);
            std::vector<std::vector<double>> cells = Cells;
            for (auto& cell : cells)
                for (double& x : cell)
                    x = x / 10 + offset;  // tenths on top of 1e7
            const TwoFactorFigures f = ComputeTwoWayRepeated(cells, CellNames, 3, c.design, 0.05);
            ASSERT_TRUE(f.notice.empty()) << f.notice;
            AnovaTableSpec scaled = f.table;
            for (AnovaSource* s : {&scaled.factor1, &scaled.factor2, &scaled.interaction,
                                   &scaled.error, &scaled.total, &scaled.error1, &scaled.error2})
                s->ss *= 100;
            const AnovaTableResult t = ComputeAnovaTable(scaled, 0.05);
            ASSERT_TRUE(t.notice.empty());
            ExpectRows(t.figures, c.rows);
            EXPECT_EQ(f.parameters, c.design != TwoFactorDesign::Nested);
        }
    }
}

TEST(TwoFactorTest, PooledLinesFollowOnlyANonSignificantInteraction) {
    // Compared with R\'s exact laws, not the default approximations.
    const ProbabilityModeScope exact(true);
    const TwoFactorFigures f =
        ComputeTwoWayRepeated(Cells, CellNames, 3, TwoFactorDesign::Fixed, 0.05);
    // The interaction (p = 0.371) joins the residual: 20.44444 on 14 df.
    const AnovaTableResult pooled = ComputeAnovaTable(f.table, 0.05);
    ASSERT_EQ(pooled.figures.pooled.size(), 2u);
    EXPECT_NEAR(pooled.figures.pooled[0].f, 68.666667 / 1.46031746, 1e-5);
    EXPECT_NEAR(pooled.figures.pooled[1].f, 46.722222 / 1.46031746, 1e-5);
    EXPECT_EQ(pooled.figures.pooled[0].df2, 14);
    // At a level above 0.371 it is significant, and nothing is pooled.
    EXPECT_TRUE(ComputeAnovaTable(f.table, 0.4).figures.pooled.empty());
}

TEST(TwoFactorTest, ParametersNameEachFactorsOwnLevels) {
    // Compared with R\'s exact laws, not the default approximations.
    const ProbabilityModeScope exact(true);
    // R (the cells above): m <- tapply(y, list(A, B), mean); G <- mean(m);
    // rowMeans(m) - G, colMeans(m) - G; qt(0.975, 12) * sqrt(MSE * w) with
    // w = 1/18, 2/18 (factor 1) and 1/18 (factor 2).
    const TwoFactorFigures f =
        ComputeTwoWayRepeated(Cells, CellNames, 3, TwoFactorDesign::Fixed, 0.05);
    EXPECT_NEAR(f.grandMean, 15.16666667, 1e-7);
    EXPECT_NEAR(f.meanHalfWidth, 0.6172116186, 2e-5);
    ASSERT_EQ(f.effects1.size(), 3u);
    ASSERT_EQ(f.effects2.size(), 2u);
    const double e1[] = {-0.6666666667, 3.666666667, -3};
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(f.effects1[i], e1[i], 1e-7);
        EXPECT_NEAR(f.halfWidths1[i], 0.8728690419, 3e-5);
    }
    EXPECT_NEAR(f.effects2[0], -1.611111111, 1e-7);
    EXPECT_NEAR(f.halfWidths2[1], 0.6172116186, 2e-5);
}

TEST(TwoFactorTest, WithoutReplicationAgreesWithRAlsoOnALargeOffset) {
    // Compared with R\'s exact laws, not the default approximations.
    const ProbabilityModeScope exact(true);
    // R: X <- rbind(c(3,5,4,6), c(7,8,6,9), c(4,6,5,8)); yy <- as.vector(t(X))
    //    summary(aov(yy ~ factor(rep(1:3, each = 4)) + factor(rep(1:4, 3))))
    const std::vector<std::vector<double>> x = {{3, 5, 4, 6}, {7, 8, 6, 9}, {4, 6, 5, 8}};
    for (double offset : {0.0, 1e7}) {
        std::vector<std::vector<double>> rows = x;
        for (auto& row : rows)
            for (double& v : row)
                v = v / 10 + offset;
        const TwoFactorFigures f = ComputeTwoWayNonRepeated(rows, 0.05);
        ASSERT_TRUE(f.notice.empty());
        const AnovaTableResult t = ComputeAnovaTable(f.table, 0.05);
        // aov(I(yy/10 + 1e7) ~ ...): the sums of squares a hundredth.
        ExpectRows(t.figures, {{"  Факт.1   ", 0.18166667, 2, 29.72727, 0.00077025},
                               {"  Факт.2   ", 0.16916667, 3, 18.45455, 0.00196838},
                               {"  Остат.   ", 0.01833333, 6, 0, 0}});
        // qt(0.975, 6) * sqrt(MSE * w), w = 1/12, 2/12, 3/12 (in tenths)
        EXPECT_NEAR(f.meanHalfWidth * 10, 0.3904566228, 1e-4);
        EXPECT_NEAR(f.effects1[1] * 10, 1.583333333, 1e-6);
        EXPECT_NEAR(f.halfWidths1[0] * 10, 0.5521890514, 1e-4);
        EXPECT_NEAR(f.effects2[3] * 10, 1.75, 1e-6);
        EXPECT_NEAR(f.halfWidths2[0] * 10, 0.6762907088, 1e-4);
    }
}

TEST(TwoFactorTest, DegenerateDesignsEndInAPlainNotice) {
    // Compared with R\'s exact laws, not the default approximations.
    const ProbabilityModeScope exact(true);
    const auto fixed = TwoFactorDesign::Fixed;
    EXPECT_EQ(ComputeTwoWayRepeated(Cells, CellNames, 4, fixed, 0.05).notice, LevelCountNotice);
    EXPECT_EQ(ComputeTwoWayRepeated(Cells, CellNames, 6, fixed, 0.05).notice, LevelCountNotice);
    std::vector<std::vector<double>> empty = Cells;
    empty[4].clear();
    EXPECT_EQ(ComputeTwoWayRepeated(empty, CellNames, 3, fixed, 0.05).notice,
              "!НЕТ ЗНАЧЕНИЙ В ГРУППЕ c5!");
    const std::vector<std::vector<double>> constant(4, std::vector<double>{2, 2});
    EXPECT_EQ(ComputeTwoWayRepeated(constant, CellNames, 2, fixed, 0.05).notice,
              ConstantDataNotice);
    // Cells of one value each leave no residual degrees of freedom.
    const std::vector<std::vector<double>> single = {{1}, {2}, {4}, {3}};
    const TwoFactorFigures f = ComputeTwoWayRepeated(single, CellNames, 2, fixed, 0.05);
    EXPECT_EQ(ComputeAnovaTable(f.table, 0.05).notice, NoErrorDfNotice);
    // Additive data without replication fit exactly.
    EXPECT_EQ(ComputeTwoWayNonRepeated({{1, 2, 3}, {2, 3, 4}}, 0.05).notice, ZeroErrorNotice);
}

TEST(TwoFactorMethodTest, DesignsRunFromAScript) {
    TempFolder folder("anova2");
    std::ofstream(folder / "cells.txt")
        << "c1 c2 c3 c4 c5 c6\n12 15 11 16 20 13\n14 17 10 15 22 12\n13 18 12 17 21 15\n";
    auto run = [&](const std::string& answers) {
        return RunMethodsScript("open cells.txt\nmethod 12\n" + answers, folder.WithSlash());
    };
    const BatchOutcome fixed = run("form 2 \"Градаций фактора1=3\"\n");
    ASSERT_EQ(fixed.status, BatchDone) << fixed.messages;
    for (const char* text :
         {"          Факторный план: повторяемый, с фиксированными эффектами\n", "\n  Факт.1   ",
          "\n  Факт.2   ", "\n  Межфак   ", "\nF(фактор1)=47.54, ", "\nF(фактор2)=32.35, ",
          "\nF(межфакт)=1.077, ", PooledLine, "\nЭффект1-3 = -3,", "\nЭффект2-2 = 1.611,"})
        EXPECT_NE(fixed.results.find(text), std::string::npos) << text << fixed.results;
    EXPECT_TRUE(std::filesystem::exists(folder / AnovaListFile));

    // Six cells are not a whole number of levels of four.
    const BatchOutcome wrong = run("form 3 \"Градаций фактора1=4\"\n");
    EXPECT_NE(wrong.messages.find(LevelCountNotice), std::string::npos) << wrong.messages;
    EXPECT_EQ(wrong.results.find("Факторный план"), std::string::npos);

    // Without replication: rows c1..c6 the levels of factor 1, the three
    // observations those of factor 2.
    const BatchOutcome plain = run("form 1\n");
    ASSERT_EQ(plain.status, BatchDone) << plain.messages;
    EXPECT_NE(plain.results.find("          Факторный план: неповторяемый\n"), std::string::npos);
    EXPECT_NE(plain.results.find("\nЭффект1-6 = "), std::string::npos) << plain.results;
    EXPECT_NE(plain.results.find("\nЭффект2-3 = "), std::string::npos);
}

}  // namespace
}  // namespace dalvex
