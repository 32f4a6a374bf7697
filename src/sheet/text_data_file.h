// Data as plain text: ".txt" with blanks between the fields, ".tab" with
// TABs. An optional first word "объекты" says every data line starts with a
// row label; then a line of variable names; then one line per row.
#pragma once

#include <string>
#include <string_view>

#include "core/workspace.h"

namespace dalvex {

inline constexpr const char* LabelsWord = "объекты";

// The file's bytes (Windows Cyrillic, CR LF) for the whole sheet. A missing
// cell is written as "?" with blank separators (runs of blanks are one
// separator) and as an empty field with TABs. Blanks inside a text are
// written as no-break spaces so that the text stays one field. An empty sheet
// gives no bytes.
std::string WriteTextData(const Workspace& ws, char separator);

// Appends the file's variables after the last one in the sheet. Lines end
// with CR LF, LF or CR; lines starting with ';' are comments. Stops with a
// notice at the sheet's last column or row.
void ReadTextData(Workspace& ws, std::string_view bytes);

}  // namespace dalvex
