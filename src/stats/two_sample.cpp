#include "stats/two_sample.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>

#include "core/arithmetic_fault.h"
#include "dispatch/method_kit.h"
#include "numeric/distributions.h"
#include "numeric/ranks.h"

namespace dalvex {

SampleMoments MomentsOf(const std::vector<double>& values) {
    SampleMoments m;
    m.count = static_cast<int>(values.size());
    if (m.count == 0)
        return m;
    double sum = 0;
    for (double x : values)
        sum += x;
    m.mean = sum / m.count;
    double squares = 0;
    for (double x : values)
        squares += (x - m.mean) * (x - m.mean);
    m.variance = m.count > 1 ? squares / (m.count - 1) : 0.0;
    return m;
}

StudentFisherFigures StudentFisher(const std::vector<double>& x, const std::vector<double>& y,
                                   double level) {
    const SampleMoments a = MomentsOf(x);
    const SampleMoments b = MomentsOf(y);
    StudentFisherFigures r;
    r.count0 = a.count;
    r.count1 = b.count;
    const double n0 = a.count, n1 = b.count;

    r.f = CheckedDivide(a.variance, b.variance);
    // The larger variance on top: the upper tail of that ratio is one side
    // of the two-sided test, whichever variance is the larger.
    if (r.f >= 1) {
        r.fDf1 = a.count - 1;
        r.fDf2 = b.count - 1;
    } else {
        r.fDf1 = b.count - 1;
        r.fDf2 = a.count - 1;
    }
    const double larger = r.f >= 1 ? r.f : 1 / r.f;
    r.fSignificance = std::min(1.0, 2 * FSignificance(larger, r.fDf1, r.fDf2));

    r.difference = a.mean - b.mean;
    r.equalVariances = r.fSignificance > level;
    if (r.equalVariances) {
        const double pooled = (a.variance * (n0 - 1) + b.variance * (n1 - 1)) / (n0 + n1 - 2);
        r.standardError = std::sqrt(pooled * (1 / n0 + 1 / n1));
        r.df = a.count + b.count - 2;
    } else {
        const double va = a.variance / n0, vb = b.variance / n1;
        r.standardError = std::sqrt(va + vb);
        const double welch = (va + vb) * (va + vb) / (va * va / (n0 - 1) + vb * vb / (n1 - 1));
        r.df = std::max(1, static_cast<int>(std::floor(welch + 0.5)));
    }
    r.t = CheckedDivide(r.difference, r.standardError);
    r.tSignificance = FisherTail(r.t, 1, r.df);
    r.halfWidth = FisherQuantile(1, r.df, level) * r.standardError;
    return r;
}

PairedStudentFigures PairedStudent(const std::vector<double>& differences) {
    const SampleMoments m = MomentsOf(differences);
    PairedStudentFigures r;
    r.pairs = m.count;
    r.meanDifference = m.mean;
    r.df = m.count - 1;
    r.t = CheckedDivide(std::fabs(m.mean), std::sqrt(m.variance / m.count));
    r.significance = FisherTail(r.t, 1, r.df);
    return r;
}

PooledRankSums PoolAndRank(const std::vector<double>& x, const std::vector<double>& y) {
    PooledRankSums s;
    s.n0 = static_cast<int>(x.size());
    s.n1 = static_cast<int>(y.size());
    const int n = s.n0 + s.n1;
    // Values with their group (false: x); x comes first among equal values,
    // as the pooled row lists x before y.
    std::vector<std::pair<double, bool>> pooled;
    pooled.reserve(n);
    for (double v : x)
        pooled.push_back({v, false});
    for (double v : y)
        pooled.push_back({v, true});
    std::stable_sort(pooled.begin(), pooled.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<double> sorted(n);
    for (int j = 0; j < n; ++j)
        sorted[j] = pooled[j].first;
    const std::vector<double> ranks = MidRanksOfSorted(sorted);
    s.allTied = n > 0 && ranks.front() == ranks.back();

    const double n1 = n + 1.0;
    int countX = 0, countY = 0;
    for (int j = 0; j < n; ++j) {
        const double rank = ranks[j];
        const double position = NormalQuantile((j + 1) / n1);
        if (!pooled[j].second) {
            const double score = NormalQuantile(rank / n1);
            s.rankSum += rank;
            s.ansari += n1 / 2 - std::fabs(rank - n1 / 2);
            s.scoreSum += score;
            s.squaredScoreSum += score * score;
            ++countX;
        } else {
            ++countY;
        }
        s.positionSquares += position * position;
        s.positionFourth += position * position * position * position;
        // The empirical laws are compared only where a run of equal values
        // ends: inside a run the gap depends on how the ties happen to be
        // ordered, not on the data.
        const bool runEnds = j + 1 == n || ranks[j + 1] != rank;
        if (runEnds && s.n0 > 0 && s.n1 > 0)
            s.smirnov = std::max(s.smirnov, std::fabs(static_cast<double>(countX) / s.n0 -
                                                      static_cast<double>(countY) / s.n1));
    }
    for (int t : TieCounts(ranks))
        s.tieTerm += static_cast<double>(t) * t * t - t;
    return s;
}

namespace {

std::optional<NormalApproximation> Approximation(double statistic, double deviation,
                                                 double variance) {
    if (!(variance > 0))
        return std::nullopt;
    NormalApproximation a;
    a.statistic = statistic;
    a.z = deviation / std::sqrt(variance);
    a.significance = NormalTail(a.z);
    return a;
}

}  // namespace

std::optional<NormalApproximation> RankSumApproximation(const PooledRankSums& s) {
    const double n0 = s.n0, n1 = s.n1, n = n0 + n1;
    if (n < 2)
        return std::nullopt;
    const double k = (n + 1) - s.tieTerm / (n * (n - 1));
    return Approximation(s.rankSum, n0 * (n + 1) / 2 - s.rankSum, n0 * n1 * k / 12);
}

std::optional<NormalApproximation> VanDerWaerden(const PooledRankSums& s) {
    const double n0 = s.n0, n1 = s.n1, n = n0 + n1;
    if (n < 2)
        return std::nullopt;
    return Approximation(s.scoreSum, s.scoreSum, n0 * n1 * s.positionSquares / (n * (n - 1)));
}

std::optional<NormalApproximation> AnsariBradley(const PooledRankSums& s) {
    const double n0 = s.n0, n1 = s.n1, n = n0 + n1;
    if (n < 2)
        return std::nullopt;
    double mean, variance;
    if ((s.n0 + s.n1) % 2 == 0) {
        mean = n0 * (n + 2) / 4;
        variance = n0 * n1 * (n - 2) * (n + 2) / (48 * (n - 1));
    } else {
        mean = n0 * (n + 1) * (n + 1) / (4 * n);
        variance = n0 * n1 * (n + 1) * (n * n + 3) / (48 * n * n);
    }
    return Approximation(s.ansari, s.ansari - mean, variance);
}

std::optional<NormalApproximation> SquaredNormalScores(const PooledRankSums& s) {
    const double n0 = s.n0, n1 = s.n1, n = n0 + n1;
    if (n < 2 || s.n0 == 0)
        return std::nullopt;
    const double expected = n0 / n * s.positionSquares;
    const double variance =
        n0 / (n - 1) * n1 / n * s.positionFourth - expected * expected * n1 / (n0 * (n - 1));
    return Approximation(s.squaredScoreSum, s.squaredScoreSum - expected, variance);
}

SmirnovFigures Smirnov(const PooledRankSums& s) {
    SmirnovFigures f;
    f.d = s.smirnov;
    const double n0 = s.n0, n1 = s.n1;
    f.significance = std::min(1.0, 2 * std::exp(-2 * f.d * f.d * n0 * n1 / (n0 + n1)));
    return f;
}

int RankSumTableEntry(int a, int b) {
    // Rows a = 2..10, columns b = 3..20; 0 where the table has no entry.
    static constexpr std::array<std::array<int, 18>, 9> table{{
        {0, 11, 13, 15, 16, 18, 20, 21, 23, 25, 26, 28, 30, 31, 33, 35, 37, 38},
        {15, 17, 20, 22, 24, 27, 29, 31, 34, 36, 38, 41, 43, 45, 48, 50, 52, 55},
        {0, 24, 27, 30, 33, 36, 39, 42, 45, 48, 51, 54, 57, 60, 63, 66, 69, 72},
        {0, 0, 36, 40, 43, 47, 50, 54, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {0, 0, 0, 50, 54, 58, 63, 67, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {0, 0, 0, 0, 66, 71, 76, 80, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {0, 0, 0, 0, 0, 84, 90, 95, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {0, 0, 0, 0, 0, 0, 105, 111, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {0, 0, 0, 0, 0, 0, 0, 127, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    }};
    if (a < 2 || a > 10 || b < 3 || b > 20)
        return 0;
    return table[a - 2][b - 3];
}

std::optional<TableVerdict> RankSumTable(const PooledRankSums& s) {
    const int a = std::min(s.n0, s.n1), b = std::max(s.n0, s.n1);
    const int upper = RankSumTableEntry(a, b);
    if (upper == 0)
        return std::nullopt;
    TableVerdict v;
    // Bounds made for the smaller sample are compared with its own rank sum.
    const double n = s.n0 + s.n1;
    v.statistic = s.n0 <= s.n1 ? s.rankSum : n * (n + 1) / 2 - s.rankSum;
    v.upper = upper;
    v.lower = a * (a + b + 1) - upper;
    v.df1 = b;
    v.df2 = a;
    v.significant = v.statistic >= v.upper || v.statistic <= v.lower;
    return v;
}

PairedRankFigures PairedRanks(const std::vector<double>& differences) {
    PairedRankFigures f;
    f.pairs = static_cast<int>(differences.size());
    std::vector<std::pair<double, bool>> magnitudes;  // |d|, positive
    for (double d : differences) {
        if (d == 0)
            continue;
        magnitudes.push_back({std::fabs(d), d > 0});
        if (d > 0)
            ++f.positive;
    }
    f.nonZero = static_cast<int>(magnitudes.size());
    std::stable_sort(magnitudes.begin(), magnitudes.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<double> sorted(magnitudes.size());
    for (std::size_t i = 0; i < sorted.size(); ++i)
        sorted[i] = magnitudes[i].first;
    const std::vector<double> ranks = MidRanksOfSorted(sorted);
    for (std::size_t i = 0; i < ranks.size(); ++i)
        if (magnitudes[i].second)
            f.positiveRanks += ranks[i];
    for (int t : TieCounts(ranks))
        f.tieTerm += static_cast<double>(t) * t * t - t;
    return f;
}

int SignedRankUpper(int n) {
    static constexpr std::array<int, 13> upper{7, 10, 14, 18, 24, 30, 36, 44, 52, 60, 69, 79, 89};
    return n >= 3 && n <= 15 ? upper[n - 3] : 0;
}

std::optional<TableVerdict> SignedRankTable(const PairedRankFigures& f) {
    const int upper = SignedRankUpper(f.nonZero);
    if (upper == 0)
        return std::nullopt;
    TableVerdict v;
    v.statistic = f.positiveRanks;
    v.upper = upper;
    v.lower = f.nonZero * (f.nonZero + 1) / 2 - upper;
    v.df1 = f.nonZero;
    v.significant = v.statistic >= v.upper || v.statistic <= v.lower;
    return v;
}

NormalApproximation SignedRankApproximation(const PairedRankFigures& f) {
    const double n = f.nonZero;
    const double variance = (n * (n + 1) * (2 * n + 1) - f.tieTerm / 2) / 24;
    return *Approximation(f.positiveRanks, f.positiveRanks - n * (n + 1) / 4, variance);
}

std::optional<TableVerdict> SignTestExact(const PairedRankFigures& f, double level) {
    const int n = f.nonZero;
    if (n + 1 > 15)
        return std::nullopt;
    // P(X <= k - 1) of Bin(n, 1/2), grown one term at a time.
    double term = std::pow(0.5, n);  // P(X = 0)
    double below = 0;                // P(X <= k - 1)
    int k = 0;
    while (k <= n && 2 * (below + term) < level) {
        below += term;
        term = term * (n - k) / (k + 1);
        ++k;
    }
    TableVerdict v;
    v.statistic = f.positive;
    v.lower = k;
    v.upper = n - k;
    v.df1 = n;
    v.significant = f.positive < k || f.positive > n - k;
    return v;
}

NormalApproximation SignTestApproximation(const PairedRankFigures& f) {
    const double n = f.nonZero;
    double s = f.positive;
    if (n < 36)
        s += f.positive < n / 2 ? 0.5 : -0.5;
    NormalApproximation a = *Approximation(s, s - n / 2, n / 4);
    a.statistic = f.positive;
    return a;
}

}  // namespace dalvex
