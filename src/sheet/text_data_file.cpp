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

// Labels also go into the file when the first name would otherwise be taken
// for a number (its line for data) or for the labels word.
bool FirstNameNeedsLabels(const SheetGrid& g) {
    const std::string first = Trim(g.Cell(1, 0));
    return ParseNumber(first).ok() || first == LabelsWord;
}

bool IsCommentLine(std::string_view line) {
    const std::size_t first = line.find_first_not_of(' ');
    return first != std::string_view::npos && line[first] == ';';
}

// A field of a line: its text without quotes, or a missing cell ("?", an
// empty TAB field, R's unquoted NA).
struct Token {
    std::string text;
    bool quoted = false;
    bool missing = false;
};

Token Unquoted(std::string text) {
    Token t;
    t.missing = text.empty() || text == MissingToken || text == "NA";
    t.text = std::move(text);
    return t;
}

// A field in double quotes may hold blanks and TABs; a quote inside it is
// written doubled or after a backslash. Starts at the opening quote; returns
// the position after the closing one (or the line's end).
std::size_t ReadQuoted(std::string_view line, std::size_t i, Token& token) {
    token.quoted = true;
    for (++i; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '\\' && i + 1 < line.size() && line[i + 1] == '"') {
            token.text += '"';
            ++i;
        } else if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
            token.text += '"';
            ++i;
        } else if (c == '"') {
            return i + 1;
        } else {
            token.text += c;
        }
    }
    return i;
}

// Blank-separated: tokens end at a blank or a TAB; blanks after a token are
// skipped, so runs of blanks are one separator, while a TAB right after a
// separator is an empty field.
std::vector<Token> BlankTokens(std::string_view line) {
    std::vector<Token> tokens;
    std::size_t i = line.find_first_not_of(' ');
    while (i != std::string_view::npos && i < line.size()) {
        std::size_t end;
        if (line[i] == '"') {
            Token token;
            end = ReadQuoted(line, i, token);
            // Anything glued to the closing quote belongs to the field.
            const std::size_t rest = std::min(line.find_first_of(" \t", end), line.size());
            token.text += line.substr(end, rest - end);
            token.missing = Trim(token.text).empty();
            tokens.push_back(std::move(token));
            end = rest;
        } else {
            end = std::min(line.find_first_of(" \t", i), line.size());
            tokens.push_back(Unquoted(std::string(line.substr(i, end - i))));
        }
        if (end >= line.size())
            break;
        i = line.find_first_not_of(' ', end + 1);
    }
    return tokens;
}

// TAB-separated: only TABs separate; blanks around a field are dropped and
// blanks inside it are kept.
std::vector<Token> TabTokens(std::string_view line) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (true) {
        const std::size_t end = std::min(line.find('\t', i), line.size());
        const std::string field = Trim(line.substr(i, end - i));
        if (field.size() >= 2 && field.front() == '"' && field.back() == '"') {
            Token token;
            ReadQuoted(field, 0, token);
            token.missing = Trim(token.text).empty();
            tokens.push_back(std::move(token));
        } else {
            tokens.push_back(Unquoted(field));
        }
        if (end >= line.size())
            break;
        i = end + 1;
    }
    return tokens;
}

// A token as a cell text: no-break spaces back to the blanks they stand
// for, a TAB kept inside quotes as a blank (a cell shows no TABs), at most
// MaxCellChars characters.
std::string TokenText(const std::string& token) {
    std::string text;
    for (std::size_t i = 0; i < token.size(); ++i) {
        if (token.compare(i, NoBreakSpace.size(), NoBreakSpace) == 0) {
            text += ' ';
            i += NoBreakSpace.size() - 1;
        } else if (static_cast<unsigned char>(token[i]) < 0x20) {
            text += ' ';
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

std::string WriteTextData(const Workspace& ws, char separator, TextEncoding encoding) {
    const SheetGrid& g = ws.sheet;
    const SheetLines sheet = SheetAsLines(g);
    std::string out;
    if (sheet.variables == 0)
        return out;
    const bool labels = sheet.labels || FirstNameNeedsLabels(g);
    std::vector<std::string> fields;
    if (labels)
        fields.emplace_back(LabelsWord);
    for (int c = 1; c <= sheet.variables; ++c)
        fields.push_back(Field(g.Cell(c, 0), separator));
    PutLine(out, fields, separator);
    for (int r = 1; r <= sheet.rows; ++r) {
        fields.clear();
        if (labels)
            fields.push_back(Field(g.Cell(0, r), separator));
        for (int c = 1; c <= sheet.variables; ++c)
            fields.push_back(Field(RowCell(g, c, r), separator));
        PutLine(out, fields, separator);
    }
    return EncodeText(out, encoding);
}

std::string TextFileRefusal(std::string_view bytes) {
    // No text holds a zero byte; a picture or a program named ".txt" does.
    if (bytes.find('\0') != std::string_view::npos)
        return NotATextFileText;
    return {};
}

std::string TooManyVariablesText(int firstColumn) {
    if (firstColumn == 0)
        return "!В ФАЙЛЕ БОЛЬШЕ " + std::to_string(SheetColumns) +
               " ПЕРЕМЕННЫХ - ПРОЧИТАНЫ ПЕРВЫЕ " + std::to_string(SheetColumns) + "!";
    return "!В ТАБЛИЦЕ НЕТ МЕСТА ДЛЯ ВСЕХ ПЕРЕМЕННЫХ ФАЙЛА - ПРОЧИТАНЫ ПЕРВЫЕ " +
           std::to_string(SheetColumns - firstColumn) + "!";
}

void ReadTextData(Workspace& ws, std::string_view bytes) {
    if (const std::string refusal = TextFileRefusal(bytes); !refusal.empty()) {
        ShowNotice(ws, refusal);
        return;
    }
    std::string text = DecodeTextFile(bytes);
    if (text.rfind("\xEF\xBB\xBF", 0) == 0)
        text.erase(0, 3);
    ShowControlCharacters(text);

    std::vector<std::string> lines;
    for (std::string& line : SplitLines(text))
        if (!IsCommentLine(line))
            lines.push_back(std::move(line));
    if (lines.empty())
        return;
    // The first line tells the separator: a TAB there means TABs only.
    const bool tabs = lines[0].find('\t') != std::string::npos;
    auto tokensOf = [tabs](std::string_view line) {
        return tabs ? TabTokens(line) : BlankTokens(line);
    };

    const int c0 = ws.sheet.VariableCount();
    const std::vector<Token> head = tokensOf(lines[0]);
    const Token first = head.empty() ? Unquoted(std::string()) : head[0];
    const bool labelsWord = !first.quoted && first.text == LabelsWord;
    const bool namesLine = labelsWord || first.quoted || !ParseNumber(first.text).ok();
    // A names line one field shorter than the data lines: the first field of
    // every data line is the row's label (as R's write.table writes by default).
    const bool labels = labelsWord || (namesLine && lines.size() > 1 &&
                                       tokensOf(lines[1]).size() == head.size() + 1);
    int row = namesLine ? 0 : 1;  // grid row of the current line: 0 names, then data rows
    bool tooWide = false;
    for (std::size_t l = 0; l < lines.size(); ++l) {
        const std::vector<Token> tokens = l == 0 ? head : tokensOf(lines[l]);
        std::size_t next = 0;
        if (l == 0 && labelsWord) {
            next = 1;
        } else if (labels && row >= 1 && !tokens.empty()) {
            next = 1;
            if (c0 == 0 && !tokens[0].missing) {
                if (row > SheetRows) {
                    ShowNotice(ws, FileTooLargeText);
                    return;
                }
                StoreReadLabel(ws, TokenText(tokens[0].text), row);
            }
        }
        int col = c0;
        for (; next < tokens.size(); ++next) {
            ++col;
            if (col > SheetColumns) {
                // The variables that fit are read whole; the rest are left out.
                tooWide = true;
                break;
            }
            if (tokens[next].missing)
                continue;
            if (row > SheetRows) {
                ShowNotice(ws, FileTooLargeText);
                return;
            }
            // A refusal means the sheet is full and has said so.
            if (!StoreReadText(ws, TokenText(tokens[next].text), col, row - 1))
                return;
        }
        ++row;
    }
    if (tooWide)
        ShowNotice(ws, TooManyVariablesText(c0));
}

}  // namespace dalvex
