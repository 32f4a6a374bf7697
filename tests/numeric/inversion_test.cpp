#include "numeric/inversion.h"

#include <cmath>
#include <vector>

#include "store_fixture.h"

namespace dalvex {
namespace {

using Matrix = std::vector<std::vector<double>>;

class InversionTest : public StoreTest {
  protected:
    void Put(const Matrix& a) {
        for (std::size_t i = 0; i < a.size(); ++i)
            for (std::size_t j = 0; j < a.size(); ++j)
                ws.store.Work(static_cast<int>(i), static_cast<int>(j)) = a[i][j];
    }
    Matrix Get(int size) {
        Matrix a(size, std::vector<double>(size));
        for (int i = 0; i < size; ++i)
            for (int j = 0; j < size; ++j)
                a[i][j] = ws.store.Work(i, j);
        return a;
    }
    // The largest |(A B - I)_ij|, each product term measured against
    // sum_k |a_ik| |b_kj| so that badly scaled matrices are judged fairly.
    static double Residual(const Matrix& a, const Matrix& b) {
        double worst = 0;
        const std::size_t n = a.size();
        for (std::size_t i = 0; i < n; ++i)
            for (std::size_t j = 0; j < n; ++j) {
                double sum = 0, size = 0;
                for (std::size_t k = 0; k < n; ++k) {
                    sum += a[i][k] * b[k][j];
                    size += std::fabs(a[i][k] * b[k][j]);
                }
                worst = std::max(worst, std::fabs(sum - (i == j ? 1 : 0)) / size);
            }
        return worst;
    }
};

TEST_F(InversionTest, ExchangesRowsAndRecordsThem) {
    ws.store.SetRowWidth(1, SquareSide);
    Put({{0, 1}, {1, 0}});
    EXPECT_TRUE(InvertWorkMatrix(ws, 1));
    EXPECT_EQ(Get(2), (Matrix{{0, 1}, {1, 0}}));
    EXPECT_EQ(ws.store.Vec2(0), 1);
    EXPECT_EQ(ws.store.Vec2(1), 1);
    EXPECT_TRUE(ui.notices().empty());
}

TEST_F(InversionTest, KnownInverse) {
    // R: solve(matrix(c(4,7,2, 3,6,1, 2,5,3), 3, byrow = TRUE)) * 9.
    ws.store.SetRowWidth(1, 7);  // whatever stride the caller set
    Put({{4, 7, 2}, {3, 6, 1}, {2, 5, 3}});
    ASSERT_TRUE(InvertWorkMatrix(ws, 2));
    const Matrix expected{{13, -11, -5}, {-7, 8, 2}, {3, -6, 3}};
    const Matrix inverse = Get(3);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            EXPECT_NEAR(inverse[i][j] * 9, expected[i][j], 1e-13) << i << "," << j;
}

TEST_F(InversionTest, PivotsOnTheLargestElement) {
    // Taking the tiny first element as pivot (the first non-zero one) loses
    // the top-left element of the inverse entirely.
    ws.store.SetRowWidth(1, SquareSide);
    Put({{1e-18, 1}, {1, 1}});
    ASSERT_TRUE(InvertWorkMatrix(ws, 1));
    const Matrix inverse = Get(2);
    EXPECT_NEAR(inverse[0][0], -1, 1e-15);
    EXPECT_NEAR(inverse[0][1], 1, 1e-15);
    EXPECT_NEAR(inverse[1][0], 1, 1e-15);
    EXPECT_NEAR(inverse[1][1], -1e-18, 1e-30);
    EXPECT_EQ(ws.store.Vec2(0), 1);
}

TEST_F(InversionTest, WellPosedMatricesOfEveryScaleInvert) {
    Matrix hilbert(6, std::vector<double>(6));
    for (int i = 0; i < 6; ++i)
        for (int j = 0; j < 6; ++j)
            hilbert[i][j] = 1.0 / (i + j + 1);
    Matrix random(40, std::vector<double>(40));
    unsigned seed = 12345;
    for (auto& row : random)
        for (double& v : row) {
            seed = seed * 134775813u + 1;
            v = seed * (1.0 / 4294967296.0) - 0.5;
        }
    const Matrix cases[] = {
        {{1e16, 0}, {0, 1}},
        {{1e16, 1e16}, {1, 2}},  // rows of very different size
        {{1e16, 1}, {1e16, 2}},  // columns of very different size
        {{1e-200, 0}, {0, 1e-200}},
        hilbert,  // condition number about 1.5e7
        random,
    };
    ws.store.SetRowWidth(1, SquareSide);
    for (const Matrix& a : cases) {
        Put(a);
        const int m = static_cast<int>(a.size()) - 1;
        ASSERT_TRUE(InvertWorkMatrix(ws, m)) << "size " << a.size();
        EXPECT_LT(Residual(a, Get(m + 1)), 1e-9) << "size " << a.size();
    }
    EXPECT_TRUE(ui.notices().empty());
}

TEST_F(InversionTest, SingularMatricesAreReported) {
    const Matrix cases[] = {
        {{1, 2}, {2, 4}},
        {{0, 0}, {0, 0}},
        {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}},  // singular, but rounding leaves a tiny pivot
        {{0.1, 0.3}, {0.7, 2.1}},           // 0.3 = 3 * 0.1 only approximately
        {{1e10, 2e10, 3}, {1, 2, 3e-10}, {5, 1, 1}},
    };
    ws.store.SetRowWidth(1, SquareSide);
    for (const Matrix& a : cases) {
        ui.ClearLog();
        Put(a);
        EXPECT_FALSE(InvertWorkMatrix(ws, static_cast<int>(a.size()) - 1)) << a[0][0];
        EXPECT_EQ(ui.notices(),
                  std::vector<std::string>{"!СИНГУЛЯРНАЯ МАТРИЦА - ИНВЕРТИРОВАНИЕ НЕВОЗМОЖНО!"});
    }
}

}  // namespace
}  // namespace dalvex
