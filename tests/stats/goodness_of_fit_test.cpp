// The goodness of fit against R: the fitted parameters (the Weibull by the
// root of its likelihood equation, which MASS::fitdistr finds to its own
// optimiser's accuracy; the lognormal against fitdistr's meanlog and sdlog
// taken with divisor n - 1), the Kolmogorov statistic as ks.test computes it,
// omega-square with its 1/(12n) term and the significances of the method's
// formulas; then the data a fit must refuse.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "dispatch/loading.h"
#include "stats/goodness_of_fit.h"

namespace dalvex {
namespace {

using Law = ContinuousLaw;

// R: round(qweibull(ppoints(30), 2, 10) * (1 + 0.1 * sin(1:30)), 2) - with a
// tie at 8.65.
const std::vector<double> Weib = {1.41,  2.47,  2.99,  3.26,  3.64,  4.37,  5.27,  5.89,
                                  6.01,  5.83,  5.91,  6.58,  7.65,  8.5,   8.65,  8.28,
                                  8.08,  8.65,  9.94,  11.18, 11.62, 11.22, 10.78, 11.25,
                                  12.85, 14.82, 16.06, 16.19, 16.16, 18.24};
// R: round(qgamma(ppoints(25), 3, scale = 2) * (1 + 0.15 * cos(1:25)), 2).
const std::vector<double> Gam = {1.23, 1.65, 1.88, 2.32, 3.03, 3.69,  3.93, 3.74, 3.56,
                                 3.86, 4.72, 5.67, 6.08, 5.8,  5.34,  5.48, 6.52, 7.95,
                                 8.86, 8.76, 8.16, 8.21, 9.79, 12.86, 17.27};
// R: round(qbeta(ppoints(20), 2, 5) * (1 + 0.1 * sin(1:20)), 3).
const std::vector<double> Bet = {0.047, 0.086, 0.107, 0.119, 0.136, 0.167, 0.205,
                                 0.233, 0.242, 0.24,  0.248, 0.282, 0.335, 0.381,
                                 0.399, 0.394, 0.399, 0.448, 0.55,  0.7};

std::vector<double> Scaled(const std::vector<double>& x, double factor) {
    std::vector<double> y = x;
    for (double& v : y)
        v *= factor;
    return y;
}

std::vector<double> Shifted(const std::vector<double>& x, double offset) {
    std::vector<double> y = x;
    for (double& v : y)
        v += offset;
    return y;
}

// Expected values from R (see the file comment):
//   D = max(|F_i - i/n|, |F_i - (i+1)/n|) (= ks.test's statistic);
//   W = 1/(12n) + sum((F_i - (2i+1)/(2n))^2); Wc = W (1 + c/n);
//   pD and pW from the method's constants, values of 1 or more held at 0.9999.
struct FitCase {
    const char* name;
    Law law;
    std::vector<double> data;
    double a, b, d, w, wc, pD, pW;
    double tolerance;  // the normal routine's accuracy (2e-5) where it is used
};

TEST(GoodnessOfFit, FiguresAgainstR) {
    const FitCase cases[] = {
        {"normal", Law::Normal, Weib, 8.79166666666667, 4.51961020850046, 0.112502752929197,
         0.0512471552705187, 0.0521012745250273, 0.580432388446906, 0.50770053090045, 2e-5},
        // A common offset of 1e7 changes the mean and nothing else.
        {"normal with offset", Law::Normal, Shifted(Weib, 1e7), 10000008.7916667, 4.51961020845971,
         0.112502752841665, 0.0512471552197139, 0.0521012744733758, 0.580432390334462,
         0.507700531722558, 2e-5},
        // Found by the fault sweep: scaled to 1e-302 the squares vanish, to
        // 1e300 they overflow; the statistics do not depend on the scale.
        {"normal scaled down", Law::Normal, Scaled(Weib, 1e-302), 8.79166666666667e-302,
         4.51961020850046e-302, 0.112502752929197, 0.0512471552705187, 0.0521012745250273,
         0.580432388446906, 0.50770053090045, 2e-5},
        {"logistic scaled up", Law::Logistic, Scaled(Weib, 1e300), 8.79166666666667e300,
         2.49179170398962e300, 0.119974361918425, 0.0686038142449456, 0.068969701254252,
         0.282525119131038, 0.0230261500259133, 1e-12},
        {"Rayleigh", Law::Rayleigh, Weib, 9.85085698471627, 2, 0.06473015958599, 0.026202313872521,
         0.0263420595465077, 0.9999, 0.869526532633527, 1e-12},
        {"Weibull", Law::Weibull, Weib, 9.93882079696575, 2.0924492521913, 0.0734064055681494,
         0.0280938449737307, 0.0282436788135906, 0.9999, 0.804094043204271, 1e-9},
        {"logistic", Law::Logistic, Weib, 8.79166666666667, 2.49179170398962, 0.119974361918425,
         0.0686038142449456, 0.068969701254252, 0.282525119131038, 0.0230261500259133, 1e-12},
        {"extreme value", Law::ExtremeValue, Weib, 10.8257117751669, 3.52392562239088,
         0.25409552247029, 0.44736888916221, 0.449754856571075, 5.94919189301501e-05,
         0.0018989791760776, 1e-12},
        {"exponential", Law::Exponential, Gam, 6.0144, 3.68909324902475, 0.246731987380419,
         0.390756561124506, 0.393257403115703, 0.0164261579130133, 0.00431554864488539, 1e-12},
        {"gamma", Law::Gamma, Gam, 2.26280410348497, 2.65794108766957, 0.0833977949446648,
         0.0269235188538411, 0.0270958293745057, 0.9999, 0.882317643509671, 1e-12},
        // A shape of 5e12: the incomplete gamma function's large-shape branch.
        {"gamma with offset", Law::Gamma, Shifted(Weib, 1e7), 2.04268584778001e-06,
         4895519691652.37, 0.112502692759044, 0.0512470936702536, 0.051520411503161626,
         0.5380130482517296, 0.618726264582368, 1e-9},
        {"gamma scaled down", Law::Gamma, Scaled(Gam, 1e-300), 2.26280410348497e-300,
         2.65794108766957, 0.0833977949446648, 0.0269235188538411, 0.0270958293745057, 0.9999,
         0.882317643509671, 1e-12},
        {"Erlang", Law::Erlang, Gam, 2.26280410348497, 3, 0.147483204314675, 0.132432056833514,
         0.133279621997249, 0.206032525027872, 0.188613816247741, 1e-12},
        {"lognormal", Law::Lognormal, Gam, 1.61272006727838, 0.638862785657502, 0.0989698621901324,
         0.0398903479616401, 0.0406881549208729, 0.9999, 0.726103863482372, 2e-5},
        {"beta", Law::Beta, Bet, 1.82830743376421, 4.56661188685213, 0.0922710325840764,
         0.0278942049147118, 0.0281173585540295, 0.9999, 0.869318274740194, 1e-12},
    };
    for (const FitCase& c : cases) {
        SCOPED_TRACE(c.name);
        const FitResult fit = FitDistribution(c.law, c.data);
        ASSERT_EQ(fit.refusal, FitRefusal::None);
        EXPECT_EQ(fit.n, static_cast<int>(c.data.size()));
        // The parameters need no normal routine: R's digits throughout.
        EXPECT_NEAR(fit.a, c.a, 1e-9 * std::fabs(c.a));
        EXPECT_NEAR(fit.b, c.b, 1e-9 * std::fabs(c.b));
        EXPECT_NEAR(fit.kolmogorov, c.d, c.tolerance);
        EXPECT_NEAR(fit.omegaSquare, c.w, c.tolerance);
        EXPECT_NEAR(fit.omegaCorrected, c.wc, c.tolerance);
        EXPECT_NEAR(fit.kolmogorovP, c.pD, 100 * c.tolerance * c.pD);
        EXPECT_NEAR(fit.omegaP, c.pW, 100 * c.tolerance * c.pW);
        // The graph: the values ascending with (i + 1)/n, the fitted F at 51
        // points from the smallest value to the largest.
        ASSERT_EQ(fit.sorted.size(), c.data.size());
        EXPECT_TRUE(std::is_sorted(fit.sorted.begin(), fit.sorted.end()));
        EXPECT_DOUBLE_EQ(fit.empirical.back(), 1);
        ASSERT_EQ(fit.curveX.size(), 51u);
        EXPECT_EQ(fit.curveX.front(), fit.sorted.front());
        EXPECT_EQ(fit.curveX.back(), fit.sorted.back());
        EXPECT_NEAR(fit.curveF[25], LawCdf(c.law, fit.a, fit.b, fit.curveX[25]), 1e-15);
    }
}

TEST(GoodnessOfFit, WeibullAgreesWithFitdistr) {
    // MASS::fitdistr(x, "weibull"): shape 2.09244927178126, scale
    // 9.93882078350554, to its optimiser's accuracy.
    const FitResult fit = FitDistribution(Law::Weibull, Weib);
    EXPECT_NEAR(fit.b, 2.09244927178126, 1e-6);
    EXPECT_NEAR(fit.a, 9.93882078350554, 1e-6);
    // Shapes from far below 1 to far above converge: the same sample to the
    // powers 1/4 and 8 has shapes 4 and 1/4 of the original's.
    std::vector<double> flat = Weib, steep = Weib;
    for (double& x : flat)
        x = std::pow(x, 8);
    for (double& x : steep)
        x = std::pow(x, 0.25);
    EXPECT_NEAR(FitDistribution(Law::Weibull, flat).b, 2.0924492521913 / 8, 1e-10);
    EXPECT_NEAR(FitDistribution(Law::Weibull, steep).b, 2.0924492521913 * 4, 1e-8);
    // Values near 1e7 that differ by units need a shape near 1e7: no power
    // overflows on the way, and the likelihood equation is still solved.
    const FitResult offset = FitDistribution(Law::Weibull, Shifted(Weib, 1e7));
    ASSERT_EQ(offset.refusal, FitRefusal::None);
    EXPECT_GT(offset.b, 1e6);
    EXPECT_GT(offset.kolmogorov, 0);
    EXPECT_LT(offset.kolmogorov, 0.5);
}

TEST(GoodnessOfFit, DataTheLawCannotTakeAreRefusedByName) {
    struct Case {
        Law law;
        std::vector<double> data;
        FitRefusal refusal;
        const char* notice;
    };
    const Case cases[] = {
        // Negative values are not made positive behind the person's back.
        {Law::Exponential,
         {1, -2, 3, 4},
         FitRefusal::OutsideSupport,
         "!РАСПРЕДЕЛЕНИЕ ЭКСПОНЕНЦИАЛЬНОЕ НЕПРИМЕНИМО: ЕСТЬ ЗНАЧЕНИЯ < 0!"},
        {Law::Lognormal,
         {0, 1, 2, 3},
         FitRefusal::OutsideSupport,
         "!РАСПРЕДЕЛЕНИЕ ЛОГНОРМАЛЬНОЕ НЕПРИМЕНИМО: ЕСТЬ ЗНАЧЕНИЯ <= 0!"},
        {Law::Weibull,
         {0, 1, 2, 3},
         FitRefusal::OutsideSupport,
         "!РАСПРЕДЕЛЕНИЕ ВЕЙБУЛЛА НЕПРИМЕНИМО: ЕСТЬ ЗНАЧЕНИЯ <= 0!"},
        {Law::Beta,
         {0.2, 0.5, 1.5},
         FitRefusal::OutsideSupport,
         "!РАСПРЕДЕЛЕНИЕ БЕТА НЕПРИМЕНИМО: ЕСТЬ ЗНАЧЕНИЯ ВНЕ [0, 1]!"},
        // Values at both ends: the variance is too large for any beta law.
        {Law::Beta,
         {0, 0, 1, 1},
         FitRefusal::BetaSpread,
         "!РАСПРЕДЕЛЕНИЕ БЕТА НЕПРИМЕНИМО: ДИСПЕРСИЯ НЕ МЕНЬШЕ m(1-m)!"},
        {Law::Normal,
         {4, 4, 4, 4},
         FitRefusal::Constant,
         "!ПЕРЕМЕННАЯ x ПОСТОЯННА - СОГЛАСИЕ НЕ ОПРЕДЕЛЕНО!"},
        {Law::Gamma,
         {0, 0, 0},
         FitRefusal::Constant,
         "!ПЕРЕМЕННАЯ x ПОСТОЯННА - СОГЛАСИЕ НЕ ОПРЕДЕЛЕНО!"},
        {Law::Normal, {1, 2}, FitRefusal::TooFewValues, TooFewValuesNotice},
        {Law::Normal, {}, FitRefusal::TooFewValues, TooFewValuesNotice},
    };
    for (const Case& c : cases) {
        const FitResult fit = FitDistribution(c.law, c.data);
        EXPECT_EQ(fit.refusal, c.refusal) << c.notice;
        EXPECT_EQ(FitRefusalNotice(fit, "x"), c.notice);
    }
    // Zero is in the exponential law's support.
    EXPECT_EQ(FitDistribution(Law::Exponential, {0, 1, 2, 5}).refusal, FitRefusal::None);
}

}  // namespace
}  // namespace dalvex
