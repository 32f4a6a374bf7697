#include "stats/smoothing.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <complex>

#include "core/arithmetic_fault.h"
#include "core/number.h"
#include "core/sheet_bridge.h"
#include "dispatch/loading.h"
#include "dispatch/method_kit.h"
#include "numeric/fourier.h"
#include "stats/simple_regression.h"

namespace dalvex {

namespace {

constexpr double RootThree = 1.7320508075688772;
constexpr double TwoPlusRootThree = 3.732050807568877;
constexpr const char* SmoothingGroup = "Сглаживание";
constexpr const char* FilterGroup = "Фильтрация";
constexpr const char* Backshift = "Оператор B: B(x[t])=x[t-1]";

struct ChoiceButton {
    const char* text;
    int answer;
    const char* formula;
};

constexpr ChoiceButton SmoothingButtons[] = {
    {"&1=линейное 3тчк    ", LinearThree, "(B-1+1+B)/3"},
    {"&2=линейное 5тчк    ", LinearFive, "(B^-2+B^-1+1+B+B^2)/5"},
    {"&3=квадратичное 5тчк", QuadraticFive, "(B^-2+2*B^-1+4+2*B+B^2)/10"},
    {"&4=экспоненциальное ", Exponential, "W*B+(1-W)*x[t],"},
    {"&5=робастное Хубера ", RobustHuber, ""},
};

constexpr ChoiceButton FilterButtons[] = {
    {"&6=дифференцирование ", Difference, "1-В"},
    {"&7=a-раз.дифференц   ", RepeatedDifference, "(1-В)^a"},
    {"&8=a-сезон.дифференц ", SeasonalDifference, " 1-В^a"},
    {"&9=интегрирование    ", Integration, " 1+В"},
    {"&A=2-интегрирование  ", SecondIntegration, "(1+В^2)/2"},
    {"&B=a-шаговое интегрир", MovingSum, "(1+...+В^a)/(a+1)"},
    {"&C=дифференц-интегрир", SecondOrderOne, "1-B+В^2"},
    {"&D=дифференц-интегрир", SecondOrderRootThree, "1-SQR(3)*B+В^2"},
    {"&E=интегрирование    ", SecondOrderSmoothing, "(1+SQR(3)*B+В^2)/(2+SQR(3))"},
    {"&F=Фурье", FourierBand, ""},
};

// The button's words without its key and padding: the legend's name of the
// result.
std::string ResultName(int answer) {
    auto name = [](const char* text) {
        std::string s = text;
        s = s.substr(s.find('=') + 1);
        while (!s.empty() && s.back() == ' ')
            s.pop_back();
        return s;
    };
    for (const ChoiceButton& b : SmoothingButtons)
        if (b.answer == answer)
            return name(b.text);
    for (const ChoiceButton& b : FilterButtons)
        if (b.answer == answer)
            return name(b.text);
    return {};
}

}  // namespace

FormDialog SmoothingChoiceForm() {
    FormDialog form;
    form.caption = SmoothingChoiceCaption;
    form.Group(SmoothingGroup)
        .Field("W=", "0.5", "Введите коэффициент сглаживания: (0<W<1, тренд при W->0) ");
    for (const ChoiceButton& b : SmoothingButtons)
        form.GroupButton(SmoothingGroup, b.text, b.answer, b.formula);
    form.Group(FilterGroup)
        .Field("a=", "2", Backshift)
        .Field("НЧ=", "8", "Нижняя частота полосы пропускания")
        .Field("ВЧ=", "10", "Верхняя частота полосы пропускания")
        .Field("dt=", "1", "Шаг времени между наблюдениями");
    for (const ChoiceButton& b : FilterButtons)
        form.GroupButton(FilterGroup, b.text, b.answer, b.formula);
    form.Button("Отменить", 0, Backshift).RememberIn(SmoothingChoiceMemory);
    return form;
}

int AskSmoothing(Workspace& ws, SmoothingOptions& options) {
    FormReader read(ws, SmoothingChoiceForm());
    if (!read.answered())
        return 0;
    options.answer = read.button();
    // Only the fields the chosen smoother reads can refuse it.
    switch (options.answer) {
        case Exponential:
            options.w = read.Number(0, SmoothingWeightNotice, 0, 1);
            break;
        case RepeatedDifference:
        case SeasonalDifference:
        case MovingSum:
            options.a = read.Integer(1, INT_MIN, INT_MAX, FilterStepNotice);
            break;
        case FourierBand:
            options.low = read.Number(2, BandLimitNotice);
            options.high = read.Number(3, BandLimitNotice);
            options.dt = read.Number(4, FilterTimeStepNotice, 1e-290, 1e290);
            break;
        default:
            break;
    }
    return read.ok() ? options.answer : 0;
}

int FilterOrder(int a, int count) {
    return a < 1 || a > count / 4.0 ? 2 : a;
}

int SmoothingMinimum(int answer, int a) {
    switch (answer) {
        case LinearThree:
        case QuadraticFive:
            return answer == LinearThree ? 3 : 4;
        case LinearFive:
            return 5;
        case Exponential:
            return 1;
        case Difference:
        case Integration:
            return 2;
        case RepeatedDifference:
        case SeasonalDifference:
        case MovingSum:
            return a + 1;
        default:
            return 3;
    }
}

namespace {

// Weights read from the start of the series, or mirrored from its end.
double EndValue(const std::vector<double>& x, std::initializer_list<double> weights, bool fromEnd) {
    const std::size_t last = x.size() - 1;
    double sum = 0;
    std::size_t i = 0;
    for (double w : weights) {
        sum += w * x[fromEnd ? last - i : i];
        ++i;
    }
    return sum;
}

std::vector<double> Differences(const std::vector<double>& x, std::size_t lag) {
    std::vector<double> y;
    for (std::size_t i = 0; i + lag < x.size(); ++i)
        y.push_back(x[i + lag] - x[i]);
    return y;
}

// y_j = c0·x_j + c1·x_{j+1} + c2·x_{j+2}.
std::vector<double> SecondOrder(const std::vector<double>& x, double c0, double c1, double c2,
                                double divisor) {
    std::vector<double> y;
    for (std::size_t j = 0; j + 2 < x.size(); ++j)
        y.push_back((c0 * x[j] + c1 * x[j + 1] + c2 * x[j + 2]) / divisor);
    return y;
}

}  // namespace

std::vector<double> SmoothSeries(const std::vector<double>& x, int answer, double w, int a) {
    const std::size_t n = x.size();
    std::vector<double> y;
    switch (answer) {
        case LinearThree:
            y.resize(n);
            for (std::size_t i = 1; i + 1 < n; ++i)
                y[i] = (x[i - 1] + x[i] + x[i + 1]) / 3;
            y[0] = EndValue(x, {7.0 / 9, 4.0 / 9, -2.0 / 9}, false);
            y[n - 1] = EndValue(x, {7.0 / 9, 4.0 / 9, -2.0 / 9}, true);
            break;
        case LinearFive:
            y.resize(n);
            for (std::size_t i = 2; i + 2 < n; ++i)
                y[i] = (x[i - 2] + x[i - 1] + x[i] + x[i + 1] + x[i + 2]) / 5;
            for (bool end : {false, true}) {
                y[end ? n - 1 : 0] = EndValue(x, {0.45, 0.36, 0.28, 0, -0.09}, end);
                y[end ? n - 2 : 1] = EndValue(x, {0.34, 0.29, 0.24, 0.19, -0.06}, end);
            }
            break;
        case QuadraticFive:
            y.resize(n);
            for (std::size_t i = 2; i + 2 < n; ++i)
                y[i] =
                    0.1 * x[i - 2] + 0.2 * x[i - 1] + 0.4 * x[i] + 0.2 * x[i + 1] + 0.1 * x[i + 2];
            for (bool end : {false, true}) {
                y[end ? n - 1 : 0] = EndValue(x, {0.7, 0.5, -0.1, -0.1}, end);
                y[end ? n - 2 : 1] = EndValue(x, {0.3, 0.5, 0.1, 0.1}, end);
            }
            break;
        case Exponential:
            y.resize(n);
            y[0] = x[0];
            for (std::size_t t = 1; t < n; ++t)
                y[t] = w * x[t] + (1 - w) * y[t - 1];
            break;
        case Difference:
            y = Differences(x, 1);
            break;
        case RepeatedDifference:
            y = x;
            for (int k = 0; k < a; ++k)
                y = Differences(y, 1);
            break;
        case SeasonalDifference:
            y = Differences(x, a);
            break;
        case Integration: {
            // The running sums of every value, the last one too.
            double sum = 0;
            for (double v : x)
                y.push_back(sum += v);
            break;
        }
        case SecondIntegration:
            for (std::size_t i = 0; i + 2 < n; ++i)
                y.push_back((x[i] + x[i + 2]) / 2);
            break;
        case MovingSum:
            for (std::size_t k = 0; k + a <= n; ++k) {
                double sum = 0;
                for (int i = 0; i < a; ++i)
                    sum += x[k + i];
                y.push_back(sum / a);
            }
            break;
        case SecondOrderOne:
            y = SecondOrder(x, 1, -1, 1, 1);
            break;
        case SecondOrderRootThree:
            y = SecondOrder(x, 1, -RootThree, 1, 1);
            break;
        case SecondOrderSmoothing:
            y = SecondOrder(x, 1, RootThree, 1, TwoPlusRootThree);
            break;
        default:
            return x;
    }
    if (y.empty())
        return y;
    y.resize(n, y.back());
    return y;
}

BandFilterFigures FourierBandFilter(const std::vector<double>& x, double low, double high,
                                    double dt) {
    BandFilterFigures f;
    const int n = static_cast<int>(x.size());
    const int k = n / 2;
    f.topHarmonic = k;
    f.frequencyStep = 1 / (n * dt);
    // Harmonic j lies at j / (n·dt): the band's harmonics, held within what
    // an int can say before they are compared with K.
    auto harmonic = [](double v) { return std::trunc(std::clamp(v, -2e9, 2e9)); };
    const double lo = harmonic(low * n * dt + 0.999);
    const double hi = harmonic(high * n * dt);
    f.firstAsked = static_cast<int>(lo);
    f.lastAsked = static_cast<int>(hi);
    if (hi < lo) {
        f.wrongBand = true;
        return f;
    }
    f.clamped = lo > k || hi > k;
    f.first = static_cast<int>(std::clamp(lo, 0.0, double(k)));
    f.last = static_cast<int>(std::clamp(hi, 0.0, double(k)));

    // One period, n values, in the analysis and in the synthesis: the
    // transform of the centred series keeps the constant term and the band's
    // harmonics (each with its mirror), and the inverse gives them back at
    // the same times. The mean comes back exactly, with its sign.
    double mean = 0;
    for (double v : x)
        mean += v;
    mean /= n;
    std::vector<std::complex<double>> spectrum(n);
    for (int i = 0; i < n; ++i)
        spectrum[i] = x[i] - mean;
    FourierTransform(spectrum);
    for (int j = 1; j <= k; ++j)
        if (j < f.first || j > f.last) {
            spectrum[j] = 0;
            spectrum[n - j] = 0;
        }
    FourierTransform(spectrum, true);
    for (int r = 0; r < n; ++r) {
        f.times.push_back(r * dt);
        f.values.push_back(mean + spectrum[r].real() / n);
    }
    return f;
}

std::string ClampedBandNotice(const BandFilterFigures& f) {
    return "!ПОЛОСА ПРОПУСКАНИЯ СУЖЕНА ДО ГАРМОНИК " + std::to_string(f.first) + " - " +
           std::to_string(f.last) + " (ВЫСШАЯ ГАРМОНИКА РЯДА " + std::to_string(f.topHarmonic) +
           ")!";
}

namespace {

void FilterRun(Workspace& ws, const LoadedRow& row, const SmoothingOptions& o) {
    WriteResult(ws, "               Переменные: " + row.name);
    if (row.count() < 16) {
        ShowNotice(ws, ShortFilterSeriesNotice);
        return;
    }
    const BandFilterFigures f = FourierBandFilter(row.values, o.low, o.high, o.dt);
    if (f.wrongBand) {
        ShowNotice(ws, WrongBandNotice);
        return;
    }
    if (f.clamped)
        ShowNotice(ws, ClampedBandNotice(f));
    GraphOrder(ws)
        .Series(f.times, row.values, SeriesStyle::Markers, row.name)
        .Series(f.times, f.values, SeriesStyle::Line, "Фурье")
        .Title("Фильтрация " + row.name)
        .Show();
}

}  // namespace

void SmoothSeriesMethod(Workspace& ws, const SmoothingOptions& o) {
    if (o.answer == RobustHuber) {
        // The dispatcher laid the observation numbers into row 0 and the
        // series into row 1.
        SmoothPair(ws, LoadedRowOf(ws, 0), LoadedRowOf(ws, 1));
        return;
    }
    const LoadedRow row = LoadedRowOf(ws, 0);
    if (o.answer == FourierBand) {
        FilterRun(ws, row, o);
        return;
    }
    const int a = FilterOrder(o.a, row.count());
    if (row.count() < SmoothingMinimum(o.answer, a)) {
        ShowNotice(ws, TooFewValuesNotice);
        return;
    }
    const std::vector<double> y = SmoothSeries(row.values, o.answer, o.w, a);
    std::vector<double> index(row.values.size());
    for (std::size_t i = 0; i < index.size(); ++i)
        index[i] = static_cast<double>(i);
    GraphOrder(ws, GraphKind::Described)
        .Described(index, row.values, 0, -2, row.name)
        .Described(index, y, 0, 0, ResultName(o.answer))
        .Title("Сглаживание")
        .Show();
}

}  // namespace dalvex
