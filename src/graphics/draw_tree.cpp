// The tree (dendrogram) of joined pairs: row 0 holds the two X positions of
// each pair, row 1 its joining height and the number of the object written
// under the first leg.
#include <algorithm>
#include <cmath>

#include "graphics/axis.h"
#include "graphics/graph_scene.h"

namespace dalvex {

void DrawTree(const GraphScene& scene) {
    const GraphPainter& p = scene.p;
    const GraphLayout& l = scene.layout;
    const std::vector<double>& positions = scene.data.Row(0);
    const std::vector<double>& heights = scene.data.Row(1);
    const int last = std::min(static_cast<int>(positions.size()), static_cast<int>(heights.size()));
    const int pairs = std::max(0, last / 2);

    double tallest = 0.0;
    RangeAccumulator xr;
    for (int k = 0; k < pairs; ++k) {
        tallest = std::max(tallest, heights[2 * k]);
        xr.Take(positions[2 * k]);
        xr.Take(positions[2 * k + 1]);
    }
    if (!(tallest > 0))
        tallest = 1.0;
    const AxisRange x = xr.seen() ? AxisRange{xr.min - 1, xr.max + 1} : AxisRange{0, 1};
    PlotMap map{l.left,   l.bottom(),  l.width,
                l.height, OpenSpan(x), {-tallest / 20, tallest * 21 / 20}};

    DrawPlotFrame(scene);
    DrawAxis(p, {1, {l.left, l.bottom()}, l.height, 0.0, {l.width, 0}, -1}, AxisNearSide,
             scene.s.grid, map.y.span(), map.y.min);

    const int h = p.canvas.TextHeight("W");
    const int base = map.Y(0.0);
    for (int k = 0; k < pairs; ++k) {
        const int x1 = map.X(positions[2 * k]);
        const int x2 = map.X(positions[2 * k + 1]);
        const int top = map.Y(heights[2 * k]);
        p.SPen(0);
        p.canvas.Line({x1, base}, {x1, top});
        p.canvas.Line({x2, base}, {x2, top});
        p.SPen(1);
        p.canvas.Line({x1, top}, {x2, top});

        // Numbers of crowded trees spread over two or three lines.
        int line = 0;
        if (pairs > 80)
            line = k % 3;
        else if (pairs > 40)
            line = k % 2;
        const std::string number = WholeNumberText(heights[2 * k + 1] + 1);
        const std::string text = number.substr(number.find_first_not_of(' '));
        const int w = p.canvas.TextWidth(text);
        p.TxtOut(x1 - w / 2, l.bottom() + 2 + line * (h - 2), text, w + 1);
    }
}

}  // namespace dalvex
