// Multidimensional scaling (method 27): the classical solution against R's
// cmdscale, the stresses against their definitions computed in R, the
// non-metric descent (perfect fits, the cap, progress downhill), and the
// method from the dispatcher and dalvex-batch.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "batch/batch_runner.h"
#include "core/text.h"
#include "dispatch/dispatcher.h"
#include "dispatch/loading.h"
#include "output/text_resource.h"
#include "stats/factor_report.h"
#include "stats/scaling_report.h"
#include "stats/statistics_methods.h"
#include "stats_fixture.h"

namespace dalvex {
namespace {

DistanceTriangle Triangle(int k, const std::vector<double>& lower) {
    DistanceTriangle d(k);
    std::size_t at = 0;
    for (int i = 1; i < k; ++i)
        for (int j = 0; j < i; ++j)
            d.set(i, j, lower[at++]);
    return d;
}

// Five points (0,0) (4,0) (4,3) (1,5) (6,6) with three distances disturbed,
// so that no plane holds them. In R:
// P <- matrix(c(0,0, 4,0, 4,3, 1,5, 6,6), ncol = 2, byrow = TRUE)
// d <- dist(P); d[c(2, 5, 9)] <- d[c(2, 5, 9)] + c(0.3, -0.2, 0.4)
DistanceTriangle Five() {
    return Triangle(5, {4, 5.3, 2.8, std::sqrt(26.0), std::sqrt(34.0), std::sqrt(13.0),
                        std::sqrt(72.0), std::sqrt(40.0), std::sqrt(13.0) + 0.4, std::sqrt(26.0)});
}

TEST(Scaling, TriangleThreeFourFiveIsReproducedExactly) {
    const DistanceTriangle d = Triangle(3, {3, 5, 4});
    const ClassicalSolution s = TorgersonScaling(d);
    EXPECT_FALSE(s.negativeSet);
    const Configuration plane(s.coordinates.begin(), s.coordinates.begin() + 2);
    const DistanceTriangle fitted = FittedDistances(plane, MetricChoice{});
    EXPECT_NEAR(fitted.at(1, 0), 3, 1e-12);
    EXPECT_NEAR(fitted.at(2, 0), 5, 1e-12);
    EXPECT_NEAR(fitted.at(2, 1), 4, 1e-12);
    const StressFigures f = Stresses(d, fitted);
    for (double stress : f.stress)
        EXPECT_NEAR(stress, 0, 1e-12);
    EXPECT_NEAR(DistanceCorrelation(d, plane, 2), 1, 1e-12);
    // A perfect fit ends the descent at once for every stress.
    for (int type = 1; type <= 4; ++type) {
        const NonmetricResult r =
            NonmetricScaling(d, plane, static_cast<StressType>(type), MetricChoice{});
        EXPECT_LE(r.iterations, 2) << type;
        EXPECT_FALSE(r.capped);
    }
}

TEST(Scaling, ClassicalSolutionAgreesWithCmdscale) {
    // cmdscale(d, k = 2, eig = TRUE): eig 38.86232136 16.06639921
    // 2.060038897 0 -1.193871261; the negative one is set to 0.
    const ClassicalSolution s = TorgersonScaling(Five());
    EXPECT_TRUE(s.negativeSet);
    const std::vector<double> eigen = {38.86232136, 16.06639921, 2.060038897, 0, 0};
    for (int j = 0; j < 5; ++j)
        EXPECT_NEAR(s.eigenvalues[j], eigen[j], 1e-7);
    // $points, up to the sign of each axis.
    const std::vector<std::vector<double>> points = {
        {-4.0502337150, -1.6324319465, 0.7379372966, 0.5984146898, 4.3463136751},
        {0.8207106647, -2.4815524603, -0.8080014809, 2.8978925039, -0.4290492274}};
    for (int axis = 0; axis < 2; ++axis) {
        const double sign = s.coordinates[axis][0] * points[axis][0] < 0 ? -1 : 1;
        for (int i = 0; i < 5; ++i)
            EXPECT_NEAR(sign * s.coordinates[axis][i], points[axis][i], 1e-8);
    }
}

TEST(Scaling, StressesAgreeWithTheirDefinitionsInR) {
    // X1 <- cmdscale(d, 1); D <- dist(X1); e <- fitted(lm(D ~ d)) - D;
    // sqrt(sum(e^2)/sum(D^2)), sqrt(sum((e/D)^2)),
    // sqrt(sum(e^2)/sum((D - mean(D))^2)), sum(e^2 * d); cor(d, D).
    const DistanceTriangle d = Five();
    const ClassicalSolution s = TorgersonScaling(d);
    const Configuration line(s.coordinates.begin(), s.coordinates.begin() + 1);
    const StressFigures f = Stresses(d, FittedDistances(line, MetricChoice{}));
    EXPECT_NEAR(f.stress[0], 0.2731250724, 1e-9);
    EXPECT_NEAR(f.stress[1], 14.2191004222, 1e-7);
    EXPECT_NEAR(f.stress[2], 0.5529008634, 1e-9);
    EXPECT_NEAR(f.stress[3], 69.6408595445, 1e-7);
    EXPECT_NEAR(DistanceCorrelation(d, line, 1), 0.8332470434, 1e-9);
    EXPECT_NEAR(DistanceCorrelation(d, s.coordinates, 2), 0.9952927124, 1e-9);
}

TEST(Scaling, NonmetricDescentLowersEachStressAndStopsAtItsCap) {
    const DistanceTriangle d = Five();
    const ClassicalSolution s = TorgersonScaling(d);
    const Configuration line(s.coordinates.begin(), s.coordinates.begin() + 1);
    const std::vector<MetricChoice> metrics = {
        MetricChoice{}, MetricChoice{Metric::Manhattan, 2, {}},
        MetricChoice{Metric::Minkowski, 3, {}}, MetricChoice{Metric::Kolmogorov, 2, {2}}};
    for (int type = 1; type <= 4; ++type)
        for (const MetricChoice& metric : metrics) {
            SCOPED_TRACE(std::to_string(type) + " " +
                         std::to_string(static_cast<int>(metric.metric)));
            const double before = Stresses(d, FittedDistances(line, metric)).stress[type - 1];
            const NonmetricResult r =
                NonmetricScaling(d, line, static_cast<StressType>(type), metric);
            const double after =
                Stresses(d, FittedDistances(r.coordinates, metric)).stress[type - 1];
            EXPECT_TRUE(std::isfinite(after));
            EXPECT_LT(after, before);
        }
    // Two dimensions fit far better than one; stress 1 falls below 0.05.
    const Configuration plane(s.coordinates.begin(), s.coordinates.begin() + 2);
    const NonmetricResult r = NonmetricScaling(d, plane, StressType::Kruskal1, MetricChoice{});
    EXPECT_FALSE(r.capped);
    EXPECT_LT(Stresses(d, FittedDistances(r.coordinates, MetricChoice{})).stress[0], 0.05);
    const NonmetricResult capped =
        NonmetricScaling(d, line, StressType::Kruskal1, MetricChoice{}, {}, 3);
    EXPECT_TRUE(capped.capped);
    EXPECT_EQ(capped.iterations, 3);
    // The person may stop the descent; the configuration reached stays.
    const NonmetricResult stopped = NonmetricScaling(d, line, StressType::Kruskal1, MetricChoice{},
                                                     [](double) { return false; });
    EXPECT_TRUE(stopped.cancelled);
    EXPECT_EQ(stopped.coordinates.size(), 1u);
}

struct Windows : RunWindows {};

class ScalingMethodTest : public ::testing::Test {
  protected:
    ScalingMethodTest() : form(ws), dispatcher(ws, form, registry, windows) {
        EXPECT_TRUE(ws.store.Allocate());
        ws.report = &report;
        ws.graphs = &graphs;
        ws.resources = &TextResources::Builtin();
    }
    void Sheet(const std::vector<std::vector<std::string>>& columns) {
        for (std::size_t c = 0; c < columns.size(); ++c) {
            PutSheetText(ws, std::string(1, static_cast<char>('A' + c)), static_cast<int>(c) + 1,
                         -1);
            for (std::size_t i = 0; i < columns[c].size(); ++i)
                PutSheetText(ws, columns[c][i], static_cast<int>(c) + 1, static_cast<int>(i));
        }
    }
    std::vector<std::string> After(const std::string& line, std::size_t count) const {
        const auto at = std::find(report.lines.begin(), report.lines.end(), line);
        if (at == report.lines.end() || report.lines.end() - at <= static_cast<long>(count))
            return {};
        return std::vector<std::string>(at + 1, at + 1 + count);
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

TEST_F(ScalingMethodTest, TriangleFromTheSheetThroughTorgersonAndKruskal) {
    // Only the lower triangle is filled; the upper one stays empty.
    Sheet({{"0", "3", "5"}, {"", "0", "4"}, {"", "", "0"}});
    ui.ExpectForm(ScalingMethodCaption, 1)
        .ExpectForm(ProjectionCaption, 0)
        .ExpectForm(ScalingMethodCaption, 2, {"1"})
        .ExpectForm(ScalingMetricCaption, 2)
        .ExpectForm(ScalingMethodCaption, 0);
    dispatcher.FormIni(27);
    EXPECT_TRUE(ui.scriptDone());
    EXPECT_TRUE(ui.notices().empty()) << ui.notices()[0];
    // Eigenvalues of the 3-4-5 triangle: 12.5 + 2.5 ... as B's spectrum
    // (the plane holds it whole, the third is 0).
    const std::vector<std::string> eigen =
        After("              Собственные значения координатных осей шкалирования", 2);
    ASSERT_EQ(eigen.size(), 2u);
    EXPECT_EQ(eigen[0], "Координата:      1        2        3        4        5        6        7");
    EXPECT_EQ(eigen[1].rfind("Собств.зн", 0), 0u);
    const std::vector<std::string> torgerson = After("        Метод: Торгерсон", 8);
    ASSERT_EQ(torgerson.size(), 8u);
    EXPECT_EQ(torgerson[0], "            Координаты объектов в результате шкалирования");
    EXPECT_EQ(torgerson[1], "Координата:      1        2");
    EXPECT_EQ(torgerson[6], "Cтресс 1-4 = 0, 0, 0, 0");
    EXPECT_EQ(torgerson[7], "Корреляция исходных и конечных расстояний = 1");
    const std::vector<std::string> kruskal = After("        Метод: Краскел1+Манхеттен", 2);
    ASSERT_EQ(kruskal.size(), 2u);
    EXPECT_EQ(kruskal[1], "Координата:      1");
}

TEST_F(ScalingMethodTest, BlocksThatAreNotSquareOrTooSmallAreRefused) {
    struct Case {
        std::vector<std::vector<std::string>> columns;
        std::string notice;
    };
    dispatcher.FormIni(27);  // an empty sheet: no dialog
    EXPECT_EQ(ui.notices(), std::vector<std::string>{TooFewValuesNotice});
    const std::vector<Case> cases = {
        {{{"0", "1", "2"}, {"1", "0", "3"}}, NotSquareMatrixNotice},
        {{{"0"}}, ScalingSizeNotice()},
        {{{"0", "0"}, {"0", "0"}}, ZeroDistancesNotice},
        {{{"0", ""}, {"", "0"}}, IncompleteDistancesNotice},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.notice);
        ws.sheet.Reset();
        report.lines.clear();
        ui.ClearLog();
        Sheet(c.columns);
        dispatcher.FormIni(27);
        EXPECT_EQ(ui.notices(), std::vector<std::string>{c.notice});
        EXPECT_EQ(report.lines, (std::vector<std::string>{dispatcher.HeaderLine(27), "", ""}));
    }
}

TEST(ScalingBatch, RunsFromAScript) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / "dalvex-scaling-batch";
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "d.txt") << "a b c d\r\n0 1 2 3\r\n1 0 1 2\r\n2 1 0 1\r\n3 2 1 0\r\n";
    std::ostringstream out, err;
    EXPECT_EQ(RunBatchScript("open d.txt\nmethod 27\nform 1 1\nform 3 3\nform 4\ncancel\n"
                             "form 0\n",
                             dir.string() + "/", BuiltStatisticsMethods(), out, err),
              BatchDone)
        << err.str() << out.str();
    const std::string text = out.str();
    EXPECT_NE(text.find("        Метод: Торгерсон"), std::string::npos) << text;
    EXPECT_NE(text.find("        Метод: Краскел2+Колмогоров"), std::string::npos) << text;
    EXPECT_NE(text.find("в пространстве 2-3 переменных:"), std::string::npos) << text;
}

}  // namespace
}  // namespace dalvex
