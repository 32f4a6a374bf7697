// The agreement of frequencies (method 30): two frequencies compared, a
// frequency against a probability, and the least sample size that estimates
// a frequency to a given accuracy; and the sequential analysis (method 31):
// the cumulative sum of a series between two straight decision boundaries.
// The figures come from the pure functions below; the routines ask, check
// and write.
#pragma once

#include <string>
#include <vector>

#include "core/form_dialog.h"

namespace dalvex {

struct Workspace;

inline constexpr const char* ParameterErrorNotice = "!ОШИБКА ВО ВВЕДЕННЫХ ПАРАМЕТРАХ!";
// Both frequencies 0, or both 1: no spread, so no normal test.
inline constexpr const char* NoSpreadNotice =
    "!ВСЕ НАБЛЮДЕНИЯ ОДНОГО ИСХОДА - СРАВНЕНИЕ ЧАСТОТ НЕВОЗМОЖНО!";
// The verdict texts of the agreement of frequencies.
inline constexpr int FrequencyVerdictGroup = 23;

FormDialog Tqq293Form();
FormDialog Tqq296Form();

// Two frequencies k1/n1 and k2/n2 (0 <= k <= n, n >= 1, not both 0 or both
// 1): Z with the continuity correction, which brings the difference
// toward 0 and never past it, its two-sided significance, the difference
// and the half-width of its two-sided confidence interval at level alpha.
struct TwoFrequencies {
    double z = 0, p = 1, difference = 0, halfWidth = 0;
};
TwoFrequencies CompareTwoFrequencies(double k1, double n1, double k2, double n2, double alpha);

// A frequency k/n against probability p0 in (0, 1): Z and its two-sided
// significance.
struct FrequencyAgainstProbability {
    double z = 0, p = 1;
};
FrequencyAgainstProbability CompareWithProbability(double k, double n, double p0);

// The least sample size that estimates frequency f within +-delta (both
// kept as whole thousandths), at least 1; 0 when f is not within (0, 1) or
// delta is below a thousandth.
long SampleSizeFor(double f, double delta);

// Method 30.
void CompareFrequencies(Workspace& ws);

inline constexpr const char* TwoVariablesNotice = "!НУЖНЫ ДВЕ ПЕРЕМЕННЫЕ: АБСЦИССЫ И НАБЛЮДЕНИЯ!";

// The sequential chart of observations y (at abscissae x) for the mean x0
// against x0 + S: the cumulative sum of y - x0 and the two boundaries
// +-h + k i after i observations, k = S/2 and h = ln 99 ((x0 + S) d / x0)^2 / S,
// drawn as straight lines from the first abscissa to the last.
struct SequentialChart {
    std::vector<double> sums;
    double slope = 0, intercept = 0;
    double firstX = 0, lastX = 0;
    std::vector<double> upper, lower;  // at firstX and lastX
};
// x0 must not be 0 and S must be positive; y not empty.
SequentialChart ComputeSequentialChart(const std::vector<double>& x, const std::vector<double>& y,
                                       double x0, double d, double s);

// Method 31.
void SequentialAnalysis(Workspace& ws);

}  // namespace dalvex
