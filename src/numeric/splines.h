// Cubic splines through, or near, points of an X-Y pair: the interpolating
// spline with not-a-knot ends and Reinsch's smoothing spline, each as the
// pieces of a cubic per interval, and their values along an even grid.
#pragma once

#include <vector>

namespace dalvex {

// The fewest and most points a spline is fitted to.
inline constexpr int SplineMinPoints = 3;
inline constexpr int SplineMaxPoints = 500;

// A cubic per interval [knots[i], knots[i + 1]]: with u = x - knots[i],
// y = ((c3[i] u + c2[i]) u + c1[i]) u + values[i]. The last interval also
// carries the curve beyond the last knot, the first one before the first.
struct CubicPieces {
    std::vector<double> knots;
    std::vector<double> values;  // the spline at the knots
    std::vector<double> c1, c2, c3;
};

// The curve's number of steps d: the steps asked for, or 5 (n - 1) when they
// are fewer than the n - 1 intervals of n points; at most `largest`.
int SplineSteps(int requested, int points, int largest);

// The interpolating spline through points with strictly ascending `x`
// (at least SplineMinPoints of them): first derivatives at the knots from a
// tridiagonal solve with not-a-knot ends. Three points give their parabola.
CubicPieces InterpolatingSpline(const std::vector<double>& x, const std::vector<double>& y);

// Reinsch's smoothing spline through points with strictly ascending `x`
// (at least SplineMinPoints), all weights 1: the natural cubic spline g of
// least curvature with sum (y_i - g(x_i))^2 <= `bound`. A bound at least the
// residual sum of the least-squares line gives that line; a bound of 0 the
// interpolating natural spline.
CubicPieces SmoothingSpline(const std::vector<double>& x, const std::vector<double>& y,
                            double bound);

// The smoothing bound n k Var(Y) of a coefficient 0 < k < 1, Var with the
// divisor n - 1.
double SmoothingBound(const std::vector<double>& y, double coefficient);

// The spline's values at the grid x_k = first + (last - first) / steps * k,
// k = 0 .. steps, first and last being the outer knots: the grid in `x`, the
// values in `y`.
void EvaluateOnGrid(const CubicPieces& spline, int steps, std::vector<double>& x,
                    std::vector<double>& y);

// The spline's value at one point.
double SplineValue(const CubicPieces& spline, double x);

}  // namespace dalvex
