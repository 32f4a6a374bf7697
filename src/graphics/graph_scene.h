// What the drawing routines of the graph kinds share: data ranges that never
// collapse, the mapping from data to pixels, and the scene they draw in.
#pragma once

#include <limits>
#include <string>
#include <vector>

#include "graphics/graph_painter.h"
#include "graphics/tgra.h"

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

// The plot area: white, framed in the pen colour.
void DrawPlotFrame(const GraphScene& scene);

std::vector<LegendEntry> DrawXY(const GraphScene& scene);
std::vector<LegendEntry> DrawBusiness(const GraphScene& scene);
std::vector<LegendEntry> DrawScatter3D(const GraphScene& scene);
void DrawTree(const GraphScene& scene);
void DrawLegend(const GraphScene& scene, const std::vector<LegendEntry>& entries);
void DrawCaptions(const GraphScene& scene);

}  // namespace dalvex
