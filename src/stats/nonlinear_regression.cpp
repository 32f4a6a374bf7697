#include "stats/nonlinear_regression.h"

#include <algorithm>
#include <cmath>

#include "core/arithmetic_fault.h"
#include "core/number.h"
#include "core/text.h"
#include "dispatch/follow_up_dialogs.h"
#include "dispatch/loading.h"
#include "dispatch/method_kit.h"
#include "formula/formula_set_dialog.h"
#include "numeric/distributions.h"
#include "stats/multiple_regression.h"
#include "stats/regression_dialogs.h"
#include "stats/simple_regression.h"

namespace dalvex {

// ---------------------------------------------------------------------------
// The formula model.

bool FormulaModel::Compile(Workspace& ws, const std::string& text) {
    return CompileFormula(ws, formula_, text, FormulaContext::Model) == 0;
}

int FormulaModel::coefficientCount() const {
    return formula_.program().highestCoefficient + 1;
}

double FormulaModel::Value(Workspace& ws, const std::vector<double>& xs,
                           const std::vector<double>& theta) {
    for (std::size_t k = 0; k < theta.size() && k < formula_.CoefficientTable.size(); ++k)
        formula_.CoefficientTable[k] = theta[k];
    if (source_.empty()) {
        if (!xs.empty())
            formula_.SetVariableValue(1, xs[0]);
    } else {
        for (std::size_t k = 0; k < source_.size(); ++k)
            formula_.SetVariableValue(static_cast<int>(k) + 1, xs[source_[k]]);
    }
    return Checked(EvaluateFormula(ws, formula_));
}

std::optional<double> FormulaModel::At(Workspace& ws, const std::vector<double>& xs,
                                       const std::vector<double>& theta) {
    const FloatingFlagsKept kept;
    try {
        return Value(ws, xs, theta);
    } catch (const ArithmeticFault&) {
        return std::nullopt;
    }
}

// ---------------------------------------------------------------------------
// The fit.

std::string ContinueQuestion(const Workspace& ws, int step, double lambda, double d, int q) {
    auto num = [&](double x) { return FormatNumber(x, ws.digits(), ws.decimalSeparator()); };
    return "Шаг=" + std::to_string(step) + ", пока: " + num(lambda) + "<" +
           num(10 * MarquardtLambdaBound) + " AND " + num(d) + "<" +
           num((q + 1) * MarquardtStepBound) + "\r\n" + ContinueQuestionEnd;
}

NonlinearFigures FitFormulaModel(Workspace& ws, FormulaModel& model,
                                 const std::vector<std::vector<double>>& xs,
                                 const std::vector<double>& y, std::vector<double> start) {
    NonlinearFigures f;
    const int q = static_cast<int>(start.size()) - 1;
    const ModelValue value = [&](std::size_t i, const std::vector<double>& theta) {
        return model.Value(ws, xs[i], theta);
    };
    const std::string progressText = "Оценка коэффициентов";
    const StepHook hook = [&](int step, double lambda, double d) {
        if (step % 50 == 0 && !AskYesNo(ws, ContinueQuestion(ws, step, lambda, d, q)))
            return false;
        return ShowProgress(ws, progressText, step % 50, 50);
    };
    const MarquardtResult result = FitMarquardt(value, y, std::move(start), hook);
    ShowProgress(ws, progressText, 50, 50);
    f.end = result.end;
    if (result.end == MarquardtEnd::StartFailed) {
        f.notice = StartFailedNotice;
        return f;
    }
    if (result.end == MarquardtEnd::IterationLimit)
        ShowNotice(ws, IterationLimitNotice);

    const std::size_t n = y.size();
    f.theta = result.theta;
    f.sse = result.sse;
    f.dfResidual = static_cast<int>(n) - (q + 1);
    f.fitted.resize(n);
    double mean = 0;
    for (std::size_t i = 0; i < n; ++i) {
        f.fitted[i] = model.Value(ws, xs[i], f.theta);
        mean += y[i];
    }
    mean /= static_cast<double>(n);
    double sst = 0;
    for (double v : y)
        sst += (v - mean) * (v - mean);
    // (J'J)^-1 from the derivatives at the minimum, by the same orthogonal
    // solver as the linear fits.
    LinearFit derivatives;
    derivatives.singular = true;
    if (!result.jacobian.empty())
        derivatives = FitLinear(result.jacobian, y, false);
    if (derivatives.singular) {
        f.notice = RegressionSingularNotice;
        return f;
    }
    f.table = ComputeCoefficients(f.theta, derivatives.inverse, f.sse, f.dfResidual);
    f.anova = ComputeAnova(sst, f.sse, std::max(0.0, sst - f.sse), q, f.dfResidual,
                           static_cast<int>(n) - 1);
    return f;
}

// ---------------------------------------------------------------------------
// Method 23.

namespace {

// The X of each observation, in selection order.
std::vector<std::vector<double>> Points(const std::vector<LoadedRow>& xs, std::size_t n) {
    std::vector<std::vector<double>> points(n, std::vector<double>(xs.size()));
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t k = 0; k < xs.size(); ++k)
            points[i][k] = xs[k].values[i];
    return points;
}

// One run of the model: false ends the method, true asks for a new formula.
bool FitOnce(Workspace& ws) {
    // The model "response=formula" from the regression models' set: its
    // variables, then the response, are left in the selection.
    ActiveFormula chosen;
    if (ChooseFormula(ws, RegressionModelPurpose, chosen) != 1)
        return false;
    const std::string text = ws.TextBuffer();
    const std::vector<int> selection(ws.SelectedColumns.begin(),
                                     ws.SelectedColumns.begin() + ws.SelectedColumns[0] + 1);
    FormulaModel model;
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos || !model.Compile(ws, text.substr(equals + 1)))
        return false;
    std::copy(selection.begin(), selection.end(), ws.SelectedColumns.begin());
    const std::vector<int> named = model.variables();
    const int q = model.coefficientCount() - 1;
    if (q < 1 || q >= MaxModelCoefficients || selection[0] < 2) {
        ShowNotice(ws, ModelMismatchNotice);
        return false;
    }
    if (!LoadSelected(ws, 0, Missing::Listwise))
        return false;
    std::vector<LoadedRow> rows = LoadedRows(ws);
    const LoadedRow yRow = rows.back();
    rows.pop_back();
    const int s = static_cast<int>(rows.size()) - 1;
    const int n = yRow.count() - 1;
    // Every variable the formula names is one of the X, in its slot's order.
    std::vector<int> source;
    for (int column : named) {
        const auto it = std::find_if(rows.begin(), rows.end(),
                                     [&](const LoadedRow& r) { return r.column == column; });
        if (it == rows.end()) {
            source.clear();
            break;
        }
        source.push_back(static_cast<int>(it - rows.begin()));
    }
    if (s < 0 || q >= n || source.size() != named.size()) {
        ShowNotice(ws, ModelMismatchNotice);
        return false;
    }
    if (std::all_of(yRow.values.begin(), yRow.values.end(),
                    [&](double v) { return v == yRow.values.front(); })) {
        ShowNotice(ws, ConstantResponseNotice);
        return false;
    }
    model.SetSources(source);
    if (pq09(ws, q) == 0)
        return false;
    std::vector<double> start(q + 1);
    for (int k = 0; k <= q; ++k)
        start[k] = ws.store.Vec1(k);

    const std::vector<std::vector<double>> points = Points(rows, yRow.values.size());
    const NonlinearFigures f = FitFormulaModel(ws, model, points, yRow.values, start);
    if (!f.notice.empty()) {
        ShowNotice(ws, f.notice);
        return false;
    }
    std::string header;
    if (static_cast<int>(rows.size()) + 1 == q + 1) {
        header = "Y=" + yRow.name + ", X=";
        for (const LoadedRow& r : rows)
            header += PadLeft(r.name, 8) + ", ";
    }
    WriteCoefficientTable(ws, f.table, header);
    WriteAnova(ws, f.anova);
    std::vector<std::string> xNames;
    for (const LoadedRow& r : rows)
        xNames.push_back(r.name);
    Interpolation(ws, xNames, yRow.name,
                  [&](const std::vector<double>& xs) { return model.At(ws, xs, f.theta); });
    if (s > 0) {
        // Several X: the residual loop of a linear equation, with the
        // formula's fitted values; the table's X and its error are the
        // first X's, as for a curve.
        ResidualSet set;
        for (const LoadedRow& r : rows) {
            set.names.push_back(r.name);
            set.xs.push_back(r.values);
        }
        set.y = yRow.values;
        set.fitted = f.fitted;
        for (std::size_t i = 0; i < set.y.size(); ++i)
            set.residuals.push_back(set.y[i] - set.fitted[i]);
        FittedCurve first;
        first.x = rows[0].values;
        first.y = yRow.values;
        first.fitted = f.fitted;
        first.dfResidual = f.dfResidual;
        const PredictionBand band = BandOf(ws, first);
        set.t = band.t;
        set.error = [&band, &first](std::size_t i) { return band.Error(first, first.x[i]); };
        ResidualGraphs(ws, set);
        return false;
    }

    FittedCurve curve;
    curve.xName = rows[0].name;
    curve.yName = yRow.name;
    curve.x = rows[0].values;
    curve.y = yRow.values;
    curve.fitted = f.fitted;
    curve.parameters = q + 1;
    curve.dfResidual = f.dfResidual;
    curve.model = [&model, &ws, theta = f.theta](double x) { return model.At(ws, {x}, theta); };
    return WhatNext(ws, curve) == 3;
}

}  // namespace

void GeneralModel(Workspace& ws) {
    while (FitOnce(ws)) {
    }
}

}  // namespace dalvex
