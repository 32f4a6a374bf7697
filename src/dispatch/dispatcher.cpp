#include "dispatch/dispatcher.h"

#include <array>
#include <exception>
#include <stdexcept>

#include "core/arithmetic_fault.h"
#include "dispatch/command_frame.h"
#include "dispatch/loading.h"
#include "dispatch/method_kit.h"
#include "dispatch/variable_dialogs.h"
#include "numeric/data_range.h"
#include "output/text_resource.h"

namespace dalvex {

namespace {

// What the frame does before a method's routine runs, one row per method.
enum class Load {
    Itself,  // the routine chooses and loads its variables
    List,    // "Анализ переменных", then LoadSelected(spare, missing)
    One,     // "Анализ переменной", then LoadSelected(spare, missing)
    All,     // SelectAllVariables(spare, missing)
    Custom,  // the row's own preparation does everything
};

// What a preparation step decided.
enum class Outcome {
    Run,          // run the routine
    End,          // end the run: the routine is not run, the closing lines are written
    EndAbruptly,  // a cancelled choice dialog: not even the closing lines
    RanItself,    // the step ran the routine itself (repeated models)
};

struct Preparation {
    Workspace& ws;
    MethodRun& run;
    const MethodRegistry& methods;
    RunWindows& windows;
    int Choice() const { return methods.choice(run.method)(ws); }
};

using PreparationStep = Outcome (*)(Preparation&);

struct MethodRow {
    int method;
    Load load = Load::Itself;
    int spare = 0;
    Missing missing = Missing::Listwise;
    int mode = 0;           // the routine's mode (pairwise test, frequencies, quality)
    bool listwise = false;  // pairwise runs: missing values removed listwise
    bool choice = false;    // the method has its own choice dialog
    bool graphInFront = false;
    PreparationStep then = nullptr;  // after the loading, or all of it for Custom
};

Outcome OneFactorModel(Preparation& p) {
    p.run.answer = p.Choice();
    if (p.run.answer == 0)
        return Outcome::End;
    if (p.run.answer == 1) {
        p.ws.MethodVariant = 1;
        WriteResult(p.ws, OneFactorParametricLine);
    } else {
        // The rank tests have help pages of their own; 135 and 136 belong to
        // the group analysis (36) and the survival analysis (37).
        p.ws.RunHelpContext = p.run.answer == 2 ? 137 : 138;
    }
    return Outcome::Run;
}

Outcome TwoFactorModel(Preparation& p) {
    p.run.answer = p.Choice();
    if (p.run.answer == 0)
        return Outcome::EndAbruptly;
    const bool first = p.run.answer == 1;
    if (!SelectAllVariables(p.ws, first ? 0 : 1, first ? Missing::Listwise : Missing::PerRow))
        return Outcome::End;
    p.ws.MethodVariant = first ? 1 : 2;
    return Outcome::Run;
}

Outcome FactorCount(Preparation& p) {
    p.ws.MethodVariant = p.ws.VarLength[0];
    return Outcome::Run;
}

// The covariates, the response and the group codes of an observation stay
// together: an observation with an empty cell leaves them all.
Outcome Covariance(Preparation& p) {
    return SelectAllVariables(p.ws, 0, Missing::Listwise) ? Outcome::Run : Outcome::End;
}

// The trend routine wants the data in row 1 and the observation numbers in
// row 0, in rows a quarter of the store wide.
void LayOutTrend(Workspace& ws) {
    const int last = ws.VarLength[1];
    std::vector<double> values(last + 1);
    for (int i = 0; i <= last; ++i)
        values[i] = ws.store.Data(0, i);
    FitDataRows(ws, 4, last + 1);
    for (int i = 0; i <= last; ++i) {
        ws.store.Data(1, i) = values[i];
        ws.store.Data(0, i) = i;
    }
    ws.VarLength[0] = 1;
    ws.VarLength[2] = last;
}

Outcome Smoothing(Preparation& p) {
    p.ws.store.SetRowWidth(StoreMatrix::Work, CellCapacity);
    p.run.answer = p.Choice();
    if (p.run.answer == 0)
        return Outcome::End;
    if (p.run.answer == 5)
        LayOutTrend(p.ws);
    return Outcome::Run;
}

// One variable into row 0 of a store laid out for `rows` rows.
void LoadOne(Workspace& ws, int rows) {
    const int column = ws.SelectedColumns[1];
    FitDataRows(ws, rows, ws.sheet.ColumnLength(column));
    ws.VarLength[0] = 0;
    LoadVariable(ws, 1, column);
}

Outcome Arima(Preparation& p) {
    if (pq030(p.ws) == 0)
        return Outcome::End;
    LoadOne(p.ws, 6);
    RemoveMissing(p.ws, Missing::PerRow);
    RowRange(p.ws, 0, 0);
    return Outcome::Run;
}

Outcome FirstVariant(Preparation& p) {
    p.ws.MethodVariant = 1;
    return Outcome::Run;
}

Outcome SimpleRegression(Preparation& p) {
    p.ws.AnswerNumber = 1;
    pq31(p.ws);
    p.ws.store.SetRowWidth(StoreMatrix::Data, CellCapacity / 7);
    return p.ws.LastAnswer == 1 ? Outcome::Run : Outcome::End;
}

Outcome MultipleRegression(Preparation& p) {
    p.ws.AnswerNumber = 0;
    pq31(p.ws);
    // Y and its X stay aligned: an observation missing in any of them
    // leaves all of them.
    if (p.ws.LastAnswer == 0 || p.ws.SelectedColumns[0] < 2 ||
        !LoadSelected(p.ws, 2, Missing::Listwise))
        return Outcome::End;
    if (p.run.method == 22)
        p.ws.MethodVariant = 99;
    return Outcome::Run;
}

Outcome ProbabilityVerdicts(Preparation& p) {
    p.ws.VerdictGroup = 74;
    return Outcome::Run;
}

Outcome FourierModels(Preparation& p) {
    if (pq030(p.ws) == 0)
        return Outcome::End;
    const MethodRoutine& routine = p.methods.routine(p.run.method);
    do {
        LoadOne(p.ws, 7);
        p.ws.store.SetRowWidth(StoreMatrix::Work, CellCapacity / 6);
        routine(p.run);
    } while (AskYesNo(p.ws, NewModelQuestion));
    return Outcome::RanItself;
}

const std::array<const char*, 6> GroupAnalysisTitles = {
    "ГРУППОВОЙ 1-ФАКТОРНЫЙ АНАЛИЗ.  Файл: ",   "ГРУППОВОЙ 1+1-ФАКТОРНЫЙ АНАЛИЗ.  Файл: ",
    "ГРУППОВОЙ 1+2-ФАКТОРНЫЙ АНАЛИЗ.  Файл: ", "ГРУППОВОЙ 2+1-ФАКТОРНЫЙ АНАЛИЗ.  Файл: ",
    "ГРУППОВОЙ 3-ФАКТОРНЫЙ АНАЛИЗ.  Файл: ",   "ГРУППОВОЙ 2-ФАКТОРНЫЙ АНАЛИЗ.  Файл: ",
};

Outcome GroupAnalysis(Preparation& p) {
    p.ws.RunHelpContext = 98;
    // A subject's measurements stay on one observation: an empty cell
    // leaves the subject out of every cell.
    if (pq30(p.ws) == 0 || !LoadSelected(p.ws, 1, Missing::Listwise))
        return Outcome::End;
    p.run.answer = p.Choice();
    if (p.run.answer == 0)
        return Outcome::EndAbruptly;
    p.ws.MethodVariant = 1;
    p.ws.VerdictGroup = 9;
    p.ws.VerdictIndex = 1;
    if (p.run.answer >= 1 && p.run.answer <= static_cast<int>(GroupAnalysisTitles.size()))
        WriteResult(p.ws, GroupAnalysisTitles[p.run.answer - 1] + p.windows.DataFileName());
    p.run.rows = p.ws.VarLength[0] + 1;
    p.run.length = p.ws.VarLength[1] + 1;
    return Outcome::Run;
}

constexpr Missing Listwise = Missing::Listwise;
constexpr Missing PerRow = Missing::PerRow;

// method, loading, spare rows, missing values, routine mode, listwise pairs,
// choice dialog, graph kept in front, preparation step
const std::array<MethodRow, 37> MethodTable{{
    {1, Load::List, 0, PerRow},
    {2, Load::One, 1, Listwise},
    {3, Load::Itself, 0, Listwise, 1, true},
    {4, Load::Itself, 0, Listwise, 2, false},
    {5, Load::Itself, 0, Listwise, 3, true},
    {6, Load::Itself, 0, Listwise, 7, false},
    {7, Load::Itself, 0, Listwise, 8, false},
    {8, Load::Itself, 0, Listwise, 9, false},
    {9, Load::Itself, 0, Listwise, 5, true},
    {10, Load::Itself},
    // Friedman's blocks are loaded again listwise by the routine.
    {11, Load::List, 1, PerRow, 0, false, true, false, OneFactorModel},
    {12, Load::Custom, 0, Listwise, 0, false, true, false, TwoFactorModel},
    // A factor code and its response stay on one observation.
    {13, Load::All, 1, Listwise, 0, false, false, false, FactorCount},
    {14, Load::Custom, 0, Listwise, 0, false, false, false, Covariance},
    {15, Load::Itself},
    {16, Load::Itself},
    {17, Load::One, 2, Listwise, 0, false, true, false, Smoothing},
    {18, Load::Custom, 0, PerRow, 0, false, false, false, Arima},
    // Each line is fitted over its own complete pairs: a missing cell drops
    // its pair only, never shifts the values of the other row.
    {19, Load::All, 1, Missing::PlainCopy, 0, false, false, false, FirstVariant},
    {20, Load::Custom, 0, Listwise, 6, true, false, false, SimpleRegression},
    {21, Load::Custom, 2, Listwise, 0, false, false, false, MultipleRegression},
    {22, Load::Custom, 2, Listwise, 0, false, false, false, MultipleRegression},
    {23, Load::Itself},
    // Discriminant analysis loads every variable listwise itself.
    {24, Load::Itself},
    // Cluster analysis loads its own data: raw data listwise, a distance
    // matrix with its empty cells.
    {25, Load::Itself},
    {26, Load::Itself},
    // Scaling reads its distance block itself, empty cells and all.
    {27, Load::Itself},
    {28, Load::Itself, 0, Listwise, 0, false, false, false, ProbabilityVerdicts},
    {29, Load::Itself},
    {30, Load::Itself, 0, Listwise, 1, false},
    {31, Load::Itself, 0, Listwise, 2, false, false, true},
    {32, Load::Itself, 0, Listwise, 1, false},
    {33, Load::Itself, 0, Listwise, 2, false, false, true},
    {34, Load::Itself, 0, Listwise, 3, false, false, true},
    {35, Load::Custom, 0, Listwise, 0, false, false, false, FourierModels},
    {36, Load::Custom, 1, Listwise, 0, false, true, false, GroupAnalysis},
    // Times and counts are paired by the method: a missing cell drops its pair only.
    {37, Load::All, 1, Missing::PlainCopy, 0, false, false, false, FirstVariant},
}};

const MethodRow* RowOf(int method) {
    for (const MethodRow& row : MethodTable)
        if (row.method == method)
            return &row;
    return nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------

MethodRegistry& MethodRegistry::Add(int method, MethodRoutine routine, MethodChoice choice) {
    entries_[method] = {std::move(routine), std::move(choice)};
    return *this;
}

bool MethodRegistry::NeedsChoice(int method) {
    const MethodRow* row = RowOf(method);
    return row != nullptr && row->choice;
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
    ws_.store.SetRowWidth(StoreMatrix::Work, SquareSide);
    ws_.MethodVariant = 0;
    ws_.VerdictGroup = method - 2;
    ws_.VerdictIndex = 1;
    if (method <= 35)
        WriteResult(ws_, HeaderLine(method));
    windows_.ShowResults();
    ws_.RunHelpContext = method + 99;
    // The list starts empty: whatever is on it now was discarded before this run.
    windows_.CloseDiscardedGraphs();

    bool closeRun = true;
    {
        CommandFrame frame(ws_, form_);
        try {
            closeRun = frame.Run([&] { return PrepareAndRun(method); });
        } catch (const ScriptMismatch&) {
            // The batch runner's script does not fit: that is its error, not
            // the method's.
            ws_.RunHelpContext = 0;
            throw;
        }
    }
    if (closeRun) {
        WriteResult(ws_, "");
        WriteResult(ws_, "");
        const MethodRow* row = RowOf(method);
        if (row == nullptr || !row->graphInFront)
            windows_.ShowResults();
    }
    ws_.RunHelpContext = 0;
    windows_.CloseDiscardedGraphs();
}

bool MethodDispatcher::PrepareAndRun(int method) {
    MethodRun run{ws_, method};
    run.dataFile = windows_.DataFileName();
    const MethodRow* row = RowOf(method);
    if (row == nullptr) {
        methods_.routine(method)(run);
        return true;
    }
    run.mode = row->mode;
    run.listwise = row->listwise;
    // A cancelled or empty choice of variables ends the run here: the
    // routine never sees a stale selection.
    bool loaded = true;
    switch (row->load) {
        case Load::List:
            loaded = pq30(ws_) != 0 && LoadSelected(ws_, row->spare, row->missing);
            break;
        case Load::One:
            loaded = pq030(ws_) != 0 && LoadSelected(ws_, row->spare, row->missing);
            break;
        case Load::All:
            loaded = SelectAllVariables(ws_, row->spare, row->missing);
            break;
        case Load::Itself:
        case Load::Custom:
            break;
    }
    if (!loaded)
        return true;
    if (row->then != nullptr) {
        Preparation preparation{ws_, run, methods_, windows_};
        switch (row->then(preparation)) {
            case Outcome::Run:
                break;
            case Outcome::End:
            case Outcome::RanItself:
                return true;
            case Outcome::EndAbruptly:
                return false;
        }
    }
    methods_.routine(method)(run);
    return true;
}

}  // namespace dalvex
