// Quality control: the factor table against the standard constants, every
// control chart's points and limits against R, the refusals of data no
// chart can use, and the three methods from the dispatcher (the graphs they
// hand over) and from a script.
#include "stats/quality_control.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "dispatch/dispatcher.h"
#include "dispatch/loading.h"
#include "output/text_resource.h"
#include "stats/statistics_methods.h"
#include "stats_fixture.h"
#include "support/batch_run.h"
#include "support/temp_folder.h"

namespace dalvex {
namespace {

// R: d2 <- integrate(function(x) 1 - pnorm(x)^n - (1 - pnorm(x))^n, -Inf, Inf);
// E(R^2) = 2 * the double integral over x < y of
// 1 - pnorm(y)^n - (1 - pnorm(x))^n + (pnorm(y) - pnorm(x))^n; d3 = sqrt(E(R^2) - d2^2);
// A2 = 3 / (d2 sqrt(n)), D3 = max(0, 1 - 3 d3 / d2), D4 = 1 + 3 d3 / d2.
TEST(QualityControlTest, FactorTableAgreesWithTheStandardConstants) {
    struct Row {
        int n;
        double a2, d2, d3, lower, upper;
    };
    const Row exact[] = {
        {2, 1.879971, 1.128379, 0.852502, 0, 3.266532},
        {3, 1.023327, 1.692569, 0.888368, 0, 2.574591},
        {4, 0.728597, 2.058751, 0.879808, 0, 2.282052},
        {5, 0.576819, 2.325929, 0.864082, 0, 2.114499},
        {6, 0.483246, 2.534413, 0.848040, 0, 2.003830},
        {7, 0.419284, 2.704357, 0.833205, 0.075708, 1.924292},
        {8, 0.372527, 2.847201, 0.819831, 0.136171, 1.863829},
        {9, 0.336697, 2.970026, 0.807834, 0.184013, 1.815987},
        {10, 0.308264, 3.077505, 0.797051, 0.223023, 1.776977},
    };
    for (const Row& r : exact) {
        SCOPED_TRACE(r.n);
        const std::optional<ChartFactors> f = FactorsFor(r.n);
        ASSERT_TRUE(f.has_value());
        // The table keeps three decimals of A2, d3, D3 and two of d2, D4.
        EXPECT_NEAR(f->a2, r.a2, 5e-4);
        EXPECT_NEAR(f->d3, r.d3, 5.01e-4);
        EXPECT_NEAR(f->lowerRange, r.lower, 5e-4);
        EXPECT_NEAR(f->d2, r.d2, 5e-3);
        EXPECT_NEAR(f->upperRange, r.upper, 5e-3);
    }
    EXPECT_FALSE(FactorsFor(1).has_value());
    EXPECT_FALSE(FactorsFor(11).has_value());
    EXPECT_FALSE(FactorsFor(0).has_value());
}

// 23 measurements: subgroups of 5 leave 3 over, of 6 leave 5, of 7 leave 2.
const std::vector<double> Measured = {10.2, 9.8,  10.5, 10.1, 9.9,  10.4, 10.0, 9.7,
                                      10.3, 10.6, 9.6,  10.2, 10.1, 9.9,  10.0, 10.8,
                                      9.5,  10.3, 10.1, 10.0, 10.4, 9.9,  10.2};

// The same near 1e7, spread by a thousandth: R's figures are given less 1e7.
std::vector<double> FarMeasured() {
    std::vector<double> v;
    for (double x : Measured)
        v.push_back(1e7 + (x - 10) / 1000);
    return v;
}

// R, with the program's factors A2, D3, D4 for size b:
// P <- length(x) %/% b; m <- matrix(x[1:(P*b)], nrow = b); means <- colMeans(m);
// R <- apply(m, 2, function(c) diff(range(c))); mean(means) +- A2 * mean(R);
// D4 * mean(R), D3 * mean(R).
TEST(QualityControlTest, MeansAndRangesAgreeWithR) {
    struct Case {
        int b;
        std::vector<double> means, ranges;
        double centre, half, meanRange, upperRange, lowerRange;
        double offset;  // subtracted from the means and the centre
    };
    const Case cases[] = {
        {5, {10.1, 10.2, 9.96, 10.14}, {0.7, 0.9, 0.6, 1.3}, 10.1, 0.504875, 0.875, 1.84625, 0, 0},
        // D3 = 0 and D4 = 2.0.
        {6, {10.15, 10.0666666666667, 10.1}, {0.7, 1, 1.3}, 10.1055555555556, 0.483, 1, 2, 0, 0},
        // D3 = 0.076.
        {7,
         {10.1285714285714, 10.0571428571429, 10.1571428571429},
         {0.7, 1, 1.3},
         10.1142857142857,
         0.419,
         1,
         1.92,
         0.076,
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.b);
        const ControlCharts r = ComputeControlCharts(ChartKind::MeansRanges, Measured, {}, c.b);
        ASSERT_TRUE(r.notice.empty()) << r.notice;
        ASSERT_EQ(r.charts.size(), 2u);
        const ControlChart& means = r.charts[0];
        const ControlChart& ranges = r.charts[1];
        EXPECT_EQ(means.title, "(x-R)-карта");
        EXPECT_EQ(ranges.title, "(x-R)-карта");
        // Every complete subgroup is a point, the last one included.
        ASSERT_EQ(means.points.size(), c.means.size());
        ASSERT_EQ(ranges.points.size(), c.ranges.size());
        for (std::size_t p = 0; p < c.means.size(); ++p) {
            EXPECT_NEAR(means.points[p], c.means[p], 1e-12);
            EXPECT_NEAR(ranges.points[p], c.ranges[p], 1e-12);
        }
        EXPECT_NEAR(means.centre, c.centre, 1e-12);
        EXPECT_NEAR(means.upper, c.centre + c.half, 1e-12);
        EXPECT_NEAR(means.lower, c.centre - c.half, 1e-12);
        EXPECT_NEAR(ranges.centre, c.meanRange, 1e-12);
        EXPECT_NEAR(ranges.upper, c.upperRange, 1e-12);
        EXPECT_NEAR(ranges.lower, c.lowerRange, 1e-12);
    }

    // Near 1e7: R gives the means less 1e7 as 9.99998301267624e-05,
    // 0.000199999660253525, -4.00003045797348e-05, 0.000140000134706497; the
    // centre less 1e7 9.99998301267624e-05, A2 R-bar 0.000504874679725617,
    // R-bar 0.000874999444931746.
    const ControlCharts far = ComputeControlCharts(ChartKind::MeansRanges, FarMeasured(), {}, 5);
    ASSERT_EQ(far.charts.size(), 2u);
    const double means[] = {9.99998301267624e-05, 0.000199999660253525, -4.00003045797348e-05,
                            0.000140000134706497};
    for (int p = 0; p < 4; ++p)
        EXPECT_NEAR(far.charts[0].points[p] - 1e7, means[p], 2e-9);
    EXPECT_NEAR(far.charts[0].centre - 1e7, 9.99998301267624e-05, 2e-9);
    // The limits near 1e7 are held to the doubles' spacing there, 1.9e-9.
    EXPECT_NEAR(far.charts[0].upper - far.charts[0].centre, 0.000504874679725617, 2e-9);
    EXPECT_NEAR(far.charts[1].centre, 0.000874999444931746, 1e-12);
}

// R: m <- mean(x); mr <- mean(abs(diff(x))); m +- 2.66 * mr.
TEST(QualityControlTest, IndividualsChartTakesTheMovingRange) {
    const ControlCharts r = ComputeControlCharts(ChartKind::Individuals, Measured, {}, 0);
    ASSERT_EQ(r.charts.size(), 1u);
    const ControlChart& c = r.charts[0];
    EXPECT_EQ(c.title, "x-карта");
    EXPECT_EQ(c.points, Measured);
    EXPECT_NEAR(c.centre, 10.1086956521739, 1e-12);
    EXPECT_NEAR(c.upper, 11.3419683794466, 1e-12);
    EXPECT_NEAR(c.lower, 8.87542292490119, 1e-12);
    // Near 1e7: mean less 1e7 0.000108696520328522, moving range 0.000463635914705016.
    const ControlCharts far = ComputeControlCharts(ChartKind::Individuals, FarMeasured(), {}, 0);
    EXPECT_NEAR(far.charts[0].centre - 1e7, 0.000108696520328522, 2e-9);
    EXPECT_NEAR(far.charts[0].upper - far.charts[0].centre, 2.66 * 0.000463635914705016, 2e-9);
    // Measurements below 0 keep their lower limit below 0.
    std::vector<double> negative;
    for (double x : Measured)
        negative.push_back(x - 20);
    const ControlCharts below = ComputeControlCharts(ChartKind::Individuals, negative, {}, 0);
    EXPECT_NEAR(below.charts[0].lower, 8.87542292490119 - 20, 1e-12);
}

// R: pn: pbar <- mean(d) / b; b * pbar +- 3 * sqrt(b * pbar * (1 - pbar));
// p: pc <- 100 * d / n; pb <- mean(pc); pb +- 3 * sqrt(pb * (100 - pb)) / sqrt(n);
// c: mean(x) +- 3 * sqrt(mean(x)); u: ub <- sum(c) / sum(n);
// ub +- 3 * sqrt(ub * length(n) / sum(n)). Negative lower limits held at 0
// except on the p chart.
TEST(QualityControlTest, AttributeChartsAgreeWithR) {
    const ControlCharts pn =
        ComputeControlCharts(ChartKind::Defectives, {3, 5, 2, 4, 6, 1, 3, 2, 5, 4}, {}, 50);
    ASSERT_EQ(pn.charts.size(), 1u);
    EXPECT_EQ(pn.charts[0].title, "pn-карта");
    EXPECT_NEAR(pn.charts[0].centre, 3.5, 1e-12);
    EXPECT_NEAR(pn.charts[0].upper, 8.91248556580062, 1e-12);
    EXPECT_EQ(pn.charts[0].lower, 0);

    const std::vector<double> n = {100, 120, 80, 100, 150, 90, 110, 100};
    const ControlCharts p =
        ComputeControlCharts(ChartKind::PercentDefective, n, {4, 6, 2, 5, 9, 3, 4, 7}, 0);
    ASSERT_EQ(p.charts.size(), 1u);
    const ControlChart& pc = p.charts[0];
    EXPECT_EQ(pc.title, "p-карта");
    const double points[] = {4, 5, 2.5, 5, 6, 3.33333333333333, 3.63636363636364, 7};
    const double lower[] = {-1.69892657341873, -1.15370432839871,  -2.4375406287017,
                            -1.69892657341873, -0.550628477635009, -2.0374182286,
                            -1.40771227113402, -1.69892657341873};
    const double upper[] = {10.816350815843,  10.271128570823,  11.5549648711259, 10.816350815843,
                            9.66805272005925, 11.1548424710242, 10.5251365135583, 10.816350815843};
    ASSERT_EQ(pc.points.size(), 8u);
    ASSERT_EQ(pc.lowerAt.size(), 8u);
    for (int i = 0; i < 8; ++i) {
        EXPECT_NEAR(pc.points[i], points[i], 1e-12);
        EXPECT_NEAR(pc.lowerAt[i], lower[i], 1e-12);
        EXPECT_NEAR(pc.upperAt[i], upper[i], 1e-12);
    }
    EXPECT_NEAR(pc.centre, 4.55871212121212, 1e-12);

    // c-bar = 4: the lower limit -2 is held at 0, the upper is 10.
    const ControlCharts c =
        ComputeControlCharts(ChartKind::Defects, {4, 2, 6, 3, 5, 4, 7, 1, 3, 5}, {}, 0);
    EXPECT_EQ(c.charts[0].title, "c-карта");
    EXPECT_DOUBLE_EQ(c.charts[0].centre, 4);
    EXPECT_DOUBLE_EQ(c.charts[0].upper, 10);
    EXPECT_EQ(c.charts[0].lower, 0);

    const ControlCharts u =
        ComputeControlCharts(ChartKind::DefectsPerUnit, {10, 12, 8, 10, 15, 9, 11, 10},
                             {12, 15, 7, 14, 20, 10, 9, 13}, 0);
    EXPECT_EQ(u.charts[0].title, "u-карта");
    EXPECT_NEAR(u.charts[0].points[6], 0.818181818181818, 1e-12);
    EXPECT_NEAR(u.charts[0].centre, 1.17647058823529, 1e-12);
    EXPECT_NEAR(u.charts[0].upper, 2.17473898520454, 1e-12);
    EXPECT_NEAR(u.charts[0].lower, 0.178202191266051, 1e-12);
}

TEST(QualityControlTest, DataNoChartCanUseAreRefusedWithTheirNotice) {
    struct Case {
        ChartKind kind;
        std::vector<double> first, second;
        int batch;
        const char* notice;
    };
    const Case cases[] = {
        {ChartKind::MeansRanges, Measured, {}, 1, SubgroupSizeNotice},
        {ChartKind::MeansRanges, Measured, {}, 11, SubgroupSizeNotice},
        {ChartKind::MeansRanges, Measured, {}, 0, SubgroupSizeNotice},
        // One complete subgroup and a short one.
        {ChartKind::MeansRanges, {1, 2, 3, 4, 5, 6, 7}, {}, 5, TooFewValuesNotice},
        {ChartKind::MeansRanges, {3, 3, 3, 3, 3, 3}, {}, 3, NoSpreadChartNotice},
        {ChartKind::Individuals, {5}, {}, 0, TooFewValuesNotice},
        {ChartKind::Individuals, {1e7, 1e7, 1e7}, {}, 0, NoSpreadChartNotice},
        {ChartKind::Defectives, {1, 2}, {}, 0, BatchSizeNotice},
        {ChartKind::Defectives, {1, 6}, {}, 5, DefectivesRangeNotice},
        {ChartKind::Defectives, {1, -1}, {}, 5, DefectivesRangeNotice},
        {ChartKind::PercentDefective, {10, 0}, {1, 0}, 0, BatchPositiveNotice},
        {ChartKind::PercentDefective, {10, 10}, {1, 11}, 0, DefectivesRangeNotice},
        {ChartKind::PercentDefective, {10, 10}, {1}, 0, TwoChartVariablesNotice},
        {ChartKind::Defects, {2, -1, 3}, {}, 0, NegativeDefectsNotice},
        {ChartKind::DefectsPerUnit, {10, -2}, {1, 1}, 0, BatchPositiveNotice},
        {ChartKind::DefectsPerUnit, {10, 2}, {1, -1}, 0, NegativeDefectsNotice},
        {ChartKind::Defects, {}, {}, 0, TooFewValuesNotice},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.notice);
        const ControlCharts r = ComputeControlCharts(c.kind, c.first, c.second, c.batch);
        EXPECT_EQ(r.notice, c.notice);
        EXPECT_TRUE(r.charts.empty());
    }
    // All defective, or none: the limits close on the centre, no fault.
    const ControlCharts none = ComputeControlCharts(ChartKind::Defects, {0, 0, 0}, {}, 0);
    ASSERT_EQ(none.charts.size(), 1u);
    EXPECT_EQ(none.charts[0].upper, 0);
    const ControlCharts all = ComputeControlCharts(ChartKind::PercentDefective, {5, 7}, {5, 7}, 0);
    ASSERT_EQ(all.charts.size(), 1u);
    EXPECT_EQ(all.charts[0].upperAt[1], 100);
}

TEST(QualityControlTest, MarksAreVerticalStrokesJoinedAlongTheBase) {
    const ToleranceMarks m = QualityMarks(1, 9, 5, 2, 12);
    ASSERT_EQ(m.x.size(), 13u);
    ASSERT_EQ(m.y.size(), 13u);
    // Each stroke's top, and no slanted piece between points.
    const double tops[] = {1, 9, 5, 7, 3};
    int top = 0;
    for (std::size_t i = 0; i < 13; ++i) {
        if (m.y[i] == 12) {
            EXPECT_EQ(m.x[i], tops[top++]);
        } else {
            EXPECT_EQ(m.y[i], 0);
        }
        if (i > 0) {
            EXPECT_TRUE(m.x[i] == m.x[i - 1] || (m.y[i] == 0 && m.y[i - 1] == 0)) << i;
        }
    }
    EXPECT_EQ(top, 5);

    const ParetoChart p = ComputePareto({5, 3, 1e7, -1});
    EXPECT_EQ(p.barX, (std::vector<double>{1, 2, 3, 4}));
    EXPECT_EQ(p.totalX, (std::vector<double>{0.5, 1.5, 2.5, 3.5, 4.5}));
    EXPECT_EQ(p.total, (std::vector<double>{0, 5, 8, 10000008, 10000007}));
}

// ---------------------------------------------------------------------------
// From the dispatcher: the graphs handed over.

// Every series of every graph drawn: its X and Y rows.
struct ChartCapture : GraphHost {
    explicit ChartCapture(Workspace& ws) : ws(ws) {}
    void GraSt(int request, int lastSeries) override {
        Graph g{request, ws.TextBuffer(), {}, {}};
        for (int s = 0; s <= lastSeries; ++s) {
            std::vector<double> x, y;
            for (int i = 0; i <= ws.VarLength[2 * s + 1]; ++i)
                x.push_back(ws.store.Data(2 * s, i));
            for (int i = 0; i <= ws.VarLength[2 * s + 2]; ++i)
                y.push_back(ws.store.Data(2 * s + 1, i));
            g.x.push_back(x);
            g.y.push_back(y);
        }
        graphs.push_back(g);
    }
    void pqsegr(bool) override {}
    struct Graph {
        int request;
        std::string title;
        std::vector<std::vector<double>> x, y;
    };
    Workspace& ws;
    std::vector<Graph> graphs;
};

struct NoWindows : RunWindows {
    std::string DataFileName() const override { return "qc.txt"; }
};

class QualityRunTest : public StatsTest {
  protected:
    QualityRunTest() : dispatcher(ws, form, registry, windows) {
        ws.resources = &TextResources::Builtin();
        ws.ProgramFolder = temp_.WithSlash();
        ws.graphs = &capture;
    }
    void Column(int col, const std::string& name, const std::vector<std::string>& cells) {
        PutSheetText(ws, name, col, -1);
        for (std::size_t i = 0; i < cells.size(); ++i)
            PutSheetText(ws, cells[i], col, static_cast<int>(i));
    }
    static std::vector<std::string> Texts(const std::vector<double>& values) {
        std::vector<std::string> t;
        for (double v : values) {
            char buffer[32];
            std::snprintf(buffer, sizeof buffer, "%.17g", v);
            t.push_back(buffer);
        }
        return t;
    }

    TempFolder temp_{"quality"};
    MethodRegistry registry = BuiltStatisticsMethods();
    TSMForm form{ws};
    NoWindows windows;
    MethodDispatcher dispatcher;
    ChartCapture capture{ws};
};

TEST_F(QualityRunTest, MeansAndRangesDrawEveryCompleteSubgroupUnderOneTitle) {
    Column(1, "размер", Texts(Measured));
    ui.ExpectVariables("Анализ переменных",
                       {{VariableAction::Include, {1}}, {VariableAction::Confirm, {}}})
        .ExpectForm("Контрольные карты", 1, {"5"});
    dispatcher.FormIni(34);
    EXPECT_TRUE(ui.scriptDone());
    EXPECT_TRUE(ui.notices().empty());
    ASSERT_EQ(capture.graphs.size(), 2u);
    for (const ChartCapture::Graph& g : capture.graphs) {
        EXPECT_EQ(g.request, RequestDescribed);
        EXPECT_EQ(g.title, "(x-R)-карта");
        ASSERT_EQ(g.x.size(), 4u);
        // Points 1 .. 4, the lines from the first point to the last.
        EXPECT_EQ(g.x[0], (std::vector<double>{1, 2, 3, 4}));
        for (int s = 1; s < 4; ++s)
            EXPECT_EQ(g.x[s], (std::vector<double>{1, 4}));
    }
    EXPECT_NEAR(capture.graphs[0].y[0][3], 10.14, 1e-12);
    EXPECT_NEAR(capture.graphs[0].y[1][0], 10.1, 1e-12);
    EXPECT_NEAR(capture.graphs[0].y[2][0], 10.604875, 1e-12);
    EXPECT_NEAR(capture.graphs[1].y[0][3], 1.3, 1e-12);
    EXPECT_NEAR(capture.graphs[1].y[2][1], 1.84625, 1e-12);
    // Points with line and markers, the centre line in the next colour, the
    // limits as lines.
    const SeriesDescription* d = ws.graphTables.SeriesDescriptions.data();
    EXPECT_EQ(d[0].marker * 10 + d[0].style, 1);
    EXPECT_EQ(d[1].marker * 10 + d[1].style, 10);
    EXPECT_EQ(d[2].marker * 10 + d[2].style, 0);
    EXPECT_EQ(d[3].marker * 10 + d[3].style, 0);
}

// The p chart reads the sizes and the defectives as pairs: a missing cell
// drops its pair only; a third variable chosen is not read at all.
TEST_F(QualityRunTest, PercentChartPairsSizesWithDefectivesAndDrawsLimitsPerPoint) {
    Column(1, "n", {"100", "120", "80", "100", "?", "150", "90", "110", "100"});
    Column(2, "d", {"4", "6", "2", "5", "3", "9", "3", "4", "7"});
    Column(3, "прочее", {"?", "?"});
    ui.ExpectVariables("Анализ переменных", {{VariableAction::Include, {1}},
                                             {VariableAction::Include, {2}},
                                             {VariableAction::Include, {3}},
                                             {VariableAction::Confirm, {}}})
        .ExpectForm("Контрольные карты", 4);
    dispatcher.FormIni(34);
    EXPECT_TRUE(ui.scriptDone());
    EXPECT_TRUE(ui.notices().empty()) << ui.notices().front();
    ASSERT_EQ(capture.graphs.size(), 1u);
    const ChartCapture::Graph& g = capture.graphs[0];
    EXPECT_EQ(g.title, "p-карта");
    ASSERT_EQ(g.y.size(), 4u);
    ASSERT_EQ(g.y[0].size(), 8u);
    EXPECT_NEAR(g.y[0][6], 3.63636363636364, 1e-12);
    EXPECT_NEAR(g.y[1][2], -2.4375406287017, 1e-12);  // not held at 0
    EXPECT_NEAR(g.y[2][4], 9.66805272005925, 1e-12);
    EXPECT_EQ(g.x[3], (std::vector<double>{1, 8}));
    EXPECT_NEAR(g.y[3][0], 4.55871212121212, 1e-12);
}

// R: xm <- x[-4]; mean(xm) +- 2.66 * mean(abs(diff(xm))).
TEST_F(QualityRunTest, IndividualsChartLeavesAMissingCellOut) {
    std::vector<std::string> cells = Texts(Measured);
    cells[3] = "?";
    Column(1, "размер", cells);
    ui.ExpectVariables("Анализ переменных",
                       {{VariableAction::Include, {1}}, {VariableAction::Confirm, {}}})
        .ExpectForm("Контрольные карты", 2);
    dispatcher.FormIni(34);
    EXPECT_TRUE(ui.scriptDone());
    ASSERT_EQ(capture.graphs.size(), 1u);
    const ChartCapture::Graph& g = capture.graphs[0];
    EXPECT_EQ(g.title, "x-карта");
    EXPECT_EQ(g.y[0].size(), 22u);
    EXPECT_NEAR(g.y[1][0], 10.1090909090909, 1e-12);
    EXPECT_NEAR(g.y[2][0], 11.4010909090909, 1e-12);
    EXPECT_NEAR(g.y[3][1], 8.81709090909091, 1e-12);
}

// R: mean(x), sd(x); the classes as the histogram form confirms them; the
// strokes reach the highest bar.
TEST_F(QualityRunTest, QualityHistogramWritesTheTableAndMarksTheLimits) {
    Column(1, "размер", Texts(Measured));
    // The only variable of the sheet is taken without the dialog.
    ui.ExpectForm("Гистограмма", 1, {"4", "9.4", "11"})
        .ExpectForm("Границы допуска", 1, {"9.6", "10.6"});
    dispatcher.FormIni(32);
    EXPECT_TRUE(ui.scriptDone());
    EXPECT_TRUE(ui.notices().empty());
    EXPECT_EQ(report.lines[2], "    Х-лев. Х-станд  Частота        %   Накопл.       %");
    ASSERT_EQ(capture.graphs.size(), 1u);
    const ChartCapture::Graph& g = capture.graphs[0];
    EXPECT_EQ(g.request, RequestPairs);
    EXPECT_EQ(g.title, "Гистограмма качества");
    ASSERT_EQ(g.x.size(), 2u);
    ASSERT_EQ(g.x[0].size(), 4u);
    EXPECT_NEAR(g.x[0][0], 9.4 + 0.4 / 2, 1e-6);
    // R: table(cut(x, c(9.4, 9.8, 10.2, 10.6, 11), include.lowest = TRUE)).
    EXPECT_EQ(g.y[0], (std::vector<double>{4, 12, 6, 1}));
    const double mean = 10.1086956521739, sd = 0.316102750093385;
    const std::vector<double> x = {9.6,  9.6,       10.6,      10.6,      10.6,      mean,     mean,
                                   mean, mean + sd, mean + sd, mean + sd, mean - sd, mean - sd};
    ASSERT_EQ(g.x[1].size(), 13u);
    for (int i = 0; i < 13; ++i)
        EXPECT_NEAR(g.x[1][i], x[i], 1e-12) << i;
    EXPECT_EQ(g.y[1][0], 12);
}

TEST_F(QualityRunTest, ParetoBarsInTheirOrderWithTheRunningTotal) {
    Column(1, "дефекты", {"12", "30", "?", "7", "1"});
    dispatcher.FormIni(33);
    EXPECT_TRUE(ui.scriptDone());
    ASSERT_EQ(capture.graphs.size(), 1u);
    const ChartCapture::Graph& g = capture.graphs[0];
    EXPECT_EQ(g.title, "Парето");
    EXPECT_EQ(g.x[0], (std::vector<double>{1, 2, 3, 4}));
    EXPECT_EQ(g.y[0], (std::vector<double>{12, 30, 7, 1}));
    EXPECT_EQ(g.x[1], (std::vector<double>{0.5, 1.5, 2.5, 3.5, 4.5}));
    EXPECT_EQ(g.y[1], (std::vector<double>{0, 12, 42, 49, 50}));
    EXPECT_EQ(ws.graphTables.SeriesStyles[0], 3);
    EXPECT_EQ(ws.graphTables.SeriesStyles[1], 1);
}

// ---------------------------------------------------------------------------
// From a script

class QualityBatchTest : public ::testing::Test {
  protected:
    QualityBatchTest() {
        std::ofstream(temp_ / "q.txt") << "x n d k\n"
                                          "10.2 100 4 5\n9.8 120 6 5\n10.5 80 2 5\n"
                                          "10.1 100 5 5\n9.9 150 9 5\n10.4 90 3 5\n"
                                          "10.0 110 4 5\n9.7 100 7 5\n10.3 100 5 5\n"
                                          "10.6 100 6 5\n9.6 100 3 5\n";
    }
    BatchOutcome Run(const std::string& script) {
        return RunMethodsScript("open q.txt\n" + script, temp_.WithSlash());
    }
    TempFolder temp_{"quality-batch"};
};

TEST_F(QualityBatchTest, EveryChartRunsFromAScript) {
    const BatchOutcome o =
        Run("method 32\nvariable x\nform 1\nform 1\ngraph keep\n"
            "method 33\nvariable d\ngraph keep\n"
            "method 34\nvariables x\nform 1 5\ngraph keep\ngraph keep\n"
            "method 34\nvariables x\nform 2\ngraph keep\n"
            "method 34\nvariables d\nform 3 100\ngraph keep\n"
            "method 34\nvariables n d\nform 4\ngraph keep\n"
            "method 34\nvariables d\nform 5\ngraph keep\n"
            "method 34\nvariables n d\nform 6\ngraph discard\n");
    ASSERT_EQ(o.status, BatchDone) << o.messages;
    EXPECT_EQ(o.messages, "");
    EXPECT_NE(o.results.find("КОНТРОЛЬ КАЧЕСТВА: ГИСТОГРАММА.  Файл: q.txt\n\n"
                             "    Х-лев. Х-станд  Частота        %   Накопл.       %\n"),
              std::string::npos)
        << o.results;
    EXPECT_NE(o.results.find("КОНТРОЛЬ КАЧЕСТВА: ДИАГРАММА ПАРЕТО.  Файл: q.txt\n\n\n"),
              std::string::npos);
    EXPECT_NE(o.results.find("КОНТРОЛЬ КАЧЕСТВА: КОНТРОЛЬНЫЕ КАРТЫ.  Файл: q.txt\n\n\n"),
              std::string::npos);
}

TEST_F(QualityBatchTest, BadAnswersStopAtTheirFieldWithTheNotice) {
    struct Case {
        const char* script;
        const char* notice;
    };
    const Case cases[] = {
        {"method 34\nvariables x\nform 1 11\n", SubgroupSizeNotice},
        {"method 34\nvariables x\nform 1 1\n", SubgroupSizeNotice},
        {"method 34\nvariables x\nform 1 пять\n", SubgroupSizeNotice},
        {"method 34\nvariables d\nform 3 0\n", BatchSizeNotice},
        {"method 32\nvariable x\nform 1\nform 1 слово\n", ToleranceNumberNotice},
        {"method 32\nvariable x\nform 1\nform 1 10.5 9.5\n", ToleranceOrderNotice},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        const BatchOutcome o = Run(c.script);
        EXPECT_EQ(o.status, BatchScriptFault);
        EXPECT_NE(o.messages.find(c.notice), std::string::npos) << o.messages;
    }
    // Data a chart cannot use end the method with a notice; the script goes on.
    const BatchOutcome one =
        Run("method 34\nvariables n\nform 4\nmethod 34\nvariables d\nform 3 5\n"
            "method 32\nvariable k\nmethod 34\nvariables k\nform 1 5\n");
    EXPECT_EQ(one.status, BatchDone) << one.messages;
    EXPECT_NE(one.messages.find(ConstantQualityNotice("k")), std::string::npos) << one.messages;
    EXPECT_NE(one.messages.find(NoSpreadChartNotice), std::string::npos) << one.messages;
    EXPECT_NE(one.messages.find(TwoChartVariablesNotice), std::string::npos) << one.messages;
    EXPECT_NE(one.messages.find(DefectivesRangeNotice), std::string::npos) << one.messages;
    // Cancelled dialogs end the method quietly.
    const BatchOutcome cancelled =
        Run("method 34\nvariables x\ncancel\nmethod 32\ncancel\nmethod 33\ncancel\n");
    EXPECT_EQ(cancelled.status, BatchDone) << cancelled.messages;
    EXPECT_EQ(cancelled.messages, "");
}

}  // namespace
}  // namespace dalvex
