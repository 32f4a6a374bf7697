// Data as comma-separated values (".csv"), the way spreadsheets and R hand
// tables to each other: a line of names, then one line per row; a field in
// double quotes may hold separators, quotes (doubled) and line breaks.
#pragma once

#include <string>
#include <string_view>

#include "core/workspace.h"
#include "sheet/data_file_io.h"

namespace dalvex {

// How a file separates its fields: a comma with a decimal point, or a
// semicolon, which spreadsheets of comma-decimal locales use so that their
// numbers ("1,5") need no quotes.
struct CsvLayout {
    char separator = ',';
    bool decimalComma = false;
};

// From the text of a file (UTF-8, after its byte order mark): a semicolon
// outside quotes on the first line makes a semicolon file; so does a first
// line without either separator when the lines below have semicolons, or
// hold one number each written with a decimal comma.
CsvLayout DetectCsvLayout(std::string_view text);

// The sheet as a file: a line of quoted names ("" first when the rows carry
// labels other than their numbers, as R writes its row names), then a line
// per row up to the longest variable. Numbers stand bare with a decimal
// point, any other text is quoted, a missing cell is an empty field (a bare
// NA in a column holding texts, which R would read as an empty text); CR LF
// line ends; UTF-8 without a byte order mark unless Windows Cyrillic is asked
// for. An empty sheet gives no bytes.
std::string WriteCsvData(const Workspace& ws, TextEncoding encoding = TextEncoding::Utf8);

// Appends the file's variables after the last one in the sheet. UTF-8 with or
// without a byte order mark, otherwise Windows Cyrillic. The first line holds
// the names unless its first field is a bare number. The rows carry labels
// when the first name is empty or when the first data line has one field more
// than the names line. Empty fields, quoted or not, and a bare NA are missing
// cells. A line break inside quotes becomes a blank, since a cell holds one
// line. Variables past the sheet's last column are left out with one notice;
// the read stops at the sheet's last row.
void ReadCsvData(Workspace& ws, std::string_view bytes);

}  // namespace dalvex
