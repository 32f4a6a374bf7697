#include "stats/fourier_model.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <complex>
#include <numbers>
#include <optional>

#include "core/number.h"
#include "dispatch/loading.h"
#include "dispatch/method_kit.h"
#include "numeric/basic.h"
#include "numeric/distributions.h"
#include "numeric/fourier.h"
#include "numeric/least_squares.h"
#include "numeric/moments.h"
#include "stats/regression_tables.h"

namespace dalvex {

namespace {

constexpr double TwoPi = 2 * std::numbers::pi;
constexpr const char* TrendItems[] = {"нет", "линейный", "парабола"};

}  // namespace

FormDialog CorrectionForm() {
    FormDialog form;
    form.caption = FourierModelCaption;
    form.Group("Коррекция процесса")
        .Field("Удалить скачки= ", "0",
               "Удалить скачки в процессе (указать максимально допустимое значение производной)")
        .Choice("Тренд= ", {std::begin(TrendItems), std::end(TrendItems)}, 1)
        .Check(" Сопрячь концы", false, "Подавить разрывы на концах процесса")
        .Button("Утвердить", 1)
        .Button("Отменить", 0)
        .RememberIn(CorrectionMemory);
    return form;
}

FormDialog ModelParametersForm() {
    FormDialog form;
    form.caption = FourierModelCaption;
    form.Group("Параметры  ")
        .Field("Усреднений= ", "0")
        .Field("Фильтр: низ=", "0")
        .Field("верх= ", "0")
        .Field("Амплит.порог= ", "0")
        .Check("Адаптация", false, "автоматическая адаптация коэффициентов модели")
        .Field("Прогноз= ", "0")
        .Field("Нач.время=", "0")
        .Field("Врем.шаг=", "1")
        .Button("Утвердить", 1)
        .Button("Отменить", 0)
        .RememberIn(ModelParametersMemory);
    return form;
}

// ---------------------------------------------------------------------------
// The correction.

double SeriesCorrection::At(double t) const {
    double offset = 0;
    for (std::size_t i = 0; i < jumpPositions.size() && jumpPositions[i] < t; ++i)
        offset = jumpOffsets[i];
    return offset + c0 + c1 * t + c2 * t * t + c3 + c4 * t;
}

CorrectedSeries CorrectSeries(const std::vector<double>& x, double threshold, int trend,
                              bool ends) {
    CorrectedSeries out;
    SeriesCorrection& c = out.correction;
    std::vector<double> v = x;
    const std::size_t n = x.size();
    if (threshold > 0) {
        // Every value loses the sum of the jumps before it.
        double s = 0;
        for (std::size_t i = 0; i + 1 < n; ++i) {
            v[i] = x[i] - s;
            const double jump = x[i + 1] - x[i];
            if (std::fabs(jump) > threshold) {
                s += jump;
                c.jumpPositions.push_back(static_cast<int>(i));
                c.jumpOffsets.push_back(s);
            }
        }
        v[n - 1] = x[n - 1] - s;
    }
    if (trend > 0) {
        std::vector<double> t(n);
        for (std::size_t i = 0; i < n; ++i)
            t[i] = static_cast<double>(i);
        // Least squares on centred and scaled powers of t keeps the digits of
        // a series far from zero.
        const LinearFit fit = FitLinear(PowerColumns(t, trend >= 2 ? 2 : 1), v);
        if (fit.singular) {
            out.singular = true;
            return out;
        }
        c.trend = true;
        c.c0 = fit.coefficients[0];
        c.c1 = fit.coefficients[1];
        c.c2 = trend >= 2 ? fit.coefficients[2] : 0;
        for (std::size_t i = 0; i < n; ++i)
            v[i] = fit.residuals[i];
        if (ends) {
            c.c4 = (v[n - 1] - v[0]) / static_cast<double>(n);
            double mean = 0;
            for (std::size_t i = 0; i < n; ++i)
                mean += (v[i] - c.c4 * static_cast<double>(i)) / static_cast<double>(n);
            c.c3 = mean;
            for (std::size_t i = 0; i < n; ++i)
                v[i] -= c.c3 + c.c4 * static_cast<double>(i);
        }
    }
    out.values = std::move(v);
    return out;
}

std::vector<double> Lengthen(const std::vector<double>& x) {
    std::vector<double> y = x;
    y.push_back(x.back());
    if (x.size() % 2 == 1)
        y.push_back(x.back());
    return y;
}

// ---------------------------------------------------------------------------
// The spectrum and the model.

double HarmonicModel::largest() const {
    double a = 0;
    for (std::size_t j = 1; j < amplitude.size(); ++j)
        a = std::max(a, std::fabs(amplitude[j]));
    return a;
}

namespace {

// A·cos(φ + 2π f t / M) added to out[t - from] for t = from .. from + count - 1,
// turned by a complex rotation and set right every 64 steps, so a long
// series costs no cosine per value and no drift.
void AddWave(std::vector<double>& out, double a, double phi, double f, int period, long from) {
    const double step = TwoPi * f / period;
    const std::complex<double> turn(std::cos(step), std::sin(step));
    std::complex<double> z;
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (i % 64 == 0) {
            // f·t reduced modulo M keeps the angle exact for whole frequencies.
            const double t = static_cast<double>(from + static_cast<long>(i));
            const double angle =
                phi + TwoPi * std::fmod(f * t, static_cast<double>(period)) / period;
            // The amplitude may be negative: the adaptation can carry it past 0.
            z = a * std::complex<double>(std::cos(angle), std::sin(angle));
        } else {
            z *= turn;
        }
        out[i] += z.real();
    }
}

}  // namespace

std::vector<double> HarmonicModel::Values(int from, int count) const {
    std::vector<double> out(std::max(count, 0), 0.0);
    if (out.empty())
        return out;
    // The harmonics on whole frequencies make one periodic series, had at
    // once by the inverse transform; only those the adaptation moved are
    // added one by one.
    std::vector<std::complex<double>> spectrum(period);
    bool whole = false;
    for (int j = 0; j <= top(); ++j) {
        if (amplitude[j] == 0)
            continue;
        if (frequency[j] != static_cast<double>(j)) {
            AddWave(out, amplitude[j], phase[j], frequency[j], period, from);
            continue;
        }
        whole = true;
        if (j == 0) {
            spectrum[0] = amplitude[0] * period;
        } else {
            spectrum[j] = amplitude[j] * period / 2 *
                          std::complex<double>(std::cos(phase[j]), std::sin(phase[j]));
            spectrum[period - j] = std::conj(spectrum[j]);
        }
    }
    if (whole) {
        FourierTransform(spectrum, true);
        for (int i = 0; i < count; ++i)
            out[i] += spectrum[(from + i) % period].real() / period;
    }
    return out;
}

HarmonicModel SpectrumOf(const std::vector<double>& lengthened) {
    const int m = static_cast<int>(lengthened.size());
    const int k = (m - 1) / 2;
    HarmonicModel model;
    model.period = m;
    // The mean apart, so that a series far from zero keeps its harmonics'
    // digits; it comes back as the constant term with its sign.
    double mean = 0;
    for (double v : lengthened)
        mean += v;
    mean /= m;
    std::vector<double> centred(m);
    for (int i = 0; i < m; ++i)
        centred[i] = lengthened[i] - mean;
    const HarmonicSums sums = HarmonicSumsOf(centred, k);
    model.amplitude.push_back(mean + sums.cosines[0] / m);
    model.phase.push_back(0);
    model.frequency.push_back(0);
    for (int j = 1; j <= k; ++j) {
        const double a = 2 * sums.cosines[j] / m, b = 2 * sums.sines[j] / m;
        model.amplitude.push_back(std::hypot(a, b));
        model.phase.push_back(Angle(a, -b));
        model.frequency.push_back(j);
    }
    return model;
}

int AverageSpectrum(HarmonicModel& model, const std::vector<double>& lengthened, int v) {
    const int m = model.period;
    int made = 0;
    for (int i = 1; i <= v; ++i) {
        int length = m >> i;
        if (length % 2 == 0)
            ++length;
        if (length < 7 || length > m)
            break;
        const std::vector<double> tail(lengthened.end() - length, lengthened.end());
        const HarmonicModel part = SpectrumOf(tail);
        // Harmonic k of the part lies at the frequency k / L, nearest to
        // harmonic k·M / L of the whole; the phases stay the whole series'
        // own, measured from its first value.
        for (int k = 1; k <= part.top(); ++k) {
            const int j = std::min(
                model.top(), static_cast<int>(std::lround(static_cast<double>(k) * m / length)));
            model.amplitude[j] = (model.amplitude[j] + part.amplitude[k]) / 2;
        }
        ++made;
    }
    return made;
}

ModelParameters HeldParameters(ModelParameters p, int top, int lastIndex) {
    const int allowed = static_cast<int>(std::trunc(std::log2(std::max(lastIndex, 1)) - 2));
    if (p.averagings > allowed)
        p.averagings = static_cast<int>(std::trunc(std::log2(std::max(top, 1)) - 2));
    p.averagings = std::max(p.averagings, 0);
    if (p.low <= 0)
        p.low = 1;
    if (p.low > top)
        p.low = top;
    p.high = std::clamp(p.high, 0, top);
    // A lower limit above the upper one: no band (one harmonic is removed
    // with both limits on it).
    if (p.low > p.high)
        p.low = p.high = 0;
    p.steps = std::clamp(p.steps, 0, top);
    if (p.t0 < 0)
        p.t0 = 0;
    if (p.dt <= 0)
        p.dt = 1;
    return p;
}

bool RemoveHarmonics(HarmonicModel& model, const ModelParameters& p) {
    const double largest = model.largest();
    bool used = false;
    if (p.low > 0 || p.high > 0) {
        for (int j = std::max(p.low, 1); j <= std::min(p.high, model.top()); ++j)
            model.amplitude[j] = 0;
        used = true;
    }
    if (p.threshold > 0) {
        for (int j = 1; j <= model.top(); ++j)
            if (std::fabs(model.amplitude[j]) < p.threshold / 100 * largest)
                model.amplitude[j] = 0;
        used = true;
    }
    return used;
}

// ---------------------------------------------------------------------------
// The adaptation.

namespace {

class HarmonicSearch {
  public:
    HarmonicSearch(HarmonicModel& model, const std::vector<double>& corrected)
        : model_(model), n_(static_cast<int>(corrected.size())) {
        const std::vector<double> fitted = model.Values(0, n_);
        residual_.resize(n_);
        for (int t = 0; t < n_; ++t)
            residual_[t] = corrected[t] - fitted[t];
    }

    double Sum() const {
        double s = 0;
        for (double r : residual_)
            s += r * r;
        return s;
    }

    // Tunes harmonic j's frequency, phase and amplitude in turn.
    void Tune(int j, AdaptationOutcome& outcome) {
        // The residual without harmonic j.
        std::vector<double> own =
            Wave(j, model_.amplitude[j], model_.phase[j], model_.frequency[j]);
        base_ = residual_;
        for (int t = 0; t < n_; ++t)
            base_[t] += own[t];
        double* parameters[] = {&model_.frequency[j], &model_.phase[j], &model_.amplitude[j]};
        for (double* p : parameters)
            Search(j, *p, outcome);
        own = Wave(j, model_.amplitude[j], model_.phase[j], model_.frequency[j]);
        for (int t = 0; t < n_; ++t)
            residual_[t] = base_[t] - own[t];
    }

  private:
    std::vector<double> Wave(int j, double a, double phi, double f) const {
        std::vector<double> w(n_, 0.0);
        (void)j;
        AddWave(w, a, phi, f, model_.period, 0);
        return w;
    }

    double SumWith(int j) const {
        const std::vector<double> w =
            Wave(j, model_.amplitude[j], model_.phase[j], model_.frequency[j]);
        double s = 0;
        for (int t = 0; t < n_; ++t) {
            const double r = base_[t] - w[t];
            s += r * r;
        }
        return s;
    }

    // value + d is tried again and again; a trial that does not raise the
    // sum is kept, one that raises it turns the step to -d/2; the search
    // ends when a trial changes the sum by less than 1/10000 of it.
    void Search(int j, double& value, AdaptationOutcome& outcome) {
        double sum = SumWith(j);
        double d = value != 0 ? 0.02 * value : 0.02;
        for (int trial = 0;; ++trial) {
            if (trial == AdaptationTrialLimit) {
                ++outcome.cappedParameters;
                return;
            }
            const double kept = value;
            value = kept + d;
            const double tried = SumWith(j);
            ++outcome.trials;
            const double change = std::fabs(tried - sum);
            if (tried <= sum) {
                sum = tried;
            } else {
                value = kept;
                d = -d / 2;
            }
            if (change <= 1e-4 * sum)
                return;
        }
    }

    HarmonicModel& model_;
    int n_;
    std::vector<double> residual_, base_;
};

}  // namespace

AdaptationOutcome AdaptModel(HarmonicModel& model, const std::vector<double>& corrected,
                             bool skipRemoved, const std::function<bool(int, int)>& progress,
                             double workLimit) {
    AdaptationOutcome outcome;
    HarmonicSearch search(model, corrected);
    outcome.before = search.Sum();
    const int top = model.top();
    const double trialBudget = workLimit / static_cast<double>(corrected.size());
    for (int j = 1; j <= top; ++j) {
        if (progress && !progress(j - 1, top)) {
            outcome.stopped = true;
            break;
        }
        // A harmonic's three searches may take 3·AdaptationTrialLimit trials.
        if (outcome.trials + 3 * AdaptationTrialLimit > trialBudget) {
            outcome.exhausted = true;
            break;
        }
        if (skipRemoved && model.amplitude[j] == 0)
            continue;
        search.Tune(j, outcome);
    }
    outcome.after = search.Sum();
    return outcome;
}

// ---------------------------------------------------------------------------
// The final stage.

double FourierForecast::ErrorAt(int t) const {
    const double last = static_cast<double>(fitted.size()) - 1;  // N
    const double d = timeMean - t;
    return std::sqrt(s2 * (d * d / (last * timeVariance) + 1 / (last + 1) + 1));
}

FourierForecast ForecastOf(const HarmonicModel& model, const CorrectedSeries& corrected, int steps,
                           double t0, double dt, double alpha) {
    FourierForecast f;
    const std::vector<double>& x = corrected.values;
    const int n = static_cast<int>(x.size());
    const double last = n - 1;
    const std::vector<double> values = model.Values(0, n);
    for (int t = 0; t < n; ++t) {
        f.fitted.push_back(values[t] + corrected.correction.At(t));
        f.residual.push_back(x[t] - values[t]);
    }
    const RowMomentsResult r = MomentsOf(f.residual);
    f.residualMean = r.mean;
    f.residualSd = std::sqrt(r.variance);
    f.s2 = last * r.variance / (last - 1);
    f.timeMean = last / 2;
    f.timeVariance = static_cast<double>(n) * (n + 1) / 12;
    f.quantile = FisherQuantile(1, n - 1, alpha);
    // The lengthening's values are not times of the series: the forecast
    // goes on from the end of the lengthened period.
    const std::vector<double> ahead = model.Values(model.period, steps);
    for (int k = 1; k <= steps; ++k) {
        const int t = n - 1 + k;
        const double error = f.ErrorAt(t);
        f.steps.push_back(
            {t0 + dt * t, ahead[k - 1] + corrected.correction.At(t), error, f.quantile * error});
    }
    return f;
}

// ---------------------------------------------------------------------------
// The method.

namespace {

std::string Num(const Workspace& ws, double x) {
    return FormatNumber(x, ws.digits(), ws.decimalSeparator());
}

std::vector<double> Count(int from, int to) {
    std::vector<double> v;
    for (int k = from; k <= to; ++k)
        v.push_back(k);
    return v;
}

struct CorrectionAnswer {
    double threshold = 0;
    int trend = 0;
    bool ends = false;
};

std::optional<CorrectionAnswer> AskCorrection(Workspace& ws) {
    FormReader read(ws, CorrectionForm());
    if (!read.answered())
        return std::nullopt;
    CorrectionAnswer a;
    a.threshold = read.Number(0, JumpThresholdNotice);
    // No choice in the list counts as no trend.
    const std::string& trend = read.answer().values[1];
    a.trend = trend == "1" ? 1 : trend == "2" ? 2 : 0;
    a.ends = read.answer().values[2] == "1";
    if (!read.ok())
        return std::nullopt;
    return a;
}

std::optional<ModelParameters> AskParameters(Workspace& ws, int top, int lastIndex) {
    FormReader read(ws, ModelParametersForm());
    if (!read.answered())
        return std::nullopt;
    ModelParameters p;
    p.averagings = read.Integer(0, INT_MIN, INT_MAX, ModelIntegerNotice);
    p.low = read.Integer(1, INT_MIN, INT_MAX, ModelIntegerNotice);
    p.high = read.Integer(2, INT_MIN, INT_MAX, ModelIntegerNotice);
    p.threshold = read.Number(3, ModelNumberNotice);
    p.adaptation = read.answer().values[4] == "1";
    p.steps = read.Integer(5, INT_MIN, INT_MAX, ModelIntegerNotice);
    p.t0 = read.Number(6, ModelNumberNotice, -1e290, 1e290);
    p.dt = read.Number(7, ModelNumberNotice, -1e290, 1e290);
    if (!read.ok())
        return std::nullopt;
    return HeldParameters(p, top, lastIndex);
}

void DrawSpectrum(Workspace& ws, const HarmonicModel& model) {
    const double largest = model.largest();
    std::vector<double> percent(model.top() + 1, 0.0);
    // The constant term is no harmonic: it is left at 0.
    for (int j = 1; j <= model.top(); ++j)
        percent[j] = largest > 0 ? 100 * std::fabs(model.amplitude[j]) / largest : 0;
    GraphOrder(ws, GraphKind::Described)
        .Described(Count(0, model.top()), percent, 0, 0, "Амплитуда, %")
        .Title("Спектр модели")
        .Show();
}

void WriteParameters(Workspace& ws, const HarmonicModel& model, double dt) {
    WriteResult(ws, "     Параметры Фурье-модели");
    WriteResult(ws, "Амплитуда   Период     Фаза");
    for (int j = 0; j <= model.top(); ++j) {
        if (model.amplitude[j] == 0)
            continue;
        const double period = j == 0 ? 0 : dt * model.period / model.frequency[j];
        WriteResult(
            ws, Fields(ws, {model.amplitude[j], period, model.phase[j] * 180 / std::numbers::pi}));
    }
}

void FinalStage(Workspace& ws, const LoadedRow& row, const std::vector<double>& x,
                const CorrectedSeries& corrected, HarmonicModel& model, const ModelParameters& p,
                bool reduced) {
    WriteResult(ws, "");
    if (p.adaptation && reduced) {
        const std::string text = "Адаптация гармоник";
        const AdaptationOutcome adapted =
            AdaptModel(model, corrected.values, p.low > 0 || p.high > 0 || p.threshold > 0,
                       [&](int done, int total) { return ShowProgress(ws, text, done, total); });
        ShowProgress(ws, text, model.top(), model.top());
        if (adapted.stopped) {
            ShowNotice(ws, WorkStoppedNotice);
            return;
        }
        if (adapted.exhausted)
            ShowNotice(ws, AdaptationLimitNotice);
    }
    const FourierForecast f =
        ForecastOf(model, corrected, p.steps, p.t0, p.dt, ws.settings.SignificanceLevel);
    WriteParameters(ws, model, p.dt);
    WriteResult(ws, ModelResidualLine + Num(ws, f.residualSd));
    WriteResult(ws, "");
    const int n = static_cast<int>(x.size());
    if (AskYesNo(ws, ResidualAnalysisQuestion)) {
        WriteResult(ws, corrected.correction.any()
                            ? "Yэксп, Yмодл - исходный ряд (тренд и скачки включены в модель)"
                            : "Yэксп, Yмодл - исходный ряд");
        WriteResult(ws, ModelResidualHeading);
        const double s = std::sqrt(f.s2);
        for (int t = 0; t < n; ++t) {
            const double e = f.ErrorAt(t);
            WriteResult(ws, Fields(ws, {p.t0 + p.dt * t, x[t], f.fitted[t], f.residual[t],
                                        s > 0 ? (f.residual[t] - f.residualMean) / s : 0, e,
                                        f.quantile * e}));
        }
        WriteResult(ws, "");
        GraphOrder(ws, GraphKind::Described)
            .Described(Count(0, n - 1), f.residual, 0, 0, "Остатки")
            .Title("Остатки")
            .Show();
    }
    WriteResult(ws, ModelForecastHeading);
    std::vector<double> times, line, stepTimes, upper, lower;
    for (int t = 0; t < n; ++t) {
        times.push_back(p.t0 + p.dt * t);
        line.push_back(f.fitted[t]);
    }
    std::vector<double> seriesTimes = times;
    for (const FourierForecast::Step& s : f.steps) {
        WriteResult(ws, Fields(ws, {s.time, s.value, s.error, s.halfWidth}));
        times.push_back(s.time);
        line.push_back(s.value);
        stepTimes.push_back(s.time);
        upper.push_back(s.value + s.halfWidth);
        lower.push_back(s.value - s.halfWidth);
    }
    GraphOrder(ws, GraphKind::Described)
        .Described(times, line, 0, 0, "Модель")
        .Described(seriesTimes, x, 0, -2, row.name)
        .Described(stepTimes, upper, 1, 0, "Верх.граница")
        .Described(stepTimes, lower, 1, 0, "Ниж.граница")
        .Title("Фурье-прогноз")
        .Show();
}

}  // namespace

void FourierModel(Workspace& ws) {
    const LoadedRow row = LoadedRowOf(ws, 0);
    // A missing cell leaves the series instead of entering it as a number.
    std::vector<double> x;
    for (double v : row.values)
        if (v != MissingValue)
            x.push_back(v);
    if (x.size() < 8) {
        ShowNotice(ws, ShortModelSeriesNotice);
        return;
    }
    if (std::all_of(x.begin(), x.end(), [&](double v) { return v == x[0]; })) {
        ShowNotice(ws, ConstantModelSeriesNotice);
        return;
    }
    const std::optional<CorrectionAnswer> correction = AskCorrection(ws);
    if (!correction)
        return;
    const CorrectedSeries corrected =
        CorrectSeries(x, correction->threshold, correction->trend, correction->ends);
    if (corrected.singular) {
        ShowNotice(ws, RegressionSingularNotice);
        return;
    }
    const int n = static_cast<int>(x.size());
    if (corrected.correction.any())
        GraphOrder(ws, GraphKind::Described)
            .Described(Count(0, n - 1), corrected.values, 0, 0, row.name)
            .Title("Временной ряд без тренда и скачков")
            .Show();

    const std::vector<double> lengthened = Lengthen(corrected.values);
    HarmonicModel model = SpectrumOf(lengthened);
    const int lastIndex = model.period - 1;
    WriteResult(ws, "                    Переменная " + row.name);
    bool reduced = false;
    for (;;) {
        DrawSpectrum(ws, model);
        std::optional<ModelParameters> p = AskParameters(ws, model.top(), lastIndex);
        if (!p)
            return;
        // The method's rows hold the lengthened series and the forecast; the
        // store grows for a long series, and only when it cannot are the
        // steps cut.
        const long need = static_cast<long>(lastIndex) + p->steps + 2;
        const int room = static_cast<int>(ws.store.DataWidth()) - lastIndex - 1;
        if (need > ws.store.DataWidth() && !ws.store.EnsureDataCells(need * 7) && p->steps > room) {
            p->steps = std::max(room, 0);
            ShowNotice(ws, LongForecastNotice + std::to_string(p->steps));
        }
        if (p->averagings > 0 && AverageSpectrum(model, lengthened, p->averagings) > 0)
            reduced = true;
        if (RemoveHarmonics(model, *p))
            reduced = true;
        if (p->steps > 0) {
            FinalStage(ws, row, x, corrected, model, *p, reduced);
            return;
        }
        const std::vector<double> values = model.Values(0, n);
        double sum = 0;
        for (int t = 0; t < n; ++t)
            sum += (values[t] - corrected.values[t]) * (values[t] - corrected.values[t]);
        GraphOrder(ws, GraphKind::Described)
            .Described(Count(0, n - 1), values, 0, 0, "Модель")
            .Described(Count(0, n - 1), corrected.values, 0, 2, row.name)
            .Title("Фурье-модель процесса")
            .Show();
        WriteResult(ws, ModelResidualLine + Num(ws, std::sqrt(sum / (n - 1))));
        if (!AskYesNo(ws, ContinueRemovalQuestion))
            return;
    }
}

}  // namespace dalvex
