#include "graphics/axis.h"

#include <algorithm>
#include <cmath>

namespace dalvex {

namespace {

bool IsWhole(double x) {
    return std::fabs(x - std::round(x)) <= 1e-9 * std::max(1.0, std::fabs(x));
}

double SignOf(double x) {
    return x > 0 ? 1.0 : (x < 0 ? -1.0 : 0.0);
}

}  // namespace

AxisScale PlanAxis(double span, double minimum, int length) {
    AxisScale a;
    if (!(span > 0.0) || !std::isfinite(span) || !std::isfinite(minimum) || length < 1)
        return a;
    const double S = length;
    const double lg = std::log10(span);
    a.k = static_cast<int>(std::trunc(lg));
    if (span < 1.0 && !IsWhole(lg))
        a.k -= 1;
    a.decade = std::pow(10.0, a.k);
    a.n = static_cast<int>(std::trunc(span / a.decade + 0.5));
    if (a.n < 1)
        a.n = 1;

    const int n = a.n;
    if (n < 3)
        a.intervals = 5;
    else if (n == 10 && S / 10 < 20)
        a.intervals = 5;
    else if (n == 9 && S / 9 < 20)
        a.intervals = 3;
    else if (n == 8 && S / 8 < 20)
        a.intervals = 4;
    else
        a.intervals = n;

    a.minor = 1;
    for (int m : {5, 4, 2, 1})
        if (S / n / m > 2) {
            a.minor = m;
            break;
        }

    a.step = n * a.decade / a.intervals;
    a.pixelStep = (n * a.decade / span) * S / a.intervals;
    a.firstValue = SignOf(minimum) * std::floor((std::fabs(minimum) + a.step) / a.step) * a.step;
    a.firstOffset = (a.firstValue - minimum) / a.step * a.pixelStep;

    a.firstLabel = a.firstValue / a.decade * 10;
    a.labelStep = a.step / a.decade * 10;
    a.exponent = a.k - 1;
    if (IsWhole(a.labelStep / 10)) {
        a.firstLabel /= 10;
        a.labelStep /= 10;
        a.exponent = a.k;
    }
    a.valid = std::isfinite(a.firstOffset) && a.pixelStep > 0;
    return a;
}

std::string MultiplierText(int exponent) {
    return "*E" + std::to_string(exponent);
}

namespace {

struct AxisDrawer {
    const GraphPainter& p;
    const AxisPlacement& place;
    bool horizontal;

    PixelPoint At(double offset) const {
        if (horizontal)
            return {place.origin.x + static_cast<int>(offset),
                    place.origin.y + static_cast<int>(place.skew * offset)};
        return {place.origin.x + static_cast<int>(place.skew * offset),
                place.origin.y - static_cast<int>(offset)};
    }

    void Tick(PixelPoint at, int length, bool near, bool far) const {
        const int dx = horizontal ? 0 : place.outward * length;
        const int dy = horizontal ? place.outward * length : 0;
        const PixelPoint from = near ? PixelPoint{at.x - dx, at.y - dy} : at;
        const PixelPoint to = far ? PixelPoint{at.x + dx, at.y + dy} : at;
        if (from != to)
            p.canvas.Line(from, to);
    }
};

}  // namespace

void DrawAxis(const GraphPainter& painter, const AxisPlacement& place, int flags, bool grid,
              double span, double minimum) {
    const AxisScale a = PlanAxis(span, minimum, place.length);
    if (!a.valid)
        return;
    const bool horizontal = place.axis % 2 == 0;
    const AxisDrawer d{painter, place, horizontal};
    Canvas& canvas = painter.canvas;
    const GraphColor pen = painter.palette[PenColour];
    const bool shortTicks = place.axis == 2 || place.axis == 5;
    const int majorLength = shortTicks ? 8 : 10;
    const int minorLength = shortTicks ? 3 : 5;
    const bool near = flags & AxisNearTicks;
    const bool far = flags & AxisFarTicks;
    const double S = place.length;
    const int h = canvas.TextHeight("0");

    for (int j = 0; j < 1000; ++j) {
        const double offset = a.firstOffset + j * a.pixelStep;
        if (offset > S + a.pixelStep)
            break;
        if (flags & AxisMinorTicks) {
            canvas.SetPen(pen, 1);
            for (int i = 1; i < a.minor; ++i) {
                const double o = offset - i * a.pixelStep / a.minor;
                if (o >= 0 && o <= S)
                    d.Tick(d.At(o), minorLength, near, far);
            }
        }
        if (offset < 0 || offset > S)
            continue;
        const PixelPoint at = d.At(offset);
        if (grid && (place.gridVector.x != 0 || place.gridVector.y != 0)) {
            canvas.SetPen(pen, 1, PenStyle::Dot);
            canvas.Line(at, {at.x + place.gridVector.x, at.y + place.gridVector.y});
        }
        canvas.SetPen(pen, 1);
        if (flags & AxisMajorTicks)
            d.Tick(at, majorLength, near, far);
        if (!(flags & AxisLabels))
            continue;
        double value = a.firstLabel + j * a.labelStep;
        if (place.axis == 3)
            value = -value;
        const std::string text = WholeNumberText(value);
        const int tw = canvas.TextWidth(text);
        if (horizontal) {
            if (offset > S - 15 && a.exponent != 0)
                continue;
            const int y = place.outward > 0 ? at.y + 1 : at.y - 1 - h;
            painter.TxtOut(at.x - tw / 2, y, text, 80);
        } else {
            if (offset > S - 5)
                continue;
            const int x = place.outward > 0 ? at.x + 10 : at.x - 3 - tw;
            painter.TxtOut(x, at.y - h / 2, text, 80);
        }
    }
    if ((flags & AxisLabels) && a.exponent != 0) {
        const std::string text = MultiplierText(a.exponent);
        const PixelPoint end = d.At(S);
        // Kept inside the picture: an axis ending near the right edge (a
        // colour scale, the depth axis of a box) would cut its multiplier.
        const int room = canvas.width() - canvas.TextWidth(text) - 1;
        if (horizontal)
            painter.TxtOut(std::min(end.x - 5, room), place.outward > 0 ? end.y + 1 : end.y - 1 - h,
                           text, 80);
        else
            painter.TxtOut(std::min(place.outward > 0 ? end.x + 10 : end.x - 17, room),
                           end.y - h - 2, text, 80);
    }
}

}  // namespace dalvex
