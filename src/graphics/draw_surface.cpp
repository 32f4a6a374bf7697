// The function surface (kind 11): the N x N grid of rows 0, 1, 2 drawn as
// filled quadrilaterals between neighbouring points in the oblique box,
// the rows at the back first so that the front ones cover them. A point the
// formula could not be computed at (MissingValue) leaves its quadrilaterals
// out: a gap, not a wrong height.
#include <algorithm>
#include <array>
#include <cmath>

#include "core/data_store.h"
#include "graphics/scatter3d.h"

namespace dalvex {

namespace {

bool Missing(double z) {
    return z == MissingValue || !std::isfinite(z);
}

}  // namespace

std::vector<LegendEntry> DrawFunctionSurface(const GraphScene& scene) {
    const GraphPainter& p = scene.p;
    const std::vector<double>& xs = scene.data.Row(0);
    const std::vector<double>& ys = scene.data.Row(1);
    const std::vector<double>& zs = scene.data.Row(2);
    const std::size_t cells = std::min({xs.size(), ys.size(), zs.size()});
    const int n = static_cast<int>(std::sqrt(static_cast<double>(cells)));

    std::vector<std::vector<Point3>> points(1);
    points[0].reserve(cells);
    for (std::size_t i = 0; i < cells; ++i)
        if (!Missing(zs[i]))
            points[0].push_back({xs[i], ys[i], zs[i]});
    const ObliqueBox b = MakeBox(scene.layout, points);
    DrawBoxWalls(scene, b);
    if (n < 2)
        return {};

    // Colour: yellow faces outlined in red; monochrome: white outlined in black.
    p.canvas.SetPen(p.monochrome ? p.palette[PenColour] : p.palette[8], 1);
    p.canvas.SetBrush(p.monochrome ? p.palette[PlotBackground] : p.palette[10]);
    auto at = [&](int d, int c) {
        const std::size_t i = static_cast<std::size_t>(d + c * n);
        return b.At({xs[i], ys[i], zs[i]});
    };
    auto missing = [&](int d, int c) { return Missing(zs[static_cast<std::size_t>(d + c * n)]); };
    // y grows into the picture when the y range runs upward: back rows first.
    const bool backIsHigh = ys[static_cast<std::size_t>(n) * (n - 1)] >= ys[0];
    std::array<PixelPoint, 4> quad;
    for (int k = 0; k < n - 1; ++k) {
        const int c = backIsHigh ? n - 2 - k : k;
        for (int d = 0; d < n - 1; ++d) {
            if (missing(d, c) || missing(d + 1, c) || missing(d + 1, c + 1) || missing(d, c + 1))
                continue;
            quad = {at(d, c), at(d + 1, c), at(d + 1, c + 1), at(d, c + 1)};
            p.canvas.Polygon(quad);
        }
    }
    return {};
}

}  // namespace dalvex
