// What the graph kinds draw on small fixtures that show a wrong mapping:
// box plots, ordered values, pies and towers with nothing to divide by,
// the colour map, the level grid of the maps and the function surface.
#include <algorithm>
#include <cmath>

#include "core/graph_handover.h"
#include "core/main_window_model.h"
#include "core/sheet_bridge.h"
#include "formula/formula.h"
#include "formula/function_list.h"
#include "graph_fixture.h"
#include "graphics/function_surface.h"
#include "graphics/graph_desk.h"
#include "graphics/graph_scene.h"
#include "graphics/level_grid.h"

namespace dalvex {
namespace {

using K = DrawOp::Kind;

class Kinds : public GraphTest {
  protected:
    // The pixel row of value v on the plot of the 640 x 480 window, whose Y
    // range is [lo, hi] widened by 1/20 at both ends.
    int PixelY(double v, double lo, double hi) const {
        const double margin = (hi - lo) / 20;
        const GraphLayout& l = graph.layout();
        return l.bottom() -
               static_cast<int>(std::trunc(l.height / (hi - lo + 2 * margin) * (v - lo + margin)));
    }
    std::vector<DrawOp> InPen(K kind, GraphColor pen) const {
        std::vector<DrawOp> ops;
        for (const DrawOp& op : canvas.OpsOfKind(kind))
            if (op.pen == pen)
                ops.push_back(op);
        return ops;
    }
    const Palette palette = MakePalette(ColourMode::Colour);
};

TEST(BoxFiguresTest, TrueMedianAndMeanPlusMinusS) {
    struct Case {
        std::vector<double> sorted;
        double median, mean, s;
    };
    const Case cases[] = {
        {{1, 2, 3, 4}, 2.5, 2.5, 1.2909944487358056},  // even n: mean of the middle two
        {{1, 2, 9}, 2.0, 4.0, 4.358898943540674},
        {{5}, 5.0, 5.0, 0.0},
        // A large common offset keeps its small spread.
        {{1e9 + 1, 1e9 + 2, 1e9 + 3}, 1e9 + 2, 1e9 + 2, 1.0},
    };
    for (const Case& c : cases) {
        const BoxFigures f = BoxOf(c.sorted);
        EXPECT_DOUBLE_EQ(f.median, c.median);
        EXPECT_DOUBLE_EQ(f.mean, c.mean);
        EXPECT_NEAR(f.deviation, c.s, 1e-9);
    }
}

TEST_F(Kinds, BoxPlotDrawsMedianMeanAndBoxAtTheirValues) {
    Row(0, {4, 1, 3, 2});  // sorted before drawing
    Graph(KindBoxPlots, 0);
    Draw();
    // Y over the values 1..4; the box pen is palette entry 4.
    const auto box = InPen(K::Polyline, palette[4]);
    ASSERT_EQ(box.size(), 1u);
    EXPECT_EQ(box[0].points[0].y, PixelY(2.5 + 1.2909944487358056, 1, 4));
    EXPECT_EQ(box[0].points[2].y, PixelY(2.5 - 1.2909944487358056, 1, 4));
    EXPECT_EQ(box[0].points[1].x - box[0].points[0].x, 11);
    const auto lines = InPen(K::Line, palette[4]);
    ASSERT_EQ(lines.size(), 2u);
    // The median of 1, 2, 3, 4 is 2.5, not the upper middle 3: it lies on the mean.
    EXPECT_EQ(lines[0].points[0].y, PixelY(2.5, 1, 4));
    EXPECT_EQ(lines[1].points[0].y, PixelY(2.5, 1, 4));
    EXPECT_EQ(lines[1].points[1].x - lines[1].points[0].x, 19) << "the wider mean line";
    // Every observation as a marker at X = 1, the box's centre.
    const auto markers = Ops(K::Ellipse);
    ASSERT_EQ(markers.size(), 4u);
    for (const DrawOp& m : markers)
        EXPECT_EQ((m.rect.left + m.rect.right + 1) / 2, box[0].points[0].x + 6);

    // The legend says which line is which.
    graph.ToggleLegend();
    Draw();
    EXPECT_NE(canvas.FindText("медиана"), nullptr);
}

TEST_F(Kinds, OrderedValuesStandAtTheirPositionsSorted) {
    Row(0, {30, 10, 20});
    Row(1, {5, 40});
    ws.graphTables.SeriesStyles[0] = 1;
    ws.graphTables.SeriesStyles[1] = 1;
    Graph(KindDistributions, 1);
    Draw();
    const auto lines = Ops(K::Polyline);
    ASSERT_EQ(lines.size(), 2u);
    const auto& first = lines[0].points;
    ASSERT_EQ(first.size(), 3u);
    // X from 0 to the longest series + 1 = 4: positions 1, 2, 3 a quarter apart.
    const GraphLayout& l = graph.layout();
    const double span = 4 * 1.1;
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(first[i].x, l.left + static_cast<int>(l.width / span * (i + 1 + 0.2)));
    EXPECT_EQ(first[0].y, PixelY(10, 5, 40));
    EXPECT_EQ(first[2].y, PixelY(30, 5, 40));
    EXPECT_EQ(lines[1].points[1].y, PixelY(40, 5, 40));
}

TEST_F(Kinds, PieSharesAndAPieWithNothingToShare) {
    Row(0, {1, 1, 2});
    Graph(KindPie, 0);  // one variable: its observations are the slices
    Draw();
    const auto slices = Ops(K::Pie);
    ASSERT_EQ(slices.size(), 3u);
    EXPECT_DOUBLE_EQ(slices[0].sweep, -90.0);
    EXPECT_DOUBLE_EQ(slices[1].sweep, -90.0);
    EXPECT_DOUBLE_EQ(slices[2].sweep, -180.0);
    const auto texts = canvas.Texts();
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "25.0%"), 2);
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "50.0%"), 1);

    // A share too wide for its slice goes after the slice's name outside
    // instead of running into its neighbours.
    Row(0, {96, 2, 2});
    Graph(KindPie, 0);
    Draw();
    EXPECT_NE(canvas.FindText("96.0%"), nullptr);
    EXPECT_EQ(canvas.FindText("2.0%"), nullptr);
    EXPECT_NE(canvas.FindText("2 2.0%"), nullptr);
    EXPECT_NE(canvas.FindText("3 2.0%"), nullptr);

    // A total of 0, or no positive part: an empty circle that says so.
    for (const std::vector<double>& values : {std::vector<double>{0, 0, 0}, {-1, -2}}) {
        Row(0, values);
        Graph(KindPie, 0);
        Draw();
        EXPECT_TRUE(Ops(K::Pie).empty());
        EXPECT_EQ(Ops(K::Ellipse).size(), 1u);
        EXPECT_NE(canvas.FindText(EmptyPieText), nullptr);
    }
}

TEST_F(Kinds, DeepPieRimIsOneBandForEachSliceOnTheFrontHalf) {
    Row(0, {1, 1, 2});  // 90..0 at the back, 0..-90 and -90..-270 in front
    Graph(KindPie, 0);
    graph.gDim();
    Draw();
    EXPECT_EQ(Ops(K::Pie).size(), 3u) << "the top disc";
    const auto bands = Ops(K::Polygon);
    ASSERT_EQ(bands.size(), 2u);
    const auto pie = Ops(K::Pie)[0].rect;
    for (const DrawOp& band : bands) {
        // Top arc forward, the same arc lower by the rim backward.
        const std::size_t n = band.points.size() / 2;
        const int rim = band.points[n].y - band.points[n - 1].y;
        EXPECT_GT(rim, 0);
        EXPECT_EQ(band.points[n].x, band.points[n - 1].x);
        for (std::size_t i = 0; i < n; ++i)
            EXPECT_GE(band.points[i].y, (pie.top + pie.bottom) / 2 - 1) << "front half only";
    }
    // The third slice's band runs from nine o'clock to six.
    const DrawOp& third = bands[1];
    EXPECT_EQ(third.points.front().x, pie.left);
    EXPECT_NEAR(third.points[third.points.size() / 2 - 1].x, (pie.left + pie.right) / 2, 1);
}

TEST_F(Kinds, AxisMultipliersStayInsideThePicture) {
    // Values in tenths put "*E-1" on the colour scale at the right edge;
    // the 3-D box's depth axis ends at the right edge too.
    Row(0, {0, 10, 0, 10});
    Row(1, {0, 0, 4, 4});
    Row(2, {0.1, 0.2, 0.3, 0.4});
    for (int kind : {KindMap3D, KindScatter3D}) {
        Graph(kind, 0);
        Draw();
        int multipliers = 0;
        for (const DrawOp& text : Ops(K::Text)) {
            if (text.text.rfind("*E", 0) != 0)
                continue;
            ++multipliers;
            EXPECT_LE(text.rect.left + canvas.TextWidth(text.text), canvas.width())
                << kind << " " << text.text;
        }
        EXPECT_GE(multipliers, 1) << kind;
    }
}

TEST_F(Kinds, HundredPercentTowerOfAZeroTotalStaysEmpty) {
    Row(0, {4, 0});
    Row(1, {6, 0});  // observations as categories: totals 10 and 0
    Graph(KindTower100, 1);
    graph.axCh();
    Draw();
    auto blocks = Ops(K::Rectangle);
    blocks.erase(blocks.begin());  // the plot frame
    ASSERT_EQ(blocks.size(), 2u) << "the empty category draws no block";
    const GraphLayout& l = graph.layout();
    EXPECT_LT(blocks[1].rect.right, l.left + l.width / 2) << "both blocks in the first tower";
}

TEST_F(Kinds, ColourMapPutsTheExtremeColoursAtTheirCells) {
    // Three variables (rows from the bottom) over three objects.
    Row(0, {5, 5, 9});  // the largest value: variable 1, object 3
    Row(1, {5, 5, 5});
    Row(2, {1, 5, 5});  // the smallest: variable 3, object 1
    Graph(KindColourMap, 2);
    Draw();
    const auto pictures = Ops(K::Bitmap);
    ASSERT_EQ(pictures.size(), 1u) << "one stretched picture, not cell by cell";
    const Bitmap& b = pictures[0].bitmap;
    ASSERT_EQ(b.width, 3);
    ASSERT_EQ(b.height, 3);
    EXPECT_EQ(b.at(2, 2), 0x000040u) << "the largest value at the bottom right";
    EXPECT_EQ(b.at(0, 0), 0x400000u) << "the smallest at the top left";
    // Step Trunc(|(v - min) / (max - min) * 32 - 0.01|): 1 -> 0, 9 -> 31, 5 -> 15.
    EXPECT_EQ(ColourStep(0, false), 0x400000u);
    EXPECT_EQ(ColourStep(31, false), 0x000040u);
    EXPECT_EQ(b.at(1, 1), ColourStep(15, false));

    // One value everywhere: one flat colour, nothing divided by zero.
    for (int r = 0; r < 3; ++r)
        Row(r, {7, 7, 7});
    Graph(KindColourMap, 2);
    Draw();
    const Bitmap flat = Ops(K::Bitmap)[0].bitmap;
    EXPECT_TRUE(std::all_of(flat.pixels.begin(), flat.pixels.end(),
                            [&](GraphColor c) { return c == flat.pixels[0]; }));
}

TEST(MonochromeScale, GreyLevelsOfTheColourMap) {
    // Trunc((Trunc((i + 0.9) * 8) + 45) / 300 * 255): step 0 -> 44, 31 -> 255.
    EXPECT_EQ(ColourStep(0, true), RgbColor(44, 44, 44));
    EXPECT_EQ(ColourStep(31, true), RgbColor(255, 255, 255));
    // The maps' 64 greys run from dark to white without wrapping round to black.
    for (int j = 1; j < 64; ++j)
        EXPECT_GE(RedOf(MapColour(j, true)), RedOf(MapColour(j - 1, true))) << j;
    EXPECT_EQ(MapColour(63, true), RgbColor(255, 255, 255));
}

// --- the maps' level grid ---------------------------------------------------------

struct GridPoints {
    std::vector<double> a, b, z;
    MapRequest Request(int smoothing = 0) const {
        MapRequest r;
        r.coordinates = {a, b};
        r.value = z;
        r.smoothing = smoothing;
        return r;
    }
};

TEST(LevelGridTest, WithoutSmoothingTheMapShowsTheDataValues) {
    // A 3 x 3 lattice at grid cells 0, 12, 25 with values 0..80.
    GridPoints p;
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 3; ++i) {
            p.a.push_back(i * 0.5);
            p.b.push_back(j * 0.5);
            p.z.push_back(10.0 * (i + 3 * j) - 0.0);
        }
    const LevelGrid g = ComputeLevelGrid(p.Request());
    ASSERT_EQ(g.side, 26);
    const int cells[] = {0, 12, 25};
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 3; ++i) {
            const double z = 10.0 * (i + 3 * j);
            // Level Trunc(z / 80 * 127 + 0.5), and back to a value within half a level.
            EXPECT_EQ(g.at(cells[i], cells[j]), static_cast<int>(z / 80 * 127 + 0.5));
            EXPECT_NEAR(g.ValueOf(g.at(cells[i], cells[j])), z, 80.0 / 127 / 2);
        }
}

TEST(LevelGridTest, CellsBetweenPointsWeighByInverseSquaredGridDistance) {
    GridPoints p{{0, 1}, {0, 0}, {0, 10}};  // levels 0 at cell (0, 0) and 127 at (25, 0)
    p.a.push_back(0.5);
    p.b.push_back(1);
    p.z.push_back(0);  // a third point keeps the second coordinate's range open
    const LevelGrid g = ComputeLevelGrid(p.Request());
    // Cell (12, 0): squared distances 144, 169 and 144 + 625 (the third at (12, 25)).
    const double w1 = 25.0 / 144, w2 = 25.0 / 169, w3 = 25.0 / 625;
    EXPECT_EQ(g.at(12, 0), static_cast<int>(127 * w2 / (w1 + w2 + w3) + 0.5));
    EXPECT_EQ(g.at(12, 0), 52);
}

TEST(LevelGridTest, NothingToDivideByGivesOneFlatLevel) {
    const GridPoints flatValue{{0, 1, 2}, {0, 2, 1}, {5, 5, 5}};
    const LevelGrid flat = ComputeLevelGrid(flatValue.Request());
    ASSERT_FALSE(flat.empty());
    EXPECT_TRUE(std::all_of(flat.levels.begin(), flat.levels.end(),
                            [&](int l) { return l == flat.levels[0]; }));
    // A coordinate of one value puts every point on its first column.
    const GridPoints oneColumn{{3, 3, 3}, {0, 2, 1}, {1, 2, 3}};
    const LevelGrid g = ComputeLevelGrid(oneColumn.Request());
    EXPECT_EQ(g.at(0, 0), 0);
    EXPECT_EQ(g.at(0, 25), 64);  // Trunc(0.5 * 127 + 0.5)
    EXPECT_EQ(g.at(0, 12), 127);
}

TEST(LevelGridTest, SmoothingPullsPointsTowardTheirNeighbours) {
    // An outlier in the middle of a field of 0 and 1, coordinates 0..400.
    GridPoints p;
    for (int j = 0; j < 5; ++j)
        for (int i = 0; i < 5; ++i) {
            p.a.push_back(100.0 * i);
            p.b.push_back(100.0 * j);
            p.z.push_back(i == 2 && j == 2 ? 100 : (i + j) % 2);
        }
    const LevelGrid plain = ComputeLevelGrid(p.Request(0));
    const LevelGrid smooth = ComputeLevelGrid(p.Request(3));
    // The outlier keeps level 127 (smoothed levels are stretched to the
    // whole scale); its neighbour (100, 200) of value 1 rises toward it.
    EXPECT_EQ(plain.at(12, 12), 127);
    EXPECT_EQ(smooth.at(12, 12), 127);
    EXPECT_EQ(plain.at(6, 12), 1);
    EXPECT_GT(smooth.at(6, 12), 20);
    // The weakest smoothing is the plain map.
    EXPECT_EQ(ComputeLevelGrid(p.Request(1)).at(6, 12), plain.at(6, 12));
}

TEST_F(Kinds, SuperdiagramSlicesAlongItsInvisibleCoordinate) {
    // Value = the third coordinate: the slice at its low end is low, at its
    // high end high.
    std::vector<double> a, b, c, v;
    for (int k = 0; k < 27; ++k) {
        a.push_back(k % 3);
        b.push_back(k / 3 % 3);
        c.push_back(k / 9);
        v.push_back(k / 9);
    }
    Row(0, a);
    Row(1, b);
    Row(2, c);
    Row(3, v);
    Graph(KindSuperDiagram, 3);
    ASSERT_EQ(graph.MapCoordinates(), 3);
    graph.SetInvisiblePosition(2, 0);
    const int low = graph.levelGrid().at(12, 12);
    graph.SetInvisiblePosition(2, 25);
    const int high = graph.levelGrid().at(12, 12);
    EXPECT_LT(low, 10);
    EXPECT_GT(high, 117);
    // Another plane: (a, c) - the value now rises along the map's Y.
    graph.SetMapPlane(0, 2);
    EXPECT_LT(graph.levelGrid().at(12, 0), graph.levelGrid().at(12, 25));
    Draw();
    EXPECT_EQ(Ops(K::Bitmap).size(), 1u);
}

TEST_F(Kinds, MapsDrawOnePictureAndSaveTheirGridIntoAnEmptiedSheet) {
    Row(0, {0, 10, 0, 10});
    Row(1, {0, 0, 4, 4});
    Row(2, {1, 2, 3, 4});
    PutSheetValue(ws, 5, 0, 99);  // the sheet is emptied first
    for (int kind : {KindSmoothingSurface, KindMap3D}) {
        Graph(kind, 0);
        Draw();
        const auto pictures = Ops(K::Bitmap);
        ASSERT_EQ(pictures.size(), 1u);
        EXPECT_EQ(pictures[0].bitmap.width, 26);
        const GraphLayout& l = graph.layout();
        EXPECT_EQ(pictures[0].rect,
                  (PixelRect{l.left + 1, l.top + 1, l.right() - 1, l.bottom() - 1}));
        // The colour scale: 32 bands 10 pixels wide, 30 pixels right of the plot.
        const auto bands = Ops(K::Fill);
        ASSERT_GE(bands.size(), 33u);
        EXPECT_EQ(bands.back().rect.left, l.right() + 30);
        EXPECT_EQ(bands.back().rect.width(), 10);
        EXPECT_LE(l.right() + 40, l.W) << "the scale fits the image";
    }
    EXPECT_TRUE(graph.Acts(GraphAction::SaveIntoSheet));
    graph.SaveIntoSheet();
    EXPECT_EQ(ws.sheet.VariableCount(), 3);
    EXPECT_EQ(ws.sheet.ColumnLength(1), 26 * 26);
    EXPECT_EQ(SheetValue(ws, 1, 0), 0.0);
    EXPECT_EQ(SheetValue(ws, 2, 0), 0.0);
    EXPECT_EQ(SheetValue(ws, 3, 0), 1.0);  // level 0 -> the minimum
    EXPECT_EQ(SheetValue(ws, 1, 25), 10.0);
    EXPECT_EQ(SheetValue(ws, 2, 26 * 25), 4.0);
    EXPECT_EQ(SheetValue(ws, 3, 26 * 26 - 1), 4.0);
}

// --- the function surface ---------------------------------------------------------

class Surface : public Kinds {
  protected:
    Surface() {
        EXPECT_TRUE(WriteFunctionListIfMissing(ws.ProgramFolder));
        ws.graphs = &desk;
    }
    void Compile(const std::string& text) {
        ASSERT_EQ(CompileFormula(ws, formula, text, FormulaContext::XY), 0) << text;
    }
    ActiveFormula formula;
    TSMForm form{ws};
    GraphDesk desk{ws, form};
};

TEST_F(Surface, GridPointsGoToRowsZeroOneTwo) {
    Compile("x*10+y");
    const SurfaceComputation done = ComputeFunctionSurface(ws, formula, {0, 2, 0, 4, 3});
    EXPECT_EQ(done.points, 3);
    EXPECT_EQ(done.gaps, 0);
    EXPECT_FALSE(done.limited);
    EXPECT_EQ(ws.store.DataWidth(), 21666);
    EXPECT_EQ(ws.VarLength[1], 8);
    // Point (c, d) at d + 3c: x = 0 + 1 d, y = 0 + 2 c.
    for (int c = 0; c < 3; ++c)
        for (int d = 0; d < 3; ++d) {
            EXPECT_EQ(ws.store.Data(0, d + 3 * c), d);
            EXPECT_EQ(ws.store.Data(1, d + 3 * c), 2 * c);
            EXPECT_EQ(ws.store.Data(2, d + 3 * c), 10 * d + 2 * c);
        }
}

TEST_F(Surface, GridSizeHeldBetweenTwoAndWhatTheStoreHolds) {
    Compile("x");
    EXPECT_EQ(LargestSurfaceGrid(), 147);
    const std::pair<int, int> sizes[] = {{500, 147}, {147, 147}, {1, 2}, {-4, 2}};
    for (auto [asked, used] : sizes) {
        dialogs.ClearLog();
        const SurfaceComputation done = ShowFunctionSurface(ws, formula, {0, 1, 0, 1, asked});
        EXPECT_EQ(done.points, used);
        EXPECT_EQ(ws.VarLength[3], used * used - 1);
        if (asked == used)
            EXPECT_TRUE(dialogs.notices().empty());
        else
            EXPECT_EQ(dialogs.notices(), std::vector<std::string>{GridLimitedText(used)});
    }
}

TEST_F(Surface, FaultingPointsAreGapsReportedOnce) {
    Compile("1/x");
    // x = -1, -0.5, 0, 0.5, 1: the middle column has no value.
    ws.SetTextBuffer("3-мерная");
    const SurfaceComputation done = ShowFunctionSurface(ws, formula, {-1, 1, 0, 1, 5});
    EXPECT_EQ(done.gaps, 5);
    EXPECT_EQ(dialogs.notices(), std::vector<std::string>{SurfaceGapsText(5, "Деление на ноль")});
    const TGra* shown = desk.window(form.graphs().current());
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->kind(), KindFunctionSurface);
    EXPECT_EQ(shown->title(), "3-мерная");

    graph.FormIni(shown->data());
    graph.SetTextMetrics(7, 14);
    graph.Resize(640, 480);
    Draw();
    // 4 x 4 quadrilaterals, of which the two columns touching x = 0 are gaps.
    const auto faces = [&] {
        std::vector<DrawOp> f;
        for (const DrawOp& op : Ops(K::Polygon))
            if (op.brush == palette[10])
                f.push_back(op);
        return f;
    }();
    EXPECT_EQ(faces.size(), 8u);
    for (const DrawOp& f : faces)
        EXPECT_EQ(f.pen, palette[8]);

    // Monochrome: white faces outlined in black.
    graph.SetgCl();
    Draw();
    int white = 0;
    for (const DrawOp& op : Ops(K::Polygon))
        white += op.brush == 0xFFFFFFu && op.pen == 0u;
    EXPECT_GE(white, 8);
}

}  // namespace
}  // namespace dalvex
