#include "sheet/csv_data_file.h"

#include <algorithm>
#include <vector>

#include "core/number.h"
#include "core/text.h"
#include "sheet/text_data_file.h"

namespace dalvex {

namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
// Lines looked at to tell the separator; a file's habits show in its first lines.
constexpr int LayoutLines = 50;

struct Field {
    std::string text;
    bool quoted = false;
};
using Record = std::vector<Field>;

bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

// Past the line end at `i` (CR LF, LF or a lone CR).
std::size_t SkipLineEnd(std::string_view text, std::size_t i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
        return i + 2;
    return i + 1;
}

// One field from `i`: a quoted one runs to its closing quote, a doubled quote
// inside standing for one; whatever follows the closing quote up to the
// separator still belongs to the field, so a sloppy file loses nothing.
// Returns the position of the separator, the line end or the text's end.
std::size_t ReadField(std::string_view text, std::size_t i, char separator, Field& field,
                      bool& unterminated) {
    if (i < text.size() && text[i] == '"') {
        field.quoted = true;
        for (++i;; ++i) {
            if (i >= text.size()) {
                unterminated = true;
                return i;
            }
            if (text[i] != '"') {
                field.text += text[i];
            } else if (i + 1 < text.size() && text[i + 1] == '"') {
                field.text += '"';
                ++i;
            } else {
                ++i;
                break;
            }
        }
    }
    const std::size_t start = i;
    while (i < text.size() && text[i] != separator && !IsLineEnd(text[i]))
        ++i;
    field.text.append(text.substr(start, i - start));
    return i;
}

// Every record of the text; empty lines are skipped, as spreadsheets and R
// skip them.
std::vector<Record> Records(std::string_view text, char separator, bool& unterminated) {
    std::vector<Record> records;
    Record record;
    std::size_t i = 0;
    while (i < text.size()) {
        Field field;
        i = ReadField(text, i, separator, field, unterminated);
        record.push_back(std::move(field));
        if (i < text.size() && text[i] == separator) {
            ++i;
            if (i < text.size())
                continue;
            record.emplace_back();  // a separator just before the end: one more empty field
        } else if (i < text.size()) {
            i = SkipLineEnd(text, i);
        }
        const bool emptyLine = record.size() == 1 && !record[0].quoted && record[0].text.empty();
        if (!emptyLine)
            records.push_back(std::move(record));
        record.clear();
    }
    return records;
}

// The separators outside quotes on each of the first lines.
struct LineCounts {
    int semicolons = 0;
    int commas = 0;
    std::string_view line;  // the line's text, for the lines without quotes
    bool quotes = false;
};

std::vector<LineCounts> CountSeparators(std::string_view text) {
    std::vector<LineCounts> lines;
    LineCounts current;
    std::size_t lineStart = 0;
    bool inQuotes = false;
    std::size_t i = 0;
    for (; i < text.size() && static_cast<int>(lines.size()) < LayoutLines; ++i) {
        const char c = text[i];
        if (c == '"') {
            inQuotes = !inQuotes;  // a doubled quote toggles twice
            current.quotes = true;
        } else if (inQuotes) {
            continue;
        } else if (c == ';') {
            ++current.semicolons;
        } else if (c == ',') {
            ++current.commas;
        } else if (IsLineEnd(c)) {
            current.line = text.substr(lineStart, i - lineStart);
            if (!current.line.empty())
                lines.push_back(current);
            current = LineCounts{};
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            lineStart = i + 1;
        }
    }
    if (i >= text.size() && lineStart < text.size() &&
        static_cast<int>(lines.size()) < LayoutLines) {
        current.line = text.substr(lineStart);
        lines.push_back(current);
    }
    return lines;
}

// "1,5", "-0,25E3": a number that only a decimal comma makes one.
bool IsDecimalCommaNumber(std::string_view field) {
    const std::string text = Trim(field);
    return text.find(',') != std::string::npos && text.find('.') == std::string::npos &&
           ParseNumber(text).ok();
}

// In a semicolon file: does any bare field of the first lines hold a number
// with a decimal comma? (Lines with quotes are passed over; their bare
// fields are not told apart cheaply and the other lines suffice.)
bool HasDecimalComma(const std::vector<LineCounts>& lines) {
    for (const LineCounts& line : lines) {
        if (line.quotes || line.commas == 0)
            continue;
        std::size_t start = 0;
        while (start <= line.line.size()) {
            const std::size_t end = std::min(line.line.find(';', start), line.line.size());
            if (IsDecimalCommaNumber(line.line.substr(start, end - start)))
                return true;
            start = end + 1;
        }
    }
    return false;
}

// Quotes a text for the file, doubling its quotes.
void PutQuoted(std::string& out, std::string_view text) {
    out += '"';
    for (char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

// A cell's trimmed text as a field: a number bare with a decimal point (R and
// the spreadsheets of a decimal-point locale read it as a number), any other
// text quoted, an empty cell as an empty field.
void PutCell(std::string& out, const std::string& cell) {
    const std::string text = Trim(cell);
    if (text.empty())
        return;
    if (!ParseNumber(text).ok()) {
        PutQuoted(out, text);
        return;
    }
    for (char c : text)
        out += c == ',' ? '.' : c;
}

// A column holding a text that is not a number: R reads such a column as
// texts, and an empty field there as an empty text, so its missing cells are
// written as NA.
bool HoldsTexts(const SheetGrid& g, int col) {
    for (int r = 1; r <= g.ColumnLength(col); ++r) {
        const std::string text = Trim(g.Cell(col, r));
        if (!text.empty() && !ParseNumber(text).ok())
            return true;
    }
    return false;
}

// A field as a cell text: line breaks and TABs as blanks, other control
// characters as "?", at most MaxCellChars characters.
std::string CellText(const Field& field) {
    std::string text = field.text;
    for (char& c : text) {
        if (c == '\r' || c == '\n' || c == '\t')
            c = ' ';
        else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = '?';
    }
    return CharCut(text, MaxCellChars);
}

// A cell holds no blanks at its ends, so a field that is blank as a cell
// text (blanks, line breaks, TABs), quoted or not, is missing too.
bool IsMissing(const Field& field) {
    const std::string text = Trim(CellText(field));
    return text.empty() || (!field.quoted && text == "NA");
}

}  // namespace

CsvLayout DetectCsvLayout(std::string_view text) {
    const std::vector<LineCounts> lines = CountSeparators(text);
    CsvLayout layout;
    if (lines.empty())
        return layout;
    bool semicolons = lines[0].semicolons > 0;
    if (!semicolons && lines[0].commas == 0) {
        // One name on the first line: the lines below tell. A file of one
        // variable with decimal commas has one comma on each line and each
        // line reads as a number.
        bool commaNumbers = false;
        bool otherCommas = false;
        for (std::size_t l = 1; l < lines.size(); ++l) {
            if (lines[l].semicolons > 0)
                semicolons = true;
            if (lines[l].commas == 0)
                continue;
            if (lines[l].commas == 1 && !lines[l].quotes && IsDecimalCommaNumber(lines[l].line))
                commaNumbers = true;
            else
                otherCommas = true;
        }
        semicolons = semicolons || (commaNumbers && !otherCommas);
    }
    if (semicolons) {
        layout.separator = ';';
        layout.decimalComma = HasDecimalComma(lines);
    }
    return layout;
}

std::string WriteCsvData(const Workspace& ws, TextEncoding encoding) {
    const SheetGrid& g = ws.sheet;
    const SheetLines sheet = SheetAsLines(g);
    const int n = sheet.variables;
    std::string out;
    if (n == 0)
        return out;
    const bool labels = sheet.labels;
    out.reserve(static_cast<std::size_t>(g.FilledCells()) * 10 + 64);
    std::vector<bool> texts(static_cast<std::size_t>(n) + 1);
    for (int c = 1; c <= n; ++c)
        texts[static_cast<std::size_t>(c)] = HoldsTexts(g, c);
    if (labels)
        out += "\"\",";
    for (int c = 1; c <= n; ++c) {
        if (c > 1)
            out += ',';
        // An empty first name would read as the labels' column; an empty
        // name reads back as the column's own name anyway.
        const std::string name = Trim(g.Cell(c, 0));
        PutQuoted(out, name.empty() ? Trim(SheetGrid::DefaultName(c)) : name);
    }
    out += "\r\n";
    for (int r = 1; r <= sheet.rows; ++r) {
        if (labels) {
            PutQuoted(out, Trim(g.Cell(0, r)));
            out += ',';
        }
        const std::size_t lineStart = out.size();
        for (int c = 1; c <= n; ++c) {
            if (c > 1)
                out += ',';
            const std::size_t before = out.size();
            PutCell(out, RowCell(g, c, r));
            if (out.size() == before && texts[static_cast<std::size_t>(c)])
                out += "NA";
        }
        // A missing cell alone on its line would make an empty line, which
        // readers skip: the rows below would move up.
        if (out.size() == lineStart)
            out += "\"\"";
        out += "\r\n";
    }
    return EncodeText(out, encoding);
}

void ReadCsvData(Workspace& ws, std::string_view bytes) {
    if (const std::string refusal = TextFileRefusal(bytes); !refusal.empty()) {
        ShowNotice(ws, refusal);
        return;
    }
    if (bytes.substr(0, ByteOrderMark.size()) == ByteOrderMark)
        bytes.remove_prefix(ByteOrderMark.size());
    const std::string text = DecodeTextFile(bytes);
    const CsvLayout layout = DetectCsvLayout(text);
    bool unterminated = false;
    const std::vector<Record> records = Records(text, layout.separator, unterminated);
    if (records.empty())
        return;

    const int c0 = ws.sheet.VariableCount();
    const Record& head = records[0];
    const bool namesLine = head[0].quoted || !ParseNumber(Trim(head[0].text)).ok();
    // R writes an empty name over its row names; read.table's files have a
    // names line one field short instead.
    const bool labels = namesLine && ((head.size() > 1 && IsMissing(head[0])) ||
                                      (records.size() > 1 && records[1].size() == head.size() + 1));
    const bool emptyFirstName = labels && head.size() > 1 && IsMissing(head[0]);
    bool tooWide = false;
    int row = namesLine ? 0 : 1;  // grid row of the current record: 0 names, then data rows
    for (const Record& record : records) {
        std::size_t next = 0;
        if (row == 0) {
            next = emptyFirstName ? 1 : 0;
        } else if (labels) {
            next = 1;
            if (row > SheetRows) {
                ShowNotice(ws, FileTooLargeText);
                return;
            }
            if (c0 == 0 && !IsMissing(record[0]))
                StoreReadLabel(ws, CellText(record[0]), row);
        }
        int col = c0;
        for (; next < record.size(); ++next) {
            ++col;
            if (col > SheetColumns) {
                // The variables that fit are read whole; the rest are left out.
                tooWide = true;
                break;
            }
            if (IsMissing(record[next]))
                continue;
            if (row > SheetRows) {
                ShowNotice(ws, FileTooLargeText);
                return;
            }
            // A refusal means the sheet is full and has said so.
            if (!StoreReadText(ws, CellText(record[next]), col, row - 1))
                return;
        }
        ++row;
    }
    if (tooWide)
        ShowNotice(ws, TooManyVariablesText(c0));
    if (unterminated)
        ShowNotice(ws, FileIncompleteText);
}

}  // namespace dalvex
