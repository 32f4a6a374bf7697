// The program's one workspace: the store, the sheet, the shared answer cells
// and the settings values. Passed by reference; a test builds a fresh one in
// one line.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/data_store.h"
#include "core/graph_handover.h"
#include "core/run_notices.h"
#include "core/settings.h"
#include "core/sheet_grid.h"
#include "core/user_dialogs.h"

namespace dalvex {

inline constexpr int TextBufferChars = 255;

class TextResources;

// Where reports go: the results window's text. Computations append through it
// and never see the window.
class ReportSink {
  public:
    virtual ~ReportSink() = default;
    virtual void WriteResult(const std::string& text) = 0;
};

struct Workspace {
    explicit Workspace(UserDialogs& dialogs) : ui(dialogs) {}

    UserDialogs& ui;
    DataStore store;
    SheetGrid sheet;
    SettingsValues settings;

    // VarLength[0]: last DataMatrix row in use; VarLength[k + 1]: last
    // observation index of row k. Two slots past the last variable's: loading
    // notes the length of the second spare row there even when all 500
    // variables are chosen.
    std::array<int, MaxVariables + 3> VarLength{};
    // SelectedColumns[0]: count; then sheet column numbers (1-based).
    std::array<int, MaxVariables + 1> SelectedColumns{};

    // The help context dialogs take while a method runs (method + 99); 0
    // outside a run.
    int RunHelpContext = 0;
    // A list of pairs read from a text file by the variable list dialog for
    // the method that offered it, and whether the last choice was such a list.
    std::vector<std::string> LineBuffer;
    bool PairListRead = false;

    int LastAnswer = 0;
    int AnswerNumber = 0;
    double AnswerValue = 0.0;
    int MethodVariant = 0;

    // Set when a refused sheet write has shown its notice, so a long run of
    // refused writes shows it once; a successful write or typing clears it.
    bool sheetOverflow = false;

    // Notices a command run shows once, and the variables it could not use.
    RunNotices runNotices;
    // While a command runs in its frame, every output point checks the
    // floating-point flags (see arithmetic_fault.h).
    bool watchArithmetic = false;

    // 0 before the first paint, 1 data sheet, 2 results, 3 a graph window.
    int ActiveWindowKind = 0;

    // The results text and the text resources ("Sth.ini") reports read.
    ReportSink* report = nullptr;
    // Where graph requests go, and the series tables a method fills before one.
    GraphHost* graphs = nullptr;
    GraphHandOver graphTables;
    const TextResources* resources = nullptr;
    // The verdict texts a significance line ends with: a group of the text
    // resources and the index of its "not significant" entry (the next entry
    // is the "significant" one). Set before each method runs.
    int VerdictGroup = 0;
    int VerdictIndex = 1;

    // The factor prediction grid keeps what was typed or pasted into it
    // between its uses in a session.
    std::string FactorPredictionGrid;

    // The archives last chosen in the formula-set and surface dialogs, offered
    // again for the next save while the program runs.
    std::string FormulaArchive;
    std::string SurfaceArchive;

    std::string ProgramFolder;  // with a trailing separator
    std::uint32_t RandomSeed = 0;

    const std::string& TextBuffer() const { return textBuffer_; }
    // Keeps at most 255 characters.
    void SetTextBuffer(const std::string& text);

    // Shortcuts to the settings most callers need.
    int digits() const { return settings.SignificantDigits; }
    char decimalSeparator() const { return settings.decimalSeparator; }

  private:
    std::string textBuffer_;
};

// Appends report text to the results (nothing when no results window exists).
void WriteResult(Workspace& ws, const std::string& text);

// The two message boxes every part uses.
void ShowNotice(Workspace& ws, const std::string& text);
// LastAnswer = 1 for Yes, 2 otherwise; returns true for Yes.
bool AskYesNo(Workspace& ws, const std::string& text);
// Long work's progress (see UserDialogs::Progress); false when the person
// stopped the work, which then ends with what it has written.
bool ShowProgress(Workspace& ws, const std::string& text, int done, int total);
// The one notice every method shows when the person stopped its long work.
inline constexpr const char* WorkStoppedNotice = "!ВЫЧИСЛЕНИЯ ПРЕРВАНЫ!";

}  // namespace dalvex
