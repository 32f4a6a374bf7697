#include "numeric/ranks.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>
#include <vector>

#include "core/workspace.h"

namespace dalvex {

static_assert(RankRoom == CellCapacity / 2);

void SortDataColumns(Workspace& ws, int key, bool descending, int first, int last, int n) {
    if (n < 1)
        return;
    DataStore& store = ws.store;
    std::vector<int> order(n + 1);
    std::iota(order.begin(), order.end(), 0);
    if (descending)
        std::stable_sort(order.begin(), order.end(),
                         [&](int a, int b) { return store.Data(key, a) > store.Data(key, b); });
    else
        std::stable_sort(order.begin(), order.end(),
                         [&](int a, int b) { return store.Data(key, a) < store.Data(key, b); });
    std::vector<double> moved(n + 1);
    for (int row = first; row <= last; ++row) {
        for (int i = 0; i <= n; ++i)
            moved[i] = store.Data(row, order[i]);
        for (int i = 0; i <= n; ++i)
            store.Data(row, i) = moved[i];
    }
}

namespace {

bool Tied(double a, double b) {
    return a == b || std::fabs(a - b) / (std::fabs(a) + std::fabs(b)) <= 1e-10;
}

// Sorts rows 0 and 1 of WorkMatrix over 0 .. n by row 0, ties in their
// original order.
void SortWorkRows(DataStore& store, int n) {
    std::vector<std::pair<double, double>> pairs(n + 1);
    for (int i = 0; i <= n; ++i)
        pairs[i] = {store.Work(0, i), store.Work(1, i)};
    std::stable_sort(pairs.begin(), pairs.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (int i = 0; i <= n; ++i) {
        store.Work(0, i) = pairs[i].first;
        store.Work(1, i) = pairs[i].second;
    }
}

}  // namespace

void RankWorkRow(Workspace& ws, int n) {
    DataStore& store = ws.store;
    if (n < 0)
        return;
    SortWorkRows(store, n);
    int runStart = 0;
    for (int p = 0; p <= n; ++p) {
        if (p < n && Tied(store.Work(0, p), store.Work(0, p + 1)))
            continue;
        const double rank = (runStart + p) / 2.0 + 1;
        for (int q = runStart; q <= p; ++q)
            store.Work(0, q) = rank;
        runStart = p + 1;
    }
}

std::vector<double> MidRanksOfSorted(const std::vector<double>& sorted) {
    const int n = static_cast<int>(sorted.size());
    std::vector<double> ranks(sorted.size());
    int runStart = 0;
    for (int p = 0; p < n; ++p) {
        if (p + 1 < n && Tied(sorted[p], sorted[p + 1]))
            continue;
        const double rank = (runStart + p) / 2.0 + 1;
        for (int q = runStart; q <= p; ++q)
            ranks[q] = rank;
        runStart = p + 1;
    }
    return ranks;
}

std::vector<int> TieCounts(const std::vector<double>& sortedRanks) {
    std::vector<int> runs;
    const std::size_t n = sortedRanks.size();
    std::size_t start = 0;
    for (std::size_t p = 1; p <= n; ++p) {
        if (p < n && sortedRanks[p] == sortedRanks[start])
            continue;
        if (p - start >= 2)
            runs.push_back(static_cast<int>(p - start));
        start = p;
    }
    return runs;
}

std::string RankRoomNotice() {
    return "!ЧИСЛО ЗНАЧЕНИЙ ДЛЯ РАНЖИРОВАНИЯ БОЛЬШЕ ДОПУСТИМОГО: " + std::to_string(RankRoom) + "!";
}

namespace {

// Work row 1 remembers where each value came from as its element number in
// the DataMatrix block, so every rank goes straight back to its cell.
class RankBatch {
  public:
    explicit RankBatch(Workspace& ws) : ws_(ws) {}
    void Add(int row, int i) {
        ws_.store.Work(0, size_) = ws_.store.Data(row, i);
        ws_.store.Work(1, size_) = static_cast<double>(row) * ws_.store.DataWidth() + i;
        ++size_;
    }
    // Ranks what was added (order numbers when `orderNumbers`) and writes the
    // ranks back.
    void RankAndWrite(bool orderNumbers) {
        DataStore& store = ws_.store;
        if (orderNumbers) {
            SortWorkRows(store, size_ - 1);
            for (int p = 0; p < size_; ++p)
                store.Work(0, p) = p + 1;
        } else {
            RankWorkRow(ws_, size_ - 1);
        }
        const int width = store.DataWidth();
        for (int p = 0; p < size_; ++p) {
            const int element = static_cast<int>(store.Work(1, p));
            store.Data(element / width, element % width) = store.Work(0, p);
        }
        size_ = 0;
    }

  private:
    Workspace& ws_;
    int size_ = 0;
};

}  // namespace

bool RankData(Workspace& ws, int mode) {
    ws.store.SetRowWidth(1, RankRoom);
    const int lastRow = ws.VarLength[0];
    auto rowSize = [&](int row) { return ws.VarLength[row + 1] + 1; };

    long largest = 0;
    if (mode == 0) {
        largest = lastRow + 1;
    } else if (mode == 2) {
        for (int row = 0; row <= lastRow; ++row)
            largest += std::max(0, rowSize(row));
    } else {
        for (int row = 0; row <= lastRow; ++row)
            largest = std::max<long>(largest, rowSize(row));
    }
    if (largest > RankRoom) {
        ShowNotice(ws, RankRoomNotice());
        return false;
    }

    RankBatch batch(ws);
    switch (mode) {
        case 0:
            for (int i = 0; i <= ws.VarLength[1]; ++i) {
                for (int row = 0; row <= lastRow; ++row)
                    batch.Add(row, i);
                batch.RankAndWrite(false);
            }
            break;
        case 2:
            for (int row = 0; row <= lastRow; ++row)
                for (int i = 0; i < rowSize(row); ++i)
                    batch.Add(row, i);
            batch.RankAndWrite(false);
            break;
        default:
            for (int row = 0; row <= lastRow; ++row) {
                for (int i = 0; i < rowSize(row); ++i)
                    batch.Add(row, i);
                batch.RankAndWrite(mode == 3);
            }
            break;
    }
    return true;
}

}  // namespace dalvex
