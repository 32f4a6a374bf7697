#include "stats/correlation.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <numeric>

#include "numeric/distributions.h"

namespace dalvex {

namespace {

double Mean(const std::vector<double>& v) {
    double sum = 0;
    for (double x : v)
        sum += x;
    return sum / static_cast<double>(v.size());
}

// The first n values brought near magnitude 1 by the power of two of their
// largest magnitude (as they are when all are 0). A power of two scales
// without rounding, so data far from zero (1e7 plus small noise) keep every
// digit of their deviations.
std::vector<double> RelativeToLargest(const std::vector<double>& v, std::size_t n) {
    double top = 0;
    for (std::size_t i = 0; i < n; ++i)
        top = std::max(top, std::fabs(v[i]));
    std::vector<double> scaled(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(n));
    if (top > 0 && std::isfinite(top)) {
        const int exponent = std::ilogb(top);
        for (double& x : scaled)
            x = std::ldexp(x, -exponent);
    }
    return scaled;
}

}  // namespace

std::optional<double> PearsonR(const std::vector<double>& x, const std::vector<double>& y) {
    const std::size_t n = std::min(x.size(), y.size());
    if (n < 2)
        return std::nullopt;
    // r does not depend on either variable's scale: taken relative to its
    // largest magnitude, values near 1e300 keep their squares finite and
    // values near 1e-300 keep them from vanishing.
    const std::vector<double> xs = RelativeToLargest(x, n), ys = RelativeToLargest(y, n);
    const double mx = Mean(xs), my = Mean(ys);
    double sxx = 0, syy = 0, sxy = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double dx = xs[i] - mx, dy = ys[i] - my;
        sxx += dx * dx;
        syy += dy * dy;
        sxy += dx * dy;
    }
    if (sxx <= 0 || syy <= 0)
        return std::nullopt;
    const double product = sxx * syy;
    // Each sum scaled by its own root where the product would overflow.
    double r = std::isfinite(product) && product > 0 ? sxy / std::sqrt(product)
                                                     : sxy / std::sqrt(sxx) / std::sqrt(syy);
    // A perfect line comes out within rounding of 1: it is 1.
    if (std::fabs(r) > 1 - 8 * std::numeric_limits<double>::epsilon())
        r = r < 0 ? -1.0 : 1.0;
    return r;
}

std::optional<PearsonFigures> Pearson(const std::vector<double>& x, const std::vector<double>& y) {
    PearsonFigures f;
    f.count = static_cast<int>(std::min(x.size(), y.size()));
    if (f.count < 3)
        return std::nullopt;
    const auto r = PearsonR(x, y);
    if (!r)
        return std::nullopt;
    f.r = *r;
    const double rest = 1 - f.r * f.r;
    f.t = rest <= 0 ? 100.0 : f.r * std::sqrt((f.count - 2) / rest);
    f.significance = FisherTail(f.t, 1, f.count - 2);
    return f;
}

// ---------------------------------------------------------------------------
// Ranks

namespace {

// Sorts v and counts the pairs out of order (the discordant ones); equal
// values are not out of order.
long long MergeCountInversions(std::vector<double>& v, std::vector<double>& buffer, std::size_t lo,
                               std::size_t hi) {
    if (hi - lo < 2)
        return 0;
    const std::size_t mid = lo + (hi - lo) / 2;
    long long count =
        MergeCountInversions(v, buffer, lo, mid) + MergeCountInversions(v, buffer, mid, hi);
    std::size_t i = lo, j = mid, k = lo;
    while (i < mid && j < hi) {
        if (v[j] < v[i]) {
            count += static_cast<long long>(mid - i);
            buffer[k++] = v[j++];
        } else {
            buffer[k++] = v[i++];
        }
    }
    while (i < mid)
        buffer[k++] = v[i++];
    while (j < hi)
        buffer[k++] = v[j++];
    std::copy(buffer.begin() + static_cast<long>(lo), buffer.begin() + static_cast<long>(hi),
              v.begin() + static_cast<long>(lo));
    return count;
}

// Pairs within runs of equal values of a sorted sequence.
template <class Equal>
long long TiedPairs(std::size_t n, Equal equal) {
    long long pairs = 0, run = 1;
    for (std::size_t i = 1; i <= n; ++i) {
        if (i < n && equal(i - 1, i)) {
            ++run;
        } else {
            pairs += run * (run - 1) / 2;
            run = 1;
        }
    }
    return pairs;
}

}  // namespace

long long KendallS(const std::vector<double>& x, const std::vector<double>& y) {
    const std::size_t n = std::min(x.size(), y.size());
    std::vector<std::size_t> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return x[a] < x[b] || (x[a] == x[b] && y[a] < y[b]);
    });
    std::vector<double> ys(n);
    for (std::size_t i = 0; i < n; ++i)
        ys[i] = y[order[i]];
    const long long all = static_cast<long long>(n) * (static_cast<long long>(n) - 1) / 2;
    const long long tiedX =
        TiedPairs(n, [&](std::size_t a, std::size_t b) { return x[order[a]] == x[order[b]]; });
    const long long tiedXY = TiedPairs(n, [&](std::size_t a, std::size_t b) {
        return x[order[a]] == x[order[b]] && ys[a] == ys[b];
    });
    std::vector<double> buffer(n);
    const long long discordant = MergeCountInversions(ys, buffer, 0, n);
    // ys is sorted now.
    const long long tiedY =
        TiedPairs(n, [&](std::size_t a, std::size_t b) { return ys[a] == ys[b]; });
    const long long untied = all - tiedX - tiedY + tiedXY;
    return untied - 2 * discordant;
}

std::vector<double> MidRanks(const std::vector<double>& values) {
    const std::size_t n = values.size();
    std::vector<std::size_t> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return values[a] < values[b]; });
    std::vector<double> ranks(n);
    std::size_t start = 0;
    while (start < n) {
        std::size_t end = start + 1;
        while (end < n && values[order[end]] == values[order[start]])
            ++end;
        const double rank = (static_cast<double>(start + 1) + static_cast<double>(end)) / 2;
        for (std::size_t k = start; k < end; ++k)
            ranks[order[k]] = rank;
        start = end;
    }
    return ranks;
}

double SpearmanDeviate(double rho, int count) {
    const double base = rho * std::sqrt(count - 1.0);
    double z = 1;
    for (int step = 0; step < 1000; ++step) {
        const double next = base + 0.19 * z * (z * z - 3) / (count - 1.0);
        const bool settled = std::fabs(next - z) < 0.001 || std::fabs(z) > 10;
        z = next;
        if (settled)
            break;
    }
    return z;
}

RankCorrelationFigures RankCorrelation(const std::vector<double>& x, const std::vector<double>& y) {
    RankCorrelationFigures f;
    const int n = static_cast<int>(std::min(x.size(), y.size()));
    f.count = n;
    const double pairs = static_cast<double>(n) * (n - 1.0);
    f.tau = 2.0 * static_cast<double>(KendallS(x, y)) / pairs;
    f.tauZ = f.tau / std::sqrt((4.0 * n + 10) / (9 * pairs));
    f.tauSignificance = NormalTail(f.tauZ);

    const std::vector<double> rx = MidRanks(x), ry = MidRanks(y);
    double d2 = 0;
    for (int i = 0; i < n; ++i)
        d2 += (rx[i] - ry[i]) * (rx[i] - ry[i]);
    const double nn = n;
    f.rho = 1 - 6 * d2 / (nn * nn * nn - nn);
    f.rhoZ = SpearmanDeviate(f.rho, n);
    f.rhoSignificance = NormalTail(f.rhoZ);
    return f;
}

double CriticalCoefficient(int count, double p, int lost) {
    const int df = count - lost;
    const double t = FisherQuantile(1, df, p);
    return std::sqrt(t * t / (t * t + df));
}

std::optional<double> PartialCorrelation(double rij, double rik, double rjk) {
    const double d = (1 - rik * rik) * (1 - rjk * rjk);
    if (d <= 0)
        return std::nullopt;
    return std::clamp((rij - rik * rjk) / std::sqrt(d), -1.0, 1.0);
}

// ---------------------------------------------------------------------------
// Chi-square of two distributions

std::optional<ChiSquareFigures> Homogeneity(const std::vector<double>& x,
                                            const std::vector<double>& y) {
    const std::size_t n = std::min(x.size(), y.size());
    double s0 = 0, s1 = 0;
    for (std::size_t j = 0; j < n; ++j) {
        // A negative count is no frequency: its chi-square would be negative.
        if (x[j] < 0 || y[j] < 0)
            return std::nullopt;
        s0 += x[j];
        s1 += y[j];
    }
    if (s0 == 0 || s1 == 0)
        return std::nullopt;
    ChiSquareFigures f;
    for (std::size_t j = 0; j < n; ++j) {
        const double both = x[j] + y[j];
        if (both == 0)
            continue;
        const double d = x[j] * s1 - y[j] * s0;
        f.chi2 += d * d / (both * s0 * s1);
        ++f.classes;
    }
    f.df = f.classes - 1;
    if (f.df < 1)
        return std::nullopt;
    return f;
}

std::optional<ChiSquareFigures> GoodnessOfFit(const std::vector<double>& observed,
                                              const std::vector<double>& expected) {
    const std::size_t n = std::min(observed.size(), expected.size());
    std::vector<std::pair<double, double>> formed;  // observed, expected of each class
    double o = 0, e = 0;
    for (std::size_t j = 0; j < n; ++j) {
        if (observed[j] < 0 || expected[j] < 0)
            return std::nullopt;
        o += observed[j];
        e += expected[j];
        const bool last = j + 1 == n;
        if (e > 2 && (last || expected[j + 1] > 2)) {
            formed.push_back({o, e});
            o = e = 0;
        }
    }
    // A small remainder is not lost: it joins the last class formed.
    if ((o != 0 || e != 0) && !formed.empty()) {
        formed.back().first += o;
        formed.back().second += e;
    }
    ChiSquareFigures f;
    f.classes = static_cast<int>(formed.size());
    f.df = f.classes - 1;
    if (f.df < 1)
        return std::nullopt;
    for (const auto& [obs, exp] : formed)
        f.chi2 += (obs - exp) * (obs - exp) / exp;
    return f;
}

// ---------------------------------------------------------------------------
// Contingency table

namespace {

// Sums of cells strictly after (row, column) in both directions, and after
// in rows but before in columns: the partners of concordant and discordant
// pairs, built once so that P and Q take one pass over the cells.
struct PairSums {
    double concordant = 0, discordant = 0, tiedRow = 0, tiedCol = 0;
};

PairSums OrdinalPairs(const ContingencyTable& t) {
    const int K = t.columns(), M = t.rows();
    // g[c][r]: the sum of the cells in columns < c and rows >= r.
    std::vector<std::vector<double>> g(K + 1, std::vector<double>(M + 1, 0.0));
    for (int c = 0; c < K; ++c)
        for (int r = M - 1; r >= 0; --r)
            g[c + 1][r] = g[c + 1][r + 1] + g[c][r] - g[c][r + 1] + t.cells[c][r];
    PairSums s;
    for (int c = 0; c < K; ++c) {
        for (int r = 0; r + 1 < M; ++r) {
            const double n = t.cells[c][r];
            if (n == 0)
                continue;
            s.concordant += n * (g[K][r + 1] - g[c + 1][r + 1]);  // rows > r, columns > c
            s.discordant += n * g[c][r + 1];                      // rows > r, columns < c
        }
    }
    for (int r = 0; r < M; ++r) {
        double sum = 0, squares = 0;
        for (int c = 0; c < K; ++c) {
            sum += t.cells[c][r];
            squares += t.cells[c][r] * t.cells[c][r];
        }
        s.tiedRow += (sum * sum - squares) / 2;
    }
    for (int c = 0; c < K; ++c) {
        double sum = 0, squares = 0;
        for (int r = 0; r < M; ++r) {
            sum += t.cells[c][r];
            squares += t.cells[c][r] * t.cells[c][r];
        }
        s.tiedCol += (sum * sum - squares) / 2;
    }
    return s;
}

}  // namespace

CrossTabFigures CrossTabulate(const ContingencyTable& table) {
    CrossTabFigures f;
    const int K = table.columns(), M = table.rows();
    f.rowTotals.assign(M, 0.0);
    f.columnTotals.assign(K, 0.0);
    for (int c = 0; c < K; ++c)
        for (int r = 0; r < M; ++r) {
            f.rowTotals[r] += table.cells[c][r];
            f.columnTotals[c] += table.cells[c][r];
        }
    for (double v : f.columnTotals)
        f.total += v;
    const double s = f.total;

    f.yates = K == 2 && M == 2;
    f.expected.assign(K, std::vector<double>(M, 0.0));
    for (int c = 0; c < K; ++c)
        for (int r = 0; r < M; ++r) {
            const double e = f.columnTotals[c] * f.rowTotals[r] / s;
            f.expected[c][r] = e;
            double d = std::fabs(table.cells[c][r] - e);
            // The correction never takes a deviation past zero.
            if (f.yates)
                d -= std::min(0.5, d);
            f.chi2 += d * d / e;
        }
    f.df = (K - 1) * (M - 1);
    f.significance = ChiSquareTail(f.chi2, f.df);
    f.phi = std::sqrt(f.chi2 / s);
    f.contingency = std::sqrt(f.chi2 / (s + f.chi2));
    f.cramer = std::sqrt(f.chi2 / s / std::min(K - 1, M - 1));

    double a = 0, b = 0;
    for (int r = 0; r < M; ++r) {
        double largest = 0;
        for (int c = 0; c < K; ++c)
            largest = std::max(largest, table.cells[c][r]);
        a += largest;
    }
    for (int c = 0; c < K; ++c)
        b += *std::max_element(table.cells[c].begin(), table.cells[c].end());
    const double rmax = *std::max_element(f.rowTotals.begin(), f.rowTotals.end());
    const double cmax = *std::max_element(f.columnTotals.begin(), f.columnTotals.end());
    f.lambdaSym = (a + b - rmax - cmax) / (2 * s - rmax - cmax);
    f.lambdaRow = (a - cmax) / (s - cmax);
    f.lambdaCol = (b - rmax) / (s - rmax);

    const PairSums p = OrdinalPairs(table);
    f.concordant = p.concordant;
    f.discordant = p.discordant;
    f.tiedRow = p.tiedRow;
    f.tiedCol = p.tiedCol;
    const double pq = p.concordant - p.discordant, both = p.concordant + p.discordant;
    f.tauB = pq / std::sqrt((both + p.tiedCol) * (both + p.tiedRow));
    const double m = std::min(K, M);
    f.tauC = 2 * m * pq / (s * s * (m - 1));
    f.gamma = pq / both;
    f.somersRow = pq / (both + p.tiedCol);
    f.somersCol = pq / (both + p.tiedRow);
    return f;
}

Tabulation TabulateTexts(const std::vector<std::string>& first,
                         const std::vector<std::string>& second) {
    Tabulation t;
    std::map<std::string, int> columnOf, rowOf;
    const std::size_t n = std::min(first.size(), second.size());
    std::vector<std::pair<int, int>> codes(n);
    for (std::size_t i = 0; i < n; ++i) {
        auto [c, newColumn] = columnOf.try_emplace(first[i], static_cast<int>(columnOf.size()));
        if (newColumn)
            t.columnCategories.push_back(first[i]);
        auto [r, newRow] = rowOf.try_emplace(second[i], static_cast<int>(rowOf.size()));
        if (newRow)
            t.rowCategories.push_back(second[i]);
        codes[i] = {c->second, r->second};
    }
    t.table.cells.assign(t.columnCategories.size(),
                         std::vector<double>(t.rowCategories.size(), 0.0));
    for (const auto& [c, r] : codes)
        t.table.cells[c][r] += 1;
    return t;
}

}  // namespace dalvex
