// ARIMA models (method 18): the figures of every stage against R, the
// search's order and limits, the report and its notices, the faults the
// method must not have, and the method end to end from the dispatcher and
// from dalvex-batch.
//
// The series in data/arima_*.txt were made in R (set.seed(2718)):
//   ar1    <- arima.sim(list(ar = 0.7), n = 2000) + 10
//   arma11 <- arima.sim(list(ar = 0.6, ma = 0.4), n = 500)
//   ari    <- cumsum(arima.sim(list(ar = 0.5), n = 300) + 0.3) + 100
//   noise  <- rnorm(200)
// and two harder ones: "rounded", the AR(1) rounded to whole numbers (ties),
// and "nearunit", set.seed(31); arima.sim(list(ar = 0.995), n = 1000) + 50.
// and the expected figures come from data/arima_reference.R, which computes
// them with R's own routines: acf(type = "partial") and ar.yw for the scan,
// Box.test(type = "Box-Pierce", fitdf = p + q) for the portmanteau
// statistic (times (n - d)/n), arima(w - mean(w), method = "CSS",
// include.mean = FALSE, n.cond = max(p, q)) for the least squares (R's MA
// coefficients have the opposite sign), ARMAtoMA for the ψ weights, and the
// forecast and Durbin-Watson formulas written out.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "batch/batch_runner.h"
#include "core/text.h"
#include "dispatch/dispatcher.h"
#include "dispatch/loading.h"
#include "output/text_resource.h"
#include "stats/arima.h"
#include "stats/arima_report.h"
#include "stats/statistics_methods.h"
#include "stats_fixture.h"

namespace dalvex {
namespace {

std::vector<double> Series(const std::string& name) {
    std::ifstream in(std::string(DALVEX_STATS_DATA) + "/arima_" + name + ".txt");
    std::vector<double> x;
    for (double v; in >> v;)
        x.push_back(v);
    EXPECT_FALSE(x.empty()) << name;
    return x;
}

void ExpectNear(const std::vector<double>& got, const std::vector<double>& want, double tol,
                const std::string& what) {
    ASSERT_EQ(got.size(), want.size()) << what;
    for (std::size_t i = 0; i < want.size(); ++i)
        EXPECT_NEAR(got[i], want[i], tol * std::max(1.0, std::fabs(want[i]))) << what << " " << i;
}

// ---------------------------------------------------------------------------
// Figures against R

TEST(ArimaFiguresTest, OrderScanMatchesRsPartialAutocorrelationsAndYuleWalker) {
    const std::vector<double> x = Series("ar1");
    const ArOrderScanFigures scan = ScanArOrders(x, SquareSide);
    EXPECT_EQ(scan.m, 50);
    // acf(ar1, lag.max = 50, type = "partial")
    ExpectNear(
        {scan.partial.begin(), scan.partial.begin() + 5},
        {0.7084901084564, -0.0076584858938, 0.0004345989692, 0.0259359141367, 0.0030503956622},
        1e-9, "pacf");
    // ar.yw(order.max = 3)$var.pred = c0·v_3·n/(n - 4); FPE_3 = v_3·(N + 3)/(N - 3).
    std::vector<double> centred = x;
    double mean = 0;
    for (double v : x)
        mean += v / x.size();
    double c0 = 0;
    for (double v : x)
        c0 += (v - mean) * (v - mean) / x.size();
    const double n = static_cast<double>(x.size());
    const double v3 = 0.9930021615 * (n - 4) / n / c0;
    EXPECT_NEAR(scan.predictionError[1], v3 * (n - 1 + 3) / (n - 1 - 3), 1e-9);

    // The scanned orders: Trunc(N/2) for a short series, the work width's bound.
    EXPECT_EQ(ScanArOrders({1, 3, 2, 5, 4, 6, 5}, SquareSide).m, 3);
    EXPECT_EQ(ScanArOrders(x, 20).m, 19);
    EXPECT_EQ(ScanArOrders(std::vector<double>(40, 2.5), SquareSide).m, 0);
}

struct RCase {
    const char* series;
    ArimaOrders orders;
    double chiSquare;  // the first candidate's portmanteau statistic
    int df;
    std::vector<double> phi, theta;  // refined (our sign of θ)
    double noiseVariance, intercept;
    std::vector<double> psi, standardError, mean;
    double durbinWatson;
};

const RCase RCases[] = {
    {"ar1",
     {1, 0, 0},
     211.1157787,
     200,
     {0.708928466},
     {},
     0.9903353387,
     2.903939544,
     {0.7089284660, 0.5025795699, 0.3562929635, 0.2525862241, 0.1790655644},
     {1.071769874, 1.313772858, 1.419909349, 1.470361426, 1.495074900},
     {8.864603745, 9.188309478, 9.417793687, 9.580481575, 9.695815650},
     0.9946468136},
    {"arma11",
     {1, 1, 0},
     50.5601018,
     50,
     {0.5802105483},
     {-0.4296990522},
     1.061589703,
     0.025766106,
     {1.0099096005, 0.5859602031, 0.3399802907, 0.1972601509, 0.1144524203},
     {1.119914191, 1.591664584, 1.721635151, 1.763234869, 1.777020088},
     {-2.4867952530, -1.4170987313, -0.7964495259, -0.4363423101, -0.2274043050},
     1.002576842},
    {"ari",
     {1, 0, 1},
     25.35307565,
     29,
     {0.5396162086},
     {},
     1.050901944,
     0.1452594503,
     {1.539616209, 1.830801861, 1.987930359, 2.072719443, 2.118473007},
     {0.8821813538, 1.6195701409, 2.2872588562, 2.8821987632, 3.4132879727},
     {196.0050326, 196.3380689, 196.6630401, 196.9836593, 197.3019301},
     0.9738200595},
    // White noise: the first candidate, an AR(1) with φ near 0, passes.
    {"noise",
     {1, 0, 0},
     21.98970038,
     20,
     {-0.06551519787},
     {},
     0.9367844887,
     0.0647546488,
     {-6.551519787e-02, 4.292241151e-03, -2.812070283e-04, 1.842333410e-05, -1.207008379e-06},
     {0.7656164134, 0.7672577591, 0.7672647966, 0.7672648268, 0.7672648270},
     {-0.05123313341, 0.06811119767, 0.06029233021, 0.06080458486, 0.06077102439},
     0.9961651958},
    {"rounded",
     {1, 0, 0},
     212.7675286,
     200,
     {0.6914875157},
     {},
     1.080664099,
     3.075252443,
     {0.6914875157, 0.4781549844, 0.3306382023, 0.2286321891, 0.1580963045},
     {1.124084483, 1.366655140, 1.468549663, 1.514850880, 1.536497043},
     {8.607152569, 9.026990991, 9.317304018, 9.518051852, 9.656866473},
     1.007087113},
    {"nearunit",
     {1, 0, 0},
     119.1843208,
     100,
     {0.9938724206},
     {},
     0.9812992286,
     0.2841748796,
     {0.9938724206, 0.9877823885, 0.9817296735, 0.9757140470, 0.9697352818},
     {0.8486024048, 1.1964338104, 1.4608528183, 1.6817085074, 1.8744909674},
     {53.54651381, 53.50257818, 53.45891176, 53.41551292, 53.37238000},
     1.002424591},
};

TEST(ArimaFiguresTest, EveryStageMatchesR) {
    for (const RCase& c : RCases) {
        SCOPED_TRACE(c.series);
        const std::vector<double> x = Series(c.series);
        const ArimaSearchFigures search = SearchArima(x, c.orders, 0.05);
        ASSERT_TRUE(search.accepted);
        ASSERT_EQ(search.tried.size(), 1u);
        const ArimaCandidate& first = search.tried[0];
        EXPECT_EQ(first.model.orders, c.orders);
        // The moment estimates stop at a tolerance; R's Box.test gets the
        // coefficients solved exactly.
        EXPECT_NEAR(first.chiSquare, c.chiSquare, 1e-3 * c.chiSquare);
        EXPECT_EQ(first.df, c.df);

        const ArimaRefinement refined = RefineArima(x, first.model);
        EXPECT_FALSE(refined.iterationLimit);
        ExpectNear(refined.model.phi, c.phi, 2e-4, "phi");
        ExpectNear(refined.model.theta, c.theta, 2e-4, "theta");
        EXPECT_NEAR(refined.model.noiseVariance, c.noiseVariance, 1e-6);
        EXPECT_NEAR(refined.intercept, c.intercept, 2e-4);

        std::uint32_t seed = 1;
        const ArimaForecastFigures f = ForecastArima(
            x, refined, 5, c.orders.p + c.orders.q + c.orders.d + 21, 0, 1, 0.05, seed);
        ExpectNear(f.psi, c.psi, 5e-4, "psi");
        std::vector<double> se;
        for (double w : f.halfWidth)
            se.push_back(w / f.z);
        ExpectNear(se, c.standardError, 5e-4, "standard error");
        ExpectNear(f.mean, c.mean, 5e-5, "mean forecast");
        EXPECT_DOUBLE_EQ(se[0], f.sigmaTail);
        EXPECT_NEAR(f.z, 1.958323004, 1e-8);

        const DurbinWatsonFigures dw = DurbinWatsonCheck(x, refined.model);
        ASSERT_TRUE(dw.defined);
        EXPECT_NEAR(dw.r, c.durbinWatson, 5e-5);
    }
}

// R: ARMAtoMA(ar = c(0.5, 0.3), ma = 0.4, lag.max = 6) - θ = -0.4 here.
TEST(ArimaFiguresTest, PsiWeightsAndDifferencingExpansion) {
    ExpectNear(PsiWeights({0.5, 0.3}, {-0.4}, 6), {0.9, 0.75, 0.645, 0.5475, 0.46725, 0.397875},
               1e-12, "psi");
    // (1 - 0.5B)(1 - B)^2 = 1 - 2.5B + 2B² - 0.5B³
    ExpectNear(ExpandDifferencing({0.5}, 2), {2.5, -2, 0.5}, 1e-15, "expanded");
    ExpectNear(ExpandDifferencing({}, 1), {1}, 0, "random walk");
}

TEST(ArimaFiguresTest, MaFactorSolvesTheCovarianceEquations) {
    // An MA(2) with τ = (1, -0.5, 0.25): γ = (1.3125, -0.625, 0.25).
    const std::vector<double> tau = MaFactor({1.3125, -0.625, 0.25});
    ASSERT_EQ(tau.size(), 3u);
    ExpectNear(tau, {1, -0.5, 0.25}, 2e-3, "tau");
    // White noise needs no MA term: τ_1 is set to 0.
    ExpectNear(MaFactor({2.0, 0.0}), {std::sqrt(2.0), 0}, 1e-6, "noise");
    // No real factor: |γ_1| > γ_0 / 2.
    EXPECT_TRUE(MaFactor({1.0, 0.9}).empty());
    EXPECT_TRUE(MaFactor({0.0, 0.0}).empty());
}

// ---------------------------------------------------------------------------
// The search

TEST(ArimaSearchTest, CandidatesComeInTheirOrderAndTheBestOneIsKeptWhenNonePasses) {
    const std::vector<double> x = Series("arma11");
    // A level no significance reaches: every candidate is tried.
    const ArimaSearchFigures search = SearchArima(x, {1, 0, 0}, 1.5);
    EXPECT_FALSE(search.accepted);
    ASSERT_GE(search.tried.size(), 6u);
    const std::vector<ArimaOrders> firstSix = {{1, 0, 0}, {1, 1, 0}, {1, 2, 0},
                                               {2, 0, 0}, {2, 1, 0}, {2, 2, 0}};
    for (std::size_t i = 0; i < firstSix.size(); ++i)
        EXPECT_EQ(search.tried[i].model.orders, firstSix[i]) << i;
    EXPECT_LE(search.tried.size(), static_cast<std::size_t>(ArimaCandidateCount));
    EXPECT_EQ(search.tried.back().model.orders, (ArimaOrders{3, 2, 2}));
    // The chosen model is the one with the highest significance, with its
    // own orders and coefficients.
    ASSERT_GE(search.chosen, 0);
    for (const ArimaCandidate& c : search.tried)
        EXPECT_LE(c.significance, search.tried[search.chosen].significance);
    const ArimaModelFit& chosen = search.tried[search.chosen].model;
    EXPECT_EQ(chosen.phi.size(), static_cast<std::size_t>(chosen.orders.p));
    EXPECT_EQ(chosen.theta.size(), static_cast<std::size_t>(chosen.orders.q));
}

TEST(ArimaSearchTest, EstimatesDoNotDependOnTheUnits) {
    const std::vector<double> x = Series("arma11");
    for (double scale : {1e-9, 1e9}) {
        std::vector<double> scaled = x;
        for (double& v : scaled)
            v *= scale;
        const ArimaSearchFigures a = SearchArima(x, {3, 1, 0}, 1.5);
        const ArimaSearchFigures b = SearchArima(scaled, {3, 1, 0}, 1.5);
        ASSERT_EQ(a.tried.size(), b.tried.size()) << scale;
        for (std::size_t i = 0; i < a.tried.size(); ++i) {
            EXPECT_EQ(a.tried[i].model.orders, b.tried[i].model.orders);
            EXPECT_NEAR(a.tried[i].chiSquare, b.tried[i].chiSquare, 1e-6 * a.tried[i].chiSquare);
        }
        const ArimaRefinement ra = RefineArima(x, a.tried[0].model);
        const ArimaRefinement rb = RefineArima(scaled, b.tried[0].model);
        ExpectNear(rb.model.phi, ra.model.phi, 1e-6, "phi");
        EXPECT_NEAR(rb.model.noiseVariance / (scale * scale), ra.model.noiseVariance,
                    1e-6 * ra.model.noiseVariance);
    }
    // The bound on the AR coefficients compares them with autocorrelations:
    // the same equations in other units are accepted alike.
    bool ok1 = false, ok2 = false;
    const std::vector<double> c = {1, 0.8, 0.5, 0.3, 0.2, 0.1};
    std::vector<double> small = c;
    for (double& v : small)
        v *= 1e-12;
    ModifiedYuleWalker(c, 3, 0, ok1);
    ModifiedYuleWalker(small, 3, 0, ok2);
    EXPECT_TRUE(ok1);
    EXPECT_TRUE(ok2);
}

// ---------------------------------------------------------------------------
// The method

struct Windows : RunWindows {
    std::string DataFileName() const override { return "ряд.txt"; }
};

// Scripted answers that stop the stage named `stopText` at its step `stopAt`.
struct StoppingDialogs : ScriptedDialogs {
    bool Progress(const std::string& text, int done, int total) override {
        shown.push_back({text, done, total});
        return !(text == stopText && done >= stopAt && done < total);
    }
    struct Shown {
        std::string text;
        int done, total;
    };
    // Whether the display of `text` was closed (done = total) as it last showed.
    bool Closed(const std::string& text) const {
        for (auto it = shown.rbegin(); it != shown.rend(); ++it)
            if (it->text == text)
                return it->done == it->total;
        return false;
    }
    std::string stopText;
    int stopAt = 0;
    std::vector<Shown> shown;
};

class ArimaMethodTest : public ::testing::Test {
  protected:
    ArimaMethodTest() {
        EXPECT_TRUE(ws.store.Allocate());
        ws.report = &report;
        ws.graphs = &graphs;
        ws.resources = &TextResources::Builtin();
        ws.ProgramFolder = folder.string() + "/";
        std::filesystem::create_directories(folder);
    }
    ~ArimaMethodTest() override { std::filesystem::remove_all(folder); }

    void Sheet(const std::vector<std::string>& cells) {
        ws.sheet.Reset();
        PutSheetText(ws, "ряд", 1, -1);
        for (std::size_t i = 0; i < cells.size(); ++i)
            PutSheetText(ws, cells[i], 1, static_cast<int>(i));
    }
    void Sheet(const std::vector<double>& x) {
        std::vector<std::string> cells;
        for (double v : x) {
            std::ostringstream s;
            s.precision(17);
            s << v;
            cells.push_back(s.str());
        }
        Sheet(cells);
    }
    // The scan's two questions, the form, then `rest` answered no.
    void Run(std::vector<std::string> form, int noAfter = 3) {
        ui.ExpectYesNo("", false).ExpectYesNo("", false);
        ui.ExpectForm("ARIMA-модели", 1, std::move(form));
        for (int i = 0; i < noAfter; ++i)
            ui.ExpectYesNo("", false);
        dispatcher.FormIni(18);
    }
    std::vector<std::string> Lines(const std::string& start) const {
        std::vector<std::string> found;
        for (const std::string& line : report.lines)
            if (line.rfind(start, 0) == 0)
                found.push_back(line);
        return found;
    }
    std::size_t IndexOf(const std::string& line) const {
        const auto it = std::find(report.lines.begin(), report.lines.end(), line);
        return static_cast<std::size_t>(it - report.lines.begin());
    }

    std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("dalvex-arima-" + std::to_string(::getpid()));
    StoppingDialogs ui;
    Workspace ws{ui};
    ReportLines report;
    GraphCapture graphs{ws};
    MethodRegistry registry = BuiltStatisticsMethods();
    TSMForm form{ws};
    Windows windows;
    MethodDispatcher dispatcher{ws, form, registry, windows};
};

TEST_F(ArimaMethodTest, ReportOfAnAr1FromTheDispatcher) {
    Sheet(Series("ar1"));
    Run({"1", "0", "0", "3"});
    EXPECT_TRUE(ui.scriptDone());
    EXPECT_TRUE(ui.notices().empty()) << ui.notices()[0];
    const std::vector<std::string> expected = {
        dispatcher.HeaderLine(18),
        "",
        "               Переменная ряд",
        "Модель: AR=1, MA=0, дифф=0, хи2=211.1, ст.своб=200, значим=0.2813",
        "   Гипотеза 0: <Остатки модели некоррелированы>",
        "",
        "                   Коэффициенты авторегрессионной модели",
        ArHeading,
        "    2.904   0.7089",
        "",
        "                 Коэффициенты модели скользящего среднего",
        MaHeading,
        "   0.9903",
        "",
        ForecastHeading,
    };
    ASSERT_GE(report.lines.size(), expected.size() + 3);
    EXPECT_EQ(
        std::vector<std::string>(report.lines.begin(), report.lines.begin() + expected.size()),
        expected);
    // Exactly h forecast lines; the first step's standard error is σ̂.
    EXPECT_EQ(report.lines[expected.size()].substr(0, 36), "     2000    8.865    1.072    2.099");
    EXPECT_EQ(report.lines[expected.size() + 2].substr(0, 9), "     2002");
    EXPECT_EQ(report.lines[expected.size() + 3],
              "Корреляция остатков Дурбина-Ватсона=0.9946, значимость=0.8107");
    EXPECT_EQ(report.lines[expected.size() + 4], "   Гипотеза 0: <Остатки модели некоррелированы>");
    // The dialog remembers its six texts.
    std::ifstream memory(folder / "q251.ini");
    std::string first;
    std::getline(memory, first);
    EXPECT_EQ(first.substr(0, 1), "1");
    // The search and the refinement showed their progress and closed it.
    EXPECT_TRUE(ui.Closed(ArimaSearchProgress));
    EXPECT_TRUE(ui.Closed(ArimaRefinementProgress));
}

TEST_F(ArimaMethodTest, OrdersHorizonAndLengthAreChecked) {
    const std::vector<double> x = Series("noise");
    struct Case {
        int values;
        std::vector<std::string> form;
        const char* notice;  // nullptr: the method runs
    };
    const Case cases[] = {
        {60, {"0", "0", "0", "5"}, ArimaNotApplicableNotice},
        {60, {"1", "0", "0", "0"}, ArimaNotApplicableNotice},
        {60, {"-1", "2", "0", "5"}, ArimaNotApplicableNotice},
        {60, {"1", "0", "21", "5"}, ArimaNotApplicableNotice},
        // A series needs p + q + d + 28 values.
        {2 + 1 + 1 + 28, {"2", "1", "1", "5"}, nullptr},
        {2 + 1 + 1 + 27, {"2", "1", "1", "5"}, ArimaNotApplicableNotice},
        {60, {"1", "0", "0", "5", "x"}, ArimaTimeNotice},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.values);
        report.lines.clear();
        ui.ClearLog();
        Sheet(std::vector<double>(x.begin(), x.begin() + c.values));
        ui.ExpectYesNo("", false).ExpectYesNo("", false);
        ui.ExpectForm("ARIMA-модели", 1, c.form);
        if (c.notice == nullptr)
            for (int i = 0; i < 3; ++i)
                ui.ExpectYesNo("", false);
        dispatcher.FormIni(18);
        EXPECT_TRUE(ui.scriptDone());
        if (c.notice != nullptr) {
            EXPECT_EQ(ui.notices(), std::vector<std::string>{c.notice});
            // Nothing after the header and the variable's line.
            EXPECT_EQ(report.lines.size(), 5u);
        } else {
            EXPECT_FALSE(Lines("Модель: AR=2, MA=1, дифф=1").empty());
        }
    }
}

TEST_F(ArimaMethodTest, CancellingTheFormEndsTheMethodAfterTheHeader) {
    Sheet(Series("noise"));
    ui.ExpectYesNo("", false).ExpectYesNo("", false);
    ui.ExpectForm("ARIMA-модели", 0);
    dispatcher.FormIni(18);
    EXPECT_TRUE(ui.scriptDone());
    EXPECT_TRUE(ui.notices().empty());
    EXPECT_EQ(report.lines, (std::vector<std::string>{dispatcher.HeaderLine(18), "",
                                                      "               Переменная ряд", "", ""}));
}

TEST_F(ArimaMethodTest, HorizonIsCappedToTheRoomOfTheStore) {
    // 252 steps at most beside a short series: the work rows hold no more.
    Sheet(Series("noise"));
    Run({"1", "0", "0", "400"});
    EXPECT_EQ(ui.notices(), std::vector<std::string>{std::string(ArimaLongSeriesNotice) + "252"});
    const std::size_t table = IndexOf(ForecastHeading);
    ASSERT_LT(table, report.lines.size());
    EXPECT_EQ(report.lines[table + 253].rfind("Корреляция остатков", 0), 0u);

    // A series as long as the sheet's column leaves one step in its row.
    report.lines.clear();
    ui.ClearLog();
    std::vector<double> longSeries;
    const std::vector<double> ar = Series("ar1");
    for (int i = 0; i < 16000; ++i)
        longSeries.push_back(ar[i % ar.size()]);
    Sheet(longSeries);
    Run({"1", "0", "0", "10"});
    EXPECT_EQ(ui.notices(), std::vector<std::string>{std::string(ArimaLongSeriesNotice) + "1"});
    const std::size_t longTable = IndexOf(ForecastHeading);
    ASSERT_LT(longTable + 2, report.lines.size());
    EXPECT_EQ(report.lines[longTable + 1].substr(0, 9), "    1.6E4");
    EXPECT_EQ(report.lines[longTable + 2].rfind("Корреляция остатков", 0), 0u);
}

TEST_F(ArimaMethodTest, WithoutAnAdequateModelTheLaterStagesUseTheBestOneWhole) {
    ws.settings.SignificanceLevel = 1.5;  // nothing passes
    Sheet(Series("ari"));
    Run({"1", "0", "1", "3"});
    const std::vector<std::string> models = Lines("Модель: AR=");
    EXPECT_GE(models.size(), 20u);
    const std::vector<std::string> none = Lines("Адекватная модель не найдена");
    ASSERT_EQ(none.size(), 1u);
    // The chosen orders are one candidate's, and the coefficient lines hold
    // exactly its coefficients.
    const std::string orders = none[0].substr(none[0].find("AR="));
    EXPECT_FALSE(Lines("Модель: " + orders).empty()) << orders;
    const int p = orders[3] - '0';
    const int q = orders[orders.find("MA=") + 3] - '0';
    const std::size_t ar = IndexOf(ArHeading), ma = IndexOf(MaHeading);
    EXPECT_EQ(report.lines[ar + 1].size(), 9u * (p + 1));
    EXPECT_EQ(report.lines[ma + 1].size(), 9u * (q + 1));
    for (const std::string& line : report.lines) {
        EXPECT_EQ(LowerCase(line).find("nan"), std::string::npos) << line;
        EXPECT_EQ(LowerCase(line).find("inf"), std::string::npos) << line;
    }
}

TEST_F(ArimaMethodTest, NearUnitRootAndHardSeriesGiveFiniteReports) {
    std::uint32_t seed = 7;
    std::vector<double> walk, trend, offset;
    double level = 0, last = 0;
    const std::vector<double> noise = Series("noise");
    for (int i = 0; i < 400; ++i) {
        level = 0.99999 * level + PolarNormal(seed);
        walk.push_back(level);
        trend.push_back(3 * i + 1e-6 * noise[i % noise.size()]);
        last = 0.7 * last + noise[i % noise.size()];
        offset.push_back(1e7 + 1e-3 * last);
    }
    struct Case {
        std::vector<double> x;
        std::vector<std::string> form;
    };
    const Case cases[] = {
        {walk, {"2", "1", "0", "5"}},   {walk, {"1", "1", "1", "5"}},
        {trend, {"1", "0", "0", "5"}},  {trend, {"1", "0", "1", "5"}},
        {offset, {"1", "0", "0", "5"}},
    };
    for (const Case& c : cases) {
        report.lines.clear();
        ui.ClearLog();
        Sheet(c.x);
        ui.ExpectYesNo("", false).ExpectYesNo("", false);
        ui.ExpectForm("ARIMA-модели", 1, c.form);
        for (int i = 0; i < 3; ++i)
            ui.ExpectYesNo("", false);
        dispatcher.FormIni(18);
        for (const std::string& notice : ui.notices())
            EXPECT_EQ(notice.find("Прерывание"), std::string::npos) << notice;
        for (const std::string& line : report.lines) {
            EXPECT_EQ(LowerCase(line).find("nan"), std::string::npos) << line;
            EXPECT_EQ(LowerCase(line).find("inf"), std::string::npos) << line;
        }
    }
}

TEST_F(ArimaMethodTest, LargeOffsetAndAMissingCellKeepTheFigures) {
    // The AR(1) moved by 1e7, with a missing cell in front: the missing value
    // is dropped and only a0 and the forecasts move with the offset.
    std::vector<std::string> cells = {"?"};
    for (double v : Series("ar1")) {
        std::ostringstream s;
        s.precision(17);
        s << v + 1e7;
        cells.push_back(s.str());
    }
    Sheet(cells);
    Run({"1", "0", "0", "1"});
    const std::size_t ar = IndexOf(ArHeading);
    ASSERT_LT(ar + 1, report.lines.size());
    EXPECT_EQ(report.lines[ar + 1].substr(9), "   0.7089");
    EXPECT_EQ(report.lines[IndexOf(MaHeading) + 1], "   0.9903");
    EXPECT_EQ(Lines("Корреляция остатков Дурбина-Ватсона=0.9946").size(), 1u);
}

TEST_F(ArimaMethodTest, TheRefinementsIterationLimitIsReportedAndTheMethodGoesOn) {
    // An ARMA(2, 2) for an ARMA(1, 1): a flat valley the descent does not
    // leave in 125 iterations.
    Sheet(Series("arma11"));
    Run({"2", "2", "0", "2"});
    EXPECT_EQ(ui.notices(), std::vector<std::string>{ArimaIterationLimitNotice});
    const std::size_t ar = IndexOf(ArHeading);
    ASSERT_LT(ar + 1, report.lines.size());
    EXPECT_GE(report.lines[ar + 1].size(), 27u);
    EXPECT_EQ(Lines("Корреляция остатков Дурбина-Ватсона=").size(), 1u);
}

TEST_F(ArimaMethodTest, DegenerateSeriesGetANotice) {
    struct Case {
        std::vector<std::string> cells;
        bool dialog;
        const char* notice;
    };
    const Case cases[] = {
        {std::vector<std::string>(40, "3,5"), true, ArimaConstantNotice},
        {{"", "?", "x"}, false, TooFewValuesNotice},
    };
    for (const Case& c : cases) {
        report.lines.clear();
        ui.ClearLog();
        Sheet(c.cells);
        if (c.dialog)
            ui.ExpectForm("ARIMA-модели", 1, {"1", "0", "0", "5"});
        dispatcher.FormIni(18);
        EXPECT_TRUE(ui.scriptDone());
        EXPECT_EQ(ui.notices(), std::vector<std::string>{c.notice});
    }
}

TEST_F(ArimaMethodTest, PureMaModelSimulatesThreePathsAroundTheMean) {
    Sheet(Series("arma11"));
    ws.RandomSeed = 12345;
    Run({"0", "1", "0", "4"});
    const std::size_t table = IndexOf(ForecastHeading);
    ASSERT_LT(table + 4, report.lines.size());
    const std::string first = report.lines[table + 1];
    // time, mean, error, half-width, then three paths.
    std::istringstream fields(first);
    std::vector<double> v;
    for (double f; fields >> f;)
        v.push_back(f);
    ASSERT_EQ(v.size(), 7u);
    for (int i = 4; i < 7; ++i)
        EXPECT_LT(std::fabs(v[i] - v[1]), 6 * v[2]);

    // The same seed replays the same paths.
    const std::vector<std::string> before(report.lines.begin() + table,
                                          report.lines.begin() + table + 5);
    report.lines.clear();
    ws.RandomSeed = 12345;
    Run({"0", "1", "0", "4"});
    const std::size_t again = IndexOf(ForecastHeading);
    EXPECT_EQ(
        std::vector<std::string>(report.lines.begin() + again, report.lines.begin() + again + 5),
        before);
}

TEST_F(ArimaMethodTest, GraphsOfTheScanForecastAndResiduals) {
    Sheet(Series("noise"));
    ui.ExpectYesNo("ошибки прогноза", true);
    ui.ExpectYesNo("частной автокорреляционной", true);
    ui.ExpectForm("ARIMA-модели", 1, {"1", "0", "0", "3"});
    ui.ExpectYesNo(ForecastBandQuestion, true);
    ui.ExpectYesNo(ForecastPathsQuestion, true);
    ui.ExpectYesNo(ArimaResidualsQuestion, true);
    dispatcher.FormIni(18);
    EXPECT_TRUE(ui.scriptDone());
    EXPECT_TRUE(ui.notices().empty());
    EXPECT_EQ(graphs.requests, 5);
    EXPECT_EQ(graphs.prompts, 2);
    EXPECT_EQ(graphs.request, RequestDescribed);
    EXPECT_EQ(graphs.title, "ARIMA-остатки");
    // Residuals from observation max(p, q) = 1 on.
    EXPECT_EQ(graphs.rows[0].front(), 1);
    EXPECT_EQ(graphs.rows[1].size(), 199u);
}

TEST_F(ArimaMethodTest, StoppingASearchOrARefinementEndsTheMethodWithWhatItWrote) {
    struct Case {
        const char* stage;
        int at;
        std::size_t models;
    };
    // Stopped before the fourth candidate, or at the refinement's third step
    // after all 25 candidates that can be estimated.
    const Case cases[] = {{ArimaSearchProgress, 3, 3}, {ArimaRefinementProgress, 2, 25}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stage);
        report.lines.clear();
        ui.ClearLog();
        ui.shown.clear();
        ws.settings.SignificanceLevel = 1.5;
        Sheet(Series("arma11"));
        ui.stopText = c.stage;
        ui.stopAt = c.at;
        ui.ExpectYesNo("", false).ExpectYesNo("", false);
        ui.ExpectForm("ARIMA-модели", 1, {"1", "0", "1", "3"});
        dispatcher.FormIni(18);
        EXPECT_TRUE(ui.scriptDone());
        EXPECT_EQ(ui.notices(), std::vector<std::string>{WorkStoppedNotice});
        EXPECT_EQ(Lines("Модель: AR=").size(), c.models);
        EXPECT_TRUE(Lines("       а0").empty());
        EXPECT_TRUE(ui.Closed(c.stage));
    }
}

TEST(ArimaBatchTest, RunsFromDalvexBatchAndReplaysWithItsSeed) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("dalvex-arima-batch-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::ofstream data(folder / "ряд.txt");
    data << "ряд\n";
    for (double v : Series("arma11"))
        data << v << "\n";
    data.close();
    auto run = [&](const std::string& seed) {
        std::ostringstream results, messages;
        const int status = RunBatchScript(
            "open ряд.txt\nseed " + seed +
                "\nmethod 18\nyes\ngraph keep\nno\nform 1 1 1 0 3 \"Начальное время=1990\"\n"
                "yes\nyes\nno\n",
            folder.string() + "/", BuiltStatisticsMethods(), results, messages);
        EXPECT_EQ(status, BatchDone) << messages.str();
        return results.str();
    };
    const std::string first = run("42");
    EXPECT_NE(first.find("Модель: AR=1, MA=1, дифф=0"), std::string::npos) << first;
    EXPECT_NE(first.find("\n     2490 "), std::string::npos) << first;
    EXPECT_EQ(run("42"), first);
    EXPECT_NE(run("43"), first);
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace dalvex
