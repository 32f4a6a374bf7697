#include "stats/multiple_regression.h"

#include <algorithm>
#include <cmath>

#include "core/number.h"
#include "core/text.h"
#include "dispatch/follow_up_dialogs.h"
#include "dispatch/loading.h"
#include "numeric/distributions.h"
#include "stats/regression_dialogs.h"

namespace dalvex {

namespace {

// Two-pass mean: the second pass takes back what the first lost on a large
// offset.
double Mean(const std::vector<double>& v) {
    double sum = 0;
    for (double x : v)
        sum += x;
    const double mean = sum / static_cast<double>(v.size());
    double correction = 0;
    for (double x : v)
        correction += x - mean;
    return mean + correction / static_cast<double>(v.size());
}

bool Constant(const std::vector<double>& v) {
    return std::all_of(v.begin(), v.end(), [&](double x) { return x == v.front(); });
}

// A variable whose part outside the equation is below this share of its
// own spread cannot be told apart from the equation's variables.
constexpr double CollinearShare = 1e-12;

std::string JoinNames(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text;
}

// The notice of a singular fit, naming the variables that are linearly
// dependent: the column found dependent and the earlier ones it is made of.
std::string SingularNotice(const RegressionData& data, const std::vector<int>& members,
                           int dependent) {
    if (dependent < 0 || dependent >= static_cast<int>(members.size()))
        return RegressionSingularNotice;
    const std::vector<double>& column = data.xs[members[dependent]];
    const std::string& name = data.names[members[dependent]];
    if (Constant(column))
        return std::string(RegressionSingularNotice) + " ПОСТОЯННАЯ ПЕРЕМЕННАЯ: " + name + "!";
    // Which earlier variables the dependent one is made of, on values
    // scaled to about 1.
    const auto scaled = [](const std::vector<double>& v) {
        const double scale = PowerOfTwoScale(v);
        std::vector<double> s(v.size());
        for (std::size_t i = 0; i < v.size(); ++i)
            s[i] = v[i] / scale;
        return s;
    };
    std::vector<std::string> names;
    if (dependent > 0) {
        std::vector<std::vector<double>> earlier;
        for (int j = 0; j < dependent; ++j)
            earlier.push_back(scaled(data.xs[members[j]]));
        const std::vector<double> target = scaled(column);
        const LinearFit parts = FitLinear(earlier, target);
        const double spread = std::sqrt(Dot(Centred(target), Centred(target)));
        for (int j = 0; j < dependent && !parts.singular; ++j) {
            const std::vector<double> c = Centred(earlier[j]);
            const double weight = std::fabs(parts.coefficients[j + 1]) * std::sqrt(Dot(c, c));
            if (weight > 1e-7 * spread)
                names.push_back(data.names[members[j]]);
        }
    }
    names.push_back(name);
    return std::string(RegressionSingularNotice) + " ЛИНЕЙНО ЗАВИСИМЫ: " + JoinNames(names) + "!";
}

// An orthonormal basis of the centred columns (Gram-Schmidt, each vector
// orthogonalised twice so that the basis stays orthogonal to the last digit).
std::vector<std::vector<double>> Basis(const std::vector<std::vector<double>>& centred) {
    std::vector<std::vector<double>> q;
    for (std::vector<double> v : centred) {
        for (int pass = 0; pass < 2; ++pass)
            for (const std::vector<double>& u : q) {
                const double d = Dot(u, v);
                for (std::size_t i = 0; i < v.size(); ++i)
                    v[i] -= d * u[i];
            }
        const double norm = std::sqrt(Dot(v, v));
        if (norm > 0) {
            for (double& x : v)
                x /= norm;
            q.push_back(std::move(v));
        }
    }
    return q;
}

std::vector<double> Residual(const std::vector<std::vector<double>>& q, std::vector<double> v) {
    for (int pass = 0; pass < 2; ++pass)
        for (const std::vector<double>& u : q) {
            const double d = Dot(u, v);
            for (std::size_t i = 0; i < v.size(); ++i)
                v[i] -= d * u[i];
        }
    return v;
}

}  // namespace

std::vector<double> Centred(const std::vector<double>& v) {
    const double mean = Mean(v);
    std::vector<double> c(v.size());
    for (std::size_t i = 0; i < v.size(); ++i)
        c[i] = v[i] - mean;
    return c;
}

double Dot(const std::vector<double>& a, const std::vector<double>& b) {
    double s = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        s += a[i] * b[i];
    return s;
}

std::string TooManyPredictorsNotice() {
    return "!ПЕРЕМЕННЫХ > " + std::to_string(MostPredictors) + "!";
}

RegressionData RegressionDataOf(const std::vector<LoadedRow>& rows) {
    RegressionData data;
    for (std::size_t r = 0; r + 1 < rows.size(); ++r) {
        data.names.push_back(rows[r].name);
        data.xs.push_back(rows[r].values);
    }
    if (!rows.empty()) {
        data.yName = rows.back().name;
        data.y = rows.back().values;
    }
    return data;
}

double PowerOfTwoScale(const std::vector<double>& v) {
    double largest = 0;
    for (double x : v)
        largest = std::max(largest, std::fabs(x));
    if (!(largest > 0) || !std::isfinite(largest))
        return 1;
    int exponent = 0;
    std::frexp(largest, &exponent);
    return std::ldexp(1.0, exponent);
}

namespace {

std::vector<double> Scaled(const std::vector<double>& v, double scale) {
    std::vector<double> s(v.size());
    for (std::size_t i = 0; i < v.size(); ++i)
        s[i] = v[i] / scale;
    return s;
}

}  // namespace

SubsetFit FitSubset(const RegressionData& data, const std::vector<int>& members) {
    SubsetFit s;
    const int k = static_cast<int>(members.size());
    const int n = data.count();
    if (k > MostPredictors) {
        s.notice = TooManyPredictorsNotice();
        return s;
    }
    if (k >= n) {
        s.notice = FewerMeasurementsNotice;
        return s;
    }
    if (Constant(data.y)) {
        s.notice = ConstantResponseNotice;
        return s;
    }
    // Solved on values of magnitude about 1; the figures of the data's own
    // scale are taken back from it.
    s.yScale = PowerOfTwoScale(data.y);
    std::vector<std::vector<double>> columns;
    for (int j : members) {
        s.xScale.push_back(PowerOfTwoScale(data.xs[j]));
        columns.push_back(Scaled(data.xs[j], s.xScale.back()));
    }
    s.fit = FitLinear(columns, Scaled(data.y, s.yScale));
    if (s.fit.singular) {
        s.notice = SingularNotice(data, members, s.fit.dependentColumn);
        return s;
    }
    s.members = members;
    s.table = ComputeCoefficients(s.fit.coefficients, s.fit.inverse, s.fit.sse, s.fit.dfResidual);
    s.anova = ComputeAnova(s.fit.sst, s.fit.sse, s.fit.ssr, k, s.fit.dfResidual, n - 1);
    s.r2 = s.fit.sst > 0 ? 1 - std::min(1.0, s.fit.sse / s.fit.sst) : 0.0;

    const double y = s.yScale;
    for (std::size_t c = 0; c < s.fit.coefficients.size(); ++c) {
        const double factor = c == 0 ? y : y / s.xScale[c - 1];
        s.coefficients.push_back(s.fit.coefficients[c] * factor);
        s.table.values[c] *= factor;
        s.table.errors[c] *= factor;
    }
    for (double* ss : {&s.anova.ssr, &s.anova.sse, &s.anova.sst, &s.anova.msr, &s.anova.mse})
        *ss *= y * y;
    s.anova.standardError *= y;
    for (std::size_t i = 0; i < s.fit.fitted.size(); ++i) {
        s.fitted.push_back(s.fit.fitted[i] * y);
        s.residuals.push_back(s.fit.residuals[i] * y);
    }
    return s;
}

double PredictionFactor(const SubsetFit& s, const std::vector<double>& point) {
    std::vector<double> scaled(point.size());
    for (std::size_t j = 0; j < point.size() && j < s.xScale.size(); ++j)
        scaled[j] = point[j] / s.xScale[j];
    return std::sqrt(1 + Leverage(s.fit, scaled));
}

VariableLine EquationLine(const RegressionData& data, const SubsetFit& s, int position,
                          double* partialR2) {
    VariableLine line;
    const int variable = s.members[position];
    const std::size_t k = static_cast<std::size_t>(position) + 1;  // a0 comes first
    line.name = data.names[variable];
    line.value = s.coefficients[k];
    line.error = s.table.errors[k];
    line.significance = s.table.significances[k];
    // Beta, F and the partial correlation do not depend on the scale: they
    // are taken from the scaled fit.
    const double a = s.fit.coefficients[k];
    const double v = s.fit.inverse[k][k];
    const int df = s.fit.dfResidual;
    const std::vector<double> c = Centred(Scaled(data.xs[variable], s.xScale[position]));
    line.beta = s.fit.sst > 0 ? a * std::sqrt(Dot(c, c) / s.fit.sst) : 0.0;
    const double error = df > 0 ? std::sqrt(std::fabs(v) * s.fit.sse / df) : 0.0;
    if (error > 0)
        line.f = (a / error) * (a / error);
    else
        line.infiniteF = df > 0;
    if (partialR2 != nullptr) {
        // Leaving the variable out adds a^2 / V_jj to the residual sum of squares.
        const double cost = v > 0 ? a * a / v : 0.0;
        const double without = s.fit.sse + cost;
        *partialR2 = without > 0 ? std::min(1.0, cost / without) : 0.0;
    }
    return line;
}

std::vector<CandidateFigures> Candidates(const RegressionData& data, const SubsetFit& s,
                                         const std::vector<int>& candidates) {
    // On the same scaled values as the fit: every product stays in range.
    std::vector<std::vector<double>> centred;
    for (std::size_t j = 0; j < s.members.size(); ++j)
        centred.push_back(Centred(Scaled(data.xs[s.members[j]], s.xScale[j])));
    const std::vector<std::vector<double>> q = Basis(centred);
    const double yScale = PowerOfTwoScale(data.y);
    const std::vector<double> yc = Centred(Scaled(data.y, yScale));
    const double sst = Dot(yc, yc);
    const std::vector<double> ey = Residual(q, yc);
    const double ey2 = Dot(ey, ey);
    // The fit with the candidate added keeps one degree of freedom less.
    const int df = data.count() - static_cast<int>(s.members.size()) - 2;

    std::vector<CandidateFigures> figures;
    for (int v : candidates) {
        CandidateFigures c;
        c.variable = v;
        c.line.name = data.names[v];
        const double xScale = PowerOfTwoScale(data.xs[v]);
        const std::vector<double> vc = Centred(Scaled(data.xs[v], xScale));
        const double sxx = Dot(vc, vc);
        const std::vector<double> ev = Residual(q, vc);
        const double ev2 = Dot(ev, ev);
        c.tolerance = sxx > 0 ? std::min(1.0, ev2 / sxx) : 0.0;
        if (c.tolerance > CollinearShare && ey2 > 0) {
            const double cross = Dot(ev, ey);
            c.partialR2 = std::min(1.0, (cross / ev2) * (cross / ey2));
            VariableLine& line = c.line;
            const double a = cross / ev2;
            line.beta = sst > 0 ? a * std::sqrt(sxx / sst) : 0.0;
            const double sse = std::max(0.0, ey2 - cross * a);
            const double error = df > 0 ? std::sqrt(sse / df / ev2) : 0.0;
            line.value = a * (yScale / xScale);
            line.error = error * (yScale / xScale);
            if (error > 0) {
                const double t = a / error;
                line.f = t * t;
                line.significance = FisherTail(std::fabs(t), 1, df);
            } else if (df > 0) {
                line.infiniteF = true;
                line.significance = 0;
            }
        }
        figures.push_back(c);
    }
    return figures;
}

std::string VariableLineText(const Workspace& ws, const VariableLine& line) {
    return NameField(line.name) + Field(ws, line.value) + Field(ws, line.error) +
           Field(ws, line.beta) + (line.infiniteF ? PadLeft(InfiniteF, 9) : Field(ws, line.f)) +
           Field(ws, line.significance);
}

void WriteSubsetTables(Workspace& ws, const RegressionData& data, const SubsetFit& s) {
    std::string header;
    if (static_cast<int>(s.members.size()) == data.predictors()) {
        header = "Y=" + data.yName + ", X=";
        for (int j : s.members)
            header += PadLeft(data.names[j], 8) + ", ";
    }
    WriteCoefficientTable(ws, s.table, header);
    WriteAnova(ws, s.anova);
}

void ResidualGraphs(Workspace& ws, const ResidualSet& set) {
    const std::vector<double>& residuals = set.residuals;
    const int k = static_cast<int>(set.xs.size());
    for (;;) {
        const int answer = pq122(ws);
        int m = ws.AnswerNumber;
        if (m < 1 || m > k)
            m = 1;
        const std::vector<double>& x = set.xs[m - 1];
        if (answer == 4) {
            WriteResidualTable(ws,
                               ComputeResiduals(set.xs[0], set.y, set.fitted, set.error, set.t));
        } else if (answer == 1) {
            GraphOrder(ws)
                .Series(set.y, residuals, SeriesStyle::Markers)
                .Title("Остатки от Y")
                .Show();
        } else if (answer == 2) {
            GraphOrder(ws)
                .Series(x, residuals, SeriesStyle::Markers)
                .Title("Остатки на X" + std::to_string(m))
                .Show();
        } else if (answer == 3) {
            GraphOrder(ws)
                .Series(x, set.fitted, SeriesStyle::Markers)
                .Title("Регрессия на " + set.names[m - 1])
                .Show();
        } else {
            return;
        }
    }
}

void ResidualGraphs(Workspace& ws, const RegressionData& data, const SubsetFit& s) {
    ResidualSet set;
    for (int j : s.members) {
        set.names.push_back(data.names[j]);
        set.xs.push_back(data.xs[j]);
    }
    set.y = data.y;
    set.fitted = s.fitted;
    set.residuals = s.residuals;
    const int df = s.fit.dfResidual;
    const double sd = df > 0 ? std::sqrt(s.fit.sse / df) * s.yScale : 0.0;
    set.t = df > 0 ? FisherQuantile(1, df, ws.settings.SignificanceLevel) : 0.0;
    set.error = [&data, &s, sd](std::size_t i) {
        std::vector<double> point;
        for (int j : s.members)
            point.push_back(data.xs[j][i]);
        return sd * PredictionFactor(s, point);
    };
    ResidualGraphs(ws, set);
}

void MultipleRegression(Workspace& ws) {
    const std::vector<LoadedRow> rows = LoadedRows(ws);
    if (rows.size() < 2) {
        ShowNotice(ws, TooFewValuesNotice);
        return;
    }
    const RegressionData data = RegressionDataOf(rows);
    WriteResult(ws, " ");
    std::vector<int> all(data.predictors());
    for (int j = 0; j < data.predictors(); ++j)
        all[j] = j;
    const SubsetFit s = FitSubset(data, all);
    // Nothing is printed from a fit that could not be made.
    if (!s.notice.empty()) {
        ShowNotice(ws, s.notice);
        return;
    }
    WriteSubsetTables(ws, data, s);
    WriteResult(ws, "");
    WriteResult(ws, InEquationRule);
    WriteResult(ws, InEquationHeading);
    for (int j = 0; j < data.predictors(); ++j)
        WriteResult(ws, VariableLineText(ws, EquationLine(data, s, j)));

    const std::vector<double> a = s.coefficients;
    Interpolation(ws, data.names, data.yName,
                  [&](const std::vector<double>& xs) -> std::optional<double> {
                      double value = a[0];
                      for (std::size_t j = 0; j < xs.size(); ++j)
                          value += a[j + 1] * xs[j];
                      return value;
                  });
    WriteResult(ws, " ");
    ResidualGraphs(ws, data, s);
}

}  // namespace dalvex
