// In-place inversion of the leading square of WorkMatrix.
#pragma once

#include <string>

namespace dalvex {

struct Workspace;

inline constexpr const char* SingularMatrixNotice =
    "!СИНГУЛЯРНАЯ МАТРИЦА - ИНВЕРТИРОВАНИЕ НЕВОЗМОЖНО!";

// Replaces WorkMatrix (0 .. m) x (0 .. m), at the stride the caller has set,
// by its inverse: Gauss-Jordan elimination with partial pivoting, the row
// exchanged with row i recorded in Vector2[i] (PivotRows). A pivot negligible
// against the scale of its row and column counts as zero: the matrix is then
// singular, the notice is shown, the matrix is left partly reduced and the
// result is false.
bool InvertWorkMatrix(Workspace& ws, int m);

}  // namespace dalvex
