#include "dispatch/dispatcher.h"

#include <array>
#include <exception>
#include <stdexcept>

#include "core/arithmetic_fault.h"
#include "dispatch/loading.h"
#include "dispatch/variable_dialogs.h"
#include "numeric/data_range.h"
#include "output/text_resource.h"

namespace dalvex {

namespace {

const std::array<const char*, 6> GroupAnalysisTitles = {
    "ГРУППОВОЙ 1-ФАКТОРНЫЙ АНАЛИЗ.  Файл: ",   "ГРУППОВОЙ 1+1-ФАКТОРНЫЙ АНАЛИЗ.  Файл: ",
    "ГРУППОВОЙ 1+2-ФАКТОРНЫЙ АНАЛИЗ.  Файл: ", "ГРУППОВОЙ 2+1-ФАКТОРНЫЙ АНАЛИЗ.  Файл: ",
    "ГРУППОВОЙ 3-ФАКТОРНЫЙ АНАЛИЗ.  Файл: ",   "ГРУППОВОЙ 2-ФАКТОРНЫЙ АНАЛИЗ.  Файл: ",
};

// The routines' modes of the methods that choose their variables
// themselves: (method, mode, listwise).
struct RoutineMode {
    int method;
    int mode;
    bool listwise;
};
constexpr std::array<RoutineMode, 13> RoutineModes{{
    {3, 1, true},
    {4, 2, false},
    {5, 3, true},
    {6, 7, false},
    {7, 8, false},
    {8, 9, false},
    {9, 5, true},
    {20, 6, true},
    {30, 1, false},
    {31, 2, false},
    {32, 1, false},
    {33, 2, false},
    {34, 3, false},
}};

// Methods after which the graph they drew stays in front.
bool KeepsGraphInFront(int method) {
    return method == 31 || method == 33 || method == 34;
}

}  // namespace

// ---------------------------------------------------------------------------

MethodRegistry& MethodRegistry::Add(int method, MethodRoutine routine, MethodChoice choice) {
    entries_[method] = {std::move(routine), std::move(choice)};
    return *this;
}

bool MethodRegistry::NeedsChoice(int method) {
    return method == 11 || method == 12 || method == 17 || method == 36;
}

bool MethodRegistry::Has(int method) const {
    const auto it = entries_.find(method);
    return it != entries_.end() && it->second.routine &&
           (!NeedsChoice(method) || it->second.choice);
}

const MethodRoutine& MethodRegistry::routine(int method) const {
    return entries_.at(method).routine;
}

const MethodChoice& MethodRegistry::choice(int method) const {
    return entries_.at(method).choice;
}

// ---------------------------------------------------------------------------

MethodDispatcher::MethodDispatcher(Workspace& ws, TSMForm& form, const MethodRegistry& methods,
                                   RunWindows& windows)
    : ws_(ws), form_(form), methods_(methods), windows_(windows) {}

std::string MethodDispatcher::HeaderLine(int method) const {
    const TextResources& texts = ws_.resources ? *ws_.resources : TextResources::Builtin();
    return texts.Entry(method + 49, 1) + "  Файл: " + windows_.DataFileName();
}

void MethodDispatcher::FormIni(int method) {
    if (!available(method))
        return;
    ws_.LastAnswer = method;
    ws_.ActiveWindowKind = 2;
    ws_.store.SetRowWidth(1, SquareSide);
    ws_.MethodVariant = 0;
    ws_.VerdictGroup = method - 2;
    ws_.VerdictIndex = 1;
    if (method <= 35)
        WriteResult(ws_, HeaderLine(method));
    windows_.ShowResults();
    ws_.RunHelpContext = method + 99;
    const TSMForm::RunState before = form_.runState;
    form_.runState = TSMForm::RunState::MethodRunning;
    // The list starts empty: whatever is on it now was discarded before this run.
    windows_.CloseDiscardedGraphs();

    bool closeRun = true;
    try {
        closeRun = PrepareAndRun(method);
    } catch (const ArithmeticFault& fault) {
        ShowNotice(ws_, InterruptionText(fault));
    } catch (const ScriptMismatch&) {
        // The batch runner's script does not fit: that is its error, not
        // the method's.
        form_.runState = before;
        ws_.RunHelpContext = 0;
        throw;
    } catch (const std::exception& error) {
        ShowNotice(ws_, std::string("Прерывание: ") + error.what());
    }

    form_.runState = before;
    if (closeRun) {
        WriteResult(ws_, "");
        WriteResult(ws_, "");
        if (!KeepsGraphInFront(method))
            windows_.ShowResults();
    }
    ws_.RunHelpContext = 0;
    windows_.CloseDiscardedGraphs();
}

bool MethodDispatcher::SelectOne() {
    return pq030(ws_) != 0;
}

bool MethodDispatcher::SelectAll(int spare, int mode) {
    return SelectAllVariables(ws_, spare, mode);
}

// The trend routine wants the data in row 1 and the observation numbers in
// row 0, in rows a quarter of the store wide.
void MethodDispatcher::LayOutTrend() {
    const int last = ws_.VarLength[1];
    std::vector<double> values(last + 1);
    for (int i = 0; i <= last; ++i)
        values[i] = ws_.store.Data(0, i);
    ws_.store.SetRowWidth(0, CellCapacity / 4);
    for (int i = 0; i <= last; ++i) {
        ws_.store.Data(1, i) = values[i];
        ws_.store.Data(0, i) = i;
    }
    ws_.VarLength[0] = 1;
    ws_.VarLength[2] = last;
}

bool MethodDispatcher::PrepareAndRun(int method) {
    MethodRun run{ws_, method};
    for (const RoutineMode& m : RoutineModes) {
        if (m.method == method) {
            run.mode = m.mode;
            run.listwise = m.listwise;
        }
    }
    const MethodRoutine& routine = methods_.routine(method);
    const int variables = ws_.sheet.VariableCount();
    // A cancelled or empty choice of variables ends the run here: the
    // routine never sees a stale selection.
    switch (method) {
        case 1:
            if (pq30(ws_) == 0 || !LoadSelected(ws_, 0, 2))
                return true;
            break;
        case 2:
            if (!SelectOne() || !LoadSelected(ws_, 1, 0))
                return true;
            break;
        case 11: {
            if (pq30(ws_) == 0 || !LoadSelected(ws_, 1, 2))
                return true;
            run.answer = methods_.choice(method)(ws_);
            if (run.answer == 0)
                return true;
            if (run.answer == 1) {
                ws_.MethodVariant = 1;
                WriteResult(ws_, OneFactorParametricLine);
            } else {
                ws_.RunHelpContext = run.answer == 2 ? 135 : 136;
            }
            break;
        }
        case 12:
            run.answer = methods_.choice(method)(ws_);
            if (run.answer == 0)
                return false;
            if (run.answer == 1) {
                if (!SelectAll(0, 0))
                    return true;
                ws_.MethodVariant = 1;
            } else {
                if (!SelectAll(1, 2))
                    return true;
                ws_.MethodVariant = 2;
            }
            break;
        case 13:
            if (!SelectAll(1, 1))
                return true;
            ws_.MethodVariant = ws_.VarLength[0];
            break;
        case 14:
            if (!SelectAll(2 * variables, 2))
                return true;
            break;
        case 17:
            if (!SelectOne() || !LoadSelected(ws_, 2, 0))
                return true;
            ws_.store.SetRowWidth(1, CellCapacity);
            run.answer = methods_.choice(method)(ws_);
            if (run.answer == 0)
                return true;
            if (run.answer == 5)
                LayOutTrend();
            break;
        case 18:
            if (!SelectOne())
                return true;
            ws_.store.SetRowWidth(0, CellCapacity / 6);
            ws_.VarLength[0] = 0;
            LoadVariable(ws_, 1, ws_.SelectedColumns[1]);
            RemoveMissing(ws_, false);
            RowRange(ws_, 0, 0);
            break;
        case 19:
        case 37:
            if (!SelectAll(1, 2))
                return true;
            ws_.MethodVariant = 1;
            break;
        case 20:
            ws_.AnswerNumber = 1;
            pq31(ws_);
            ws_.store.SetRowWidth(0, CellCapacity / 7);
            if (ws_.LastAnswer != 1)
                return true;
            break;
        case 21:
        case 22:
            ws_.AnswerNumber = 0;
            pq31(ws_);
            if (ws_.LastAnswer == 0 || ws_.SelectedColumns[0] < 2 || !LoadSelected(ws_, 2, 2))
                return true;
            if (method == 22)
                ws_.MethodVariant = 99;
            break;
        case 24:
        case 25:
        case 26:
            if (!SelectAll(2, 2))
                return true;
            break;
        case 27:
            if (!SelectAll(0, 0))
                return true;
            break;
        case 28:
            ws_.VerdictGroup = 74;
            break;
        case 35: {
            if (!SelectOne())
                return true;
            ws_.store.SetRowWidth(0, CellCapacity / 7);
            ws_.store.SetRowWidth(1, CellCapacity / 6);
            const int column = ws_.SelectedColumns[1];
            do {
                ws_.VarLength[0] = 0;
                LoadVariable(ws_, 1, column);
                routine(run);
            } while (AskYesNo(ws_, NewModelQuestion));
            return true;
        }
        case 36: {
            ws_.RunHelpContext = 98;
            if (pq30(ws_) == 0 || !LoadSelected(ws_, 1, 2))
                return true;
            run.answer = methods_.choice(method)(ws_);
            if (run.answer == 0)
                return false;
            ws_.MethodVariant = 1;
            ws_.VerdictGroup = 9;
            ws_.VerdictIndex = 1;
            if (run.answer >= 1 && run.answer <= static_cast<int>(GroupAnalysisTitles.size()))
                WriteResult(ws_, GroupAnalysisTitles[run.answer - 1] + windows_.DataFileName());
            run.rows = ws_.VarLength[0] + 1;
            run.length = ws_.VarLength[1] + 1;
            break;
        }
        default:
            // Methods 3..10, 15, 16, 23, 29..34 choose and load their
            // variables themselves.
            break;
    }
    routine(run);
    return true;
}

}  // namespace dalvex
