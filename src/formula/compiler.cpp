// The translator: a recursive precedence-chain parser that turns the prepared
// formula text into program cells. A chain of operators of equal priority
// becomes: load a, load b, op1, load c, op2, ..., store into the next free
// intermediate slot; the chain's value is then the operand reading that slot.
// An operator of higher priority after an operand starts a sub-chain that is
// reduced first, so every operator is left-associative, the power included.

#include <algorithm>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "core/number.h"
#include "core/sheet_bridge.h"
#include "core/workspace.h"
#include "formula/formula.h"
#include "formula/function_list.h"

namespace dalvex {

namespace {

constexpr const char* kTooManyVariables = "!ПЕРЕМЕННЫХ В ФОРМУЛЕ > 64!";
constexpr const char* kTextNotAllowed = "!ТЕКСТОВАЯ КОНСТАНТА НЕДОПУСТИМА!";
constexpr const char* kNoEndOfText = "!НЕТ КОНЦА ТЕКСТА!";
constexpr const char* kConstantError = "!ОШИБКА КОНСТАНТЫ!";
constexpr const char* kNoSuchFunction = "Нет такой функции";
constexpr const char* kNoSuchVariable = "Нет такой переменной";
constexpr const char* kNoClosingBracket = "Нет закрывающей скобки";
constexpr const char* kOperationError = "Ошибка операции";
constexpr const char* kNoSuchDelimiter = "Нет такого разделителя";
// The tables of a program have fixed sizes; a formula that needs more is
// refused rather than run with a table overrun.
constexpr const char* kTooManyConstants = "!ЧИСЕЛ В ФОРМУЛЕ > 65!";
constexpr const char* kTooManyTexts = "!ТЕКСТОВЫХ КОНСТАНТ В ФОРМУЛЕ > 65!";
constexpr const char* kTooComplex = "!СЛИШКОМ СЛОЖНАЯ ФОРМУЛА!";
constexpr const char* kCoefficientOutOfRange = "!НОМЕР КОЭФФИЦИЕНТА > 64!";
constexpr const char* kFunctionListUnreadable = "!НЕ УДАЛОСЬ ПРОЧИТАТЬ СПИСОК ФУНКЦИЙ StFn.ini!";

struct OperatorInfo {
    char symbol;
    int priority;
    std::uint8_t code;
};

// A larger priority binds more tightly. MOD binds like the comparisons and
// the argument comma like the power.
constexpr OperatorInfo kOperators[] = {
    {'|', 1, OpOr},    {'&', 2, OpAnd},      {'{', 3, OpLessEqual}, {'}', 3, OpGreaterEqual},
    {'<', 3, OpLess},  {'>', 3, OpGreater},  {'=', 3, OpEqual},     {'~', 3, OpNotEqual},
    {'+', 4, OpAdd},   {'-', 4, OpSubtract}, {'*', 5, OpMultiply},  {'/', 5, OpDivide},
    {'^', 6, OpPower}, {'%', 3, OpMod},      {',', 6, OpArguments},
};

const OperatorInfo* FindOperator(char c) {
    for (const auto& op : kOperators)
        if (op.symbol == c)
            return &op;
    return nullptr;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Bytes of the Cyrillic letter А..я at pos (the letters that are name
// characters, as in the program's single-byte texts), 0 for anything else.
std::size_t CyrillicLetterBytes(std::string_view s, std::size_t pos) {
    if (pos + 1 >= s.size())
        return 0;
    const auto lead = static_cast<unsigned char>(s[pos]);
    const auto next = static_cast<unsigned char>(s[pos + 1]);
    if ((lead == 0xD0 && next >= 0x90 && next <= 0xBF) ||
        (lead == 0xD1 && next >= 0x80 && next <= 0x8F))
        return 2;
    return 0;
}

// Bytes of the name character at pos, 0 when there is none.
std::size_t NameCharBytes(std::string_view s, std::size_t pos) {
    if (pos >= s.size())
        return 0;
    const char c = s[pos];
    if (IsDigit(c) || (c >= 'A' && c <= 'Z') || (c >= '`' && c <= 'z') || c == '.' || c == '[' ||
        c == ']' || c == '_')
        return 1;
    return CyrillicLetterBytes(s, pos);
}

// Bytes of the number-token character at pos: a sign belongs to a number
// only directly after its exponent letter.
std::size_t NumberCharBytes(std::string_view s, std::size_t pos) {
    if (pos >= s.size())
        return 0;
    const char c = s[pos];
    if (IsDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '.' || c == '[' ||
        c == ']' || c == '_')
        return 1;
    if ((c == '+' || c == '-') && (s[pos - 1] == 'E' || s[pos - 1] == 'e'))
        return 1;
    return CyrillicLetterBytes(s, pos);
}

std::size_t CharBytes(std::string_view s, std::size_t pos) {
    const auto lead = static_cast<unsigned char>(s[pos]);
    const std::size_t n = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    return std::min(n, s.size() - pos);
}

// A whole number written in digits only; values beyond `limit` read as limit + 1.
bool ReadIndex(std::string_view digits, long limit, long& value) {
    if (digits.empty())
        return false;
    value = 0;
    for (const char c : digits) {
        if (!IsDigit(c))
            return false;
        value = std::min(value * 10 + (c - '0'), limit + 1);
    }
    return true;
}

struct Operand {
    bool valid = false;
    FormulaCell cell;
};

Operand Valid(std::uint8_t kind, int index) {
    return {true, {kind, static_cast<std::uint8_t>(index)}};
}

struct Delimiter {
    enum class Kind { Binary, Close, End };
    Kind kind = Kind::End;
    int priority = -1;
    std::uint8_t code = 0;
    std::size_t position = 0;
};

class Translator {
  public:
    Translator(Workspace& ws, std::string_view text, FormulaContext context,
               FormulaProgram& program)
        : ws_(ws), text_(text), context_(context), program_(program) {}

    // Returns true when no message was shown.
    bool Translate();

  private:
    Operand Group(std::size_t start, bool bracketed);
    Operand Chain(Operand first, Delimiter& delimiter, std::size_t groupStart);
    Operand ReadOperand(std::size_t groupStart);
    Delimiter ReadDelimiter();
    Operand ReadText(std::size_t start);
    Operand ReadNumber(std::size_t start);
    Operand Classify(std::string_view name, std::size_t start, bool call);
    Operand ReservedName(std::string_view name) const;
    Operand Call(std::string_view name, std::size_t start);
    Operand SheetVariable(std::string_view name, std::size_t start);
    std::uint8_t FunctionCode(std::string_view name, std::size_t start);
    Operand EnterVariable(int column);
    Operand Reduce(const std::vector<Operand>& operands, const std::vector<std::uint8_t>& ops);
    Operand Store();
    void Load(const Operand& operand);
    void Emit(FormulaCell cell) { program_.cells.push_back(cell); }

    void Error(const char* message, std::size_t position);
    // Capacity messages say the same for every further excess: shown once.
    void ErrorOnce(bool& shown, const char* message, std::size_t position);

    bool InContext(std::initializer_list<FormulaContext> contexts) const {
        return std::find(contexts.begin(), contexts.end(), context_) != contexts.end();
    }

    Workspace& ws_;
    std::string_view text_;
    FormulaContext context_;
    FormulaProgram& program_;
    std::size_t pos_ = 0;
    bool failed_ = false;

    bool functionsRead_ = false;
    bool functionsReadable_ = false;
    std::vector<std::string> functions_;

    bool variablesShown_ = false;
    bool constantsShown_ = false;
    bool textsShown_ = false;
    bool complexShown_ = false;
    bool functionListShown_ = false;
};

bool Translator::Translate() {
    const Operand value = Group(0, false);
    // The last store is dropped: the formula's value stays in the accumulator.
    // A formula that is a single operand loads it.
    if (value.valid) {
        const FormulaCell store{StoreCell, value.cell.index};
        if (value.cell.kind == IntermediateOperand && !program_.cells.empty() &&
            program_.cells.back() == store) {
            program_.cells.pop_back();
            if (value.cell.index + 1 == program_.intermediates)
                --program_.intermediates;
        } else {
            Load(value);
        }
    }
    if (program_.cells.size() > ProgramCapacity || program_.intermediates > IntermediateCapacity)
        ErrorOnce(complexShown_, kTooComplex, 0);
    return !failed_;
}

// Operands joined by operators down to the group's ")" (or the end of the
// text at the outermost level).
Operand Translator::Group(std::size_t start, bool bracketed) {
    Operand value = ReadOperand(start);
    Delimiter delimiter = ReadDelimiter();
    for (;;) {
        if (delimiter.kind == Delimiter::Kind::Binary) {
            value = Chain(value, delimiter, start);
            continue;
        }
        if (delimiter.kind == Delimiter::Kind::Close && !bracketed) {
            // A ")" that closes nothing: shown, and read as OR like any
            // other character that is not a delimiter here.
            Error(kNoSuchDelimiter, delimiter.position);
            pos_ = delimiter.position + 1;
            delimiter = {Delimiter::Kind::Binary, 1, OpOr, delimiter.position};
            continue;
        }
        break;
    }
    if (bracketed) {
        if (delimiter.kind == Delimiter::Kind::Close)
            ++pos_;
        else
            Error(kNoClosingBracket, start);
    }
    return value;
}

// `first` is followed by `delimiter`, an operator of priority P. Collects the
// operands joined by operators of priority P and reduces them; returns with
// `delimiter` set to the first one of lower priority, a ")" or the end.
Operand Translator::Chain(Operand first, Delimiter& delimiter, std::size_t groupStart) {
    const int priority = delimiter.priority;
    std::vector<Operand> operands{first};
    std::vector<std::uint8_t> ops;
    for (;;) {
        ops.push_back(delimiter.code);
        Operand next = ReadOperand(groupStart);
        Delimiter after = ReadDelimiter();
        while (after.kind == Delimiter::Kind::Binary && after.priority > priority)
            next = Chain(next, after, groupStart);
        operands.push_back(next);
        delimiter = after;
        if (after.kind != Delimiter::Kind::Binary || after.priority != priority)
            break;
    }
    return Reduce(operands, ops);
}

Operand Translator::ReadOperand(std::size_t groupStart) {
    const std::size_t start = pos_;
    if (pos_ < text_.size()) {
        const char c = text_[pos_];
        if (c == '\'' || c == '"')
            return ReadText(start);
        if (c == '+' || c == '-' || IsDigit(c))
            return ReadNumber(start);
    }
    while (const std::size_t n = NameCharBytes(text_, pos_))
        pos_ += n;
    const std::string_view name = text_.substr(start, pos_ - start);
    const bool call = pos_ < text_.size() && text_[pos_] == '(';
    if (!name.empty())
        return Classify(name, start, call);
    if (call) {
        ++pos_;
        return Group(start, true);
    }
    // Two operators in a row, an operator at the start or at the end, "()".
    Error(kOperationError, groupStart);
    return {};
}

Delimiter Translator::ReadDelimiter() {
    if (pos_ >= text_.size())
        return {Delimiter::Kind::End, -1, 0, pos_};
    const std::size_t at = pos_;
    const char c = text_[at];
    if (const OperatorInfo* op = FindOperator(c)) {
        ++pos_;
        return {Delimiter::Kind::Binary, op->priority, op->code, at};
    }
    if (c == ')')
        return {Delimiter::Kind::Close, 9, 0, at};
    Error(kNoSuchDelimiter, at);
    // A "(" after an operand is left for the next operand, which reads it as
    // a bracketed group; anything else is skipped.
    if (c != '(')
        pos_ += CharBytes(text_, at);
    return {Delimiter::Kind::Binary, 1, OpOr, at};
}

// A quoted text runs to the next apostrophe or double quotation mark.
Operand Translator::ReadText(std::size_t start) {
    if (context_ != FormulaContext::Condition)
        Error(kTextNotAllowed, start);
    const std::size_t close = text_.find_first_of("'\"", start + 1);
    if (close == std::string_view::npos) {
        Error(kNoEndOfText, 0);
        pos_ = text_.size();
        return {};
    }
    const std::string_view content = text_.substr(start + 1, close - start - 1);
    pos_ = close + 1;
    if (context_ != FormulaContext::Condition)
        return {};
    if (program_.texts.size() == TextConstantCapacity) {
        ErrorOnce(textsShown_, kTooManyTexts, 0);
        return {};
    }
    program_.texts.emplace_back(content);
    return Valid(TextOperand, static_cast<int>(program_.texts.size()) - 1);
}

// A sign belongs to the number: -2^2 is (-2)^2, and -x1 is a bad number.
Operand Translator::ReadNumber(std::size_t start) {
    pos_ = start + 1;
    while (const std::size_t n = NumberCharBytes(text_, pos_))
        pos_ += n;
    const ParsedNumber number = ParseNumber(text_.substr(start, pos_ - start));
    if (!number.ok()) {
        Error(kConstantError, start);
        return {};
    }
    if (program_.constants.size() == ConstantCapacity) {
        ErrorOnce(constantsShown_, kTooManyConstants, 0);
        return {};
    }
    program_.constants.push_back(number.value);
    return Valid(ConstantOperand, static_cast<int>(program_.constants.size()) - 1);
}

// The first rule that applies wins: reserved names of the context, calls,
// coefficients and x of a model, x[n], sheet variable names.
Operand Translator::Classify(std::string_view name, std::size_t start, bool call) {
    if (const Operand reserved = ReservedName(name); reserved.valid)
        return reserved;
    if (call)
        return Call(name, start);
    if (context_ == FormulaContext::Model) {
        if (name == "x")
            return Valid(VariableOperand, 1);
        long index = 0;
        if (name[0] == 'a' && ReadIndex(name.substr(1), CoefficientSlots - 1, index)) {
            if (index >= CoefficientSlots) {
                Error(kCoefficientOutOfRange, start);
                return {};
            }
            program_.highestCoefficient =
                std::max(program_.highestCoefficient, static_cast<int>(index));
            return Valid(CoefficientOperand, static_cast<int>(index));
        }
    }
    return SheetVariable(name, start);
}

// Names the context reserves; x and y of context 4 and x of context 5 are
// taken before a following bracket is looked at, so x(k) is not theirs.
Operand Translator::ReservedName(std::string_view name) const {
    using C = FormulaContext;
    if (context_ == C::XY && name == "x")
        return Valid(CoefficientOperand, 0);
    if (context_ == C::XY && name == "y")
        return Valid(CoefficientOperand, 1);
    if (name == "i" && InContext({C::Calculator, C::Block, C::Condition}))
        return Valid(ColumnOperand, 0);
    if (name == "j" && InContext({C::Calculator, C::Condition}))
        return Valid(ObservationOperand, 0);
    if (name == "x" && context_ == C::Condition)
        return Valid(VariableOperand, 0);
    if (name.size() == 1 && name[0] >= 'a' && name[0] <= 'd' &&
        InContext({C::Calculator, C::Similarity}))
        return Valid(static_cast<std::uint8_t>(CountA + (name[0] - 'a')), 0);
    return {};
}

// NAME(...): x(...) is the sheet reference, anything else a function of the
// list. The argument is loaded twice, so that a unary function finds it in
// the left register.
Operand Translator::Call(std::string_view name, std::size_t start) {
    std::uint8_t code = 0;
    if (name == "x")
        code = context_ == FormulaContext::Calculator ? OpCellReference : OpColumnReference;
    else
        code = FunctionCode(name, start);
    const std::size_t open = pos_++;
    const Operand argument = Group(open, true);
    if (code == 0 || !argument.valid)
        return {};
    Load(argument);
    Load(argument);
    Emit({OperationCell, code});
    return Store();
}

std::uint8_t Translator::FunctionCode(std::string_view name, std::size_t start) {
    if (!functionsRead_) {
        functionsRead_ = true;
        functionsReadable_ = ReadFunctionList(ws_.ProgramFolder, functions_);
    }
    if (!functionsReadable_) {
        ErrorOnce(functionListShown_, kFunctionListUnreadable, start);
        return 0;
    }
    for (std::size_t k = 0; k < functions_.size(); ++k)
        if (FunctionName(functions_[k]) == name)
            // Codes above 35 do nothing; they all fit in the cell's byte as 255.
            return static_cast<std::uint8_t>(std::min<std::size_t>(FirstFunctionCode + k, 255));
    Error(kNoSuchFunction, start);
    return 0;
}

// x[n] names sheet variable n; any other name is compared with the names of
// the sheet's variables.
Operand Translator::SheetVariable(std::string_view name, std::size_t start) {
    const int count = ws_.sheet.VariableCount();
    long number = 0;
    if (name.size() > 3 && name.starts_with("x[") && name.back() == ']' &&
        ReadIndex(name.substr(2, name.size() - 3), count, number)) {
        if (number >= 1 && number <= count)
            return EnterVariable(static_cast<int>(number));
        Error(kNoSuchVariable, start);
        return {};
    }
    for (int k = 0; k < count; ++k)
        if (VariableName(ws_, k) == name)
            return EnterVariable(k + 1);
    Error(kNoSuchVariable, start);
    return {};
}

Operand Translator::EnterVariable(int column) {
    auto& variables = program_.variables;
    const auto found = std::find(variables.begin(), variables.end(), column);
    if (found != variables.end())
        return Valid(VariableOperand, static_cast<int>(found - variables.begin()) + 1);
    if (variables.size() == MaxFormulaVariables) {
        ErrorOnce(variablesShown_, kTooManyVariables, 0);
        return {};
    }
    variables.push_back(column);
    return Valid(VariableOperand, static_cast<int>(variables.size()));
}

Operand Translator::Reduce(const std::vector<Operand>& operands,
                           const std::vector<std::uint8_t>& ops) {
    Load(operands[0]);
    for (std::size_t k = 0; k < ops.size(); ++k) {
        Load(operands[k + 1]);
        Emit({OperationCell, ops[k]});
    }
    return Store();
}

Operand Translator::Store() {
    // The slot number must fit its cell; the capacity itself is checked once
    // the final store has been dropped.
    if (program_.intermediates > 255) {
        ErrorOnce(complexShown_, kTooComplex, 0);
        return {};
    }
    const int slot = program_.intermediates++;
    Emit({StoreCell, static_cast<std::uint8_t>(slot)});
    return Valid(IntermediateOperand, slot);
}

// An operand that failed has shown its message; the program will be refused,
// so nothing is loaded for it.
void Translator::Load(const Operand& operand) {
    if (operand.valid)
        Emit(operand.cell);
}

void Translator::Error(const char* message, std::size_t position) {
    ShowNotice(ws_, std::string(message) + ": " + std::string(text_.substr(position)));
    failed_ = true;
}

void Translator::ErrorOnce(bool& shown, const char* message, std::size_t position) {
    if (!shown)
        Error(message, position);
    shown = true;
    failed_ = true;
}

}  // namespace

int CompileFormula(Workspace& ws, ActiveFormula& formula, std::string_view text,
                   FormulaContext context) {
    const std::string prepared = PrepareFormulaText(text);
    FormulaProgram program;
    program.accepted = Translator(ws, prepared, context, program).Translate();
    if (!program.accepted) {
        program.cells.clear();
        program.intermediates = 0;
    }

    // The formula's variables are left in the selection, where the callers
    // that fill the value table find them.
    std::fill(ws.SelectedColumns.begin(), ws.SelectedColumns.begin() + MaxFormulaVariables + 1, 0);
    ws.SelectedColumns[0] = static_cast<int>(program.variables.size());
    std::copy(program.variables.begin(), program.variables.end(), ws.SelectedColumns.begin() + 1);
    if (context == FormulaContext::Model)
        formula.CoefficientTable[0] = program.highestCoefficient;

    formula.program_ = std::move(program);
    // The slots mean other things to the new program.
    formula.numeric_.fill(false);
    return formula.program_.accepted ? 0 : 1;
}

}  // namespace dalvex
