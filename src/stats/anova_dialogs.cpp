#include "stats/anova_dialogs.h"

#include <algorithm>

#include "core/arithmetic_fault.h"

namespace dalvex {

GroupContrastDialog::GroupContrastDialog(Workspace& ws, const std::vector<int>& columns) : ws_(ws) {
    for (int column : columns)
        items_.push_back(VariableItem(ws, column));
    lists_ = {{"Исходн.перем.", "Группы анализа", items_},
              {"Группа 1", "Группы первого множества", {}},
              {"Группа 2", "Группы второго множества", {}}};
}

std::string GroupContrastDialog::caption() const {
    return ContrastCaption;
}

std::vector<std::string> GroupContrastDialog::texts() const {
    return {"Выберите группы для сравнения их средних "};
}

std::vector<VariableButton> GroupContrastDialog::buttons() const {
    return {{VariableAction::ChooseX, "1 →", "В группу 1"},
            {VariableAction::ChooseY, "2 →", "В группу 2"},
            {VariableAction::Exclude, "←", "Вернуть выделенные группы"},
            {VariableAction::Confirm, "Утвердить", "Сравнить группу 1 с группой 2"},
            {VariableAction::Cancel, "Отменить", "Закончить сравнения"}};
}

int GroupContrastDialog::helpContext() const {
    return ws_.RunHelpContext;
}

void GroupContrastDialog::Move(int from, std::vector<int> indices, int to) {
    std::sort(indices.begin(), indices.end());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    auto& source = lists_[from].items;
    for (int i : indices)
        if (i >= 0 && i < static_cast<int>(source.size()))
            lists_[to].items.push_back(source[i]);
    for (auto it = indices.rbegin(); it != indices.rend(); ++it)
        if (*it >= 0 && *it < static_cast<int>(source.size()))
            source.erase(source.begin() + *it);
}

void GroupContrastDialog::Press(VariableAction action,
                                const std::vector<std::vector<int>>& selected) {
    auto chosen = [&](int list) {
        return list < static_cast<int>(selected.size()) ? selected[list] : std::vector<int>{};
    };
    switch (action) {
        case VariableAction::ChooseX:
        case VariableAction::Include:
            Move(Offered, chosen(Offered), First);
            break;
        case VariableAction::ChooseY:
            Move(Offered, chosen(Offered), Second);
            break;
        case VariableAction::Exclude:
            Move(First, chosen(First), Offered);
            Move(Second, chosen(Second), Offered);
            break;
        case VariableAction::Enter:
        case VariableAction::Confirm:
            Confirm();
            break;
        case VariableAction::Cancel:
            ws_.LastAnswer = 0;
            closed_ = true;
            break;
        default:
            break;
    }
}

void GroupContrastDialog::DoubleClick(int list, int item) {
    if (list == Offered)
        Move(Offered, {item}, lists_[First].items.empty() ? First : Second);
    else if (list == First || list == Second)
        Move(list, {item}, Offered);
}

void GroupContrastDialog::Confirm() {
    // A comparison needs a group on each side.
    if (lists_[First].items.empty() || lists_[Second].items.empty()) {
        ws_.ui.Beep();
        return;
    }
    for (int s = 0; s < 2; ++s) {
        sets_[s].clear();
        for (const std::string& item : lists_[First + s].items)
            sets_[s].push_back(
                static_cast<int>(std::find(items_.begin(), items_.end(), item) - items_.begin()));
    }
    ws_.LastAnswer = 1;
    closed_ = true;
}

bool AskGroupContrast(Workspace& ws, GroupContrastDialog& dialog) {
    {
        const FloatingFlagsKept kept;  // the window's arithmetic is not the command's
        ws.ui.Variables(dialog);
    }
    return dialog.closed() && ws.LastAnswer == 1;
}

}  // namespace dalvex
