// Method 10, cross-tabulation: the contingency table is the whole data sheet
// (its variables the table's columns, its rows the table's rows), or it is
// counted from two raw category columns and written after the user's data.
// The report gives the six tables, chi-square and the measures of
// association, then the table is drawn as a bar chart.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/workspace.h"
#include "stats/correlation.h"

namespace dalvex {

inline constexpr const char* NotForTabulationNotice = "!ДАННЫЕ НЕ ДЛЯ ТАБУЛЯЦИИ!";
inline constexpr const char* TableTooSmallNotice =
    "!ТАБЛИЦА СОПРЯЖЕННОСТИ МЕНЬШЕ 2 x 2 - МЕТОД НЕПРИМЕНИМ!";
inline constexpr const char* NoRoomForTableNotice =
    "!НЕТ МЕСТА В ТАБЛИЦЕ ДАННЫХ - ТАБЛИЦА СОПРЯЖЕННОСТИ НЕ ЗАПИСАНА!";
inline constexpr const char* CrossTabCaption = "Кросстабуляция";
// The heading of the column of row categories written before the counts.
inline constexpr const char* CategoriesHeading = "Категории";
std::string EmptyTotalsNotice(const std::vector<std::string>& rows,
                              const std::vector<std::string>& columns);

// A table with the names of its columns and rows.
struct NamedTable {
    ContingencyTable table;
    std::vector<std::string> columnNames, rowNames;
    // Sheet columns of the table's columns, for the graph's names; empty
    // when the table is not in the sheet.
    std::vector<int> sheetColumns;
};

// The whole sheet as a table: empty cells count 0; a cell that is no
// number or is negative refuses the sheet (nothing when refused, with
// `refusal` set).
std::optional<NamedTable> SheetTable(const Workspace& ws, std::string& refusal);

// The two category columns of the sheet counted into a table (pairs with an
// empty cell are left out). A number that is not whole, or more cells than
// the store holds, refuses them.
std::optional<NamedTable> TabulateCategories(const Workspace& ws, std::string& refusal);

// The counted table as new sheet variables after the last one: the row
// categories, then one count column per column category. Nothing is written
// when the sheet has no room (said in a notice).
bool WriteTabulation(Workspace& ws, NamedTable& t);

// The report of a table whose totals are all above 0.
void WriteCrossTabulation(Workspace& ws, const NamedTable& t, const CrossTabFigures& f);

// The method as the dispatcher runs it.
void CrossTabulation(Workspace& ws);

}  // namespace dalvex
