// The running data range per axis (RangeMin / RangeMax of the store), kept by
// methods and graphs. Whether an axis has seen a value is its own flag, so a
// value equal to any number, pi included, is an ordinary bound.
#pragma once

namespace dalvex {

struct Workspace;

// Forget axis `axis`: the next value taken opens its range.
void ResetRange(Workspace& ws, int axis);
// Widen axis `axis` by v; MissingValue is ignored.
void UpdateRange(Workspace& ws, int axis, double v);

// Axis 0 from observations 0 .. VarLength[a + 1] of row a, axis 1 from row b.
void RowRange(Workspace& ws, int a, int b);
// Axis 1 over every observation of every loaded row 0 .. VarLength[0].
void LoadedRowsRange(Workspace& ws);

}  // namespace dalvex
