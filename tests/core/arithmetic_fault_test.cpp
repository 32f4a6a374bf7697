#include "core/arithmetic_fault.h"

#include <gtest/gtest.h>

#include <limits>

namespace dalvex {
namespace {

TEST(ArithmeticFaultTest, NonFiniteResultsRaiseTheirFault) {
    EXPECT_EQ(Checked(2.5), 2.5);
    try {
        CheckedDivide(1, 0);
        FAIL();
    } catch (const ArithmeticFault& f) {
        EXPECT_EQ(f.kind(), FaultKind::DivisionByZero);
        EXPECT_EQ(InterruptionText(f), "Прерывание: Деление на ноль");
    }
    EXPECT_THROW(Checked(std::sqrt(-1.0)), ArithmeticFault);
    EXPECT_THROW(Checked(std::numeric_limits<double>::max() * 2), ArithmeticFault);
    EXPECT_THROW(CheckedDivide(std::numeric_limits<double>::max(), 0.5), ArithmeticFault);
}

}  // namespace
}  // namespace dalvex
