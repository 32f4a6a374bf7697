// The probability calculator (method 28): tables of the five discrete laws,
// and for the eight continuous laws the probability between two bounds or,
// in the inverse group, the quantile of a probability; both with graphs.
// The figures come from the pure functions below; the routine asks, checks
// and writes.
#pragma once

#include <string>
#include <vector>

#include "core/form_dialog.h"
#include "stats/distribution_laws.h"

namespace dalvex {

struct Workspace;

inline constexpr const char* DiscreteTableTitle = " Функция распределения вероятностей";
inline constexpr const char* DiscreteTableHeading = "        r      P(=r)     P(X<=r)";
inline constexpr const char* BoundsHeading = "       x1       x2    F(x1)    F(x2)  F(x1)-F(x2)";
inline constexpr int CalculatorRowWidth = 65000 / 4;
std::string TableRowsNotice();

// The dialogs, as data.
FormDialog Tqq271Form();
// `index` 0..12: the discrete laws 0..4, then normal .. lognormal. Only the
// fields with a label are shown; `texts` are the three remembered texts.
FormDialog Tqq278Form(int index, const std::vector<std::string>& texts);
FormDialog Tqq270Form();
FormDialog Tqq289Form();
FormDialog Tqq290Form();

// Shown in place of the graphs when the law's points cannot differ.
inline constexpr const char* CurvesNotDrawnNotice =
    "!МАСШТАБ ЗАКОНА ТЕРЯЕТСЯ РЯДОМ С ЕГО СДВИГОМ - ГРАФИК НЕ СТРОИТСЯ!";
// The curves of a continuous law's graphs: F at 52 points over the law's
// range, and the density as F's difference quotient at the 51 midpoints;
// empty when a scale lost beside the location leaves no distinct points.
struct LawCurves {
    std::vector<double> x, cdf;
    std::vector<double> middle, density;
};
LawCurves ComputeLawCurves(ContinuousLaw law, double a, double b);

// One line of the direct calculator: the bounds in order, a negative lower
// bound of a law on the positive half-line taken as 0.
struct BoundsFigures {
    double x1 = 0, x2 = 0, f1 = 0, f2 = 0;
};
BoundsFigures ComputeBounds(ContinuousLaw law, double a, double b, double x1, double x2);

// Method 28.
void ProbabilityCalculator(Workspace& ws);

}  // namespace dalvex
