#include <algorithm>
#include <cmath>
#include <numeric>

#include "numeric/distributions.h"
#include "numeric/ranks.h"
#include "stats/anova.h"
#include "stats/pairwise_run.h"

namespace dalvex {

namespace {

// Why groups cannot be compared at all: fewer than two, or one with no values.
std::string GroupsNotice(const std::vector<std::vector<double>>& groups,
                         const std::vector<std::string>& names) {
    if (groups.size() < 2)
        return TooFewVariablesNotice;
    return FirstEmptyGroupNotice(groups, names);
}

}  // namespace

OneFactorFigures ComputeOneFactor(const std::vector<std::vector<double>>& groups,
                                  const std::vector<std::string>& names, double level) {
    OneFactorFigures f;
    f.notice = GroupsNotice(groups, names);
    if (!f.notice.empty())
        return f;
    f.k = static_cast<int>(groups.size());
    const std::vector<double> all = Pooled(groups);
    f.n = static_cast<int>(all.size());
    f.dfError = f.n - f.k;
    f.grandMean = StableMean(all);
    f.sst = SquaresAbout(all, f.grandMean);
    if (f.sst == 0) {
        f.notice = ConstantDataNotice;
        return f;
    }
    for (const auto& g : groups) {
        const double m = StableMean(g);
        f.counts.push_back(static_cast<int>(g.size()));
        f.means.push_back(m);
        f.sse += SquaresAbout(g, m);
        f.ss1 += g.size() * (m - f.grandMean) * (m - f.grandMean);
    }
    f.table.factor1 = {f.ss1, f.k - 1.0};
    f.table.error = f.table.error1 = {f.sse, static_cast<double>(f.dfError)};
    f.table.total = {f.sst, f.n - 1.0};
    f.table.d = static_cast<double>(f.n) / f.k;
    if (f.dfError < 1) {
        f.notice = NoErrorDfNotice;
        return f;
    }
    if (f.sse == 0) {
        f.notice = ZeroErrorNotice;
        return f;
    }
    f.mse = f.sse / f.dfError;
    f.factorP = FSignificance(f.ss1 / (f.k - 1) / f.mse, f.k - 1, f.dfError);

    // The effects are deviations from the weighted grand mean: the effect of
    // group g varies as MSE (1/n_g - 1/N).
    const double t = FisherQuantile(1, f.dfError, level);
    f.meanHalfWidth = t * std::sqrt(f.mse / f.n);
    for (int g = 0; g < f.k; ++g) {
        f.effects.push_back(f.means[g] - f.grandMean);
        f.effectHalfWidths.push_back(t * std::sqrt(f.mse * (1.0 / f.counts[g] - 1.0 / f.n)));
    }
    return f;
}

namespace {

// A comparison of weighted group means with weights summing to 0: d is the
// difference, D the sum of squared weights over the group sizes.
Comparison Compare(const OneFactorFigures& f, double d, double D, const std::string& label,
                   double level) {
    Comparison c;
    c.label = label;
    c.difference = std::fabs(d);
    const double scale = (f.k - 1) * f.mse * D;
    c.p = FSignificance(d * d / scale, f.k - 1, f.dfError);
    c.interval = std::sqrt(scale * FCritical(f.k - 1, f.dfError, level));
    c.significant = c.p < level;
    return c;
}

}  // namespace

std::vector<Comparison> ScheffeComparisons(const OneFactorFigures& f, double level) {
    std::vector<Comparison> pairs;
    for (int g = 0; g < f.k; ++g)
        for (int h = g + 1; h < f.k; ++h)
            pairs.push_back(Compare(
                f, f.means[g] - f.means[h], 1.0 / f.counts[g] + 1.0 / f.counts[h],
                "    " + std::to_string(g + 1) + "-" + std::to_string(h + 1) + "   ", level));
    return pairs;
}

Comparison Contrast(const OneFactorFigures& f, const std::vector<int>& set1,
                    const std::vector<int>& set2, const std::string& label, double level) {
    double d = 0, D = 0;
    for (const auto* set : {&set1, &set2}) {
        const double size = static_cast<double>(set->size());
        const double sign = set == &set1 ? 1 : -1;
        for (int g : *set) {
            d += sign * f.means[g] / size;
            D += 1 / (size * size * f.counts[g]);
        }
    }
    return Compare(f, d, D, label, level);
}

// ---------------------------------------------------------------------------

namespace {

struct Ranked {
    std::vector<double> ranks;  // in ascending order of the values
    std::vector<int> group;     // where each came from
};

Ranked RankPooled(const std::vector<std::vector<double>>& groups) {
    std::vector<std::pair<double, int>> pooled;
    for (std::size_t g = 0; g < groups.size(); ++g)
        for (double x : groups[g])
            pooled.push_back({x, static_cast<int>(g)});
    std::stable_sort(pooled.begin(), pooled.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<double> sorted(pooled.size());
    Ranked r;
    r.group.resize(pooled.size());
    for (std::size_t i = 0; i < pooled.size(); ++i) {
        sorted[i] = pooled[i].first;
        r.group[i] = pooled[i].second;
    }
    r.ranks = MidRanksOfSorted(sorted);
    return r;
}

double TieSum(const std::vector<double>& sortedRanks) {
    double sum = 0;
    for (int t : TieCounts(sortedRanks))
        sum += (static_cast<double>(t) * t - 1) * t;
    return sum;
}

// Counts of groups below a position, for Jonckheere's pairs.
class GroupCounts {
  public:
    explicit GroupCounts(int k) : tree_(k + 1, 0) {}
    void Add(int g) {
        for (int i = g + 1; i < static_cast<int>(tree_.size()); i += i & -i)
            ++tree_[i];
    }
    // Members of groups 0 .. g - 1 added so far.
    long Below(int g) const {
        long sum = 0;
        for (int i = g; i > 0; i -= i & -i)
            sum += tree_[i];
        return sum;
    }

  private:
    std::vector<long> tree_;
};

// J: over pairs of groups g < h, the values of h above a value of g, ties
// counting one half; in one pass over the pooled order.
double Jonckheere(const Ranked& r, int k) {
    GroupCounts below(k);
    double j = 0;
    const std::size_t n = r.ranks.size();
    std::size_t start = 0;
    while (start < n) {
        std::size_t end = start;
        while (end < n && r.ranks[end] == r.ranks[start])
            ++end;
        std::vector<int> run(r.group.begin() + start, r.group.begin() + end);
        std::sort(run.begin(), run.end());
        for (int h : run) {
            const auto tiedBelow = std::lower_bound(run.begin(), run.end(), h) - run.begin();
            j += below.Below(h) + 0.5 * tiedBelow;
        }
        for (int h : run)
            below.Add(h);
        start = end;
    }
    return j;
}

}  // namespace

KruskalWallisFigures ComputeKruskalWallis(const std::vector<std::vector<double>>& groups,
                                          const std::vector<std::string>& names) {
    KruskalWallisFigures f;
    f.notice = GroupsNotice(groups, names);
    if (!f.notice.empty())
        return f;
    f.k = static_cast<int>(groups.size());
    const Ranked r = RankPooled(groups);
    const double n = static_cast<double>(r.ranks.size());
    f.n = static_cast<int>(n);
    f.tieFactor = 1 - TieSum(r.ranks) / (n * n * n - n);
    if (!(f.tieFactor > 0)) {
        f.notice = ConstantDataNotice;
        return f;
    }
    std::vector<double> rankSums(f.k, 0);
    for (std::size_t i = 0; i < r.ranks.size(); ++i)
        rankSums[r.group[i]] += r.ranks[i];
    // Σ n_g (mean rank - (N + 1)/2)^2, which is Σ R_g^2 / n_g - N (N + 1)^2 / 4
    // without the cancellation.
    double spread = 0;
    for (int g = 0; g < f.k; ++g) {
        const double size = static_cast<double>(groups[g].size());
        const double dev = rankSums[g] / size - (n + 1) / 2;
        spread += size * dev * dev;
    }
    f.h = 12 * spread / (n * (n + 1)) / f.tieFactor;
    f.p = ChiSquareTail(f.h, f.k - 1);

    f.j = Jonckheere(r, f.k);
    double squares = 0, cubes = 0;
    for (const auto& g : groups) {
        const double m = static_cast<double>(g.size());
        squares += m * m;
        cubes += m * m * (2 * m + 3);
    }
    const double variance = (n * n * (2 * n + 3) - cubes) / 72;
    f.z = (f.j - (n * n - squares) / 4) / std::sqrt(variance);
    f.jp = NormalTail(f.z);
    return f;
}

FriedmanFigures ComputeFriedman(const std::vector<std::vector<double>>& treatments) {
    FriedmanFigures f;
    f.k = static_cast<int>(treatments.size());
    if (f.k < 2) {
        f.notice = TooFewVariablesNotice;
        return f;
    }
    f.b = static_cast<int>(treatments[0].size());
    for (const auto& t : treatments)
        if (static_cast<int>(t.size()) != f.b) {
            f.notice = UnequalBlocksNotice;
            return f;
        }
    if (f.b < 1) {
        f.notice = TooFewValuesNotice;
        return f;
    }
    const double k = f.k, b = f.b;
    std::vector<double> rankSums(f.k, 0);
    double ties = 0;
    std::vector<std::pair<double, int>> block(f.k);
    std::vector<double> sorted(f.k);
    for (int i = 0; i < f.b; ++i) {
        for (int j = 0; j < f.k; ++j)
            block[j] = {treatments[j][i], j};
        std::stable_sort(block.begin(), block.end(),
                         [](const auto& x, const auto& y) { return x.first < y.first; });
        for (int j = 0; j < f.k; ++j)
            sorted[j] = block[j].first;
        const std::vector<double> ranks = MidRanksOfSorted(sorted);
        for (int j = 0; j < f.k; ++j)
            rankSums[block[j].second] += ranks[j];
        ties += TieSum(ranks);
    }
    const double denominator = b * k * (k + 1) - ties / (k - 1);
    if (!(denominator > 0)) {
        f.notice = TiedBlocksNotice;
        return f;
    }
    double spread = 0;
    for (int j = 0; j < f.k; ++j) {
        const double dev = rankSums[j] - b * (k + 1) / 2;
        spread += dev * dev;
        f.page += (j + 1) * rankSums[j];
    }
    f.chiSquare = 12 * spread / denominator;
    f.p = ChiSquareTail(f.chiSquare, k - 1);
    f.z = (f.page - b * k * (k + 1) * (k + 1) / 4) /
          std::sqrt((k * k * k - k) * (k * k * k - k) * b / (144 * (k - 1)));
    f.pageP = NormalTail(f.z);
    return f;
}

}  // namespace dalvex
