#include "core/sheet_grid.h"

#include <algorithm>

#include "core/text.h"

namespace dalvex {

namespace {
const std::string kEmpty;
}

SheetGrid::SheetGrid() : cells_(SheetColumns + 1) {
    Reset();
}

const std::string& SheetGrid::Cell(int col, int row) const {
    const Column& column = *cells_[col];
    return row < static_cast<int>(column.size()) ? column[row] : kEmpty;
}

SheetGrid::Column& SheetGrid::Writable(int col) {
    std::shared_ptr<Column>& column = cells_[col];
    // Another grid (a kept copy) still reads this column: it keeps the old
    // cells, this grid writes into its own.
    if (column.use_count() > 1)
        column = std::make_shared<Column>(*column);
    return *column;
}

void SheetGrid::SetCell(int col, int row, std::string text) {
    if (row >= static_cast<int>(cells_[col]->size()) && text.empty())
        return;
    Column& column = Writable(col);
    if (row >= static_cast<int>(column.size()))
        column.resize(row + 1);
    column[row] = std::move(text);
}

long SheetGrid::FilledCells() const {
    long sum = 0;
    for (int c = 1; c <= variableCount_; ++c)
        sum += columnLength_[c];
    return sum;
}

int SheetGrid::LongestColumn() const {
    int longest = 0;
    for (int c = 1; c <= variableCount_; ++c)
        if (columnLength_[c] > longest)
            longest = columnLength_[c];
    return longest;
}

std::string SheetGrid::DefaultName(int col) {
    return PadLeft("x" + std::to_string(col), 8);
}

std::string SheetGrid::DefaultLabel(int row) {
    return PadLeft(std::to_string(row), 4);
}

void SheetGrid::Reset() {
    for (auto& column : cells_)
        column = std::make_shared<Column>();
    Column& labels = *cells_[0];
    labels.resize(SheetRows + 1);
    for (int r = 1; r <= SheetRows; ++r)
        labels[r] = DefaultLabel(r);
    for (int c = 1; c <= SheetColumns; ++c)
        SetCell(c, 0, DefaultName(c));
    columnLength_.fill(0);
    variableCount_ = 0;
}

bool SheetGrid::SameColumn(int col, const SheetGrid& other) const {
    if (columnLength_[col] != other.columnLength_[col])
        return false;
    if (cells_[col] == other.cells_[col])
        return true;
    // A column may hold written empty cells past its last text; they read
    // the same as cells never written.
    const Column& a = *cells_[col];
    const Column& b = *other.cells_[col];
    const size_t common = std::min(a.size(), b.size());
    if (!std::equal(a.begin(), a.begin() + common, b.begin()))
        return false;
    const Column& longer = a.size() > b.size() ? a : b;
    return std::all_of(longer.begin() + common, longer.end(),
                       [](const std::string& cell) { return cell.empty(); });
}

bool SheetGrid::SameContent(const SheetGrid& other) const {
    if (variableCount_ != other.variableCount_)
        return false;
    for (int c = 0; c <= SheetColumns; ++c)
        if (!SameColumn(c, other))
            return false;
    return true;
}

void SheetGrid::ShareEqualColumns(const SheetGrid& other) {
    for (int c = 0; c <= SheetColumns; ++c)
        if (cells_[c] != other.cells_[c] && SameColumn(c, other))
            cells_[c] = other.cells_[c];
}

}  // namespace dalvex
