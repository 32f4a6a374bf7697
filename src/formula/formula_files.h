// The small files of the formula dialogs in the program folder: the five
// formula sets (eight formulas each, one per purpose), the surface
// definition "StSf.ini" and the calculator's "qcalc.ini", with the contents
// a first start writes. Every file is Windows Cyrillic with CR LF and is
// replaced whole (written beside it and renamed), so a failed save never
// leaves half a file.
#pragma once

#include <string>
#include <vector>

#include "formula/formula.h"

namespace dalvex {

inline constexpr int FormulaSetLines = 8;
inline constexpr int SurfaceLines = 6;  // formula, Xmin, Xmax, Ymin, Ymax, nX
inline constexpr int CalculatorSlots = 10;
inline constexpr const char* SurfaceFileName = "StSf.ini";
inline constexpr const char* CalculatorFileName = "qcalc.ini";
inline constexpr const char* FormulaArchiveFilter = "Формулы (*.stf)|*.stf|";
inline constexpr const char* SurfaceArchiveFilter = "Поверхности (*.ssf)|*.ssf|";

enum class EditorKind {
    Formula,    // "Редактор формул"
    Model,      // "Редактор моделей"
    Condition,  // "Редактор условий"
};

// What a formula is for: 1 transformations, 2 regression models, 3
// functions, 4 generators, 5 conditions.
struct FormulaPurpose {
    int number = 0;
    const char* fileName = "";
    const char* caption = "";
    EditorKind editor = EditorKind::Formula;
    // How the caller compiles it; purpose 3 is compiled by nobody.
    FormulaContext context = FormulaContext::Block;
};

inline constexpr int FormulaPurposeCount = 5;
// Purpose 1..5; nullptr for any other number.
const FormulaPurpose* PurposeOf(int purpose);

// What a first start writes, in the program's own examples.
const std::vector<std::string>& DefaultFormulaSet(int purpose);
const std::vector<std::string>& DefaultSurfaceLines();
// Ten expressions, then the text of the drop-down field.
const std::vector<std::string>& DefaultCalculatorLines();

// Exactly `count` lines of a file (missing lines read as empty texts, lines
// past `count` are ignored). False when the file cannot be read; `error`
// then says why and the lines stay as they were.
bool ReadFixedLines(const std::string& path, int count, std::vector<std::string>& lines,
                    std::string* error = nullptr);
// Writes the lines whole; false with the reason in `error` when it failed.
bool WriteFixedLines(const std::string& path, const std::vector<std::string>& lines,
                     std::string* error = nullptr);

// First start: the five formula sets, "StSf.ini" and "qcalc.ini" written
// from the defaults where missing; existing files are left alone.
void WriteFormulaFilesIfMissing(const std::string& programFolder);

// "Файл … не записан: reason" and "Файл … не прочитан: reason".
std::string FileNotWrittenText(const std::string& path, const std::string& reason);
std::string FileNotReadText(const std::string& path, const std::string& reason);

}  // namespace dalvex
