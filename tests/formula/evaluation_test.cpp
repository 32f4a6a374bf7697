#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "core/arithmetic_fault.h"
#include "formula_fixture.h"

namespace dalvex {
namespace {

using C = FormulaContext;
constexpr double pi = std::numbers::pi;

struct ValueCase {
    const char* text;
    double expected;
};

// Context 4 with x = 3 and y = 4.
TEST_F(FormulaTest, OperatorsPrioritiesAndFunctions) {
    const ValueCase cases[] = {
        {"2+3*4", 14},
        {"(2+3)*4", 20},
        {"2*3+4", 10},
        {"1+2*3-4", 3},
        {"2*(3+4)*2", 28},
        {"2^3^2", 64},  // left-associative, the power included
        {"8-3-2", 3},
        {"12/2/3", 2},
        {"7 MOD 3", 1},
        {"1+7 MOD 3", 2},  // MOD binds more loosely than +
        {"7 MOD 3+1", 3},
        {"-7 MOD 3", -1},  // the remainder takes the sign of the dividend
        {"7 MOD -3", 1},
        {"7.9 MOD 3.9", 1},  // both truncated first
        {"-2^2", 4},         // the sign belongs to the number
        {"2^-1", 0.5},
        {"0^0", 0},
        {"0^-2", 0},
        {"(-8)^(1/3)", 0},
        {"(-2)^3", -8},
        {"(-2)^2", 4},
        {"2>=1", 1},
        {"2}1", 1},
        {"1>=2", 0},
        {"2<=1", 0},
        {"1<=1", 1},
        {"2>1", 1},
        {"2<1", 0},
        {"2=2", 1},
        {"1<>1", 0},
        {"1<>2", 1},
        {"1&0|1", 1},
        {"1&0", 0},
        {"2&-3", 1},
        {"0|0", 0},
        {"1+2>2", 1},
        {"1|2*0", 1},
        {"5", 5},
        {"(5)", 5},
        {"((2))*((3))", 6},
        {"1E-2+1", 1.01},
        {"2E+3", 2000},
        {"1,5+2", 7},  // the argument comma yields its right side
        {"x*y", 12},
        {"x^2+y^2", 25},
        {"ABS(-3)", 3},
        {"SQRT(16)", 4},
        {"SQRT(SQRT(16))+1", 3},
        {"2*SQRT(9)", 6},
        {"LN(1)", 0},
        {"LG(1000)", 3},
        {"EXP(0)", 1},
        {"EXP(1)", std::numbers::e},
        {"INT(-2.7)", -2},
        {"FRAC(-2.75)", -0.75},
        {"SIGN(-5)", -1},
        {"SIGN(0)", 0},
        {"FACT(0)", 0},
        {"FACT(-3)", 0},
        {"FACT(1)", 1},
        {"FACT(4.7)", 24},
        {"FACT(170)", 7.257415615307994e306},
        {"SIN(0)", 0},
        {"COS(0)", 1},
        {"TAN(1)", std::tan(1.0)},
        {"ARCTAN(1)", pi / 4},
        {"ARCCOS(1)", 0},
        {"ARCCOS(0)", pi / 2},
        {"ARCCOS(-0.5)", 2 * pi / 3},
        {"ARCCOS(-1)", pi},
        {"ARCSIN(1)", pi / 2},
        {"ARCSIN(0)", 0},
        {"ARCSIN(-0.5)", -pi / 6},
        {"ARCSIN(-1)", -pi / 2},
    };
    formula.CoefficientTable[0] = 3;
    formula.CoefficientTable[1] = 4;
    for (const auto& c : cases) {
        const double value = Value(c.text, C::XY);
        EXPECT_NEAR(value, c.expected, 1e-12 * std::max(1.0, std::fabs(c.expected))) << c.text;
    }
}

struct FaultCase {
    const char* text;
    FaultKind kind;
};

TEST_F(FormulaTest, ArithmeticFaultsAreRaisedNeverReturned) {
    const FaultCase cases[] = {
        {"1/0", FaultKind::DivisionByZero},
        {"1/(2-2)", FaultKind::DivisionByZero},
        {"5 MOD 0", FaultKind::DivisionByZero},
        {"5 MOD 0.5", FaultKind::DivisionByZero},
        {"1E19 MOD 2", FaultKind::Overflow},
        {"-9223372036854775808 MOD -1", FaultKind::Overflow},
        {"LN(0)", FaultKind::InvalidOperation},
        {"LN(-1)", FaultKind::InvalidOperation},
        {"LG(0)", FaultKind::InvalidOperation},
        {"SQRT(-1)", FaultKind::InvalidOperation},
        {"ARCCOS(1.0000001)", FaultKind::InvalidOperation},
        {"ARCSIN(-2)", FaultKind::InvalidOperation},
        {"EXP(1000)", FaultKind::Overflow},
        {"10^400", FaultKind::Overflow},
        {"1E300*1E300", FaultKind::Overflow},
        {"-1E308-1E308", FaultKind::Overflow},
        {"1E300/1E-300", FaultKind::Overflow},
        {"FACT(171)", FaultKind::Overflow},
        {"FACT(1E300)", FaultKind::Overflow},  // at once, not after 1E300 steps
    };
    for (const auto& c : cases) {
        ASSERT_EQ(Compile(c.text, C::XY), 0) << c.text;
        try {
            const double value = EvaluateFormula(ws, formula);
            ADD_FAILURE() << c.text << " gave " << value;
        } catch (const ArithmeticFault& fault) {
            EXPECT_EQ(fault.kind(), c.kind) << c.text;
        }
    }
}

TEST_F(FormulaTest, MissingValuePassesThroughLikeAnyNumber) {
    formula.CoefficientTable[0] = MissingValue;
    EXPECT_EQ(Value("x", C::XY), MissingValue);
    EXPECT_EQ(Value("x(1,9)+0", C::Calculator), 30);
    EXPECT_EQ(Value("x(3,1)", C::Calculator), MissingValue);  // the text "abc"
}

// The calculator: x(i,j) reads a sheet cell clamped into the sheet; i is the
// current column and j the 1-based current row.
TEST_F(FormulaTest, CalculatorReadsClampedCells) {
    const ValueCase cases[] = {
        {"x(2,3)", 3.5},           {"x(0,-5)", 10},  // variable 1, first observation
        {"x(2,99)", 4.5},                            // beyond the end: the last filled row
        {"x(99,1)", MissingValue},  // the last variable, whose first cell is a text
        {"x(1,2)+1", 21},          {"x((1+1),(1+2))", 3.5},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Value(c.text, C::Calculator), c.expected) << c.text;

    ASSERT_EQ(Compile("i*100+j", C::Calculator), 0);
    formula.SetObservation(7);
    formula.SetColumn(2);
    EXPECT_EQ(EvaluateFormula(ws, formula), 207);
    ASSERT_EQ(Compile("x(i,j)", C::Calculator), 0);
    formula.SetObservation(2);
    formula.SetColumn(1);
    EXPECT_EQ(EvaluateFormula(ws, formula), 20);

    ASSERT_EQ(Compile("a+b*c-d", C::Calculator), 0);
    formula.Counts = {1, 2, 3, 4};
    EXPECT_EQ(EvaluateFormula(ws, formula), 3);
}

// Arguments of x(i,j) that hold + or - must be bracketed: the comma binds
// like the power, so 2,3+1 is (2,3)+1.
TEST_F(FormulaTest, CommaBindsLikeThePower) {
    EXPECT_EQ(Value("x(1,3+1)", C::Calculator), 30);  // the cell (1, 3), whatever the sum
}

TEST_F(FormulaTest, EmptySheetReadsMissingValues) {
    ws.sheet.Reset();
    EXPECT_EQ(Value("x(3,2)", C::Calculator), MissingValue);
    EXPECT_EQ(Value("x(3)", C::Block), MissingValue);
}

// A block transformation: the formula's variables in slots 1..n, the
// observation in slot n + 1 and the column in slot n + 2.
TEST_F(FormulaTest, BlockTransformationReadsVariablesAndIndices) {
    ASSERT_EQ(Compile("вес*2+x1+i*100+x(1)", C::Block), 0);
    ASSERT_EQ(formula.variableCount(), 2);
    EXPECT_EQ(ws.SelectedColumns[0], 2);
    EXPECT_EQ(ws.SelectedColumns[1], 2);  // in order of first appearance
    EXPECT_EQ(ws.SelectedColumns[2], 1);
    formula.SetVariableText(1, "1.5");
    formula.SetVariableText(2, "10");
    formula.SetObservation(1);  // x(1) reads observation 1 of variable 1
    formula.SetColumn(3);
    EXPECT_EQ(EvaluateFormula(ws, formula), 3 + 10 + 300 + 20);

    // x[n] and a name are the same variable, entered once.
    ASSERT_EQ(Compile("x[2]+вес+x[1]", C::Block), 0);
    EXPECT_EQ(formula.variableCount(), 2);
    EXPECT_EQ(formula.program().variables, (std::vector<int>{2, 1}));
}

// The slots of i and j are fixed by the compiled program: a caller that
// empties the selection after compiling still reads the right slots.
TEST_F(FormulaTest, IndexSlotsBelongToTheCompiledProgram) {
    ASSERT_EQ(Compile("x1+вес+i*1000+j*100", C::Condition), 0);
    ws.SelectedColumns.fill(0);
    formula.SetVariableText(1, "1");
    formula.SetVariableText(2, "2");
    formula.SetObservation(3);
    formula.SetColumn(4);
    EXPECT_EQ(formula.ValueTable[3].view(), "3");
    EXPECT_EQ(formula.ValueTable[4].view(), "4");
    EXPECT_EQ(EvaluateFormula(ws, formula), 1 + 2 + 4000 + 300);
}

TEST_F(FormulaTest, ModelFormulaUsesCoefficientsAndX) {
    ASSERT_EQ(Compile("a0+a1*x+a3", C::Model), 0);
    EXPECT_EQ(formula.CoefficientTable[0], 3);  // the highest coefficient index
    EXPECT_EQ(formula.program().highestCoefficient, 3);
    formula.CoefficientTable = {1, 2, 0, 4};
    formula.SetVariableText(1, "5");
    EXPECT_EQ(EvaluateFormula(ws, formula), 1 + 10 + 4);

    ASSERT_EQ(Compile("x*2", C::Model), 0);
    EXPECT_EQ(formula.CoefficientTable[0], -1);
    ASSERT_EQ(Compile("a64", C::Model), 0);
    EXPECT_EQ(formula.CoefficientTable[0], 64);
}

// In a selection condition x is the current cell's text: a quoted text is
// compared with it exactly, a number numerically.
TEST_F(FormulaTest, ConditionComparesTexts) {
    struct Case {
        const char* condition;
        const char* cell;
        double expected;
    };
    const Case cases[] = {
        {"x='abc'", "abc", 1},
        {"x=\"abc\"", "abc", 1},
        {"x='abc\"", "abc", 1},  // either quote closes the text
        {"x='abc'", "ab", 0},
        {"x='abc'", "ABC", 0},
        {"x<>'abc'", "abc", 0},
        {"x<>'abc'", "abd", 1},
        {"x='5'", "5", 1},
        {"x='5'", "5.0", 0},
        {"x=5", "5.0", 1},
        {"x=5", "abc", 0},
        {"x=5", "", 0},  // an empty cell is not 5
        {"x<>5", "", 1},
        {"x='a b'", "ab", 1},  // blanks go, inside quotes too
        {"x='abcdefghijklmnopqrstuvwxyz'", "abcdefghijklmnopqrst", 1},  // both cut to 20
        {"x='a'|x='b'", "b", 1},
        {"x='a'|x=5", "", 0},
        {"x='a'&x1>15", "a", 1},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(Compile(c.condition, C::Condition), 0) << c.condition;
        formula.SetCellText(c.cell);
        formula.SetVariableText(1, "20");
        EXPECT_EQ(EvaluateFormula(ws, formula), c.expected) << c.condition << " on " << c.cell;
    }
    ASSERT_EQ(Compile("x1=code", C::Condition), 0);
    formula.SetVariableText(1, "abc");
    formula.SetVariableText(2, "abc");
    EXPECT_EQ(EvaluateFormula(ws, formula), 1);
}

TEST_F(FormulaTest, SimilarityFormulaReadsTheFourCounts) {
    ASSERT_EQ(Compile("1-(a+b)/(a+b+c+d)", C::Similarity), 0);
    formula.Counts = {3, 1, 2, 4};
    EXPECT_DOUBLE_EQ(EvaluateFormula(ws, formula), 0.6);
}

TEST_F(FormulaTest, RandomFunctionAdvancesTheProgramSeed) {
    ws.RandomSeed = 0;
    EXPECT_EQ(Value("RND(4294967296)", C::XY), 1);  // seed 1
    EXPECT_EQ(ws.RandomSeed, 1u);
    EXPECT_EQ(EvaluateFormula(ws, formula), 134775814);
}

TEST_F(FormulaTest, RefusedFormulaEvaluatesToZero) {
    formula.CoefficientTable[0] = 3;
    ASSERT_EQ(Compile("x+", C::XY), 1);
    EXPECT_FALSE(formula.accepted());
    EXPECT_EQ(EvaluateFormula(ws, formula), 0);
}

// The model titles of the text resources are formulas; the default function
// list must know every function they call.
TEST_F(FormulaTest, ModelTitlesCompileWithTheDefaultFunctionList) {
    const char* models[] = {
        "a0+a1*SQRT(x)",
        "a0+a1*LN(x)",
        "EXP(a0)*x^a1",
        "EXP(a0+a1*x)",
        "a0+a1*EXP(a2*x)",
        "1/(a0+a1*LN(x))",
        "x/(a0+a1*x+a2*x^2)",
        "a0+a1/(1+EXP(a2+a3*x))",
        "a0+a1*x+a2*SIN(a3+a4*x)",
    };
    for (const char* model : models)
        EXPECT_EQ(Compile(model, C::Model), 0) << model;
    EXPECT_TRUE(ui.notices().empty());

    formula.CoefficientTable = {1, 0.5, 2, 0.25, 3};
    formula.SetVariableText(1, "2");
    EXPECT_DOUBLE_EQ(EvaluateFormula(ws, formula), 1 + 0.5 * 2 + 2 * std::sin(0.25 + 3 * 2));
}

}  // namespace
}  // namespace dalvex
