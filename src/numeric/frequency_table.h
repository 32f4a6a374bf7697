// The grouped frequency table behind the histogram and the frequency
// analysis: the person confirms the classes in the "Гистограмма" form, the
// counts land in Vector1 and the table goes to the results.
#pragma once

#include <string>

namespace dalvex {

struct Workspace;
struct FormDialog;

// The form with its proposals: the class count and the two borders.
FormDialog HistogramForm(int classes, double left, double right, char decimalSeparator);

// Counts observations 0 .. n of DataMatrix row 0 into classes of equal width
// between the borders confirmed in the form (proposed: ⌊3.3 lg n + 1.5 +
// n / 100⌋ classes over the data's range). A value on an inner border goes to
// the lower class; the borders themselves belong to the first and last class.
// Values outside the borders, on either side, are counted in no class, and
// their number is reported under the table.
//
// Afterwards Vector1[0 .. k-1] holds the counts, RangeMin[0] / RangeMax[0] the
// borders, StatMean the mean and StatVariance the standard deviation of the
// row. Returns k - 1, or -1 when the form was closed or its texts were
// refused (a class count outside 1 .. VectorCapacity, a border that is not a
// number, a left border not below the right one), each refusal with a notice.
int FrequencyTable(Workspace& ws, int n);

// The refusal notices.
std::string ClassCountNotice();
inline constexpr const char* BorderNumberNotice = "!ГРАНИЦА ИНТЕРВАЛОВ НЕ ЯВЛЯЕТСЯ ЧИСЛОМ!";
inline constexpr const char* BorderOrderNotice = "!ЛЕВАЯ ГРАНИЦА ДОЛЖНА БЫТЬ МЕНЬШЕ ПРАВОЙ!";

}  // namespace dalvex
