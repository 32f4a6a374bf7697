#include "graphics/level_grid.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "graphics/graph_scene.h"

namespace dalvex {

namespace {

constexpr std::array<GraphColor, 32> Scale32{
    0x400000, 0x600002, 0x800000, 0xC10000, 0xFF0000, 0xFF2222, 0xFF4242, 0xEC7600,
    0xFF8204, 0xFFA042, 0xFFAF0B, 0xFFE200, 0xFFFF00, 0xFFFF80, 0xFFFFC1, 0xFFFFFF,
    0xBBFFFF, 0x80FFFF, 0x00FFFF, 0x00FF80, 0x00FF00, 0x00D240, 0x00A080, 0x0080A0,
    0x0080FF, 0x8080FF, 0x4242FF, 0x0000FF, 0x0000C1, 0x000080, 0x000062, 0x000040};

// The grey of step i; the 64 colours of the maps fall between the 32 steps,
// and the last of them would pass white.
int GreyOfStep(double i) {
    return std::min(255,
                    static_cast<int>(std::trunc((std::trunc((i + 0.9) * 8) + 45) / 300 * 255)));
}

GraphColor Mix(GraphColor a, GraphColor b) {
    return RgbColor((RedOf(a) + RedOf(b)) / 2, (GreenOf(a) + GreenOf(b)) / 2,
                    (BlueOf(a) + BlueOf(b)) / 2);
}

// The smoothing of a level: a point at zero distance counts as this far
// away, so its own value weighs most but not alone. The distance is the
// largest coordinate range in the data's own units over 26 K, against
// distances measured in ranges: smoothing shows on coordinates of wide ranges.
double ZeroDistance(int smoothing, bool threeVariables, double largestRange) {
    static constexpr std::array<double, 4> K{100000, 10000, 1000, 100};
    const double k = threeVariables ? K[std::clamp(smoothing, 0, 3)] : K[0];
    return std::max(largestRange, 1e-300) / (MapSteps + 1) / k;
}

struct Normalised {
    std::vector<std::vector<double>> u;  // per coordinate, per point: 0..1
    std::vector<double> z;
    std::vector<AxisRange> ranges;
    AxisRange value;
};

Normalised Normalise(const MapRequest& r) {
    std::size_t n = r.value.size();
    for (const auto& c : r.coordinates)
        n = std::min(n, c.size());
    Normalised out;
    const std::size_t dims = r.coordinates.size();
    out.u.assign(dims, {});
    std::vector<std::size_t> kept;
    for (std::size_t i = 0; i < n; ++i) {
        bool finite = std::isfinite(r.value[i]);
        for (const auto& c : r.coordinates)
            finite = finite && std::isfinite(c[i]);
        if (finite)
            kept.push_back(i);
    }
    RangeAccumulator vr;
    for (std::size_t i : kept) {
        out.z.push_back(r.value[i]);
        vr.Take(r.value[i]);
    }
    out.value = vr.range();
    for (std::size_t k = 0; k < dims; ++k) {
        RangeAccumulator cr;
        for (std::size_t i : kept)
            cr.Take(r.coordinates[k][i]);
        const AxisRange range = cr.range();
        out.ranges.push_back(range);
        const double span = range.span();
        for (std::size_t i : kept)
            out.u[k].push_back(span > 0 ? (r.coordinates[k][i] - range.min) / span : 0.0);
    }
    return out;
}

// Each point's value smoothed over all points by inverse squared distances,
// at the point's place on the map plane (its off-plane coordinates moved to
// where the scroll bars fix them).
std::vector<double> Smoothed(const MapRequest& r, const Normalised& d) {
    const std::size_t n = d.z.size();
    const std::size_t dims = d.u.size();
    const bool three = dims <= 2;
    if (three && r.smoothing == 0)
        return d.z;
    std::vector<double> fixed(dims, 0.0);
    for (std::size_t k = 0; k < dims; ++k)
        if (static_cast<int>(k) != r.first && static_cast<int>(k) != r.second)
            fixed[k] = (k < r.positions.size() ? std::clamp(r.positions[k], 0, MapSteps) : 0) /
                       static_cast<double>(MapSteps);
    double largest = 0.0;
    for (const AxisRange& range : d.ranges)
        largest = std::max(largest, range.span());
    const double zero = ZeroDistance(r.smoothing, three, largest);
    const double zero2 = zero * zero;
    std::vector<double> out(n);
    std::vector<double> at(dims);
    for (std::size_t j = 0; j < n; ++j) {
        for (std::size_t k = 0; k < dims; ++k)
            at[k] = (static_cast<int>(k) == r.first || static_cast<int>(k) == r.second) ? d.u[k][j]
                                                                                        : fixed[k];
        double sw = 0.0, swz = 0.0;
        for (std::size_t i = 0; i < n; ++i) {
            double d2 = 0.0;
            for (std::size_t k = 0; k < dims; ++k) {
                const double e = at[k] - d.u[k][i];
                d2 += e * e;
            }
            const double w = 1.0 / std::max(d2, zero2);
            sw += w;
            swz += w * d.z[i];
        }
        out[j] = swz / sw;
    }
    return out;
}

}  // namespace

GraphColor ColourStep(int i, bool monochrome) {
    i = std::clamp(i, 0, 31);
    if (monochrome) {
        const int g = GreyOfStep(i);
        return RgbColor(g, g, g);
    }
    return Scale32[i];
}

GraphColor MapColour(int j, bool monochrome) {
    j = std::clamp(j, 0, 63);
    if (monochrome) {
        const int g = GreyOfStep(j / 2.0);
        return RgbColor(g, g, g);
    }
    // The 32 steps with a half-way colour between each two.
    const int i = j / 2;
    return j % 2 == 0 || i == 31 ? Scale32[i] : Mix(Scale32[i], Scale32[i + 1]);
}

LevelGrid ComputeLevelGrid(const MapRequest& request) {
    LevelGrid grid;
    const int dims = static_cast<int>(request.coordinates.size());
    if (dims < 2 || request.first < 0 || request.second < 0 || request.first >= dims ||
        request.second >= dims)
        return grid;
    const Normalised d = Normalise(request);
    const int side = MapSteps + 1;
    grid.side = side;
    grid.levels.assign(static_cast<std::size_t>(side) * side, MapLevels / 2);
    grid.value = d.value;
    grid.first = d.ranges[request.first];
    grid.second = d.ranges[request.second];
    const std::size_t n = d.z.size();
    if (n == 0 || !(d.value.span() > 0))
        return grid;  // one flat colour: no span to divide by

    const std::vector<double> smoothed = Smoothed(request, d);
    std::vector<int> levels(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double t = (smoothed[i] - d.value.min) / d.value.span() * 127 + 0.5;
        levels[i] = std::clamp(static_cast<int>(std::trunc(t)), 0, 127);
    }
    if (dims == 2 && request.smoothing > 0) {
        // Smoothing narrows the levels; they are stretched to the whole scale.
        const auto [lo, hi] = std::minmax_element(levels.begin(), levels.end());
        const int low = *lo, high = *hi;
        if (high > low)
            for (int& l : levels)
                l = static_cast<int>(std::trunc((l - low) * 127.0 / (high - low) + 0.5));
    }
    // Points on the same cell weigh alike everywhere else: sum them per cell.
    std::vector<double> sum(grid.levels.size(), 0.0);
    std::vector<int> count(grid.levels.size(), 0);
    std::vector<int> first(grid.levels.size(), -1);
    for (std::size_t i = 0; i < n; ++i) {
        const int g = std::clamp(static_cast<int>(d.u[request.first][i] * MapSteps), 0, MapSteps);
        const int h = std::clamp(static_cast<int>(d.u[request.second][i] * MapSteps), 0, MapSteps);
        const std::size_t c = static_cast<std::size_t>(g + h * side);
        sum[c] += levels[i];
        if (count[c]++ == 0)
            first[c] = levels[i];
    }
    std::vector<int> occupied;
    for (std::size_t c = 0; c < sum.size(); ++c)
        if (count[c] > 0)
            occupied.push_back(static_cast<int>(c));
    for (int h = 0; h < side; ++h)
        for (int g = 0; g < side; ++g) {
            const std::size_t c = static_cast<std::size_t>(g + h * side);
            if (count[c] > 0) {
                grid.levels[c] = static_cast<std::uint8_t>(first[c]);
                continue;
            }
            double sw = 0.0, swl = 0.0;
            for (int o : occupied) {
                const int dg = g - o % side;
                const int dh = h - o / side;
                const double w = static_cast<double>(MapSteps) / (dg * dg + dh * dh);
                sw += w * count[o];
                swl += w * sum[o];
            }
            grid.levels[c] = static_cast<std::uint8_t>(
                std::clamp(static_cast<int>(std::trunc(swl / sw + 0.5)), 0, 127));
        }
    return grid;
}

Bitmap LevelBitmap(const LevelGrid& grid, bool monochrome, bool shaded) {
    Bitmap bitmap{grid.side, grid.side, {}};
    bitmap.pixels.resize(static_cast<std::size_t>(grid.side) * grid.side);
    for (int h = 0; h < grid.side; ++h)
        for (int g = 0; g < grid.side; ++g) {
            const int level = grid.at(g, h);
            GraphColor c = MapColour(level * 63 / 127, monochrome);
            if (shaded) {
                // Light from the upper left: slopes facing it brighten.
                const int gl = grid.at(std::max(g - 1, 0), h);
                const int gr = grid.at(std::min(g + 1, grid.side - 1), h);
                const int hd = grid.at(g, std::max(h - 1, 0));
                const int hu = grid.at(g, std::min(h + 1, grid.side - 1));
                // Flat ground keeps its colour; slopes toward the light
                // pale toward white, slopes away darken.
                const double slope = ((gr - gl) - (hu - hd)) / 127.0 * 3.0;
                const double light = std::clamp(slope, -0.35, 0.35);
                auto lit = [light](int v) {
                    const double lit = light >= 0 ? v + (255 - v) * light : v * (1 + light);
                    return std::clamp(static_cast<int>(lit), 0, 255);
                };
                c = RgbColor(lit(RedOf(c)), lit(GreenOf(c)), lit(BlueOf(c)));
            }
            bitmap.pixels[static_cast<std::size_t>((grid.side - 1 - h) * grid.side + g)] = c;
        }
    return bitmap;
}

}  // namespace dalvex
