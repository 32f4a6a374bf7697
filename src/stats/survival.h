// The survival analysis (method 37): Kaplan-Meier curves of one or two
// groups with Greenwood's standard errors, and the log-rank comparison of two
// curves. A group is two variables: the times, and a count at each time -
// positive for the cases that died (the events), negative for the cases
// censored then. The figures come from the pure functions below; the routine
// pairs the loaded rows, writes and draws.
#pragma once

#include <string>
#include <vector>

namespace dalvex {

struct Workspace;

inline constexpr const char* NotSurvivalDataNotice = "!ДАННЫЕ НЕ ВЫЖИВАЕМОСТИ!";
inline constexpr const char* SurvivalHeading = "    Время Пережили   Выжили  Ст.ошибка";
inline constexpr const char* NoEventsToCompareNotice =
    "!НЕТ СОБЫТИЙ ПРИ ОБЩЕМ РИСКЕ - СРАВНЕНИЕ КРИВЫХ НЕВОЗМОЖНО!";

// The most cases a group may hold.
inline constexpr double MaxSurvivalCases = 1e15;

// One time of a group's table: the time, its signed count, the share of
// those at risk that outlive it, the survival after it and its standard
// error.
struct SurvivalStep {
    double time = 0, count = 0;
    double atRisk = 0;  // just before the time
    double kept = 0, survival = 1, error = 0;
};

struct SurvivalCurve {
    std::vector<SurvivalStep> steps;
    double cases = 0;  // N, the sum of |count|
};

// The times in ascending order, each time's events before its censorings;
// equal times of the same kind are one step. Counts are taken as whole
// numbers (cut toward 0); pairs with a count of 0 or a missing cell are left
// out.
SurvivalCurve KaplanMeier(const std::vector<double>& times, const std::vector<double>& counts);

// The log-rank comparison: U = observed less expected events of the first
// group over the merged event times, its variance V, and Z from U brought
// 0.5 toward 0, with its two-sided significance. `valid` is false when V is
// 0 (no event where both groups are at risk).
struct LogRank {
    double u = 0, v = 0, z = 0, p = 1;
    bool valid = false;
};
LogRank CompareCurves(const SurvivalCurve& first, const SurvivalCurve& second);

// Method 37 over the loaded rows: times and counts of one group, or of two.
void SurvivalAnalysis(Workspace& ws, const std::string& dataFile);

}  // namespace dalvex
