#include "dispatch/graph_menu.h"

#include <algorithm>
#include <cmath>

#include "core/arithmetic_fault.h"
#include "core/number.h"
#include "core/settings.h"
#include "graphics/graph_data.h"

namespace dalvex {

namespace {

// The fields of the menu's options, in form order.
enum OptionField { BarsField, Effect3DField, SmoothingField, StepsField, CoefficientField };

const char* const SmoothingLevels[] = {"0", "1", "2", "3"};

bool IsSpline(int answer) {
    return answer == KindSplineInterpolation || answer == KindSplineSmoothing;
}

}  // namespace

const std::vector<GraphMenuEntry>& GraphMenuEntries() {
    static const std::vector<GraphMenuEntry> entries{
        {KindFunctions, "Научные", "&1=функции: Y=f(X)",
         "Одна или несколько экспериментальных зависимостей Y=f(X)", KindFunctions, "Функция", 31},
        {KindDeviations, "Научные", "&2=с отклонениями",
         "Для каждой точки экспериментальной зависимости указан интервал допуска/ст.отклонения",
         KindDeviations, "ФункОткл", 32},
        {MenuYSeries, "Научные", "&3=Y-ряды", "Последовательность Y с шагом=1", KindDescribed,
         "Y-ряды", 47},
        {KindScatter, "Научные", "&4=диагр.рассеяния", "Скаттерграмма", KindScatter, "Рассеяние",
         33},
        {KindDistributions, "Научные", "&5=распределения", "Графики выборочных распределений",
         KindDistributions, "Распределение", 34},
        {KindBoxPlots, "Научные", "&6=ящики-с-усами", "", KindBoxPlots, "Ящик с усами", 35},
        {KindBars, "Деловые", "&7=столб.диаграмма ", "", KindBars, "Диаграмма", 36},
        {KindTower, "Деловые", "&8=диаграмма-башня",
         "Стобики-измерения каждой переменной расположены  башней", KindTower, "Диаграмма", 36},
        {KindTower100, "Деловые", "&9=100%-я башня", "Элементы каждой башни нормированы на 100%",
         KindTower100, "Диаграмма", 36},
        {KindPie, "Деловые", "&A=круг.диаграмма", "", KindPie, "Диаграмма", 36},
        {KindColourMap, "Деловые", "&B=карта", "Цветная карта: переменные-объекты", KindColourMap,
         "Карта", 36},
        {KindScatter3D, "Многомерные", "&C=диагр.рассеяния", "3-мерная диаграмма рассеяния",
         KindScatter3D, "3-мерная", 40},
        {MenuFunctionSurface, "Многомерные", "&D=мат.функция",
         "Двумерная поверхность по заданной формуле", KindFunctionSurface, "3-мерная", 41},
        {KindSmoothingSurface, "Многомерные", "&E=поверхность",
         "Поверхность сглаживания трехмерных данных", KindSmoothingSurface, "3-мерная", 42},
        {KindMap3D, "Многомерные", "&F=карта", "Картирование трехмерных данных", KindMap3D,
         "3-мерная", 42},
        {KindSuperDiagram, "Многомерные", "&G=супердиаграмма", "Многомерная визуализация",
         KindSuperDiagram, "Супердиаграмма", 43},
        {KindSplineInterpolation, "Сплайны", "&I=интерполяция", "Сплайн-интерполяция",
         KindSplineInterpolation, "Сплайны", 45},
        {KindSplineSmoothing, "Сплайны", "&J=сглаживание", "Сплайн-сглаживание",
         KindSplineSmoothing, "Сплайны", 45},
    };
    return entries;
}

const GraphMenuEntry* GraphMenuEntryOf(int answer) {
    for (const GraphMenuEntry& entry : GraphMenuEntries())
        if (entry.answer == answer)
            return &entry;
    return nullptr;
}

FormDialog GraphMenuForm(const GraphOptions& options) {
    FormDialog form;
    form.caption = GraphMenuCaption;
    for (const GraphMenuEntry& entry : GraphMenuEntries()) {
        form.GroupButton(entry.group, entry.text, entry.answer);
        form.buttons.back().hint = entry.hint;
    }
    form.Button("<Esc>=Отменить", 0, "Отменить выбор по данному меню");
    form.Group("")
        .Check("столбики", options.bars, "Деловые графики столбиками, а не линиями")
        .Check("3D-эффект", options.effect3D, "Деловые графики объемными")
        .Choice("Сглаж:", {std::begin(SmoothingLevels), std::end(SmoothingLevels)},
                std::clamp(options.smoothing, 0, 3),
                "Уровень сглаживания поверхности, карты и супердиаграммы")
        .Field("Шагов=", std::to_string(options.steps), "Число шагов кривой сплайна")
        .Field("Коэф=", FormatNumber(options.coefficient, 15),
               "Укажите коэффициент сглаживания k: 0<k<1");
    return form;
}

// ---------------------------------------------------------------------------
// The menu.

void TGrMet::ReadMemory() {
    std::vector<std::string> lines;
    if (!ReadLinesFile(ws_.ProgramFolder + GraphMenuMemory, lines).ok) {
        ws_.ui.Beep();
        return;
    }
    // A line that is not what it should be leaves its default.
    if (lines.size() >= 1) {
        const ParsedNumber steps = ParseNumber(lines[0]);
        if (steps.ok() && steps.value >= 1 && steps.value <= 1e9)
            options.steps = static_cast<int>(steps.value);
    }
    if (lines.size() >= 2) {
        const ParsedNumber k = ParseNumber(lines[1]);
        if (k.ok() && k.value > 0 && k.value < 1)
            options.coefficient = k.value;
    }
    if (lines.size() >= 3) {
        const ParsedNumber level = ParseNumber(lines[2]);
        if (level.ok() && level.value >= 0 && level.value <= 3)
            options.smoothing = static_cast<int>(level.value);
    }
}

void TGrMet::WriteMemory() {
    const std::vector<std::string> lines{std::to_string(options.steps),
                                         FormatNumber(options.coefficient, 15),
                                         std::to_string(options.smoothing)};
    if (!WriteLinesFile(ws_.ProgramFolder + GraphMenuMemory, lines).ok)
        ws_.ui.Beep();
}

int TGrMet::Run() {
    ReadMemory();
    const FormAnswer answer = ShowForm(ws_, GraphMenuForm(options));
    const std::vector<std::string>& v = answer.values;
    int chosen = GraphMenuEntryOf(answer.button) != nullptr ? answer.button : 0;
    if (v.size() > CoefficientField) {
        options.bars = v[BarsField] == "1";
        options.effect3D = v[Effect3DField] == "1";
        options.smoothing = std::clamp(ParseInteger(v[SmoothingField]), 0, 3);
        const ParsedNumber steps = ParseNumber(v[StepsField]);
        const ParsedNumber k = ParseNumber(v[CoefficientField]);
        const bool stepsFit = steps.ok() && steps.value >= 1 && steps.value <= 1e9 &&
                              steps.value == std::trunc(steps.value);
        const bool coefficientFits = k.ok() && k.value > 0 && k.value < 1;
        if (stepsFit)
            options.steps = static_cast<int>(steps.value);
        if (coefficientFits)
            options.coefficient = k.value;
        // The spline buttons are the ones that read the two fields.
        if (IsSpline(chosen) && !stepsFit) {
            ws_.ui.FieldRefused("Шагов=", StepsRefusedNotice);
            chosen = 0;
        } else if (chosen == KindSplineSmoothing && !coefficientFits) {
            ws_.ui.FieldRefused("Коэф=", CoefficientRefusedNotice);
            chosen = 0;
        }
    }
    WriteMemory();
    ws_.LastAnswer = chosen;
    return chosen;
}

// ---------------------------------------------------------------------------
// The variable dialog.

std::string GraphVariableRole(int answer, int position) {
    static const char* const superDiagram[] = {"W", "a", "b", "c", "d", "e", "f", "g", "h"};
    switch (answer) {
        case KindFunctions:
        case KindScatter:
        case KindSplineInterpolation:
        case KindSplineSmoothing:
            return position % 2 == 0 ? "X" : "Y";
        case KindDeviations:
            return position % 3 == 0 ? "X" : position % 3 == 1 ? "Y" : "d";
        case KindSmoothingSurface:
        case KindMap3D:
            return position < 3 ? std::string(1, "XYZ"[position]) : std::string();
        case KindSuperDiagram:
            return position < 9 ? superDiagram[position] : "";
        case KindDistributions:
        case KindBoxPlots:
        case KindBars:
        case KindTower:
        case KindTower100:
        case KindPie:
        case MenuYSeries:
        case KindColourMap:
            return "Y";
        default:
            return std::string(1, "XYZ"[position % 3]);
    }
}

Tq34::Tq34(Workspace& ws, int answer) : VariableDialogModel(ws), answer_(answer) {
    ws.SelectedColumns[0] = 0;
    lists_ = {{"Переменные", "Переменные, не включенные в анализ", {}},
              {"На графике", "Переменные на графике в порядке их ролей", {}}};
    for (int col = 1; col <= ws.sheet.VariableCount(); ++col)
        lists_[0].items.push_back(VariableItem(ws, col));
}

std::vector<std::string> Tq34::texts() const {
    return {"Выберите переменные для графика", "в порядке их ролей и нажмите <Enter>"};
}

std::vector<VariableButton> Tq34::buttons() const {
    return {
        {VariableAction::Include, "→", "Включить выделенную переменную в график"},
        {VariableAction::Exclude, "←", "Исключить выделенную переменную из графика"},
        {VariableAction::All, "Все", "Включить все переменные в график"},
        {VariableAction::Restore, "↺", "Восстановить предыдущие переменные"},
        {VariableAction::Confirm, "Утвердить", "Утвердить и завершить выбор"},
        {VariableAction::Cancel, "Отменить", "Отменить выбор и меню"},
    };
}

std::vector<std::string> Tq34::roles(int list) const {
    std::vector<std::string> roles;
    if (list != 1)
        return roles;
    for (std::size_t i = 0; i < lists_[1].items.size(); ++i)
        roles.push_back(GraphVariableRole(answer_, static_cast<int>(i)));
    return roles;
}

void Tq34::Confirm() {
    const int count = SelectChosen(MaxVariables - 1);
    if (count < 0)
        return;
    // The names of points come from the variables until the captions say otherwise.
    ws_.SelectedColumns[count + 1] = 0;
    Remember(GraphVariablesMemory, lists_[1].items);
    Close(1);
}

int pq34(Workspace& ws, int answer) {
    Tq34 dialog(ws, answer);
    {
        const FloatingFlagsKept kept;  // the window's arithmetic is not the command's
        ws.ui.Variables(dialog);
    }
    if (!dialog.closed())
        ws.LastAnswer = 0;
    return ws.LastAnswer;
}

}  // namespace dalvex
