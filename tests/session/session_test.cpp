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

}  // namespace
}  // namespace dalvex
