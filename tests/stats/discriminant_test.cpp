// Discriminant analysis (method 24): the separation statistic, the
// functions and the classification against R (MASS::lda with equal priors),
// data with a large offset, class numbering with a gap, a singular
// within-class matrix, and the method from the dispatcher and dalvex-batch.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "batch/batch_runner.h"
#include "core/number.h"
#include "core/text.h"
#include "dispatch/dispatcher.h"
#include "dispatch/loading.h"
#include "numeric/inversion.h"
#include "output/text_resource.h"
#include "stats/discriminant.h"
#include "stats/statistics_methods.h"
#include "stats_fixture.h"

namespace dalvex {
namespace {

// Fourteen flowers, classes 1 .. 3, one unclassified (0) and one of class 5
// that the numbering never reaches (there is no class 4). In R:
// x1 <- c(5.1,4.9,4.7,5.0,6.4,6.9,5.5,6.5,6.3,5.8,7.1,6.3,5.0,6.0)
// x2 <- c(3.5,3.0,3.2,3.6,3.2,3.1,2.3,2.8,3.3,2.7,3.0,2.9,3.4,2.2)
// cl <- c(1,1,1,1,2,2,2,2,3,3,3,3,0,5)
const std::vector<double> X1 = {5.1, 4.9, 4.7, 5.0, 6.4, 6.9, 5.5,
                                6.5, 6.3, 5.8, 7.1, 6.3, 5.0, 6.0};
const std::vector<double> X2 = {3.5, 3.0, 3.2, 3.6, 3.2, 3.1, 2.3,
                                2.8, 3.3, 2.7, 3.0, 2.9, 3.4, 2.2};
const std::vector<double> Classes = {1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 0, 5};

void ExpectAgreesWithR(const DiscriminantFigures& f, double tolerance) {
    // k <- cl %in% 1:3; S <- pooled W / (n - G); Q = (n - G) * the
    // Hotelling-Lawley trace of summary(manova(cbind(x1, x2)[k, ] ~
    // factor(cl[k])), test = "Hotelling-Lawley") = 71.74503863.
    EXPECT_EQ(f.classes, 3);
    EXPECT_EQ(f.classified, 12);
    EXPECT_NEAR(f.separation, 71.74503863, 1e-6);
    // b = solve(S, mu_g), a0 = -mu_g' S^-1 mu_g / 2.
    const std::vector<std::vector<double>> coefficients = {
        {-66.80451316, 13.40461235, 20.32821367},
        {-90.050328913, 27.462622213, 2.245463974},
        {-91.79979942, 26.94032373, 3.98488574}};
    for (int g = 0; g < 3; ++g)
        for (int q = 0; q < 3; ++q)
            EXPECT_NEAR(f.coefficients[g][q], coefficients[g][q], tolerance) << g << " " << q;
    // predict(lda(X, g, prior = rep(1/3, 3)), all rows): the class and its
    // posterior; D² = mahalanobis(x, mu_class, S).
    struct Row {
        int predicted;
        double distance, posterior;
    };
    const std::vector<Row> rows = {
        {1, 0.30513296, 0.99999772}, {1, 1.66216511, 0.99936540},  {1, 0.24105176, 0.99999856},
        {1, 1.01568964, 0.99999989}, {3, 0.77415281, 0.61628915},  {3, 1.40835742, 0.50971812},
        {2, 3.70241980, 0.65054486}, {2, 0.40082214, 0.56808192},  {3, 2.16915124, 0.66743740},
        {2, 1.33445690, 0.52055815}, {2, 3.26108806, 0.55959646},  {3, 0.05604483, 0.50109240},
        {1, 0.05604483, 0.99999692}, {2, 4.852105742, 0.742027543}};
    ASSERT_EQ(f.objects.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(f.objects[i].predicted, rows[i].predicted);
        EXPECT_NEAR(f.objects[i].distance, rows[i].distance, 1e-7);
        EXPECT_NEAR(f.objects[i].posterior, rows[i].posterior, 1e-7);
    }
    // pchisq(D2, 2, lower.tail = FALSE) of the last row.
    EXPECT_NEAR(f.objects[13].significance, 0.088385012, 1e-4);
    // pchisq(Q, 4, lower.tail = FALSE) = 9.7e-15; the program's approximate
    // tail gives 7.9e-6 this far out, which draws the same conclusion.
    EXPECT_LT(f.significance, 1e-4);
}

TEST(Discriminant, AgreesWithREvenWithALargeOffset) {
    const std::optional<DiscriminantFigures> f = ComputeDiscriminant({X1, X2}, Classes);
    ASSERT_TRUE(f);
    ExpectAgreesWithR(*f, 1e-6);

    // Moved by 1e7 the classification stays; b stays, a0 follows the means.
    std::vector<double> y1 = X1, y2 = X2;
    for (double& v : y1)
        v += 1e7;
    for (double& v : y2)
        v += 1e7;
    const std::optional<DiscriminantFigures> moved = ComputeDiscriminant({y1, y2}, Classes);
    ASSERT_TRUE(moved);
    EXPECT_NEAR(moved->separation, 71.74503863, 1e-5);
    for (std::size_t i = 0; i < Classes.size(); ++i) {
        EXPECT_EQ(moved->objects[i].predicted, f->objects[i].predicted);
        EXPECT_NEAR(moved->objects[i].distance, f->objects[i].distance, 1e-5);
        EXPECT_NEAR(moved->objects[i].posterior, f->objects[i].posterior, 1e-6);
    }
    // b moves with the means, but the difference of two classes' b,
    // S^-1 (mu_1 - mu_2), does not.
    EXPECT_NEAR(moved->coefficients[0][1] - moved->coefficients[1][1], 13.40461235 - 27.462622213,
                1e-5);
}

TEST(Discriminant, NearlyCollinearFeaturesStillAgreeWithR) {
    // x2 <- 2 * x1 + c(3,-1,4,1,-5,9,-2,6,-5,3,5,-8,9,-7) * 1e-5: W's
    // condition number is 2.9e9. Q and, for flowers 1, 5 and 14, the class,
    // D² and posterior from solve(S, tol = 1e-30) and mahalanobis() as above.
    const std::vector<double> e = {3, -1, 4, 1, -5, 9, -2, 6, -5, 3, 5, -8, 9, -7};
    std::vector<double> x2;
    for (std::size_t i = 0; i < X1.size(); ++i)
        x2.push_back(2 * X1[i] + e[i] * 1e-5);
    const std::optional<DiscriminantFigures> f = ComputeDiscriminant({X1, x2}, Classes);
    ASSERT_TRUE(f);
    EXPECT_NEAR(f->separation, 33.7644013487, 1e-5);
    const struct {
        int object, predicted;
        double distance, posterior;
    } rows[] = {{0, 1, 0.1434086099, 0.9855262028},
                {4, 3, 0.6449902536, 0.7012525471},
                {13, 3, 1.268425358, 0.6807004438}};
    for (const auto& r : rows) {
        EXPECT_EQ(f->objects[r.object].predicted, r.predicted);
        EXPECT_NEAR(f->objects[r.object].distance, r.distance, 1e-5);
        EXPECT_NEAR(f->objects[r.object].posterior, r.posterior, 1e-6);
    }
}

TEST(Discriminant, ClassesEndAtTheFirstNumberWithoutMembersAndSingularDataGiveNothing) {
    // 1, 2, 4: class 3 has no member, so class 4 is never collected.
    EXPECT_EQ(CollectClasses({1, 2, 4, 1, 2, 4}).size(), 2u);
    EXPECT_TRUE(CollectClasses({2, 2, 3}).empty());
    // A feature twice another: the within-class matrix is singular.
    std::vector<double> twice = X1;
    for (double& v : twice)
        v *= 2;
    EXPECT_FALSE(ComputeDiscriminant({X1, twice}, Classes));
    // One member per class leaves no degrees of freedom.
    EXPECT_FALSE(ComputeDiscriminant({{1, 2, 3}, {3, 1, 2}}, {1, 2, 3}));
}

struct Windows : RunWindows {};

class DiscriminantMethodTest : public ::testing::Test {
  protected:
    DiscriminantMethodTest() : form(ws), dispatcher(ws, form, registry, windows) {
        EXPECT_TRUE(ws.store.Allocate());
        ws.report = &report;
        ws.graphs = &graphs;
        ws.resources = &TextResources::Builtin();
    }
    void Sheet(const std::vector<std::vector<double>>& columns, int emptyRow = -1) {
        for (std::size_t c = 0; c < columns.size(); ++c) {
            PutSheetText(ws, "v" + std::to_string(c + 1), static_cast<int>(c) + 1, -1);
            for (std::size_t i = 0; i < columns[c].size(); ++i)
                PutSheetText(ws,
                             static_cast<int>(i) == emptyRow && c == 0
                                 ? ""
                                 : FormatNumber(columns[c][i], 17),
                             static_cast<int>(c) + 1, static_cast<int>(i));
        }
    }
    std::vector<std::string> After(const std::string& line) const {
        const auto at = std::find(report.lines.begin(), report.lines.end(), line);
        return at == report.lines.end() ? std::vector<std::string>{}
                                        : std::vector<std::string>(at + 1, report.lines.end());
    }

    ScriptedDialogs ui;
    Workspace ws{ui};
    ReportLines report;
    GraphCapture graphs{ws};
    MethodRegistry registry = BuiltStatisticsMethods();
    TSMForm form;
    Windows windows;
    MethodDispatcher dispatcher;
};

const char* const TableHeader = "    Объект   Класс      D^2    Значим  Апостеор.вероят.";

TEST_F(DiscriminantMethodTest, FullShortAndBriefTablesMarkWhatDisagrees) {
    // An extra observation with an empty cell leaves the sheet's rows
    // aligned: it is left out of every variable.
    std::vector<double> x1 = X1, x2 = X2, cl = Classes;
    x1.insert(x1.begin() + 2, 99);
    x2.insert(x2.begin() + 2, -99);
    cl.insert(cl.begin() + 2, 1);
    Sheet({x1, x2, cl}, 2);
    ui.ExpectForm(TableQuestion, 2);
    dispatcher.FormIni(24);
    EXPECT_TRUE(ui.scriptDone());
    EXPECT_TRUE(ui.notices().empty());
    const std::vector<std::string> full = After(TableHeader);
    ASSERT_GE(full.size(), 14u);
    EXPECT_EQ(report.lines[1], "");
    EXPECT_EQ(report.lines[2].rfind("    Расстояние Махаланобиса=71.75, значимость=", 0), 0u)
        << report.lines[2];
    EXPECT_EQ(report.lines[3], "   Гипотеза 1: <Межкластерное расстояние отлично от нуля>");
    EXPECT_EQ(report.lines[4],
              "    Класс  <--- Коэффициенты дискриминантной функции:a[0],a[1],... --->");
    EXPECT_EQ(report.lines[5], "        1    -66.8     13.4    20.33");
    // Sheet row 4 is the third flower; row 6 (class 2) is taken for class 3;
    // row 14 (class 0) is unclassified; row 15 (class 5) cannot agree.
    EXPECT_EQ(full[2], "        4        1   0.2411   0.8865        1");
    EXPECT_EQ(full[4], "        6        3!   0.7742    0.679   0.6163");
    EXPECT_EQ(full[12], "       14        1*  0.05604   0.9724        1");
    EXPECT_EQ(full[13], "       15        2!    4.852  0.08839    0.742");

    // Brief: only the disagreements, with the stored class.
    report.lines.clear();
    ui.ExpectForm(TableQuestion, 0);
    dispatcher.FormIni(24);
    const std::vector<std::string> brief = After(TableHeader);
    ASSERT_EQ(brief.size(), 8u);  // five wrong, the two unusual ones, the closing lines
    EXPECT_EQ(brief[0], "        6        3!#2   0.7742    0.679   0.6163");
    EXPECT_EQ(brief[5], "       15        2!#5    4.852  0.08839    0.742");

    // Short: the disagreements and no agreeing row (none is significant).
    report.lines.clear();
    ui.ExpectForm(TableQuestion, 1);
    dispatcher.FormIni(24);
    EXPECT_EQ(After(TableHeader).size(), 8u);
}

TEST_F(DiscriminantMethodTest, DataItCannotSeparateIsRefusedWithNothingPrinted) {
    struct Case {
        std::vector<std::vector<double>> columns;
        std::string notice;
    };
    std::vector<double> twice = X1;
    for (double& v : twice)
        v *= 2;
    dispatcher.FormIni(24);  // an empty sheet: no dialog
    EXPECT_EQ(ui.notices(), std::vector<std::string>{TooFewValuesNotice});
    const std::vector<Case> cases = {
        {{X1, X2, std::vector<double>(14, 1)}, ClassNumberingNotice},
        {{X1, Classes}, FewVariablesNotice},
        {{X1, twice, Classes}, SingularMatrixNotice},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.notice);
        ws.sheet.Reset();
        report.lines.clear();
        ui.ClearLog();
        Sheet(c.columns);
        dispatcher.FormIni(24);
        EXPECT_EQ(ui.notices(), std::vector<std::string>{c.notice});
        EXPECT_EQ(report.lines, (std::vector<std::string>{dispatcher.HeaderLine(24), "", ""}));
    }
}

TEST(DiscriminantBatch, RunsFromAScript) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / "dalvex-discriminant-batch";
    std::filesystem::create_directories(dir);
    std::ostringstream data;
    data << "x1 x2 cl\r\n";
    for (std::size_t i = 0; i < X1.size(); ++i)
        data << X1[i] << ' ' << X2[i] << ' ' << Classes[i] << "\r\n";
    std::ofstream(dir / "d.txt") << data.str();
    std::ostringstream out, err;
    EXPECT_EQ(RunBatchScript("open d.txt\nmethod 24\ncancel\n", dir.string() + "/",
                             BuiltStatisticsMethods(), out, err),
              BatchDone)
        << err.str();
    EXPECT_NE(out.str().find("       14        2!#5    4.852  0.08839    0.742"), std::string::npos)
        << out.str();
}

}  // namespace
}  // namespace dalvex
