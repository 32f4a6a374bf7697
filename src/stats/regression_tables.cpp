#include "stats/regression_tables.h"

#include <cmath>

#include "core/arithmetic_fault.h"
#include "core/number.h"
#include "core/text.h"
#include "dispatch/method_kit.h"
#include "numeric/distributions.h"
#include "output/significance.h"

namespace dalvex {

namespace {

// A figure in a 9-character field with `digits` significant digits.
std::string FieldWith(const Workspace& ws, double x, int digits) {
    const std::string text = FormatNumber(Checked(x), digits, ws.decimalSeparator());
    return CharLength(text) >= 9 ? " " + text : PadLeft(text, 9);
}

constexpr double PerfectFitShare = 1e-24;

}  // namespace

CoefficientFigures ComputeCoefficients(const std::vector<double>& values,
                                       const std::vector<std::vector<double>>& inverse, double sse,
                                       int dfResidual, int first) {
    CoefficientFigures f;
    for (std::size_t k = 0; k < values.size(); ++k) {
        f.numbers.push_back(first + static_cast<int>(k));
        f.values.push_back(values[k]);
        const double v = k < inverse.size() && k < inverse[k].size() ? inverse[k][k] : 0.0;
        const double se = dfResidual > 0 ? std::sqrt(std::fabs(v) * sse / dfResidual) : 0.0;
        f.errors.push_back(se);
        f.significances.push_back(se > 0 ? FisherTail(std::fabs(values[k] / se), 1, dfResidual)
                                         : 0.0);
    }
    return f;
}

void WriteCoefficientTable(Workspace& ws, const CoefficientFigures& f,
                           const std::string& headerLine) {
    if (!headerLine.empty())
        WriteResult(ws, headerLine);
    std::string labels = "  Коэфф.";
    for (int k : f.numbers)
        labels += PadLeft("a" + std::to_string(k), 9);
    WriteResult(ws, labels);
    WriteResult(ws, "Значение" + Fields(ws, f.values));
    WriteResult(ws, "Ст.ошиб." + Fields(ws, f.errors));
    WriteResult(ws, " Значим." + Fields(ws, f.significances));
}

AnovaFigures ComputeAnova(double sst, double sse, double ssr, int dfRegression, int dfResidual,
                          int dfTotal) {
    AnovaFigures a;
    a.sst = sst;
    a.sse = sse;
    a.ssr = ssr;
    a.dfRegression = dfRegression;
    a.dfResidual = dfResidual;
    a.dfTotal = dfTotal;
    if (dfResidual <= 0 || dfRegression <= 0 || !(sst > 0))
        return a;
    a.msr = ssr / dfRegression;
    a.mse = sse / dfResidual;
    const double unexplained = std::min(1.0, sse / sst);
    a.r2 = 1 - unexplained;
    a.r = std::sqrt(a.r2);
    a.adjustedR2 = 1 - unexplained * dfTotal / dfResidual;
    a.standardError = std::sqrt(a.mse);
    // Residuals of an exact fit are rounding, some 1e-16 of Y each: a fit
    // that leaves no more than that is perfect.
    a.perfect = sse <= PerfectFitShare * sst;
    if (a.perfect) {
        a.significance = 0;
    } else {
        a.f = a.msr / a.mse;
        a.significance = FSignificance(a.f, dfRegression, dfResidual);
    }
    return a;
}

void WriteAnova(Workspace& ws, const AnovaFigures& a) {
    if (a.dfResidual <= 0)
        return;
    WriteResult(ws, "");
    WriteResult(ws, AnovaHeading);
    WriteResult(ws, "Регресс." + Fields(ws, {a.ssr, double(a.dfRegression), a.msr}));
    WriteResult(ws, "Остаточн" + Fields(ws, {a.sse, double(a.dfResidual), a.mse}));
    WriteResult(ws, "     Вся" + Fields(ws, {a.sst, double(a.dfTotal)}));
    WriteResult(ws, "");
    WriteResult(ws, FitHeading);
    std::string line;
    for (double x : {a.r, a.r2, a.adjustedR2, a.standardError})
        line += FieldWith(ws, x, 5);
    line += a.perfect ? PadLeft(InfiniteF, 9) : Field(ws, a.f);
    line += Field(ws, a.significance);
    WriteResult(ws, line);
    WriteVerdict(ws, a.significance);
}

ResidualFigures ComputeResiduals(const std::vector<double>& x, const std::vector<double>& y,
                                 const std::vector<double>& fitted,
                                 const std::function<double(std::size_t)>& error, double t) {
    ResidualFigures f;
    const std::size_t n = y.size();
    double mean = 0;
    for (std::size_t i = 0; i < n; ++i)
        mean += y[i] - fitted[i];
    mean /= static_cast<double>(n);
    double ss = 0;
    for (std::size_t i = 0; i < n; ++i)
        ss += (y[i] - fitted[i] - mean) * (y[i] - fitted[i] - mean);
    const double sd = n > 1 ? std::sqrt(ss / static_cast<double>(n - 1)) : 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        const double e = y[i] - fitted[i];
        const double se = error(i);
        // A perfect fit has no spread to standardise by.
        f.lines.push_back({x[i], y[i], fitted[i], e, sd > 0 ? (e - mean) / sd : 0.0, se, t * se});
    }
    return f;
}

void WriteResidualTable(Workspace& ws, const ResidualFigures& f) {
    WriteResult(ws, ResidualHeading);
    for (const ResidualLine& l : f.lines)
        WriteResult(
            ws, Fields(ws, {l.x, l.y, l.fitted, l.residual, l.standardised, l.error, l.halfWidth}));
    WriteResult(ws, "");
}

void Interpolation(Workspace& ws, const std::vector<std::string>& xNames, const std::string& yName,
                   const std::function<std::optional<double>(const std::vector<double>&)>& model) {
    for (;;) {
        std::vector<double> values;
        std::string line;
        for (const std::string& name : xNames) {
            FormDialog form;
            form.caption = InterpolationCaption;
            form.Field(InterpolationField, "").Button("Утвердить", 1).Button("Отменить", 0);
            FormReader read(ws, form);
            if (!read.answered())
                return;
            const double value = read.Number(0, NotANumberNotice);
            if (!read.ok())
                return;
            values.push_back(value);
            line += name + "=" + FormatNumber(value, ws.digits(), ws.decimalSeparator()) + ", ";
        }
        const std::optional<double> y = model(values);
        if (!y) {
            ShowNotice(ws, UndefinedHereNotice);
            continue;
        }
        WriteResult(
            ws, line + yName + "=" + FormatNumber(Checked(*y), ws.digits(), ws.decimalSeparator()));
    }
}

}  // namespace dalvex
