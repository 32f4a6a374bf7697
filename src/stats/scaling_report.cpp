#include "stats/scaling_report.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "core/number.h"
#include "core/sheet_bridge.h"
#include "core/text.h"
#include "core/workspace.h"
#include "dispatch/loading.h"
#include "dispatch/method_kit.h"
#include "stats/correlation_matrix.h"
#include "stats/factor_analysis.h"
#include "stats/factor_report.h"

namespace dalvex {

std::string IterationCapNotice(int cap) {
    return "!ИТЕРАЦИИ НЕ СОШЛИСЬ ЗА " + std::to_string(cap) +
           " ШАГОВ - ВЫДАНА ДОСТИГНУТАЯ КОНФИГУРАЦИЯ!";
}

std::string ScalingSizeNotice() {
    return "!2 > ПЕРЕМЕННЫХ > " + std::to_string(MaxScalingObjects) + "!";
}

FormDialog ScalingMethodForm() {
    FormDialog form;
    form.caption = ScalingMethodCaption;
    const char* nonmetric = "Неметрическое шкалирование";
    form.Group("")
        .Field("Размерность пространства шкалирования=", "2")
        .GroupButton("Метрическое", "&1=Торгерсон", 1)
        .GroupButton(nonmetric, "&2=Краскел1", 2, "Sqr(Sum{(dij-Dij)^2}/Sum{dij^2})")
        .GroupButton(nonmetric, "&3=Краскел2", 3, "Sqr(Sum{(dij-Dij)^2/dij^2})")
        .GroupButton(nonmetric, "&4=Краскел3", 4, "Sqr(Sum{(dij-Dij)^2}/Sum{(dij-dcp)^2})")
        .GroupButton(nonmetric, "&5=Д.Говер ", 5, "Sum{(dij-Dij)^2}*dij}")
        .Button("<Esc>=Закончить анализ", 0);
    return form;
}

FormDialog ScalingMetricForm() {
    FormDialog form;
    form.caption = ScalingMetricCaption;
    const char* group = "Метрика вычисления расстояний";
    form.Field("p=", "2", "Показатель степени метрики Минковского и Колмогорова")
        .Field("Wk=", "", "Веса координат метрики Колмогорова через пробел")
        .GroupButton(group, "&1=Эвклид    ", 1)
        .GroupButton(group, "&2=манхеттeн ", 2)
        .GroupButton(group, "&3=Минковский", 3)
        .GroupButton(group, "&4=Колмогоров", 4)
        .Button("<Esc>=Отменить", 0);
    return form;
}

int ScalingDimension(const std::string& text, int objects) {
    const ParsedNumber n = ParseNumber(Trim(text));
    if (!n.ok() || n.value != std::floor(n.value) || n.value < 1 || n.value > objects)
        return 2;
    return static_cast<int>(n.value);
}

namespace {

std::string Number(const Workspace& ws, double x) {
    return FormatNumber(x, ws.digits(), ws.decimalSeparator());
}

bool Progress(Workspace& ws, const char* what, double share) {
    return ws.ui.Progress(what, static_cast<int>(share * 1000), 1000);
}

struct ScalingRun {
    explicit ScalingRun(Workspace& w) : ws(w) {}
    Workspace& ws;
    std::vector<std::string> names;  // the objects: the sheet's variables
    DistanceTriangle given;
    ClassicalSolution classical;
    int objects() const { return given.size(); }
};

void EigenvalueReport(ScalingRun& run) {
    Workspace& ws = run.ws;
    FactorExtraction e;
    e.size = run.objects();
    e.eigenvalues = run.classical.eigenvalues;
    e.factors = RetainedFactors(e.eigenvalues);
    for (double lambda : e.eigenvalues)
        e.total += lambda;
    const std::vector<std::string> lines = EigenvalueLines(ws, e);
    WriteResult(ws, "");
    WriteResult(ws, "              Собственные значения координатных осей шкалирования");
    WriteResult(ws, "Координата:      1        2        3        4        5        6        7");
    for (std::size_t l = 3; l < lines.size(); ++l)
        WriteResult(ws, lines[l]);
}

// The metric of a non-metric run; false when the form was cancelled or a
// field refused.
bool ReadMetric(Workspace& ws, MetricChoice& metric) {
    FormReader read(ws, ScalingMetricForm());
    if (!read.answered())
        return false;
    metric.metric = static_cast<Metric>(std::clamp(read.button(), 1, 4));
    metric.exponent = read.Number(0, ExponentNotice, 1, 100);
    std::istringstream words(read.answer().values.size() > 1 ? read.answer().values[1] : "");
    for (std::string word; words >> word;) {
        const ParsedNumber n = ParseNumber(word);
        if (!n.ok() || n.value < 0) {
            read.Refuse(1, WeightsNotice);
            break;
        }
        metric.weights.push_back(n.value);
    }
    return read.ok();
}

void WriteSolution(ScalingRun& run, const std::string& name, const Configuration& x,
                   const MetricChoice& metric) {
    Workspace& ws = run.ws;
    const int p = static_cast<int>(x.size());
    WriteResult(ws, "");
    WriteResult(ws, "        Метод: " + name);
    WriteResult(ws, "            Координаты объектов в результате шкалирования");
    std::string header = "Координата:      1";
    for (int l = 2; l <= p; ++l)
        header += PadLeft(std::to_string(l), 9);
    WriteResult(ws, header);
    for (int i = 0; i < run.objects(); ++i) {
        std::vector<double> row;
        for (int l = 0; l < p; ++l)
            row.push_back(x[l][i]);
        WriteFigureRow(ws, run.names[i], row);
    }
    const StressFigures s = Stresses(run.given, FittedDistances(x, metric));
    WriteResult(ws, "");
    WriteResult(ws, "Cтресс 1-4 = " + Number(ws, s.stress[0]) + ", " + Number(ws, s.stress[1]) +
                        ", " + Number(ws, s.stress[2]) + ", " + Number(ws, s.stress[3]));
    std::string line = "Корреляция исходных и конечных расстояний";
    if (p > 2) {
        line += " в пространстве 2-" + std::to_string(p) + " переменных:";
        for (int dims = 2; dims <= p; ++dims)
            line += (dims > 2 ? ", " : "") + Number(ws, DistanceCorrelation(run.given, x, dims));
    } else {
        line += " = " + Number(ws, DistanceCorrelation(run.given, x, p));
    }
    WriteResult(ws, line);
    ws.SetTextBuffer("Шкалирование");
    ProjectionGraphs(ws, p, "Шкалирование: ", 2, 0, [&](int axis) { return x[axis]; });
}

void MethodLoop(ScalingRun& run) {
    Workspace& ws = run.ws;
    static const char* const methods[] = {"Торгерсон", "Краскел1", "Краскел2", "Краскел3",
                                          "Д.Говер"};
    static const char* const metrics[] = {"+Эвклид", "+Манхеттен", "+Минковский", "+Колмогоров"};
    for (;;) {
        const FormAnswer answer = ShowForm(ws, ScalingMethodForm());
        if (answer.button == 0)
            return;
        const int method = std::clamp(answer.button, 1, 5);
        const int p =
            ScalingDimension(answer.values.empty() ? "" : answer.values[0], run.objects());
        const Configuration start(run.classical.coordinates.begin(),
                                  run.classical.coordinates.begin() + p);
        if (method == 1) {
            WriteSolution(run, methods[0], start, MetricChoice{});
            continue;
        }
        MetricChoice metric;
        if (!ReadMetric(ws, metric))
            continue;
        const NonmetricResult r = NonmetricScaling(
            run.given, start, static_cast<StressType>(method - 1), metric,
            [&](double share) { return Progress(ws, "Неметрическое шкалирование", share); });
        Progress(ws, "Неметрическое шкалирование", 1);
        if (r.cancelled)
            ShowNotice(ws, ScalingStoppedNotice);
        else if (r.capped)
            ShowNotice(ws, IterationCapNotice(MaxScalingIterations));
        WriteSolution(
            run, std::string(methods[method - 1]) + metrics[static_cast<int>(metric.metric) - 1],
            r.coordinates, metric);
    }
}

}  // namespace

void MultidimensionalScaling(Workspace& ws) {
    if (ws.sheet.VariableCount() == 0) {
        ShowNotice(ws, TooFewValuesNotice);
        return;
    }
    // The block with its empty cells: the triangle above the diagonal may
    // stay empty.
    const MatrixInput input = LoadAllVariables(ws, MatrixKind::Given);
    const int k = input.size();
    if (k < 2 || k > MaxScalingObjects) {
        ShowNotice(ws, ScalingSizeNotice());
        return;
    }
    TriangleOutcome outcome = GivenTriangle(input.values, false);
    if (!outcome.triangle) {
        ShowNotice(ws, outcome.notice);
        return;
    }
    ScalingRun run(ws);
    run.names = input.names;
    run.given = std::move(*outcome.triangle);
    bool spread = false;
    for (int i = 1; i < k; ++i)
        for (int j = 0; j < i; ++j)
            spread = spread || run.given.at(i, j) != 0;
    if (!spread) {
        ShowNotice(ws, ZeroDistancesNotice);
        return;
    }
    run.classical = TorgersonScaling(
        run.given, [&](double share) { return Progress(ws, "Собственные значения", share); });
    Progress(ws, "Собственные значения", 1);
    if (run.classical.cancelled) {
        ShowNotice(ws, ScalingStoppedNotice);
        return;
    }
    if (!run.classical.converged)
        ShowNotice(ws, NotConvergedNotice);
    // Distances so small that their squares vanish leave nothing to scale.
    double total = 0;
    for (double lambda : run.classical.eigenvalues)
        total += lambda;
    if (!(total > 0)) {
        ShowNotice(ws, ZeroDistancesNotice);
        return;
    }
    if (run.classical.negativeSet)
        ShowNotice(ws, NegativeEigenvaluesNotice);
    EigenvalueReport(run);
    MethodLoop(run);
}

}  // namespace dalvex
