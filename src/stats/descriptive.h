// Descriptive statistics (method 1) and the histogram with its normality
// tests (method 2). The figures are computed by the functions below and
// written by the methods, so each figure can be checked on its own.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace dalvex {

struct Workspace;

inline constexpr const char* BasicHeading =
    "Переменная   Размер  <---Диапазон--->  Среднее---Ошибка  Дисперс  Ст.откл   Сумма";
inline constexpr const char* AdditionalHeading =
    "Переменная  Медиана   <--Квартили-->  ДовИнтСр. <-ДовИнтДисп->  Ош.СтОткл";
inline constexpr const char* ShapeHeading = "Переменная Асимметр. Значим  Эксцесс   Значим";
inline constexpr const char* AdditionalQuestion = "Выдать дополнительную статистику?";
inline constexpr const char* WriteBackQuestion =
    "Записать среднее, ст.отклонение и сумму в матрицу данных?";
inline constexpr const char* TooFewMeasurementsNotice = "МЕТОД НЕПРИМЕНИМ: измерений < 4!";
// A constant variable has no shape and no normal law to compare with; the
// notices name it, since the shape table may hold many variables.
std::string ConstantShapeNotice(const std::string& name);
std::string ConstantHistogramNotice(const std::string& name);
inline constexpr const char* OneClassNotice =
    "!ВСЕ ЗНАЧЕНИЯ В ОДНОМ ИНТЕРВАЛЕ - НОРМАЛЬНОСТЬ НЕ ОПРЕДЕЛЕНА!";
inline constexpr const char* FewBinsNotice = "!ЧИСЛО БИНОВ ГИСТОГРАММЫ < 3!";
inline constexpr const char* StoreHistogramQuestion = "Сохранить гистограмму в матрице данных?";

enum class DescriptionKind { Basic, Additional, Shape };

// The basic line: N, minimum, maximum, mean, its standard error, variance,
// standard deviation and sum. Stores the mean in Vector1[r] and the variance
// in Vector2[r].
std::array<double, 8> BasicFigures(Workspace& ws, int r);
// The additional line: median, the two quartiles, the half-width of the
// mean's confidence interval, the variance's confidence interval and the
// standard error of the standard deviation. Sorts row r; reads Vector2[r].
std::array<double, 7> AdditionalFigures(Workspace& ws, int r);
// The shape line: skewness g1, its one-sided significance, kurtosis b2 (3 for
// the normal law) and its one-sided significance. The row must not be constant.
std::array<double, 4> ShapeFigures(Workspace& ws, int r);

// One line of a table for DataMatrix row r; fewer than 4 observations show
// the notice instead, and a constant row has no shape line.
void DescribeVariable(Workspace& ws, int r, DescriptionKind kind);

// Method 1 for the loaded rows 0 .. L.
void DescriptiveStatistics(Workspace& ws, int L);

struct NormalityFigures {
    double groupedMean = 0;  // in class units, class i spanning [i, i + 1)
    double groupedSd = 0;
    double chiSquare = 0;
    double kolmogorov = 0;
    double omegaSquare = 0;
    double kolmogorovP = 0;
    double omegaSquareP = 0;
    double chiSquareP = 0;
};

// The three normality criteria for ascending data with class counts
// `frequencies`, mean m and standard deviation s of the data. Returns false
// when the counted values do not spread over more than one class, which
// leaves the grouped standard deviation undefined.
bool NormalityTests(const std::vector<double>& sorted, const std::vector<double>& frequencies,
                    double m, double s, NormalityFigures& out);

// Method 2 for row 0 with observations 0 .. n.
void HistogramNormality(Workspace& ws, int n);

}  // namespace dalvex
