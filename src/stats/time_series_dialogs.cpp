#include "stats/time_series_dialogs.h"

#include <algorithm>
#include <limits>

#include "core/arithmetic_fault.h"
#include "core/settings.h"
#include "core/text.h"

namespace dalvex {

TimeSeriesMemory ReadTimeSeriesMemory(Workspace& ws, const std::string& file, int fields) {
    TimeSeriesMemory memory;
    std::vector<std::string> lines;
    if (!ReadLinesFile(ws.ProgramFolder + file, lines).ok) {
        ws.ui.Beep();
        return memory;
    }
    const auto split = lines.begin() + std::min<std::ptrdiff_t>(fields, lines.size());
    memory.fields.assign(lines.begin(), split);
    memory.entries.assign(split, lines.end());
    return memory;
}

void WriteTimeSeriesMemory(Workspace& ws, const std::string& file, const TimeSeriesMemory& memory) {
    std::vector<std::string> lines = memory.fields;
    lines.insert(lines.end(), memory.entries.begin(), memory.entries.end());
    if (!WriteLinesFile(ws.ProgramFolder + file, lines).ok)
        ws.ui.Beep();
}

TimeSeriesVariables::TimeSeriesVariables(Workspace& ws, std::string caption,
                                         std::vector<std::string> remembered,
                                         bool chooseOnlyVariable)
    : VariableDialogModel(ws), caption_(std::move(caption)), remembered_(std::move(remembered)) {
    ws.SelectedColumns[0] = 0;
    ws.LastAnswer = 0;
    lists_ = {{"Переменные", "Переменные, не включенные в анализ", {}},
              {"Для анализа", "Один или два ряда: X, затем Y", {}}};
    for (int col = 1; col <= ws.sheet.VariableCount(); ++col)
        lists_[0].items.push_back(VariableItem(ws, col));
    if (chooseOnlyVariable && ws.sheet.VariableCount() == 1) {
        Move(0, {0}, 1);
        Confirm();
    }
}

std::vector<std::string> TimeSeriesVariables::texts() const {
    return {"Выберите один или два ряда ", "для анализа и нажмите <Enter>"};
}

std::vector<VariableButton> TimeSeriesVariables::buttons() const {
    return {{VariableAction::Include, "→", "Включить выделенную переменную в анализ"},
            {VariableAction::Exclude, "←", "Исключить выделенную переменную из анализа"},
            {VariableAction::All, "Все", "Включить в анализ первые две переменные"},
            {VariableAction::Restore, "↺", "Восстановить предыдущие переменные"},
            {VariableAction::Confirm, "Утвердить", "Утвердить и завершить выбор"},
            {VariableAction::Cancel, "Отменить", "Отменить выбор и меню"}};
}

void TimeSeriesVariables::Confirm() {
    // Include keeps the chosen list within capacity().
    if (SelectChosen(capacity()) < 0)
        return;
    Close(1);
}

// An integer field where an empty text counts 0.
int IntegerOrZero(FormReader& read, int field, const char* notice) {
    if (read.ok() && field < static_cast<int>(read.answer().values.size()) &&
        Trim(read.answer().values[field]).empty())
        return 0;
    return read.Integer(field, std::numeric_limits<int>::min(), std::numeric_limits<int>::max(),
                        notice);
}

int ChooseTimeSeries(Workspace& ws, const std::string& caption, TimeSeriesMemory& memory,
                     bool chooseOnlyVariable) {
    TimeSeriesVariables dialog(ws, caption, memory.entries, chooseOnlyVariable);
    if (!dialog.closed()) {
        const FloatingFlagsKept kept;  // the window's arithmetic is not the command's
        ws.ui.Variables(dialog);
    }
    if (!dialog.closed())
        ws.LastAnswer = 0;
    if (ws.LastAnswer != 0)
        memory.entries = dialog.chosen();
    return ws.LastAnswer;
}

}  // namespace dalvex
