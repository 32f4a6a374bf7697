// Jacobi's eigen-decomposition against R's eigen() and against its own
// defining equation A v = lambda v on matrices too large to list.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "numeric/jacobi.h"

namespace dalvex {
namespace {

// The largest |(A v - lambda v)_i| over all pairs, and the largest
// |v_j . v_l - delta_jl|.
std::pair<double, double> Residuals(const std::vector<double>& a, const EigenDecomposition& e) {
    const int n = e.size;
    double equation = 0, orthogonality = 0;
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) {
            double av = 0;
            for (int q = 0; q < n; ++q)
                av += a[i * n + q] * e.Vector(q, j);
            equation = std::max(equation, std::fabs(av - e.values[j] * e.Vector(i, j)));
        }
        for (int l = 0; l < n; ++l) {
            double dot = 0;
            for (int i = 0; i < n; ++i)
                dot += e.Vector(i, j) * e.Vector(i, l);
            orthogonality = std::max(orthogonality, std::fabs(dot - (j == l ? 1 : 0)));
        }
    }
    return {equation, orthogonality};
}

TEST(JacobiEigen, MatchesREigenOnACorrelationMatrix) {
    // R: m <- matrix(c(1,.6,.3,.1, .6,1,.5,.2, .3,.5,1,.7, .1,.2,.7,1), 4);
    //    e <- eigen(m); sprintf("%.15g", e$values); sprintf("%.15g", e$vectors[, 1])
    const std::vector<double> m = {1, .6, .3, .1, .6, 1, .5, .2, .3, .5, 1, .7, .1, .2, .7, 1};
    const EigenDecomposition e = JacobiEigen(m, 4);
    EXPECT_TRUE(e.converged);
    const double values[] = {2.22440108501122, 1.14839273737614, 0.404543011626034,
                             0.222663165986608};
    for (int j = 0; j < 4; ++j)
        EXPECT_NEAR(e.values[j], values[j], 1e-13) << j;
    const double first[] = {0.434653763228011, 0.522756974581013, 0.578007601665872,
                            0.45134074052217};
    const double sign = e.Vector(0, 0) > 0 ? 1 : -1;
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(sign * e.Vector(i, 0), first[i], 1e-12) << i;
}

TEST(JacobiEigen, IdentityNeedsNoRotationAndZeroEigenvaluesComeLast) {
    const EigenDecomposition identity = JacobiEigen({1, 0, 0, 0, 1, 0, 0, 0, 1}, 3);
    EXPECT_EQ(identity.rotations, 0);
    EXPECT_EQ(identity.values, (std::vector<double>{1, 1, 1}));

    // Two identical variables and a third: one eigenvalue is 0.
    const EigenDecomposition twin = JacobiEigen({1, 1, .5, 1, 1, .5, .5, .5, 1}, 3);
    EXPECT_NEAR(twin.values[2], 0, 1e-15);
    EXPECT_GT(twin.values[1], 0.1);
}

// The tolerance is relative: matrices of very different scales converge to
// the same relative precision, and a matrix with close eigenvalues satisfies
// its equation to rounding. (The benchmark takes it to 250 x 250.)
TEST(JacobiEigen, ConvergesRelativeToTheMatrixAtAnyScaleAndSize) {
    for (const double scale : {1e-12, 1.0, 1e9}) {
        const int n = 80;
        std::vector<double> a(n * n);
        for (int i = 0; i < n; ++i)
            for (int j = 0; j <= i; ++j)
                a[i * n + j] = a[j * n + i] =
                    scale * (i == j ? 2 + 1e-6 * i : std::sin(0.37 * i * j + i + j) / n);
        double norm = 0;
        for (double x : a)
            norm += x * x;
        norm = std::sqrt(norm);
        const EigenDecomposition e = JacobiEigen(a, n);
        SCOPED_TRACE(scale);
        EXPECT_TRUE(e.converged);
        const auto [equation, orthogonality] = Residuals(a, e);
        EXPECT_LT(equation, 1e-13 * norm);
        EXPECT_LT(orthogonality, 1e-12);
        for (int j = 1; j < n; ++j)
            EXPECT_GE(e.values[j - 1], e.values[j]);
    }
}

TEST(JacobiEigen, ReportsWhenTheSweepCapEndsItAndWhenItIsCancelled) {
    const int n = 30;
    std::vector<double> a(n * n);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            a[i * n + j] = 1.0 / (i + j + 1);  // Hilbert: needs many sweeps
    const EigenDecomposition capped = JacobiEigen(a, n, {}, 1e-13, 1);
    EXPECT_FALSE(capped.converged);
    EXPECT_FALSE(capped.cancelled);

    int calls = 0;
    const EigenDecomposition stopped = JacobiEigen(a, n, [&](double share) {
        EXPECT_GE(share, 0);
        EXPECT_LE(share, 1);
        return ++calls < 2;
    });
    EXPECT_TRUE(stopped.cancelled);
    EXPECT_FALSE(stopped.converged);
    EXPECT_EQ(calls, 2);
}

}  // namespace
}  // namespace dalvex
