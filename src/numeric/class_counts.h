// Counting values into classes of equal width: the arithmetic behind the
// frequency table. Pure computation: the dialog that confirms the classes and
// the report that shows them belong to the methods.
#pragma once

#include <vector>

namespace dalvex {

// The number of classes proposed for observations 0 .. n (n is the last
// index, one less than their number): ⌊3.3 lg n + 1.5 + n / 100⌋.
int ProposedClassCount(int n);

struct ClassCounts {
    std::vector<double> counts;  // one per class
    int outside = 0;             // values left or right of the borders, in no class
};

// Counts `values` into k classes of equal width between left and right. A
// value on an inner border goes to the lower class; the borders themselves
// belong to the first and last class. Needs k >= 1 and left < right.
ClassCounts CountClasses(const std::vector<double>& values, double left, double right, int k);

}  // namespace dalvex
