// X-Y graphs: pairs of rows (kinds 1, 3, 15, 16), described series (kind 0),
// the drawing with deviations (kind 2), ordered values (kind 4) and box
// plots (kind 5).
#include <algorithm>
#include <array>
#include <cmath>
#include <span>
#include <unordered_map>

#include "graphics/axis.h"
#include "graphics/graph_scene.h"

namespace dalvex {

namespace {

struct XYSeries {
    std::span<const double> x;
    std::span<const double> y;
    std::span<const double> d;  // deviations, empty for none
    // The values the series shows when they are not a row as handed over
    // (positions, sorted values); x and y then look into these.
    std::vector<double> ownX, ownY;
    int points = 0;
    int style = 0;
    int marker = 0;
    int colourEntry = 8;
    std::string name;
};

void DrawBox(const GraphScene& scene, const PlotMap& map, const XYSeries& s);

bool JoinsPoints(int style) {
    return style == 0 || style == 1;
}
bool HasMarkers(int style) {
    return style == 1 || style == 2 || style == -2 || style == 4;
}

std::vector<XYSeries> CollectSeries(const GraphScene& scene) {
    const GraphData& data = scene.data;
    std::vector<XYSeries> all;
    const DrawingType type = scene.graph.drawingType();
    for (int p = 0; p < data.seriesCount; ++p) {
        XYSeries s;
        int xRow = 2 * p;
        int yRow = 2 * p + 1;
        s.style = p < static_cast<int>(data.styles.size()) ? data.styles[p] : 0;
        s.marker = p;
        if (type == DrawingType::Ordered || type == DrawingType::BoxPlots) {
            // One row a series, sorted; ordered values stand at positions
            // 1, 2, ..., box plots all at p + 1.
            yRow = p;
            s.ownY = data.Row(p);
            std::erase_if(s.ownY, [](double v) { return !std::isfinite(v); });
            std::sort(s.ownY.begin(), s.ownY.end());
            for (std::size_t i = 0; i < s.ownY.size(); ++i)
                s.ownX.push_back(type == DrawingType::Ordered ? static_cast<double>(i + 1)
                                                              : p + 1.0);
            if (type == DrawingType::BoxPlots)
                s.style = 2;
            s.x = s.ownX;
            s.y = s.ownY;
            s.points = static_cast<int>(s.ownY.size());
            s.colourEntry = SeriesColourEntry(s.marker);
            s.name = data.SeriesName(p, yRow);
            all.push_back(std::move(s));
            continue;
        }
        if (type == DrawingType::Described && p < static_cast<int>(data.descriptions.size())) {
            const SeriesDescription& d = data.descriptions[p];
            xRow = d.xRow;
            yRow = d.yRow;
            s.style = d.style;
            s.marker = d.marker;
        } else if (data.kind == KindDeviations) {
            // Three rows a series; the plain drawing leaves the deviations out.
            xRow = 3 * p;
            yRow = 3 * p + 1;
            if (type == DrawingType::Deviations)
                s.d = data.Row(3 * p + 2);
        }
        s.x = data.Row(xRow);
        s.y = data.Row(yRow);
        s.points = static_cast<int>(std::min(s.x.size(), s.y.size()));
        if (!s.d.empty())
            s.points = std::min(s.points, static_cast<int>(s.d.size()));
        s.colourEntry = SeriesColourEntry(s.marker);
        s.name = data.SeriesName(p, yRow);
        all.push_back(std::move(s));
    }
    return all;
}

// Bars standing on `base`. Bars no wider than two pixels that fall on the
// same columns are one bar as tall as the tallest: thousands of points on a
// few hundred columns draw as a few hundred bars and look the same.
std::vector<PixelRect> BarRects(const std::vector<PixelPoint>& pixels, double half, int base) {
    std::vector<PixelRect> bars;
    bars.reserve(pixels.size());
    std::unordered_map<int, std::size_t> thin;
    for (const PixelPoint& at : pixels) {
        const PixelRect bar{ToPixel(at.x - half), std::min(at.y, base), ToPixel(at.x + half),
                            std::max(at.y, base)};
        if (bar.right - bar.left > 1) {
            bars.push_back(bar);
            continue;
        }
        const auto [it, added] = thin.try_emplace(bar.left, bars.size());
        if (added) {
            bars.push_back(bar);
            continue;
        }
        PixelRect& same = bars[it->second];
        if (same.right != bar.right) {
            bars.push_back(bar);
            continue;
        }
        same.top = std::min(same.top, bar.top);
        same.bottom = std::max(same.bottom, bar.bottom);
    }
    return bars;
}

}  // namespace

BoxFigures BoxOf(std::span<const double> sorted) {
    BoxFigures f;
    const std::size_t n = sorted.size();
    if (n == 0)
        return f;
    // The true median: the middle value, or the mean of the two middle ones.
    f.median = n % 2 == 1 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
    // Mean and standard deviation in two passes, steady on values with a
    // large common offset.
    double sum = 0.0;
    for (double v : sorted)
        sum += v;
    f.mean = sum / n;
    double squares = 0.0;
    for (double v : sorted)
        squares += (v - f.mean) * (v - f.mean);
    f.deviation = n > 1 ? std::sqrt(squares / (n - 1)) : 0.0;
    return f;
}

namespace {

// The box from mean - s to mean + s, 11 pixels wide, the median across it
// and a wider line at the mean; in palette entry 4 with the line width.
void DrawBox(const GraphScene& scene, const PlotMap& map, const XYSeries& s) {
    const GraphPainter& p = scene.p;
    const BoxFigures f = BoxOf(s.y);
    const int x = map.X(s.x[0]);
    const int top = map.Y(f.mean + f.deviation);
    const int low = map.Y(f.mean - f.deviation);
    p.SPen(4);
    const std::array<PixelPoint, 5> box{
        {{x - 6, top}, {x + 5, top}, {x + 5, low}, {x - 6, low}, {x - 6, top}}};
    p.canvas.Polyline(box);
    const int median = map.Y(f.median);
    p.canvas.Line({x - 6, median}, {x + 5, median});
    const int mean = map.Y(f.mean);
    p.canvas.Line({x - 10, mean}, {x + 9, mean});
}

}  // namespace

std::vector<LegendEntry> DrawXY(const GraphScene& scene) {
    const GraphPainter& p = scene.p;
    const GraphLayout& l = scene.layout;
    const std::vector<XYSeries> series = CollectSeries(scene);

    RangeAccumulator xr, yr;
    for (const XYSeries& s : series)
        for (int i = 0; i < s.points; ++i) {
            xr.Take(s.x[i]);
            if (!s.d.empty()) {
                yr.Take(s.y[i] + s.d[i]);
                yr.Take(s.y[i] - s.d[i]);
            } else {
                yr.Take(s.y[i]);
            }
        }
    // Ordered values run from 0 to the longest series + 1, box plots from 0
    // to the number of series + 1.
    const DrawingType type = scene.graph.drawingType();
    if (type == DrawingType::Ordered || type == DrawingType::BoxPlots) {
        int longest = 0;
        for (const XYSeries& s : series)
            longest = std::max(longest, s.points);
        xr = {};
        xr.Take(0.0);
        xr.Take(type == DrawingType::Ordered ? longest + 1.0 : series.size() + 1.0);
    }
    // Bars stand on zero, so that the shortest bar still shows its height.
    const bool bars = std::any_of(series.begin(), series.end(),
                                  [](const XYSeries& s) { return s.style == 3 && s.points > 0; });
    if (bars)
        yr.Take(0.0);
    const AxisRange xRaw = OpenSpan(xr.range());
    const AxisRange yRaw = OpenSpan(yr.range());
    PlotMap map{l.left, l.bottom(), l.width, l.height, Widen(xRaw), Widen(yRaw)};

    DrawPlotFrame(scene);
    DrawAxis(p, {0, {l.left, l.bottom()}, l.width, 0.0, {0, -l.height}, 1}, AxisNearSide,
             scene.s.grid, map.x.span(), map.x.min);
    DrawAxis(p, {1, {l.left, l.bottom()}, l.height, 0.0, {l.width, 0}, -1}, AxisNearSide,
             scene.s.grid, map.y.span(), map.y.min);

    std::vector<LegendEntry> legend;
    std::vector<PixelPoint> pixels;
    for (std::size_t k = 0; k < series.size(); ++k) {
        const XYSeries& s = series[k];
        pixels.clear();
        pixels.reserve(s.points);
        for (int i = 0; i < s.points; ++i)
            pixels.push_back({map.X(s.x[i]), map.Y(s.y[i])});

        if (s.style == 3) {
            const double half = l.width / (s.points + 1.0) * 0.7 / 2;
            const int base = map.Y(0.0);
            p.canvas.SetPen(p.palette[PenColour], 1);
            p.SeriesBrush(static_cast<int>(k), s.colourEntry);
            p.canvas.Rectangles(BarRects(pixels, half, base));
        }
        p.SPen(s.colourEntry);
        if (JoinsPoints(s.style) && pixels.size() > 1)
            p.canvas.Polyline(pixels);
        if (!s.d.empty()) {
            for (int i = 0; i < s.points; ++i) {
                const int x = pixels[i].x;
                const int top = map.Y(s.y[i] + s.d[i]);
                const int low = map.Y(s.y[i] - s.d[i]);
                p.canvas.Line({x, top}, {x, low});
                p.canvas.Line({x - 4, top}, {x + 4, top});
                p.canvas.Line({x - 4, low}, {x + 4, low});
            }
        }
        if (s.style == 4 && s.marker < 10) {
            const PixelPoint origin{map.X(0.0), map.Y(0.0)};
            for (const PixelPoint& at : pixels)
                p.canvas.Line(at, origin);
        }
        if (s.style == 5 && scene.data.partnerRow >= 0) {
            const std::vector<double>& partners = scene.data.Row(scene.data.partnerRow);
            const int n = std::min(s.points, static_cast<int>(partners.size()));
            for (int i = 0; i < n; ++i) {
                const double j = partners[i];
                if (!(j >= 0) || j >= s.points)
                    continue;
                p.canvas.Line(pixels[i], pixels[static_cast<int>(j)]);
            }
        }
        if (type == DrawingType::BoxPlots && s.points > 0)
            DrawBox(scene, map, s);
        if (HasMarkers(s.style))
            for (const PixelPoint& at : pixels)
                p.Setmark(s.marker, at.x, at.y);
        if (scene.s.names && HasMarkers(s.style))
            for (int i = 0; i < s.points; ++i)
                p.nmPnt(pixels[i].x, pixels[i].y, scene.graph.PointName(i), l.right());
        legend.push_back({s.name, s.colourEntry, JoinsPoints(s.style) || s.style == 5,
                          HasMarkers(s.style) ? s.marker : -1, s.style == 3, static_cast<int>(k)});
    }
    if (type == DrawingType::BoxPlots) {
        // The box's lines named for what they are.
        legend.push_back({"медиана", 4, true, -1, false, 0});
        legend.push_back({"среднее ± ст.откл.", 4, false, -1, true, 0});
    }
    return legend;
}

}  // namespace dalvex
