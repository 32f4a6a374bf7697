#include "core/sheet_grid.h"

#include "core/text.h"

namespace dalvex {

namespace {
const std::string kEmpty;
}

SheetGrid::SheetGrid() : cells_(SheetColumns + 1) {
    Reset();
}

const std::string& SheetGrid::Cell(int col, int row) const {
    const auto& column = cells_[col];
    return row < static_cast<int>(column.size()) ? column[row] : kEmpty;
}

void SheetGrid::SetCell(int col, int row, std::string text) {
    auto& column = cells_[col];
    if (row >= static_cast<int>(column.size())) {
        if (text.empty())
            return;
        column.resize(row + 1);
    }
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
        column.clear();
    cells_[0].resize(SheetRows + 1);
    for (int r = 1; r <= SheetRows; ++r)
        cells_[0][r] = DefaultLabel(r);
    for (int c = 1; c <= SheetColumns; ++c)
        SetCell(c, 0, DefaultName(c));
    columnLength_.fill(0);
    variableCount_ = 0;
}

}  // namespace dalvex
