// The Fourier model: the correction of the series, its spectrum against
// R's lm on sines and cosines and fft, harmonics removed, the forecast and
// its errors, the adaptation, and the method end to end from a script.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <numbers>
#include <sstream>

#include "batch/batch_runner.h"
#include "stats/fourier_model.h"
#include "stats/statistics_methods.h"
#include "support/temp_folder.h"

namespace dalvex {
namespace {

constexpr double Pi = std::numbers::pi;

// x_t = 5 + 0.2t + 1.5 sin(2π·4t/41) + 0.7 cos(2π·9t/41) + 0.05 sin(1.3 t^1.1),
// t = 0 .. 39 (printed by R with %.17g).
const std::vector<double> TrendAndWaves = {
    5.7000000000000002, 6.2444296760140583, 6.1798370142127546, 6.6190794672963316,
    7.2434780441810958, 6.7361806420567225, 5.1518257082053269, 4.2997454681543168,
    5.1660146309543897, 6.4969300693949901, 6.9770584525558439, 7.2326549525604333,
    8.2976996002430781, 9.5219189880240815, 9.4975976617535807, 8.1772338508963056,
    6.9781765862749721, 7.0169554455688585, 7.7598408167457809, 7.9907433431628458,
    7.9823664546060513, 9.0809617625933914, 10.974946672972017, 11.762746650576306,
    10.933982533628647, 9.9006363183838442, 9.6877837209646387, 9.8577772326585436,
    9.5594914340169321, 9.0452898857738511, 9.6835146679985336, 11.678607890337442,
    13.169803758619629, 13.053405818169036, 12.489991688137565, 12.523489113677057,
    12.61576404167117,  11.94517991048372,  10.819419582236806, 10.70061164336604};

ModelParameters Band(int low, int high, int steps = 0) {
    ModelParameters p;
    p.low = low;
    p.high = high;
    p.steps = steps;
    return p;
}

TEST(FourierModelTest, ModelWithNothingRemovedGivesTheSeriesBack) {
    // An even and an odd count, a negative mean: the constant term keeps its
    // sign and the model starts at the series' first time.
    for (std::size_t count : {40u, 39u}) {
        std::vector<double> x;
        for (std::size_t i = 0; i < count; ++i)
            x.push_back(TrendAndWaves[i] - 20);
        const HarmonicModel model = SpectrumOf(Lengthen(x));
        EXPECT_EQ(model.period % 2, 1);
        EXPECT_LT(model.amplitude[0], -10);
        const std::vector<double> values = model.Values(0, static_cast<int>(count));
        for (std::size_t t = 0; t < count; ++t)
            EXPECT_NEAR(values[t], x[t], 1e-12) << count << " at " << t;
    }
}

// R: fit <- lm(x ~ t); r <- resid(fit); xl <- c(r, r[40]); M <- 41;
// lm(xl ~ cos(2*pi*4*tt/M) + sin(2*pi*4*tt/M) + cos(2*pi*9*tt/M) +
// sin(2*pi*9*tt/M)) gives a_j, b_j; A = sqrt(a^2 + b^2), φ = atan2(-b, a).
// The forecast at step k: the model at time M - 1 + k from
// X <- fft(xl) (a_j = 2Re(X_j)/M, b_j = -2Im(X_j)/M) plus the trend at
// 39 + k; "without 9" leaves harmonic 9 out.
TEST(FourierModelTest, TrendAndHarmonicsMatchR) {
    const CorrectedSeries c = CorrectSeries(TrendAndWaves, 0, 1, false);
    EXPECT_NEAR(c.correction.c0, 5.3751522722881289, 1e-12);
    EXPECT_NEAR(c.correction.c1, 0.18172702603538693, 1e-13);
    HarmonicModel model = SpectrumOf(Lengthen(c.values));
    ASSERT_EQ(model.period, 41);
    ASSERT_EQ(model.top(), 20);
    EXPECT_NEAR(model.amplitude[0], -0.042973040104931207, 1e-13);
    EXPECT_NEAR(model.amplitude[4], 1.4835244115886792, 1e-12);
    EXPECT_NEAR(model.phase[4], -1.6195084949396941, 1e-12);
    EXPECT_NEAR(model.amplitude[9], 0.67436811123510187, 1e-12);
    EXPECT_NEAR(model.phase[9], -0.073393040137191029, 1e-12);

    const double full[] = {12.969081041415457, 13.513510717429536, 13.44891805562823,
                           13.888160508711811, 14.512559085596564};
    const FourierForecast all = ForecastOf(model, c, 5, 0, 1, 0.05);
    for (int k = 0; k < 5; ++k)
        EXPECT_NEAR(all.steps[k].value, full[k], 1e-11) << k;
    EXPECT_NEAR(all.residualSd, 0, 1e-12);

    // Harmonic 9 removed: the rest stays as it was, to the last digits.
    EXPECT_TRUE(RemoveHarmonics(model, HeldParameters(Band(9, 9), 20, 40)));
    EXPECT_EQ(model.amplitude[9], 0);
    EXPECT_NEAR(model.amplitude[8], SpectrumOf(Lengthen(c.values)).amplitude[8], 0);
    const FourierForecast without = ForecastOf(model, c, 5, 0, 1, 0.05);
    const double fitted[] = {5.0274473284774785, 6.0678366370882797, 7.6525411771546175,
                             11.342890963611989};
    const int at[] = {0, 1, 16, 39};
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(without.fitted[at[i]], fitted[i], 1e-11) << at[i];
    const double ahead[] = {12.296528369892947, 13.336917678503756, 14.054227238047066,
                            14.295244520894151, 14.062260256382935};
    for (int k = 0; k < 5; ++k)
        EXPECT_NEAR(without.steps[k].value, ahead[k], 1e-11) << k;
    // R: res <- r - model(0:39, 9); N <- 39; s2 <- N*var(res)/(N-1);
    // se(t) = sqrt(s2*((mean(0:N) - t)^2/(N*var(0:N)) + 1/(N+1) + 1)):
    // sd(res), se(0), se(N + 5).
    EXPECT_NEAR(without.residualSd, 0.48875441919165824, 1e-12);
    EXPECT_NEAR(without.ErrorAt(0), 0.51844670909051971, 1e-12);
    EXPECT_NEAR(without.steps[4].error, 0.52811595574760861, 1e-12);
    EXPECT_DOUBLE_EQ(without.steps[4].time, 44);
}

TEST(FourierModelTest, RemovingOneOfTwoWavesLeavesTheOtherExactly) {
    // Two cosines on the harmonics 3 and 7 of the lengthened period 41,
    // symmetric about t = 39.5 so that the repeated last value continues
    // them, around a mean of -3.
    std::vector<double> x, kept;
    for (int t = 0; t < 40; ++t) {
        const double u = 2 * Pi * (t - 39.5) / 41;
        x.push_back(-3 + 2 * std::cos(3 * u) + 0.8 * std::cos(7 * u));
        kept.push_back(-3 + 2 * std::cos(3 * u));
    }
    const CorrectedSeries c = CorrectSeries(x, 0, 0, false);
    HarmonicModel model = SpectrumOf(Lengthen(c.values));
    EXPECT_NEAR(model.amplitude[3], 2, 1e-13);
    EXPECT_NEAR(model.amplitude[7], 0.8, 1e-13);
    RemoveHarmonics(model, HeldParameters(Band(7, 7), model.top(), 40));
    const std::vector<double> values = model.Values(0, 40);
    for (int t = 0; t < 40; ++t)
        EXPECT_NEAR(values[t], kept[t], 1e-13) << t;
    // The threshold removes the smaller wave as well.
    HarmonicModel again = SpectrumOf(Lengthen(c.values));
    ModelParameters p;
    p.threshold = 50;
    EXPECT_TRUE(RemoveHarmonics(again, p));
    EXPECT_EQ(again.amplitude[7], 0);
    EXPECT_NEAR(again.amplitude[3], 2, 1e-13);
}

TEST(FourierModelTest, JumpsParabolaAndEndsAreTakenOffAndAddedBack) {
    // Jumps of 10.4 (between t = 2 and 3) and -9.7 (between 6 and 7) above
    // the threshold 5; R: lm(v ~ t + I(t^2)) on the series without them.
    const std::vector<double> x = {1.2, 1.9, 2.4, 12.8, 13.1, 13.9, 14.2, 4.5, 5.1, 5.3, 6.2, 6.6};
    const CorrectedSeries c = CorrectSeries(x, 5, 2, false);
    EXPECT_EQ(c.correction.jumpPositions, (std::vector<int>{2, 6}));
    EXPECT_NEAR(c.correction.c0, 1.4381868131868145, 1e-12);
    EXPECT_NEAR(c.correction.c1, 0.33254245754245698, 1e-12);
    EXPECT_NEAR(c.correction.c2, 0.0057192807192807471, 1e-13);
    EXPECT_NEAR(c.values[0], -0.23818681318681467, 1e-12);
    EXPECT_NEAR(c.values[7], -0.24622877122877132, 1e-12);
    for (int t = 0; t < 12; ++t)
        EXPECT_NEAR(c.values[t] + c.correction.At(t), x[t], 1e-12) << t;

    // The seam: with the ends joined the corrected series starts and ends
    // alike, and the correction still gives the series back.
    const CorrectedSeries ends = CorrectSeries(x, 5, 1, true);
    EXPECT_NEAR(ends.values.front(), ends.values.back(), 0.05);
    for (int t = 0; t < 12; ++t)
        EXPECT_NEAR(ends.values[t] + ends.correction.At(t), x[t], 1e-12) << t;
    // Without a trend the seam is not joined, and no threshold means no jumps.
    const CorrectedSeries plain = CorrectSeries(x, 0, 0, true);
    EXPECT_FALSE(plain.correction.any());
    EXPECT_EQ(plain.values, x);
}

TEST(FourierModelTest, LargeOffsetKeepsTheHarmonics) {
    // R: yl <- c(y, y[12]); X <- fft(yl - mean(yl)); Mod(X[2:7])*2/13,
    // y = 1e7 + thousandths.
    std::vector<double> y;
    for (double d : {.013, .021, .008, .034, .029, .017, .041, .038, .026, .044, .052, .047})
        y.push_back(1e7 + d);
    const HarmonicModel m = SpectrumOf(Lengthen(y));
    EXPECT_NEAR(m.amplitude[0], 10000000.032076923, 2e-9);
    const double want[] = {0.012882462343228837,  0.0083565633189258675, 0.0056624618664524859,
                           0.0055665369650993802, 0.007160529239911056,  0.0050716210989108406};
    for (int j = 1; j <= 6; ++j)
        EXPECT_NEAR(m.amplitude[j], want[j - 1], 1e-9) << j;
}

TEST(FourierModelTest, MovedFrequenciesAndNegativeAmplitudesAreSummedAsWritten) {
    // Harmonic 3 moved to 3.37 with a negative amplitude, harmonic 5 left
    // whole: over 300 times (past several re-anchorings of the rotation)
    // the model is the sum written out with cosines.
    HarmonicModel m;
    m.period = 41;
    m.amplitude = {-1.5, 0, 0, -0.8, 0, 2.2};
    m.phase = {0, 0, 0, 0.7, 0, -1.1};
    m.frequency = {0, 1, 2, 3.37, 4, 5};
    const std::vector<double> v = m.Values(17, 300);
    for (int i = 0; i < 300; ++i) {
        const double t = 17 + i;
        const double want = -1.5 - 0.8 * std::cos(0.7 + 2 * Pi * 3.37 * t / 41) +
                            2.2 * std::cos(-1.1 + 2 * Pi * 5 * t / 41);
        EXPECT_NEAR(v[i], want, 1e-12) << t;
    }
}

TEST(FourierModelTest, DialogRulesHoldTheParameters) {
    struct Case {
        ModelParameters in;
        int low, high, steps, averagings;
        double t0, dt;
    };
    auto make = [](int v, int lo, int hi, int h, double t0, double dt) {
        ModelParameters p;
        p.averagings = v;
        p.low = lo;
        p.high = hi;
        p.steps = h;
        p.t0 = t0;
        p.dt = dt;
        return p;
    };
    // K = 20, N = 40: log2(40) - 2 = 3.3 allows 3 averagings; more become
    // Trunc(log2(20) - 2) = 2.
    const Case cases[] = {
        {make(0, 0, 0, 0, 0, 1), 0, 0, 0, 0, 0, 1},         // no band
        {make(3, -4, 5, 3, 2, 0.5), 1, 5, 3, 3, 2, 0.5},    // the low limit up to 1
        {make(9, 30, 40, 99, -1, 0), 20, 20, 20, 2, 0, 1},  // above K held to K
        {make(1, 8, 6, 0, 0, -2), 0, 0, 0, 1, 0, 1},        // low above high: none
    };
    for (const Case& c : cases) {
        const ModelParameters p = HeldParameters(c.in, 20, 40);
        EXPECT_EQ(p.low, c.low);
        EXPECT_EQ(p.high, c.high);
        EXPECT_EQ(p.steps, c.steps);
        EXPECT_EQ(p.averagings, c.averagings);
        EXPECT_EQ(p.t0, c.t0);
        EXPECT_EQ(p.dt, c.dt);
    }
}

TEST(FourierModelTest, AveragingAndAdaptationStayBoundedAndLowerTheMisfit) {
    const CorrectedSeries c = CorrectSeries(TrendAndWaves, 0, 1, false);
    const std::vector<double> lengthened = Lengthen(c.values);
    HarmonicModel model = SpectrumOf(lengthened);
    // 41 values: parts of 21 and 11 values; a third, of 5, is too short.
    EXPECT_EQ(AverageSpectrum(model, lengthened, 5), 2);

    // Only the two waves kept, then tuned: the misfit falls, every search
    // ends within its limit, and a stop request ends the work.
    HarmonicModel two = SpectrumOf(lengthened);
    ModelParameters p;
    p.threshold = 30;
    RemoveHarmonics(two, p);
    const AdaptationOutcome a = AdaptModel(two, c.values, true);
    EXPECT_LT(a.after, a.before);
    EXPECT_LE(a.trials, 2 * 3 * AdaptationTrialLimit);
    HarmonicModel stopped = SpectrumOf(lengthened);
    EXPECT_TRUE(AdaptModel(stopped, c.values, false, [](int, int) { return false; }).stopped);
    // All 20 harmonics tuned would need more trials than a work limit of
    // 40 values x 700 trials allows: the work ends early, still lowering
    // the misfit.
    HarmonicModel limited = SpectrumOf(lengthened);
    limited.amplitude[9] = 0;
    const AdaptationOutcome l = AdaptModel(limited, c.values, false, {}, 40 * 700.0);
    EXPECT_TRUE(l.exhausted);
    EXPECT_LE(l.trials, 700);
    EXPECT_LE(l.after, l.before);
}

class FourierModelBatchTest : public ::testing::Test {
  protected:
    FourierModelBatchTest() {
        std::ofstream file(temp_.path() / "series.txt");
        file << "ряд ровный короткий\n";
        for (std::size_t i = 0; i < TrendAndWaves.size(); ++i) {
            char cell[40];
            std::snprintf(cell, sizeof cell, "%.17g", TrendAndWaves[i]);
            // A missing cell in the middle leaves the series.
            file << (i == 20 ? std::string("?") : std::string(cell)) << " " << (i < 10 ? "4" : "?")
                 << " " << (i < 7 ? std::to_string(i * i) : "?") << "\n";
        }
    }
    struct Outcome {
        int status;
        std::string results, messages;
    };
    Outcome Run(const std::string& script) {
        std::ostringstream results, messages;
        const int status = RunBatchScript("open series.txt\n" + script, temp_.WithSlash(),
                                          BuiltStatisticsMethods(), results, messages);
        return {status, results.str(), messages.str()};
    }
    TempFolder temp_{"fourier-model"};
};

TEST_F(FourierModelBatchTest, RemovalLoopForecastAndNewModelFromAScript) {
    const Outcome run =
        Run("method 35\nvariable ряд\n"
            "form 1 0 \"Тренд=1\"\ngraph keep\ngraph keep\n"
            // No band: the model reproduces the series; go on, remove 9..9.
            "form 1\ngraph keep\nyes\ngraph keep\n"
            "form 1 0 9 9\ngraph keep\nyes\ngraph keep\n"
            // Then the forecast of 3 steps with the residual table.
            "form 1 \"Прогноз=3\" \"Нач.время=100\" \"Врем.шаг=2\"\nyes\ngraph keep\ngraph keep\n"
            // A new model of the same series, its correction cancelled.
            "yes\ncancel\nno\n");
    ASSERT_EQ(run.status, BatchDone) << run.messages << run.results;
    const std::string& r = run.results;
    EXPECT_NE(r.find("                    Переменная ряд\n"), std::string::npos) << r;
    EXPECT_NE(r.find("Ст.отклонение остатков (различие модели и процесса)="), std::string::npos)
        << r;
    EXPECT_NE(r.find("     Параметры Фурье-модели\nАмплитуда   Период     Фаза\n"),
              std::string::npos);
    EXPECT_NE(r.find(ModelResidualHeading), std::string::npos);
    EXPECT_NE(r.find("Yэксп, Yмодл - исходный ряд (тренд и скачки включены в модель)"),
              std::string::npos);
    // Yэксп is the series as it was (5.7 at t0 = 100), Yмодл the model with
    // the trend put back, and their difference the residual.
    const std::size_t table = r.find(ModelResidualHeading);
    ASSERT_NE(table, std::string::npos);
    std::istringstream first(r.substr(r.find('\n', table) + 1));
    double time, observed, modelled, residual;
    first >> time >> observed >> modelled >> residual;
    EXPECT_EQ(time, 100);
    EXPECT_EQ(observed, 5.7);
    EXPECT_NEAR(observed - modelled, residual, 2e-3) << r.substr(table, 300);
    EXPECT_GT(modelled, 4);
    // 39 values after the missing cell; the forecast's times go on from
    // 100 + 2·38.
    EXPECT_NE(r.find(ModelForecastHeading + std::string("\n      178 ")), std::string::npos) << r;
    EXPECT_NE(r.find("\n      182 "), std::string::npos) << r;
    EXPECT_EQ(r.find("\n      184 "), std::string::npos) << r;
}

TEST_F(FourierModelBatchTest, ShortSeriesAndRefusedFields) {
    // Seven values are too few.
    const Outcome shortRun = Run("method 35\nvariable короткий\nno\n");
    EXPECT_EQ(shortRun.status, BatchDone) << shortRun.messages;
    EXPECT_NE(shortRun.messages.find(ShortModelSeriesNotice), std::string::npos)
        << shortRun.messages;
    const Outcome constant = Run("method 35\nvariable ровный\nno\n");
    EXPECT_EQ(constant.status, BatchDone) << constant.messages;
    EXPECT_NE(constant.messages.find(ConstantModelSeriesNotice), std::string::npos);
    const Outcome bad = Run("method 35\nvariable ряд\nform 1 \"Удалить скачки=много\"\n");
    EXPECT_EQ(bad.status, BatchScriptFault);
    EXPECT_NE(bad.messages.find(JumpThresholdNotice), std::string::npos) << bad.messages;
}

}  // namespace
}  // namespace dalvex
