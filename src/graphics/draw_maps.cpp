// The graphs that colour a plane: the smoothing surface, the map of 3-D data
// and the superdiagram (the level grid of the window, kinds 12-14), and the
// colour map of variables over objects (kind 18). Each is one picture
// stretched over the plot, with its colour scale 30 pixels to the right.
#include <algorithm>
#include <cmath>

#include "core/text.h"
#include "graphics/axis.h"
#include "graphics/graph_scene.h"
#include "graphics/level_grid.h"

namespace dalvex {

namespace {

constexpr int ScaleGap = 30;
constexpr int ScaleWidth = 10;
constexpr int ScaleBands = 32;

PixelRect Interior(const GraphLayout& l) {
    return {l.left + 1, l.top + 1, l.right() - 1, l.bottom() - 1};
}

// 32 bands from the plot's bottom to its top; `band(i)` is the colour of
// band i from the bottom. With a value range, its axis beside the bands.
template <typename Band>
void ColourScale(const GraphScene& scene, Band band, const AxisRange* values) {
    const GraphPainter& p = scene.p;
    const GraphLayout& l = scene.layout;
    const int left = l.right() + ScaleGap;
    for (int i = 0; i < ScaleBands; ++i) {
        const int bottom = l.bottom() - l.height * i / ScaleBands;
        const int top = l.bottom() - l.height * (i + 1) / ScaleBands;
        p.canvas.FillRect({left, top + 1, left + ScaleWidth - 1, bottom}, band(i));
    }
    p.canvas.SetPen(p.palette[PenColour], 1);
    p.canvas.SetBrush(p.palette[PlotBackground]);
    const std::array<PixelPoint, 5> frame{{{left - 1, l.top},
                                           {left + ScaleWidth, l.top},
                                           {left + ScaleWidth, l.bottom()},
                                           {left - 1, l.bottom()},
                                           {left - 1, l.top}}};
    p.canvas.Polyline(frame);
    if (values != nullptr) {
        const AxisRange v = OpenSpan(*values);
        DrawAxis(p, {1, {left + ScaleWidth, l.bottom()}, l.height, 0.0, {0, 0}, 1}, AxisNearSide,
                 false, v.span(), v.min);
    }
}

void MapAxes(const GraphScene& scene, const AxisRange& x, const AxisRange& y) {
    const GraphLayout& l = scene.layout;
    const AxisRange xs = OpenSpan(x), ys = OpenSpan(y);
    DrawAxis(scene.p, {0, {l.left, l.bottom()}, l.width, 0.0, {0, -l.height}, 1}, AxisNearSide,
             scene.s.grid, xs.span(), xs.min);
    DrawAxis(scene.p, {1, {l.left, l.bottom()}, l.height, 0.0, {l.width, 0}, -1}, AxisNearSide,
             scene.s.grid, ys.span(), ys.min);
}

std::string RowName(const GraphData& data, int r) {
    if (r >= 0 && r < static_cast<int>(data.rowNames.size()) && !data.rowNames[r].empty())
        return Trim(data.rowNames[r]);
    return std::to_string(r + 1);
}

// The superdiagram's plain view: the points on the map's plane, without
// the interpolated colours.
void PlainView(const GraphScene& scene, const LevelGrid& grid) {
    const GraphLayout& l = scene.layout;
    const GraphData& data = scene.data;
    const std::vector<double>& a = data.Row(scene.graph.mapFirst());
    const std::vector<double>& b = data.Row(scene.graph.mapSecond());
    const AxisRange xs = OpenSpan(grid.first), ys = OpenSpan(grid.second);
    const PlotMap map{l.left, l.bottom(), l.width, l.height, xs, ys};
    DrawAxis(scene.p, {0, {l.left, l.bottom()}, l.width, 0.0, {0, -l.height}, 1}, AxisNearSide,
             false, xs.span(), xs.min);
    DrawAxis(scene.p, {1, {l.left, l.bottom()}, l.height, 0.0, {l.width, 0}, -1}, AxisNearSide,
             false, ys.span(), ys.min);
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i)
        scene.p.Setmark(0, map.X(a[i]), map.Y(b[i]));
}

}  // namespace

std::vector<LegendEntry> DrawLevelMap(const GraphScene& scene) {
    const GraphPainter& p = scene.p;
    const GraphLayout& l = scene.layout;
    const LevelGrid& grid = scene.graph.levelGrid();
    DrawPlotFrame(scene);
    if (grid.empty())
        return {};
    const bool superDiagram = scene.graph.drawingType() == DrawingType::SuperDiagram;
    if (superDiagram && scene.s.grid) {
        PlainView(scene, grid);
        return {};
    }
    const bool shaded = scene.data.kind == KindSmoothingSurface;
    p.canvas.StretchBitmap(Interior(l), LevelBitmap(grid, p.monochrome, shaded));
    MapAxes(scene, grid.first, grid.second);
    ColourScale(
        scene, [&](int i) { return MapColour(i * 2 + 1, p.monochrome); }, &grid.value);
    if (superDiagram) {
        // The value variable's name under its scale, the plane's names in
        // the margin above the plot, clear of the axis multiplier.
        const int dims = scene.graph.MapCoordinates();
        const int h = p.canvas.TextHeight("W");
        p.TxtOut(l.right() + ScaleGap - 4, l.bottom() + 4, RowName(scene.data, dims), 60);
        const std::string plane = "X: " + RowName(scene.data, scene.graph.mapFirst()) +
                                  "   Y: " + RowName(scene.data, scene.graph.mapSecond());
        const int w = p.canvas.TextWidth(plane);
        p.TxtOut(l.left + (l.width - w) / 2, std::max(0, l.top - h - 2), plane, w + 1);
    }
    return {};
}

std::vector<LegendEntry> DrawColourMap(const GraphScene& scene) {
    const GraphPainter& p = scene.p;
    const GraphLayout& l = scene.layout;
    const GraphData& data = scene.data;
    DrawPlotFrame(scene);
    const int variables = std::min(data.seriesCount, data.RowCount());
    int objects = 0;
    RangeAccumulator range;
    for (int r = 0; r < variables; ++r) {
        objects = std::max(objects, static_cast<int>(data.Row(r).size()));
        for (double v : data.Row(r))
            range.Take(v);
    }
    if (variables == 0 || objects == 0)
        return {};
    const double min = range.min;
    const double span = range.max - range.min;
    // One colour per cell, variable 0 at the bottom; a range of one value
    // is one flat colour rather than a division by zero.
    Bitmap bitmap{objects, variables, {}};
    bitmap.pixels.assign(static_cast<std::size_t>(objects) * variables, p.palette[PlotBackground]);
    for (int r = 0; r < variables; ++r) {
        const std::vector<double>& row = data.Row(r);
        for (int i = 0; i < static_cast<int>(row.size()); ++i) {
            if (!std::isfinite(row[i]))
                continue;
            int step = 0;
            if (span > 0)
                step = static_cast<int>(std::trunc(std::fabs((row[i] - min) / span * 32 - 0.01)));
            bitmap.pixels[static_cast<std::size_t>((variables - 1 - r) * objects + i)] =
                ColourStep(std::min(step, 31), p.monochrome);
        }
    }
    p.canvas.StretchBitmap(Interior(l), bitmap);

    // Objects under their columns, variables left of their rows.
    const double column = static_cast<double>(l.width) / objects;
    const double rowHeight = static_cast<double>(l.height) / variables;
    const int h = p.canvas.TextHeight("W");
    const int every = std::max(1, static_cast<int>(std::ceil(28.0 / std::max(column, 1.0))));
    for (int i = 0; i < objects; i += every) {
        std::string name = scene.graph.PointName(i);
        if (name.empty())
            name = std::to_string(i + 1);
        const int room = std::max(static_cast<int>(column * every) - 2, 8);
        const int w = std::min(p.canvas.TextWidth(name), room);
        const int centre = l.left + static_cast<int>((i + 0.5) * column);
        p.TxtOut(centre - w / 2, l.bottom() + 3, name, w);
    }
    const int rowsEvery = std::max(1, static_cast<int>(std::ceil(h / std::max(rowHeight, 1.0))));
    for (int r = 0; r < variables; r += rowsEvery) {
        const std::string name = CharCut(RowName(data, r), 8);
        const int w = p.canvas.TextWidth(name);
        const int centre = l.bottom() - static_cast<int>((r + 0.5) * rowHeight);
        p.TxtOut(l.left - 4 - w, centre - h / 2, name, w + 1);
    }
    const AxisRange values{range.min, range.max};
    ColourScale(
        scene, [&](int i) { return ColourStep(i, p.monochrome); }, &values);
    return {};
}

}  // namespace dalvex
