// The graph menu ("Графики данных", F6, `TGrMet`) and its variable dialog
// (`Tq34`): the menu answers a kind and carries its options, the dialog
// chooses the variables and shows beside them the role each position plays
// for the kind. What the menu answers and what the graph window draws are
// two numberings that differ in one place; the table here is the only place
// that says how they meet.
#pragma once

#include <string>
#include <vector>

#include "core/form_dialog.h"
#include "core/workspace.h"
#include "dispatch/variable_dialogs.h"

namespace dalvex {

inline constexpr const char* GraphMenuCaption = "Графики данных";
inline constexpr const char* GraphMenuMemory = "qgrmet.ini";
inline constexpr const char* GraphVariablesMemory = "q34.ini";

// The menu's "&3=Y-ряды" answers 17, the number the rest of its buttons'
// rules use for it (variable roles, checks, loading); the graph window's
// kind 17 is the tree of cluster analysis, which no menu button draws. The
// Y-series are drawn as described series (kind 0).
inline constexpr int MenuYSeries = 17;
inline constexpr int MenuFunctionSurface = 11;
inline constexpr int GraphMenuHelpContext = 30;

struct GraphMenuEntry {
    int answer;         // what the menu returns
    const char* group;  // "Научные", "Деловые", "Многомерные", "Сплайны"
    const char* text;
    const char* hint;
    int kind;           // the graph window's kind that draws it
    const char* title;  // the window title before the variables' names
    int helpContext;
};

// Every button of the menu but "<Esc>=Отменить", in the menu's order.
const std::vector<GraphMenuEntry>& GraphMenuEntries();
// The entry the menu answers `answer` with; nullptr for 0 and unknown answers.
const GraphMenuEntry* GraphMenuEntryOf(int answer);

// The menu's options.
struct GraphOptions {
    bool bars = true;          // "столбики": business graphs as bars, not lines
    bool effect3D = false;     // "3D-эффект"
    int smoothing = 0;         // "Сглаж:" 0..3 of the smoothing surface, map and superdiagram
    int steps = 50;            // "Шагов=": the spline curve's steps
    double coefficient = 0.5;  // "Коэф=": the smoothing spline's 0 < k < 1
};

inline constexpr const char* StepsRefusedNotice = "!ЧИСЛО ШАГОВ ДОЛЖНО БЫТЬ ЦЕЛЫМ ЧИСЛОМ БОЛЬШЕ 0!";
inline constexpr const char* CoefficientRefusedNotice =
    "!КОЭФФИЦИЕНТ СГЛАЖИВАНИЯ ДОЛЖЕН БЫТЬ БОЛЬШЕ 0 И МЕНЬШЕ 1!";

FormDialog GraphMenuForm(const GraphOptions& options);

class TGrMet {
  public:
    explicit TGrMet(Workspace& ws) : ws_(ws) {}

    // Shows the menu (its steps, coefficient and smoothing level from
    // "qgrmet.ini"; a missing file beeps) and answers the kind chosen, 0 when
    // cancelled. The file is written whenever the menu closes. A spline
    // button with steps or a coefficient out of their ranges is refused
    // with a notice, and the menu answers 0.
    int Run();

    GraphOptions options;

  private:
    void ReadMemory();
    void WriteMemory();

    Workspace& ws_;
};

// The variable dialog of a menu answer.
class Tq34 : public VariableDialogModel {
  public:
    Tq34(Workspace& ws, int answer);

    VariableDialogKind kind() const override { return VariableDialogKind::List; }
    std::string caption() const override { return GraphMenuCaption; }
    std::vector<std::string> texts() const override;
    std::vector<VariableButton> buttons() const override;
    std::vector<std::string> roles(int list) const override;

  private:
    void Confirm() override;
    std::vector<std::string> RememberedChoice() override {
        return Remembered(GraphVariablesMemory);
    }
    int answer_;
};

// What position `position` (0-based) of the chosen variables stands for in
// a graph of menu answer `answer`: "X", "Y", "Z", "d", "W", "a".."h", or "".
std::string GraphVariableRole(int answer, int position);

// Shows Tq34 for the menu answer; returns LastAnswer (0 cancelled or nothing
// chosen), SelectedColumns holding the choice.
int pq34(Workspace& ws, int answer);

}  // namespace dalvex
