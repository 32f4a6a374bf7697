// Undo and redo for the data sheet. The history keeps copies of the grid as
// it stood after each recorded step; a copy shares every column it did not
// change, so a step costs only the columns it wrote and taking a step back
// is a swap of column handles, however large the change was.
//
// Use: Reset() when a sheet starts afresh; Record() after every command that
// may have changed the grid (the ones that did not leave no step); Undo() and
// Redo() to move through the steps. A change made without a Record() (a
// method writing results into the sheet) is recorded as its own step by the
// next Record(), Undo() or Redo(), so it is never lost by undoing.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "core/sheet_grid.h"

namespace dalvex {

// Steps kept when nothing else is said; older ones are forgotten.
inline constexpr int SheetUndoSteps = 100;
// The cells a sheet filled to the store's capacity holds: its values, the
// row labels and the variable names.
inline constexpr long FullSheetCells = CellCapacity + (SheetRows + 1) + SheetColumns;
// Cells the history may hold before it forgets its oldest steps: a hundred
// steps that each rewrite the whole sheet would otherwise keep a hundred
// copies of it.
inline constexpr long SheetUndoHeldCells = 8 * FullSheetCells;

class SheetHistory {
  public:
    explicit SheetHistory(int maxSteps = SheetUndoSteps, long maxHeldCells = SheetUndoHeldCells);

    // Forgets every step; `grid` is the state recorded so far.
    void Reset(const SheetGrid& grid);

    // When `grid` reads differently from the last recorded state, the change
    // becomes one step (and what could be redone is forgotten); the oldest
    // steps are forgotten while the history holds more than `maxHeldCells`,
    // though the newest step is always kept whole. A non-empty
    // `mergeKey` equal to the previous step's joins the change to that step:
    // the characters typed into one cell come back in one undo. Returns
    // whether the grid had changed.
    bool Record(SheetGrid& grid, const std::string& mergeKey = {});

    // Puts `grid` back to the state before its last step; false (grid
    // untouched) when there is no step to undo.
    bool Undo(SheetGrid& grid);
    // Makes the last undone step again; false when there is none (also after
    // a new change, which ends what could be redone).
    bool Redo(SheetGrid& grid);

    int undoSteps() const { return static_cast<int>(undo_.size()); }
    int redoSteps() const { return static_cast<int>(redo_.size()); }
    int maxSteps() const { return maxSteps_; }
    long maxHeldCells() const { return maxHeldCells_; }

    // Cells the history holds apart from `grid` (columns no longer shared
    // with it), the memory the steps cost.
    long HeldCells(const SheetGrid& grid) const;

  private:
    void ForgetBeyondBudget(const SheetGrid& grid);

    int maxSteps_;
    long maxHeldCells_;
    SheetGrid recorded_;           // the grid after the last step
    std::deque<SheetGrid> undo_;   // states before each step, oldest first
    std::vector<SheetGrid> redo_;  // states after each undone step, last undone at the back
    std::string lastKey_;
};

}  // namespace dalvex
