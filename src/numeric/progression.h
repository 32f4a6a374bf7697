// Evenly spaced values: the generator's progression, the grid of a function
// surface and the points of a spline curve all step the same way, so a value
// at a given place is the same number wherever it is computed.
#pragma once

namespace dalvex {

// The step that divides [first, last] into `intervals` equal parts.
inline double ProgressionStep(double first, double last, int intervals) {
    return (last - first) / intervals;
}

// Term k (from 0) of the progression starting at `first`.
inline double ProgressionTerm(double first, double step, int k) {
    return first + k * step;
}

}  // namespace dalvex
