#include "numeric/marquardt.h"

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <cstddef>

#include "core/arithmetic_fault.h"

namespace dalvex {

namespace {

constexpr double StartLambda = 0.1;
constexpr double Nu = 10;
// Once near, the iteration goes on until the relative step falls below this
// (per coefficient) or the sum of squares stops falling.
constexpr double PolishBound = 1e-12;
constexpr int PolishSteps = 100;
// However patient the person is, an iteration ends after this many steps.
constexpr int StepLimit = 5000;

// The residuals y - f at theta; false when any value faults or is not
// finite. The trial's own floating-point flags are forgotten: a failed trial
// is a rejected step, not a fault of the command.
bool Residuals(const ModelValue& model, const std::vector<double>& y,
               const std::vector<double>& theta, std::vector<double>& r, double& sse) {
    const FloatingFlagsKept kept;
    std::feclearexcept(FE_ALL_EXCEPT);
    sse = 0;
    try {
        for (std::size_t i = 0; i < y.size(); ++i) {
            r[i] = y[i] - model(i, theta);
            sse += r[i] * r[i];
        }
    } catch (const ArithmeticFault&) {
        return false;
    }
    return std::isfinite(sse) && !std::fetestexcept(FE_INVALID | FE_OVERFLOW | FE_DIVBYZERO);
}

// The step of the central difference: relative, and never zero at theta = 0.
double DerivativeStep(double t) {
    return 6e-6 * (t != 0 ? std::fabs(t) : 1.0);
}

// Central differences of the model by each coefficient; false when a point
// of a difference cannot be evaluated.
bool Jacobian(const ModelValue& model, std::size_t n, std::vector<double> theta,
              std::vector<std::vector<double>>& j) {
    const FloatingFlagsKept kept;
    std::feclearexcept(FE_ALL_EXCEPT);
    j.assign(theta.size(), std::vector<double>(n));
    try {
        for (std::size_t k = 0; k < theta.size(); ++k) {
            const double t = theta[k];
            const double h = DerivativeStep(t);
            for (std::size_t i = 0; i < n; ++i) {
                theta[k] = t + h;
                const double up = model(i, theta);
                theta[k] = t - h;
                const double down = model(i, theta);
                j[k][i] = (up - down) / (2 * h);
            }
            theta[k] = t;
        }
    } catch (const ArithmeticFault&) {
        return false;
    }
    return !std::fetestexcept(FE_INVALID | FE_OVERFLOW | FE_DIVBYZERO);
}

// (J'J + λ diag) Δ = J'r, scaled to a unit diagonal and solved by
// elimination with partial pivoting; false for a singular system.
bool DampedStep(const std::vector<std::vector<double>>& jtj, const std::vector<double>& jtr,
                double lambda, std::vector<double>& delta) {
    const std::size_t q = jtr.size();
    std::vector<double> scale(q);
    std::vector<std::vector<double>> a(q, std::vector<double>(q + 1));
    for (std::size_t i = 0; i < q; ++i) {
        const double d = jtj[i][i];
        scale[i] = d > 0 ? std::sqrt(d) : 1.0;
    }
    for (std::size_t i = 0; i < q; ++i) {
        for (std::size_t c = 0; c < q; ++c)
            a[i][c] = jtj[i][c] / (scale[i] * scale[c]);
        // The unit diagonal damped; a coefficient the model ignores gets
        // the same, so the system stays solvable.
        a[i][i] = 1 + lambda;
        a[i][q] = jtr[i] / scale[i];
    }
    for (std::size_t c = 0; c < q; ++c) {
        std::size_t pivot = c;
        for (std::size_t r = c + 1; r < q; ++r)
            if (std::fabs(a[r][c]) > std::fabs(a[pivot][c]))
                pivot = r;
        if (!(std::fabs(a[pivot][c]) > 1e-300))
            return false;
        std::swap(a[c], a[pivot]);
        for (std::size_t r = 0; r < q; ++r) {
            if (r == c)
                continue;
            const double f = a[r][c] / a[c][c];
            for (std::size_t k = c; k <= q; ++k)
                a[r][k] -= f * a[c][k];
        }
    }
    delta.resize(q);
    for (std::size_t i = 0; i < q; ++i) {
        delta[i] = a[i][q] / a[i][i] / scale[i];
        if (!std::isfinite(delta[i]))
            return false;
    }
    return true;
}

double RelativeStep(const std::vector<double>& delta, const std::vector<double>& theta) {
    double d = 0;
    for (std::size_t i = 0; i < delta.size(); ++i)
        d += std::fabs(delta[i]) / std::max(std::fabs(theta[i]), 1e-10);
    return d;
}

}  // namespace

MarquardtResult FitMarquardt(const ModelValue& model, const std::vector<double>& y,
                             std::vector<double> theta, const StepHook& hook) {
    // Trial steps may overflow on the way to a rejection: that arithmetic is
    // the search's own, and only its finite result leaves it.
    const FloatingFlagsKept kept;
    for (double& t : theta)
        if (t == 0)
            t = 1;
    const std::size_t n = y.size();
    const std::size_t q = theta.size();
    MarquardtResult result;
    std::vector<double> r(n), trialR(n);
    double sse = 0;
    if (!Residuals(model, y, theta, r, sse)) {
        result.theta = theta;
        result.end = MarquardtEnd::StartFailed;
        return result;
    }

    double lambda = StartLambda;
    double d = 0;
    bool near = false;  // the damping and the step are within the bounds once
    int polishing = 0;
    std::vector<std::vector<double>> j;
    for (int step = 1;; ++step) {
        if (step > StepLimit) {
            result.end = MarquardtEnd::IterationLimit;
            break;
        }
        if (hook && !hook(step, lambda, d)) {
            result.end = MarquardtEnd::Stopped;
            break;
        }
        result.steps = step;
        if (!Jacobian(model, n, theta, j)) {
            result.end = MarquardtEnd::IterationLimit;
            break;
        }
        std::vector<std::vector<double>> jtj(q, std::vector<double>(q, 0.0));
        std::vector<double> jtr(q, 0.0);
        for (std::size_t a = 0; a < q; ++a) {
            for (std::size_t i = 0; i < n; ++i)
                jtr[a] += j[a][i] * r[i];
            for (std::size_t b = 0; b <= a; ++b) {
                double s = 0;
                for (std::size_t i = 0; i < n; ++i)
                    s += j[a][i] * j[b][i];
                jtj[a][b] = jtj[b][a] = s;
            }
        }

        bool accepted = false;
        std::vector<double> delta, trial(q);
        double trialSse = 0;
        for (int attempt = 0; attempt < MarquardtTries; ++attempt) {
            if (DampedStep(jtj, jtr, lambda, delta)) {
                for (std::size_t k = 0; k < q; ++k)
                    trial[k] = theta[k] + delta[k];
                if (Residuals(model, y, trial, trialR, trialSse) && trialSse <= sse) {
                    accepted = true;
                    break;
                }
            }
            lambda *= Nu;
        }
        if (!accepted) {
            // Near the minimum no step lowers the sum any more: that is the
            // end, not a failure.
            result.end = near ? MarquardtEnd::Converged : MarquardtEnd::IterationLimit;
            break;
        }
        d = RelativeStep(delta, theta);
        const double fall = sse - trialSse;
        theta = trial;
        r.swap(trialR);
        sse = trialSse;
        lambda = std::max(lambda / Nu, 1e-30);
        near = near ||
               (lambda <= MarquardtLambdaBound && d <= MarquardtStepBound * static_cast<double>(q));
        // Polished: the step is down to rounding, or so is the fall; a flat
        // valley that creeps on is left after a while.
        if (near && (d <= PolishBound * static_cast<double>(q) || fall <= 1e-15 * sse ||
                     ++polishing > PolishSteps))
            break;
    }
    result.theta = theta;
    result.sse = sse;
    if (!Jacobian(model, n, theta, result.jacobian))
        result.jacobian.clear();
    return result;
}

}  // namespace dalvex
