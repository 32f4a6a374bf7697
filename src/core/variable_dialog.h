// The variable dialogs as the person's side sees them: lists of variable
// items, a few texts and buttons. The dialogs' rules live in their models
// (the list, single-variable and regression dialogs); a view only shows the
// lists and forwards the buttons pressed with the items selected, and a
// script presses the same buttons.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dalvex {

struct Workspace;

// A list item: the variable's name padded (or cut) to 25 characters, then
// the column number, which so starts at character 26.
inline constexpr int VariableItemNameChars = 25;
std::string VariableItem(const Workspace& ws, int column);
// The column number read back from the characters from 25 on; nothing when
// they do not hold a whole number.
std::optional<int> ItemColumn(std::string_view item);

enum class VariableAction {
    Include,    // the selected items of the first list go to the chosen ones
    Exclude,    // the selected chosen items go back to the first list
    All,        // "Все"
    Restore,    // the previous choice from the dialog's memory file
    ReadPairs,  // a list of pairs from a text file
    ChooseX,    // regression: to the X list
    ChooseY,    // regression: to the Y list
    Confirm,    // "Утвердить"
    // The Enter key the dialogs' prompt asks for: the highlighted variables
    // of the first list are chosen, then the choice is confirmed.
    Enter,
    Cancel,  // "Отменить"
};

// What a variable dialog is, so that answers find it without reading its
// caption.
enum class VariableDialogKind {
    List,        // variables chosen for the analysis ("Анализ переменных")
    Single,      // one variable ("Анализ переменной")
    Regression,  // X and Y lists ("Переменные регрессии")
    Groups,      // two sets of groups to compare ("Сравнение двух групп")
};

struct VariableList {
    std::string title;
    std::string hint;
    std::vector<std::string> items;
};

struct VariableButton {
    VariableAction action;
    std::string text;
    std::string hint;
};

class VariableDialog {
  public:
    virtual ~VariableDialog() = default;

    virtual VariableDialogKind kind() const = 0;
    virtual std::string caption() const = 0;
    // The instruction lines shown above the lists.
    virtual std::vector<std::string> texts() const = 0;
    // List 0 holds the variables not chosen; the others the chosen ones.
    virtual const std::vector<VariableList>& lists() const = 0;
    virtual std::vector<VariableButton> buttons() const = 0;
    // What each position of a list stands for, shown beside its items (the
    // graph dialog's "X", "Y", "Z" ...); empty when the positions mean
    // nothing of their own.
    virtual std::vector<std::string> roles(int list) const {
        (void)list;
        return {};
    }

    // A button pressed with these items selected (indices per list).
    virtual void Press(VariableAction action, const std::vector<std::vector<int>>& selected) = 0;
    // A double click on an item of a list.
    virtual void DoubleClick(int list, int item) = 0;
    // Whether the dialog has closed; LastAnswer then holds its answer.
    virtual bool closed() const = 0;
    // The help context the dialog takes while shown.
    virtual int helpContext() const { return 0; }
    // The most variables the chosen list takes; 0 for any number.
    virtual int capacity() const { return 0; }
};

}  // namespace dalvex
