// Nonlinear least squares through a model formula (coefficients a0 .. a9 over
// one or several X), fitted by Marquardt's method with the continuation
// question and progress; and the general/nonlinear model method itself.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/workspace.h"
#include "formula/formula.h"
#include "numeric/least_squares.h"
#include "numeric/marquardt.h"
#include "stats/regression_tables.h"

namespace dalvex {

inline constexpr const char* ModelMismatchNotice = "!НЕСООТВЕТСТВИЕ МОДЕЛИ!";
inline constexpr const char* IterationLimitNotice = "!ПРЕВЫШЕН ЛИМИТ ИТЕРАЦИЙ!";
inline constexpr const char* StartFailedNotice =
    "!МОДЕЛЬ НЕ ВЫЧИСЛЯЕТСЯ ПРИ НАЧАЛЬНЫХ ЗНАЧЕНИЯХ КОЭФФИЦИЕНТОВ!";
inline constexpr const char* ContinueQuestionEnd = " Продолжить вычисления?";
inline constexpr int RegressionModelPurpose = 2;  // the formula set "Регрессионная модель"
inline constexpr int MaxModelCoefficients = 10;  // a0 .. a9

// A compiled model formula and where its inputs come from: "x" is the first
// X; a sheet variable the formula names is the X loaded from that column.
class FormulaModel {
  public:
    // Compiles in the model context; false when the formula was refused
    // (the compiler has said why).
    bool Compile(Workspace& ws, const std::string& text);
    // The number of coefficients a0 .. aq the formula uses (q + 1; 0 for none).
    int coefficientCount() const;
    // The sheet columns the formula names, in slot order.
    const std::vector<int>& variables() const { return formula_.program().variables; }
    // Slot k (from 1) reads X number source[k - 1]; without named variables
    // x reads X 0.
    void SetSources(std::vector<int> source) { source_ = std::move(source); }
    // The value at one point (the X values in selection order); raises the
    // formula's faults.
    double Value(Workspace& ws, const std::vector<double>& xs, const std::vector<double>& theta);
    // The same, without a value where the formula faults.
    std::optional<double> At(Workspace& ws, const std::vector<double>& xs,
                             const std::vector<double>& theta);

  private:
    ActiveFormula formula_;
    std::vector<int> source_;
};

// The fit of a formula model: coefficients, their table and the variance
// table. `notice` is set (and nothing else) when the fit cannot be made.
struct NonlinearFigures {
    std::string notice;
    MarquardtEnd end = MarquardtEnd::Converged;
    std::vector<double> theta, fitted;
    CoefficientFigures table;
    AnovaFigures anova;
    double sse = 0;
    int dfResidual = 0;
};

// Marquardt from `start` (zeros become 1) over rows xs[i] (the X values of
// observation i) and y, asking every 50th step whether to go on and showing
// progress; "!ПРЕВЫШЕН ЛИМИТ ИТЕРАЦИЙ!" is said here.
NonlinearFigures FitFormulaModel(Workspace& ws, FormulaModel& model,
                                 const std::vector<std::vector<double>>& xs,
                                 const std::vector<double>& y, std::vector<double> start);

// The continuation question of step `step`.
std::string ContinueQuestion(const Workspace& ws, int step, double lambda, double d, int q);

// Method 23.
void GeneralModel(Workspace& ws);

}  // namespace dalvex
