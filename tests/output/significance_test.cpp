#include "output/significance.h"

#include <gtest/gtest.h>

#include "output/results_text.h"
#include "output/text_resource.h"
#include "sth_table.h"

namespace dalvex {
namespace {

class SignificanceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SthSource source{{4, {"не значимо", "значимо", "третий", "четвёртый"}}, {50, {"ТИТУЛ."}}};
        std::string image, error;
        ASSERT_TRUE(BuildSthImage(source, image, error)) << error;
        ASSERT_TRUE(table.Load(image));
        ws.resources = &table;
        ws.report = &results;
        ws.VerdictGroup = 4;
        ws.VerdictIndex = 1;
    }

    ScriptedDialogs ui;
    Workspace ws{ui};
    TextResources table;
    TEditForm results{ws};
};

TEST_F(SignificanceTest, TailShowsBothDegreesOfFreedomOnlyAboveOne) {
    ws.SetTextBuffer("t=2,5");
    EXPECT_EQ(WriteSignificance(ws, 0.0123, 18, 1), 0.0123);
    ws.SetTextBuffer("F=4,1");
    WriteSignificance(ws, 0.2, 16, 3);
    EXPECT_EQ(results.lines(), (std::vector<std::string>{
                                   "t=2,5, Значимость=0.0123, степ.своб = 18",
                                   "   значимо",
                                   "F=4,1, Значимость=0.2, степ.своб = 3,16",
                                   "   не значимо",
                               }));
}

TEST_F(SignificanceTest, VerdictThresholdIsTheSignificanceLevel) {
    struct Case {
        double level;
        double p;
        const char* verdict;
    } cases[] = {{0.05, 0.05, "   не значимо"},
                 {0.05, 0.049, "   значимо"},
                 {0.01, 0.02, "   не значимо"},
                 {0.1, 0.09999, "   значимо"}};
    for (const auto& c : cases) {
        results.Clear();
        ws.settings.SignificanceLevel = c.level;
        WriteVerdict(ws, c.p);
        EXPECT_EQ(results.lines().back(), c.verdict) << c.level << " " << c.p;
    }
    ws.VerdictIndex = 3;  // a method reporting a second hypothesis
    WriteVerdict(ws, 0.001);
    EXPECT_EQ(results.lines().back(), "   четвёртый");
}

TEST_F(SignificanceTest, ResourceTextsGoToTheBufferAndTheReport) {
    ReadTextResource(ws, 50, 1);
    EXPECT_EQ(ws.TextBuffer(), "ТИТУЛ.");
    ReadTextResource(ws, 77, 3);
    EXPECT_EQ(ws.TextBuffer(), "");
    WriteResourceLine(ws, 4, 3);
    EXPECT_EQ(results.lines().back(), "   третий");
}

TEST_F(SignificanceTest, NumbersFollowTheDigitsAndTheLocaleSeparator) {
    ws.settings.decimalSeparator = ',';
    ws.settings.SignificantDigits = 3;
    ws.SetTextBuffer("x");
    WriteSignificance(ws, 0.012345, 7.5, 2);
    EXPECT_EQ(results.lines().front(), "x, Значимость=0,0123, степ.своб = 2,7,5");
}

}  // namespace
}  // namespace dalvex
