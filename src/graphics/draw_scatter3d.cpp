// The 3-D scatter (kind 10): the open box of the three ranges in an oblique
// projection, its axes and grid on the walls, the points as markers with the
// projection lines of the chosen mode.
#include <algorithm>
#include <array>
#include <cmath>

#include "graphics/axis.h"
#include "graphics/scatter3d.h"

namespace dalvex {

Point3 Rotate(const Point3& p, const Point3& centre, const Point3& half, double a, double b,
              double c) {
    double x = (p.x - centre.x) / half.x;
    double y = (p.d - centre.d) / half.d;
    double z = (p.z - centre.z) / half.z;
    double t = std::cos(c) * x + std::sin(c) * y;
    y = -std::sin(c) * x + std::cos(c) * y;
    x = t;
    t = std::cos(b) * x + std::sin(b) * z;
    z = -std::sin(b) * x + std::cos(b) * z;
    x = t;
    t = std::cos(a) * y + std::sin(a) * z;
    z = -std::sin(a) * y + std::cos(a) * z;
    y = t;
    return {centre.x + x * half.x, centre.d + y * half.d, centre.z + z * half.z};
}

std::vector<std::vector<Point3>> ScatterPoints(const GraphData& data, const GraphSettings& s) {
    std::vector<std::vector<Point3>> all;
    RangeAccumulator xr, dr, zr;
    for (int p = 0; p < data.seriesCount; ++p) {
        const std::vector<double>& x = data.Row(3 * p);
        const std::vector<double>& d = data.Row(3 * p + 1);
        const std::vector<double>& z = data.Row(3 * p + 2);
        const std::size_t n = std::min({x.size(), d.size(), z.size()});
        std::vector<Point3> points;
        points.reserve(n);
        for (std::size_t i = 0; i < n; ++i) {
            points.push_back({x[i], d[i], z[i]});
            xr.Take(x[i]);
            dr.Take(d[i]);
            zr.Take(z[i]);
        }
        all.push_back(std::move(points));
    }
    if (!s.rotation || (s.angleXY == 0 && s.angleXZ == 0 && s.angleYZ == 0))
        return all;
    const AxisRange x = OpenSpan(xr.range()), d = OpenSpan(dr.range()), z = OpenSpan(zr.range());
    const Point3 centre{(x.min + x.max) / 2, (d.min + d.max) / 2, (z.min + z.max) / 2};
    const Point3 half{x.span() / 2, d.span() / 2, z.span() / 2};
    for (std::vector<Point3>& points : all)
        for (Point3& pt : points)
            pt = Rotate(pt, centre, half, s.angleYZ, s.angleXZ, s.angleXY);
    return all;
}

PixelPoint ObliqueBox::At(const Point3& p) const {
    const double back = PlotMap::PixelOffset(depth, d, p.d) / depth;
    const double across = PlotMap::PixelOffset(width, x, p.x);
    const double up = PlotMap::PixelOffset(height, z, p.z);
    return {ToPixel(left + across + back * shift), ToPixel(bottom - up - back * depth)};
}

ObliqueBox MakeBox(const GraphLayout& l, const std::vector<std::vector<Point3>>& series) {
    RangeAccumulator xr, dr, zr;
    for (const std::vector<Point3>& points : series)
        for (const Point3& p : points) {
            xr.Take(p.x);
            dr.Take(p.d);
            zr.Take(p.z);
        }
    ObliqueBox box;
    // The depth edge rises a third of the plot height at 45 degrees, so that
    // the vertical edge keeps two thirds.
    box.depth = std::max(1, l.height / 3);
    box.shift = std::max(1, std::min(box.depth, l.width / 3));
    box.left = l.left;
    box.bottom = l.bottom();
    box.width = std::max(1, l.width - box.shift);
    box.height = std::max(1, l.height - box.depth);
    box.x = Widen(OpenSpan(xr.range()));
    box.d = Widen(OpenSpan(dr.range()));
    box.z = Widen(OpenSpan(zr.range()));
    return box;
}

void DrawBoxWalls(const GraphScene& scene, const ObliqueBox& b) {
    const GraphPainter& p = scene.p;
    const PixelPoint f0{b.left, b.bottom};                // front bottom left
    const PixelPoint f1{b.left + b.width, b.bottom};      // front bottom right
    const PixelPoint k0{f0.x + b.shift, f0.y - b.depth};  // back bottom left
    const PixelPoint k1{f1.x + b.shift, f1.y - b.depth};  // back bottom right
    const PixelPoint up{0, -b.height};
    auto raise = [&](PixelPoint q) { return PixelPoint{q.x + up.x, q.y + up.y}; };
    p.canvas.SetPen(p.palette[PenColour], 1);
    p.canvas.SetBrush(p.palette[PlotBackground]);
    const std::array<PixelPoint, 4> floor{{f0, f1, k1, k0}};
    const std::array<PixelPoint, 4> left{{f0, k0, raise(k0), raise(f0)}};
    const std::array<PixelPoint, 4> back{{k0, k1, raise(k1), raise(k0)}};
    p.canvas.Polygon(floor);
    p.canvas.Polygon(left);
    p.canvas.Polygon(back);

    const bool grid = scene.s.grid;
    const double skew = static_cast<double>(b.shift) / b.depth;
    // Ticks and labels on the three front edges; grid lines on the walls.
    DrawAxis(p, {0, f0, b.width, 0.0, {b.shift, -b.depth}, 1}, AxisNearSide, grid, b.x.span(),
             b.x.min);
    DrawAxis(p, {1, f0, b.height, 0.0, {b.shift, -b.depth}, -1}, AxisNearSide, grid, b.z.span(),
             b.z.min);
    DrawAxis(p, {5, f1, b.depth, skew, {-b.width, 0}, 1}, AxisNearSide, grid, b.d.span(), b.d.min);
    if (grid) {
        DrawAxis(p, {4, k0, b.width, 0.0, up, 1}, 0, true, b.x.span(), b.x.min);
        DrawAxis(p, {3, k0, b.height, 0.0, {b.width, 0}, 1}, 0, true, b.z.span(), b.z.min);
        DrawAxis(p, {5, f0, b.depth, skew, up, 1}, 0, true, b.d.span(), b.d.min);
    }
    p.canvas.SetPen(p.palette[PenColour], 1);
    p.canvas.Line(raise(f0), raise(f1));
    p.canvas.Line(f1, raise(f1));
    p.canvas.Line(raise(f1), raise(k1));
}

std::vector<LegendEntry> DrawScatter3D(const GraphScene& scene) {
    const GraphPainter& p = scene.p;
    const std::vector<std::vector<Point3>> series = ScatterPoints(scene.data, scene.s);
    const ObliqueBox b = MakeBox(scene.layout, series);
    DrawBoxWalls(scene, b);

    const Point3 centre{(b.x.min + b.x.max) / 2, (b.d.min + b.d.max) / 2, (b.z.min + b.z.max) / 2};
    std::vector<LegendEntry> legend;
    const int mode = scene.s.projection;
    for (std::size_t k = 0; k < series.size(); ++k) {
        const int entry = SeriesColourEntry(static_cast<int>(k));
        scene.p.canvas.SetPen(p.palette[entry], 1);
        for (const Point3& pt : series[k]) {
            const PixelPoint at = b.At(pt);
            Point3 foot = pt;
            if (mode == 2)
                foot.d = b.d.max;  // the back wall
            else if (mode == 3)
                foot.x = b.x.min;  // the left wall
            else
                foot.z = b.z.min;  // the floor
            p.canvas.Line(at, b.At(foot));
            if (mode == 4)
                p.canvas.Line(at, b.At(centre));
            else if (mode == 5)
                p.canvas.Line(at, b.At({0, 0, 0}));
        }
        for (std::size_t i = 0; i < series[k].size(); ++i) {
            const PixelPoint at = b.At(series[k][i]);
            p.Setmark(static_cast<int>(k), at.x, at.y);
            if (scene.s.names)
                p.nmPnt(at.x, at.y, scene.graph.PointName(static_cast<int>(i)),
                        scene.layout.right());
            scene.p.canvas.SetPen(p.palette[entry], 1);
        }
        const int yRow = 3 * static_cast<int>(k) + 2;
        legend.push_back(
            {scene.data.SeriesName(static_cast<int>(k), yRow), entry, false, static_cast<int>(k)});
    }
    return legend;
}

}  // namespace dalvex
