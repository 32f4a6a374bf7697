// What every data file reader and writer shares: which format a file name
// means, whole-file reading, replacing a file without ever losing the old one,
// the failure texts, and turning file bytes into cell texts.
#pragma once

#include <string>
#include <string_view>

#include "core/workspace.h"

namespace dalvex {

enum class DataFormat { Native, Text, Tab, DBase, Csv };

// The character set a text data file is written in: Windows Cyrillic, the
// program's own, or UTF-8 for the programs of today.
enum class TextEncoding { Cp1251, Utf8 };

// A text of the program (UTF-8) as the bytes of a file in that encoding.
std::string EncodeText(std::string_view utf8, TextEncoding encoding);

// The extension of the name part ("" when it has none), lower-cased for ASCII.
std::string LowerExtension(std::string_view path);
// The name without its folder.
std::string FileNameOf(std::string_view path);

// Reading: ".dbf" dBase, ".dvx" native, ".csv" comma-separated values,
// anything else text (in any letter case).
DataFormat ReadFormatOf(std::string_view path);
// Writing: ".dbf", ".dvx", ".csv", ".tab" (TAB separated), anything else
// blank separated.
DataFormat WriteFormatOf(std::string_view path);

struct FileOutcome {
    bool ok = true;
    int errorNumber = 0;  // errno of the failure
    std::string error;    // the text to show
};

// The file's bytes; a folder or an unreadable file is a failure.
FileOutcome ReadWholeFile(const std::string& path, std::string& bytes);

// Writes the bytes to a new file beside the target and renames it over the
// target only when every byte reached the disk, so a failed write leaves the
// old file as it was. A symbolic link is followed and its target replaced;
// an existing file keeps its permissions.
FileOutcome ReplaceFile(const std::string& path, std::string_view bytes);

// "!НЕТ МЕСТА НА ДИСКЕ!" when the disk (or the quota) is full, otherwise the
// system's reason with the file's name.
std::string WriteFailureText(int errorNumber, const std::string& path);

inline constexpr const char* FileTooLargeText = "ОШИБКА! Велик размер файла!";
inline constexpr const char* FileIncompleteText = "!ФАЙЛ НЕПОЛНЫЙ - ПРОЧИТАНА ЧАСТЬ ДАННЫХ!";

// The sheet as the lines of a text data file: its variables (none gives an
// empty file), the data rows up to the longest column, and whether the rows'
// labels go in because one of them differs from its row number.
struct SheetLines {
    int variables = 0;
    int rows = 0;
    bool labels = false;
};
SheetLines SheetAsLines(const SheetGrid& g);
// A data cell as a file line holds it: empty beyond its column's end.
const std::string& RowCell(const SheetGrid& g, int col, int row);

// Bytes of a file (Windows Cyrillic) as a text a cell can hold: UTF-8,
// control characters shown as "?", at most MaxCellChars characters.
std::string CellTextFromFile(std::string_view cp1251);

// Stores a text read from a file through PutSheetText. An empty text keeps
// its cell empty (the bookkeeping still counts it), so a file written from a
// sheet with gaps reads back to the same cells. False when the sheet refused.
bool StoreReadText(Workspace& ws, const std::string& text, int col, int obs);

// A row label read from a file, padded as the sheet pads labels.
void StoreReadLabel(Workspace& ws, const std::string& text, int row);

}  // namespace dalvex
