// Moments of one DataMatrix row and the Pearson correlation of two, leaving
// their results in the store's shared result cells as the methods expect.
//
// Both work in two passes (the mean first, then deviations from it), so data
// with a large common offset keeps its full precision: 1e7 + 0.1, 1e7 + 0.3,
// ... has its true variance, never a negative one.
#pragma once

namespace dalvex {

struct Workspace;

struct RowMomentsResult {
    int count = 0;  // observations other than MissingValue
    double mean = 0;
    double variance = 0;  // divisor count - 1
    // Sums of the 2nd, 3rd and 4th powers of the deviations from the mean:
    // skewness and kurtosis from these stay exact where the raw power sums
    // would cancel.
    double centralSquares = 0;
    double centralCubes = 0;
    double centralFourth = 0;
    // The standard deviation and the shape (m3 / m2^1.5, m4 / m2^2) from the
    // deviations taken relative to the largest of them: values near 1e-300
    // lose their squared deviations to zero, while these figures are plain
    // numbers. A constant row has all
    // three 0.
    double deviation = 0;
    double skewness = 0;
    double kurtosis = 0;
};

// Observations 0 .. VarLength[row + 1] of DataMatrix row `row`, MissingValue
// skipped. Sets StatMean, StatVariance (divisor N - 1) and the raw sums
// StatSum, StatSumSquares, StatSumCubes, StatSumFourth. No valid observation
// faults on the mean, a single one on the variance (division by zero).
RowMomentsResult RowMoments(Workspace& ws, int row);

// First sets VarLength[row + 1] to the longest last index of the loaded rows
// 0 .. VarLength[0], then RowMoments(row).
RowMomentsResult RowMomentsAtLongest(Workspace& ws, int row);

// RowMoments(row), then Vector1[row] = mean and Vector2[row] = variance.
RowMomentsResult StoreRowMoments(Workspace& ws, int row);

struct PairStatistics {
    int count = 0;  // complete pairs
    double meanX = 0, meanY = 0;
    // Centred sums of squares and products over the complete pairs.
    double sxx = 0, syy = 0, sxy = 0;
    double r = 0;
    double t = 0;  // Student's t of r with count - 2 degrees of freedom
};

// Pearson correlation of row x [i] with row y [k + i], i = 0 .. n (n as on
// entry). Pairs holding MissingValue are skipped and n is reduced by their
// number. |r| is held to 1; StatSumSquares gets Student's t of r, 100 when
// 1 - r^2 is not positive; StatVariance gets the sum of the y values and
// StatSum the last x read. A constant variable faults (division by zero).
double PairCorrelation(Workspace& ws, int x, int y, int k, int& n,
                       PairStatistics* details = nullptr);

}  // namespace dalvex
