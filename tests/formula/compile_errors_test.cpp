#include <string>
#include <vector>

#include "formula_fixture.h"

namespace dalvex {
namespace {

using C = FormulaContext;

TEST(FormulaTextTest, PreparationMakesEveryOperatorOneCharacter) {
    struct Case {
        const char* text;
        const char* prepared;
    };
    const Case cases[] = {
        {" a >= b ", "a}b"}, {"a<=b", "a{b"},           {"a<>b", "a~b"},
        {"<>=", "<}"},       {"7 MOD 3", "7%3"},        {"MODE", "%E"},  // inside a name too
        {"GOOD", "GOO"},     {"x = ' a b '", "x='ab'"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PrepareFormulaText(c.text), c.prepared) << c.text;
    // Cut to 255 characters before the blanks go.
    EXPECT_EQ(PrepareFormulaText(std::string(300, 'a')), std::string(255, 'a'));
    EXPECT_EQ(PrepareFormulaText(std::string(254, ' ') + "яяя"), "я");
}

struct ErrorCase {
    C context;
    const char* text;
    std::vector<std::string> notices;
};

// Every message, with the prepared text from its position on.
TEST_F(FormulaTest, ErrorsShowTheirMessageAndPosition) {
    const ErrorCase cases[] = {
        {C::Block, "-x1", {"!ОШИБКА КОНСТАНТЫ!: -x1"}},
        {C::Block, "1.2.3+x1", {"!ОШИБКА КОНСТАНТЫ!: 1.2.3+x1"}},
        {C::Block, "2*3x", {"!ОШИБКА КОНСТАНТЫ!: 3x"}},
        {C::XY, "x+'abc'", {"!ТЕКСТОВАЯ КОНСТАНТА НЕДОПУСТИМА!: 'abc'"}},
        {C::Block, "x1>='a'", {"!ТЕКСТОВАЯ КОНСТАНТА НЕДОПУСТИМА!: 'a'"}},
        {C::Condition, "x='abc", {"!НЕТ КОНЦА ТЕКСТА!: x='abc"}},
        {C::XY, "1+FOO(2)", {"Нет такой функции: FOO(2)"}},
        {C::XY, "sqrt(4)", {"Нет такой функции: sqrt(4)"}},
        {C::XY, "1+zz", {"Нет такой переменной: zz"}},
        {C::Block, "X1", {"Нет такой переменной: X1"}},
        {C::Block, "j", {"Нет такой переменной: j"}},
        {C::Block, "x[4]", {"Нет такой переменной: x[4]"}},  // three variables
        {C::Block, "x[0]", {"Нет такой переменной: x[0]"}},
        {C::Block, "x[99999999999999999999]", {"Нет такой переменной: x[99999999999999999999]"}},
        {C::Model, "a1+a65", {"!НОМЕР КОЭФФИЦИЕНТА > 64!: a65"}},
        {C::XY, "2*(3+4", {"Нет закрывающей скобки: (3+4"}},
        {C::XY, "SQRT(2*(3+4)", {"Нет закрывающей скобки: (2*(3+4)"}},
        {C::XY, "1+*2", {"Ошибка операции: 1+*2"}},
        {C::XY, "*2", {"Ошибка операции: *2"}},
        {C::XY, "1+", {"Ошибка операции: 1+"}},  // a binary operator at the end
        {C::XY, "SQRT(1+*2)", {"Ошибка операции: (1+*2)"}},
        {C::XY, "()", {"Ошибка операции: ()"}},
        {C::XY, "", {"Ошибка операции: "}},
        {C::XY, "2#3", {"Нет такого разделителя: #3"}},
        {C::XY, "2$", {"Нет такого разделителя: $", "Ошибка операции: 2$"}},
        {C::XY, "1)+2", {"Нет такого разделителя: )+2"}},
        {C::XY, "2(3)", {"Нет такого разделителя: (3)"}},
        {C::Calculator, "i(2)", {"Нет такого разделителя: (2)"}},
        {C::XY, "x(1)", {"Нет такого разделителя: (1)"}},  // x is reserved before the bracket
        {C::XY, "1 + zz MOD 2", {"Нет такой переменной: zz%2"}},
        {C::XY,
         "zz+FOO(1)+",
         {"Нет такой переменной: zz+FOO(1)+", "Нет такой функции: FOO(1)+",
          "Ошибка операции: zz+FOO(1)+"}},
    };
    for (const auto& c : cases) {
        ui.ClearLog();
        formula.CoefficientTable[0] = 1;
        EXPECT_EQ(Compile(c.text, c.context), 1) << c.text;
        EXPECT_FALSE(formula.accepted()) << c.text;
        EXPECT_EQ(ui.notices(), c.notices) << c.text;
    }
}

TEST_F(FormulaTest, NamesCloseToErrorsAreAccepted) {
    EXPECT_EQ(Value("0-x1", C::Block), 0);  // slot 1 is empty: 0
    EXPECT_EQ(Value("x[3]", C::Block), 0);
    EXPECT_EQ(Value("1E-2", C::XY), 0.01);
}

// The 65th distinct variable is refused; 64 are fine.
TEST_F(FormulaTest, SixtyFiveVariablesAreTooMany) {
    PutSheetText(ws, "x2", 2, -1);
    PutSheetText(ws, "x3", 3, -1);
    PutSheetText(ws, "1", 65, 0);  // columns x4 .. x65 become variables
    std::string text = "x1";
    for (int k = 2; k <= 64; ++k)
        text += "+x" + std::to_string(k);
    EXPECT_EQ(Compile(text, C::Block), 0);
    EXPECT_EQ(formula.variableCount(), 64);
    EXPECT_EQ(ws.SelectedColumns[64], 64);

    text += "+x65+x1";
    ASSERT_LE(text.size(), 255u);
    EXPECT_EQ(Compile(text, C::Block), 1);
    EXPECT_EQ(ui.notices(), std::vector<std::string>{"!ПЕРЕМЕННЫХ В ФОРМУЛЕ > 64!: " + text});
}

std::string Joined(const std::string& item, const std::string& op, int count) {
    std::string text = item;
    for (int k = 1; k < count; ++k)
        text += op + item;
    return text;
}

// The program's tables have fixed sizes: a formula that needs more is
// refused with one message instead of overrunning them.
TEST_F(FormulaTest, CapacitiesAreChecked) {
    EXPECT_EQ(Value(Joined("1", "+", 65), C::XY), 65);
    EXPECT_EQ(Compile(Joined("1", "+", 66), C::XY), 1);
    EXPECT_EQ(ui.notices(),
              std::vector<std::string>{"!ЧИСЕЛ В ФОРМУЛЕ > 65!: " + Joined("1", "+", 66)});

    ui.ClearLog();
    EXPECT_EQ(Compile(Joined("''", "=", 66), C::Condition), 1);
    EXPECT_EQ(ui.notices(), std::vector<std::string>{"!ТЕКСТОВЫХ КОНСТАНТ В ФОРМУЛЕ > 65!: " +
                                                     Joined("''", "=", 66)});

    // 65 loads and 64 operations fit the 130 cells; one more operand does not.
    ui.ClearLog();
    formula.SetVariableText(1, "2");
    EXPECT_EQ(Value(Joined("x1", "+", 65), C::Block), 130);
    EXPECT_EQ(Compile(Joined("x1", "+", 66), C::Block), 1);
    EXPECT_EQ(ui.notices(),
              std::vector<std::string>{"!СЛИШКОМ СЛОЖНАЯ ФОРМУЛА!: " + Joined("x1", "+", 66)});

    // Nested references: four cells and one intermediate result each.
    ui.ClearLog();
    std::string nested = "1";
    for (int k = 0; k < 70; ++k)
        nested = "x(" + nested + ")";
    EXPECT_EQ(Compile(nested, C::Block), 1);
    EXPECT_EQ(ui.notices(), std::vector<std::string>{"!СЛИШКОМ СЛОЖНАЯ ФОРМУЛА!: " + nested});
}

TEST_F(FormulaTest, FailedCompilationStillLeavesTheFormulasVariables) {
    ws.SelectedColumns.fill(7);
    EXPECT_EQ(Compile("вес+zz", C::Block), 1);
    EXPECT_EQ(ws.SelectedColumns[0], 1);
    EXPECT_EQ(ws.SelectedColumns[1], 2);
    EXPECT_EQ(ws.SelectedColumns[2], 0);
    EXPECT_EQ(ws.SelectedColumns[64], 0);
    EXPECT_EQ(ws.SelectedColumns[65], 7);  // beyond the formula's part of the list
}

}  // namespace
}  // namespace dalvex
