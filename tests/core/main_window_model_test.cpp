#include "core/main_window_model.h"

#include <gtest/gtest.h>

#include <set>

namespace dalvex {
namespace {

using Change = WindowPlacement::Change;

WindowPlacement Moved(int left, int top, int width, int height) {
    return {Change::MoveAndResize, {left, top, width, height}};
}
const WindowPlacement kKept{};

struct Fixture {
    ScriptedDialogs dialogs;
    Workspace ws{dialogs};
    TSMForm form{ws};

    void OpenGraphs(int n) {
        for (int i = 0; i < n; ++i)
            form.graphs().Open();
    }
    WindowPlacement GraphPlacement(const TilingPlan& plan, int number) {
        for (const auto& [n, placement] : plan.graphs)
            if (n == number)
                return placement;
        ADD_FAILURE() << "graph " << number << " missing from the plan";
        return {};
    }
};

// W = 999 and H = 600 make Trunc(W / K) and Trunc((W - 1) / K) differ for
// K = 3, and likewise the heights for L = 2, so a swapped formula shows.
TEST(TilingTest, DatTabPutsSheetResultsAndGraphsIntoCells) {
    Fixture f;
    f.OpenGraphs(5);
    f.form.SetLayout(4);  // 3*2
    const auto plan = f.form.ChooseTab(0, 999, 600);
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->sheet, Moved(0, 0, 333, 300));
    EXPECT_EQ(plan->results, Moved(333, 0, 332, 299));
    EXPECT_EQ(f.GraphPlacement(*plan, 1), Moved(666, 0, 332, 299));
    EXPECT_EQ(f.GraphPlacement(*plan, 2), Moved(0, 300, 332, 299));
    EXPECT_EQ(f.GraphPlacement(*plan, 3), Moved(333, 300, 332, 299));
    EXPECT_EQ(f.GraphPlacement(*plan, 4), Moved(666, 300, 332, 299));
    EXPECT_EQ(f.GraphPlacement(*plan, 5), kKept);  // no cell left
    EXPECT_EQ(plan->focusKind, 1);
    EXPECT_EQ(f.ws.ActiveWindowKind, 1);
    EXPECT_EQ(f.form.rememberedResultsLeft(), 333);
}

TEST(TilingTest, SingleColumnOnlyResizesResultsBehindTheSheet) {
    Fixture f;
    f.form.SetLayout(1);  // 2 окна: remembers left edge 499
    f.form.ChooseTab(0, 999, 600);
    f.form.SetLayout(0);
    const auto plan = f.form.ChooseTab(0, 999, 600);
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->sheet, Moved(0, 0, 999, 600));
    EXPECT_EQ(plan->results.change, Change::Resize);
    EXPECT_EQ(plan->results.rect.width, 998);
    EXPECT_EQ(plan->results.rect.height, 599);
    EXPECT_EQ(f.form.rememberedResultsLeft(), 499);
}

TEST(TilingTest, RezTabPutsResultsFirstAndLeavesSheet) {
    Fixture f;
    f.OpenGraphs(4);
    f.form.SetLayout(3);  // 2*2
    const auto plan = f.form.ChooseTab(1, 999, 600);
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->sheet, kKept);
    EXPECT_EQ(plan->results, Moved(0, 0, 499, 299));
    EXPECT_EQ(f.GraphPlacement(*plan, 1), Moved(499, 0, 499, 299));
    EXPECT_EQ(f.GraphPlacement(*plan, 2), Moved(0, 300, 499, 299));
    EXPECT_EQ(f.GraphPlacement(*plan, 3), Moved(499, 300, 499, 299));
    EXPECT_EQ(f.GraphPlacement(*plan, 4), kKept);
    EXPECT_EQ(f.ws.ActiveWindowKind, 2);
    EXPECT_EQ(f.form.rememberedResultsLeft(), 0);
}

TEST(TilingTest, GraphTabStartsAtItsGraphInTabOrder) {
    Fixture f;
    f.OpenGraphs(3);
    f.form.graphs().MoveTab(2, 0);                    // tabs: Gr3 Gr1 Gr2
    f.form.SetLayout(2);                              // 3 окна
    const auto plan = f.form.ChooseTab(3, 999, 600);  // "Gr1"
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->sheet, kKept);
    EXPECT_EQ(plan->results, kKept);
    EXPECT_EQ(f.GraphPlacement(*plan, 3), kKept);
    EXPECT_EQ(f.GraphPlacement(*plan, 1), Moved(0, 0, 332, 599));
    EXPECT_EQ(f.GraphPlacement(*plan, 2), Moved(333, 0, 332, 599));
    EXPECT_EQ(plan->focusGraph, 1);
    EXPECT_EQ(f.form.graphs().current(), 1);
    EXPECT_EQ(f.ws.ActiveWindowKind, 3);
    EXPECT_EQ(f.form.currentTab(), 3);
}

TEST(TilingTest, RelayoutKeepsTheChosenTabAtTheNewSize) {
    Fixture f;
    f.form.SetLayout(1);
    f.form.ChooseTab(1, 999, 600);
    f.ws.ActiveWindowKind = 1;  // the person clicked into the sheet meanwhile
    const auto plan = f.form.Relayout(1201, 401);
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->results, Moved(0, 0, 600, 400));
    EXPECT_EQ(plan->focusKind, 2);
}

TEST(TilingTest, TabsDoNotSwitchWhileAMethodRuns) {
    Fixture f;
    f.ws.ActiveWindowKind = 1;
    f.form.runState = TSMForm::RunState::MethodRunning;
    EXPECT_FALSE(f.form.ChooseTab(1, 800, 600));
    EXPECT_EQ(f.ws.ActiveWindowKind, 1);
    EXPECT_EQ(f.form.currentTab(), 0);
    EXPECT_FALSE(f.form.ChooseTab(2, 800, 600));  // no such tab either
}

TEST(LayoutTest, MenuItemsSetGridAndCaption) {
    Fixture f;
    EXPECT_EQ(f.form.LayoutCaption(), "Каскад=1*1");
    const std::pair<int, const char*> cases[] = {
        {0, "Каскад=1*1"}, {1, "Каскад=2*1"}, {2, "Каскад=3*1"},
        {3, "Каскад=2*2"}, {4, "Каскад=3*2"},
    };
    for (const auto& [choice, caption] : cases) {
        f.form.SetLayout(choice);
        EXPECT_EQ(f.form.LayoutCaption(), caption);
    }
    f.form.SetLayout(7);  // ignored
    EXPECT_EQ(f.form.CascadeColumns(), 3);
    EXPECT_EQ(f.form.CascadeRows(), 2);
}

TEST(GraphWindowsTest, SixteenthRequestReusesWindowOneThenTwo) {
    GraphWindows graphs;
    for (int n = 1; n <= 15; ++n) {
        const auto opening = graphs.Open();
        EXPECT_EQ(opening.number, n);
        EXPECT_FALSE(opening.reuse);
    }
    auto opening = graphs.Open();
    EXPECT_EQ(opening.number, 1);
    EXPECT_TRUE(opening.reuse);
    opening = graphs.Open();
    EXPECT_EQ(opening.number, 2);
    EXPECT_TRUE(opening.reuse);
    EXPECT_EQ(graphs.openCount(), 15);
    EXPECT_EQ(graphs.current(), 2);
}

TEST(GraphWindowsTest, DroppingATabMovesItAndShiftsTheOthers) {
    Fixture f;
    f.OpenGraphs(4);
    EXPECT_TRUE(f.form.DropGraphTab(2, 4));  // Gr1 onto Gr3's place
    EXPECT_EQ(f.form.graphs().order(), (std::vector<int>{2, 3, 1, 4}));
    EXPECT_TRUE(f.form.DropGraphTab(5, 3));  // Gr4 onto the second graph tab
    EXPECT_EQ(f.form.graphs().order(), (std::vector<int>{2, 4, 3, 1}));
    EXPECT_EQ(f.form.TabCaptions(),
              (std::vector<std::string>{"Dat", "Rez", "Gr2", "Gr4", "Gr3", "Gr1"}));
    // "Dat" and "Rez" are not graph tabs; a drop on itself changes nothing.
    EXPECT_FALSE(f.form.DropGraphTab(1, 3));
    EXPECT_FALSE(f.form.DropGraphTab(3, 0));
    EXPECT_FALSE(f.form.DropGraphTab(4, 4));
    EXPECT_EQ(f.form.graphs().order(), (std::vector<int>{2, 4, 3, 1}));
}

TEST(GraphWindowsTest, DiscardedGraphsCloseLastFirstAfterTheRun) {
    Fixture f;
    f.OpenGraphs(2);
    f.form.DiscardCurrentGraph();  // 2
    f.form.graphs().Open();        // 3
    f.form.DiscardCurrentGraph();
    EXPECT_EQ(f.form.TakeGraphsToClose(), (std::vector<int>{3, 2}));
    EXPECT_EQ(f.form.graphs().order(), std::vector<int>{1});
    EXPECT_EQ(f.form.graphs().current(), 1);
    EXPECT_TRUE(f.form.TakeGraphsToClose().empty());
    // The next request takes open count + 1 again.
    EXPECT_EQ(f.form.graphs().Open().number, 2);
}

TEST(RoutingTest, FileAndEditCommandsFollowTheActiveWindow) {
    using C = MainCommand;
    using T = CommandTarget;
    struct Case {
        int kind;
        bool graphOpen;
        C command;
        T target;
    };
    const Case cases[] = {
        {0, false, C::Open, T::Sheet},     {0, false, C::Clear, T::Nothing},
        {1, false, C::Clear, T::Sheet},    {1, false, C::Delete, T::Sheet},
        {1, false, C::Font, T::Sheet},     {2, false, C::Open, T::Results},
        {2, false, C::Clear, T::Results},  {2, false, C::Copy, T::Results},
        {2, false, C::Delete, T::Results}, {3, true, C::Print, T::Graph},
        {3, true, C::Clear, T::Graph},     {3, true, C::Delete, T::Nothing},
        {3, false, C::Copy, T::Nothing},   {1, false, C::Statistics, T::Nothing},
    };
    for (const auto& c : cases) {
        Fixture f;
        if (c.graphOpen)
            f.OpenGraphs(1);
        f.ws.ActiveWindowKind = c.kind;
        EXPECT_EQ(f.form.Route(c.command), c.target)
            << "kind " << c.kind << " command " << static_cast<int>(c.command);
    }
}

TEST(CommandStateTest, CommandsAreEnabledByTheModel) {
    using C = MainCommand;
    struct Case {
        bool started;
        bool help;
        int kind;
        int graphs;  // graph windows open
        C command;
        bool enabled;
    };
    const Case cases[] = {
        // Before the first paint only what needs no sheet.
        {false, false, 0, 0, C::Open, false},
        {false, false, 0, 0, C::Statistics, false},
        {false, false, 0, 0, C::Exit, true},
        {true, false, 1, 0, C::Statistics, true},
        {true, false, 1, 0, C::Open, true},
        {true, false, 2, 0, C::Paste, true},
        // The graph menu once the sheet is there.
        {true, true, 1, 0, C::Graphs, true},
        {false, false, 0, 0, C::Graphs, false},
        {false, false, 0, 0, C::Calculator, false},
        {true, true, 1, 0, C::Calculator, true},
        {true, true, 1, 0, C::Settings, true},
        {false, false, 0, 0, C::Settings, false},
        {false, false, 0, 0, C::Colors, true},
        {true, false, 1, 0, C::HelpContents, false},
        {true, true, 1, 0, C::About, true},
        // A graph window takes File and Edit commands except Delete.
        {true, false, 3, 1, C::Save, true},
        {true, false, 3, 1, C::Delete, false},
        {true, false, 3, 0, C::Copy, false},
    };
    for (const Case& c : cases) {
        Fixture f;
        f.OpenGraphs(c.graphs);
        f.form.started = c.started;
        f.form.helpAvailable = c.help;
        f.ws.ActiveWindowKind = c.kind;
        EXPECT_EQ(f.form.CanExecute(c.command), c.enabled)
            << "started " << c.started << " kind " << c.kind << " command "
            << static_cast<int>(c.command);
    }
}

TEST(TilingTest, NewWindowsOpenInTheFirstCell) {
    Fixture f;
    f.form.SetLayout(4);  // 3*2
    EXPECT_EQ(f.form.NewWindowRect(2, 999, 600), (WindowRect{0, 0, 332, 299}));
    EXPECT_EQ(f.form.NewWindowRect(3, 999, 600), (WindowRect{0, 0, 332, 299}));
    // A graph window stays large enough to be read in a small client area.
    EXPECT_EQ(f.form.NewWindowRect(3, 400, 200), (WindowRect{0, 0, 200, 150}));
    EXPECT_EQ(f.form.NewWindowRect(2, 400, 200), (WindowRect{0, 0, 133, 99}));
}

TEST(SnapBackTest, MovesStrayWindowsBackToTheirPlaces) {
    Fixture f;
    f.form.SetLayout(1);
    f.form.ChooseTab(0, 1000, 600);  // results at left 500
    auto moves = f.form.SnapBack(0, 0, 500, 0);
    EXPECT_FALSE(moves.sheet);
    EXPECT_FALSE(moves.results);

    moves = f.form.SnapBack(12, 0, 500, 30);
    ASSERT_TRUE(moves.sheet);
    EXPECT_EQ(moves.sheet->left, 0);
    EXPECT_EQ(moves.sheet->top, 0);
    ASSERT_TRUE(moves.results);
    EXPECT_EQ(moves.results->left, 500);
    EXPECT_EQ(moves.results->top, 0);

    // Not while the windows are being laid out.
    f.form.runState = TSMForm::RunState::Relayout;
    moves = f.form.SnapBack(12, 0, 7, 30);
    EXPECT_FALSE(moves.sheet);
    EXPECT_FALSE(moves.results);
}

TEST(EditBoxTest, ClickInSheetAfterEditBoxUseBringsWindowsForwardOnce) {
    Fixture f;
    EXPECT_FALSE(f.form.SheetClicked());
    f.form.EditBoxUsed();
    EXPECT_TRUE(f.form.SheetClicked());
    EXPECT_FALSE(f.form.SheetClicked());
}

TEST(StartUpTest, MacroSwitchQuestion) {
    {
        Fixture f;  // switch off: no question
        EXPECT_FALSE(f.form.MacroSwitchAtStart());
        EXPECT_TRUE(f.dialogs.questions().empty());
    }
    {
        Fixture f;
        f.ws.settings.macroSwitch = true;
        f.dialogs.ExpectYesNo("выключить?", true);
        EXPECT_FALSE(f.form.MacroSwitchAtStart());
        EXPECT_FALSE(f.ws.settings.macroSwitch);
    }
    {
        Fixture f;
        f.ws.settings.macroSwitch = true;
        f.dialogs.ExpectYesNo("Включен механизм макрокоманд", false);
        EXPECT_TRUE(f.form.MacroSwitchAtStart());
        EXPECT_TRUE(f.ws.settings.macroSwitch);
        EXPECT_EQ(f.ws.LastAnswer, 2);
    }
}

TEST(MenuTest, ShortcutsAreUniqueAndHintsSplit) {
    std::set<std::string> keys;
    for (const auto& entry : MainMenu()) {
        if (*entry.key) {
            EXPECT_TRUE(keys.insert(entry.key).second) << entry.key;
        }
        for (const auto& item : entry.items) {
            if (*item.key) {
                EXPECT_TRUE(keys.insert(item.key).second) << item.key;
            }
        }
    }
    const auto open = SplitHint("Открыть|");
    EXPECT_EQ(open.tip, "Открыть");
    EXPECT_EQ(open.status, "");
    const auto print = SplitHint("Печать");
    EXPECT_EQ(print.tip, "Печать");
    EXPECT_EQ(print.status, "Печать");
}

}  // namespace
}  // namespace dalvex
