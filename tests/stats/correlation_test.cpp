// The figures of correlation and cross-tabulation against values computed in
// R (cor, cor.test, chisq.test with and without correction, Kendall's S and
// tau-a, Spearman's rho of mid-ranks without tie correction, tau-b, gamma,
// Somers' d and lambda from their definitions; the script is
// tests/stats/data/correlation_reference.R). Significances of t come from
// the program's approximate Fisher tail, written out in R in that script;
// R's exact pt() is given beside them.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "stats/correlation.h"

namespace dalvex {
namespace {

// corr.txt's columns a, b, c (c without its 7th value, so pairs with c
// have 25 complete values).
const std::vector<double> A = {3, 2, 4, 1, 2, 5, 2, 3, 6, 1, 5, 3, 1,
                               2, 4, 4, 2, 3, 2, 5, 4, 1, 6, 2, 3, 6};
const std::vector<double> B = {5.4, 2.1, 2.6, 3.3, 4.9, 7.2, 2.4, 4.5, 8.6, 2.0, 6.8, 3.2, -0.2,
                               1.8, 4.1, 6.3, 3.0, 4.1, 3.1, 8.2, 4.3, 1.8, 6.7, 1.9, 3.2, 9.8};
const std::vector<double> C = {7.2, 7.3,  5.2, 8.4, 10.1, 4.3, /* missing */ 11.7,
                               6.4, 10.3, 6.0, 6.7, 8.8,  8.4, 5.5,
                               4.6, 5.7,  6.2, 7.5, 8.1,  5.2, 8.1,
                               2.4, 9.2,  9.2, 4.6};

std::vector<double> Without7th(const std::vector<double>& v) {
    std::vector<double> out = v;
    out.erase(out.begin() + 6);
    return out;
}

std::vector<double> Times(const std::vector<double>& v, double factor) {
    std::vector<double> out;
    for (double x : v)
        out.push_back(x * factor);
    return out;
}

std::vector<double> Plus(const std::vector<double>& v, double offset) {
    std::vector<double> out;
    for (double x : v)
        out.push_back(x + offset);
    return out;
}

TEST(Pearson, AgreesWithRsCorTestOnTiesAMissingCellAndALargeOffset) {
    struct Case {
        const char* what;
        std::vector<double> x, y;
        int n;
        double r, t, p;  // p: the program's tail (R's pt in the comment)
    };
    const Case cases[] = {
        {"a, c listwise", Without7th(A), C, 25, -0.6694987014, -4.3224903164,
         0.0004529687562},                                         // 0.0002520361
        {"a, b", A, B, 26, 0.8725354, 8.749412, 1.654922522e-06},  // 6.241160e-09
        {"b, c listwise", Without7th(B), C, 25, -0.47223980, -2.56932422,
         0.01632657331},  // 0.01714533
        // The same as a, b with 1e7 added to b: one-pass sums would lose it.
        {"a, b + 1e7", A, Plus(B, 1e7), 26, 0.8725354, 8.749412, 1.654922522e-06},
        // Found by the fault sweep: near 1e300 the squares overflowed to a
        // printed NAN, near 1e-300 they vanished. r does not see the scale.
        {"a * 1e300, b * 1e-300", Times(A, 1e300), Times(B, 1e-300), 26, 0.8725354, 8.749412,
         1.654922522e-06},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto f = Pearson(c.x, c.y);
        ASSERT_TRUE(f);
        EXPECT_EQ(f->count, c.n);
        EXPECT_NEAR(f->r, c.r, 1e-7);
        EXPECT_NEAR(f->t, c.t, 1e-5);
        EXPECT_NEAR(f->significance, c.p, 1e-6 * c.p);
    }
}

TEST(Pearson, PerfectNearCollinearAndDegeneratePairs) {
    // x = 1..5, y = 5..1: r = -1 exactly, T:=100, significance near 0.
    const auto perfect = Pearson({1, 2, 3, 4, 5}, {5, 4, 3, 2, 1});
    ASSERT_TRUE(perfect);
    EXPECT_EQ(perfect->r, -1.0);
    EXPECT_EQ(perfect->t, 100.0);
    EXPECT_NEAR(perfect->significance, 3.364106e-05, 1e-10);  // t = 100, 3 df

    // b and b + 1e7 rounded: r is 1 to the last bit, never above it.
    const auto same = Pearson(B, Plus(B, 1e7));
    ASSERT_TRUE(same);
    EXPECT_LE(same->r, 1.0);
    EXPECT_NEAR(same->r, 1.0, 1e-12);
    EXPECT_TRUE(std::isfinite(same->t));

    // Nearly collinear: y = x + 1e-9 * noise around a 1e6 offset.
    std::vector<double> x, y;
    for (int i = 0; i < 50; ++i) {
        x.push_back(1e6 + i);
        y.push_back(1e6 + i + ((i % 3) - 1) * 1e-6);
    }
    const auto near = Pearson(x, y);
    ASSERT_TRUE(near);
    EXPECT_GT(near->r, 0.999999999);
    EXPECT_LE(near->r, 1.0);

    // Data 1e7 apart from zero that differ by thousandths keep every digit
    // of their deviations (dividing by the largest value rounded them ~1e-7).
    // R: i <- 1:20; cor(1e7 + 1e-3 * i, 1e7 + 1e-3 * (i + ((i * 7) %% 5 - 2)))
    std::vector<double> fx, fy;
    for (int i = 1; i <= 20; ++i) {
        fx.push_back(1e7 + 1e-3 * i);
        fy.push_back(1e7 + 1e-3 * (i + ((i * 7) % 5 - 2)));
    }
    const auto far = Pearson(fx, fy);
    ASSERT_TRUE(far);
    EXPECT_NEAR(far->r, 0.96992480981877893, 1e-12);

    // Values near the largest double: sums would overflow; r is that of the
    // same data divided by 1e300 (R: cor(c(1, 2, 1.7e8, 3), c(1, 2, 5, 3))).
    const auto huge = Pearson({1e300, 2e300, 1.7e308, 3e300}, {1, 2, 5, 3});
    ASSERT_TRUE(huge);
    EXPECT_NEAR(huge->r, 0.87831007, 1e-7);

    EXPECT_FALSE(Pearson({1, 2, 3}, {4, 4, 4}));  // constant
    EXPECT_FALSE(Pearson({1, 2}, {3, 5}));        // fewer than 3 pairs
    EXPECT_FALSE(Pearson({}, {}));
}

TEST(RankCorrelation, TauAAndSpearmanOnMidRanksAgreeWithR) {
    struct Case {
        const char* what;
        std::vector<double> x, y;
        long long s;
        double tau, z, rho, zr;
    };
    const Case cases[] = {
        {"a, b (ties in both)", A, B, 210, 0.6461538, 4.628726, 0.8364103, 5.039314},
        {"a, c", Without7th(A), C, -151, -0.5033333, -3.526600, -0.6694231, -3.548755},
        {"b, c", Without7th(B), C, -102, -0.34, -2.382207, -0.4821154, -2.416097},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(KendallS(c.x, c.y), c.s);
        const RankCorrelationFigures f = RankCorrelation(c.x, c.y);
        EXPECT_NEAR(f.tau, c.tau, 1e-7);
        EXPECT_NEAR(f.tauZ, c.z, 1e-5);
        EXPECT_NEAR(f.rho, c.rho, 1e-7);
        EXPECT_NEAR(f.rhoZ, c.zr, 1e-5);
        // One-sided tails of |z|.
        EXPECT_NEAR(f.tauSignificance, 0.5 * std::erfc(std::fabs(c.z) / std::sqrt(2.0)), 1e-4);
    }
}

TEST(RankCorrelation, KendallSInNLogNMatchesTheDirectSumOnHeavyTies) {
    std::mt19937 gen(5);
    std::uniform_int_distribution<int> small(0, 4);
    std::vector<double> x, y;
    for (int i = 0; i < 400; ++i) {
        x.push_back(small(gen));
        y.push_back(small(gen) + (i % 2 ? 0.5 : 0));
    }
    long long direct = 0;
    for (std::size_t i = 0; i < x.size(); ++i)
        for (std::size_t j = i + 1; j < x.size(); ++j) {
            const double p = (x[i] - x[j]) * (y[i] - y[j]);
            direct += p > 0 ? 1 : p < 0 ? -1 : 0;
        }
    EXPECT_EQ(KendallS(x, y), direct);
    EXPECT_EQ(MidRanks({3, 1, 3, 2, 3}), (std::vector<double>{4, 1, 4, 2, 4}));
}

TEST(RankCorrelation, SpearmanIterationStopsWhenItDiverges) {
    // rho = 1 with 10 values: the iteration runs away and stops past 10.
    const double z = SpearmanDeviate(1.0, 10);
    EXPECT_TRUE(std::isfinite(z));
    EXPECT_GT(std::fabs(z), 10);
    EXPECT_NEAR(SpearmanDeviate(0.0, 30), 0.0, 1e-2);
}

TEST(CorrelationMatrix, CriticalCoefficientsAndPartialCorrelations) {
    // 25 values, 10 pairs: the Bonferroni and the plain critical r through
    // the program's quantile search (R's qt gives 0.5433514, 0.3960697 and
    // 0.4043863).
    EXPECT_NEAR(CriticalCoefficient(25, 0.05 / 10), 0.5448672599, 1e-8);
    EXPECT_NEAR(CriticalCoefficient(25, 0.05), 0.3920140241, 1e-8);
    EXPECT_NEAR(CriticalCoefficient(25, 0.05, 3), 0.400295564, 1e-8);
    // a, b, c: r_ab = 0.8725354, r_ac = -0.6694987, r_bc = -0.4722398.
    const double ab = 0.8725354, ac = -0.6694987, bc = -0.4722398;
    EXPECT_NEAR(*PartialCorrelation(ab, ac, bc), 0.8497235, 1e-6);
    EXPECT_NEAR(*PartialCorrelation(ac, ab, bc), -0.5978333, 1e-6);
    EXPECT_NEAR(*PartialCorrelation(bc, ab, ac), 0.3084069, 1e-6);
    EXPECT_FALSE(PartialCorrelation(0.5, 1.0, 0.3));
}

TEST(ChiSquareTwo, HomogeneityAndGoodnessOfFitWithMerging) {
    // chisq.test(rbind(x, y), correct = FALSE).
    const auto h = Homogeneity({12, 18, 25, 9, 6}, {20, 15, 18, 14, 3});
    ASSERT_TRUE(h);
    EXPECT_NEAR(h->chi2, 5.499219, 1e-5);
    EXPECT_EQ(h->df, 4);
    // A class empty in both distributions carries nothing.
    const auto empty = Homogeneity({12, 18, 0, 25, 9, 6}, {20, 15, 0, 18, 14, 3});
    ASSERT_TRUE(empty);
    EXPECT_NEAR(empty->chi2, 5.499219, 1e-5);
    EXPECT_EQ(empty->df, 4);

    struct Case {
        const char* what;
        std::vector<double> observed, expected;
        double chi2;
        int df;
    };
    const Case fits[] = {
        // The first class merges into the second: two classes, one degree of freedom.
        {"expected 1, 5, 5", {2, 4, 6}, {1, 5, 5}, 0.2, 1},
        // A small last class joins its neighbour; its count is kept.
        {"small last class", {5, 7, 3, 3}, {6, 5, 4, 1.5}, 1.012121, 2},
        {"no merging", {8, 12, 10}, {10, 10, 10}, 0.8, 2},
    };
    for (const Case& c : fits) {
        SCOPED_TRACE(c.what);
        const auto f = GoodnessOfFit(c.observed, c.expected);
        ASSERT_TRUE(f);
        EXPECT_NEAR(f->chi2, c.chi2, 1e-5);
        EXPECT_EQ(f->df, c.df);
    }
    EXPECT_FALSE(GoodnessOfFit({1, 1}, {1, 1}));      // everything merges into one class
    EXPECT_FALSE(Homogeneity({0, 0, 0}, {1, 2, 3}));  // an empty distribution
    EXPECT_FALSE(Homogeneity({3, 0}, {5, 0}));        // one class left
}

// cells[c][r] from rows given as in R's matrix(..., byrow = TRUE).
ContingencyTable FromRows(const std::vector<std::vector<double>>& rows) {
    ContingencyTable t;
    t.cells.assign(rows[0].size(), std::vector<double>(rows.size()));
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size(); ++c)
            t.cells[c][r] = rows[r][c];
    return t;
}

TEST(CrossTabulation, MeasuresAgreeWithTheirDefinitionsAndChisqTest) {
    struct Expected {
        const char* what;
        std::vector<std::vector<double>> rows;
        double chi2, p, phi, c, v, lsym, lrow, lcol, taub, tauc, gamma, dRow, dCol;
        int df;
    };
    const Expected cases[] = {
        {"4 x 3",
         {{12, 5, 3}, {8, 10, 6}, {4, 9, 11}, {2, 3, 14}},
         23.09235,
         7.661299e-04,
         0.5151984,
         0.4579895,
         0.3643002,
         0.2155172,
         0.2452830,
         0.1904762,
         0.4178765,
         0.4407451,
         0.5702564,
         0.3932107,
         0.4440895,
         6},
        // 2 x 2 with Yates's correction (uncorrected 7.743956).
        {"2 x 2",
         {{10, 4}, {3, 12}},
         5.8041495,
         0.0159884,
         0.4473735,
         0.4083700,
         0.4473735,
         0.4814815,
         0.4615385,
         0.5,
         0.5167523,
         0.5136742,
         0.8181818,
         0.5142857,
         0.5192308,
         1},
        // Deviations below one half: the correction takes them to 0, not past it.
        {"2 x 2 near independence",
         {{5, 5}, {5, 6}},
         0,
         1,
         0,
         0,
         0,
         0,
         0,
         0,
         0.04545455,
         0.04535147,
         0.09090909,
         0.04545455,
         0.04545455,
         1},
        // The asymmetric lambdas use the other classification's largest total.
        {"lambda (6,0),(3,3)",
         {{6, 0}, {3, 3}},
         1.7777778,
         0.1824224,
         0.3849002,
         0.3592106,
         0.3849002,
         0.3333333,
         0.0,
         0.5,
         0.5773503,
         0.5,
         1.0,
         0.5,
         0.6666667,
         1},
    };
    for (const Expected& e : cases) {
        SCOPED_TRACE(e.what);
        const CrossTabFigures f = CrossTabulate(FromRows(e.rows));
        EXPECT_NEAR(f.chi2, e.chi2, 1e-5);
        EXPECT_EQ(f.df, e.df);
        // The program's chi-square series stops at a relative term of 1e-5.
        EXPECT_NEAR(f.significance, e.p, 1e-2 * e.p + 1e-9);
        const std::pair<double, double> measures[] = {
            {f.phi, e.phi},        {f.contingency, e.c},  {f.cramer, e.v},
            {f.lambdaSym, e.lsym}, {f.lambdaRow, e.lrow}, {f.lambdaCol, e.lcol},
            {f.tauB, e.taub},      {f.tauC, e.tauc},      {f.gamma, e.gamma},
            {f.somersRow, e.dRow}, {f.somersCol, e.dCol},
        };
        for (const auto& [got, want] : measures)
            EXPECT_NEAR(got, want, 1e-6);
    }
    const CrossTabFigures f =
        CrossTabulate(FromRows({{12, 5, 3}, {8, 10, 6}, {4, 9, 11}, {2, 3, 14}}));
    EXPECT_NEAR(f.expected[0][0], 5.977011, 1e-6);
    EXPECT_NEAR(f.expected[2][3], 7.425287, 1e-6);
    EXPECT_EQ(f.concordant, 1531);
    EXPECT_EQ(f.discordant, 419);
}

TEST(CrossTabulation, CategoriesAreNumberedInOrderOfFirstAppearance) {
    const Tabulation t = TabulateTexts({"м", "ж", "м", "м", "ж"}, {"да", "нет", "нет", "да", "да"});
    EXPECT_EQ(t.columnCategories, (std::vector<std::string>{"м", "ж"}));
    EXPECT_EQ(t.rowCategories, (std::vector<std::string>{"да", "нет"}));
    EXPECT_EQ(t.table.cells, (std::vector<std::vector<double>>{{2, 1}, {1, 1}}));
}

}  // namespace
}  // namespace dalvex
