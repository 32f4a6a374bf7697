// Robust kernel smoothing: at every point, the weighted median (Huber
// constant g <= 0) or the weighted Huber estimate of location (g > 0) of the
// Y values within half-width h of it, each weighted by a kernel of its
// distance. Used by simple regression's smoothing and by the smoothing
// method.
#pragma once

#include <optional>
#include <vector>

namespace dalvex {

enum class SmoothingKernel {
    Rectangular = 1,   // K(u) = 1
    Triangular = 2,    // K(u) = 1 - |u|
    Epanechnikov = 3,  // K(u) = 1 - u^2
};

// K(u) for |u| < 1, 0 beyond.
double KernelWeight(SmoothingKernel kernel, double u);

// The smoothed value at each x[j]: the observations with x[j] - h < X < x[j] + h
// take part, weighted by K((x[j] - X) / h). X must be in ascending order and
// h > 0; a point whose window holds no observation has no value. The window
// may be as wide as the data (no limit on its entries).
std::vector<std::optional<double>> RobustSmooth(const std::vector<double>& x,
                                                const std::vector<double>& y, double h, double g,
                                                SmoothingKernel kernel);

// The weighted median of values (ties in the order given): the value at which
// the running weight first passes half the total, or the mean of two values
// when it lands exactly on half.
double WeightedMedian(const std::vector<double>& values, const std::vector<double>& weights);
// The root m of sum w_i * psi(m - y_i) = 0 with psi(r) = max(-g, min(g, r));
// the middle of the interval of roots when there is one. g > 0.
double WeightedHuber(const std::vector<double>& values, const std::vector<double>& weights,
                     double g);

}  // namespace dalvex
