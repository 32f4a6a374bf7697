#include "numeric/basic.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "core/arithmetic_fault.h"

namespace dalvex {
namespace {

constexpr double kPi = std::numbers::pi;

TEST(PowerTest, ConventionsForZeroAndNegativeBases) {
    struct Case {
        double base, exponent, expected;
    };
    const Case cases[] = {
        {0, 0, 0},        {0, -2, 0},      {0, 3, 0},  // zero base is always 0
        {-8, 1.0 / 3, 0},                              // fractional power of a negative
        {-2, 3, -8},      {-2, 2, 4},      {-2, -1, -0.5}, {-2, -2, 0.25}, {2, 10, 1024},
        {9, 0.5, 3},      {8, 1.0 / 3, 2}, {2, 0, 1},      {-1, 1e20, 1},  // a huge whole exponent
                                                                           // is even
    };
    for (const Case& c : cases)
        EXPECT_NEAR(Power(c.base, c.exponent), c.expected, 1e-12 * (1 + std::fabs(c.expected)))
            << c.base << " ^ " << c.exponent;
}

TEST(PowerTest, OverflowIsAFaultNotInfinity) {
    EXPECT_THROW(Power(10, 400), ArithmeticFault);
    EXPECT_THROW(Power(-10, 401), ArithmeticFault);
    EXPECT_EQ(Power(10, -400), 0.0);  // underflow is a plain zero
}

TEST(SignTest, SignAndSignNonZero) {
    struct Case {
        double x, sign, nonZero;
    };
    const Case cases[] = {{-3.5, -1, -1}, {0.0, 0, -1}, {-0.0, 0, -1}, {1e-300, 1, 1}, {7, 1, 1}};
    for (const Case& c : cases) {
        EXPECT_EQ(Sign(c.x), c.sign) << c.x;
        EXPECT_EQ(SignNonZero(c.x), c.nonZero) << c.x;
    }
}

TEST(Log10Test, DecimalLogarithmAndItsDomain) {
    EXPECT_NEAR(Log10(1000), 3, 1e-15);
    EXPECT_NEAR(Log10(99), 1.99563519459755, 1e-13);
    EXPECT_EQ(Log10(1), 0);
    EXPECT_THROW(Log10(0), ArithmeticFault);
    EXPECT_THROW(Log10(-1), ArithmeticFault);
}

TEST(AngleTest, QuadrantsAxesAndOrigin) {
    struct Case {
        double x, y, expected;
    };
    const Case cases[] = {
        {0, 0, 0},         {0, 2, kPi / 2},      {0, -2, -kPi / 2},
        {1, 1, kPi / 4},   {-1, 1, 3 * kPi / 4}, {-1, -1, -3 * kPi / 4},
        {1, -1, -kPi / 4}, {-1, 0, kPi},         {-1, -0.0, kPi},  // -0 counts as y >= 0
        {2, 0, 0},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(Angle(c.x, c.y), c.expected, 1e-15) << c.x << ", " << c.y;
}

}  // namespace
}  // namespace dalvex
