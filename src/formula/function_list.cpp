#include "formula/function_list.h"

#include <filesystem>
#include <system_error>

#include "core/settings.h"

namespace dalvex {

const std::vector<std::string>& DefaultFunctionListLines() {
    // The order is fixed by the operation codes 20..35; the "?" is the
    // placeholder the editors put the caret on.
    static const std::vector<std::string> lines = {
        "ABS(?)",
        "SQRT(?)",
        "LN(?)",
        "LG(?)",
        "EXP(?)",
        "INT(?)",
        "FRAC(?)",
        "SIGN(?)",
        "FACT(?)",
        "RND(?)",
        "SIN(?)",
        "COS(?)",
        "TAN(?)",
        "ARCCOS(?)",
        "ARCSIN(?)",
        "ARCTAN(?)",
        "",
        "ABS - абсолютная величина",
        "SQRT - квадратный корень",
        "LN - натуральный логарифм",
        "LG - десятичный логарифм",
        "EXP - экспонента",
        "INT - целая часть (с отбрасыванием дробной)",
        "FRAC - дробная часть",
        "SIGN - знак числа: -1, 0 или 1",
        "FACT - факториал целой части (0 для аргумента меньше 1)",
        "RND - аргумент, умноженный на случайное число от 0 до 1",
        "SIN - синус (аргумент в радианах)",
        "COS - косинус (аргумент в радианах)",
        "TAN - тангенс (аргумент в радианах)",
        "ARCCOS - арккосинус (аргумент от -1 до 1)",
        "ARCSIN - арксинус (аргумент от -1 до 1)",
        "ARCTAN - арктангенс",
    };
    return lines;
}

std::string_view FunctionName(std::string_view line) {
    const std::size_t bracket = line.find('(');
    return bracket == std::string_view::npos ? std::string_view{} : line.substr(0, bracket);
}

bool ReadFunctionList(const std::string& programFolder, std::vector<std::string>& lines) {
    std::vector<std::string> file;
    if (!ReadLinesFile(programFolder + FunctionListFileName, file).ok)
        return false;
    lines.clear();
    for (auto& line : file) {
        if (line.empty())
            break;
        lines.push_back(std::move(line));
    }
    return true;
}

bool WriteFunctionListIfMissing(const std::string& programFolder) {
    const std::filesystem::path path(programFolder + FunctionListFileName);
    std::error_code ec;
    if (std::filesystem::exists(path, ec) || ec)
        return !ec;
    return WriteLinesFile(path.string(), DefaultFunctionListLines()).ok;
}

}  // namespace dalvex
