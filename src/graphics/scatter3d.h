// The geometry of the 3-D scatter: the ranges of the three coordinates, the
// rotation about the box centre, and the oblique projection of the box.
#pragma once

#include <array>
#include <vector>

#include "graphics/graph_scene.h"

namespace dalvex {

struct Point3 {
    double x = 0, d = 0, z = 0;  // across, into the picture, up
};

// Series p of a 3-D scatter: rows 3p, 3p + 1, 3p + 2, rotated by the
// window's angles when rotation is on.
std::vector<std::vector<Point3>> ScatterPoints(const GraphData& data, const GraphSettings& s);

// Rotates about `centre` in coordinates scaled by `half` (half the spans),
// first in the XY plane by c, then XZ by b, then YZ by a.
Point3 Rotate(const Point3& p, const Point3& centre, const Point3& half, double a, double b,
              double c);

struct ObliqueBox {
    int left = 0, bottom = 0;  // front bottom left corner
    int width = 1;             // the X edge
    int height = 1;            // the vertical edge
    int depth = 1;             // vertical rise of the depth edge
    int shift = 1;             // its horizontal run
    AxisRange x, d, z;

    // Depth grows into the picture, up and to the right.
    PixelPoint At(const Point3& p) const;
};

ObliqueBox MakeBox(const GraphLayout& l, const std::vector<std::vector<Point3>>& series);

// The floor, left and back walls with the axes on the front edges and, with
// the grid on, grid lines on the walls.
void DrawBoxWalls(const GraphScene& scene, const ObliqueBox& b);

}  // namespace dalvex
