#include "numeric/moments.h"

#include <cmath>

#include "core/arithmetic_fault.h"
#include "store_fixture.h"

namespace dalvex {
namespace {

constexpr double M = MissingValue;

using MomentsTest = StoreTest;

TEST_F(MomentsTest, SumsAndMomentsSkipMissingValues) {
    SetRow(0, {1, 2, M, 3});
    const RowMomentsResult m = RowMoments(ws, 0);
    EXPECT_EQ(m.count, 3);
    EXPECT_EQ(ws.store.StatMean, 2);
    EXPECT_EQ(ws.store.StatVariance, 1);
    EXPECT_EQ(ws.store.StatSum, 6);
    EXPECT_NEAR(ws.store.StatSumSquares, 14, 1e-12);
    EXPECT_NEAR(ws.store.StatSumCubes, 36, 1e-12);  // through Power(x, 3)
    EXPECT_NEAR(ws.store.StatSumFourth, 98, 1e-12);
    EXPECT_NEAR(m.centralSquares, 2, 1e-15);
    EXPECT_NEAR(m.centralCubes, 0, 1e-15);
    EXPECT_NEAR(m.centralFourth, 2, 1e-15);
    EXPECT_EQ(ws.VarLength[1], 3);  // left alone

    StoreRowMoments(ws, 0);
    EXPECT_EQ(ws.store.Vec1(0), 2);
    EXPECT_EQ(ws.store.Vec2(0), 1);
}

TEST_F(MomentsTest, LargeOffsetsKeepTheirPrecision) {
    // Subtracting the offset is exact for these doubles, so the variance of
    // the shifted values is the true variance of the stored ones. One-pass
    // sums of squares lose every digit here (or go negative).
    struct Case {
        double offset;
        std::vector<double> deviations;
        double variance;  // of the deviations as written, for a sanity check
    };
    const Case cases[] = {
        {1e7, {0.1, 0.2, 0.3}, 0.01},
        {1e9, {4, 7, 13, 16}, 30},  // R: var(c(4,7,13,16)) = 30
        {-1e8, {-0.5, 0.25, 0.75, -0.25, 1}, 0.40625},
        {0, {2, 4, 4, 4, 5, 5, 7, 9}, 32.0 / 7},
    };
    for (const Case& c : cases) {
        std::vector<double> values, shifted;
        for (double d : c.deviations)
            values.push_back(c.offset + d);
        for (double v : values)
            shifted.push_back(v - c.offset);
        double mean = 0;
        for (double s : shifted)
            mean += s;
        mean /= static_cast<double>(shifted.size());
        double ss = 0, s3 = 0;
        for (double s : shifted) {
            ss += (s - mean) * (s - mean);
            s3 += (s - mean) * (s - mean) * (s - mean);
        }
        const double exact = ss / static_cast<double>(shifted.size() - 1);

        SetRow(0, values);
        const RowMomentsResult m = RowMoments(ws, 0);
        EXPECT_NEAR(ws.store.StatVariance, exact, 1e-12 * exact) << c.offset;
        EXPECT_NEAR(ws.store.StatVariance, c.variance, 1e-7 * c.variance) << c.offset;
        EXPECT_NEAR(ws.store.StatMean - c.offset, mean, 1e-15 * std::fabs(c.offset) + 1e-15);
        EXPECT_NEAR(m.centralCubes, s3, 1e-9 * (std::fabs(s3) + ss)) << c.offset;
    }
}

// Found by the fault sweep: values near 1e-300 lost their squared
// deviations to zero: a histogram's class borders then divided by a
// deviation of 0, and so did the skewness.
// R for the sample unscaled: sd = 4.51961020850046, m3 / m2^1.5 =
// 0.379210693466655, m4 / m2^2 = 2.27913814301031; neither depends on the scale.
TEST_F(MomentsTest, DeviationAndShapeHoldAtEveryScale) {
    const std::vector<double> sample = {1.41,  2.47,  2.99,  3.26,  3.64,  4.37,  5.27,  5.89,
                                        6.01,  5.83,  5.91,  6.58,  7.65,  8.5,   8.65,  8.28,
                                        8.08,  8.65,  9.94,  11.18, 11.62, 11.22, 10.78, 11.25,
                                        12.85, 14.82, 16.06, 16.19, 16.16, 18.24};
    for (double scale : {1.0, 1e-302}) {
        std::vector<double> values = sample;
        for (double& v : values)
            v *= scale;
        SetRow(0, values);
        const RowMomentsResult m = RowMoments(ws, 0);
        EXPECT_NEAR(m.deviation, 4.51961020850046 * scale, 1e-13 * scale) << scale;
        EXPECT_NEAR(m.skewness, 0.379210693466655, 1e-13) << scale;
        EXPECT_NEAR(m.kurtosis, 2.27913814301031, 1e-13) << scale;
    }
    SetRow(0, {3, 3, 3});
    const RowMomentsResult constant = RowMoments(ws, 0);
    EXPECT_EQ(constant.deviation, 0);
    EXPECT_EQ(constant.skewness, 0);
}

TEST_F(MomentsTest, TooFewObservationsFault) {
    SetRow(0, {M, M});
    EXPECT_THROW(RowMoments(ws, 0), ArithmeticFault);
    SetRow(0, {5, M});
    EXPECT_THROW(RowMoments(ws, 0), ArithmeticFault);
}

TEST_F(MomentsTest, LongestVariantTakesTheLongestLoadedRow) {
    SetRow(0, {1, 2});
    SetRow(1, {10, 20, 30, 40});
    SetRow(2, {5});
    ws.store.Data(0, 2) = 3;  // beyond row 0's own length
    ws.store.Data(0, 3) = 4;
    RowMomentsAtLongest(ws, 0);
    EXPECT_EQ(ws.VarLength[1], 3);
    EXPECT_EQ(ws.store.StatMean, 2.5);
}

TEST_F(MomentsTest, CorrelationSkipsIncompletePairs) {
    SetRow(0, {1, 2, M, 4});
    SetRow(1, {2, 4, 5, 7});
    int n = 3;
    PairStatistics s;
    const double r = PairCorrelation(ws, 0, 1, 0, n, &s);
    // R: cor(c(1,2,4), c(2,4,7)) and r * sqrt(1 / (1 - r^2)).
    EXPECT_NEAR(r, 0.99717646495273804, 1e-15);
    EXPECT_EQ(n, 2);
    EXPECT_EQ(s.count, 3);
    EXPECT_NEAR(ws.store.StatSumSquares, 13.279056191361541, 1e-9);
    EXPECT_EQ(ws.store.StatVariance, 13);  // sum of y over the complete pairs
    EXPECT_EQ(ws.store.StatSum, 4);        // the last x read
    EXPECT_NEAR(s.sxx, 42.0 / 9, 1e-14);
    EXPECT_NEAR(s.sxy, 69.0 / 9, 1e-14);
}

TEST_F(MomentsTest, CorrelationWithOffsetAndShiftedSeries) {
    // y is read from index k + i: row 1 shifted by two.
    SetRow(0, {1e8 + 1, 1e8 + 2, 1e8 + 3, 1e8 + 4, 1e8 + 5});
    SetRow(1, {99, 99, 2, 4, 5, 4, 5});
    int n = 4;
    const double r = PairCorrelation(ws, 0, 1, 2, n);
    // R: cor(1:5, c(2,4,5,4,5)) = 0.7745966692414834, t = r sqrt(3 / (1 - r^2)).
    EXPECT_NEAR(r, 0.7745966692414834, 1e-14);
    EXPECT_NEAR(ws.store.StatSumSquares, 2.1213203435596428, 1e-12);
    EXPECT_EQ(n, 4);
}

TEST_F(MomentsTest, PerfectCorrelationGivesT100) {
    struct Case {
        std::vector<double> x, y;
        double r;
    };
    const Case cases[] = {
        {{1, 2, 3}, {3, 2, 1}, -1},
        {{1, 2, 3, 4}, {2, 4, 6, 8}, 1},
    };
    for (const Case& c : cases) {
        SetRow(0, c.x);
        SetRow(1, c.y);
        int n = static_cast<int>(c.x.size()) - 1;
        EXPECT_EQ(PairCorrelation(ws, 0, 1, 0, n), c.r);
        EXPECT_EQ(ws.store.StatSumSquares, 100);
    }
    // Exactly linear data whose rounded r may land a hair beyond 1: r stays
    // within [-1, 1] and t is 100 or finite, never a square root of a negative.
    for (int seed = 1; seed <= 200; ++seed) {
        std::vector<double> x, y;
        for (int i = 0; i < 7; ++i) {
            x.push_back(0.1 * ((seed * 37 + i * 11) % 23) + 1e5);
            y.push_back(-3.3 * x.back() + 0.7);
        }
        SetRow(0, x);
        SetRow(1, y);
        int n = 6;
        const double r = PairCorrelation(ws, 0, 1, 0, n);
        EXPECT_GE(r, -1.0);
        EXPECT_LE(r, 1.0);
        EXPECT_TRUE(std::isfinite(ws.store.StatSumSquares));
    }
}

TEST_F(MomentsTest, ConstantVariableFaults) {
    SetRow(0, {1, 2, 3});
    SetRow(1, {4, 4, 4});
    int n = 2;
    EXPECT_THROW(PairCorrelation(ws, 0, 1, 0, n), ArithmeticFault);
}

}  // namespace
}  // namespace dalvex
