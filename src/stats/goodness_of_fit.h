// The goodness of fit (method 29): one variable fitted to one of ten laws
// with estimated parameters, the Kolmogorov and omega-square statistics with
// their significances, and the graph of the empirical and fitted
// distribution functions. `FitDistribution` computes everything into a
// result without touching the store; `GoodnessOfFit` asks, loads and writes.
#pragma once

#include <string>
#include <vector>

#include "core/form_dialog.h"
#include "stats/distribution_laws.h"

namespace dalvex {

struct Workspace;

FormDialog Tqq272Form();

// Why a fit was refused.
enum class FitRefusal {
    None,
    TooFewValues,    // fewer than 3 values
    Constant,        // no spread to fit
    OutsideSupport,  // a value the law cannot take
    BetaSpread,      // variance too large for a beta law of that mean
    NotConverged,    // the Weibull likelihood equation was not solved
};

struct FitResult {
    FitRefusal refusal = FitRefusal::None;
    ContinuousLaw law = ContinuousLaw::Normal;
    double a = 0, b = 0;  // the fitted parameters as the report prints them
    int n = 0;
    double kolmogorov = 0;
    // W^2 with its 1/(12n) term, and the corrected value the report prints
    // and the significance takes: W^2 (1 + 0.5/n) or W^2 (1 + 0.16/n).
    double omegaSquare = 0;
    double omegaCorrected = 0;
    double kolmogorovP = 0;
    double omegaP = 0;
    std::vector<double> sorted;     // the values ascending
    std::vector<double> empirical;  // (i + 1) / n
    std::vector<double> curveX;     // 51 points from the smallest to the largest value
    std::vector<double> curveF;     // the fitted F there
};

// Fits `law` to `values` (no missing cells among them).
FitResult FitDistribution(ContinuousLaw law, std::vector<double> values);

// The notice of a refused fit of the variable `name`.
std::string FitRefusalNotice(const FitResult& fit, const std::string& name);

// Method 29.
void GoodnessOfFit(Workspace& ws);

}  // namespace dalvex
