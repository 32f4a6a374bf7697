#include "numeric/exact_distributions.h"

#include <boost/math/distributions/chi_squared.hpp>
#include <boost/math/distributions/fisher_f.hpp>
#include <boost/math/distributions/normal.hpp>
#include <boost/math/distributions/students_t.hpp>
#include <cmath>
#include <exception>
#include <numbers>

#include "core/arithmetic_fault.h"

namespace dalvex::exact {

namespace {

namespace bmp = boost::math::policies;

// Errors come back as NaN or infinity instead of exceptions, and are turned
// into the program's own arithmetic faults below. Underflow is no error: a
// tail too small for a double is 0.
using Policy =
    bmp::policy<bmp::domain_error<bmp::errno_on_error>, bmp::pole_error<bmp::errno_on_error>,
                bmp::overflow_error<bmp::errno_on_error>,
                bmp::evaluation_error<bmp::errno_on_error>,
                bmp::rounding_error<bmp::errno_on_error>, bmp::underflow_error<bmp::ignore_error>>;
using Normal = boost::math::normal_distribution<double, Policy>;
using Student = boost::math::students_t_distribution<double, Policy>;
using Fisher = boost::math::fisher_f_distribution<double, Policy>;
using ChiSquare = boost::math::chi_squared_distribution<double, Policy>;

// Runs one library evaluation. The library's own intermediate arithmetic may
// touch the floating-point flags the command frame watches; those are
// forgotten, and only the answer itself is judged.
template <class F>
double Evaluate(F f) {
    double result = 0.0;
    {
        const FloatingFlagsKept kept;
        try {
            result = f();
        } catch (const std::exception&) {
            result = std::nan("");
        }
    }
    return Checked(result);
}

// Probabilities of 0 or 1 (and beyond) have no finite quantile; they give
// the quantile of this tail, with the right sign.
constexpr double kSmallestTail = 1e-300;

void RequireDegrees(double nu) {
    if (!(nu > 0))
        RaiseFault(FaultKind::InvalidOperation);
}

void RequireProbability(double p) {
    if (!(p >= 0.0 && p <= 1.0))
        RaiseFault(FaultKind::InvalidOperation);
}

}  // namespace

double NormalCdf(double x, double mean, double sd) {
    const double z = CheckedDivide(x - mean, sd);
    return Evaluate([z] { return cdf(Normal(), z); });
}

double NormalDensity(double x, double mean, double sd) {
    const double z = CheckedDivide(x - mean, sd);
    return std::exp(-z * z / 2) / std::sqrt(2 * std::numbers::pi);
}

double NormalTail(double z) {
    if (std::isnan(z))
        RaiseFault(FaultKind::InvalidOperation);
    return Evaluate([z] { return cdf(complement(Normal(), std::fabs(z))); });
}

double NormalQuantile(double p) {
    if (std::isnan(p))
        RaiseFault(FaultKind::InvalidOperation);
    // The approximate routine holds its own bound in the same way.
    if (p <= kSmallestTail)
        return Evaluate([] { return boost::math::quantile(Normal(), kSmallestTail); });
    if (p >= 0.5) {
        const double q = 1 - p;  // exact for p >= 0.5
        if (q <= kSmallestTail)
            return Evaluate([] {
                return boost::math::quantile(boost::math::complement(Normal(), kSmallestTail));
            });
        return Evaluate([q] { return quantile(complement(Normal(), q)); });
    }
    return Evaluate([p] { return quantile(Normal(), p); });
}

double FisherTail(double x, double nu1, double nu2) {
    RequireDegrees(nu1);
    RequireDegrees(nu2);
    if (std::isnan(x))
        RaiseFault(FaultKind::InvalidOperation);
    if (nu1 == 1) {  // Student's t, two-sided
        const double t = std::fabs(x);
        if (t == 0)
            return 1.0;
        return Evaluate([t, nu2] { return 2 * cdf(complement(Student(nu2), t)); });
    }
    if (x <= 0)
        return 1.0;
    return Evaluate([x, nu1, nu2] { return cdf(complement(Fisher(nu1, nu2), x)); });
}

double FisherQuantile(int nu1, int nu2, double p) {
    RequireProbability(p);
    RequireDegrees(nu1);
    RequireDegrees(nu2);
    if (nu1 == 1)
        return Evaluate([nu2, p] { return quantile(complement(Student(nu2), p / 2)); });
    return Evaluate([nu1, nu2, p] { return quantile(complement(Fisher(nu1, nu2), p)); });
}

double ChiSquareTail(double x, double nu) {
    RequireDegrees(nu);
    if (std::isnan(x))
        RaiseFault(FaultKind::InvalidOperation);
    if (x <= 0)
        return 1.0;
    return Evaluate([x, nu] { return cdf(complement(ChiSquare(nu), x)); });
}

double ChiSquareQuantile(double p, double nu) {
    RequireProbability(p);
    RequireDegrees(nu);
    return Evaluate([p, nu] { return quantile(complement(ChiSquare(nu), p)); });
}

}  // namespace dalvex::exact
