#include "numeric/least_squares.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

namespace dalvex {

namespace {

// A column whose part outside the span of the columns before it is below
// this share of its own length counts as dependent (columns are scaled to
// unit length first, so the test is relative).
constexpr double RankTolerance = 1e-11;
constexpr double TinyColumnLength = 1e-150;

double Mean(const std::vector<double>& v) {
    double sum = 0;
    for (double x : v)
        sum += x;
    double mean = sum / static_cast<double>(v.size());
    // A second pass takes back what the first sum lost on large offsets.
    double correction = 0;
    for (double x : v)
        correction += x - mean;
    return mean + correction / static_cast<double>(v.size());
}

}  // namespace

std::vector<std::vector<double>> PowerColumns(const std::vector<double>& x, int degree) {
    std::vector<std::vector<double>> columns;
    std::vector<double> power(x.size(), 1.0);
    for (int d = 1; d <= degree; ++d) {
        for (std::size_t i = 0; i < x.size(); ++i)
            power[i] *= x[i];
        columns.push_back(power);
    }
    return columns;
}

LinearFit FitLinear(const std::vector<std::vector<double>>& columns, const std::vector<double>& y,
                    bool intercept) {
    LinearFit fit;
    fit.intercept = intercept;
    const std::size_t n = y.size();
    const std::size_t p = columns.size();
    const std::size_t k = p + (intercept ? 1 : 0);
    if (n < k || p == 0) {
        fit.singular = true;
        return fit;
    }

    // Centred (with an intercept) and scaled columns, column-major.
    fit.means.assign(p, 0.0);
    std::vector<double> scale(p, 1.0);
    // What rounding the values to doubles leaves in a scaled column: a
    // column near 1e7 that is the sum of two others in decimals is not
    // quite their sum in binary, and that is no independence.
    std::vector<double> tolerance(p, RankTolerance);
    std::vector<std::vector<double>> a(p, std::vector<double>(n));
    for (std::size_t j = 0; j < p; ++j) {
        fit.means[j] = intercept ? Mean(columns[j]) : 0.0;
        double norm = 0;
        for (std::size_t i = 0; i < n; ++i) {
            a[j][i] = columns[j][i] - fit.means[j];
            norm = std::hypot(norm, a[j][i]);
        }
        // The covariance of the slopes divides by the square of this length:
        // below 1e-150 that square is no double, and X'X is singular as the
        // machine holds it.
        if (!(norm >= TinyColumnLength)) {
            fit.singular = true;
            fit.dependentColumn = static_cast<int>(j);
            return fit;
        }
        scale[j] = norm;
        for (double& v : a[j])
            v /= norm;
        double largest = 0;
        for (double v : columns[j])
            largest = std::max(largest, std::fabs(v));
        const double rounding = 16 * std::numeric_limits<double>::epsilon() *
                                std::sqrt(static_cast<double>(n)) * largest / norm;
        tolerance[j] = std::max(RankTolerance, rounding);
    }
    const double yMean = intercept ? Mean(y) : 0.0;
    std::vector<double> b(n);
    for (std::size_t i = 0; i < n; ++i)
        b[i] = y[i] - yMean;

    // Householder QR: R in the upper triangle of a, Q'b in b.
    std::vector<double> diagonal(p);
    for (std::size_t j = 0; j < p; ++j) {
        double norm = 0;
        for (std::size_t i = j; i < n; ++i)
            norm = std::hypot(norm, a[j][i]);
        if (norm <= tolerance[j]) {
            fit.singular = true;
            fit.dependentColumn = static_cast<int>(j);
            return fit;
        }
        const double alpha = a[j][j] > 0 ? -norm : norm;
        // v = x - alpha e1, kept in a[j][j..]; H = I - 2 v v' / v'v.
        a[j][j] -= alpha;
        double vv = 0;
        for (std::size_t i = j; i < n; ++i)
            vv += a[j][i] * a[j][i];
        auto reflect = [&](std::vector<double>& c) {
            double dot = 0;
            for (std::size_t i = j; i < n; ++i)
                dot += a[j][i] * c[i];
            const double f = 2 * dot / vv;
            for (std::size_t i = j; i < n; ++i)
                c[i] -= f * a[j][i];
        };
        for (std::size_t c = j + 1; c < p; ++c)
            reflect(a[c]);
        reflect(b);
        diagonal[j] = alpha;
    }
    auto R = [&](std::size_t row, std::size_t col) {
        return row == col ? diagonal[row] : a[col][row];
    };

    // Back substitution for the scaled slopes, then R^-1 for the covariance.
    std::vector<double> beta(p);
    for (std::size_t j = p; j-- > 0;) {
        double s = b[j];
        for (std::size_t c = j + 1; c < p; ++c)
            s -= R(j, c) * beta[c];
        beta[j] = s / R(j, j);
    }
    std::vector<std::vector<double>> rInverse(p, std::vector<double>(p, 0.0));
    for (std::size_t col = 0; col < p; ++col) {
        for (std::size_t j = col + 1; j-- > 0;) {
            double s = j == col ? 1.0 : 0.0;
            for (std::size_t c = j + 1; c <= col; ++c)
                s -= R(j, c) * rInverse[c][col];
            rInverse[j][col] = s / R(j, j);
        }
    }
    // Slopes' (X'X)^-1 = D^-1 R^-1 R^-T D^-1.
    std::vector<std::vector<double>> slopes(p, std::vector<double>(p, 0.0));
    for (std::size_t r = 0; r < p; ++r)
        for (std::size_t c = 0; c < p; ++c) {
            double s = 0;
            for (std::size_t m = std::max(r, c); m < p; ++m)
                s += rInverse[r][m] * rInverse[c][m];
            slopes[r][c] = s / (scale[r] * scale[c]);
        }

    std::vector<double> slope(p);
    for (std::size_t j = 0; j < p; ++j)
        slope[j] = beta[j] / scale[j];
    const std::size_t first = intercept ? 1 : 0;
    fit.coefficients.assign(k, 0.0);
    fit.inverse.assign(k, std::vector<double>(k, 0.0));
    for (std::size_t j = 0; j < p; ++j) {
        fit.coefficients[first + j] = slope[j];
        for (std::size_t c = 0; c < p; ++c)
            fit.inverse[first + j][first + c] = slopes[j][c];
    }
    if (intercept) {
        double a0 = yMean;
        for (std::size_t j = 0; j < p; ++j)
            a0 -= slope[j] * fit.means[j];
        fit.coefficients[0] = a0;
        // Var(a0) = 1/N + m' V m, Cov(a0, b) = -V m.
        double quadratic = 0;
        for (std::size_t r = 0; r < p; ++r) {
            double vm = 0;
            for (std::size_t c = 0; c < p; ++c)
                vm += slopes[r][c] * fit.means[c];
            fit.inverse[0][first + r] = fit.inverse[first + r][0] = -vm;
            quadratic += fit.means[r] * vm;
        }
        fit.inverse[0][0] = 1.0 / static_cast<double>(n) + quadratic;
    }

    // Residuals from the centred data, so a large offset costs nothing.
    fit.fitted.resize(n);
    fit.residuals.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        double e = y[i] - yMean;
        for (std::size_t j = 0; j < p; ++j)
            e -= slope[j] * (columns[j][i] - fit.means[j]);
        fit.residuals[i] = e;
        fit.fitted[i] = y[i] - e;
        fit.sse += e * e;
        fit.sst += (y[i] - yMean) * (y[i] - yMean);
    }
    fit.ssr = std::max(0.0, fit.sst - fit.sse);
    fit.slopeInverse = std::move(slopes);
    fit.count = static_cast<int>(n);
    fit.dfResidual = static_cast<int>(n - k);
    return fit;
}

double Leverage(const LinearFit& fit, const std::vector<double>& predictors) {
    // Centred, so a point near a large offset keeps its digits.
    const std::size_t p = fit.slopeInverse.size();
    std::vector<double> d(p, 0.0);
    for (std::size_t j = 0; j < p && j < predictors.size(); ++j)
        d[j] = predictors[j] - fit.means[j];
    double h = fit.intercept && fit.count > 0 ? 1.0 / fit.count : 0.0;
    for (std::size_t r = 0; r < p; ++r)
        for (std::size_t c = 0; c < p; ++c)
            h += d[r] * fit.slopeInverse[r][c] * d[c];
    return std::max(0.0, h);
}

}  // namespace dalvex
