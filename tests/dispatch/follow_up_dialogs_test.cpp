#include "dispatch/follow_up_dialogs.h"

#include "core/settings.h"
#include "dispatch_fixture.h"

namespace dalvex {
namespace {

using FollowUpDialogsTest = DispatchFixture;

TEST_F(FollowUpDialogsTest, CoefficientLinesOfZeroOrLettersGiveOne) {
    ui.ExpectForm("Оценки коэффициентов", 1, {"2,5", "0", "abc", "", "-1e1"});
    EXPECT_EQ(pq09(ws, 4), 1);
    const std::vector<double> expected{2.5, 1, 1, 1, -10};
    for (int i = 0; i <= 4; ++i)
        EXPECT_EQ(ws.store.Vec1(i), expected[i]) << "a" << i;
    std::vector<std::string> lines;
    ASSERT_TRUE(ReadLinesFile(ws.ProgramFolder + EstimatesMemory, lines).ok);
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(EstimateLines));
    EXPECT_EQ(lines[0], "2,5");
    EXPECT_EQ(ui.beeps(), 1);  // no memory file yet
}

TEST_F(FollowUpDialogsTest, CoefficientsResetToOnesAndKeepOnlyLinesUpToN) {
    std::vector<std::string> remembered(EstimateLines, "7");
    WriteLinesFile(ws.ProgramFolder + EstimatesMemory, remembered);
    ui.ExpectForm("Оценки коэффициентов", 2).ExpectForm("Оценки коэффициентов", 1);
    EXPECT_EQ(pq09(ws, 1), 1);
    EXPECT_EQ(ui.forms().at(0).Values(), (std::vector<std::string>{"7", "7"}));
    EXPECT_EQ(ui.forms().at(1).Values(), (std::vector<std::string>{"1", "1"}));
    std::vector<std::string> lines;
    ReadLinesFile(ws.ProgramFolder + EstimatesMemory, lines);
    EXPECT_EQ(lines[2], "");
}

TEST_F(FollowUpDialogsTest, GraphChoiceTakesXOnlyForTheProjections) {
    struct Case {
        int button;
        int answerNumber;
    };
    for (const Case& c : {Case{4, -1}, Case{1, -1}, Case{2, 3}, Case{3, 3}, Case{0, -1}}) {
        ws.AnswerNumber = -1;
        ui.ExpectForm("Что дальше?", c.button, {"3"});
        EXPECT_EQ(pq122(ws), c.button);
        EXPECT_EQ(ws.AnswerNumber, c.answerNumber) << c.button;
    }
}

TEST_F(FollowUpDialogsTest, ForecastStepsAreRememberedWhicheverWayTheDialogCloses) {
    ui.ExpectForm("Что дальше?", 2, {"12", "0,5"}).ExpectForm("Что дальше?", 0, {"3"});
    EXPECT_EQ(pq123(ws), 2);
    EXPECT_EQ(ws.AnswerNumber, 12);
    EXPECT_EQ(ws.AnswerValue, 0.5);
    EXPECT_EQ(pq123(ws), 0);
    EXPECT_EQ(ui.forms().at(1).Values(), (std::vector<std::string>{"12", "0,5"}));
    std::vector<std::string> lines;
    ReadLinesFile(ws.ProgramFolder + ModelFollowUpMemory, lines);
    EXPECT_EQ(lines, (std::vector<std::string>{"3", "0,5"}));
}

TEST_F(FollowUpDialogsTest, RotationFieldBecomesAnswerNumber) {
    ws.AnswerNumber = 4;
    ui.ExpectForm("Продолжение анализа", 6, {"2"});
    EXPECT_EQ(pq110(ws), 6);
    EXPECT_EQ(ui.forms().at(0).Values(), std::vector<std::string>{"4"});
    EXPECT_EQ(ws.AnswerNumber, 2);
}

}  // namespace
}  // namespace dalvex
