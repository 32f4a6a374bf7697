// dBase III tables (".dbf"): a 32-byte header, one 32-byte descriptor per
// field, the terminator 0D, fixed-length records (a deletion flag and the
// field texts), then 1A. Every variable is a character field.
#pragma once

#include <string>
#include <string_view>

#include "core/workspace.h"

namespace dalvex {

inline constexpr int DBaseFieldWidth = 20;      // the usual width of a field
inline constexpr int DBaseMaxFieldWidth = 254;  // the widest character field
inline constexpr int DBaseNameBytes = 10;       // a field name's bytes before its terminator

// The table for the whole sheet: rows 1..the longest variable, a missing cell
// as "?", texts right-aligned in their field. A field is widened beyond 20
// to hold its longest text (a text longer than 254 keeps its first 254
// characters); a name keeps its first 10. An empty sheet gives no bytes.
std::string WriteDBaseData(const Workspace& ws);

// Appends the table's fields after the last variable in the sheet. Deleted
// records are skipped; a field holding "?" or only blanks is a missing cell.
// Too many fields show "ОШИБКА! Велик размер файла!" and nothing is read; a
// file that ends early ends the read with a notice.
inline constexpr const char* NotADBaseFileText = "!ФАЙЛ НЕ ЯВЛЯЕТСЯ ТАБЛИЦЕЙ DBASE - НЕ ПРОЧИТАН!";

// Why the bytes cannot be a dBase table (a notice), or "" when they can: a
// known version byte, descriptors of sound names, types and widths ending
// with their terminator inside the header, records wide enough for them.
std::string DBaseFileRefusal(std::string_view bytes);

// Appends the table's fields after the sheet's last variable. A table that
// is not one is refused before anything is stored; fields past the sheet's
// last column are left out with one notice; a field only of '*', of '?' or
// of zero bytes is a missing cell.
void ReadDBaseData(Workspace& ws, std::string_view bytes);

}  // namespace dalvex
