// Multi-factor analysis of variance: each factor's sum of squares, F and
// significance against R's drop1 under sum-to-zero contrasts, on unbalanced
// data and on a large offset; level codes it cannot use; method 13 from a
// script with a missing cell.
#include <gtest/gtest.h>

#include <fstream>

#include "core/number.h"
#include "core/text.h"
#include "numeric/distributions.h"
#include "stats/anova.h"
#include "stats/anova_multi_factor.h"
#include "support/batch_run.h"
#include "support/temp_folder.h"

namespace dalvex {
namespace {

// Three factors, unbalanced (no two cells alike in size), and the response.
const std::vector<double> A = {1, 2, 3, 1, 2, 3, 1, 2, 3, 1, 2, 3, 1, 2, 3, 1, 2, 3, 1, 1, 2, 3, 3};
const std::vector<double> B = {1, 1, 1, 2, 2, 2, 1, 1, 2, 2, 1, 2, 1, 2, 1, 2, 2, 1, 1, 2, 1, 1, 2};
const std::vector<double> C = {1, 2, 3, 4, 1, 2, 3, 4, 1, 2, 3, 4, 1, 2, 3, 4, 1, 2, 3, 4, 4, 1, 2};
const std::vector<double> Y = {12, 9.3, 12.1, 8.2, 8.4, 9.3, 11.9, 10.4, 10.4, 10.8, 12.4, 12.9,
                               12, 9.7, 14.7, 9.1, 8.5, 11,  11.2, 9.6,  11.3, 12,   11.5};

// R: ct <- list(A = contr.sum, B = contr.sum, C = contr.sum)
//    drop1(lm(y ~ A + B + C, contrasts = ct), test = "F")  (A, B, C factors)
// RSS 22.1316875 on 23 - 7 = 16 df; B has one degree of freedom, so its
// significance shows that F goes to the Fisher routine as Student's t.
struct Expected {
    double ss, df, f, p;
};
const Expected DropOne[] = {{11.91957916667, 2, 4.308602013892, 0.0318456457990},
                            {8.70323253367, 1, 6.291961267695, 0.0232783553735},
                            {3.56412500000, 3, 0.858889168152, 0.4823933925903}};

TEST(MultiFactorTest, AgreesWithDropOneOnUnbalancedDataAndALargeOffset) {
    const ProbabilityModeScope exact(true);
    // With y / 100 + 1e7 every sum of squares is a ten-thousandth (R gives
    // 0.00119195787 for A) and F stays.
    for (double offset : {0.0, 1e7}) {
        SCOPED_TRACE(offset);
        const double unit = offset == 0 ? 1 : 0.01;
        // The decimals on top of 1e7 are stored to about 1e-9: relative to
        // sums of squares of hundredths that is a few parts in 1e8.
        const double tolerance = offset == 0 ? 1e-7 : 1e-6 * unit * unit;
        std::vector<double> y = Y;
        for (double& v : y)
            v = v * unit + offset;
        const MultiFactorFigures f = ComputeMultiFactor({A, B, C}, {"A", "B", "C"}, y);
        ASSERT_TRUE(f.notice.empty()) << f.notice;
        EXPECT_EQ(f.df, 16);
        EXPECT_NEAR(f.sse, 22.1316875 * unit * unit, tolerance);
        ASSERT_EQ(f.factors.size(), 3u);
        for (int j = 0; j < 3; ++j) {
            SCOPED_TRACE(j);
            const FactorEffect& e = f.factors[j];
            EXPECT_NEAR(e.ss, DropOne[j].ss * unit * unit, tolerance);
            EXPECT_EQ(e.df, DropOne[j].df);
            EXPECT_NEAR(e.ms, DropOne[j].ss / DropOne[j].df * unit * unit, tolerance);
            EXPECT_NEAR(e.f, DropOne[j].f, 1e-6);
            EXPECT_NEAR(e.p, DropOne[j].p, 1e-6);
        }
        // The strength of influence of A from its own sum of squares beside
        // the residual: (11.9196² - 22.1317²) / (11.9196² + 22.1317²).
        EXPECT_NEAR(f.factors[0].strength, -0.5503115213, 1e-6);
    }
}

TEST(MultiFactorTest, AnUnusedLevelCodeCostsNoDegreeOfFreedom) {
    // Codes 1, 2, 4 of C: three levels, as if they were 1, 2, 3.
    std::vector<double> c = C;
    for (double& v : c)
        if (v == 3)
            v = 1;
    std::vector<double> renumbered = c;
    for (double& v : c)
        if (v == 4)
            v = 9;
    for (double& v : renumbered)
        if (v == 4)
            v = 3;
    const MultiFactorFigures gap = ComputeMultiFactor({A, c}, {"A", "C"}, Y);
    const MultiFactorFigures dense = ComputeMultiFactor({A, renumbered}, {"A", "C"}, Y);
    ASSERT_TRUE(gap.notice.empty()) << gap.notice;
    EXPECT_EQ(gap.factors[1].df, 2);
    EXPECT_NEAR(gap.factors[1].ss, dense.factors[1].ss, 1e-9);
    EXPECT_EQ(gap.df, dense.df);
}

TEST(MultiFactorTest, UnusableFactorsAreNamed) {
    struct Case {
        const char* what;
        std::vector<double> codeB;
        std::vector<std::string> named;
        const char* notice;
    };
    auto with = [](std::size_t i, double v) {
        std::vector<double> b = B;
        b[i] = v;
        return b;
    };
    const Case cases[] = {
        {"a level code 1.5", with(3, 1.5), {"B"}, FactorValuesNotice},
        {"a code 0", with(0, 0), {"B"}, FactorValuesNotice},
        {"a code beyond 63", with(5, 64), {"B"}, FactorValuesNotice},
        {"one level only", std::vector<double>(B.size(), 2), {"B"}, FactorValuesNotice},
    };
    for (const Case& c : cases) {
        const MultiFactorFigures f = ComputeMultiFactor({A, c.codeB}, {"A", "B"}, Y);
        EXPECT_EQ(f.notice, c.notice) << c.what;
        EXPECT_EQ(f.unusable, c.named) << c.what;
        EXPECT_TRUE(f.factors.empty()) << c.what;
    }
    // Two factors that say the same thing cannot be told apart.
    std::vector<double> twin = A;
    const MultiFactorFigures same = ComputeMultiFactor({A, twin}, {"A", "A2"}, Y);
    EXPECT_EQ(same.notice, "!СИНГУЛЯРНАЯ МАТРИЦА - РЕШЕНИЕ НЕВОЗМОЖНО!");
    EXPECT_EQ(same.unusable, std::vector<std::string>{"A2"});
    // More indicators than observations leave no residual.
    const std::vector<double> few = {1, 2, 3, 4};
    EXPECT_EQ(ComputeMultiFactor({few}, {"F"}, {1, 2, 3, 5}).notice, FactorValuesNotice);
    // A constant response, and one the factors explain exactly.
    EXPECT_EQ(ComputeMultiFactor({A}, {"A"}, std::vector<double>(A.size(), 3)).notice,
              ConstantDataNotice);
    EXPECT_EQ(ComputeMultiFactor({A}, {"A"}, A).notice, ZeroErrorNotice);
}

std::string Field(double x) {
    const std::string text = FormatNumber(x, 4);
    return PadLeft(text, 9);
}

TEST(MultiFactorMethodTest, RunsFromAScriptDroppingAnObservationWithAnEmptyCell) {
    TempFolder folder("anovamulti");
    {
        std::ofstream data(folder / "f.txt", std::ios::binary);
        data << "A B C y\n";
        for (std::size_t i = 0; i < Y.size(); ++i) {
            // Its factor B is empty: the observation leaves the analysis whole.
            if (i == 10)
                data << "3 ? 1 40\n";
            data << A[i] << ' ' << B[i] << ' ' << C[i] << ' ' << Y[i] << '\n';
        }
    }
    const BatchOutcome run = RunMethodsScript("open f.txt\nmethod 13\n", folder.WithSlash());
    ASSERT_EQ(run.status, BatchDone) << run.messages;
    const std::string expected = "\n" + std::string(MultiFactorHeading) + "\nФактор 1" +
                                 Field(11.91957916667) + Field(2) + Field(11.91957916667 / 2) +
                                 Field(-0.5503115213) + "\nF(фактор 1)=4.309, Значимость=";
    EXPECT_NE(run.results.find(expected), std::string::npos) << run.results;
    EXPECT_NE(run.results.find("\nФактор 2" + Field(8.70323253367) + Field(1)), std::string::npos)
        << run.results;
    EXPECT_NE(run.results.find("\nF(фактор 3)=0.8589, "), std::string::npos) << run.results;
    EXPECT_NE(run.results.find("\n  Остат." + Field(22.1316875) + Field(16) +
                               Field(22.1316875 / 16) + "\n"),
              std::string::npos)
        << run.results;
    EXPECT_EQ(run.messages.find("Сообщение"), std::string::npos) << run.messages;

    // A level code 1.5 gives the notice naming its variable, and no table.
    std::ofstream(folder / "g.txt", std::ios::binary) << "A y\n1 2\n1.5 3\n2 4\n2 6\n1 2.5\n";
    const BatchOutcome bad = RunMethodsScript("open g.txt\nmethod 13\n", folder.WithSlash());
    EXPECT_NE(bad.messages.find(std::string(FactorValuesNotice) + "\n(A)"), std::string::npos)
        << bad.messages;
    EXPECT_EQ(bad.results.find("Фактор"), std::string::npos) << bad.results;
}

}  // namespace
}  // namespace dalvex
