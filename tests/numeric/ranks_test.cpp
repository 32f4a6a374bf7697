#include "numeric/ranks.h"

#include "store_fixture.h"

namespace dalvex {
namespace {

using RanksTest = StoreTest;

TEST_F(RanksTest, SortDataColumnsIsStableAndMovesOnlyTheGivenRows) {
    struct Case {
        std::vector<double> key;
        bool descending;
        std::vector<double> labels;  // row 1 after the sort (it starts 10, 11, ...)
    };
    const Case cases[] = {
        // Equal keys keep their order; the selection sort used to swap the
        // first 2 behind the second.
        {{2, 2, 1}, false, {12, 10, 11}},
        {{3, 1, 2, 1}, false, {11, 13, 12, 10}},
        {{3, 1, 2, 1}, true, {10, 12, 11, 13}},
        {{1, 5, 1, 5}, true, {11, 13, 10, 12}},
        {{MissingValue, -1, 0}, false, {11, 10, 12}},  // MissingValue is just a number
        {{7}, false, {10}},
    };
    for (const Case& c : cases) {
        std::vector<double> labels, untouched;
        for (std::size_t i = 0; i < c.key.size(); ++i) {
            labels.push_back(10 + static_cast<double>(i));
            untouched.push_back(100 + static_cast<double>(i));
        }
        SetRow(0, c.key);
        SetRow(1, labels);
        SetRow(2, untouched);
        const int n = static_cast<int>(c.key.size()) - 1;
        SortDataColumns(ws, 0, c.descending, 0, 1, n);
        EXPECT_EQ(Row(1), c.labels);
        EXPECT_EQ(Row(2), untouched);
        for (std::size_t i = 0; i < c.labels.size(); ++i)  // the key row moved with them
            EXPECT_EQ(Row(0)[i], c.key[static_cast<int>(c.labels[i]) - 10]);
    }
    // The key row itself need not move.
    SetRow(0, {3, 1, 2});
    SetRow(1, {10, 11, 12});
    SortDataColumns(ws, 0, false, 1, 1, 2);
    EXPECT_EQ(Row(0), (std::vector<double>{3, 1, 2}));
    EXPECT_EQ(Row(1), (std::vector<double>{11, 12, 10}));
}

TEST_F(RanksTest, RankWorkRowGivesMidRanksForTies) {
    struct Case {
        std::vector<double> values;
        std::vector<double> ranks;      // in sorted order
        std::vector<double> positions;  // where each sorted value came from
    };
    const Case cases[] = {
        {{5, 1, 5, 3}, {1, 2, 3.5, 3.5}, {1, 3, 0, 2}},
        {{1.0, 1.0 + 1e-12}, {1.5, 1.5}, {0, 1}},  // within 1e-10: tied
        // Ties chain along the sorted values even where the ends are apart.
        {{1 + 3e-10, 1, 1 + 1.5e-10}, {2, 2, 2}, {1, 2, 0}},
        {{0, 1e-300, 0, -1}, {1, 2.5, 2.5, 4}, {3, 0, 2, 1}},
        {{2, 1}, {1, 2}, {1, 0}},
        {{4}, {1}, {0}},
    };
    ws.store.SetRowWidth(1, RankRoom);
    for (const Case& c : cases) {
        const int n = static_cast<int>(c.values.size()) - 1;
        for (int i = 0; i <= n; ++i) {
            ws.store.Work(0, i) = c.values[i];
            ws.store.Work(1, i) = i;
        }
        RankWorkRow(ws, n);
        for (int i = 0; i <= n; ++i) {
            EXPECT_EQ(ws.store.Work(0, i), c.ranks[i]) << "case " << c.values[0] << " at " << i;
            EXPECT_EQ(ws.store.Work(1, i), c.positions[i]) << "case " << c.values[0] << " at " << i;
        }
    }
}

TEST_F(RanksTest, RankDataModes) {
    struct Case {
        int mode;
        std::vector<std::vector<double>> rows, ranks;
    };
    const Case cases[] = {
        // Within each observation across the rows.
        {0, {{3, 1}, {1, 1}, {2, 5}}, {{3, 1.5}, {1, 1.5}, {2, 3}}},
        // Within each row.
        {1, {{30, 10, 20, 10}, {7, 8}}, {{4, 1.5, 3, 1.5}, {1, 2}}},
        // Pooled.
        {2, {{30, 10}, {20, 10, 40}}, {{4, 1.5}, {3, 1.5, 5}}},
        // Order numbers: tied values numbered in their original order.
        {3, {{5, 1, 5}, {2, 2, 1, 2}}, {{2, 1, 3}, {2, 3, 1, 4}}},
    };
    for (const Case& c : cases) {
        ws.VarLength[0] = -1;
        for (std::size_t r = 0; r < c.rows.size(); ++r)
            SetRow(static_cast<int>(r), c.rows[r]);
        EXPECT_TRUE(RankData(ws, c.mode));
        EXPECT_EQ(ws.store.WorkWidth(), CellCapacity / 2);
        for (std::size_t r = 0; r < c.rows.size(); ++r)
            EXPECT_EQ(Row(static_cast<int>(r)), c.ranks[r]) << "mode " << c.mode << " row " << r;
    }
    EXPECT_TRUE(ui.notices().empty());
}

TEST_F(RanksTest, PooledSampleBeyondTheRoomIsRefusedBeforeWriting) {
    // Two rows of 16250 fill the room exactly; one value more does not fit.
    ws.store.SetRowWidth(0, 16251);
    std::vector<double> a(16250), b(16250);
    for (int i = 0; i < 16250; ++i) {
        a[i] = 2.0 * i;
        b[i] = 2.0 * i + 1;
    }
    SetRow(0, a);
    SetRow(1, b);
    ASSERT_TRUE(RankData(ws, 2));
    EXPECT_EQ(Row(0)[0], 1);
    EXPECT_EQ(Row(1)[16249], 32500);

    SetRow(0, a);
    b.push_back(1e9);
    SetRow(1, b);
    EXPECT_FALSE(RankData(ws, 2));
    EXPECT_EQ(ui.notices(), std::vector<std::string>{RankRoomNotice()});
    EXPECT_EQ(ui.notices()[0], "!ЧИСЛО ЗНАЧЕНИЙ ДЛЯ РАНЖИРОВАНИЯ БОЛЬШЕ ДОПУСТИМОГО: 32500!");
    EXPECT_EQ(Row(0), a);  // nothing written
    EXPECT_EQ(Row(1), b);
}

}  // namespace
}  // namespace dalvex
