#include "stats/distribution_laws.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "numeric/distributions.h"

namespace dalvex {

namespace {

constexpr double Pi = 3.14159265358979323846;
// The squared pi of the moments, as the program has always used it.
constexpr double PiSquared = 9.869604401089358619;
constexpr double Epsilon = std::numeric_limits<double>::epsilon();
constexpr double Infinity = std::numeric_limits<double>::infinity();
// exp() of anything above this overflows a double.
constexpr double LargestExponent = 709.0;

// exp(x), or +infinity as a constant where exp would overflow.
double ExpOrInfinity(double x) {
    return x > LargestExponent ? Infinity : std::exp(x);
}

constexpr double Largest = std::numeric_limits<double>::max();

// x / y, held to +-1e300 where the quotient would pass every double.
double Ratio(double x, double y) {
    if (std::fabs(x) / 1e300 > std::fabs(y))
        return (x < 0) == (y < 0) ? 1e300 : -1e300;
    return x / y;
}

// x - y, held to +-the largest double where the difference of two values of
// opposite signs (a point at 1e308 beside a location at -1e308) would pass it.
double Difference(double x, double y) {
    if ((x < 0) != (y < 0) && std::fabs(x / 2 - y / 2) > Largest / 2)
        return x < 0 ? -Largest : Largest;
    return x - y;
}

// x * y, +infinity (held as a constant) where the product passes every double.
double Times(double x, double y) {
    if (std::fabs(x) > 1 && std::fabs(y) > Largest / std::fabs(x))
        return Infinity;
    return x * y;
}

// x / y for y > 0, the same way.
double Over(double x, double y) {
    if (y < 1 && std::fabs(x) > Largest * y)
        return Infinity;
    return x / y;
}

// A standardised value for the normal routine, which squares it: beyond
// +-1000 the law is 0 or 1 to every digit anyway.
double Standardised(double x, double a, double b) {
    return std::clamp(Ratio(Difference(x, a), b), -1000.0, 1000.0);
}

// log(1 + m) - m, exact also for small m where the difference cancels.
double Log1pMinusX(double m) {
    if (std::fabs(m) > 0.1)
        return std::log1p(m) - m;
    // -m^2/2 + m^3/3 - ...: twenty terms reach the last bit for |m| <= 0.1.
    double term = m, sum = 0;
    for (int k = 2; k <= 24; ++k) {
        term *= -m;
        sum += term / k;
    }
    return sum;
}

// lgamma(a + 1) - ((a + 0.5) ln a - a + ln(2 pi) / 2): Stirling's error,
// from its series where lgamma's large terms would cancel.
double StirlingError(double a) {
    if (a > 15) {
        const double r = 1 / (a * a);
        return (1.0 / 12 - r * (1.0 / 360 - r * (1.0 / 1260 - r * (1.0 / 1680 - r / 1188)))) / a;
    }
    return std::lgamma(a + 1) - (a + 0.5) * std::log(a) + a - 0.5 * std::log(2 * Pi);
}

// ln(x / a) - (x - a) / a for x > 0: from its series near x = a, where the
// two terms cancel, and from the logarithms apart (x / a itself may
// underflow when x is tiny beside a).
double LogRatioMinusRelative(double x, double a) {
    const double mu = (x - a) / a;
    if (std::fabs(mu) <= 0.1)
        return Log1pMinusX(mu);
    return std::log(x) - std::log(a) - mu;
}

// ln(x^a e^-x / Gamma(a + 1)), without the cancellation of the large terms.
double LogGammaFront(double a, double x) {
    return a * LogRatioMinusRelative(x, a) - 0.5 * std::log(2 * Pi * a) - StirlingError(a);
}

double GammaSeriesP(double a, double x) {
    double term = 1, sum = 1;
    for (int n = 1; n < 100000 && term > sum * Epsilon; ++n) {
        term *= x / (a + n);
        sum += term;
    }
    return std::exp(LogGammaFront(a, x)) * sum;
}

// Q(a, x) by the continued fraction (modified Lentz), for x > a + 1.
double GammaFractionQ(double a, double x) {
    constexpr double Tiny = 1e-300;
    double b = x + 1 - a;
    double c = 1 / Tiny;
    double d = 1 / b;
    double h = d;
    for (int i = 1; i < 100000; ++i) {
        const double an = -i * (i - a);
        b += 2;
        d = an * d + b;
        if (std::fabs(d) < Tiny)
            d = Tiny;
        c = b + an / c;
        if (std::fabs(c) < Tiny)
            c = Tiny;
        d = 1 / d;
        const double step = d * c;
        h *= step;
        if (std::fabs(step - 1) <= Epsilon)
            break;
    }
    // x^a e^-x / Gamma(a) = a * (x^a e^-x / Gamma(a + 1)).
    return std::exp(LogGammaFront(a, x)) * a * h;
}

// Temme's uniform expansion for a large shape, where the series and the
// fraction would need thousands of terms per value: the lower tail when
// `lower`, the upper otherwise, each computed directly so a small one keeps
// its digits.
double GammaTemme(double a, double x, bool lower) {
    const double mu = (x - a) / a;
    const double eta = std::copysign(std::sqrt(-2 * LogRatioMinusRelative(x, a)), mu);
    double c0, c1;
    if (std::fabs(mu) < 0.01) {
        c0 = -1.0 / 3 + eta * (1.0 / 12 + eta * (-2.0 / 135 + eta / 864));
        c1 = -1.0 / 540 + eta * (-1.0 / 288 + eta / 378);
    } else {
        c0 = 1 / mu - 1 / eta;
        c1 = 1 / (eta * eta * eta) - 1 / (mu * mu * mu) - 1 / (mu * mu) - 1 / (12 * mu);
    }
    const double tail = std::exp(-a * eta * eta / 2) / std::sqrt(2 * Pi * a) * (c0 + c1 / a);
    const double z = eta * std::sqrt(a / 2);
    return lower ? 0.5 * std::erfc(-z) - tail : 0.5 * std::erfc(z) + tail;
}

constexpr double TemmeShape = 1e5;

// I_x(a, b) by its continued fraction, for x below (a + 1) / (a + b + 2).
double BetaFraction(double x, double a, double b) {
    constexpr double Tiny = 1e-300;
    const double qab = a + b, qap = a + 1, qam = a - 1;
    double c = 1;
    double d = 1 - qab * x / qap;
    if (std::fabs(d) < Tiny)
        d = Tiny;
    d = 1 / d;
    double h = d;
    for (int m = 1; m < 100000; ++m) {
        const int m2 = 2 * m;
        double aa = m * (b - m) * x / ((qam + m2) * (a + m2));
        d = 1 + aa * d;
        if (std::fabs(d) < Tiny)
            d = Tiny;
        c = 1 + aa / c;
        if (std::fabs(c) < Tiny)
            c = Tiny;
        d = 1 / d;
        h *= d * c;
        aa = -(a + m) * (qab + m) * x / ((a + m2) * (qap + m2));
        d = 1 + aa * d;
        if (std::fabs(d) < Tiny)
            d = Tiny;
        c = 1 + aa / c;
        if (std::fabs(c) < Tiny)
            c = Tiny;
        d = 1 / d;
        const double step = d * c;
        h *= step;
        if (std::fabs(step - 1) <= Epsilon)
            break;
    }
    const double front =
        std::lgamma(a + b) - std::lgamma(a) - std::lgamma(b) + a * std::log(x) + b * std::log1p(-x);
    return std::exp(front) * h / a;
}

// The Erlang (gamma) quantile: the y with P(shape, y) = p, by bisection,
// which cannot miss however flat or steep the law is. Above the median the
// upper tail 1 - p (exact there) is matched instead, where it keeps its
// digits.
double GammaQuantile(double shape, double p) {
    const bool upper = p > 0.5;
    const double target = upper ? 1 - p : p;
    auto below = [&](double y) {
        return upper ? RegularizedGammaQ(shape, y) > target : RegularizedGammaP(shape, y) < target;
    };
    double lo = 0, hi = std::max(1.0, shape);
    while (below(hi) && hi < 1e300)
        hi *= 2;
    for (int i = 0; i < 2200 && hi - lo > 2 * Epsilon * hi; ++i) {
        const double mid = lo + (hi - lo) / 2;
        (below(mid) ? lo : hi) = mid;
    }
    return lo + (hi - lo) / 2;
}

bool Positive(double x) {
    return x > 0 && std::isfinite(x);
}

// -ln(1 - p) for p in [0, 1).
double MinusLogComplement(double p) {
    return -std::log1p(-p);
}

}  // namespace

std::string DistributionName(int index) {
    static const std::array<const char*, 15> Names = {
        "Распределение биномиальное:",
        "Распределение отрицательное биномиальное:",
        "Распределение геометрическое:",
        "Распределение гипергеомтрическое:",
        "Распределение Пуассона:",
        "Распределение нормальное:",
        "Распределение экспоненциальное:",
        "Распределение Релея:",
        "Распределение Вейбулла:",
        "Распределение логистическое:",
        "Распределение экстремальных значений:",
        "Распределение Эрланга:",
        "Распределение логнормальное:",
        "Распределение гамма:",
        "Распределение вета:",
    };
    if (index < 1 || index > static_cast<int>(Names.size()))
        return {};
    return Names[index - 1];
}

// Far above the shape the upper tail is below every double.
bool BeyondUpperTail(double a, double x) {
    return x > 2 * a + 2000;
}

double RegularizedGammaP(double a, double x) {
    if (x <= 0)
        return 0;
    if (BeyondUpperTail(a, x))
        return 1;
    if (a >= TemmeShape)
        return GammaTemme(a, x, true);
    if (x < a + 1)
        return GammaSeriesP(a, x);
    return 1 - GammaFractionQ(a, x);
}

double RegularizedGammaQ(double a, double x) {
    if (x <= 0)
        return 1;
    if (BeyondUpperTail(a, x))
        return 0;
    if (a >= TemmeShape)
        return GammaTemme(a, x, false);
    if (x < a + 1)
        return 1 - GammaSeriesP(a, x);
    return GammaFractionQ(a, x);
}

double RegularizedBeta(double x, double a, double b) {
    if (x <= 0)
        return 0;
    if (x >= 1)
        return 1;
    if (x < (a + 1) / (a + b + 2))
        return BetaFraction(x, a, b);
    return 1 - BetaFraction(1 - x, b, a);
}

double LawCdf(ContinuousLaw law, double a, double b, double x) {
    switch (law) {
        case ContinuousLaw::Normal:
            return StdNormalCdf(Standardised(x, a, b));
        case ContinuousLaw::Exponential:
            return x <= 0 ? 0 : -std::expm1(-Ratio(x, a));
        case ContinuousLaw::Rayleigh: {
            if (x <= 0)
                return 0;
            const double r = Ratio(x, a);
            return r > 1e10 ? 1 : -std::expm1(-r * r);
        }
        case ContinuousLaw::Weibull: {
            if (x <= 0)
                return 0;
            const double d = std::log(x) - std::log(a);
            // A shape of 1e308 makes the law a step at the scale.
            if (b > 1 && std::fabs(d) > Largest / b)
                return d > 0 ? 1 : 0;
            const double power = d * b;
            return power > LargestExponent ? 1 : -std::expm1(-std::exp(power));
        }
        case ContinuousLaw::Logistic: {
            // 1 - 1 / (1 + e^z), with the exponential taken of a negative
            // number only.
            const double z = Ratio(Difference(x, a), b);
            if (z >= 0)
                return 1 / (1 + std::exp(-z));
            const double e = std::exp(z);
            return e / (1 + e);
        }
        case ContinuousLaw::ExtremeValue: {
            const double z = Ratio(Difference(x, a), b);
            return z > LargestExponent ? 1 : -std::expm1(-std::exp(z));
        }
        case ContinuousLaw::Erlang:
        case ContinuousLaw::Gamma:
            return x <= 0 ? 0 : RegularizedGammaP(b, Ratio(x, a));
        case ContinuousLaw::Lognormal:
            return x <= 0 ? 0 : StdNormalCdf(Standardised(std::log(x), a, b));
        case ContinuousLaw::Beta:
            return RegularizedBeta(x, a, b);
    }
    return 0;
}

LawMoments MomentsOf(ContinuousLaw law, double a, double b) {
    switch (law) {
        case ContinuousLaw::Normal:
            return {a, Times(b, b)};
        case ContinuousLaw::Exponential:
            return {a, Times(a, a)};
        case ContinuousLaw::Rayleigh:
            return {a * std::sqrt(Pi) / 2, Times(0.21460183660255169 * a, a)};
        case ContinuousLaw::Weibull: {
            // a^k Gamma(1 + k/b) through logarithms: a small shape makes the
            // gamma function itself overflow.
            // Below this shape even the mean passes every double.
            if (b < 1.0 / 400)
                return {Infinity, Infinity};
            const double g1 = std::lgamma(1 + 1 / b);
            const double g2 = std::lgamma(1 + 2 / b);
            const double logA = std::log(a);
            const double mean = ExpOrInfinity(logA + g1);
            // a^2 (Gamma(1 + 2/b) - Gamma(1 + 1/b)^2) = a^2 Gamma(1 + 1/b)^2
            // (e^d - 1), d = ln Gamma(1 + 2/b) - 2 ln Gamma(1 + 1/b), the
            // difference taken without cancelling.
            const double d = g2 - 2 * g1;
            if (!(d > 0))
                return {mean, 0};
            const double logExcess = d > 40 ? d : std::log(std::expm1(d));
            return {mean, ExpOrInfinity(2 * (logA + g1) + logExcess)};
        }
        case ContinuousLaw::Logistic:
            return {a, Times(Times(PiSquared, b), b) / 3};
        case ContinuousLaw::ExtremeValue:
            return {Difference(a, 0.57721 * b), Times(Times(PiSquared, b), b) / 6};
        case ContinuousLaw::Erlang:
        case ContinuousLaw::Gamma:
            return {Times(a, b), Times(Times(a, b), a)};
        case ContinuousLaw::Lognormal: {
            // The true moments of e^X, X normal with mean a and deviation b.
            const double s2 = Times(b, b);
            const double mean = ExpOrInfinity(Difference(a, -s2 / 2));
            if (!(s2 > 0))
                return {mean, 0};
            const double logExcess = s2 > 40 ? s2 : std::log(std::expm1(s2));
            // e^(2 (a + (s2 + excess) / 2)), the exponent halved so that a
            // location near -1e308 does not pass the double range doubled.
            const double half = Difference(a, -(s2 / 2 + logExcess / 2));
            if (half > LargestExponent / 2)
                return {mean, Infinity};
            return {mean, half < -LargestExponent ? 0 : std::exp(2 * half)};
        }
        case ContinuousLaw::Beta: {
            const double sum = a + b;
            return {a / sum, a * b / (sum * sum * (sum + 1))};
        }
    }
    return {};
}

namespace {

// a + b z for a scale b > 0; a point past the largest double (a location of
// -1e308 with a scale of 1e308) is the infinite end on its side.
LawQuantile Shifted(double a, double b, double z) {
    const LawQuantile minus{LawQuantile::MinusInfinity, 0};
    const LawQuantile plus{LawQuantile::PlusInfinity, 0};
    if (std::fabs(z) > 1 && b > Largest / std::fabs(z))
        return z < 0 ? minus : plus;
    const double bz = b * z;
    if ((a < 0) == (bz < 0) && std::fabs(a / 2 + bz / 2) > Largest / 2)
        return a < 0 ? minus : plus;
    return {LawQuantile::Finite, a + bz};
}

}  // namespace

LawQuantile QuantileOf(ContinuousLaw law, double a, double b, double p) {
    const LawQuantile minus{LawQuantile::MinusInfinity, 0};
    const LawQuantile plus{LawQuantile::PlusInfinity, 0};
    auto at = [](double x) { return LawQuantile{LawQuantile::Finite, x}; };
    switch (law) {
        case ContinuousLaw::Normal:
            if (p <= 0)
                return minus;
            if (p >= 1)
                return plus;
            return Shifted(a, b, NormalQuantile(p));
        case ContinuousLaw::Exponential:
            return p >= 1 ? plus : at(a * MinusLogComplement(p));
        case ContinuousLaw::Rayleigh:
            return p >= 1 ? plus : at(a * std::sqrt(MinusLogComplement(p)));
        case ContinuousLaw::Weibull: {
            if (p >= 1)
                return plus;
            if (p <= 0)
                return at(0);
            const double power = std::log(a) + std::log(MinusLogComplement(p)) / b;
            return power > LargestExponent ? plus : at(std::exp(power));
        }
        case ContinuousLaw::Logistic:
            if (p <= 0)
                return minus;
            if (p >= 1)
                return plus;
            return Shifted(a, b, std::log(p / (1 - p)));
        case ContinuousLaw::ExtremeValue:
            if (p <= 0)
                return minus;
            if (p >= 1)
                return plus;
            return Shifted(a, b, std::log(MinusLogComplement(p)));
        case ContinuousLaw::Erlang:
        case ContinuousLaw::Gamma: {
            if (p <= 0)
                return at(0);
            if (p >= 1)
                return plus;
            const double y = GammaQuantile(b, p);
            return a > 1 && y > Largest / a ? plus : at(a * y);
        }
        case ContinuousLaw::Lognormal: {
            if (p <= 0)
                return at(0);
            if (p >= 1)
                return plus;
            const LawQuantile power = Shifted(a, b, NormalQuantile(p));
            if (power.kind != LawQuantile::Finite)
                return power.kind == LawQuantile::PlusInfinity ? plus : at(0);
            return power.x > LargestExponent ? plus : at(std::exp(power.x));
        }
        case ContinuousLaw::Beta: {
            if (p <= 0)
                return at(0);
            if (p >= 1)
                return at(1);
            double lo = 0, hi = 1;
            for (int i = 0; i < 200 && hi - lo > Epsilon; ++i) {
                const double mid = (lo + hi) / 2;
                (RegularizedBeta(mid, a, b) < p ? lo : hi) = mid;
            }
            return at((lo + hi) / 2);
        }
    }
    return at(0);
}

// Beyond this shape the gamma law is a spike narrower than the doubles around
// its mean can tell apart (relative width 1/sqrt(shape)), and its incomplete
// gamma function leaves the double range.
constexpr double LargestGammaShape = 1e100;

std::string LawParameterProblem(ContinuousLaw law, double a, double b) {
    if (!std::isfinite(a) || !std::isfinite(b))
        return ParameterNotANumberNotice;
    switch (law) {
        case ContinuousLaw::Normal:
        case ContinuousLaw::Logistic:
        case ContinuousLaw::ExtremeValue:
        case ContinuousLaw::Lognormal:
            return Positive(b) ? "" : PositiveParameterNotice;
        case ContinuousLaw::Exponential:
        case ContinuousLaw::Rayleigh:
            return Positive(a) ? "" : PositiveParameterNotice;
        case ContinuousLaw::Erlang:
            if (!Positive(a))
                return PositiveParameterNotice;
            if (!(b >= 1 && b == std::floor(b)))
                return ErlangShapeNotice;
            return b > LargestGammaShape ? NotApplicableNotice : "";
        case ContinuousLaw::Gamma:
            if (!(Positive(a) && Positive(b)))
                return PositiveParameterNotice;
            return b > LargestGammaShape ? NotApplicableNotice : "";
        case ContinuousLaw::Weibull:
        case ContinuousLaw::Beta:
            return Positive(a) && Positive(b) ? "" : PositiveParameterNotice;
    }
    return {};
}

// ---------------------------------------------------------------------------

namespace {

double LogChoose(double n, double k) {
    return std::lgamma(n + 1) - std::lgamma(k + 1) - std::lgamma(n - k + 1);
}

// x ln y with 0 ln 0 = 0; the logarithm is never taken of 0.
double XLogY(double x, double y) {
    return x == 0 ? 0 : x * std::log(y);
}

// x ln(1 - p), the same convention.
double XLogComplement(double x, double p) {
    return x == 0 ? 0 : x * std::log1p(-p);
}

// e^logP where the law gives the value positive probability; 0 elsewhere
// and where a factor is zero (a certain event's complement).
struct LogProbability {
    bool possible = true;
    double value = 0;
};

double ToProbability(const LogProbability& lp) {
    return lp.possible ? std::min(std::exp(lp.value), 1.0) : 0;
}

LogProbability Binomial(int r, int n, double p) {
    if (r > n || (p == 0 && r > 0) || (p == 1 && r < n))
        return {false};
    return {true, LogChoose(n, r) + XLogY(r, p) + XLogComplement(n - r, p)};
}

LogProbability NegativeBinomial(int r, int k, double p) {
    if (p == 1 && r > k)
        return {false};
    return {true, LogChoose(r - 1, k - 1) + k * std::log(p) + XLogComplement(r - k, p)};
}

LogProbability Geometric(int r, double p) {
    if (p == 1 && r > 1)
        return {false};
    return {true, std::log(p) + XLogComplement(r - 1, p)};
}

LogProbability Hypergeometric(int r, int m, int population, int successes) {
    const int failures = population - successes;
    if (r > successes || r > m || m - r > failures)
        return {false};
    return {true, LogChoose(successes, r) + LogChoose(failures, m - r) - LogChoose(population, m)};
}

LogProbability Poisson(int r, double lambda) {
    if (lambda == 0)
        return {r == 0, 0};
    return {true, r * std::log(lambda) - lambda - std::lgamma(r + 1.0)};
}

// The number of successes in the hypergeometric population, p N made whole
// when it is whole up to the rounding of the typed share.
bool WholeSuccesses(const DiscreteParameters& params, int& successes) {
    const double count = params.p * params.m;
    const double whole = std::round(count);
    if (std::fabs(count - whole) > 1e-9 * std::max(1.0, count))
        return false;
    successes = static_cast<int>(whole);
    return true;
}

}  // namespace

std::string DiscreteParameterProblem(DiscreteLaw law, const DiscreteParameters& params) {
    const double p = params.p;
    if (!std::isfinite(p))
        return ParameterNotANumberNotice;
    if (law == DiscreteLaw::Poisson)
        return p >= 0 && p < 1e300 ? "" : NotApplicableNotice;
    if (p < 0 || p > 1)
        return ProbabilityRangeNotice;
    switch (law) {
        case DiscreteLaw::Binomial:
            return params.n >= 0 ? "" : NotApplicableNotice;
        case DiscreteLaw::NegativeBinomial:
            return params.n >= 1 && p > 0 ? "" : NotApplicableNotice;
        case DiscreteLaw::Geometric:
            return p > 0 ? "" : NotApplicableNotice;
        case DiscreteLaw::Hypergeometric: {
            int successes = 0;
            if (params.m < 1 || params.n < 0 || params.n > params.m ||
                !WholeSuccesses(params, successes))
                return HypergeometricCountNotice;
            return {};
        }
        case DiscreteLaw::Poisson:
            break;
    }
    return {};
}

DiscreteTable ComputeDiscreteTable(DiscreteLaw law, const DiscreteParameters& params, int rows) {
    DiscreteTable table;
    const double p = params.p, q = 1 - params.p;
    const int n = params.n;
    switch (law) {
        case DiscreteLaw::Binomial:
            table.mean = n * p;
            table.variance = n * p * q;
            break;
        case DiscreteLaw::NegativeBinomial:
            table.first = n;
            table.mean = Over(n, p);
            table.variance = Over(Over(n * q, p), p);
            break;
        case DiscreteLaw::Geometric:
            table.first = 1;
            table.mean = Over(1, p);
            table.variance = Over(Over(q, p), p);
            break;
        case DiscreteLaw::Hypergeometric: {
            const double population = params.m;
            table.mean = n * p;
            table.variance = population > 1 ? (population - n) * n * p * q / (population - 1) : 0;
            break;
        }
        case DiscreteLaw::Poisson:
            table.mean = p;
            table.variance = p;
            break;
    }
    int successes = 0;
    if (law == DiscreteLaw::Hypergeometric)
        WholeSuccesses(params, successes);

    table.probability.reserve(rows);
    table.cumulative.reserve(rows);
    double running = 0;
    for (int i = 0; i < rows; ++i) {
        const int r = table.first + i;
        LogProbability lp;
        switch (law) {
            case DiscreteLaw::Binomial:
                lp = Binomial(r, n, p);
                break;
            case DiscreteLaw::NegativeBinomial:
                lp = NegativeBinomial(r, n, p);
                break;
            case DiscreteLaw::Geometric:
                lp = Geometric(r, p);
                break;
            case DiscreteLaw::Hypergeometric:
                lp = Hypergeometric(r, n, params.m, successes);
                break;
            case DiscreteLaw::Poisson:
                lp = Poisson(r, p);
                break;
        }
        const double probability = ToProbability(lp);
        running += probability;
        table.probability.push_back(probability);
        // Rounding of the running sum must not show a probability above 1.
        table.cumulative.push_back(std::min(running, 1.0));
    }
    return table;
}

}  // namespace dalvex
