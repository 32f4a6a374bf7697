// Elementary routines shared by the distributions, the formula language and
// the methods. Their conventions (a zero base gives 0, a negative base with a
// fractional exponent gives 0) differ from std::pow on purpose: every value
// the program computes through them depends on these conventions.
#pragma once

namespace dalvex {

// base raised to exponent: 0 for a zero base whatever the exponent; for a
// negative base 0 unless the exponent is whole, then the sign follows its
// parity. An infinite result raises an overflow fault.
double Power(double base, double exponent);

// -1, 0 or 1.
double Sign(double x);

// 1 for a positive x, otherwise -1 (zero gives -1).
double SignNonZero(double x);

// Decimal logarithm; a non-positive x raises an invalid-operation fault.
double Log10(double x);

// Polar angle of the point (x, y) in (-pi, pi]; the origin gives 0 and a
// negative zero y counts as y >= 0.
double Angle(double x, double y);

}  // namespace dalvex
