// The evaluator: two numeric registers, left and right. Loading an operand
// moves the right register into the left one; an operation puts op(L, R)
// into the right one; a store copies it into an intermediate slot. The
// result is the right register after the last cell.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string_view>

#include "core/arithmetic_fault.h"
#include "core/number.h"
#include "core/sheet_bridge.h"
#include "core/workspace.h"
#include "formula/formula.h"
#include "formula/value_number.h"
#include "numeric/basic.h"

namespace dalvex {

namespace {

// The text beside a register. Variables and quoted texts carry one; numbers,
// intermediate results and the like carry none.
struct TextRegister {
    std::string_view text;
    bool present = false;
};

// The state of one run.
struct Registers {
    double left = 0.0;
    double right = 0.0;
    TextRegister leftText;
    TextRegister rightText;
    // Set when a quoted text or a variable that is not a number was loaded
    // since the last operation: = and <> then compare the texts.
    bool textFlag = false;
    // Set by the argument comma of x(i, j).
    double pendingColumn = 0.0;
    double pendingObservation = 0.0;
};

// The whole number in a value-table slot (i, j and the observation of x(k)).
// Truncated and held to the int range, as ParseInteger does.
double IntegerValue(std::string_view text) {
    constexpr double kMin = std::numeric_limits<int>::min();
    constexpr double kMax = std::numeric_limits<int>::max();
    return std::clamp(std::trunc(ParseValueNumber(text).value), kMin, kMax);
}

// Sheet column for a variable number the formula computed: at most the last
// variable, at least 1.
int ClampColumn(const Workspace& ws, double k) {
    const int last = std::max(ws.sheet.VariableCount(), 1);
    if (!(k >= 1.0))
        return 1;
    return static_cast<int>(std::min(std::trunc(k), static_cast<double>(last)));
}

// SheetValue for any observation index; one before the first data row would
// be the variable's name, which is not an observation.
double ObservationValue(const Workspace& ws, int column, double obs) {
    if (!(obs >= 0.0) || obs >= SheetRows)
        return MissingValue;
    return SheetValue(ws, column, static_cast<int>(obs));
}

double Factorial(double x) {
    if (x < 1.0)
        return 0.0;
    // 171! is beyond the double range; stopping there also keeps a huge
    // argument from looping for ages.
    const double n = std::trunc(x);
    if (n > 170.0)
        RaiseFault(FaultKind::Overflow);
    double product = 1.0;
    for (int k = 2; k <= static_cast<int>(n); ++k)
        product *= k;
    return product;
}

double Modulo(double left, double right) {
    // Both must fit 64 bits; -2^63 is left out, so -2^63 MOD -1 cannot overflow.
    constexpr double kLimit = 9223372036854775808.0;  // 2^63
    const double a = std::trunc(left);
    const double b = std::trunc(right);
    if (!(std::fabs(a) < kLimit) || !(std::fabs(b) < kLimit))
        RaiseFault(FaultKind::Overflow);
    const auto x = static_cast<std::int64_t>(a);
    const auto y = static_cast<std::int64_t>(b);
    if (y == 0)
        RaiseFault(FaultKind::DivisionByZero);
    return static_cast<double>(x % y);  // the sign of the remainder follows the dividend
}

// The run-time generator the random function shares with the rest of the program.
double NextUniform(Workspace& ws) {
    ws.RandomSeed = ws.RandomSeed * 134775813u + 1u;
    return ws.RandomSeed * (1.0 / 4294967296.0);
}

double ArcInDomain(double x, double (*arc)(double)) {
    if (!(x >= -1.0 && x <= 1.0))
        RaiseFault(FaultKind::InvalidOperation);
    return arc(x);
}

bool TextsEqual(const Registers& r) {
    // A number cannot equal a text that is not one.
    return r.leftText.present && r.rightText.present && r.leftText.text == r.rightText.text;
}

// Functions of the list take their argument from the left register.
double Function(Workspace& ws, std::uint8_t code, double x, double unchanged) {
    switch (code) {
        case 20:
            return std::fabs(x);
        case 21:
            if (x < 0.0)
                RaiseFault(FaultKind::InvalidOperation);
            return std::sqrt(x);
        case 22:
            if (x <= 0.0)
                RaiseFault(FaultKind::InvalidOperation);
            return std::log(x);
        case 23:
            return Log10(x);
        case 24:
            return Checked(std::exp(x));
        case 25:
            return std::trunc(x);
        case 26:
            return x - std::trunc(x);
        case 27:
            return Sign(x);
        case 28:
            return Factorial(x);
        case 29:
            return x * NextUniform(ws);
        case 30:
            return std::sin(x);
        case 31:
            return std::cos(x);
        case 32:
            return CheckedDivide(std::sin(x), std::cos(x));
        case 33:
            return ArcInDomain(x, [](double v) { return std::acos(v); });
        case 34:
            return ArcInDomain(x, [](double v) { return std::asin(v); });
        case 35:
            return std::atan(x);
        default:
            // Lines of the function list beyond the 16th name no operation.
            return unchanged;
    }
}

double Operate(Workspace& ws, const ActiveFormula& formula, std::uint8_t code, Registers& r) {
    const double L = r.left;
    const double R = r.right;
    switch (code) {
        case OpOr:
            return (L != 0.0 || R != 0.0) ? 1.0 : 0.0;
        case OpAnd:
            return (L != 0.0 && R != 0.0) ? 1.0 : 0.0;
        case OpLessEqual:
            return L <= R ? 1.0 : 0.0;
        case OpGreaterEqual:
            return L >= R ? 1.0 : 0.0;
        case OpLess:
            return L < R ? 1.0 : 0.0;
        case OpGreater:
            return L > R ? 1.0 : 0.0;
        case OpEqual:
            return (r.textFlag ? TextsEqual(r) : L == R) ? 1.0 : 0.0;
        case OpNotEqual:
            return (r.textFlag ? TextsEqual(r) : L == R) ? 0.0 : 1.0;
        case OpAdd:
            return Checked(L + R);
        case OpSubtract:
            return Checked(L - R);
        case OpMultiply:
            return Checked(L * R);
        case OpDivide:
            return CheckedDivide(L, R);
        case OpPower:
            return Checked(Power(L, R));
        case OpMod:
            return Modulo(L, R);
        case OpArguments:
            r.pendingColumn = std::trunc(L);
            r.pendingObservation = std::trunc(R) - 1.0;
            return R;
        case OpColumnReference: {
            const int n = formula.variableCount();
            const double obs = IntegerValue(formula.ValueTable[n + 1].view());
            const double value = ObservationValue(ws, ClampColumn(ws, L), obs);
            if (formula.rejectNonNumbers && value == MissingValue)
                throw NotANumberInFormula();
            return value;
        }
        case OpCellReference: {
            const int column = ClampColumn(ws, r.pendingColumn);
            const double last = ws.sheet.ColumnLength(column) - 1.0;
            const double obs = std::max(std::min(r.pendingObservation, last), 0.0);
            return ObservationValue(ws, column, obs);
        }
        default:
            return code >= FirstFunctionCode ? Function(ws, code, L, R) : R;
    }
}

}  // namespace

double EvaluateFormula(Workspace& ws, ActiveFormula& formula) {
    const FormulaProgram& program = formula.program_;
    if (!program.accepted)
        return 0.0;
    const int n = formula.variableCount();
    Registers r;
    for (const FormulaCell cell : program.cells) {
        if (cell.kind == OperationCell) {
            r.right = Operate(ws, formula, cell.index, r);
            r.rightText = {};
            r.textFlag = false;
            continue;
        }
        if (cell.kind == StoreCell) {
            formula.intermediates_[cell.index] = r.right;
            continue;
        }
        r.left = r.right;
        r.leftText = r.rightText;
        r.rightText = {};
        switch (cell.kind) {
            case CoefficientOperand:
                r.right = formula.CoefficientTable[cell.index];
                break;
            case VariableOperand: {
                const std::string_view text = formula.ValueTable[cell.index].view();
                const ParsedNumber number = ParseValueNumber(text);
                if (!number.ok() && formula.rejectNonNumbers)
                    throw NotANumberInFormula();
                r.right = number.ok() ? number.value : 0.0;
                r.rightText = {text, true};
                if (!number.ok())
                    r.textFlag = true;
                break;
            }
            case ConstantOperand:
                r.right = program.constants[cell.index];
                break;
            case TextOperand:
                r.right = 0.0;
                r.rightText = {program.texts[cell.index].view(), true};
                r.textFlag = true;
                break;
            case IntermediateOperand:
                r.right = formula.intermediates_[cell.index];
                break;
            case ColumnOperand:
                r.right = IntegerValue(formula.ValueTable[n + 2].view());
                break;
            case ObservationOperand:
                r.right = IntegerValue(formula.ValueTable[n + 1].view());
                break;
            case CountA:
                r.right = formula.Counts.a;
                break;
            case CountB:
                r.right = formula.Counts.b;
                break;
            case CountC:
                r.right = formula.Counts.c;
                break;
            case CountD:
                r.right = formula.Counts.d;
                break;
            default:
                break;
        }
    }
    return Checked(r.right);
}

}  // namespace dalvex
