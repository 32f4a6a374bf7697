// The maps of a value over two coordinates (smoothing surface, map of 3-D
// data, superdiagram): the value interpolated over a grid of 26 x 26 cells
// of 128 levels, computed once into a byte grid, and the colour scales that
// turn levels into one picture stretched over the plot.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "graphics/axis_range.h"
#include "graphics/canvas.h"

namespace dalvex {

inline constexpr int MapSteps = 25;  // N: the grid has N + 1 cells a side
inline constexpr int MapLevels = 128;

struct LevelGrid {
    int side = 0;  // N + 1
    // Cell (g, h) at g + h * side: g along the first map axis, h along the
    // second, both from the minimum.
    std::vector<std::uint8_t> levels;
    AxisRange value;          // what levels 0 and 127 stand for
    AxisRange first, second;  // the map axes' data ranges
    bool empty() const { return side == 0; }
    int at(int g, int h) const { return levels[static_cast<std::size_t>(g + h * side)]; }
    // The value a level stands for.
    double ValueOf(int level) const { return value.min + level / 127.0 * value.span(); }
};

struct MapRequest {
    std::vector<std::span<const double>> coordinates;
    std::span<const double> value;
    int first = 0;  // the coordinates along the map's X and Y
    int second = 1;
    // Per coordinate, 0..25: where a coordinate off the map plane is fixed
    // (min + position / 25 of its range).
    std::vector<int> positions;
    int smoothing = 0;  // "Сглаж:" 0..3
};

// Smooths, quantises and interpolates the points onto the grid. Points with a
// coordinate or value that is not a number are left out; a value or
// coordinate of one single value leaves every level at the middle of the
// scale, so nothing divides by a zero range.
LevelGrid ComputeLevelGrid(const MapRequest& request);

// Colour j (0..63) of the maps' 64-colour scale, dark blue to dark red; in
// monochrome a grey from dark to light.
GraphColor MapColour(int j, bool monochrome);
// Step i (0..31) of the colour map's 32-step scale.
GraphColor ColourStep(int i, bool monochrome);

// The grid as a picture (row 0 at the top is the largest second coordinate).
// `shaded` lights the surface from the upper left by its slopes.
Bitmap LevelBitmap(const LevelGrid& grid, bool monochrome, bool shaded);

}  // namespace dalvex
