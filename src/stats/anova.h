// Analysis of variance: the one table every design prints through
// (`AnovaTable`), the one-factor analysis with its parameters, Scheffé
// comparisons and contrasts (method 11), the Kruskal-Wallis test with
// Jonckheere's trend test and Friedman's test with Page's trend test.
//
// Every sum of squares is taken about a mean computed first (two passes), so
// data sharing a large offset (1e7 plus tenths) keep their F ratios; an F
// with one numerator degree of freedom gets its significance through
// FSignificance, which hands the Fisher routine Student's t = √F.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "dispatch/method_kit.h"
#include "stats/anova_dialogs.h"

namespace dalvex {

inline constexpr const char* AnovaTableHeading =
    "Источник   Сум.квадр  Ст.своб Ср.квадр      F   Значимость Сила влияния";
inline constexpr const char* ModelParametersLine = "          Параметры модели:";
inline constexpr const char* PooledLine = "  После объединения межфакторной и остаточной СК:";
inline constexpr const char* ScheffeHeading =
    "Переменные  Разность  Интервал    Значим  Гипотеза H1";
inline constexpr const char* SignificantMark = "     Да";
inline constexpr const char* OrderedQuestion = "Значения 1-го фактора упорядочены?";
inline constexpr const char* AnovaListFile = "anova.txt";

// Degenerate data: said plainly, never carried into a table as 0/0.
inline constexpr const char* ConstantDataNotice = "!ВСЕ ЗНАЧЕНИЯ ОДИНАКОВЫ - АНАЛИЗ НЕВОЗМОЖЕН!";
inline constexpr const char* ZeroErrorNotice =
    "!ОСТАТОЧНАЯ СУММА КВАДРАТОВ РАВНА НУЛЮ - F НЕ ОПРЕДЕЛЕНО!";
inline constexpr const char* NoErrorDfNotice = "!НЕТ СТЕПЕНЕЙ СВОБОДЫ ДЛЯ ОСТАТКА - МАЛО ЗНАЧЕНИЙ!";
inline constexpr const char* UnequalBlocksNotice =
    "!РАЗНОЕ ЧИСЛО БЛОКОВ У ОБРАБОТОК - КРИТЕРИЙ ФРИДМАНА НЕПРИМЕНИМ!";
inline constexpr const char* TiedBlocksNotice =
    "!ВСЕ ЗНАЧЕНИЯ ВНУТРИ КАЖДОГО БЛОКА ОДИНАКОВЫ - АНАЛИЗ НЕВОЗМОЖЕН!";
std::string EmptyGroupNotice(const std::string& name);
// The notice for the first group with no values (named from `names`, or by
// its number past their end), or "" when every group has values.
std::string FirstEmptyGroupNotice(const std::vector<std::vector<double>>& groups,
                                  const std::vector<std::string>& names);

// The critical F at level alpha; with one numerator degree of freedom the
// Fisher quantile answers the two-sided t, whose square is the F.
double FCritical(int df1, int df2, double alpha);

// The mean in two passes (the first mean corrected by the mean deviation
// from it); values all equal give that value exactly, so their deviations
// are exactly 0. `v` is not empty.
double StableMean(const std::vector<double>& v);
// The sum of squared deviations from `about`.
double SquaresAbout(const std::vector<double>& v, double about);
// Every value of the groups (or rows, or cells) in one list, in order.
std::vector<double> Pooled(const std::vector<std::vector<double>>& groups);

// ---------------------------------------------------------------------------
// The table

struct AnovaSource {
    double ss = 0;
    double df = 0;
    double ms() const { return ss / df; }
};

// What a design hands the table: its sources and, for each tested source,
// the error term it is tested against.
struct AnovaTableSpec {
    AnovaSource factor1;
    AnovaSource factor2;      // df 0: the design has no second factor
    AnovaSource interaction;  // df 0: no interaction row
    AnovaSource error;        // the residual row; also the interaction's error term
    AnovaSource total;
    AnovaSource error1;  // the error term of factor 1
    AnovaSource error2;  // the error term of factor 2
    double d = 1;        // the divisor of the strength of influence
};

struct AnovaRow {
    const char* label;  // "  Факт.1   "
    double ss, df, ms;
    bool tested;  // F, significance and strength follow
    double f = 0, p = 1, strength = 0;
};

struct FLine {
    const char* label;  // "F(фактор1)="
    double f, p, df1, df2;
};

struct AnovaTableFigures {
    std::vector<AnovaRow> rows;      // the sources, the residual, the total
    std::vector<FLine> fLines;       // one per tested source
    std::vector<FLine> pooled;       // after pooling a non-significant interaction
    std::optional<double> factor2P;  // appended to the list of significances
};

// Empty notice when every tested source has an error term with a positive
// sum of squares; otherwise the notice (nothing else is set).
struct AnovaTableResult {
    std::string notice;
    AnovaTableFigures figures;
};
AnovaTableResult ComputeAnovaTable(const AnovaTableSpec& spec, double level);
// The empty line, the heading, the rows, the F lines and the pooled lines.
void WriteAnovaTable(Workspace& ws, const AnovaTableFigures& table);

// ---------------------------------------------------------------------------
// One factor, parametric

struct OneFactorFigures {
    std::string notice;  // the analysis cannot be made (nothing else is set)
    int k = 0, n = 0;
    std::vector<int> counts;
    std::vector<double> means;
    double grandMean = 0;
    double ss1 = 0, sse = 0, sst = 0;
    double mse = 0;
    int dfError = 0;
    AnovaTableSpec table;
    // Two-sided confidence half-widths at the significance level, from the
    // mean square error and its degrees of freedom.
    double meanHalfWidth = 0;
    std::vector<double> effects, effectHalfWidths;
    double factorP = 1;
};
OneFactorFigures ComputeOneFactor(const std::vector<std::vector<double>>& groups,
                                  const std::vector<std::string>& names, double level);

struct Comparison {
    std::string label;
    double difference = 0;  // |d|
    double interval = 0;    // Scheffé's half-width
    double p = 1;
    bool significant = false;
};
// Every pair g < h of groups.
std::vector<Comparison> ScheffeComparisons(const OneFactorFigures& f, double level);
// The mean of the groups of set 1 against the mean of the groups of set 2.
Comparison Contrast(const OneFactorFigures& f, const std::vector<int>& set1,
                    const std::vector<int>& set2, const std::string& label, double level);

// ---------------------------------------------------------------------------
// Rank tests

struct KruskalWallisFigures {
    std::string notice;
    int k = 0, n = 0;
    double h = 0, p = 1;
    double tieFactor = 1;
    // Jonckheere's trend statistic on the pooled ranks.
    double j = 0, z = 0, jp = 1;
};
KruskalWallisFigures ComputeKruskalWallis(const std::vector<std::vector<double>>& groups,
                                          const std::vector<std::string>& names);

struct FriedmanFigures {
    std::string notice;
    int k = 0, b = 0;
    double chiSquare = 0, p = 1;
    double page = 0, z = 0, pageP = 1;
};
// `treatments` rows of equal length b (one value per block).
FriedmanFigures ComputeFriedman(const std::vector<std::vector<double>>& treatments);

// ---------------------------------------------------------------------------
// Two factors

inline constexpr const char* LevelCountNotice = "!ОШИБКА ЧИСЛА ГРАДАЦИЙ ФАКТОРА 1!";

// The designs of method 12: without replication, and with replication under
// fixed effects, random effects, randomised blocks (factor 2 the blocks) and
// grouping (factor 2 nested within factor 1).
enum class TwoFactorDesign { NonRepeated = 1, Fixed, Random, Blocks, Nested };

struct TwoFactorFigures {
    std::string notice;  // nothing else is set
    AnovaTableSpec table;
    bool parameters = true;  // the nested design prints none
    // Two-sided half-widths at the level from the residual mean square and
    // its degrees of freedom; effects are deviations of the levels' means
    // (unweighted over the cells) from the mean of the cell means.
    double grandMean = 0, meanHalfWidth = 0;
    std::vector<double> effects1, halfWidths1;  // the levels of factor 1
    std::vector<double> effects2, halfWidths2;  // the levels of factor 2
};
// Rows are the levels of factor 1, observation i the level i of factor 2.
TwoFactorFigures ComputeTwoWayNonRepeated(const std::vector<std::vector<double>>& rows,
                                          double level);
// Cell j belongs to level j mod levels1 of factor 1 and level j div levels1
// of factor 2. With unequal cells the factors' sums of squares share the
// cells' sum of squares in proportion to the spread of the unweighted level
// means (exact for equal cells).
TwoFactorFigures ComputeTwoWayRepeated(const std::vector<std::vector<double>>& cells,
                                       const std::vector<std::string>& names, int levels1,
                                       TwoFactorDesign design, double level);

// The design dialog of method 12: the design's number (TwoFactorDesign), 0
// when cancelled; the levels of factor 1 land in AnswerNumber.
int TwoFactorChoice(Workspace& ws);
void TwoFactorAnalysis(Workspace& ws, int choice);

// ---------------------------------------------------------------------------
// Method 11

// The choice dialog of the one-factor analysis: 1 parametric, 2
// Kruskal-Wallis, 3 Friedman, 0 cancelled.
int OneFactorChoice(Workspace& ws);
// The loaded rows are the groups, each without its missing values; Friedman's
// treatments are loaded again listwise, so each observation stays a block.
void OneFactorAnalysis(Workspace& ws, int choice);

}  // namespace dalvex
