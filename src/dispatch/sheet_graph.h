// A graph of any kind drawn from chosen sheet variables, the way the graph
// menu prepares them: the variables are checked for the kind, loaded, laid
// out in the rows the kind reads, titled, and handed to the graph windows.
// The batch runner's "graph" command comes here; so will the graph menu.
#pragma once

#include <string>
#include <vector>

#include "core/workspace.h"

namespace dalvex {

inline constexpr const char* IncompleteGraphNotice = "!НЕПОЛНЫЙ КОМПЛЕКТ ПЕРЕМЕННЫХ ДЛЯ ГРАФИКА!";

// The window title of a kind, before the variables' names.
std::string GraphKindTitle(int kind);

// Draws `kind` (0..10, 12..18) of the sheet columns `columns` (1-based, in the
// order chosen); `smoothing` is the "Сглаж:" level of kinds 12-14. Returns
// false when the variables do not make a graph of the kind (the notice has
// been shown) or nothing could be loaded.
bool DrawSheetGraph(Workspace& ws, int kind, std::vector<int> columns, int smoothing = 0);

}  // namespace dalvex
