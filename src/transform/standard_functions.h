// The standard functions of the "Стандартные функции" dialog: one fixed
// function of a present value, with parameters a and b. An argument outside
// a function's domain is replaced by the function's stand-in value and
// counted, so the person learns how many cells did not get the true result.
#pragma once

#include <string>
#include <vector>

namespace dalvex {

enum class StandardFunction {
    Log10 = 1,
    Ln,
    Exp,
    Abs,
    Sqrt,
    PowerA,
    Round,
    Int,
    Frac,
    Reciprocal,
    ModA,
    Linear,
    Sin,
    Cos,
    Tan,
    Asin,
    Acos,
    Atan,
    Derivative,
    Integral,
};

inline constexpr int StandardFunctionCount = 20;

// The button text of function `number` (1..20), e.g. "&1 = LOG".
const std::string& StandardFunctionButton(int number);

struct StandardValue {
    double value = 0.0;
    bool invalid = false;  // the argument lay outside the domain
};

// The function of one value (every function but the derivative and the
// integral, which read their neighbours). MOD with Trunc(a) = 0 raises a
// division by zero; a value past the 64-bit integers an overflow.
StandardValue ApplyStandard(StandardFunction f, double x, double a, double b);

}  // namespace dalvex
