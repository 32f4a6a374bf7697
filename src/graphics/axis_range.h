// A range of data values, and the running minimum and maximum that finds it.
#pragma once

#include <limits>

namespace dalvex {

struct AxisRange {
    double min = 0.0;
    double max = 1.0;
    double span() const { return max - min; }
};

// The running minimum and maximum of finite values.
struct RangeAccumulator {
    double min = std::numeric_limits<double>::infinity();
    double max = -std::numeric_limits<double>::infinity();
    void Take(double v);
    bool seen() const { return min <= max; }
    // The range seen, or [0, 1] when nothing was.
    AxisRange range() const;
};

}  // namespace dalvex
