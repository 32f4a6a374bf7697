// The data sheet's cells and bookkeeping: texts in a grid whose column 0
// holds row labels and whose row 0 holds variable names. Storage grows per
// column only as far as it is written, so an empty 16000 x 500 sheet is cheap.
// Columns are shared between copies of a grid and copied on their first
// write, so keeping a copy (the undo history, a transformation's "before")
// costs only the columns changed afterwards.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "core/data_store.h"

namespace dalvex {

inline constexpr int SheetColumns = MaxVariables;  // variable columns 1..500
inline constexpr int SheetRows = VectorCapacity;   // data rows 1..16000
inline constexpr int MaxCellChars = 255;           // longest text a cell keeps

class SheetGrid {
  public:
    SheetGrid();

    // Grid coordinates: col 0..SheetColumns, row 0..SheetRows.
    static bool InGrid(int col, int row) {
        return col >= 0 && col <= SheetColumns && row >= 0 && row <= SheetRows;
    }
    const std::string& Cell(int col, int row) const;
    // Raw store with no padding and no bookkeeping; editing rules keep
    // ColumnLength and VariableCount themselves.
    void SetCell(int col, int row, std::string text);

    int VariableCount() const { return variableCount_; }
    void SetVariableCount(int n) { variableCount_ = n; }
    int ColumnLength(int col) const { return columnLength_[col]; }
    void SetColumnLength(int col, int length) { columnLength_[col] = length; }
    // Sum of ColumnLength over columns 1..VariableCount.
    long FilledCells() const;
    // Longest column among 1..VariableCount.
    int LongestColumn() const;

    // Initial names "x1".."x500" (padded to 8), labels "1".."16000" (padded to
    // 4), all lengths 0, no variables.
    void Reset();

    static std::string DefaultName(int col);
    static std::string DefaultLabel(int row);

    // Whether column `col` (0 = row labels) reads the same here and in
    // `other`: its cells and its length.
    bool SameColumn(int col, const SheetGrid& other) const;
    // Every cell, length and the variable count read the same.
    bool SameContent(const SheetGrid& other) const;
    // Columns reading the same as in `other` take over other's storage, so
    // a column written back to what it held is not kept twice.
    void ShareEqualColumns(const SheetGrid& other);
    // Whether column `col` is the very storage of other's column (no copy).
    bool SharesColumn(int col, const SheetGrid& other) const {
        return cells_[col] == other.cells_[col];
    }
    // Cells stored in column `col` (written ones, empty or not), and which
    // storage holds them (the same for grids sharing the column).
    long StoredCells(int col) const { return static_cast<long>(cells_[col]->size()); }
    const void* ColumnStorage(int col) const { return cells_[col].get(); }

  private:
    using Column = std::vector<std::string>;
    Column& Writable(int col);

    std::vector<std::shared_ptr<Column>> cells_;  // [col][row]
    std::array<int, SheetColumns + 1> columnLength_{};
    int variableCount_ = 0;
};

}  // namespace dalvex
