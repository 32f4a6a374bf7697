#include <gtest/gtest.h>

#include "graphics/graph_painter.h"
#include "graphics/recording_canvas.h"

namespace dalvex {
namespace {

TEST(Palette, SeriesColoursShadowsAndMonochrome) {
    const Palette colour = MakePalette(ColourMode::Colour);
    EXPECT_EQ(colour[0], 0x0000E0u);
    EXPECT_EQ(colour[8], 0x0000FFu);
    EXPECT_EQ(colour[13], 0xFFFF00u);
    EXPECT_EQ(colour[16], 0x0000FFu & 0xA0A0A0u);
    EXPECT_EQ(colour[29], 0xFFFF00u & 0xC0C0C0u);
    EXPECT_EQ(colour[WindowBackground], 0xC0C0C0u);
    EXPECT_EQ(colour[PlotBackground], 0xFFFFFFu);
    EXPECT_EQ(colour[PenColour], 0u);

    const Palette mono = MakePalette(ColourMode::Monochrome);
    for (int i = 0; i <= 14; ++i)
        EXPECT_EQ(mono[i], 0u) << i;
    for (int i = WindowBackground; i <= PlotBackground; ++i)
        EXPECT_EQ(mono[i], 0xFFFFFFu) << i;
    EXPECT_EQ(mono[PenColour], 0u);

    // Bright 8..13 for the first six of every twelve, then 0..5.
    const std::pair<int, int> rule[] = {{0, 8}, {5, 13}, {6, 0}, {11, 5}, {12, 8}, {19, 1}};
    for (auto [series, entry] : rule)
        EXPECT_EQ(SeriesColourEntry(series), entry) << series;
}

class Markers : public ::testing::Test {
  protected:
    RecordingCanvas canvas;
    Palette palette = MakePalette(ColourMode::Colour);

    std::vector<DrawOp> Mark(int index, int lineWidth = 2) {
        canvas.Clear();
        GraphPainter{canvas, palette, lineWidth, 0}.Setmark(index, 100, 50);
        return canvas.ops();
    }
};

TEST_F(Markers, FourteenShapesHollowOrSolidAtTheirPixels) {
    using K = DrawOp::Kind;
    const GraphColor hollow = palette[PlotBackground];
    const GraphColor solid = palette[PenColour];
    struct Shape {
        int index;
        K figure;
        GraphColor fill;
        int crossLines;  // lines of a plus or cross drawn over it
        int crossPen;
    };
    const Shape shapes[] = {
        {0, K::Ellipse, hollow, 0, 0},    {1, K::Rectangle, hollow, 0, 0},
        {2, K::Polygon, hollow, 0, 0},    {3, K::Polygon, hollow, 0, 0},
        {4, K::Ellipse, solid, 0, 0},     {5, K::Rectangle, solid, 0, 0},
        {6, K::Polygon, solid, 0, 0},     {7, K::Polygon, solid, 0, 0},
        {8, K::Line, solid, 2, 2},        {9, K::Line, solid, 2, 2},
        {10, K::Polygon, hollow, 0, 0},   {11, K::Ellipse, hollow, 2, 1},
        {12, K::Rectangle, hollow, 2, 2}, {13, K::Polygon, hollow, 2, 2},
    };
    for (const Shape& s : shapes) {
        SCOPED_TRACE(s.index);
        const auto ops = Mark(s.index);
        ASSERT_FALSE(ops.empty());
        EXPECT_EQ(ops[0].kind, s.figure);
        EXPECT_EQ(ops[0].pen, palette[PenColour]);
        if (s.figure != K::Line) {
            EXPECT_EQ(ops[0].brush, s.fill);
        }
        int lines = 0;
        for (const DrawOp& op : ops)
            if (op.kind == K::Line) {
                ++lines;
                EXPECT_EQ(op.penWidth, s.crossPen);
            }
        EXPECT_EQ(lines, s.figure == K::Line ? 2 : s.crossLines);
    }
}

TEST_F(Markers, OutlinesFollowTheHalfSizeOfLineWidthPlusTwo) {
    // b = 4 around (100, 50)
    EXPECT_EQ(Mark(0)[0].rect, (PixelRect{96, 46, 103, 53}));
    EXPECT_EQ(Mark(1)[0].rect, (PixelRect{97, 47, 103, 54}));
    EXPECT_EQ(Mark(2)[0].points, (std::vector<PixelPoint>{{100, 47}, {104, 53}, {96, 53}}));
    EXPECT_EQ(Mark(3)[0].points,
              (std::vector<PixelPoint>{{100, 46}, {104, 50}, {100, 53}, {96, 50}}));
    EXPECT_EQ(Mark(10)[0].points, (std::vector<PixelPoint>{{96, 47}, {104, 47}, {100, 53}}));
    const auto plus = Mark(8);
    EXPECT_EQ(plus[0].points, (std::vector<PixelPoint>{{96, 50}, {104, 50}}));
    EXPECT_EQ(plus[1].points, (std::vector<PixelPoint>{{100, 46}, {100, 54}}));
    // b grows with the line width: 6 gives b = 8.
    EXPECT_EQ(Mark(0, 6)[0].rect, (PixelRect{92, 42, 107, 57}));
}

TEST_F(Markers, IndicesWrapAtFourteen) {
    EXPECT_EQ(Mark(14)[0].kind, DrawOp::Kind::Ellipse);
    EXPECT_EQ(Mark(14)[0].rect, Mark(0)[0].rect);
    EXPECT_EQ(Mark(14 + 5)[0].brush, Mark(5)[0].brush);
    EXPECT_EQ(Mark(27)[0].points, Mark(13)[0].points);
}

TEST(SeriesPen, WidthsAboveFourAreDrawnOnePixelWide) {
    RecordingCanvas canvas;
    const Palette palette = MakePalette(ColourMode::Colour);
    const std::pair<int, int> widths[] = {{1, 1}, {2, 2}, {4, 4}, {5, 1}, {6, 1}};
    for (auto [width, drawn] : widths) {
        GraphPainter{canvas, palette, width, 0}.SPen(8);
        canvas.Line({0, 0}, {1, 1});
        EXPECT_EQ(canvas.ops().back().penWidth, drawn) << width;
        EXPECT_EQ(canvas.ops().back().pen, palette[8]);
    }
}

TEST(TextOut, NumbersAreWholeAndAtLeastTwoWide) {
    EXPECT_EQ(WholeNumberText(3.0), " 3");
    EXPECT_EQ(WholeNumberText(2.9999999), " 3");
    EXPECT_EQ(WholeNumberText(-0.2), " 0");
    EXPECT_EQ(WholeNumberText(-12), "-12");
    EXPECT_EQ(WholeNumberText(1e20), "100000000000000000000");

    RecordingCanvas canvas;
    const Palette palette = MakePalette(ColourMode::Colour);
    const GraphPainter p{canvas, palette, 2, 0x123456};
    p.NumOut(10, 20, 7.4);
    EXPECT_EQ(canvas.ops().back().rect, (PixelRect{10, 20, 89, 39}));  // 80 x 20
    EXPECT_EQ(canvas.ops().back().brush, 0x123456u);
    // A name that would pass the plot's right edge goes to the left.
    p.nmPnt(100, 50, "abc", 300);
    EXPECT_EQ(canvas.ops().back().points[0], (PixelPoint{105, 43}));
    p.nmPnt(290, 50, "abc", 300);
    EXPECT_EQ(canvas.ops().back().points[0], (PixelPoint{290 - 5 - 21, 43}));
}

}  // namespace
}  // namespace dalvex
