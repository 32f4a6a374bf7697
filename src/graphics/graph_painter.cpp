#include "graphics/graph_painter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace dalvex {

namespace {

// Pixel coordinates from doubles: truncated like every mapped point, and
// held to a range the canvas can take whatever the data were.
int Pixel(double v) {
    if (!(v > -1e6))
        return -1000000;
    if (v > 1e6)
        return 1000000;
    return static_cast<int>(v);
}

}  // namespace

void GraphPainter::SPen(int entry) const {
    canvas.SetPen(palette[entry], DrawnLineWidth(lineWidth));
}

void GraphPainter::SeriesBrush(int series, int entry) const {
    if (!monochrome) {
        canvas.SetBrush(palette[entry]);
        return;
    }
    constexpr std::array<FillPattern, 8> patterns{
        FillPattern::Solid,         FillPattern::Hollow,       FillPattern::DiagonalUp,
        FillPattern::Cross,         FillPattern::DiagonalDown, FillPattern::Horizontal,
        FillPattern::DiagonalCross, FillPattern::Vertical};
    canvas.SetPatternBrush(palette[PenColour], patterns[((series % 8) + 8) % 8]);
}

void GraphPainter::dw(double x1, double y1, double x2, double y2) const {
    canvas.Line({Pixel(x1), Pixel(y1)}, {Pixel(x2), Pixel(y2)});
}

void GraphPainter::TxtOut(int x, int y, std::string_view text, int width) const {
    canvas.Text(x, y, text, width, TextClipHeight, textColour);
}

std::string WholeNumberText(double value) {
    double r = std::round(value);
    if (r == 0.0)
        r = 0.0;  // no "-0"
    std::array<char, 64> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "%2.0f", r);
    return buffer.data();
}

void GraphPainter::NumOut(int x, int y, double value) const {
    TxtOut(x, y, WholeNumberText(value), 80);
}

void GraphPainter::Setmark(int index, int x, int y) const {
    const int shape = ((index % MarkerShapes) + MarkerShapes) % MarkerShapes;
    const int b = lineWidth + 2;
    const bool solid = shape >= 4 && shape <= 9;
    const GraphColor pen = palette[PenColour];
    canvas.SetPen(pen, 1);
    canvas.SetBrush(solid ? pen : palette[PlotBackground]);
    auto circle = [&] { canvas.Ellipse({x - b, y - b, x + b - 1, y + b - 1}); };
    auto square = [&] { canvas.Rectangle({x - b + 1, y - b + 1, x + b - 1, y + b}); };
    auto triangle = [&] {
        const std::array<PixelPoint, 3> p{{{x, y - b + 1}, {x + b, y + b - 1}, {x - b, y + b - 1}}};
        canvas.Polygon(p);
    };
    auto diamond = [&] {
        const std::array<PixelPoint, 4> p{{{x, y - b}, {x + b, y}, {x, y + b - 1}, {x - b, y}}};
        canvas.Polygon(p);
    };
    auto plus = [&](int width) {
        canvas.SetPen(pen, width);
        canvas.Line({x - b, y}, {x + b, y});
        canvas.Line({x, y - b}, {x, y + b});
    };
    switch (shape) {
        case 0:
        case 4:
            circle();
            break;
        case 1:
        case 5:
            square();
            break;
        case 2:
        case 6:
            triangle();
            break;
        case 3:
        case 7:
            diamond();
            break;
        case 8:
            plus(2);
            break;
        case 9:
            canvas.SetPen(pen, 2);
            canvas.Line({x - b, y - b}, {x + b, y + b});
            canvas.Line({x - b, y + b}, {x + b, y - b});
            break;
        case 10: {
            const std::array<PixelPoint, 3> p{
                {{x - b, y - b + 1}, {x + b, y - b + 1}, {x, y + b - 1}}};
            canvas.Polygon(p);
            break;
        }
        case 11:
            circle();
            plus(1);
            break;
        case 12:
            square();
            plus(2);
            break;
        default:  // 13
            diamond();
            plus(2);
            break;
    }
}

void GraphPainter::nmPnt(int x, int y, std::string_view name, int plotRight) const {
    if (name.empty())
        return;
    const int width = std::min(canvas.TextWidth(name), 80);
    const int height = canvas.TextHeight(name);
    int left = x + 5;
    if (left + width > plotRight)
        left = x - 5 - width;
    TxtOut(left, y - height / 2, name, width + 1);
}

}  // namespace dalvex
