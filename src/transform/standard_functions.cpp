#include "transform/standard_functions.h"

#include <array>
#include <cmath>
#include <cstdint>

#include "core/arithmetic_fault.h"
#include "numeric/basic.h"

namespace dalvex {

namespace {

constexpr double StandIn = 1e36;  // what an infinite result is written as

// Trunc(x) as a 64-bit integer; a value past their range is an overflow.
std::int64_t Whole(double x) {
    if (!(std::fabs(x) < 9.2e18))
        RaiseFault(FaultKind::Overflow);
    return static_cast<std::int64_t>(std::trunc(x));
}

}  // namespace

const std::string& StandardFunctionButton(int number) {
    static const std::array<std::string, StandardFunctionCount> buttons = {
        "&1 = LOG",   "&2 = LN  ",  "&3 = EXP",     "&4 = ABS",         "&5 = SQRT",
        "&6 = X^a",   "&7=ROUND",   "&8 = INT    ", "&9 = FRAC",        "&A = 1/X   ",
        "&B = MOD a", "&C = a+b*X", "&D = SIN",     "&E = COS",         "&F = TAN",
        "&G = ASIN",  "&H = ACOS",  "&I = ATAN",    "&J = Производная", "&K = Интеграл",
    };
    static const std::string none;
    if (number < 1 || number > StandardFunctionCount)
        return none;
    return buttons[static_cast<std::size_t>(number - 1)];
}

StandardValue ApplyStandard(StandardFunction f, double x, double a, double b) {
    switch (f) {
        case StandardFunction::Log10:
            return x > 0 ? StandardValue{std::log10(x)} : StandardValue{0.0, true};
        case StandardFunction::Ln:
            return x > 0 ? StandardValue{std::log(x)} : StandardValue{0.0, true};
        case StandardFunction::Exp:
            return x < 85 ? StandardValue{std::exp(x)} : StandardValue{StandIn, true};
        case StandardFunction::Abs:
            return {std::fabs(x)};
        case StandardFunction::Sqrt:
            return x >= 0 ? StandardValue{std::sqrt(x)} : StandardValue{0.0, true};
        case StandardFunction::PowerA:
            return {Power(x, a)};
        case StandardFunction::Round:
            // Halves go up, on both sides of zero: -2.5 gives -2, -2.7 gives -3.
            return {std::floor(x + 0.5)};
        case StandardFunction::Int:
            return {std::trunc(x)};
        case StandardFunction::Frac:
            return {x - std::trunc(x)};
        case StandardFunction::Reciprocal:
            return x != 0 ? StandardValue{1.0 / x} : StandardValue{StandIn, true};
        case StandardFunction::ModA: {
            const std::int64_t divisor = Whole(a);
            if (divisor == 0)
                RaiseFault(FaultKind::DivisionByZero);
            // The remainder takes the sign of x.
            return {static_cast<double>(Whole(x) % divisor)};
        }
        case StandardFunction::Linear:
            return {a + x * b};
        case StandardFunction::Sin:
            return {std::sin(x)};
        case StandardFunction::Cos:
            return {std::cos(x)};
        case StandardFunction::Tan: {
            const double c = std::cos(x);
            const double s = std::sin(x);
            if (c == 0)
                return {s < 0 ? -StandIn : StandIn, true};
            return {s / c};
        }
        case StandardFunction::Asin:
            return std::fabs(x) <= 1 ? StandardValue{std::asin(x)} : StandardValue{0.0, true};
        case StandardFunction::Acos:
            return std::fabs(x) <= 1 ? StandardValue{std::acos(x)} : StandardValue{0.0, true};
        case StandardFunction::Atan:
            return {std::atan(x)};
        case StandardFunction::Derivative:
        case StandardFunction::Integral:
            break;
    }
    return {x};
}

}  // namespace dalvex
