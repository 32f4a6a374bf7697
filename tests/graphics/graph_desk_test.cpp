// Requests of the methods: the windows they open or reuse, the kinds they
// draw, the graph prompt.
#include "graphics/graph_desk.h"
#include "core/main_window_model.h"
#include "graph_fixture.h"

namespace dalvex {
namespace {

class Desk : public GraphTest {
  protected:
    Desk() {
        ws.graphs = &desk;
        desk.shown = [this](int number, bool created) { shown.push_back({number, created}); };
        Row(0, {1, 2, 3});
        Row(1, {4, 5, 6});
        Row(2, {7, 8, 9});
    }
    TSMForm form{ws};
    GraphDesk desk{ws, form};
    std::vector<std::pair<int, bool>> shown;
};

TEST_F(Desk, RequestsDrawTheirKinds) {
    const std::pair<int, int> kinds[] = {
        {1, KindFunctions}, {2, KindBars}, {3, KindDescribed}, {4, KindTree}, {5, KindScatter3D}};
    for (auto [request, kind] : kinds) {
        GraSt(ws, request, 0);
        const TGra* graph = desk.window(form.graphs().current());
        ASSERT_NE(graph, nullptr);
        EXPECT_EQ(graph->kind(), kind) << request;
    }
    // The bar chart comes with bars and the 3-D effect.
    EXPECT_EQ(desk.window(2)->drawingType(), DrawingType::Bars);
    EXPECT_EQ(desk.window(2)->settings().effect3D, 1);
    // An unknown request opens nothing.
    GraSt(ws, 9, 0);
    EXPECT_EQ(desk.count(), 5);
}

TEST_F(Desk, SixteenthRequestReusesWindowOne) {
    for (int i = 0; i < 15; ++i) {
        ws.SetTextBuffer("График " + std::to_string(i + 1));
        GraSt(ws, RequestPairs, 0);
    }
    EXPECT_EQ(desk.count(), 15);
    ws.SetTextBuffer("Шестнадцатый");
    Row(1, {0, 0, 0});
    GraSt(ws, RequestPairs, 0);
    GraSt(ws, RequestPairs, 0);
    EXPECT_EQ(desk.count(), 15);
    ASSERT_EQ(shown.size(), 17u);
    EXPECT_EQ(shown[14], (std::pair<int, bool>{15, true}));
    EXPECT_EQ(shown[15], (std::pair<int, bool>{1, false}));
    EXPECT_EQ(shown[16], (std::pair<int, bool>{2, false}));
    // Window 1 was set up afresh with the new graph.
    EXPECT_EQ(desk.window(1)->title(), "Шестнадцатый");
    EXPECT_EQ(desk.window(1)->data().Row(1), (std::vector<double>{0, 0, 0}));
    EXPECT_EQ(desk.window(3)->title(), "График 3");
}

TEST_F(Desk, PromptKeepsOrListsTheGraphForClosing) {
    dialogs.ExpectGraphPrompt(true).ExpectGraphPrompt(false);
    GraSt(ws, RequestPairs, 0);
    pqsegr(ws);
    GraSt(ws, RequestPairs, 0);
    pqsegr(ws);
    EXPECT_EQ(dialogs.graphPrompts(), 2);
    EXPECT_EQ(form.TakeGraphsToClose(), (std::vector<int>{2}));
    desk.Close(2);
    EXPECT_EQ(desk.window(2), nullptr);
    EXPECT_EQ(form.TabCaptions(), (std::vector<std::string>{"Dat", "Rez", "Gr1"}));

    // Offered with "Оставить" only, a script that discards does not match.
    dialogs.ExpectGraphPrompt(false);
    EXPECT_THROW(pqsegr(ws, false), ScriptMismatch);
    // A question is not the prompt.
    ScriptedDialogs other;
    other.ExpectYesNo("", true);
    EXPECT_THROW(other.GraphPrompt(true), ScriptMismatch);
}

TEST_F(Desk, WithoutAGraphHostRequestsDoNothing) {
    ws.graphs = nullptr;
    GraSt(ws, RequestPairs, 0);
    pqsegr(ws);
    EXPECT_EQ(desk.count(), 0);
    EXPECT_EQ(dialogs.graphPrompts(), 0);
}

}  // namespace
}  // namespace dalvex
