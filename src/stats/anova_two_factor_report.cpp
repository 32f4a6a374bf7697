// Method 12: the two-factor designs' report.
#include "core/number.h"
#include "stats/anova.h"

namespace dalvex {

namespace {

std::string Number(const Workspace& ws, double x) {
    return FormatNumber(x, ws.digits(), ws.decimalSeparator());
}

std::string ParameterLine(const Workspace& ws, const std::string& label, double value,
                          double halfWidth) {
    return label + " = " + Number(ws, value) + ", доверит.инт.=" + Number(ws, halfWidth);
}

const char* DesignLine(TwoFactorDesign design) {
    switch (design) {
        case TwoFactorDesign::NonRepeated:
            return "          Факторный план: неповторяемый";
        case TwoFactorDesign::Fixed:
            return "          Факторный план: повторяемый, с фиксированными эффектами";
        case TwoFactorDesign::Random:
            return "          Факторный план: повторяемый, со случайными эффектами";
        case TwoFactorDesign::Blocks:
            return "          Факторный план: повторяемый, с рандомизированными блоками";
        case TwoFactorDesign::Nested:
            break;
    }
    return "          Факторный план: повторяемый, с группировкой";
}

void WriteTwoFactor(Workspace& ws, const TwoFactorFigures& f, const AnovaTableFigures& table) {
    WriteAnovaTable(ws, table);
    if (!f.parameters)
        return;
    WriteResult(ws, "");
    WriteResult(ws, ModelParametersLine);
    WriteResult(ws, ParameterLine(ws, "Среднее", f.grandMean, f.meanHalfWidth));
    // Each effect is named by the factor whose level it is.
    for (std::size_t i = 0; i < f.effects1.size(); ++i)
        WriteResult(ws, ParameterLine(ws, "Эффект1-" + std::to_string(i + 1), f.effects1[i],
                                      f.halfWidths1[i]));
    for (std::size_t j = 0; j < f.effects2.size(); ++j)
        WriteResult(ws, ParameterLine(ws, "Эффект2-" + std::to_string(j + 1), f.effects2[j],
                                      f.halfWidths2[j]));
}

}  // namespace

FormDialog TwoFactorChoiceForm() {
    FormDialog form;
    form.caption = "Метод";
    form.Group("Повторяемый план")
        .Field("Градаций фактора1=", "2", "Введите число градаций первого фактора")
        .GroupButton("План", "&1=неповторяемый", 1, "Одно значение в каждой клетке")
        .GroupButton("Повторяемый, модель:", "&2=фиксиров.эффекты", 2)
        .GroupButton("Повторяемый, модель:", "&3=случайн. эффекты", 3)
        .GroupButton("Повторяемый, модель:", "&4=рандомизир.блоки", 4, "Фактор 2 - блоки")
        .GroupButton("Повторяемый, модель:", "&5=с группировкой ", 5, "Фактор 2 внутри фактора 1")
        .Button("Отменить", 0)
        .RememberIn(TwoFactorMemory);
    return form;
}

int TwoFactorChoice(Workspace& ws) {
    FormReader read(ws, TwoFactorChoiceForm());
    if (read.button() >= 2) {
        ws.AnswerNumber = read.Integer(0, 1, 500, LevelCountNotice);
        if (!read.ok())
            return 0;
    }
    return read.button();
}

void TwoFactorAnalysis(Workspace& ws, int choice) {
    const double level = ws.settings.SignificanceLevel;
    const std::vector<LoadedRow> rows = LoadedRows(ws);
    std::vector<std::vector<double>> values;
    std::vector<std::string> names;
    for (const LoadedRow& row : rows) {
        values.push_back(row.values);
        names.push_back(row.name);
    }
    const auto design = static_cast<TwoFactorDesign>(choice);
    const TwoFactorFigures f =
        design == TwoFactorDesign::NonRepeated
            ? ComputeTwoWayNonRepeated(values, level)
            : ComputeTwoWayRepeated(values, names, ws.AnswerNumber, design, level);
    if (f.notice == LevelCountNotice) {
        ShowNotice(ws, f.notice);
        return;
    }
    WriteResult(ws, DesignLine(design));
    if (!f.notice.empty()) {
        ShowNotice(ws, f.notice);
        return;
    }
    const AnovaTableResult table = ComputeAnovaTable(f.table, level);
    if (!table.notice.empty()) {
        ShowNotice(ws, table.notice);
        return;
    }
    WriteTwoFactor(ws, f, table.figures);
}

}  // namespace dalvex
