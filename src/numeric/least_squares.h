// Linear least squares over any number of predictor columns, solved by an
// orthogonal (Householder QR) decomposition of the centred and scaled design.
//
// Why not the normal equations: power sums of x up to x^2d on data near 1e7,
// or a degree-5 polynomial, lose every digit before elimination starts. The
// centred and scaled columns keep the condition of the problem itself, and a
// column that lies (within a relative tolerance) in the span of the others is
// named as a rank deficiency instead of being divided through.
#pragma once

#include <vector>

namespace dalvex {

struct LinearFit {
    // A column is constant, or lies in the span of the others (and of the
    // intercept): nothing else below is set.
    bool singular = false;
    // The first column found in the span of those before it (and of the
    // intercept), or constant; -1 when none was (too few observations).
    int dependentColumn = -1;
    bool intercept = true;
    // The intercept first (when fitted), then one per column.
    std::vector<double> coefficients;
    // (X'X)^-1 on the original scale, in the order of `coefficients`: the
    // coefficients' covariance is this times the residual mean square.
    std::vector<std::vector<double>> inverse;
    std::vector<double> fitted, residuals;
    // SSE = the sum of the squared residuals; SST = the sum of squares about
    // the mean (with an intercept) or about zero (through the origin);
    // SSR = SST - SSE.
    double sse = 0, sst = 0, ssr = 0;
    // Observations minus coefficients.
    int dfResidual = 0;
    // The columns' means (0 through the origin) and the slopes' block of
    // (X'X)^-1 about them, for the leverage of new points.
    std::vector<double> means;
    std::vector<std::vector<double>> slopeInverse;
    int count = 0;
};

// y on the columns (each as long as y). Fewer observations than coefficients
// count as singular.
LinearFit FitLinear(const std::vector<std::vector<double>>& columns, const std::vector<double>& y,
                    bool intercept = true);

// Columns centred on their means (with an intercept) and scaled to unit
// length, once, for a caller that fits the same columns many ways: each
// column's preparation does not depend on the others beside it.
struct PreparedColumns {
    bool intercept = true;
    // A column is constant (or its centred length is no double when
    // squared): the first such column; nothing else below is set.
    bool singular = false;
    int dependentColumn = -1;
    std::vector<double> means, scale;
    // How far a column may stand from the span of the others and still
    // count as lying in it (relative, as the columns have unit length).
    std::vector<double> tolerance;
    std::vector<std::vector<double>> unit;
};

PreparedColumns PrepareColumns(const std::vector<std::vector<double>>& columns,
                               bool intercept = true);

struct ResidualFit {
    // As in LinearFit, `dependentColumn` by its index among the prepared
    // columns.
    bool singular = false;
    int dependentColumn = -1;
    double sse = 0;
};

// The residual sum of squares alone of y on the `chosen` prepared columns
// (none: y about its mean, or about zero through the origin), by the same
// orthogonal decomposition as FitLinear; no coefficient, covariance or
// residual is formed. Fewer observations than coefficients count as
// singular.
ResidualFit FitResidual(const PreparedColumns& prepared, const std::vector<int>& chosen,
                        const std::vector<double>& y);

// The columns x, x^2, ..., x^degree.
std::vector<std::vector<double>> PowerColumns(const std::vector<double>& x, int degree);

// The leverage v' (X'X)^-1 v of a point with these predictor values, v being
// (1, predictors...) (without the 1 for a fit through the origin).
double Leverage(const LinearFit& fit, const std::vector<double>& predictors);

}  // namespace dalvex
