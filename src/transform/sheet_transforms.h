// The transformations of the sheet, each a plain function of the workspace
// and its inputs (the dialogs live in transformations_menu.h). Every one of
// them reads and writes the cells through the sheet bridge; a missing or text
// cell is never turned into a number unless the person's own condition or
// code says so.
#pragma once

#include <string>
#include <vector>

#include "core/workspace.h"
#include "formula/formula.h"
#include "transform/generator.h"
#include "transform/standard_functions.h"

namespace dalvex {

// A rectangle of the sheet: variable columns left..right, 0-based
// observations top..bottom.
struct SheetBlock {
    int left = 1;
    int right = 1;
    int top = 0;
    int bottom = -1;
};

// The block a one-variable transformation works on: a selection of one cell
// (or none) means its whole variable.
SheetBlock BlockOfSelection(const Workspace& ws, int left, int top, int right, int bottom);

inline constexpr const char* InvalidArgumentsText = "Заменено недопустимых аргументов=";
inline constexpr const char* EmptyTargetText =
    "Выделите для записи результатов преобразования не пустую переменную!!!";

// Function f over the block, left to right and top to bottom; missing and
// text cells are skipped. Returns the count of invalid arguments (shown
// as a notice when positive).
int ApplyStandardFunction(Workspace& ws, const SheetBlock& block, StandardFunction f, double a,
                          double b);

// The compiled block formula (context 1) over the block. A row where a
// variable the formula reads is not a number keeps its cell and is counted;
// the count is returned (and shown as a notice when positive).
int ApplyFormulaToBlock(Workspace& ws, ActiveFormula& formula, const SheetBlock& block);
std::string NotNumberText(int cells);

// Coding: every cell of the chosen variables that satisfies the compiled
// condition (context 5) receives `code`. Returns the count of cells coded.
int CodeVariables(Workspace& ws, ActiveFormula& condition, const std::vector<int>& columns,
                  const std::string& code);

// Selection: the condition is evaluated for every row first, on the first
// chosen variable's cell, then every chosen variable keeps the rows chosen,
// in order, so the rows stay aligned. Returns the count of rows kept.
int SelectObservations(Workspace& ws, ActiveFormula& condition, const std::vector<int>& columns);

// Normalising: numbers become (x - mean) / sd, or (x - min) / (max - min);
// a variable whose deviation or range is 0 (or has fewer than two numbers)
// stays as it is and is named in a notice.
void NormaliseByDeviation(Workspace& ws, const std::vector<int>& columns);
void NormaliseByRange(Workspace& ws, const std::vector<int>& columns);
std::string ZeroDeviationText(const std::string& name);
std::string ZeroRangeText(const std::string& name);

// Ranking: the numbers of each variable become their mid-ranks.
void RankVariables(Workspace& ws, const std::vector<int>& columns);

// Sorting: the rows of `moved` are reordered by up to three keys, ascending
// or descending, ties keeping their order; cells that are not numbers sort
// last. Cell texts move with their rows; when every variable moves, so do
// the row labels.
void SortRows(Workspace& ws, const std::vector<int>& keys, const std::vector<int>& moved,
              bool descending);

// A random sample of `size` rows of the first chosen variable (all rows
// when it has fewer), the same rows for every chosen variable, in their
// order; texts are copied as texts.
void SampleObservations(Workspace& ws, const std::vector<int>& columns, int size);

// Transposition of the whole table, over its longest column. Refused with
// a notice (and the sheet untouched) when the result does not fit.
bool Transpose(Workspace& ws);
std::string TransposeTooLargeText(int rows);

// Writes the values into `column` at full precision (a value read back is
// the same double); the cells below the last one are cleared. Returns how
// many were written.
int WriteGenerated(Workspace& ws, int column, const std::vector<double>& values);

// The shortest text with at least 2 * digits significant digits that reads
// back as exactly `x`.
std::string RoundTripText(const Workspace& ws, double x);

// Clears the cells of `column` from observation `from` on and sets its length.
void CutColumn(Workspace& ws, int column, int from);

}  // namespace dalvex
