// The session wires a method run to whatever shows it: the data file named
// in the header, the results brought forward, the graphs discarded at the
// prompt closed in the models and in the windows.
#include "session/session.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "formula/function_list.h"
#include "support/temp_folder.h"

namespace dalvex {
namespace {

namespace fs = std::filesystem;

// A stand-in for a method that draws a graph and asks the graph prompt.
MethodRegistry GraphDrawingMethod() {
    MethodRegistry methods;
    methods.Add(1, [](MethodRun& run) {
        WriteResult(run.ws, "figures");
        GraSt(run.ws, RequestPairs, 0);
        pqsegr(run.ws);
    });
    return methods;
}

TEST(SessionTest, RunsAMethodInTheFrameOfTheWindowsAroundIt) {
    TempFolder folder("session");
    std::ofstream(folder / "xy.txt") << "x y\r\n1 2\r\n3 4\r\n5 7\r\n";
    ScriptedDialogs ui;
    Workspace ws(ui);
    {
        Session session(ws, GraphDrawingMethod());
        ASSERT_TRUE(session.StartWithoutSettings(folder.WithSlash() + "memories"));
        // The batch start keeps no settings but has the function list.
        EXPECT_TRUE(fs::exists(folder / "memories" / FunctionListFileName));
        EXPECT_FALSE(fs::exists(folder / "memories" / SettingsFileName));
        ASSERT_TRUE(session.files().Read((folder / "xy.txt").string(), true));

        int broughtForward = 0;
        std::vector<int> closed;
        session.showResults = [&] { ++broughtForward; };
        session.graphsDiscarded = [&](const std::vector<int>& numbers) {
            closed.insert(closed.end(), numbers.begin(), numbers.end());
        };
        ui.ExpectVariables("Анализ переменных",
                           {{VariableAction::Include, {1, 2}}, {VariableAction::Confirm, {}}})
            .ExpectGraphPrompt(false);
        EXPECT_TRUE(session.RunMethod(1));
        EXPECT_TRUE(ui.scriptDone());
        EXPECT_EQ(session.results().lines(),
                  (std::vector<std::string>{"ОПИСАТЕЛЬНАЯ СТАТИСТИКА.  Файл: xy.txt", "figures", "",
                                            ""}));
        EXPECT_GE(broughtForward, 1);
        EXPECT_EQ(closed, std::vector<int>{1});
        EXPECT_EQ(session.graphs().count(), 0);
        EXPECT_TRUE(session.form().graphs().order().empty());

        // A method the registry lacks does not run and writes nothing.
        EXPECT_FALSE(session.RunMethod(2));
        EXPECT_EQ(session.results().lines().size(), 4u);
    }
    // The workspace outlives the session and points into nothing of it.
    EXPECT_EQ(ws.report, nullptr);
    EXPECT_EQ(ws.graphs, nullptr);
}

// The surface dialog hands its formula and grid to the graph of kind 11:
// nX = 200 is cut to a 147 x 147 grid over -1..1 by 0..2.
TEST(SessionTest, TheSurfaceDialogDrawsTheSurfaceItAsksFor) {
    TempFolder folder("surface");
    ScriptedDialogs ui;
    Workspace ws(ui);
    Session session(ws, MethodRegistry{});
    ASSERT_TRUE(session.StartWithoutSettings(folder.WithSlash()));
    ui.ExpectFormula("График поверхности", 1, {"x*y", "-1", "1", "0", "2", "200"});
    ASSERT_TRUE(session.FunctionSurface());
    EXPECT_EQ(session.graphs().count(), 1);
    const int n = 147;
    EXPECT_EQ(ws.VarLength[1], n * n - 1);
    // Point (c, d) = (73, 146): x = 1, y = 1.
    const int index = 146 + n * 73;
    EXPECT_DOUBLE_EQ(ws.store.Data(0, index), 1.0);
    EXPECT_DOUBLE_EQ(ws.store.Data(1, index), 1.0);
    EXPECT_DOUBLE_EQ(ws.store.Data(2, index), 1.0);
    EXPECT_DOUBLE_EQ(ws.store.Data(2, 0), 0.0);  // x = -1, y = 0

    ScriptedAnswer cancel;
    cancel.kind = DialogKind::Formula;
    cancel.cancel = true;
    ui.Push(cancel);
    EXPECT_FALSE(session.FunctionSurface());
    EXPECT_EQ(session.graphs().count(), 1);
    EXPECT_TRUE(ui.scriptDone());
}

}  // namespace
}  // namespace dalvex
