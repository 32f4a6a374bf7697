// The orthogonal least-squares solver against R's lm on ordinary and on hard
// data, and its rank test.
#include "numeric/least_squares.h"

#include <gtest/gtest.h>

#include <cmath>

namespace dalvex {
namespace {

// x = 1e7 + 0.1 i, y = 1e7 + 0.1 ((7 i) mod 5) + 0.05 i, i = 0..19: raw
// power sums lose every digit here. R's lm on these columns drops x as
// collinear, so the values are lm(ys ~ xs) on the shifted data
// (xs = 0.1 i, ys = y - 1e7): slope 0.530075187970, se 0.0573710433196,
// SSE 0.393984962406, R^2 0.825863000042.
TEST(LeastSquaresTest, LargeOffsetKeepsTheDigitsOfTheShiftedFit) {
    std::vector<double> x, y;
    for (int i = 0; i < 20; ++i) {
        x.push_back(1e7 + 0.1 * i);
        y.push_back(1e7 + 0.1 * ((i * 7) % 5) + 0.05 * i);
    }
    const LinearFit fit = FitLinear({x}, y);
    ASSERT_FALSE(fit.singular);
    EXPECT_NEAR(fit.coefficients[1], 0.530075187970, 1e-6);
    EXPECT_NEAR(fit.sse, 0.393984962406, 1e-6);
    EXPECT_NEAR(1 - fit.sse / fit.sst, 0.825863000042, 1e-7);
    EXPECT_NEAR(std::sqrt(fit.inverse[1][1] * fit.sse / fit.dfResidual), 0.0573710433196, 1e-6);
    // The fitted line itself, checked where it matters: at the data.
    EXPECT_NEAR(fit.fitted[0] - 1e7, 0.171428571429, 1e-6);
}

// x = 1..10, y2 below. lm(y2 ~ 0 + x2 + I(x2^2)): 0.06200438116 (se
// 0.13916289499), 1.00936473165 (se 0.01715578156), R^2 (uncentred)
// 0.9998593073 on 8 df. lm(y2 ~ 0 + x2): 7.992727273 (se 0.679164166),
// R^2 0.9389818223, SSE 1598.2796363636.
TEST(LeastSquaresTest, ThroughTheOriginAgreesWithLmWithoutIntercept) {
    const std::vector<double> x = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    const std::vector<double> y = {2.1, 3.9, 8.2, 15.8, 26.1, 37.2, 50.5, 64.8, 82.1, 101.5};
    const LinearFit quadratic = FitLinear(PowerColumns(x, 2), y, false);
    ASSERT_FALSE(quadratic.singular);
    ASSERT_EQ(quadratic.coefficients.size(), 2u);
    EXPECT_NEAR(quadratic.coefficients[0], 0.06200438116, 1e-9);
    EXPECT_NEAR(quadratic.coefficients[1], 1.00936473165, 1e-9);
    const double mse = quadratic.sse / quadratic.dfResidual;
    EXPECT_EQ(quadratic.dfResidual, 8);
    EXPECT_NEAR(std::sqrt(quadratic.inverse[0][0] * mse), 0.13916289499, 1e-9);
    EXPECT_NEAR(std::sqrt(quadratic.inverse[1][1] * mse), 0.01715578156, 1e-9);
    EXPECT_NEAR(1 - quadratic.sse / quadratic.sst, 0.9998593073, 1e-9);

    const LinearFit line = FitLinear({x}, y, false);
    EXPECT_NEAR(line.coefficients[0], 7.992727273, 1e-8);
    EXPECT_NEAR(line.sse, 1598.2796363636, 1e-7);
    EXPECT_NEAR(1 - line.sse / line.sst, 0.9389818223, 1e-9);
}

// y = 1 + x + ... + x^5 on x = 0..20: every coefficient 1 and nothing left over.
TEST(LeastSquaresTest, DegreeFivePolynomialIsRecoveredExactly) {
    std::vector<double> x, y;
    for (int i = 0; i <= 20; ++i) {
        x.push_back(i);
        y.push_back(1.0 + i + i * i + std::pow(i, 3) + std::pow(i, 4) + std::pow(i, 5));
    }
    const LinearFit fit = FitLinear(PowerColumns(x, 5), y);
    ASSERT_FALSE(fit.singular);
    for (double a : fit.coefficients)
        EXPECT_NEAR(a, 1.0, 1e-7);
    EXPECT_LT(fit.sse / fit.sst, 1e-24);
}

// predict(lm(y2 ~ x2), data.frame(x2 = 21), interval = "prediction") has the
// half-width 38.29141 = t(0.975, 8) 2.306004 * se; se^2 = MSE (1 + h).
TEST(LeastSquaresTest, LeverageGivesThePredictionError) {
    const std::vector<double> x = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    const std::vector<double> y = {2.1, 3.9, 8.2, 15.8, 26.1, 37.2, 50.5, 64.8, 82.1, 101.5};
    const LinearFit fit = FitLinear({x}, y);
    const double se = std::sqrt(fit.sse / fit.dfResidual * (1 + Leverage(fit, {21})));
    EXPECT_NEAR(2.306004135 * se, 250.3786666 - 212.0872727, 1e-5);
}

TEST(LeastSquaresTest, DependentColumnsAreSingularByARelativeTest) {
    const std::vector<double> x = {1, 2, 3, 4, 5};
    const std::vector<double> y = {1, 3, 2, 5, 4};
    const std::vector<double> z = {2, 1, 4, 3, 6};
    struct Case {
        const char* what;
        std::vector<std::vector<double>> columns;
        bool singular;
        int dependent;  // the column named as lying in the span of those before it
    };
    const Case cases[] = {
        {"constant X", {{3, 3, 3, 3, 3}}, true, 0},
        {"X twice", {x, x}, true, 1},
        {"a multiple of X in large units", {x, {1e9, 2e9, 3e9, 4e9, 5e9}}, true, 1},
        {"off the line by 1e-16 relative", {x, {1, 2, 3, 4, 5 * (1 + 1e-16)}}, true, 1},
        {"a sum of two earlier columns", {x, z, {3, 3, 7, 7, 11}, {1, 0, 0, 0, 1}}, true, 2},
        // 1e7 + 0.1 and the others are not exact in binary: their sum in
        // decimals differs from the binary sum by rounding only.
        {"a sum in decimals near 1e7",
         {{1e7 + 0.1, 1e7 + 0.3, 1e7 + 0.2, 1e7 + 0.5, 1e7 + 0.4},
          z,
          {1e7 + 2.1, 1e7 + 1.3, 1e7 + 4.2, 1e7 + 3.5, 1e7 + 6.4}},
         true,
         2},
        {"near 1e7, off the sum by 1e-5",
         {{1e7 + 0.1, 1e7 + 0.3, 1e7 + 0.2, 1e7 + 0.5, 1e7 + 0.4},
          z,
          {1e7 + 2.1, 1e7 + 1.3, 1e7 + 4.2, 1e7 + 3.5, 1e7 + 6.40001}},
         false,
         -1},
        {"small numbers, independent", {{1e-12, 2e-12, 4e-12, 8e-12, 16e-12}}, false, -1},
        {"more coefficients than observations", PowerColumns(x, 5), true, -1},
        // X'X of a spread near 1e-300 underflows to 0: no covariance to give.
        {"spread near 1e-300", {{1e-300, 2e-300, 3e-300, 4e-300, 6e-300}}, true, 0},
    };
    for (const Case& c : cases) {
        const LinearFit fit = FitLinear(c.columns, y);
        EXPECT_EQ(fit.singular, c.singular) << c.what;
        EXPECT_EQ(fit.dependentColumn, c.dependent) << c.what;
    }
}

// The residual sum of squares alone, over subsets of columns prepared once:
// the same figures as lm (values in the tests above), the mean alone without
// columns, and a dependent column named by its place among all prepared.
TEST(LeastSquaresTest, ResidualFitsOverSubsetsOfPreparedColumns) {
    std::vector<double> offsetX, offsetY;
    for (int i = 0; i < 20; ++i) {
        offsetX.push_back(1e7 + 0.1 * i);
        offsetY.push_back(1e7 + 0.1 * ((i * 7) % 5) + 0.05 * i);
    }
    // lm(ys ~ xs): SSE 0.393984962406; a second, constant-free column beside.
    std::vector<double> noise(20);
    for (int i = 0; i < 20; ++i)
        noise[static_cast<std::size_t>(i)] = (i * 13) % 7;
    const PreparedColumns offset = PrepareColumns({noise, offsetX});
    ASSERT_FALSE(offset.singular);
    const ResidualFit line = FitResidual(offset, {1}, offsetY);
    ASSERT_FALSE(line.singular);
    EXPECT_NEAR(line.sse, 0.393984962406, 1e-6);
    // No column: y about its mean (ys = y - 1e7 has sum of squares about
    // its mean 2.2625 by hand).
    EXPECT_NEAR(FitResidual(offset, {}, offsetY).sse, 2.2625, 1e-6);

    // lm(y2 ~ 0 + x2): SSE 1598.2796363636.
    const std::vector<double> x = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    const std::vector<double> y = {2.1, 3.9, 8.2, 15.8, 26.1, 37.2, 50.5, 64.8, 82.1, 101.5};
    const PreparedColumns origin = PrepareColumns(PowerColumns(x, 2), false);
    EXPECT_NEAR(FitResidual(origin, {0}, y).sse, 1598.2796363636, 1e-7);

    // Column 3 is the sum of columns 0 and 2: in the order 3, 0, 2 the last
    // one lies in the span of the others and is named by its own number;
    // left out, the rest fit.
    const std::vector<double> u = {1, 2, 3, 4, 5, 6}, v = {2, 1, 4, 3, 6, 5},
                              w = {1, 0, 0, 1, 1, 0}, sum = {3, 3, 7, 7, 11, 11};
    const std::vector<double> z = {1, 3, 2, 5, 4, 7};
    const PreparedColumns four = PrepareColumns({u, w, v, sum});
    const ResidualFit dependent = FitResidual(four, {3, 0, 2}, z);
    EXPECT_TRUE(dependent.singular);
    EXPECT_EQ(dependent.dependentColumn, 2);
    EXPECT_FALSE(FitResidual(four, {0, 1, 2}, z).singular);
    // A constant column is refused when prepared, whatever is chosen later.
    const PreparedColumns constant = PrepareColumns({u, {4, 4, 4, 4, 4, 4}});
    EXPECT_TRUE(constant.singular);
    EXPECT_EQ(constant.dependentColumn, 1);
    EXPECT_TRUE(FitResidual(constant, {0}, z).singular);
}

}  // namespace
}  // namespace dalvex
