#include "numeric/inversion.h"

#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "core/arithmetic_fault.h"
#include "core/workspace.h"

namespace dalvex {

namespace {

// The scales a pivot is judged by: the largest magnitude of each row, and of
// each column once the rows are brought to a common scale. Judging a pivot
// against these rather than against the largest element of the whole matrix
// keeps a well-posed matrix whose rows or columns differ by many orders of
// magnitude from being taken for singular.
struct Scales {
    std::vector<double> row, column;
};

Scales MatrixScales(DataStore& store, int m) {
    Scales s{std::vector<double>(m + 1, 0.0), std::vector<double>(m + 1, 0.0)};
    for (int i = 0; i <= m; ++i)
        for (int j = 0; j <= m; ++j)
            s.row[i] = std::max(s.row[i], std::fabs(store.Work(i, j)));
    for (int i = 0; i <= m; ++i)
        if (s.row[i] > 0)
            for (int j = 0; j <= m; ++j)
                s.column[j] = std::max(s.column[j], std::fabs(store.Work(i, j)) / s.row[i]);
    return s;
}

void SwapRows(DataStore& store, int a, int b, int m) {
    for (int q = 0; q <= m; ++q)
        std::swap(store.Work(a, q), store.Work(b, q));
}

}  // namespace

bool InvertWorkMatrix(Workspace& ws, int m) {
    DataStore& store = ws.store;
    Scales scale = MatrixScales(store, m);
    const double negligible = 8 * (m + 1) * std::numeric_limits<double>::epsilon();

    for (int i = 0; i <= m; ++i) {
        int pivotRow = i;
        for (int j = i + 1; j <= m; ++j)
            if (std::fabs(store.Work(j, i)) > std::fabs(store.Work(pivotRow, i)))
                pivotRow = j;
        const double pivot = store.Work(pivotRow, i);
        const double pivotScale = scale.row[pivotRow] * scale.column[i];
        if (pivot == 0 || std::fabs(pivot) <= negligible * pivotScale) {
            ShowNotice(ws, SingularMatrixNotice);
            return false;
        }
        SwapRows(store, i, pivotRow, m);
        std::swap(scale.row[i], scale.row[pivotRow]);
        store.Vec2(i) = pivotRow;

        const double inverse = Checked(1 / store.Work(i, i));
        store.Work(i, i) = inverse;
        for (int q = 0; q <= m; ++q)
            if (q != i)
                store.Work(i, q) *= inverse;
        for (int l = 0; l <= m; ++l) {
            if (l == i)
                continue;
            const double f = store.Work(l, i);
            if (f == 0)
                continue;
            store.Work(l, i) = 0;
            for (int q = 0; q <= m; ++q)
                store.Work(l, q) -= f * store.Work(i, q);
        }
    }
    // The row exchanges become column exchanges of the inverse, undone in
    // reverse order.
    for (int i = m; i >= 0; --i) {
        const int j = static_cast<int>(store.Vec2(i));
        if (j != i)
            for (int l = 0; l <= m; ++l)
                std::swap(store.Work(l, i), store.Work(l, j));
    }
    return true;
}

}  // namespace dalvex
