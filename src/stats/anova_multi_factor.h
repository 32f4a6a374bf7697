// Multi-factor analysis of variance (method 13): any number of factors, each
// a variable of level codes, and the response, the last variable. The
// response is regressed on effect-coded indicators of every factor's levels;
// a factor's sum of squares is what leaving its indicators out adds to the
// residual sum of squares, and its F sets that against the full model's
// residual mean square. Each fit is the orthogonal least-squares routine on
// the centred response, so data sharing a large offset keep their figures.
#pragma once

#include <string>
#include <vector>

#include "core/workspace.h"

namespace dalvex {

inline constexpr const char* FactorValuesNotice =
    "!МЕТОД НЕПРИМЕНИМ ПРИ ТАКИХ ФАКТОРНЫХ ЗНАЧЕНИЯХ!";
inline constexpr const char* MultiFactorHeading =
    "Источник Сум.квадр Ст.своб Ср.квадр Сила влияния";
// A factor's level codes run 1 .. this, and it has at least two of them.
inline constexpr int MostFactorLevels = 63;

struct FactorEffect {
    double ss = 0;  // SSE without the factor - SSE of the full model
    double df = 0;
    double ms = 0;
    double strength = 0;  // (ss² - SSE²)/(ss² + SSE²)
    double f = 0, p = 1;
};

struct MultiFactorFigures {
    // The analysis cannot be made; `unusable` names the factors the notice
    // concerns (none when it concerns the data as a whole). Nothing else is set.
    std::string notice;
    std::vector<std::string> unusable;
    std::vector<FactorEffect> factors;
    double sse = 0;  // the full model's residual sum of squares
    int df = 0;
};

// `codes` one row per factor, each as long as `y` (loaded listwise).
MultiFactorFigures ComputeMultiFactor(const std::vector<std::vector<double>>& codes,
                                      const std::vector<std::string>& names,
                                      const std::vector<double>& y);

void WriteMultiFactor(Workspace& ws, const MultiFactorFigures& f);

// Method 13: every sheet variable loaded listwise, the last one the response.
void MultiFactorAnova(Workspace& ws);

}  // namespace dalvex
