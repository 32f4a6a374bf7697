// Splines: the not-a-knot interpolation and Reinsch's smoothing spline,
// checked against polynomials, the defining conditions and R.
#include "numeric/splines.h"

#include <gtest/gtest.h>

#include <cmath>

namespace dalvex {
namespace {

// Ten points of a wave with noise (the R reference values below use them).
const std::vector<double> WaveX{0.5, 1.3, 2.0, 2.9, 3.1, 4.4, 5.0, 6.2, 7.1, 8.0};
const std::vector<double> WaveY{0.61, 1.02, 0.83, 0.35, -0.02, -0.88, -1.05, -0.02, 0.71, 1.12};

double ResidualSum(const CubicPieces& s, const std::vector<double>& y) {
    double sum = 0;
    for (std::size_t i = 0; i < y.size(); ++i)
        sum += (y[i] - s.values[i]) * (y[i] - s.values[i]);
    return sum;
}

TEST(Splines, InterpolationReproducesACubicThroughFourPoints) {
    const auto cubic = [](double x) { return x * x * x - 2 * x + 1; };
    const std::vector<double> x{0, 1, 2.5, 4};
    std::vector<double> y;
    for (double v : x)
        y.push_back(cubic(v));
    const CubicPieces s = InterpolatingSpline(x, y);
    for (double at : {0.0, 0.3, 1.0, 1.7, 2.5, 3.9, 4.0})
        EXPECT_NEAR(SplineValue(s, at), cubic(at), 1e-12) << at;
    // Three points give their parabola.
    const CubicPieces p = InterpolatingSpline({1, 2, 4}, {1, 4, 16});
    for (double at : {1.5, 3.0, 3.7})
        EXPECT_NEAR(SplineValue(p, at), at * at, 1e-12) << at;
}

// The interpolating spline is fixed by passing through the points, two
// continuous derivatives at every knot and a continuous third derivative at
// the second and the last but one knot.
TEST(Splines, InterpolationMeetsItsDefiningConditions) {
    const CubicPieces s = InterpolatingSpline(WaveX, WaveY);
    const std::size_t m = WaveX.size() - 1;
    for (std::size_t i = 0; i < m; ++i) {
        const double h = WaveX[i + 1] - WaveX[i];
        const double end = ((s.c3[i] * h + s.c2[i]) * h + s.c1[i]) * h + WaveY[i];
        EXPECT_NEAR(end, WaveY[i + 1], 1e-12) << i;
        if (i + 1 < m) {
            EXPECT_NEAR(3 * s.c3[i] * h * h + 2 * s.c2[i] * h + s.c1[i], s.c1[i + 1], 1e-11) << i;
            EXPECT_NEAR(6 * s.c3[i] * h + 2 * s.c2[i], 2 * s.c2[i + 1], 1e-10) << i;
        }
    }
    EXPECT_NEAR(s.c3[0], s.c3[1], 1e-10);
    EXPECT_NEAR(s.c3[m - 2], s.c3[m - 1], 1e-10);
}

// R: x, y as WaveX, WaveY; S = n k var(y) with k = 0.3. The natural
// smoothing spline of the definition, in dense matrices: h <- diff(x), Q the
// n x (n-2) second-difference matrix (1/h[j], -1/h[j]-1/h[j+1], 1/h[j+1]),
// Tm tridiagonal ((h[j]+h[j+1])/3, h[j+1]/6), K <- Q %*% solve(Tm) %*% t(Q),
// g(a) <- solve(diag(n) + a*K, y), a found by uniroot so that
// sum((y - g(a))^2) = S. Then smooth.spline(x, y, all.knots = TRUE, lambda = l)
// with l found the same way: its penalty is on x rescaled to [0, 1], so its
// lambda is not Reinsch's parameter, and the two are matched through the
// residual sum. Its fitted values stay within 5e-5 of the dense solution
// (its own integration of the penalty is not exact), so it is held to 1e-4.
TEST(Splines, SmoothingMatchesRAtTheSameResidualSum) {
    const double bound = SmoothingBound(WaveY, 0.3);
    EXPECT_NEAR(bound, 1.7157366666666669, 1e-13);
    const CubicPieces s = SmoothingSpline(WaveX, WaveY, bound);
    EXPECT_NEAR(ResidualSum(s, WaveY), bound, 1e-9);
    const double exact[] = {0.881987168945903677,  0.629540851262787582, 0.393567287046291236,
                            0.083554526448583119,  0.019203230717142524, -0.261482000235735201,
                            -0.260397333895451000, 0.015808328965178638, 0.378463446847920382,
                            0.789754493897344312};
    const double smoothSpline[] = {
        0.881942508097521394, 0.629525502617334642,  0.393575162872051632,  0.083583521131646188,
        0.019242763355101909, -0.261483818496925646, -0.260395349301881074, 0.015835247689020129,
        0.378464661047491324, 0.789709800988560695};
    for (std::size_t i = 0; i < WaveY.size(); ++i) {
        EXPECT_NEAR(s.values[i], exact[i], 1e-10) << i;
        EXPECT_NEAR(s.values[i], smoothSpline[i], 1e-4) << i;
    }
    const double at[] = {1.0, 3.0, 4.7, 7.5};
    const double predicted[] = {0.72571031573538103, 0.05102672861147476, -0.27336410279275314,
                                0.55857588979722550};
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(SplineValue(s, at[i]), predicted[i], 1e-4) << at[i];
}

// R: lm(y ~ x) gives 0.395597865080059563 - 0.031752559279027065 x;
// splinefun(x, y, method = "natural") at 1, 3, 4.7, 7.5.
TEST(Splines, SmoothingRunsFromTheNaturalInterpolantToTheLeastSquaresLine) {
    const CubicPieces line = SmoothingSpline(WaveX, WaveY, SmoothingBound(WaveY, 0.999));
    for (double at : {0.5, 2.2, 6.0, 8.0})
        EXPECT_NEAR(SplineValue(line, at), 0.395597865080059563 - 0.031752559279027065 * at, 1e-12)
            << at;

    const double at[] = {1.0, 3.0, 4.7, 7.5};
    const double natural[] = {0.94061433907684333, 0.16829884497376621, -0.99770359881770121,
                              0.91500767224226842};
    const CubicPieces nearly = SmoothingSpline(WaveX, WaveY, SmoothingBound(WaveY, 1e-9));
    const CubicPieces exact = SmoothingSpline(WaveX, WaveY, 0.0);
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(SplineValue(nearly, at[i]), natural[i], 1e-4) << at[i];
        EXPECT_NEAR(SplineValue(exact, at[i]), natural[i], 1e-12) << at[i];
    }
    EXPECT_LT(ResidualSum(nearly, WaveY), 1e-8);
}

TEST(Splines, GridOfTheStepsAskedForOrFiveAPointInterval) {
    struct Case {
        int requested, points, largest, steps;
    };
    const Case cases[] = {{50, 10, 16250, 50},
                          {10, 30, 16250, 145},
                          {29, 30, 16250, 29},
                          {0, 500, 16250, 2495},
                          {99999, 3, 16250, 16250}};
    for (const Case& c : cases)
        EXPECT_EQ(SplineSteps(c.requested, c.points, c.largest), c.steps)
            << c.requested << " " << c.points;

    std::vector<double> gx, gy;
    const CubicPieces s = InterpolatingSpline(WaveX, WaveY);
    EvaluateOnGrid(s, 145, gx, gy);
    ASSERT_EQ(gx.size(), 146u);
    EXPECT_DOUBLE_EQ(gx.front(), 0.5);
    EXPECT_DOUBLE_EQ(gx.back(), 8.0);
    for (std::size_t k = 0; k < gx.size(); k += 7)
        EXPECT_NEAR(gy[k], SplineValue(s, gx[k]), 1e-12) << k;
}

}  // namespace
}  // namespace dalvex
