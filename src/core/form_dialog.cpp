#include "core/form_dialog.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "core/arithmetic_fault.h"
#include "core/settings.h"
#include "core/workspace.h"

namespace dalvex {

FormDialog& FormDialog::Group(std::string groupCaption) {
    groups.push_back({std::move(groupCaption), {}});
    return *this;
}

FormDialog& FormDialog::Field(std::string label, std::string value, std::string hint) {
    if (groups.empty())
        groups.emplace_back();
    groups.back().fields.push_back(
        {std::move(label), std::move(value), std::move(hint), FormFieldKind::Text, {}});
    return *this;
}

FormDialog& FormDialog::Check(std::string label, bool ticked, std::string hint) {
    Field(std::move(label), ticked ? "1" : "0", std::move(hint));
    groups.back().fields.back().kind = FormFieldKind::Check;
    return *this;
}

FormDialog& FormDialog::Choice(std::string label, std::vector<std::string> items, int chosen,
                               std::string hint) {
    Field(std::move(label), std::to_string(chosen), std::move(hint));
    groups.back().fields.back().kind = FormFieldKind::Choice;
    groups.back().fields.back().items = std::move(items);
    return *this;
}

FormDialog& FormDialog::Grid(std::string label, std::vector<std::string> columns, int rows,
                             std::string value, std::string hint) {
    Field(std::move(label), std::move(value), std::move(hint));
    groups.back().fields.back().kind = FormFieldKind::Grid;
    groups.back().fields.back().items = std::move(columns);
    groups.back().fields.back().rows = rows;
    return *this;
}

namespace {

std::vector<std::string> SplitRows(const std::string& text) {
    std::vector<std::string> rows(1);
    for (char c : text) {
        if (c == '\n' || c == ';') {
            rows.emplace_back();
        } else if (c != '\r') {
            rows.back() += c;
        }
    }
    while (!rows.empty() && rows.back().find_first_not_of(" \t") == std::string::npos)
        rows.pop_back();
    return rows;
}

std::vector<std::string> SplitCells(const std::string& row) {
    std::vector<std::string> cells;
    if (row.find('\t') != std::string::npos) {
        cells.emplace_back();
        for (char c : row) {
            if (c == '\t')
                cells.emplace_back();
            else
                cells.back() += c;
        }
        for (std::string& cell : cells) {
            const auto first = cell.find_first_not_of(' ');
            const auto last = cell.find_last_not_of(' ');
            cell =
                first == std::string::npos ? std::string() : cell.substr(first, last - first + 1);
        }
        return cells;
    }
    std::string cell;
    for (char c : row) {
        if (c == ' ') {
            if (!cell.empty())
                cells.push_back(std::move(cell));
            cell.clear();
        } else {
            cell += c;
        }
    }
    if (!cell.empty())
        cells.push_back(std::move(cell));
    return cells;
}

}  // namespace

std::vector<std::vector<std::string>> GridCells(const std::string& value, int rows, int columns) {
    std::vector<std::vector<std::string>> cells;
    for (const std::string& row : SplitRows(value)) {
        if (static_cast<int>(cells.size()) >= rows)
            break;
        std::vector<std::string> line = SplitCells(row);
        if (static_cast<int>(line.size()) > columns)
            line.resize(columns);
        cells.push_back(std::move(line));
    }
    return cells;
}

std::string GridValue(const std::vector<std::vector<std::string>>& cells) {
    std::string value;
    for (std::size_t r = 0; r < cells.size(); ++r) {
        if (r > 0)
            value += '\n';
        for (std::size_t c = 0; c < cells[r].size(); ++c) {
            if (c > 0)
                value += '\t';
            value += cells[r][c];
        }
    }
    return value;
}

std::string PasteGrid(const std::string& clipboard, int rows, int columns) {
    // Lines only: a ";" in pasted text is a cell's own character.
    std::vector<std::vector<std::string>> cells;
    std::string line;
    auto flush = [&] {
        if (static_cast<int>(cells.size()) < rows) {
            std::vector<std::string> row = SplitCells(line);
            if (static_cast<int>(row.size()) > columns)
                row.resize(columns);
            cells.push_back(std::move(row));
        }
        line.clear();
    };
    for (char c : clipboard) {
        if (c == '\n')
            flush();
        else if (c != '\r')
            line += c;
    }
    if (!line.empty())
        flush();
    return GridValue(cells);
}

FormDialog& FormDialog::Button(std::string text, int answer, std::string hint) {
    buttons.push_back({std::move(text), answer, std::move(hint), {}, {}});
    return *this;
}

FormDialog& FormDialog::GroupButton(std::string groupCaption, std::string text, int answer,
                                    std::string note) {
    FormButton button{std::move(text), answer, {}, std::move(groupCaption), std::move(note)};
    buttons.push_back(std::move(button));
    return *this;
}

FormDialog& FormDialog::RememberIn(std::string fileName) {
    memoryFile = std::move(fileName);
    return *this;
}

int FormDialog::FieldCount() const {
    int count = 0;
    for (const FormGroup& group : groups)
        count += static_cast<int>(group.fields.size());
    return count;
}

const FormField& FormDialog::FieldAt(int index) const {
    for (const FormGroup& group : groups) {
        if (index < static_cast<int>(group.fields.size()))
            return group.fields[index];
        index -= static_cast<int>(group.fields.size());
    }
    throw std::out_of_range("form \"" + caption + "\" has no field " + std::to_string(index));
}

FormField& FormDialog::FieldAt(int index) {
    return const_cast<FormField&>(std::as_const(*this).FieldAt(index));
}

std::vector<std::string> FormDialog::Values() const {
    std::vector<std::string> values;
    for (const FormGroup& group : groups)
        for (const FormField& field : group.fields)
            values.push_back(field.value);
    return values;
}

void FormDialog::SetValues(const std::vector<std::string>& values) {
    const int count = std::min(FieldCount(), static_cast<int>(values.size()));
    for (int i = 0; i < count; ++i)
        FieldAt(i).value = values[i];
}

FormAnswer ShowForm(Workspace& ws, FormDialog form) {
    const std::string memoryPath =
        form.memoryFile.empty() ? "" : ws.ProgramFolder + form.memoryFile;
    if (!memoryPath.empty()) {
        std::vector<std::string> remembered;
        if (ReadLinesFile(memoryPath, remembered).ok)
            form.SetValues(remembered);
        else
            ws.ui.Beep();
    }
    FormAnswer answer;
    {
        const FloatingFlagsKept kept;  // the window's arithmetic is not the command's
        answer = ws.ui.Form(form);
    }
    ws.LastAnswer = answer.button;
    if (answer.button != 0 && !memoryPath.empty() && !WriteLinesFile(memoryPath, answer.values).ok)
        ws.ui.Beep();
    return answer;
}

}  // namespace dalvex
