#include "sheet/sheet_history.h"

#include <set>
#include <utility>

namespace dalvex {

SheetHistory::SheetHistory(int maxSteps) : maxSteps_(maxSteps < 1 ? 1 : maxSteps) {}

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
    return true;
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
    long cells = 0;
    auto count = [&](const SheetGrid& state) {
        for (int c = 0; c <= SheetColumns; ++c) {
            if (state.SharesColumn(c, grid) || state.StoredCells(c) == 0)
                continue;
            if (seen.insert(state.ColumnStorage(c)).second)
                cells += state.StoredCells(c);
        }
    };
    count(recorded_);
    for (const SheetGrid& state : undo_)
        count(state);
    for (const SheetGrid& state : redo_)
        count(state);
    return cells;
}

}  // namespace dalvex
