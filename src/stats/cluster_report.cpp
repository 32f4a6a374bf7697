#include "stats/cluster_report.h"

#include <algorithm>
#include <cmath>

#include "core/data_store.h"
#include "core/number.h"
#include "core/sheet_bridge.h"
#include "core/text.h"
#include "core/workspace.h"
#include "dispatch/loading.h"
#include "dispatch/method_kit.h"
#include "formula/formula.h"

namespace dalvex {

// ---------------------------------------------------------------------------
// Dialogs

FormDialog ClusterDataForm() {
    FormDialog form;
    form.caption = ClusterDataCaption;
    const char* group = "Исходные данные";
    form.GroupButton(group, "&1=переменные*объекты", 1, "данные в таблице")
        .GroupButton(group, "&2=расстояния  ", 2, "матрица расстояний в таблице")
        .GroupButton(group, "&3=близости    ", 3, "матрица близостей в таблице")
        .Button("<Esc>=Отменить", 0);
    return form;
}

FormDialog MeasureForm() {
    FormDialog form;
    form.caption = MeasureCaption;
    const char* objects = "Метрика вычисления расстояний";
    const char* variables = "------------------------------------- по переменным";
    form.Field("расстояние=", "1-(a+b)/(a+b+c+d)", "Формула расстояния для бинарных данных")
        .GroupButton(objects, "&1=Эвклид      ", 1)
        .GroupButton(objects, "&2=Норм.Эвклид ", 2)
        .GroupButton(objects, "&3=Квадр.Эвклид", 3)
        .GroupButton(objects, "&4=Взвеш.Эвклид", 4, "веса в последнем объекте")
        .GroupButton(objects, "&5=манхеттен ", 7)
        .GroupButton(objects, "&6=Брей-Картис ", 8)
        .GroupButton(objects, "&7=Канберра    ", 9)
        .GroupButton(variables, "&8=R-корреляция  ", 5)
        .GroupButton(variables, "&9=коррел.абс  ", 6)
        .GroupButton(variables, "&0=r-Спирмана", 12)
        .GroupButton(variables, "&A=t-Кедалла", 13)
        .GroupButton(variables, "&B=V-Крамера ", 10)
        .GroupButton(variables, "&C=бинарные", 11, "по формуле расстояния")
        .Button("<Esc>=Отменить", 0)
        .RememberIn("q79.ini");
    return form;
}

FormDialog StrategyForm() {
    FormDialog form;
    form.caption = StrategyCaption;
    const char* joining = "Объединяющая";
    const char* dividing = "Разделяющая";
    form.Field("Beta=", "-0.25", "Параметр гибкой стратегии")
        .Field("Число кластеров=", "2", "Для динамических сгущений; не больше половины объектов")
        .GroupButton(joining, "&1=ближайшего соседа", 1)
        .GroupButton(joining, "&2=дальнего соседа  ", 2)
        .GroupButton(joining, "&3=группового соседа", 3)
        .GroupButton(joining, " &4=гибкая", 4)
        .GroupButton(joining, "&5=Уорда", 5)
        .GroupButton(dividing, "&6=динамических сгущений", 6)
        .Button("<Esc>=Отменить", 0)
        .RememberIn("q76.ini");
    return form;
}

namespace {

FormDialog ClusterProjectionForm() {
    FormDialog form;
    form.caption = ClusterProjectionCaption;
    form.Field("X=", "1", "Номер переменной по оси X")
        .Field("Y=", "2", "Номер переменной по оси Y")
        .Button("Показать", 1)
        .Button("Отменить", 0);
    return form;
}

}  // namespace

std::string MeasureTitle(DistanceMeasure measure) {
    static const char* const titles[] = {
        "Эвклид",      "Норм.Эвклид.", "Квадр.Эвклид.", "Взвеш.Эвклид.", "Корреляция",
        "Коррел.абс.", "Манхеттен",    "Брей-Картис",   "Канберра",      "Крамера",
        "Бинарные",    "Спирмана",     "Кендалла"};
    return titles[static_cast<int>(measure) - 1];
}

std::string StrategyTitle(Strategy strategy) {
    static const char* const titles[] = {"+Ближ.сосед", "+Дальн.сосед", "+Групп.сосед",
                                         "+Гибкая",     "+Уорда",       "+Дивизивная"};
    return titles[static_cast<int>(strategy) - 1];
}

int ClusterCount(double asked, int items) {
    const double whole = std::trunc(std::fabs(asked));
    const int most = std::max(2, items / 2);
    return whole >= most ? most : std::max(2, static_cast<int>(whole));
}

// ---------------------------------------------------------------------------
// The run

namespace {

std::string Number(const Workspace& ws, double x) {
    return FormatNumber(x, ws.digits(), ws.decimalSeparator());
}

bool Progress(Workspace& ws, const char* what, double share) {
    return ws.ui.Progress(what, static_cast<int>(share * 1000), 1000);
}

struct ClusterRun {
    explicit ClusterRun(Workspace& w) : ws(w) {}
    Workspace& ws;
    bool raw = false;
    bool variables = false;  // the items are variables
    DistanceMeasure measure = DistanceMeasure::Euclid;
    MatrixInput input;
    std::vector<std::string> labels;              // per item, for the report
    std::vector<int> sheetRows;                   // per item: its sheet row (objects)
    std::vector<std::vector<double>> attributes;  // raw objects: [attribute][item]
    DistanceTriangle triangle;

    int items() const { return triangle.size(); }
};

void DistanceTable(ClusterRun& run) {
    Workspace& ws = run.ws;
    WriteResult(ws, "");
    WriteResult(ws, "                       Таблица расстояний");
    std::string header(5, ' ');
    for (int i = 0; i < std::min(run.items(), 10); ++i)
        header += PadLeft("(" + CharCut(Trim(run.labels[i]), 7) + ")", 9);
    WriteResult(ws, header);
    for (int i = 1; i < run.items(); ++i) {
        std::string line = "(" + PadLeft(std::to_string(i + 1), 3) + ")";
        for (int j = 0; j < i; ++j) {
            const std::string field = Field(ws, run.triangle.at(i, j));
            if (CharLength(line) + CharLength(field) > 80) {
                WriteResult(ws, line);
                line = std::string(5, ' ');
            }
            line += field;
        }
        WriteResult(ws, line);
    }
    WriteResult(ws, "");
}

void DrawDendrogram(Workspace& ws, const Hierarchy& h) {
    const DendrogramRows rows = Dendrogram(h);
    const int length = static_cast<int>(rows.positions.size());
    FitDataRows(ws, 2, length);
    for (int i = 0; i < length; ++i) {
        ws.store.Data(0, i) = rows.positions[i];
        ws.store.Data(1, i) = rows.heights[i];
    }
    ws.VarLength[0] = 1;
    ws.VarLength[1] = ws.VarLength[2] = length - 1;
    ws.SetTextBuffer("Дендрограмма");
    GraSt(ws, RequestTree, 0);
    pqsegr(ws);
}

void Hierarchical(ClusterRun& run, Strategy strategy, double beta) {
    Workspace& ws = run.ws;
    const Hierarchy h = MergeClusters(run.triangle, strategy, beta, [&](double share) {
        return Progress(ws, "Объединение кластеров", share);
    });
    Progress(ws, "Объединение кластеров", 1);
    if (h.cancelled) {
        ShowNotice(ws, ClusteringStoppedNotice);
        return;
    }
    WriteResult(ws, "                          К л а с т е р ы:");
    WriteResult(ws, run.variables ? "                 (список переменных) -> расстояние"
                                  : "                 (список объектов) -> расстояние");
    for (const Merge& m : h.merges) {
        std::string line = "(";
        for (std::size_t k = 0; k < m.members.size(); ++k)
            line += (k ? "," : "") + std::to_string(m.members[k] + 1);
        WriteResult(ws, line + ") --> " + Number(ws, m.height));
    }
    DrawDendrogram(ws, h);
}

// The scatter of two attributes with every object joined to its medoid,
// again until the projection dialog is cancelled.
void ClusterScatter(ClusterRun& run, const Partition& p) {
    Workspace& ws = run.ws;
    const int attributes = static_cast<int>(run.attributes.size());
    const int items = run.items();
    for (;;) {
        const FormAnswer answer = ShowForm(ws, ClusterProjectionForm());
        if (answer.button == 0)
            return;
        auto axis = [&](std::size_t field, int fallback) {
            const ParsedNumber n =
                ParseNumber(Trim(field < answer.values.size() ? answer.values[field] : ""));
            const bool fits =
                n.ok() && n.value >= 1 && n.value <= attributes && n.value == std::floor(n.value);
            return fits ? static_cast<int>(n.value) : fallback;
        };
        const int x = axis(0, 1), y = axis(1, std::min(2, attributes));
        FitDataRows(ws, attributes + 1, items);
        for (int a = 0; a < attributes; ++a) {
            for (int i = 0; i < items; ++i)
                ws.store.Data(a, i) = run.attributes[a][i];
            ws.VarLength[a + 1] = items - 1;
        }
        for (int i = 0; i < items; ++i)
            ws.store.Data(attributes, i) = p.medoids[p.cluster[i]];
        ws.VarLength[attributes + 1] = items - 1;
        ws.VarLength[0] = attributes - 1;
        ws.graphTables.Describe(0, x - 1, y - 1, 0, 5);
        ws.graphTables.Describe(1, x - 1, y - 1, 0, 2);
        ws.graphTables.PointNames = 1;
        ws.graphTables.ObservationRows = run.sheetRows;
        ws.SetTextBuffer("Кластеры");
        GraSt(ws, RequestDescribed, 1);
        pqsegr(ws);
    }
}

// The cluster numbers as a new variable: objects at their own sheet rows
// (rows left out for a missing cell stay empty), variables one a row.
void SaveClusterNumbers(ClusterRun& run, const Partition& p) {
    std::vector<double> column;
    for (int i = 0; i < run.items(); ++i) {
        const int at = run.variables ? i : run.sheetRows[i] - 1;
        if (static_cast<int>(column.size()) <= at)
            column.resize(at + 1, MissingValue);
        column[at] = p.cluster[i] + 1;
    }
    AppendSheetVariable(run.ws, column);
}

void Medoids(ClusterRun& run, int clusters) {
    Workspace& ws = run.ws;
    const Partition p = MedoidPartition(run.triangle, clusters, [&](double share) {
        return Progress(ws, "Динамические сгущения", share);
    });
    Progress(ws, "Динамические сгущения", 1);
    if (p.cancelled) {
        ShowNotice(ws, ClusteringStoppedNotice);
        return;
    }
    WriteResult(ws, "                          К л а с т е р ы:");
    WriteResult(ws, "Среднее внутрикластерное расстояние=" + Number(ws, p.within / run.items()));
    for (int h = 0; h < p.clusters; ++h) {
        std::string line = Number(ws, h + 1) + "= (";
        bool first = true;
        for (int i = 0; i < run.items(); ++i) {
            if (p.cluster[i] != h)
                continue;
            line += (first ? "" : ",") + run.labels[i] + (p.medoids[h] == i ? "*" : "");
            first = false;
        }
        WriteResult(ws, line + ")");
    }
    if (run.raw && !run.variables)
        ClusterScatter(run, p);
    if (AskYesNo(ws, "Сохранить номера кластеров в элетронной таблице?"))
        SaveClusterNumbers(run, p);
}

// The item's name in the report: a variable's name or the observation's row
// label (its number when the label is empty).
std::string ItemLabel(Workspace& ws, int sheetRow) {
    const std::string label = CharCut(Trim(ws.sheet.Cell(0, sheetRow)), 9);
    return label.empty() ? std::to_string(sheetRow) : Trim(label);
}

// Raw data: the items loaded listwise and their size checked. False (the
// notice shown) when they cannot be clustered.
bool LoadRaw(ClusterRun& run) {
    Workspace& ws = run.ws;
    run.input =
        LoadAllVariables(ws, run.variables ? CoefficientKind(run.measure) : MatrixKind::Pearson);
    const int variables = run.input.size(), observations = run.input.count();
    const int items = run.variables ? variables : observations;
    const int attributes = run.variables ? observations : variables;
    if (items > MaxClusterItems || attributes > MaxClusterAttributes) {
        ShowNotice(ws, TooManyItemsNotice);
        return false;
    }
    const bool weighted = run.measure == DistanceMeasure::WeightedEuclid;
    if (items - (weighted ? 1 : 0) < 2 || attributes < 1) {
        ShowNotice(ws, TooFewValuesNotice);
        return false;
    }
    return true;
}

// Raw data: the triangle and the items' labels, the table on request.
bool RawTriangle(ClusterRun& run, const std::string& formulaText) {
    Workspace& ws = run.ws;
    const bool table = AskYesNo(ws, "Выдать таблицу расстояний?");
    if (run.variables) {
        const MatrixKind kind = CoefficientKind(run.measure);
        ActiveFormula formula;
        if (kind == MatrixKind::Binary &&
            CompileFormula(ws, formula, formulaText, FormulaContext::Similarity) != 0)
            return false;
        MatrixOutcome outcome = BuildCorrelationMatrix(
            kind, run.input, ws.settings.SignificanceLevel, [&](const SimilarityCounts& counts) {
                formula.Counts = counts;
                return EvaluateFormula(ws, formula);
            });
        if (!outcome.figures) {
            ShowNotice(ws, outcome.notice);
            return false;
        }
        if (outcome.figures->switchedToCramer) {
            ShowNotice(ws, NotBinaryNotice);
            run.measure = DistanceMeasure::Cramer;
        }
        run.triangle = VariableDistanceTriangle(run.measure, *outcome.figures);
        run.labels = run.input.names;
    } else {
        run.attributes = run.input.values;
        const ObjectDistances d = ObjectDistanceTriangle(run.measure, run.attributes);
        if (d.zeroVariance)
            ShowNotice(ws, ZeroVarianceNotice);
        run.triangle = d.triangle;
        if (run.measure == DistanceMeasure::WeightedEuclid)
            for (std::vector<double>& a : run.attributes)
                a.pop_back();
        for (int i = 0; i < run.items(); ++i) {
            run.sheetRows.push_back(run.input.rows[i]);
            run.labels.push_back(ItemLabel(ws, run.input.rows[i]));
        }
    }
    if (table)
        DistanceTable(run);
    return true;
}

// A distance or similarity matrix: the observations are the items.
bool GivenItems(ClusterRun& run, bool similarities) {
    Workspace& ws = run.ws;
    run.input = LoadAllVariables(ws, MatrixKind::Given);
    if (run.input.count() > MaxClusterItems || run.input.size() > MaxClusterItems) {
        ShowNotice(ws, TooManyItemsNotice);
        return false;
    }
    TriangleOutcome outcome = GivenTriangle(run.input.values, similarities);
    if (!outcome.triangle) {
        ShowNotice(ws, outcome.notice);
        return false;
    }
    run.triangle = std::move(*outcome.triangle);
    if (run.items() < 2) {
        ShowNotice(ws, TooFewValuesNotice);
        return false;
    }
    for (int i = 0; i < run.items(); ++i) {
        run.sheetRows.push_back(run.input.rows[i]);
        run.labels.push_back(ItemLabel(ws, run.input.rows[i]));
    }
    return true;
}

}  // namespace

void ClusterAnalysis(Workspace& ws) {
    if (ws.sheet.VariableCount() == 0) {
        ShowNotice(ws, TooFewValuesNotice);
        return;
    }
    const int source = ShowForm(ws, ClusterDataForm()).button;
    if (source == 0)
        return;
    ClusterRun run(ws);
    run.raw = source == 1;
    std::string formulaText;
    if (run.raw) {
        const FormAnswer answer = ShowForm(ws, MeasureForm());
        if (answer.button == 0)
            return;
        run.measure = static_cast<DistanceMeasure>(std::clamp(answer.button, 1, 13));
        run.variables = ClustersVariables(run.measure);
        formulaText = answer.values.empty() ? std::string() : answer.values[0];
        ws.SetTextBuffer(MeasureTitle(run.measure));
    }

    if (run.raw ? !LoadRaw(run) : !GivenItems(run, source == 3))
        return;

    FormReader read(ws, StrategyForm());
    if (!read.answered())
        return;
    const auto strategy = static_cast<Strategy>(std::clamp(read.button(), 1, 6));
    const double beta = read.Number(0, BetaNotice);
    const double asked = read.Number(1, ClusterCountNotice);
    if (!read.ok())
        return;

    const std::string title = std::string(21, ' ') +
                              (run.raw ? MeasureTitle(run.measure) : std::string()) +
                              StrategyTitle(strategy);
    WriteResult(ws, title);
    if (run.raw && !RawTriangle(run, formulaText))
        return;
    if (strategy == Strategy::Medoids)
        Medoids(run, ClusterCount(asked, run.items()));
    else
        Hierarchical(run, strategy, beta);
}

}  // namespace dalvex
