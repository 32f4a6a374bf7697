// The three shared variable dialogs as models: the list of variables
// ("Анализ переменных", Tq30), a single variable ("Анализ переменной",
// Tq030) and the X and Y variables of a regression ("Переменные регрессии",
// Tq31). Each remembers its last choice in the program folder and can
// restore it; the answer lands in LastAnswer (0 = cancelled) and
// SelectedColumns.
#pragma once

#include <string>
#include <vector>

#include "core/variable_dialog.h"
#include "core/workspace.h"

namespace dalvex {

inline constexpr const char* ListDialogMemory = "q30.ini";
inline constexpr const char* SingleDialogMemory = "q030.ini";
inline constexpr const char* RegressionDialogMemory = "q31.ini";
inline constexpr const char* PairFileFilter = "Текстовые (*.txt)|*.txt|";

// What the variable dialogs share: the lists, the workspace, closing, and
// the buttons of a two-list chooser (offered list 0, chosen list 1).
class VariableDialogModel : public VariableDialog {
  public:
    const std::vector<VariableList>& lists() const override { return lists_; }
    bool closed() const override { return closed_; }
    int helpContext() const override { return ws_.RunHelpContext; }
    // Include, Exclude, All, Restore (the lines of RememberedChoice), Enter,
    // Confirm and Cancel of a two-list chooser; any other action goes to
    // PressOther.
    void Press(VariableAction action, const std::vector<std::vector<int>>& selected) override;
    // Moves the item across, as MoveAcross.
    void DoubleClick(int list, int item) override;

  protected:
    explicit VariableDialogModel(Workspace& ws);
    // Checks the chosen list and closes the dialog with its answer.
    virtual void Confirm() = 0;
    // The previous choice, the lines Restore brings back in order.
    virtual std::vector<std::string> RememberedChoice() { return {}; }
    // An action the shared buttons do not know (reading a list of pairs).
    virtual void PressOther(VariableAction action) { (void)action; }
    // Moves offered items (list 0) to the chosen list (1), only as many as
    // capacity() leaves room for.
    void Include(std::vector<int> indices);
    // Moves the items at `indices` (any order) of list `from` to the end of
    // list `to`, keeping their order.
    void Move(int from, const std::vector<int>& indices, int to);
    // Moves the item of the first list whose text is exactly `text`; returns
    // whether there was one.
    bool MoveMatching(const std::string& text, int to);
    // The column numbers of a list's items, or false (with a beep) when one
    // cannot be read.
    bool Columns(int list, std::vector<int>& columns);
    // The indices of every item of a list.
    std::vector<int> Every(int list) const;
    // A double click moves an item between the offered list (0) and the
    // chosen one (1), as far as capacity() allows.
    void MoveAcross(int list, int item);
    // The chosen list (1), at most `most` of its columns, becomes the
    // selection; answers how many, or -1 when nothing was chosen (the
    // dialog closes with 0) or an item cannot be read (a beep).
    int SelectChosen(int most);
    // Remembers the items in the dialog's file; a write failure only beeps.
    void Remember(const char* file, const std::vector<std::string>& items);
    std::vector<std::string> Remembered(const char* file);
    void Close(int answer);

    Workspace& ws_;
    std::vector<VariableList> lists_;
    bool closed_ = false;
};

class Tq30 : public VariableDialogModel {
  public:
    // `offerPairs`: the method can take a list of pairs from a text file.
    explicit Tq30(Workspace& ws, bool offerPairs = false);

    VariableDialogKind kind() const override { return VariableDialogKind::List; }
    std::string caption() const override { return "Анализ переменных"; }
    std::vector<std::string> texts() const override;
    std::vector<VariableButton> buttons() const override;

  private:
    void Confirm() override;
    std::vector<std::string> RememberedChoice() override { return Remembered(ListDialogMemory); }
    void PressOther(VariableAction action) override;
    void ReadPairs();
    bool offerPairs_;
};

class Tq030 : public VariableDialogModel {
  public:
    // With exactly one sheet variable the dialog chooses it at once and is
    // closed before it is shown.
    explicit Tq030(Workspace& ws);

    VariableDialogKind kind() const override { return VariableDialogKind::Single; }
    std::string caption() const override { return "Анализ переменной"; }
    std::vector<std::string> texts() const override;
    std::vector<VariableButton> buttons() const override;
    void Press(VariableAction action, const std::vector<std::vector<int>>& selected) override;
    void DoubleClick(int list, int item) override;

  private:
    void Confirm() override;
};

class Tq31 : public VariableDialogModel {
  public:
    // AnswerNumber 1 (simple regression) allows one X only.
    explicit Tq31(Workspace& ws);

    VariableDialogKind kind() const override { return VariableDialogKind::Regression; }
    std::string caption() const override { return "Переменные регрессии"; }
    std::vector<std::string> texts() const override;
    std::vector<VariableButton> buttons() const override;
    void Press(VariableAction action, const std::vector<std::vector<int>>& selected) override;
    void DoubleClick(int list, int item) override;
    // The X list of simple regression takes one variable.
    int capacity() const override { return simple() ? 1 : 0; }

  private:
    enum { Offered = 0, Xs = 1, Y = 2 };
    bool simple() const { return ws_.AnswerNumber == 1; }
    // Moves offered items to X as far as the one-X rule of simple regression allows.
    void ChooseX(std::vector<int> indices);
    void All();
    void Restore();
    void Confirm() override;
};

// The openers: create the dialog, show it unless it closed at once, and
// return LastAnswer.
int pq30(Workspace& ws, bool offerPairs = false);
int pq030(Workspace& ws);
int pq31(Workspace& ws);

}  // namespace dalvex
