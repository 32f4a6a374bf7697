#include "stats/spectral_analysis.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

#include "core/sheet_bridge.h"
#include "dispatch/loading.h"
#include "dispatch/method_kit.h"
#include "numeric/basic.h"
#include "numeric/fourier.h"
#include "stats/time_series_correlation.h"
#include "stats/time_series_dialogs.h"

namespace dalvex {

namespace {

constexpr double DegreesPerRadian = 57.29577951308232;

// The cosine-sum windows by their published coefficients a_0, a_1, ...:
// w(n) = a_0 - a_1 cos(2πn/M) + a_2 cos(4πn/M) - ..., n = 0 .. M. Hann,
// Hamming and Blackman; then Harris's three-term (-61 dB) and four-term
// (-74 dB, -92 dB) Blackman-Harris windows.
const std::vector<double> CosineSums[] = {
    {1},
    {0.5, 0.5},
    {0.54, 0.46},
    {0.42, 0.5, 0.08},
    {0.44959, 0.49364, 0.05677},
    {0.40217, 0.49703, 0.09392, 0.00183},
    {0.35875, 0.48829, 0.14128, 0.01168},
};

struct KaiserParameters {
    double alpha, scale;
};
// α and the scale g (about I0(πα)) of the four Kaiser windows.
constexpr KaiserParameters Kaiser[] = {{2, 87}, {2.5, 373}, {3, 1633}, {3.5, 7257}};

}  // namespace

FormDialog SpectralForm(const std::vector<std::string>& remembered) {
    FormDialog form;
    form.caption = SpectralCaption;
    form.Field("Вр.шаг=", "1", "Время между соседними наблюдениями")
        .Field("Длина=", "10", "Длина отрезка ряда; 0 - весь ряд")
        .Field("Сдвиг=", "0", "Шаг между началами отрезков; 0 - один отрезок")
        .Choice("Окно", {WindowItems.begin(), WindowItems.end()}, 0, "Весовое окно отрезка")
        .Choice("Усреднение", {AveragingItems.begin(), AveragingItems.end()}, 0,
                "Усреднение спектров отрезков")
        .Button("Утвердить", 1)
        .Button("Отменить", 0);
    form.SetValues(remembered);
    return form;
}

FormDialog GraphChoiceForm(bool twoSeries) {
    // The characteristics stand one a line with what each one is.
    constexpr const char* group = "Характеристика";
    FormDialog form;
    form.caption = GraphChoiceCaption;
    form.GroupButton(group, " &1=АЧХ", 1, "амплитудный спектр")
        .GroupButton(group, " &2=ФЧХ", 2, "фазовый спектр, градусы");
    form.GroupButton(group, " &3=Когерентность", 3, "от 0 до 1")
        .GroupButton(group, " &4=Передат.функ.1", 4, "взаимный спектр / амплитуда Y")
        .GroupButton(group, " &5=Передат.функ.2", 5, "взаимный спектр / амплитуда X")
        .GroupButton(group, " &6=Действит.часть", 6, "амплитуда × cos фазы")
        .GroupButton(group, " &7=Мнимая часть", 7, "амплитуда × sin фазы")
        .Button("<Esc>=Отменить", 0);
    if (!twoSeries)
        form.Disable(3).Disable(4).Disable(5);
    return form;
}

double BesselI0(double x) {
    double term = 1, sum = 1;
    for (int k = 1; term >= 0.001; ++k) {
        const double factor = x / 2 / k;
        term *= factor * factor;
        sum += term;
    }
    return sum;
}

std::vector<double> TaperingWindow(int window, int count) {
    std::vector<double> w(count, 1.0);
    const double m = count - 1;
    if (window >= 1 && window <= 6) {
        const std::vector<double>& a = CosineSums[window];
        for (int n = 0; n < count; ++n) {
            double sum = 0;
            for (std::size_t k = 0; k < a.size(); ++k)
                sum += (k % 2 == 0 ? 1 : -1) * a[k] * std::cos(2 * std::numbers::pi * k * n / m);
            w[n] = sum;
        }
    } else if (window >= 7 && window <= 10) {
        const KaiserParameters p = Kaiser[window - 7];
        for (int i = 0; i < count / 2; ++i) {
            const double u = (m - 2 * i) / m;
            w[i] = w[count - 1 - i] =
                BesselI0(std::numbers::pi * p.alpha * std::sqrt(1 - u * u)) / p.scale;
        }
    }
    return w;
}

SegmentPlan PlanSegments(int lastIndex, int length, int shift) {
    const int n = lastIndex;
    int m = length - 1;
    int s = shift;
    if (m <= 0)
        m = n;
    if (s <= 0)
        s = n;
    if (m > n || m < 7)
        m = n;
    if (s > m && 2 * m < n)
        s = 0;
    SegmentPlan plan;
    plan.harmonics = (m + 1) / 2;
    m = 2 * plan.harmonics - 1;
    plan.step = s;
    int o = 0;
    do {
        plan.offsets.push_back(o);
        o += s;
    } while (s != 0 && o + m <= n);
    return plan;
}

namespace {

struct Coefficients {
    std::vector<double> a, b;
};

// a_j = (1/K) Σ z_n cos(njπ/K), b_j = (1/K) Σ z_n sin(njπ/K) of the tapered
// segment z, a_0 halved (the segment's weighted mean). The segment is
// centred first and its mean brought back through the window's own
// transform, so a large offset costs no digits of the rest.
class HarmonicCoefficients {
  public:
    HarmonicCoefficients(std::vector<double> window, int harmonics)
        : window_(std::move(window)), k_(harmonics) {
        const HarmonicSums w = HarmonicSumsOf(window_, k_);
        windowCos_ = w.cosines;
        windowSin_ = w.sines;
        // Without a window the mean has no share in any harmonic but the
        // first: exactly 0 there, so a constant series has only its mean.
        if (std::all_of(window_.begin(), window_.end(), [](double v) { return v == 1; })) {
            std::fill(windowCos_.begin() + 1, windowCos_.end(), 0.0);
            std::fill(windowSin_.begin(), windowSin_.end(), 0.0);
        }
    }

    Coefficients Of(const std::vector<double>& x, int offset) const {
        const int count = 2 * k_;
        double mean = 0;
        for (int n = 0; n < count; ++n)
            mean += x[offset + n];
        mean /= count;
        std::vector<double> z(count);
        for (int n = 0; n < count; ++n)
            z[n] = (x[offset + n] - mean) * window_[n];
        const HarmonicSums sums = HarmonicSumsOf(z, k_);
        Coefficients c{std::vector<double>(k_ + 1), std::vector<double>(k_ + 1)};
        for (int j = 0; j <= k_; ++j) {
            c.a[j] = (sums.cosines[j] + mean * windowCos_[j]) / k_;
            c.b[j] = (sums.sines[j] + mean * windowSin_[j]) / k_;
        }
        c.a[0] /= 2;
        return c;
    }

  private:
    std::vector<double> window_;
    int k_;
    std::vector<double> windowCos_, windowSin_;
};

// One averaged characteristic: the first segment's value, then each later
// one by the averaging chosen.
class Accumulator {
  public:
    Accumulator(int size, Averaging averaging) : values_(size), averaging_(averaging) {}

    void Add(int j, double value, int segment) {
        double& old = values_[j];
        if (segment == 0) {
            old = value;
            return;
        }
        switch (averaging_) {
            case Averaging::None:
                old = value;
                break;
            case Averaging::Linear:
                // The running mean of the segments so far.
                old = (old * segment + value) / (segment + 1);
                break;
            case Averaging::Exponential:
                old = (old + value) / 2;
                break;
            case Averaging::Peak:
                if (value > std::fabs(old))
                    old = value;
                break;
        }
    }
    const std::vector<double>& values() const { return values_; }

  private:
    std::vector<double> values_;
    Averaging averaging_;
};

}  // namespace

SpectrumFigures ComputeSpectrum(const std::vector<double>& x, const std::vector<double>& y,
                                bool twoSeries, int window, Averaging averaging, int length,
                                int shift, double step,
                                const std::function<bool(int, int)>& progress) {
    const SegmentPlan plan = PlanSegments(static_cast<int>(x.size()) - 1, length, shift);
    const int total = static_cast<int>(plan.offsets.size());
    // About a hundred reports over the whole work, each segment's cost alike.
    const int every = std::max(1, total / 100);
    const int k = plan.harmonics;
    const HarmonicCoefficients harmonics(TaperingWindow(window, 2 * k), k);
    // One series: amplitude, phase. Two: A_Y², A_X², R, I.
    std::vector<Accumulator> rows(4, Accumulator(k + 1, averaging));
    int segment = 0;
    for (int offset : plan.offsets) {
        if (progress && segment % every == 0 && !progress(segment, total)) {
            SpectrumFigures stopped;
            stopped.stopped = true;
            return stopped;
        }
        const Coefficients cx = harmonics.Of(x, offset);
        if (!twoSeries) {
            for (int j = 0; j <= k; ++j) {
                rows[0].Add(j, std::hypot(cx.a[j], cx.b[j]), segment);
                rows[1].Add(j, Angle(cx.a[j], -cx.b[j]) * DegreesPerRadian, segment);
            }
        } else {
            const Coefficients cy = harmonics.Of(y, offset);
            for (int j = 0; j <= k; ++j) {
                // The powers are averaged, so that the coherence of averaged
                // segments stays within 0 .. 1 (Cauchy-Schwarz) and is 1 for
                // series in an exact linear relation.
                rows[0].Add(j, cy.a[j] * cy.a[j] + cy.b[j] * cy.b[j], segment);
                rows[1].Add(j, cx.a[j] * cx.a[j] + cx.b[j] * cx.b[j], segment);
                rows[2].Add(j, cx.a[j] * cy.a[j] + cx.b[j] * cy.b[j], segment);
                rows[3].Add(j, cy.a[j] * cx.b[j] - cx.a[j] * cy.b[j], segment);
            }
        }
        ++segment;
    }

    SpectrumFigures s;
    s.twoSeries = twoSeries;
    s.segments = segment;
    for (int j = 0; j <= k; ++j)
        s.frequencies.push_back(j / (2 * k * step));
    if (!twoSeries) {
        s.amplitude = rows[0].values();
        s.phase = rows[1].values();
        return s;
    }
    for (int j = 0; j <= k; ++j) {
        s.amplitudeY.push_back(std::sqrt(rows[0].values()[j]));
        s.amplitudeX.push_back(std::sqrt(rows[1].values()[j]));
    }
    for (int j = 0; j <= k; ++j) {
        const double r = rows[2].values()[j], i = rows[3].values()[j];
        const double c = std::hypot(r, i);
        s.amplitude.push_back(c);
        s.phase.push_back(Angle(r, -i) * DegreesPerRadian);
        const double ay = s.amplitudeY[j], ax = s.amplitudeX[j];
        s.coherence.push_back(ay != 0 && ax != 0 ? c / (ay * ax) : 0);
    }
    return s;
}

std::vector<double> Characteristic(const SpectrumFigures& s, int choice) {
    std::vector<double> v = s.amplitude;
    const std::size_t count = v.size();
    switch (choice) {
        case 1:
            v[0] = 0;  // the mean is not plotted
            break;
        case 2:
            v = s.phase;
            break;
        case 3:
            if (s.twoSeries)
                v = s.coherence;
            break;
        case 4:
        case 5:
            if (s.twoSeries)
                for (std::size_t j = 0; j < count; ++j)
                    v[j] = s.coherence[j] * (choice == 4 ? s.amplitudeX[j] : s.amplitudeY[j]);
            break;
        case 6:
        case 7:
            v[0] = 0;
            for (std::size_t j = 1; j < count; ++j) {
                const double angle = s.phase[j] * std::numbers::pi / 180;
                v[j] *= choice == 6 ? std::cos(angle) : std::sin(angle);
            }
            break;
        default:
            break;
    }
    return v;
}

std::string CharacteristicCaption(int choice) {
    static const char* const captions[] = {"Амплитуда ",     "Фаза ",          "Когерентность ",
                                           "Частот.х-ка 1 ", "Частот.х-ка 2 ", "Действ.часть ",
                                           "Мнимая часть "};
    return choice >= 1 && choice <= 7 ? captions[choice - 1] : "";
}

namespace {

struct SpectralOptions {
    double step = 1;
    int length = 10;
    int shift = 0;
    int window = 0;
    Averaging averaging = Averaging::None;
};

std::optional<SpectralOptions> AskSpectralOptions(Workspace& ws, TimeSeriesMemory& memory) {
    FormReader read(ws, SpectralForm(memory.fields));
    if (!read.answered())
        return std::nullopt;
    SpectralOptions options;
    // Frequencies are j / (2K·Δ): a step of 0 or below has none, and one
    // near the ends of the double range gives none that can be written.
    options.step = read.Number(0, SpectralStepNotice, 1e-290, 1e290);
    options.length = IntegerOrZero(read, 1, SegmentLengthNotice);
    options.shift = IntegerOrZero(read, 2, SegmentShiftNotice);
    options.window = read.Choice(3, static_cast<int>(WindowItems.size()), NoSuchWindowNotice);
    options.averaging = static_cast<Averaging>(
        read.Choice(4, static_cast<int>(AveragingItems.size()), NoSuchAveragingNotice));
    if (!read.ok())
        return std::nullopt;
    memory.fields = read.answer().values;
    return options;
}

}  // namespace

void SpectralAnalysis(Workspace& ws) {
    TimeSeriesMemory memory = ReadTimeSeriesMemory(ws, SpectralMemory, 5);
    if (ChooseTimeSeries(ws, SpectralCaption, memory, true) == 0)
        return;
    const bool twoSeries = ws.SelectedColumns[0] > 1;
    const int xcol = ws.SelectedColumns[1];
    const int ycol = twoSeries ? ws.SelectedColumns[2] : xcol;
    const std::optional<SpectralOptions> options = AskSpectralOptions(ws, memory);
    if (!options)
        return;
    WriteTimeSeriesMemory(ws, SpectralMemory, memory);

    FitDataRows(ws, 4, std::max(ws.sheet.ColumnLength(xcol), ws.sheet.ColumnLength(ycol)));
    if (twoSeries) {
        LoadPair(ws, xcol, ycol, 1);
    } else {
        // A missing cell leaves the series instead of entering it as a number.
        LoadVariable(ws, 1, xcol);
        ws.VarLength[0] = 0;
        RemoveMissing(ws, Missing::PerRow);
        ws.VarLength[2] = ws.VarLength[1];
    }
    const int last = std::min(ws.VarLength[1], ws.VarLength[2]);
    std::vector<double> x(last + 1), y(twoSeries ? last + 1 : 0);
    for (int i = 0; i <= last; ++i) {
        x[i] = ws.store.Data(0, i);
        if (twoSeries)
            y[i] = ws.store.Data(1, i);
    }
    const std::string xname = VariableName(ws, xcol - 1);
    const std::string yname = VariableName(ws, ycol - 1);
    WriteResult(ws, " ");
    WriteResult(ws, "               Переменные: " + xname + ", " + yname);
    if (last < 15) {
        ShowNotice(ws, TooLittleDataNotice);
        return;
    }
    // Segments taken at every value of a long series are seconds of work.
    const std::string text = "Спектры отрезков";
    int lastTotal = 0;
    const SpectrumFigures spectrum =
        ComputeSpectrum(x, y, twoSeries, options->window, options->averaging, options->length,
                        options->shift, options->step, [&](int done, int total) {
                            lastTotal = total;
                            return ShowProgress(ws, text, done, total);
                        });
    ShowProgress(ws, text, lastTotal, lastTotal);
    if (spectrum.stopped) {
        ShowNotice(ws, WorkStoppedNotice);
        return;
    }

    const std::string names = twoSeries ? xname + " " + yname : xname;
    for (;;) {
        const int choice = ShowForm(ws, GraphChoiceForm(twoSeries)).button;
        if (choice <= 0 || choice > 7)
            return;
        GraphOrder(ws)
            .Series(spectrum.frequencies, Characteristic(spectrum, choice))
            .Title(CharacteristicCaption(choice) + names)
            .Show();
    }
}

}  // namespace dalvex
