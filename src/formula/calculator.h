// The calculator (Tqclc, "Калькулятор"): ten remembered expressions of the
// formula language, computed in context 0 against the sheet's current cell.
// Its memory is "qcalc.ini": the ten expressions, then the text of the
// drop-down field.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/workspace.h"
#include "formula/edit_line.h"
#include "formula/formula.h"
#include "formula/formula_files.h"

namespace dalvex {

inline constexpr const char* CalculatorCaption = "Калькулятор";

class Tqclc {
  public:
    // Its help page.
    static constexpr int HelpContext = 10;

    explicit Tqclc(Workspace& ws);

    // Reads "qcalc.ini" and the function list; a missing file beeps and the
    // shipped examples stay.
    void Open();
    // Writes the ten expressions and the expression line to "qcalc.ini".
    void Close();

    const std::array<std::string, CalculatorSlots>& expressionSlots() const { return slots_; }
    int currentSlot() const { return current_; }
    // Choosing an expression in the drop-down list.
    void ChooseSlot(int slot);

    const EditLine& expression() const { return expression_; }
    // The person typed: the text goes back into the current slot.
    void SetExpression(std::string text, std::size_t caret);
    void SetCaret(std::size_t caret) { expression_.caret = caret; }

    // "i", "j", "x(i,j)", "a", "b", "c", "d".
    const std::vector<std::string>& variables() const { return variables_; }
    const std::vector<std::string>& functions() const { return functions_; }
    // "1" .. "9", "0", ".", "+", "-", "*", "/", "^", "()", "Del".
    const std::vector<std::string>& pad() const { return pad_; }
    void PressPad(int index);
    void InsertVariable(int index);
    void InsertFunction(int index);

    // "Вычислить" with the sheet's current cell in `column` (i) and grid row
    // `row` (j, the 1-based observation). A sheet variable named in the
    // expression takes its value in that row; a row without a number there
    // is refused with a notice. Compile errors and arithmetic faults are
    // shown and leave the result as it was. True when a result was shown.
    bool Compute(int column, int row);
    const std::string& result() const { return result_; }

  private:
    void Store();

    Workspace& ws_;
    std::array<std::string, CalculatorSlots> slots_{};
    int current_ = 0;
    EditLine expression_;
    std::vector<std::string> variables_{"i", "j", "x(i,j)", "a", "b", "c", "d"};
    std::vector<std::string> functions_;
    std::vector<std::string> pad_;
    std::string result_;
    ActiveFormula formula_;
};

// A value as a text of at most 20 characters that reads back as near to it
// as those characters allow (the value table holds 20).
std::string ValueTextOf(double value);

}  // namespace dalvex
