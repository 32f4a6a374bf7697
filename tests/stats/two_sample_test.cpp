// The two-sample figures against values computed independently in R with the
// same definitions: var.test, t.test (pooled, Welch, paired),
// wilcox.test(exact = FALSE, correct = FALSE), ansari.test(exact = FALSE),
// ks.test and binom.test, and by hand where the program's statistic is not
// R's default (van der Waerden and squared scores with the program's normal
// quantile, Welch's rounded degrees of freedom, Smirnov's first term).
//
// The significances come out of the program's approximate distribution
// routines: the normal tail agrees with the exact one to about 1e-5, Student's
// and Fisher's tails to under 0.01 (0.0064 at p = 0.85), the critical t for few degrees of
// freedom to about 1.5 %. Statistics are exact arithmetic.
#include "stats/two_sample.h"

#include <gtest/gtest.h>

#include <cmath>

namespace dalvex {
namespace {

std::vector<double> Offset(double base, std::vector<double> values) {
    for (double& v : values)
        v += base;
    return values;
}

// ---------------------------------------------------------------------------
// Student and Fisher.

struct StudentCase {
    const char* name;
    std::vector<double> x, y;
    double f, fSignificance;  // var.test: statistic, two-sided p
    bool equalVariances;
    double t;
    int df;
    double tSignificance;          // 2 pt(-|t|, df)
    double difference, halfWidth;  // qt(0.975, df) * standard error
};

TEST(StudentFisherTest, FiguresMatchR) {
    const StudentCase cases[] = {
        {"pooled, unequal sizes",
         {5.1, 4.8, 6.0, 5.7, 5.3, 4.9, 6.2},
         {4.2, 4.6, 4.9, 5.0, 4.4, 4.7},
         3.29831932773109,
         0.211343532496884,
         true,
         3.16216943173409,
         11,
         0.00904391019455433,
         0.795238095238095,
         0.553514694308694},
        // Welch: R's 7.109 degrees of freedom, rounded.
        {"Welch",
         {10.2, 14.8, 8.1, 16.9, 12.3, 7.5, 15.4, 11.0},
         {10.9, 11.2, 11.0, 11.4, 10.8},
         204.913793103449,
         0.000121235244694429,
         false,
         0.788649038662386,
         7,
         0.456191275094568,
         0.965,
         2.89338132796974},
        // Values near 1e7 that differ by 0.1: one-pass sums would cancel.
        {"offset", Offset(1e7, {0.1, 0.3, 0.2, 0.5, 0.4, 0.6}),
         Offset(1e7, {0.0, 0.2, 0.1, 0.1, 0.3, 0.2}), 3.1818181765843, 0.22972522134106, true,
         2.28416095270664, 10, 0.0454629281338712, 0.199999999254942, 0.195094731922945},
        // F < 1: printed as v0 / v1, tested as v1 / v0 with swapped degrees of freedom.
        {"F below 1",
         {12.1, 11.8, 12.4, 12.0, 11.9, 12.3, 12.2, 12.0},
         {11.2, 12.9, 10.8, 13.5, 12.6, 11.1, 13.0, 12.2},
         0.0404482577482052,
         0.000399691753192242,
         false,
         -0.20593679364171,
         8,
         0.841984401934425,
         -0.0749999999999993,
         0.839822292471012},
    };
    for (const StudentCase& c : cases) {
        SCOPED_TRACE(c.name);
        const StudentFisherFigures f = StudentFisher(c.x, c.y, 0.05);
        EXPECT_NEAR(f.f, c.f, 1e-9 * c.f);
        EXPECT_NEAR(f.fSignificance, c.fSignificance, 4e-3);
        EXPECT_EQ(f.equalVariances, c.equalVariances);
        EXPECT_NEAR(f.t, c.t, 1e-8 * std::fabs(c.t));
        EXPECT_EQ(f.df, c.df);
        EXPECT_NEAR(f.tSignificance, c.tSignificance, 1e-2);
        EXPECT_NEAR(f.difference, c.difference, 1e-9);
        EXPECT_NEAR(f.halfWidth, c.halfWidth, 0.015 * c.halfWidth);
    }
    // The degrees of freedom of the ratio: the larger variance's first.
    const StudentFisherFigures below = StudentFisher(cases[3].x, cases[3].y, 0.05);
    EXPECT_EQ(below.fDf1, 7);
    EXPECT_EQ(below.fDf2, 7);
    const StudentFisherFigures welch = StudentFisher(cases[1].x, cases[1].y, 0.05);
    EXPECT_EQ(welch.fDf1, 7);
    EXPECT_EQ(welch.fDf2, 4);
}

// The ratio's test is two-sided: the same p whichever sample comes first,
// twice the upper tail of the larger variance over the smaller. Two values
// against six put one degree of freedom on top when the pair of two comes
// first, and one below it when it comes second.
TEST(StudentFisherTest, VarianceRatioIsTwoSidedEitherWayRound) {
    const std::vector<double> two = {3.0, 5.2};
    const std::vector<double> six = {2.0, 2.5, 3.1, 2.2, 2.8, 2.6};
    const StudentFisherFigures above = StudentFisher(two, six, 0.05);
    const StudentFisherFigures below = StudentFisher(six, two, 0.05);
    // var.test(two, six): F = 15.2521, p = 0.022695.
    EXPECT_NEAR(above.f, 15.2521008403361, 1e-9);
    EXPECT_NEAR(below.f, 1 / 15.2521008403361, 1e-12);
    EXPECT_NEAR(above.fSignificance, 0.0226949488664521, 4e-3);
    EXPECT_DOUBLE_EQ(below.fSignificance, above.fSignificance);
    EXPECT_EQ(above.fDf1, 1);
    EXPECT_EQ(below.fDf1, 1);
    EXPECT_EQ(below.fDf2, 5);
}

TEST(StudentFisherTest, PairedDifferencesMatchR) {
    struct Case {
        std::vector<double> x, y;
        double t, p;
        int df;
    } cases[] = {
        {Offset(1e7, {0.1, 0.3, 0.2, 0.5, 0.4, 0.6}), Offset(1e7, {0.0, 0.2, 0.1, 0.1, 0.3, 0.2}),
         3.16227766016838, 0.025031015818453, 5},
        {{12.1, 11.8, 12.4, 12.0, 11.9, 12.3, 12.2, 12.0},
         {11.2, 12.9, 10.8, 13.5, 12.6, 11.1, 13.0, 12.2},
         0.18310781685063,
         0.859904101060043,
         7},
    };
    for (const Case& c : cases) {
        std::vector<double> d(c.x.size());
        for (std::size_t i = 0; i < d.size(); ++i)
            d[i] = c.x[i] - c.y[i];
        const PairedStudentFigures f = PairedStudent(d);
        EXPECT_NEAR(f.t, c.t, 1e-7 * c.t);
        EXPECT_EQ(f.df, c.df);
        EXPECT_NEAR(f.significance, c.p, 1e-2);
    }
}

// ---------------------------------------------------------------------------
// The pooled rank tests.

struct RankCase {
    const char* name;
    std::vector<double> x, y;
    double rankSum, rankZ, rankP;  // wilcox.test: W + N0 (N0 + 1) / 2, z, p / 2
    double scoreSum, scoreZ;       // by hand with the program's normal quantile
    double ansari, ansariZ;        // ansari.test where there are no ties, else by hand
    double squared, squaredZ;      // by hand
    double smirnov, smirnovP;      // ks.test's D, 2 exp(-2 D^2 N0 N1 / N)
};

TEST(RankTestsTest, FiguresMatchR) {
    const RankCase cases[] = {
        {"ties, 12 against 15",
         {3.1, 2.4, 5.0, 4.2, 3.1, 6.3, 2.9, 4.4, 5.0, 3.8, 4.9, 5.6},
         {2.2, 3.1, 1.8, 2.9, 2.6, 3.4, 2.0, 4.1, 2.9, 1.5, 3.0, 2.7, 3.6, 2.4, 2.8},
         233.5,
         -3.20096194589329,
         0.000684848100542191,
         7.47297673798949,
         3.17631477670827,
         79.5,
         -0.741244759786541,
         11.0098977034952,
         0.577457442569892,
         0.6,
         0.01645949409804},
        {"no ties, odd N",
         {8.3, 11.9, 6.4, 14.1, 9.7, 5.2, 12.8, 7.1, 13.6, 10.4, 4.7, 15.3, 8.9},
         {9.8, 10.6, 9.1, 11.2, 10.1, 8.7, 10.9, 9.4, 11.5, 10.3, 9.6},
         158,
         0.260714456776044,
         0.397156358316861,
         -0.480506459682928,
         -0.217797121173639,
         58,
         -3.07867877436824,
         16.6644362919892,
         2.88436622159747,
         0.384615384615385,
         0.343120585539221},
        {"near 1e7, ties across the samples",
         Offset(1e7, {0.1, 0.5, 0.3, 0.9, 0.7, 1.3, 1.1, 0.2, 1.5, 0.8, 1.2}),
         Offset(1e7, {0.0, 0.4, 0.6, 0.2, 0.3, 0.5, 0.1, 0.7, 0.45, 0.35, 0.25, 0.15}), 169.5,
         -2.31082149637589, 0.0104213583204191, 4.99194229802093, 2.3126328667365, 55.5,
         -1.64103308199843, 10.8242914487492, 1.04566325510271, 0.553030303030303,
         0.0597615378994224},
    };
    for (const RankCase& c : cases) {
        SCOPED_TRACE(c.name);
        const PooledRankSums s = PoolAndRank(c.x, c.y);
        const auto rank = RankSumApproximation(s);
        ASSERT_TRUE(rank);
        EXPECT_DOUBLE_EQ(rank->statistic, c.rankSum);
        // The program's z is N0 (N+1)/2 - R_X over its deviation: R's sign.
        EXPECT_NEAR(rank->z, c.rankZ, 1e-9);
        EXPECT_NEAR(rank->significance, c.rankP, 2e-5);
        const auto vdw = VanDerWaerden(s);
        EXPECT_NEAR(vdw->statistic, c.scoreSum, 1e-9);
        EXPECT_NEAR(vdw->z, c.scoreZ, 1e-9);
        const auto ansari = AnsariBradley(s);
        EXPECT_DOUBLE_EQ(ansari->statistic, c.ansari);
        EXPECT_NEAR(ansari->z, c.ansariZ, 1e-9);
        const auto squared = SquaredNormalScores(s);
        EXPECT_NEAR(squared->statistic, c.squared, 1e-9);
        EXPECT_NEAR(squared->z, c.squaredZ, 1e-9);
        const SmirnovFigures d = Smirnov(s);
        EXPECT_NEAR(d.d, c.smirnov, 1e-12);
        EXPECT_NEAR(d.significance, c.smirnovP, 1e-12);
    }
}

TEST(RankTestsTest, SmirnovComparesTheLawsOnlyBetweenDistinctValues) {
    // Three equal values in x and three in y: counting through the run one
    // entry at a time would see a gap of 1 (all x, then all y); the laws
    // themselves never differ. ks.test(c(1,1,1), c(1,1,1,2))$statistic = 0.25.
    const SmirnovFigures d = Smirnov(PoolAndRank({1, 1, 1}, {1, 1, 1, 2}));
    EXPECT_DOUBLE_EQ(d.d, 0.25);
    // 2 exp(-2 * 0.0625 * 12 / 7) = 1.61: the closed form's value held to 1.
    EXPECT_EQ(d.significance, 1.0);
}

TEST(RankTestsTest, EveryValueTheSameIsFlagged) {
    EXPECT_TRUE(PoolAndRank({2, 2}, {2, 2, 2}).allTied);
    EXPECT_FALSE(PoolAndRank({2, 2}, {2, 3}).allTied);
}

TEST(RankSumTableTest, BoundsAreMadeForTheSmallerSampleAndComparedWithItsRankSum) {
    // N0 = 3, N1 = 5: T = 20, bounds 7 and 20; all x smallest gives 6.
    const auto low = RankSumTable(PoolAndRank({1, 2, 3}, {4, 5, 6, 7, 8}));
    ASSERT_TRUE(low);
    EXPECT_EQ(low->lower, 7);
    EXPECT_EQ(low->upper, 20);
    EXPECT_EQ(low->df1, 5);
    EXPECT_EQ(low->df2, 3);
    EXPECT_EQ(low->statistic, 6);
    EXPECT_TRUE(low->significant);
    // The same samples the other way round: the smaller one is now y, its
    // rank sum 6 again (x's 30 would say nothing against bounds for 3).
    const auto swapped = RankSumTable(PoolAndRank({4, 5, 6, 7, 8}, {1, 2, 3}));
    ASSERT_TRUE(swapped);
    EXPECT_EQ(swapped->statistic, 6);
    EXPECT_TRUE(swapped->significant);
    // Interleaved: rank sum 12 of {1, 4, 7} among 1..8 lies inside 7-20.
    const auto mixed = RankSumTable(PoolAndRank({1, 4, 7}, {2, 3, 5, 6, 8}));
    EXPECT_EQ(mixed->statistic, 12);
    EXPECT_FALSE(mixed->significant);
    // No entry: 2 against 3, and anything beyond 10 against 20 or 11 against 5.
    EXPECT_FALSE(RankSumTable(PoolAndRank({1, 2}, {3, 4, 5})));
    EXPECT_FALSE(RankSumTable(PoolAndRank(std::vector<double>(11, 1.0), {1, 2, 3, 4, 5})));
}

// ---------------------------------------------------------------------------
// Paired rank tests.

TEST(PairedRankTestsTest, SignedRanksAndSignsMatchR) {
    // 22 pairs, 3 zero differences and ties among the others:
    // wilcox.test(paired = TRUE, exact = FALSE, correct = FALSE) V = 184,
    // p / 2 = 0.000152998831111643; the sign test by hand with the continuity
    // correction for n' = 19: z = 2.75298880644674.
    const std::vector<double> x = {12, 15, 11, 18, 14, 16, 13, 17, 19, 12, 15,
                                   14, 16, 20, 13, 18, 11, 17, 15, 14, 16, 19};
    const std::vector<double> y = {10, 15, 12, 14, 14, 13, 11, 15, 16, 12, 13,
                                   11, 12, 17, 14, 15, 9,  13, 12, 15, 14, 14};
    std::vector<double> d(x.size());
    for (std::size_t i = 0; i < d.size(); ++i)
        d[i] = x[i] - y[i];
    const PairedRankFigures f = PairedRanks(d);
    EXPECT_EQ(f.pairs, 22);
    EXPECT_EQ(f.nonZero, 19);
    EXPECT_EQ(f.positive, 16);
    EXPECT_DOUBLE_EQ(f.positiveRanks, 184);
    EXPECT_FALSE(SignedRankTable(f));
    const NormalApproximation w = SignedRankApproximation(f);
    EXPECT_NEAR(w.z, 3.61016891870102, 1e-9);
    EXPECT_NEAR(w.significance, 0.000152998831111643, 2e-5);
    EXPECT_FALSE(SignTestExact(f, 0.05));
    const NormalApproximation s = SignTestApproximation(f);
    EXPECT_EQ(s.statistic, 16);
    EXPECT_NEAR(s.z, 2.75298880644674, 1e-9);
}

TEST(PairedRankTestsTest, ManyZeroDifferencesLeaveTheVarianceSound) {
    // 15 zeros and 5 differences: counting the zeros as a tie group would
    // make the variance negative. Without them it is 5*6*11/24.
    std::vector<double> d(15, 0.0);
    for (double v : {1.0, 2.0, -3.0, 4.0, 5.0})
        d.push_back(v);
    const PairedRankFigures f = PairedRanks(d);
    EXPECT_EQ(f.nonZero, 5);
    EXPECT_EQ(f.tieTerm, 0);
    EXPECT_DOUBLE_EQ(f.positiveRanks, 12);
    const auto table = SignedRankTable(f);
    ASSERT_TRUE(table);
    EXPECT_EQ(table->lower, 1);
    EXPECT_EQ(table->upper, 14);
    EXPECT_FALSE(table->significant);
}

TEST(PairedRankTestsTest, SignTestBoundsAreExactBinomialOnes) {
    // k per n' from binom.test(S, n')$p.value < 0.05: significant exactly
    // for S < k or S > n' - k.
    const int expected[] = {0, 0, 0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3};
    for (int n = 1; n <= 14; ++n) {
        for (int positive = 0; positive <= n; ++positive) {
            PairedRankFigures f;
            f.nonZero = n;
            f.positive = positive;
            const auto v = SignTestExact(f, 0.05);
            ASSERT_TRUE(v) << n;
            EXPECT_EQ(v->lower, expected[n - 1]) << n;
            EXPECT_EQ(v->upper, n - expected[n - 1]) << n;
            EXPECT_EQ(v->df1, n);
        }
    }
    PairedRankFigures f;
    f.nonZero = 10;
    for (auto [positive, significant] : {std::pair{1, true}, {2, false}, {8, false}, {9, true}}) {
        f.positive = positive;
        EXPECT_EQ(SignTestExact(f, 0.05)->significant, significant) << positive;
    }
    f.nonZero = 15;
    EXPECT_FALSE(SignTestExact(f, 0.05));
}

TEST(MomentsTest, LargeOffsetKeepsTheVariance) {
    const SampleMoments m = MomentsOf(Offset(1e7, {-0.1, 0.1, -0.1, 0.1, 0.0}));
    EXPECT_NEAR(m.variance, 0.01, 1e-9);
}

}  // namespace
}  // namespace dalvex
