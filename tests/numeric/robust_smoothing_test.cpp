// The weighted median, the weighted Huber estimate and the sliding window of
// the robust smoothing, against values worked out by hand.
#include "numeric/robust_smoothing.h"

#include <gtest/gtest.h>

namespace dalvex {
namespace {

TEST(RobustSmoothingTest, WeightedMedianSplitsTheWeight) {
    struct Case {
        std::vector<double> values, weights;
        double median;
    };
    const Case cases[] = {
        {{5, 1, 3}, {1, 1, 1}, 3},
        {{4, 1, 3, 2}, {1, 1, 1, 1}, 2.5},  // half the weight on each side: the middle
        {{1, 2, 10}, {1, 1, 3}, 10},
        {{7, 7, 1}, {1, 1, 1}, 7},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(WeightedMedian(c.values, c.weights), c.median);
}

// With g = 2 the outlier 100 pulls by at most g: sum psi(m - y) = 0 at
// 2 + (m - 2) + (m - 3) + (m - 4) - 2 = 0, m = 3 (the mean would be 22).
TEST(RobustSmoothingTest, HuberEstimateResistsAnOutlier) {
    EXPECT_NEAR(WeightedHuber({1, 2, 3, 4, 100}, {1, 1, 1, 1, 1}, 2), 3.0, 1e-12);
    // Within g of each other every value counts fully: the weighted mean.
    EXPECT_NEAR(WeightedHuber({1, 2, 3}, {1, 1, 2}, 10), 2.25, 1e-12);
    // Near 1e7 the same answer, shifted.
    EXPECT_NEAR(WeightedHuber({1e7 + 1, 1e7 + 2, 1e7 + 3, 1e7 + 4, 1e7 + 100}, {1, 1, 1, 1, 1}, 2),
                1e7 + 3, 1e-6);
    // Two far groups of equal weight: every m between them is a root.
    EXPECT_NEAR(WeightedHuber({0, 0, 10, 10}, {1, 1, 1, 1}, 1), 5.0, 1e-12);
}

TEST(RobustSmoothingTest, KernelsAreTheNamedOnes) {
    EXPECT_DOUBLE_EQ(KernelWeight(SmoothingKernel::Rectangular, 0.5), 1);
    EXPECT_DOUBLE_EQ(KernelWeight(SmoothingKernel::Triangular, 0.5), 0.5);
    EXPECT_DOUBLE_EQ(KernelWeight(SmoothingKernel::Epanechnikov, 0.5), 0.75);
    EXPECT_DOUBLE_EQ(KernelWeight(SmoothingKernel::Epanechnikov, -1), 0);
}

TEST(RobustSmoothingTest, WindowSlidesOverTheHalfWidth) {
    const std::vector<double> x = {0, 1, 2, 3, 4, 5};
    const std::vector<double> y = {1, 1, 9, 1, 1, 1};
    // h = 1: only the point itself (|u| < 1); h = 2, rectangular median of
    // three: the spike is gone.
    const auto own = RobustSmooth(x, y, 1, 0, SmoothingKernel::Rectangular);
    const auto median = RobustSmooth(x, y, 2, 0, SmoothingKernel::Rectangular);
    for (std::size_t i = 0; i < x.size(); ++i) {
        ASSERT_TRUE(own[i] && median[i]);
        EXPECT_DOUBLE_EQ(*own[i], y[i]);
        EXPECT_DOUBLE_EQ(*median[i], 1);
    }
}

// Far wider than the 126 observations a fixed node store would hold.
TEST(RobustSmoothingTest, WideWindowHoldsEveryObservation) {
    std::vector<double> x, y;
    for (int i = 0; i < 400; ++i) {
        x.push_back(i);
        y.push_back(i % 2 == 0 ? 0 : 2);
    }
    const auto s = RobustSmooth(x, y, 1000, 0.5, SmoothingKernel::Rectangular);
    ASSERT_EQ(s.size(), 400u);
    for (const auto& v : s) {
        ASSERT_TRUE(v);
        EXPECT_NEAR(*v, 1.0, 1e-12);
    }
}

}  // namespace
}  // namespace dalvex
