// The method dispatcher (`TEditForm.FormIni`): every statistics method runs
// in its frame - the header line, the results in front, the preparation
// (variables chosen and loaded), the method's routine, an arithmetic fault
// caught as "Прерывание: " + its text, and two empty lines to close the run.
// What the frame does before a routine (loading, the choice dialog, the graph
// kept in front, special preparation) is one row per method in the method
// table of dispatcher.cpp; the frame itself is the CommandFrame every command
// shares. The routines come from a registry that the method groups fill in;
// a method without one cannot be chosen.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/main_window_model.h"
#include "core/workspace.h"

namespace dalvex {

inline constexpr const char* NewModelQuestion = "Построить новую модель?";
inline constexpr const char* OneFactorParametricLine = "          параметрический";

// What a routine is run with. The preparation has loaded the variables and
// set MethodVariant; these carry the rest of what it decided.
struct MethodRun {
    Workspace& ws;
    int method = 0;
    // The routine's mode where the method table gives one: the pairwise
    // runs' test (3: 1, 4: 2, 5: 3, 6..8: 7..9, 9: 5, 20: 6), the
    // frequencies' (30: 1, 31: 2) and the quality routine's (32..34: 1..3).
    int mode = 0;
    // Pairwise runs: missing values removed listwise (else per row).
    bool listwise = false;
    // The answer of the method's own choice dialog (11, 12, 17, 36).
    int answer = 0;
    // Method 36: the number of loaded rows and the length of row 0.
    int rows = 0;
    int length = 0;
    // The data file's name, for the methods that write their own header.
    std::string dataFile = {};
};

using MethodRoutine = std::function<void(MethodRun&)>;
// A method's own choice dialog shown by the preparation (the model of
// methods 11 and 12, the smoothing of 17, the method of 36); answers 0 when
// cancelled.
using MethodChoice = std::function<int(Workspace&)>;

class MethodRegistry {
  public:
    // Methods with a choice dialog in the method table (11, 12, 17 and 36)
    // need it as well.
    MethodRegistry& Add(int method, MethodRoutine routine, MethodChoice choice = {});
    // Whether the method can run: its routine, and its choice where it needs one.
    bool Has(int method) const;
    const MethodRoutine& routine(int method) const;
    const MethodChoice& choice(int method) const;

    static bool NeedsChoice(int method);

  private:
    struct Entry {
        MethodRoutine routine;
        MethodChoice choice;
    };
    std::map<int, Entry> entries_;
};

// What the windows around a run do. The main window brings its results
// window forward and closes graph windows; the batch runner has nothing to
// bring forward.
class RunWindows {
  public:
    virtual ~RunWindows() = default;
    // The "Rez" tab chosen and the results window shown in front.
    virtual void ShowResults() {}
    // Closes the graph windows the person chose to discard (the main
    // window's graphs-to-close list) and empties the list.
    virtual void CloseDiscardedGraphs() {}
    // The current data file's name for the header line.
    virtual std::string DataFileName() const { return {}; }
};

class MethodDispatcher {
  public:
    MethodDispatcher(Workspace& ws, TSMForm& form, const MethodRegistry& methods,
                     RunWindows& windows);

    bool available(int method) const { return methods_.Has(method); }

    // Runs method `method` (1..37) in the frame, then closes the graph
    // windows discarded during the run. A method that cannot run writes
    // nothing.
    void FormIni(int method);

    // The header line of methods 1..35: the method's title and the file.
    std::string HeaderLine(int method) const;

  private:
    // The preparation of the method's row in the method table, then the
    // routine. Returns false when the method's own choice dialog was
    // cancelled: the run then ends without closing lines.
    bool PrepareAndRun(int method);

    Workspace& ws_;
    TSMForm& form_;
    const MethodRegistry& methods_;
    RunWindows& windows_;
};

}  // namespace dalvex
