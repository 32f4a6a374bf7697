// The dialogs of the analysis of variance, apart from the computations so
// that a view can show them: the choice forms of methods 11 and 12, and
// "Сравнение двух групп", where the person puts groups of a one-factor
// analysis into two sets ("Группа 1", "Группа 2") whose mean levels are
// compared. Its items are the groups' variables, so a script names them as
// in the variable dialogs (by name or column number).
#pragma once

#include <string>
#include <vector>

#include "core/form_dialog.h"
#include "core/variable_dialog.h"
#include "core/workspace.h"

namespace dalvex {

inline constexpr const char* ContrastCaption = "Сравнение двух групп";
inline constexpr const char* ScheffeTitle = "             Парные сравнения Шеффе";
inline constexpr const char* TwoFactorMemory = "q112.ini";

// The choice of method 11: 1 parametric, 2 Kruskal-Wallis, 3 Friedman.
FormDialog OneFactorChoiceForm();
// The design dialog of method 12 (answers as TwoFactorDesign) with the
// levels of factor 1.
FormDialog TwoFactorChoiceForm();

class GroupContrastDialog : public VariableDialog {
  public:
    // The groups' sheet columns in their order in the analysis.
    GroupContrastDialog(Workspace& ws, const std::vector<int>& columns);

    VariableDialogKind kind() const override { return VariableDialogKind::Groups; }
    std::string caption() const override;
    std::vector<std::string> texts() const override;
    const std::vector<VariableList>& lists() const override { return lists_; }
    std::vector<VariableButton> buttons() const override;
    void Press(VariableAction action, const std::vector<std::vector<int>>& selected) override;
    void DoubleClick(int list, int item) override;
    bool closed() const override { return closed_; }
    int helpContext() const override;

    // After "Утвердить": the groups (0-based, in analysis order) of each set.
    const std::vector<int>& set1() const { return sets_[0]; }
    const std::vector<int>& set2() const { return sets_[1]; }

  private:
    enum { Offered = 0, First = 1, Second = 2 };
    void Move(int from, std::vector<int> indices, int to);
    void Confirm();

    Workspace& ws_;
    std::vector<std::string> items_;  // every group's item, in analysis order
    std::vector<VariableList> lists_;
    std::vector<int> sets_[2];
    bool closed_ = false;
};

// Shows the dialog; false when it was cancelled.
bool AskGroupContrast(Workspace& ws, GroupContrastDialog& dialog);

}  // namespace dalvex
