#include "graphics/graph_scene.h"

#include <cmath>

#include "core/text.h"

namespace dalvex {

void RangeAccumulator::Take(double v) {
    if (!std::isfinite(v))
        return;
    if (v < min)
        min = v;
    if (v > max)
        max = v;
}

AxisRange RangeAccumulator::range() const {
    if (!seen())
        return {0.0, 1.0};
    return {min, max};
}

AxisRange OpenSpan(AxisRange r) {
    constexpr double largest = std::numeric_limits<double>::max();
    if (!std::isfinite(r.span())) {
        // Values near both ends of the double range: keep the centre, halve.
        const double centre = r.min / 2 + r.max / 2;
        return {centre - largest / 4, centre + largest / 4};
    }
    if (r.max > r.min && r.max - r.min >= std::fabs(r.max) * 1e-13)
        return r;
    const double v = r.min / 2 + r.max / 2;
    double half = std::fabs(v) / 2;
    if (half == 0.0 || !(v + half > v))
        half = 0.5;
    return {v - half, v + half};
}

AxisRange Widen(AxisRange r) {
    const double margin = r.span() / 20;
    AxisRange w{r.min - margin, r.max + margin};
    return std::isfinite(w.span()) ? w : r;
}

int ToPixel(double v) {
    if (!(v > -1e6))
        return -1000000;
    if (v > 1e6)
        return 1000000;
    return static_cast<int>(v);
}

double PlotMap::PixelOffset(int pixels, const AxisRange& r, double v) {
    return std::trunc(pixels / r.span() * (v - r.min));
}

void DrawPlotFrame(const GraphScene& scene) {
    const GraphLayout& l = scene.layout;
    scene.p.canvas.SetPen(scene.p.palette[PenColour], 1);
    scene.p.canvas.SetBrush(scene.p.palette[PlotBackground]);
    scene.p.canvas.Rectangle({l.left, l.top, l.right(), l.bottom()});
}

void DrawLegend(const GraphScene& scene, const std::vector<LegendEntry>& entries) {
    const GraphPainter& p = scene.p;
    const GraphLayout& l = scene.layout;
    const int h = p.canvas.TextHeight("W");
    const int x = l.right() + 12;
    const int room = l.W - x - 30;
    int y = l.top;
    for (const LegendEntry& e : entries) {
        if (y + h > l.bottom())
            break;
        const int cy = y + h / 2;
        if (e.box) {
            p.canvas.SetPen(p.palette[PenColour], 1);
            p.SeriesBrush(e.series, e.colourEntry);
            p.canvas.Rectangle({x + 4, cy - 5, x + 18, cy + 5});
        } else {
            if (e.line) {
                p.SPen(e.colourEntry);
                p.canvas.Line({x, cy}, {x + 22, cy});
            }
            if (e.marker >= 0)
                p.Setmark(e.marker, x + 11, cy);
        }
        p.TxtOut(x + 28, y, e.name, std::max(room, 10));
        y += h + 4;
    }
}

void DrawCaptions(const GraphScene& scene) {
    const GraphPainter& p = scene.p;
    const GraphLayout& l = scene.layout;
    const GraphCaptions& c = scene.s.captions;
    const int h = p.canvas.TextHeight("W");
    auto centred = [&](const std::string& text, int y) {
        const int width = p.canvas.TextWidth(text);
        p.TxtOut(l.left + (l.width - width) / 2, y, text, width + 1);
    };
    // Below the axis labels of the plot.
    const int xCaptionTop = l.bottom() + h + 4;
    if (!c.x.empty())
        centred(c.x, xCaptionTop);
    if (!c.bottom.empty())
        centred(c.bottom, xCaptionTop + h + (c.x.empty() ? 0 : 2));
    auto downwards = [&](const std::string& text, int x, int y, int dx) {
        const std::size_t n = CharLength(text);
        for (std::size_t i = 0; i < n; ++i) {
            const std::string letter = CharMid(text, i, 1);
            p.TxtOut(x + static_cast<int>(i) * dx, y, letter, 20);
            y += h - 5;
        }
    };
    if (!c.y.empty()) {
        const int letters = static_cast<int>(CharLength(c.y));
        const int y = l.top + std::max(0, (l.height - letters * (h - 5)) / 2);
        downwards(c.y, 4, y, 0);
    }
    if (!c.z.empty() &&
        (scene.data.kind == KindScatter3D || scene.data.kind == KindFunctionSurface)) {
        // Along the depth edge of the box, which rises from the front right
        // corner to the back, beyond its labels.
        const int depth = std::max(1, l.height / 3);
        const int shift = std::max(1, std::min(depth, l.width / 3));
        const int letters = static_cast<int>(CharLength(c.z));
        const double step = 0.7 / std::max(1, letters);
        for (int i = 0; i < letters; ++i) {
            const double along = 0.1 + (i + 0.5) * step;
            const int x = l.right() - shift + 28 + static_cast<int>(along * shift);
            const int y = l.bottom() - static_cast<int>(along * depth);
            p.TxtOut(x, y - h / 2, CharMid(c.z, i, 1), 20);
        }
    }
}

}  // namespace dalvex
