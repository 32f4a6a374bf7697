// The small drawing routines every graph kind uses: a segment, the series
// pen, clipped text, numbers, point markers and point names. They draw on a
// canvas with the window's palette and line width.
#pragma once

#include <string>
#include <string_view>

#include "graphics/canvas.h"
#include "graphics/palette.h"

namespace dalvex {

// Widths above this are drawn one pixel wide (the window keeps the number).
inline constexpr int WidestDrawnLine = 4;
inline constexpr int MarkerShapes = 14;
// Texts clip to this height below their top.
inline constexpr int TextClipHeight = 20;

inline int DrawnLineWidth(int lineWidth) {
    return lineWidth > WidestDrawnLine ? 1 : lineWidth;
}

struct GraphPainter {
    Canvas& canvas;
    const Palette& palette;
    int lineWidth = 2;
    GraphColor textColour = 0;
    bool monochrome = false;

    // `TGra.SPen`: a solid pen of the line width in a palette entry.
    void SPen(int entry) const;
    // The fill of series `series` drawn in palette entry `entry`: its colour,
    // or in the monochrome graph a hatch of its own.
    void SeriesBrush(int series, int entry) const;
    // `TGra.dw`: a segment between two pixel points, coordinates truncated.
    void dw(double x1, double y1, double x2, double y2) const;
    // `TGra.TxtOut`: clipped to x .. x + width, y .. y + 20.
    void TxtOut(int x, int y, std::string_view text, int width) const;
    // `TGra.NumOut`: the value rounded to a whole number, at least two
    // characters wide, 80 pixels of room.
    void NumOut(int x, int y, double value) const;
    // `TGra.Setmark`: marker shape index mod 14 centred on (x, y); the pen
    // and brush in use are set again by the caller's next SPen.
    void Setmark(int index, int x, int y) const;
    // `TGra.nmPnt`: a point's name beside it, right of the point unless it
    // would pass the plot's right edge.
    void nmPnt(int x, int y, std::string_view name, int plotRight) const;
};

// The text NumOut draws.
std::string WholeNumberText(double value);

}  // namespace dalvex
