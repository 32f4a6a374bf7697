// `TGra.ax`: one axis with its ticks, labels, multiplier and grid lines.
// The scale is planned first (a plain value the tests look at), then drawn.
#pragma once

#include <string>

#include "graphics/graph_painter.h"

namespace dalvex {

// Flag bits of an axis: ticks on the side toward the plot ("near"), ticks on
// the outer side ("far"), major ticks, minor ticks, labels.
enum AxisFlag {
    AxisNearTicks = 1,
    AxisFarTicks = 2,
    AxisMajorTicks = 4,
    AxisMinorTicks = 8,
    AxisLabels = 16,
};
inline constexpr int AxisAll = 31;
inline constexpr int AxisNearSide = 29;
inline constexpr int AxisFarSide = 30;
inline constexpr int AxisFarNoLabels = 14;

struct AxisScale {
    int k = 0;            // decade of the span
    double decade = 1.0;  // P = 10^k
    int n = 1;            // span in decades, rounded
    int intervals = 5;    // major intervals over n decades
    int minor = 1;        // minor subdivisions of a major interval
    double step = 1.0;    // major step in data units
    double pixelStep = 1.0;
    double firstValue = 0.0;   // value at the first major tick
    double firstOffset = 0.0;  // its pixel offset from the axis start
    double firstLabel = 0.0;   // label numbers, whole after rounding
    double labelStep = 1.0;
    int exponent = 0;  // the axis multiplier is 10^exponent; shown when not 0
    bool valid = false;
};

// Plans an axis of `length` pixels over [minimum, minimum + span]. A span
// that is not a positive finite number, or an axis shorter than a pixel,
// gives an invalid scale and the axis draws no ticks.
AxisScale PlanAxis(double span, double minimum, int length);

// "*E" followed by the exponent.
std::string MultiplierText(int exponent);

struct AxisPlacement {
    int axis = 0;           // 0, 2, 4 horizontal; 1, 3, 5 vertical
    PixelPoint origin;      // the pixel of the minimum
    int length = 0;         // S
    double skew = 0.0;      // sideways pixels per pixel along the axis
    PixelPoint gridVector;  // a grid line runs from a major tick by this much
    int outward = 1;        // the side of labels and far ticks: +1 down/right, -1 up/left
};

// Draws the ticks, labels and grid lines of an axis (not its line: the plot
// frame is the axis line). Label values on axis 3 are shown negated.
void DrawAxis(const GraphPainter& painter, const AxisPlacement& place, int flags, bool grid,
              double span, double minimum);

}  // namespace dalvex
