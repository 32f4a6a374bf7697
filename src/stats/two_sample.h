// The figures of the two-sample tests, computed from plain vectors of values
// into named results: nothing here touches the store or writes a line, so
// every figure can be checked on its own. The report lines are written by
// two_sample_report.h.
#pragma once

#include <optional>
#include <vector>

namespace dalvex {

// Mean and sample variance (divisor N - 1) in two passes, so values sharing a
// large offset keep their full precision.
struct SampleMoments {
    int count = 0;
    double mean = 0;
    double variance = 0;
};
SampleMoments MomentsOf(const std::vector<double>& values);

// Fisher's variance ratio and Student's t for two independent samples.
// Both samples need at least 2 values and a variance above 0.
struct StudentFisherFigures {
    int count0 = 0, count1 = 0;  // the samples' sizes N0, N1
    double f = 0;                // v0 / v1, as printed
    // Two-sided: twice the upper tail of the larger variance over the
    // smaller, held to 1 (the alternative is that the variances differ).
    double fSignificance = 0;
    // The degrees of freedom the ratio is tested with: the larger variance's
    // first (N0 - 1, N1 - 1 when f >= 1, else swapped).
    int fDf1 = 0, fDf2 = 0;
    bool equalVariances = false;  // the F test kept them equal: pooled t
    double t = 0;                 // signed, (m0 - m1) / its standard error
    int df = 0;                   // N0 + N1 - 2, or Welch's rounded
    double tSignificance = 0;
    double difference = 0;     // m0 - m1
    double standardError = 0;  // of the difference, as the t used it
    double halfWidth = 0;      // critical two-sided t at the level times the error
};
StudentFisherFigures StudentFisher(const std::vector<double>& x, const std::vector<double>& y,
                                   double level);

// Student's t for paired data: differences of complete pairs. Needs at least
// 2 differences that are not all equal.
struct PairedStudentFigures {
    int pairs = 0;
    double meanDifference = 0;
    double t = 0;  // |mean| / its standard error
    int df = 0;    // pairs - 1
    double significance = 0;
};
PairedStudentFigures PairedStudent(const std::vector<double>& differences);

// The pooled sample of x and y, sorted and ranked once; the sums every rank
// test of the pair is made of.
struct PooledRankSums {
    int n0 = 0, n1 = 0;          // N0, N1: the sizes of x and y
    double rankSum = 0;          // R_X: ranks of the x values
    double ansari = 0;           // A_X: sum over x of min(R, N + 1 - R)
    double scoreSum = 0;         // S_X: normal scores of the x ranks
    double squaredScoreSum = 0;  // Q_X: their squares
    double positionSquares = 0;  // B2: squared normal scores of the positions 1..N
    double positionFourth = 0;   // B4: their fourth powers
    double smirnov = 0;          // D: largest gap of the two empirical laws
    double tieTerm = 0;          // sum of t^3 - t over the groups of tied values
    bool allTied = false;        // every value the same: no rank test means anything
};
PooledRankSums PoolAndRank(const std::vector<double>& x, const std::vector<double>& y);

// A statistic reported through the normal approximation.
struct NormalApproximation {
    double statistic = 0;
    double z = 0;
    double significance = 0;  // one-sided NormalTail(z)
};

// Nothing when the statistic's variance is not positive.
std::optional<NormalApproximation> RankSumApproximation(const PooledRankSums& s);
std::optional<NormalApproximation> VanDerWaerden(const PooledRankSums& s);
std::optional<NormalApproximation> AnsariBradley(const PooledRankSums& s);
std::optional<NormalApproximation> SquaredNormalScores(const PooledRankSums& s);

// Smirnov's D with 2 exp(-2 D^2 N0 N1 / (N0 + N1)), held to 1.
struct SmirnovFigures {
    double d = 0;
    double significance = 0;
};
SmirnovFigures Smirnov(const PooledRankSums& s);

// A small-sample table's verdict: the statistic, its critical bounds (both
// count as significant), the figures printed as degrees of freedom.
struct TableVerdict {
    double statistic = 0;
    int lower = 0, upper = 0;
    int df1 = 0, df2 = 0;  // df2 0: only df1 printed
    bool significant = false;
};

// The rank-sum table T(a, b) for the smaller sample a = min(N0, N1) and the
// larger b: 0 where it has no entry.
int RankSumTableEntry(int a, int b);
// Applies for 2 <= a <= 10, 3 <= b <= 20 with an entry; the statistic is the
// rank sum of the smaller sample (of x when both are equal).
std::optional<TableVerdict> RankSumTable(const PooledRankSums& s);

// The signed-rank and sign tests of paired differences (complete pairs).
struct PairedRankFigures {
    int pairs = 0;
    int nonZero = 0;           // n': differences other than 0
    int positive = 0;          // P
    double positiveRanks = 0;  // W+: ranks of |d| among the non-zero differences
    double tieTerm = 0;        // sum of t^3 - t over tied non-zero |d| (zeros left out)
};
PairedRankFigures PairedRanks(const std::vector<double>& differences);

// The signed-rank table for 3 <= n' <= 15; nothing otherwise.
int SignedRankUpper(int n);
std::optional<TableVerdict> SignedRankTable(const PairedRankFigures& f);
// The normal approximation of W+ (n' >= 3).
NormalApproximation SignedRankApproximation(const PairedRankFigures& f);

// Exact two-sided bounds of Bin(n', 1/2) at the level for n' + 1 <= 15: H1
// when the count of positive differences lies below k or above n' - k, k the
// largest with 2 P(X <= k - 1) < level.
std::optional<TableVerdict> SignTestExact(const PairedRankFigures& f, double level);
// The normal approximation, continuity-corrected for n' < 36.
NormalApproximation SignTestApproximation(const PairedRankFigures& f);

}  // namespace dalvex
