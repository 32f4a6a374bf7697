// Covariance analysis: the adjusted group effect, the common slopes and the
// homogeneity lines against R, groups by code wherever the codes stand, and
// method 14 from a script.
#include <gtest/gtest.h>

#include <fstream>

#include "numeric/distributions.h"
#include "stats/covariance_analysis.h"
#include "support/batch_run.h"
#include "support/temp_folder.h"

namespace dalvex {
namespace {

// R: x, z, y as below; code <- c(1,1,1,2,2,2,2,3,3,3,1,2,3,3); g <- factor(code)
const std::vector<double> X = {3.1, 4.2, 5.0, 2.8, 6.1, 4.4, 3.9,
                               5.5, 4.8, 6.0, 2.5, 3.3, 5.1, 4.0};
const std::vector<double> Z = {1.2, 0.8, 1.5, 1.1, 0.9, 1.7, 1.3,
                               1.0, 1.6, 1.2, 0.7, 1.4, 1.1, 0.9};
const std::vector<double> Y = {10.2, 12.5, 14.1, 9.8, 16.0, 13.0, 11.9,
                               15.2, 14.8, 17.1, 9.0, 10.9, 14.9, 12.8};
// The codes are not contiguous: the eleventh observation belongs to group 1 again.
const std::vector<double> Codes = {1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 1, 2, 3, 3};

std::vector<double> Plus(std::vector<double> v, double by) {
    for (double& x : v)
        x += by;
    return v;
}

// Under the exact laws, as R computes them.
TEST(CovarianceTest, AdjustedGroupEffectSlopesAndHomogeneityAgreeWithR) {
    const ProbabilityModeScope exact(true);
    // The F of the groups must not change when x and y sit on 1e7.
    for (double offset : {0.0, 1e7}) {
        SCOPED_TRACE(offset);
        const CovarianceFigures f = ComputeCovariance({Plus(X, offset)}, Plus(Y, offset), Codes);
        ASSERT_TRUE(f.notice.empty()) << f.notice;
        EXPECT_EQ(f.groups, 3);
        EXPECT_EQ(f.sizes, (std::vector<int>{4, 5, 5}));
        // anova(lm(y ~ x + g)): g 1.464482 on 2, residuals 0.730446 on 10.
        const AnovaTableResult t = ComputeAnovaTable(f.table, 0.05);
        ASSERT_TRUE(t.notice.empty());
        EXPECT_NEAR(t.figures.rows[0].ss, 1.464482, 1e-6);
        EXPECT_EQ(t.figures.rows[0].df, 2);
        EXPECT_NEAR(t.figures.rows[0].f, 10.02457, 1e-4);
        EXPECT_NEAR(t.figures.rows[0].p, 0.0040817, 1e-6);
        EXPECT_NEAR(t.figures.rows[1].ss, 0.730446, 1e-6);
        EXPECT_EQ(t.figures.rows[1].df, 10);
        // summary(lm(y ~ x + g)): the slope of x and its standard error.
        EXPECT_NEAR(f.slopes.values[0], 1.9382418993, 1e-8);
        EXPECT_NEAR(f.slopes.errors[0], 0.0765412832, 1e-8);
        // anova(lm(x ~ g)) and anova(lm(y ~ g)).
        EXPECT_NEAR(f.homogeneityF[0], 2.05749, 1e-5);
        EXPECT_NEAR(f.homogeneityP[0], 0.17415, 1e-5);
        EXPECT_NEAR(f.homogeneityF[1], 3.59889, 1e-5);
        EXPECT_NEAR(f.homogeneityP[1], 0.062742, 1e-6);
    }
    // Two covariates: anova(lm(y ~ x + z + g)), g 1.5593 on 2 and 9.
    const CovarianceFigures two = ComputeCovariance({X, Z}, Y, Codes);
    ASSERT_TRUE(two.notice.empty());
    const AnovaTableResult t = ComputeAnovaTable(two.table, 0.05);
    EXPECT_NEAR(t.figures.rows[0].f, 14.14939, 1e-4);
    EXPECT_EQ(t.figures.rows[1].df, 9);
    EXPECT_NEAR(two.slopes.values[1], 0.471245100892, 1e-8);
    EXPECT_NEAR(two.slopes.errors[1], 0.22841481382, 1e-8);
}

TEST(CovarianceTest, DegenerateDataEndInAPlainNotice) {
    struct Case {
        const char* what;
        std::vector<std::vector<double>> covariates;
        std::vector<double> y, codes;
        std::string notice;
    };
    const std::vector<double> y = {1, 2, 3, 4, 5, 7};
    const Case cases[] = {
        {"one group", {{1, 2, 3, 4, 5, 6}}, y, {1, 1, 1, 1, 1, 1}, FewGroupsNotice},
        {"no residual", {{1, 2, 3, 4, 5, 6}}, {1, 2, 3, 4}, {1, 2, 3, 4}, NoErrorDfNotice},
        {"covariate constant within groups",
         {{1, 1, 1, 2, 2, 2}},
         y,
         {1, 1, 1, 2, 2, 2},
         RegressionSingularNotice},
        {"exact fit",
         {{1, 2, 3, 4, 5, 6}},
         {2, 4, 6, 9, 11, 13},
         {1, 1, 1, 2, 2, 2},
         ZeroErrorNotice},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::vector<double>> covariates = c.covariates;
        for (auto& v : covariates)
            v.resize(c.y.size());
        EXPECT_EQ(ComputeCovariance(covariates, c.y, c.codes).notice, c.notice);
    }
}

TEST(CovarianceMethodTest, RunsFromAScriptWithAMissingCellLeavingItsObservation) {
    TempFolder folder("ancova");
    std::ofstream data(folder / "cov.txt");
    data << "x y g\n";
    for (std::size_t i = 0; i < X.size(); ++i)
        data << X[i] << ' ' << Y[i] << ' ' << Codes[i] << '\n';
    // An observation with an empty cell: left out of every row.
    data << "4.5 NA 2\n";
    data.close();
    const BatchOutcome out = RunMethodsScript("open cov.txt\nmethod 14\n", folder.WithSlash());
    ASSERT_EQ(out.status, BatchDone) << out.messages;
    for (const char* text : {"\nГомогенность Х1: F=2.057, ", "\nГомогенность Х2: F=3.599, ",
                             "\n  Факт.1   ", "\nF(фактор1)=10.02, ", "степ.своб = 2,10"})
        EXPECT_NE(out.results.find(text), std::string::npos) << text << out.results;
    EXPECT_EQ(out.results.find("Факт.2"), std::string::npos);
}

}  // namespace
}  // namespace dalvex
