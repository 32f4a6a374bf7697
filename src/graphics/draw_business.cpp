// Business graphs: bars side by side or deep, towers and 100 % towers,
// lines (ribbons with the 3-D effect) and the pie. Categories are the rows
// (variables) with the category-label toggle at 0, the observations at 1.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <vector>

#include "graphics/axis.h"
#include "graphics/graph_scene.h"

namespace dalvex {

namespace {

struct Table {
    const GraphData& data;
    bool byObservation;  // categories are observations
    int rows = 0;
    int observations = 0;

    Table(const GraphData& d, int categoryLabels) : data(d), byObservation(categoryLabels == 1) {
        rows = std::min(d.seriesCount, d.RowCount());
        for (int r = 0; r < rows; ++r)
            observations = std::max(observations, static_cast<int>(d.Row(r).size()));
    }
    int categories() const { return byObservation ? observations : rows; }
    int series() const { return byObservation ? rows : observations; }
    // Absent cells of short rows count as 0.
    double Value(int category, int series) const {
        const int r = byObservation ? series : category;
        const int i = byObservation ? category : series;
        const std::vector<double>& row = data.Row(r);
        if (i < 0 || i >= static_cast<int>(row.size()) || !std::isfinite(row[i]))
            return 0.0;
        return row[i];
    }
};

std::string RowName(const GraphData& data, int r) {
    if (r < static_cast<int>(data.rowNames.size()) && !data.rowNames[r].empty())
        return data.rowNames[r];
    return std::to_string(r + 1);
}

std::string ObservationName(const GraphScene& scene, int i) {
    if (scene.s.names) {
        const std::string name = scene.graph.PointName(i);
        if (!name.empty())
            return name;
    }
    return std::to_string(i + 1);
}

std::string CategoryName(const GraphScene& scene, const Table& t, int c) {
    return t.byObservation ? ObservationName(scene, c) : RowName(scene.data, c);
}

std::string SeriesName(const GraphScene& scene, const Table& t, int s) {
    if (t.byObservation)
        return RowName(scene.data, s);
    if (s < static_cast<int>(scene.data.observationLabels.size()) &&
        !scene.data.observationLabels[s].empty())
        return scene.data.observationLabels[s];
    return std::to_string(s + 1);
}

// A bar of series `series`, with its top and right faces in the shadow
// colour when the 3-D effect gives them a depth (dx, dy).
void Bar(const GraphPainter& p, int left, int right, int top, int bottom, int series, int dx,
         int dy) {
    if (top > bottom)
        std::swap(top, bottom);
    const int entry = SeriesColourEntry(series);
    p.canvas.SetPen(p.palette[PenColour], 1);
    if (dx > 0 || dy > 0) {
        p.canvas.SetBrush(p.palette[entry + ShadowOffset]);
        const std::array<PixelPoint, 4> side{
            {{right, top}, {right + dx, top - dy}, {right + dx, bottom - dy}, {right, bottom}}};
        p.canvas.Polygon(side);
        const std::array<PixelPoint, 4> lid{
            {{left, top}, {right, top}, {right + dx, top - dy}, {left + dx, top - dy}}};
        p.canvas.Polygon(lid);
    }
    p.SeriesBrush(series, entry);
    p.canvas.Rectangle({left, top, right, bottom});
}

// Series one behind the other: each steps back by (x, y) pixels.
struct DepthSteps {
    int x = 0;
    int y = 0;
};

DepthSteps StepsFor(const GraphLayout& l, int series, double unit) {
    if (series <= 1)
        return {std::max(2, static_cast<int>(unit * 0.5)), 2};
    const int x = std::clamp(static_cast<int>(unit * 0.6), 2, std::max(2, l.width / (4 * series)));
    return {x, std::clamp(x * 2 / 3, 1, std::max(1, l.height / (4 * series)))};
}

void CategoryLabel(const GraphScene& scene, const std::string& text, int centre, int room) {
    const int width = scene.p.canvas.TextWidth(text);
    const int shown = std::min(width, std::max(room, 1));
    scene.p.TxtOut(centre - shown / 2, scene.layout.bottom() + 3, text, shown);
}

AxisRange ValueRange(const Table& t, bool stacked) {
    double lo = 0.0, hi = 0.0;
    for (int c = 0; c < t.categories(); ++c) {
        double total = 0.0;
        for (int s = 0; s < t.series(); ++s) {
            const double v = t.Value(c, s);
            if (stacked) {
                total += std::max(v, 0.0);
            } else {
                lo = std::min(lo, v);
                hi = std::max(hi, v);
            }
        }
        hi = std::max(hi, total);
    }
    return OpenSpan({1.1 * lo, 1.1 * hi});
}

void ValueAxis(const GraphScene& scene, const PlotMap& map, int plotWidth) {
    const GraphLayout& l = scene.layout;
    DrawAxis(scene.p, {1, {l.left, l.bottom()}, map.height, 0.0, {plotWidth, 0}, -1}, AxisNearSide,
             scene.s.grid, map.y.span(), map.y.min);
}

std::vector<LegendEntry> SeriesLegend(const GraphScene& scene, const Table& t, bool box) {
    std::vector<LegendEntry> legend;
    const int n = std::min(t.series(), 200);
    for (int s = 0; s < n; ++s)
        legend.push_back({SeriesName(scene, t, s), SeriesColourEntry(s), !box, -1, box, s});
    return legend;
}

std::vector<LegendEntry> SideBySide(const GraphScene& scene, const Table& t) {
    const GraphLayout& l = scene.layout;
    const GraphPainter& p = scene.p;
    const int C = t.categories();
    const int S = t.series();
    const bool deep = scene.s.effect3D == 2;
    const AxisRange y = ValueRange(t, false);
    // Deep bars stand one series behind the other: the front plane shrinks
    // by the depth of all series behind it.
    const double units = deep ? 2.0 * C : static_cast<double>(C) * (S + 2);
    double unit = l.width / std::max(units, 1.0);
    DepthSteps step;
    if (deep) {
        step = StepsFor(l, S, unit);
        unit = (l.width - (S - 1) * step.x) / std::max(units, 1.0);
    }
    const int frontHeight = l.height - (deep ? (S - 1) * step.y : 0);
    const int frontWidth = l.width - (deep ? (S - 1) * step.x : 0);
    PlotMap map{l.left, l.bottom(), frontWidth, frontHeight, {0, units}, y};
    DrawPlotFrame(scene);
    ValueAxis(scene, map, frontWidth);
    const int zero = map.Y(std::clamp(0.0, y.min, y.max));
    int dx = 0, dy = 0;
    if (deep) {
        dx = std::max(1, step.x * 2 / 3);
        dy = std::max(1, step.y * 2 / 3);
    } else if (scene.s.effect3D > 0) {
        dx = std::max(1, static_cast<int>(unit * 2 / 3));
        dy = std::max(1, dx / 2);
    }
    for (int s = deep ? S - 1 : 0; deep ? s >= 0 : s < S; s += deep ? -1 : 1) {
        const int backX = deep ? s * step.x : 0;
        const int backY = deep ? s * step.y : 0;
        for (int c = 0; c < C; ++c) {
            const double at = deep ? 2.0 * c + 0.5 : c * (S + 2.0) + 1 + s;
            const int left = ToPixel(l.left + at * unit) + backX;
            const int right = ToPixel(l.left + (at + 1) * unit) - 1 + backX;
            Bar(p, left, std::max(left, right), map.Y(t.Value(c, s)) - backY, zero - backY, s, dx,
                dy);
        }
    }
    for (int c = 0; c < C; ++c) {
        const double width = deep ? 2 * unit : (S + 2) * unit;
        CategoryLabel(scene, CategoryName(scene, t, c), ToPixel(l.left + (c + 0.5) * width),
                      static_cast<int>(width) - 2);
    }
    return SeriesLegend(scene, t, true);
}

std::vector<LegendEntry> Towers(const GraphScene& scene, const Table& t) {
    const GraphLayout& l = scene.layout;
    const GraphPainter& p = scene.p;
    const int C = t.categories();
    const int S = t.series();
    std::vector<double> totals(C, 0.0);
    double largest = 0.0;
    for (int c = 0; c < C; ++c) {
        for (int s = 0; s < S; ++s)
            totals[c] += std::max(t.Value(c, s), 0.0);
        largest = std::max(largest, totals[c]);
    }
    const AxisRange y = OpenSpan({0.0, 1.1 * largest});
    PlotMap map{l.left, l.bottom(), l.width, l.height, {0, 1}, y};
    DrawPlotFrame(scene);
    ValueAxis(scene, map, l.width);
    const double step = l.width / (C + 1.0);
    const int half = std::max(1, static_cast<int>(step / 3));
    const int dx = scene.s.effect3D > 0 ? std::max(1, half * 2 / 3) : 0;
    const int dy = dx / 2;
    for (int c = 0; c < C; ++c) {
        // A 100 % tower stretches each category to the largest total; an
        // empty category stays empty.
        const double scale = scene.s.stacking == 2 && totals[c] > 0 ? largest / totals[c] : 1.0;
        const int centre = ToPixel(l.left + (c + 1) * step);
        double base = 0.0;
        for (int s = 0; s < S; ++s) {
            const double v = std::max(t.Value(c, s), 0.0) * scale;
            if (v <= 0)
                continue;
            Bar(p, centre - half, centre + half, map.Y(base + v), map.Y(base), s, dx, dy);
            base += v;
        }
        CategoryLabel(scene, CategoryName(scene, t, c), centre, static_cast<int>(step) - 2);
    }
    return SeriesLegend(scene, t, true);
}

std::vector<LegendEntry> Lines(const GraphScene& scene, const Table& t) {
    const GraphLayout& l = scene.layout;
    const GraphPainter& p = scene.p;
    const int C = t.categories();
    const int S = t.series();
    const AxisRange y = ValueRange(t, false);
    const bool ribbons = scene.s.effect3D > 0;
    // Ribbons stand one series behind the other, like deep bars.
    const DepthSteps step =
        ribbons ? StepsFor(l, S, l.width / std::max(1.0, 2.0 * C)) : DepthSteps{};
    const int frontWidth = l.width - (ribbons ? S * step.x : 0);
    const int frontHeight = l.height - (ribbons ? S * step.y : 0);
    const PlotMap map{
        l.left, l.bottom(), frontWidth, frontHeight, {0, static_cast<double>(std::max(C, 1))}, y};
    DrawPlotFrame(scene);
    ValueAxis(scene, map, frontWidth);
    std::vector<PixelPoint> points;
    for (int s = ribbons ? S - 1 : 0; ribbons ? s >= 0 : s < S; s += ribbons ? -1 : 1) {
        points.clear();
        for (int c = 0; c < C; ++c)
            points.push_back({map.X(c + 0.5) + s * step.x, map.Y(t.Value(c, s)) - s * step.y});
        const int entry = SeriesColourEntry(s);
        if (ribbons) {
            const int dx = std::max(1, step.x * 2 / 3);
            const int dy = std::max(1, step.y * 2 / 3);
            p.canvas.SetPen(p.palette[PenColour], 1);
            for (std::size_t i = 1; i < points.size(); ++i) {
                const PixelPoint a = points[i - 1], b = points[i];
                const std::array<PixelPoint, 4> strip{
                    {a, b, {b.x + dx, b.y - dy}, {a.x + dx, a.y - dy}}};
                p.SeriesBrush(s, entry);
                p.canvas.Polygon(strip);
            }
        } else {
            p.SPen(entry);
            if (points.size() > 1)
                p.canvas.Polyline(points);
        }
    }
    const double width = map.width / std::max(1.0, static_cast<double>(C));
    for (int c = 0; c < C; ++c)
        CategoryLabel(scene, CategoryName(scene, t, c), map.X(c + 0.5),
                      static_cast<int>(width) - 2);
    return SeriesLegend(scene, t, ribbons);
}

std::string PercentText(double share, char separator) {
    std::array<char, 32> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "%.1f%%", share * 100);
    std::string text = buffer.data();
    for (char& ch : text)
        if (ch == '.')
            ch = separator;
    return text;
}

std::vector<LegendEntry> Pie(const GraphScene& scene, const Table& t) {
    const GraphLayout& l = scene.layout;
    const GraphPainter& p = scene.p;
    DrawPlotFrame(scene);
    const int S = t.series();
    const int C = t.categories();
    if (S == 0 || C == 0)
        return {};
    const int series = scene.s.currentSeries % S;
    double total = 0.0;
    for (int c = 0; c < C; ++c)
        total += std::max(t.Value(c, series), 0.0);
    std::vector<LegendEntry> legend;

    const bool deep = scene.s.effect3D > 0;
    const int h = p.canvas.TextHeight("W");
    const int rx =
        std::max(4, std::min(l.width / 2 - 70, (deep ? l.height * 5 / 6 : l.height / 2) - h - 6));
    const int ry = deep ? rx * 3 / 5 : rx;
    const int rim = deep ? std::max(3, rx / 8) : 0;
    const int cx = l.left + l.width / 2;
    const int cy = l.top + l.height / 2 - rim / 2;
    const PixelRect disc{cx - rx, cy - ry, cx + rx, cy + ry};
    if (!(total > 0)) {
        // Nothing to divide the circle by: an empty circle that says why.
        p.canvas.SetPen(p.palette[PenColour], 1);
        p.canvas.SetBrush(p.palette[PlotBackground]);
        p.canvas.Ellipse(disc);
        const int w = p.canvas.TextWidth(EmptyPieText);
        p.TxtOut(cx - w / 2, cy - h / 2, EmptyPieText, w + 1);
        return legend;
    }

    struct Slice {
        int category;
        double start, sweep, share;
    };
    std::vector<Slice> slices;
    double angle = 90.0;  // the first slice starts at twelve o'clock
    for (int c = 0; c < C; ++c) {
        const double v = std::max(t.Value(c, series), 0.0);
        if (v <= 0)
            continue;
        const double sweep = -360.0 * v / total;  // clockwise
        slices.push_back({c, angle, sweep, v / total});
        angle += sweep;
    }
    p.canvas.SetPen(p.palette[PenColour], 1);
    if (rim > 0) {
        // The rim: each slice's stretch of the front half of the edge as one
        // band, its top arc and the same arc `rim` lower (one polygon a
        // slice, however many slices the pie has).
        std::vector<PixelPoint> band;
        for (const Slice& sl : slices) {
            const double from = std::max(sl.start + sl.sweep, -180.0);
            const double to = std::min(sl.start, 0.0);
            if (!(to > from))
                continue;
            const int steps = std::max(1, static_cast<int>(std::ceil((to - from) / 3.0)));
            band.clear();
            for (int i = 0; i <= steps; ++i) {
                const double a = (from + (to - from) * i / steps) * std::numbers::pi / 180.0;
                band.push_back({cx + ToPixel(rx * std::cos(a)), cy - ToPixel(ry * std::sin(a))});
            }
            for (int i = steps; i >= 0; --i)
                band.push_back({band[static_cast<std::size_t>(i)].x,
                                band[static_cast<std::size_t>(i)].y + rim});
            const GraphColor shadow = p.palette[SeriesColourEntry(sl.category) + ShadowOffset];
            p.canvas.SetBrush(shadow);
            p.canvas.SetPen(shadow, 1);
            p.canvas.Polygon(band);
        }
        p.canvas.SetPen(p.palette[PenColour], 1);
        p.canvas.Arc({disc.left, disc.top + rim, disc.right, disc.bottom + rim}, 180.0, 180.0);
        p.canvas.Line({disc.left, cy}, {disc.left, cy + rim});
        p.canvas.Line({disc.right, cy}, {disc.right, cy + rim});
    }
    p.canvas.SetPen(p.palette[PenColour], 1);
    for (const Slice& sl : slices) {
        p.SeriesBrush(sl.category, SeriesColourEntry(sl.category));
        p.canvas.Pie(disc, sl.start, sl.sweep);
    }
    for (const Slice& sl : slices) {
        const double mid = (sl.start + sl.sweep / 2) * std::numbers::pi / 180.0;
        const double c = std::cos(mid), s = std::sin(mid);
        // Shares are written inside the slices where they fit across the
        // slice; on the hatches of the monochrome graph, and beside slices
        // too narrow for them, they go after the names outside.
        const std::string share =
            sl.share > 0.01 ? PercentText(sl.share, scene.decimalSeparator) : std::string();
        bool inside = false;
        if (!share.empty() && !p.monochrome) {
            const int w = p.canvas.TextWidth(share);
            // The text's extent across the slice against the slice's width
            // where the text stands.
            const double across = std::fabs(s) * w + std::fabs(c) * h;
            const double room =
                0.62 * std::max(rx, ry) * std::fabs(sl.sweep) * std::numbers::pi / 180.0;
            inside = across <= room;
            if (inside)
                p.TxtOut(cx + ToPixel(0.62 * rx * c) - w / 2, cy - ToPixel(0.62 * ry * s) - h / 2,
                         share, w + 1);
        }
        std::string name = CategoryName(scene, t, sl.category);
        if (!share.empty() && !inside)
            name += " " + share;
        const int w = std::min(p.canvas.TextWidth(name), 120);
        const int x = cx + ToPixel((rx + 8) * c);
        const int y = cy - ToPixel((ry + 6) * s) + (s < 0 ? rim : 0);
        p.TxtOut(c >= 0 ? x : x - w, y - h / 2, name, w + 1);
        legend.push_back({CategoryName(scene, t, sl.category), SeriesColourEntry(sl.category),
                          false, -1, true, sl.category});
    }
    return legend;
}

}  // namespace

std::vector<LegendEntry> DrawBusiness(const GraphScene& scene) {
    const Table t(scene.data, scene.s.categoryLabels);
    switch (scene.graph.drawingType()) {
        case DrawingType::Pie:
            return Pie(scene, t);
        case DrawingType::Lines:
            return Lines(scene, t);
        default:
            if (scene.s.stacking == 1 || scene.s.stacking == 2)
                return Towers(scene, t);
            return SideBySide(scene, t);
    }
}

}  // namespace dalvex
