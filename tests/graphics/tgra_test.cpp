// The graph window's model: its layout, its own copy of the data, ranges that
// never collapse, the toggles and what the kinds draw.
#include <algorithm>
#include <cmath>

#include "core/sheet_bridge.h"
#include "graph_fixture.h"

namespace dalvex {
namespace {

using K = DrawOp::Kind;

class Tgra : public GraphTest {
  protected:
    // Markers of the hollow circle shape: one ellipse each.
    std::vector<PixelPoint> CircleCentres() const {
        std::vector<PixelPoint> centres;
        for (const DrawOp& op : canvas.OpsOfKind(K::Ellipse))
            centres.push_back(
                {(op.rect.left + op.rect.right + 1) / 2, (op.rect.top + op.rect.bottom + 1) / 2});
        return centres;
    }
    bool Inside(PixelPoint p) const {
        const GraphLayout& l = graph.layout();
        return p.x >= l.left && p.x <= l.right() && p.y >= l.top && p.y <= l.bottom();
    }
};

TEST_F(Tgra, LayoutLeavesRoomForCaptionsAndLegend) {
    Row(0, {1, 2});
    Row(1, {3, 4});
    Graph(KindFunctions, 0);
    // w = 7 ("b"), h = 14 ("W"); image 640 x 480.
    EXPECT_EQ(graph.layout(), (GraphLayout{640, 480, 24, 20, 596, 435, false}));

    graph.SetCaptions({"X", "", "", ""});
    EXPECT_EQ(graph.layout(), (GraphLayout{640, 480, 41, 20, 579, 421, false}));
    graph.SetCaptions({"", "", "", "под рисунком"});
    EXPECT_EQ(graph.layout(), (GraphLayout{640, 480, 24, 20, 596, 407, false}));

    // One X-Y series leaves no room for a legend; a bar chart always does.
    graph.ToggleLegend();
    graph.SetCaptions({});
    EXPECT_FALSE(graph.layout().legend);
    Graph(KindBars, 0);
    graph.ToggleLegend();
    EXPECT_EQ(graph.layout().width, 596 - 84);

    // The reserved height of the settings comes off the image.
    ws.settings.reservedGraphHeight = 100;
    graph.Resize(640, 481);
    EXPECT_EQ(graph.layout().H, 381);
    EXPECT_EQ(graph.layout().height, 381 - 45);
}

TEST_F(Tgra, KeepsItsOwnCopyWhenTheStoreIsOverwritten) {
    Row(0, {1, 2, 3});
    Row(1, {10, 30, 20});
    ws.graphTables.SeriesStyles[0] = 2;
    ws.SetTextBuffer("Первый");
    Graph(KindFunctions, 0);
    Draw();
    const std::vector<PixelPoint> before = CircleCentres();
    ASSERT_EQ(before.size(), 3u);

    // Another method reuses the store and the tables.
    Row(0, {-5, 100, 7, 8, 9});
    Row(1, {0, 0, 0, 0, 0});
    ws.graphTables.SeriesStyles[0] = 0;
    ws.SetTextBuffer("Второй");
    graph.gaxi();
    graph.Resize(640, 480);
    Draw();
    EXPECT_EQ(CircleCentres(), before);
    EXPECT_EQ(graph.title(), "Первый");
}

TEST_F(Tgra, ZeroSpansOpenToAVisibleRange) {
    struct Case {
        const char* what;
        std::vector<double> x, y;
    } cases[] = {
        {"all Y equal to 0", {1, 2, 3}, {0, 0, 0}},
        {"a single point", {4}, {7}},
        {"equal X values", {2, 2, 2}, {1, 5, 3}},
        {"one point at the origin", {0}, {0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Row(0, c.x);
        Row(1, c.y);
        ws.graphTables.SeriesStyles[0] = 1;
        Graph(KindFunctions, 0);
        Draw();
        const auto centres = CircleCentres();
        ASSERT_EQ(centres.size(), c.x.size());
        for (PixelPoint p : centres)
            EXPECT_TRUE(Inside(p)) << p.x << "," << p.y;
        EXPECT_GT(canvas.Texts().size(), 4u) << "both axes are labelled";
    }
}

TEST_F(Tgra, ConstantSeriesIsDrawnAroundItsValue) {
    // All Y = 8: the range opens to 4 .. 12 before the margins, so the
    // points lie on the middle of the plot and 8 is a labelled tick.
    Row(0, {1, 2, 3, 4});
    Row(1, {8, 8, 8, 8});
    ws.graphTables.SeriesStyles[0] = 1;
    Graph(KindFunctions, 0);
    Draw();
    const GraphLayout& l = graph.layout();
    for (PixelPoint p : CircleCentres())
        EXPECT_NEAR(p.y, l.top + l.height / 2.0, 1.0);
    const DrawOp* eight = canvas.FindText(" 8");
    ASSERT_NE(eight, nullptr);
    EXPECT_NEAR(eight->points[0].y + 7, l.top + l.height / 2.0, 1.0);
}

TEST_F(Tgra, BarsOfTheXYKindsStandOnZero) {
    // Frequencies 1..4: the smallest bar still has its height.
    Row(0, {1, 2, 3, 4});
    Row(1, {1, 3, 4, 2});
    ws.graphTables.SeriesStyles[0] = 3;
    Graph(KindFunctions, 0);
    Draw();
    auto bars = Ops(K::Rectangle);
    bars.erase(bars.begin());  // the plot frame
    ASSERT_EQ(bars.size(), 4u);
    const int zero = bars[0].rect.bottom;
    for (const DrawOp& bar : bars)
        EXPECT_EQ(bar.rect.bottom, zero);
    EXPECT_GT(bars[0].rect.height(), 10);
    EXPECT_NEAR(bars[2].rect.height(), 4 * bars[0].rect.height(), 4);
}

TEST_F(Tgra, ThousandsOfThinBarsDrawAsOneBarPerColumn) {
    std::vector<double> x, y;
    for (int i = 0; i < 1000; ++i) {
        x.push_back(i);
        y.push_back(i % 7 + 1);
    }
    Row(0, x);
    Row(1, y);
    ws.graphTables.SeriesStyles[0] = 3;
    Graph(KindFunctions, 0);
    Draw();
    auto bars = Ops(K::Rectangle);
    bars.erase(bars.begin());
    EXPECT_LE(bars.size(), static_cast<std::size_t>(graph.layout().width + 1));
    // Y from 0 to 7 with margins of 0.35 over 435 pixels from y = 455: zero
    // lies at 436 and 7 at 40; the tallest points still reach it.
    int top = graph.layout().bottom();
    for (const DrawOp& bar : bars) {
        top = std::min(top, bar.rect.top);
        EXPECT_EQ(bar.rect.bottom, 436);
    }
    EXPECT_EQ(top, 40);
}

TEST_F(Tgra, DescribedSeriesStyles) {
    // Points in rows 0 and 1, partners in the spare row after the loaded ones.
    Row(0, {1, 2, 3});
    Row(1, {1, 4, 2});
    ws.VarLength[0] = 1;
    Row(2, {2, -1, 0});
    ws.VarLength[0] = 1;
    const struct {
        int style;
        int polylines, markers, extraLines;
    } cases[] = {
        {0, 1, 0, 0},    // a line
        {1, 1, 3, 0},    // line and markers
        {254, 0, 3, 0},  // -2: markers only
        {4, 0, 3, 3},    // markers and rays to the origin
        {5, 0, 0, 2},    // lines to the partners: point 0 -> 2, point 2 -> 0
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.style);
        ws.graphTables.Describe(0, 0, 1, 0, c.style);
        Graph(KindDescribed, 0);
        Draw();
        EXPECT_EQ(Ops(K::Polyline).size(), static_cast<std::size_t>(c.polylines));
        EXPECT_EQ(Ops(K::Ellipse).size(), static_cast<std::size_t>(c.markers));
        int plain = 0;  // solid pen lines that are no axis ticks
        for (const DrawOp& op : Ops(K::Line))
            plain += op.pen == MakePalette(ColourMode::Colour)[8] ? 1 : 0;
        EXPECT_EQ(plain, c.extraLines);
    }
    // Rays end at the origin's pixel.
    ws.graphTables.Describe(0, 0, 1, 0, 4);
    Graph(KindDescribed, 0);
    Draw();
    const auto lines = Ops(K::Line);
    const DrawOp& ray = lines.back();
    EXPECT_EQ(ray.pen, MakePalette(ColourMode::Colour)[8]);
    const GraphLayout& l = graph.layout();
    EXPECT_LT(ray.points[1].x, l.left + l.width / 3);
}

TEST_F(Tgra, BarChartCategoriesAndSeries) {
    Row(0, {10, 20, 30});
    Row(1, {5, 5, 5});
    ws.SelectedColumns[0] = 2;
    ws.SelectedColumns[1] = 1;
    ws.SelectedColumns[2] = 2;
    ws.sheet.SetCell(1, 0, "   Альфа");
    ws.sheet.SetCell(2, 0, "    Бета");
    Graph(KindBars, 1, {true, 0});
    Draw();
    // Variable names under the categories, one bar per observation.
    EXPECT_NE(canvas.FindText("Альфа"), nullptr);
    EXPECT_NE(canvas.FindText("Бета"), nullptr);
    auto bars = Ops(K::Rectangle);
    bars.erase(bars.begin());
    ASSERT_EQ(bars.size(), 6u);
    // Series (observation) by series: 10 and 5, then 20 and 5, then 30 and 5.
    EXPECT_NEAR(bars[2].rect.height(), 2 * bars[0].rect.height(), 2);
    EXPECT_NEAR(bars[0].rect.height(), 2 * bars[1].rect.height(), 2);
    EXPECT_EQ(bars[0].brush, MakePalette(ColourMode::Colour)[8]);

    // The category-label toggle: observations along X, bars per variable.
    graph.axCh();
    Draw();
    EXPECT_NE(canvas.FindText("3"), nullptr);
    EXPECT_EQ(canvas.FindText("Альфа"), nullptr);

    // With the 3-D effect every bar gets its two faces.
    graph.gDim();
    Draw();
    EXPECT_EQ(Ops(K::Polygon).size(), 12u);
}

TEST_F(Tgra, HundredPercentTowersReachTheLargestTotal) {
    Row(0, {4, 8});
    Row(1, {6, 12});  // category totals 10 and 20
    Graph(KindTower100, 1, {true, 0});
    Draw();
    auto blocks = Ops(K::Rectangle);
    blocks.erase(blocks.begin());
    ASSERT_EQ(blocks.size(), 4u);
    EXPECT_EQ(blocks[0].rect.bottom - blocks[1].rect.top,
              blocks[2].rect.bottom - blocks[3].rect.top);
}

TEST_F(Tgra, PieLabelsSharesAboveOnePercent) {
    Row(0, {99.2, 0.8});
    Graph(KindBars, 0);
    graph.axCh();   // one variable, its observations as slices
    graph.gForm();  // lines
    graph.gForm();  // pie
    EXPECT_EQ(graph.drawingType(), DrawingType::Pie);
    Draw();
    EXPECT_EQ(Ops(K::Pie).size(), 2u);
    EXPECT_NE(canvas.FindText("99.2%"), nullptr);
    EXPECT_EQ(canvas.FindText("0.8%"), nullptr);
}

TEST_F(Tgra, TreeLegsBarsAndNumbers) {
    // Two pairs: positions (1, 2) joined at 0.5, (2, 3) at 1.5; objects 3 and 1.
    Row(0, {1, 2, 2, 3});
    Row(1, {0.5, 2, 1.5, 0});
    Graph(KindTree, 0);
    Draw();
    const Palette palette = MakePalette(ColourMode::Colour);
    int legs = 0, bars = 0;
    for (const DrawOp& op : Ops(K::Line)) {
        legs += op.pen == palette[0] ? 1 : 0;
        bars += op.pen == palette[1] ? 1 : 0;
    }
    EXPECT_EQ(legs, 4);
    EXPECT_EQ(bars, 2);
    ASSERT_NE(canvas.FindText("3"), nullptr);
    ASSERT_NE(canvas.FindText("1"), nullptr);
    EXPECT_GT(canvas.FindText("3")->points[0].y, graph.layout().bottom());
}

TEST_F(Tgra, ToggleCycles) {
    Row(0, {1, 2});
    Row(1, {1, 2});
    Graph(KindFunctions, 0);
    std::vector<int> widths;
    for (int i = 0; i < 6; ++i) {
        graph.glWidth();
        widths.push_back(graph.settings().lineWidth);
    }
    EXPECT_EQ(widths, (std::vector<int>{3, 4, 5, 6, 1, 2}));

    std::string projections;
    for (int i = 0; i < 6; ++i) {
        graph.sProec3();
        projections += graph.ProjectionCaption();
    }
    EXPECT_EQ(projections, "XYZ*+0");

    // X-Y graphs: 3-D on and off; plain pairs have no deviations to show.
    graph.gDim();
    graph.gDim();
    EXPECT_EQ(graph.settings().effect3D, 0);
    graph.gForm();
    EXPECT_EQ(graph.drawingType(), DrawingType::Pairs);
    Row(2, {0.1, 0.2});
    Graph(KindDeviations, 0);
    graph.gForm();
    EXPECT_EQ(graph.drawingType(), DrawingType::Pairs);
    graph.gForm();
    EXPECT_EQ(graph.drawingType(), DrawingType::Deviations);

    // Bars side by side: 0 -> 1 -> 2 -> 0; stacking 0 -> 1 -> 2 -> 0;
    // the pie keeps stacking at 0.
    Graph(KindBars, 1);
    std::vector<int> effects, stacks;
    for (int i = 0; i < 3; ++i) {
        graph.gDim();
        effects.push_back(graph.settings().effect3D);
        graph.Stack();
        stacks.push_back(graph.settings().stacking);
        graph.Stack();
        graph.Stack();
    }
    EXPECT_EQ(effects, (std::vector<int>{1, 2, 0}));
    EXPECT_EQ(stacks, (std::vector<int>{1, 1, 1}));
    graph.gForm();
    graph.gForm();
    graph.Stack();
    EXPECT_EQ(graph.settings().stacking, 0);
    graph.gForm();
    EXPECT_EQ(graph.drawingType(), DrawingType::Bars);
    // A tower that went round through the pie is a tower again.
    Graph(KindTower, 1);
    for (int i = 0; i < 3; ++i)
        graph.gForm();
    EXPECT_EQ(graph.settings().stacking, 1);
}

namespace {

// Everything a drawing did, in one comparable text. A fresh canvas each
// time: no pen is left over from the drawing before.
std::string Fingerprint(const TGra& graph) {
    RecordingCanvas canvas{640, 480, 7, 14};
    graph.DG(canvas);
    std::string all;
    for (const DrawOp& op : canvas.ops()) {
        all += std::to_string(static_cast<int>(op.kind)) + ":";
        for (const PixelPoint& p : op.points)
            all += std::to_string(p.x) + "," + std::to_string(p.y) + " ";
        all += std::to_string(op.rect.left) + "," + std::to_string(op.rect.top) + "," +
               std::to_string(op.rect.right) + "," + std::to_string(op.rect.bottom) + " " +
               op.text + " " + std::to_string(op.pen) + "/" + std::to_string(op.penWidth) + "/" +
               std::to_string(op.brush) + "/" + std::to_string(static_cast<int>(op.pattern)) + "/" +
               std::to_string(op.start) + "/" + std::to_string(op.sweep) + "\n";
    }
    return all;
}

}  // namespace

// Every tool-bar button that acts on a kind changes its drawing and, pressed
// on, comes back to the drawing the method made; a button that does not act
// on the kind changes nothing.
TEST_F(Tgra, ToolBarButtonsChangeTheDrawingAndComeBack) {
    using A = GraphAction;
    struct Case {
        const char* name;
        int kind;
        int lastSeries;
        std::vector<A> acting;
    };
    const std::vector<Case> cases{
        // The histogram: bars and the normal curve.
        {"histogram",
         KindFunctions,
         1,
         {A::LineWidth, A::SeriesStyle, A::Colour, A::Grid, A::NextSeries, A::SaveIntoSheet,
          A::Captions}},
        {"deviations",
         KindDeviations,
         0,
         {A::LineWidth, A::Form, A::SeriesStyle, A::Colour, A::Grid, A::SaveIntoSheet,
          A::Captions}},
        {"described",
         KindDescribed,
         1,
         {A::LineWidth, A::SeriesStyle, A::Colour, A::Grid, A::NextSeries, A::SaveIntoSheet,
          A::Captions}},
        {"bars",
         KindBars,
         1,
         {A::SwapAxes, A::Stacking, A::Effect3D, A::Form, A::Colour, A::Grid, A::SaveIntoSheet,
          A::Captions}},
        {"tower",
         KindTower,
         1,
         {A::SwapAxes, A::Stacking, A::Effect3D, A::Form, A::Colour, A::Grid, A::SaveIntoSheet,
          A::Captions}},
        {"scatter 3-D",
         KindScatter3D,
         1,
         {A::LineWidth, A::Colour, A::Grid, A::Rotation, A::Projection, A::SaveIntoSheet,
          A::Captions}},
        {"tree", KindTree, 0, {A::LineWidth, A::Colour, A::Grid, A::Captions}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.kind == KindTree) {
            Row(0, {1, 2, 2, 3});
            Row(1, {0.5, 2, 1.5, 0});
        } else {
            for (int r = 0; r < 6; ++r)
                Row(r, {1.0 + r, 3.0 - r * 0.5, 2.0 + r * r});
        }
        ws.graphTables.SeriesStyles[0] = 3;
        ws.graphTables.SeriesStyles[1] = 0;
        ws.graphTables.Describe(0, 0, 1, 0, 4);    // markers with rays to the origin
        ws.graphTables.Describe(1, 2, 3, 1, 254);  // markers only (-2)
        for (const GraphToolButton& button : GraphToolButtons()) {
            SCOPED_TRACE(button.name);
            Graph(c.kind, c.lastSeries);
            const std::string own = Fingerprint(graph);
            const bool acts =
                std::find(c.acting.begin(), c.acting.end(), button.action) != c.acting.end();
            EXPECT_EQ(graph.Acts(button.action), acts);
            if (button.action == A::Captions || button.action == A::SaveIntoSheet)
                continue;  // a dialog, a write into the sheet: tested on their own
            const unsigned revision = graph.revision();
            if (!acts) {
                graph.Run(button.action);
                EXPECT_EQ(graph.revision(), revision);
                continue;
            }
            // Rotation shows its panel and the series button its number:
            // the drawing itself stays. Projections "0" and "X" both drop
            // the points to the floor: go round until a change came back.
            const bool redraws = button.action != A::Rotation && button.action != A::NextSeries;
            bool changed = false;
            int presses = 0;
            std::string now;
            do {
                graph.Run(button.action);
                ++presses;
                now = Fingerprint(graph);
                changed = changed || now != own;
            } while ((now != own || (redraws && !changed)) && presses < 8);
            EXPECT_EQ(changed, redraws);
            EXPECT_EQ(Fingerprint(graph), own) << "after " << presses << " presses";
        }
    }
}

TEST_F(Tgra, SeriesStyleAndCurrentSeries) {
    Row(0, {1, 2});
    Row(1, {1, 2});
    Row(2, {1, 2});
    Row(3, {2, 1});
    Graph(KindFunctions, 1);
    Draw();
    EXPECT_EQ(Ops(K::Ellipse).size(), 0u);
    graph.NlinC();
    EXPECT_EQ(graph.SeriesButtonCaption(), "2");
    graph.MarkC();  // series 2: line only -> line and markers
    Draw();
    EXPECT_EQ(Ops(K::Ellipse).size(), 0u) << "series 2 draws squares";
    EXPECT_EQ(Ops(K::Rectangle).size(), 1u + 2u);
    graph.NlinC();
    EXPECT_EQ(graph.SeriesButtonCaption(), "1");
}

TEST_F(Tgra, NamesBesideMarkedPoints) {
    Row(0, {1, 2});
    Row(1, {1, 2});
    ws.sheet.SetCell(0, 1, "  Москва");
    ws.sheet.SetCell(0, 2, "   Тверь");
    ws.graphTables.SeriesStyles[0] = 2;
    Graph(KindFunctions, 0);
    Draw();
    EXPECT_EQ(canvas.FindText("Москва"), nullptr);
    graph.Subs1();
    Draw();
    EXPECT_NE(canvas.FindText("Москва"), nullptr);
    EXPECT_NE(canvas.FindText("Тверь"), nullptr);
    // Without markers the points get no names.
    ws.graphTables.SeriesStyles[0] = 0;
    Graph(KindFunctions, 0);
    graph.Subs1();
    Draw();
    EXPECT_EQ(canvas.FindText("Москва"), nullptr);
}

TEST_F(Tgra, ScatterInThreeDimensions) {
    Row(0, {0, 1, 2});
    Row(1, {0, 1, 0});
    Row(2, {0, 2, 1});
    Graph(KindScatter3D, 0);
    Draw();
    EXPECT_EQ(Ops(K::Ellipse).size(), 3u);
    EXPECT_EQ(Ops(K::Polygon).size(), 3u) << "floor, left and back walls";

    // A quarter turn in the XY plane about the centre (1, 0.5) with the
    // half spans (1, 0.5): scaled, (x, y) becomes (y, -x).
    graph.sr3D();
    for (int i = 0; i < 18; ++i)
        graph.Rotate(RotationPlane::XY, 1);
    graph.Sv3Dt();
    const auto& x = graph.data().Row(0);
    const auto& d = graph.data().Row(1);
    const auto& z = graph.data().Row(2);
    EXPECT_NEAR(x[0], 0.0, 1e-9);  // scaled (-1, -1) -> (-1, 1)
    EXPECT_NEAR(d[0], 1.0, 1e-9);
    EXPECT_NEAR(x[1], 2.0, 1e-9);  // scaled (0, 1) -> (1, 0)
    EXPECT_NEAR(d[1], 0.5, 1e-9);
    EXPECT_EQ(z[1], 2.0);
    EXPECT_EQ(graph.settings().angleXY, 0.0);
}

TEST_F(Tgra, TextsAndPicturesStayOverRedraws) {
    Row(0, {1, 2});
    Row(1, {1, 2});
    Graph(KindFunctions, 0);
    graph.AddText(100, 120, "Максимум при x=2");
    graph.PointerPressed(300, 200);
    graph.PointerReleased(300, 200);
    graph.PasteBitmap({2, 2, {0, 0, 0, 0}});
    graph.SetgCl();
    graph.glWidth();
    graph.Resize(500, 400);
    Draw();
    const DrawOp* text = canvas.FindText("Максимум при x=2");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->points[0], (PixelPoint{100, 120}));
    EXPECT_GE(text->rect.width(), 16 * 7) << "the whole text, not 80 pixels of it";
    ASSERT_EQ(Ops(K::Bitmap).size(), 1u);
    EXPECT_EQ(Ops(K::Bitmap)[0].rect, (PixelRect{300, 200, 301, 201}));
    // Drawn last, over the graph, in the order they were put there.
    const auto& ops = canvas.ops();
    EXPECT_EQ(ops[ops.size() - 2].kind, K::Text);
    EXPECT_EQ(ops.back().kind, K::Bitmap);
    // A new graph in the window starts clean.
    Graph(KindFunctions, 0);
    EXPECT_TRUE(graph.overlays().empty());
}

TEST_F(Tgra, SavesItsRowsIntoTheSheet) {
    Row(0, {1, 2});
    Row(1, {3, 4});
    Row(2, {5, 6, 7});
    Row(3, {8, 9, 10});
    ws.sheet.SetVariableCount(1);
    ws.sheet.SetColumnLength(1, 2);
    Graph(KindFunctions, 1);
    Row(0, {0, 0});  // the store moved on
    graph.SaveIntoSheet();
    EXPECT_EQ(ws.sheet.VariableCount(), 5);
    EXPECT_EQ(SheetValue(ws, 2, 0), 1.0);
    EXPECT_EQ(SheetValue(ws, 3, 1), 4.0);
    EXPECT_EQ(SheetValue(ws, 5, 2), 10.0);
    EXPECT_EQ(ws.sheet.ColumnLength(5), 3);
}

// The legend names each series as the method named it, then as its variable
// or its number; the names hold for one request only.
TEST_F(Tgra, LegendEntriesCarryTheSeriesNames) {
    for (int r = 0; r < 4; ++r)
        Row(r, {1.0 + r, 2.0, 3.0});
    ws.graphTables.SeriesNames[0] = "Частоты";
    ws.graphTables.SeriesNames[1] = "Нормальная кривая";
    Graph(KindFunctions, 1);
    graph.ToggleLegend();
    Draw();
    EXPECT_NE(canvas.FindText("Частоты"), nullptr);
    EXPECT_NE(canvas.FindText("Нормальная кривая"), nullptr);
    Graph(KindFunctions, 1);
    graph.ToggleLegend();
    Draw();
    EXPECT_EQ(canvas.FindText("Частоты"), nullptr);
    EXPECT_NE(canvas.FindText("2"), nullptr);
}

}  // namespace
}  // namespace dalvex
