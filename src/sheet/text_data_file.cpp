#include "sheet/text_data_file.h"

#include <vector>

#include "core/number.h"
#include "core/text.h"
#include "sheet/data_file_io.h"

namespace dalvex {

namespace {

constexpr std::string_view NoBreakSpace = "\u00A0";
constexpr std::string_view MissingToken = "?";

// One field: the trimmed text with its inner blanks and TABs made no-break
// spaces, or the missing-cell mark.
std::string Field(const std::string& cell, char separator) {
    const std::string text = Trim(cell);
    if (text.empty())
        return separator == ' ' ? std::string(MissingToken) : std::string();
    std::string out;
    for (char c : text) {
        if (c == ' ' || c == '\t')
            out += NoBreakSpace;
        else
            out += c;
    }
    return out;
}

void PutLine(std::string& out, const std::vector<std::string>& fields, char separator) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += separator;
        out += fields[i];
    }
    out += "\r\n";
}

// Labels go into the file when any differs from its row number, or when the
// first name would otherwise be taken for a number (its line for data) or
// for the labels word.
bool NeedsLabels(const SheetGrid& g, int rows) {
    const std::string first = Trim(g.Cell(1, 0));
    if (ParseNumber(first).ok() || first == LabelsWord)
        return true;
    for (int r = 1; r <= rows; ++r)
        if (Trim(g.Cell(0, r)) != std::to_string(r))
            return true;
    return false;
}

bool IsCommentLine(std::string_view line) {
    const std::size_t first = line.find_first_not_of(' ');
    return first != std::string_view::npos && line[first] == ';';
}

// Tokens end at a blank or a TAB; blanks after a token are skipped, so runs
// of blanks are one separator, while a TAB right after a separator is an
// empty field ("?").
std::vector<std::string> Tokens(std::string_view line) {
    std::vector<std::string> tokens;
    std::size_t i = line.find_first_not_of(' ');
    while (i != std::string_view::npos && i < line.size()) {
        const std::size_t end = line.find_first_of(" \t", i);
        if (end == std::string_view::npos) {
            tokens.emplace_back(line.substr(i));
            break;
        }
        const std::string_view token = line.substr(i, end - i);
        tokens.emplace_back(token.empty() ? MissingToken : token);
        i = line.find_first_not_of(' ', end + 1);
    }
    return tokens;
}

// A token as a cell text: no-break spaces back to the blanks they stand
// for, at most MaxCellChars characters.
std::string TokenText(const std::string& token) {
    std::string text;
    for (std::size_t i = 0; i < token.size(); ++i) {
        if (token.compare(i, NoBreakSpace.size(), NoBreakSpace) == 0) {
            text += ' ';
            i += NoBreakSpace.size() - 1;
        } else {
            text += token[i];
        }
    }
    return CharCut(text, MaxCellChars);
}

// Control characters other than the separators and line ends are shown as
// "?" before the text is split, so a token that is only such a character is
// a missing cell like any "?".
void ShowControlCharacters(std::string& text) {
    for (char& c : text)
        if ((static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\r' && c != '\n') ||
            c == 0x7F)
            c = '?';
}

}  // namespace

std::string WriteTextData(const Workspace& ws, char separator) {
    const SheetGrid& g = ws.sheet;
    const int n = g.VariableCount();
    std::string out;
    if (n == 0)
        return out;
    const int rows = g.LongestColumn();
    const bool labels = NeedsLabels(g, rows);
    std::vector<std::string> fields;
    if (labels)
        fields.emplace_back(LabelsWord);
    for (int c = 1; c <= n; ++c)
        fields.push_back(Field(g.Cell(c, 0), separator));
    PutLine(out, fields, separator);
    for (int r = 1; r <= rows; ++r) {
        fields.clear();
        if (labels)
            fields.push_back(Field(g.Cell(0, r), separator));
        for (int c = 1; c <= n; ++c)
            fields.push_back(
                Field(r <= g.ColumnLength(c) ? g.Cell(c, r) : std::string(), separator));
        PutLine(out, fields, separator);
    }
    return Utf8ToCp1251(out);
}

void ReadTextData(Workspace& ws, std::string_view bytes) {
    std::string text = DecodeTextFile(bytes);
    if (text.rfind("\xEF\xBB\xBF", 0) == 0)
        text.erase(0, 3);
    ShowControlCharacters(text);
    const int c0 = ws.sheet.VariableCount();
    bool first = true;
    bool labels = false;
    int row = 0;  // grid row of the current line: 0 names, then data rows
    for (const std::string& line : SplitLines(text)) {
        if (IsCommentLine(line))
            continue;
        std::vector<std::string> tokens = Tokens(line);
        std::size_t next = 0;
        if (first) {
            first = false;
            const std::string head = tokens.empty() ? std::string(MissingToken) : tokens[0];
            labels = head == LabelsWord;
            if (labels)
                next = 1;
            row = !labels && ParseNumber(head).ok() ? 1 : 0;
        } else if (labels && row >= 1 && !tokens.empty()) {
            next = 1;
            if (c0 == 0 && tokens[0] != MissingToken) {
                if (row > SheetRows) {
                    ShowNotice(ws, FileTooLargeText);
                    return;
                }
                StoreReadLabel(ws, TokenText(tokens[0]), row);
            }
        }
        int col = c0;
        for (; next < tokens.size(); ++next) {
            ++col;
            if (tokens[next] == MissingToken)
                continue;
            if (col > SheetColumns || row > SheetRows) {
                ShowNotice(ws, FileTooLargeText);
                return;
            }
            // A refusal means the sheet is full and has said so.
            if (!StoreReadText(ws, TokenText(tokens[next]), col, row - 1))
                return;
        }
        ++row;
    }
}

}  // namespace dalvex
