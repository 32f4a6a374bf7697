#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "core/arithmetic_fault.h"
#include "numeric/distributions.h"

namespace dalvex {
namespace {

// Every expected value is R 4.2's pnorm, dnorm, qnorm, pt, qt, pf, qf,
// pchisq or qchisq (upper tails with lower.tail = FALSE, two-sided t tails
// doubled), printed with 17 digits.
struct ExactCase {
    std::string what;
    std::function<double()> routine;
    double r;
};

void ExpectRelative(const ExactCase& c) {
    const double got = c.routine();
    if (c.r == 0)
        EXPECT_EQ(got, 0.0) << c.what;
    else
        EXPECT_NEAR(got / c.r, 1.0, 1e-10) << c.what << ": " << got << " vs R " << c.r;
}

TEST(ExactProbabilitiesTest, EveryRoutineMatchesR) {
    const ProbabilityModeScope exact(true);
    const ExactCase cases[] = {
        {"pnorm(0)", [] { return StdNormalCdf(0); }, 0.5},
        {"pnorm(1.96)", [] { return StdNormalCdf(1.96); }, 0.97500210485177963},
        {"pnorm(-3)", [] { return StdNormalCdf(-3); }, 0.0013498980316300946},
        {"pnorm(-8)", [] { return StdNormalCdf(-8); }, 6.2209605742717849e-16},
        {"pnorm(-30)", [] { return StdNormalCdf(-30); }, 4.9067139271481872e-198},
        {"pnorm(5, 10, 2)", [] { return NormalCdf(5, 10, 2); }, 0.0062096653257761349},
        {"upper tail of -1.96", [] { return NormalTail(-1.96); }, 0.024997895148220428},
        {"upper tail of 10", [] { return NormalTail(10); }, 7.6198530241605269e-24},
        {"dnorm(1)", [] { return NormalDensity(3, 1, 2); }, 0.24197072451914337},
        {"qnorm(0.975)", [] { return NormalQuantile(0.975); }, 1.9599639845400536},
        {"qnorm(0.025)", [] { return NormalQuantile(0.025); }, -1.9599639845400538},
        {"qnorm(0.05)", [] { return NormalQuantile(0.05); }, -1.6448536269514726},
        {"qnorm(0.01)", [] { return NormalQuantile(0.01); }, -2.3263478740408408},
        {"qnorm(1e-10)", [] { return NormalQuantile(1e-10); }, -6.3613409024040557},
        {"qnorm(1e-20)", [] { return NormalQuantile(1e-20); }, -9.2623400897984052},
        {"qnorm(0.999999)", [] { return NormalQuantile(0.999999); }, 4.7534243088170891},
        {"t 2.228, 10", [] { return FisherTail(2.228, 1, 10); }, 0.050011771817111327},
        {"t -2.228, 10", [] { return FisherTail(-2.228, 1, 10); }, 0.050011771817111327},
        {"t 0.5, 10", [] { return FisherTail(0.5, 1, 10); }, 0.62789360574297293},
        {"t 50, 2", [] { return FisherTail(50, 1, 2); }, 0.00039976015988808057},
        {"t 1.96, 1000", [] { return FisherTail(1.96, 1, 1000); }, 0.050273184955748722},
        {"t 2.5, 3.5", [] { return FisherTail(2.5, 1, 3.5); }, 0.07569464380949005},
        {"t 30, 20", [] { return FisherTail(30, 1, 20); }, 4.1952253239996398e-18},
        {"F 3.1, 3, 20", [] { return FisherTail(3.1, 3, 20); }, 0.04992453304567878},
        {"F 0.5, 3, 20", [] { return FisherTail(0.5, 3, 20); }, 0.68651861283640314},
        {"F 2, 2, 3", [] { return FisherTail(2, 2, 3); }, 0.28056585887484731},
        {"F 4, 5.5, 12.3", [] { return FisherTail(4, 5.5, 12.3); }, 0.020324684170501369},
        {"F 0.001, 4, 30", [] { return FisherTail(1e-3, 4, 30); }, 0.99999786988747097},
        {"F 40, 5, 100", [] { return FisherTail(40, 5, 100); }, 2.1235493538408472e-22},
        {"qt(0.975, 10)", [] { return FisherQuantile(1, 10, 0.05); }, 2.2281388519862739},
        {"qt(0.995, 30)", [] { return FisherQuantile(1, 30, 0.01); }, 2.7499956535672254},
        {"qt(0.975, 1)", [] { return FisherQuantile(1, 1, 0.05); }, 12.706204736174694},
        {"qt(0.975, 1000)", [] { return FisherQuantile(1, 1000, 0.05); }, 1.9623390808264076},
        {"qf(0.95, 3, 20)", [] { return FisherQuantile(3, 20, 0.05); }, 3.0983912121407795},
        {"qf(0.99, 4, 60)", [] { return FisherQuantile(4, 60, 0.01); }, 3.6490474910949979},
        {"qf(0.5, 2, 5)", [] { return FisherQuantile(2, 5, 0.5); }, 0.7987697769322355},
        {"qf(0.95, 10, 10)", [] { return FisherQuantile(10, 10, 0.05); }, 2.9782370160823213},
        {"chi2 3.841, 1", [] { return ChiSquareTail(3.841, 1); }, 0.050013683763956873},
        {"chi2 18.307, 10", [] { return ChiSquareTail(18.307, 10); }, 0.050000589091398123},
        {"chi2 0.5, 3", [] { return ChiSquareTail(0.5, 3); }, 0.91889141165467592},
        {"chi2 67.505, 50", [] { return ChiSquareTail(67.505, 50); }, 0.049998364470548243},
        {"chi2 300, 30", [] { return ChiSquareTail(300, 30); }, 2.6480484856308771e-46},
        {"chi2 1000, 3", [] { return ChiSquareTail(1000, 3); }, 1.7994208765314476e-216},
        {"chi2 2.5, 3.5", [] { return ChiSquareTail(2.5, 3.5); }, 0.56395161981743602},
        {"qchisq(0.95, 10)", [] { return ChiSquareQuantile(0.05, 10); }, 18.307038053275146},
        {"qchisq(0.99, 5)", [] { return ChiSquareQuantile(0.01, 5); }, 15.086272469388987},
        {"qchisq(0.05, 3)", [] { return ChiSquareQuantile(0.95, 3); }, 0.35184631774927144},
        {"qchisq(0.95, 40)", [] { return ChiSquareQuantile(0.05, 40); }, 55.75847927888703},
        {"qchisq(0.5, 35)", [] { return ChiSquareQuantile(0.5, 35); }, 34.33563814070363},
        {"qchisq(0.99, 200)", [] { return ChiSquareQuantile(0.01, 200); }, 249.44512298144159},
        {"qchisq(0.999, 1)", [] { return ChiSquareQuantile(0.001, 1); }, 10.827566170662729},
    };
    for (const ExactCase& c : cases)
        ExpectRelative(c);
}

// The approximations' own landmarks come back once the choice is undone.
TEST(ExactProbabilitiesTest, ChoiceIsScopedAndTheApproximationsStayTheDefault) {
    EXPECT_FALSE(ExactProbabilities());
    {
        const ProbabilityModeScope exact(true);
        EXPECT_NEAR(FisherTail(2.228, 1, 10), 0.050011771817111327, 1e-12);
        {
            const ProbabilityModeScope approximate(false);
            EXPECT_NEAR(FisherTail(2.228, 1, 10), 0.048067236654105505, 1e-14);
        }
        EXPECT_NEAR(NormalQuantile(0.975), 1.9599639845400536, 1e-12);
    }
    EXPECT_FALSE(ExactProbabilities());
    EXPECT_NEAR(FisherTail(2.228, 1, 10), 0.048067236654105505, 1e-14);
    EXPECT_NEAR(NormalQuantile(0.975), 1.9583230036877484, 1e-14);
    EXPECT_NEAR(ChiSquareQuantile(0.05, 40), 57.047001598551773, 1e-8);
}

TEST(ExactProbabilitiesTest, BoundsAndFaults) {
    const ProbabilityModeScope exact(true);
    EXPECT_EQ(FisherTail(0, 1, 10), 1.0);
    EXPECT_EQ(FisherTail(0, 3, 20), 1.0);
    EXPECT_EQ(ChiSquareTail(0, 4), 1.0);
    EXPECT_EQ(NormalQuantile(0.5), 0.0);
    EXPECT_EQ(StdNormalCdf(200), 1.0);
    EXPECT_EQ(StdNormalCdf(-200), 0.0);
    // Probabilities of 0 and 1 are held at the smallest tail, with the sign
    // of their side, never an infinity.
    const double bound = NormalQuantile(1e-300);
    EXPECT_NEAR(bound, -37.047096299361201, 1e-9);
    for (double p : {0.0, -0.5, 1e-320})
        EXPECT_EQ(NormalQuantile(p), bound) << p;
    for (double p : {1.0, 1.5})
        EXPECT_EQ(NormalQuantile(p), -bound) << p;
    EXPECT_EQ(FisherQuantile(3, 20, 1), 0.0);
    // Outside the laws' domains: the program's arithmetic faults.
    EXPECT_THROW(FisherTail(2, 3, 0), ArithmeticFault);
    EXPECT_THROW(ChiSquareTail(2, 0), ArithmeticFault);
    EXPECT_THROW(NormalCdf(1, 0, 0), ArithmeticFault);
    EXPECT_THROW(NormalQuantile(std::nan("")), ArithmeticFault);
    EXPECT_THROW(FisherQuantile(3, 20, 0), ArithmeticFault);  // an infinite critical value
    for (double p : {-0.1, 1.5, std::nan("")}) {
        EXPECT_THROW(FisherQuantile(1, 10, p), ArithmeticFault) << p;
        EXPECT_THROW(ChiSquareQuantile(p, 10), ArithmeticFault) << p;
    }
}

}  // namespace
}  // namespace dalvex
