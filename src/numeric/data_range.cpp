#include "numeric/data_range.h"

#include <numbers>

#include "core/workspace.h"

namespace dalvex {

void ResetRange(Workspace& ws, int axis) {
    DataStore& store = ws.store;
    store.RangeSeen.at(axis) = false;
    // An unset range reads as pi, as it always has, for anyone who prints it.
    store.RangeMin[axis] = store.RangeMax[axis] = std::numbers::pi;
}

void UpdateRange(Workspace& ws, int axis, double v) {
    if (v == MissingValue)
        return;
    DataStore& store = ws.store;
    if (!store.RangeSeen.at(axis)) {
        store.RangeSeen[axis] = true;
        store.RangeMin[axis] = store.RangeMax[axis] = v;
    } else if (v < store.RangeMin[axis]) {
        store.RangeMin[axis] = v;
    } else if (v > store.RangeMax[axis]) {
        store.RangeMax[axis] = v;
    }
}

namespace {

void TakeRow(Workspace& ws, int axis, int row) {
    for (int i = 0; i <= ws.VarLength[row + 1]; ++i)
        UpdateRange(ws, axis, ws.store.Data(row, i));
}

}  // namespace

void RowRange(Workspace& ws, int a, int b) {
    ResetRange(ws, 0);
    TakeRow(ws, 0, a);
    ResetRange(ws, 1);
    TakeRow(ws, 1, b);
}

void LoadedRowsRange(Workspace& ws) {
    ResetRange(ws, 1);
    for (int row = 0; row <= ws.VarLength[0]; ++row)
        TakeRow(ws, 1, row);
}

}  // namespace dalvex
