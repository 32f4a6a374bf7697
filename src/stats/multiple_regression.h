// Multiple linear regression (method 21) and what stepwise selection
// (method 22) builds on: the least-squares fit of Y on any subset of the X,
// the table of the variables in an equation (coefficient, its error, the
// standardised beta, F and its significance), the figures of a candidate
// that could enter (its partial correlation and tolerance), and the
// residual graphs.
//
// Every fit is solved by the orthogonal least-squares routine on the
// centred and scaled design; a candidate's figures come from the residuals
// of Y and of the candidate on the equation, which is the same fit with
// the candidate added, without solving it again.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/workspace.h"
#include "dispatch/method_kit.h"
#include "numeric/least_squares.h"
#include "stats/regression_tables.h"

namespace dalvex {

inline constexpr const char* FewerMeasurementsNotice = "!ИЗМЕРЕНИЙ МЕНЬШЕ ЧЕМ ПЕРЕМЕННЫХ!";
// The X a regression takes at most.
inline constexpr int MostPredictors = 125;
std::string TooManyPredictorsNotice();
inline constexpr const char* InEquationRule =
    "--------------  Переменные в уравнении ---------------";
inline constexpr const char* InEquationHeading =
    " Переменн. Коэфф.В  Ст.ош.В     Бета        F   Значим";

// Y and its X, equally long (loaded listwise).
struct RegressionData {
    std::vector<std::string> names;  // of the X
    std::vector<std::vector<double>> xs;
    std::string yName;
    std::vector<double> y;

    int count() const { return static_cast<int>(y.size()); }
    int predictors() const { return static_cast<int>(xs.size()); }
};

// The values less their mean (a two-pass mean, exact on large offsets),
// and the dot product of two equally long vectors.
std::vector<double> Centred(const std::vector<double>& v);
double Dot(const std::vector<double>& a, const std::vector<double>& b);

// The loaded rows: every row but the last is an X, the last is Y.
RegressionData RegressionDataOf(const std::vector<LoadedRow>& rows);

// The power of two nearest above the largest magnitude of the values (1
// for none): dividing by it is exact, and brings values near 1e-300 or
// 1e300 to where their squares and products stay in the double range.
double PowerOfTwoScale(const std::vector<double>& v);

// The fit of Y on the X listed in `members` (indices into the data's X).
struct SubsetFit {
    // The fit could not be made; the notice says why (and names collinear
    // X); nothing else is set.
    std::string notice;
    std::vector<int> members;
    // The fit of the scaled data: each X divided by xScale[j] (in member
    // order), Y by yScale.
    LinearFit fit;
    std::vector<double> xScale;
    double yScale = 1;
    // On the data's own scale: a0, then one per member; the fitted values
    // and residuals; the tables.
    std::vector<double> coefficients, fitted, residuals;
    CoefficientFigures table;
    AnovaFigures anova;
    double r2 = 0;
};
// The standard error of prediction, relative to the residual standard
// deviation, of a point with the members' values `point`: sqrt(1 + h).
double PredictionFactor(const SubsetFit& fit, const std::vector<double>& point);
SubsetFit FitSubset(const RegressionData& data, const std::vector<int>& members);

// One line of a table of variables: B, its standard error, the
// standardised beta, F = t^2 and its significance.
struct VariableLine {
    std::string name;
    double value = 0, error = 0, beta = 0, f = 0, significance = 1;
    bool infiniteF = false;  // an exact fit: F has no value, its significance is 0
};
// The variable at `position` in the fit's members. Its partial r^2 (what
// removing it costs, against what is left unexplained without it) goes to
// `partialR2` when given.
VariableLine EquationLine(const RegressionData& data, const SubsetFit& fit, int position,
                          double* partialR2 = nullptr);

// A variable not in the equation, as if it entered next.
struct CandidateFigures {
    int variable = 0;
    VariableLine line;
    double partialR2 = 0;  // its partial correlation squared, given the equation
    double tolerance = 1;  // 1 - R^2 of it on the equation's variables
};
std::vector<CandidateFigures> Candidates(const RegressionData& data, const SubsetFit& fit,
                                         const std::vector<int>& candidates);

// The line PadLeft(name, 9) + B, error, beta, F, significance.
std::string VariableLineText(const Workspace& ws, const VariableLine& line);

// The tables of a fit: the "Y=..., X=..." line when every X is in it, the
// coefficients and the variance table.
void WriteSubsetTables(Workspace& ws, const RegressionData& data, const SubsetFit& fit);

// What the residual loop shows: Y, the fitted values and residuals, the X of the equation
// by name, and for the residual table the standard error of prediction at
// each observation (of the table's X, the first) with the Student quantile.
struct ResidualSet {
    std::vector<std::string> names;
    std::vector<std::vector<double>> xs;
    std::vector<double> y, fitted, residuals;
    std::function<double(std::size_t)> error;
    double t = 0;
};
// "Что дальше?" again and again: the residual table and the graphs of
// residuals and fitted values.
void ResidualGraphs(Workspace& ws, const ResidualSet& set);
// The same for a linear fit, the error from each observation's leverage
// over every X of the equation.
void ResidualGraphs(Workspace& ws, const RegressionData& data, const SubsetFit& fit);

// Method 21: the rows as loaded (X, then Y).
void MultipleRegression(Workspace& ws);

}  // namespace dalvex
