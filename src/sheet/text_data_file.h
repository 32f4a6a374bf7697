// Data as plain text: ".txt" with blanks between the fields, ".tab" with
// TABs. An optional first word "объекты" says every data line starts with a
// row label; then a line of variable names; then one line per row.
#pragma once

#include <string>
#include <string_view>

#include "core/workspace.h"
#include "sheet/data_file_io.h"

namespace dalvex {

inline constexpr const char* LabelsWord = "объекты";

// The file's bytes (Windows Cyrillic, CR LF) for the whole sheet. A missing
// cell is written as "?" with blank separators (runs of blanks are one
// separator) and as an empty field with TABs. Blanks inside a text are
// written as no-break spaces so that the text stays one field. An empty sheet
// gives no bytes.
// UTF-8 when asked for, for other programs of today.
std::string WriteTextData(const Workspace& ws, char separator,
                          TextEncoding encoding = TextEncoding::Cp1251);

inline constexpr const char* NotATextFileText = "!ФАЙЛ НЕ ЯВЛЯЕТСЯ ТЕКСТОВЫМ - НЕ ПРОЧИТАН!";

// Why the bytes cannot be a text file (a notice), or "" when they can.
std::string TextFileRefusal(std::string_view bytes);

// The notice for a file with more variables than the sheet has columns left
// after `firstColumn`.
std::string TooManyVariablesText(int firstColumn);

// Appends the file's variables after the last one in the sheet. Lines end
// with CR LF, LF or CR; lines starting with ';' are comments. A first line
// with a TAB makes TABs the only separator (blanks stay inside fields);
// otherwise blanks and TABs separate. A field in double quotes is read
// without them and may hold separators; an unquoted "?" or NA is a missing
// cell. A names line one field shorter than the data lines means the first
// field of every data line is the row's label. Variables past the sheet's
// last column are left out with one notice; the read stops at its last row.
void ReadTextData(Workspace& ws, std::string_view bytes);

}  // namespace dalvex
