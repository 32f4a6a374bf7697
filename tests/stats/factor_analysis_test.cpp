// The figures of factor analysis against R: the correlation matrix routine
// (cor, cov, Spearman, Kendall, Cramér's V, a binary measure), the
// eigen-decomposition and loadings (eigen), the scores (prcomp), varimax
// (stats::varimax, with and without normalisation) and the other orthomax
// rotations from their criterion (R's optimize over the angle of two
// factors), on a two-factor data set and on hard data: a near-constant
// variable with a large offset, a near-collinear pair and a missing cell.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "stats/correlation_matrix.h"
#include "stats/factor_analysis.h"

namespace dalvex {
namespace {

// Six variables on two factors; R:
//   i <- 1:40; L1 <- c(.9,.8,.7,.1,.2,0); L2 <- c(.1,0,.2,.9,.8,.7)
//   X <- sapply(1:6, function(j) L1[j]*sin(.7*i)*2 + L2[j]*cos(1.3*i) + .3*sin(.37*i*j + j))
MatrixInput TwoFactorData() {
    const double l1[] = {.9, .8, .7, .1, .2, 0}, l2[] = {.1, 0, .2, .9, .8, .7};
    MatrixInput input;
    for (int j = 1; j <= 6; ++j) {
        input.names.push_back("x" + std::to_string(j));
        std::vector<double> column;
        for (int i = 1; i <= 40; ++i)
            column.push_back(l1[j - 1] * std::sin(.7 * i) * 2 + l2[j - 1] * std::cos(1.3 * i) +
                             .3 * std::sin(.37 * i * j + j));
        input.values.push_back(column);
    }
    return input;
}

// Four variables, the fifth observation of x3 missing and so left out of
// all of them; R:
//   i <- 1:30; x1 <- 1e7 + 1e-3*sin(i); x2 <- x1 + 1e-4*cos(2*i)
//   x3 <- cos(.5*i); x4 <- (i %% 7) + .1*sin(3*i); x3[5] <- NA
//   X <- cbind(x1, x2, x3, x4)  ... use = "complete.obs"
MatrixInput HardData() {
    MatrixInput input;
    input.names = {"x1", "x2", "x3", "x4"};
    input.values.resize(4);
    for (int i = 1; i <= 30; ++i) {
        if (i == 5)
            continue;
        input.values[0].push_back(1e7 + 1e-3 * std::sin(i));
        input.values[1].push_back(1e7 + 1e-3 * std::sin(i) + 1e-4 * std::cos(2 * i));
        input.values[2].push_back(std::cos(.5 * i));
        input.values[3].push_back(i % 7 + .1 * std::sin(3 * i));
    }
    return input;
}

CorrelationMatrixFigures Build(MatrixKind kind, const MatrixInput& input) {
    MatrixOutcome outcome = BuildCorrelationMatrix(kind, input, 0.05);
    EXPECT_TRUE(outcome.figures) << outcome.notice;
    return *outcome.figures;
}

// The upper triangle column by column, as R's R[upper.tri(R)].
std::vector<double> UpperTriangle(const CorrelationMatrixFigures& f) {
    std::vector<double> values;
    for (int j = 1; j < f.size; ++j)
        for (int i = 0; i < j; ++i)
            values.push_back(f.correlation(i, j));
    return values;
}

void ExpectNear(const std::vector<double>& actual, const std::vector<double>& expected,
                double tolerance) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i)
        EXPECT_NEAR(actual[i], expected[i], tolerance) << i;
}

TEST(CorrelationMatrix, EveryNumericKindMatchesROnHardDataWithAMissingCell) {
    const MatrixInput input = HardData();
    ASSERT_EQ(input.count(), 29);
    // R: cor(X, use = "complete.obs")[upper.tri(R)]; no truncation to three
    // decimals survives in the analysed matrix.
    ExpectNear(UpperTriangle(Build(MatrixKind::Pearson, input)),
               {0.995132428441092, 0.0997535173098133, 0.0954490154284201, -0.166485593249143,
                -0.156603350305444, 0.0713934216984046},
               1e-9);
    // R: cor(..., method = "spearman") and "kendall" (no ties here, so tau-b
    // is the tau 2S / (N (N - 1)) computed).
    ExpectNear(UpperTriangle(Build(MatrixKind::Spearman, input)),
               {1, 0.0916256157635468, 0.0916256157635468, -0.194088669950739, -0.194088669950739,
                0.115270935960591},
               1e-12);
    ExpectNear(UpperTriangle(Build(MatrixKind::Kendall, input)),
               {1, 0.0738916256157636, 0.0738916256157636, -0.133004926108374, -0.133004926108374,
                0.083743842364532},
               1e-12);
    // R: diag(cov(X, use = "complete.obs")), cov[1, 3]
    const CorrelationMatrixFigures cov = Build(MatrixKind::Covariance, input);
    const double variances[] = {5.20162736423553e-07, 5.20331208951272e-07, 0.487334716977963,
                                3.9784551192938};
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(cov.at(i, i) / variances[i], 1, 1e-9) << i;
    EXPECT_NEAR(cov.at(0, 2) / 5.02240246792102e-05, 1, 1e-8);
    EXPECT_EQ(cov.at(0, 2), cov.at(2, 0));
}

TEST(CorrelationMatrix, MeansDeviationsAndCriticalCoefficientOfPearson) {
    const CorrelationMatrixFigures f = Build(MatrixKind::Pearson, TwoFactorData());
    // R: colMeans(X)[1:2], apply(X, 2, sd)[1:2], cor(X)[1, 2]
    EXPECT_NEAR(f.means[0], 0.154517413609458, 1e-13);
    EXPECT_NEAR(f.deviations[1], 0.975091056931751, 1e-13);
    // R: t <- qt(.975, 38); sqrt(t^2/(t^2 + 38)); the program's t quantile
    // is its own deliberately approximate one.
    EXPECT_NEAR(f.critical, 0.3120063687, 4e-3);
    int significant = 0;
    for (int i = 0; i < 6; ++i)
        for (int j = i + 1; j < 6; ++j)
            significant += std::fabs(f.correlation(i, j)) >= f.critical;
    EXPECT_EQ(f.significant, significant);
}

TEST(CorrelationMatrix, NominalKindsCodeTextsAndUseYatesInTwoByTwoTables) {
    MatrixInput input;
    input.names = {"a", "b", "c"};
    input.texts = {{"да", "да", "нет", "нет", "да", "нет", "да", "да"},
                   {"нет", "да", "нет", "нет", "да", "да", "да", "да"},
                   {"x", "y", "z", "x", "y", "z", "x", "y"}};
    const std::vector<std::vector<double>> codes = CategoryCodes(input.texts);
    EXPECT_EQ(codes[1][0], codes[0][2]);  // "нет" has one number everywhere
    // R: sqrt(chisq.test(table(a, b), correct = TRUE)$statistic / 8) and,
    //    the 2 x 3 table without the correction,
    //    sqrt(chisq.test(table(a, c), correct = FALSE)$statistic / 8 / 1)
    const CorrelationMatrixFigures f = Build(MatrixKind::Cramer, input);
    EXPECT_NEAR(f.correlation(0, 1), 0.2, 1e-12);
    EXPECT_NEAR(f.correlation(0, 2), 0.802773, 1e-6);

    // Binary counts a, b, c, d of a against b: both "да" 4, "да"/"нет" 1,
    // "нет"/"да" 1, both "нет" 2.
    const SimilarityCounts n = BinaryCounts(codes[0], codes[1]);
    EXPECT_EQ(std::vector<double>({n.a, n.b, n.c, n.d}), std::vector<double>({4, 1, 1, 2}));
    input.texts.pop_back();
    input.names.pop_back();
    input.texts.push_back(input.texts[0]);
    input.names.push_back("c");
    const MatrixOutcome binary = BuildCorrelationMatrix(
        MatrixKind::Binary, input, 0.05,
        [](const SimilarityCounts& s) { return (s.a + s.d) / (s.a + s.b + s.c + s.d); });
    ASSERT_TRUE(binary.figures);
    EXPECT_FALSE(binary.figures->switchedToCramer);
    EXPECT_DOUBLE_EQ(binary.figures->correlation(0, 1), 0.75);
    EXPECT_DOUBLE_EQ(binary.figures->correlation(0, 2), 1);
}

TEST(CorrelationMatrix, BinaryWithThreeCategoriesBecomesCramer) {
    MatrixInput input;
    input.names = {"a", "b", "c"};
    input.texts = {{"1", "0", "1", "0"}, {"1", "1", "0", "0"}, {"1", "2", "3", "1"}};
    const MatrixOutcome outcome = BuildCorrelationMatrix(
        MatrixKind::Binary, input, 0.05, [](const SimilarityCounts&) { return 0.5; });
    ASSERT_TRUE(outcome.figures);
    EXPECT_TRUE(outcome.figures->switchedToCramer);
    EXPECT_EQ(outcome.figures->kind, MatrixKind::Cramer);
}

TEST(CorrelationMatrix, RefusesWhatHasNoMatrixWithAClearNotice) {
    MatrixInput few;
    few.names = {"a", "b", "c"};
    few.values = {{1, 2}, {2, 1}, {3, 4}};
    EXPECT_EQ(BuildCorrelationMatrix(MatrixKind::Pearson, few, .05).notice, FewMeasurementsNotice);

    MatrixInput constant = TwoFactorData();
    constant.values[3].assign(40, 1e7);
    for (MatrixKind kind :
         {MatrixKind::Pearson, MatrixKind::Covariance, MatrixKind::Spearman, MatrixKind::Kendall}) {
        const MatrixOutcome outcome = BuildCorrelationMatrix(kind, constant, .05);
        EXPECT_FALSE(outcome.figures);
        EXPECT_EQ(outcome.notice, ConstantVariableNotice("x4"));
    }

    MatrixInput given;
    given.names = {"a", "b", "c"};
    given.values = {{1, .5, .2, 0}, {0, 1, .3, 0}, {0, 0, 1, 0}};
    EXPECT_EQ(BuildCorrelationMatrix(MatrixKind::Given, given, .05).notice, NotSquareNotice);
    for (auto& column : given.values)
        column.pop_back();
    const MatrixOutcome square = BuildCorrelationMatrix(MatrixKind::Given, given, .05);
    ASSERT_TRUE(square.figures);
    // Variable i's observations j >= i give the triangle.
    EXPECT_EQ(square.figures->at(0, 1), .5);
    EXPECT_EQ(square.figures->at(2, 1), .3);
    EXPECT_EQ(square.figures->at(2, 2), 1);
}

// ---------------------------------------------------------------------------

// The sign of each factor is free: compare column j up to it.
double SignOf(const FactorExtraction& e, int j, double reference) {
    return e.loading(0, j) * reference > 0 ? 1 : -1;
}

TEST(FactorExtraction, EigenvaluesLoadingsAndTheTwoPercentRuleMatchR) {
    const CorrelationMatrixFigures m = Build(MatrixKind::Pearson, TwoFactorData());
    const FactorExtraction e = ExtractFactors(m.matrix, m.size);
    // R: e <- eigen(cor(X)); e$values
    ExpectNear(e.eigenvalues,
               {3.62688854998818, 2.06668032470695, 0.139873972441714, 0.107449820277431,
                0.0384487345542625, 0.0206585980314466},
               1e-12);
    // 0.1399 is above 2 % of the sum so far (5.83), 0.1074 is not (of 5.94).
    EXPECT_EQ(e.factors, 3);
    EXPECT_NEAR(e.total, 6, 1e-12);
    // R: L <- e$vectors %*% diag(sqrt(e$values)); L[, 1:2]
    const double first[] = {-0.845265109690774, -0.819225553280287, -0.891831026321345,
                            -0.694902486414151, -0.835775319274173, -0.514307794747890};
    const double second[] = {-0.515510375257798, -0.558851187827856, -0.420658027673133,
                             0.664043635464253,  0.469770872523659,  0.806239994575956};
    const double s0 = SignOf(e, 0, first[0]), s1 = SignOf(e, 1, second[0]);
    for (int i = 0; i < 6; ++i) {
        EXPECT_NEAR(s0 * e.loading(i, 0), first[i], 1e-12) << i;
        EXPECT_NEAR(s1 * e.loading(i, 1), second[i], 1e-12) << i;
    }

    // Scores are principal components: R: prcomp(X, scale. = TRUE)$x[1:3, 1:2]
    const std::vector<std::vector<double>> scores = FactorScores(m, e, true);
    const double pc1[] = {-1.881013623806, -0.878487342775, -0.699139051178};
    const double pc2[] = {-0.0876120327684, -2.5137245783295, -2.0451795384701};
    const double p0 = scores[0][0] * pc1[0] > 0 ? 1 : -1, p1 = scores[1][0] * pc2[0] > 0 ? 1 : -1;
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(p0 * scores[0][i], pc1[i], 1e-10) << i;
        EXPECT_NEAR(p1 * scores[1][i], pc2[i], 1e-10) << i;
    }
}

TEST(FactorExtraction, HardDataKeepsItsPrecision) {
    const CorrelationMatrixFigures m = Build(MatrixKind::Pearson, HardData());
    const FactorExtraction e = ExtractFactors(m.matrix, m.size);
    // R: eigen(cor(X, use = "complete.obs"))$values
    ExpectNear(e.eigenvalues,
               {2.05870089853928, 1.06849137720095, 0.868004342161729, 0.00480338209803977}, 1e-9);
    EXPECT_EQ(e.factors, 3);
}

TEST(FactorExtraction, TwoPercentRuleEdgeCases) {
    EXPECT_EQ(RetainedFactors({1, 1, 1}), 3);
    EXPECT_EQ(RetainedFactors({2, 1, 0}), 2);
    EXPECT_EQ(RetainedFactors({2, 1, -1e-17}), 2);
    EXPECT_EQ(RetainedFactors({0, 0}), 0);
}

// ---------------------------------------------------------------------------

// Rotated loadings against R's, each column up to its sign.
void ExpectLoadings(const RotatedFactors& r, const std::vector<std::vector<double>>& expected,
                    double tolerance) {
    for (int j = 0; j < r.factors; ++j) {
        const double sign = r.loading(0, j) * expected[0][j] > 0 ? 1 : -1;
        for (int i = 0; i < r.size; ++i)
            EXPECT_NEAR(sign * r.loading(i, j), expected[i][j], tolerance) << i << "," << j;
    }
}

TEST(Rotation, VarimaxMatchesRWithAndWithoutNormalisation) {
    const CorrelationMatrixFigures m = Build(MatrixKind::Pearson, TwoFactorData());
    const FactorExtraction e = ExtractFactors(m.matrix, m.size);
    // R: varimax(L[, 1:2], normalize = TRUE, eps = 1e-12)$loadings
    const RotatedFactors normalised = RotateFactors(e, 2, Rotation::Varimax, true);
    ExpectLoadings(normalised,
                   {{-0.9845358845858, 0.1044659974434},
                    {-0.9902045319592, 0.0542230778502},
                    {-0.9638542091736, 0.2080884889021},
                    {-0.1481365983261, 0.9496836124002},
                    {-0.3780865807434, 0.8810536841993},
                    {0.0816990550306, 0.9528172442811}},
                   1e-6);
    // R: varimax(L[, 1:2], normalize = FALSE, eps = 1e-12)$loadings
    const RotatedFactors raw = RotateFactors(e, 2, Rotation::Varimax, false);
    ExpectLoadings(raw,
                   {{-0.9848515320732, 0.1014470917874},
                    {-0.9903661168082, 0.0511870292378},
                    {-0.9644876422798, 0.2051325026534},
                    {-0.1510474658713, 0.9492249883347},
                    {-0.3807859602558, 0.8798903962719},
                    {0.0787775001709, 0.9530632413744}},
                   1e-6);
    // An orthogonal rotation keeps the communalities and the total.
    EXPECT_NEAR(raw.explained[0] + raw.explained[1], e.eigenvalues[0] + e.eigenvalues[1], 1e-12);
    EXPECT_NEAR(raw.total, 6, 1e-12);
    for (int q = 0; q < 2; ++q)
        EXPECT_NEAR(raw.turn(q, 0) * raw.turn(q, 0) + raw.turn(q, 1) * raw.turn(q, 1), 1, 1e-14);
}

TEST(Rotation, QuartimaxAndBiquartimaxReachTheirCriterionsOptimum) {
    const CorrelationMatrixFigures m = Build(MatrixKind::Pearson, TwoFactorData());
    const FactorExtraction e = ExtractFactors(m.matrix, m.size);
    // R: crit <- function(A, g) { k <- nrow(A); sum((k*colSums(A^4) - g*colSums(A^2)^2)/k^2) }
    //    rot <- function(A, p) A %*% matrix(c(cos(p), sin(p), -sin(p), cos(p)), 2)
    //    optimize(function(p) -crit(rot(L[, 1:2], p), g), c(-pi/4, pi/4), tol = 1e-12)
    struct Case {
        Rotation rotation;
        double criterion;
        std::vector<std::vector<double>> loadings;
    };
    const Case cases[] = {
        {Rotation::Quartimax,
         0.8382174,
         {{-0.9861235849747, 0.0882288377784},
          {-0.9909635703994, 0.0378993327801},
          {-0.9671521872281, 0.1921780489419},
          {-0.1637651741817, 0.9471137118374},
          {-0.3925530671343, 0.8747040336382},
          {0.0659876395135, 0.9540341021283}}},
        {Rotation::Biquartimax,
         0.6117194,
         {{-0.9854829265829, 0.0951181059137},
          {-0.9906745163559, 0.0448236536559},
          {-0.9657855537983, 0.1989321990772},
          {-0.1571423690300, 0.9482350401039},
          {-0.3864307027203, 0.8774259905967},
          {0.0726531967302, 0.9535496576462}}},
        // Equimax of two factors has gamma 1, as varimax.
        {Rotation::Equimax,
         0.3853429,
         {{-0.9848516111426, 0.1014463241756},
          {-0.9903661567041, 0.0511862573279},
          {-0.9644878021636, 0.2051317509136},
          {-0.1510482057149, 0.9492248706052},
          {-0.3807866460587, 0.8798900994800},
          {0.0787767573355, 0.9530633027748}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.rotation));
        const RotatedFactors r = RotateFactors(e, 2, c.rotation, false);
        EXPECT_NEAR(OrthomaxCriterion(r.loadings, 6, 2, OrthomaxGamma(c.rotation, 2)), c.criterion,
                    1e-6);
        ExpectLoadings(r, c.loadings, 1e-5);
    }
}

TEST(Rotation, VarimaxOfThreeFactorsOnHardDataMatchesR) {
    const CorrelationMatrixFigures m = Build(MatrixKind::Pearson, HardData());
    const FactorExtraction e = ExtractFactors(m.matrix, m.size);
    // R: varimax(L[, 1:3], normalize = TRUE, eps = 1e-12)$loadings
    ExpectLoadings(RotateFactors(e, 3, Rotation::Varimax, true),
                   {{-0.99447288173, 0.04802661868, -0.07943675256},
                    {-0.99546380367, 0.04324004857, -0.06918097269},
                    {-0.05518205765, 0.99774780736, 0.03813378608},
                    {0.08979913443, 0.03848418014, 0.99521596127}},
                   1e-5);
}

TEST(Rotation, OneFactorIsNotTurnedAndRotationsCanBeCancelled) {
    const CorrelationMatrixFigures m = Build(MatrixKind::Pearson, TwoFactorData());
    const FactorExtraction e = ExtractFactors(m.matrix, m.size);
    const RotatedFactors one = RotateFactors(e, 1, Rotation::Varimax, true);
    EXPECT_EQ(one.sweeps, 0);
    EXPECT_EQ(one.turn(0, 0), 1);
    for (int i = 0; i < 6; ++i)
        EXPECT_NEAR(one.loading(i, 0), e.loading(i, 0), 1e-15);

    const RotatedFactors stopped =
        RotateFactors(e, 3, Rotation::Varimax, false, [](double) { return false; });
    EXPECT_TRUE(stopped.cancelled);
}

// The factors' weights in the oblique rotation are sqrt(s_j): their integer
// part is 0 for a factor whose squared loadings sum below 1, which made the
// factor correlations 0/0.
TEST(Rotation, ObliqueFactorCorrelationsStayFiniteForSmallFactors) {
    const CorrelationMatrixFigures m = Build(MatrixKind::Pearson, TwoFactorData());
    const FactorExtraction e = ExtractFactors(m.matrix, m.size);
    ASSERT_LT(e.eigenvalues[2], 1);
    const RotatedFactors r = RotateFactors(e, 3, Rotation::Oblique, false);
    ASSERT_EQ(r.correlations.size(), 9u);
    for (int j = 0; j < 3; ++j) {
        EXPECT_NEAR(r.correlations[j * 3 + j], 1, 1e-14);
        for (int l = 0; l < 3; ++l) {
            EXPECT_TRUE(std::isfinite(r.correlations[j * 3 + l]));
            EXPECT_LE(std::fabs(r.correlations[j * 3 + l]), 1 + 1e-14);
        }
    }
}

TEST(Prediction, FromTheUnrotatedLoadingsAndRefusedForAZeroEigenvalue) {
    const CorrelationMatrixFigures m = Build(MatrixKind::Pearson, TwoFactorData());
    const FactorExtraction e = ExtractFactors(m.matrix, m.size);
    // With every factor's score the prediction gives back the observation:
    // z = sum_j a_j F_j / sqrt(lambda_j) over all factors.
    const std::vector<std::vector<double>> scores = FactorScores(m, e, true);
    std::vector<double> all;
    for (int j = 0; j < 6; ++j)
        all.push_back(scores[j][7]);
    const std::optional<double> x = PredictVariable(e, 2, m.means[2], m.deviations[2], all);
    ASSERT_TRUE(x);
    EXPECT_NEAR(*x, m.analysed[2][7], 1e-12);

    FactorExtraction singular = e;
    singular.eigenvalues[1] = 0;
    EXPECT_FALSE(PredictVariable(singular, 0, 0, 1, {1, 1}));
}

}  // namespace
}  // namespace dalvex
