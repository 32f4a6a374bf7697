// The grouped frequency table behind the histogram and the frequency
// analysis: the person confirms the classes in the "Гистограмма" form, and the
// table goes to the results. The counting itself is numeric/class_counts.h.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace dalvex {

struct Workspace;
struct FormDialog;

// The form with its proposals: the class count and the two borders.
FormDialog HistogramForm(int classes, double left, double right, char decimalSeparator);

struct FrequencyTableFigures {
    std::vector<double> counts;  // one per class
    double left = 0, right = 0;  // the borders confirmed
    double mean = 0, sd = 0;     // of all the values
    int outside = 0;             // values beyond the borders, in no class
    int total = 0;               // all the values
};

// Proposes ⌊3.3 lg n + 1.5 + n / 100⌋ classes (n: one less than the number of
// values) over the values' range, takes the classes the person confirms and
// counts the values. Nothing when the form was closed or its texts were
// refused (a class count outside 1 .. VectorCapacity, a border that is not a
// number, a left border not below the right one), each refusal with a notice.
std::optional<FrequencyTableFigures> AskFrequencyClasses(Workspace& ws,
                                                         const std::vector<double>& values);

// The table: an empty line, the heading, a line of six fields per class (left
// border, standardised left border, count, per cent, running count, per
// cent), the right border with its standard score, and "Вне границ=N" when
// values lay outside. A constant sample faults in the standardisation.
void WriteFrequencyTable(Workspace& ws, const FrequencyTableFigures& figures);

// The routine as later methods share it: observations 0 .. n of DataMatrix
// row 0 asked, counted and written; afterwards Vector1[0 .. k-1] holds the
// counts, RangeMin[0] / RangeMax[0] the borders, StatMean the mean and
// StatVariance the standard deviation. Returns k - 1, or -1 when the form was
// closed or refused.
int FrequencyTable(Workspace& ws, int n);

// The refusal notices.
std::string ClassCountNotice();
inline constexpr const char* BorderNumberNotice = "!ГРАНИЦА ИНТЕРВАЛОВ НЕ ЯВЛЯЕТСЯ ЧИСЛОМ!";
inline constexpr const char* BorderOrderNotice = "!ЛЕВАЯ ГРАНИЦА ДОЛЖНА БЫТЬ МЕНЬШЕ ПРАВОЙ!";
inline constexpr const char* BorderRangeNotice = "!ГРАНИЦА ИНТЕРВАЛОВ СЛИШКОМ ДАЛЕКО ОТ ДАННЫХ!";

// Whether classes between the borders can be told apart and their borders
// standardised by the data's mean and deviation without leaving the range of
// numbers.
bool BordersMeasurable(double left, double right, int classes, double mean, double sd);

}  // namespace dalvex
