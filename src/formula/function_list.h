// The function list "StFn.ini" in the program folder: line k (from 0) names
// the function with operation code 20 + k, as NAME(...); the list ends at the
// first empty line. The editors show these lines, the compiler looks names up
// in them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace dalvex {

inline constexpr const char* FunctionListFileName = "StFn.ini";

// The list the program ships: one line per code 20..35, then an empty line
// and the functions described in Russian (past the end of the list, so
// neither the compiler nor the editors read them as functions).
const std::vector<std::string>& DefaultFunctionListLines();

// The name on a list line: the text before its first "(", empty without one.
std::string_view FunctionName(std::string_view line);

// Reads the lines of the list (up to the first empty line) from the folder
// (ending with '/'). Returns false when the file cannot be read.
bool ReadFunctionList(const std::string& programFolder, std::vector<std::string>& lines);

// First start: writes the default "StFn.ini" into the folder when no file of
// that name is there; an existing file is left alone. Returns false only when
// a missing file could not be written.
bool WriteFunctionListIfMissing(const std::string& programFolder);

}  // namespace dalvex
