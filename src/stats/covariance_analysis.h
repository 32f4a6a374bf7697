// Covariance analysis (method 14): groups compared after adjusting the
// response for covariates. The groups are the distinct codes of the last
// variable, wherever they stand; the group effect is tested on the sum of
// squares it adds to the covariates (the model with groups against the
// model without them), with N - q - q_c error degrees of freedom.
#pragma once

#include <string>
#include <vector>

#include "stats/anova.h"
#include "stats/regression_tables.h"

namespace dalvex {

inline constexpr const char* FewGroupsNotice = "!МЕНЬШЕ ДВУХ ГРУПП - АНАЛИЗ НЕВОЗМОЖЕН!";

struct CovarianceFigures {
    std::string notice;  // nothing else is set
    int groups = 0, covariates = 0, n = 0;
    std::vector<double> codes;  // ascending
    std::vector<int> sizes;
    // One-factor F of each variable (the covariates, then the response)
    // between the groups, on q - 1 and N - q degrees of freedom.
    std::vector<double> homogeneityF, homogeneityP;
    // The common within-group regression of the response on the covariates.
    CoefficientFigures slopes;
    AnovaFigures withinRegression;
    AnovaTableSpec table;
};

// `covariates` rows of N values each, the response and the group codes
// (N values each, complete observations).
CovarianceFigures ComputeCovariance(const std::vector<std::vector<double>>& covariates,
                                    const std::vector<double>& response,
                                    const std::vector<double>& codes);

// Method 14 for the loaded rows: covariates, the response, the codes.
void CovarianceAnalysis(Workspace& ws);

}  // namespace dalvex
