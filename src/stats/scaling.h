// Multidimensional scaling computed from a triangle of given distances into
// named results: the classical (Torgerson) solution, the fitted distances of
// a configuration under four metrics with the line through them, the four
// stresses, the correlation of given and fitted distances, and the
// non-metric descent with Kruskal's step-size rule. Nothing here touches the
// store or writes a line; scaling_report.h does the dialogs and the report.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "stats/cluster_analysis.h"

namespace dalvex {

// A configuration: coordinates[l][i] is object i on dimension l.
using Configuration = std::vector<std::vector<double>>;

struct ClassicalSolution {
    std::vector<double> eigenvalues;  // descending; negative ones set to 0
    Configuration coordinates;        // all k dimensions
    bool negativeSet = false;         // an eigenvalue clearly below 0 was set to 0
    bool converged = true;
    bool cancelled = false;
};

using ScalingProgress = std::function<bool(double share)>;

// B = -1/2 J D² J decomposed by Jacobi's method; object i on axis j is
// v_ij sqrt(lambda_j).
ClassicalSolution TorgersonScaling(const DistanceTriangle& given,
                                   const ScalingProgress& progress = {});

enum class Metric { Euclid = 1, Manhattan, Minkowski, Kolmogorov };

struct MetricChoice {
    Metric metric = Metric::Euclid;
    double exponent = 2;          // Minkowski and Kolmogorov
    std::vector<double> weights;  // Kolmogorov, per dimension (missing ones 1)

    double Weight(int dimension) const;
    double Exponent() const;  // 2, 1 or the exponent, as the metric wants
};

DistanceTriangle FittedDistances(const Configuration& x, const MetricChoice& metric);

enum class StressType { Kruskal1 = 1, Kruskal2, Kruskal3, Gower };

struct StressFigures {
    double intercept = 0, slope = 0;  // the line D ~ a + b d
    double meanFitted = 0;
    std::array<double, 4> stress{};
};

// The least-squares line of the fitted distances on the given ones, and the
// four stresses of its residuals e = a + b d - D: sqrt(Σe²/ΣD²),
// sqrt(Σ(e/D)²) (pairs at D = 0 left out), sqrt(Σe²/(ΣD² - N D̄²)) and
// Σe²d. A stress whose denominator is 0 is 0 (every fitted distance equal).
StressFigures Stresses(const DistanceTriangle& given, const DistanceTriangle& fitted);

// Pearson's correlation of the given distances with the Euclidean distances
// of the first `dimensions` coordinates; 0 when either is constant.
double DistanceCorrelation(const DistanceTriangle& given, const Configuration& x, int dimensions);

struct NonmetricResult {
    Configuration coordinates;
    int iterations = 0;
    bool capped = false;  // the iteration cap was reached
    bool cancelled = false;
    double stress = 0;
};

inline constexpr int MaxScalingIterations = 1000;

// Steepest descent of the stress from `start`, the step set by Kruskal's
// rule, until the stress ratio settles (|r - 1| < 0.0005), the stress is 0,
// or `cap` iterations have been made.
NonmetricResult NonmetricScaling(const DistanceTriangle& given, Configuration start,
                                 StressType type, const MetricChoice& metric,
                                 const ScalingProgress& progress = {},
                                 int cap = MaxScalingIterations);

}  // namespace dalvex
