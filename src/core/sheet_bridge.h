// How computations read the sheet as numbers and write results back into it.
// Columns are sheet column numbers (1 = first variable); observation indices
// are 0-based (observation i lives in grid row i + 1, obs = -1 is the name).
#pragma once

#include <string>

#include "core/workspace.h"

namespace dalvex {

// The cell text, trimmed, parsed by ParseNumber; MissingValue when it is not a
// complete number (an empty cell included) or lies outside the grid.
double SheetValue(const Workspace& ws, int col, int obs);

// Stores trimmed text left-padded to 8 (at most 255 characters are kept).
// Refused, with the overflow notice shown once per run of refusals, when the
// cell lies outside the grid or the write would take the sheet past
// CellCapacity values. Returns whether the text was stored.
bool PutSheetText(Workspace& ws, const std::string& text, int col, int obs);

// Formats value with twice SignificantDigits digits, then PutSheetText.
bool PutSheetValue(Workspace& ws, int col, int obs, double value);

// DataMatrix row `row`, elements 0..last, as a new variable after the last one.
void WriteRowToSheet(Workspace& ws, int row, int last);

// Header text of sheet column k + 1: first 8 characters, trimmed.
std::string VariableName(const Workspace& ws, int k);
// The same, left-padded to 9 characters.
std::string PaddedVariableName(const Workspace& ws, int k);

// Whether `extraCells` more values fit in the sheet. Edits that shift cells
// one by one ask this before they start, so a refusal never leaves a column
// half-shifted; on refusal the overflow notice is shown (once).
bool SheetHasRoomFor(Workspace& ws, long extraCells);

// The overflow notice, shown unless a refusal has already shown it.
void NotifySheetOverflow(Workspace& ws);

std::string SheetOverflowText();

}  // namespace dalvex
