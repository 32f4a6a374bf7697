// Tool bar pictures, drawn in code so the program needs no image files and
// looks the same with any desktop theme.
#pragma once

#include <QIcon>

#include "core/main_window_model.h"

namespace dalvex {

// The picture of a tool bar command; a null icon when it has none.
QIcon ToolIcon(MainCommand command);

// The program's own picture: points and the line fitted through them.
QIcon ProgramIcon();

}  // namespace dalvex
