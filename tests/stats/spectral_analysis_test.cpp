// The spectral analysis (method 16) against R. Series and calls:
//   x <- c(4.1, 5.3, 6.0, 5.2, 3.9, 3.1, 3.8, 5.0, 6.2, 6.4, 5.1, 4.0, 2.9,
//          3.3, 4.6, 5.8, 6.6, 5.9, 4.4, 3.2)
//   y <- c(1.2, 0.8, 1.9, 2.6, 2.1, 1.0, 0.4, 0.9, 2.0, 2.8, 2.5, 1.3, 0.5,
//          0.7, 1.8, 2.9, 2.7, 1.6, 0.6, 0.3)
// A segment of 2K values has a_j - i·b_j = fft(segment)[j + 1] / K, a_0
// halved; the R call of each table is written beside it.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "core/settings.h"
#include "stats/spectral_analysis.h"
#include "stats/time_series_correlation.h"
#include "stats_fixture.h"
#include "support/temp_folder.h"

namespace dalvex {
namespace {

const std::vector<double> X = {4.1, 5.3, 6.0, 5.2, 3.9, 3.1, 3.8, 5.0, 6.2, 6.4,
                               5.1, 4.0, 2.9, 3.3, 4.6, 5.8, 6.6, 5.9, 4.4, 3.2};
const std::vector<double> Y = {1.2, 0.8, 1.9, 2.6, 2.1, 1.0, 0.4, 0.9, 2.0, 2.8,
                               2.5, 1.3, 0.5, 0.7, 1.8, 2.9, 2.7, 1.6, 0.6, 0.3};

void ExpectNear(const std::vector<double>& actual, const std::vector<double>& expected,
                double tolerance) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(actual[i], expected[i], tolerance) << "index " << i;
}

SpectrumFigures One(const std::vector<double>& x, int window, Averaging averaging, int length,
                    int shift, double step = 1) {
    return ComputeSpectrum(x, {}, false, window, averaging, length, shift, step);
}

TEST(SpectralFiguresTest, OneSegmentWithoutWindowIsTheFourierSpectrum) {
    const SpectrumFigures s = One(X, 0, Averaging::None, 0, 0, 0.5);
    // f <- fft(x); Mod(f[1:11]) / 10 (the first halved); Arg(f[1:11]) in degrees
    ExpectNear(s.amplitude,
               {4.74, 0.109156949861427, 0.520299233370075, 1.50338686120235, 0.256765571061907,
                0.0824621125123534, 0.0385837757938836, 0.0682471762549918, 0.0535858331768104,
                0.0863425086171671, 0.0399999999999991},
               1e-13);
    ExpectNear(s.phase,
               {0, 60.3832628495075, 86.3536223329734, -117.236247347192, -131.1594102558,
                -104.036243467927, -55.3995051302689, 5.70412734737318, -149.158363990514,
                3.44320018255809, 0},
               1e-10);
    EXPECT_EQ(s.segments, 1);
    // Frequencies j / (2K·Δ).
    EXPECT_DOUBLE_EQ(s.frequencies[3], 3 / (20 * 0.5));
}

TEST(SpectralFiguresTest, SegmentPlans) {
    struct Case {
        int last, length, shift;
        int harmonics, step;
        std::vector<int> offsets;
    };
    const Case cases[] = {
        // 17 values, length 0: M = 16 is cut to 15, K = 8.
        {16, 0, 0, 8, 16, {0}},
        // Length 1 or above N + 1, or a segment under 8 values: the whole series.
        {19, 1, 0, 10, 19, {0}},
        {19, 25, 0, 10, 19, {0}},
        {19, 7, 0, 10, 19, {0}},
        // A step above the segment while the segment is under half the series.
        {39, 8, 12, 4, 0, {0}},
        {19, 8, 3, 4, 3, {0, 3, 6, 9, 12}},
        {19, 8, 1, 4, 1, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.last) + " " + std::to_string(c.length) + " " +
                     std::to_string(c.shift));
        const SegmentPlan plan = PlanSegments(c.last, c.length, c.shift);
        EXPECT_EQ(plan.harmonics, c.harmonics);
        EXPECT_EQ(plan.step, c.step);
        EXPECT_EQ(plan.offsets, c.offsets);
    }
    // f <- fft(x[1:16]); Mod(f[1:9]) / 8, the first halved
    const std::vector<double> first16(X.begin(), X.begin() + 17);
    const SpectrumFigures s = One(first16, 0, Averaging::None, 0, 0, 2);
    ExpectNear(s.amplitude,
               {4.66875, 0.177450358849326, 1.24040852027806, 0.70262557976764, 0.382630696625349,
                0.280840335680443, 0.172696852378965, 0.181197049245649, 0.1875},
               1e-13);
    EXPECT_DOUBLE_EQ(s.frequencies.back(), 8 / (16 * 2.0));
}

// Linear averaging is the mean of the segments' spectra for any step.
TEST(SpectralFiguresTest, LinearAveragingDividesByTheNumberOfSegments) {
    // rowMeans of the amplitudes of x[o + 1:8], o = 0, 3, 6, 9, 12
    const SpectrumFigures s = One(X, 0, Averaging::Linear, 8, 3);
    EXPECT_EQ(s.segments, 5);
    ExpectNear(s.amplitude, {4.68, 1.57826732298316, 0.271248153930402, 0.180878012430176, 0.14},
               1e-13);
    // The other averagings: the last segment, the halving, the peak.
    const SpectrumFigures last = One(X, 0, Averaging::None, 8, 3);
    const SpectrumFigures only =
        One(std::vector<double>(X.begin() + 12, X.end()), 0, Averaging::None, 0, 0);
    ExpectNear(last.amplitude, only.amplitude, 1e-13);
    const SpectrumFigures peak = One(X, 0, Averaging::Peak, 8, 3);
    for (std::size_t j = 0; j < peak.amplitude.size(); ++j)
        EXPECT_GE(peak.amplitude[j], s.amplitude[j]);
}

// Segments at every value of a long series: the work reports about a hundred
// times and stops when told to.
TEST(SpectralFiguresTest, SegmentWorkReportsItsProgressAndStops) {
    std::vector<double> x(4000);
    for (std::size_t i = 0; i < x.size(); ++i)
        x[i] = std::sin(0.3 * static_cast<double>(i));
    int calls = 0, lastDone = -1, total = 0;
    const SpectrumFigures whole =
        ComputeSpectrum(x, {}, false, 0, Averaging::Linear, 64, 1, 1, [&](int done, int all) {
            ++calls;
            EXPECT_GT(done, lastDone);
            lastDone = done;
            total = all;
            return true;
        });
    EXPECT_FALSE(whole.stopped);
    EXPECT_EQ(total, whole.segments);
    EXPECT_GE(calls, 50);
    EXPECT_LE(calls, 101);

    int asked = 0;
    const SpectrumFigures stopped = ComputeSpectrum(x, {}, false, 0, Averaging::Linear, 64, 1, 1,
                                                    [&](int, int) { return ++asked < 3; });
    EXPECT_TRUE(stopped.stopped);
    EXPECT_EQ(asked, 3);
    EXPECT_TRUE(stopped.amplitude.empty());
}

TEST(SpectralFiguresTest, WindowsFollowTheirStandardDefinitions) {
    // Symmetric windows over M + 1 values, w(n) = Σ (-1)^k a_k cos(2πkn/M).
    const int count = 16;
    const double m = count - 1;
    struct Case {
        int window;
        std::vector<double> a;
    };
    const Case cases[] = {{1, {0.5, 0.5}},
                          {2, {0.54, 0.46}},
                          {3, {0.42, 0.5, 0.08}},
                          {4, {0.44959, 0.49364, 0.05677}},
                          {5, {0.40217, 0.49703, 0.09392, 0.00183}},
                          {6, {0.35875, 0.48829, 0.14128, 0.01168}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.window);
        const std::vector<double> w = TaperingWindow(c.window, count);
        for (int n = 0; n < count; ++n) {
            double expected = 0;
            for (std::size_t k = 0; k < c.a.size(); ++k)
                expected += (k % 2 ? -1 : 1) * c.a[k] * std::cos(2 * std::numbers::pi * k * n / m);
            EXPECT_NEAR(w[n], expected, 1e-15) << n;
        }
        EXPECT_NEAR(w[0], w[count - 1], 1e-15);
    }
    // Hann and Blackman vanish at the ends; Hamming keeps 0.08 there.
    EXPECT_NEAR(TaperingWindow(1, count)[0], 0, 1e-15);
    EXPECT_NEAR(TaperingWindow(3, count)[0], 0, 1e-15);
    EXPECT_NEAR(TaperingWindow(2, count)[0], 0.08, 1e-15);
    // besselI(pi * 2 * sqrt(1 - u^2), 0) / 87, u = (M - 2i) / M: the short
    // series of I0 is within its 0.001 of the exact function.
    ExpectNear(TaperingWindow(7, count),
               {0.0114942528735632, 0.0626040509732391, 0.164486320136136, 0.320619426124157,
                0.516730356921169, 0.720968940323116, 0.891374586694332, 0.98850279664629,
                0.98850279664629, 0.891374586694332, 0.720968940323116, 0.516730356921169,
                0.320619426124157, 0.164486320136136, 0.0626040509732391, 0.0114942528735632},
               2e-5);
    // w <- 0.5 - 0.5 * cos(2 * pi * (0:15) / 15); f <- fft(x[1:16] * w)
    const SpectrumFigures hann =
        One(std::vector<double>(X.begin(), X.begin() + 16), 1, Averaging::None, 0, 0);
    ExpectNear(hann.amplitude,
               {2.22384215645067, 2.63919521686355, 0.809457436980684, 0.538100288679707,
                0.104591782586714, 0.0342761649024453, 0.0486166303930074, 0.0535530004505158,
                0.0122844775361113},
               1e-13);
}

TEST(SpectralFiguresTest, ASinusoidPeaksAtItsFrequencyAndAConstantHasOnlyItsMean) {
    for (int window : {0, 1, 3, 6, 9}) {
        SCOPED_TRACE(window);
        std::vector<double> x(64);
        for (int n = 0; n < 64; ++n)
            x[n] = 0.1 + 2 * std::sin(2 * std::numbers::pi * 5 * n / 64.0 + 0.3);
        const SpectrumFigures s = One(x, window, Averaging::None, 0, 0, 0.25);
        const auto peak = std::max_element(s.amplitude.begin() + 1, s.amplitude.end());
        EXPECT_EQ(peak - s.amplitude.begin(), 5);
        EXPECT_DOUBLE_EQ(s.frequencies[5], 5 / (64 * 0.25));
    }
    // Without a window and on a large offset: the amplitude 2 at harmonic 5
    // and nothing elsewhere but the mean.
    std::vector<double> x(64);
    for (int n = 0; n < 64; ++n)
        x[n] = 1e7 + 2 * std::sin(2 * std::numbers::pi * 5 * n / 64.0 + 0.3);
    const SpectrumFigures s = One(x, 0, Averaging::None, 0, 0);
    EXPECT_NEAR(s.amplitude[0], 1e7, 1e-8);
    for (std::size_t j = 1; j < s.amplitude.size(); ++j)
        EXPECT_NEAR(s.amplitude[j], j == 5 ? 2 : 0, 1e-8) << j;
    const SpectrumFigures c = One(std::vector<double>(20, 3.5), 0, Averaging::None, 0, 0);
    EXPECT_DOUBLE_EQ(c.amplitude[0], 3.5);
    for (std::size_t j = 1; j < c.amplitude.size(); ++j)
        EXPECT_EQ(c.amplitude[j], 0) << j;
}

TEST(SpectralFiguresTest, CrossSpectrumAndCoherenceOfTwoSeries) {
    // Segments x[o + 1:8], y[o + 1:8], o = 0, 4, 8, 12, linear averaging:
    // cr = mean(Conj(fx) * fy), px = mean(Mod(fx)^2), py = mean(Mod(fy)^2)
    // with fx = fft(...)[1:5] / 4 (the first halved); Mod(cr), Arg(Conj(cr)),
    // Mod(cr) / sqrt(px * py).
    const SpectrumFigures s = ComputeSpectrum(X, Y, true, 0, Averaging::Linear, 8, 4, 1);
    EXPECT_EQ(s.segments, 4);
    ExpectNear(s.amplitude,
               {7.214765625, 1.36397636439861, 0.118454607933271, 0.0331783299866065, 0.014375},
               1e-13);
    ExpectNear(s.phase, {0, 9.42522279644828, 50.0299253483204, 80.6775226456813, 0}, 1e-10);
    ExpectNear(s.coherence,
               {0.995111207802108, 0.824054654628582, 0.70568971520468, 0.719657046459736,
                0.549050733846869},
               1e-13);

    // An exact linear relation is coherent at every harmonic, averaged or
    // not: on a large offset without a window, and tapered without an offset
    // (a window lets the mean into the harmonics next to it).
    struct Case {
        int window;
        double offset;
    };
    for (const Case c : {Case{0, 1e7}, Case{1, 0}, Case{6, 0}}) {
        std::vector<double> y(X.size());
        for (std::size_t i = 0; i < X.size(); ++i)
            y[i] = c.offset - 2.5 * X[i];
        for (Averaging a : {Averaging::None, Averaging::Linear, Averaging::Exponential}) {
            SCOPED_TRACE(std::to_string(c.window) + " " + std::to_string(int(a)));
            const SpectrumFigures linear = ComputeSpectrum(X, y, true, c.window, a, 8, 2, 1);
            for (std::size_t j = 1; j < linear.coherence.size(); ++j)
                EXPECT_NEAR(linear.coherence[j], 1, 1e-9) << j;
            // The transfer functions: C / A_Y and C / A_X.
            EXPECT_NEAR(Characteristic(linear, 5)[2], 2.5 * linear.amplitudeX[2], 1e-6);
            EXPECT_NEAR(Characteristic(linear, 4)[2], linear.amplitudeX[2], 1e-6);
        }
    }
}

TEST(SpectralFiguresTest, GraphCharacteristics) {
    const SpectrumFigures s = One(X, 0, Averaging::None, 0, 0);
    EXPECT_EQ(Characteristic(s, 1)[0], 0);
    EXPECT_EQ(Characteristic(s, 1)[3], s.amplitude[3]);
    EXPECT_EQ(Characteristic(s, 2), s.phase);
    const double angle = s.phase[3] * std::numbers::pi / 180;
    EXPECT_DOUBLE_EQ(Characteristic(s, 6)[3], s.amplitude[3] * std::cos(angle));
    EXPECT_DOUBLE_EQ(Characteristic(s, 7)[3], s.amplitude[3] * std::sin(angle));
    EXPECT_EQ(Characteristic(s, 7)[0], 0);
    EXPECT_EQ(CharacteristicCaption(3), "Когерентность ");
}

}  // namespace
}  // namespace dalvex

namespace dalvex {
namespace {

class SpectralMethodTest : public StatsTest {
  protected:
    SpectralMethodTest() { ws.ProgramFolder = folder.WithSlash(); }

    void Column(int col, const std::string& name, const std::vector<double>& values) {
        PutSheetText(ws, name, col, -1);
        for (std::size_t i = 0; i < values.size(); ++i)
            PutSheetValue(ws, col, static_cast<int>(i), values[i]);
    }

    TempFolder folder;
};

TEST_F(SpectralMethodTest, OneVariableIsChosenAtOnceAndEachGraphChoiceDrawn) {
    Column(1, "ряд", X);
    PutSheetText(ws, "?", 1, 20);  // a missing cell at the end leaves the series
    ui.ExpectForm(SpectralCaption, 1, {"0,5", "0", "0", "0", "0"})
        .ExpectForm(GraphChoiceCaption, 1)
        .ExpectForm(GraphChoiceCaption, 2)
        .ExpectForm(GraphChoiceCaption, 0);
    SpectralAnalysis(ws);
    EXPECT_TRUE(ui.scriptDone());
    EXPECT_TRUE(ui.notices().empty());
    EXPECT_EQ(report.lines, (std::vector<std::string>{"Пропущн=1 1", " ",
                                                      "               Переменные: ряд, ряд"}));
    // The three buttons of two series are disabled for one.
    const FormDialog& choice = ui.forms().back();
    ASSERT_EQ(choice.buttons.size(), 8u);
    EXPECT_EQ(choice.buttons.front().text, " &1=АЧХ");
    for (const FormButton& button : choice.buttons)
        EXPECT_EQ(button.enabled, button.answer < 3 || button.answer > 5) << button.text;
    EXPECT_EQ(graphs.requests, 2);
    EXPECT_EQ(graphs.title, "Фаза ряд");
    // The phase of the 20 values, at the frequencies j / (20·0.5).
    EXPECT_NEAR(graphs.rows[1][1], 60.3832628495075, 1e-10);
    EXPECT_DOUBLE_EQ(graphs.rows[0][10], 1.0);

    std::vector<std::string> lines;
    ASSERT_TRUE(ReadLinesFile(ws.ProgramFolder + SpectralMemory, lines).ok);
    EXPECT_EQ(lines, (std::vector<std::string>{"0,5", "0", "0", "0", "0", VariableItem(ws, 1)}));
}

TEST_F(SpectralMethodTest, TwoSeriesOfferEveryCharacteristic) {
    Column(1, "x", X);
    Column(2, "y", Y);
    ui.ExpectVariables(SpectralCaption, {{VariableAction::Include, {1}},
                                         {VariableAction::Include, {2}},
                                         {VariableAction::Confirm, {}}})
        .ExpectForm(SpectralCaption, 1, {"1", "8", "4", "0", "1"})
        .ExpectForm(GraphChoiceCaption, 3)
        .ExpectForm(GraphChoiceCaption, 0);
    SpectralAnalysis(ws);
    EXPECT_TRUE(ui.scriptDone());
    for (const FormButton& button : ui.forms().back().buttons)
        EXPECT_TRUE(button.enabled) << button.text;
    EXPECT_EQ(graphs.title, "Когерентность x y");
    EXPECT_NEAR(graphs.rows[1][1], 0.824054654628582, 1e-13);
}

TEST_F(SpectralMethodTest, ShortSeriesAndBadFieldsAreRefused) {
    Column(1, "x", std::vector<double>(X.begin(), X.begin() + 15));
    ui.ExpectForm(SpectralCaption, 1, {"1", "0", "0", "0", "0"});
    SpectralAnalysis(ws);
    EXPECT_EQ(ui.notices(), std::vector<std::string>{TooLittleDataNotice});
    EXPECT_EQ(report.lines.size(), 2u);
    EXPECT_EQ(graphs.requests, 0);

    for (const char* step : {"0", "-1", "шаг"}) {
        ui.ClearLog();
        report.lines.clear();
        ui.ExpectForm(SpectralCaption, 1, {step, "0", "0", "0", "0"});
        SpectralAnalysis(ws);
        EXPECT_EQ(ui.notices(), std::vector<std::string>{SpectralStepNotice}) << step;
        EXPECT_TRUE(report.lines.empty());
    }

    // A column of missing cells only.
    ui.ClearLog();
    report.lines.clear();
    PutSheetText(ws, "пусто", 2, -1);
    for (int i = 0; i < 20; ++i)
        PutSheetText(ws, "?", 2, i);
    ui.ExpectVariables(SpectralCaption,
                       {{VariableAction::Include, {2}}, {VariableAction::Confirm, {}}})
        .ExpectForm(SpectralCaption, 1, {"1", "0", "0", "0", "0"});
    SpectralAnalysis(ws);
    EXPECT_EQ(ui.notices(), std::vector<std::string>{TooLittleDataNotice});
    EXPECT_EQ(graphs.requests, 0);
}

}  // namespace
}  // namespace dalvex
