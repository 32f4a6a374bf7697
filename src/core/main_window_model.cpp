#include "core/main_window_model.h"

#include <algorithm>

namespace dalvex {

// ---------------------------------------------------------------------------
// Menu and tool bar.

const std::vector<MenuBarEntry>& MainMenu() {
    using C = MainCommand;
    static const std::vector<MenuBarEntry> menu{
        {"Файл",
         {
             {C::Open, "Открыть...", "Ввести (считать) файл из дискового архива в рабочее окно",
              "F3"},
             {C::Save, "Сохранить", "Сохранить файл в дисковом архиве", "F4"},
             {C::Clear, "Очистить", "Закрыть текущий файл и окно", "F5"},
             {C::Print, "Печать", "Вывести файл на принтер", "F2"},
             {C::PrinterSetup, "Принтер", "Установка типа принтера", ""},
             {C::Exit, "Выход", "Выйти из системы DALVEX", "F10"},
         }},
        {"Графики=F6", {}, C::Graphs, "Построение графиков данных", "F6"},
        {"Калькулятор=F7", {}, C::Calculator, "Калькулятор", "F7"},
        {"Преобразования=F8",
         {},
         C::Transformations,
         "Выполнение различных преобразований над данными",
         "F8"},
        {"Статистика=F9", {}, C::Statistics, "Выбор и исполнение статистических методов", "F9"},
        {"Окна",
         {
             {C::Layout, "Каскад=1*1", "Установить число окон, одновременно видимых на экране", ""},
             {C::Cut, "Вырезать", "Вырезать выделенный фрагмент данных и занести в Clipboard",
              "Ctrl+X"},
             {C::Copy, "Копировать", "Копировать выделенный фрагмент данных", "Ctrl+C"},
             {C::Paste, "Вставить", "Сделать вставку данных из Clipboard", "Ctrl+V"},
             {C::Delete, "Удалить", "Удалить выделенный фрагмент данных", "Del"},
             {C::Undo, "Отменить", "Отменить последнее изменение таблицы данных", "Ctrl+Z"},
             {C::Redo, "Повторить", "Повторить отмененное изменение таблицы данных", "Ctrl+Y"},
             {C::Font, "Шрифт", "Выбор шрифта  для текущено окна", ""},
             {C::Colors, "Цвета", "Установка цветов диалоговых меню", ""},
             {C::Settings, "Установки", "Выплнение установок общих параметров", ""},
             {C::Remember, "Запомнить", "Запомнить произведенные установки", ""},
         }},
        {"Помощь=F1",
         {
             {C::HelpContents, "Оглавление", "Выдача оглавлкения экранного справочника", ""},
             {C::HelpSearch, "Поиск", "Поиск раздела по ключевому слову", ""},
             {C::HelpMethod, "Выбор метода", "Выбор метода анализа данных", ""},
             {C::HelpOnHelp, "О Помощи", "Как пользоваться помощью", ""},
             {C::About, "О пакете DALVEX", "Историческая справка", ""},
         }},
    };
    return menu;
}

const std::vector<ToolButton>& MainToolButtons() {
    using C = MainCommand;
    static const std::vector<ToolButton> buttons{
        {C::Open, "Открыть|"},    {C::Save, "Сохранить|"}, {C::Cut, "Вырезать|"},
        {C::Copy, "Копировать|"}, {C::Paste, "Вставить|"}, {C::Print, "Печать"},
        {C::Font, "Шрифт"},
    };
    return buttons;
}

HintParts SplitHint(const std::string& hint) {
    const auto bar = hint.find('|');
    if (bar == std::string::npos)
        return {hint, hint};
    return {hint.substr(0, bar), hint.substr(bar + 1)};
}

// ---------------------------------------------------------------------------
// Graph windows.

GraphWindows::Opening GraphWindows::Open() {
    if (openCount() < MaxGraphWindows)
        current_ = openCount() + 1;
    else
        current_ = current_ % MaxGraphWindows + 1;
    if (exists(current_))
        return {current_, true};
    order_.push_back(current_);
    return {current_, false};
}

void GraphWindows::Close(int number) {
    std::erase(order_, number);
    if (current_ == number)
        current_ = order_.empty() ? 0 : order_.front();
}

void GraphWindows::MoveTab(int from, int to) {
    const int n = openCount();
    if (from < 0 || from >= n || to < 0 || to >= n || from == to)
        return;
    const int number = order_[from];
    order_.erase(order_.begin() + from);
    order_.insert(order_.begin() + to, number);
}

bool GraphWindows::exists(int number) const {
    return positionOf(number) >= 0;
}

int GraphWindows::positionOf(int number) const {
    const auto it = std::find(order_.begin(), order_.end(), number);
    return it == order_.end() ? -1 : static_cast<int>(it - order_.begin());
}

// ---------------------------------------------------------------------------
// TSMForm.

bool IsRoutedCommand(MainCommand command) {
    switch (command) {
        case MainCommand::Open:
        case MainCommand::Save:
        case MainCommand::Print:
        case MainCommand::Clear:
        case MainCommand::Cut:
        case MainCommand::Copy:
        case MainCommand::Paste:
        case MainCommand::Delete:
        case MainCommand::Font:
            return true;
        default:
            return false;
    }
}

CommandTarget TSMForm::Route(MainCommand command) const {
    if (!IsRoutedCommand(command))
        return CommandTarget::Nothing;
    switch (ws_.ActiveWindowKind) {
        case 2:
            return CommandTarget::Results;
        case 3:
            if (graphs_.current() == 0 || command == MainCommand::Delete)
                return CommandTarget::Nothing;
            return CommandTarget::Graph;
        case 0:
            // Before the first paint the sheet takes the commands, but there is
            // nothing yet to clear.
            return command == MainCommand::Clear ? CommandTarget::Nothing : CommandTarget::Sheet;
        default:
            return CommandTarget::Sheet;
    }
}

bool TSMForm::CanExecute(MainCommand command) const {
    switch (command) {
        case MainCommand::Statistics:
        case MainCommand::Graphs:
        case MainCommand::Calculator:
        case MainCommand::Transformations:
        case MainCommand::Settings:  // it changes the sheet at once
        case MainCommand::Undo:
        case MainCommand::Redo:
            return started;
        case MainCommand::Colors:
            return true;
        case MainCommand::HelpContents:
        case MainCommand::HelpSearch:
        case MainCommand::HelpMethod:
        case MainCommand::HelpOnHelp:
        case MainCommand::About:
            return helpAvailable;
        default:
            break;
    }
    if (!IsRoutedCommand(command))
        return true;
    if (!started)
        return false;
    switch (Route(command)) {
        case CommandTarget::Sheet:
        case CommandTarget::Results:
            return true;
        case CommandTarget::Graph:
            return graphs_.exists(graphs_.current());
        default:
            return false;
    }
}

void TSMForm::WindowActivated(int kind, int graphNumber) {
    ws_.ActiveWindowKind = kind;
    if (kind == 3 && graphs_.exists(graphNumber))
        graphs_.SetCurrent(graphNumber);
}

std::vector<std::string> TSMForm::TabCaptions() const {
    std::vector<std::string> captions{"Dat", "Rez"};
    for (int number : graphs_.order())
        captions.push_back("Gr" + std::to_string(number));
    return captions;
}

int TSMForm::currentTab() const {
    if (tabKind_ == 3) {
        const int position = graphs_.positionOf(graphs_.current());
        if (position >= 0)
            return 2 + position;
    }
    return tabKind_ == 2 ? 1 : 0;
}

std::optional<TilingPlan> TSMForm::ChooseTab(int tab, int W, int H) {
    if (runState == RunState::MethodRunning)
        return std::nullopt;
    if (tab < 0 || tab >= 2 + graphs_.openCount())
        return std::nullopt;
    TilingPlan plan = PlanFor(tab, W, H);
    tabKind_ = plan.focusKind;
    ws_.ActiveWindowKind = plan.focusKind;
    if (plan.focusKind == 3)
        graphs_.SetCurrent(plan.focusGraph);
    if (plan.results.change == WindowPlacement::Change::MoveAndResize)
        resultsLeft_ = plan.results.rect.left;
    return plan;
}

TilingPlan TSMForm::PlanFor(int tab, int W, int H) const {
    const int K = columns_;
    const int L = rows_;
    const int cells = K * L;
    // Windows that share a cell's size are one pixel narrower and lower than
    // the cell, so neighbouring frames do not overlap.
    const int cellWidth = (W - 1) / K;
    const int cellHeight = (H - 1) / L;
    auto cellRect = [&](int cell) {
        const int i = (cell - 1) / K;
        const int j = (cell - 1) % K;
        return WindowRect{j * (W / K), i * (H / L), cellWidth, cellHeight};
    };
    using Change = WindowPlacement::Change;
    auto moveTo = [](WindowRect r) { return WindowPlacement{Change::MoveAndResize, r}; };

    TilingPlan plan;
    const std::vector<int>& order = graphs_.order();
    std::size_t firstGraph = 0;  // graphs from this tab position on get cells
    int nextCell = 1;
    if (tab == 0) {
        plan.focusKind = 1;
        plan.sheet = moveTo({0, 0, W / K, H / L});
        if (K > 1)
            plan.results = moveTo({W / K, 0, cellWidth, cellHeight});
        else
            plan.results = {Change::Resize, {0, 0, cellWidth, cellHeight}};
        nextCell = 3;
    } else if (tab == 1) {
        plan.focusKind = 2;
        plan.results = moveTo({0, 0, cellWidth, cellHeight});
        nextCell = 2;
    } else {
        plan.focusKind = 3;
        firstGraph = static_cast<std::size_t>(tab - 2);
        plan.focusGraph = order[firstGraph];
    }
    for (std::size_t p = 0; p < order.size(); ++p) {
        WindowPlacement placement;
        if (p >= firstGraph && nextCell <= cells)
            placement = moveTo(cellRect(nextCell++));
        plan.graphs.emplace_back(order[p], placement);
    }
    return plan;
}

WindowRect TSMForm::NewWindowRect(int kind, int W, int H) const {
    WindowRect rect{0, 0, (W - 1) / columns_, (H - 1) / rows_};
    if (kind == 3) {
        rect.width = std::max(200, rect.width);
        rect.height = std::max(150, rect.height);
    }
    return rect;
}

void TSMForm::SetLayout(int choice) {
    if (choice < 0 || choice >= static_cast<int>(LayoutChoices.size()))
        return;
    columns_ = LayoutChoices[choice].columns;
    rows_ = LayoutChoices[choice].rows;
}

std::string TSMForm::LayoutCaption() const {
    return "Каскад=" + std::to_string(columns_) + "*" + std::to_string(rows_);
}

void TSMForm::DiscardCurrentGraph() {
    if (graphs_.current() != 0)
        graphsToClose_.push_back(graphs_.current());
}

std::vector<int> TSMForm::TakeGraphsToClose() {
    std::vector<int> closing(graphsToClose_.rbegin(), graphsToClose_.rend());
    graphsToClose_.clear();
    for (int number : closing)
        graphs_.Close(number);
    graphs_.SetCurrent(graphs_.order().empty() ? 0 : graphs_.order().front());
    return closing;
}

bool TSMForm::DropGraphTab(int fromTab, int toTab) {
    const int from = fromTab - 2;
    const int to = toTab - 2;
    if (from < 0 || to < 0 || from == to || from >= graphs_.openCount() ||
        to >= graphs_.openCount())
        return false;
    graphs_.MoveTab(from, to);
    return true;
}

TSMForm::SnapBackMoves TSMForm::SnapBack(int sheetLeft, int sheetTop, int resultsLeft,
                                         int resultsTop) const {
    SnapBackMoves moves;
    if (runState == RunState::Relayout || runState == RunState::Closing)
        return moves;
    if (sheetLeft != 0 || sheetTop != 0)
        moves.sheet = WindowRect{0, 0, 0, 0};
    if (resultsLeft != resultsLeft_ || resultsTop != 0)
        moves.results = WindowRect{resultsLeft_, 0, 0, 0};
    return moves;
}

bool TSMForm::SheetClicked() {
    const bool wasInUse = editBoxInUse_;
    editBoxInUse_ = false;
    return wasInUse;
}

int TSMForm::HelpContext() const {
    switch (ws_.ActiveWindowKind) {
        case 1:
            return 5;
        case 2:
            return 6;
        case 3:
            return 50;
        default:
            return 4;
    }
}

bool TSMForm::MacroSwitchAtStart() {
    if (!ws_.settings.macroSwitch)
        return false;
    if (AskYesNo(ws_, MacroQuestion)) {
        ws_.settings.macroSwitch = false;
        return false;
    }
    return true;
}

}  // namespace dalvex
