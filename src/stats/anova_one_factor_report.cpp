// Method 11: the report of the one-factor analysis and its rank tests.
#include "core/number.h"
#include "dispatch/loading.h"
#include "numeric/distributions.h"
#include "stats/anova.h"
#include "stats/pairwise_run.h"

namespace dalvex {

namespace {

std::string Number(const Workspace& ws, double x) {
    return FormatNumber(x, ws.digits(), ws.decimalSeparator());
}

std::string ParameterLine(const Workspace& ws, const std::string& label, double value,
                          double halfWidth) {
    return label + " = " + Number(ws, value) + ", доверит.инт.=" + Number(ws, halfWidth);
}

void WriteComparison(Workspace& ws, const Comparison& c) {
    WriteResult(ws, c.label + Field(ws, c.difference) + Field(ws, c.interval) + Field(ws, c.p) +
                        (c.significant ? SignificantMark : ""));
}

std::string ContrastLabel(const std::vector<LoadedRow>& groups, const std::vector<int>& set1,
                          const std::vector<int>& set2) {
    auto names = [&](const std::vector<int>& set) {
        std::string text;
        for (std::size_t i = 0; i < set.size(); ++i)
            text += (i > 0 ? "," : "") + groups[set[i]].name;
        return text;
    };
    return names(set1) + "-" + names(set2) + ": ";
}

void WriteOneFactor(Workspace& ws, const std::vector<LoadedRow>& groups, const OneFactorFigures& f,
                    const AnovaTableFigures& table) {
    const double level = ws.settings.SignificanceLevel;
    WriteAnovaTable(ws, table);
    WriteResult(ws, "");
    WriteResult(ws, ModelParametersLine);
    WriteResult(ws, ParameterLine(ws, "Среднее", f.grandMean, f.meanHalfWidth));
    for (int g = 0; g < f.k; ++g)
        WriteResult(ws, ParameterLine(ws, "Эффект" + std::to_string(g + 1), f.effects[g],
                                      f.effectHalfWidths[g]));
    // Groups that do not differ as a whole are not compared pair by pair.
    if (f.factorP > level)
        return;

    WriteResult(ws, "");
    WriteResult(ws, ScheffeTitle);
    WriteResult(ws, ScheffeHeading);
    const std::vector<Comparison> pairs = ScheffeComparisons(f, level);
    for (const Comparison& c : pairs)
        WriteComparison(ws, c);
    WriteResult(ws, BonferroniHeading);
    WriteResult(ws, "Крит.значимость нулевых гипотез=" +
                        Number(ws, level / static_cast<double>(pairs.size())));
    WriteResult(ws, BonferroniWarning);

    for (;;) {
        std::vector<int> columns;
        for (const LoadedRow& g : groups)
            columns.push_back(g.column);
        GroupContrastDialog dialog(ws, columns);
        if (!AskGroupContrast(ws, dialog))
            break;
        ws.SetTextBuffer(ContrastLabel(groups, dialog.set1(), dialog.set2()));
        WriteComparison(ws, Contrast(f, dialog.set1(), dialog.set2(), ws.TextBuffer(), level));
    }
}

std::vector<std::vector<double>> ValuesOf(const std::vector<LoadedRow>& rows) {
    std::vector<std::vector<double>> values;
    for (const LoadedRow& row : rows)
        values.push_back(row.values);
    return values;
}

std::vector<std::string> NamesOf(const std::vector<LoadedRow>& rows) {
    std::vector<std::string> names;
    for (const LoadedRow& row : rows)
        names.push_back(row.name);
    return names;
}

void Parametric(Workspace& ws, const std::vector<LoadedRow>& rows) {
    const double level = ws.settings.SignificanceLevel;
    const OneFactorFigures f = ComputeOneFactor(ValuesOf(rows), NamesOf(rows), level);
    if (!f.notice.empty()) {
        ShowNotice(ws, f.notice);
        return;
    }
    const AnovaTableResult table = ComputeAnovaTable(f.table, level);
    if (!table.notice.empty()) {
        ShowNotice(ws, table.notice);
        return;
    }
    WriteOneFactor(ws, rows, f, table.figures);
}

void KruskalWallis(Workspace& ws, const std::vector<LoadedRow>& rows) {
    const KruskalWallisFigures f = ComputeKruskalWallis(ValuesOf(rows), NamesOf(rows));
    if (!f.notice.empty()) {
        ShowNotice(ws, f.notice);
        return;
    }
    WriteResult(ws, "");
    WriteStatistic(ws, "Краскал-Уоллис=", f.h, f.p, f.k - 1);
    if (AskYesNo(ws, OrderedQuestion))
        WriteStatistic(ws, "Джонкхиер=" + Number(ws, f.j) + " Z=", f.z, f.jp, f.n, f.k);
}

void Friedman(Workspace& ws, const std::vector<LoadedRow>& rows) {
    const FriedmanFigures f = ComputeFriedman(ValuesOf(rows));
    if (!f.notice.empty()) {
        ShowNotice(ws, f.notice);
        return;
    }
    WriteResult(ws, "");
    WriteStatistic(ws, "Фридман=", f.chiSquare, f.p, f.k - 1);
    if (AskYesNo(ws, OrderedQuestion))
        WriteStatistic(ws, "Пейдж=", f.page, f.pageP, f.b, f.k);
}

}  // namespace

FormDialog OneFactorChoiceForm() {
    FormDialog form;
    form.caption = "Метод";
    form.GroupButton("Однофакторный анализ", "&1=параметрический ", 1,
                     "Фиксированные эффекты, сравнения Шеффе и контрасты")
        .GroupButton("Однофакторный анализ", "&2=Крускал-Уоллиса", 2,
                     "Ранговый критерий и тренд Джонкхиера")
        .GroupButton("Однофакторный анализ", "&3=Фридмана", 3, "Ранги в блоках и тренд Пейджа")
        .Button("Отменить", 0);
    return form;
}

int OneFactorChoice(Workspace& ws) {
    return ShowForm(ws, OneFactorChoiceForm()).button;
}

void OneFactorAnalysis(Workspace& ws, int choice) {
    std::vector<LoadedRow> rows = LoadedRows(ws);
    if (choice == 3) {
        // Friedman's blocks are the observations: every treatment must have
        // one value in each, and a block with a missing value leaves all rows.
        for (const LoadedRow& row : rows)
            if (ws.sheet.ColumnLength(row.column) != ws.sheet.ColumnLength(rows[0].column)) {
                ShowNotice(ws, UnequalBlocksNotice);
                return;
            }
        if (!LoadSelected(ws, 1, Missing::Listwise))
            return;
        rows = LoadedRows(ws);
    }
    switch (choice) {
        case 1:
            Parametric(ws, rows);
            break;
        case 2:
            KruskalWallis(ws, rows);
            break;
        default:
            Friedman(ws, rows);
            break;
    }
}

}  // namespace dalvex
