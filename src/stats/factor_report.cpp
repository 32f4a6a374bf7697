#include "stats/factor_report.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/data_store.h"
#include "core/number.h"
#include "core/sheet_bridge.h"
#include "core/text.h"
#include "core/workspace.h"
#include "dispatch/loading.h"
#include "dispatch/method_kit.h"
#include "formula/formula.h"
#include "stats/correlation.h"
#include "stats/correlation_matrix_report.h"

namespace dalvex {

std::string FactorCountNotice(int factors) {
    return "!ЧИСЛО ЗНАЧЕНИЙ ФАКТОРОВ НЕ РАВНО ЧИСЛУ ФАКТОРОВ=" + std::to_string(factors) + "!";
}

// ---------------------------------------------------------------------------
// Dialogs

FormDialog FactorAnalysisForm() {
    FormDialog form;
    form.caption = FactorAnalysisCaption;
    const char* group = "Матрица для анализа";
    form.Field("Выдавать нагрузки >", "0", "Нагрузки и корреляции не больше порога не печатаются")
        .Field("мера=", "(a+b)/(a+b+c+d)", "Формула меры сходства бинарных данных")
        .GroupButton(group, "&1=Пирсона", 1, "корреляции")
        .GroupButton(group, "&2=ковариации", 2, "ковариации")
        .GroupButton(group, "&3=Спирмана", 3, "ранговые корреляции")
        .GroupButton(group, "&4=Кендалла", 4, "ранговые корреляции")
        .GroupButton(group, "&5=Крамера", 5, "номинальные данные")
        .GroupButton(group, "&6=бинарные", 6, "мера сходства")
        .GroupButton(group, "&7=матрица корреляций", 7, "матрица в таблице")
        .RememberIn("q69.ini");
    return form;
}

FormDialog RotationForm(int proposed) {
    FormDialog form;
    form.caption = RotationCaption;
    const char* rotations = "Вращение факторов";
    form.Field("Вращать факторов=", std::to_string(proposed))
        .GroupButton(rotations, "&1=варимакс  ", 1, "ортогональное")
        .GroupButton(rotations, "&2=квартимакс", 2, "ортогональное")
        .GroupButton(rotations, "&3=эквимакс  ", 3, "ортогональное")
        .GroupButton(rotations, "&4=биквартимакс", 4, "ортогональное")
        .GroupButton(rotations, "&5=обликью", 5, "косоугольное")
        .GroupButton("Прогноз", "&0=Прогнозирование", 6, "переменной по факторам")
        .Button("<Esc>=Отменить", 0);
    return form;
}

FormDialog ProjectionForm(bool space) {
    FormDialog form;
    form.caption = ProjectionCaption;
    form.Field("X=", "1", "Номер фактора по оси X").Field("Y=", "2", "Номер фактора по оси Y");
    if (space)
        form.Field("Z=", "", "Номер фактора по оси Z (пусто: проекция на плоскость)");
    form.Button("Показать", 1).Button("Отменить", 0);
    return form;
}

FormDialog PredictionForm(const std::string& grid) {
    std::vector<std::string> columns;
    for (int c = 1; c <= PredictionColumns; ++c)
        columns.push_back("Фактор" + std::to_string(c));
    FormDialog form;
    form.caption = PredictionCaption;
    form.Field("Прогноз для переменной №", "1")
        .Grid(PredictionGridLabel, columns, PredictionRows, grid,
              "Shift+Insert: очистить и вставить из буфера обмена")
        .Button("Утвердить", 1)
        .Button("<Esc>=Отменить", 0);
    return form;
}

Projection ReadProjection(const FormAnswer& answer, int factors) {
    auto factor = [&](std::size_t field) {
        if (field >= answer.values.size())
            return -1;
        const std::string text = Trim(answer.values[field]);
        const ParsedNumber n = ParseNumber(text);
        if (text.empty() || !n.ok() || n.value < 1 || n.value > factors)
            return -1;
        return static_cast<int>(n.value) - 1;
    };
    Projection p{factor(0), factor(1), -1};
    const bool zFilled = answer.values.size() > 2 && !Trim(answer.values[2]).empty();
    if (zFilled)
        p.z = factor(2);
    if (p.x < 0 || p.y < 0 || (zFilled && p.z < 0) || factors < 2)
        return {0, 1, -1};
    return p;
}

// ---------------------------------------------------------------------------
// Report lines

namespace {

std::string Number(const Workspace& ws, double x) {
    return FormatNumber(x, ws.digits(), ws.decimalSeparator());
}

std::string FactorNumbers(int count) {
    std::string line;
    for (int j = 1; j <= count; ++j)
        line += PadLeft(std::to_string(j), 9);
    return line;
}

void WriteFactorHeader(Workspace& ws, int count) {
    WriteResult(ws, "  Фактор:" + FactorNumbers(count));
}

std::string Thresholded(const Workspace& ws, double x, double threshold) {
    return std::fabs(x) > threshold ? Field(ws, x) : std::string(9, ' ');
}

// Loadings of `factors` columns, one line per variable.
template <typename At>
void WriteLoadings(Workspace& ws, const std::vector<std::string>& names, int factors,
                   double threshold, At at) {
    for (int i = 0; i < static_cast<int>(names.size()); ++i) {
        std::string line = NameField(names[i]);
        for (int j = 0; j < factors; ++j)
            line += Thresholded(ws, at(i, j), threshold);
        WriteResult(ws, line);
    }
}

void WriteScores(Workspace& ws, const std::vector<std::string>& labels,
                 const std::vector<std::vector<double>>& scores, int factors) {
    WriteResult(ws, "Переменная <-------- Факторные координаты ----------------------->");
    WriteFactorHeader(ws, factors);
    for (std::size_t i = 0; i < labels.size(); ++i) {
        std::vector<double> row;
        for (int j = 0; j < factors; ++j)
            row.push_back(scores[j][i]);
        WriteFigureRow(ws, labels[i], row);
    }
}

// The whole number low .. high (low >= 1) a field holds; 0 when it holds
// anything else.
int WholeNumber(const std::string& text, int low, int high) {
    const ParsedNumber n = ParseNumber(Trim(text));
    if (!n.ok() || !(n.value >= low && n.value <= high) || n.value != std::floor(n.value))
        return 0;
    return static_cast<int>(n.value);
}

// Long work reports in thousandths; the share 1 closes the display.
bool Progress(Workspace& ws, const char* what, double share) {
    return ws.ui.Progress(what, static_cast<int>(share * 1000), 1000);
}

}  // namespace

std::vector<std::string> EigenvalueLines(const Workspace& ws, const FactorExtraction& e) {
    std::string values = "Собств.зн", shares = " Дисперс%", running = "Накоплен%";
    double sum = 0;
    for (int j = 0; j < e.factors; ++j) {
        const double lambda = e.eigenvalues[j];
        sum += lambda;
        values += Field(ws, lambda);
        shares += Field(ws, lambda / e.total * 100);
        running += Field(ws, sum / e.total * 100);
    }
    return {"",
            "      Собственные значения и процент объясняемой дисперсии факторов",
            "Фактор:  " + FactorNumbers(e.factors),
            values,
            shares,
            running};
}

// ---------------------------------------------------------------------------
// Graphs

namespace {

// One described series of points (rows 0, 1 and, in space, 2), named from
// the variables (0) or the row labels (1).
void DrawProjection(Workspace& ws, const std::vector<std::vector<double>>& axes, int style,
                    int names, const std::string& title) {
    const int rows = static_cast<int>(axes.size());
    const int points = static_cast<int>(axes[0].size());
    FitDataRows(ws, rows + 2, points);
    for (int r = 0; r < rows; ++r) {
        for (int i = 0; i < points; ++i)
            ws.store.Data(r, i) = axes[r][i];
        ws.VarLength[r + 1] = points - 1;
    }
    ws.VarLength[0] = rows - 1;
    ws.SetTextBuffer(title);
    ws.graphTables.PointNames = names;
    if (rows == 3) {
        GraSt(ws, RequestScatter3D, 0);
    } else {
        ws.graphTables.Describe(0, 0, 1, 0, style);
        GraSt(ws, RequestDescribed, 0);
    }
    pqsegr(ws);
}

// The projection dialog again and again until it is cancelled. `column(j)`
// gives the values of factor j at every point. A single factor has no plane
// to show: no dialog then.
template <typename Column>
void ProjectionLoop(Workspace& ws, int factors, const std::string& titleStart, int style, int names,
                    Column column) {
    while (factors >= 2) {
        const FormAnswer answer = ShowForm(ws, ProjectionForm(factors >= 3));
        if (answer.button == 0)
            return;
        const Projection p = ReadProjection(answer, factors);
        std::vector<std::vector<double>> axes{column(p.x), column(p.y)};
        if (p.space())
            axes.push_back(column(p.z));
        const std::string title = titleStart + std::to_string(p.x + 1) + "," +
                                  std::to_string(p.y + 1) + "," +
                                  std::to_string(p.space() ? p.z + 1 : 0);
        DrawProjection(ws, axes, style, names, title);
    }
}

// Loadings of every variable with the origin as one more point, drawn as
// rays from it.
template <typename At>
void LoadingProjections(Workspace& ws, int k, int factors, At at) {
    ProjectionLoop(ws, factors, "Факторные нагрузки: ", 4, 0, [&](int j) {
        std::vector<double> values;
        for (int i = 0; i < k; ++i)
            values.push_back(at(i, j));
        values.push_back(0);
        return values;
    });
}

// `sheetRows`: the sheet row of each object scored, so each point is named
// after its own row when rows were left out for missing cells.
void ScoreProjections(Workspace& ws, const std::vector<int>& sheetRows,
                      const std::vector<std::vector<double>>& scores) {
    ws.graphTables.ObservationRows = sheetRows;
    ws.SetTextBuffer("Факторные координаты");
    ProjectionLoop(ws, static_cast<int>(scores.size()), "Факторные координаты: ", 2, 1,
                   [&](int j) { return scores[j]; });
}

}  // namespace

void ProjectionGraphs(Workspace& ws, int axes, const std::string& titleStart, int style, int names,
                      const std::function<std::vector<double>(int)>& column) {
    ProjectionLoop(ws, axes, titleStart, style, names, column);
}

// ---------------------------------------------------------------------------
// The run

namespace {

struct FactorRun {
    explicit FactorRun(Workspace& w) : ws(w) {}
    Workspace& ws;
    double threshold = 0;
    MatrixInput input;
    CorrelationMatrixFigures matrix;
    FactorExtraction extraction;
    std::vector<std::string> labels;  // row labels of the observations analysed

    const std::vector<std::string>& names() const { return input.names; }
    int k() const { return extraction.size; }
};

void ExtractionReport(FactorRun& run) {
    Workspace& ws = run.ws;
    const FactorExtraction& e = run.extraction;
    for (const std::string& line : EigenvalueLines(ws, e))
        WriteResult(ws, line);

    if (AskYesNo(ws, "Выдать факторные вектора?")) {
        WriteResult(ws,
                    "Переменная  <-- Собственные вектора (коэффициенты поворота факторных "
                    "осей) -->");
        WriteFactorHeader(ws, e.factors);
        for (int i = 0; i < e.size; ++i) {
            std::vector<double> row;
            for (int j = 0; j < e.factors; ++j)
                row.push_back(e.vector(i, j));
            WriteFigureRow(ws, run.names()[i], row);
        }
    }

    std::vector<double> x, y;
    for (int j = 0; j < e.size; ++j) {
        x.push_back(j + 1);
        y.push_back(e.eigenvalues[j]);
    }
    GraphOrder(ws).Series(x, y).Title("Собственные значения").Show();

    if (AskYesNo(ws, "Выдать факторные нагрузки?")) {
        WriteResult(ws, "");
        WriteResult(ws,
                    "Переменная <-------- Факторные нагрузки до вращения "
                    "----------------------->");
        WriteFactorHeader(ws, e.factors);
        WriteLoadings(ws, run.names(), e.factors, run.threshold,
                      [&](int i, int j) { return e.loading(i, j); });
        WriteResult(ws, "");
    }
    LoadingProjections(ws, e.size, e.size, [&](int i, int j) { return e.loading(i, j); });

    if (!FromData(run.matrix.kind))
        return;
    const std::vector<std::vector<double>> scores =
        FactorScores(run.matrix, e, HoldsCorrelations(run.matrix.kind));
    if (AskYesNo(ws, "Выдать факторные координаты объектов?"))
        WriteScores(ws, run.labels, scores, e.factors);
    ScoreProjections(ws, run.input.rows, scores);
}

void FactorCorrelations(FactorRun& run, const RotatedFactors& r) {
    Workspace& ws = run.ws;
    const int f = r.factors;
    WriteResult(ws, "");
    WriteResult(ws, "                         Корреляции факторов");
    WriteFactorHeader(ws, f);
    const double critical = CriticalCoefficient(run.k(), ws.settings.SignificanceLevel);
    int significant = 0;
    for (int j = 1; j < f; ++j) {
        std::vector<double> row;
        for (int l = 0; l < j; ++l) {
            const double c = r.correlations[j * f + l];
            row.push_back(c);
            if (std::fabs(c) > critical)
                ++significant;
        }
        WriteFigureRow(ws, std::to_string(j + 1), row);
    }
    WriteResult(ws, " Критичeское значение=" + Number(ws, critical));
    const int pairs = f * f - f;
    WriteResult(ws, " Число значимых коэффициентов=" + std::to_string(significant) + " (" +
                        std::to_string(pairs > 0 ? 200 * significant / pairs : 0) + "%)");
}

void RotationReport(FactorRun& run, const RotatedFactors& r) {
    Workspace& ws = run.ws;
    const FactorExtraction& e = run.extraction;
    const int k = e.size, f = r.factors;

    WriteResult(ws, "Переменная  Общность  Специфичность");
    for (int i = 0; i < k; ++i) {
        double common = 0, specific = 0;
        for (int j = 0; j < k; ++j)
            (j < f ? common : specific) += e.loading(i, j) * e.loading(i, j);
        WriteFigureRow(ws, run.names()[i], {common, specific});
    }
    if (r.rotation == Rotation::Oblique)
        FactorCorrelations(run, r);

    WriteResult(ws,
                "   Собственные значения и процент объясняемой дисперсии факторов после вращения");
    WriteFactorHeader(ws, f);
    std::string values = "Собств.зн", shares = " Дисперс%", running = "  Накопл%";
    double sum = 0;
    for (int j = 0; j < f; ++j) {
        sum += r.explained[j];
        values += Field(ws, r.explained[j]);
        shares += Field(ws, r.explained[j] / r.total * 100);
        running += Field(ws, sum / r.total * 100);
    }
    WriteResult(ws, values);
    WriteResult(ws, shares);
    WriteResult(ws, running);

    WriteResult(ws, "   Коэффициенты вращения факторных осей");
    std::string header = "Нов.факторы:";
    for (int j = 1; j <= f; ++j)
        header += PadLeft(std::to_string(j), j == 1 ? 6 : 9);
    WriteResult(ws, header);
    for (int q = 0; q < f; ++q) {
        std::string line = PadLeft(std::to_string(q + 1), 9);
        for (int j = 0; j < f; ++j)
            line += Field(ws, r.turn(q, j));
        WriteResult(ws, line);
    }

    if (AskYesNo(ws, "Выдать факторные нагрузки после вращения?")) {
        WriteResult(ws, "");
        WriteResult(ws,
                    "Переменная <-------- Факторные нагрузки после вращения"
                    "--------------------->");
        WriteFactorHeader(ws, f);
        WriteLoadings(ws, run.names(), f, run.threshold,
                      [&](int i, int j) { return r.loading(i, j); });
        WriteResult(ws, "");
    }
    LoadingProjections(ws, k, f, [&](int i, int j) { return r.loading(i, j); });

    if (!FromData(run.matrix.kind))
        return;
    const std::vector<std::vector<double>> scores =
        RotatedScores(FactorScores(run.matrix, e, true), e, r);
    if (AskYesNo(ws, "Выдать факторные координаты объектов после вращения?"))
        WriteScores(ws, run.labels, scores, f);
    ScoreProjections(ws, run.input.rows, scores);
}

const char* RotationName(Rotation rotation) {
    switch (rotation) {
        case Rotation::Varimax:
            return " варимакс";
        case Rotation::Quartimax:
            return " квартимакс";
        case Rotation::Equimax:
            return " эквимакс";
        case Rotation::Biquartimax:
            return " биквартимакс";
        case Rotation::Oblique:
            return " обликью";
    }
    return "";
}

void FactorPrediction(FactorRun& run) {
    Workspace& ws = run.ws;
    const FormAnswer answer = ShowForm(ws, PredictionForm(ws.FactorPredictionGrid));
    // The grid keeps its contents between uses, as typed, pasted or cancelled.
    if (answer.values.size() > 1)
        ws.FactorPredictionGrid = answer.values[1];
    if (answer.button != 1)
        return;
    const int v = WholeNumber(answer.values[0], 1, run.k());
    if (v == 0) {
        ShowNotice(ws, PredictionVariableNotice);
        return;
    }
    const std::vector<std::vector<std::string>> grid =
        GridCells(ws.FactorPredictionGrid, PredictionRows, PredictionColumns);
    auto filled = [](const std::vector<std::string>& row) {
        return static_cast<int>(
            std::count_if(row.begin(), row.end(), [](const std::string& c) { return !c.empty(); }));
    };
    const int g = grid.empty() ? 0 : filled(grid[0]);
    const FactorExtraction& e = run.extraction;
    if (g != e.factors) {
        ShowNotice(ws, FactorCountNotice(e.factors));
        return;
    }
    WriteResult(ws, "Факторный прогноз переменной " + run.names()[v - 1]);
    for (const std::vector<std::string>& row : grid) {
        if (row.empty() || row[0].empty())
            continue;
        if (filled(row) != g) {
            ShowNotice(ws, RowCountNotice);
            return;
        }
        std::vector<double> values;
        for (const std::string& cell : row) {
            if (cell.empty())
                continue;
            const ParsedNumber n = ParseNumber(cell);
            if (!n.ok()) {
                ShowNotice(ws, FactorValueNotice);
                return;
            }
            values.push_back(n.value);
        }
        const std::optional<double> x = PredictVariable(e, v - 1, run.matrix.means[v - 1],
                                                        run.matrix.deviations[v - 1], values);
        if (!x) {
            ShowNotice(ws, ZeroEigenvalueNotice);
            return;
        }
        char text[64];
        std::snprintf(text, sizeof text, "%.*g", 5, *x);
        WriteResult(ws, text);
    }
}

void RotationLoop(FactorRun& run) {
    Workspace& ws = run.ws;
    const int retained = run.extraction.factors;
    for (;;) {
        const FormAnswer answer = ShowForm(ws, RotationForm(std::min(retained, 10)));
        if (answer.button == 0)
            return;
        if (answer.button == 6) {
            FactorPrediction(run);
            continue;
        }
        int f = WholeNumber(answer.values[0], 1, retained);
        if (f == 0)
            f = retained;
        const auto rotation = static_cast<Rotation>(std::clamp(answer.button, 1, 5));
        WriteResult(ws, std::string("          Вращение:") + RotationName(rotation) +
                            ", число факторов=" + std::to_string(f));
        const bool kaiser = AskYesNo(ws, "Нужна нормализация Кайзера?");
        const RotatedFactors r =
            RotateFactors(run.extraction, f, rotation, kaiser,
                          [&](double share) { return Progress(ws, "Вращение факторов", share); });
        Progress(ws, "Вращение факторов", 1);
        if (r.cancelled) {
            ShowNotice(ws, RotationStoppedNotice);
            continue;
        }
        RotationReport(run, r);
    }
}

}  // namespace

void FactorAnalysis(Workspace& ws) {
    // An empty sheet ends the run before the dialog, as for every method that
    // takes all variables.
    if (ws.sheet.VariableCount() == 0) {
        ShowNotice(ws, TooFewValuesNotice);
        return;
    }
    FormReader read(ws, FactorAnalysisForm());
    if (!read.answered())
        return;
    FactorRun run(ws);
    run.threshold = read.Number(0, ThresholdNotice);
    if (!read.ok())
        return;
    const auto kind = static_cast<MatrixKind>(std::clamp(read.button(), 1, 7));
    const int variables = ws.sheet.VariableCount();
    if (variables - 1 > SquareSide - 1 || variables - 1 < 2) {
        ShowNotice(ws, TooManyVariablesNotice);
        return;
    }
    ActiveFormula formula;
    if (kind == MatrixKind::Binary &&
        CompileFormula(ws, formula, read.answer().values[1], FormulaContext::Similarity) != 0)
        return;

    run.input = LoadAllVariables(ws, kind);
    MatrixOutcome outcome = BuildCorrelationMatrix(kind, run.input, ws.settings.SignificanceLevel,
                                                   [&](const SimilarityCounts& counts) {
                                                       formula.Counts = counts;
                                                       return EvaluateFormula(ws, formula);
                                                   });
    if (!outcome.figures) {
        ShowNotice(ws, outcome.notice);
        return;
    }
    run.matrix = std::move(*outcome.figures);
    if (run.matrix.switchedToCramer)
        ShowNotice(ws, NotBinaryNotice);
    for (int row : run.input.rows)
        run.labels.push_back(Trim(ws.sheet.Cell(0, row)));
    ReportCorrelationMatrix(ws, run.names(), run.matrix, run.threshold);

    run.extraction = ExtractFactors(run.matrix.matrix, run.matrix.size, [&](double share) {
        return Progress(ws, "Собственные значения", share);
    });
    Progress(ws, "Собственные значения", 1);
    if (run.extraction.cancelled) {
        ShowNotice(ws, WorkStoppedNotice);
        return;
    }
    if (!run.extraction.converged)
        ShowNotice(ws, NotConvergedNotice);
    if (run.extraction.total <= 0 || run.extraction.factors == 0) {
        ShowNotice(ws, SingularNotice);
        return;
    }
    ExtractionReport(run);
    RotationLoop(run);
}

}  // namespace dalvex
