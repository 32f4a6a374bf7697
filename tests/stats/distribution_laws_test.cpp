// The laws of the probability calculator and the goodness of fit against
// values computed independently in R (pgamma, pbeta, pexp, pweibull, plogis,
// plnorm, qgamma, dbinom, dnbinom, dgeom, dhyper, dpois and the Rayleigh,
// Gumbel and Erlang laws from their formulas). The normal and lognormal laws
// go through the program's normal routine and are held to its five digits.
#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <string>
#include <vector>

#include "stats/distribution_laws.h"

namespace dalvex {
namespace {

using Law = ContinuousLaw;

TEST(DistributionLaws, IncompleteGammaAndBetaToFullPrecision) {
    // R: pgamma(x, a), pgamma(x, a, lower = FALSE); shapes from 0.5 to 1e7
    // cover the series, the continued fraction and the large-shape expansion.
    struct GammaCase {
        double a, x, p, q;
    };
    const GammaCase gammas[] = {
        {0.5, 0.2, 0.47291074313446191, 0.52708925686553809},
        {3, 2.5, 0.45618688411667041, 0.54381311588332959},
        {3, 10, 0.9972306042844884, 0.0027693957155115767},
        {50, 45, 0.24680203440017021, 0.75319796559982977},
        {1e4, 10050, 0.69234244070256556, 0.30765755929743444},
        {2e5, 199700, 0.25129802435345266, 0.74870197564654728},
        {1e7, 10002000, 0.73647602984870508, 0.26352397015129492},
        {1e7, 9991000, 0.0022080635991100941, 0.99779193640088981},
    };
    for (const GammaCase& c : gammas) {
        EXPECT_NEAR(RegularizedGammaP(c.a, c.x), c.p, 2e-13 * std::max(1.0, c.a / 1e4)) << c.a;
        EXPECT_NEAR(RegularizedGammaQ(c.a, c.x), c.q, 2e-13 * std::max(1.0, c.a / 1e4)) << c.a;
    }
    // R: pbeta(x, a, b).
    struct BetaCase {
        double x, a, b, p;
    };
    const BetaCase betas[] = {{0.3, 2, 5, 0.57982500000000015},
                              {0.9, 0.5, 0.5, 0.79516723530086664},
                              {0.5, 30, 40, 0.88579988732335113},
                              {0.01, 1.5, 3, 0.0043226875000000019}};
    for (const BetaCase& c : betas)
        EXPECT_NEAR(RegularizedBeta(c.x, c.a, c.b), c.p, 1e-14) << c.x;
}

TEST(DistributionLaws, ContinuousFunctionsQuantilesAndMoments) {
    struct Case {
        Law law;
        double a, b, x, cdf, quantile30;  // F(x) and the quantile of 0.3
        double tolerance;                 // the normal routine's accuracy where it is used
    };
    const Case cases[] = {
        {Law::Normal, 0.1, 1, 0.5, 0.65542174161032418, -0.42440051270804069, 2e-3},
        {Law::Exponential, 2, 0, 1.5, 0.52763344725898531, 0.71334988787746467, 1e-14},
        {Law::Rayleigh, 2, 0, 1.5, 0.43021717526907699, 1.1944453841657767, 1e-14},
        {Law::Weibull, 3, 1.7, 2.2, 0.4457935260407031, 1.635882840294318, 1e-14},
        {Law::Logistic, 1, 0.5, 1.8, 0.83201838513392445, 0.57635106980639828, 1e-14},
        {Law::ExtremeValue, 1, 0.5, 0.7, 0.42236415574108432, 0.4845347834206386, 1e-14},
        {Law::Erlang, 1.5, 3, 4, 0.49817507450198883, 2.8706636911905945, 1e-13},
        {Law::Lognormal, 0.1, 1, 2, 0.7234586711188099, 0.65416182930890998, 2e-3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.law));
        EXPECT_NEAR(LawCdf(c.law, c.a, c.b, c.x), c.cdf, std::max(c.tolerance / 100, 1e-14));
        const LawQuantile q = QuantileOf(c.law, c.a, c.b, 0.3);
        ASSERT_EQ(q.kind, LawQuantile::Finite);
        EXPECT_NEAR(q.x, c.quantile30, c.tolerance);
    }
    // R: qgamma(c(1e-9, 0.999999), 3, scale = 1.5), qgamma(0.5, 200, scale = 0.1).
    EXPECT_NEAR(QuantileOf(Law::Erlang, 1.5, 3, 1e-9).x, 0.0027269199000405234, 1e-15);
    EXPECT_NEAR(QuantileOf(Law::Erlang, 1.5, 3, 0.999999).x, 28.693752282859386, 1e-11);
    EXPECT_NEAR(QuantileOf(Law::Erlang, 0.1, 200, 0.5).x, 19.966676561246569, 1e-11);

    // R: 3 * gamma(1 + 1/1.7), 9 * (gamma(1 + 2/1.7) - gamma(1 + 1/1.7)^2);
    // exp(0.1 + 0.5), (exp(1) - 1) * exp(0.2 + 1); the Rayleigh's sqrt(pi)
    // and (1 - pi/4) a^2.
    const LawMoments weibull = MomentsOf(Law::Weibull, 3, 1.7);
    EXPECT_NEAR(weibull.mean, 2.6767335074979726, 1e-14);
    EXPECT_NEAR(weibull.variance, 2.6266934452126831, 1e-13);
    const LawMoments lognormal = MomentsOf(Law::Lognormal, 0.1, 1);
    EXPECT_NEAR(lognormal.mean, 1.8221188003905089, 1e-14);
    EXPECT_NEAR(lognormal.variance, 5.7048965766975721, 1e-13);
    const LawMoments rayleigh = MomentsOf(Law::Rayleigh, 2, 0);
    EXPECT_NEAR(rayleigh.mean, 1.7724538509055159, 1e-15);
    EXPECT_NEAR(rayleigh.variance, 0.85840734641020688, 1e-15);
    // Beyond a double the moments are infinite, not an overflow.
    EXPECT_TRUE(std::isinf(MomentsOf(Law::Lognormal, 0, 40).variance));
    EXPECT_TRUE(std::isinf(MomentsOf(Law::Weibull, 1, 1e-3).mean));
}

TEST(DistributionLaws, QuantilesAtTheEndsOfTheSupport) {
    using K = LawQuantile::Kind;
    struct Case {
        Law law;
        double p;
        K kind;
        double x;
    };
    const Case cases[] = {
        {Law::Normal, 0, K::MinusInfinity, 0},   {Law::Normal, 1, K::PlusInfinity, 0},
        {Law::Logistic, 0, K::MinusInfinity, 0}, {Law::ExtremeValue, 1, K::PlusInfinity, 0},
        {Law::Exponential, 0, K::Finite, 0},     {Law::Exponential, 1, K::PlusInfinity, 0},
        {Law::Weibull, 1, K::PlusInfinity, 0},   {Law::Erlang, 0, K::Finite, 0},
        {Law::Erlang, 1, K::PlusInfinity, 0},    {Law::Lognormal, 0, K::Finite, 0},
        {Law::Lognormal, 1, K::PlusInfinity, 0}, {Law::Rayleigh, 1, K::PlusInfinity, 0},
    };
    for (const Case& c : cases) {
        const LawQuantile q = QuantileOf(c.law, 1, 2, c.p);
        EXPECT_EQ(q.kind, c.kind) << static_cast<int>(c.law) << " " << c.p;
        if (c.kind == K::Finite) {
            EXPECT_EQ(q.x, c.x);
        }
    }
}

TEST(DistributionLaws, ParametersThatDefineNoLawAreNamed) {
    EXPECT_EQ(LawParameterProblem(Law::Normal, 5, 0), PositiveParameterNotice);
    EXPECT_EQ(LawParameterProblem(Law::Exponential, -1, 0), PositiveParameterNotice);
    EXPECT_EQ(LawParameterProblem(Law::Weibull, 1, -2), PositiveParameterNotice);
    EXPECT_EQ(LawParameterProblem(Law::Erlang, 1, 2.5), ErlangShapeNotice);
    EXPECT_EQ(LawParameterProblem(Law::Erlang, 1, 0), ErlangShapeNotice);
    // A shape past 1e100 is a spike no double resolves.
    EXPECT_EQ(LawParameterProblem(Law::Gamma, 1, 1e101), NotApplicableNotice);
    EXPECT_EQ(LawParameterProblem(Law::Erlang, 1e-308, 1e308), NotApplicableNotice);
    EXPECT_EQ(LawParameterProblem(Law::Logistic, -3, 0.5), "");

    using D = DiscreteLaw;
    struct Case {
        D law;
        DiscreteParameters params;
        const char* problem;
    };
    const Case cases[] = {
        {D::Binomial, {1.5, 10, 0}, ProbabilityRangeNotice},
        {D::Binomial, {-0.1, 10, 0}, ProbabilityRangeNotice},
        {D::Binomial, {1, 10, 0}, ""},
        {D::Binomial, {0.5, -1, 0}, NotApplicableNotice},
        {D::NegativeBinomial, {0.4, 0, 0}, NotApplicableNotice},
        {D::NegativeBinomial, {0, 3, 0}, NotApplicableNotice},
        {D::Geometric, {0, 0, 0}, NotApplicableNotice},
        {D::Geometric, {1, 0, 0}, ""},
        {D::Hypergeometric, {0.2, 10, 50}, ""},
        {D::Hypergeometric, {0.13, 10, 50}, HypergeometricCountNotice},  // 6.5 successes
        {D::Hypergeometric, {0.2, 60, 50}, HypergeometricCountNotice},
        {D::Hypergeometric, {0.2, 5, 0}, HypergeometricCountNotice},
        {D::Poisson, {-1, 0, 0}, NotApplicableNotice},
        {D::Poisson, {0, 0, 0}, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DiscreteParameterProblem(c.law, c.params), c.problem)
            << static_cast<int>(c.law) << " p=" << c.params.p;
}

TEST(DistributionLaws, DiscreteTablesAgainstR) {
    using D = DiscreteLaw;
    struct Case {
        const char* name;
        D law;
        DiscreteParameters params;
        int first;
        std::vector<double> probability, cumulative;
    };
    const Case cases[] = {
        {"binomial 10, 0.5",
         D::Binomial,
         {0.5, 10, 0},
         0,
         {0.0009765625, 0.0097656250000000017, 0.043945312499999958, 0.11718750000000014,
          0.20507812499999997, 0.24609375000000003, 0.20507812499999997, 0.11718750000000014,
          0.043945312499999958, 0.0097656250000000017, 0.0009765625},
         {0.00097656250000000022, 0.010742187500000007, 0.054687499999999972, 0.17187500000000006,
          0.37695312500000011, 0.62304687499999989, 0.828125, 0.9453125, 0.9892578125, 0.9990234375,
          1}},
        {"binomial 1000, 0.001",
         D::Binomial,
         {0.001, 1000, 0},
         0,
         {0.36769542477096406, 0.36806348825922325, 0.1840317441296116, 0.061282509389840631,
          0.015289955420838611, 0.0030488079277588113, 0.00050610008143477103,
          7.1938149713450975e-05},
         {0.36769542477096406, 0.7357589130301867, 0.91979065715979891, 0.9810731665496395,
          0.99636312197047827, 0.99941192989823702, 0.99991802997967172, 0.99998996812938523}},
        {"negative binomial 3, 0.4",
         D::NegativeBinomial,
         {0.4, 3, 0},
         3,
         {0.064, 0.1152, 0.13824, 0.13824, 0.124416, 0.10450944},
         {0.064, 0.1792, 0.31744, 0.45568, 0.580096, 0.68460544}},
        {"geometric 0.3",
         D::Geometric,
         {0.3, 0, 0},
         1,
         {0.3, 0.21, 0.147, 0.1029, 0.07203},
         {0.3, 0.51, 0.657, 0.7599, 0.83193}},
        {"hypergeometric 0.2, 10 of 50",
         D::Hypergeometric,
         {0.2, 10, 50},
         0,
         {0.082519234192428487, 0.26619107804009162, 0.33689808314449105, 0.21779270021462052,
          0.078469428753797033, 0.01614228248649539, 0.0018683197322332643, 0.00011541743519587727,
          3.4169635419832209e-06, 3.8939755464196059e-08, 9.7349388660490511e-11, 0},
         {0.082519234192428487, 0.34871031223252003, 0.68560839537701102, 0.90340109559163162,
          0.98187052434542865, 0.99801280683192406, 0.99988112656415729, 0.99999654399935323,
          0.99999996096289512, 0.99999999990265054, 1, 1}},
        // The sample is larger than the failures: the first five values are
        // impossible, and the table shows them as 0 instead of refusing.
        {"hypergeometric 0.5, 30 of 50",
         D::Hypergeometric,
         {0.5, 30, 50},
         0,
         {0, 0, 0, 0, 0, 1.1273262902205405e-09, 9.3943857518378229e-08, 3.0598856448843339e-06,
          5.2783027374254901e-05},
         {0, 0, 0, 0, 0, 1.1273262902205405e-09, 9.5071183808598768e-08, 3.154956828692933e-06,
          5.5937984202947842e-05}},
        {"Poisson 2",
         D::Poisson,
         {2, 0, 0},
         0,
         {0.1353352832366127, 0.2706705664732254, 0.2706705664732254, 0.18044704431548361,
          0.090223522157741806, 0.036089408863096722},
         {0.1353352832366127, 0.40600584970983811, 0.6766764161830634, 0.85712346049854704,
          0.94734698265628881, 0.98343639151938556}},
        {"binomial 10, p = 1",
         D::Binomial,
         {1, 10, 0},
         0,
         {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1},
         {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int rows = static_cast<int>(c.probability.size());
        const DiscreteTable table = ComputeDiscreteTable(c.law, c.params, rows);
        EXPECT_EQ(table.first, c.first);
        ASSERT_EQ(static_cast<int>(table.probability.size()), rows);
        for (int i = 0; i < rows; ++i) {
            EXPECT_NEAR(table.probability[i], c.probability[i], 1e-11 * c.probability[i] + 1e-300)
                << i;
            EXPECT_NEAR(table.cumulative[i], c.cumulative[i], 1e-12) << i;
        }
    }
    // The moments: binomial N p and N p q; hypergeometric m p (1 - p) (N - m) / (N - 1).
    const DiscreteTable hyper = ComputeDiscreteTable(D::Hypergeometric, {0.2, 10, 50}, 1);
    EXPECT_DOUBLE_EQ(hyper.mean, 2);
    EXPECT_DOUBLE_EQ(hyper.variance, 10 * 0.2 * 0.8 * 40 / 49);
}

TEST(DistributionLaws, LargeCountsStayInLogSpace) {
    // R: dbinom(5000, 10000, 0.5), pbinom(5000, 10000, 0.5); dpois(500, 500),
    // ppois(500, 500), dpois(0, 500). A start probability of 1e-3011 or
    // e^-500 once refused these tables.
    const DiscreteTable binomial =
        ComputeDiscreteTable(DiscreteLaw::Binomial, {0.5, 10000, 0}, 5001);
    EXPECT_EQ(binomial.probability[0], 0);
    EXPECT_NEAR(binomial.probability[5000], 0.0079786461393821489, 1e-13);
    EXPECT_NEAR(binomial.cumulative[5000], 0.50398932306969102, 1e-11);
    const DiscreteTable poisson = ComputeDiscreteTable(DiscreteLaw::Poisson, {500, 0, 0}, 501);
    EXPECT_NEAR(poisson.probability[0] / 7.1245764067412855e-218, 1, 1e-11);
    EXPECT_NEAR(poisson.probability[500], 0.01783826786951178, 1e-13);
    EXPECT_NEAR(poisson.cumulative[500], 0.51189112169875139, 1e-11);
}

// Valid parameters at the edges of what a person can type never raise a
// floating-point division by zero, invalid operation or overflow: the
// method's output would stop there with "Прерывание".
TEST(DistributionLaws, EdgeParametersRaiseNoArithmeticFault) {
    // Names the first call that set a flag.
    auto clean = [](const std::string& what) {
        const int raised = std::fetestexcept(FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW);
        std::feclearexcept(FE_ALL_EXCEPT);
        EXPECT_EQ(raised, 0) << what;
        return raised == 0;
    };
    std::feclearexcept(FE_ALL_EXCEPT);
    for (double p : {0.0, 1e-300, 0.5, 1.0}) {
        const std::string at = " p=" + std::to_string(p);
        ComputeDiscreteTable(DiscreteLaw::Binomial, {p, 1000, 0}, 1001);
        clean("binomial" + at);
        if (p > 0) {
            ComputeDiscreteTable(DiscreteLaw::NegativeBinomial, {p, 5, 0}, 50);
            clean("negative binomial" + at);
            ComputeDiscreteTable(DiscreteLaw::Geometric, {p, 0, 0}, 50);
            clean("geometric" + at);
        }
        ComputeDiscreteTable(DiscreteLaw::Hypergeometric, {p, 10, 20}, 12);
        clean("hypergeometric" + at);
    }
    ComputeDiscreteTable(DiscreteLaw::Poisson, {0, 0, 0}, 10);
    ComputeDiscreteTable(DiscreteLaw::Poisson, {1e6, 0, 0}, 100);
    clean("Poisson");
    const Law laws[] = {Law::Normal,  Law::Exponential, Law::Rayleigh,
                        Law::Weibull, Law::Logistic,    Law::ExtremeValue,
                        Law::Erlang,  Law::Lognormal,   Law::Gamma};
    for (Law law : laws) {
        for (double a : {-1e308, 1e-300, 1.0, 1e300}) {
            for (double b : {1e-3, 1.0, 1e6, 1e100, 1e308}) {
                const double shape = law == Law::Erlang ? std::ceil(b) : b;
                if (!LawParameterProblem(law, a, shape).empty())
                    continue;
                const std::string at = "law " + std::to_string(static_cast<int>(law)) +
                                       " a=" + std::to_string(a) + " b=" + std::to_string(shape);
                MomentsOf(law, a, shape);
                if (!clean("moments " + at))
                    return;
                for (double x : {-1e308, -1e300, 0.0, 1e-300, 1.0, 1e300, 1e308}) {
                    LawCdf(law, a, shape, x);
                    if (!clean("F " + at + " x=" + std::to_string(x)))
                        return;
                }
                for (double p : {0.0, 1e-300, 0.5, 1 - 1e-16, 1.0}) {
                    QuantileOf(law, a, shape, p);
                    if (!clean("quantile " + at + " p=" + std::to_string(p)))
                        return;
                }
            }
        }
    }
}

}  // namespace
}  // namespace dalvex
