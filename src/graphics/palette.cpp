#include "graphics/palette.h"

namespace dalvex {

Palette MakePalette(ColourMode mode) {
    Palette p{};
    if (mode == ColourMode::Monochrome) {
        // Series draw black; their 3-D faces stay white so that the faces of
        // a bar keep their outlines apart.
        for (int i = 0; i < 15; ++i)
            p[i] = 0x000000;
        for (int i = 16; i <= 29; ++i)
            p[i] = 0xFFFFFF;
        for (int i = WindowBackground; i <= PlotBackground; ++i)
            p[i] = 0xFFFFFF;
        p[PenColour] = 0x000000;
        return p;
    }
    const GraphColor dark[6] = {0x0000E0, 0x00E000, 0x00E0E0, 0xE00000, 0xE000E0, 0xE0E000};
    const GraphColor bright[7] = {0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000,
                                  0xFF00FF, 0xFFFF00, 0xFFFFFF};
    for (int i = 0; i < 6; ++i)
        p[i] = dark[i];
    p[6] = p[7] = 0xC0C0C0;
    for (int i = 0; i < 7; ++i)
        p[8 + i] = bright[i];
    for (int i = 0; i < 6; ++i) {
        p[16 + i] = bright[i] & 0xA0A0A0;
        p[24 + i] = bright[i] & 0xC0C0C0;
    }
    p[WindowBackground] = 0xC0C0C0;
    p[DarkGrey] = 0x808080;
    p[LightGrey] = 0xC0C0C0;
    p[PlotBackground] = 0xFFFFFF;
    p[PenColour] = 0x000000;
    return p;
}

int SeriesColourEntry(int index) {
    const int i = ((index % 12) + 12) % 12;
    return i < 6 ? i + 8 : i - 6;
}

}  // namespace dalvex
