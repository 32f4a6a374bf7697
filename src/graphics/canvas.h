// What a graph draws on: lines, polygons, rectangles, ellipses, pies and arcs,
// clipped text with its metrics, and bitmaps, with a pen and a brush. The
// window paints on an image through it; tests record what was drawn.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace dalvex {

// 0x00BBGGRR, the way the palette keeps its colours.
using GraphColor = std::uint32_t;

inline constexpr int RedOf(GraphColor c) {
    return static_cast<int>(c & 0xFF);
}
inline constexpr int GreenOf(GraphColor c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
inline constexpr int BlueOf(GraphColor c) {
    return static_cast<int>((c >> 16) & 0xFF);
}
inline constexpr GraphColor RgbColor(int r, int g, int b) {
    return static_cast<GraphColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

struct PixelPoint {
    int x = 0;
    int y = 0;
    bool operator==(const PixelPoint&) const = default;
};

// Pixels left..right and top..bottom, both ends included.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
    bool contains(int x, int y) const { return x >= left && x <= right && y >= top && y <= bottom; }
    bool operator==(const PixelRect&) const = default;
};

// A picture in memory: rows top to bottom, each pixel 0x00BBGGRR.
struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<GraphColor> pixels;
    bool empty() const { return width <= 0 || height <= 0; }
    GraphColor at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

enum class PenStyle { Solid, Dot };

// Fills that keep series apart where colour cannot: the monochrome graph.
// Hollow is white; the hatches are drawn in the brush colour on white.
enum class FillPattern {
    Solid,
    Hollow,
    DiagonalUp,
    Cross,
    DiagonalDown,
    Horizontal,
    DiagonalCross,
    Vertical,
};

class Canvas {
  public:
    virtual ~Canvas() = default;

    virtual int width() const = 0;
    virtual int height() const = 0;

    virtual void SetPen(GraphColor color, int width, PenStyle style = PenStyle::Solid) = 0;
    virtual void SetBrush(GraphColor color) = 0;
    virtual void SetPatternBrush(GraphColor color, FillPattern pattern) = 0;

    virtual void Line(PixelPoint from, PixelPoint to) = 0;
    // Joined segments through the points, in the pen.
    virtual void Polyline(std::span<const PixelPoint> points) = 0;
    // Filled with the brush and outlined with the pen.
    virtual void Polygon(std::span<const PixelPoint> points) = 0;
    virtual void Rectangle(const PixelRect& rect) = 0;
    // Many rectangles in the same pen and brush (the bars of a long series).
    virtual void Rectangles(std::span<const PixelRect> rects) {
        for (const PixelRect& r : rects)
            Rectangle(r);
    }
    virtual void Ellipse(const PixelRect& rect) = 0;
    // Angles in degrees, counter-clockwise from three o'clock.
    virtual void Pie(const PixelRect& rect, double startDegrees, double sweepDegrees) = 0;
    virtual void Arc(const PixelRect& rect, double startDegrees, double sweepDegrees) = 0;
    // Fills without an outline.
    virtual void FillRect(const PixelRect& rect, GraphColor color) = 0;

    // Text with a transparent background, its top left at (x, y), clipped to
    // clipWidth x clipHeight pixels from there.
    virtual void Text(int x, int y, std::string_view text, int clipWidth, int clipHeight,
                      GraphColor color) = 0;
    virtual int TextWidth(std::string_view text) const = 0;
    virtual int TextHeight(std::string_view text) const = 0;

    virtual void DrawBitmap(int x, int y, const Bitmap& bitmap) = 0;
    // The bitmap stretched over `rect`, each of its pixels a block (the
    // maps' grids are drawn this way, as one picture rather than cell by cell).
    virtual void StretchBitmap(const PixelRect& rect, const Bitmap& bitmap) = 0;
};

}  // namespace dalvex
