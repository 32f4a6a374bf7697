// Descriptive statistics (method 1) and the histogram with its normality
// tests (method 2). Each table's figures are computed from the loaded values
// alone into a named result, and written by a separate function, so each
// figure can be checked on its own.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "dispatch/method_kit.h"

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
// A constant variable has no shape; the notice names every such variable.
inline constexpr const char* ConstantShapeNotice =
    "!ПОСТОЯННАЯ ПЕРЕМЕННАЯ - АСИММЕТРИЯ И ЭКСЦЕСС НЕ ОПРЕДЕЛЕНЫ!";
// A constant variable has no normal law to compare with.
std::string ConstantHistogramNotice(const std::string& name);
inline constexpr const char* OneClassNotice =
    "!ВСЕ ЗНАЧЕНИЯ В ОДНОМ ИНТЕРВАЛЕ - НОРМАЛЬНОСТЬ НЕ ОПРЕДЕЛЕНА!";
inline constexpr const char* FewBinsNotice = "!ЧИСЛО БИНОВ ГИСТОГРАММЫ < 3!";
inline constexpr const char* StoreHistogramQuestion = "Сохранить гистограмму в матрице данных?";

// The basic line: N, minimum, maximum, mean, its standard error, variance,
// standard deviation and sum.
std::array<double, 8> BasicFigures(const std::vector<double>& values);
// The additional line: median, the two quartiles, the half-width of the
// mean's confidence interval, the variance's confidence interval and the
// standard error of the standard deviation, at significance level `alpha`.
std::array<double, 7> AdditionalFigures(const std::vector<double>& values, double alpha);
// The shape line: skewness g1, its one-sided significance, kurtosis b2 (3 for
// the normal law) and its one-sided significance. The values must not all be
// equal.
std::array<double, 4> ShapeFigures(const std::vector<double>& values);

// One table of method 1: a line of figures per variable it can describe.
template <std::size_t Size>
struct DescriptionTable {
    struct Line {
        int row;  // the loaded row described
        std::string name;
        std::array<double, Size> figures;
    };
    std::vector<Line> lines;
    // Variables left out: fewer than 4 values, or (the shape table) constant.
    std::vector<std::string> tooFew;
    std::vector<std::string> constant;
};
using BasicTable = DescriptionTable<8>;
using AdditionalTable = DescriptionTable<7>;
using ShapeTable = DescriptionTable<4>;

BasicTable DescribeBasic(const std::vector<LoadedRow>& rows);
AdditionalTable DescribeAdditional(const std::vector<LoadedRow>& rows, double alpha);
ShapeTable DescribeShape(const std::vector<LoadedRow>& rows);

// Method 1 for the loaded rows.
void DescriptiveStatistics(Workspace& ws);

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

// Method 2 for loaded row 0.
void HistogramNormality(Workspace& ws);

}  // namespace dalvex
