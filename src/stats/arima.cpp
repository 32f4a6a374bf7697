#include "stats/arima.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "numeric/autocorrelation.h"
#include "numeric/distributions.h"

namespace dalvex {

namespace {

double Mean(const std::vector<double>& x) {
    // Two passes: a large common offset keeps the digits of the mean; each
    // value divided first, so values near the largest double do not overflow.
    const double n = static_cast<double>(x.size());
    double m = 0;
    for (double v : x)
        m += v / n;
    double correction = 0;
    for (double v : x)
        correction += (v - m) / n;
    return m + correction;
}

// The deviations from the mean divided by the largest of them, so that
// squares neither overflow nor vanish for values near 1e300 or 1e-300; the
// divisor is 0 for a constant series.
std::vector<double> ScaledDeviations(const std::vector<double>& x, double mean, double& divisor) {
    divisor = 0;
    for (double v : x)
        divisor = std::max(divisor, std::fabs(v - mean));
    std::vector<double> d(x.size(), 0.0);
    if (divisor > 0 && std::isfinite(divisor))
        for (std::size_t i = 0; i < x.size(); ++i)
            d[i] = (x[i] - mean) / divisor;
    return d;
}

// A residual that runs away (a model that cannot be inverted) is held below
// 1e10 standard deviations, so sums of squares stay finite.
double Held(double e) {
    while (std::fabs(e) > 1e10)
        e /= 10;
    return e;
}

}  // namespace

// ---------------------------------------------------------------------------

ArOrderScanFigures ScanArOrders(const std::vector<double>& x, int workWidth) {
    ArOrderScanFigures scan;
    const int last = static_cast<int>(x.size()) - 1;  // N
    int m = std::min(last / 2, 50);
    if (m >= workWidth)
        m = workWidth - 1;
    if (m < 1)
        return scan;
    double divisor = 0;
    const std::vector<double> c = Autocovariances(ScaledDeviations(x, Mean(x), divisor), m);
    if (!(c[0] > 0) || !std::isfinite(divisor))
        return scan;
    std::vector<double> r(c.size());
    for (std::size_t k = 0; k < c.size(); ++k)
        r[k] = c[k] / c[0];
    scan.partial = PartialAutocorrelations(r);
    scan.m = static_cast<int>(scan.partial.size());
    double v = 1;
    for (int k = 1; k <= scan.m; ++k) {
        const double f = scan.partial[k - 1];
        v *= 1 - f * f;
        if (k >= 2)
            scan.predictionError.push_back(v * (last + k) / (last - k));
    }
    return scan;
}

// ---------------------------------------------------------------------------

std::vector<double> Differenced(std::vector<double> x, int d) {
    for (int pass = 0; pass < d && !x.empty(); ++pass) {
        for (std::size_t i = 0; i + 1 < x.size(); ++i)
            x[i] = x[i + 1] - x[i];
        x.pop_back();
    }
    return x;
}

namespace {

// LU decomposition with scaled partial pivoting: each row weighed by the
// reciprocal of its largest element. False on a zero pivot.
bool SolveScaledPivoting(std::vector<std::vector<double>> a, std::vector<double>& b) {
    const int n = static_cast<int>(b.size());
    std::vector<double> scale(n);
    for (int i = 0; i < n; ++i) {
        double big = 0;
        for (double v : a[i])
            big = std::max(big, std::fabs(v));
        if (big == 0)
            return false;
        scale[i] = 1 / big;
    }
    for (int k = 0; k < n; ++k) {
        int pivot = k;
        double best = -1;
        for (int i = k; i < n; ++i) {
            const double weight = std::fabs(a[i][k]) * scale[i];
            if (weight > best) {
                best = weight;
                pivot = i;
            }
        }
        if (a[pivot][k] == 0)
            return false;
        std::swap(a[pivot], a[k]);
        std::swap(b[pivot], b[k]);
        std::swap(scale[pivot], scale[k]);
        for (int i = k + 1; i < n; ++i) {
            const double f = a[i][k] / a[k][k];
            a[i][k] = f;
            for (int j = k + 1; j < n; ++j)
                a[i][j] -= f * a[k][j];
            b[i] -= f * b[k];
        }
    }
    for (int i = n - 1; i >= 0; --i) {
        double s = b[i];
        for (int j = i + 1; j < n; ++j)
            s -= a[i][j] * b[j];
        b[i] = s / a[i][i];
    }
    return true;
}

}  // namespace

std::vector<double> ModifiedYuleWalker(const std::vector<double>& c, int p, int q, bool& ok) {
    ok = false;
    auto cov = [&](int k) { return c[static_cast<std::size_t>(std::abs(k))]; };
    if (p == 1) {
        if (cov(q) == 0)
            return {};
        ok = true;
        return {cov(q + 1) / cov(q)};
    }
    if (p == 2) {
        const double det = cov(q) * cov(q) - cov(q + 1) * cov(q - 1);
        if (det == 0)
            return {};
        ok = true;
        return {(cov(q + 1) * cov(q) - cov(q + 2) * cov(q - 1)) / det,
                (cov(q) * cov(q + 2) - cov(q + 1) * cov(q + 1)) / det};
    }
    std::vector<std::vector<double>> a(p, std::vector<double>(p));
    std::vector<double> phi(p);
    double largestC = 0;
    for (int i = 1; i <= p; ++i) {
        for (int j = 1; j <= p; ++j)
            a[i - 1][j - 1] = cov(q + i - j);
        phi[i - 1] = cov(q + i);
        largestC = std::max(largestC, std::fabs(cov(q + i)));
    }
    if (!SolveScaledPivoting(std::move(a), phi))
        return {};
    // A nearly singular system answers with huge coefficients. The bound is
    // taken against the autocorrelations, so it does not depend on the units.
    const double c0 = cov(0);
    double largestPhi = 0;
    for (double f : phi)
        largestPhi = std::max(largestPhi, std::fabs(f));
    if (!std::isfinite(largestPhi) || c0 <= 0 || largestPhi > 100 * largestC / c0)
        return {};
    ok = true;
    return phi;
}

// ---------------------------------------------------------------------------

namespace {

// Gaussian elimination choosing the largest available pivot of each column.
bool SolveLargestPivot(std::vector<std::vector<double>>& a, std::vector<double>& b) {
    const int n = static_cast<int>(b.size());
    for (int k = 0; k < n; ++k) {
        int pivot = k;
        for (int i = k + 1; i < n; ++i)
            if (std::fabs(a[i][k]) > std::fabs(a[pivot][k]))
                pivot = i;
        if (a[pivot][k] == 0)
            return false;
        std::swap(a[pivot], a[k]);
        std::swap(b[pivot], b[k]);
        for (int i = k + 1; i < n; ++i) {
            const double f = a[i][k] / a[k][k];
            for (int j = k; j < n; ++j)
                a[i][j] -= f * a[k][j];
            b[i] -= f * b[k];
        }
    }
    for (int i = n - 1; i >= 0; --i) {
        double s = b[i];
        for (int j = i + 1; j < n; ++j)
            s -= a[i][j] * b[j];
        b[i] = s / a[i][i];
    }
    return true;
}

}  // namespace

std::vector<double> MaFactor(const std::vector<double>& gamma) {
    const int q = static_cast<int>(gamma.size()) - 1;
    if (q < 0 || !(gamma[0] > 0))
        return {};
    std::vector<double> tau(q + 1, 0.0);
    tau[0] = std::sqrt(gamma[0]);
    const double tolerance = 0.001 * gamma[0];
    constexpr double Small = 0.00005;
    auto residuals = [&](const std::vector<double>& t) {
        std::vector<double> res(q + 1);
        for (int k = 0; k <= q; ++k) {
            double s = 0;
            for (int i = 0; i + k <= q; ++i)
                s += t[i] * t[i + k];
            res[k] = s - gamma[k];
        }
        return res;
    };
    bool restarted = false;
    int settled = 0;
    for (int pass = 1; pass <= 100; ++pass) {
        const std::vector<double> res = residuals(tau);
        double largest = 0;
        for (double r : res)
            largest = std::max(largest, std::fabs(r));
        if (!std::isfinite(largest))
            return {};
        if (largest < tolerance)
            break;
        // The forward differences of these quadratic equations, taken
        // exactly: a step h of τ_m changes equation k by h·(τ_{m+k} + τ_{m-k}),
        // and equation 0 by h² more. Being exact they need no cut-off for
        // noise: a change below a fixed size is a true derivative all the
        // same (τ_0 < 1 with the step 0.00005 of a τ_m near 0), and cutting it
        // made the system singular.
        std::vector<std::vector<double>> jacobian(q + 1, std::vector<double>(q + 1));
        for (int m = 0; m <= q; ++m) {
            double h = std::fabs(tau[m]) < Small ? Small : 0.001 * std::fabs(tau[m]);
            if (largest < h)
                h = std::max(largest, Small);
            for (int k = 0; k <= q; ++k) {
                double change = 0;
                if (m + k <= q)
                    change += tau[m + k];
                if (m - k >= 0)
                    change += tau[m - k];
                change *= h;
                if (k == 0)
                    change += h * h;
                jacobian[k][m] = change / h;
            }
        }
        std::vector<double> step(q + 1);
        for (int k = 0; k <= q; ++k)
            step[k] = -res[k];
        if (!SolveLargestPivot(jacobian, step)) {
            if (restarted)
                return {};
            restarted = true;
            for (double& t : tau)
                t = t * 0.9 + 0.12345;
            settled = 0;
            continue;
        }
        bool converged = true;
        for (int i = 0; i <= q; ++i) {
            const double next = tau[i] + step[i];
            // A diverging iteration ends before its products can overflow.
            if (!std::isfinite(next) || std::fabs(next) > 1e100)
                return {};
            if (std::fabs(next - tau[i]) > 0.01 * std::fabs(next))
                converged = false;
            tau[i] = next;
        }
        settled = pass >= 2 && converged ? settled + 1 : 0;
        if (settled == 2)
            break;
        if (pass == 100)
            return {};
    }
    for (double& t : tau)
        if (std::fabs(t) <= 0.002)
            t = 0;
    if (!(tau[0] > 0))
        return {};
    return tau;
}

std::vector<double> ArmaResiduals(const std::vector<double>& z, const std::vector<double>& phi,
                                  const std::vector<double>& theta) {
    const int n = static_cast<int>(z.size());
    const int p = static_cast<int>(phi.size());
    const int q = static_cast<int>(theta.size());
    std::vector<double> e(n, 0.0);
    for (int t = std::max(p, q); t < n; ++t) {
        double s = z[t];
        for (int i = 1; i <= p; ++i)
            s -= phi[i - 1] * z[t - i];
        for (int j = 1; j <= q; ++j)
            s += theta[j - 1] * e[t - j];
        e[t] = Held(s);
    }
    return e;
}

Portmanteau PortmanteauTest(const std::vector<double>& e, int p, int q, int d) {
    const int n = static_cast<int>(e.size());
    Portmanteau test;
    test.df = n / 10;
    const int lags = std::min(p + q + test.df, n - 1);
    const std::vector<double> r = Autocovariances(e, lags);
    double sum = 0;
    if (r[0] > 0)
        for (int k = 1; k <= lags; ++k)
            sum += (r[k] / r[0]) * (r[k] / r[0]);
    test.chiSquare = (n - d) * sum;
    test.significance = ChiSquareTail(test.chiSquare, test.df);
    return test;
}

// ---------------------------------------------------------------------------

namespace {

// The differenced series at one d, centred and in units of its standard
// deviation, with its autocorrelations.
struct Prepared {
    int d = 0;
    double mean = 0, sd = 0;
    std::vector<double> z;
    std::vector<double> r;  // autocorrelations 0 .. maxLag
};

Prepared Prepare(const std::vector<double>& differenced, int d, int maxLag) {
    Prepared prep;
    prep.d = d;
    prep.mean = Mean(differenced);
    const int n = static_cast<int>(differenced.size());
    double divisor = 0;
    prep.z = ScaledDeviations(differenced, prep.mean, divisor);
    const std::vector<double> c = Autocovariances(prep.z, std::min(maxLag, n - 1));
    if (!(c[0] > 0) || !std::isfinite(divisor)) {
        prep.z.clear();
        return prep;
    }
    const double sdScaled = std::sqrt(c[0]);
    prep.sd = divisor * sdScaled;
    for (double& v : prep.z)
        v /= sdScaled;
    prep.r.assign(static_cast<std::size_t>(maxLag) + 1, 0.0);
    for (std::size_t k = 0; k < c.size(); ++k)
        prep.r[k] = c[k] / c[0];
    return prep;
}

// γ_k of the AR-filtered series, k = 0 .. q.
std::vector<double> FilteredAutocovariances(const std::vector<double>& r,
                                            const std::vector<double>& phi, int q) {
    const int p = static_cast<int>(phi.size());
    std::vector<double> weight(p + 1);
    weight[0] = -1;
    for (int i = 1; i <= p; ++i)
        weight[i] = phi[i - 1];
    std::vector<double> gamma(q + 1);
    for (int k = 0; k <= q; ++k) {
        double s = 0;
        for (int i = 0; i <= p; ++i)
            for (int j = 0; j <= p; ++j)
                s += weight[i] * weight[j] * r[static_cast<std::size_t>(std::abs(k + i - j))];
        gamma[k] = s;
    }
    return gamma;
}

}  // namespace

ArimaSearchFigures SearchArima(const std::vector<double>& x, ArimaOrders start, double level,
                               const ProgressStep& progress) {
    ArimaSearchFigures search;
    const int maxLag = start.p + start.q + 4;
    std::vector<double> differenced = Differenced(x, start.d);
    int step = 0;
    for (int d = start.d; d <= start.d + 2; ++d) {
        if (d > start.d)
            differenced = Differenced(std::move(differenced), 1);
        const Prepared prep = Prepare(differenced, d, maxLag);
        for (int p = start.p; p <= start.p + 2; ++p) {
            // The AR estimate of this p is made with the first q and kept
            // while q grows.
            bool arOk = true;
            std::vector<double> phi;
            if (prep.sd > 0 && p > 0)
                phi = ModifiedYuleWalker(prep.r, p, start.q, arOk);
            for (int q = start.q; q <= start.q + 2; ++q) {
                ++step;
                if (progress && !progress(step, ArimaCandidateCount)) {
                    search.cancelled = true;
                    return search;
                }
                if (prep.sd == 0 || !arOk)
                    continue;
                std::vector<double> theta;
                double variance = 1;
                if (q > 0) {
                    const std::vector<double> tau =
                        MaFactor(FilteredAutocovariances(prep.r, phi, q));
                    if (tau.empty())
                        continue;
                    for (int j = 1; j <= q; ++j)
                        theta.push_back(-tau[j] / tau[0]);
                    variance = tau[0] * tau[0];
                } else {
                    variance = FilteredAutocovariances(prep.r, phi, 0)[0];
                }
                const Portmanteau test =
                    PortmanteauTest(ArmaResiduals(prep.z, phi, theta), p, q, d);
                ArimaCandidate candidate;
                candidate.model = {{p, q, d}, prep.mean, prep.sd,
                                   phi,       theta,     variance * prep.sd * prep.sd};
                candidate.chiSquare = test.chiSquare;
                candidate.df = test.df;
                candidate.significance = test.significance;
                search.tried.push_back(std::move(candidate));
                const int index = static_cast<int>(search.tried.size()) - 1;
                if (search.chosen < 0 ||
                    test.significance > search.tried[search.chosen].significance)
                    search.chosen = index;
                if (test.significance >= level) {
                    search.accepted = true;
                    search.chosen = index;
                    return search;
                }
            }
        }
    }
    return search;
}

// ---------------------------------------------------------------------------

std::vector<double> ExpandDifferencing(const std::vector<double>& phi, int d) {
    // Coefficients of the polynomial 1 - Σ φ_i B^i, then times (1 - B) d times.
    std::vector<double> poly(phi.size() + 1);
    poly[0] = 1;
    for (std::size_t i = 0; i < phi.size(); ++i)
        poly[i + 1] = -phi[i];
    for (int pass = 0; pass < d; ++pass) {
        std::vector<double> next(poly.size() + 1, 0.0);
        for (std::size_t i = 0; i < poly.size(); ++i) {
            next[i] += poly[i];
            next[i + 1] -= poly[i];
        }
        poly = std::move(next);
    }
    std::vector<double> a(poly.size() - 1);
    for (std::size_t k = 1; k < poly.size(); ++k)
        a[k - 1] = -poly[k];
    return a;
}

namespace {

struct SumOfSquares {
    const std::vector<double>& z;
    int p, q;

    // S of the coefficients β = (φ_1 .. φ_p, θ_1 .. θ_q), residuals into e.
    double operator()(const std::vector<double>& beta, std::vector<double>& e) const {
        const int n = static_cast<int>(z.size());
        e.assign(n, 0.0);
        double s = 0;
        for (int t = std::max(p, q); t < n; ++t) {
            double v = z[t];
            for (int i = 1; i <= p; ++i)
                v -= beta[i - 1] * z[t - i];
            for (int j = 1; j <= q; ++j)
                v += beta[p + j - 1] * e[t - j];
            e[t] = Held(v);
            s += e[t] * e[t];
        }
        return s;
    }

    // The gradient of S, from the residuals' derivative recursions taken
    // backwards (one pass for all coefficients).
    std::vector<double> Gradient(const std::vector<double>& beta,
                                 const std::vector<double>& e) const {
        const int n = static_cast<int>(z.size());
        const int t0 = std::max(p, q);
        std::vector<double> lambda(n, 0.0);
        for (int t = n - 1; t >= t0; --t) {
            double v = 2 * e[t];
            for (int k = 1; k <= q && t + k < n; ++k)
                v += beta[p + k - 1] * lambda[t + k];
            lambda[t] = Held(v);
        }
        std::vector<double> g(p + q, 0.0);
        for (int t = t0; t < n; ++t) {
            for (int i = 1; i <= p; ++i)
                g[i - 1] -= lambda[t] * z[t - i];
            for (int j = 1; j <= q; ++j)
                g[p + j - 1] += lambda[t] * e[t - j];
        }
        return g;
    }
};

}  // namespace

ArimaRefinement RefineArima(const std::vector<double>& x, const ArimaModelFit& start,
                            const ProgressStep& progress) {
    ArimaRefinement refined;
    refined.model = start;
    const int p = start.orders.p, q = start.orders.q;
    const std::vector<double> w = Differenced(x, start.orders.d);
    const double mean = start.mean;
    const double sd = start.sd > 0 ? start.sd : 1;
    std::vector<double> z(w.size());
    for (std::size_t i = 0; i < w.size(); ++i)
        z[i] = (w[i] - mean) / sd;

    const SumOfSquares sum{z, p, q};
    std::vector<double> beta = start.phi;
    beta.insert(beta.end(), start.theta.begin(), start.theta.end());
    std::vector<double> e, trialResiduals;
    double s = sum(beta, e);

    double scale = 0.1;
    double checked = s;
    const int checkEvery = std::max(4, p + q * q);
    int iterations = 0;
    for (;;) {
        if (scale < 1e-6)
            break;
        if (iterations >= RefinementIterationLimit) {
            refined.iterationLimit = true;
            break;
        }
        if (progress && !progress(iterations, RefinementIterationLimit)) {
            refined.cancelled = true;
            break;
        }
        ++iterations;
        const std::vector<double> g = sum.Gradient(beta, e);
        double largest = 0, g2 = 0;
        for (double v : g) {
            largest = std::max(largest, std::fabs(v));
            g2 += v * v;
        }
        if (!(largest > 0) || !std::isfinite(g2))
            break;
        const double lambda = scale / largest;
        auto moved = [&](double step) {
            std::vector<double> b = beta;
            for (std::size_t i = 0; i < b.size(); ++i)
                b[i] -= step * g[i];
            return b;
        };
        const std::vector<double> trial = moved(lambda);
        const double sTrial = sum(trial, trialResiduals);
        const double denominator = g2 * lambda + sTrial - s;
        // A nearly straight section would send the step far away: it moves a
        // coefficient by at most 100 at a time.
        double best = lambda;
        if (denominator > 0)
            best = std::min(0.5 * g2 * lambda * lambda / denominator, 1000 * lambda);
        if (best < lambda / 4)
            scale *= 0.25;
        std::vector<double> next = moved(best);
        std::vector<double> nextResiduals;
        double sNext = sum(next, nextResiduals);
        // The parabola can mislead on a curved surface: keep the trial step
        // when it is better, and never go uphill.
        if (sTrial < sNext) {
            next = trial;
            sNext = sTrial;
            nextResiduals = trialResiduals;
        }
        if (sNext < s) {
            beta = std::move(next);
            e = std::move(nextResiduals);
            s = sNext;
        } else if (best >= lambda / 4) {
            scale *= 0.25;
        }
        if (scale <= 0.01 && iterations >= 5 && iterations % checkEvery == 0) {
            if (std::fabs(checked - s) < s / 100000)
                break;
            checked = s;
        }
    }
    refined.iterations = iterations;
    refined.model.phi.assign(beta.begin(), beta.begin() + p);
    refined.model.theta.assign(beta.begin() + p, beta.end());
    refined.sumOfSquares = s * sd * sd;
    refined.model.noiseVariance = refined.sumOfSquares / static_cast<double>(w.size());
    double phiSum = 0;
    for (double f : refined.model.phi)
        phiSum += f;
    refined.intercept = (1 - phiSum) * mean;
    refined.expanded = ExpandDifferencing(refined.model.phi, start.orders.d);
    return refined;
}

// ---------------------------------------------------------------------------

double NextUniform(std::uint32_t& seed) {
    seed = seed * 134775813u + 1u;
    return seed * (1.0 / 4294967296.0);
}

double PolarNormal(std::uint32_t& seed) {
    for (;;) {
        const double u = 2 * NextUniform(seed) - 1;
        const double v = 2 * NextUniform(seed) - 1;
        const double s = u * u + v * v;
        if (s < 1 && s > 0)
            return u * std::sqrt(-2 * std::log(s) / s);
    }
}

std::vector<double> PsiWeights(const std::vector<double>& expanded,
                               const std::vector<double>& theta, int h) {
    const int big = static_cast<int>(expanded.size());
    const int q = static_cast<int>(theta.size());
    std::vector<double> psi(h + 1, 0.0);  // ψ_0 = 1 is implied in A_j
    for (int j = 1; j <= h; ++j) {
        double v = (j <= big ? expanded[j - 1] : 0) - (j <= q ? theta[j - 1] : 0);
        for (int i = 1; i < j && i <= big; ++i)
            v += expanded[i - 1] * psi[j - i];
        psi[j] = v;
    }
    psi.erase(psi.begin());
    return psi;
}

ArimaForecastFigures ForecastArima(const std::vector<double>& x, const ArimaRefinement& model,
                                   int h, int tailLength, double t0, double dt, double level,
                                   std::uint32_t& seed) {
    ArimaForecastFigures f;
    const std::vector<double>& a = model.expanded;
    const std::vector<double>& theta = model.model.theta;
    const int big = static_cast<int>(a.size());
    const int q = static_cast<int>(theta.size());
    const double a0 = model.intercept;
    const int last = static_cast<int>(x.size()) - 1;  // N
    const int tl = std::min(tailLength, last + 1);
    const std::vector<double> tail(x.end() - tl, x.end());

    // One-step residuals over the tail; its first p + d values start them.
    std::vector<double> e(tl, 0.0);
    double squares = 0;
    for (int t = big; t < tl; ++t) {
        double v = tail[t] - a0;
        for (int k = 1; k <= big; ++k)
            v -= a[k - 1] * tail[t - k];
        for (int j = 1; j <= q && t - j >= 0; ++j)
            v += theta[j - 1] * e[t - j];
        e[t] = v;
        squares += v * v;
    }
    f.sigmaTail = std::sqrt(squares / tl);
    f.z = NormalQuantile(1 - level / 2);
    f.psi = PsiWeights(a, theta, h);
    double psiSquares = 0;
    for (int j = 1; j <= h; ++j) {
        f.halfWidth.push_back(f.z * f.sigmaTail * std::sqrt(1 + psiSquares));
        psiSquares += f.psi[j - 1] * f.psi[j - 1];
        f.time.push_back(t0 + dt * (last + j));
    }

    // The mean forecast: observed values where they exist, earlier
    // forecasts after them; the residual terms reach back into the tail.
    std::vector<double> ext = tail;
    for (int j = 1; j <= h; ++j) {
        const int t = tl - 1 + j;
        double v = a0;
        for (int k = 1; k <= big; ++k)
            v += a[k - 1] * ext[t - k];
        for (int k = j; k <= q; ++k)
            if (t - k >= 0)
                v -= theta[k - 1] * e[t - k];
        ext.push_back(v);
        f.mean.push_back(v);
    }

    const double sigma = std::sqrt(model.model.noiseVariance);
    for (int path = 0; path < 3; ++path) {
        std::vector<double> eps(q + h);
        for (double& v : eps)
            v = sigma * PolarNormal(seed);
        std::vector<double> y(tail.end() - big, tail.end());
        for (int j = 1; j <= h; ++j) {
            double v = a0 + eps[q + j - 1];
            for (int k = 1; k <= q; ++k)
                v -= theta[k - 1] * eps[q + j - 1 - k];
            for (int k = 1; k <= big; ++k)
                v += a[k - 1] * y[y.size() - k];
            y.push_back(v);
        }
        f.paths.emplace_back(y.end() - h, y.end());
    }
    return f;
}

// ---------------------------------------------------------------------------

DurbinWatsonFigures DurbinWatsonCheck(const std::vector<double>& x, const ArimaModelFit& model) {
    DurbinWatsonFigures dw;
    const std::vector<double> w = Differenced(x, model.orders.d);
    const double sd = model.sd > 0 ? model.sd : 1;
    std::vector<double> z(w.size());
    for (std::size_t i = 0; i < w.size(); ++i)
        z[i] = (w[i] - model.mean) / sd;
    // The statistic from the residuals in standard deviations, which keep
    // their squares for any units; the residuals in the series' units after.
    const std::vector<double> all = ArmaResiduals(z, model.phi, model.theta);
    const int t0 = std::max(model.orders.p, model.orders.q);
    const std::vector<double> e(all.begin() + std::min<std::size_t>(t0, all.size()), all.end());
    for (double v : e)
        dw.residuals.push_back(v * sd);
    const int n = static_cast<int>(e.size());
    if (n < 2)
        return dw;
    const double mean = Mean(e);
    double spread = 0, jumps = 0;
    for (int t = 0; t < n; ++t) {
        spread += (e[t] - mean) * (e[t] - mean);
        if (t + 1 < n)
            jumps += (e[t] - e[t + 1]) * (e[t] - e[t + 1]);
    }
    if (!(spread > 0))
        return dw;
    dw.defined = true;
    dw.r = jumps / 2 / spread;
    dw.significance = 2 * NormalTail(std::sqrt(n + 2.0) * std::fabs(dw.r - 1));
    return dw;
}

}  // namespace dalvex
