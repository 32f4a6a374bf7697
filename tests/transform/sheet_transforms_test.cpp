// The sheet transformations from small fixtures that show misalignment, lost
// cells and numbers made up from texts. Expected values by hand (and R where
// a figure is not obvious: sd(c(2, 4, 4, 4, 5, 5, 7, 9)) = 2.13809).
#include <cmath>

#include "core/arithmetic_fault.h"
#include "transform/sheet_transforms.h"
#include "transform_fixture.h"

namespace dalvex {
namespace {

constexpr double Pi = 3.14159265358979;

struct FunctionCase {
    StandardFunction f;
    double a;
    std::vector<std::string> cells;
    std::vector<double> expected;  // MissingValue: the cell is left as it was
    int invalid;
};

TEST_F(TransformTest, StandardFunctionsWriteTheirValuesAndCountInvalidArguments) {
    const FunctionCase cases[] = {
        {StandardFunction::Log10, 1, {"100", "0", "-5"}, {2, 0, 0}, 2},
        {StandardFunction::Round, 1, {"2.5", "-2.5", "-2.7", "0.49"}, {3, -2, -3, 0}, 0},
        {StandardFunction::Asin, 1, {"1", "-1", "0", "1.5"}, {Pi / 2, -Pi / 2, 0, 0}, 1},
        {StandardFunction::Acos, 1, {"-0.5", "0", "1", "-1"}, {2.0943951, Pi / 2, 0, Pi}, 0},
        {StandardFunction::Derivative, 1, {"1", "4", "9"}, {-3, -5, 0}, 0},
        {StandardFunction::Integral, 1, {"1", "4", "9"}, {1, 5, 14}, 0},
        {StandardFunction::ModA, 3, {"7", "-7", "7.9"}, {1, -1, 1}, 0},
        {StandardFunction::Reciprocal, 1, {"4", "0"}, {0.25, 1e36}, 1},
        {StandardFunction::Exp, 1, {"0", "85"}, {1, 1e36}, 1},
        // Texts and empty cells are no arguments: they stay as they are.
        {StandardFunction::Sqrt, 1, {"4", "abc", "", "-1"}, {2, MissingValue, MissingValue, 0}, 1},
    };
    for (const FunctionCase& c : cases) {
        ws.sheet.Reset();
        ui.ClearLog();
        Column(1, "x", c.cells);
        const int invalid =
            ApplyStandardFunction(ws, BlockOfSelection(ws, 1, 1, 1, 1), c.f, c.a, 0);
        EXPECT_EQ(invalid, c.invalid) << static_cast<int>(c.f);
        const std::vector<double> values = Values(1);
        ASSERT_EQ(values.size(), c.cells.size());
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (c.expected[i] == MissingValue)
                EXPECT_EQ(Texts(1)[i], c.cells[i]);
            else
                EXPECT_NEAR(values[i], c.expected[i], 1e-7 * (1 + std::fabs(c.expected[i])))
                    << static_cast<int>(c.f) << " row " << i;
        }
        if (c.invalid > 0)
            EXPECT_EQ(ui.notices(), std::vector<std::string>{"Заменено недопустимых аргументов=" +
                                                             std::to_string(c.invalid)});
        else
            EXPECT_TRUE(ui.notices().empty());
    }
}

TEST_F(TransformTest, ModByZeroStopsAsADivisionByZero) {
    Column(1, "x", {"7"});
    EXPECT_THROW(
        ApplyStandardFunction(ws, BlockOfSelection(ws, 1, 1, 1, 1), StandardFunction::ModA, 0.5, 0),
        ArithmeticFault);
    EXPECT_EQ(Texts(1), std::vector<std::string>{"7"});
}

TEST_F(TransformTest, ABlockSelectionLimitsTheRowsAndColumns) {
    Column(1, "x", {"1", "2", "3"});
    Column(2, "y", {"1", "2", "3"});
    Column(3, "z", {"1", "2", "3"});
    // Grid rows 2..3 of columns 2..3.
    ApplyStandardFunction(ws, BlockOfSelection(ws, 2, 2, 3, 3), StandardFunction::Linear, 10, 2);
    EXPECT_EQ(Texts(1), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(Texts(2), (std::vector<std::string>{"1", "14", "16"}));
    EXPECT_EQ(Texts(3), (std::vector<std::string>{"1", "14", "16"}));
}

TEST_F(TransformTest, ABlockFormulaLeavesCellsWhoseArgumentsAreNoNumbers) {
    Column(1, "x", {"1", "2", "3", ""});
    Column(2, "y", {"10", "нет", "", "40"});
    Compile("x(2)*2+x(1)", FormulaContext::Block);
    const int skipped = ApplyFormulaToBlock(ws, formula, BlockOfSelection(ws, 1, 1, 1, 1));
    EXPECT_EQ(skipped, 2);
    // Row 4 of x is empty: not rewritten at all; rows 2 and 3 read no number in y.
    EXPECT_EQ(Texts(1), (std::vector<std::string>{"21", "2", "3", ""}));
    EXPECT_EQ(ui.notices(), std::vector<std::string>{NotNumberText(2)});
}

TEST_F(TransformTest, SelectionKeepsTheRowsOfAllChosenVariablesAligned) {
    Column(1, "x", {"1", "5", "3", "7", "9"});
    Column(2, "y", {"10", "", "30", "?", "текст"});
    ASSERT_EQ(CompileFormula(ws, formula, "x>2", FormulaContext::Condition), 0);
    EXPECT_EQ(SelectObservations(ws, formula, {1, 2}), 4);
    EXPECT_EQ(Texts(1), (std::vector<std::string>{"5", "3", "7", "9"}));
    EXPECT_EQ(Texts(2), (std::vector<std::string>{"-?-", "30", "-?-", "текст"}));
}

TEST_F(TransformTest, SelectionNeverTrueEmptiesTheVariablesAndTextCellsNeverPassForZero) {
    Column(1, "x", {"1", "abc", "3"});
    ASSERT_EQ(CompileFormula(ws, formula, "x<2", FormulaContext::Condition), 0);
    EXPECT_EQ(SelectObservations(ws, formula, {1}), 1);
    EXPECT_EQ(Texts(1), std::vector<std::string>{"1"});
    ASSERT_EQ(CompileFormula(ws, formula, "x>100", FormulaContext::Condition), 0);
    EXPECT_EQ(SelectObservations(ws, formula, {1}), 0);
    EXPECT_EQ(ws.sheet.ColumnLength(1), 0);
}

TEST_F(TransformTest, CodingReplacesWhatTheConditionNamesAndNothingElse) {
    Column(1, "x", {"?", "5", "?", "", "-1"});
    Column(2, "y", {"abc", "?", "1", "", ""});
    ASSERT_EQ(CompileFormula(ws, formula, "x='?'", FormulaContext::Condition), 0);
    EXPECT_EQ(CodeVariables(ws, formula, {1, 2}, "0"), 3);
    EXPECT_EQ(Texts(1), (std::vector<std::string>{"0", "5", "0", "", "-1"}));
    EXPECT_EQ(Texts(2), (std::vector<std::string>{"abc", "0", "1", "", ""}));
    // A numeric condition skips texts and empty cells.
    ASSERT_EQ(CompileFormula(ws, formula, "x<1", FormulaContext::Condition), 0);
    CodeVariables(ws, formula, {2}, "99");
    EXPECT_EQ(Texts(2), (std::vector<std::string>{"abc", "99", "1", "", ""}));
}

TEST_F(TransformTest, NormalisingRewritesNumbersOnlyAndRefusesAConstantVariable) {
    Column(1, "x", {"2", "4", "4", "", "4", "5", "5", "7", "9", "текст"});
    Column(2, "c", {"3", "3", "3"});
    NormaliseByDeviation(ws, {1, 2});
    const std::vector<double> z = Values(1);
    EXPECT_NEAR(z[0], (2 - 5) / 2.13808994, 1e-7);
    EXPECT_NEAR(z[8], (9 - 5) / 2.13808994, 1e-7);
    EXPECT_EQ(Texts(1)[3], "");
    EXPECT_EQ(Texts(1)[9], "текст");
    EXPECT_EQ(Texts(2), (std::vector<std::string>{"3", "3", "3"}));
    EXPECT_EQ(ui.notices(), std::vector<std::string>{ZeroDeviationText("c")});

    ui.ClearLog();
    Column(3, "r", {"10", "", "20", "15"});
    NormaliseByRange(ws, {3, 2});
    EXPECT_EQ(Texts(3), (std::vector<std::string>{"0", "", "1", "0.5"}));
    EXPECT_EQ(ui.notices(), std::vector<std::string>{ZeroRangeText("c")});
}

TEST_F(TransformTest, RankingGivesMidRanksToTiesAndLeavesTexts) {
    Column(1, "x", {"30", "10", "", "20", "10", "нет", "30", "30"});
    RankVariables(ws, {1});
    EXPECT_EQ(Texts(1), (std::vector<std::string>{"5", "1.5", "", "3", "1.5", "нет", "5", "5"}));
}

TEST_F(TransformTest, SortingKeepsTiedRowsInOrderAndMovesTextsWithTheirRows) {
    Column(1, "k", {"2", "1", "2", "1", "", "0"});
    Column(2, "v", {"a", "b", "c", "d", "e", "f"});
    SortRows(ws, {1}, {1, 2}, false);
    EXPECT_EQ(Texts(1), (std::vector<std::string>{"0", "1", "1", "2", "2"}));
    EXPECT_EQ(Texts(2), (std::vector<std::string>{"f", "b", "d", "a", "c", "e"}));
    // Every variable moved: the row labels went with the rows.
    EXPECT_EQ(Trim(ws.sheet.Cell(0, 1)), "6");

    SortRows(ws, {1}, {2}, true);
    EXPECT_EQ(Texts(2), (std::vector<std::string>{"a", "c", "b", "d", "f", "e"}));
    // The key was not among the moved variables, so it stays.
    EXPECT_EQ(Texts(1), (std::vector<std::string>{"0", "1", "1", "2", "2"}));
}

TEST_F(TransformTest, ASecondKeyDecidesAmongTies) {
    Column(1, "a", {"1", "1", "0", "1"});
    Column(2, "b", {"3", "1", "9", "2"});
    SortRows(ws, {1, 2}, {1, 2}, false);
    EXPECT_EQ(Texts(2), (std::vector<std::string>{"9", "1", "2", "3"}));
}

TEST_F(TransformTest, TranspositionOfARaggedSheetUsesItsLongestColumn) {
    Column(1, "a", {"1", "2"});
    Column(2, "b", {"3", "4", "5", "6", "7"});
    Column(3, "c", {"8", "x", "9"});
    ASSERT_TRUE(Transpose(ws));
    EXPECT_EQ(ws.sheet.VariableCount(), 5);
    // The old row labels name the variables; the old names label the rows.
    EXPECT_EQ(Trim(ws.sheet.Cell(1, 0)), "1");
    EXPECT_EQ(Trim(ws.sheet.Cell(0, 2)), "b");
    EXPECT_EQ(Texts(1), (std::vector<std::string>{"1", "3", "8"}));
    EXPECT_EQ(Texts(2), (std::vector<std::string>{"2", "4", "x"}));
    EXPECT_EQ(Texts(3), (std::vector<std::string>{"", "5", "9"}));
    EXPECT_EQ(Texts(4), (std::vector<std::string>{"", "6"}));
    EXPECT_EQ(Texts(5), (std::vector<std::string>{"", "7"}));
    // Rows 4 and 5 are empty now and labelled with their numbers.
    EXPECT_EQ(ws.sheet.Cell(0, 4), "   4");
    EXPECT_EQ(ws.sheet.Cell(0, 5), "   5");
}

TEST_F(TransformTest, TranspositionThatDoesNotFitIsRefusedAndTouchesNothing) {
    std::vector<std::string> cells(SheetColumns + 1, "1");
    Column(1, "a", cells);
    Column(2, "b", {"2"});
    const SheetGrid before = ws.sheet;
    EXPECT_FALSE(Transpose(ws));
    EXPECT_EQ(ui.notices(), std::vector<std::string>{TransposeTooLargeText(SheetColumns + 1)});
    EXPECT_EQ(ws.sheet.VariableCount(), 2);
    EXPECT_EQ(Texts(1), cells);
    EXPECT_EQ(ws.sheet.Cell(0, 1), before.Cell(0, 1));
}

TEST_F(TransformTest, SamplingTakesTheSameRowsOfEveryVariableAsTexts) {
    Column(1, "x", {"1", "2", "3", "4", "5", "6"});
    Column(2, "y", {"a", "", "c", "d", "e", "f"});
    ws.RandomSeed = 7;
    SampleObservations(ws, {1, 2}, 3);
    const std::vector<std::string> x = Texts(1);
    const std::vector<std::string> y = Texts(2);
    ASSERT_EQ(x.size(), 3u);
    ASSERT_EQ(y.size(), 3u);
    const std::string letters = "a?cdef";
    for (std::size_t i = 0; i < 3; ++i) {
        const int row = std::stoi(x[i]) - 1;
        EXPECT_EQ(y[i], row == 1 ? "" : std::string(1, letters[static_cast<std::size_t>(row)]));
        if (i > 0) {
            EXPECT_LT(std::stoi(x[i - 1]), std::stoi(x[i]));
        }
    }
    // A size beyond the variable keeps every row in its order.
    SampleObservations(ws, {1, 2}, 100);
    EXPECT_EQ(Texts(1), x);
}

TEST_F(TransformTest, TheGeneratorWritesFullPrecisionAndCutsTheColumn) {
    Column(1, "x", {"1", "2", "3", "4", "5", "6", "7", "8"});
    EXPECT_EQ(WriteGenerated(ws, 1, GenerateValues(ws, GeneratorLaw::Progression, 3, 1, 0.5)), 3);
    EXPECT_EQ(Texts(1), (std::vector<std::string>{"1", "1.5", "2"}));
    EXPECT_TRUE(Trim(ws.sheet.Cell(1, 4)).empty());

    ws.RandomSeed = 12345;
    const std::vector<double> drawn = GenerateValues(ws, GeneratorLaw::Normal, 5, 10, 2);
    WriteGenerated(ws, 1, drawn);
    EXPECT_EQ(Values(1), drawn);  // every bit of every double
    ws.RandomSeed = 12345;
    EXPECT_EQ(GenerateValues(ws, GeneratorLaw::Normal, 5, 10, 2), drawn);

    EXPECT_EQ(GenerateValues(ws, GeneratorLaw::Erlang, 3, 2, 0), (std::vector<double>{0, 0, 0}));
}

TEST_F(TransformTest, NoLawTakesTheLogarithmOfZero) {
    // The seed whose next step is 0: the draw 0 is drawn again.
    std::uint32_t inverse = 134775813u;
    for (int i = 0; i < 5; ++i)
        inverse *= 2u - 134775813u * inverse;
    ws.RandomSeed = static_cast<std::uint32_t>(0u - inverse);
    EXPECT_EQ(NextUniform(ws), 0.0);
    ws.RandomSeed = static_cast<std::uint32_t>(0u - inverse);
    const std::vector<double> v = GenerateValues(ws, GeneratorLaw::Exponential, 1, 1, 0);
    EXPECT_TRUE(std::isfinite(v[0]));
    EXPECT_GT(v[0], 0.0);
}

}  // namespace
}  // namespace dalvex
