#include "stats/time_series_correlation.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/number.h"
#include "core/sheet_bridge.h"
#include "core/text.h"
#include "dispatch/loading.h"
#include "dispatch/method_kit.h"
#include "numeric/autocorrelation.h"
#include "numeric/distributions.h"
#include "stats/time_series_dialogs.h"

namespace dalvex {

std::string ConstantSeriesNotice(const std::string& name) {
    return "!ПЕРЕМЕННАЯ " + name + " ПОСТОЯННА - КОРРЕЛЯЦИЯ НЕ ОПРЕДЕЛЕНА!";
}

std::string ConstantFragmentNotice(const std::string& name) {
    return "!ФРАГМЕНТ ПЕРЕМЕННОЙ " + name + " ПОСТОЯНЕН - КОРРЕЛЯЦИЯ НЕ ОПРЕДЕЛЕНА!";
}

std::string ConstantWindowsNotice(int count) {
    return "!ПОСТОЯННЫХ ФРАГМЕНТОВ Y: " + std::to_string(count) +
           " - ИХ КОРРЕЛЯЦИЯ ПРИНЯТА РАВНОЙ 0!";
}

FormDialog CorrelationForm(const std::vector<std::string>& remembered) {
    FormDialog form;
    form.caption = CorrelationCaption;
    form.Field("Размерность вр.шага=", "1", "Время между соседними наблюдениями")
        .Field("Длина фрагмента=", "10",
               "Длина скользящего фрагмента; 0 - функция корреляции по сдвигам")
        .Field("Сдвиг фрагмента=", "0", "Начало фрагмента X")
        .Check("Номинальный", false, "Сравнивать тексты ячеек (номинальные данные)")
        .Button("Утвердить", 1)
        .Button("Отменить", 0);
    form.SetValues(remembered);
    return form;
}

double CriticalCorrelation(int pairs, double alpha) {
    const int df = pairs - 2;
    const double t = FisherQuantile(1, df, alpha);
    return std::sqrt(t * t / (t * t + df));
}

std::optional<CorrelationCurve> LagCorrelationFunction(const std::vector<double>& x,
                                                       const std::vector<double>& y, int shift,
                                                       double step, double alpha) {
    // X moved left by the shift: X_s .. X_N against Y_0 .. Y_{N-s}.
    const int n = static_cast<int>(x.size()) - shift;
    const std::vector<double> xs(x.begin() + shift, x.end());
    const std::vector<double> ys(y.begin(), y.begin() + n);
    const int last = n - 1;
    const int lastLag = last - 8;
    const auto r = LagCorrelations(xs, ys, lastLag);
    if (!r)
        return std::nullopt;
    CorrelationCurve curve;
    curve.values = *r;
    for (int k = 0; k <= lastLag; ++k) {
        curve.abscissae.push_back((k - shift) * step);
        // Lag k pairs n - k values.
        curve.criticals.push_back(CriticalCorrelation(n - k, alpha));
    }
    return curve;
}

namespace {

// The values divided by a power of two near the largest: correlations do
// not depend on the scale, and values near 1e300 square without overflow.
std::vector<double> Scaled(std::vector<double> v) {
    double largest = 0;
    for (double a : v)
        largest = std::max(largest, std::fabs(a));
    if (largest > 0) {
        const int exponent = std::ilogb(largest);
        for (double& a : v)
            a = std::scalbn(a, -exponent);
    }
    return v;
}

}  // namespace

std::optional<CorrelationCurve> FragmentCorrelationFunction(const std::vector<double>& x,
                                                            const std::vector<double>& y,
                                                            int length, int shift, double step,
                                                            double alpha) {
    const int count = static_cast<int>(y.size());
    // After missing cells left the series, the fragment still lies inside it.
    shift = std::clamp(shift, 0, static_cast<int>(x.size()) - length);
    std::vector<double> fragment =
        Scaled(std::vector<double>(x.begin() + shift, x.begin() + shift + length));
    const auto [low, high] = std::minmax_element(fragment.begin(), fragment.end());
    if (*low == *high)
        return std::nullopt;
    double mean = 0;
    for (double v : fragment)
        mean += v;
    mean /= length;
    double sxx = 0;
    for (double& v : fragment) {
        v -= mean;
        sxx += v * v;
    }
    const std::vector<double> ys = Scaled(y);
    // runEnd[i]: the last index of the run of values equal to ys[i].
    std::vector<int> runEnd(count);
    for (int i = count - 1; i >= 0; --i)
        runEnd[i] = i + 1 < count && ys[i + 1] == ys[i] ? runEnd[i + 1] : i;

    CorrelationCurve curve;
    curve.critical = CriticalCorrelation(length, alpha);
    for (int i = 0; i + length <= count; ++i) {
        curve.abscissae.push_back((i - shift) * step);
        if (runEnd[i] >= i + length - 1) {
            ++curve.constantWindows;
            curve.values.push_back(0);
            continue;
        }
        const double* w = ys.data() + i;
        double m = 0;
        for (int j = 0; j < length; ++j)
            m += w[j];
        m /= length;
        double syy = 0, sxy = 0;
        for (int j = 0; j < length; ++j) {
            const double d = w[j] - m;
            syy += d * d;
            sxy += d * fragment[j];
        }
        curve.values.push_back(std::clamp(sxy / (std::sqrt(sxx) * std::sqrt(syy)), -1.0, 1.0));
    }
    return curve;
}

CorrelationCurve NominalCorrelationFunction(const std::vector<std::string>& x,
                                            const std::vector<std::string>& y, int length,
                                            int shift, double step, double alpha) {
    const int count = static_cast<int>(y.size());
    shift = std::clamp(shift, 0, static_cast<int>(x.size()) - length);
    CorrelationCurve curve;
    curve.critical = CriticalCorrelation(length, alpha);
    for (int i = 0; i + length <= count; ++i) {
        int equal = 0;
        for (int j = 0; j < length; ++j)
            equal += x[shift + j] == y[i + j];
        curve.abscissae.push_back((i - shift) * step);
        curve.values.push_back(static_cast<double>(equal) / length);
    }
    return curve;
}

namespace {

struct CorrelationOptions {
    double step = 1;
    int length = 10;
    int shift = 0;
    bool nominal = false;
};

// The form's fields as the dialog's OK button takes them. Empty length and
// shift fields count 0; a length of 1 .. 3 leaves no degrees of freedom for
// the critical value and is refused.
std::optional<CorrelationOptions> AskCorrelationOptions(Workspace& ws, TimeSeriesMemory& memory) {
    FormReader read(ws, CorrelationForm(memory.fields));
    if (!read.answered())
        return std::nullopt;
    CorrelationOptions options;
    options.step = read.Number(0, StepNotNumberNotice, -1e290, 1e290);
    const int length = IntegerOrZero(read, 1, LengthNotNumberNotice);
    if (read.ok() && length >= 1 && length <= 3)
        read.Refuse(1, ShortFragmentNotice);
    const int shift = IntegerOrZero(read, 2, ShiftNotNumberNotice);
    options.nominal = read.Choice(3, 2, NominalNotice) == 1;
    if (!read.ok())
        return std::nullopt;
    memory.fields = read.answer().values;
    if (options.step == 0)
        options.step = 1;
    // The shift leaves at least 8 values of X after the fragment.
    const int columnLength = ws.sheet.ColumnLength(ws.SelectedColumns[1]);
    if (length > 0) {
        options.length = length;
        const int most = columnLength - length - 8;
        options.shift = most < 0 ? 0 : std::clamp(shift, 0, most);
    } else {
        options.length = columnLength;
        options.shift = 0;
    }
    return options;
}

std::vector<std::string> CellTexts(const Workspace& ws, int col) {
    std::vector<std::string> texts;
    for (int row = 1; row <= ws.sheet.ColumnLength(col); ++row)
        texts.push_back(ws.sheet.Cell(col, row));
    return texts;
}

void WriteHeader(Workspace& ws, const std::string& x, const std::string& y) {
    WriteResult(ws, " ");
    WriteResult(ws, "               Переменные: " + x + ", " + y);
}

void DrawCorrelation(Workspace& ws, const CorrelationCurve& curve) {
    GraphOrder(ws).Series(curve.abscissae, curve.values).Title("Корреляция").Show();
}

}  // namespace

void CorrelationFunction(Workspace& ws) {
    TimeSeriesMemory memory = ReadTimeSeriesMemory(ws, CorrelationMemory, 4);
    if (ChooseTimeSeries(ws, CorrelationCaption, memory, false) == 0)
        return;
    const int xcol = ws.SelectedColumns[1];
    const int ycol = ws.SelectedColumns[0] > 1 ? ws.SelectedColumns[2] : xcol;
    const std::optional<CorrelationOptions> options = AskCorrelationOptions(ws, memory);
    if (!options)
        return;
    WriteTimeSeriesMemory(ws, CorrelationMemory, memory);
    const std::string xname = VariableName(ws, xcol - 1);
    const std::string yname = VariableName(ws, ycol - 1);
    const double alpha = ws.settings.SignificanceLevel;

    // Categories are compared as the sheet holds them: no numbers loaded.
    if (options->nominal && options->length < ws.sheet.ColumnLength(ycol)) {
        WriteHeader(ws, xname, yname);
        const std::vector<std::string> x = CellTexts(ws, xcol);
        const std::vector<std::string> y = CellTexts(ws, ycol);
        // X's column must hold the whole fragment.
        if (y.size() < 16 || static_cast<int>(x.size()) < options->length) {
            ShowNotice(ws, TooLittleDataNotice);
            return;
        }
        const CorrelationCurve curve =
            NominalCorrelationFunction(x, y, options->length, options->shift, options->step, alpha);
        WriteResult(ws, "         Критическое значение=" +
                            FormatNumber(curve.critical, ws.digits(), ws.decimalSeparator()));
        DrawCorrelation(ws, curve);
        return;
    }

    FitDataRows(ws, 2, std::max(ws.sheet.ColumnLength(xcol), ws.sheet.ColumnLength(ycol)));
    if (ycol != xcol) {
        LoadPair(ws, xcol, ycol, 1);
    } else {
        LoadVariable(ws, 1, xcol);
        ws.VarLength[0] = 0;
        RemoveMissing(ws, Missing::PerRow);
        ws.VarLength[2] = ws.VarLength[1];
    }
    const int last = std::min(ws.VarLength[1], ws.VarLength[2]);
    std::vector<double> x(last + 1), y(last + 1);
    for (int i = 0; i <= last; ++i) {
        x[i] = ws.store.Data(0, i);
        y[i] = ycol != xcol ? ws.store.Data(1, i) : x[i];
    }
    WriteHeader(ws, xname, yname);
    if (last < 15) {
        ShowNotice(ws, TooLittleDataNotice);
        return;
    }

    if (options->length < last + 1) {
        const auto curve = FragmentCorrelationFunction(x, y, options->length, options->shift,
                                                       options->step, alpha);
        if (!curve) {
            ShowNotice(ws, ConstantFragmentNotice(xname));
            return;
        }
        WriteResult(ws, "         Критическое значение=" +
                            FormatNumber(curve->critical, ws.digits(), ws.decimalSeparator()));
        if (curve->constantWindows > 0)
            ShowNotice(ws, ConstantWindowsNotice(curve->constantWindows));
        DrawCorrelation(ws, *curve);
        return;
    }

    // A shift that leaves fewer than 16 pairs is dropped.
    const int shift = last - options->shift < 15 ? 0 : options->shift;
    const auto curve = LagCorrelationFunction(x, y, shift, options->step, alpha);
    if (!curve) {
        const auto [low, high] = std::minmax_element(x.begin() + shift, x.end());
        ShowNotice(ws, ConstantSeriesNotice(*low == *high ? xname : yname));
        return;
    }
    WriteResult(ws, LagHeading);
    for (std::size_t k = 0; k < curve->values.size(); ++k)
        WriteResult(ws, Fields(ws, {curve->abscissae[k], curve->values[k], curve->criticals[k]}));
    DrawCorrelation(ws, *curve);
}

}  // namespace dalvex
