// The tables every regression writes, over any number of coefficients: the
// coefficient table (values, standard errors, significances), the analysis
// of variance with the fit measures, the residual table, and the prediction
// at typed values ("Интерполяция"). Simple, nonlinear and multiple
// regression share them.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/workspace.h"

namespace dalvex {

inline constexpr const char* RegressionSingularNotice =
    "!СИНГУЛЯРНАЯ МАТРИЦА - РЕШЕНИЕ НЕВОЗМОЖНО!";
inline constexpr const char* AnovaHeading = "Источник  Сум.квадр. Степ.св Средн.квадр.";
inline constexpr const char* FitHeading = "Множеств R     R^2  R^2прив  Ст.ошиб.       F   Значим";
inline constexpr const char* ResidualHeading =
    "    Xэкcп    Yэксп    Yрегр  остаток Ст.остат  Ст.ошиб Довер.инт";
inline constexpr const char* InterpolationCaption = "Интерполяция";
inline constexpr const char* InterpolationField = "Введите значение переменной Х";
inline constexpr const char* NotANumberNotice = "!ЗНАЧЕНИЕ НЕ ЯВЛЯЕТСЯ ЧИСЛОМ!";
inline constexpr const char* UndefinedHereNotice = "!МОДЕЛЬ НЕ ОПРЕДЕЛЕНА В ЭТОЙ ТОЧКЕ!";
// The F of a perfect fit: infinite, with significance 0.
inline constexpr const char* InfiniteF = "беск.";

struct CoefficientFigures {
    std::vector<int> numbers;  // k of each coefficient's label "ak"
    std::vector<double> values, errors, significances;
};

// se_k = sqrt(|V_kk| SSE / dfRes) (0 when dfRes <= 0) and the two-sided
// Student significance of a_k / se_k (0 when se_k = 0). `first` is the
// number of the first coefficient's label (1 for a fit without a0).
CoefficientFigures ComputeCoefficients(const std::vector<double>& values,
                                       const std::vector<std::vector<double>>& inverse, double sse,
                                       int dfResidual, int first = 0);
// The "  Коэфф.", "Значение", "Ст.ошиб." and " Значим." lines, after
// `headerLine` when it is not empty.
void WriteCoefficientTable(Workspace& ws, const CoefficientFigures& figures,
                           const std::string& headerLine = {});

struct AnovaFigures {
    double ssr = 0, sse = 0, sst = 0;
    int dfRegression = 0, dfResidual = 0, dfTotal = 0;
    double msr = 0, mse = 0;
    double r = 0, r2 = 0, adjustedR2 = 0, standardError = 0;
    double f = 0, significance = 1;
    bool perfect = false;  // MSE = 0: F is infinite, its significance 0
};

// dfTotal is N - 1 with an intercept, N through the origin. SST > 0.
AnovaFigures ComputeAnova(double sst, double sse, double ssr, int dfRegression, int dfResidual,
                          int dfTotal);
// The variance table, the fit measures and the verdict line (nothing when
// dfResidual <= 0).
void WriteAnova(Workspace& ws, const AnovaFigures& anova);

// One line of the residual table.
struct ResidualLine {
    double x, y, fitted, residual, standardised, error, halfWidth;
};
struct ResidualFigures {
    std::vector<ResidualLine> lines;
};
// `error(i)` is the standard error of prediction at observation i; t is the
// two-sided Student quantile for the residual degrees of freedom.
ResidualFigures ComputeResiduals(const std::vector<double>& x, const std::vector<double>& y,
                                 const std::vector<double>& fitted,
                                 const std::function<double(std::size_t)>& error, double t);
void WriteResidualTable(Workspace& ws, const ResidualFigures& figures);

// "Интерполяция" again and again until cancelled: one value for each name in
// `xNames`, then the line "X=v, ..., Y=value". `model` answers no value where
// the model is not defined (said by a notice).
void Interpolation(Workspace& ws, const std::vector<std::string>& xNames, const std::string& yName,
                   const std::function<std::optional<double>(const std::vector<double>&)>& model);

}  // namespace dalvex
