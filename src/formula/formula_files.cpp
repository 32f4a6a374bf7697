#include "formula/formula_files.h"

#include <array>
#include <filesystem>
#include <system_error>

#include "core/settings.h"

namespace dalvex {

namespace {

constexpr std::array<FormulaPurpose, FormulaPurposeCount> Purposes = {{
    {1, "StFt.ini", "Преобразования", EditorKind::Formula, FormulaContext::Block},
    {2, "StFr.ini", "Регрессионная модель", EditorKind::Model, FormulaContext::Model},
    {3, "StFd.ini", "Функция", EditorKind::Model, FormulaContext::Model},
    {4, "StFg.ini", "Генератор", EditorKind::Formula, FormulaContext::XY},
    {5, "StFc.ini", "Условие", EditorKind::Condition, FormulaContext::Condition},
}};

std::string NameOf(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

}  // namespace

const FormulaPurpose* PurposeOf(int purpose) {
    if (purpose < 1 || purpose > FormulaPurposeCount)
        return nullptr;
    return &Purposes[static_cast<std::size_t>(purpose - 1)];
}

const std::vector<std::string>& DefaultFormulaSet(int purpose) {
    // Transformations read the variables of the row by number (x(1)) or by
    // name; models name their response on the left, the sheet's variables by
    // number (x[1]) and the coefficients a0, a1, ...; generators are
    // functions of x; conditions test the current cell x, its row j or
    // column i. Each of them compiles on any sheet with three variables.
    static const std::array<std::vector<std::string>, FormulaPurposeCount> sets = {{
        {"LN(x(1))", "SQRT(ABS(x(1)))", "x(1)*100", "1/x(1)", "x(1)/x(2)", "(x(1)-x(2))^2",
         "EXP(x(1))", "i"},
        {"x[2]=a0+a1*x[1]", "x[2]=a0+a1*x[1]+a2*x[1]^2", "x[2]=a0*EXP(a1*x[1])", "x[2]=a0*x[1]^a1",
         "x[2]=a0+a1/x[1]", "x[2]=a0/(1+a1*EXP(a2*x[1]))", "x[2]=a0+a1*SIN(a2*x[1]+a3)",
         "x[3]=a0+a1*x[1]+a2*x[2]"},
        {"y=a0+a1*x", "y=a0+a1*x+a2*x^2", "y=a0*EXP(a1*x)", "y=a0*x^a1", "y=a0+a1/x",
         "y=a0/(1+a1*EXP(a2*x))", "y=a0+a1*SIN(a2*x+a3)", "y=a0*LN(x)"},
        {"x", "x^2", "SIN(x)", "EXP(0-x)", "1/(1+x^2)", "SQRT(ABS(x))", "x+RND(1)", "RND(x)"},
        {"x>0", "x<0", "x=0", "x<>0", "x>=0&x<=100", "x<0|x>100", "j<=10", "x='нет'"},
    }};
    static const std::vector<std::string> none;
    if (purpose < 1 || purpose > FormulaPurposeCount)
        return none;
    return sets[static_cast<std::size_t>(purpose - 1)];
}

const std::vector<std::string>& DefaultSurfaceLines() {
    static const std::vector<std::string> lines = {"SIN(x)*COS(y)", "-3", "3", "-3", "3", "30"};
    return lines;
}

const std::vector<std::string>& DefaultCalculatorLines() {
    static const std::vector<std::string> lines = {
        "2+3*4",          "(2+3)*4", "SQRT(2)",    "EXP(1)", "LN(10)", "2^10",
        "SIN(3.14159/6)", "FACT(6)", "x(i,j)*100", "i*10+j", "2+3*4"};
    return lines;
}

bool ReadFixedLines(const std::string& path, int count, std::vector<std::string>& lines,
                    std::string* error) {
    std::vector<std::string> file;
    const SettingsFileResult read = ReadLinesFile(path, file);
    if (!read.ok) {
        if (error)
            *error = read.error;
        return false;
    }
    file.resize(static_cast<std::size_t>(count));
    lines = std::move(file);
    return true;
}

bool WriteFixedLines(const std::string& path, const std::vector<std::string>& lines,
                     std::string* error) {
    const SettingsFileResult written = WriteLinesFile(path, lines);
    if (!written.ok && error)
        *error = written.error;
    return written.ok;
}

void WriteFormulaFilesIfMissing(const std::string& programFolder) {
    auto writeIfMissing = [&](const std::string& name, const std::vector<std::string>& lines) {
        std::error_code ec;
        if (!std::filesystem::exists(programFolder + name, ec) && !ec)
            WriteLinesFile(programFolder + name, lines);
    };
    for (const FormulaPurpose& purpose : Purposes)
        writeIfMissing(purpose.fileName, DefaultFormulaSet(purpose.number));
    writeIfMissing(SurfaceFileName, DefaultSurfaceLines());
    writeIfMissing(CalculatorFileName, DefaultCalculatorLines());
}

std::string FileNotWrittenText(const std::string& path, const std::string& reason) {
    return "!ФАЙЛ " + NameOf(path) + " НЕ ЗАПИСАН: " + reason + "!";
}

std::string FileNotReadText(const std::string& path, const std::string& reason) {
    return "!ФАЙЛ " + NameOf(path) + " НЕ ПРОЧИТАН: " + reason + "!";
}

}  // namespace dalvex
