// ARIMA models of one series (method 18): the autoregressive order scan, the
// search of the orders' neighbourhood for the first model whose residuals
// pass the portmanteau test, the least-squares refinement, the forecast with
// its band and simulated continuations, and the Durbin-Watson check. Every
// stage computes from plain vectors into a named result; the report and the
// graphs are written apart (arima_report.h).
//
// Model (w the series after d differencings, centred on its mean μ):
//   w_t = a0 + Σ φ_i w_{t-i} + e_t - Σ θ_j e_{t-j},   a0 = (1 - Σ φ_i)·μ.
// The search and the refinement work on the centred series divided by its
// standard deviation, so every threshold below is free of the data's units.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace dalvex {

// How far long work got (done of total); false when the person stopped it.
using ProgressStep = std::function<bool(int done, int total)>;

// ---------------------------------------------------------------------------
// The order scan

struct ArOrderScanFigures {
    int m = 0;  // the highest order scanned
    // Partial autocorrelations φ_kk, k = 1 .. m (element k - 1).
    std::vector<double> partial;
    // The final prediction error v_k·(N + k)/(N - k) of orders k = 2 .. m
    // (element k - 2), v_k the prediction error relative to the variance.
    std::vector<double> predictionError;
};

// The scan of orders 1 .. min(Trunc(N / 2), 50, workWidth - 1) of `x`
// (N + 1 values). A constant series has nothing to scan (m = 0); the scan
// also ends early at an order that predicts the series exactly.
ArOrderScanFigures ScanArOrders(const std::vector<double>& x, int workWidth);

// ---------------------------------------------------------------------------
// The search

struct ArimaOrders {
    int p = 0, q = 0, d = 0;
    bool operator==(const ArimaOrders&) const = default;
};

// One consistent model: its orders, the mean μ and standard deviation of
// the differenced series it was fitted to, and its coefficients.
struct ArimaModelFit {
    ArimaOrders orders;
    double mean = 0;
    double sd = 1;
    std::vector<double> phi;    // φ_1 .. φ_p
    std::vector<double> theta;  // θ_1 .. θ_q
    double noiseVariance = 0;   // σ² in the series' units
};

// A candidate that could be estimated, with its portmanteau test.
struct ArimaCandidate {
    ArimaModelFit model;
    double chiSquare = 0;
    int df = 0;
    double significance = 0;
};

struct ArimaSearchFigures {
    std::vector<ArimaCandidate> tried;  // in the order tried
    bool accepted = false;              // the last one tried passed the test
    // The model the later stages use: the accepted one or, when none passed,
    // the one with the highest significance; -1 when none could be estimated.
    int chosen = -1;
    bool cancelled = false;
};

// Candidates tried at most: q0 .. q0+2 inside p0 .. p0+2 inside d0 .. d0+2.
inline constexpr int ArimaCandidateCount = 27;

// The search from the orders `start` over the series `x`; `level` is the
// significance level the residuals must pass.
ArimaSearchFigures SearchArima(const std::vector<double>& x, ArimaOrders start, double level,
                               const ProgressStep& progress = {});

// Pieces of the search, each checked on its own.
// The series differenced d times.
std::vector<double> Differenced(std::vector<double> x, int d);
// The modified Yule-Walker estimate of p AR coefficients from the
// autocovariances c (c_0 .. c_{p+q} at least); empty with `ok` false when
// the equations have no usable solution.
std::vector<double> ModifiedYuleWalker(const std::vector<double>& c, int p, int q, bool& ok);
// τ_0 .. τ_q with Σ_{i=0}^{q-k} τ_i τ_{i+k} = γ_k, k = 0 .. q, by Newton's
// method; empty when it fails.
std::vector<double> MaFactor(const std::vector<double>& gamma);
// The one-step residuals of the centred series z: 0 before max(p, q).
std::vector<double> ArmaResiduals(const std::vector<double>& z, const std::vector<double>& phi,
                                  const std::vector<double>& theta);
struct Portmanteau {
    double chiSquare = 0;
    int df = 0;
    double significance = 1;
};
// The portmanteau test of residuals e of a model with p + q coefficients on
// a series differenced d times.
Portmanteau PortmanteauTest(const std::vector<double>& e, int p, int q, int d);

// ---------------------------------------------------------------------------
// The refinement

struct ArimaRefinement {
    ArimaModelFit model;      // the refined coefficients and σ² = S / n
    double sumOfSquares = 0;  // S in the series' units
    int iterations = 0;
    bool iterationLimit = false;  // stopped after the last allowed iteration
    bool cancelled = false;
    double intercept = 0;  // a0 = (1 - Σ φ)·μ
    // The AR polynomial times (1 - B)^d: A_1 .. A_{p+d} of the undifferenced
    // series.
    std::vector<double> expanded;
};

inline constexpr int RefinementIterationLimit = 125;

// Least squares by steepest descent with a quadratic line search, from the
// search's model, on the series `x` (undifferenced).
// `progress` hears of every iteration (of RefinementIterationLimit); when it
// answers false the descent stops with `cancelled`.
ArimaRefinement RefineArima(const std::vector<double>& x, const ArimaModelFit& start,
                            const ProgressStep& progress = {});

// (1 - Σ φ_i B^i)(1 - B)^d as 1 - Σ A_k B^k: A_1 .. A_{p+d}.
std::vector<double> ExpandDifferencing(const std::vector<double>& phi, int d);

// ---------------------------------------------------------------------------
// The forecast

struct ArimaForecastFigures {
    std::vector<double> time;                // t0 + Δt·(N + j), j = 1 .. h
    std::vector<double> mean;                // the mean forecast
    std::vector<double> psi;                 // ψ_1 .. ψ_h
    std::vector<double> halfWidth;           // w_j
    double z = 0;                            // the normal quantile of the band
    double sigmaTail = 0;                    // σ̂ of the tail residuals
    std::vector<std::vector<double>> paths;  // three simulated continuations
};

// The program's generator: seed := seed·134775813 + 1 (mod 2^32), value
// seed·2^-32.
double NextUniform(std::uint32_t& seed);
// A standard normal number by the polar method (two uniforms in (-1, 1)).
double PolarNormal(std::uint32_t& seed);

// The forecast of h steps from the last `tailLength` values of `x`, with a
// band at significance level `level`, and three simulated paths drawn from
// `seed`.
ArimaForecastFigures ForecastArima(const std::vector<double>& x, const ArimaRefinement& model,
                                   int h, int tailLength, double t0, double dt, double level,
                                   std::uint32_t& seed);

// ψ_1 .. ψ_h of the undifferenced model.
std::vector<double> PsiWeights(const std::vector<double>& expanded,
                               const std::vector<double>& theta, int h);

// ---------------------------------------------------------------------------
// The residual check

struct DurbinWatsonFigures {
    bool defined = false;  // false when the residuals are all equal
    double r = 0;          // half the Durbin-Watson statistic, about 1 - ρ_1
    double significance = 1;
    std::vector<double> residuals;  // the fitted model's, t = max(p, q) .. n - 1
};

// The residuals of the refined model on the centred differenced series.
DurbinWatsonFigures DurbinWatsonCheck(const std::vector<double>& x, const ArimaModelFit& model);

}  // namespace dalvex
