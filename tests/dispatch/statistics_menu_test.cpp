#include "dispatch/statistics_menu.h"

#include <set>

#include "dispatch/loading.h"
#include "dispatch_fixture.h"

namespace dalvex {
namespace {

using StatisticsMenuTest = DispatchFixture;

TEST_F(StatisticsMenuTest, ThirtySevenMethodsInTheirGroupsWithCaseSensitiveKeys) {
    std::set<int> methods;
    std::set<char> keys;
    int buttons = 0;
    for (const MethodGroup& group : StatisticsMethods())
        for (const MethodButton& button : group.buttons) {
            ++buttons;
            methods.insert(button.method);
            keys.insert(Accelerator(button.caption));
        }
    std::vector<std::string> captions;
    for (const MethodGroup& group : StatisticsMethods())
        captions.push_back(group.caption);
    EXPECT_EQ(captions,
              (std::vector<std::string>{"Параметрические тесты", "Непараметрические тесты",
                                        "Дисперсионный анализ", "Анализ временных рядов",
                                        "Регрессионный анализ", "Многомерные методы",
                                        "Распределения и частоты", "Контроль качества"}));
    EXPECT_EQ(buttons, MethodCount);
    EXPECT_EQ(methods.size(), 37u);
    EXPECT_EQ(*methods.begin(), 1);
    EXPECT_EQ(*methods.rbegin(), 37);
    EXPECT_EQ(keys.size(), 37u);  // "&C"/"&c" and "&W"/"&w" are different keys
    EXPECT_EQ(ShownCaption("&c=Групповой"), "c=Групповой");
}

TEST_F(StatisticsMenuTest, KeysChooseOnlyMethodsThatCanRun) {
    TStMet menu(ws, [](int method) { return method == 36 || method == 37; });
    EXPECT_FALSE(menu.Key('C'));  // 12 cannot run yet
    EXPECT_FALSE(menu.closed());
    EXPECT_FALSE(menu.Choose(1));
    EXPECT_TRUE(menu.Key('c'));
    EXPECT_TRUE(menu.closed());
    EXPECT_EQ(menu.answer(), 36);

    TStMet second(ws, [](int) { return true; });
    EXPECT_TRUE(second.Key('w'));
    EXPECT_EQ(ws.LastAnswer, 37);
    TStMet third(ws, [](int) { return true; });
    third.Cancel();
    EXPECT_EQ(third.answer(), 0);
}

// F9 on an empty sheet: "!МАЛО ЗНАЧЕНИЙ ПЕРЕМЕННЫХ!" before any dialog.
TEST_F(StatisticsMenuTest, EmptySheetSaysThereAreNoDataBeforeAnyDialog) {
    struct Case {
        const char* what;
        bool withData;
        std::set<int> available;
        bool opens;
        int method;  // chosen in the menu
        bool runs;
    };
    const std::vector<Case> cases{
        {"only data methods: no menu", false, {1, 2}, false, 0, false},
        {"the calculator needs no data: menu, method 1 refused", false, {1, 28}, true, 1, false},
        {"the calculator runs", false, {1, 28}, true, 28, true},
        {"data: everything as usual", true, {1, 2}, true, 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ui.ClearLog();
        if (c.withData)
            Sheet({{"a", "1"}});
        TStMet menu(ws, [&c](int m) { return c.available.count(m) > 0; });
        EXPECT_EQ(menu.MayOpen(), c.opens);
        if (c.opens) {
            EXPECT_EQ(menu.MayRun(c.method), c.runs);
        }
        const bool refused = !c.opens || !c.runs;
        EXPECT_EQ(ui.notices(), refused ? std::vector<std::string>{TooFewValuesNotice}
                                        : std::vector<std::string>{});
    }
}

}  // namespace
}  // namespace dalvex
