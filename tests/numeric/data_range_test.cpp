#include "numeric/data_range.h"

#include <numbers>

#include "store_fixture.h"

namespace dalvex {
namespace {

constexpr double M = MissingValue;
constexpr double kPi = std::numbers::pi;

using DataRangeTest = StoreTest;

TEST_F(DataRangeTest, RowRangeTakesTwoRowsSkippingMissingValues) {
    struct Case {
        std::vector<double> a, b;
        double minA, maxA, minB, maxB;
    };
    const Case cases[] = {
        {{2, M, -1}, {5}, -1, 2, 5, 5},
        {{M, 3, 1, 2}, {-4, 7, 0}, 1, 3, -4, 7},
        // pi is an ordinary value: it used to read as "nothing seen yet", so
        // the next value restarted the range and pi was lost.
        {{kPi, 5}, {kPi, 2, 9}, kPi, 5, 2, 9},
        {{kPi, kPi}, {4, kPi}, kPi, kPi, kPi, 4},
    };
    for (const Case& c : cases) {
        SetRow(0, c.a);
        SetRow(1, c.b);
        RowRange(ws, 0, 1);
        EXPECT_EQ(ws.store.RangeMin[0], c.minA);
        EXPECT_EQ(ws.store.RangeMax[0], c.maxA);
        EXPECT_EQ(ws.store.RangeMin[1], c.minB);
        EXPECT_EQ(ws.store.RangeMax[1], c.maxB);
    }
}

TEST_F(DataRangeTest, AnAxisWithoutValuesStaysUnset) {
    SetRow(0, {M, M});
    RowRange(ws, 0, 0);
    EXPECT_FALSE(ws.store.RangeSeen[0]);
    EXPECT_FALSE(ws.store.RangeSeen[1]);
    UpdateRange(ws, 2, -3);
    UpdateRange(ws, 2, 8);
    EXPECT_EQ(ws.store.RangeMin[2], -3);
    EXPECT_EQ(ws.store.RangeMax[2], 8);
    ResetRange(ws, 2);
    UpdateRange(ws, 2, 10);
    EXPECT_EQ(ws.store.RangeMin[2], 10);
    EXPECT_EQ(ws.store.RangeMax[2], 10);
}

TEST_F(DataRangeTest, LoadedRowsGoToAxisOneOnly) {
    SetRow(0, {3, 4});
    SetRow(1, {-2, M, 11});
    SetRow(2, {0});
    ws.store.RangeMin[0] = 42;
    ws.store.RangeSeen[0] = true;
    LoadedRowsRange(ws);
    EXPECT_EQ(ws.store.RangeMin[1], -2);
    EXPECT_EQ(ws.store.RangeMax[1], 11);
    EXPECT_EQ(ws.store.RangeMin[0], 42);
}

}  // namespace
}  // namespace dalvex
