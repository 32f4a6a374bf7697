// Correlation through the pairwise run: method 3 (Pearson's r of a pair, or
// the correlation matrix of three or more variables with its critical
// values, the high correlations and, for three variables, the partial
// correlations), method 9 (Kendall's tau and Spearman's rho, and their
// matrix) and method 5 (chi-square of two frequency distributions). The
// figures come from correlation.h; the functions here write them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "stats/correlation.h"
#include "stats/pairwise_run.h"

namespace dalvex {

inline constexpr const char* CorrelationListFile = "л-кор.txt";
inline constexpr const char* MatrixHeading = "            Корреляционная матрица";
inline constexpr const char* PartialHeading = "            Частные корреляции";
// The spelling of these three is the program's own (a Latin "e").
inline constexpr const char* CriticalLine = "Критичeское значение=";
inline constexpr const char* CriticalBonferroniLine =
    "Критичeское значение с учетом поправки Бонферрони на множественные сравнения=";
inline constexpr const char* CriticalPlainLine = "Критичeское значение без поправки Бонферрони=";
inline constexpr const char* WriteMatrixQuestion = "Записать корреляции в матрицу данных?";
inline constexpr const char* SecondDistributionCaption = "Второе распределение";
// A coefficient that cannot be computed stands in the matrix as this mark.
inline constexpr const char* UndefinedMark = "-";
inline constexpr const char* UndefinedNote =
    "-: коэффициент не определен (переменная постоянна или полных пар меньше 3)";
inline constexpr const char* FewPairsLine = "Критерий неприменим: полных пар меньше 3";
inline constexpr const char* ChiSquareUnusableLine =
    "Критерий неприменим: меньше двух непустых классов или нулевая сумма частот";
inline constexpr const char* NegativeFrequencyLine = "Критерий неприменим: отрицательная частота";
inline constexpr const char* NoRoomForMatrixNotice =
    "!НЕТ МЕСТА В ТАБЛИЦЕ ДАННЫХ - КОРРЕЛЯЦИИ НЕ ЗАПИСАНЫ!";
// The heading of the name column written before the matrix.
inline constexpr const char* MatrixNamesHeading = "Перемен.";

// The coefficients of every pair of a run, for the matrix report.
struct CorrelationMatrix {
    int size = 0;                          // L + 1 variables
    std::vector<std::optional<double>> r;  // row-major, the diagonal empty
    std::vector<int> counts;               // complete pairs of each coefficient
    std::vector<std::string> names;        // the variables' names in order
    void Resize(int variables);
    std::optional<double>& at(int i, int j) { return r[static_cast<std::size_t>(i) * size + j]; }
    const std::optional<double>& at(int i, int j) const {
        return r[static_cast<std::size_t>(i) * size + j];
    }
    // The fewest complete pairs of a coefficient that could be computed.
    int SmallestCount() const;
};

// What the matrix report found: the critical coefficient and the count of
// coefficients at or above it (type 1).
struct MatrixVerdict {
    double critical = 0;
    int significant = 0;
    int pairs = 0;
};
MatrixVerdict CountSignificant(const CorrelationMatrix& m, double alpha, int pairCount);

// The report after all pairs (three or more variables): type 1 (Pearson) or
// 5 (Spearman's rho).
void CorrelationMatrixReport(Workspace& ws, int type, const CorrelationMatrix& m, int pairCount);
// The full symmetric matrix as new sheet variables after the last one: a
// column of the names, then one column per variable. Nothing is written
// when the sheet has no room; returns whether it was written.
bool WriteMatrixToSheet(Workspace& ws, const CorrelationMatrix& m);

// Method 3, 9 and 5 as the dispatcher runs them.
void CorrelationMethod(Workspace& ws, Missing missing);
void RankCorrelationMethod(Workspace& ws, Missing missing);
void ChiSquareMethod(Workspace& ws, Missing missing);

// "Второе распределение": 1 homogeneity, 2 goodness of fit, 0 cancelled.
int AskSecondDistribution(Workspace& ws);

}  // namespace dalvex
