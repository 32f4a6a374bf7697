#include "graphics/graph_kinds.h"

#include <array>

namespace dalvex {

namespace {

using D = DrawingType;
using R = RowsRead;
using S = SheetSaving;

// The colour scale of the maps stands 30 pixels right of the plot, 10 wide,
// with its axis labels beside it.
constexpr int ScaleRoom = 50;

constexpr std::array<GraphKindRow, 19> Rows{{
    {KindDescribed, D::Described, R::Described, 0, false, true, S::DescribedRows, true, 0, 0},
    {KindFunctions, D::Pairs, R::PerSeries, 2, false, true, S::SeriesRows, true, 0, 0},
    {KindDeviations, D::Deviations, R::PerSeries, 3, false, true, S::SeriesRows, true, 0, 0},
    {KindScatter, D::Pairs, R::PerSeries, 2, false, true, S::SeriesRows, true, 0, 0},
    {KindDistributions, D::Ordered, R::PerSeries, 1, false, true, S::SeriesRows, true, 0, 0},
    {KindBoxPlots, D::BoxPlots, R::PerSeries, 1, false, true, S::SeriesRows, true, 0, 0},
    {KindBars, D::Bars, R::PerSeries, 1, true, false, S::SeriesRows, true, 0, 0},
    {KindTower, D::Bars, R::PerSeries, 1, true, false, S::SeriesRows, true, 0, 0},
    {KindTower100, D::Bars, R::PerSeries, 1, true, false, S::SeriesRows, true, 0, 0},
    {KindPie, D::Pie, R::PerSeries, 1, true, false, S::SeriesRows, true, 0, 0},
    {KindScatter3D, D::Scatter3D, R::PerSeries, 3, false, true, S::SeriesRows, true, 0, 0},
    {KindFunctionSurface, D::FunctionSurface, R::Fixed, 3, false, true, S::None, false, 0, 0},
    {KindSmoothingSurface, D::Surface, R::Fixed, 3, false, true, S::Grid, false, ScaleRoom, 0},
    {KindMap3D, D::Surface, R::Fixed, 3, false, true, S::Grid, true, ScaleRoom, 0},
    {KindSuperDiagram, D::SuperDiagram, R::PerSeries, 1, false, true, S::Grid, true, ScaleRoom, 0},
    {KindSplineInterpolation, D::Pairs, R::PerSeries, 2, false, true, S::SeriesRows, true, 0, 0},
    {KindSplineSmoothing, D::Pairs, R::PerSeries, 2, false, true, S::SeriesRows, true, 0, 0},
    {KindTree, D::Tree, R::Fixed, 2, false, true, S::None, true, 0, 0},
    {KindColourMap, D::ColourMap, R::PerSeries, 1, false, true, S::None, true, ScaleRoom, 6},
}};

}  // namespace

const GraphKindRow& KindRow(int kind) {
    if (kind < 0 || kind >= static_cast<int>(Rows.size()))
        return Rows[KindFunctions];
    return Rows[kind];
}

}  // namespace dalvex
