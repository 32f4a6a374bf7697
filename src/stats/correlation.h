// The figures of correlation and cross-tabulation, computed from plain
// vectors into named results: nothing here touches the store or writes a
// line. Pearson's r, Kendall's tau and Spearman's rho of a pair, the critical
// coefficient of a correlation matrix and the partial correlations of three
// variables, the chi-square of two frequency distributions and the
// contingency table with its measures of association. The report lines are
// written by correlation_report.h and cross_tabulation.h.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace dalvex {

// Pearson's r of complete pairs (x and y equally long) in two passes, so a
// large common offset or near-collinear data keep their precision; |r| is
// held to 1. Nothing when fewer than 3 pairs or a variable is constant.
struct PearsonFigures {
    int count = 0;  // N, complete pairs
    double r = 0;
    double t = 0;             // r sqrt((N - 2)/(1 - r^2)), 100 when |r| = 1
    double significance = 0;  // two-sided, N - 2 degrees of freedom
};
std::optional<PearsonFigures> Pearson(const std::vector<double>& x, const std::vector<double>& y);
// r alone (nothing for a constant variable or fewer than 2 pairs).
std::optional<double> PearsonR(const std::vector<double>& x, const std::vector<double>& y);

// Kendall's S = sum over i < j of sign((x_i - x_j)(y_i - y_j)) in
// O(N log N): pairs tied in x or in y count 0.
long long KendallS(const std::vector<double>& x, const std::vector<double>& y);

// Mid-ranks 1 .. N of the values (exact ties share their mean rank).
std::vector<double> MidRanks(const std::vector<double>& values);

// Kendall's tau-a with its normal deviate and Spearman's rho of mid-ranks
// (no tie correction) with the deviate of the fixed-point iteration. Needs
// 3 or more pairs.
struct RankCorrelationFigures {
    int count = 0;
    double tau = 0, tauZ = 0, tauSignificance = 0;  // one-sided NormalTail
    double rho = 0, rhoZ = 0, rhoSignificance = 0;
};
RankCorrelationFigures RankCorrelation(const std::vector<double>& x, const std::vector<double>& y);
// z = rho sqrt(N - 1) + 0.19 z (z^2 - 3)/(N - 1) from z = 1, until two values
// differ by less than 0.001 or the last one exceeds 10 in magnitude (at most
// 1000 steps, so an oscillation ends too).
double SpearmanDeviate(double rho, int count);

// The critical coefficient for N values at significance p:
// sqrt(t^2/(t^2 + N - 2)), t the two-sided critical t with N - 2 degrees of
// freedom (N - 3 for partial correlations: pass `lost` = 3).
double CriticalCoefficient(int count, double p, int lost = 2);

// The partial correlation of i and j with the third variable k held fixed;
// nothing when i or j is fully explained by k.
std::optional<double> PartialCorrelation(double rij, double rik, double rjk);

// The chi-square of two frequency distributions over the same classes.
struct ChiSquareFigures {
    double chi2 = 0;
    int df = 0;       // classes that count, minus one
    int classes = 0;  // classes that count (after merging)
};
// Homogeneity of two empirical distributions: the classes where both are 0
// carry nothing and are left out of the degrees of freedom. Nothing when a
// distribution sums to 0 or fewer than 2 classes count.
std::optional<ChiSquareFigures> Homogeneity(const std::vector<double>& x,
                                            const std::vector<double>& y);
// Agreement of observed x with expected y: a class whose expected count is 2
// or less, or whose next class's is, merges forward into the next one; a
// small class left at the end merges backward into the last class formed.
// Nothing when fewer than 2 classes are formed.
std::optional<ChiSquareFigures> GoodnessOfFit(const std::vector<double>& observed,
                                              const std::vector<double>& expected);

// A contingency table: cells[c][r] is the count of table column c (a sheet
// variable) and table row r (a sheet row).
struct ContingencyTable {
    std::vector<std::vector<double>> cells;
    int columns() const { return static_cast<int>(cells.size()); }
    int rows() const { return cells.empty() ? 0 : static_cast<int>(cells[0].size()); }
};

struct CrossTabFigures {
    std::vector<double> rowTotals, columnTotals;
    double total = 0;
    std::vector<std::vector<double>> expected;  // [c][r]
    bool yates = false;                         // a 2 x 2 table
    double chi2 = 0;
    int df = 0;
    double significance = 0;
    double phi = 0, contingency = 0, cramer = 0;
    double lambdaSym = 0, lambdaRow = 0, lambdaCol = 0;
    double concordant = 0, discordant = 0;  // P, Q
    double tiedRow = 0, tiedCol = 0;        // tied on the row (column) only
    double tauB = 0, tauC = 0, gamma = 0, somersRow = 0, somersCol = 0;
};
// Needs at least 2 x 2 cells, no row or column whose total is 0.
CrossTabFigures CrossTabulate(const ContingencyTable& table);

// Two category columns (trimmed texts, empty cells already left out in
// pairs) into a table: categories numbered in order of first appearance, the
// first column's as table columns, the second's as table rows.
struct Tabulation {
    std::vector<std::string> columnCategories, rowCategories;
    ContingencyTable table;
};
Tabulation TabulateTexts(const std::vector<std::string>& first,
                         const std::vector<std::string>& second);

}  // namespace dalvex
