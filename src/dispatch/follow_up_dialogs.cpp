#include "dispatch/follow_up_dialogs.h"

#include <algorithm>
#include <filesystem>

#include "core/arithmetic_fault.h"
#include "core/number.h"
#include "core/settings.h"

namespace dalvex {

namespace {

FormAnswer ShowFormKeepingFlags(Workspace& ws, const FormDialog& form) {
    const FloatingFlagsKept kept;  // the window's arithmetic is not the command's
    return ws.ui.Form(form);
}

}  // namespace

namespace {

// The text of field i as answered (empty when the answer has none).
std::string Value(const FormAnswer& answer, std::size_t i) {
    return i < answer.values.size() ? answer.values[i] : std::string();
}

}  // namespace

FormDialog Tqq09Form(int n, const std::vector<std::string>& lines) {
    FormDialog form;
    form.caption = "Оценки коэффициентов";
    form.Group("Оценки коэффициентов");
    for (int i = 0; i <= n && i < EstimateLines; ++i)
        form.Field("a" + std::to_string(i) + "=",
                   i < static_cast<int>(lines.size()) ? lines[i] : "");
    form.Button("Утвердить", 1, "Утвердить произведенные установки")
        .Button("Обнулить", 2, "Приписать всем коэффициентам единичные значения");
    return form;
}

int pq09(Workspace& ws, int n) {
    n = std::clamp(n, 0, EstimateLines - 1);
    const std::string path = ws.ProgramFolder + EstimatesMemory;
    std::vector<std::string> lines;
    if (!std::filesystem::exists(path)) {
        ws.ui.Beep();
    } else if (const SettingsFileResult read = ReadLinesFile(path, lines); !read.ok) {
        ShowNotice(ws, "Прерывание: " + read.error);
        lines.clear();
    }
    lines.resize(EstimateLines);
    for (int i = n + 1; i < EstimateLines; ++i)
        lines[i].clear();
    for (;;) {
        const FormAnswer answer = ShowFormKeepingFlags(ws, Tqq09Form(n, lines));
        ws.LastAnswer = answer.button;
        if (answer.button == 2) {
            for (int i = 0; i <= n; ++i)
                lines[i] = "1";
            continue;
        }
        if (answer.button != 1)
            return 0;
        for (int i = 0; i <= n && i < static_cast<int>(answer.values.size()); ++i)
            lines[i] = answer.values[i];
        break;
    }
    for (int i = 0; i <= n; ++i) {
        const ParsedNumber parsed = ParseNumber(lines[i]);
        const double value = parsed.ok() ? parsed.value : 0.0;
        ws.store.Vec1(i) = value == 0.0 ? 1.0 : value;
    }
    if (!WriteLinesFile(path, lines).ok)
        ws.ui.Beep();
    ws.LastAnswer = 1;
    return 1;
}

FormDialog Tqq110Form(int factors) {
    FormDialog form;
    form.caption = "Продолжение анализа";
    form.Group("Вращение")
        .Field("Вращать факторов=", std::to_string(factors),
               "Введите число главных факторов для вращения")
        .Button("&1=варимакс  ", 1)
        .Button("&2=квартимакс", 2)
        .Button("&3=эквимакс  ", 3)
        .Button("&4=биквартимакс", 4)
        .Button("&5=обликью", 5)
        .Button("&0=Прогнозирование", 6, "Прогнозирование и интерполяция")
        .Button("<Esc>=Отменить", 0, "Отменить дальнейшее вращение");
    return form;
}

int pq110(Workspace& ws) {
    const FormAnswer answer = ShowForm(ws, Tqq110Form(ws.AnswerNumber));
    ws.AnswerNumber = ParseInteger(Value(answer, 0));
    return ws.LastAnswer;
}

FormDialog Tqq122Form() {
    FormDialog form;
    form.caption = "Что дальше?";
    form.Group("Графики")
        .Field("X=", "1", "Порядковый номер независимой переменной для проекции")
        .Button("&1=Анализ остатков", 4, "Выдать таблицу анализа регрессионных остатков")
        .Button("&2=Остатки на Y             ", 1, "Проекция остатков на зависимую переменную")
        .Button(" &3=Остатки на X  ", 2, "Проекция остатков на указанную независимую переменную")
        .Button("&4=Регрессия на X", 3,
                "Проекция регрессионных точек на указанную независимую переменную")
        .Button("<Esc>=Закончить ", 0, "Закончит выдачу графиков");
    return form;
}

int pq122(Workspace& ws) {
    const FormAnswer answer = ShowForm(ws, Tqq122Form());
    if (answer.button == 2 || answer.button == 3)
        ws.AnswerNumber = ParseInteger(Value(answer, 0));
    return ws.LastAnswer;
}

FormDialog Tqq123Form() {
    FormDialog form;
    form.caption = "Что дальше?";
    form.Group("Анализ")
        .Field("шагов=", "10", "Укажите число шагов прогнозирования")
        .Field("шаг=", "1", "Укажите величину шага прогнозирования")
        .Button("&1=Анализ остатков ", 1)
        .Button(" &2=Прогнозирование", 2)
        .Button("&3=Выбрать новую модель", 3)
        .Button("<Esc>=Закончить анализ", 0);
    return form;
}

int pq123(Workspace& ws) {
    FormDialog form = Tqq123Form();
    const std::string path = ws.ProgramFolder + ModelFollowUpMemory;
    std::vector<std::string> remembered;
    if (ReadLinesFile(path, remembered).ok)
        form.SetValues(remembered);
    else
        ws.ui.Beep();
    const FormAnswer answer = ShowFormKeepingFlags(ws, form);
    ws.LastAnswer = answer.button;
    if (answer.button == 2) {
        ws.AnswerNumber = ParseInteger(Value(answer, 0));
        const ParsedNumber step = ParseNumber(Value(answer, 1));
        ws.AnswerValue = step.ok() ? step.value : 0.0;
    }
    // Written whichever way the dialog closed.
    if (!WriteLinesFile(path, {Value(answer, 0), Value(answer, 1)}).ok)
        ws.ui.Beep();
    return ws.LastAnswer;
}

}  // namespace dalvex
