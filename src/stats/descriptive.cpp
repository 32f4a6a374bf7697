#include "stats/descriptive.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <string>

#include "core/arithmetic_fault.h"
#include "core/number.h"
#include "core/sheet_bridge.h"
#include "core/text.h"
#include "core/workspace.h"
#include "dispatch/loading.h"
#include "numeric/data_range.h"
#include "numeric/distributions.h"
#include "numeric/frequency_table.h"
#include "numeric/moments.h"
#include "numeric/ranks.h"
#include "output/significance.h"

namespace dalvex {

namespace {

int Count(const Workspace& ws, int r) {
    return ws.VarLength[r + 1] + 1;
}

// The sheet column a loaded row came from, as VariableName counts it.
int VariableOfRow(const Workspace& ws, int r) {
    return ws.SelectedColumns[r + 1] - 1;
}

bool IsConstant(Workspace& ws, int r) {
    const int last = ws.VarLength[r + 1];
    const double first = ws.store.Data(r, 0);
    for (int i = 1; i <= last; ++i)
        if (ws.store.Data(r, i) != first)
            return false;
    return true;
}

template <std::size_t Size>
std::string FigureLine(Workspace& ws, int r, const std::array<double, Size>& figures) {
    std::string line = PaddedVariableName(ws, VariableOfRow(ws, r));
    for (double x : figures)
        line += FormatPadded(x, ws.digits(), ws.decimalSeparator());
    return line;
}

// The means, standard deviations and sums as three new sheet variables, one
// value per described variable. A variable left out of the basic table gets
// empty cells, so no column shows a figure of another variable.
void WriteBackFigures(Workspace& ws, int L) {
    std::vector<std::array<double, 3>> figures(L + 1);
    for (int r = 0; r <= L; ++r) {
        const double mean = ws.store.Vec1(r);
        if (mean == MissingValue) {
            figures[r] = {MissingValue, MissingValue, MissingValue};
            continue;
        }
        // The sum over the values used: missing cells are not in N.
        figures[r] = {mean, std::sqrt(ws.store.Vec2(r)), Count(ws, r) * mean};
    }
    ws.store.SetRowWidth(0, CellCapacity / 3);
    for (int k = 0; k < 3; ++k) {
        const int col = ws.sheet.VariableCount() + 1;
        for (int r = 0; r <= L; ++r) {
            const double x = figures[r][k];
            ws.store.Data(k, r) = x;
            const bool written =
                x == MissingValue ? PutSheetText(ws, "", col, r) : PutSheetValue(ws, col, r, x);
            if (!written)
                return;
        }
    }
}

}  // namespace

std::string ConstantShapeNotice(const std::string& name) {
    return "!ПЕРЕМЕННАЯ " + name + " ПОСТОЯННА - АСИММЕТРИЯ И ЭКСЦЕСС НЕ ОПРЕДЕЛЕНЫ!";
}

std::string ConstantHistogramNotice(const std::string& name) {
    return "!ПЕРЕМЕННАЯ " + name + " ПОСТОЯННА - ГИСТОГРАММА И НОРМАЛЬНОСТЬ НЕ ОПРЕДЕЛЕНЫ!";
}

std::array<double, 8> BasicFigures(Workspace& ws, int r) {
    const double n = Count(ws, r);
    const RowMomentsResult moments = StoreRowMoments(ws, r);
    RowRange(ws, r, r);
    const double low = ws.store.RangeMin[0];
    const double high = ws.store.RangeMax[0];
    const double m = moments.mean;
    const double v = moments.variance;
    return {n, low, high, m, std::sqrt(v / n), v, std::sqrt(v), n * m};
}

std::array<double, 7> AdditionalFigures(Workspace& ws, int r) {
    const int n = Count(ws, r);
    SortDataColumns(ws, r, false, r, r, n - 1);
    auto x = [&](double i) { return ws.store.Data(r, static_cast<int>(i)); };

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

    const double v = ws.store.Vec2(r);
    const double alpha = ws.settings.SignificanceLevel;
    const double t = FisherQuantile(1, n - 1, alpha);
    const double df = n - 1;
    return {median, q1, q3, t * std::sqrt(v / n),
            CheckedDivide(df * v, ChiSquareQuantile(alpha / 2, df)),
            CheckedDivide(df * v, ChiSquareQuantile(1 - alpha / 2, df)),
            // The standard deviation's own standard error, about s / sqrt(2N).
            std::sqrt(v) * std::sqrt(2 / (4 * df + 1))};
}

std::array<double, 4> ShapeFigures(Workspace& ws, int r) {
    const RowMomentsResult moments = RowMoments(ws, r);
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

void DescribeVariable(Workspace& ws, int r, DescriptionKind kind) {
    if (Count(ws, r) < 4) {
        ShowNotice(ws, TooFewMeasurementsNotice);
        return;
    }
    switch (kind) {
        case DescriptionKind::Basic:
            WriteResult(ws, FigureLine(ws, r, BasicFigures(ws, r)));
            break;
        case DescriptionKind::Additional:
            WriteResult(ws, CharCut(FigureLine(ws, r, AdditionalFigures(ws, r)), 255));
            break;
        case DescriptionKind::Shape:
            if (IsConstant(ws, r)) {
                ShowNotice(ws, ConstantShapeNotice(VariableName(ws, VariableOfRow(ws, r))));
                return;
            }
            WriteResult(ws, FigureLine(ws, r, ShapeFigures(ws, r)));
            break;
    }
}

void DescriptiveStatistics(Workspace& ws, int L) {
    // A row the basic table leaves out keeps no mean of an earlier run.
    for (int r = 0; r <= L; ++r)
        ws.store.Vec1(r) = MissingValue;

    WriteResult(ws, BasicHeading);
    for (int r = 0; r <= L; ++r)
        DescribeVariable(ws, r, DescriptionKind::Basic);

    if (AskYesNo(ws, AdditionalQuestion)) {
        WriteResult(ws, " ");
        WriteResult(ws, AdditionalHeading);
        for (int r = 0; r <= L; ++r)
            DescribeVariable(ws, r, DescriptionKind::Additional);
        WriteResult(ws, " ");
        WriteResult(ws, ShapeHeading);
        for (int r = 0; r <= L; ++r)
            DescribeVariable(ws, r, DescriptionKind::Shape);
    }

    if (AskYesNo(ws, WriteBackQuestion))
        WriteBackFigures(ws, L);
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

void WriteCriterion(Workspace& ws, const std::string& name, double value, double p, double df) {
    ws.SetTextBuffer(name + FormatNumber(value, ws.digits(), ws.decimalSeparator()));
    WriteSignificance(ws, p, df, 0);
}

// The histogram bars at the class centres and the normal curve over the
// borders, scaled so that its peak is as tall as the tallest bar.
void DrawHistogram(Workspace& ws, const std::string& name, const std::vector<double>& frequencies,
                   double left, double right, double m, double s) {
    DataStore& store = ws.store;
    const int k = static_cast<int>(frequencies.size());
    store.SetRowWidth(0, CellCapacity / 4);
    ws.VarLength[0] = 1;
    ws.VarLength[1] = ws.VarLength[2] = k - 1;
    ws.VarLength[3] = ws.VarLength[4] = 50;
    const double w = (right - left) / k;
    ResetRange(ws, 1);
    for (int i = 0; i < k; ++i) {
        store.Data(0, i) = left + (i + 0.5) * w;
        store.Data(1, i) = frequencies[i];
        UpdateRange(ws, 1, frequencies[i]);
    }
    const double peak = store.RangeMax[1] / NormalDensity(0, 0, 1);
    for (int i = 0; i <= 50; ++i) {
        const double x = left + (right - left) / 50 * i;
        store.Data(2, i) = x;
        store.Data(3, i) = NormalDensity(x, m, s) * peak;
    }
    store.RangeMin[0] = left;
    store.RangeMax[0] = right;
    store.RangeSeen[0] = true;
    ws.SetTextBuffer("Гистограмма: " + name);
    ws.graphTables.SeriesStyles[0] = 3;
    ws.graphTables.SeriesStyles[1] = 0;
    ws.graphTables.SeriesNames[0] = "Частоты";
    ws.graphTables.SeriesNames[1] = "Нормальная кривая";
    GraSt(ws, RequestPairs, 1);
    pqsegr(ws);
}

}  // namespace

void HistogramNormality(Workspace& ws, int n) {
    DataStore& store = ws.store;
    const std::string name = VariableName(ws, VariableOfRow(ws, 0));
    WriteResult(ws, "                  Переменная: " + name);
    // A column of missing cells only loads as an empty row.
    if (n < 0) {
        ShowNotice(ws, TooFewValuesNotice);
        return;
    }
    SortDataColumns(ws, 0, false, 0, 0, n);
    if (store.Data(0, 0) == store.Data(0, n)) {
        ShowNotice(ws, ConstantHistogramNotice(name));
        return;
    }

    const int lastClass = FrequencyTable(ws, n);
    if (lastClass < 0)
        return;
    const double m = store.StatMean;
    const double s = store.StatVariance;  // the frequency table leaves the deviation here
    const double left = store.RangeMin[0];
    const double right = store.RangeMax[0];
    const int k = lastClass + 1;
    if (k < 4) {
        ShowNotice(ws, FewBinsNotice);
        return;
    }
    std::vector<double> frequencies(k);
    for (int i = 0; i < k; ++i)
        frequencies[i] = store.Vec1(i);
    std::vector<double> sorted(n + 1);
    for (int j = 0; j <= n; ++j)
        sorted[j] = store.Data(0, j);

    NormalityFigures f;
    if (!NormalityTests(sorted, frequencies, m, s, f)) {
        ShowNotice(ws, OneClassNotice);
        return;
    }
    WriteCriterion(ws, "Колмогоров=", f.kolmogorov, f.kolmogorovP, n + 1);
    WriteCriterion(ws, "Омега-квадрат=", f.omegaSquare, f.omegaSquareP, n + 1);
    WriteCriterion(ws, "Хи-квадрат=", f.chiSquare, f.chiSquareP, k - 3);

    if (AskYesNo(ws, StoreHistogramQuestion)) {
        for (int i = 0; i < k; ++i)
            store.Data(0, i) = frequencies[i];
        WriteRowToSheet(ws, 0, k - 1);
    }
    DrawHistogram(ws, name, frequencies, left, right, m, s);
}

}  // namespace dalvex
