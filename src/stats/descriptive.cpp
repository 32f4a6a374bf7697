#include "stats/descriptive.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <string>

#include "core/arithmetic_fault.h"
#include "core/workspace.h"
#include "dispatch/loading.h"
#include "numeric/distributions.h"
#include "numeric/moments.h"
#include "numeric/progression.h"
#include "stats/frequency_table.h"

namespace dalvex {

std::string ConstantHistogramNotice(const std::string& name) {
    return "!ПЕРЕМЕННАЯ " + name + " ПОСТОЯННА - ГИСТОГРАММА И НОРМАЛЬНОСТЬ НЕ ОПРЕДЕЛЕНЫ!";
}

std::array<double, 8> BasicFigures(const std::vector<double>& values) {
    const double n = static_cast<double>(values.size());
    const RowMomentsResult moments = MomentsOf(values);
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    const double m = moments.mean;
    const double v = moments.variance;
    return {n, *low, *high, m, std::sqrt(v / n), v, std::sqrt(v), n * m};
}

std::array<double, 7> AdditionalFigures(const std::vector<double>& values, double alpha) {
    const int n = static_cast<int>(values.size());
    std::vector<double> sorted = values;
    std::sort(sorted.begin(), sorted.end());
    auto x = [&](double i) { return sorted[static_cast<std::size_t>(i)]; };

    const double median = n % 2 == 1 ? x((n - 1) / 2) : (x(n / 2 - 1) + x(n / 2)) / 2;
    // Quartiles at the 1-based positions (N+1)/4 and 3(N+1)/4, interpolated
    // between the neighbouring order statistics.
    const double q = n / 4.0;
    const double e = std::floor(q) - q + 0.75;
    double q1, q3;
    if (e == 0) {
        q1 = x(std::floor(q));
        q3 = x(n - std::floor(q) - 1);
    } else {
        q1 = x(std::trunc(q)) * (1 - e) + x(std::trunc(q - 1)) * e;
        q3 = x(std::trunc(3 * q + 0.75)) * e + x(std::trunc(3 * q - 0.25)) * (1 - e);
    }

    const double v = MomentsOf(values).variance;
    const double t = FisherQuantile(1, n - 1, alpha);
    const double df = n - 1;
    return {median, q1, q3, t * std::sqrt(v / n),
            CheckedDivide(df * v, ChiSquareQuantile(alpha / 2, df)),
            CheckedDivide(df * v, ChiSquareQuantile(1 - alpha / 2, df)),
            // The standard deviation's own standard error, about s / sqrt(2N).
            std::sqrt(v) * std::sqrt(2 / (4 * df + 1))};
}

std::array<double, 4> ShapeFigures(const std::vector<double>& values) {
    const RowMomentsResult moments = MomentsOf(values);
    const double n = moments.count;
    // From the deviations relative to the largest one: the shape does not
    // depend on the scale, and values near 1e-300 or 1e300 keep it.
    const double g1 = moments.skewness;
    const double b2 = moments.kurtosis;
    const double skewSd = std::sqrt(6 * (n - 2) / ((n + 1) * (n + 3)));
    const double kurtSd =
        std::sqrt(24 * n * (n - 2) * (n - 3) / ((n + 1) * (n + 1) * (n + 3) * (n + 5)));
    return {g1, NormalTail(g1 / skewSd), b2, NormalTail((b2 - 3 + 6 / (n + 1)) / kurtSd)};
}

namespace {

// Every table describes a variable only from 4 values on.
template <std::size_t Size, typename Compute>
DescriptionTable<Size> Describe(const std::vector<LoadedRow>& rows, Compute compute,
                                bool needsSpread = false) {
    DescriptionTable<Size> table;
    for (const LoadedRow& row : rows) {
        if (row.count() < 4) {
            table.tooFew.push_back(row.name);
            continue;
        }
        const auto [low, high] = std::minmax_element(row.values.begin(), row.values.end());
        if (needsSpread && *low == *high) {
            table.constant.push_back(row.name);
            continue;
        }
        table.lines.push_back({row.row, row.name, compute(row.values)});
    }
    return table;
}

template <std::size_t Size>
void WriteTable(Workspace& ws, const char* heading, const DescriptionTable<Size>& table,
                std::size_t limit = std::string::npos) {
    WriteResult(ws, heading);
    for (const auto& line : table.lines)
        WriteFigureRow(ws, line.name, {line.figures.begin(), line.figures.end()}, limit);
    for (const std::string& name : table.tooFew)
        NoteUnusable(ws, TooFewMeasurementsNotice, name);
    for (const std::string& name : table.constant)
        NoteUnusable(ws, ConstantShapeNotice, name);
    // Said beside the table that left them out, once for the whole run.
    ShowUnusable(ws);
}

// The means, standard deviations and sums as three new sheet variables, one
// value per described variable. A variable left out of the basic table gets
// empty cells, so no column shows a figure of another variable.
void WriteBackFigures(Workspace& ws, const std::vector<LoadedRow>& rows, const BasicTable& basic) {
    std::array<std::vector<double>, 3> columns;
    for (const LoadedRow& row : rows) {
        const auto line = std::find_if(basic.lines.begin(), basic.lines.end(),
                                       [&](const auto& l) { return l.row == row.row; });
        const bool described = line != basic.lines.end();
        // The sum over the values used: missing cells are not in N.
        columns[0].push_back(described ? line->figures[3] : MissingValue);
        columns[1].push_back(described ? line->figures[6] : MissingValue);
        columns[2].push_back(described ? line->figures[7] : MissingValue);
    }
    for (const std::vector<double>& column : columns)
        if (!AppendSheetVariable(ws, column))
            return;
}

}  // namespace

BasicTable DescribeBasic(const std::vector<LoadedRow>& rows) {
    return Describe<8>(rows, [](const std::vector<double>& v) { return BasicFigures(v); });
}

AdditionalTable DescribeAdditional(const std::vector<LoadedRow>& rows, double alpha) {
    return Describe<7>(
        rows, [alpha](const std::vector<double>& v) { return AdditionalFigures(v, alpha); });
}

ShapeTable DescribeShape(const std::vector<LoadedRow>& rows) {
    return Describe<4>(
        rows, [](const std::vector<double>& v) { return ShapeFigures(v); }, true);
}

void DescriptiveStatistics(Workspace& ws) {
    const std::vector<LoadedRow> rows = LoadedRows(ws);
    const BasicTable basic = DescribeBasic(rows);
    WriteTable(ws, BasicHeading, basic);

    if (AskYesNo(ws, AdditionalQuestion)) {
        WriteResult(ws, " ");
        WriteTable(ws, AdditionalHeading, DescribeAdditional(rows, ws.settings.SignificanceLevel),
                   255);
        WriteResult(ws, " ");
        WriteTable(ws, ShapeHeading, DescribeShape(rows));
    }

    if (AskYesNo(ws, WriteBackQuestion))
        WriteBackFigures(ws, rows, basic);
}

// ---------------------------------------------------------------------------

bool NormalityTests(const std::vector<double>& sorted, const std::vector<double>& frequencies,
                    double m, double s, NormalityFigures& out) {
    const int k = static_cast<int>(frequencies.size());
    // Values outside the borders are in no class, so the grouped figures are
    // taken over the values counted.
    const double counted = std::accumulate(frequencies.begin(), frequencies.end(), 0.0);
    if (counted <= 0)
        return false;
    double meanG = 0;
    for (int i = 0; i < k; ++i)
        meanG += frequencies[i] * (i + 0.5);
    meanG /= counted;
    double spread = 0;
    for (int i = 0; i < k; ++i)
        spread += frequencies[i] * (i + 0.5 - meanG) * (i + 0.5 - meanG);
    // The grouping correction of the variance in class units.
    const double varianceG = spread / counted - 0.0208333333333333333;
    if (!(varianceG > 0))
        return false;
    const double sdG = std::sqrt(varianceG);

    double chi = 0;
    for (int i = 0; i < k; ++i) {
        const double z = (i - meanG) / sdG;
        double p = StdNormalCdf(z + 1 / sdG) - StdNormalCdf(z);
        if (p == 0)
            p = 1e-5;
        const double expected = counted * p;
        chi += (frequencies[i] - expected) * (frequencies[i] - expected) / expected;
    }

    const double n = static_cast<double>(sorted.size());
    double d = 0, omega = 0;
    for (std::size_t j = 0; j < sorted.size(); ++j) {
        const double f = StdNormalCdf(CheckedDivide(sorted[j] - m, s));
        d = std::max({d, std::fabs(f - j / n), std::fabs(f - (j + 1) / n)});
        const double centre = (2.0 * j + 1) / (2 * n);
        omega += (f - centre) * (f - centre);
    }
    // The statistic's own constant term: the significance formula below is
    // made for the complete statistic.
    omega += 1 / (12 * n);

    const double chiP = ChiSquareTail(chi, k - 3);
    constexpr double K = 5.503876787768218;
    double pD = 2 * std::sqrt(K) * std::exp(-K * n * d * d);
    if (pD >= 0.5)
        pD = chiP + 0.0513;
    double pOmega = std::exp(0.9372 - 31.18 * omega * (1 + 0.5 / n));
    if (pOmega >= 0.5)
        pOmega = chiP + 0.1112;

    // The fallbacks lean on chi-square and its shift can pass 1: a
    // probability is never printed above it.
    out = {meanG, sdG, chi, d, omega, std::min(pD, 1.0), std::min(pOmega, 1.0), chiP};
    return true;
}

namespace {

// The histogram bars at the class centres and the normal curve over the
// borders, scaled so that its peak is as tall as the tallest bar.
void DrawHistogram(Workspace& ws, const std::string& name, const FrequencyTableFigures& table) {
    const std::vector<double>& frequencies = table.counts;
    const int k = static_cast<int>(frequencies.size());
    const double left = table.left, right = table.right;
    const double w = (right - left) / k;
    std::vector<double> centres(k);
    for (int i = 0; i < k; ++i)
        centres[i] = left + (i + 0.5) * w;
    const double tallest = *std::max_element(frequencies.begin(), frequencies.end());
    const double peak = tallest / NormalDensity(0, 0, 1);
    std::vector<double> xs(51), curve(51);
    const double step = ProgressionStep(left, right, 50);
    for (int i = 0; i <= 50; ++i) {
        xs[i] = ProgressionTerm(left, step, i);
        curve[i] = NormalDensity(xs[i], table.mean, table.sd) * peak;
    }
    GraphOrder(ws)
        .Series(centres, frequencies, SeriesStyle::Bars, "Частоты")
        .Series(xs, curve, SeriesStyle::Line, "Нормальная кривая")
        .Title("Гистограмма: " + name)
        .Show();
}

}  // namespace

void HistogramNormality(Workspace& ws) {
    const LoadedRow row = LoadedRowOf(ws, 0);
    WriteResult(ws, "                  Переменная: " + row.name);
    // A column of missing cells only loads as an empty row.
    if (row.values.empty()) {
        ShowNotice(ws, TooFewValuesNotice);
        return;
    }
    std::vector<double> sorted = row.values;
    std::sort(sorted.begin(), sorted.end());
    if (sorted.front() == sorted.back()) {
        ShowNotice(ws, ConstantHistogramNotice(row.name));
        return;
    }

    const std::optional<FrequencyTableFigures> table = AskFrequencyClasses(ws, sorted);
    if (!table)
        return;
    WriteFrequencyTable(ws, *table);
    const int k = static_cast<int>(table->counts.size());
    if (k < 4) {
        ShowNotice(ws, FewBinsNotice);
        return;
    }
    NormalityFigures f;
    if (!NormalityTests(sorted, table->counts, table->mean, table->sd, f)) {
        ShowNotice(ws, OneClassNotice);
        return;
    }
    const double n = static_cast<double>(sorted.size());
    WriteStatistic(ws, "Колмогоров=", f.kolmogorov, f.kolmogorovP, n);
    WriteStatistic(ws, "Омега-квадрат=", f.omegaSquare, f.omegaSquareP, n);
    WriteStatistic(ws, "Хи-квадрат=", f.chiSquare, f.chiSquareP, k - 3);

    if (AskYesNo(ws, StoreHistogramQuestion))
        AppendSheetVariable(ws, table->counts);
    DrawHistogram(ws, row.name, *table);
}

}  // namespace dalvex
