// The report of a correlation matrix: the means and standard deviations of
// the variables, the matrix in blocks of eleven columns (coefficients not
// above a threshold left blank), and the critical coefficient with the count
// of pairs that reach it.
#pragma once

#include <string>
#include <vector>

#include "stats/correlation_matrix.h"

namespace dalvex {

struct Workspace;

inline constexpr const char* MeansAndMatrixQuestion =
    "Выдать средние значения и корреляционную матрицу?";
inline constexpr const char* MatrixQuestion = "Выдать корреляционную матрицу?";

// The lower triangle of `correlations` (size x size, row-major), the values
// with |r| <= threshold as nine blanks.
void PrintCorrelationMatrix(Workspace& ws, const std::vector<std::string>& names,
                            const std::vector<double>& correlations, double threshold);

// The matrix section of a run: for Pearson and covariances the means, the
// deviations, the matrix and the critical lines on one question; for the
// rank and nominal kinds the matrix on its question; nothing for a given
// matrix.
void ReportCorrelationMatrix(Workspace& ws, const std::vector<std::string>& names,
                             const CorrelationMatrixFigures& f, double threshold);

}  // namespace dalvex
