// The main window's behaviour ("TSMForm"): the menu table, where File and
// Edit commands go, the window tabs, the tiling of child windows in a grid of
// CascadeColumns x CascadeRows cells, the graph windows' numbers and tab
// order, snap-back and the EditBox-in-use flag. Qt-free: the window shows
// what this decides and applies the geometry it computes.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/workspace.h"

namespace dalvex {

inline constexpr int MaxGraphWindows = 15;
// A press followed by a move of more than this many pixels sideways is a drag
// (graph tabs, sheet columns).
inline constexpr int DragThresholdPixels = 10;

inline bool SidewaysDragStarts(int pressX, int nowX) {
    const int dx = nowX - pressX;
    return dx > DragThresholdPixels || dx < -DragThresholdPixels;
}

inline constexpr const char* MainCaption = "DALVEX 8.0";
inline constexpr const char* CloseQuestion =
    "Закончить сеанс работы в DALVEX?\r\n   если Вы не сохранили данные,\r\n           нажмите "
    "\"Нет\"";
inline constexpr const char* MacroQuestion =
    "Включен механизм макрокоманд, что может помешать при интерактивном переходе к другим "
    "приложениям, выключить?";
inline constexpr const char* TabsHint = "Закладки для выбора текущего окна";

// ---------------------------------------------------------------------------
// Menu and tool bar, as data the window renders.

enum class MainCommand {
    Open,
    Save,
    Clear,
    Print,
    PrinterSetup,
    Exit,
    Graphs,
    Calculator,
    Transformations,
    Statistics,
    Layout,  // the "Каскад=K*L" sub-menu
    Cut,
    Copy,
    Paste,
    Delete,
    Undo,  // the data sheet's last change taken back
    Redo,  // and made again
    Font,
    Colors,
    Settings,
    Remember,
    HelpContents,
    HelpSearch,
    HelpMethod,
    HelpOnHelp,
    About,
};

struct MenuItem {
    MainCommand command;
    const char* caption;
    const char* hint;
    const char* key;  // "" when the item has no shortcut
};

// A menu of the menu bar. Without items the title itself is a command.
struct MenuBarEntry {
    const char* title;
    std::vector<MenuItem> items;
    MainCommand command = MainCommand::Exit;  // only when items is empty
    const char* hint = "";
    const char* key = "";
};

const std::vector<MenuBarEntry>& MainMenu();

struct ToolButton {
    MainCommand command;
    const char* hint;  // "short|long"; without "|" both are the same
};
const std::vector<ToolButton>& MainToolButtons();

struct HintParts {
    std::string tip;     // shown beside the control
    std::string status;  // shown in the status line
};
// "Открыть|" -> tip "Открыть", nothing in the status line; "Печать" -> both.
HintParts SplitHint(const std::string& hint);

// ---------------------------------------------------------------------------
// Tiling.

struct LayoutChoice {
    const char* caption;
    int columns;
    int rows;
};
inline constexpr std::array<LayoutChoice, 5> LayoutChoices{{
    {"1 окно", 1, 1},
    {"2 окна", 2, 1},
    {"3 окна", 3, 1},
    {"2*2 окна", 2, 2},
    {"3*2 окна", 3, 2},
}};

struct WindowRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const WindowRect&) const = default;
};

// What a re-layout does to one window.
struct WindowPlacement {
    enum class Change { Keep, Resize, MoveAndResize };
    Change change = Change::Keep;
    WindowRect rect;  // left and top count only for MoveAndResize
    bool operator==(const WindowPlacement&) const = default;
};

struct TilingPlan {
    WindowPlacement sheet;
    WindowPlacement results;
    // (graph window number, placement) for every open graph window.
    std::vector<std::pair<int, WindowPlacement>> graphs;
    int focusKind = 1;   // the window that gets the focus: 1 sheet, 2 results, 3 graph
    int focusGraph = 0;  // its number when focusKind is 3
};

// ---------------------------------------------------------------------------
// Graph windows: numbers 1..15, kept in tab order.

// The File and Edit commands that go to the active window: Open, Save,
// Print, Clear, Cut, Copy, Paste, Delete, Font.
bool IsRoutedCommand(MainCommand command);

class GraphWindows {
  public:
    struct Opening {
        int number;
        bool reuse;  // the window exists and is re-initialised
    };
    // A graph request: below 15 open windows the number is open count + 1,
    // otherwise the current number advances cyclically 15 -> 1.
    Opening Open();
    void Close(int number);
    // Moves the graph tab at position `from` to position `to` (0-based among
    // the graph tabs); the tabs between shift by one.
    void MoveTab(int from, int to);

    const std::vector<int>& order() const { return order_; }
    int openCount() const { return static_cast<int>(order_.size()); }
    int current() const { return current_; }
    void SetCurrent(int number) { current_ = number; }
    bool exists(int number) const;
    int positionOf(int number) const;  // -1 when not open

  private:
    std::vector<int> order_;
    int current_ = 0;
};

// ---------------------------------------------------------------------------
// Routing of File and Edit commands.

enum class CommandTarget { Nothing, Sheet, Results, Graph };

// ---------------------------------------------------------------------------

class TSMForm {
  public:
    enum class RunState { Idle, MethodRunning, Relayout, Closing };

    explicit TSMForm(Workspace& ws) : ws_(ws) {}

    // Routed commands by ActiveWindowKind; graph commands without a graph
    // window do nothing.
    CommandTarget Route(MainCommand command) const;
    // Whether a menu or tool-bar command can be chosen now: nothing that
    // needs the sheet before the first paint, the help commands only with
    // the help pages, the commands whose windows the program lacks never.
    bool CanExecute(MainCommand command) const;

    // A child window was activated (1 sheet, 2 results, 3 graph `number`).
    void WindowActivated(int kind, int graphNumber = 0);

    // --- tabs and tiling --------------------------------------------------------
    // "Dat", "Rez", then "Gr" + number in tab order.
    std::vector<std::string> TabCaptions() const;
    int currentTab() const;
    // Chooses a tab and lays the windows out in the client area (width W,
    // height H without tool bar and status line). Nothing while a method runs.
    std::optional<TilingPlan> ChooseTab(int tab, int W, int H);
    // The current tab again (after a resize or a layout change).
    std::optional<TilingPlan> Relayout(int W, int H) { return ChooseTab(currentTab(), W, H); }
    // Where a window that opens now goes: the first cell of the layout
    // (kind 2 results, 3 a graph, which is never smaller than 200 × 150).
    WindowRect NewWindowRect(int kind, int W, int H) const;
    // A layout menu item (index into LayoutChoices).
    void SetLayout(int choice);
    int CascadeColumns() const { return columns_; }
    int CascadeRows() const { return rows_; }
    // "Каскад=K*L"
    std::string LayoutCaption() const;

    // --- graph windows ------------------------------------------------------------
    GraphWindows& graphs() { return graphs_; }
    const GraphWindows& graphs() const { return graphs_; }
    // "Отменить" in the graph prompt: the current graph goes on the list.
    void DiscardCurrentGraph();
    // After a method run: the windows to close, last listed first; they leave
    // the tab order, the first remaining one becomes current, the list empties.
    std::vector<int> TakeGraphsToClose();
    // A graph tab dropped at another graph tab (tab indices of the tab bar).
    // Returns whether the order changed.
    bool DropGraphTab(int fromTab, int toTab);

    // --- snap-back ----------------------------------------------------------------
    struct SnapBackMoves {
        std::optional<WindowRect> sheet;    // new place (width/height unchanged: 0)
        std::optional<WindowRect> results;  // likewise
    };
    // The mouse moved over the main window or the sheet: the sheet goes back
    // to (0, 0) and the results window to (remembered left, 0).
    SnapBackMoves SnapBack(int sheetLeft, int sheetTop, int resultsLeft, int resultsTop) const;
    int rememberedResultsLeft() const { return resultsLeft_; }

    // --- EditBox --------------------------------------------------------------------
    void EditBoxUsed() { editBoxInUse_ = true; }
    bool editBoxInUse() const { return editBoxInUse_; }
    // A click in the sheet: returns whether the results window and the sheet
    // come to the front (the EditBox was in use); clears the flag.
    bool SheetClicked();

    // The help topic F1 shows: the context number of the active window (main
    // window 4, sheet 5, results 6, graphs 50).
    int HelpContext() const;

    // --- start-up -------------------------------------------------------------------
    // When the settings switch the macros on: asks whether to turn them off.
    // Returns whether the macro keyboard hook is to be installed.
    bool MacroSwitchAtStart();

    RunState runState = RunState::Idle;
    // The first paint has made the sheet and the store.
    bool started = false;
    // The help pages are part of the program.
    bool helpAvailable = false;

  private:
    TilingPlan PlanFor(int tab, int W, int H) const;

    Workspace& ws_;
    GraphWindows graphs_;
    std::vector<int> graphsToClose_;
    int columns_ = 1;
    int rows_ = 1;
    int tabKind_ = 1;  // 1 "Dat", 2 "Rez", 3 the current graph's tab
    int resultsLeft_ = 0;
    bool editBoxInUse_ = false;
};

}  // namespace dalvex
