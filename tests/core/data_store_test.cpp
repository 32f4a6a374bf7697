#include "core/data_store.h"

#include <gtest/gtest.h>

#include <bit>

namespace dalvex {
namespace {

TEST(DataStoreTest, MarkersHaveTheirExactBitPatterns) {
    EXPECT_EQ(std::bit_cast<std::uint64_t>(MissingValue), MissingValueBits);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(DeletionMarker), DeletionMarkerBits);
    EXPECT_EQ(SquareSide, 253);
    EXPECT_EQ(HalfSquareSide, 126);
}

TEST(DataStoreTest, RowWidthsAddressTheSameFlatBlock) {
    DataStore store;
    ASSERT_TRUE(store.Allocate());
    EXPECT_EQ(store.DataWidth(), 50);
    store.SetRowWidth(0, 10);
    store.Data(2, 3) = 7.5;
    EXPECT_EQ(store.DataBlock()[23], 7.5);
    store.SetRowWidth(0, 5);
    EXPECT_EQ(store.Data(4, 3), 7.5);  // the same cell seen through another width
    store.SetRowWidth(1, SquareSide);
    store.Work(1, 0) = 2;
    EXPECT_EQ(store.WorkBlock()[SquareSide], 2);
    store.Vec1(VectorCapacity - 1) = 1;
    store.Vec2(0) = 1;
}

#if DALVEX_CHECKED_ACCESS
TEST(DataStoreDeathTest, CheckedBuildsCatchAccessOutsideTheWidth) {
    DataStore store;
    ASSERT_TRUE(store.Allocate());
    store.SetRowWidth(0, 10);
    EXPECT_DEATH(store.Data(0, 10), "DataMatrix");
    EXPECT_DEATH(store.Data(6500, 0), "DataMatrix");
    EXPECT_DEATH(store.Vec1(VectorCapacity), "Vector1");
    EXPECT_DEATH(store.Square1(0, 0), "SquareMatrix1");  // not allocated
    store.AllocateSquares(2);
    store.Square1(1, 252) = 1;
    EXPECT_DEATH(store.Square2(2, 0), "SquareMatrix2");
}
#endif

}  // namespace
}  // namespace dalvex
