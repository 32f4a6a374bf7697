#include "dispatch/dispatcher.h"

#include "core/arithmetic_fault.h"
#include "dispatch/loading.h"
#include "dispatch_fixture.h"
#include "graphics/graph_desk.h"
#include "output/text_resource.h"

namespace dalvex {
namespace {

struct RecordingWindows : RunWindows {
    explicit RecordingWindows(TSMForm& form) : form(form) {}
    void ShowResults() override { ++resultsShown; }
    void CloseDiscardedGraphs() override {
        for (int number : form.TakeGraphsToClose())
            closed.push_back(number);
    }
    TSMForm& form;
    std::string DataFileName() const override { return "data.dvx"; }
    int resultsShown = 0;
    std::vector<int> closed;
};

class DispatcherTest : public DispatchFixture {
  protected:
    DispatcherTest() : form(ws), windows(form), dispatcher(ws, form, methods, windows) {}

    // Every method with a routine that notes what it was run with.
    void RegisterAll(MethodChoice choice = [](Workspace&) { return 1; }) {
        for (int m = 1; m <= 37; ++m)
            methods.Add(
                m, [this](MethodRun& run) { runs.push_back(run); }, choice);
    }
    std::string Header(int method) const {
        return TextResources::Builtin().Entry(method + 49, 1) + "  Файл: data.dvx";
    }

    TSMForm form;
    MethodRegistry methods;
    RecordingWindows windows;
    MethodDispatcher dispatcher;
    std::vector<MethodRun> runs;
};

TEST_F(DispatcherTest, CancellingMethodOnesDialogLeavesTheHeaderAndTwoEmptyLines) {
    RegisterAll();
    Sheet({{"a", "1"}, {"b", "2"}});
    ui.ExpectVariables("Анализ переменных", {{VariableAction::Cancel, {}}});
    dispatcher.FormIni(1);
    EXPECT_EQ(results.lines, (std::vector<std::string>{Header(1), "", ""}));
    EXPECT_TRUE(runs.empty());
    EXPECT_EQ(windows.resultsShown, 2);  // at the start and after the run
    EXPECT_EQ(form.runState, TSMForm::RunState::Idle);
    EXPECT_EQ(ws.RunHelpContext, 0);
}

TEST_F(DispatcherTest, MethodOneRunsOnTheChosenRowsWithMissingValuesRemoved) {
    RegisterAll();
    Sheet({{"a", "1", "x", "3"}, {"b", "4", "5"}});
    ui.ExpectVariables("Анализ переменных", {{VariableAction::Include, {2}},
                                             {VariableAction::Include, {1}},
                                             {VariableAction::Confirm, {}}});
    int helpDuringRun = 0;
    methods.Add(1, [&](MethodRun& run) {
        helpDuringRun = run.ws.RunHelpContext;
        runs.push_back(run);
        WriteResult(run.ws, "routine");
    });
    dispatcher.FormIni(1);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(helpDuringRun, 100);
    EXPECT_EQ(ws.VerdictGroup, -1);
    EXPECT_EQ(Row(0), (std::vector<double>{4, 5}));
    EXPECT_EQ(Row(1), (std::vector<double>{1, 3}));
    EXPECT_EQ(results.lines,
              (std::vector<std::string>{Header(1), "Пропущн=1 1", "routine", "", ""}));
}

TEST_F(DispatcherTest, ArithmeticFaultInterruptsTheRunAndKeepsWhatWasWritten) {
    methods.Add(3, [](MethodRun& run) {
        WriteResult(run.ws, "before");
        CheckedDivide(1.0, 0.0);
        WriteResult(run.ws, "after");
    });
    dispatcher.FormIni(3);
    EXPECT_EQ(results.lines, (std::vector<std::string>{Header(3), "before", "", ""}));
    EXPECT_EQ(ui.notices(), std::vector<std::string>{
                                InterruptionText(ArithmeticFault(FaultKind::DivisionByZero))});
    EXPECT_EQ(form.runState, TSMForm::RunState::Idle);
}

TEST_F(DispatcherTest, CancelledMethodChoiceOfTwelveEndsAtOnceAndTabsWorkAgain) {
    RegisterAll([](Workspace&) { return 0; });
    Sheet({{"a", "1"}});
    dispatcher.FormIni(12);
    EXPECT_EQ(results.lines, std::vector<std::string>{Header(12)});
    EXPECT_TRUE(runs.empty());
    EXPECT_EQ(form.runState, TSMForm::RunState::Idle);
    EXPECT_TRUE(form.ChooseTab(0, 800, 600).has_value());
}

// Methods that need every variable stop with a notice on an empty sheet.
TEST_F(DispatcherTest, AllVariablesOfAnEmptySheetEndTheRunWithANotice) {
    RegisterAll();
    // Discriminant (24), cluster (25), factor analysis (26) and scaling (27)
    // read the sheet themselves.
    for (int method : {12, 13, 14, 19, 37}) {
        results.lines.clear();
        dispatcher.FormIni(method);
        EXPECT_TRUE(runs.empty()) << method;
        EXPECT_EQ(ui.notices().back(), TooFewValuesNotice) << method;
        EXPECT_EQ(results.lines.back(), "") << method;
    }
}

// A cancelled variable dialog ends every method that asks for variables.
TEST_F(DispatcherTest, CancelledVariableDialogNeverRunsTheRoutine) {
    RegisterAll();
    Sheet({{"a", "1", "2"}, {"b", "3", "4"}});
    struct Case {
        int method;
        const char* dialog;
    };
    for (const Case& c : {Case{1, "Анализ переменных"}, Case{2, "Анализ переменной"},
                          Case{11, "Анализ переменных"}, Case{17, "Анализ переменной"},
                          Case{18, "Анализ переменной"}, Case{20, "Переменные регрессии"},
                          Case{21, "Переменные регрессии"}, Case{22, "Переменные регрессии"},
                          Case{35, "Анализ переменной"}, Case{36, "Анализ переменных"}}) {
        ws.SelectedColumns = {2, 1, 2};  // a stale choice
        ui.ExpectVariables(c.dialog, {{VariableAction::Cancel, {}}});
        results.lines.clear();
        dispatcher.FormIni(c.method);
        EXPECT_TRUE(runs.empty()) << c.method;
        EXPECT_EQ(results.lines.size(), c.method <= 35 ? 3u : 2u) << c.method;
    }
    EXPECT_TRUE(ui.scriptDone());
}

TEST_F(DispatcherTest, FourierModelsRunAgainUntilNoNewModelIsWanted) {
    RegisterAll();
    Sheet({{"a", "1", "2"}, {"b", "3", "4"}});
    ui.ExpectVariables("Анализ переменной", {{VariableAction::Include, {2}}})
        .ExpectYesNo(NewModelQuestion, true)
        .ExpectYesNo(NewModelQuestion, false);
    dispatcher.FormIni(35);
    EXPECT_EQ(runs.size(), 2u);
    EXPECT_EQ(Row(0), (std::vector<double>{3, 4}));
    EXPECT_EQ(ws.store.DataWidth(), CellCapacity / 7);
}

TEST_F(DispatcherTest, GroupAnalysisWritesTheHeaderOfTheChosenModel) {
    RegisterAll([](Workspace&) { return 3; });
    Sheet({{"a", "1", "2"}, {"b", "3", "4", "5"}});
    ui.ExpectVariables("Анализ переменных",
                       {{VariableAction::All, {}}, {VariableAction::Confirm, {}}});
    dispatcher.FormIni(36);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(results.lines.front(), "ГРУППОВОЙ 1+2-ФАКТОРНЫЙ АНАЛИЗ.  Файл: data.dvx");
    EXPECT_EQ(runs[0].rows, 2);
    EXPECT_EQ(runs[0].length, 2);
    EXPECT_EQ(ws.VerdictGroup, 9);
}

TEST_F(DispatcherTest, PreparationSetsVariantsModesAndVerdictGroups) {
    RegisterAll();
    Sheet({{"a", "1", "2"}, {"b", "3", "4"}, {"c", "5", "6"}});
    dispatcher.FormIni(13);
    EXPECT_EQ(ws.MethodVariant, 2);
    dispatcher.FormIni(28);
    EXPECT_EQ(ws.VerdictGroup, 74);
    ws.AnswerNumber = 0;
    ui.ExpectVariables("Переменные регрессии",
                       {{VariableAction::All, {}}, {VariableAction::Confirm, {}}});
    dispatcher.FormIni(22);
    EXPECT_EQ(ws.MethodVariant, 99);
    EXPECT_EQ(ws.VarLength[0], 2);
    dispatcher.FormIni(9);
    ASSERT_EQ(runs.size(), 4u);
    EXPECT_EQ(runs[3].mode, 5);
    EXPECT_TRUE(runs[3].listwise);
}

// The Pareto chart's graph stays in front; the discarded graph of another
// run is closed after it.
TEST_F(DispatcherTest, ParetoChartLeavesItsGraphInFront) {
    GraphDesk desk(ws, form);
    ws.graphs = &desk;
    Sheet({{"a", "1", "2"}});
    auto drawing = [](MethodRun& run) {
        run.ws.store.Data(0, 0) = 0;
        run.ws.store.Data(1, 0) = 1;
        run.ws.VarLength[0] = 1;
        run.ws.VarLength[1] = run.ws.VarLength[2] = 0;
        GraSt(run.ws, RequestPairs, 0);
        pqsegr(run.ws);
    };
    methods.Add(33, drawing).Add(3, drawing);
    ui.ExpectGraphPrompt(true).ExpectGraphPrompt(false);
    dispatcher.FormIni(33);
    EXPECT_EQ(windows.resultsShown, 1);  // only when the run began
    EXPECT_EQ(form.graphs().openCount(), 1);
    dispatcher.FormIni(3);
    EXPECT_EQ(windows.resultsShown, 3);
    EXPECT_EQ(windows.closed, std::vector<int>{2});
    EXPECT_EQ(form.graphs().openCount(), 1);
    ws.graphs = nullptr;
}

TEST_F(DispatcherTest, MethodWithoutARoutineCannotRun) {
    methods.Add(11, [](MethodRun&) {});  // its model choice is missing
    EXPECT_FALSE(dispatcher.available(11));
    EXPECT_FALSE(dispatcher.available(1));
    dispatcher.FormIni(1);
    EXPECT_TRUE(results.lines.empty());
}

}  // namespace
}  // namespace dalvex
