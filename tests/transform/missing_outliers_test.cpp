// The search and replacement of missing values and outliers: the report's
// layout, the strict threshold, and each way of replacing.
#include <cmath>

#include "transform/missing_outliers.h"
#include "transform_fixture.h"

namespace dalvex {
namespace {

class MissingTest : public TransformTest {
  protected:
    MissingTest() {
        // x: nine zeros and a 10 (mean 1, sd sqrt(10), z = 2.846); y: a hole in row 3.
        Column(1, "x", {"0", "0", "0", "0", "0", "0", "0", "0", "0", "10"});
        Column(2, "y", {"1", "2", "", "4", "5", "6", "7", "8", "9", "10"});
    }
};

TEST_F(MissingTest, TheReportListsOnlyObservationsWithFindings) {
    const MissingSearch search = FindMissingAndOutliers(ws, 2, LookFor::Both);
    WriteMissingReport(ws, search);
    EXPECT_EQ(report.lines, (std::vector<std::string>{
                                "Пропущно=1,   Выбросов=1",
                                "",
                                "     i         x        y",
                                "     3|               -?-",
                                "    10|      2.8",
                            }));
}

TEST_F(MissingTest, AValueExactlyAtTheThresholdIsNoOutlier) {
    ws.sheet.Reset();
    Column(1, "x", {"-1", "1"});
    const double z = 1.0 / std::sqrt(2.0);
    EXPECT_EQ(FindMissingAndOutliers(ws, z, LookFor::Outliers).outlierCount, 0);
    EXPECT_EQ(FindMissingAndOutliers(ws, z * 0.999, LookFor::Outliers).outlierCount, 2);
}

TEST_F(MissingTest, MeansReplaceEveryFinding) {
    ReplaceFindings(ws, FindMissingAndOutliers(ws, 2, LookFor::Both), ReplaceBy::Means);
    EXPECT_EQ(Texts(1)[9], "1");
    // The mean of y without its hole: 52 / 9.
    EXPECT_NEAR(Values(2)[2], 52.0 / 9, 1e-7);
}

TEST_F(MissingTest, RegressionTakesTheLineOnTheMostCorrelatedPartner) {
    ws.sheet.Reset();
    Column(1, "x", {"1", "2", "3", "4", "5"});
    Column(2, "y", {"2", "4", "", "8", "10"});
    Column(3, "z", {"5", "1", "4", "2", "3"});
    ReplaceFindings(ws, FindMissingAndOutliers(ws, 2, LookFor::Missing), ReplaceBy::Regression);
    EXPECT_EQ(Texts(2), (std::vector<std::string>{"2", "4", "6", "8", "10"}));
}

TEST_F(MissingTest, DeletingMissingValuesWorksWithoutAnyOutlier) {
    ui.ExpectYesNo(DeleteWholeRowsQuestion, true);
    ReplaceFindings(ws, FindMissingAndOutliers(ws, 2, LookFor::Missing), ReplaceBy::Delete);
    EXPECT_EQ(Texts(2), (std::vector<std::string>{"1", "2", "4", "5", "6", "7", "8", "9", "10"}));
    EXPECT_EQ(ws.sheet.ColumnLength(1), 9);

    ws.sheet.Reset();
    Column(1, "x", {"0", "0", "0", "0", "0", "0", "0", "0", "0", "10"});
    Column(2, "y", {"1", "", "3"});
    // Unequal lengths: only the cells found go, without a question.
    ReplaceFindings(ws, FindMissingAndOutliers(ws, 2, LookFor::Both), ReplaceBy::Delete);
    EXPECT_EQ(Texts(2), (std::vector<std::string>{"1", "3"}));
    EXPECT_EQ(ws.sheet.ColumnLength(1), 9);
    EXPECT_TRUE(ui.scriptDone());
}

}  // namespace
}  // namespace dalvex
