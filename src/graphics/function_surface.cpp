#include "graphics/function_surface.h"

#include <algorithm>
#include <cmath>

#include "core/arithmetic_fault.h"
#include "core/graph_handover.h"
#include "core/workspace.h"
#include "formula/formula.h"
#include "graphics/graph_data.h"
#include "numeric/progression.h"

namespace dalvex {

int LargestSurfaceGrid() {
    return static_cast<int>(std::sqrt(CellCapacity / 3.0));
}

std::string GridLimitedText(int points) {
    const std::string n = std::to_string(points);
    return "!СЕТКА ПОВЕРХНОСТИ: " + n + " x " + n + " ТОЧЕК!";
}

std::string SurfaceGapsText(int gaps, const std::string& fault) {
    return "Прерывание: " + fault + " (точек поверхности без значения: " + std::to_string(gaps) +
           ")";
}

SurfaceComputation ComputeFunctionSurface(Workspace& ws, ActiveFormula& formula,
                                          const SurfaceGrid& grid) {
    SurfaceComputation result;
    // The flags of the command that asked for the surface stay as they were.
    const FloatingFlagsKept kept;
    const int n = std::clamp(grid.points, 2, LargestSurfaceGrid());
    result.points = n;
    result.limited = n != grid.points;
    DataStore& store = ws.store;
    store.SetRowWidth(StoreMatrix::Data, CellCapacity / 3);
    const double xStep = ProgressionStep(grid.x0, grid.x1, n - 1);
    const double yStep = ProgressionStep(grid.y0, grid.y1, n - 1);
    for (int c = 0; c < n; ++c)
        for (int d = 0; d < n; ++d) {
            const double x = ProgressionTerm(grid.x0, xStep, d);
            const double y = ProgressionTerm(grid.y0, yStep, c);
            const int i = d + c * n;
            store.Data(0, i) = x;
            store.Data(1, i) = y;
            formula.CoefficientTable[0] = x;
            formula.CoefficientTable[1] = y;
            double z = MissingValue;
            try {
                // Faults the evaluator does not raise itself still leave a gap.
                ClearFloatingFlags();
                z = EvaluateFormula(ws, formula);
                CheckFloatingFlags();
                z = Checked(z);
            } catch (const ArithmeticFault& fault) {
                if (result.gaps++ == 0)
                    result.fault = fault.what();
                z = MissingValue;
            }
            store.Data(2, i) = z;
        }
    const int last = n * n - 1;
    ws.VarLength[0] = 2;
    for (int r = 1; r <= 3; ++r)
        ws.VarLength[r] = last;
    return result;
}

SurfaceComputation ShowFunctionSurface(Workspace& ws, ActiveFormula& formula,
                                       const SurfaceGrid& grid) {
    const SurfaceComputation result = ComputeFunctionSurface(ws, formula, grid);
    if (result.limited)
        ShowNotice(ws, GridLimitedText(result.points));
    if (result.gaps > 0)
        ShowNotice(ws, SurfaceGapsText(result.gaps, result.fault));
    ShowGraphKind(ws, KindFunctionSurface, 0);
    return result;
}

}  // namespace dalvex
