// The matrix a multivariate method analyses: Pearson correlations,
// covariances, Spearman or Kendall rank correlations, Cramér's coefficients
// of nominal codes, a binary similarity by the person's formula, or a
// correlation matrix the sheet holds itself. Factor analysis builds on it,
// and so do the methods that need the correlations of many variables at once
// (stepwise regression, cluster analysis).
//
// Everything here is computed from plain vectors into a named result; the
// report lines (the means and deviations, the matrix print) are in
// correlation_matrix_report.h. The data are taken listwise: every variable
// holds the same observations, so the matrix, the means and deviations and
// any scores computed from the data afterwards all describe the same rows.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "formula/formula.h"

namespace dalvex {

struct Workspace;

enum class MatrixKind {
    Pearson = 1,
    Covariance = 2,
    Spearman = 3,
    Kendall = 4,
    Cramer = 5,
    Binary = 6,
    Given = 7,  // the sheet holds the correlation matrix
};

// Whether the matrix holds correlations (unit diagonal) rather than
// covariances.
inline bool HoldsCorrelations(MatrixKind kind) {
    return kind != MatrixKind::Covariance;
}
// Whether the matrix comes from observations (every kind but Given).
inline bool FromData(MatrixKind kind) {
    return kind != MatrixKind::Given;
}

inline constexpr const char* FewMeasurementsNotice = "!ИЗМЕРЕНИЙ < 3!";
inline constexpr const char* NotSquareNotice = "!НЕКВАДРАТНАЯ МАТРИЦА КОРРЕЛЯЦИЙ!";
inline constexpr const char* IncompleteMatrixNotice = "!МАТРИЦА КОРРЕЛЯЦИЙ НЕПОЛНАЯ!";
inline constexpr const char* NotBinaryNotice =
    "!ДАННЫЕ НЕ БИНАРНЫЕ! - применяем коэффицинт Крамера";
std::string ConstantVariableNotice(const std::string& name);

// The variables as a method hands them over: names, and either numbers
// (every kind but the nominal ones) or trimmed cell texts (Cramer, Binary).
// All columns are equally long.
struct MatrixInput {
    std::vector<std::string> names;
    std::vector<std::vector<double>> values;
    std::vector<std::vector<std::string>> texts;
    // The sheet row (1-based) of each observation kept.
    std::vector<int> rows;

    int size() const { return static_cast<int>(names.size()); }
    int count() const;
};

// Every sheet variable, observations with a missing cell left out in all of
// them: numbers for the numeric kinds, texts (an empty cell is missing) for
// the nominal ones; a given matrix keeps every cell (missing ones as
// MissingValue). Sets SelectedColumns to all variables.
MatrixInput LoadAllVariables(Workspace& ws, MatrixKind kind);

struct CorrelationMatrixFigures {
    MatrixKind kind = MatrixKind::Pearson;  // Binary may have become Cramer
    int size = 0;                           // k variables
    int count = 0;                          // N observations (k for Given)
    // size x size, row-major, symmetric: what is analysed.
    std::vector<double> matrix;
    // The correlations the report prints (for covariances too).
    std::vector<double> correlations;
    // The data analysed (values, ranks or category codes), their means and
    // standard deviations: factor scores are centred and scaled by these.
    std::vector<std::vector<double>> analysed;
    std::vector<double> means, deviations;
    // Pearson and covariance: the critical coefficient and how many pairs of
    // variables reach it.
    double critical = 0;
    int significant = 0;
    bool switchedToCramer = false;

    double at(int i, int j) const { return matrix[i * size + j]; }
    double correlation(int i, int j) const { return correlations[i * size + j]; }
};

// Evaluates the person's binary formula for one 2 x 2 table.
using SimilarityFormula = std::function<double(const SimilarityCounts&)>;

struct MatrixOutcome {
    std::optional<CorrelationMatrixFigures> figures;
    // Refused: the notice saying why (fewer than 3 observations, a constant
    // variable, a block that is not square).
    std::string notice;
};

// The matrix of `kind`. `alpha` is the significance level of the critical
// coefficient; `similarity` is needed for Binary only. A Binary run with a
// variable of more than two categories switches to Cramer
// (switchedToCramer; the caller shows NotBinaryNotice).
MatrixOutcome BuildCorrelationMatrix(MatrixKind kind, const MatrixInput& input, double alpha,
                                     const SimilarityFormula& similarity = {});

// Nominal texts into category numbers 1, 2, ... in order of first
// appearance over all variables (the same text has the same number in every
// variable).
std::vector<std::vector<double>> CategoryCodes(const std::vector<std::vector<std::string>>& texts);

// Cramér's V of two code columns: empty rows and columns of their table
// left out, Yates-reduced differences in a 2 x 2 table. 0 when either
// variable has a single category.
double CramerV(const std::vector<double>& x, const std::vector<double>& y);
// The four counts of two binary code columns: a both in their first
// category, b first in x and second in y, c second in x and first in y,
// d both second.
SimilarityCounts BinaryCounts(const std::vector<double>& x, const std::vector<double>& y);

}  // namespace dalvex
