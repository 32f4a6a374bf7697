#include "stats/quality_control.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/number.h"
#include "core/workspace.h"
#include "dispatch/loading.h"
#include "dispatch/method_kit.h"
#include "dispatch/variable_dialogs.h"
#include "stats/frequency_table.h"

namespace dalvex {

// ---------------------------------------------------------------------------
// The quality histogram and the Pareto chart

FormDialog Tqq264Form(double lowest, double highest, int digits, char decimalSeparator) {
    FormDialog form;
    form.caption = "Границы допуска";
    form.Group("Введите параметры ")
        .Field("Min граница допуска=", FormatNumber(lowest, digits, decimalSeparator))
        .Field("Max граница допуска=", FormatNumber(highest, digits, decimalSeparator))
        .Button("Утвердить", 1);
    return form;
}

std::string ConstantQualityNotice(const std::string& name) {
    return "!ПЕРЕМЕННАЯ " + name + " ПОСТОЯННА - ГИСТОГРАММА НЕ ОПРЕДЕЛЕНА!";
}

ToleranceMarks QualityMarks(double lower, double upper, double mean, double sd, double highest) {
    // From the top of the lower limit down, along the base to the upper
    // limit and up, back down and along the base to each of the mean, the
    // mean plus s and the mean minus s, up and down again: the only
    // slanted-free path through all five strokes.
    const double h = highest;
    ToleranceMarks m;
    m.x = {lower, lower,     upper,     upper,     upper,     mean,     mean,
           mean,  mean + sd, mean + sd, mean + sd, mean - sd, mean - sd};
    m.y = {h, 0, 0, h, 0, 0, h, 0, 0, h, 0, 0, h};
    return m;
}

ParetoChart ComputePareto(const std::vector<double>& values) {
    ParetoChart chart;
    chart.totalX.push_back(0.5);
    chart.total.push_back(0);
    double sum = 0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        chart.barX.push_back(static_cast<double>(i) + 1);
        sum += values[i];
        chart.totalX.push_back(static_cast<double>(i) + 1.5);
        chart.total.push_back(sum);
    }
    return chart;
}

// ---------------------------------------------------------------------------
// Control charts

namespace {

// The factors by subgroup size 2 .. 10.
constexpr std::array<double, 9> A2 = {1.88, 1.023, 0.729, 0.577, 0.483, 0.419, 0.373, 0.337, 0.308};
constexpr std::array<double, 9> SmallD2 = {1.13, 1.69, 2.06, 2.33, 2.53, 2.7, 2.85, 2.97, 3.08};
constexpr std::array<double, 9> SmallD3 = {0.853, 0.888, 0.88,  0.864, 0.848,
                                           0.833, 0.82,  0.808, 0.797};
constexpr std::array<double, 9> D3 = {0, 0, 0, 0, 0, 0.076, 0.136, 0.184, 0.223};
constexpr std::array<double, 9> D4 = {3.27, 2.57, 2.28, 2.11, 2.0, 1.92, 1.86, 1.82, 1.78};

// The mean taken from the first value, so that values far from 0 with a
// small spread keep their differences.
double MeanOf(const std::vector<double>& v, std::size_t from, std::size_t count) {
    const double base = v[from];
    double sum = 0;
    for (std::size_t i = from; i < from + count; ++i)
        sum += v[i] - base;
    return base + sum / static_cast<double>(count);
}

double MeanOf(const std::vector<double>& v) {
    return MeanOf(v, 0, v.size());
}

// The centre line and the limits centre +- half; counts can go no lower
// than 0.
ControlChart Limits(std::string title, std::vector<double> points, double centre, double half,
                    bool counts) {
    ControlChart c;
    c.title = std::move(title);
    c.points = std::move(points);
    c.centre = centre;
    c.upper = centre + half;
    c.lower = centre - half;
    if (counts && c.lower < 0)
        c.lower = 0;
    return c;
}

ControlCharts Refused(const char* notice) {
    ControlCharts r;
    r.notice = notice;
    return r;
}

ControlCharts MeansAndRanges(const std::vector<double>& x, int b) {
    const std::optional<ChartFactors> f = FactorsFor(b);
    if (!f)
        return Refused(SubgroupSizeNotice);
    // Only complete subgroups count: the same ones give the centre line,
    // the mean range and the points.
    const std::size_t size = static_cast<std::size_t>(b);
    const std::size_t groups = x.size() / size;
    if (groups < 2)
        return Refused(TooFewValuesNotice);
    std::vector<double> means(groups), ranges(groups);
    for (std::size_t p = 0; p < groups; ++p) {
        means[p] = MeanOf(x, p * size, size);
        const auto [low, high] = std::minmax_element(x.begin() + static_cast<long>(p * size),
                                                     x.begin() + static_cast<long>((p + 1) * size));
        ranges[p] = *high - *low;
    }
    const double meanRange = MeanOf(ranges);
    if (!(meanRange > 0))
        return Refused(NoSpreadChartNotice);
    ControlCharts r;
    const double centre = MeanOf(means);
    r.charts.push_back(Limits("(x-R)-карта", means, centre, f->a2 * meanRange, false));
    ControlChart ranged = Limits("(x-R)-карта", ranges, meanRange, 0, true);
    ranged.upper = f->upperRange * meanRange;
    ranged.lower = f->lowerRange * meanRange;
    r.charts.push_back(std::move(ranged));
    return r;
}

ControlCharts Individuals(const std::vector<double>& x) {
    double moving = 0;
    for (std::size_t i = 1; i < x.size(); ++i)
        moving += std::fabs(x[i] - x[i - 1]);
    moving /= static_cast<double>(x.size() - 1);
    if (!(moving > 0))
        return Refused(NoSpreadChartNotice);
    ControlCharts r;
    // 2.66 = 3 / d2 for ranges of two neighbours.
    r.charts.push_back(Limits("x-карта", x, MeanOf(x), 2.66 * moving, false));
    return r;
}

ControlCharts Defectives(const std::vector<double>& x, int b) {
    if (b < 1 || b > LargestBatch)
        return Refused(BatchSizeNotice);
    for (double v : x)
        if (!(v >= 0 && v <= b))
            return Refused(DefectivesRangeNotice);
    const double mean = MeanOf(x);
    const double p = mean / b;
    ControlCharts r;
    r.charts.push_back(Limits("pn-карта", x, mean, 3 * std::sqrt(mean * (1 - p)), true));
    return r;
}

ControlCharts PercentDefective(const std::vector<double>& n, const std::vector<double>& d) {
    std::vector<double> percent(n.size());
    for (std::size_t i = 0; i < n.size(); ++i) {
        if (!(n[i] > 0))
            return Refused(BatchPositiveNotice);
        if (!(d[i] >= 0 && d[i] <= n[i]))
            return Refused(DefectivesRangeNotice);
        percent[i] = std::min(100 * (d[i] / n[i]), 100.0);
    }
    const double p = MeanOf(percent);
    const double spread = 3 * std::sqrt(std::max(p * (100 - p), 0.0));
    ControlCharts r;
    ControlChart c = Limits("p-карта", percent, p, 0, false);
    for (double size : n) {
        const double half = spread / std::sqrt(size);
        c.lowerAt.push_back(p - half);
        c.upperAt.push_back(p + half);
    }
    c.lower = *std::min_element(c.lowerAt.begin(), c.lowerAt.end());
    c.upper = *std::max_element(c.upperAt.begin(), c.upperAt.end());
    r.charts.push_back(std::move(c));
    return r;
}

ControlCharts Defects(const std::vector<double>& c) {
    for (double v : c)
        if (!(v >= 0))
            return Refused(NegativeDefectsNotice);
    const double mean = MeanOf(c);
    ControlCharts r;
    r.charts.push_back(Limits("c-карта", c, mean, 3 * std::sqrt(mean), true));
    return r;
}

ControlCharts DefectsPerUnit(const std::vector<double>& n, const std::vector<double>& c) {
    std::vector<double> rate(n.size());
    double units = 0, defects = 0;
    for (std::size_t i = 0; i < n.size(); ++i) {
        if (!(n[i] > 0))
            return Refused(BatchPositiveNotice);
        if (!(c[i] >= 0))
            return Refused(NegativeDefectsNotice);
        rate[i] = c[i] / n[i];
        units += n[i];
        defects += c[i];
    }
    const double u = defects / units;
    // The limits for the mean number of units in a batch.
    const double perBatch = units / static_cast<double>(n.size());
    ControlCharts r;
    r.charts.push_back(Limits("u-карта", rate, u, 3 * std::sqrt(u / perBatch), true));
    return r;
}

}  // namespace

std::optional<ChartFactors> FactorsFor(int n) {
    if (n < SmallestSubgroup || n > LargestSubgroup)
        return std::nullopt;
    const std::size_t i = static_cast<std::size_t>(n - SmallestSubgroup);
    return ChartFactors{A2[i], SmallD2[i], SmallD3[i], D3[i], D4[i]};
}

FormDialog Tqq265Form() {
    FormDialog form;
    form.caption = "Контрольные карты";
    form.Group("Тип карты").Field("Объем партий = ", "5");
    const char* buttons[] = {"&1=(x-R)-карта", "&2=x-карта", "&3=pn-карта",
                             "&4=p-карта",     "&5=с-карта", "&6=u-карта"};
    for (int b = 0; b < 6; ++b)
        form.GroupButton("Тип карты", buttons[b], b + 1);
    form.Button("Отменить", 0);
    form.RememberIn("q265.ini");
    return form;
}

ControlCharts ComputeControlCharts(ChartKind kind, const std::vector<double>& first,
                                   const std::vector<double>& second, int batch) {
    const bool paired = kind == ChartKind::PercentDefective || kind == ChartKind::DefectsPerUnit;
    if (paired && second.size() != first.size())
        return Refused(TwoChartVariablesNotice);
    if (kind != ChartKind::MeansRanges && first.size() < 2)
        return Refused(TooFewValuesNotice);
    switch (kind) {
        case ChartKind::MeansRanges:
            return MeansAndRanges(first, batch);
        case ChartKind::Individuals:
            return Individuals(first);
        case ChartKind::Defectives:
            return Defectives(first, batch);
        case ChartKind::PercentDefective:
            return PercentDefective(first, second);
        case ChartKind::Defects:
            return Defects(first);
        case ChartKind::DefectsPerUnit:
            return DefectsPerUnit(first, second);
    }
    return Refused(TooFewValuesNotice);
}

// ---------------------------------------------------------------------------
// The routines

namespace {

std::vector<double> Numbered(std::size_t count) {
    std::vector<double> x(count);
    for (std::size_t i = 0; i < count; ++i)
        x[i] = static_cast<double>(i) + 1;
    return x;
}

// The chart's points with their line and markers, the centre line in the
// next colour, the limits as lines in the points' colour.
void DrawChart(Workspace& ws, const ControlChart& c, const std::string& pointsName) {
    const std::vector<double> x = Numbered(c.points.size());
    const std::vector<double> ends = {x.front(), x.back()};
    GraphOrder graph(ws, GraphKind::Described);
    graph.Described(x, c.points, 0, 1, pointsName);
    if (c.lowerAt.empty()) {
        graph.Described(ends, {c.centre, c.centre}, 1, 0, "Центральная линия")
            .Described(ends, {c.upper, c.upper}, 0, 0, "Верхняя граница")
            .Described(ends, {c.lower, c.lower}, 0, 0, "Нижняя граница");
    } else {
        graph.Described(x, c.lowerAt, 0, 0, "Нижняя граница")
            .Described(x, c.upperAt, 0, 0, "Верхняя граница")
            .Described(ends, {c.centre, c.centre}, 1, 0, "Центральная линия");
    }
    graph.Title(c.title).Show();
}

void QualityHistogram(Workspace& ws) {
    const std::vector<LoadedRow> rows = ChooseAndLoad(ws, Choose::One, 1, Missing::Listwise);
    if (rows.empty())
        return;
    const LoadedRow& row = rows[0];
    if (row.values.empty()) {
        ShowNotice(ws, TooFewValuesNotice);
        return;
    }
    const auto [low, high] = std::minmax_element(row.values.begin(), row.values.end());
    if (*low == *high) {
        ShowNotice(ws, ConstantQualityNotice(row.name));
        return;
    }
    const std::optional<FrequencyTableFigures> table = AskFrequencyClasses(ws, row.values);
    if (!table)
        return;
    WriteFrequencyTable(ws, *table);

    FormReader read(ws, Tqq264Form(*low, *high, ws.digits(), ws.decimalSeparator()));
    if (!read.answered())
        return;
    const double lower = read.Number(0, ToleranceNumberNotice);
    const double upper = read.Number(1, ToleranceNumberNotice);
    if (read.ok() && !(lower < upper))
        read.Refuse(1, ToleranceOrderNotice);
    if (!read.ok())
        return;

    const std::vector<double>& counts = table->counts;
    const int k = static_cast<int>(counts.size());
    const double w = (table->right - table->left) / k;
    std::vector<double> middles(counts.size());
    for (int c = 0; c < k; ++c)
        middles[c] = table->left + (c + 0.5) * w;
    const double highest = *std::max_element(counts.begin(), counts.end());
    const ToleranceMarks marks = QualityMarks(lower, upper, table->mean, table->sd, highest);
    GraphOrder(ws)
        .Series(middles, counts, SeriesStyle::Bars, "Частоты")
        .Series(marks.x, marks.y, SeriesStyle::Line, "Допуск, среднее, среднее ± s")
        .Title("Гистограмма качества")
        .Show();
}

void Pareto(Workspace& ws) {
    const std::vector<LoadedRow> rows = ChooseAndLoad(ws, Choose::One, 1, Missing::Listwise);
    if (rows.empty())
        return;
    const LoadedRow& row = rows[0];
    if (row.values.empty()) {
        ShowNotice(ws, TooFewValuesNotice);
        return;
    }
    const ParetoChart chart = ComputePareto(row.values);
    GraphOrder(ws)
        .Series(chart.barX, row.values, SeriesStyle::Bars, row.name)
        .Series(chart.totalX, chart.total, SeriesStyle::LineAndMarkers, "Накопленная сумма")
        .Title("Парето")
        .Show();
}

void ControlChartsRoutine(Workspace& ws) {
    if (pq30(ws) == 0)
        return;
    const int chosen = ws.SelectedColumns[0];
    if (chosen <= 0) {
        ShowNotice(ws, TooFewValuesNotice);
        return;
    }
    FormReader read(ws, Tqq265Form());
    if (!read.answered())
        return;
    const ChartKind kind = static_cast<ChartKind>(read.button());
    int batch = 0;
    if (kind == ChartKind::MeansRanges)
        batch = read.Integer(0, SmallestSubgroup, LargestSubgroup, SubgroupSizeNotice);
    else if (kind == ChartKind::Defectives)
        batch = read.Integer(0, 1, LargestBatch, BatchSizeNotice);
    if (!read.ok())
        return;
    const bool paired = kind == ChartKind::PercentDefective || kind == ChartKind::DefectsPerUnit;
    if (paired && chosen < 2) {
        ShowNotice(ws, TwoChartVariablesNotice);
        return;
    }
    // Only the variables the chart reads are loaded: the sizes and the
    // counts of the p and u charts stay paired, and a missing cell of a
    // variable the chart does not read costs nothing.
    ws.SelectedColumns[0] = paired ? 2 : 1;
    if (!LoadSelected(ws, 0, Missing::Listwise))
        return;
    const std::vector<LoadedRow> rows = LoadedRows(ws);
    const std::vector<double> none;
    const ControlCharts result =
        ComputeControlCharts(kind, rows[0].values, paired ? rows[1].values : none, batch);
    if (!result.notice.empty()) {
        ShowNotice(ws, result.notice);
        return;
    }
    const std::string& name = rows[paired ? 1 : 0].name;
    if (kind == ChartKind::MeansRanges) {
        DrawChart(ws, result.charts[0], "Средние");
        DrawChart(ws, result.charts[1], "Размахи");
    } else {
        DrawChart(ws, result.charts[0], name);
    }
}

}  // namespace

void QualityControl(Workspace& ws, int type) {
    switch (type) {
        case 1:
            QualityHistogram(ws);
            break;
        case 2:
            Pareto(ws);
            break;
        case 3:
            ControlChartsRoutine(ws);
            break;
        default:
            break;
    }
}

}  // namespace dalvex
