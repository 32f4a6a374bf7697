// Quality control (methods 32, 33, 34): the quality histogram with the
// tolerance limits, the Pareto chart, and the Shewhart control charts -
// means and ranges of subgroups, individual values, defectives (pn and p),
// defects (c and u). The results are graphs only. The figures come from the
// pure functions below; the routine asks, checks and draws.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/form_dialog.h"

namespace dalvex {

struct Workspace;

// ---------------------------------------------------------------------------
// The quality histogram and the Pareto chart

// "Введите параметры ": the tolerance limits, proposed as the data's range.
FormDialog Tqq264Form(double lowest, double highest, int digits, char decimalSeparator);

std::string ConstantQualityNotice(const std::string& name);
inline constexpr const char* ToleranceNumberNotice = "!ГРАНИЦА ДОПУСКА НЕ ЯВЛЯЕТСЯ ЧИСЛОМ!";
inline constexpr const char* ToleranceOrderNotice =
    "!MIN ГРАНИЦА ДОПУСКА ДОЛЖНА БЫТЬ МЕНЬШЕ MAX ГРАНИЦЫ!";

// The marks over the quality histogram, one polyline of 13 points: the lower
// and the upper tolerance limit, the mean, the mean plus and minus one
// standard deviation, each a vertical stroke from 0 to the highest bar; the
// strokes are joined along the base line.
struct ToleranceMarks {
    std::vector<double> x, y;
};
ToleranceMarks QualityMarks(double lower, double upper, double mean, double sd, double highest);

// The Pareto chart of values in their given order: bar i at i + 1, and the
// running total from (0.5, 0) through (i + 1.5, x0 + ... + xi).
struct ParetoChart {
    std::vector<double> barX;
    std::vector<double> totalX, total;
};
ParetoChart ComputePareto(const std::vector<double>& values);

// ---------------------------------------------------------------------------
// Control charts

// The kinds in the order of the buttons of "Тип карты".
enum class ChartKind {
    MeansRanges = 1,
    Individuals,
    Defectives,
    PercentDefective,
    Defects,
    DefectsPerUnit
};

// The factors of the control limits for subgroups of n values, n = 2 .. 10.
struct ChartFactors {
    double a2, d2, d3, lowerRange, upperRange;  // A2, d2, d3, D3, D4
};
inline constexpr int SmallestSubgroup = 2;
inline constexpr int LargestSubgroup = 10;
std::optional<ChartFactors> FactorsFor(int n);

// "Тип карты": the subgroup size and one button per chart.
FormDialog Tqq265Form();

inline constexpr const char* SubgroupSizeNotice =
    "!ОБЪЕМ ПАРТИЙ (x-R)-КАРТЫ ДОЛЖЕН БЫТЬ ОТ 2 ДО 10!";
inline constexpr const char* BatchSizeNotice =
    "!ОБЪЕМ ПАРТИЙ ДОЛЖЕН БЫТЬ ЦЕЛЫМ ЧИСЛОМ ОТ 1 ДО 1000000000!";
inline constexpr int LargestBatch = 1000000000;
inline constexpr const char* TwoChartVariablesNotice =
    "!НУЖНЫ ДВЕ ПЕРЕМЕННЫЕ: ОБЪЕМЫ ПАРТИЙ И ЧИСЛА ДЕФЕКТОВ!";
inline constexpr const char* NoSpreadChartNotice =
    "!РАЗБРОС ДАННЫХ РАВЕН НУЛЮ - КОНТРОЛЬНЫЕ ГРАНИЦЫ НЕ ОПРЕДЕЛЕНЫ!";
inline constexpr const char* DefectivesRangeNotice =
    "!ЧИСЛО ДЕФЕКТНЫХ ИЗДЕЛИЙ ДОЛЖНО БЫТЬ ОТ 0 ДО ОБЪЕМА ПАРТИИ!";
inline constexpr const char* NegativeDefectsNotice = "!ЧИСЛО ДЕФЕКТОВ НЕ МОЖЕТ БЫТЬ ОТРИЦАТЕЛЬНЫМ!";
inline constexpr const char* BatchPositiveNotice = "!ОБЪЕМ ПАРТИИ ДОЛЖЕН БЫТЬ БОЛЬШЕ НУЛЯ!";

// One chart: its points at 1, 2, ... and the centre line between the
// control limits. A negative lower limit is held at 0, except on the p
// chart, whose limits differ from point to point (lowerAt, upperAt).
struct ControlChart {
    std::string title;
    std::vector<double> points;
    double centre = 0, upper = 0, lower = 0;
    std::vector<double> lowerAt, upperAt;
};

// The charts of a kind (two for means and ranges: the means, then the
// ranges), or the notice that tells why there are none.
struct ControlCharts {
    std::vector<ControlChart> charts;
    std::string notice;
};

// `first` is the chosen variable; `second` the second one, which the p
// chart (defectives of first[i] items) and the u chart (defects on first[i]
// units) need. `batch` is the subgroup size of the means and ranges
// (2 .. 10; only complete subgroups count, a short last one is left out of
// every figure) and of the pn chart (1 or more). Missing cells must be gone.
ControlCharts ComputeControlCharts(ChartKind kind, const std::vector<double>& first,
                                   const std::vector<double>& second, int batch);

// Methods 32, 33, 34: type 1 the quality histogram, 2 the Pareto chart,
// 3 the control charts.
void QualityControl(Workspace& ws, int type);

}  // namespace dalvex
