#include "numeric/basic.h"

#include <cmath>
#include <numbers>

#include "core/arithmetic_fault.h"

namespace dalvex {

double Power(double base, double exponent) {
    if (base == 0.0)
        return 0.0;
    if (base > 0.0)
        return Checked(std::exp(exponent * std::log(base)));
    if (exponent != std::trunc(exponent))
        return 0.0;
    const double r = Checked(std::exp(exponent * std::log(-base)));
    // Whole exponents beyond 2^53 are all even in double precision.
    return std::fmod(exponent, 2.0) == 0.0 ? r : -r;
}

double Sign(double x) {
    if (x < 0.0)
        return -1.0;
    if (x > 0.0)
        return 1.0;
    return 0.0;
}

double SignNonZero(double x) {
    return x > 0.0 ? 1.0 : -1.0;
}

double Log10(double x) {
    if (!(x > 0.0))
        RaiseFault(FaultKind::InvalidOperation);
    return std::log(x) / std::numbers::ln10;
}

double Angle(double x, double y) {
    constexpr double pi = std::numbers::pi;
    if (x == 0.0) {
        if (y == 0.0)
            return 0.0;
        return y < 0.0 ? -pi / 2 : pi / 2;
    }
    const double a = std::atan(y / x);
    if (x > 0.0)
        return a;
    return y < 0.0 ? a - pi : a + pi;
}

}  // namespace dalvex
