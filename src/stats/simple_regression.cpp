#include "stats/simple_regression.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <numeric>

#include "core/arithmetic_fault.h"
#include "core/number.h"
#include "core/text.h"
#include "dispatch/follow_up_dialogs.h"
#include "dispatch/loading.h"
#include "dispatch/method_kit.h"
#include "numeric/distributions.h"
#include "output/text_resource.h"
#include "stats/nonlinear_regression.h"

namespace dalvex {

const std::vector<ModelSpec>& SimpleModels() {
    static const std::vector<ModelSpec> models = {
        {1, "&1=линейная   ", "Y=a+b*x", ModelFit::Linear, XScale::Plain, YScale::Plain, 1},
        {2, "&2=парабола   ", "Y=a+b*x+c*x^2", ModelFit::Polynomial, XScale::Plain, YScale::Plain,
         2},
        {3, "  &3=полином,  m=", "Y=сум{ai*x^i}", ModelFit::Polynomial, XScale::Plain,
         YScale::Plain, 0},
        {4, "&4=степени 1/2", "Y=a+b*SQR(x)", ModelFit::Linear, XScale::Root, YScale::Plain, 1},
        {5, "&5=логарифмич ", "Y=a+b*LN(x)", ModelFit::Linear, XScale::Log, YScale::Plain, 1},
        {6, "&6=cтепенная", "Y=a*x^b", ModelFit::Linear, XScale::Log, YScale::Log, 1},
        {7, "&7=cтепенная", "Y=a+b*x^c", ModelFit::Nonlinear, XScale::Plain, YScale::Plain, 2},
        {8, "&8=экспонента", "Y=e^(a+b*x)", ModelFit::Linear, XScale::Plain, YScale::Log, 1},
        {9, "&9=экспонента", "Y=e^(a+b/x)", ModelFit::Linear, XScale::Inverse, YScale::Log, 1},
        {10, "&A=экспонента", "Y=e^(a+b*SQR(x))", ModelFit::Linear, XScale::Root, YScale::Log, 1},
        {11, "&B=экспонента", "Y=e^(a+b*x+c*x^2)", ModelFit::Polynomial, XScale::Plain, YScale::Log,
         2},
        {12, "&C=экспонента", "Y=a+b*e^(c*x)", ModelFit::Nonlinear, XScale::Plain, YScale::Plain,
         2},
        {13, "&D=гипербола", "Y=a+b/x", ModelFit::Linear, XScale::Inverse, YScale::Plain, 1},
        {14, "&E=гипербола", "Y=1/(a+b*x)", ModelFit::Linear, XScale::Plain, YScale::Inverse, 1},
        {15, "&F=гипербола", "Y=1/(a+b/x)", ModelFit::Linear, XScale::Inverse, YScale::Inverse, 1},
        {16, "&G=гипербола", "Y=1/(a+b*SQR(x))", ModelFit::Linear, XScale::Root, YScale::Inverse,
         1},
        {17, "&H=гипербола", "Y=1/(a+b*LN(x))", ModelFit::Linear, XScale::Log, YScale::Inverse, 1},
        {18, "&I=гипербола", "Y=a+1/(b+c*x)", ModelFit::Nonlinear, XScale::Plain, YScale::Plain, 2},
        {19, "&J=оптимума ", "Y=1/(a+b*x+c*x^2)", ModelFit::Polynomial, XScale::Plain,
         YScale::Inverse, 2},
        {20, "&K=оптимума ", "Y=X/(a+b*x+c*x^2)", ModelFit::Polynomial, XScale::Plain,
         YScale::XOverY, 2},
        {21, "&L=логистич", "Y=a+b/(1+e^(c+d*x))", ModelFit::Nonlinear, XScale::Plain,
         YScale::Plain, 3},
        {22, "&M=синусоид", "Y=a+b*x+c*SIN(d+e*x)", ModelFit::Nonlinear, XScale::Plain,
         YScale::Plain, 4},
    };
    return models;
}

const ModelSpec* FindModel(int code) {
    for (const ModelSpec& m : SimpleModels())
        if (m.code == code)
            return &m;
    return nullptr;
}

FormDialog ModelDialogForm() {
    FormDialog form;
    form.caption = ModelDialogCaption;
    form.Group("Модели").Field("m=", "3", "Степень полинома");
    for (const ModelSpec& m : SimpleModels())
        form.GroupButton("Модели", m.button, m.code, m.formula);
    form.GroupButton("Модели", "&O=сглаж.Хубера", SmoothingCode, "robust smoothing");
    form.Button("Отменить", 0);
    form.RememberIn(ModelDialogMemory);
    return form;
}

// ---------------------------------------------------------------------------
// Scales and the model's value.

namespace {

// A value this close to zero, against the largest of its variable, cannot
// be divided by.
constexpr double NearZero = 1e-12;

double LargestMagnitude(const std::vector<double>& v) {
    double m = 0;
    for (double x : v)
        m = std::max(m, std::fabs(x));
    return m;
}

std::optional<double> ScaleX(XScale s, double x, double largest) {
    switch (s) {
        case XScale::Plain:
            return x;
        case XScale::Root:
            return x >= 0 ? std::optional<double>(std::sqrt(x)) : std::nullopt;
        case XScale::Log:
            return x > 0 ? std::optional<double>(std::log(x)) : std::nullopt;
        case XScale::Inverse:
            return std::fabs(x) > NearZero * largest ? std::optional<double>(1 / x) : std::nullopt;
    }
    return std::nullopt;
}

std::optional<double> ScaleY(YScale s, double x, double y, double largest) {
    switch (s) {
        case YScale::Plain:
            return y;
        case YScale::Log:
            return y > 0 ? std::optional<double>(std::log(y)) : std::nullopt;
        case YScale::Inverse:
            return std::fabs(y) > NearZero * largest ? std::optional<double>(1 / y) : std::nullopt;
        case YScale::XOverY:
            return std::fabs(y) > NearZero * largest ? std::optional<double>(x / y) : std::nullopt;
    }
    return std::nullopt;
}

std::optional<double> Finite(double v) {
    return std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
}

std::optional<double> Reciprocal(double d) {
    return d != 0 ? Finite(1 / d) : std::nullopt;
}

}  // namespace

std::optional<double> EvaluateModel(int code, const std::vector<double>& a, double x) {
    const FloatingFlagsKept kept;
    auto c = [&](std::size_t k) { return k < a.size() ? a[k] : 0.0; };
    switch (code) {
        case 1:
        case 2:
        case 3: {
            double y = 0;
            for (std::size_t k = a.size(); k-- > 0;)
                y = y * x + a[k];
            return Finite(y);
        }
        case 4:
            return x >= 0 ? Finite(c(0) + c(1) * std::sqrt(x)) : std::nullopt;
        case 5:
            return x > 0 ? Finite(c(0) + c(1) * std::log(x)) : std::nullopt;
        case 6: {
            if (x == 0)
                return c(1) > 0 ? std::optional<double>(0.0) : std::nullopt;
            const double b = c(1);
            const double v = std::exp(c(0)) * std::pow(std::fabs(x), b);
            const bool evenWhole = std::fmod(b, 2.0) == 0;
            return Finite(x < 0 && !evenWhole ? -v : v);
        }
        case 8:
            return Finite(std::exp(c(0) + c(1) * x));
        case 9:
            return x != 0 ? Finite(std::exp(c(0) + c(1) / x)) : std::nullopt;
        case 10:
            return x >= 0 ? Finite(std::exp(c(0) + c(1) * std::sqrt(x))) : std::nullopt;
        case 11:
            return Finite(std::exp(c(0) + c(1) * x + c(2) * x * x));
        case 13:
            return x != 0 ? Finite(c(0) + c(1) / x) : std::nullopt;
        case 14:
            return Reciprocal(c(0) + c(1) * x);
        case 15:
            return x != 0 ? Reciprocal(c(0) + c(1) / x) : std::nullopt;
        case 16:
            return x >= 0 ? Reciprocal(c(0) + c(1) * std::sqrt(x)) : std::nullopt;
        case 17:
            return x > 0 ? Reciprocal(c(0) + c(1) * std::log(x)) : std::nullopt;
        case 19:
            return Reciprocal(c(0) + c(1) * x + c(2) * x * x);
        case 20: {
            const std::optional<double> r = Reciprocal(c(0) + c(1) * x + c(2) * x * x);
            return r ? Finite(x * *r) : std::nullopt;
        }
        default:
            return std::nullopt;
    }
}

// ---------------------------------------------------------------------------
// The fit of the linear and linearised models.

namespace {

bool Constant(const std::vector<double>& v) {
    return std::all_of(v.begin(), v.end(), [&](double x) { return x == v.front(); });
}

// Sum of squares about the mean, two-pass.
double CentredSquares(const std::vector<double>& v) {
    const double mean = std::accumulate(v.begin(), v.end(), 0.0) / static_cast<double>(v.size());
    double ss = 0;
    for (double x : v)
        ss += (x - mean) * (x - mean);
    return ss;
}

}  // namespace

SimpleFigures FitSimpleModel(const ModelSpec& spec, int degree, bool intercept,
                             const std::vector<double>& x, const std::vector<double>& y) {
    SimpleFigures f;
    const double largestX = LargestMagnitude(x), largestY = LargestMagnitude(y);
    std::vector<double> xs, ys, tx, ty;
    for (std::size_t i = 0; i < x.size() && i < y.size(); ++i) {
        const std::optional<double> sx = ScaleX(spec.x, x[i], largestX);
        const std::optional<double> sy = ScaleY(spec.y, x[i], y[i], largestY);
        if (!sx || !sy || !std::isfinite(*sx) || !std::isfinite(*sy)) {
            ++f.excluded;
            continue;
        }
        xs.push_back(x[i]);
        ys.push_back(y[i]);
        tx.push_back(*sx);
        ty.push_back(*sy);
    }
    const int d = spec.fit == ModelFit::Polynomial ? (spec.degree > 0 ? spec.degree : degree) : 1;
    if (spec.fit != ModelFit::Polynomial)
        intercept = true;
    const int k = d + (intercept ? 1 : 0);
    const int n = static_cast<int>(xs.size());
    if (n <= k) {
        f.notice = TooFewValuesNotice;
        return f;
    }
    if (Constant(ys)) {
        f.notice = ConstantResponseNotice;
        return f;
    }
    const std::vector<std::vector<double>> columns = PowerColumns(tx, d);
    // Squares of the columns and of the transformed Y enter the sums: past
    // 1e150 they leave the double range (1/y of a y near 1e-300 does).
    auto tooLarge = [](const std::vector<double>& values) {
        return std::any_of(values.begin(), values.end(),
                           [](double v) { return !std::isfinite(v) || std::fabs(v) > 1e150; });
    };
    if (tooLarge(ty) || std::any_of(columns.begin(), columns.end(), tooLarge)) {
        f.notice = TooLargeNotice;
        return f;
    }
    const LinearFit fit = FitLinear(columns, ty, intercept);
    if (fit.singular) {
        f.notice = RegressionSingularNotice;
        return f;
    }
    f.coefficients = fit.coefficients;
    if (!intercept)
        f.coefficients.insert(f.coefficients.begin(), 0.0);
    f.table = ComputeCoefficients(fit.coefficients, fit.inverse, fit.sse, fit.dfResidual,
                                  intercept ? 0 : 1);

    FittedCurve& c = f.curve;
    c.x = xs;
    c.y = ys;
    c.parameters = k;
    c.dfResidual = n - k;
    const int code = spec.code;
    const std::vector<double> a = f.coefficients;
    c.model = [code, a](double at) { return EvaluateModel(code, a, at); };
    for (double at : xs) {
        const std::optional<double> v = c.model(at);
        if (!v) {
            f.notice = UndefinedHereNotice;
            return f;
        }
        c.fitted.push_back(*v);
    }
    if (spec.x == XScale::Plain && spec.y == YScale::Plain)
        c.leverage = [fit, d](double at) {
            std::vector<double> powers;
            double p = 1;
            for (int j = 1; j <= d; ++j)
                powers.push_back(p *= at);
            return Leverage(fit, powers);
        };

    if (spec.fit == ModelFit::Polynomial) {
        f.anova = ComputeAnova(fit.sst, fit.sse, fit.ssr, d, fit.dfResidual, intercept ? n - 1 : n);
    } else {
        // The variance table of a linearised curve speaks of Y itself.
        std::vector<double> e(n);
        for (int i = 0; i < n; ++i)
            e[i] = ys[i] - c.fitted[i];
        const double sse = CentredSquares(e);
        const double ssr = CentredSquares(c.fitted);
        f.anova = ComputeAnova(sse + ssr, sse, ssr, 1, n - 2, n - 1);
    }
    return f;
}

// ---------------------------------------------------------------------------
// The band, the graphs and the follow-up loop.

double PredictionBand::Error(const FittedCurve& c, double at) const {
    double h = 0;
    if (c.leverage) {
        h = c.leverage(at);
    } else {
        const double n = static_cast<double>(c.x.size());
        const double mean = std::accumulate(c.x.begin(), c.x.end(), 0.0) / n;
        const double sxx = CentredSquares(c.x);
        h = 1 / n + (sxx > 0 ? (at - mean) * (at - mean) / sxx : 0.0);
    }
    return std::sqrt(s2 * (1 + h));
}

PredictionBand BandOf(const Workspace& ws, const FittedCurve& c) {
    PredictionBand band;
    std::vector<double> e(c.y.size());
    for (std::size_t i = 0; i < e.size(); ++i)
        e[i] = c.y[i] - c.fitted[i];
    band.s2 = c.dfResidual > 0 ? CentredSquares(e) / c.dfResidual : 0.0;
    band.t =
        c.dfResidual > 0 ? FisherQuantile(1, c.dfResidual, ws.settings.SignificanceLevel) : 0.0;
    return band;
}

namespace {

// The data, the curve at `points` + 1 abscissae from `from` to `to` and its
// band, as one described graph.
void RegressionGraph(Workspace& ws, const FittedCurve& c, double from, double to, int points,
                     const std::string& title) {
    const PredictionBand band = BandOf(ws, c);
    std::vector<double> cx, cy, bx, upper, lower;
    for (int j = 0; j <= points; ++j) {
        const double at = from + (to - from) * j / points;
        const std::optional<double> v = c.model(at);
        if (!v)
            continue;
        const FloatingFlagsKept kept;  // a band past the double range is left out
        const double hw = band.t * band.Error(c, at);
        cx.push_back(at);
        cy.push_back(*v);
        if (std::isfinite(hw) && std::isfinite(*v + hw) && std::isfinite(*v - hw)) {
            bx.push_back(at);
            upper.push_back(*v + hw);
            lower.push_back(*v - hw);
        }
    }
    GraphOrder order(ws, GraphKind::Described);
    order.Described(c.x, c.y, 0, 2).Described(cx, cy, 1, 0);
    if (!bx.empty())
        order.Described(bx, upper, 2, 0).Described(bx, lower, 2, 0);
    order.Title(title).Show();
}

std::string GraphTitle(const FittedCurve& c) {
    return "Регрессия: " + c.yName + "=f(" + c.xName + ")";
}

void ResidualAnalysis(Workspace& ws, const FittedCurve& c) {
    const PredictionBand band = BandOf(ws, c);
    WriteResidualTable(
        ws, ComputeResiduals(
                c.x, c.y, c.fitted, [&](std::size_t i) { return band.Error(c, c.x[i]); }, band.t));
    std::vector<double> e(c.y.size());
    for (std::size_t i = 0; i < e.size(); ++i)
        e[i] = c.y[i] - c.fitted[i];
    if (AskYesNo(ws, ResidualsOnXQuestion))
        GraphOrder(ws).Series(c.x, e, SeriesStyle::Markers).Title("Остатки X").Show();
    if (AskYesNo(ws, ResidualsOnFitQuestion))
        GraphOrder(ws).Series(c.fitted, e, SeriesStyle::Markers).Title("Остатки Y").Show();
}

// Forecasts of up to this many steps (a sheet's longest variable).
constexpr int MostForecastSteps = 16000;

}  // namespace

std::vector<ForecastLine> Forecast(const Workspace& ws, const FittedCurve& c, int steps,
                                   double step) {
    const PredictionBand band = BandOf(ws, c);
    const double last = *std::max_element(c.x.begin(), c.x.end());
    std::vector<ForecastLine> lines;
    for (int j = 1; j <= steps + 1; ++j) {
        // A point past the double range has no forecast.
        const FloatingFlagsKept kept;
        const double at = last + step * j;
        const std::optional<double> v = std::isfinite(at) ? c.model(at) : std::nullopt;
        if (!v)
            continue;
        const double se = band.Error(c, at);
        if (std::isfinite(se) && std::isfinite(band.t * se))
            lines.push_back({at, *v, se, band.t * se});
    }
    return lines;
}

int WhatNext(Workspace& ws, const FittedCurve& c) {
    ws.SetTextBuffer("Регрессия");
    const auto [low, high] = std::minmax_element(c.x.begin(), c.x.end());
    RegressionGraph(ws, c, *low, *high, 50, GraphTitle(c));
    for (;;) {
        const int answer = pq123(ws);
        if (answer == 1) {
            ResidualAnalysis(ws, c);
        } else if (answer == 2) {
            const int steps = std::clamp(ws.AnswerNumber, 0, MostForecastSteps);
            const double step = ws.AnswerValue;
            const std::vector<ForecastLine> lines = Forecast(ws, c, steps, step);
            WriteResult(ws, RegressionForecastHeading);
            for (const ForecastLine& l : lines)
                WriteResult(ws, Fields(ws, {l.x, l.y, l.error, l.halfWidth}));
            if (steps > 1 && lines.size() > 1)
                RegressionGraph(ws, c, lines.front().x, lines.back().x, 20, "Прогноз");
        } else {
            return answer == 3 ? 3 : 0;
        }
    }
}

// ---------------------------------------------------------------------------
// Smoothing.

void SmoothPair(Workspace& ws, const LoadedRow& xRow, const LoadedRow& yRow) {
    FormDialog form;
    form.caption = SmoothingCaption;
    form.Group("Тип окна сглаживания")
        .Field("Ширина=", "3")
        .Field("Константа=", "2", "Укажите константу сглаживания (Хубера)");
    form.GroupButton("Тип окна сглаживания", "&1=Прямоугольное", 1)
        .GroupButton("Тип окна сглаживания", "&2=Треугольное", 2)
        .GroupButton("Тип окна сглаживания", "&3=Епанечникова", 3)
        .Button("Отменить", 0)
        .RememberIn(SmoothingMemory);
    FormReader read(ws, form);
    if (!read.answered())
        return;
    const int h = read.Integer(0, 1, 1000000000, BadWidthNotice);
    const double g = read.Number(1, BadConstantNotice);
    if (!read.ok())
        return;
    const auto kernel = static_cast<SmoothingKernel>(read.button());

    // The window slides along X: the pairs in ascending X, ties in their order.
    const std::size_t n = std::min(xRow.values.size(), yRow.values.size());
    std::vector<std::size_t> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return xRow.values[a] < xRow.values[b]; });
    std::vector<double> x(n), y(n);
    for (std::size_t i = 0; i < n; ++i) {
        x[i] = xRow.values[order[i]];
        y[i] = yRow.values[order[i]];
    }
    const std::vector<std::optional<double>> smooth = RobustSmooth(x, y, h, g, kernel);
    // A point without a value is left out of the curve.
    std::vector<double> cx, cy;
    for (std::size_t i = 0; i < n; ++i)
        if (smooth[i]) {
            cx.push_back(x[i]);
            cy.push_back(*smooth[i]);
        }
    GraphOrder(ws)
        .Series(x, y, SeriesStyle::Markers)
        .Series(cx, cy, SeriesStyle::Line)
        .Title("Сглаживание")
        .Show();
}

// ---------------------------------------------------------------------------
// The nonlinear models through their titles' formulas.

namespace {

std::string ModelTitle(const Workspace& ws, int code) {
    const TextResources& texts = ws.resources ? *ws.resources : TextResources::Builtin();
    return texts.Entry(90, code + 2);
}

// Starting coefficients that suit the curve's shape over the data's range.
std::vector<double> StartingValues(int code, int q, const std::vector<double>& x,
                                   const std::vector<double>& y) {
    std::vector<double> theta(q + 1, 0.0);
    const auto [xLow, xHigh] = std::minmax_element(x.begin(), x.end());
    const auto [yLow, yHigh] = std::minmax_element(y.begin(), y.end());
    const double range = *xHigh - *xLow;
    if (code == 21 && range > 0) {
        // The logistic step from a to a + b across the X range: 1% of it at
        // one end and 99% at the other, rising or falling as Y does.
        theta[0] = *yLow;
        theta[1] = *yHigh - *yLow;
        theta[3] = -2 * std::log(99.0) / range;
        theta[2] = -theta[3] * (*xLow + *xHigh) / 2;
        if (y.back() < y.front()) {
            theta[2] = -theta[2];
            theta[3] = -theta[3];
        }
    } else if (code == 12) {
        // A decay by 10^4 over the farthest X from zero (never by X = 0).
        const double reach = std::max(std::fabs(*xLow), std::fabs(*xHigh));
        theta[2] = reach > 0 ? -std::log(10000.0) / reach : 1.0;
        const double mean =
            std::accumulate(y.begin(), y.end(), 0.0) / static_cast<double>(y.size());
        const bool high = mean > (*yLow + *yHigh) / 2;
        theta[0] = high ? *yHigh : *yLow;
        theta[1] = high ? -1 : 1;
    }
    return theta;
}

SimpleFigures FitNonlinearModel(Workspace& ws, const ModelSpec& spec, const std::vector<double>& x,
                                const std::vector<double>& y) {
    SimpleFigures f;
    const int q = spec.degree;
    const int n = static_cast<int>(y.size());
    if (n <= q + 1) {
        f.notice = TooFewValuesNotice;
        return f;
    }
    if (Constant(y)) {
        f.notice = ConstantResponseNotice;
        return f;
    }
    if (Constant(x)) {
        f.notice = RegressionSingularNotice;
        return f;
    }
    const std::string title = ModelTitle(ws, spec.code);
    const std::size_t equals = title.find('=');
    auto model = std::make_shared<FormulaModel>();
    if (equals == std::string::npos || !model->Compile(ws, title.substr(equals + 1)) ||
        model->coefficientCount() != q + 1) {
        f.notice = ModelMismatchNotice;
        return f;
    }
    std::vector<std::vector<double>> points(n);
    for (int i = 0; i < n; ++i)
        points[i] = {x[i]};
    const NonlinearFigures fit =
        FitFormulaModel(ws, *model, points, y, StartingValues(spec.code, q, x, y));
    if (!fit.notice.empty()) {
        f.notice = fit.notice;
        return f;
    }
    f.coefficients = fit.theta;
    f.table = fit.table;
    f.anova = fit.anova;
    f.curve.x = x;
    f.curve.y = y;
    f.curve.fitted = fit.fitted;
    f.curve.parameters = q + 1;
    f.curve.dfResidual = fit.dfResidual;
    Workspace* w = &ws;
    f.curve.model = [model, w, theta = fit.theta](double at) { return model->At(*w, {at}, theta); };
    return f;
}

}  // namespace

// ---------------------------------------------------------------------------
// The method.

void SimpleRegressionPair(PairStep& step) {
    Workspace& ws = step.ws;
    const LoadedRow& xRow = step.first;
    const LoadedRow& yRow = step.second;
    for (;;) {
        FormReader read(ws, ModelDialogForm());
        if (!read.answered())
            return;
        const int code = read.button();
        if (code == SmoothingCode) {
            SmoothPair(ws, xRow, yRow);
            return;
        }
        const ModelSpec* spec = FindModel(code);
        if (spec == nullptr)
            return;
        int degree = spec->degree;
        if (code == 3) {
            degree = read.Integer(0, 1, MostDegree, BadDegreeNotice);
            if (!read.ok())
                return;
        }
        WriteResult(ws, "");
        WriteResult(ws, ModelTitle(ws, code));
        if (code == 3 && xRow.count() - 1 <= degree) {
            ShowNotice(ws, TooFewValuesNotice);
            return;
        }
        const bool intercept = spec->fit != ModelFit::Polynomial || AskYesNo(ws, InterceptQuestion);
        SimpleFigures f = spec->fit == ModelFit::Nonlinear
                              ? FitNonlinearModel(ws, *spec, xRow.values, yRow.values)
                              : FitSimpleModel(*spec, degree, intercept, xRow.values, yRow.values);
        if (f.excluded > 0)
            ShowNotice(ws, ExcludedNoticeStart + std::to_string(f.excluded));
        // A model that cannot be fitted stops here: no table from a
        // half-made solution.
        if (!f.notice.empty()) {
            ShowNotice(ws, f.notice);
            return;
        }
        f.curve.xName = xRow.name;
        f.curve.yName = yRow.name;
        const std::string header = f.table.values.size() == 2 && intercept
                                       ? "Y=" + yRow.name + ", X=" + PadLeft(xRow.name, 8) + ", "
                                       : std::string();
        WriteCoefficientTable(ws, f.table, header);
        WriteAnova(ws, f.anova);
        const FittedCurve& curve = f.curve;
        Interpolation(ws, {xRow.name}, yRow.name,
                      [&](const std::vector<double>& xs) { return curve.model(xs[0]); });
        if (WhatNext(ws, curve) != 3)
            return;
    }
}

void SimpleRegressionMethod(Workspace& ws, int type, Missing missing) {
    // Room for the longest chosen variable in each of the method's rows.
    int longest = 0;
    for (int k = 1; k <= ws.SelectedColumns[0]; ++k)
        longest = std::max(longest, ws.sheet.ColumnLength(ws.SelectedColumns[k]));
    FitDataRows(ws, 7, longest);
    PairwiseRun(ws, type, missing, SimpleRegressionPair);
}

}  // namespace dalvex
