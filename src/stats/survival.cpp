#include "stats/survival.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "core/number.h"
#include "core/workspace.h"
#include "dispatch/loading.h"
#include "dispatch/method_kit.h"
#include "numeric/distributions.h"

namespace dalvex {

SurvivalCurve KaplanMeier(const std::vector<double>& times, const std::vector<double>& counts) {
    struct Entry {
        double time, count;
    };
    std::vector<Entry> entries;
    const std::size_t n = std::min(times.size(), counts.size());
    for (std::size_t i = 0; i < n; ++i) {
        // Cases are whole: a fraction of a case is not counted.
        const double count = counts[i] == MissingValue ? 0 : std::trunc(counts[i]);
        if (times[i] != MissingValue && count != 0)
            entries.push_back({times[i], count});
    }
    // The cases that die at a time were at risk when the ones censored then
    // left: at equal times the events come first.
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        if (a.time != b.time)
            return a.time < b.time;
        return a.count > 0 && b.count < 0;
    });
    std::vector<Entry> merged;
    for (const Entry& e : entries) {
        if (!merged.empty() && merged.back().time == e.time &&
            (merged.back().count > 0) == (e.count > 0))
            merged.back().count += e.count;
        else
            merged.push_back(e);
    }

    SurvivalCurve curve;
    for (const Entry& e : merged)
        curve.cases += std::fabs(e.count);
    double atRisk = curve.cases, survival = 1, greenwood = 0;
    for (const Entry& e : merged) {
        SurvivalStep step;
        step.time = e.time;
        step.count = e.count;
        step.atRisk = atRisk;
        const double leaving = std::fabs(e.count);
        step.kept = (atRisk - leaving) / atRisk;
        if (e.count > 0) {
            // When every case at risk dies the curve reaches 0 and stays
            // there exactly: its error is 0, not Greenwood's 0 times infinity.
            if (atRisk > leaving)
                greenwood += leaving / (atRisk * (atRisk - leaving));
            survival *= step.kept;
        }
        step.survival = survival;
        step.error = survival > 0 ? survival * std::sqrt(greenwood) : 0;
        atRisk -= leaving;
        curve.steps.push_back(step);
    }
    return curve;
}

LogRank CompareCurves(const SurvivalCurve& first, const SurvivalCurve& second) {
    // Both tables are ordered with each time's events before its
    // censorings, so walking them together meets every time once: the
    // numbers at risk are those before the time, the censored of the time
    // included.
    LogRank r;
    double n1 = first.cases, n2 = second.cases;
    std::size_t i = 0, j = 0;
    const auto& a = first.steps;
    const auto& b = second.steps;
    while (i < a.size() || j < b.size()) {
        const double t =
            j >= b.size() || (i < a.size() && a[i].time <= b[j].time) ? a[i].time : b[j].time;
        double d1 = 0, d2 = 0, c1 = 0, c2 = 0;
        for (; i < a.size() && a[i].time == t; ++i)
            (a[i].count > 0 ? d1 : c1) += std::fabs(a[i].count);
        for (; j < b.size() && b[j].time == t; ++j)
            (b[j].count > 0 ? d2 : c2) += std::fabs(b[j].count);
        const double n = n1 + n2, d = d1 + d2;
        if (d > 0) {
            r.u += d1 - n1 * d / n;
            // With one case at risk its death leaves nothing to vary.
            if (n > 1)
                r.v += n1 * n2 * d * (n - d) / (n * n * (n - 1));
        }
        n1 -= d1 + c1;
        n2 -= d2 + c2;
    }
    r.valid = r.v > 0;
    if (r.valid) {
        r.z = std::copysign(std::max(std::fabs(r.u) - 0.5, 0.0), r.u) / std::sqrt(r.v);
        r.p = 2 * NormalTail(r.z);
    }
    return r;
}

namespace {

void WriteCurve(Workspace& ws, const SurvivalCurve& curve) {
    WriteResult(ws, SurvivalHeading);
    const int digits = ws.digits();
    const char separator = ws.decimalSeparator();
    for (const SurvivalStep& s : curve.steps)
        WriteResult(ws, FormatPadded(s.time, digits, separator) +
                            FormatPadded(s.kept, digits, separator) +
                            FormatPadded(s.survival, digits, separator) +
                            FormatPadded(s.error, digits, separator));
    WriteResult(ws, "");
}

// The curve as steps from 1 down at each event time, and the censorings as
// marks on it.
void AddCurve(GraphOrder& graph, const SurvivalCurve& curve, double start,
              const std::string& name) {
    std::vector<double> x{start}, y{1}, cx, cy;
    double s = 1;
    for (const SurvivalStep& step : curve.steps) {
        if (step.count > 0) {
            x.push_back(step.time);
            y.push_back(s);
            x.push_back(step.time);
            y.push_back(step.survival);
        } else {
            cx.push_back(step.time);
            cy.push_back(s);
        }
        s = step.survival;
    }
    x.push_back(curve.steps.back().time);
    y.push_back(s);
    graph.Series(x, y, SeriesStyle::Line, name);
    if (!cx.empty())
        graph.Series(cx, cy, SeriesStyle::Markers, name + ": цензуры");
}

}  // namespace

void SurvivalAnalysis(Workspace& ws, const std::string& dataFile) {
    const std::vector<LoadedRow> rows = LoadedRows(ws);
    const int m = static_cast<int>(rows.size()) - 1;
    if (m != 1 && m != 3) {
        ShowNotice(ws, NotSurvivalDataNotice);
        return;
    }
    std::vector<SurvivalCurve> curves;
    for (int g = 0; g <= m; g += 2)
        curves.push_back(KaplanMeier(rows[g].values, rows[g + 1].values));
    for (const SurvivalCurve& curve : curves) {
        if (curve.steps.empty()) {
            ShowNotice(ws, TooFewValuesNotice);
            return;
        }
        // Counts beyond any population are no survival data: their
        // products would leave the range of numbers.
        if (curve.cases > MaxSurvivalCases) {
            ShowNotice(ws, NotSurvivalDataNotice);
            return;
        }
    }
    WriteResult(ws, std::string(m == 1 ? "АНАЛИЗ ВЫЖИВАЕМОСТИ. " : "СРАВНЕНИЕ ВЫЖИВАЕМОСТЕЙ. ") +
                        "Файл: " + dataFile);
    WriteResult(ws, "");
    for (const SurvivalCurve& curve : curves)
        WriteCurve(ws, curve);

    if (m == 3) {
        const LogRank r = CompareCurves(curves[0], curves[1]);
        if (!r.valid) {
            ShowNotice(ws, NoEventsToCompareNotice);
        } else {
            const int digits = ws.digits();
            const char separator = ws.decimalSeparator();
            WriteResult(ws, "Z=" + FormatNumber(r.z, digits, separator) +
                                ", значимость=" + FormatNumber(r.p, digits, separator));
            WriteResult(ws, r.p >= ws.settings.SignificanceLevel
                                ? "   Гипотеза 0: <Нет различий между  кривыми выживаемости>"
                                : "   Гипотеза 1: <Есть различия между кривыми выживаемости>");
        }
    }

    double start = 0;
    for (const SurvivalCurve& curve : curves)
        start = std::min(start, curve.steps.front().time);
    GraphOrder graph(ws);
    for (std::size_t g = 0; g < curves.size(); ++g)
        AddCurve(graph, curves[g], start, rows[2 * g + 1].name);
    graph.Title("Выживаемость").Show();
}

}  // namespace dalvex
