// What the drawing routines of the graph kinds share: data ranges that never
// collapse, the mapping from data to pixels, and the scene they draw in.
#pragma once

#include <limits>
#include <span>
#include <string>
#include <vector>

#include "graphics/axis_range.h"
#include "graphics/graph_painter.h"
#include "graphics/tgra.h"

namespace dalvex {

// A range of zero width (one value, or all values equal) opened to v -+ |v|/2,
// and to v -+ 1/2 around 0, so that every axis has a span to divide by.
// Ranges too wide for a double are held to the largest finite span.
AxisRange OpenSpan(AxisRange r);
// 1/20 of the span added at both ends.
AxisRange Widen(AxisRange r);

// Pixel coordinates from doubles: truncated, and held to a range any canvas takes.
int ToPixel(double v);

struct PlotMap {
    int left = 0;
    int bottom = 0;
    int width = 1;
    int height = 1;
    AxisRange x, y;
    int X(double v) const { return ToPixel(left + PixelOffset(width, x, v)); }
    int Y(double v) const { return ToPixel(bottom - PixelOffset(height, y, v)); }
    static double PixelOffset(int pixels, const AxisRange& r, double v);
};

struct LegendEntry {
    std::string name;
    int colourEntry = 8;
    bool line = true;
    int marker = -1;  // marker index, -1 for none
    bool box = false;
    int series = 0;  // the fill of a box in the monochrome graph
};

struct GraphScene {
    const GraphPainter& p;
    const TGra& graph;
    const GraphData& data;
    const GraphSettings& s;
    const GraphLayout& layout;
    char decimalSeparator = '.';
};

// What a pie without positive parts writes in its empty circle.
inline constexpr const char* EmptyPieText = "!НЕТ ПОЛОЖИТЕЛЬНЫХ ЗНАЧЕНИЙ!";

// The plot area: white, framed in the pen colour.
void DrawPlotFrame(const GraphScene& scene);

// What a box plot shows of one sorted series: the median line, the mean
// line and the box mean -+ s (s with n - 1).
struct BoxFigures {
    double median = 0.0;
    double mean = 0.0;
    double deviation = 0.0;
};
BoxFigures BoxOf(std::span<const double> sorted);

// The drawing routines of the kinds; each returns what the legend lists.
using DrawRoutine = std::vector<LegendEntry> (*)(const GraphScene& scene);
DrawRoutine DrawingRoutine(DrawingType type);

// X-Y pairs, deviations, described series, ordered values and box plots.
std::vector<LegendEntry> DrawXY(const GraphScene& scene);
std::vector<LegendEntry> DrawBusiness(const GraphScene& scene);
std::vector<LegendEntry> DrawScatter3D(const GraphScene& scene);
std::vector<LegendEntry> DrawFunctionSurface(const GraphScene& scene);
// Smoothing surface, map of 3-D data and superdiagram: the level grid.
std::vector<LegendEntry> DrawLevelMap(const GraphScene& scene);
std::vector<LegendEntry> DrawColourMap(const GraphScene& scene);
void DrawTree(const GraphScene& scene);
void DrawLegend(const GraphScene& scene, const std::vector<LegendEntry>& entries);
void DrawCaptions(const GraphScene& scene);

}  // namespace dalvex
