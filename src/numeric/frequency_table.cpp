#include "numeric/frequency_table.h"

#include <charconv>
#include <cmath>

#include "core/arithmetic_fault.h"
#include "core/form_dialog.h"
#include "core/number.h"
#include "core/workspace.h"
#include "numeric/basic.h"
#include "numeric/data_range.h"
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

int FrequencyTable(Workspace& ws, int n) {
    DataStore& store = ws.store;
    RowRange(ws, 0, 0);
    const int proposed = static_cast<int>(std::floor(3.3 * Log10(n) + 1 + 0.5 + n / 100.0));

    const FormAnswer answer = ShowForm(
        ws, HistogramForm(proposed, store.RangeMin[0], store.RangeMax[0], ws.decimalSeparator()));
    if (answer.button == 0)
        return -1;
    const int k = ParseInteger(answer.values[0]);
    if (k < 1 || k > VectorCapacity) {
        ws.ui.FieldRefused("Число интервалов=", ClassCountNotice());
        return -1;
    }
    const ParsedNumber left = ParseNumber(answer.values[1]);
    const ParsedNumber right = ParseNumber(answer.values[2]);
    if (!left.ok() || !right.ok()) {
        ws.ui.FieldRefused(left.ok() ? "Правая граница=" : "Левая граница=", BorderNumberNotice);
        return -1;
    }
    if (!(left.value < right.value)) {
        ws.ui.FieldRefused("Правая граница=", BorderOrderNotice);
        return -1;
    }
    store.StatSum = left.value;
    store.StatSumSquares = right.value;
    store.RangeMin[0] = left.value;
    store.RangeMax[0] = right.value;
    store.RangeSeen[0] = true;

    const RowMomentsResult moments = RowMoments(ws, 0);
    const double mean = moments.mean;
    // Values near 1e-300 lose their variance to zero, not their deviation.
    const double s = moments.deviation;
    store.StatVariance = s;

    const double w = (right.value - left.value) / k;
    for (int j = 0; j < k; ++j)
        store.Vec1(j) = 0;
    int outside = 0;
    for (int i = 0; i <= n; ++i) {
        const double x = store.Data(0, i);
        if (x < left.value || x > right.value) {
            ++outside;
            continue;
        }
        // The small shift puts a value on an inner border into the lower
        // class; truncation then takes the left border itself to class 0.
        int j = static_cast<int>(CheckedDivide(x - left.value - w / 100000, w));
        if (j < 0)
            j = 0;
        if (j > k - 1)
            j = k - 1;
        store.Vec1(j) += 1;
    }

    const int digits = ws.digits();
    const char separator = ws.decimalSeparator();
    auto padded = [&](double v) { return FormatPadded(v, digits, separator); };
    const double total = n + 1;
    WriteResult(ws, "");
    WriteResult(ws, kTableHeading);
    double x = left.value, running = 0;
    for (int j = 0; j < k; ++j) {
        const double count = store.Vec1(j);
        running += count;
        WriteResult(ws, padded(x) + padded(CheckedDivide(x - mean, s)) + padded(count) +
                            padded(count / total * 100) + padded(running) +
                            padded(running / total * 100));
        x += w;
    }
    WriteResult(ws, padded(x) + padded(CheckedDivide(x - mean, s)));
    if (outside > 0)
        WriteResult(ws, "Вне границ=" + std::to_string(outside));
    return k - 1;
}

}  // namespace dalvex
