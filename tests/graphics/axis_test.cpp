#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "graphics/axis.h"
#include "graphics/recording_canvas.h"

namespace dalvex {
namespace {

struct ScaleCase {
    double span, minimum;
    int length;
    int k, n, intervals, minor;
    double step, firstLabel, labelStep;
    int exponent;
};

TEST(AxisScale, DecadesIntervalsSubdivisionsAndMultiplier) {
    const ScaleCase cases[] = {
        // span 7.3 on 400 pixels: seven intervals of 1, five subdivisions, no multiplier
        {7.3, 0.0, 400, 0, 7, 7, 5, 1.0, 0, 1, 0},
        // 0.042 from 0: k = -2, four intervals of 0.01, labels 0..4 times 10^-2
        {0.042, 0.0, 400, -2, 4, 4, 5, 0.01, 0, 1, -2},
        // 2.0: five intervals of 0.4, labels 0, 4, ... times 10^-1
        {2.0, 0.0, 400, 0, 2, 5, 5, 0.4, 0, 4, -1},
        // n = 10, 9, 8 on a short axis get 5, 3 and 4 intervals; on a long one 10
        {9.7, 0.0, 150, 0, 10, 5, 5, 2.0, 0, 2, 0},
        {9.7, 0.0, 400, 0, 10, 10, 5, 1.0, 0, 1, 0},
        {9.0, 0.0, 150, 0, 9, 3, 5, 3.0, 0, 3, 0},
        {8.0, 0.0, 150, 0, 8, 4, 5, 2.0, 0, 2, 0},
        // subdivisions: the first of 5, 4, 2, 1 leaving more than 2 pixels
        {7.3, 0.0, 60, 0, 7, 7, 4, 1.0, 0, 1, 0},
        {7.3, 0.0, 20, 0, 7, 7, 1, 1.0, 0, 1, 0},
        // the first tick lies past the minimum, on the multiple above it
        {7.3, 0.3, 400, 0, 7, 7, 5, 1.0, 1, 1, 0},
        {7.3, -2.5, 400, 0, 7, 7, 5, 1.0, -3, 1, 0},
        // a span of exactly one decade below 1
        {0.1, 0.0, 400, -1, 1, 5, 5, 0.02, 0, 2, -2},
    };
    for (const ScaleCase& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "span " << c.span << " from " << c.minimum << " on " << c.length);
        const AxisScale a = PlanAxis(c.span, c.minimum, c.length);
        ASSERT_TRUE(a.valid);
        EXPECT_EQ(a.k, c.k);
        EXPECT_EQ(a.n, c.n);
        EXPECT_EQ(a.intervals, c.intervals);
        EXPECT_EQ(a.minor, c.minor);
        EXPECT_NEAR(a.step, c.step, 1e-12);
        EXPECT_NEAR(a.firstLabel, c.firstLabel, 1e-9);
        EXPECT_NEAR(a.labelStep, c.labelStep, 1e-9);
        EXPECT_EQ(a.exponent, c.exponent);
    }
}

TEST(AxisScale, NoScaleForSpansThatCannotBeDivided) {
    for (double span : {0.0, -1.0, std::numeric_limits<double>::infinity(),
                        std::numeric_limits<double>::quiet_NaN()})
        EXPECT_FALSE(PlanAxis(span, 0.0, 400).valid) << span;
    EXPECT_FALSE(PlanAxis(1.0, 0.0, 0).valid);
}

class AxisDrawing : public ::testing::Test {
  protected:
    RecordingCanvas canvas{640, 480, 7, 14};
    Palette palette = MakePalette(ColourMode::Colour);
    GraphPainter painter{canvas, palette, 2, 0};

    std::vector<std::string> Labels() const { return canvas.Texts(); }
};

TEST_F(AxisDrawing, HorizontalLabelsCentredUnderTheirTicksWithTheMultiplierAtTheEnd) {
    // 0.042 from 0 along 400 pixels from x = 50 on the line y = 300.
    DrawAxis(painter, {0, {50, 300}, 400, 0.0, {0, -200}, 1}, AxisNearSide, false, 0.042, 0.0);
    EXPECT_EQ(Labels(), (std::vector<std::string>{" 0", " 1", " 2", " 3", " 4", "*E-2"}));
    for (int k = 0; k <= 4; ++k) {
        const DrawOp* label = canvas.FindText(" " + std::to_string(k));
        const int tick = 50 + static_cast<int>(k * 0.01 / 0.042 * 400);
        EXPECT_EQ(label->points[0].x + 7, tick) << k;  // two characters of 7 pixels
        EXPECT_EQ(label->points[0].y, 301);
    }
    EXPECT_EQ(canvas.FindText("*E-2")->points[0], (PixelPoint{445, 301}));
}

TEST_F(AxisDrawing, LabelNearTheEndGivesWayToTheMultiplier) {
    // 2.0 from 0: 0, 4, ... 20 with exponent -1; the 20 at the very end is
    // left out so that "*E-1" can be read.
    DrawAxis(painter, {0, {50, 300}, 400, 0.0, {0, -200}, 1}, AxisNearSide, false, 2.0, 0.0);
    EXPECT_EQ(Labels(), (std::vector<std::string>{" 0", " 4", " 8", "12", "16", "*E-1"}));
    // Without a multiplier the last label stays.
    canvas.Clear();
    DrawAxis(painter, {0, {50, 300}, 400, 0.0, {0, -200}, 1}, AxisNearSide, false, 7.0, 0.0);
    EXPECT_EQ(Labels().back(), " 7");
}

TEST_F(AxisDrawing, TicksGridAndVerticalLabels) {
    // 7.3 on 400 pixels upwards from (60, 420): majors at 0..7, 5 subdivisions.
    DrawAxis(painter, {1, {60, 420}, 400, 0.0, {500, 0}, -1}, AxisNearSide, true, 7.3, 0.0);
    const auto lines = canvas.OpsOfKind(DrawOp::Kind::Line);
    int grid = 0, majors = 0, minors = 0;
    for (const DrawOp& op : lines) {
        const int length = std::abs(op.points[1].x - op.points[0].x);
        if (op.penStyle == PenStyle::Dot) {
            ++grid;
            EXPECT_EQ(length, 500);
        } else if (length == 10) {
            ++majors;
            // near side: into the plot
            EXPECT_EQ(std::min(op.points[0].x, op.points[1].x), 60);
        } else if (length == 5) {
            ++minors;
        }
    }
    EXPECT_EQ(grid, 8);
    EXPECT_EQ(majors, 8);
    EXPECT_EQ(minors, 7 * 4 + 1);  // four in each interval, one past the 7
    // Right-aligned 3 pixels left of the axis, centred on the tick.
    const DrawOp* one = canvas.FindText(" 1");
    const int tick = 420 - static_cast<int>(400 / 7.3);
    EXPECT_EQ(one->points[0], (PixelPoint{60 - 3 - 14, tick - 7}));
    EXPECT_EQ(canvas.FindText("*E0"), nullptr);
}

TEST_F(AxisDrawing, RightHandAxisShowsNegatedValuesAndFlagsChooseWhatIsDrawn) {
    DrawAxis(painter, {3, {500, 420}, 400, 0.0, {0, 0}, 1}, AxisAll, false, 7.3, 0.0);
    EXPECT_NE(canvas.FindText("-3"), nullptr);
    EXPECT_EQ(canvas.FindText("-3")->points[0].x, 510);
    // Both sides: a major tick crosses the axis.
    bool crossing = false;
    for (const DrawOp& op : canvas.OpsOfKind(DrawOp::Kind::Line))
        crossing = crossing || (op.points[0].x == 490 && op.points[1].x == 510);
    EXPECT_TRUE(crossing);

    canvas.Clear();
    DrawAxis(painter, {0, {50, 300}, 400, 0.0, {0, -200}, 1}, 0, true, 7.3, 0.0);
    for (const DrawOp& op : canvas.ops())
        EXPECT_EQ(op.penStyle, PenStyle::Dot) << "flag set 0 draws grid lines only";
    EXPECT_EQ(canvas.ops().size(), 8u);
}

}  // namespace
}  // namespace dalvex
