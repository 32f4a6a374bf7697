// Sorting DataMatrix columns and replacing values by ranks. The sorts are
// stable: tied values keep their original order wherever that order shows.
#pragma once

#include <string>
#include <vector>

namespace dalvex {

struct Workspace;

// Orders DataMatrix columns 0 .. n by the values of row `key` (ascending, or
// descending when `descending`), moving the cells of rows first .. last.
// MissingValue sorts like any number.
void SortDataColumns(Workspace& ws, int key, bool descending, int first, int last, int n);

// Sorts WorkMatrix row 0 (values) together with row 1 (where each value came
// from) over 0 .. n, then replaces the values by their 1-based ranks; a run of
// tied values gets its mid-rank. Neighbours count as tied when they are equal
// or differ by at most 1e-10 of |a| + |b|.
void RankWorkRow(Workspace& ws, int n);

// 1-based ranks of ascending values, a run of tied values sharing its
// mid-rank; ties as RankWorkRow counts them. Runs in linear time, so the
// rank tests stay fast on a full pooled sample.
std::vector<double> MidRanksOfSorted(const std::vector<double>& sorted);

// The lengths of the runs of two or more equal neighbours in ascending ranks:
// the tie groups whose t^3 - t corrects a rank statistic's variance.
std::vector<int> TieCounts(const std::vector<double>& sortedRanks);

// The largest sample RankData can rank at once: a WorkMatrix row of half the
// cell capacity.
inline constexpr int RankRoom = 65000 / 2;

std::string RankRoomNotice();

// Replaces DataMatrix values by ranks:
//   0  within each observation across the loaded rows (ranks within blocks);
//   1  within each row;
//   2  all rows pooled into one sample;
//   3  order numbers within each row: positions in sorted order, ties not
//      averaged but numbered in their original order.
// Sets WorkWidth to RankRoom. A sample larger than RankRoom is refused with
// RankRoomNotice before anything is written; returns false then.
bool RankData(Workspace& ws, int mode);

}  // namespace dalvex
