// What the correlation function and the spectral analysis ask: one or two
// series chosen into "Для анализа" (X first, then Y), then the method's
// parameters on a form. Both dialogs keep their last inputs in one memory
// file of the program folder: the form's fields one a line, then the chosen
// list entries, which "Восстановить предыдущие переменные" brings back.
#pragma once

#include <string>
#include <vector>

#include "dispatch/method_kit.h"
#include "dispatch/variable_dialogs.h"

namespace dalvex {

// The remembered inputs of a time-series dialog: `fields` lines of field
// texts, then the chosen entries. A missing file only beeps.
struct TimeSeriesMemory {
    std::vector<std::string> fields;
    std::vector<std::string> entries;
};
TimeSeriesMemory ReadTimeSeriesMemory(Workspace& ws, const std::string& file, int fields);
void WriteTimeSeriesMemory(Workspace& ws, const std::string& file, const TimeSeriesMemory& memory);

// The two-list chooser: at most two variables move into "Для анализа".
class TimeSeriesVariables : public VariableDialogModel {
  public:
    // `chooseOnlyVariable`: with exactly one sheet variable it is chosen at
    // once and the dialog is closed before it is shown.
    TimeSeriesVariables(Workspace& ws, std::string caption, std::vector<std::string> remembered,
                        bool chooseOnlyVariable);

    VariableDialogKind kind() const override { return VariableDialogKind::List; }
    std::string caption() const override { return caption_; }
    int capacity() const override { return 2; }
    std::vector<std::string> texts() const override;
    std::vector<VariableButton> buttons() const override;

    // The entries chosen, to be remembered.
    const std::vector<std::string>& chosen() const { return lists_[1].items; }

  private:
    void Confirm() override;
    std::vector<std::string> RememberedChoice() override { return remembered_; }

    std::string caption_;
    std::vector<std::string> remembered_;
};

// Shows the chooser unless it closed at once; LastAnswer 1 with one or two
// columns in SelectedColumns, 0 when cancelled or nothing was chosen.
int ChooseTimeSeries(Workspace& ws, const std::string& caption, TimeSeriesMemory& memory,
                     bool chooseOnlyVariable);

// An integer field of the form where an empty text counts 0.
int IntegerOrZero(FormReader& read, int field, const char* notice);

}  // namespace dalvex
