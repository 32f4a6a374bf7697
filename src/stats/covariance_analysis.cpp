#include "stats/covariance_analysis.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "numeric/least_squares.h"
#include "stats/pairwise_run.h"

namespace dalvex {

namespace {

// Between- and within-group sums of squares of one variable, each about
// its own mean.
struct Spread {
    double between = 0, within = 0;
};

Spread SpreadOf(const std::vector<double>& v, const std::vector<int>& group, int q) {
    std::vector<double> sum(q, 0), count(q, 0);
    double total = 0;
    for (std::size_t i = 0; i < v.size(); ++i) {
        sum[group[i]] += v[i];
        count[group[i]] += 1;
        total += v[i];
    }
    std::vector<double> mean(q);
    for (int g = 0; g < q; ++g)
        mean[g] = sum[g] / count[g];
    const double grand = total / v.size();
    // A second pass corrects the means for the rounding of the first.
    std::vector<double> correction(q, 0);
    double grandCorrection = 0;
    for (std::size_t i = 0; i < v.size(); ++i) {
        correction[group[i]] += v[i] - mean[group[i]];
        grandCorrection += v[i] - grand;
    }
    const double g0 = grand + grandCorrection / v.size();
    Spread s;
    for (int g = 0; g < q; ++g) {
        mean[g] += correction[g] / count[g];
        s.between += count[g] * (mean[g] - g0) * (mean[g] - g0);
    }
    for (std::size_t i = 0; i < v.size(); ++i) {
        const double d = v[i] - mean[group[i]];
        s.within += d * d;
    }
    return s;
}

}  // namespace

CovarianceFigures ComputeCovariance(const std::vector<std::vector<double>>& covariates,
                                    const std::vector<double>& response,
                                    const std::vector<double>& codes) {
    CovarianceFigures f;
    f.covariates = static_cast<int>(covariates.size());
    f.n = static_cast<int>(response.size());
    f.codes = codes;
    std::sort(f.codes.begin(), f.codes.end());
    f.codes.erase(std::unique(f.codes.begin(), f.codes.end()), f.codes.end());
    f.groups = static_cast<int>(f.codes.size());
    if (f.covariates < 1) {
        f.notice = TooFewVariablesNotice;
        return f;
    }
    if (f.groups < 2) {
        f.notice = FewGroupsNotice;
        return f;
    }
    const int q = f.groups, qc = f.covariates, n = f.n;
    const int dfError = n - q - qc;
    if (dfError < 1) {
        f.notice = NoErrorDfNotice;
        return f;
    }
    std::vector<int> group(n);
    f.sizes.assign(q, 0);
    for (int i = 0; i < n; ++i) {
        group[i] = static_cast<int>(std::lower_bound(f.codes.begin(), f.codes.end(), codes[i]) -
                                    f.codes.begin());
        ++f.sizes[group[i]];
    }

    // The response with groups and covariates, and with the covariates alone.
    std::vector<std::vector<double>> columns = covariates;
    for (int g = 1; g < q; ++g) {
        std::vector<double> dummy(n, 0);
        for (int i = 0; i < n; ++i)
            dummy[i] = group[i] == g ? 1 : 0;
        columns.push_back(dummy);
    }
    const LinearFit full = FitLinear(columns, response);
    const LinearFit reduced = FitLinear(covariates, response);
    std::vector<Spread> spreads;
    for (const auto& c : covariates)
        spreads.push_back(SpreadOf(c, group, q));
    spreads.push_back(SpreadOf(response, group, q));
    const bool flat = std::any_of(spreads.begin(), spreads.end() - 1,
                                  [](const Spread& s) { return !(s.within > 0); });
    if (full.singular || reduced.singular || flat) {
        f.notice = RegressionSingularNotice;
        return f;
    }
    // Residuals of an exact fit are rounding of the response's own size.
    double largest = 0;
    for (double v : response)
        largest = std::max(largest, std::fabs(v));
    const double rounding = 64 * std::numeric_limits<double>::epsilon() * largest;
    if (!(full.sse > n * rounding * rounding)) {
        f.notice = ZeroErrorNotice;
        return f;
    }
    for (const Spread& s : spreads) {
        f.homogeneityF.push_back((s.between / (q - 1)) / (s.within / (n - q)));
        f.homogeneityP.push_back(FSignificance(f.homogeneityF.back(), q - 1, n - q));
    }

    // The slopes are the same in both parametrisations: the groups' own
    // regressions share them.
    std::vector<double> slopes(full.coefficients.begin() + 1, full.coefficients.begin() + 1 + qc);
    std::vector<std::vector<double>> inverse(qc, std::vector<double>(qc));
    for (int a = 0; a < qc; ++a)
        for (int b = 0; b < qc; ++b)
            inverse[a][b] = full.inverse[a + 1][b + 1];
    f.slopes = ComputeCoefficients(slopes, inverse, full.sse, dfError, 1);
    const double withinY = spreads.back().within;
    f.withinRegression = ComputeAnova(withinY, full.sse, withinY - full.sse, qc, dfError, n - q);

    const double groupsAdjusted = std::max(0.0, reduced.sse - full.sse);
    f.table.factor1 = {groupsAdjusted, q - 1.0};
    f.table.error = f.table.error1 = {full.sse, static_cast<double>(dfError)};
    f.table.total = {groupsAdjusted + full.sse, n - 1.0 - qc};
    f.table.d = 1;
    return f;
}

void CovarianceAnalysis(Workspace& ws) {
    const std::vector<LoadedRow> rows = LoadedRows(ws);
    if (rows.size() < 3) {
        ShowNotice(ws, TooFewVariablesNotice);
        return;
    }
    std::vector<std::vector<double>> covariates;
    for (std::size_t r = 0; r + 2 < rows.size(); ++r)
        covariates.push_back(rows[r].values);
    const CovarianceFigures f =
        ComputeCovariance(covariates, rows[rows.size() - 2].values, rows.back().values);
    if (!f.notice.empty()) {
        ShowNotice(ws, f.notice);
        return;
    }
    const double level = ws.settings.SignificanceLevel;
    const AnovaTableResult table = ComputeAnovaTable(f.table, level);
    if (!table.notice.empty()) {
        ShowNotice(ws, table.notice);
        return;
    }
    for (std::size_t i = 0; i < f.homogeneityF.size(); ++i) {
        WriteResult(ws, "");
        WriteStatistic(ws, "Гомогенность Х" + std::to_string(i + 1) + ": F=", f.homogeneityF[i],
                       f.homogeneityP[i], f.n - f.groups, f.groups - 1);
    }
    WriteResult(ws, "");
    WriteCoefficientTable(ws, f.slopes, " ");
    WriteAnova(ws, f.withinRegression);
    WriteAnovaTable(ws, table.figures);
}

}  // namespace dalvex
