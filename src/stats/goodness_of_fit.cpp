#include "stats/goodness_of_fit.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "core/number.h"
#include "core/sheet_bridge.h"
#include "core/workspace.h"
#include "dispatch/method_kit.h"
#include "numeric/progression.h"

namespace dalvex {

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr int WeibullPasses = 500;
// The verdict texts of the goodness of fit.
constexpr int FitVerdictGroup = 24;

// Mean and standard deviation (divisor n - 1) in two passes, so a large
// common offset keeps its digits.
struct Spread {
    double mean = 0, sd = 0;
};

Spread MeanAndDeviation(const std::vector<double>& x) {
    const double n = static_cast<double>(x.size());
    // Summed relative to the largest magnitude: values near 1e300 would
    // overflow their squares and values near 1e-300 lose them to zero,
    // while their mean and deviation are plain numbers.
    double scale = 0;
    for (double v : x)
        scale = std::max(scale, std::fabs(v));
    if (scale == 0)
        return {0, 0};
    double mean = 0;
    for (double v : x)
        mean += v / scale;
    mean /= n;
    double squares = 0, shift = 0;
    for (double v : x) {
        const double d = v / scale - mean;
        squares += d * d;
        shift += d;
    }
    // The second term takes back what rounding left in the mean.
    return {mean * scale, scale * std::sqrt((squares - shift * shift / n) / (n - 1))};
}

// The laws on the positive half-line, and whether 0 itself is refused
// (a logarithm of the values is taken).
bool NeedsNonNegative(ContinuousLaw law) {
    switch (law) {
        case ContinuousLaw::Exponential:
        case ContinuousLaw::Rayleigh:
        case ContinuousLaw::Erlang:
        case ContinuousLaw::Gamma:
            return true;
        default:
            return false;
    }
}

bool NeedsPositive(ContinuousLaw law) {
    return law == ContinuousLaw::Weibull || law == ContinuousLaw::Lognormal;
}

bool InSupport(ContinuousLaw law, double x) {
    if (NeedsNonNegative(law))
        return x >= 0;
    if (NeedsPositive(law))
        return x > 0;
    if (law == ContinuousLaw::Beta)
        return x >= 0 && x <= 1;
    return true;
}

// The Weibull shape and scale by maximum likelihood. The likelihood
// equation's left side, mean(ln x) weighted by x^k less the plain mean of
// ln x less 1/k, grows with k and has one root; the damped fixed point
// k <- 1 / (weighted mean - plain mean) moves toward it and a bracket of
// the root takes over (halving) wherever a step would leave it. The
// weights are taken relative to the largest value, so no power overflows.
bool WeibullLikelihood(const std::vector<double>& sorted, double& shape, double& scale) {
    const double n = static_cast<double>(sorted.size());
    std::vector<double> logs(sorted.size());
    double meanLog = 0;
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        logs[i] = std::log(sorted[i]);
        meanLog += logs[i];
    }
    meanLog /= n;
    const double top = logs.back();
    const double infinity = std::numeric_limits<double>::infinity();
    double lo = 0, hi = infinity;
    double k = 1.1;
    for (int pass = 0; pass < WeibullPasses; ++pass) {
        double weights = 0, weighted = 0;
        for (double l : logs) {
            const double w = std::exp(k * (l - top));
            weights += w;
            weighted += w * (l - meanLog);
        }
        // The weighted mean of ln x less the plain one: positive for data
        // that are not all equal.
        const double excess = weighted / weights;
        if (excess * k < 1)
            lo = k;
        else
            hi = k;
        double next = (k + 1 / excess) / 2;
        if (!(next > lo && next < hi))
            next = hi == infinity ? 2 * k : (lo + hi) / 2;
        if (std::fabs(next - k) <= 1e-12 * k) {
            shape = next;
            double sum = 0;
            for (double l : logs)
                sum += std::exp(next * (l - top));
            scale = std::exp(top + std::log(sum / n) / next);
            return true;
        }
        k = next;
    }
    return false;
}

// The significance constants: p = c e^(-e n D^2) for Kolmogorov and
// p = c e^(-e W2c) for omega-square, W2c = W^2 (1 + k/n).
struct SignificanceLaw {
    double dScale, dRate, omegaScale, omegaRate, correction;
};

SignificanceLaw SignificanceOf(ContinuousLaw law) {
    constexpr double K = 5.503876787768218;
    switch (law) {
        case ContinuousLaw::Normal:
        case ContinuousLaw::Lognormal:
            return {2 * std::sqrt(K), K, 2.6, 31.35, 0.5};
        case ContinuousLaw::Exponential:
            return {2.69, 3.35, 1.308, 14.53, 0.16};
        case ContinuousLaw::Rayleigh:
        case ContinuousLaw::Weibull:
            return {4.96, 5.85, 2.57, 41.14, 0.16};
        case ContinuousLaw::Logistic:
            return {8.94, 8, 4.64, 76.93, 0.16};
        default:
            return {4.96, 5.85, 1.308, 14.53, 0.16};
    }
}

double HeldBelowOne(double p) {
    return p >= 1 ? 0.9999 : p;
}

}  // namespace

FormDialog Tqq272Form() {
    FormDialog form;
    form.caption = "Согласие распределений";
    const std::array<const char*, 10> texts = {
        "&1=нормальное      ", "&2=экспоненциальное", "&3=Релея           ", "&4=Вейбулла        ",
        "&5=логистическое   ", "&6=экстрем.значений", "&7=Эрланга         ", "&8=логнормальное   ",
        "&9=гамма           ", "&A=бета            ",
    };
    for (int i = 0; i < 10; ++i)
        form.GroupButton("Распределения", texts[i], i + 1);
    form.Button("Отменить", 0);
    return form;
}

FitResult FitDistribution(ContinuousLaw law, std::vector<double> values) {
    FitResult fit;
    fit.law = law;
    const int n = static_cast<int>(values.size());
    fit.n = n;
    if (n < 3) {
        fit.refusal = FitRefusal::TooFewValues;
        return fit;
    }
    for (double x : values) {
        if (!InSupport(law, x)) {
            fit.refusal = FitRefusal::OutsideSupport;
            return fit;
        }
    }
    std::sort(values.begin(), values.end());
    if (values.front() == values.back()) {
        fit.refusal = FitRefusal::Constant;
        return fit;
    }

    // The parameters.
    std::vector<double> row = values;
    if (law == ContinuousLaw::Lognormal)
        for (double& x : row)
            x = std::log(x);
    const Spread s = MeanAndDeviation(row);
    double a = s.mean, b = s.sd;
    switch (law) {
        case ContinuousLaw::Logistic:
            b = s.sd * std::sqrt(3.0) / Pi;
            break;
        case ContinuousLaw::ExtremeValue:
            b = s.sd * std::sqrt(6.0) / Pi;
            a = s.mean + 0.57721 * b;
            break;
        case ContinuousLaw::Rayleigh: {
            // sqrt(sum x^2 / n), relative to the largest value.
            const double top = values.back();
            double sum = 0;
            for (double x : values)
                sum += (x / top) * (x / top);
            a = top * std::sqrt(sum / n);
            b = 2;
            break;
        }
        case ContinuousLaw::Erlang:
        case ContinuousLaw::Gamma:
            // The square of a deviation near 1e-300 would vanish.
            a = s.sd * (s.sd / s.mean);
            b = s.mean / a;
            // An Erlang shape is a whole number of stages, at least one.
            if (law == ContinuousLaw::Erlang)
                b = std::max(1.0, std::floor(b + 0.5));
            break;
        case ContinuousLaw::Beta: {
            const double m = s.mean, v = s.sd * s.sd;
            const double f = m * (1 - m) / v - 1;
            if (!(f > 0)) {
                fit.refusal = FitRefusal::BetaSpread;
                return fit;
            }
            a = m * f;
            b = (1 - m) * f;
            break;
        }
        case ContinuousLaw::Weibull:
            if (!WeibullLikelihood(values, b, a)) {
                fit.refusal = FitRefusal::NotConverged;
                return fit;
            }
            break;
        default:
            break;
    }
    fit.a = a;
    fit.b = b;

    // The statistics. The extreme-value law is tested as the exponential
    // law of e^((x - a) / b) fitted to those values.
    std::vector<double> cdf(n);
    if (law == ContinuousLaw::ExtremeValue) {
        std::vector<double> y(n);
        double mean = 0;
        for (int i = 0; i < n; ++i) {
            y[i] = std::exp(std::min((values[i] - a) / b, 700.0));
            mean += (y[i] - mean) / (i + 1);
        }
        for (int i = 0; i < n; ++i)
            cdf[i] = LawCdf(ContinuousLaw::Exponential, mean, 0, y[i]);
    } else {
        for (int i = 0; i < n; ++i)
            cdf[i] = LawCdf(law, a, b, values[i]);
    }
    double d = 0, omega = 1.0 / (12.0 * n);
    for (int i = 0; i < n; ++i) {
        d = std::max({d, std::fabs(cdf[i] - static_cast<double>(i) / n),
                      std::fabs(cdf[i] - static_cast<double>(i + 1) / n)});
        const double centre = (2.0 * i + 1) / (2.0 * n);
        omega += (cdf[i] - centre) * (cdf[i] - centre);
    }
    const SignificanceLaw sig = SignificanceOf(law);
    fit.kolmogorov = d;
    fit.omegaSquare = omega;
    fit.omegaCorrected = omega * (1 + sig.correction / n);
    fit.kolmogorovP = HeldBelowOne(sig.dScale * std::exp(-sig.dRate * n * d * d));
    fit.omegaP = HeldBelowOne(sig.omegaScale * std::exp(-sig.omegaRate * fit.omegaCorrected));

    fit.empirical.resize(n);
    for (int i = 0; i < n; ++i)
        fit.empirical[i] = static_cast<double>(i + 1) / n;
    const double low = values.front(), step = ProgressionStep(low, values.back(), 50);
    for (int i = 0; i <= 50; ++i) {
        const double x = i == 50 ? values.back() : ProgressionTerm(low, step, i);
        fit.curveX.push_back(x);
        fit.curveF.push_back(LawCdf(law, a, b, x));
    }
    fit.sorted = std::move(values);
    return fit;
}

std::string FitRefusalNotice(const FitResult& fit, const std::string& name) {
    static const std::array<const char*, 10> Laws = {
        "НОРМАЛЬНОЕ", "ЭКСПОНЕНЦИАЛЬНОЕ", "РЕЛЕЯ",
        "ВЕЙБУЛЛА",   "ЛОГИСТИЧЕСКОЕ",    "ЭКСТРЕМАЛЬНЫХ ЗНАЧЕНИЙ",
        "ЭРЛАНГА",    "ЛОГНОРМАЛЬНОЕ",    "ГАММА",
        "БЕТА",
    };
    const std::string law = std::string("РАСПРЕДЕЛЕНИЕ ") + Laws[static_cast<int>(fit.law) - 1];
    switch (fit.refusal) {
        case FitRefusal::None:
            return {};
        case FitRefusal::TooFewValues:
            return TooFewValuesNotice;
        case FitRefusal::Constant:
            return "!ПЕРЕМЕННАЯ " + name + " ПОСТОЯННА - СОГЛАСИЕ НЕ ОПРЕДЕЛЕНО!";
        case FitRefusal::OutsideSupport:
            if (fit.law == ContinuousLaw::Beta)
                return "!" + law + " НЕПРИМЕНИМО: ЕСТЬ ЗНАЧЕНИЯ ВНЕ [0, 1]!";
            if (NeedsPositive(fit.law))
                return "!" + law + " НЕПРИМЕНИМО: ЕСТЬ ЗНАЧЕНИЯ <= 0!";
            return "!" + law + " НЕПРИМЕНИМО: ЕСТЬ ЗНАЧЕНИЯ < 0!";
        case FitRefusal::BetaSpread:
            return "!" + law + " НЕПРИМЕНИМО: ДИСПЕРСИЯ НЕ МЕНЬШЕ m(1-m)!";
        case FitRefusal::NotConverged:
            return "!ОЦЕНКА ФОРМЫ РАСПРЕДЕЛЕНИЯ ВЕЙБУЛЛА НЕ СОШЛАСЬ ЗА " +
                   std::to_string(WeibullPasses) + " ШАГОВ!";
    }
    return {};
}

// ---------------------------------------------------------------------------

namespace {

void DrawFit(Workspace& ws, const FitResult& fit) {
    // The empirical function as points, the fitted one as a line.
    GraphOrder(ws)
        .Series(fit.sorted, fit.empirical, SeriesStyle::Markers)
        .Series(fit.curveX, fit.curveF, SeriesStyle::Line)
        .Title("Распределения")
        .Show();
}

}  // namespace

void GoodnessOfFit(Workspace& ws) {
    ws.VerdictGroup = FitVerdictGroup;
    ws.VerdictIndex = 1;
    // The missing-value mark never enters the values or their number.
    const std::vector<LoadedRow> rows = ChooseAndLoad(ws, Choose::One, 0, Missing::PerRow);
    if (rows.empty())
        return;
    const LoadedRow& row = rows.front();
    const int type = FormReader(ws, Tqq272Form()).button();
    if (type < 1 || type > 10)
        return;
    const FitResult fit = FitDistribution(static_cast<ContinuousLaw>(type), row.values);
    if (fit.refusal != FitRefusal::None) {
        ShowNotice(ws, FitRefusalNotice(fit, row.name));
        return;
    }
    WriteResult(ws, DistributionName(NameIndex(fit.law)) + " " +
                        FormatNumber(fit.a, ws.digits(), ws.decimalSeparator()) + ", " +
                        FormatNumber(fit.b, ws.digits(), ws.decimalSeparator()));
    WriteResult(ws, " ");
    WriteStatistic(ws, "Колмогоров=", fit.kolmogorov, fit.kolmogorovP, fit.n);
    WriteStatistic(ws, "Омега-квадрат=", fit.omegaCorrected, fit.omegaP, fit.n);
    DrawFit(ws, fit);
}

}  // namespace dalvex
