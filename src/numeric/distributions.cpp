#include "numeric/distributions.h"

#include <cmath>
#include <numbers>

#include "core/arithmetic_fault.h"
#include "numeric/basic.h"
#include "numeric/exact_distributions.h"

namespace dalvex {

namespace {

// sqrt(2 pi) to eight digits, as the tail constants below were fitted with it.
constexpr double kRootTwoPi = 2.5066283;

double CheckedSqrt(double x) {
    if (x < 0.0)
        RaiseFault(FaultKind::InvalidOperation);
    return std::sqrt(x);
}

void RequireProbability(double p) {
    if (!(p >= 0.0 && p <= 1.0))
        RaiseFault(FaultKind::InvalidOperation);
}

bool exactProbabilities = false;

}  // namespace

void SetExactProbabilities(bool on) {
    exactProbabilities = on;
}

bool ExactProbabilities() {
    return exactProbabilities;
}

double NormalCdf(double x, double mean, double sd) {
    if (exactProbabilities)
        return exact::NormalCdf(x, mean, sd);
    // Abramowitz-Stegun 26.2.16 with the constants rounded to six digits.
    const double z = CheckedDivide(x - mean, sd);
    const double e = -z * z / 2;
    if (e < -10000)  // |z| > 141.4: no need for the series
        return z > 0 ? 1.0 : 0.0;
    const double phi = std::exp(e) / kRootTwoPi;
    const double t = 1 / (1 + 0.33267 * std::fabs(z));
    const double q = phi * (0.436184 * t - 0.120168 * t * t + 0.937298 * t * t * t);
    return z >= 0 ? 1 - q : q;
}

double NormalDensity(double x, double mean, double sd) {
    if (exactProbabilities)
        return exact::NormalDensity(x, mean, sd);
    const double z = CheckedDivide(x - mean, sd);
    const double e = -z * z / 2;
    if (e < -10000)
        return 0.0;
    return std::exp(e) / kRootTwoPi;
}

double StdNormalCdf(double z) {
    return NormalCdf(z, 0, 1);
}

double NormalTail(double z) {
    if (exactProbabilities)
        return exact::NormalTail(z);
    return 1 - NormalCdf(std::fabs(z), 0, 1);
}

double NormalQuantile(double p) {
    if (exactProbabilities)
        return exact::NormalQuantile(p);
    if (std::isnan(p))
        RaiseFault(FaultKind::InvalidOperation);
    // The tail law keeps growing as p shrinks; below 1e-10 it is held at its
    // value there, on both sides, so tiny and impossible probabilities give a
    // large quantile of the right sign.
    constexpr double kSmallestTail = 1e-10;
    const double d = std::fabs(1 - 2 * p);
    const double s = Sign(1 - 2 * p);
    const double a = std::fabs(0.5 - p);
    if (a > 0.48) {
        double q = 0.5 - a;  // the smaller tail probability
        if (q < kSmallestTail)
            q = kSmallestTail;
        return -s * 1.309 * Power(q, -0.122);
    }
    // A rational approximation of the inverse error function of d.
    const double e = d * d;
    const double u = e - 1.188;
    const double v = e - 2.375 - 0.05496 / u;
    const double w = e - 3.293 - 1.897 / v;
    const double r = d * (1 - 0.1137 - 0.5751 * e / w);
    return -std::numbers::sqrt2 * s * r;
}

double FisherTail(double x, double nu1, double nu2) {
    if (exactProbabilities)
        return exact::FisherTail(x, nu1, nu2);
    // Paulson's normal approximation of F (A-S 26.6.15) with the normal tail
    // of A-S 26.2.19.
    if (x == 0.0)
        return 1.0;
    if (nu1 == 1)
        x = x * x;  // Student's t: its square is F(1, nu2)
    double y = x, a = nu1, b = nu2;
    if (x < 1) {  // the reciprocal has the swapped law
        y = CheckedDivide(1, x);
        a = nu2;
        b = nu1;
    }
    const double bigA = CheckedDivide(2.0 / 9.0, a);
    const double bigB = CheckedDivide(2.0 / 9.0, b);
    const double root = Power(y, 1.0 / 3);
    double z =
        std::fabs(root * (1 - bigB) - 1 + bigA) / CheckedSqrt(Power(y, 2.0 / 3) * bigB + bigA);
    if (b < 4)  // small-denominator correction
        z = z * (1 + 0.08 * Power(z, 4) / (b * b * b));
    const double poly =
        1 + 0.196854 * z + 0.115194 * z * z + 0.000344 * z * z * z + 0.019527 * Power(z, 4);
    double p = Checked(0.5 / Power(poly, 4));
    // p is the tail on the far side of the median; 1 and 0.5 stand for the
    // approximate medians of F and of t squared.
    if ((x < 1 && nu1 > 1) || (nu1 == 1 && x < 0.5))
        p = 1 - p;
    return p;
}

double FisherQuantile(int nu1, int nu2, double p) {
    if (exactProbabilities)
        return exact::FisherQuantile(nu1, nu2, p);
    RequireProbability(p);
    double x0 = 1.5, p0 = FisherTail(x0, nu1, nu2);
    double x1 = 2.0;
    double best = x0, bestGap = std::fabs(p - p0);
    for (int step = 0; step < QuantileSearchSteps; ++step) {
        const double p1 = FisherTail(x1, nu1, nu2);
        const double d = p0 - p1;
        const double x2 = d != 0 ? x1 + (p - p1) / d * (x0 - x1) : x1;
        x0 = x1;
        p0 = p1;
        x1 = Checked(x2);
        // The answer is the last point whose probability is known, not the
        // freshly extrapolated one.
        if (std::fabs(p - p0) < 1e-6 || d == 0)
            return x0;
        if (std::fabs(p - p0) < bestGap) {
            bestGap = std::fabs(p - p0);
            best = x0;
        }
    }
    return best;
}

double ChiSquareTail(double x, double nu) {
    if (exactProbabilities)
        return exact::ChiSquareTail(x, nu);
    if (nu > 40 || nu * Log10(x + 1e-6) / 2 > 38 || x > 20000) {
        // Wilson-Hilferty; the constant keeps its five digits.
        const double h = CheckedDivide(0.22222, nu);
        const double z = (Power(x / nu, 1.0 / 3) - 1 + h) / CheckedSqrt(h);
        if (z > 5)
            return 0.0;
        return 1 - StdNormalCdf(z);
    }
    // The series of the lower incomplete gamma function: L * S is P(chi2 < x).
    const int n = static_cast<int>(nu);
    double g = 1;
    for (int factor = n; factor >= 2; factor -= 2)
        g *= factor;
    double l = std::exp(-x / 2) * Power(x, std::floor((nu + 1) / 2)) / g;
    if (l != 0 && nu / 2 != std::trunc(nu / 2))
        l = l * CheckedSqrt(2 / (std::numbers::pi * x));
    double term = 1, sum = 1;
    do {
        nu = nu + 2;
        term = term * x / nu;
        sum = sum + term;
    } while (!(term < 1e-5 * sum || term > 1e28));
    if (term > 1e28)
        return 0.0;
    return 1 - l * sum;
}

namespace {

// Upper-tail probability T and the line A + B (nu + 1) of the chi-square
// quantile for many degrees of freedom. Single-precision values, interpolated
// in double precision.
struct ChiSquareRow {
    float t, a, b;
};
constexpr ChiSquareRow kChiSquareTable[] = {
    {0.0f, 25.0f, 1.3f},       {0.001f, 21.76f, 1.296f},  {0.01f, 14.9f, 1.224f},
    {0.02f, 12.66f, 1.198f},   {0.05f, 9.528f, 1.159f},   {0.1f, 6.946f, 1.124f},
    {0.2f, 4.076f, 1.081f},    {0.3f, 2.175f, 1.051f},    {0.5f, -0.6645f, 1.0f},
    {0.7f, -3.136f, 0.9493f},  {0.8f, -4.461f, 0.9187f},  {0.9f, -6.09f, 0.8763f},
    {0.95f, -7.263f, 0.8415f}, {0.98f, -8.706f, 0.8075f}, {0.99f, -9.057f, 0.7766f},
    {1.0f, -9.5f, 0.71f},
};

double ChiSquareTableQuantile(double p, double nu) {
    constexpr int last = static_cast<int>(std::size(kChiSquareTable)) - 1;
    int k = 0;
    while (k < last - 1 && p > static_cast<double>(kChiSquareTable[k + 1].t))
        ++k;
    const double t0 = kChiSquareTable[k].t, t1 = kChiSquareTable[k + 1].t;
    const double f = (p - t0) / (t1 - t0);
    const double a = kChiSquareTable[k].a + f * (kChiSquareTable[k + 1].a - kChiSquareTable[k].a);
    const double b = kChiSquareTable[k].b + f * (kChiSquareTable[k + 1].b - kChiSquareTable[k].b);
    return a + b * (nu + 1);
}

}  // namespace

double ChiSquareQuantile(double p, double nu) {
    if (exactProbabilities)
        return exact::ChiSquareQuantile(p, nu);
    RequireProbability(p);
    if (nu > 34)
        return ChiSquareTableQuantile(p, nu);
    // Damped secant: a step that would leave the positive axis is halved.
    double x0 = nu, p0 = ChiSquareTail(x0, nu);
    double x1 = nu + 1;
    double best = x0, bestGap = std::fabs(p - p0);
    for (int step = 0; step < QuantileSearchSteps; ++step) {
        const double p1 = ChiSquareTail(x1, nu);
        if (std::fabs(p0 - p1) < 1e-6)
            return x0;
        double h = Checked((p - p1) / (p0 - p1) * (x0 - x1));
        while (x1 + h <= 0)
            h = h / 2;
        x0 = x1;
        p0 = p1;
        x1 = x1 + h;
        if (std::fabs(p - p0) < 1e-6)
            return x0;
        if (std::fabs(p - p0) < bestGap) {
            bestGap = std::fabs(p - p0);
            best = x0;
        }
    }
    return best;
}

}  // namespace dalvex
