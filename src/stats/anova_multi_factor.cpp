#include "stats/anova_multi_factor.h"

#include <algorithm>
#include <cmath>

#include "core/number.h"
#include "dispatch/method_kit.h"
#include "numeric/least_squares.h"
#include "stats/anova.h"
#include "stats/multiple_regression.h"
#include "stats/pairwise_run.h"
#include "stats/regression_tables.h"

namespace dalvex {

namespace {

// A residual this small beside the total is what rounding leaves of an exact
// fit: no F can be formed against it.
constexpr double ExactFitShare = 1e-12;

// The distinct level codes of a factor, ascending; empty when a code is not
// a whole number in 1 .. MostFactorLevels, or there are fewer than two levels.
std::vector<double> LevelsOf(const std::vector<double>& codes) {
    bool seen[MostFactorLevels + 1] = {};
    for (double c : codes) {
        if (!(c >= 1 && c <= MostFactorLevels) || c != std::floor(c))
            return {};
        seen[static_cast<int>(c)] = true;
    }
    std::vector<double> levels;
    for (int v = 1; v <= MostFactorLevels; ++v)
        if (seen[v])
            levels.push_back(v);
    if (levels.size() < 2)
        return {};
    return levels;
}

// Effect coding: level v (but the last) has 1 in its own indicator, the last
// level -1 in all of them. A level code that never occurs gets no indicator,
// so an unused code is no rank deficiency.
std::vector<std::vector<double>> EffectColumns(const std::vector<double>& codes,
                                               const std::vector<double>& levels) {
    const std::size_t m = levels.size();
    std::vector<std::vector<double>> columns(m - 1, std::vector<double>(codes.size(), 0.0));
    for (std::size_t i = 0; i < codes.size(); ++i) {
        const std::size_t v =
            std::lower_bound(levels.begin(), levels.end(), codes[i]) - levels.begin();
        if (v + 1 == m) {
            for (auto& column : columns)
                column[i] = -1;
        } else {
            columns[v][i] = 1;
        }
    }
    return columns;
}

double SumOfSquares(const std::vector<double>& centred) {
    return Dot(centred, centred);
}

}  // namespace

MultiFactorFigures ComputeMultiFactor(const std::vector<std::vector<double>>& codes,
                                      const std::vector<std::string>& names,
                                      const std::vector<double>& y) {
    MultiFactorFigures result;
    const int a = static_cast<int>(codes.size());
    const int n = static_cast<int>(y.size());
    if (a == 0) {
        result.notice = TooFewVariablesNotice;
        return result;
    }

    // Every factor's indicators, and which factor each indicator belongs to.
    std::vector<std::vector<double>> columns;
    std::vector<int> owner;
    for (int j = 0; j < a; ++j) {
        const std::vector<double> levels = LevelsOf(codes[j]);
        if (levels.empty()) {
            result.unusable.push_back(names[j]);
            continue;
        }
        for (auto& column : EffectColumns(codes[j], levels)) {
            columns.push_back(std::move(column));
            owner.push_back(j);
        }
    }
    if (!result.unusable.empty()) {
        result.notice = FactorValuesNotice;
        return result;
    }
    const int r = static_cast<int>(columns.size());
    if (n - 1 - r < 1) {
        result.notice = FactorValuesNotice;
        return result;
    }

    // The response about its mean and brought near 1: sums of squares of data
    // near 1e7 or 1e-200 keep their digits, and scale back exactly.
    std::vector<double> centred = Centred(y);
    const double scale = PowerOfTwoScale(centred);
    for (double& v : centred)
        v /= scale;
    const double sst = SumOfSquares(centred);
    if (!(sst > 0)) {
        result.notice = ConstantDataNotice;
        return result;
    }

    // Only residual sums of squares are wanted, of the full model and of
    // each model without one factor: the columns are centred and scaled
    // once, and no fit forms coefficients or their covariance.
    const PreparedColumns prepared = PrepareColumns(columns);
    std::vector<int> all(static_cast<std::size_t>(r));
    for (int c = 0; c < r; ++c)
        all[static_cast<std::size_t>(c)] = c;
    const ResidualFit full = FitResidual(prepared, all, centred);
    if (full.singular) {
        result.notice = RegressionSingularNotice;
        if (full.dependentColumn >= 0)
            result.unusable.push_back(names[owner[full.dependentColumn]]);
        return result;
    }
    if (full.sse <= ExactFitShare * sst) {
        result.notice = ZeroErrorNotice;
        return result;
    }
    result.df = n - 1 - r;
    result.sse = full.sse * scale * scale;
    const double mse = full.sse / result.df;

    for (int j = 0; j < a; ++j) {
        std::vector<int> kept;
        for (int c = 0; c < r; ++c)
            if (owner[c] != j)
                kept.push_back(c);
        // Without the factor's indicators; with none left, the mean alone.
        const double sseWithout = kept.empty() ? sst : FitResidual(prepared, kept, centred).sse;
        FactorEffect e;
        e.df = r - static_cast<int>(kept.size());
        const double ss = std::max(sseWithout - full.sse, 0.0);
        e.f = ss / e.df / mse;
        e.p = FSignificance(e.f, e.df, result.df);
        e.ss = ss * scale * scale;
        e.ms = e.ss / e.df;
        e.strength = (ss * ss - full.sse * full.sse) / (ss * ss + full.sse * full.sse);
        result.factors.push_back(e);
    }
    return result;
}

void WriteMultiFactor(Workspace& ws, const MultiFactorFigures& f) {
    WriteResult(ws, "");
    WriteResult(ws, MultiFactorHeading);
    for (std::size_t j = 0; j < f.factors.size(); ++j) {
        const FactorEffect& e = f.factors[j];
        const std::string number = std::to_string(j + 1);
        WriteResult(ws, "Фактор " + number + Fields(ws, {e.ss, e.df, e.ms, e.strength}));
        WriteStatistic(ws, "F(фактор " + number + ")=", e.f, e.p, f.df, e.df);
        WriteResult(ws, " ");
    }
    WriteResult(ws, "  Остат." + Fields(ws, {f.sse, double(f.df), f.sse / f.df}));
}

void MultiFactorAnova(Workspace& ws) {
    const std::vector<LoadedRow> rows = LoadedRows(ws);
    std::vector<std::vector<double>> codes;
    std::vector<std::string> names;
    for (std::size_t k = 0; k + 1 < rows.size(); ++k) {
        codes.push_back(rows[k].values);
        names.push_back(rows[k].name);
    }
    const MultiFactorFigures f =
        ComputeMultiFactor(codes, names, rows.empty() ? std::vector<double>{} : rows.back().values);
    if (!f.notice.empty()) {
        if (f.unusable.empty()) {
            ShowNotice(ws, f.notice);
        } else {
            for (const std::string& name : f.unusable)
                NoteUnusable(ws, f.notice, name);
            ShowUnusable(ws);
        }
        return;
    }
    WriteMultiFactor(ws, f);
}

}  // namespace dalvex
