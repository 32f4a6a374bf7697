#include "macros/macro_dialogs.h"

#include "core/number.h"
#include "core/text.h"
#include "core/workspace.h"

namespace dalvex {

std::string MacroKeyLabel(int number) {
    return "&" + std::to_string(number % 10) + "=";
}

FormDialog DefinitionForm(const MacroNames& names) {
    FormDialog form;
    form.caption = DefinitionCaption;
    form.Group(DefinitionGroup);
    std::vector<std::string> numbers;
    for (int k = 1; k <= MacroCount; ++k)
        numbers.push_back(MacroKeyLabel(k));
    form.Choice("Макрокоманда", numbers, -1, "Выберите переопределяемую маркокоманду");
    for (int k = 1; k <= MacroCount; ++k)
        form.Field(MacroKeyLabel(k), names.names[k - 1],
                   "Введите или измените наименование макрокоманды");
    form.Button("Утвердить", 1, "Начать переопределение выбранной макрокоманды")
        .Button("Отменить", 0, "Отменить переопределение макрокоманды");
    return form;
}

int DefinitionAnswer(const FormAnswer& answer, const MacroNames& shown, MacroNames& names) {
    names = shown;
    if (answer.button != 1 || answer.values.size() < 1 + MacroCount)
        return 0;
    int edited = 0;
    for (int k = 0; k < MacroCount; ++k) {
        names.names[k] = answer.values[1 + k];
        if (edited == 0 && names.names[k] != shown.names[k])
            edited = k + 1;
    }
    const int chosen = ParseInteger(answer.values[0]) + 1;
    if (chosen >= 1 && chosen <= MacroCount)
        return chosen;
    return edited != 0 ? edited : 1;
}

FormDialog ExecutionForm(const MacroNames& names) {
    FormDialog form;
    form.caption = DefinitionCaption;
    for (int k = 1; k <= MacroCount; ++k) {
        form.GroupButton(ExecutionGroup, MacroKeyLabel(k) + names.names[k - 1], k);
        form.buttons.back().hint = "Выполнить макрокоманду " + std::to_string(k);
    }
    form.Group("").Field("раз", Trim(names.repeatCount),
                         "Повторить последнюю макрокоманду указанное число раз");
    form.Button("Повторить=", 11, "Повторить последнюю макрокоманду указанное число раз")
        .Button("Отменить", 0, "Отменить исполнение макрокоманд");
    return form;
}

int ShowDefinitionDialog(Workspace& ws, const std::string& folder) {
    const MacroNames shown = ReadMacroNames(folder);
    if (!shown.ok)
        ws.ui.Beep();
    const FormAnswer answer = ShowForm(ws, DefinitionForm(shown));
    MacroNames names;
    const int number = DefinitionAnswer(answer, shown, names);
    if (number > 0 && !WriteMacroNames(folder, names))
        ws.ui.Beep();
    return number;
}

ExecutionAnswer ShowExecutionDialog(Workspace& ws, const std::string& folder) {
    MacroNames names = ReadMacroNames(folder);
    if (!names.ok)
        ws.ui.Beep();
    const FormAnswer answer = ShowForm(ws, ExecutionForm(names));
    if (!answer.values.empty())
        names.repeatCount = Trim(answer.values[0]);
    if (!WriteMacroNames(folder, names))
        ws.ui.Beep();
    ExecutionAnswer result{answer.button, 0};
    if (answer.button == 11) {
        const ParsedNumber count = ParseNumber(names.repeatCount);
        result.count = count.ok() && count.value >= -1e9 && count.value <= 1e9
                           ? static_cast<int>(count.value)
                           : 0;
    }
    return result;
}

}  // namespace dalvex
