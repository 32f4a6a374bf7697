#include "dispatch/variable_dialogs.h"

#include <algorithm>

#include "core/arithmetic_fault.h"
#include "core/settings.h"

namespace dalvex {

namespace {

constexpr const char* IncludeGlyph = "→";
constexpr const char* ExcludeGlyph = "←";
constexpr const char* RestoreGlyph = "↺";
constexpr const char* ConfirmHint = "Утвердить и завершить выбор";
constexpr const char* CancelHint = "Отменить выбор и меню";
constexpr const char* RestoreHint = "Восстановить предыдущие переменные";
constexpr const char* AllHint = "Включить все переменные в анализ";

const std::vector<int>& Selection(const std::vector<std::vector<int>>& selected, int list) {
    static const std::vector<int> none;
    return list < static_cast<int>(selected.size()) ? selected[list] : none;
}

}  // namespace

VariableDialogModel::VariableDialogModel(Workspace& ws) : ws_(ws) {}

std::vector<int> VariableDialogModel::Every(int list) const {
    std::vector<int> every(lists_[list].items.size());
    for (std::size_t i = 0; i < every.size(); ++i)
        every[i] = static_cast<int>(i);
    return every;
}

void VariableDialogModel::MoveAcross(int list, int item) {
    if (list == 0)
        Include({item});
    else if (list == 1)
        Move(1, {item}, 0);
}

void VariableDialogModel::Include(std::vector<int> indices) {
    const int most = capacity();
    if (most > 0) {
        std::sort(indices.begin(), indices.end());
        indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
        const std::size_t limit = static_cast<std::size_t>(most);
        const std::size_t room = limit - std::min(limit, lists_[1].items.size());
        if (indices.size() > room)
            indices.resize(room);
    }
    Move(0, indices, 1);
}

void VariableDialogModel::Press(VariableAction action,
                                const std::vector<std::vector<int>>& selected) {
    switch (action) {
        case VariableAction::Include:
            Include(Selection(selected, 0));
            break;
        case VariableAction::Exclude:
            Move(1, Selection(selected, 1), 0);
            break;
        case VariableAction::All:
            Include(Every(0));
            break;
        case VariableAction::Restore:
            for (const std::string& line : RememberedChoice()) {
                if (capacity() > 0 &&
                    lists_[1].items.size() >= static_cast<std::size_t>(capacity()))
                    break;
                MoveMatching(line, 1);
            }
            break;
        case VariableAction::Enter:
            Include(Selection(selected, 0));
            Confirm();
            break;
        case VariableAction::Confirm:
            Confirm();
            break;
        case VariableAction::Cancel:
            Close(0);
            break;
        default:
            PressOther(action);
            break;
    }
}

void VariableDialogModel::DoubleClick(int list, int item) {
    MoveAcross(list, item);
}

int VariableDialogModel::SelectChosen(int most) {
    if (lists_[1].items.empty()) {
        Close(0);
        return -1;
    }
    std::vector<int> columns;
    if (!Columns(1, columns))
        return -1;
    const int count = std::min(static_cast<int>(columns.size()), most);
    ws_.SelectedColumns[0] = count;
    std::copy_n(columns.begin(), count, ws_.SelectedColumns.begin() + 1);
    return count;
}

void VariableDialogModel::Move(int from, const std::vector<int>& indices, int to) {
    std::vector<int> sorted = indices;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    std::vector<std::string>& source = lists_[from].items;
    std::vector<std::string>& target = lists_[to].items;
    for (int i : sorted)
        if (i >= 0 && i < static_cast<int>(source.size()))
            target.push_back(source[i]);
    for (auto it = sorted.rbegin(); it != sorted.rend(); ++it)
        if (*it >= 0 && *it < static_cast<int>(source.size()))
            source.erase(source.begin() + *it);
}

bool VariableDialogModel::MoveMatching(const std::string& text, int to) {
    const auto& offered = lists_[0].items;
    const auto it = std::find(offered.begin(), offered.end(), text);
    if (it == offered.end())
        return false;
    Move(0, {static_cast<int>(it - offered.begin())}, to);
    return true;
}

bool VariableDialogModel::Columns(int list, std::vector<int>& columns) {
    columns.clear();
    for (const std::string& item : lists_[list].items) {
        const auto column = ItemColumn(item);
        if (!column) {
            ws_.ui.Beep();
            return false;
        }
        columns.push_back(*column);
    }
    return true;
}

void VariableDialogModel::Remember(const char* file, const std::vector<std::string>& items) {
    if (!WriteLinesFile(ws_.ProgramFolder + file, items).ok)
        ws_.ui.Beep();
}

std::vector<std::string> VariableDialogModel::Remembered(const char* file) {
    std::vector<std::string> lines;
    if (!ReadLinesFile(ws_.ProgramFolder + file, lines).ok)
        lines.clear();
    return lines;
}

void VariableDialogModel::Close(int answer) {
    ws_.LastAnswer = answer;
    closed_ = true;
}

// ---------------------------------------------------------------------------
// The list of variables.

Tq30::Tq30(Workspace& ws, bool offerPairs) : VariableDialogModel(ws), offerPairs_(offerPairs) {
    ws.SelectedColumns[0] = 0;
    ws.PairListRead = false;
    lists_ = {{"Переменные", "Переменные, не включенные в анализ", {}},
              {"Для анализа", "Список выбранных переменных для анализа", {}}};
    for (int col = 1; col <= ws.sheet.VariableCount(); ++col)
        lists_[0].items.push_back(VariableItem(ws, col));
}

std::vector<std::string> Tq30::texts() const {
    return {"Выберите переменные ", "для анализа и нажмите <Enter>"};
}

std::vector<VariableButton> Tq30::buttons() const {
    std::vector<VariableButton> buttons = {
        {VariableAction::Include, IncludeGlyph, "Включить выделенную переменную в анализ"},
        {VariableAction::Exclude, ExcludeGlyph, "Исключить выделенную переменную из анализа"},
        {VariableAction::All, "Все", AllHint},
        {VariableAction::Restore, RestoreGlyph, RestoreHint},
    };
    if (offerPairs_)
        buttons.push_back({VariableAction::ReadPairs, "*.txt", "Чтение списка пар из файла"});
    buttons.push_back({VariableAction::Confirm, "Утвердить", ConfirmHint});
    buttons.push_back({VariableAction::Cancel, "Отменить", CancelHint});
    return buttons;
}

void Tq30::PressOther(VariableAction action) {
    if (action == VariableAction::ReadPairs && offerPairs_)
        ReadPairs();
}

void Tq30::Confirm() {
    if (SelectChosen(MaxVariables) < 0)
        return;
    Remember(ListDialogMemory, lists_[1].items);
    Close(1);
}

void Tq30::ReadPairs() {
    const FileChoice choice = ws_.ui.ChooseFile({0, PairFileFilter, {}, {}, 0});
    if (!choice.chosen)
        return;
    std::vector<std::string> lines;
    if (!ReadLinesFile(choice.path, lines).ok) {
        ws_.ui.Beep();
        return;
    }
    ws_.PairListRead = true;
    ws_.LineBuffer = std::move(lines);
    Confirm();
}

// ---------------------------------------------------------------------------
// A single variable.

Tq030::Tq030(Workspace& ws) : VariableDialogModel(ws) {
    ws.SelectedColumns[0] = 0;
    ws.LastAnswer = 0;
    lists_ = {{"Исходн.перем.", "", {}}, {"Для анализа", "Выбранная переменная для анализа", {}}};
    for (int col = 1; col <= ws.sheet.VariableCount(); ++col)
        lists_[0].items.push_back(VariableItem(ws, col));
    if (ws.sheet.VariableCount() == 1) {
        ws.SelectedColumns[0] = 1;
        ws.SelectedColumns[1] = 1;
        Close(1);
    }
}

std::vector<std::string> Tq030::texts() const {
    return {"Выберите переменную ", "для анализа и нажмите <Enter>"};
}

std::vector<VariableButton> Tq030::buttons() const {
    return {{VariableAction::Include, IncludeGlyph, "Включить выделенную переменную в анализ"},
            {VariableAction::Exclude, ExcludeGlyph, "Исключить выделенную переменную из анализа"},
            {VariableAction::Confirm, "Утвердить", ConfirmHint},
            {VariableAction::Cancel, "Отменить", CancelHint}};
}

void Tq030::Press(VariableAction action, const std::vector<std::vector<int>>& selected) {
    switch (action) {
        case VariableAction::Include: {
            const std::vector<int>& chosen = Selection(selected, 0);
            if (!lists_[1].items.empty() || chosen.empty())
                break;
            Move(0, {chosen.front()}, 1);
            Confirm();
            break;
        }
        case VariableAction::Enter:
            // The highlighted variable, when none is chosen yet; Include
            // confirms it.
            if (lists_[1].items.empty() && !Selection(selected, 0).empty())
                Press(VariableAction::Include, selected);
            else
                Confirm();
            break;
        case VariableAction::Exclude:
        case VariableAction::Confirm:
        case VariableAction::Cancel:
            VariableDialogModel::Press(action, selected);
            break;
        default:  // one variable: no All, Restore or pairs
            break;
    }
}

void Tq030::DoubleClick(int list, int item) {
    if (list == 0)
        Press(VariableAction::Include, {{item}});
    else if (list == 1)
        Move(1, {item}, 0);
}

void Tq030::Confirm() {
    if (lists_[1].items.empty()) {
        ws_.LastAnswer = 0;
        // The previous choice is offered for confirmation, but only when a
        // current variable has exactly its name and column.
        const std::vector<std::string> remembered = Remembered(SingleDialogMemory);
        if (remembered.empty() || !MoveMatching(remembered.front(), 1))
            Close(0);
        return;
    }
    std::vector<int> columns;
    if (!Columns(1, columns))
        return;
    ws_.SelectedColumns[0] = 1;
    ws_.SelectedColumns[1] = columns.front();
    Remember(SingleDialogMemory, {lists_[1].items.front()});
    Close(1);
}

// ---------------------------------------------------------------------------
// The X and Y variables of a regression.

Tq31::Tq31(Workspace& ws) : VariableDialogModel(ws) {
    ws.SelectedColumns[0] = 0;
    ws.LastAnswer = 0;
    lists_ = {{"Переменные", "", {}},
              {"X-переменные", "Список независимых переменных", {}},
              {"Y-переменная", "Заисимая переменная-отклик", {}}};
    for (int col = 1; col <= ws.sheet.VariableCount(); ++col)
        lists_[0].items.push_back(VariableItem(ws, col));
}

std::vector<std::string> Tq31::texts() const {
    return {"Выберите X и Y переменные "};
}

std::vector<VariableButton> Tq31::buttons() const {
    return {{VariableAction::ChooseY, "Y " + std::string(IncludeGlyph),
             "Выбрать переменную-отклик (зависимую)"},
            {VariableAction::ChooseX, "X " + std::string(IncludeGlyph),
             "Выбрать независимые переменные"},
            {VariableAction::Exclude, ExcludeGlyph, "Исключить выделенную переменную из списка"},
            {VariableAction::All, "Все", AllHint},
            {VariableAction::Restore, RestoreGlyph, RestoreHint},
            {VariableAction::Confirm, "Утвердить", ConfirmHint},
            {VariableAction::Cancel, "Отменить", CancelHint}};
}

void Tq31::Press(VariableAction action, const std::vector<std::vector<int>>& selected) {
    switch (action) {
        case VariableAction::ChooseY: {
            const std::vector<int>& chosen = Selection(selected, Offered);
            if (lists_[Y].items.empty() && !chosen.empty())
                Move(Offered, {*std::min_element(chosen.begin(), chosen.end())}, Y);
            break;
        }
        case VariableAction::ChooseX:
            ChooseX(Selection(selected, Offered));
            break;
        case VariableAction::Exclude:
            // The Y item first, so the X items keep their order behind it.
            Move(Y, Selection(selected, Y), Offered);
            Move(Xs, Selection(selected, Xs), Offered);
            break;
        case VariableAction::All:
            All();
            break;
        case VariableAction::Restore:
            Restore();
            break;
        case VariableAction::Enter:  // X and Y are chosen by their buttons
        case VariableAction::Confirm:
            Confirm();
            break;
        case VariableAction::Cancel:
            Close(0);
            break;
        default:
            break;
    }
}

void Tq31::DoubleClick(int list, int item) {
    if (list == Offered) {
        if (simple() && lists_[Xs].items.size() == 1)
            Press(VariableAction::ChooseY, {{item}});
        else
            ChooseX({item});
    } else if (list == Xs || list == Y) {
        Move(list, {item}, Offered);
    }
}

void Tq31::ChooseX(std::vector<int> indices) {
    std::sort(indices.begin(), indices.end());
    if (simple()) {
        const std::size_t room = lists_[Xs].items.empty() ? 1 : 0;
        if (indices.size() > room)
            indices.resize(room);
    }
    Move(Offered, indices, Xs);
}

void Tq31::All() {
    const int offered = static_cast<int>(lists_[Offered].items.size());
    if (offered == 0)
        return;
    // Without a Y the last variable is the response.
    if (lists_[Y].items.empty())
        Move(Offered, {offered - 1}, Y);
    ChooseX(Every(Offered));
}

void Tq31::Restore() {
    const std::vector<std::string> lines = Remembered(RegressionDialogMemory);
    if (lines.empty())
        return;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        const auto& offered = lists_[Offered].items;
        const auto it = std::find(offered.begin(), offered.end(), lines[i]);
        if (it != offered.end())
            ChooseX({static_cast<int>(it - offered.begin())});
    }
    if (lists_[Y].items.empty())
        MoveMatching(lines.back(), Y);
}

void Tq31::Confirm() {
    if (lists_[Y].items.empty())
        return;
    std::vector<int> xs;
    std::vector<int> y;
    if (!Columns(Xs, xs) || !Columns(Y, y))
        return;
    const int count = std::min<int>(static_cast<int>(xs.size()), MaxVariables - 1);
    ws_.SelectedColumns[0] = count + 1;
    std::copy_n(xs.begin(), count, ws_.SelectedColumns.begin() + 1);
    ws_.SelectedColumns[count + 1] = y.front();
    std::vector<std::string> items = lists_[Xs].items;
    items.push_back(lists_[Y].items.front());
    Remember(RegressionDialogMemory, items);
    Close(1);
}

// ---------------------------------------------------------------------------

namespace {

int ShowVariables(Workspace& ws, VariableDialog& dialog) {
    if (!dialog.closed()) {
        const FloatingFlagsKept kept;  // the window's arithmetic is not the command's
        ws.ui.Variables(dialog);
    }
    if (!dialog.closed())
        ws.LastAnswer = 0;
    return ws.LastAnswer;
}

}  // namespace

int pq30(Workspace& ws, bool offerPairs) {
    Tq30 dialog(ws, offerPairs);
    return ShowVariables(ws, dialog);
}

int pq030(Workspace& ws) {
    Tq030 dialog(ws);
    return ShowVariables(ws, dialog);
}

int pq31(Workspace& ws) {
    Tq31 dialog(ws);
    return ShowVariables(ws, dialog);
}

}  // namespace dalvex
