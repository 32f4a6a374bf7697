#include "core/settings_dialog.h"

#include "core/number.h"
#include "core/text.h"
#include "core/workspace.h"

namespace dalvex {

FormDialog SettingsForm(const SettingsValues& v) {
    FormDialog form;
    form.caption = SettingsCaption;
    form.Group("Результаты")
        .Field("Уровень значимости = ",
               FormatNumber(v.SignificanceLevel, v.SignificantDigits, v.decimalSeparator),
               "Введите уровень значимости 0<P<0.2")
        .Field("Значащих цифр =  ", std::to_string(v.SignificantDigits),
               "Введите число значащих цифр для отображення дынных и результатов : 2<n<10")
        .Check(ExactProbabilitiesLabel, v.exactProbabilities,
               "Значимости и критические значения по точным законам распределений")
        .Group("Электронная таблица")
        .Field("Ширина столбцов =", FormatNumber(v.columnWidth, v.SignificantDigits),
               "Ширина столбцов в электронной таблице")
        .Field("Высота строк =", std::to_string(v.rowHeight), "Высота строк в электронной таблице")
        .Button("Утвердить", 1, "Утвердить введенные значения")
        .Button("Отменить", 0, "Отменить запрос параметров");
    return form;
}

namespace {

// A whole number, or nothing when the text is not one.
bool WholeNumber(const std::string& text, int& out) {
    const ParsedNumber n = ParseNumber(Trim(text));
    if (!n.ok() || n.value != static_cast<double>(static_cast<long long>(n.value)) ||
        n.value < -1e9 || n.value > 1e9)
        return false;
    out = static_cast<int>(n.value);
    return true;
}

}  // namespace

SettingsChange ApplySettingsForm(const FormAnswer& answer, SettingsValues& v) {
    SettingsChange change;
    if (answer.button != 1 || answer.values.size() < 5)
        return change;
    change.accepted = true;
    const ParsedNumber level = ParseNumber(Trim(answer.values[0]));
    if (level.ok() && ValidSignificanceLevel(level.value))
        v.SignificanceLevel = level.value;
    int number = 0;
    if (WholeNumber(answer.values[1], number) && ValidSignificantDigits(number))
        v.SignificantDigits = number;
    v.exactProbabilities = Trim(answer.values[2]) == "1";
    if (WholeNumber(answer.values[3], number) && ValidColumnWidth(number) &&
        number != v.columnWidth) {
        v.columnWidth = number;
        change.sheetChanged = true;
    }
    if (WholeNumber(answer.values[4], number) && ValidRowHeight(number) && number != v.rowHeight) {
        v.rowHeight = number;
        change.sheetChanged = true;
    }
    return change;
}

SettingsChange Tqset(Workspace& ws) {
    const FormAnswer answer = ShowForm(ws, SettingsForm(ws.settings));
    return ApplySettingsForm(answer, ws.settings);
}

// ---------------------------------------------------------------------------

int Tqqmcl::SlotOf(Target target) {
    switch (target) {
        case Target::LowerPanel:
            return 0;
        case Target::UpperPanel:
            return 1;
        case Target::Captions:
            return 2;
        case Target::Explanations:
            return 4;  // colour 4 is kept but never chosen
    }
    return 0;
}

std::int32_t Tqqmcl::ColorOf(Target target) const {
    return values_.dialogColors[SlotOf(target)];
}

void Tqqmcl::Choose(Target target, std::int32_t color) {
    if (ValidColor(color))
        values_.dialogColors[SlotOf(target)] = color;
}

void Tqqmcl::Standard() {
    const SettingsValues defaults;  // the defaults are the "Стандарт" scheme
    for (int slot : {0, 1, 2, 4})
        values_.dialogColors[slot] = defaults.dialogColors[slot];
}

void Tqqmcl::Grey() {
    constexpr auto buttonFace = static_cast<std::int32_t>(0x8000000Fu);
    constexpr auto windowText = static_cast<std::int32_t>(0x80000008u);
    values_.dialogColors[0] = buttonFace;
    values_.dialogColors[1] = buttonFace;
    values_.dialogColors[2] = windowText;
    values_.dialogColors[4] = windowText;
}

const char* Tqqmcl::ButtonText(Target target) {
    switch (target) {
        case Target::LowerPanel:
            return "Панель1";
        case Target::UpperPanel:
            return "Панель2";
        case Target::Captions:
            return "Заголовок";
        case Target::Explanations:
            return "Пояснение";
    }
    return "";
}

const char* Tqqmcl::ButtonHint(Target target) {
    switch (target) {
        case Target::LowerPanel:
            return "Цвет нижней панели";
        case Target::UpperPanel:
            return "Цвет верхней панели";
        case Target::Captions:
            return "Цвет заголовков";
        case Target::Explanations:
            return "Цвет пояснений";
    }
    return "";
}

}  // namespace dalvex
