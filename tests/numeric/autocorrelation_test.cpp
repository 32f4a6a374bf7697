// Correlation functions and the Fourier transform against R. The reference
// values were printed by R 4 with
//   x <- c(4.1, 5.3, 6.0, 5.2, 3.9, 3.1, 3.8, 5.0, 6.2, 6.4, 5.1, 4.0, 2.9,
//          3.3, 4.6, 5.8, 6.6, 5.9, 4.4, 3.2)
//   y <- c(1.2, 0.8, 1.9, 2.6, 2.1, 1.0, 0.4, 0.9, 2.0, 2.8, 2.5, 1.3, 0.5,
//          0.7, 1.8, 2.9, 2.7, 1.6, 0.6, 0.3)
// and the calls named beside each table.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "numeric/autocorrelation.h"
#include "numeric/fourier.h"

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

TEST(CorrelationFunctionsTest, MatchRsAcfCcfAndPacf) {
    // acf(x, lag.max = 11, plot = FALSE)$acf
    const std::vector<double> acf = {1,
                                     0.557292616226071,
                                     -0.226268611364327,
                                     -0.75618353084169,
                                     -0.703220905499848,
                                     -0.190063810391978,
                                     0.373230021270131,
                                     0.607824369492555,
                                     0.382907930720146,
                                     -0.0432391370404132,
                                     -0.370176238225463,
                                     -0.372364023093285};
    ExpectNear(*Autocorrelations(X, 11), acf, 1e-13);
    // r_k pairs x_t with y_{t+k}: ccf(y, x, lag.max = 11)$acf at lags 0 .. 11
    const std::vector<double> ccf = {0.734183780855458,  0.568347151449337,  -0.0886182766735689,
                                     -0.653964369978505, -0.668314139467603, -0.170742796133656,
                                     0.429253739841956,  0.633223268468568,  0.320355275025337,
                                     -0.186762096262813, -0.480579003874694, -0.334121220916377};
    ExpectNear(*LagCorrelations(X, Y, 11), ccf, 1e-13);
    // pacf(x, lag.max = 5)$acf
    ExpectNear(PartialAutocorrelations(*Autocorrelations(X, 5)),
               {0.557292616226071, -0.778683277025591, -0.360881541653448, -0.255399478430521,
                -0.241695186104578},
               1e-12);
}

TEST(CorrelationFunctionsTest, KeepTheirDigitsOnALargeOffsetAndRefuseAConstantSeries) {
    // acf(1e7 + x / 1000, lag.max = 11)$acf: the data themselves carry the
    // rounding of 1e7 + x / 1000, so R's figures differ from those of x.
    std::vector<double> offset;
    for (double v : X)
        offset.push_back(1e7 + v / 1000);
    const std::vector<double> acf = {1,
                                     0.557292674813884,
                                     -0.226268580161856,
                                     -0.756183663138694,
                                     -0.703221009299646,
                                     -0.190063814263977,
                                     0.373230100760616,
                                     0.607824413371336,
                                     0.382908002632275,
                                     -0.0432390875147141,
                                     -0.370176250738931,
                                     -0.372364097697515};
    ExpectNear(*Autocorrelations(offset, 11), acf, 1e-9);

    EXPECT_FALSE(Autocorrelations(std::vector<double>(20, 0.1), 5));
    EXPECT_FALSE(LagCorrelations(X, std::vector<double>(20, 3.0), 5));
    // Values near the largest double square without overflow.
    std::vector<double> huge;
    for (double v : X)
        huge.push_back(v * 1e300);
    ExpectNear(*Autocorrelations(huge, 3),
               {acf[0], 0.557292616226071, -0.226268611364327, -0.75618353084169}, 1e-12);
}

// Long series go through the transform: the same sums as the definition.
TEST(CorrelationFunctionsTest, LongSeriesGiveTheDirectSums) {
    std::uint32_t seed = 7;
    auto next = [&] {
        seed = seed * 134775813u + 1;
        return seed * (1.0 / 4294967296.0);
    };
    std::vector<double> x(3001), y(3001);
    for (std::size_t i = 0; i < x.size(); ++i) {
        x[i] = std::sin(i * 0.05) + next();
        y[i] = 1e6 + x[i] * 0.5 + next();
    }
    const int maxLag = 2990;
    const std::vector<double> r = *LagCorrelations(x, y, maxLag);
    // The definition in long double, as the reference.
    long double mx = 0, my = 0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        mx += x[i];
        my += y[i];
    }
    mx /= x.size();
    my /= y.size();
    long double sxx = 0, syy = 0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        sxx += (x[i] - mx) * (x[i] - mx);
        syy += (y[i] - my) * (y[i] - my);
    }
    for (int k : {0, 1, 17, 1500, 2990}) {
        long double s = 0;
        for (std::size_t t = 0; t + k < x.size(); ++t)
            s += (x[t] - mx) * (y[t + k] - my);
        EXPECT_NEAR(r[k], static_cast<double>(s / std::sqrt(sxx * syy)), 1e-12) << "lag " << k;
    }
    const std::vector<double> c = Autocovariances(x, 3);
    EXPECT_NEAR(c[0], static_cast<double>(sxx / x.size()), 1e-12);
}

TEST(FourierTransformTest, MatchesRsFftForAnyLength) {
    // f <- fft(x[1:12]) and fft(x[1:16]): Re and Im of f[1 .. n/2 + 1]
    struct Case {
        int length;
        std::vector<double> re, im;
    };
    const Case cases[] = {
        {12,
         {58.1, 1.83923048454133, -5.6, -0.7, 0.200000000000002, -0.239230484541328,
          0.0999999999999943},
         {0, 2.71243556529821, -5.54256258422041, -0.6, 0, 0.287564434701786, 0}},
        {16,
         {74.7, -0.639325526425131, 8.37903679018718, -4.71031790324246, -2.4, -1.8938451527918,
          -1.37903679018718, -1.15651141754061, -1.5},
         {0, -1.26749168913627, -5.31629509039023, 3.06734386601788, 1.9, 1.20876522225519,
          0.0837049096097773, 0.873929667101038, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        const std::vector<double> x(X.begin(), X.begin() + c.length);
        const HarmonicSums sums = HarmonicSumsOf(x, c.length / 2);
        ExpectNear(sums.cosines, c.re, 1e-12);
        std::vector<double> minusIm;
        for (double v : c.im)
            minusIm.push_back(-v);
        ExpectNear(sums.sines, minusIm, 1e-12);
    }
}

}  // namespace
}  // namespace dalvex
