// Cluster analysis (method 25): the distance measures and the strategies
// against R, the conventions for zero denominators and opposite
// similarities, the medoids, and the method from the dispatcher and from
// dalvex-batch with its report, dendrogram and saved cluster numbers.
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
#include "stats/cluster_report.h"
#include "stats/statistics_methods.h"
#include "stats_fixture.h"

namespace dalvex {
namespace {

// Ten objects with three attributes, no two distances alike. In R:
// x <- data.frame(a = c(1.2, 2.5, 4.1, 7.3, 0.6, 3.3, 9.1, 8.2, 2.0, 6.4),
//                 b = c(0.4, 1.1, 1.9, 5.2, 0.0, 2.7, 6.3, 7.7, 1.5, 4.8),
//                 c = c(3.1, 3.6, 2.2, 8.4, 0.9, 4.0, 9.6, 6.1, 2.9, 7.0))
const std::vector<std::vector<double>> Ten = {
    {1.2, 2.5, 4.1, 7.3, 0.6, 3.3, 9.1, 8.2, 2.0, 6.4},
    {0.4, 1.1, 1.9, 5.2, 0.0, 2.7, 6.3, 7.7, 1.5, 4.8},
    {3.1, 3.6, 2.2, 8.4, 0.9, 4.0, 9.6, 6.1, 2.9, 7.0},
};

TEST(ClusterDistances, ObjectMeasuresAgreeWithR) {
    struct Case {
        DistanceMeasure measure;
        std::vector<double> expected;  // d(2,1), d(3,1), d(4,1) in R's numbering
        std::string call;
    };
    const std::vector<Case> cases = {
        {DistanceMeasure::Euclid, {1.558845727, 3.386738844, 9.398936110}, "dist(x)"},
        {DistanceMeasure::Manhattan, {0.8333333333, 1.7666666667, 5.4}, "dist(x, 'manhattan') / 3"},
        {DistanceMeasure::SquaredEuclid, {0.81, 3.823333333, 29.446666667}, "dist(x)^2 / 3"},
        // v <- sapply(x, function(c) mean((c - mean(c))^2)); dist(sweep(x, 2, sqrt(v), "/"))
        {DistanceMeasure::NormalisedEuclid,
         {0.5583188755, 1.2092373282, 3.4462479016},
         "dist of x scaled by the divisor-n deviations"},
        // sum(abs(u - v) / abs(u + v)), as dist(x, 'canberra') where no sum is 0
        {DistanceMeasure::Canberra, {0.8926448837, 1.3691550451}, "dist(x, 'canberra')"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        const DistanceTriangle d = ObjectDistanceTriangle(c.measure, Ten).triangle;
        ASSERT_EQ(d.size(), 10);
        EXPECT_NEAR(d.at(1, 0), c.expected[0], 1e-8);
        EXPECT_NEAR(d.at(2, 0), c.expected[1], 1e-8);
        if (c.expected.size() > 2) {
            EXPECT_NEAR(d.at(3, 0), c.expected[2], 1e-8);
        }
    }
    // Bray–Curtis, sum(abs(u - v)) / sum(u + v): objects 2, 3 and 5 against 1.
    const DistanceTriangle bray = ObjectDistanceTriangle(DistanceMeasure::BrayCurtis, Ten).triangle;
    EXPECT_NEAR(bray.at(1, 0), 0.2100840336, 1e-9);
    EXPECT_NEAR(bray.at(2, 0), 0.4108527132, 1e-9);
    EXPECT_NEAR(bray.at(4, 0), 0.5161290323, 1e-9);
    // The weighted measure takes (2, 0.5, 1) from the last object, which is
    // not clustered: sum(w * (u - v)^2) / 3.
    std::vector<std::vector<double>> weighted = Ten;
    for (std::size_t a = 0; a < 3; ++a)
        weighted[a].push_back(std::vector<double>{2, 0.5, 1}[a]);
    const DistanceTriangle w =
        ObjectDistanceTriangle(DistanceMeasure::WeightedEuclid, weighted).triangle;
    ASSERT_EQ(w.size(), 10);
    EXPECT_NEAR(w.at(1, 0), 1.291666667, 1e-8);
    EXPECT_NEAR(w.at(2, 0), 6.251666667, 1e-8);
    EXPECT_NEAR(w.at(2, 1), 2.466666667, 1e-8);
}

TEST(ClusterDistances, ZeroDenominatorsCountAsZero) {
    // (0, 1) and (0, 3): the first Canberra term is 0/0 and counts 0, so
    // 2/4 (R leaves such a term out and scales the rest up, giving 1).
    // Two all-zero objects are at Bray–Curtis distance 0.
    const std::vector<std::vector<double>> data = {{0, 0, 0}, {1, 3, 0}};
    const DistanceTriangle canberra =
        ObjectDistanceTriangle(DistanceMeasure::Canberra, data).triangle;
    EXPECT_DOUBLE_EQ(canberra.at(1, 0), 0.5);
    EXPECT_DOUBLE_EQ(canberra.at(2, 0), 1.0);
    const DistanceTriangle bray =
        ObjectDistanceTriangle(DistanceMeasure::BrayCurtis, {{0, 0}, {0, 0}}).triangle;
    EXPECT_EQ(bray.at(1, 0), 0.0);
    // A constant attribute keeps weight 1 in the normalised measure.
    const ObjectDistances norm =
        ObjectDistanceTriangle(DistanceMeasure::NormalisedEuclid, {{5, 5, 5}, {0, 1, 2}});
    EXPECT_TRUE(norm.zeroVariance);
    EXPECT_NEAR(norm.triangle.at(1, 0), 1 / std::sqrt(2.0 / 3), 1e-12);
}

TEST(ClusterDistances, VariableMeasuresAgreeWithR) {
    MatrixInput input;
    input.names = {"a", "b", "c"};
    input.values = Ten;
    struct Case {
        DistanceMeasure measure;
        std::vector<double> expected;  // d(b, a), d(c, a), d(c, b)
    };
    const std::vector<Case> cases = {
        // 1 - cor(x)
        {DistanceMeasure::Correlation, {0.03330002504, 0.09362907193, 0.14695169840}},
        {DistanceMeasure::AbsoluteCorrelation, {0.03330002504, 0.09362907193, 0.14695169840}},
        // 1 - abs(cor(x, method = "spearman"))
        {DistanceMeasure::Spearman, {0.03636363636, 0.16969696970, 0.18181818182}},
        // 1 - abs(cor(x, method = "kendall"))
        {DistanceMeasure::Kendall, {0.1333333333, 0.3111111111, 0.3555555556}},
    };
    for (const Case& c : cases) {
        const MatrixOutcome m = BuildCorrelationMatrix(CoefficientKind(c.measure), input, 0.05);
        ASSERT_TRUE(m.figures);
        const DistanceTriangle d = VariableDistanceTriangle(c.measure, *m.figures);
        EXPECT_NEAR(d.at(1, 0), c.expected[0], 1e-9);
        EXPECT_NEAR(d.at(2, 0), c.expected[1], 1e-9);
        EXPECT_NEAR(d.at(2, 1), c.expected[2], 1e-9);
    }
    // A negative correlation is far for the signed measure, near for the
    // absolute one.
    CorrelationMatrixFigures opposite;
    opposite.size = 2;
    opposite.correlations = {1, -0.9, -0.9, 1};
    EXPECT_NEAR(VariableDistanceTriangle(DistanceMeasure::Correlation, opposite).at(1, 0), 1.9,
                1e-12);
    EXPECT_NEAR(VariableDistanceTriangle(DistanceMeasure::AbsoluteCorrelation, opposite).at(1, 0),
                0.1, 1e-12);
}

std::vector<double> Heights(const Hierarchy& h) {
    std::vector<double> heights;
    for (const Merge& m : h.merges)
        heights.push_back(m.height);
    return heights;
}

void ExpectHeights(const std::vector<double>& actual, const std::vector<double>& expected,
                   double tolerance) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t k = 0; k < expected.size(); ++k)
        EXPECT_NEAR(actual[k], expected[k], tolerance) << "merge " << k + 1;
}

TEST(ClusterMerging, StrategiesAgreeWithR) {
    const DistanceTriangle d = ObjectDistanceTriangle(DistanceMeasure::Euclid, Ten).triangle;
    struct Case {
        Strategy strategy;
        std::vector<double> heights;
        std::string call;
    };
    const std::vector<Case> cases = {
        {Strategy::Nearest,
         {0.9486832981, 1.3747727085, 1.7117242769, 1.8330302780, 2.1260291625, 2.3151673806,
          2.4269322199, 3.5142566782, 4.7979162144},
         "hclust(dist(x), 'single')$height"},
        {Strategy::Farthest,
         {0.9486832981, 1.5588457268, 1.7117242769, 2.1260291625, 3.3867388444, 3.5298725189,
          4.0373258476, 4.9183330509, 13.6978100439},
         "hclust(dist(x), 'complete')$height"},
        {Strategy::Average,
         {0.9486832981, 1.4668092176, 1.7117242769, 2.1260291625, 2.5109927529, 3.2321290338,
          3.5536049459, 3.6398978907, 8.9496957048},
         "hclust(dist(x), 'average')$height"},
        // Ward's rule on the distances themselves is R's ward.D2.
        {Strategy::Ward,
         {0.9486832981, 1.6062378404, 1.7117242769, 2.1260291625, 3.4432542747, 3.7170777052,
          3.9658962837, 4.3776706135, 19.2506363531},
         "hclust(dist(x), 'ward.D2')$height"},
        // beta = -0.25 is agnes' alpha = (1 - beta)/2 = 0.625.
        {Strategy::Flexible,
         {0.9486832981, 1.5963406975, 1.7117242769, 2.1260291625, 3.3782768468, 3.6122302230,
          4.0033262905, 4.5268672723, 19.0473347063},
         "sort(agnes(dist(x), method = 'flexible', par.method = 0.625)$height)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        ExpectHeights(Heights(MergeClusters(d, c.strategy, -0.25)), c.heights, 1e-9);
    }
    // R's merge list for Ward: (2 9), (1 2 9), (4 10), (3 6), (1 2 9 3 6),
    // (7 8), (4 10 7 8), (5 1 2 9 3 6), all.
    const Hierarchy ward = MergeClusters(d, Strategy::Ward, 0);
    auto members = [&](int k) {
        std::vector<int> m = ward.merges[k].members;
        for (int& i : m)
            ++i;
        std::sort(m.begin(), m.end());
        return m;
    };
    EXPECT_EQ(members(1), (std::vector<int>{1, 2, 9}));
    EXPECT_EQ(members(4), (std::vector<int>{1, 2, 3, 6, 9}));
    EXPECT_EQ(members(6), (std::vector<int>{4, 7, 8, 10}));
    EXPECT_EQ(members(7), (std::vector<int>{1, 2, 3, 5, 6, 9}));

    // A common offset of 1e7 leaves the tree as it is:
    // hclust(dist(x + 1e7), 'ward.D2')$height.
    std::vector<std::vector<double>> offset = Ten;
    for (auto& a : offset)
        for (double& v : a)
            v += 1e7;
    ExpectHeights(
        Heights(MergeClusters(ObjectDistanceTriangle(DistanceMeasure::Euclid, offset).triangle,
                              Strategy::Ward, 0)),
        cases[3].heights, 2e-9);
}

TEST(ClusterMerging, PointsOnALineAndTiesMergeInScanOrder) {
    // 0, 1, 3, 6 by nearest neighbour: (1,2) at 1, (1,2,3) at 2, all at 3;
    // the later item lives on and lists itself first.
    const Hierarchy line =
        MergeClusters(ObjectDistanceTriangle(DistanceMeasure::Euclid, {{0, 1, 3, 6}}).triangle,
                      Strategy::Nearest, 0);
    ASSERT_EQ(line.merges.size(), 3u);
    EXPECT_EQ(line.merges[0].members, (std::vector<int>{1, 0}));
    EXPECT_EQ(line.merges[1].members, (std::vector<int>{2, 1, 0}));
    EXPECT_EQ(line.merges[2].members, (std::vector<int>{3, 2, 1, 0}));
    EXPECT_EQ(Heights(line), (std::vector<double>{1, 2, 3}));

    // 0, 2, 4: both pairs of neighbours are 2 apart; the scan meets (1, 0)
    // first. Then 4 joins at 2.
    const Hierarchy ties =
        MergeClusters(ObjectDistanceTriangle(DistanceMeasure::Euclid, {{0, 2, 4}}).triangle,
                      Strategy::Nearest, 0);
    EXPECT_EQ(ties.merges[0].absorber, 1);
    EXPECT_EQ(ties.merges[0].absorbed, 0);

    // Flexible, beta = -0.25: 0.625 (d_O + d_P) - 0.25 delta. Items 0, 1
    // (1 apart) merge; item 2 is at 3 and 4 from them: 0.625 * 7 - 0.25.
    DistanceTriangle d(3);
    d.set(1, 0, 1);
    d.set(2, 0, 3);
    d.set(2, 1, 4);
    EXPECT_DOUBLE_EQ(MergeClusters(d, Strategy::Flexible, -0.25).merges[1].height,
                     0.625 * 7 - 0.25);
}

TEST(ClusterMerging, DendrogramRowsDrawEveryLeafOnceWithoutCrossing) {
    const Hierarchy h = MergeClusters(ObjectDistanceTriangle(DistanceMeasure::Euclid, Ten).triangle,
                                      Strategy::Average, 0);
    ASSERT_EQ(h.order.size(), 10u);
    std::vector<int> sorted = h.order;
    std::sort(sorted.begin(), sorted.end());
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(sorted[i], i);
    const DendrogramRows rows = Dendrogram(h);
    ASSERT_EQ(rows.positions.size(), 20u);
    ASSERT_EQ(rows.heights.size(), 20u);
    // The root first, at zero height; every other leaf joins a leaf to its
    // left, and every leaf between them lies lower.
    EXPECT_EQ(rows.heights[0], 0);
    for (int t = 1; t < 10; ++t) {
        const double own = rows.positions[2 * t], absorber = rows.positions[2 * t + 1];
        const double height = rows.heights[2 * t];
        EXPECT_EQ(own, t + 1);
        EXPECT_LT(absorber, own);
        for (int s = static_cast<int>(absorber); s < t; ++s)
            EXPECT_LE(rows.heights[2 * s], height) << "leaf " << t;
    }
}

TEST(ClusterMerging, LongWorkCanBeStopped) {
    const DistanceTriangle d = ObjectDistanceTriangle(DistanceMeasure::Euclid, Ten).triangle;
    int calls = 0;
    auto stop = [&](double) { return ++calls < 1; };
    EXPECT_TRUE(MergeClusters(d, Strategy::Ward, 0, stop).cancelled);
    EXPECT_TRUE(MedoidPartition(d, 2, stop).cancelled);
    EXPECT_GT(calls, 1);
}

TEST(ClusterMedoids, TwoGroupsAsPamFindsThem) {
    // pam(dist(x), 2): medoids 9 and 4, clustering 1 1 1 2 1 1 2 2 1 2.
    const Partition p =
        MedoidPartition(ObjectDistanceTriangle(DistanceMeasure::Euclid, Ten).triangle, 2);
    ASSERT_EQ(p.clusters, 2);
    std::vector<int> medoids = p.medoids;
    std::sort(medoids.begin(), medoids.end());
    EXPECT_EQ(medoids, (std::vector<int>{3, 8}));
    const std::vector<int> groups = {1, 1, 1, 2, 1, 1, 2, 2, 1, 2};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(p.cluster[i] == p.cluster[0], groups[i] == 1) << "object " << i + 1;
}

TEST(ClusterMedoids, SeedingNeverTakesAnObjectTwiceAndCountsAreCut) {
    // At 5, 0, 10, 5: the farthest pair is 0 and 10; object 1 (at 0, chosen
    // already) and object 4 (at 5) tie for the largest sum, 10. The third
    // medoid must be a new object.
    const Partition p = MedoidPartition(
        ObjectDistanceTriangle(DistanceMeasure::Euclid, {{5, 0, 10, 5}}).triangle, 3);
    std::vector<int> medoids = p.medoids;
    std::sort(medoids.begin(), medoids.end());
    EXPECT_EQ(std::unique(medoids.begin(), medoids.end()), medoids.end());
    EXPECT_EQ(p.within, 0);
    // The count asked is taken whole and positive, at most half the items.
    EXPECT_EQ(ClusterCount(-3, 10), 3);
    EXPECT_EQ(ClusterCount(40, 10), 5);
    EXPECT_EQ(ClusterCount(1, 10), 2);
    EXPECT_EQ(ClusterCount(5, 3), 2);
}

TEST(ClusterMatrix, GivenMatricesAreCheckedAndSimilaritiesTurned) {
    // Columns are variables; the cell of variable j in observation i > j.
    const TriangleOutcome similar = GivenTriangle({{1, 0, 0.5}, {0, 1, -1}, {0.5, -1, 1}}, true);
    ASSERT_TRUE(similar.triangle);
    EXPECT_DOUBLE_EQ(similar.triangle->at(1, 0), 1.0);      // s = 0
    EXPECT_DOUBLE_EQ(similar.triangle->at(2, 0), 1 / 1.5);  // s = 0.5
    EXPECT_DOUBLE_EQ(similar.triangle->at(2, 1), 2.0);      // s = -1: beyond the farthest
    EXPECT_EQ(GivenTriangle({{0, 1}, {1, 0}, {2, 3}}, false).notice, NotSquareMatrixNotice);
    EXPECT_EQ(GivenTriangle({{0, MissingValue}, {1, 0}}, false).notice, IncompleteDistancesNotice);
    // The upper triangle may stay empty.
    EXPECT_TRUE(GivenTriangle({{0, 3}, {MissingValue, 0}}, false).triangle);
}

// ---------------------------------------------------------------------------
// The method

struct Windows : RunWindows {};

class ClusterMethodTest : public ::testing::Test {
  protected:
    ClusterMethodTest() : form(ws), dispatcher(ws, form, registry, windows) {
        EXPECT_TRUE(ws.store.Allocate());
        ws.report = &report;
        ws.graphs = &graphs;
        ws.resources = &TextResources::Builtin();
        ws.ProgramFolder = (std::filesystem::temp_directory_path() / "dalvex-cluster-").string();
        for (const char* file : {"q76.ini", "q79.ini"})
            std::filesystem::remove(ws.ProgramFolder + file);
    }
    void Sheet(const std::vector<std::string>& names,
               const std::vector<std::vector<std::string>>& columns) {
        for (std::size_t c = 0; c < names.size(); ++c) {
            PutSheetText(ws, names[c], static_cast<int>(c) + 1, -1);
            for (std::size_t i = 0; i < columns[c].size(); ++i)
                PutSheetText(ws, columns[c][i], static_cast<int>(c) + 1, static_cast<int>(i));
        }
    }
    bool Has(const std::string& line) const {
        return std::find(report.lines.begin(), report.lines.end(), line) != report.lines.end();
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

TEST_F(ClusterMethodTest, PointsOnALineMergeAndDrawTheirDendrogram) {
    // Row 3 has an empty cell in the second variable: it leaves both
    // variables, so the objects stay 0, 1, 3, 6 on x (y is 0 throughout).
    Sheet({"x", "y"}, {{"0", "1", "99", "3", "6"}, {"0", "0", "", "0", "0"}});
    ui.ExpectForm(ClusterDataCaption, 1)
        .ExpectForm(MeasureCaption, 1)
        .ExpectForm(StrategyCaption, 1)
        .ExpectYesNo("таблицу расстояний", true);
    dispatcher.FormIni(25);
    EXPECT_TRUE(ui.scriptDone());
    EXPECT_TRUE(ui.notices().empty());
    EXPECT_TRUE(Has("                     Эвклид+Ближ.сосед"));
    EXPECT_TRUE(Has("                       Таблица расстояний"));
    EXPECT_TRUE(Has(std::string(5, ' ') + "      (1)      (2)      (4)      (5)"));
    EXPECT_TRUE(Has("(  2)        1"));
    EXPECT_TRUE(Has("(  4)        6        5        3"));
    EXPECT_TRUE(Has("                          К л а с т е р ы:"));
    EXPECT_TRUE(Has("                 (список объектов) -> расстояние"));
    EXPECT_TRUE(Has("(2,1) --> 1"));
    EXPECT_TRUE(Has("(3,2,1) --> 2"));
    EXPECT_TRUE(Has("(4,3,2,1) --> 3"));
    ASSERT_EQ(graphs.requests, 1);
    EXPECT_EQ(graphs.request, RequestTree);
    EXPECT_EQ(graphs.title, "Дендрограмма");
    // Root 4 first, then 3, 2, 1 each joining its absorber to the left.
    EXPECT_EQ(graphs.rows[0], (std::vector<double>{1, 1, 2, 1, 3, 2, 4, 3}));
    EXPECT_EQ(graphs.rows[1], (std::vector<double>{0, 3, 3, 2, 2, 1, 1, 0}));
}

TEST_F(ClusterMethodTest, MedoidsAreSavedAtTheirRowsInANewVariable) {
    // Two groups on x; row 3 is incomplete and gets no cluster number.
    Sheet({"x", "y"}, {{"0", "1", "5", "20", "21", "2"}, {"0", "0", "", "0", "1", "1"}});
    ui.ExpectForm(ClusterDataCaption, 1)
        .ExpectForm(MeasureCaption, 7)
        .ExpectForm(StrategyCaption, 6, {"-0.25", "2"})
        .ExpectYesNo("таблицу расстояний", false)
        .ExpectForm(ClusterProjectionCaption, 1, {"1", "2"})
        .ExpectForm(ClusterProjectionCaption, 0)
        .ExpectYesNo("Сохранить номера кластеров", true);
    dispatcher.FormIni(25);
    EXPECT_TRUE(ui.scriptDone());
    EXPECT_TRUE(Has("                     Манхеттен+Дивизивная"));
    // Manhattan / 2 attributes: cluster {1, 2, 6} around 2 (sums 0.5 + 1),
    // cluster {4, 5} (distance 1, medoid the first found).
    EXPECT_TRUE(Has("Среднее внутрикластерное расстояние=0.5"));
    EXPECT_TRUE(Has("1= (1,2*,6)")) << report.lines.back();
    EXPECT_TRUE(Has("2= (4*,5)"));
    EXPECT_EQ(graphs.request, RequestDescribed);
    // The user's variables stay; the numbers follow them, row 3 empty.
    ASSERT_EQ(ws.sheet.VariableCount(), 3);
    EXPECT_EQ(Trim(ws.sheet.Cell(1, 3)), "5");
    std::vector<std::string> numbers;
    for (int row = 1; row <= 6; ++row)
        numbers.push_back(Trim(ws.sheet.Cell(3, row)));
    EXPECT_EQ(numbers, (std::vector<std::string>{"1", "1", "", "2", "2", "1"}));
}

TEST_F(ClusterMethodTest, MatricesAndDataItCannotClusterAreRefused) {
    struct Case {
        std::vector<std::string> names;
        std::vector<std::vector<std::string>> columns;
        int source, measure;
        std::string notice;
    };
    dispatcher.FormIni(25);  // an empty sheet: no dialog
    EXPECT_EQ(ui.notices(), std::vector<std::string>{TooFewValuesNotice});
    const std::vector<Case> cases = {
        {{"a", "b"}, {{"0", "1", "2"}, {"1", "0", "3"}}, 2, 0, NotSquareMatrixNotice},
        {{"a", "b"}, {{"0", ""}, {"", "0"}}, 3, 0, IncompleteDistancesNotice},
        {{"a", "b"}, {{"1", "2", "3"}, {"5", "5", "5"}}, 1, 5, ConstantVariableNotice("b")},
        {{"a"}, {{"1"}}, 1, 1, TooFewValuesNotice},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.notice);
        ws.sheet.Reset();
        report.lines.clear();
        ui.ClearLog();
        Sheet(c.names, c.columns);
        ui.ExpectForm(ClusterDataCaption, c.source);
        if (c.measure)
            ui.ExpectForm(MeasureCaption, c.measure);
        if (c.measure == 5)
            ui.ExpectForm(StrategyCaption, 1).ExpectYesNo("таблицу расстояний", false);
        dispatcher.FormIni(25);
        EXPECT_TRUE(ui.scriptDone());
        EXPECT_EQ(ui.notices(), std::vector<std::string>{c.notice});
        EXPECT_EQ(graphs.requests, 0);
    }
}

TEST(ClusterBatch, SimilarityMatrixFromAScript) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / "dalvex-cluster-batch";
    std::filesystem::create_directories(dir);
    // Similarities of three variables: a and b alike (0.8), c apart.
    std::ofstream(dir / "s.txt") << "a b c\r\n1 0.8 0.1\r\n0.8 1 -1\r\n0.1 -1 1\r\n";
    std::ostringstream out, err;
    EXPECT_EQ(RunBatchScript("open s.txt\nmethod 25\nform 3\nform 3\ngraph keep\n",
                             dir.string() + "/", BuiltStatisticsMethods(), out, err),
              BatchDone)
        << err.str();
    const std::string text = out.str();
    EXPECT_NE(text.find("                     +Групп.сосед"), std::string::npos) << text;
    // 1/(0.8 + 1) = 0.5556; then c joins at the mean of 1/1.1 and 2 * 0.9091.
    EXPECT_NE(text.find("(2,1) --> 0.5556"), std::string::npos) << text;
    EXPECT_NE(text.find("(3,2,1) --> 1.364"), std::string::npos) << text;
}

}  // namespace
}  // namespace dalvex
