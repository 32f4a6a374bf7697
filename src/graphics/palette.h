// The 36 colours of a graph window. Series colours, their shadows for the
// 3-D faces, the window and plot backgrounds and the pen all come from here,
// so that the monochrome mode is one switch.
#pragma once

#include <array>

#include "graphics/canvas.h"

namespace dalvex {

inline constexpr int PaletteSize = 36;
using Palette = std::array<GraphColor, PaletteSize>;

enum PaletteEntry {
    ShadowOffset = 16,  // entry + 16: the shadow of a series colour
    WindowBackground = 31,
    DarkGrey = 32,
    LightGrey = 33,
    PlotBackground = 34,  // the plot area, and hollow markers
    PenColour = 35,
};

enum class ColourMode { Colour = 0, Monochrome = 2 };

Palette MakePalette(ColourMode mode);

// The palette entry series `index` draws with: bright colours 8..13 for the
// first six of every twelve, darker 0..5 for the next six.
int SeriesColourEntry(int index);

}  // namespace dalvex
