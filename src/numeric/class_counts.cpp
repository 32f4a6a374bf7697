#include "numeric/class_counts.h"

#include <cmath>

#include "core/arithmetic_fault.h"
#include "numeric/basic.h"

namespace dalvex {

int ProposedClassCount(int n) {
    return static_cast<int>(std::floor(3.3 * Log10(n) + 1 + 0.5 + n / 100.0));
}

ClassCounts CountClasses(const std::vector<double>& values, double left, double right, int k) {
    ClassCounts result;
    result.counts.assign(k, 0.0);
    const double w = (right - left) / k;
    for (double x : values) {
        if (x < left || x > right) {
            ++result.outside;
            continue;
        }
        // The small shift puts a value on an inner border into the lower
        // class; truncation then takes the left border itself to class 0.
        int j = static_cast<int>(CheckedDivide(x - left - w / 100000, w));
        if (j < 0)
            j = 0;
        if (j > k - 1)
            j = k - 1;
        result.counts[j] += 1;
    }
    return result;
}

}  // namespace dalvex
