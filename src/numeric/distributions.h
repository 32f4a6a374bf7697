// Tail probabilities and quantiles of the normal, Student, Fisher and
// chi-square laws. They are closed-form approximations of fixed accuracy
// (about five significant digits), not exact special functions: every
// significance the program prints comes out of these constants, so they stay
// exactly as they are.
//
// The routines keep no state, never report and never allocate. Arguments
// outside a routine's domain (a zero standard deviation, zero degrees of
// freedom) raise the arithmetic fault their arithmetic meets.
#pragma once

namespace dalvex {

// Which laws the routines below follow: the approximations (the default) or,
// when the person chose "Точные вероятности", the exact distribution
// functions of exact_distributions.h. Every method calls the routines by name,
// so the choice is one process-wide switch; the command frame sets it from
// the workspace's settings for each command and puts it back afterwards.
void SetExactProbabilities(bool on);
bool ExactProbabilities();

// Holds a choice for the life of a scope, then restores the one before.
class ProbabilityModeScope {
  public:
    explicit ProbabilityModeScope(bool exact) : before_(ExactProbabilities()) {
        SetExactProbabilities(exact);
    }
    ~ProbabilityModeScope() { SetExactProbabilities(before_); }
    ProbabilityModeScope(const ProbabilityModeScope&) = delete;
    ProbabilityModeScope& operator=(const ProbabilityModeScope&) = delete;

  private:
    bool before_;
};

// Lower cumulative probability P(X <= x) of the normal law.
double NormalCdf(double x, double mean, double sd);
// Standard normal density at z = (x - mean) / sd, not divided by sd.
double NormalDensity(double x, double mean, double sd);
// NormalCdf(z, 0, 1).
double StdNormalCdf(double z);
// 1 - NormalCdf(|z|, 0, 1): the one-sided upper tail of |z|.
double NormalTail(double z);
// The z with StdNormalCdf(z) ~ p. Probabilities within 1e-10 of 0 or 1 (and
// beyond) give the quantile of 1e-10 or 1 - 1e-10, about -/+21.7.
double NormalQuantile(double p);

// Upper tail P(F >= x) with (nu1, nu2) degrees of freedom, fractional ones
// accepted. With nu1 = 1, x is Student's t and the result is the two-sided
// P(|T| >= |t|) with nu2 degrees of freedom.
double FisherTail(double x, double nu1, double nu2);
// The x with FisherTail(x, nu1, nu2) = p; with nu1 = 1 the two-sided critical
// t. p outside [0, 1] raises an invalid-operation fault.
double FisherQuantile(int nu1, int nu2, double p);

// Upper tail P(chi2 >= x) with nu degrees of freedom (nu >= 1).
double ChiSquareTail(double x, double nu);
// The x with ChiSquareTail(x, nu) ~ p. p outside [0, 1] raises an
// invalid-operation fault.
double ChiSquareQuantile(double p, double nu);

// The secant searches of the two quantiles stop after this many steps and
// then answer with the best point they evaluated; ordinary probabilities
// converge in a dozen.
inline constexpr int QuantileSearchSteps = 500;

}  // namespace dalvex
