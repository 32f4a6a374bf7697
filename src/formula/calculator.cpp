#include "formula/calculator.h"

#include <cstdio>

#include "core/arithmetic_fault.h"
#include "core/number.h"
#include "core/sheet_bridge.h"
#include "formula/formula_editors.h"

namespace dalvex {

std::string ValueTextOf(double value) {
    char text[40];
    for (int digits = 17; digits > 1; --digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, value);
        if (std::string_view(text).size() <= static_cast<std::size_t>(ValueTextChars))
            break;
    }
    return text;
}

Tqclc::Tqclc(Workspace& ws) : ws_(ws) {
    for (const char* key : {"1", "2", "3", "4", "5", "6", "7", "8", "9", "0", ".", "+", "-", "*",
                            "/", "^", "()", DeleteKey})
        pad_.push_back(key);
    const std::vector<std::string>& defaults = DefaultCalculatorLines();
    for (int k = 0; k < CalculatorSlots; ++k)
        slots_[static_cast<std::size_t>(k)] = defaults[static_cast<std::size_t>(k)];
    expression_.SetText(defaults[CalculatorSlots]);
}

void Tqclc::Open() {
    std::vector<std::string> lines;
    if (ReadFixedLines(ws_.ProgramFolder + CalculatorFileName, CalculatorSlots + 1, lines)) {
        for (int k = 0; k < CalculatorSlots; ++k)
            slots_[static_cast<std::size_t>(k)] = lines[static_cast<std::size_t>(k)];
        expression_.SetText(lines[CalculatorSlots]);
    } else {
        ws_.ui.Beep();
    }
    // The expression shown belongs to the slot that holds it.
    current_ = 0;
    for (int k = 0; k < CalculatorSlots; ++k)
        if (slots_[static_cast<std::size_t>(k)] == expression_.text) {
            current_ = k;
            break;
        }
    functions_ = FunctionListFor(ws_);
}

void Tqclc::Close() {
    std::vector<std::string> lines(slots_.begin(), slots_.end());
    lines.push_back(expression_.text);
    std::string error;
    const std::string path = ws_.ProgramFolder + CalculatorFileName;
    if (!WriteFixedLines(path, lines, &error))
        ShowNotice(ws_, FileNotWrittenText(path, error));
}

void Tqclc::ChooseSlot(int slot) {
    if (slot < 0 || slot >= CalculatorSlots)
        return;
    current_ = slot;
    expression_.SetText(slots_[static_cast<std::size_t>(slot)]);
}

void Tqclc::Store() {
    slots_[static_cast<std::size_t>(current_)] = expression_.text;
}

void Tqclc::SetExpression(std::string text, std::size_t caret) {
    expression_.text = std::move(text);
    expression_.caret = caret;
    Store();
}

void Tqclc::PressPad(int index) {
    if (index < 0 || index >= static_cast<int>(pad_.size()))
        return;
    const std::string& key = pad_[static_cast<std::size_t>(index)];
    if (key == DeleteKey)
        expression_.DeleteAfter();
    else
        expression_.Insert(key == "()" ? "(?)" : key);
    Store();
}

void Tqclc::InsertVariable(int index) {
    if (index < 0 || index >= static_cast<int>(variables_.size()))
        return;
    expression_.Insert(variables_[static_cast<std::size_t>(index)]);
    Store();
}

void Tqclc::InsertFunction(int index) {
    if (index < 0 || index >= static_cast<int>(functions_.size()))
        return;
    expression_.Insert(functions_[static_cast<std::size_t>(index)]);
    Store();
}

bool Tqclc::Compute(int column, int row) {
    // The chosen variables of the person's last method stay theirs.
    const auto chosen = ws_.SelectedColumns;
    const int refused = CompileFormula(ws_, formula_, expression_.text, FormulaContext::Calculator);
    ws_.SelectedColumns = chosen;
    if (refused != 0)
        return false;
    // A sheet variable named in the expression reads its value in the
    // current row, never the row or column number that would otherwise sit
    // in its slot.
    const std::vector<int>& columns = formula_.program().variables;
    for (std::size_t k = 0; k < columns.size(); ++k) {
        const double value = row >= 1 ? SheetValue(ws_, columns[k], row - 1) : MissingValue;
        if (value == MissingValue) {
            ShowNotice(ws_, "!У ПЕРЕМЕННОЙ " + VariableName(ws_, columns[k] - 1) +
                                " НЕТ ЧИСЛА В СТРОКЕ " + std::to_string(row) + "!");
            return false;
        }
        formula_.SetVariableText(static_cast<int>(k) + 1, ValueTextOf(value));
    }
    formula_.SetObservation(row);
    formula_.SetColumn(column);
    try {
        const double value = EvaluateFormula(ws_, formula_);
        result_ = FormatNumber(value, ws_.digits(), ws_.decimalSeparator());
    } catch (const ArithmeticFault& fault) {
        ShowNotice(ws_, InterruptionText(fault));
        return false;
    }
    return true;
}

}  // namespace dalvex
