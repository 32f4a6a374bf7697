// The surface of a formula of x and y over an N x N grid (graph kind 11):
// the grid's points computed into DataMatrix rows 0, 1, 2 and handed to a
// graph window. The surface dialog, the graph menu and the batch runner all
// come this way.
#pragma once

#include <string>

namespace dalvex {

struct Workspace;
class ActiveFormula;

// The ranges and the number of points along each side the person asked for.
struct SurfaceGrid {
    double x0 = 0.0, x1 = 1.0;
    double y0 = 0.0, y1 = 1.0;
    int points = 10;
};

// The most points along a side: the N x N grid's three rows fit DataMatrix.
int LargestSurfaceGrid();

struct SurfaceComputation {
    int points = 0;        // N, after the limits
    int gaps = 0;          // grid points where the formula faulted
    std::string fault;     // the first fault's text, when there were gaps
    bool limited = false;  // N differs from the points asked for
};

// Evaluates the active formula (compiled in the context of functions of x
// and y) at every grid point: x in CoefficientTable slot 0, y in slot 1. The
// point (c, d) goes to index d + c N of rows 0 (x), 1 (y) and 2 (z), with
// DataWidth a third of the store and VarLength[1..3] = N^2 - 1. A point where
// the formula faults gets MissingValue as z and is drawn as a gap; the other
// points are still computed.
SurfaceComputation ComputeFunctionSurface(Workspace& ws, ActiveFormula& formula,
                                          const SurfaceGrid& grid);

// ComputeFunctionSurface, then a notice when the grid was limited and one
// notice for all faulted points, then the graph of kind 11 is handed to the
// graph windows with the title in TextBuffer. Returns the computation.
SurfaceComputation ShowFunctionSurface(Workspace& ws, ActiveFormula& formula,
                                       const SurfaceGrid& grid);

// The notices' texts.
std::string GridLimitedText(int points);
std::string SurfaceGapsText(int gaps, const std::string& fault);

}  // namespace dalvex
