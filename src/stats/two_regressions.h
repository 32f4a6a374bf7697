// Two simple linear regressions compared (method 19): are they parallel,
// and do parallel lines coincide. The sheet holds X1, Y1, X2, Y2; each line
// is fitted over the complete pairs of its own two variables.
#pragma once

#include <string>
#include <vector>

#include "core/workspace.h"

namespace dalvex {

inline constexpr const char* NotTwoRegressionsNotice = "!ДАННЫЕ НЕ ДЛЯ ДВУХ РЕГРЕССИЙ!";

struct TwoRegressionFigures {
    std::string notice;  // the comparison cannot be made; nothing else is set
    int count1 = 0, count2 = 0;
    int df = 0;  // N1 + N2 - 4
    // Student's t of the slopes' difference, and of the difference of the
    // parallel lines' heights; infinite when both lines fit exactly.
    double parallel = 0, coincide = 0;
    bool parallelInfinite = false, coincideInfinite = false;
};

// The pairs (x1, y1) and (x2, y2): a MissingValue in either member of a
// pair leaves that pair out. `names` names X1 and X2 in the notices.
TwoRegressionFigures CompareRegressions(const std::vector<double>& x1,
                                        const std::vector<double>& y1,
                                        const std::vector<double>& x2,
                                        const std::vector<double>& y2,
                                        const std::vector<std::string>& names);

// Method 19: the four loaded rows.
void TwoRegressions(Workspace& ws);

}  // namespace dalvex
