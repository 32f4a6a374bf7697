// Autocovariances, autocorrelations, cross-correlations and partial
// autocorrelations of series, from plain vectors (no store, no report).
// The correlation function of the time-series group and the ARIMA models
// both take their figures from here.
//
// Every figure is centred on the series' own mean and divided by n, the
// length of the series, at every lag (the biased estimator, whose
// correlation matrices are never indefinite):
//   c_k = (1/n) Σ_{t=0}^{n-1-k} (x_t - x̄)(y_{t+k} - ȳ),   k = 0 .. maxLag,
//   r_k = c_k / sqrt(c_xx(0) · c_yy(0)).
// Long series go through the Fourier transform (the same sums in
// O(n log n)); the means are taken in two passes, so a large common offset
// (1e7 + small noise) keeps its digits.
#pragma once

#include <optional>
#include <vector>

namespace dalvex {

// c_0 .. c_maxLag of x against y shifted by k; x and y have the same length
// n. Lags from n on have no pairs and are 0.
std::vector<double> CrossCovariances(const std::vector<double>& x, const std::vector<double>& y,
                                     int maxLag);
std::vector<double> Autocovariances(const std::vector<double>& x, int maxLag);

// r_0 .. r_maxLag; nothing when x or y is constant (its variance is 0 and
// no correlation is defined).
std::optional<std::vector<double>> LagCorrelations(const std::vector<double>& x,
                                                   const std::vector<double>& y, int maxLag);
std::optional<std::vector<double>> Autocorrelations(const std::vector<double>& x, int maxLag);

// The partial autocorrelations φ_11 .. φ_mm of the autocorrelations
// r_0 = 1, r_1 .. r_m, by the Durbin-Levinson recursion. The result stops
// early when the prediction error reaches 0 (a series exactly predictable
// from its past has no further partial correlation).
std::vector<double> PartialAutocorrelations(const std::vector<double>& r);

}  // namespace dalvex
