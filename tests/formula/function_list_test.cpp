#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/settings.h"
#include "formula_fixture.h"

namespace dalvex {
namespace {

using C = FormulaContext;

std::string FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST_F(FormulaTest, DefaultListNamesCodes20To35) {
    std::vector<std::string> lines;
    ASSERT_TRUE(ReadFunctionList(ws.ProgramFolder, lines));
    ASSERT_EQ(lines.size(), 16u);
    const char* names[] = {"ABS",  "SQRT", "LN",  "LG",  "EXP", "INT",    "FRAC",   "SIGN",
                           "FACT", "RND",  "SIN", "COS", "TAN", "ARCCOS", "ARCSIN", "ARCTAN"};
    for (std::size_t k = 0; k < lines.size(); ++k)
        EXPECT_EQ(FunctionName(lines[k]), names[k]) << k;
    // Written as a Windows Cyrillic file with CR LF; the descriptions after
    // the list are Russian.
    const std::string bytes = FileBytes(folder_ / FunctionListFileName);
    EXPECT_TRUE(bytes.starts_with("ABS(?)\r\nSQRT(?)\r\n"));
    EXPECT_NE(bytes.find("\r\n\r\nABS - \xE0\xE1\xF1\xEE\xEB\xFE\xF2\xED\xE0\xFF"),
              std::string::npos);

    // An existing list is the person's and stays.
    WriteLinesFile(ws.ProgramFolder + FunctionListFileName, {"MY(?)"});
    EXPECT_TRUE(WriteFunctionListIfMissing(ws.ProgramFolder));
    ASSERT_TRUE(ReadFunctionList(ws.ProgramFolder, lines));
    EXPECT_EQ(lines, std::vector<std::string>{"MY(?)"});
}

// Line k of the list is code 20 + k; lines past the 16th return their
// argument; the list ends at the first empty line.
TEST_F(FormulaTest, FunctionsAreLookedUpByLine) {
    std::vector<std::string> lines;
    for (int k = 0; k < 16; ++k)
        lines.push_back("F" + std::to_string(k) + "(?)");
    lines[1] = "ROOT(x) - корень";
    lines[7] = "NOBRACKET";
    lines.push_back("EXTRA(?)");
    lines.push_back("");
    lines.push_back("LATE(?)");
    ASSERT_TRUE(WriteLinesFile(ws.ProgramFolder + FunctionListFileName, lines).ok);

    EXPECT_EQ(Value("ROOT(9)", C::XY), 3);
    EXPECT_EQ(Value("F8(4)", C::XY), 24);
    EXPECT_EQ(Value("EXTRA(7)+1", C::XY), 8);
    EXPECT_EQ(Compile("LATE(1)+NOBRACKET(1)", C::XY), 1);
    EXPECT_EQ(ui.notices(), (std::vector<std::string>{"Нет такой функции: LATE(1)+NOBRACKET(1)",
                                                      "Нет такой функции: NOBRACKET(1)"}));
}

// Without a readable list a formula that calls a function cannot run: it is
// refused, with one message however many calls it makes.
TEST_F(FormulaTest, UnreadableFunctionListRefusesCalls) {
    std::filesystem::remove(folder_ / FunctionListFileName);
    EXPECT_EQ(Compile("SQRT(4)+ABS(1)", C::XY), 1);
    EXPECT_EQ(ui.notices(), std::vector<std::string>{
                                "!НЕ УДАЛОСЬ ПРОЧИТАТЬ СПИСОК ФУНКЦИЙ StFn.ini!: SQRT(4)+ABS(1)"});
    EXPECT_EQ(EvaluateFormula(ws, formula), 0);

    ui.ClearLog();
    EXPECT_EQ(Value("1+2", C::XY), 3);  // formulas without calls never need it

    std::filesystem::create_directory(folder_ / FunctionListFileName);
    EXPECT_EQ(Compile("SQRT(4)", C::XY), 1);
}

}  // namespace
}  // namespace dalvex
