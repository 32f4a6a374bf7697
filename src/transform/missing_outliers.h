// The search and replacement of missing values and outliers over every
// variable of the sheet ("Пропуски и выбросы").
#pragma once

#include <string>
#include <vector>

#include "core/workspace.h"

namespace dalvex {

enum class LookFor { Missing = 0, Outliers = 1, Both = 2 };
enum class ReplaceBy { Means = 0, Regression = 1, Delete = 2 };

struct MissingFinding {
    int column = 0;  // sheet column
    int obs = 0;
    bool missing = false;
    double z = 0.0;  // rounded to one decimal; 0 for a missing value
};

struct MissingSearch {
    std::vector<MissingFinding> findings;  // by variable, then observation
    int missingCount = 0;
    int outlierCount = 0;
    std::vector<double> means;  // per variable (index column - 1)
};

// Findings over variables 1 .. VariableCount: a cell within a variable's
// length that is not a number; a number more than `threshold` standard
// deviations from its variable's mean (strictly).
MissingSearch FindMissingAndOutliers(const Workspace& ws, double threshold, LookFor what);

// The report of "&1=Поиск" (nothing without findings).
void WriteMissingReport(Workspace& ws, const MissingSearch& search);

// "&2=Замена": every finding replaced by its variable's mean, by the line on
// its most correlated partner, or deleted (whole rows when the person says
// so and the variables are equally long). Runs for any finding.
void ReplaceFindings(Workspace& ws, const MissingSearch& search, ReplaceBy by);

inline constexpr const char* DeleteWholeRowsQuestion =
    "Удалять строки целиком (нет - только пропуски-выбросы)?";

}  // namespace dalvex
