#include "sheet/sheet_history.h"

#include <cstddef>
#include <set>
#include <utility>

namespace dalvex {

namespace {

// Cells of `state` apart from `grid` that no state counted before it holds.
long UncountedCells(const SheetGrid& state, const SheetGrid& grid, std::set<const void*>& seen) {
    long cells = 0;
    for (int c = 0; c <= SheetColumns; ++c) {
        if (state.SharesColumn(c, grid) || state.StoredCells(c) == 0)
            continue;
        if (seen.insert(state.ColumnStorage(c)).second)
            cells += state.StoredCells(c);
    }
    return cells;
}

}  // namespace

SheetHistory::SheetHistory(int maxSteps, long maxHeldCells)
    : maxSteps_(maxSteps < 1 ? 1 : maxSteps), maxHeldCells_(maxHeldCells) {}

void SheetHistory::Reset(const SheetGrid& grid) {
    recorded_ = grid;
    undo_.clear();
    redo_.clear();
    lastKey_.clear();
}

bool SheetHistory::Record(SheetGrid& grid, const std::string& mergeKey) {
    if (grid.SameContent(recorded_))
        return false;
    // Columns written back to what they held need not be kept twice.
    grid.ShareEqualColumns(recorded_);
    const bool merge = !mergeKey.empty() && mergeKey == lastKey_ && !undo_.empty();
    if (!merge) {
        undo_.push_back(std::move(recorded_));
        if (static_cast<int>(undo_.size()) > maxSteps_)
            undo_.pop_front();
    }
    recorded_ = grid;
    redo_.clear();
    lastKey_ = mergeKey;
    ForgetBeyondBudget(grid);
    return true;
}

void SheetHistory::ForgetBeyondBudget(const SheetGrid& grid) {
    // Counted from the newest state back, a column shared by several steps
    // belongs to the newest of them: forgetting the older ones frees only
    // what they alone hold.
    std::set<const void*> seen;
    long cells = UncountedCells(recorded_, grid, seen);
    for (const SheetGrid& state : redo_)
        cells += UncountedCells(state, grid, seen);
    std::size_t kept = 0;
    for (auto state = undo_.rbegin(); state != undo_.rend(); ++state) {
        cells += UncountedCells(*state, grid, seen);
        if (kept > 0 && cells > maxHeldCells_)
            break;
        ++kept;
    }
    undo_.erase(undo_.begin(), undo_.end() - static_cast<std::ptrdiff_t>(kept));
}

bool SheetHistory::Undo(SheetGrid& grid) {
    Record(grid);
    if (undo_.empty())
        return false;
    redo_.push_back(std::move(recorded_));
    recorded_ = std::move(undo_.back());
    undo_.pop_back();
    grid = recorded_;
    lastKey_.clear();
    return true;
}

bool SheetHistory::Redo(SheetGrid& grid) {
    Record(grid);
    if (redo_.empty())
        return false;
    undo_.push_back(std::move(recorded_));
    recorded_ = std::move(redo_.back());
    redo_.pop_back();
    grid = recorded_;
    lastKey_.clear();
    return true;
}

long SheetHistory::HeldCells(const SheetGrid& grid) const {
    // A column shared by several kept states is counted once.
    std::set<const void*> seen;
    long cells = UncountedCells(recorded_, grid, seen);
    for (const SheetGrid& state : undo_)
        cells += UncountedCells(state, grid, seen);
    for (const SheetGrid& state : redo_)
        cells += UncountedCells(state, grid, seen);
    return cells;
}

}  // namespace dalvex
