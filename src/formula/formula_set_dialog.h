// The formula-set dialog (Tqq10): eight remembered formulas of one purpose,
// chosen, edited in the purpose's editor, read from and written to ".stf"
// archives. Confirming hands the chosen formula to the caller in TextBuffer;
// a regression model (purpose 2) is compiled at once and refused when it
// does not compile or its left part names no sheet variable.
#pragma once

#include <string>
#include <vector>

#include "core/formula_dialog.h"
#include "core/workspace.h"
#include "formula/formula.h"
#include "formula/formula_files.h"

namespace dalvex {

inline constexpr const char* FormulaSetGroup = "Формулы";
inline constexpr const char* ModelWithoutResponseText =
    "!СЛЕВА ОТ \"=\" ДОЛЖНА СТОЯТЬ Y-ПЕРЕМЕННАЯ ЛИСТА ДАННЫХ!";

class Tqq10 : public FormulaDialog {
  public:
    // `formula` receives a confirmed regression model compiled (purpose 2);
    // without one the dialog compiles into a formula of its own.
    Tqq10(Workspace& ws, int purpose, ActiveFormula* formula = nullptr);

    FormulaDialogKind kind() const override { return FormulaDialogKind::Set; }
    std::string caption() const override;
    int purpose() const { return purpose_; }

    // Reads the purpose's file into the eight lines and selects line 1. A
    // file that cannot be read beeps; the lines stay empty.
    void Open();

    const std::vector<std::string>& lines() const { return lines_; }
    int selected() const { return selected_; }  // 0..7
    void Select(int line);
    // The person typed into a line.
    void SetLine(int line, std::string text);
    // Double-click: select and confirm.
    void DoubleClick(int line);

    // "Редактор": the purpose's editor on the selected line; its confirmed
    // text replaces the line.
    void Edit();
    // "Утвердить".
    void Confirm();
    void Cancel() override;
    // "Чтение формул из архива" and "Запись формул в архив": both at the
    // path chosen in the file dialog.
    void ReadArchive();
    void WriteArchive();

    bool closed() const override { return closed_; }
    std::string Answer(int choice, const std::vector<std::string>& texts) override;
    // After the dialog closed: the choice and texts that, given to Answer(),
    // end it the same way (a recorded session writes them as its script
    // line); empty when it was not confirmed.
    std::vector<std::string> ScriptAnswer() const;

    // After a confirmed model: the response's sheet column.
    int responseColumn() const { return responseColumn_; }

  private:
    // Purpose 2: compiles the response and the model; false (with the
    // notices shown) when either is refused.
    bool CompileModel(const std::string& model);

    Workspace& ws_;
    int purpose_;
    ActiveFormula* formula_;
    ActiveFormula ownFormula_;
    std::vector<std::string> lines_;
    int selected_ = 0;
    int responseColumn_ = 0;
    bool closed_ = false;
};

// `TSMForm.pq10`: shows the formula-set dialog of `purpose` (1..5) and
// returns LastAnswer (1 confirmed, 0 cancelled or refused). The chosen
// formula is in TextBuffer. For purpose 2 `formula` holds the model's right
// part compiled in context 2 (its coefficients and sheet variables), and
// SelectedColumns lists the model's variables followed by the response.
int ChooseFormula(Workspace& ws, int purpose, ActiveFormula& formula);

}  // namespace dalvex
