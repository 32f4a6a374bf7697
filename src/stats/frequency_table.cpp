#include "stats/frequency_table.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "core/arithmetic_fault.h"
#include "core/form_dialog.h"
#include "core/workspace.h"
#include "dispatch/method_kit.h"
#include "numeric/class_counts.h"
#include "numeric/moments.h"

namespace dalvex {

namespace {

constexpr const char* kTableHeading = "    Х-лев. Х-станд  Частота        %   Накопл.       %";

// The shortest text that reads back as exactly x: a proposed border must hold
// the extreme value itself, or that value would fall outside the classes.
std::string ExactText(double x, char decimalSeparator) {
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, x).ptr;
    std::string text(buffer, end);
    if (const auto point = text.find('.'); point != std::string::npos)
        text[point] = decimalSeparator;
    return text;
}

}  // namespace

bool BordersMeasurable(double left, double right, int classes, double mean, double sd) {
    // Worked out with the flags kept, so that trying does not itself stop
    // the command.
    FloatingFlagsKept kept;
    const double width = (right - left) / classes;
    if (!std::isfinite(width))
        return false;
    if (!(sd > 0))
        return true;  // a constant has no spread to measure by; its callers refuse it
    for (const double border : {left, right}) {
        const double standardised = (border - mean) / sd;
        if (!std::isfinite(standardised))
            return false;
    }
    return true;
}

std::string ClassCountNotice() {
    return "!ЧИСЛО ИНТЕРВАЛОВ ДОЛЖНО БЫТЬ ОТ 1 ДО " + std::to_string(VectorCapacity) + "!";
}

FormDialog HistogramForm(int classes, double left, double right, char decimalSeparator) {
    FormDialog form;
    form.caption = "Гистограмма";
    form.Field("Число интервалов=", std::to_string(classes))
        .Field("Левая граница=", ExactText(left, decimalSeparator))
        .Field("Правая граница=", ExactText(right, decimalSeparator))
        .Button("Утвердить", 1);
    return form;
}

std::optional<FrequencyTableFigures> AskFrequencyClasses(Workspace& ws,
                                                         const std::vector<double>& values) {
    const int n = static_cast<int>(values.size()) - 1;
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    FormReader read(ws, HistogramForm(ProposedClassCount(n), values.empty() ? 0 : *low,
                                      values.empty() ? 0 : *high, ws.decimalSeparator()));
    if (!read.answered())
        return std::nullopt;
    const int k = read.Integer(0, 1, VectorCapacity, ClassCountNotice());
    const double left = read.Number(1, BorderNumberNotice);
    const double right = read.Number(2, BorderNumberNotice);
    if (!read.ok())
        return std::nullopt;
    if (!(left < right)) {
        read.Refuse(2, BorderOrderNotice);
        return std::nullopt;
    }

    const RowMomentsResult moments = MomentsOf(values);
    // A border far out on data of a small spread (1e308 typed for values
    // near 1e7 that differ by 1e-3) has a standardised value beyond any
    // number, and so has the class width of borders at both ends of the
    // number range: the field is refused instead of the table breaking off.
    if (!BordersMeasurable(left, right, k, moments.mean, moments.deviation)) {
        const bool leftFar =
            !BordersMeasurable(left, moments.mean, 1, moments.mean, moments.deviation);
        read.Refuse(leftFar ? 1 : 2, BorderRangeNotice);
        return std::nullopt;
    }
    ClassCounts counted = CountClasses(values, left, right, k);
    FrequencyTableFigures figures;
    figures.counts = std::move(counted.counts);
    figures.outside = counted.outside;
    figures.left = left;
    figures.right = right;
    figures.mean = moments.mean;
    // Values near 1e-300 lose their variance to zero, not their deviation.
    figures.sd = moments.deviation;
    figures.total = n + 1;
    return figures;
}

void WriteFrequencyTable(Workspace& ws, const FrequencyTableFigures& f) {
    const int k = static_cast<int>(f.counts.size());
    const double w = (f.right - f.left) / k;
    const double total = f.total;
    WriteResult(ws, "");
    WriteResult(ws, kTableHeading);
    double x = f.left, running = 0;
    for (int j = 0; j < k; ++j) {
        const double count = f.counts[j];
        running += count;
        WriteResult(ws, Fields(ws, {x, CheckedDivide(x - f.mean, f.sd), count, count / total * 100,
                                    running, running / total * 100}));
        x += w;
    }
    WriteResult(ws, Fields(ws, {x, CheckedDivide(x - f.mean, f.sd)}));
    if (f.outside > 0)
        WriteResult(ws, "Вне границ=" + std::to_string(f.outside));
}

int FrequencyTable(Workspace& ws, int n) {
    DataStore& store = ws.store;
    std::vector<double> values;
    for (int i = 0; i <= n; ++i)
        values.push_back(store.Data(0, i));
    const std::optional<FrequencyTableFigures> figures = AskFrequencyClasses(ws, values);
    if (!figures)
        return -1;
    WriteFrequencyTable(ws, *figures);
    const int k = static_cast<int>(figures->counts.size());
    for (int j = 0; j < k; ++j)
        store.Vec1(j) = figures->counts[j];
    store.RangeMin[0] = figures->left;
    store.RangeMax[0] = figures->right;
    store.RangeSeen[0] = true;
    // The moments' cells as the row's moments leave them, the deviation in
    // place of the variance.
    PowerSums raw;
    MomentsOf(values, &raw);
    store.StatSum = raw.sum;
    store.StatSumSquares = raw.squares;
    store.StatSumCubes = raw.cubes;
    store.StatSumFourth = raw.fourth;
    store.StatMean = figures->mean;
    store.StatVariance = figures->sd;
    return k - 1;
}

}  // namespace dalvex
