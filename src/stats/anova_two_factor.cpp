#include <algorithm>
#include <cmath>
#include <numeric>

#include "numeric/distributions.h"
#include "stats/anova.h"
#include "stats/pairwise_run.h"

namespace dalvex {

namespace {

double SumSquares(const std::vector<double>& v) {
    return std::inner_product(v.begin(), v.end(), v.begin(), 0.0);
}

}  // namespace

TwoFactorFigures ComputeTwoWayNonRepeated(const std::vector<std::vector<double>>& rows,
                                          double level) {
    TwoFactorFigures f;
    const int a = static_cast<int>(rows.size());
    if (a < 2) {
        f.notice = TooFewVariablesNotice;
        return f;
    }
    const int b = static_cast<int>(rows[0].size());
    for (const auto& row : rows)
        if (static_cast<int>(row.size()) != b) {
            f.notice = UnequalLengthNotice;
            return f;
        }
    if (b < 2) {
        f.notice = TooFewValuesNotice;
        return f;
    }
    const std::vector<double> all = Pooled(rows);
    const double g = StableMean(all);
    const double sst = SquaresAbout(all, g);
    if (sst == 0) {
        f.notice = ConstantDataNotice;
        return f;
    }
    std::vector<double> rowMeans(a), columnMeans(b);
    for (int i = 0; i < a; ++i)
        rowMeans[i] = StableMean(rows[i]);
    for (int j = 0; j < b; ++j) {
        std::vector<double> column(a);
        for (int i = 0; i < a; ++i)
            column[i] = rows[i][j];
        columnMeans[j] = StableMean(column);
    }
    for (double& m : rowMeans)
        m -= g;
    for (double& m : columnMeans)
        m -= g;
    double sse = 0;
    for (int i = 0; i < a; ++i)
        for (int j = 0; j < b; ++j) {
            const double r = rows[i][j] - g - rowMeans[i] - columnMeans[j];
            sse += r * r;
        }
    const double dfE = (a - 1.0) * (b - 1.0);
    f.table.factor1 = {b * SumSquares(rowMeans), a - 1.0};
    f.table.factor2 = {a * SumSquares(columnMeans), b - 1.0};
    f.table.error = f.table.error1 = f.table.error2 = {sse, dfE};
    f.table.total = {sst, a * b - 1.0};
    f.table.d = 1;
    if (!(sse > 0)) {
        f.notice = ZeroErrorNotice;
        return f;
    }
    const double mse = sse / dfE;
    const double t = FisherQuantile(1, static_cast<int>(dfE), level);
    const double cells = static_cast<double>(a) * b;
    f.grandMean = g;
    f.meanHalfWidth = t * std::sqrt(mse / cells);
    f.effects1 = rowMeans;
    f.halfWidths1.assign(a, t * std::sqrt(mse * (a - 1) / cells));
    f.effects2 = columnMeans;
    f.halfWidths2.assign(b, t * std::sqrt(mse * (b - 1) / cells));
    return f;
}

TwoFactorFigures ComputeTwoWayRepeated(const std::vector<std::vector<double>>& cells,
                                       const std::vector<std::string>& names, int levels1,
                                       TwoFactorDesign design, double level) {
    TwoFactorFigures f;
    const int count = static_cast<int>(cells.size());
    if (levels1 < 2 || count % levels1 != 0 || count / levels1 < 2) {
        f.notice = LevelCountNotice;
        return f;
    }
    const int l1 = levels1, l2 = count / levels1;
    f.notice = FirstEmptyGroupNotice(cells, names);
    if (!f.notice.empty())
        return f;
    const std::vector<double> all = Pooled(cells);
    const double n = static_cast<double>(all.size());
    const double weighted = StableMean(all);
    const double sst = SquaresAbout(all, weighted);
    if (sst == 0) {
        f.notice = ConstantDataNotice;
        return f;
    }
    std::vector<double> means(count), sizes(count);
    double sse = 0, ssCells = 0;
    for (int c = 0; c < count; ++c) {
        means[c] = StableMean(cells[c]);
        sizes[c] = static_cast<double>(cells[c].size());
        sse += SquaresAbout(cells[c], means[c]);
        ssCells += sizes[c] * (means[c] - weighted) * (means[c] - weighted);
    }
    // The table of cell means split into its main effects and interaction,
    // each level's mean unweighted over its cells.
    const double g = std::accumulate(means.begin(), means.end(), 0.0) / count;
    std::vector<double> effect1(l1, 0), effect2(l2, 0);
    for (int c = 0; c < count; ++c) {
        effect1[c % l1] += (means[c] - g) / l2;
        effect2[c / l1] += (means[c] - g) / l1;
    }
    double vA = SumSquares(effect1) * l2, vB = SumSquares(effect2) * l1, vAB = 0;
    for (int c = 0; c < count; ++c) {
        const double r = means[c] - g - effect1[c % l1] - effect2[c / l1];
        vAB += r * r;
    }
    const double v = vA + vB + vAB;
    auto share = [&](double part) { return v > 0 ? ssCells * part / v : 0.0; };

    const double dfE = n - count;
    const AnovaSource error{sse, dfE};
    const AnovaSource interaction{share(vAB), (l1 - 1.0) * (l2 - 1.0)};
    f.table.factor1 = {share(vA), l1 - 1.0};
    f.table.error = error;
    f.table.total = {sst, n - 1};
    f.table.d = n / count;
    switch (design) {
        case TwoFactorDesign::Nested:
            f.table.factor2 = {share(vB + vAB), l1 * (l2 - 1.0)};
            f.table.error1 = f.table.factor2;
            f.table.error2 = error;
            f.parameters = false;
            break;
        case TwoFactorDesign::Random:
            f.table.factor2 = {share(vB), l2 - 1.0};
            f.table.interaction = interaction;
            f.table.error1 = f.table.error2 = interaction;
            break;
        case TwoFactorDesign::Blocks:
            f.table.factor2 = {share(vB), l2 - 1.0};
            f.table.interaction = interaction;
            f.table.error1 = interaction;
            f.table.error2 = error;
            break;
        default:
            f.table.factor2 = {share(vB), l2 - 1.0};
            f.table.interaction = interaction;
            f.table.error1 = f.table.error2 = error;
            break;
    }
    if (!(dfE > 0) || !(sse > 0) || !f.parameters)
        return f;  // the table says what is missing

    // Each estimate is a combination Σ w_c m_c of cell means, varying as
    // MSE Σ w_c^2 / n_c.
    const double t = FisherQuantile(1, static_cast<int>(dfE), level);
    const double mse = sse / dfE;
    auto halfWidth = [&](auto weight) {
        double v2 = 0;
        for (int c = 0; c < count; ++c) {
            const double w = weight(c);
            v2 += w * w / sizes[c];
        }
        return t * std::sqrt(mse * v2);
    };
    const double all1 = 1.0 / count;
    f.grandMean = g;
    f.meanHalfWidth = halfWidth([&](int) { return all1; });
    f.effects1 = effect1;
    for (int i = 0; i < l1; ++i)
        f.halfWidths1.push_back(
            halfWidth([&](int c) { return (c % l1 == i ? 1.0 / l2 : 0.0) - all1; }));
    f.effects2 = effect2;
    for (int j = 0; j < l2; ++j)
        f.halfWidths2.push_back(
            halfWidth([&](int c) { return (c / l1 == j ? 1.0 / l1 : 0.0) - all1; }));
    return f;
}

}  // namespace dalvex
