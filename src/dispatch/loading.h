// How chosen sheet variables enter the data store: every method,
// transformation and graph loads its data through these.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "core/workspace.h"

namespace dalvex {

inline constexpr const char* TooLongNoticeStart = "!ДЛИНА ПЕРЕМЕННОЙ БОЛЬШЕ ДОПУСТИМОЙ: ";
inline constexpr const char* UnequalLengthNotice = "!НЕРАВНАЯ ДЛИНА ПЕРЕМЕННЫХ - МЕТОД НЕПРИМЕНИМ!";
inline constexpr const char* TooFewValuesNotice = "!МАЛО ЗНАЧЕНИЙ ПЕРЕМЕННЫХ!";

// How loading treats missing values (cells that are not numbers).
enum class Missing {
    Listwise,   // an observation missing in any row leaves every row (aligned rows)
    PerRow,     // each row drops its own missing cells
    Keep,       // nothing removed; the range of all rows is taken
    PlainCopy,  // nothing removed, no range: the graph command's copy
};
// The loading mode number of the choice (0 listwise, 2 per row, 1 keep, 3 copy).
int LoadingMode(Missing missing);

// The notice of a column longer than a row of DataMatrix can hold.
std::string TooLongNotice(int dataWidth);

// DataWidth for `rows` rows (loaded plus spare) of which the longest holds
// `longest` observations: the usual CellCapacity / rows, widened (and the
// store grown) so that the longest row fits whole with one cell to spare.
// Returns the width set.
int FitDataRows(Workspace& ws, int rows, int longest);

// Sheet columns parsed once, for a command that loads the same columns again
// and again (a pairwise run over many variables loads each one for every
// pair it is in). Valid while the columns' cells stay as they are.
class ParsedColumns {
  public:
    // Every cell of the column as SheetValue reads it, parsed on first use.
    const std::vector<double>& Of(const Workspace& ws, int col);

  private:
    std::map<int, std::vector<double>> columns_;
};

// Sheet column `col` into DataMatrix row k - 1; VarLength[k] = its last
// observation index (-1 for an empty column). A row holds at most
// DataWidth - 1 observations; a longer column is cut, and the notice is
// shown once in a command run. With `parsed`, the values come from there.
void LoadVariable(Workspace& ws, int k, int col, ParsedColumns* parsed = nullptr);

// X into row 0, Y into row 1; the same column for both gives the
// observation numbers 0, 1, 2 ... as X. Mode > 0 removes missing values
// listwise (and evens unequal lengths with a notice), mode 0 per row.
void LoadPair(Workspace& ws, int xcol, int ycol, int mode, ParsedColumns* parsed = nullptr);
// The same with the choice named: Listwise keeps complete pairs, any other
// choice drops each row's own missing cells.
void LoadPair(Workspace& ws, int xcol, int ycol, Missing missing, ParsedColumns* parsed = nullptr);

// All SelectedColumns into rows 0..count - 1, DataWidth sized for them and
// `spare` extra rows (FitDataRows: every column loads whole). Mode 0: listwise removal of missing
// values, mode 2: per row, modes 1 and 3: none (3 is the graph command's plain copy). Modes 0 and 1
// take the range of all loaded rows. Returns false, with the notice that there are too few values,
// when nothing is selected.
bool LoadSelected(Workspace& ws, int spare, int mode);
bool LoadSelected(Workspace& ws, int spare, Missing missing);

// SelectedColumns = 1..VariableCount, then LoadSelected. On an empty sheet
// it shows the notice that there are too few values and returns false.
bool SelectAllVariables(Workspace& ws, int spare, int mode);
bool SelectAllVariables(Workspace& ws, int spare, Missing missing);

// Deletes MissingValue cells from the loaded rows 0..VarLength[0]: listwise
// (an observation with a missing value in any row leaves every row) or per
// row, and reports "Пропущн=" + found + " " + removed when any were found.
void RemoveMissing(Workspace& ws, bool listwise);
void RemoveMissing(Workspace& ws, Missing missing);

}  // namespace dalvex
