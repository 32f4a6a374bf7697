// The drawing routine of each drawing type, in one table.
#include <array>
#include <utility>

#include "graphics/graph_scene.h"

namespace dalvex {

namespace {

std::vector<LegendEntry> Tree(const GraphScene& scene) {
    DrawTree(scene);
    return {};
}

constexpr std::array<std::pair<DrawingType, DrawRoutine>, 14> Routines{{
    {DrawingType::Bars, DrawBusiness},
    {DrawingType::Lines, DrawBusiness},
    {DrawingType::Pie, DrawBusiness},
    {DrawingType::Pairs, DrawXY},
    {DrawingType::Deviations, DrawXY},
    {DrawingType::Ordered, DrawXY},
    {DrawingType::BoxPlots, DrawXY},
    {DrawingType::Described, DrawXY},
    {DrawingType::Scatter3D, DrawScatter3D},
    {DrawingType::FunctionSurface, DrawFunctionSurface},
    {DrawingType::Surface, DrawLevelMap},
    {DrawingType::ColourMap, DrawColourMap},
    {DrawingType::Tree, Tree},
    {DrawingType::SuperDiagram, DrawLevelMap},
}};

}  // namespace

DrawRoutine DrawingRoutine(DrawingType type) {
    for (const auto& [t, routine] : Routines)
        if (t == type)
            return routine;
    return DrawXY;
}

}  // namespace dalvex
