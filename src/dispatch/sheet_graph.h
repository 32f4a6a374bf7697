// A graph of chosen sheet variables, the way the graph menu makes it after
// its variable dialog: the variables are checked for the kind, loaded, laid
// out in the rows the kind reads (splines computed), titled, and handed to
// the graph windows. The menu and the batch runner's "draw" both come here.
#pragma once

#include <string>
#include <vector>

#include "core/workspace.h"
#include "dispatch/graph_menu.h"

namespace dalvex {

inline constexpr const char* IncompleteGraphNotice = "!НЕПОЛНЫЙ КОМПЛЕКТ ПЕРЕМЕННЫХ ДЛЯ ГРАФИКА!";
// Series whose every point lacks a value are left off the graph, named.
inline constexpr const char* EmptySeriesNotice =
    "!НЕТ ЗНАЧЕНИЙ - РЯДЫ ЭТИХ ПЕРЕМЕННЫХ НЕ ПОКАЗАНЫ НА ГРАФИКЕ!";
inline constexpr const char* SplinePointCountNotice = "Число точек >500 или <3";
inline constexpr const char* SplineEqualXNotice = "!СОВПАДАЮЩИЕ ЗНАЧЕНИЯ X - СПЛАЙН НЕ ПОСТРОЕН!";
inline constexpr const char* TooManySeriesNotice = "!НА ГРАФИКЕ Y-РЯДОВ НЕ БОЛЕЕ 63 ПЕРЕМЕННЫХ!";

// The most Y-series one graph draws: described series name their rows in
// single bytes, two rows a series.
inline constexpr int MostYSeries = 63;

// The window title of a menu answer, before the variables' names.
std::string GraphKindTitle(int answer);

// Draws the graph of menu answer `answer` (1..18 but 11; 17 the Y-series)
// of the sheet columns `columns` (1-based, in the order chosen) with the
// menu's options. Returns false when nothing was drawn (a notice said why).
bool DrawSheetGraph(Workspace& ws, int answer, std::vector<int> columns,
                    const GraphOptions& options = {});

}  // namespace dalvex
