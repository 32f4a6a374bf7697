#include <algorithm>
#include <cmath>
#include <numeric>

#include "core/number.h"
#include "numeric/distributions.h"
#include "stats/anova.h"
#include "stats/pairwise_run.h"

namespace dalvex {

std::string EmptyGroupNotice(const std::string& name) {
    return "!НЕТ ЗНАЧЕНИЙ В ГРУППЕ " + name + "!";
}

std::string FirstEmptyGroupNotice(const std::vector<std::vector<double>>& groups,
                                  const std::vector<std::string>& names) {
    for (std::size_t g = 0; g < groups.size(); ++g)
        if (groups[g].empty())
            return EmptyGroupNotice(g < names.size() ? names[g] : std::to_string(g + 1));
    return {};
}

double FCritical(int df1, int df2, double alpha) {
    const double q = FisherQuantile(df1, df2, alpha);
    return df1 == 1 ? q * q : q;
}

double StableMean(const std::vector<double>& v) {
    const auto [low, high] = std::minmax_element(v.begin(), v.end());
    if (*low == *high)
        return *low;
    double m = std::accumulate(v.begin(), v.end(), 0.0) / v.size();
    double correction = 0;
    for (double x : v)
        correction += x - m;
    return m + correction / v.size();
}

double SquaresAbout(const std::vector<double>& v, double about) {
    double ss = 0;
    for (double x : v)
        ss += (x - about) * (x - about);
    return ss;
}

std::vector<double> Pooled(const std::vector<std::vector<double>>& groups) {
    std::vector<double> all;
    for (const auto& g : groups)
        all.insert(all.end(), g.begin(), g.end());
    return all;
}

namespace {

// The strength of influence of a source beside the residual sum of squares.
double Strength(double ss, double sse, double d) {
    return (ss * ss - sse * sse) / ((ss * ss + sse * sse) * d);
}

// Why an error term cannot carry an F: no degrees of freedom, or nothing left
// over (data that fit the design exactly).
std::string ErrorTermNotice(const AnovaSource& e) {
    if (!(e.df > 0))
        return NoErrorDfNotice;
    if (!(e.ss > 0))
        return ZeroErrorNotice;
    return {};
}

}  // namespace

AnovaTableResult ComputeAnovaTable(const AnovaTableSpec& s, double level) {
    AnovaTableResult result;
    const bool second = s.factor2.df > 0;
    const bool interaction = s.interaction.df > 0;
    for (const AnovaSource* e : {&s.error1, second ? &s.error2 : &s.error1, &s.error}) {
        result.notice = ErrorTermNotice(*e);
        if (!result.notice.empty())
            return result;
    }
    AnovaTableFigures& t = result.figures;
    const double sse = s.error.ss;
    auto tested = [&](const char* label, const char* fLabel, const AnovaSource& source,
                      const AnovaSource& error) {
        const double f = source.ms() / error.ms();
        const double p = FSignificance(f, source.df, error.df);
        t.rows.push_back(
            {label, source.ss, source.df, source.ms(), true, f, p, Strength(source.ss, sse, s.d)});
        t.fLines.push_back({fLabel, f, p, source.df, error.df});
        return p;
    };
    tested("  Факт.1   ", "F(фактор1)=", s.factor1, s.error1);
    if (second)
        t.factor2P = tested("  Факт.2   ", "F(фактор2)=", s.factor2, s.error2);
    double interactionP = 0;
    if (interaction)
        interactionP = tested("  Межфак   ", "F(межфакт)=", s.interaction, s.error);
    t.rows.push_back({"  Остат.   ", s.error.ss, s.error.df, s.error.ms(), false});
    t.rows.push_back({"  Общая    ", s.total.ss, s.total.df, s.total.ms(), false});

    // An interaction that explains nothing joins the residual, and the
    // factors are tested again on the pooled mean square.
    if (interaction && interactionP > level) {
        const AnovaSource pooled{s.interaction.ss + s.error.ss, s.interaction.df + s.error.df};
        auto line = [&](const char* label, const AnovaSource& source) {
            const double f = source.ms() / pooled.ms();
            t.pooled.push_back(
                {label, f, FSignificance(f, source.df, pooled.df), source.df, pooled.df});
        };
        line("F(фактор1)=", s.factor1);
        if (second)
            line("F(фактор2)=", s.factor2);
    }
    return result;
}

void WriteAnovaTable(Workspace& ws, const AnovaTableFigures& t) {
    WriteResult(ws, "");
    WriteResult(ws, AnovaTableHeading);
    for (const AnovaRow& row : t.rows) {
        std::vector<double> figures{row.ss, row.df, row.ms};
        if (row.tested)
            figures.insert(figures.end(), {row.f, row.p, row.strength});
        WriteResult(ws, row.label + Fields(ws, figures));
    }
    WriteResult(ws, "");
    for (const FLine& line : t.fLines)
        WriteStatistic(ws, line.label, line.f, line.p, line.df2, line.df1);
    if (t.factor2P) {
        SignificanceLists lists;
        lists.AppendUnpaired(ws, *t.factor2P, AnovaListFile);
        lists.Save(ws);
    }
    if (!t.pooled.empty()) {
        WriteResult(ws, PooledLine);
        for (const FLine& line : t.pooled)
            WriteStatistic(ws, line.label, line.f, line.p, line.df2, line.df1);
    }
}

}  // namespace dalvex
