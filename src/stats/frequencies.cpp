#include "stats/frequencies.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "core/number.h"
#include "core/workspace.h"
#include "dispatch/loading.h"
#include "dispatch/method_kit.h"
#include "numeric/distributions.h"
#include "output/significance.h"

namespace dalvex {

FormDialog Tqq293Form() {
    FormDialog form;
    form.caption = "Согласие частот";
    form.Field("Событий 1 =", "20")
        .Field("Наблюдений 1 =", "1000")
        .Field("Событий 2 =", "30")
        .Field("Наблюдений 2 =", "900")
        .Field("Вероятность = ", "0.3")
        .Field("Частота = ", "0.3")
        .Field("Точность = ", "0.04");
    form.GroupButton("Тип нулевой гипотезы", "&1=равенство частот", 1)
        .GroupButton("Тип нулевой гипотезы", "&2=равенство вероятности", 2)
        .GroupButton("Тип нулевой гипотезы", "&3=необх. объем выборки", 3)
        .Button("Отменить", 0);
    form.RememberIn("q293.ini");
    return form;
}

FormDialog Tqq296Form() {
    FormDialog form;
    form.caption = "Последовательный анализ";
    form.Field("x0 = ", "0")
        .Field("d = ", "1")
        .Field("S = ", "1")
        .Button("Утвердить", 1)
        .Button("Отменить", 0);
    form.RememberIn("q296.ini");
    return form;
}

TwoFrequencies CompareTwoFrequencies(double k1, double n1, double k2, double n2, double alpha) {
    TwoFrequencies r;
    const double p1 = k1 / n1, p2 = k2 / n2;
    const double c = 1 / n1 + 1 / n2;
    const double v = (k1 + k2) / (n1 + n2);
    const double se = std::sqrt(v * (1 - v) * c);
    r.difference = std::fabs(p1 - p2);
    // The correction moves the difference toward 0 by half a count of each
    // sample; a difference smaller than that is no evidence at all.
    r.z = std::max(r.difference - c / 2, 0.0) / se;
    r.p = 2 * NormalTail(r.z);
    r.halfWidth = std::fabs(NormalQuantile(alpha / 2)) * se;
    return r;
}

FrequencyAgainstProbability CompareWithProbability(double k, double n, double p0) {
    FrequencyAgainstProbability r;
    r.z = std::sqrt(n) * (k / n - p0) / std::sqrt(p0 * (1 - p0));
    r.p = 2 * NormalTail(r.z);
    return r;
}

long SampleSizeFor(double f, double delta) {
    // Whole thousandths; the small lift keeps 0.3 from becoming 299 where
    // its binary image lies just below.
    const double F = std::trunc(1000 * f + 1e-7);
    const double D = std::trunc(1000 * delta + 1e-7);
    if (F < 1 || F > 999 || D < 1)
        return 0;
    // A sample is at least one observation, however coarse the accuracy.
    return std::max(
        1L, static_cast<long>(std::trunc((100 - F / 10) * (4 * F / 10) / (D * D / 100) + 0.5)));
}

namespace {

void WriteZ(Workspace& ws, double z, double p) {
    const int digits = ws.digits();
    const char separator = ws.decimalSeparator();
    WriteResult(ws, "Z=" + FormatNumber(z, digits, separator) +
                        ",  Значимость=" + FormatNumber(p, digits, separator));
    WriteVerdict(ws, p);
}

}  // namespace

void CompareFrequencies(Workspace& ws) {
    ws.VerdictGroup = FrequencyVerdictGroup;
    ws.VerdictIndex = 1;
    FormReader read(ws, Tqq293Form());
    const int answer = read.button();
    const int digits = ws.digits();
    const char separator = ws.decimalSeparator();
    if (answer == 1) {
        const int n1 = read.Integer(1, 1, INT_MAX, ParameterErrorNotice);
        const int k1 = read.Integer(0, 0, n1, ParameterErrorNotice);
        const int n2 = read.Integer(3, 1, INT_MAX, ParameterErrorNotice);
        const int k2 = read.Integer(2, 0, n2, ParameterErrorNotice);
        if (!read.ok())
            return;
        if ((k1 == 0 && k2 == 0) || (k1 == n1 && k2 == n2)) {
            ShowNotice(ws, NoSpreadNotice);
            return;
        }
        const TwoFrequencies r =
            CompareTwoFrequencies(k1, n1, k2, n2, ws.settings.SignificanceLevel);
        WriteZ(ws, r.z, r.p);
        WriteResult(ws, "Разность частот=" + FormatNumber(r.difference, digits, separator) +
                            ", доверит.интервал=" + FormatNumber(r.halfWidth, digits, separator));
    } else if (answer == 2) {
        const int n1 = read.Integer(1, 1, INT_MAX, ParameterErrorNotice);
        const int k1 = read.Integer(0, 0, n1, ParameterErrorNotice);
        const double p0 = read.Number(4, ParameterErrorNotice, 0, 1);
        if (read.ok() && (p0 <= 0 || p0 >= 1))
            read.Refuse(4, ParameterErrorNotice);
        if (!read.ok())
            return;
        const FrequencyAgainstProbability r = CompareWithProbability(k1, n1, p0);
        WriteZ(ws, r.z, r.p);
    } else if (answer == 3) {
        const double f = read.Number(5, ParameterErrorNotice, 0, 1);
        const double delta = read.Number(6, ParameterErrorNotice, 0, 1);
        if (!read.ok())
            return;
        const long n = SampleSizeFor(f, delta);
        if (n == 0) {
            read.Refuse(SampleSizeFor(f, 1) == 0 ? 5 : 6, ParameterErrorNotice);
            return;
        }
        ShowNotice(ws, "Мин.размер выборки = " + std::to_string(n));
    }
}

// ---------------------------------------------------------------------------

namespace {

// Whether x0 is too small beside S to divide by.
bool TinyBeside(double x0, double s) {
    return std::fabs(x0) / std::max(std::fabs(x0), s) < 1e-150;
}

// (x0 + S) / x0 taken relative to the larger of |x0| and S, so no step
// overflows.
double ShiftRatio(double x0, double s) {
    const double big = std::max(std::fabs(x0), s);
    const double share = x0 / big;
    return (share + s / big) / share;
}

}  // namespace

SequentialChart ComputeSequentialChart(const std::vector<double>& x, const std::vector<double>& y,
                                       double x0, double d, double s) {
    SequentialChart chart;
    double sum = 0;
    for (double v : y) {
        sum += v - x0;
        chart.sums.push_back(sum);
    }
    chart.slope = s / 2;
    const double ratio = ShiftRatio(x0, s) * d;
    chart.intercept = std::log(99.0) * ratio * ratio / s;
    chart.firstX = x.front();
    chart.lastX = x.back();
    const double n = static_cast<double>(y.size());
    chart.upper = {chart.intercept + chart.slope, chart.intercept + chart.slope * n};
    chart.lower = {-chart.intercept + chart.slope, -chart.intercept + chart.slope * n};
    return chart;
}

void SequentialAnalysis(Workspace& ws) {
    const std::vector<LoadedRow> rows = ChooseAndLoad(ws, Choose::List, 3, Missing::Listwise);
    if (rows.empty())
        return;
    if (rows.size() != 2) {
        ShowNotice(ws, TwoVariablesNotice);
        return;
    }
    if (rows[1].values.empty()) {
        ShowNotice(ws, TooFewValuesNotice);
        return;
    }
    FormReader read(ws, Tqq296Form());
    if (!read.answered())
        return;
    const double x0 = read.Number(0, ParameterErrorNotice);
    // Sums and boundaries of a series of up to 16000 values stay numbers.
    if (read.ok() && (x0 == 0 || !(std::fabs(x0) <= 1e300)))
        read.Refuse(0, ParameterErrorNotice);
    const double d = read.Number(1, ParameterErrorNotice);
    const double s = read.Number(2, ParameterErrorNotice);
    if (read.ok() && !(s > 0 && s <= 1e300))
        read.Refuse(2, ParameterErrorNotice);
    // The boundaries' distance is ln 99 ((x0 + S) d / x0)^2 / S: parameters
    // that put it beyond the range of numbers draw nothing.
    if (read.ok()) {
        const double ratio = TinyBeside(x0, s) ? 0 : std::fabs(ShiftRatio(x0, s));
        if (TinyBeside(x0, s))
            read.Refuse(0, ParameterErrorNotice);
        else if (ratio > 0 &&
                 (!(std::fabs(d) < 1e150 / ratio) || (ratio * d) * (ratio * d) / 1e300 > s))
            read.Refuse(1, ParameterErrorNotice);
    }
    if (!read.ok())
        return;
    const SequentialChart chart = ComputeSequentialChart(rows[0].values, rows[1].values, x0, d, s);
    GraphOrder(ws, GraphKind::Described)
        .Described(rows[0].values, chart.sums, 0, 1)
        .Described({chart.firstX, chart.lastX}, chart.upper, 1, 0)
        .Described({chart.firstX, chart.lastX}, chart.lower, 1, 0)
        .Title("ПоследАн")
        .Show();
}

}  // namespace dalvex
