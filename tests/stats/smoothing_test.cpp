// Smoothing and filtering of one series: every smoother and backshift filter
// against R, the Fourier band-pass filter against R's fft, its band rules,
// and the method end to end through the batch runner.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "batch/batch_runner.h"
#include "numeric/robust_smoothing.h"
#include "stats/smoothing.h"
#include "stats/statistics_methods.h"
#include "stats_fixture.h"
#include "support/temp_folder.h"

namespace dalvex {
namespace {

const std::vector<double> Series = {3.1, 4.7, 2.2, 5.9, 6.3, 4.4, 7.8, 8.1, 6.6, 9.5, 10.2, 8.7};

void ExpectValues(const std::vector<double>& got, const std::vector<double>& want, double tol,
                  const std::string& what) {
    ASSERT_EQ(got.size(), want.size()) << what;
    for (std::size_t i = 0; i < want.size(); ++i)
        EXPECT_NEAR(got[i], want[i], tol * (1 + std::fabs(want[i]))) << what << " at " << i;
}

// R 4, x = Series, n = 12, ext(v) = c(v, rep(v[length(v)], n - length(v))):
//  1: stats::filter(x, rep(1/3, 3)), ends (7x1 + 4x2 - 2x3)/9 mirrored
//  2: stats::filter(x, rep(1/5, 5)), ends .45 .36 .28 0 -.09 and
//     .34 .29 .24 .19 -.06 mirrored
//  3: stats::filter(x, c(.1, .2, .4, .2, .1)), ends .7 .5 -.1 -.1 and
//     .3 .5 .1 .1 mirrored
//  4: W = 0.3: c(x[1], stats::filter(W*x[-1], 1-W, "recursive", init = x[1]))
//     (the level of HoltWinters(ts(x), alpha = .3, beta = FALSE,
//     gamma = FALSE, l.start = x[1]))
//  6: ext(diff(x)); 7 (a = 3): ext(diff(x, differences = 3));
//  8 (a = 3): ext(diff(x, lag = 3)); 9: cumsum(x)
//  10: ext(na.omit(stats::filter(x, c(.5, 0, .5), sides = 1)))
//  11 (a = 3): ext(na.omit(stats::filter(x, rep(1/3, 3), sides = 1)))
//  12, 13, 14: the same with c(1, -1, 1), c(1, -sqrt(3), 1) and
//     c(1, sqrt(3), 1) / (2 + sqrt(3))
TEST(SmoothSeriesTest, EverySmootherAndFilterMatchesR) {
    struct Case {
        int answer;
        std::vector<double> want;
    };
    const Case cases[] = {
        {LinearThree,
         {4.0111111111111111, 3.333333333333333, 4.2666666666666666, 4.7999999999999998,
          5.5333333333333332, 6.1666666666666661, 6.7666666666666657, 7.4999999999999991,
          8.0666666666666664, 8.7666666666666657, 9.466666666666665, 9.1888888888888882}},
        {LinearFive, {3.136, 3.688, 4.44, 4.7, 5.32, 6.5, 6.64, 7.28, 8.44, 8.62, 8.964, 9.518}},
        {QuadraticFive, {3.71, 4.09, 3.94, 4.97, 5.58, 5.98, 6.91, 7.51, 7.96, 8.84, 9.32, 9.58}},
        {Exponential,
         {3.1, 3.58, 3.166, 3.9862, 4.68034, 4.596238, 5.5573666, 6.32015662, 6.404109634,
          7.3328767438, 8.193013720659998, 8.3451096044619977}},
        {Difference, {1.6, -2.5, 3.7, 0.4, -1.9, 3.4, 0.3, -1.5, 2.9, 0.7, -1.5, -1.5}},
        {RepeatedDifference, {10.3, -9.5, 1.0, 7.6, -8.4, 1.3, 6.2, -6.6, 0, 0, 0, 0}},
        {SeasonalDifference, {2.8, 1.6, 2.2, 1.9, 1.8, 2.2, 1.7, 2.1, 2.1, 2.1, 2.1, 2.1}},
        {Integration, {3.1, 7.8, 10, 15.9, 22.2, 26.6, 34.4, 42.5, 49.1, 58.6, 68.8, 77.5}},
        {SecondIntegration, {2.65, 5.3, 4.25, 5.15, 7.05, 6.25, 7.2, 8.8, 8.4, 9.1, 9.1, 9.1}},
        {MovingSum,
         {3.333333333333333, 4.2666666666666666, 4.8, 5.5333333333333332, 6.1666666666666661,
          6.7666666666666657, 7.5, 8.0666666666666664, 8.7666666666666657, 9.466666666666665,
          9.466666666666665, 9.466666666666665}},
        {SecondOrderOne, {0.6, 8.4, 2.6, 4.0, 9.7, 4.7, 6.3, 11, 7.3, 8, 8, 8}},
        {SecondOrderRootThree,
         {-2.8406387955737231, 6.7894882233484708, -1.7190997646563755, -0.61192008768392547,
          6.4789764466969393, -1.0099962990372422, 0.37038845869209513, 6.1684646700454113,
          0.34551732809566538, 0.53308176279745467, 0.53308176279745467, 0.53308176279745467}},
        {SecondOrderSmoothing,
         {3.6014083110323973, 3.8612849930729611, 5.0157676649772949, 5.6837168574084167,
          5.8201307198849506, 6.9693575034635185, 7.6176914536239781, 7.7789764466969391,
          8.9105117766515285, 9.6105117766515278, 9.6105117766515278, 9.6105117766515278}},
    };
    for (const Case& c : cases)
        ExpectValues(SmoothSeries(Series, c.answer, 0.3, 3), c.want, 1e-13,
                     "answer " + std::to_string(c.answer));
}

TEST(SmoothSeriesTest, EdgeCasesOfTheFilters) {
    // Differences of squares are the odd numbers; the last one repeats.
    ExpectValues(SmoothSeries({1, 4, 9, 16}, Difference, 0, 0), {3, 5, 7, 7}, 0, "squares");
    ExpectValues(SmoothSeries({1, 2, 4, 8, 16}, SeasonalDifference, 0, FilterOrder(2, 5)),
                 {3, 6, 12, 12, 12}, 0, "seasonal");
    // An order above a quarter of the values, or below 1, falls back to 2.
    EXPECT_EQ(FilterOrder(10, 20), 2);
    EXPECT_EQ(FilterOrder(0, 20), 2);
    EXPECT_EQ(FilterOrder(5, 20), 5);
    // W = 1 gives the series back, W = 0 stays at its first value.
    ExpectValues(SmoothSeries(Series, Exponential, 1, 0), Series, 0, "W = 1");
    ExpectValues(SmoothSeries(Series, Exponential, 0, 0), std::vector<double>(12, 3.1), 0, "W = 0");
}

// Numbers near 1e7 differing in the thousandths: R's
// stats::filter(y, c(.1, .2, .4, .2, .1)) and diff(y, differences = 2),
// y = 1e7 + c(.013, .021, .008, .034, .029, .017, .041, .038, .026, .044,
// .052, .047).
TEST(SmoothSeriesTest, LargeOffsetKeepsTheSmallDifferences) {
    std::vector<double> y;
    for (double d : {.013, .021, .008, .034, .029, .017, .041, .038, .026, .044, .052, .047})
        y.push_back(1e7 + d);
    const std::vector<double> q = SmoothSeries(y, QuadraticFive, 0, 0);
    const double wantQ[] = {10000000.0184,      10000000.024800001, 10000000.026700001,
                            10000000.028000001, 10000000.032900002, 10000000.034700001,
                            10000000.036100002, 10000000.041700002};
    for (int i = 0; i < 8; ++i)
        EXPECT_NEAR(q[i + 2], wantQ[i], 2e-9) << i;
    const std::vector<double> d = SmoothSeries(y, RepeatedDifference, 0, 2);
    const double wantD[] = {-0.020999999716877937, 0.039000000804662704, -0.031000001356005669,
                            -0.0069999974220991135, 0.035999996587634087};
    for (int i = 0; i < 5; ++i)
        EXPECT_NEAR(d[i], wantD[i], 1e-15) << i;
}

// x_t = -5 + 0.1t + sin(2π·3t/20) + 0.5cos(2π·7t/20) + noise, t = 0 .. 19.
const std::vector<double> Wave = {
    -4.3799999999999999, -4.6848756317712894, -3.9534519808923205, -3.6954547474774757,
    -5.7622937494799462, -5.4100000000000001, -4.2732767551049999, -4.5465112637726293,
    -3.354434986517373,  -2.8570903794788158, -4.4800000000000004, -4.5251243682287106,
    -4.3265480191076797, -4.6745452525225248, -2.5477062505200547, -2.3200000000000003,
    -3.2567232448950003, -3.3634887362273687, -4.2055650134826292, -4.0529096205211843};

TEST(FourierBandFilterTest, BandMatchesRsFftAndTheFullBandGivesTheSeriesBack) {
    // dt = 0.5: harmonic j at j/10; 0.15 .. 0.55 keeps harmonics 2 .. 5.
    // R: m <- mean(x); X <- fft(x - m); X[outside 2..5 and their mirrors,
    // the constant kept] <- 0; Re(fft(X, inverse = TRUE))/20 + m
    const BandFilterFigures band = FourierBandFilter(Wave, 0.15, 0.55, 0.5);
    EXPECT_EQ(band.first, 2);
    EXPECT_EQ(band.last, 5);
    EXPECT_FALSE(band.clamped);
    ExpectValues(
        band.values,
        {-4.4483223123924427, -4.0970098362928802, -3.5027823859737728, -3.6459257093784689,
         -4.5068541598240541, -4.8961488602743541, -4.2759718268618752, -3.4333393574818798,
         -3.1321753080442187, -3.3509871500630748, -3.9589005999675613, -4.8459707968495929,
         -5.3076215994111653, -4.6377956501715278, -3.4330669064709682, -3.0228511397256463,
         -3.5825266203281165, -4.1105585031981633, -4.186778280725826,  -4.2944129965644136},
        1e-13, "band 2..5");
    EXPECT_DOUBLE_EQ(band.times[3], 1.5);

    // The whole band, 0 up to the top harmonic's frequency, gives back the
    // series, on an even and an odd number of values; the negative mean
    // keeps its sign.
    for (std::size_t count : {20u, 19u}) {
        const std::vector<double> x(Wave.begin(), Wave.begin() + count);
        const BandFilterFigures all = FourierBandFilter(x, 0, 1.0, 1);
        ExpectValues(all.values, x, 1e-14, "full band of " + std::to_string(count));
        const BandFilterFigures mean = FourierBandFilter(x, 0, 0, 1);
        double m = 0;
        for (double v : x)
            m += v / count;
        EXPECT_LT(mean.values[0], -3);
        EXPECT_NEAR(mean.values[7], m, 1e-14);
    }
}

TEST(FourierBandFilterTest, BandLimitsAreHeldToTheHarmonicsThereAre) {
    // The defaults 8 .. 10 with dt = 1 lie far above the top harmonic 10 of
    // 20 values: the band becomes harmonic 10 alone, and the notice says so.
    const BandFilterFigures high = FourierBandFilter(Wave, 8, 10, 1);
    EXPECT_FALSE(high.wrongBand);
    EXPECT_TRUE(high.clamped);
    EXPECT_EQ(high.first, 10);
    EXPECT_EQ(high.last, 10);
    EXPECT_EQ(ClampedBandNotice(high),
              "!ПОЛОСА ПРОПУСКАНИЯ СУЖЕНА ДО ГАРМОНИК 10 - 10 (ВЫСШАЯ ГАРМОНИКА РЯДА 10)!");
    // A negative lower limit starts at the constant term; an upper limit
    // below the lower one is a wrong band, as is a band between harmonics.
    EXPECT_EQ(FourierBandFilter(Wave, -3, 0.2, 1).first, 0);
    EXPECT_TRUE(FourierBandFilter(Wave, 0.3, 0.1, 1).wrongBand);
    EXPECT_TRUE(FourierBandFilter(Wave, 0.11, 0.14, 1).wrongBand);
    // Limits beyond any int are held too.
    EXPECT_EQ(FourierBandFilter(Wave, 0, 1e300, 1).last, 10);
}

TEST(RobustSmoothingTest, AConstantNearTheDoubleRangeGivesTheWindowMeans) {
    // Every residual lies within a constant above the spread, so each
    // window's Huber estimate is its mean; a constant of 1e308 once
    // overflowed the breakpoints' sums.
    std::vector<double> t;
    for (std::size_t i = 0; i < Series.size(); ++i)
        t.push_back(static_cast<double>(i));
    for (double g : {20.0, 1e308}) {
        const auto smooth = RobustSmooth(t, Series, 2, g, SmoothingKernel::Rectangular);
        for (std::size_t j = 1; j + 1 < Series.size(); ++j) {
            ASSERT_TRUE(smooth[j].has_value());
            EXPECT_NEAR(*smooth[j], (Series[j - 1] + Series[j] + Series[j + 1]) / 3, 1e-12)
                << g << " at " << j;
        }
    }
}

class SmoothingGraphTest : public StatsTest {};

TEST_F(SmoothingGraphTest, ResultIsDrawnOverTheSeriesWithItsCaption) {
    SetRow(0, "волна", Wave);
    ui.ExpectGraphPrompt(true).ExpectGraphPrompt(true);
    SmoothingOptions options;
    options.answer = SeasonalDifference;
    options.a = 4;
    SmoothSeriesMethod(ws, options);
    EXPECT_EQ(graphs.title, "Сглаживание");
    ASSERT_EQ(graphs.rows.size(), 4u);
    // The series as markers, then the differences x[t+4] - x[t], the last
    // one repeated to the series' length.
    EXPECT_EQ(graphs.rows[1], Wave);
    ASSERT_EQ(graphs.rows[3].size(), Wave.size());
    EXPECT_DOUBLE_EQ(graphs.rows[3][0], Wave[4] - Wave[0]);
    EXPECT_DOUBLE_EQ(graphs.rows[3][19], Wave[19] - Wave[15]);
    EXPECT_EQ(ws.graphTables.SeriesDescriptions[0].style, -2);

    // Each run starts from the loaded series: the graph took the rows.
    SetRow(0, "волна", Wave);
    options.answer = FourierBand;
    options.low = 0;
    options.high = 0.5;
    SmoothSeriesMethod(ws, options);
    EXPECT_EQ(graphs.title, "Фильтрация волна");
    EXPECT_EQ(report.lines.back(), "               Переменные: волна");
    ASSERT_EQ(graphs.rows[3].size(), Wave.size());
    EXPECT_NEAR(graphs.rows[3][11], Wave[11], 1e-13);
    EXPECT_EQ(graphs.prompts, 2);
}

class SmoothingBatchTest : public ::testing::Test {
  protected:
    SmoothingBatchTest() {
        std::ofstream file(temp_.path() / "wave.txt");
        file << "волна короткий\n";
        for (std::size_t i = 0; i < Wave.size(); ++i) {
            char cell[40];
            std::snprintf(cell, sizeof cell, "%.17g", Wave[i]);
            file << cell << " " << (i < 10 ? std::to_string(i * i) : "?") << "\n";
        }
    }

    struct Outcome {
        int status;
        std::string results, messages;
    };
    Outcome Run(const std::string& script) {
        std::ostringstream results, messages;
        const int status = RunBatchScript("open wave.txt\n" + script, temp_.WithSlash(),
                                          BuiltStatisticsMethods(), results, messages);
        return {status, results.str(), messages.str()};
    }

    TempFolder temp_{"smoothing"};
};

TEST_F(SmoothingBatchTest, SmoothersFiltersAndTheirNoticesFromAScript) {
    const Outcome run =
        Run("method 17\nvariable волна\nform 1\ngraph keep\n"
            "method 17\nvariable волна\nform 7 \"a=3\"\ngraph keep\n"
            "method 17\nvariable волна\nform 5\nform 1 5 0\ngraph keep\n"
            "method 17\nvariable волна\nform 15 \"НЧ=0.15\" \"ВЧ=0.55\" \"dt=0.5\"\ngraph keep\n"
            "method 17\nvariable волна\nform 15 \"НЧ=8\" \"ВЧ=10\" \"dt=1\"\ngraph keep\n"
            "method 17\nvariable волна\nform 15 \"НЧ=0.3\" \"ВЧ=0.1\"\n"
            "method 17\nvariable короткий\nform 15\n"
            "method 17\nvariable короткий\nform 2\ngraph keep\n"
            "method 17\nvariable волна\ncancel\n");
    ASSERT_EQ(run.status, BatchDone) << run.messages << run.results;
    EXPECT_NE(run.results.find("               Переменные: волна\n"), std::string::npos);
    EXPECT_NE(run.messages.find("!ПОЛОСА ПРОПУСКАНИЯ СУЖЕНА ДО ГАРМОНИК 10 - 10"),
              std::string::npos)
        << run.messages;
    EXPECT_NE(run.messages.find("!Неправильно задана полоса пропускания!!"), std::string::npos);
    // The ten values of "короткий" (its missing cells left out) are too few
    // for the Fourier filter, enough for the five-point smoother.
    EXPECT_NE(run.messages.find("!Длина ряда меньше 15!"), std::string::npos) << run.messages;
    EXPECT_EQ(run.messages.find("МАЛО ЗНАЧЕНИЙ"), std::string::npos) << run.messages;
}

TEST_F(SmoothingBatchTest, RefusedFieldsStopTheScriptWithTheirNotices) {
    const Outcome weight = Run("method 17\nvariable волна\nform 4 \"W=1,5\"\n");
    EXPECT_EQ(weight.status, BatchScriptFault);
    EXPECT_NE(weight.messages.find(SmoothingWeightNotice), std::string::npos) << weight.messages;
    const Outcome step = Run("method 17\nvariable волна\nform 15 \"dt=0\"\n");
    EXPECT_EQ(step.status, BatchScriptFault);
    EXPECT_NE(step.messages.find(FilterTimeStepNotice), std::string::npos) << step.messages;
    // An unused field's text does not stop the smoother that does not read it.
    const Outcome unused = Run("method 17\nvariable волна\nform 6 \"W=нет\"\ngraph keep\n");
    EXPECT_EQ(unused.status, BatchDone) << unused.messages;
}

}  // namespace
}  // namespace dalvex
