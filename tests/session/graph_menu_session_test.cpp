// The graph menu as the running program has it: F6's menu, the variable
// dialog and the graph window it opens, cancelling at any step, and a fault
// in the splines' arithmetic ending the command without a graph.
#include <gtest/gtest.h>

#include <fstream>

#include "dispatch/sheet_graph.h"
#include "session/session.h"
#include "support/temp_folder.h"

namespace dalvex {
namespace {

class GraphMenuSession : public ::testing::Test {
  protected:
    GraphMenuSession() : ws(ui), session(ws, MethodRegistry{}) {
        session.StartWithoutSettings(folder.WithSlash() + "memories");
    }
    void Open(const std::string& text) {
        std::ofstream(folder / "data.txt") << text;
        ASSERT_TRUE(session.files().Read((folder / "data.txt").string(), true));
    }

    TempFolder folder{"graph-menu-session"};
    ScriptedDialogs ui;
    Workspace ws;
    Session session;
};

TEST_F(GraphMenuSession, MenuVariablesAndWindowAndCancelAtEveryStep) {
    Open("x y\r\n1 2\r\n3 4\r\n5 7\r\n");
    ui.ExpectForm("Графики данных", KindScatter)
        .ExpectVariables("Графики данных",
                         {{VariableAction::Include, {1, 2}}, {VariableAction::Confirm, {}}});
    EXPECT_EQ(session.RunGraphMenu(), KindScatter);
    ASSERT_EQ(session.graphs().count(), 1);
    const TGra* graph = session.graphs().window(session.form().graphs().current());
    ASSERT_NE(graph, nullptr);
    EXPECT_EQ(graph->title(), "Рассеяние: x, y");
    EXPECT_EQ(graph->data().rows[1], (std::vector<double>{2, 4, 7}));
    EXPECT_EQ(ws.RunHelpContext, 0) << "the graph's help page was for the dialogs only";

    // The menu, the variable dialog or the surface dialog cancelled: no new window.
    ui.ExpectForm("Графики данных", 0)
        .ExpectForm("Графики данных", KindFunctions)
        .ExpectVariables("Графики данных", {{VariableAction::Cancel, {}}})
        .ExpectForm("Графики данных", MenuFunctionSurface);
    ScriptedAnswer cancelSurface;
    cancelSurface.kind = DialogKind::Formula;
    cancelSurface.cancel = true;
    ui.Push(cancelSurface);
    EXPECT_EQ(session.RunGraphMenu(), 0);
    EXPECT_EQ(session.RunGraphMenu(), KindFunctions);
    session.RunGraphMenu();
    EXPECT_TRUE(ui.scriptDone());
    EXPECT_EQ(session.graphs().count(), 1);
    EXPECT_TRUE(ui.notices().empty());

    // The function surface through its dialog.
    ui.ExpectForm("Графики данных", MenuFunctionSurface)
        .ExpectFormula("График поверхности", 1, {"x*y", "0", "1", "0", "1", "5"});
    session.RunGraphMenu();
    EXPECT_EQ(session.graphs().count(), 2);
    EXPECT_EQ(session.graphs().window(session.form().graphs().current())->kind(),
              KindFunctionSurface);
}

TEST_F(GraphMenuSession, OverflowInASplineEndsTheCommandWithoutAGraph) {
    Open("x y\r\n0 1e308\r\n1 -1e308\r\n2 1e308\r\n3 -1e308\r\n");
    EXPECT_FALSE(session.DrawGraph(KindSplineInterpolation, {1, 2}, {}));
    ASSERT_EQ(ui.notices().size(), 1u);
    EXPECT_EQ(ui.notices()[0].rfind("Прерывание: ", 0), 0u) << ui.notices()[0];
    EXPECT_EQ(session.graphs().count(), 0);
}

}  // namespace
}  // namespace dalvex
