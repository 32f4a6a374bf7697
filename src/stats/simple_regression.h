// Simple regression and trend: one of 22 models of Y on one X (or on the
// observation number), or robust smoothing; the tables, the prediction at
// typed values and the "Что дальше?" loop of residuals, forecast and a new
// model.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/workspace.h"
#include "numeric/least_squares.h"
#include "numeric/robust_smoothing.h"
#include "stats/pairwise_run.h"
#include "stats/regression_dialogs.h"
#include "stats/regression_tables.h"

namespace dalvex {

// How a model is fitted.
enum class ModelFit {
    Polynomial,  // Y (maybe transformed) on powers of X (maybe transformed), with the intercept
                 // question
    Linear,      // transformed Y on transformed X
    Nonlinear,   // Marquardt through the title's formula
};
enum class XScale { Plain, Root, Log, Inverse };
enum class YScale { Plain, Log, Inverse, XOverY };

struct ModelSpec {
    int code;
    const char* button;
    const char* formula;  // shown beside the button
    ModelFit fit;
    XScale x;
    YScale y;
    int degree;  // 0: the degree field (model 3); the coefficient count - 1 for nonlinear models
};
const std::vector<ModelSpec>& SimpleModels();
const ModelSpec* FindModel(int code);

// A fitted curve as the follow-up loop needs it.
struct FittedCurve {
    std::string xName, yName;
    std::vector<double> x, y, fitted;  // the observations used, untransformed
    int parameters = 2;                // coefficients fitted
    int dfResidual = 0;
    std::function<std::optional<double>(double)> model;
    // The leverage of a point; without it the straight line's
    // 1/N + (x - mean)^2 / Sxx is taken.
    std::function<double(double)> leverage;
};

// The standard error of prediction at x and the Student quantile.
struct PredictionBand {
    double s2 = 0, t = 0;
    double Error(const FittedCurve& c, double x) const;
};
PredictionBand BandOf(const Workspace& ws, const FittedCurve& curve);

// One model fitted to one pair, everything the report writes.
struct SimpleFigures {
    std::string notice;  // the fit could not be made (nothing else is set)
    int excluded = 0;    // observations invalid for the model's scales
    CoefficientFigures table;
    AnovaFigures anova;
    bool anovaShown = true;
    FittedCurve curve;
    std::vector<double> coefficients;
};

// Models other than nonlinear and smoothing: `degree` for model 3,
// `intercept` for the polynomial models. x and y as loaded.
SimpleFigures FitSimpleModel(const ModelSpec& spec, int degree, bool intercept,
                             const std::vector<double>& x, const std::vector<double>& y);
// The value of a fitted linearised or polynomial model at x; no value where
// the model is not defined there.
std::optional<double> EvaluateModel(int code, const std::vector<double>& a, double x);

// The follow-up loop: the graph with its band, then "Что дальше?" until
// finished; answers 3 (a new model) or 0.
int WhatNext(Workspace& ws, const FittedCurve& curve);

// The forecast table's lines: x, Y, its standard error and half-width, for
// steps + 1 points one step apart after the largest X.
struct ForecastLine {
    double x, y, error, halfWidth;
};
std::vector<ForecastLine> Forecast(const Workspace& ws, const FittedCurve& curve, int steps,
                                   double step);

// The smoothing branch: its dialog, then the graph of the data and the curve.
void SmoothPair(Workspace& ws, const LoadedRow& x, const LoadedRow& y);

// Method 20's pair routine.
void SimpleRegressionPair(PairStep& step);
void SimpleRegressionMethod(Workspace& ws, int type, Missing missing);

}  // namespace dalvex
