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

PreparedColumns PrepareColumns(const std::vector<std::vector<double>>& columns, bool intercept) {
    PreparedColumns prepared;
    prepared.intercept = intercept;
    const std::size_t p = columns.size();
    prepared.means.assign(p, 0.0);
    prepared.scale.assign(p, 1.0);
    // What rounding the values to doubles leaves in a scaled column: a
    // column near 1e7 that is the sum of two others in decimals is not
    // quite their sum in binary, and that is no independence.
    prepared.tolerance.assign(p, RankTolerance);
    prepared.unit.assign(p, {});
    for (std::size_t j = 0; j < p; ++j) {
        const std::vector<double>& column = columns[j];
        std::vector<double>& a = prepared.unit[j];
        const std::size_t n = column.size();
        a.resize(n);
        prepared.means[j] = intercept ? Mean(column) : 0.0;
        // The length over the largest value: squares of values near 1e300
        // stay doubles.
        double largestCentred = 0;
        for (std::size_t i = 0; i < n; ++i) {
            a[i] = column[i] - prepared.means[j];
            largestCentred = std::max(largestCentred, std::fabs(a[i]));
        }
        double squares = 0;
        if (largestCentred > 0)
            for (double v : a)
                squares += (v / largestCentred) * (v / largestCentred);
        const double norm = largestCentred * std::sqrt(squares);
        // The covariance of the slopes divides by the square of this length:
        // below 1e-150 that square is no double, and X'X is singular as the
        // machine holds it.
        if (!(norm >= TinyColumnLength)) {
            prepared.singular = true;
            prepared.dependentColumn = static_cast<int>(j);
            return prepared;
        }
        prepared.scale[j] = norm;
        for (double& v : a)
            v /= norm;
        double largest = 0;
        for (double v : column)
            largest = std::max(largest, std::fabs(v));
        const double rounding = 16 * std::numeric_limits<double>::epsilon() *
                                std::sqrt(static_cast<double>(n)) * largest / norm;
        prepared.tolerance[j] = std::max(RankTolerance, rounding);
    }
    return prepared;
}

namespace {

// Householder QR of the unit columns `a` (in place: R in the upper triangle,
// the reflections below it) applied to b as well (Q'b). The first column
// found within its tolerance of the span of those before it, or -1.
int Householder(std::vector<std::vector<double>>& a, std::vector<double>& b,
                const std::vector<double>& tolerance, std::vector<double>& diagonal) {
    const std::size_t n = b.size();
    const std::size_t p = a.size();
    diagonal.assign(p, 0.0);
    for (std::size_t j = 0; j < p; ++j) {
        // The column has unit length and reflections keep it so: its
        // squares can neither overflow nor, where they matter, underflow.
        double squares = 0;
        for (std::size_t i = j; i < n; ++i)
            squares += a[j][i] * a[j][i];
        const double norm = std::sqrt(squares);
        if (norm <= tolerance[j])
            return static_cast<int>(j);
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
    return -1;
}

}  // namespace

ResidualFit FitResidual(const PreparedColumns& prepared, const std::vector<int>& chosen,
                        const std::vector<double>& y) {
    ResidualFit fit;
    const std::size_t n = y.size();
    const std::size_t p = chosen.size();
    if (prepared.singular || n < p + (prepared.intercept ? 1 : 0)) {
        fit.singular = true;
        fit.dependentColumn = prepared.dependentColumn;
        return fit;
    }
    const double yMean = prepared.intercept && n > 0 ? Mean(y) : 0.0;
    std::vector<double> b(n);
    for (std::size_t i = 0; i < n; ++i)
        b[i] = y[i] - yMean;
    std::vector<std::vector<double>> a;
    std::vector<double> tolerance;
    a.reserve(p);
    for (int c : chosen) {
        a.push_back(prepared.unit[static_cast<std::size_t>(c)]);
        tolerance.push_back(prepared.tolerance[static_cast<std::size_t>(c)]);
    }
    std::vector<double> diagonal;
    const int dependent = Householder(a, b, tolerance, diagonal);
    if (dependent >= 0) {
        fit.singular = true;
        fit.dependentColumn = chosen[static_cast<std::size_t>(dependent)];
        return fit;
    }
    // Q'b beyond the first p entries is what the columns leave of y.
    for (std::size_t i = p; i < n; ++i)
        fit.sse += b[i] * b[i];
    return fit;
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
    PreparedColumns prepared = PrepareColumns(columns, intercept);
    if (prepared.singular) {
        fit.singular = true;
        fit.dependentColumn = prepared.dependentColumn;
        return fit;
    }
    fit.means = std::move(prepared.means);
    const std::vector<double>& scale = prepared.scale;
    std::vector<std::vector<double>>& a = prepared.unit;
    const double yMean = intercept ? Mean(y) : 0.0;
    std::vector<double> b(n);
    for (std::size_t i = 0; i < n; ++i)
        b[i] = y[i] - yMean;

    // Householder QR: R in the upper triangle of a, Q'b in b.
    std::vector<double> diagonal;
    const int dependent = Householder(a, b, prepared.tolerance, diagonal);
    if (dependent >= 0) {
        fit.singular = true;
        fit.dependentColumn = dependent;
        return fit;
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
