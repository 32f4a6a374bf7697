#include "numeric/splines.h"

#include <algorithm>
#include <cmath>

#include "numeric/progression.h"

namespace dalvex {

namespace {

std::vector<double> Steps(const std::vector<double>& x) {
    std::vector<double> h(x.size() - 1);
    for (std::size_t i = 0; i + 1 < x.size(); ++i)
        h[i] = x[i + 1] - x[i];
    return h;
}

// The pieces of a cubic Hermite curve through the points with slopes `s`.
CubicPieces FromSlopes(const std::vector<double>& x, const std::vector<double>& y,
                       const std::vector<double>& s) {
    const std::size_t m = x.size() - 1;
    CubicPieces c{x, y, std::vector<double>(m), std::vector<double>(m), std::vector<double>(m)};
    for (std::size_t i = 0; i < m; ++i) {
        const double h = x[i + 1] - x[i];
        const double d = (y[i + 1] - y[i]) / h;
        c.c1[i] = s[i];
        c.c2[i] = (3 * d - 2 * s[i] - s[i + 1]) / h;
        c.c3[i] = (s[i] + s[i + 1] - 2 * d) / (h * h);
    }
    return c;
}

// The pieces of the cubic spline with values `g` and second derivatives
// `gamma` at the knots.
CubicPieces FromCurvatures(const std::vector<double>& x, std::vector<double> g,
                           const std::vector<double>& gamma) {
    const std::size_t m = x.size() - 1;
    CubicPieces c{x, std::move(g), std::vector<double>(m), std::vector<double>(m),
                  std::vector<double>(m)};
    for (std::size_t i = 0; i < m; ++i) {
        const double h = x[i + 1] - x[i];
        c.c1[i] = (c.values[i + 1] - c.values[i]) / h - h * (2 * gamma[i] + gamma[i + 1]) / 6;
        c.c2[i] = gamma[i] / 2;
        c.c3[i] = (gamma[i + 1] - gamma[i]) / (6 * h);
    }
    return c;
}

// A symmetric positive definite matrix with two bands beside its diagonal,
// factored as L D L' (L unit lower triangular with two sub-diagonals).
class FiveBand {
  public:
    // Row j: a0[j] on the diagonal, a1[j] at (j, j + 1), a2[j] at (j, j + 2).
    FiveBand(const std::vector<double>& a0, const std::vector<double>& a1,
             const std::vector<double>& a2)
        : d_(a0.size()), l1_(a0.size(), 0.0), l2_(a0.size(), 0.0) {
        const std::size_t n = a0.size();
        for (std::size_t j = 0; j < n; ++j) {
            double dj = a0[j];
            if (j >= 1)
                dj -= l1_[j - 1] * l1_[j - 1] * d_[j - 1];
            if (j >= 2)
                dj -= l2_[j - 2] * l2_[j - 2] * d_[j - 2];
            d_[j] = dj;
            if (j + 1 < n) {
                double a = a1[j];
                if (j >= 1)
                    a -= l2_[j - 1] * d_[j - 1] * l1_[j - 1];
                l1_[j] = a / dj;
            }
            if (j + 2 < n)
                l2_[j] = a2[j] / dj;
        }
    }

    std::vector<double> Solve(std::vector<double> b) const {
        const std::size_t n = b.size();
        for (std::size_t j = 0; j < n; ++j) {
            if (j >= 1)
                b[j] -= l1_[j - 1] * b[j - 1];
            if (j >= 2)
                b[j] -= l2_[j - 2] * b[j - 2];
        }
        for (std::size_t j = 0; j < n; ++j)
            b[j] /= d_[j];
        for (std::size_t j = n; j-- > 0;) {
            if (j + 1 < n)
                b[j] -= l1_[j] * b[j + 1];
            if (j + 2 < n)
                b[j] -= l2_[j] * b[j + 2];
        }
        return b;
    }

  private:
    std::vector<double> d_, l1_, l2_;
};

// Reinsch's matrices over the interior knots: Q' (second divided
// differences) applied to a vector of knot values, Q applied to a vector of
// interior values, and the tridiagonal T of the curvature integral.
struct ReinschSystem {
    std::vector<double> h;

    std::size_t interior() const { return h.size() - 1; }

    std::vector<double> QtTimes(const std::vector<double>& y) const {
        std::vector<double> r(interior());
        for (std::size_t j = 0; j < r.size(); ++j)
            r[j] = (y[j + 2] - y[j + 1]) / h[j + 1] - (y[j + 1] - y[j]) / h[j];
        return r;
    }

    std::vector<double> QTimes(const std::vector<double>& u) const {
        std::vector<double> r(h.size() + 1, 0.0);
        for (std::size_t j = 0; j < u.size(); ++j) {
            // Interior knot j + 1 between intervals j and j + 1.
            r[j] += u[j] / h[j];
            r[j + 1] -= u[j] * (1 / h[j] + 1 / h[j + 1]);
            r[j + 2] += u[j] / h[j + 1];
        }
        return r;
    }

    std::vector<double> TTimes(const std::vector<double>& u) const {
        const std::size_t n = u.size();
        std::vector<double> r(n);
        for (std::size_t j = 0; j < n; ++j) {
            r[j] = (h[j] + h[j + 1]) / 3 * u[j];
            if (j >= 1)
                r[j] += h[j] / 6 * u[j - 1];
            if (j + 1 < n)
                r[j] += h[j + 1] / 6 * u[j + 1];
        }
        return r;
    }

    // Q'Q + p T.
    FiveBand Matrix(double p) const {
        const std::size_t n = interior();
        std::vector<double> a0(n), a1(n, 0.0), a2(n, 0.0);
        for (std::size_t j = 0; j < n; ++j) {
            const double left = 1 / h[j];
            const double right = 1 / h[j + 1];
            a0[j] = left * left + (left + right) * (left + right) + right * right +
                    p * (h[j] + h[j + 1]) / 3;
            if (j + 1 < n) {
                const double further = 1 / h[j + 2];
                a1[j] = -(left + right) * right - right * (right + further) + p * h[j + 1] / 6;
            }
            if (j + 2 < n)
                a2[j] = right / h[j + 2];
        }
        return FiveBand(a0, a1, a2);
    }
};

double SquaredNorm(const std::vector<double>& v) {
    double s = 0;
    for (double e : v)
        s += e * e;
    return s;
}

double Dot(const std::vector<double>& a, const std::vector<double>& b) {
    double s = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        s += a[i] * b[i];
    return s;
}

}  // namespace

int SplineSteps(int requested, int points, int largest) {
    int steps = requested;
    if (steps < points - 1)
        steps = 5 * (points - 1);
    return std::max(1, std::min(steps, largest));
}

CubicPieces InterpolatingSpline(const std::vector<double>& x, const std::vector<double>& y) {
    const std::size_t n = x.size();
    const std::vector<double> h = Steps(x);
    std::vector<double> d(n - 1);
    for (std::size_t i = 0; i + 1 < n; ++i)
        d[i] = (y[i + 1] - y[i]) / h[i];
    std::vector<double> s(n);
    if (n == 3) {
        // Not-a-knot at the only inner knot leaves one cubic through three
        // points undetermined; the parabola is the one of least degree.
        const double c = (d[1] - d[0]) / (h[0] + h[1]);
        s[0] = d[0] - c * h[0];
        s[1] = d[0] + c * h[0];
        s[2] = d[0] + c * (h[0] + 2 * h[1]);
        return FromSlopes(x, y, s);
    }
    // Row i: lower[i] s[i-1] + diag[i] s[i] + upper[i] s[i+1] = rhs[i].
    std::vector<double> lower(n, 0.0), diag(n), upper(n, 0.0), rhs(n);
    // The first and last rows are the not-a-knot conditions (a continuous
    // third derivative at the second and the last but one knot) with the
    // neighbouring equation's third unknown eliminated.
    diag[0] = h[1];
    upper[0] = h[0] + h[1];
    rhs[0] = (d[0] * h[1] * (2 * h[1] + 3 * h[0]) + h[0] * h[0] * d[1]) / (h[0] + h[1]);
    for (std::size_t i = 1; i + 1 < n; ++i) {
        lower[i] = h[i];
        diag[i] = 2 * (h[i - 1] + h[i]);
        upper[i] = h[i - 1];
        rhs[i] = 3 * (h[i] * d[i - 1] + h[i - 1] * d[i]);
    }
    const std::size_t m = n - 1;
    const double a = h[m - 2], b = h[m - 1];
    lower[m] = a + b;
    diag[m] = a;
    rhs[m] = (d[m - 1] * a * (2 * a + 3 * b) + b * b * d[m - 2]) / (a + b);
    // Elimination down the diagonal, then back substitution.
    for (std::size_t i = 1; i < n; ++i) {
        const double f = lower[i] / diag[i - 1];
        diag[i] -= f * upper[i - 1];
        rhs[i] -= f * rhs[i - 1];
    }
    s[m] = rhs[m] / diag[m];
    for (std::size_t i = m; i-- > 0;)
        s[i] = (rhs[i] - upper[i] * s[i + 1]) / diag[i];
    return FromSlopes(x, y, s);
}

double SmoothingBound(const std::vector<double>& y, double coefficient) {
    const std::size_t n = y.size();
    if (n < 2)
        return 0.0;
    // Deviations from the first value first, so that data far from 0 keep
    // their digits.
    double mean = 0;
    for (double v : y)
        mean += v - y[0];
    mean = mean / static_cast<double>(n) + y[0];
    double ss = 0;
    for (double v : y)
        ss += (v - mean) * (v - mean);
    return static_cast<double>(n) * coefficient * (ss / static_cast<double>(n - 1));
}

CubicPieces SmoothingSpline(const std::vector<double>& x, const std::vector<double>& y,
                            double bound) {
    const std::size_t n = x.size();
    const ReinschSystem system{Steps(x)};
    const std::vector<double> qty = system.QtTimes(y);
    // Newton's method on F(p)^(-1/2) = S^(-1/2), F the residual sum of the
    // fit of parameter p, from p = 0 (the least-squares line): F falls with
    // growing p, and its inverse root is concave there, so the steps approach
    // the bound from above without passing it.
    double p = 0;
    std::vector<double> u;
    std::vector<double> residual;
    if (bound <= 0) {
        // Nothing may remain: the natural spline through the points, whose
        // curvatures solve T gamma = Q'y.
        const std::size_t m = system.interior();
        std::vector<double> a0(m), a1(m, 0.0), a2(m, 0.0);
        for (std::size_t j = 0; j < m; ++j) {
            a0[j] = (system.h[j] + system.h[j + 1]) / 3;
            if (j + 1 < m)
                a1[j] = system.h[j + 1] / 6;
        }
        std::vector<double> gamma(n, 0.0);
        const std::vector<double> inner = FiveBand(a0, a1, a2).Solve(qty);
        std::copy(inner.begin(), inner.end(), gamma.begin() + 1);
        return FromCurvatures(x, y, gamma);
    }
    for (int iteration = 0;; ++iteration) {
        const FiveBand matrix = system.Matrix(p);
        u = matrix.Solve(qty);
        residual = system.QTimes(u);
        const double f = SquaredNorm(residual);
        if (f <= bound * (1 + 1e-10) || iteration == 200)
            break;
        const std::vector<double> v = matrix.Solve(system.TTimes(u));
        const double slope = -2 * Dot(residual, system.QTimes(v));
        if (!(slope < 0))
            break;
        const double next = p + 2 * f * (1 - std::sqrt(f / bound)) / slope;
        // A step that does not move on would leave the side of the bound
        // the iteration keeps to.
        if (!(next > p) || !std::isfinite(next) || next - p <= 1e-15 * next)
            break;
        p = next;
    }
    std::vector<double> g(n), gamma(n, 0.0);
    for (std::size_t i = 0; i < n; ++i)
        g[i] = y[i] - residual[i];
    for (std::size_t j = 0; j < u.size(); ++j)
        gamma[j + 1] = p * u[j];
    return FromCurvatures(x, std::move(g), gamma);
}

void EvaluateOnGrid(const CubicPieces& spline, int steps, std::vector<double>& x,
                    std::vector<double>& y) {
    const double first = spline.knots.front();
    const double last = spline.knots.back();
    const std::size_t intervals = spline.knots.size() - 1;
    const double step = ProgressionStep(first, last, steps);
    x.resize(static_cast<std::size_t>(steps) + 1);
    y.resize(x.size());
    std::size_t i = 0;
    for (int k = 0; k <= steps; ++k) {
        const double at = ProgressionTerm(first, step, k);
        // The grid runs forward, so the interval is searched from the last one.
        while (i + 1 < intervals && spline.knots[i + 1] <= at)
            ++i;
        while (i > 0 && spline.knots[i] > at)
            --i;
        const double u = at - spline.knots[i];
        x[k] = at;
        y[k] = ((spline.c3[i] * u + spline.c2[i]) * u + spline.c1[i]) * u + spline.values[i];
    }
}

double SplineValue(const CubicPieces& spline, double x) {
    const auto it = std::upper_bound(spline.knots.begin(), spline.knots.end() - 1, x);
    std::size_t i =
        it == spline.knots.begin() ? 0 : static_cast<std::size_t>(it - spline.knots.begin()) - 1;
    i = std::min(i, spline.knots.size() - 2);
    const double u = x - spline.knots[i];
    return ((spline.c3[i] * u + spline.c2[i]) * u + spline.c1[i]) * u + spline.values[i];
}

}  // namespace dalvex
