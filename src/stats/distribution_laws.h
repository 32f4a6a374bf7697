// The laws of the probability calculator and of the goodness of fit: their
// names, distribution functions, quantiles and moments, the discrete tables,
// and the special functions beneath them. Pure computation: nothing here
// writes a report, asks a question or touches the store, and no valid input
// raises a floating-point division by zero, invalid operation or overflow.
#pragma once

#include <string>
#include <vector>

namespace dalvex {

// The names both methods write, by their shared number 1..15 (1..5 the
// discrete laws, 6..13 the continuous ones of the calculator, 14 gamma, 15
// beta). The texts are the program's own, spelling included.
std::string DistributionName(int index);

// The continuous laws by their type number 1..10. The first parameter `a` and
// the second `b` are those of the type: a location or scale first, a spread
// or shape second (beta: the two shapes).
enum class ContinuousLaw {
    Normal = 1,
    Exponential,
    Rayleigh,
    Weibull,
    Logistic,
    ExtremeValue,
    Erlang,
    Lognormal,
    Gamma,
    Beta,
};

inline int NameIndex(ContinuousLaw law) {
    return static_cast<int>(law) + 5;
}

// Regularised incomplete gamma functions P(a, x) and Q(a, x) = 1 - P(a, x)
// (a > 0, x >= 0) and the regularised incomplete beta function I_x(a, b)
// (a, b > 0, 0 <= x <= 1), to full double precision.
double RegularizedGammaP(double a, double x);
double RegularizedGammaQ(double a, double x);
double RegularizedBeta(double x, double a, double b);

// The law's distribution function F(x). The normal and lognormal laws go
// through the program's own normal routine (about five digits), the others
// are exact.
double LawCdf(ContinuousLaw law, double a, double b, double x);

// Mean and variance; a value too large for a double is +infinity (held as a
// constant, never computed by overflowing).
struct LawMoments {
    double mean = 0;
    double variance = 0;
};
LawMoments MomentsOf(ContinuousLaw law, double a, double b);

// The quantile of probability p in [0, 1]: a number, or an infinite end of
// the law's support, which the report writes as a word.
struct LawQuantile {
    enum Kind { Finite, MinusInfinity, PlusInfinity };
    Kind kind = Finite;
    double x = 0;
};
LawQuantile QuantileOf(ContinuousLaw law, double a, double b, double p);

inline constexpr const char* ParameterNotANumberNotice = "!ПАРАМЕТР НЕ ЯВЛЯЕТСЯ ЧИСЛОМ!";
inline constexpr const char* ProbabilityRangeNotice = "!ВЕРОЯТНОСТЬ ДОЛЖНА БЫТЬ ОТ 0 ДО 1!";
inline constexpr const char* PositiveParameterNotice =
    "!СТ.ОТКЛОНЕНИЕ, МАСШТАБ И ФОРМА ДОЛЖНЫ БЫТЬ БОЛЬШЕ 0!";
inline constexpr const char* ErlangShapeNotice =
    "!ФОРМА РАСПРЕДЕЛЕНИЯ ЭРЛАНГА ДОЛЖНА БЫТЬ ЦЕЛЫМ ЧИСЛОМ > 0!";
inline constexpr const char* NotApplicableNotice = "!МЕТОД НЕПРИМЕНИМ ПРИ ТАКИХ ПАРАМЕТРАХ!";
inline constexpr const char* HypergeometricCountNotice =
    "!ЧИСЛО УСПЕХОВ P*N ДОЛЖНО БЫТЬ ЦЕЛЫМ, ВЫБОРКА m - ОТ 0 ДО N!";

// Why the parameters cannot define the law (a notice text), or empty.
std::string LawParameterProblem(ContinuousLaw law, double a, double b);

// ---------------------------------------------------------------------------
// The discrete tables.

enum class DiscreteLaw {
    Binomial = 1,      // successes in N trials
    NegativeBinomial,  // trials up to the k-th success
    Geometric,         // trials up to the first success
    Hypergeometric,    // successes in a sample of m from N with share p
    Poisson,           // events with mean p
};

struct DiscreteParameters {
    double p = 0;  // probability of success; the Poisson law's mean
    int n = 0;     // binomial trials, successes k, hypergeometric sample m
    int m = 0;     // hypergeometric population N
};

// Why the parameters cannot define the law (a notice text), or empty.
std::string DiscreteParameterProblem(DiscreteLaw law, const DiscreteParameters& params);

struct DiscreteTable {
    int first = 0;                    // the value of the first row: 0, or k, or 1
    std::vector<double> probability;  // P(X = first + i)
    std::vector<double> cumulative;   // P(X <= first + i)
    double mean = 0;
    double variance = 0;
};

// `rows` rows of the table from the law's first value. Each probability is
// taken from its logarithm, so large counts and means neither underflow at
// the start nor accumulate a product's rounding.
DiscreteTable ComputeDiscreteTable(DiscreteLaw law, const DiscreteParameters& params, int rows);

}  // namespace dalvex
