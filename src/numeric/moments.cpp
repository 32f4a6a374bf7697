#include "numeric/moments.h"

#include <algorithm>
#include <cmath>

#include "core/arithmetic_fault.h"
#include "core/workspace.h"
#include "numeric/basic.h"

namespace dalvex {

namespace {

// The deviation and the shape of a row from its deviations divided by the
// largest one, so no power of them leaves the double range.
void ScaledShape(DataStore& store, int row, int last, RowMomentsResult& result) {
    double top = 0;
    for (int i = 0; i <= last; ++i) {
        const double x = store.Data(row, i);
        if (x != MissingValue)
            top = std::max(top, std::fabs(x - result.mean));
    }
    double s2 = 0, s3 = 0, s4 = 0;
    if (top > 0) {
        for (int i = 0; i <= last; ++i) {
            const double x = store.Data(row, i);
            if (x == MissingValue)
                continue;
            const double d = (x - result.mean) / top;
            s2 += d * d;
            s3 += d * d * d;
            s4 += d * d * d * d;
        }
    }
    const double n = result.count;
    result.deviation = top * std::sqrt(s2 / (n - 1));
    const double m2 = s2 / n;
    if (m2 > 0) {
        result.skewness = (s3 / n) / std::pow(m2, 1.5);
        result.kurtosis = (s4 / n) / (m2 * m2);
    }
}

}  // namespace

RowMomentsResult RowMoments(Workspace& ws, int row) {
    DataStore& store = ws.store;
    const int last = ws.VarLength[row + 1];

    // First pass: the count, the raw power sums and a first mean.
    double sum = 0, squares = 0, cubes = 0, fourth = 0;
    int count = 0;
    for (int i = 0; i <= last; ++i) {
        const double x = store.Data(row, i);
        if (x == MissingValue)
            continue;
        ++count;
        const double x2 = x * x;
        sum += x;
        squares += x2;
        cubes += Power(x, 3);
        fourth += x2 * x2;
    }
    const double firstMean = CheckedDivide(sum, count);

    // Second pass: deviations from the first mean. Their sum corrects the
    // mean for the rounding of the first pass; the central sums are then
    // shifted onto the corrected mean exactly.
    double d1 = 0, d2 = 0, d3 = 0, d4 = 0;
    for (int i = 0; i <= last; ++i) {
        const double x = store.Data(row, i);
        if (x == MissingValue)
            continue;
        const double d = x - firstMean;
        const double dd = d * d;
        d1 += d;
        d2 += dd;
        d3 += dd * d;
        d4 += dd * dd;
    }
    const double n = count;
    const double delta = d1 / n;
    RowMomentsResult result;
    result.count = count;
    result.mean = firstMean + delta;
    result.centralSquares = std::max(0.0, d2 - n * delta * delta);
    result.centralCubes = d3 - 3 * delta * d2 + 2 * n * delta * delta * delta;
    result.centralFourth =
        d4 - 4 * delta * d3 + 6 * delta * delta * d2 - 3 * n * delta * delta * delta * delta;
    result.variance = CheckedDivide(result.centralSquares, n - 1);
    ScaledShape(store, row, last, result);

    store.StatSum = sum;
    store.StatSumSquares = squares;
    store.StatSumCubes = cubes;
    store.StatSumFourth = fourth;
    store.StatMean = result.mean;
    store.StatVariance = result.variance;
    return result;
}

RowMomentsResult RowMomentsAtLongest(Workspace& ws, int row) {
    int longest = -1;
    for (int r = 0; r <= ws.VarLength[0]; ++r)
        longest = std::max(longest, ws.VarLength[r + 1]);
    ws.VarLength[row + 1] = longest;
    return RowMoments(ws, row);
}

RowMomentsResult StoreRowMoments(Workspace& ws, int row) {
    const RowMomentsResult m = RowMoments(ws, row);
    ws.store.Vec1(row) = m.mean;
    ws.store.Vec2(row) = m.variance;
    return m;
}

double PairCorrelation(Workspace& ws, int x, int y, int k, int& n, PairStatistics* details) {
    DataStore& store = ws.store;
    const int last = n;
    double sumX = 0, sumY = 0, lastX = 0;
    int count = 0;
    for (int i = 0; i <= last; ++i) {
        const double a = store.Data(x, i);
        const double b = store.Data(y, k + i);
        lastX = a;
        if (a == MissingValue || b == MissingValue) {
            --n;
            continue;
        }
        ++count;
        sumX += a;
        sumY += b;
    }
    PairStatistics s;
    s.count = count;
    s.meanX = CheckedDivide(sumX, count);
    s.meanY = sumY / count;
    for (int i = 0; i <= last; ++i) {
        const double a = store.Data(x, i);
        const double b = store.Data(y, k + i);
        if (a == MissingValue || b == MissingValue)
            continue;
        const double dx = a - s.meanX, dy = b - s.meanY;
        s.sxx += dx * dx;
        s.syy += dy * dy;
        s.sxy += dx * dy;
    }
    s.r = CheckedDivide(s.sxy, std::sqrt(s.sxx * s.syy));
    // Rounding can carry |r| a hair past 1 for exactly dependent data.
    s.r = std::clamp(s.r, -1.0, 1.0);
    const double unexplained = 1 - s.r * s.r;
    if (unexplained <= 0) {
        s.t = 100;
    } else {
        const double ratio = (count - 2) / unexplained;
        if (ratio < 0)
            RaiseFault(FaultKind::InvalidOperation);
        s.t = s.r * std::sqrt(ratio);
    }
    store.StatSumSquares = s.t;
    store.StatVariance = sumY;
    store.StatSum = lastX;
    if (details)
        *details = s;
    return s.r;
}

}  // namespace dalvex
