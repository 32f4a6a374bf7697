// The formula language: one small expression language for the calculator,
// transformations, model formulas, functions of x and y, selection conditions
// and similarity coefficients. CompileFormula translates a formula once into
// a flat program; EvaluateFormula runs it as often as the caller needs, after
// the caller has put the current inputs into the formula's input tables.
#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace dalvex {

struct Workspace;

// Which reserved names a formula may use, by the place that compiles it.
enum class FormulaContext : int {
    Calculator = 0,  // i, j, a, b, c, d, x(i,j)
    Block = 1,       // transformation of a block of cells: i, x(k)
    Model = 2,       // x, coefficients a0, a1, ..., x(k)
    XY = 4,          // functions of x and y
    Condition = 5,   // selection conditions: x, i, j, quoted texts
    Similarity = 6,  // similarity of binary data: a, b, c, d, x(k)
};

inline constexpr int MaxFormulaChars = 255;      // a longer text is cut before translation
inline constexpr int MaxFormulaVariables = 64;   // distinct sheet variables in one formula
inline constexpr int ConstantCapacity = 65;      // numeric constants
inline constexpr int TextConstantCapacity = 65;  // quoted texts
inline constexpr int IntermediateCapacity = 65;  // intermediate results
inline constexpr int ProgramCapacity = 130;      // cells of a program
inline constexpr int CoefficientSlots = 65;      // coefficients a0..a64
inline constexpr int ValueTextChars = 20;        // texts of the value table and quoted texts
inline constexpr int ValueTableSlots = MaxFormulaVariables + 3;

// A text of at most 20 characters, kept without allocation: the value table
// is refilled for every cell a transformation walks.
class ValueText {
  public:
    ValueText() = default;
    explicit ValueText(std::string_view text) { Assign(text); }
    // Keeps the first 20 characters.
    void Assign(std::string_view text);
    std::string_view view() const { return {bytes_.data(), size_}; }
    bool operator==(const ValueText& other) const { return view() == other.view(); }

  private:
    static constexpr std::size_t kMaxBytes = 4 * ValueTextChars;
    std::array<char, kMaxBytes> bytes_{};
    std::size_t size_ = 0;
};

// The four counts of a 2 x 2 table of binary data.
struct SimilarityCounts {
    double a = 0.0;
    double b = 0.0;
    double c = 0.0;
    double d = 0.0;
};

// A program cell: an operand (kind, index), an operation (0, code) or a store
// into an intermediate slot (StoreCell, slot).
struct FormulaCell {
    std::uint8_t kind = 0;
    std::uint8_t index = 0;
    bool operator==(const FormulaCell&) const = default;
};

// Operand kinds of the program cells.
enum OperandKind : std::uint8_t {
    OperationCell = 0,
    CoefficientOperand = 1,   // CoefficientTable slot (also x, y of context 4)
    VariableOperand = 2,      // ValueTable slot, as text
    ConstantOperand = 3,      // numeric constant
    TextOperand = 4,          // quoted text
    IntermediateOperand = 6,  // intermediate result
    StoreCell = 7,            // intermediate slot := accumulator
    ColumnOperand = 8,        // i
    ObservationOperand = 9,   // j
    CountA = 10,
    CountB = 11,
    CountC = 12,
    CountD = 13,
};

// Operation codes: 1..15 the operators, 17 x(k), 18 x(i,j), 20 + k the
// function on line k of the function list.
enum OperationCode : std::uint8_t {
    OpOr = 1,
    OpAnd = 2,
    OpLessEqual = 3,
    OpGreaterEqual = 4,
    OpLess = 5,
    OpGreater = 6,
    OpEqual = 7,
    OpNotEqual = 8,
    OpAdd = 9,
    OpSubtract = 10,
    OpMultiply = 11,
    OpDivide = 12,
    OpPower = 13,
    OpMod = 14,
    OpArguments = 15,
    OpColumnReference = 17,
    OpCellReference = 18,
    FirstFunctionCode = 20,
};

// The translated formula and the tables translation built.
struct FormulaProgram {
    std::vector<FormulaCell> cells;
    std::vector<double> constants;
    std::vector<ValueText> texts;
    // Sheet columns (1-based) the formula names, in order of first appearance;
    // entry k - 1 is read from ValueTable slot k.
    std::vector<int> variables;
    int intermediates = 0;
    // The highest coefficient index a context-2 formula uses, -1 for none.
    int highestCoefficient = -1;
    bool accepted = false;
};

// The one active formula: its program and the input tables its callers fill.
class ActiveFormula {
  public:
    // Slot 0: the current cell's text (context 5); slots 1..n: the formula's
    // variables; slot n + 1: the observation index (j); slot n + 2: the
    // column number (i); n being the count of the compiled program.
    std::array<ValueText, ValueTableSlots> ValueTable{};
    // Coefficient k in slot k (context 2); x and y in slots 0 and 1 (context 4).
    // After a context-2 compilation slot 0 holds the highest coefficient index.
    std::array<double, CoefficientSlots> CoefficientTable{};
    SimilarityCounts Counts;
    // Set by callers for which a cell that is not a number can only be a
    // fault (a transformation's arithmetic): the evaluation then raises
    // NotANumberInFormula instead of reading such a cell as 0.
    bool rejectNonNumbers = false;

    const FormulaProgram& program() const { return program_; }
    bool accepted() const { return program_.accepted; }
    // n: how many sheet variables the compiled formula reads (slots 1..n).
    int variableCount() const { return static_cast<int>(program_.variables.size()); }

    // The slots the compiled program reads, so that no caller counts them.
    void SetCellText(std::string_view text) { ValueTable[0].Assign(text); }
    void SetVariableText(int k, std::string_view text);  // k = 1..n
    void SetObservation(long index);                     // what j and x(k) read
    void SetColumn(int column);                          // what i reads

  private:
    friend int CompileFormula(Workspace&, ActiveFormula&, std::string_view, FormulaContext);
    friend double EvaluateFormula(Workspace&, ActiveFormula&);

    FormulaProgram program_;
    std::array<double, IntermediateCapacity> intermediates_{};
};

// Raised by EvaluateFormula, for a formula with rejectNonNumbers, when a
// sheet variable it reads (by name or by x(k)) holds no number in the row.
class NotANumberInFormula : public std::runtime_error {
  public:
    NotANumberInFormula() : std::runtime_error("не число в переменной формулы") {}
};

// Translates `text` into the active program. Every error is shown at once
// with ShowNotice as the message, ": " and the prepared text from the error
// on; translation goes on, so one formula may show several. Returns 0 when
// the formula was accepted and 1 when any message was shown; a refused
// program evaluates to 0. Side results: ws.SelectedColumns holds the formula's
// variables (its first 65 entries are cleared first), and in context 2
// CoefficientTable slot 0 the highest coefficient index.
int CompileFormula(Workspace& ws, ActiveFormula& formula, std::string_view text,
                   FormulaContext context);

// The value of the active program for the current input tables. Division or
// MOD by zero, a logarithm of a non-positive number, a root of a negative one,
// an arc-sine or arc-cosine outside -1..1 and overflow raise ArithmeticFault.
// Reads the sheet through SheetValue; the random function advances
// ws.RandomSeed.
double EvaluateFormula(Workspace& ws, ActiveFormula& formula);

// Text preparation: blanks removed; ">=", "<=", "<>" become "}", "{", "~";
// "OD" becomes "O" and "MO" "%", so "MOD" is the one-character operator "%".
// The text is cut to 255 characters first.
std::string PrepareFormulaText(std::string_view text);

}  // namespace dalvex
