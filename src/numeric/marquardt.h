// Nonlinear least squares by Marquardt's damped Gauss-Newton method, for any
// model the caller evaluates (a compiled formula, a built-in curve).
//
// The damping λ starts at 0.1 and is divided by ν = 10 after each accepted
// step and multiplied by it after each rejected one; ten rejections in a row
// end the iteration. Once λ ≤ 0.0002 and the relative step D = Σ|Δi/θi| is
// at most (q + 1)·0.001 the fit is near: it goes on, with the damping still
// falling, until the step or the fall of the sum of squares is down to
// rounding (the bounds above leave some 1e-4 of a coefficient unsettled).
// A step is taken only when it does not raise the sum of squares.
#pragma once

#include <functional>
#include <vector>

namespace dalvex {

// The model's value at observation i for coefficients theta. It may raise an
// ArithmeticFault (an overflowing exponent at a trial point): the trial then
// counts as worse than any other.
using ModelValue = std::function<double(std::size_t i, const std::vector<double>& theta)>;

enum class MarquardtEnd {
    Converged,
    Stopped,         // the step hook said stop: the current coefficients stay
    IterationLimit,  // ten damped tries in a row failed to lower the sum
    StartFailed,     // the model cannot be evaluated at the starting coefficients
};

struct MarquardtResult {
    std::vector<double> theta;
    double sse = 0;
    int steps = 0;
    MarquardtEnd end = MarquardtEnd::Converged;
    // The derivatives of the model by each coefficient at the result, one
    // column per coefficient (for the coefficients' standard errors).
    std::vector<std::vector<double>> jacobian;
};

// Called before each outer step with its number (from 1), λ and the last D;
// false stops the iteration with the current coefficients.
using StepHook = std::function<bool(int step, double lambda, double d)>;

// Starting coefficients equal to 0 become 1.
MarquardtResult FitMarquardt(const ModelValue& model, const std::vector<double>& y,
                             std::vector<double> theta, const StepHook& hook = {});

// The convergence bounds, as the continuation question names them.
inline constexpr double MarquardtLambdaBound = 0.0002;
inline constexpr double MarquardtStepBound = 0.001;  // per coefficient
inline constexpr int MarquardtTries = 10;

}  // namespace dalvex
