// The program's one uniform generator and the laws of the number generator
// ("Генератор чисел"). Every random draw of the program advances the one
// seed of the workspace: seed := seed * 134775813 + 1 (mod 2^32).
#pragma once

#include <string>
#include <vector>

namespace dalvex {

struct Workspace;

// seed * 2^-32 after one step, in [0, 1).
double NextUniform(Workspace& ws);
// A draw from the open interval (0, 1): a 0 is drawn again, so no law ever
// takes the logarithm of 0.
double NextOpenUniform(Workspace& ws);
// A standard normal draw by the polar method.
double NextNormal(Workspace& ws);

enum class GeneratorLaw {
    Progression = 1,
    Formula,
    Uniform,
    Normal,
    Exponential,
    Rayleigh,
    Weibull,
    Logistic,
    ExtremeValue,
    Erlang,
    Lognormal,
};

inline constexpr int GeneratorLawCount = 11;

// The button text of law `number` (1..11), e.g. "&3=равномерное".
const std::string& GeneratorLawButton(int number);

// Values 0 .. n - 1 of every law but the formula, with parameters a and b.
std::vector<double> GenerateValues(Workspace& ws, GeneratorLaw law, int n, double a, double b);

}  // namespace dalvex
