// The formula-set dialog, the editors, the surface dialog and the
// calculator as models: the insertion rule, the model editor's split and
// join, the regression model compiled at confirmation, archives read back
// from where they were written, the surface grid and the calculator's
// current cell.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "core/data_store.h"
#include "core/settings.h"
#include "core/text.h"
#include "formula/calculator.h"
#include "formula/formula_editors.h"
#include "formula/formula_set_dialog.h"
#include "formula/surface_dialog.h"
#include "formula_fixture.h"

namespace dalvex {
namespace {

std::string FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// --- the insertion rule ----------------------------------------------------------

struct InsertCase {
    const char* before;  // "|" marks the caret
    std::vector<const char*> entries;
    const char* after;
};

EditLine LineOf(const std::string& marked) {
    EditLine line;
    const std::size_t bar = marked.find('|');
    line.text = marked.substr(0, bar) + marked.substr(bar + 1);
    line.caret = CharLength(marked.substr(0, bar));
    return line;
}

std::string Marked(const EditLine& line) {
    std::string text = line.text;
    text.insert(ByteOffsetOfChar(text, line.caret), "|");
    return text;
}

TEST(EditLineTest, InsertsByThePlaceholderRule) {
    const InsertCase cases[] = {
        // A function line leaves the caret on its placeholder; the next
        // entry replaces it.
        {"|", {"ABS(?)"}, "ABS(|?)"},
        {"|", {"ABS(?)", "вес"}, "ABS(вес|)"},
        {"2*|", {"LN(?)", "x(?)", "3"}, "2*LN(x(3|))"},
        // Plain names are inserted whole with the caret after them.
        {"a+|", {"x12"}, "a+x12|"},
        {"|+1", {"вес"}, "вес|+1"},
        // A "?" before or after the caret goes.
        {"a+?|", {"5"}, "a+5|"},
        {"a+|?", {"5"}, "a+5|"},
        // The "()" pad inserts "(?)" ready for its contents.
        {"2*|", {"(?)", "7", "+", "1"}, "2*(7+1|)"},
        // A "?" that is not next to the caret stays.
        {"?+|1", {"2"}, "?+2|1"},
    };
    for (const InsertCase& c : cases) {
        EditLine line = LineOf(c.before);
        for (const char* entry : c.entries)
            line.Insert(entry);
        EXPECT_EQ(Marked(line), c.after) << c.before;
    }
}

TEST(EditLineTest, DeletesBeforeOrAfterTheCaretAndStopsAtTheEnds) {
    EditLine line = LineOf("ве|с");
    line.DeleteBefore();
    EXPECT_EQ(Marked(line), "в|с");
    line.DeleteAfter();
    EXPECT_EQ(Marked(line), "в|");
    line.DeleteAfter();
    EXPECT_EQ(Marked(line), "в|");
    line.DeleteBefore();
    line.DeleteBefore();
    EXPECT_EQ(Marked(line), "|");
}

// --- editors ------------------------------------------------------------------

TEST_F(FormulaTest, ModelEditorSplitsAtTheFirstEqualSignAndJoinsOnConfirm) {
    Tqq12 editor(ws, "Регрессионная модель");
    editor.Open("вес=a0+a1*x1=2");
    EXPECT_EQ(editor.response(), "вес");
    EXPECT_EQ(editor.line().text, "a0+a1*x1=2");

    editor.Open("a0+a1*x");  // no "=": everything in the edit line
    EXPECT_EQ(editor.response(), "");
    EXPECT_EQ(editor.line().text, "a0+a1*x");

    editor.SetResponse("x1");
    editor.line().caret = 0;
    editor.InsertFunction(2);  // LN(?)
    editor.InsertVariable(2);  // the first sheet name, x1
    editor.Confirm();
    EXPECT_EQ(ws.TextBuffer(), "x1=LN(x1)a0+a1*x");
    EXPECT_EQ(ws.LastAnswer, 1);
    EXPECT_TRUE(editor.confirmed());
}

TEST_F(FormulaTest, EditorsOfferTheirNamesAndPads) {
    auto labels = [](const FormulaEditor& e) {
        std::string all;
        for (const PadKey& key : e.pad())
            all += key.label + " ";
        return all;
    };
    Tqq11 transform(ws, "Преобразования", 1);
    Tqq11 generator(ws, "Генератор", 4);
    Tqq13 condition(ws, "Условие");
    Tqq12 model(ws, "Регрессионная модель");
    EXPECT_EQ(transform.variables(), (std::vector<std::string>{"i", "x(?)", "x1", "вес", "code"}));
    EXPECT_EQ(generator.variables(), std::vector<std::string>{"x"});
    EXPECT_EQ(condition.variables(),
              (std::vector<std::string>{"x", "i", "j", "x1", "вес", "code"}));
    EXPECT_EQ(model.coefficients().front(), "a0");
    EXPECT_EQ(model.coefficients().back(), "a30");
    EXPECT_EQ(labels(transform), "1 2 3 4 5 6 7 8 9 0 . + - * / ^ % Del ");
    EXPECT_EQ(labels(condition), "1 2 3 4 5 6 7 8 9 0 . + - * / ^ < > <= >= = <> & | () ~ % Del ");
    EXPECT_EQ(transform.groupCaption(), "Редактор формул");
    EXPECT_EQ(condition.groupCaption(), "Редактор условий");
    EXPECT_EQ(model.groupCaption(), "Редактор моделей");

    // "Del" takes the character before the caret.
    transform.Open("x1+2");
    transform.PressPad(static_cast<int>(transform.pad().size()) - 1);
    EXPECT_EQ(transform.line().text, "x1+");
}

TEST_F(FormulaTest, AMissingFunctionListBeepsAndLeavesTheListEmpty) {
    std::filesystem::remove(folder_ / FunctionListFileName);
    Tqq11 editor(ws, "Преобразования", 1);
    editor.Open("");
    EXPECT_TRUE(editor.functions().empty());
    EXPECT_EQ(ui.beeps(), 1);
}

// --- the formula-set dialog -------------------------------------------------------

class FormulaSetTest : public FormulaTest {
  protected:
    void SetUp() override {
        FormulaTest::SetUp();
        WriteFormulaFilesIfMissing(ws.ProgramFolder);
    }
};

TEST_F(FormulaSetTest, EveryShippedFormulaCompilesInItsPurposesContext) {
    // Three variables, as the examples assume.
    for (int purpose : {1, 2, 4, 5}) {
        for (const std::string& line : DefaultFormulaSet(purpose)) {
            if (purpose == 2) {
                std::string response, right;
                SplitModel(line, response, right);
                EXPECT_EQ(Compile(response, FormulaContext::Model), 0) << line;
                EXPECT_EQ(formula.program().variables.size(), 1u) << line;
                EXPECT_EQ(Compile(right, FormulaContext::Model), 0) << line;
            } else {
                EXPECT_EQ(Compile(line, PurposeOf(purpose)->context), 0) << line;
            }
        }
    }
    EXPECT_TRUE(ui.notices().empty()) << ui.notices().front();
    EXPECT_EQ(DefaultFormulaSet(3).size(), 8u);
}

TEST_F(FormulaSetTest, ConfirmHandsTheChosenLineOverAndWritesTheSetBack) {
    Tqq10 dialog(ws, 1);
    dialog.Open();
    EXPECT_EQ(dialog.caption(), "Преобразования");
    EXPECT_EQ(dialog.lines(), DefaultFormulaSet(1));
    EXPECT_EQ(dialog.selected(), 0);
    dialog.SetLine(2, "вес*2");
    dialog.DoubleClick(2);
    EXPECT_TRUE(dialog.closed());
    EXPECT_EQ(ws.LastAnswer, 1);
    EXPECT_EQ(ws.TextBuffer(), "вес*2");
    // Windows Cyrillic, CR LF.
    const std::string bytes = FileBytes(folder_ / "StFt.ini");
    EXPECT_NE(bytes.find("\r\n\xE2\xE5\xF1*2\r\n"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder_ / "StFt.ini.tmp"));

    // A set that cannot be written whole leaves the old file as it was and
    // says so; the chosen formula still goes to the caller.
    std::filesystem::create_directory(folder_ / "StFt.ini.tmp");
    Tqq10 again(ws, 1);
    again.Open();
    again.SetLine(0, "1/x1");
    again.Confirm();
    EXPECT_EQ(FileBytes(folder_ / "StFt.ini"), bytes);
    ASSERT_EQ(ui.notices().size(), 1u);
    EXPECT_EQ(ui.notices().front().rfind("!ФАЙЛ StFt.ini НЕ ЗАПИСАН: ", 0), 0u)
        << ui.notices().front();
    EXPECT_EQ(ws.TextBuffer(), "1/x1");
}

TEST_F(FormulaSetTest, TheEditorsConfirmedTextReplacesTheSelectedLine) {
    ui.ExpectFormula("Регрессионная модель", 1, {"вес=a0+a1*x1"});
    Tqq10 dialog(ws, 2);
    dialog.Open();
    dialog.Select(4);
    dialog.Edit();
    EXPECT_EQ(dialog.lines()[4], "вес=a0+a1*x1");
    EXPECT_FALSE(dialog.closed());

    ScriptedAnswer cancel;
    cancel.kind = DialogKind::Formula;
    cancel.cancel = true;
    ui.Push(cancel);
    dialog.Edit();  // a cancelled editor changes nothing
    EXPECT_EQ(dialog.lines()[4], "вес=a0+a1*x1");
}

TEST_F(FormulaSetTest, AModelIsCompiledAtConfirmationWithTheResponseListedLast) {
    ui.ExpectFormula("Регрессионная модель", 3, {"вес = a0 + a2*x1 + a1*code"});
    ASSERT_EQ(ChooseFormula(ws, 2, formula), 1);
    EXPECT_EQ(ws.TextBuffer(), "вес = a0 + a2*x1 + a1*code");
    // x1, code, then the response вес.
    EXPECT_EQ(ws.SelectedColumns[0], 3);
    EXPECT_EQ(ws.SelectedColumns[1], 1);
    EXPECT_EQ(ws.SelectedColumns[2], 3);
    EXPECT_EQ(ws.SelectedColumns[3], 2);
    EXPECT_EQ(formula.program().highestCoefficient, 2);
    EXPECT_TRUE(ui.notices().empty());
}

TEST_F(FormulaSetTest, ARefusedModelAnswersZero) {
    struct Case {
        const char* model;
        const char* notice;
    };
    const Case cases[] = {
        {"вес=a0+a1*рост", "Нет такой переменной: рост"},
        {"рост=a0+a1*x1", "Нет такой переменной: рост"},
        // The left part must name the response: nothing, a number or x.
        {"=a0+a1*x1", ModelWithoutResponseText},
        {"a0+a1*x1", ModelWithoutResponseText},
        {"2=a0+a1*x1", ModelWithoutResponseText},
    };
    for (const Case& c : cases) {
        ui.ClearLog();
        ui.ExpectFormula("Регрессионная модель", 1, {c.model});
        EXPECT_EQ(ChooseFormula(ws, 2, formula), 0) << c.model;
        ASSERT_FALSE(ui.notices().empty()) << c.model;
        EXPECT_EQ(ui.notices().front(), c.notice) << c.model;
    }
}

TEST_F(FormulaSetTest, ArchivesAreReadBackFromWhereTheyWereWritten) {
    TempFolder data("archives");
    const std::string archive = (data / "мои").string();  // the extension is added
    Tqq10 writer(ws, 4);
    writer.Open();
    writer.SetLine(0, "SIN(x)/x");
    writer.SetLine(7, "");
    ui.ExpectFile(1, archive);
    writer.WriteArchive();
    const std::string written = (data / "мои.stf").string();
    ASSERT_TRUE(std::filesystem::exists(written));
    EXPECT_EQ(ws.FormulaArchive, written);
    EXPECT_EQ(FileBytes(written).substr(0, 10), "SIN(x)/x\r\n");

    // The next save offers the same name; reading takes the file where it is.
    ui.ExpectFile(0, written);
    Tqq10 reader(ws, 4);
    reader.Open();
    reader.ReadArchive();
    EXPECT_EQ(reader.lines(), writer.lines());
    ui.ExpectFile(1, "");
    reader.WriteArchive();
    EXPECT_EQ(ui.fileRequests().back().defaultName, "мои.stf");
    EXPECT_EQ(ui.fileRequests().back().filter, "Формулы (*.stf)|*.stf|");

    // An archive that cannot be read says so and changes nothing.
    ui.ExpectFile(0, (data / "нет.stf").string());
    reader.ReadArchive();
    ASSERT_EQ(ui.notices().size(), 1u);
    EXPECT_NE(ui.notices().front().find("НЕ ПРОЧИТАН"), std::string::npos);
    EXPECT_EQ(reader.lines(), writer.lines());
}

TEST_F(FormulaSetTest, AShortFileReadsAsEmptyLinesAndAMissingOneBeeps) {
    WriteLinesFile((folder_ / "StFc.ini").string(), {"x>1", "x<1"});
    Tqq10 dialog(ws, 5);
    dialog.Open();
    EXPECT_EQ(dialog.lines(), (std::vector<std::string>{"x>1", "x<1", "", "", "", "", "", ""}));
    std::filesystem::remove(folder_ / "StFc.ini");
    Tqq10 again(ws, 5);
    again.Open();
    EXPECT_EQ(ui.beeps(), 1);
}

// --- the surface dialog -------------------------------------------------------------

TEST_F(FormulaSetTest, SurfaceGridStepsMustBeAWholeNumberOfAtLeastTwo) {
    struct Case {
        const char* steps;
        int grid;  // 0: refused
    };
    const Case cases[] = {{"10", 10},   {"2", 2},   {"147", 147}, {"148", 147},
                          {"200", 147}, {"1", 0},   {"0", 0},     {"-5", 0},
                          {"2.5", 0},   {"abc", 0}, {"", 0},      {"1e300", 0}};
    for (const Case& c : cases) {
        ui.ClearLog();
        Tqq14 dialog(ws);
        dialog.Open();
        dialog.SetField(4, c.steps);
        dialog.Confirm();
        EXPECT_EQ(dialog.closed(), c.grid > 0) << c.steps;
        if (c.grid > 0) {
            EXPECT_EQ(dialog.request().gridSize, c.grid) << c.steps;
            EXPECT_EQ(ws.AnswerNumber, c.grid);
        } else {
            ASSERT_EQ(ui.notices().size(), 1u) << c.steps;
            EXPECT_EQ(ui.notices().front(), "!nX ДОЛЖНО БЫТЬ ЦЕЛЫМ ЧИСЛОМ НЕ МЕНЬШЕ 2!");
        }
    }
}

TEST_F(FormulaSetTest, SurfaceConfirmationHandsOverTheFormulaAndBounds) {
    ASSERT_TRUE(ws.store.Allocate());
    ui.ExpectFormula(SurfaceCaption, 1, {"x*y", "-1", "2,5", "0", "4", "20"});
    SurfaceRequest request;
    ASSERT_TRUE(ChooseSurface(ws, request));
    EXPECT_EQ(request.formula, "x*y");
    EXPECT_EQ(ws.TextBuffer(), "x*y");
    EXPECT_EQ(request.gridSize, 20);
    EXPECT_EQ(ws.store.Vec1(0), -1.0);
    EXPECT_EQ(ws.store.Vec1(1), 2.5);
    EXPECT_EQ(ws.store.Vec1(3), 4.0);
    EXPECT_EQ(FileBytes(folder_ / SurfaceFileName), "x*y\r\n-1\r\n2,5\r\n0\r\n4\r\n20\r\n");

    // Remembered for the next opening.
    Tqq14 again(ws);
    again.Open();
    EXPECT_EQ(again.formula().text, "x*y");
    EXPECT_EQ(again.fields()[1], "2,5");
}

TEST_F(FormulaSetTest, SurfaceRefusesWhatCannotBeDrawnAndStaysOpen) {
    struct Case {
        std::vector<std::string> texts;
        const char* notice;
    };
    const Case cases[] = {
        {{"x*y", "a", "1", "0", "1", "10"}, "!Xmin ДОЛЖНО БЫТЬ ЧИСЛОМ!"},
        {{"x*y", "1", "1", "0", "1", "10"}, "!Xmin И Xmax НЕ ДОЛЖНЫ СОВПАДАТЬ!"},
        {{"", "0", "1", "0", "1", "10"}, "!ВВЕДИТЕ ФОРМУЛУ ПОВЕРХНОСТИ!"},
        {{"x*z", "0", "1", "0", "1", "10"}, "Нет такой переменной: z"},
    };
    for (const Case& c : cases) {
        ui.ClearLog();
        Tqq14 dialog(ws);
        dialog.Open();
        ui.ExpectFormula(SurfaceCaption, 1, c.texts);
        EXPECT_THROW(ui.Formula(dialog), ScriptMismatch) << c.notice;
        EXPECT_FALSE(dialog.closed());
        ASSERT_FALSE(ui.notices().empty());
        EXPECT_EQ(ui.notices().front(), c.notice);
    }
    EXPECT_EQ(FileBytes(folder_ / SurfaceFileName).substr(0, 15), "SIN(x)*COS(y)\r\n");
}

TEST_F(FormulaSetTest, SurfaceArchivesRoundTrip) {
    TempFolder data("ssf");
    Tqq14 writer(ws);
    writer.Open();
    writer.formula().SetText("x^2-y^2");
    writer.SetField(4, "50");
    ui.ExpectFile(1, (data / "седло").string());
    writer.WriteArchive();
    Tqq14 reader(ws);
    ui.ExpectFile(0, (data / "седло.ssf").string());
    reader.ReadArchive();
    EXPECT_EQ(reader.formula().text, "x^2-y^2");
    EXPECT_EQ(reader.fields(), writer.fields());
    EXPECT_EQ(ws.SurfaceArchive, (data / "седло.ssf").string());
}

// --- the calculator -------------------------------------------------------------------

TEST_F(FormulaSetTest, CalculatorReadsTheCurrentCell) {
    Tqclc calc(ws);
    calc.Open();
    struct Case {
        const char* expression;
        int column, row;
        const char* result;
    };
    const Case cases[] = {
        {"i*10+j", 3, 5, "35"},        {"x(i,j)", 2, 2, "2.5"},  // вес, observation 2
        {"x(i,j)", 1, 5, "30"},         // clamped to the column's last value
        {"x(i,j)", 3, 1, "-1.047E-9"},  // a text cell reads as the missing value
        {"вес*2", 1, 3, "7"},           // a name is its value in the current row
        {"x1+вес", 3, 1, "11.5"},
    };
    for (const Case& c : cases) {
        calc.SetExpression(c.expression, 0);
        ASSERT_TRUE(calc.Compute(c.column, c.row)) << c.expression;
        EXPECT_EQ(calc.result(), c.result) << c.expression;
    }
    EXPECT_TRUE(ui.notices().empty());
}

TEST_F(FormulaSetTest, CalculatorRefusalsLeaveTheResultAsItWas) {
    Tqclc calc(ws);
    calc.Open();
    calc.SetExpression("2+3", 0);
    ASSERT_TRUE(calc.Compute(1, 1));
    struct Case {
        const char* expression;
        int row;
        const char* notice;
    };
    const Case cases[] = {
        {"x1*2", 4, "!У ПЕРЕМЕННОЙ x1 НЕТ ЧИСЛА В СТРОКЕ 4!"},      // x1 has 3 values
        {"code+1", 1, "!У ПЕРЕМЕННОЙ code НЕТ ЧИСЛА В СТРОКЕ 1!"},  // text "abc"
        {"рост", 1, "Нет такой переменной: рост"},
        {"1/(j-1)", 1, "Прерывание: "},
    };
    for (const Case& c : cases) {
        ui.ClearLog();
        calc.SetExpression(c.expression, 0);
        EXPECT_FALSE(calc.Compute(1, c.row)) << c.expression;
        ASSERT_FALSE(ui.notices().empty()) << c.expression;
        EXPECT_EQ(ui.notices().front().rfind(c.notice, 0), 0u) << ui.notices().front();
        EXPECT_EQ(calc.result(), "5");
    }
}

TEST_F(FormulaSetTest, CalculatorSlotsSurviveARestart) {
    {
        Tqclc calc(ws);
        calc.Open();
        calc.ChooseSlot(3);
        calc.SetExpression("", 0);
        calc.PressPad(0);        // 1
        calc.InsertFunction(1);  // SQRT(?)
        calc.PressPad(1);        // 2 into the placeholder
        calc.ChooseSlot(9);
        calc.SetExpression("LN(2)*j", 7);
        calc.Close();
    }
    Tqclc calc(ws);
    calc.Open();
    EXPECT_EQ(calc.expressionSlots()[3], "1SQRT(2)");
    EXPECT_EQ(calc.expressionSlots()[9], "LN(2)*j");
    EXPECT_EQ(calc.expressionSlots()[0], DefaultCalculatorLines()[0]);
    EXPECT_EQ(calc.expression().text, "LN(2)*j");
    EXPECT_EQ(calc.currentSlot(), 9);
}

TEST_F(FormulaSetTest, CalculatorDelTakesTheCharacterAfterTheCaret) {
    Tqclc calc(ws);
    calc.SetExpression("123", 1);
    calc.PressPad(static_cast<int>(calc.pad().size()) - 1);
    EXPECT_EQ(calc.expression().text, "13");
    EXPECT_EQ(calc.expressionSlots()[calc.currentSlot()], "13");
}

}  // namespace
}  // namespace dalvex
