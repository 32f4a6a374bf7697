// The graph menu, its variable dialog and the graphs made from the chosen
// variables: the checks, missing cells, the layout each kind reads and the
// splines, as the graph windows receive them.
#include "dispatch/graph_menu.h"

#include <fstream>

#include "core/settings.h"
#include "dispatch/sheet_graph.h"
#include "dispatch_fixture.h"
#include "graphics/graph_data.h"
#include "numeric/splines.h"

namespace dalvex {
namespace {

// Keeps what each graph request handed over.
class GraphsReceived : public GraphHost {
  public:
    explicit GraphsReceived(Workspace& ws) : ws_(ws) { ws.graphs = this; }
    void GraSt(int, int) override {}
    void pqsegr(bool) override {}
    void ShowKind(int kind, int lastSeries, const KindSetup& setup) override {
        graphs.push_back(TakeGraphData(ws_, kind, lastSeries));
        setups.push_back(setup);
    }
    std::vector<GraphData> graphs;
    std::vector<KindSetup> setups;

  private:
    Workspace& ws_;
};

class GraphMenuTest : public DispatchFixture {
  protected:
    GraphMenuTest() : received(ws) {}

    // The menu's option fields as their texts: bars, 3-D, smoothing, steps, k.
    int Menu(int button, std::vector<std::string> fields) {
        ui.ExpectForm(GraphMenuCaption, button, std::move(fields));
        TGrMet menu(ws);
        const int answer = menu.Run();
        options = menu.options;
        return answer;
    }

    bool Draw(int answer, std::vector<int> columns, GraphOptions o = {}) {
        return DrawSheetGraph(ws, answer, std::move(columns), o);
    }
    const GraphData& Last() { return received.graphs.back(); }
    std::vector<std::string> Lines(const std::string& file) {
        std::vector<std::string> lines;
        ReadLinesFile(folder.WithSlash() + file, lines);
        return lines;
    }

    GraphsReceived received;
    GraphOptions options;
};

using Rows = std::vector<std::vector<double>>;

TEST_F(GraphMenuTest, MenuAnswersTheKindAndKeepsStepsCoefficientAndSmoothing) {
    EXPECT_EQ(Menu(KindSplineSmoothing, {"0", "1", "2", "30", "0,25"}), KindSplineSmoothing);
    EXPECT_EQ(ui.beeps(), 1) << "no qgrmet.ini yet";
    EXPECT_FALSE(options.bars);
    EXPECT_TRUE(options.effect3D);
    EXPECT_EQ(options.smoothing, 2);
    EXPECT_EQ(options.steps, 30);
    EXPECT_DOUBLE_EQ(options.coefficient, 0.25);
    EXPECT_EQ(Lines(GraphMenuMemory), (std::vector<std::string>{"30", "0.25", "2"}));

    // Shown again, the menu starts from the file; the check boxes are not kept.
    EXPECT_EQ(Menu(0, {}), 0);
    const FormDialog& shown = ui.forms().back();
    EXPECT_EQ(shown.Values(), (std::vector<std::string>{"1", "0", "2", "30", "0.25"}));
    EXPECT_EQ(ui.beeps(), 1);

    // The button texts and what they answer, the Y-series included.
    std::vector<std::pair<std::string, int>> buttons;
    for (const FormButton& b : shown.buttons)
        buttons.emplace_back(b.text, b.answer);
    EXPECT_EQ(buttons.size(), 19u);
    EXPECT_EQ(buttons[2], (std::pair<std::string, int>{"&3=Y-ряды", MenuYSeries}));
    EXPECT_EQ(buttons[6], (std::pair<std::string, int>{"&7=столб.диаграмма ", KindBars}));
    EXPECT_EQ(buttons[18], (std::pair<std::string, int>{"<Esc>=Отменить", 0}));
    EXPECT_EQ(GraphMenuEntryOf(MenuYSeries)->kind, KindDescribed);
}

TEST_F(GraphMenuTest, SplineButtonsRefuseStepsAndCoefficientsOutOfRange) {
    struct Case {
        int button;
        const char* steps;
        const char* k;
        const char* notice;
    };
    const Case cases[] = {{KindSplineInterpolation, "0", "0.5", StepsRefusedNotice},
                          {KindSplineInterpolation, "2.5", "0.5", StepsRefusedNotice},
                          {KindSplineSmoothing, "50", "1", CoefficientRefusedNotice},
                          {KindSplineSmoothing, "50", "0", CoefficientRefusedNotice},
                          {KindSplineSmoothing, "50", "k", CoefficientRefusedNotice}};
    for (const Case& c : cases) {
        ui.ClearLog();
        EXPECT_EQ(Menu(c.button, {"1", "0", "0", c.steps, c.k}), 0) << c.steps << " " << c.k;
        ASSERT_EQ(ui.notices().size(), 1u);
        EXPECT_EQ(ui.notices()[0], c.notice);
    }
    // Other kinds do not read the fields.
    EXPECT_EQ(Menu(KindScatter, {"1", "0", "0", "0", "7"}), KindScatter);
    EXPECT_EQ(Lines(GraphMenuMemory), (std::vector<std::string>{"50", "0.5", "0"}));
}

TEST_F(GraphMenuTest, VariableDialogShowsRolesAndRemembersTheChoice) {
    Sheet({{"a", "1"}, {"b", "2"}, {"c", "3"}, {"d", "4"}});
    struct Case {
        int answer;
        std::vector<std::string> roles;
    };
    const Case cases[] = {
        {KindFunctions, {"X", "Y", "X", "Y"}},    {KindDeviations, {"X", "Y", "d", "X"}},
        {KindScatter3D, {"X", "Y", "Z", "X"}},    {KindMap3D, {"X", "Y", "Z", ""}},
        {KindSuperDiagram, {"W", "a", "b", "c"}}, {MenuYSeries, {"Y", "Y", "Y", "Y"}},
        {KindBars, {"Y", "Y", "Y", "Y"}}};
    for (const Case& c : cases) {
        Tq34 dialog(ws, c.answer);
        dialog.Press(VariableAction::All, {});
        EXPECT_EQ(dialog.roles(1), c.roles) << c.answer;
        EXPECT_TRUE(dialog.roles(0).empty());
    }

    ui.ExpectVariables(GraphMenuCaption,
                       {{VariableAction::Include, {3, 1}}, {VariableAction::Confirm, {}}});
    ASSERT_EQ(pq34(ws, KindScatter), 1);
    EXPECT_EQ(Selected(), (std::vector<int>{1, 3}));
    EXPECT_EQ(ws.SelectedColumns[3], 0) << "names of points from the variables";
    ASSERT_EQ(Lines(GraphVariablesMemory).size(), 2u);

    Tq34 again(ws, KindScatter);
    again.Press(VariableAction::Restore, {});
    EXPECT_EQ(again.lists()[1].items,
              (std::vector<std::string>{VariableItem(ws, 1), VariableItem(ws, 3)}));
    again.Press(VariableAction::Exclude, {{}, {0, 1}});
    again.Press(VariableAction::Confirm, {});
    EXPECT_EQ(ws.LastAnswer, 0) << "an empty choice is no choice";
}

TEST_F(GraphMenuTest, IncompleteSetsAreTrimmedOrRefused) {
    Sheet({{"a", "1", "2", "3"},
           {"b", "4", "5", "6"},
           {"c", "7", "8", "9"},
           {"d", "1", "1", "2"},
           {"e", "3", "2", "1"}});
    // Five variables of functions: the notice, then two pairs.
    ASSERT_TRUE(Draw(KindFunctions, {1, 2, 3, 4, 5}));
    EXPECT_EQ(ui.notices(), std::vector<std::string>{IncompleteGraphNotice});
    EXPECT_EQ(Last().seriesCount, 2);
    EXPECT_EQ(Last().rows, (Rows{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {1, 1, 2}}));
    EXPECT_EQ(Last().title, "Функция: a, b, c, d");

    // One variable: against the observation numbers.
    ASSERT_TRUE(Draw(KindFunctions, {5}));
    EXPECT_EQ(Last().rows, (Rows{{0, 1, 2}, {3, 2, 1}}));
    EXPECT_EQ(Last().SeriesName(0, 1), "e");

    struct Refused {
        int answer;
        std::vector<int> columns;
    };
    const Refused refused[] = {
        {KindDeviations, {1, 2}}, {KindScatter3D, {1, 2}}, {KindSuperDiagram, {1, 2, 3}},
        {KindColourMap, {1}},     {KindScatter, {}},       {MenuYSeries, {}}};
    for (const Refused& r : refused) {
        ui.ClearLog();
        const std::size_t before = received.graphs.size();
        EXPECT_FALSE(Draw(r.answer, r.columns)) << r.answer;
        EXPECT_EQ(ui.notices(), std::vector<std::string>{IncompleteGraphNotice}) << r.answer;
        EXPECT_EQ(received.graphs.size(), before) << r.answer;
    }

    ui.ClearLog();
    ASSERT_TRUE(Draw(KindScatter, {1, 2}));
    EXPECT_EQ(Last().title, "Рассеяние: a, b");
    EXPECT_TRUE(ui.notices().empty());
}

TEST_F(GraphMenuTest, MissingCellsLeaveTheirPairOnlyAndEmptySeriesAreNamed) {
    Sheet({{"x", "1", "2", "3", "4", "5"},
           {"y", "10", "", "30", "40", "50"},
           {"u", "1", "2", "3", "x", "5"},
           {"v", "7", "8", "9", "6", "5"},
           {"p", "1", "2"},
           {"q", "", "", "3"}});
    // Pairwise: (x, y) loses observation 2, (u, v) observation 4; (p, q) has none left.
    ASSERT_TRUE(Draw(KindFunctions, {1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(Last().seriesCount, 2);
    EXPECT_EQ(Last().rows, (Rows{{1, 3, 4, 5}, {10, 30, 40, 50}, {1, 2, 3, 5}, {7, 8, 9, 5}}));
    EXPECT_EQ(ui.notices(), std::vector<std::string>{RunNotices::Naming(EmptySeriesNotice, {"q"})});

    // Ordered values and box plots drop each variable's own, sorted.
    ASSERT_TRUE(Draw(KindDistributions, {2, 3}));
    EXPECT_EQ(Last().rows, (Rows{{10, 30, 40, 50}, {1, 2, 3, 5}}));

    // Y-series: each against the numbers of the observations it has.
    ASSERT_TRUE(Draw(MenuYSeries, {2, 5}));
    EXPECT_EQ(Last().kind, KindDescribed);
    EXPECT_EQ(Last().title, "Y-ряды: y, p");
    EXPECT_EQ(Last().rows, (Rows{{0, 2, 3, 4}, {10, 30, 40, 50}, {0, 1}, {1, 2}}));
    ASSERT_EQ(Last().descriptions.size(), 2u);
    EXPECT_EQ(Last().descriptions[1].xRow, 2);
    EXPECT_EQ(Last().descriptions[1].yRow, 3);
    EXPECT_EQ(Last().descriptions[1].style, 0);
    EXPECT_EQ(Last().SeriesName(1, 3), "p");

    // Nothing left at all: nothing drawn.
    ui.ClearLog();
    const std::size_t before = received.graphs.size();
    EXPECT_FALSE(Draw(KindScatter, {5, 6}));
    EXPECT_EQ(received.graphs.size(), before);
    EXPECT_EQ(ui.notices(), std::vector<std::string>{RunNotices::Naming(EmptySeriesNotice, {"q"})});

    // The business and multivariate kinds keep whole observations, a series
    // a variable (a triple for the 3-D scatter).
    const std::pair<int, int> together[] = {{KindBars, 3},
                                            {KindTower, 3},
                                            {KindPie, 3},
                                            {KindColourMap, 3},
                                            {KindScatter3D, 1},
                                            {KindMap3D, 1},
                                            {KindSmoothingSurface, 1}};
    for (const auto& [answer, series] : together) {
        ASSERT_TRUE(Draw(answer, {1, 2, 3}, {false, true, 0, 50, 0.5})) << answer;
        EXPECT_EQ(Last().seriesCount, series) << answer;
        EXPECT_EQ(Last().rows[2], (std::vector<double>{1, 3, 5})) << answer;
        EXPECT_FALSE(received.setups.back().bars);
        EXPECT_EQ(received.setups.back().effect3D, 1);
    }
    EXPECT_EQ(Last().rows[0], (std::vector<double>{10, 30, 50})) << "the map's first two exchanged";
}

TEST_F(GraphMenuTest, SplinesAreFittedToThePairSortedByX) {
    // Points of y = x^3 - x given out of order: not-a-knot through four
    // points is that cubic.
    Sheet({{"x", "2", "0", "3", "1"}, {"y", "6", "0", "24", "0"}});
    ASSERT_TRUE(Draw(KindSplineInterpolation, {1, 2}, {true, false, 0, 6, 0.5}));
    const GraphData& g = Last();
    EXPECT_EQ(g.kind, KindSplineInterpolation);
    EXPECT_EQ(g.title, "Сплайны: x, y");
    EXPECT_EQ(g.seriesCount, 2);
    EXPECT_EQ(g.rows[0], (std::vector<double>{0, 1, 2, 3}));
    EXPECT_EQ(g.rows[1], (std::vector<double>{0, 0, 6, 24}));
    ASSERT_EQ(g.rows[2].size(), 7u);
    for (std::size_t k = 0; k < 7; ++k) {
        const double x = 0.5 * static_cast<double>(k);
        EXPECT_DOUBLE_EQ(g.rows[2][k], x);
        EXPECT_NEAR(g.rows[3][k], x * x * x - x, 1e-12) << x;
    }
    EXPECT_EQ(g.styles, (std::vector<int>{2, 0}));
    EXPECT_EQ(g.SeriesName(1, 3), "Сплайн-интерполяция");
}

TEST_F(GraphMenuTest, SplineCurveStepsAndItsRefusals) {
    std::vector<std::string> x{"x"}, y{"y"};
    for (int i = 0; i < 501; ++i) {
        x.push_back(std::to_string(i));
        y.push_back(std::to_string((i * 37) % 11));
    }
    std::vector<std::string> x30(x.begin(), x.begin() + 31), y30(y.begin(), y.begin() + 31);
    Sheet({x, y, x30, y30, {"two", "1", "2"}, {"same", "1", "1", "2"}});

    // Ten steps asked for 30 points: five a point interval, 146 grid points.
    ASSERT_TRUE(Draw(KindSplineSmoothing, {3, 4}, {true, false, 0, 10, 0.5}));
    EXPECT_EQ(Last().rows[2].size(), 146u);
    // The curve is the smoothing spline of bound n k Var(Y).
    const std::vector<double> px(Last().rows[0]), py(Last().rows[1]);
    const CubicPieces s = SmoothingSpline(px, py, SmoothingBound(py, 0.5));
    EXPECT_NEAR(Last().rows[3][73], SplineValue(s, Last().rows[2][73]), 1e-12);

    struct Case {
        std::vector<int> columns;
        const char* notice;
    };
    const Case cases[] = {{{1, 2}, SplinePointCountNotice},
                          {{5}, SplinePointCountNotice},
                          {{6, 6}, SplineEqualXNotice}};
    for (const Case& c : cases) {
        ui.ClearLog();
        ASSERT_TRUE(Draw(KindSplineInterpolation, c.columns));
        EXPECT_EQ(ui.notices(), std::vector<std::string>{c.notice});
        EXPECT_EQ(Last().seriesCount, 1) << "the points without a curve";
        EXPECT_EQ(Last().styles, std::vector<int>{2});
    }
}

}  // namespace
}  // namespace dalvex
