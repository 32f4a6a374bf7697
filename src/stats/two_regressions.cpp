#include "stats/two_regressions.h"

#include <algorithm>
#include <cmath>

#include "core/data_store.h"
#include "core/number.h"
#include "dispatch/loading.h"
#include "dispatch/method_kit.h"
#include "numeric/distributions.h"
#include "output/significance.h"
#include "stats/regression_tables.h"

namespace dalvex {

namespace {

// One line over its complete pairs, from sums about the means (two-pass),
// so an offset of X or Y costs no digits.
struct Line {
    int count = 0;
    double xMean = 0, yMean = 0, sxx = 0, slope = 0, sse = 0;
};

Line FitLine(const std::vector<double>& x, const std::vector<double>& y) {
    std::vector<double> xs, ys;
    for (std::size_t i = 0; i < x.size() && i < y.size(); ++i)
        if (x[i] != MissingValue && y[i] != MissingValue) {
            xs.push_back(x[i]);
            ys.push_back(y[i]);
        }
    Line l;
    l.count = static_cast<int>(xs.size());
    if (l.count == 0)
        return l;
    for (std::size_t i = 0; i < xs.size(); ++i) {
        l.xMean += xs[i];
        l.yMean += ys[i];
    }
    l.xMean /= l.count;
    l.yMean /= l.count;
    double sxy = 0;
    for (std::size_t i = 0; i < xs.size(); ++i) {
        l.sxx += (xs[i] - l.xMean) * (xs[i] - l.xMean);
        sxy += (xs[i] - l.xMean) * (ys[i] - l.yMean);
    }
    if (!(l.sxx > 0))
        return l;
    l.slope = sxy / l.sxx;
    for (std::size_t i = 0; i < xs.size(); ++i) {
        const double e = (ys[i] - l.yMean) - l.slope * (xs[i] - l.xMean);
        l.sse += e * e;
    }
    return l;
}

// |difference| / sqrt(s2 * weight); infinite (flagged) when s2 is 0 and the
// difference is not.
double StudentT(double difference, double s2, double weight, bool& infinite) {
    const double spread = s2 * weight;
    if (!(spread > 0)) {
        infinite = difference != 0;
        return 0;
    }
    return std::fabs(difference) / std::sqrt(spread);
}

void WriteT(Workspace& ws, const std::string& label, double t, bool infinite, int df) {
    if (infinite) {
        ws.SetTextBuffer(label + InfiniteF);
        WriteSignificance(ws, 0, df, 0);
    } else {
        WriteStatistic(ws, label, t, FisherTail(t, 1, df), df);
    }
}

}  // namespace

TwoRegressionFigures CompareRegressions(const std::vector<double>& x1,
                                        const std::vector<double>& y1,
                                        const std::vector<double>& x2,
                                        const std::vector<double>& y2,
                                        const std::vector<std::string>& names) {
    TwoRegressionFigures f;
    // Both t are unchanged when every X, or every Y, is multiplied by one
    // factor: the data are brought to magnitudes about 1 by a power of two,
    // so that no square leaves the double range.
    const auto scale = [](const std::vector<double>& u, const std::vector<double>& v) {
        int exponent = 0;
        double largest = 0;
        for (const std::vector<double>* w : {&u, &v})
            for (double x : *w)
                if (x != MissingValue)
                    largest = std::max(largest, std::fabs(x));
        if (largest > 0 && std::isfinite(largest))
            std::frexp(largest, &exponent);
        return std::ldexp(1.0, -exponent);
    };
    const auto scaled = [](std::vector<double> v, double factor) {
        for (double& x : v)
            if (x != MissingValue)
                x *= factor;
        return v;
    };
    const double sx = scale(x1, x2), sy = scale(y1, y2);
    const Line a = FitLine(scaled(x1, sx), scaled(y1, sy));
    const Line b = FitLine(scaled(x2, sx), scaled(y2, sy));
    f.count1 = a.count;
    f.count2 = b.count;
    if (a.count < 3 || b.count < 3) {
        f.notice = TooFewValuesNotice;
        return f;
    }
    for (int j = 0; j < 2; ++j)
        if (!((j == 0 ? a : b).sxx > 0)) {
            f.notice = std::string(RegressionSingularNotice) + " ПОСТОЯННАЯ ПЕРЕМЕННАЯ: " +
                       (j < static_cast<int>(names.size()) ? names[j] : "X") + "!";
            return f;
        }
    f.df = a.count + b.count - 4;
    const double s2 = (a.sse + b.sse) / f.df;
    f.parallel = StudentT(a.slope - b.slope, s2, 1 / a.sxx + 1 / b.sxx, f.parallelInfinite);
    // The parallel lines' heights compared at the same X: the difference of
    // the means of Y less what the common slope explains of the difference
    // of the means of X. Defined whatever the means of X are, equal ones
    // included.
    const double common = (a.sxx * a.slope + b.sxx * b.slope) / (a.sxx + b.sxx);
    const double dx = a.xMean - b.xMean;
    const double n1 = a.count, n2 = b.count;
    f.coincide = StudentT((a.yMean - b.yMean) - common * dx, s2,
                          (n1 + n2) / (n1 * n2) + dx * dx / (a.sxx + b.sxx), f.coincideInfinite);
    return f;
}

void TwoRegressions(Workspace& ws) {
    const std::vector<LoadedRow> rows = LoadedRows(ws);
    if (rows.size() != 4 || rows[0].count() != rows[1].count() ||
        rows[2].count() != rows[3].count()) {
        ShowNotice(ws, NotTwoRegressionsNotice);
        return;
    }
    const TwoRegressionFigures f =
        CompareRegressions(rows[0].values, rows[1].values, rows[2].values, rows[3].values,
                           {rows[0].name, rows[2].name});
    if (!f.notice.empty()) {
        ShowNotice(ws, f.notice);
        return;
    }
    WriteT(ws, "T(паралельность)=", f.parallel, f.parallelInfinite, f.df);
    ws.VerdictIndex = 3;
    WriteT(ws, "T(равенство средних)=", f.coincide, f.coincideInfinite, f.df);
}

}  // namespace dalvex
