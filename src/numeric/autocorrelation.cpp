#include "numeric/autocorrelation.h"

#include <algorithm>
#include <cmath>
#include <complex>

#include "numeric/fourier.h"

namespace dalvex {

namespace {

// Deviations from the mean, the mean corrected by a second pass over the
// deviations so that an offset far above the spread loses nothing. Each value
// is divided before it is added, so values near the largest double do not
// overflow the sum; a constant series has deviations of exactly 0.
std::vector<double> Centred(const std::vector<double>& x) {
    std::vector<double> d(x.size(), 0.0);
    const auto [low, high] = std::minmax_element(x.begin(), x.end());
    if (low == x.end() || *low == *high)
        return d;
    const double n = static_cast<double>(x.size());
    double mean = 0;
    for (double v : x)
        mean += v / n;
    double correction = 0;
    for (double v : x)
        correction += (v - mean) / n;
    mean += correction;
    for (std::size_t i = 0; i < x.size(); ++i)
        d[i] = x[i] - mean;
    return d;
}

// The deviations divided by a power of two near the largest of them: a
// correlation does not depend on the scale, and so values near 1e300 or
// 1e-300 neither overflow nor vanish when squared.
std::vector<double> ScaledToOne(std::vector<double> d) {
    double largest = 0;
    for (double v : d)
        largest = std::max(largest, std::fabs(v));
    if (largest > 0) {
        const int exponent = std::ilogb(largest);
        for (double& v : d)
            v = std::scalbn(v, -exponent);
    }
    return d;
}

bool Constant(const std::vector<double>& x) {
    const auto [low, high] = std::minmax_element(x.begin(), x.end());
    return low == x.end() || *low == *high;
}

// Σ_t a_t · b_{t+k} for k = 0 .. maxLag.
std::vector<double> LaggedProducts(const std::vector<double>& a, const std::vector<double>& b,
                                   int maxLag) {
    const std::size_t n = a.size();
    const std::size_t lags = static_cast<std::size_t>(maxLag) + 1;
    std::vector<double> sums(lags, 0.0);
    // Below this many products the direct sums are quicker than transforms.
    if (lags * n <= 200000) {
        for (std::size_t k = 0; k < lags; ++k) {
            double s = 0;
            for (std::size_t t = 0; t + k < n; ++t)
                s += a[t] * b[t + k];
            sums[k] = s;
        }
        return sums;
    }
    // The circular correlation of series padded with zeros to at least
    // n + maxLag: no lag up to maxLag wraps around.
    const std::size_t m = PowerOfTwoAtLeast(n + lags);
    std::vector<std::complex<double>> fa(m), fb(m);
    for (std::size_t t = 0; t < n; ++t) {
        fa[t] = a[t];
        fb[t] = b[t];
    }
    FourierTransform(fa);
    FourierTransform(fb);
    for (std::size_t j = 0; j < m; ++j)
        fa[j] = std::conj(fa[j]) * fb[j];
    FourierTransform(fa, true);
    for (std::size_t k = 1; k < lags && k < n; ++k)
        sums[k] = fa[k].real() / static_cast<double>(m);
    // Lag 0 summed directly: a series against itself then gives exactly 1.
    for (std::size_t t = 0; t < n; ++t)
        sums[0] += a[t] * b[t];
    return sums;
}

}  // namespace

std::vector<double> CrossCovariances(const std::vector<double>& x, const std::vector<double>& y,
                                     int maxLag) {
    std::vector<double> c = LaggedProducts(Centred(x), Centred(y), maxLag);
    const double n = static_cast<double>(x.size());
    for (double& v : c)
        v /= n;
    return c;
}

std::vector<double> Autocovariances(const std::vector<double>& x, int maxLag) {
    return CrossCovariances(x, x, maxLag);
}

std::optional<std::vector<double>> LagCorrelations(const std::vector<double>& x,
                                                   const std::vector<double>& y, int maxLag) {
    if (Constant(x) || Constant(y))
        return std::nullopt;
    const std::vector<double> dx = ScaledToOne(Centred(x));
    const std::vector<double> dy = ScaledToOne(Centred(y));
    double sxx = 0, syy = 0;
    for (double v : dx)
        sxx += v * v;
    for (double v : dy)
        syy += v * v;
    std::vector<double> r = LaggedProducts(dx, dy, maxLag);
    // sqrt of a rounded square gives the number back: r_0 of a series with
    // itself is exactly 1.
    const double scale = std::sqrt(sxx * syy);
    for (double& v : r)
        v = std::clamp(v / scale, -1.0, 1.0);
    return r;
}

std::optional<std::vector<double>> Autocorrelations(const std::vector<double>& x, int maxLag) {
    return LagCorrelations(x, x, maxLag);
}

std::vector<double> PartialAutocorrelations(const std::vector<double>& r) {
    std::vector<double> partial;
    if (r.size() < 2)
        return partial;
    const std::size_t m = r.size() - 1;
    std::vector<double> phi(m + 1, 0.0), previous(m + 1, 0.0);
    double error = 1;  // the prediction error variance relative to r_0
    for (std::size_t k = 1; k <= m; ++k) {
        double numerator = r[k];
        for (std::size_t j = 1; j < k; ++j)
            numerator -= previous[j] * r[k - j];
        if (!(error > 0))
            break;
        const double pkk = numerator / error;
        phi[k] = pkk;
        for (std::size_t j = 1; j < k; ++j)
            phi[j] = previous[j] - pkk * previous[k - j];
        partial.push_back(pkk);
        error *= 1 - pkk * pkk;
        previous = phi;
    }
    return partial;
}

}  // namespace dalvex
