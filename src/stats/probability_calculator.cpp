#include "stats/probability_calculator.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/arithmetic_fault.h"
#include "core/number.h"
#include "core/settings.h"
#include "core/workspace.h"
#include "dispatch/method_kit.h"
#include "numeric/data_range.h"
#include "numeric/progression.h"

namespace dalvex {

namespace {

struct ParameterDialog {
    const char* title;
    std::array<const char*, 3> labels;
};

// Tqq278 by distribution index: the title and the labels of its three
// fields; a field without a label is hidden. The hypergeometric law asks
// for the sample and the population under one label.
const std::array<ParameterDialog, 13> ParameterDialogs = {{
    {"Биномиальное распределение:", {"Вероятн.успеха = ", "Число опытов N = ", ""}},
    {"Отриц.биномиальн.распред:", {"Вероятн.успеха = ", "Число успехов k =", ""}},
    {"Геометрическ.распределение:", {"Вероятн.успеха (0<P<1) = ", "", ""}},
    {"Гипергеомтрич.распределение:", {"Вероятн.успеха = ", "Размер выборки m и N = ", " "}},
    {"Распределение Пуассона:", {"Среднее число событий в дискрете dt = ", "", ""}},
    {"Нормальное распределение:", {"Среднее значение = ", "Ст.отклонение = ", ""}},
    {"Экспоненциал.распределение:", {"Среднее значение = ", "", ""}},
    {"Распределение Релея:", {"Масштаб = ", "", ""}},
    {"Распределение Вейбулла:", {"Масштаб = ", "Форма = ", ""}},
    {"Логистич. распределение:", {"Среднее значение = ", "Масштаб = ", ""}},
    {"Распредел.экстрем.значений:", {"Среднее значение = ", "Масштаб = ", ""}},
    {"Распределение Эрланга:", {"Масштаб = ", "Форма = ", ""}},
    {"Логнормальное распределение:", {"Среднее значение = ", "Ст.отклонение = ", ""}},
}};

const std::array<const char*, 3> ParameterDefaults = {"0.1", "1", "2"};
constexpr const char* ParameterMemory = "q278.ini";

bool OnPositiveHalfLine(ContinuousLaw law) {
    switch (law) {
        case ContinuousLaw::Exponential:
        case ContinuousLaw::Rayleigh:
        case ContinuousLaw::Weibull:
        case ContinuousLaw::Erlang:
        case ContinuousLaw::Lognormal:
            return true;
        default:
            return false;
    }
}

}  // namespace

std::string TableRowsNotice() {
    return "!ЧИСЛО ЗНАЧЕНИЙ ДОЛЖНО БЫТЬ ОТ 1 ДО " + std::to_string(CalculatorRowWidth) + "!";
}

FormDialog Tqq271Form() {
    FormDialog form;
    form.caption = "Функция вероятности распределения";
    const std::array<std::pair<const char*, const char*>, 5> discrete = {{
        {"&1=биномиальное   ", "n-успехов в N-опытах"},
        {"&2= -биномиальное ", "n-опытов до k успехов"},
        {"&3=геометрическое", "n-опытов до успеха"},
        {"&4=гипергеометр    ", "к-успехов в выборке m из N"},
        {"&5=Пуассона           ", "событ.на n*t при част=m в t"},
    }};
    const std::array<const char*, 8> continuous = {
        "&6=нормальное     ", "&7=экспоненц.     ", "&8=Релея          ", "&9=Вейбулла       ",
        "&A=логистическое  ", "&B=экстрем.знач.  ", "&C=Эрланга        ", "&D=логнормальное  ",
    };
    const std::array<const char*, 8> inverse = {
        "&E=нормальное     ", "&F=экспоненц.     ", "&G=Релея          ", "&H=Вейбулла       ",
        "&I=логистическое  ", "&J=экстрем.знач.  ", "&K=Эрланга        ", "&L=логнормальное  ",
    };
    int answer = 1;
    for (const auto& [text, note] : discrete)
        form.GroupButton("Дискретные", text, answer++, note);
    for (const char* text : continuous)
        form.GroupButton("Непрерывные", text, answer++);
    for (const char* text : inverse)
        form.GroupButton("Обратные", text, answer++);
    form.Button("Отменить", 0);
    return form;
}

FormDialog Tqq278Form(int index, const std::vector<std::string>& texts) {
    const ParameterDialog& dialog = ParameterDialogs.at(index);
    FormDialog form;
    form.caption = dialog.title;
    for (int i = 0; i < 3; ++i) {
        if (dialog.labels[i][0] == '\0')
            continue;
        const std::string label = dialog.labels[i][0] == ' ' ? "" : dialog.labels[i];
        form.Field(label, i < static_cast<int>(texts.size()) ? texts[i] : ParameterDefaults[i]);
    }
    form.Button("Утвердить", 1).Button("Отменить", 0);
    return form;
}

FormDialog Tqq270Form() {
    FormDialog form;
    form.caption = "Таблица распределения";
    form.Field("Значений функц.распред=", "10").Button("Утвердить", 1).Button("Отменить", 0);
    form.RememberIn("q270.ini");
    return form;
}

FormDialog Tqq289Form() {
    FormDialog form;
    form.caption = "Функция распределения";
    form.Field("X1 = ", "0.5").Field("X2 = ", "0").Button("Утвердить", 1).Button("Отменить", 0);
    return form;
}

FormDialog Tqq290Form() {
    FormDialog form;
    form.caption = "Обратная функция распределения";
    form.Field("Вероятность P = ", "0").Button("Утвердить", 1).Button("Отменить", 0);
    return form;
}

LawCurves ComputeLawCurves(ContinuousLaw law, double a, double b) {
    double lo = 0, hi = 0;
    switch (law) {
        case ContinuousLaw::Normal:
        case ContinuousLaw::Logistic:
            lo = a - 3 * b;
            hi = a + 3 * b;
            break;
        case ContinuousLaw::Exponential:
            hi = 4 * a;
            break;
        case ContinuousLaw::Rayleigh:
        case ContinuousLaw::Weibull:
            hi = 2 * a;
            break;
        case ContinuousLaw::ExtremeValue:
            lo = a - 3 * b;
            hi = a + 2 * b;
            break;
        default: {
            // Erlang and lognormal: up to the 99 % quantile, which holds the
            // body of the law whatever its scale.
            const LawQuantile q = QuantileOf(law, a, b, 0.99);
            hi = q.kind == LawQuantile::Finite ? q.x : 1;
            break;
        }
    }
    LawCurves curves;
    const double step = ProgressionStep(lo, hi, 51);
    // A scale near the double range's end leaves no finite range to draw.
    if (!std::isfinite(lo) || !std::isfinite(hi) || !std::isfinite(step))
        return {};
    for (int i = 0; i <= 51; ++i) {
        const double x = ProgressionTerm(lo, step, i);
        // A scale lost beside a far larger location leaves points that do
        // not differ: there is no curve to draw.
        if (i > 0 && !(x > curves.x[i - 1]))
            return {};
        curves.x.push_back(x);
        curves.cdf.push_back(LawCdf(law, a, b, x));
        if (i > 0) {
            curves.middle.push_back((x + curves.x[i - 1]) / 2);
            curves.density.push_back(
                CheckedDivide(curves.cdf[i] - curves.cdf[i - 1], std::fabs(x - curves.x[i - 1])));
        }
    }
    return curves;
}

BoundsFigures ComputeBounds(ContinuousLaw law, double a, double b, double x1, double x2) {
    if (x2 < x1)
        std::swap(x1, x2);
    if (OnPositiveHalfLine(law) && x1 < 0)
        x1 = 0;
    return {x1, x2, LawCdf(law, a, b, x1), LawCdf(law, a, b, x2)};
}

// ---------------------------------------------------------------------------
// The routine: dialogs, checks and report lines.

namespace {

std::string Number(Workspace& ws, double x) {
    if (std::isinf(x))
        return x > 0 ? "+беск." : "-беск.";
    return FormatNumber(x, ws.digits(), ws.decimalSeparator());
}

std::string Padded(Workspace& ws, double x) {
    return FormatPadded(x, ws.digits(), ws.decimalSeparator());
}

void WriteMoments(Workspace& ws, double mean, double variance) {
    WriteResult(ws, "Среднее=" + Number(ws, mean) + ", Дисперсия=" + Number(ws, variance) +
                        ", Ст.отклонение=" + Number(ws, std::sqrt(variance)));
}

bool Shown(int index, int field) {
    return ParameterDialogs[index].labels[field][0] != '\0';
}

// Tqq278 with its three texts kept in "q278.ini": the hidden fields keep
// theirs. The visible fields must be numbers; a hidden one keeps the number
// of its remembered text (0 when it is none).
// Returns false when cancelled or refused.
bool AskParameters(Workspace& ws, int index, std::vector<std::string>& texts,
                   std::array<double, 3>& values) {
    const std::string memory = ws.ProgramFolder + ParameterMemory;
    texts.assign(ParameterDefaults.begin(), ParameterDefaults.end());
    std::vector<std::string> remembered;
    if (ReadLinesFile(memory, remembered).ok)
        for (std::size_t i = 0; i < remembered.size() && i < 3; ++i)
            texts[i] = remembered[i];
    else
        ws.ui.Beep();
    FormReader read(ws, Tqq278Form(index, texts));
    if (read.button() != 1)
        return false;
    std::size_t next = 0;
    for (int i = 0; i < 3; ++i)
        if (Shown(index, i) && next < read.answer().values.size())
            texts[i] = read.answer().values[next++];
    if (!WriteLinesFile(memory, texts).ok)
        ws.ui.Beep();
    int field = 0;
    for (int i = 0; i < 3; ++i) {
        if (Shown(index, i)) {
            values[i] = read.Number(field++, ParameterNotANumberNotice);
        } else {
            const ParsedNumber hidden = ParseNumber(texts[i]);
            values[i] = hidden.ok() ? hidden.value : 0;
        }
    }
    return read.ok();
}

void DrawDiscrete(Workspace& ws, const DiscreteTable& table) {
    std::vector<double> r(table.probability.size());
    for (std::size_t i = 0; i < r.size(); ++i)
        r[i] = table.first + static_cast<double>(i);
    GraphOrder(ws, GraphKind::Described)
        .Described(r, table.cumulative, 0, 1)
        .Described(r, table.probability, 1, 1)
        .Title("Вероятности")
        .Show();
}

void DiscreteCalculator(Workspace& ws, DiscreteLaw law) {
    const int index = static_cast<int>(law) - 1;
    std::vector<std::string> texts;
    std::array<double, 3> values{};
    if (!AskParameters(ws, index, texts, values))
        return;
    DiscreteParameters params{values[0],
                              static_cast<int>(std::clamp(std::trunc(values[1]), -1e9, 1e9)),
                              static_cast<int>(std::clamp(std::trunc(values[2]), -1e9, 1e9))};

    FormReader rowsForm(ws, Tqq270Form());
    if (rowsForm.button() != 1)
        return;
    const int rows = rowsForm.Integer(0, 1, CalculatorRowWidth, TableRowsNotice());
    if (!rowsForm.ok())
        return;

    WriteResult(ws, DistributionName(index + 1) + " " + Number(ws, params.p) + ", " +
                        Number(ws, params.n) + ", " + Number(ws, params.m));
    if (const std::string problem = DiscreteParameterProblem(law, params); !problem.empty()) {
        ShowNotice(ws, problem);
        return;
    }
    const DiscreteTable table = ComputeDiscreteTable(law, params, rows);

    WriteResult(ws, "");
    WriteMoments(ws, table.mean, table.variance);
    WriteResult(ws, "");
    WriteResult(ws, DiscreteTableTitle);
    WriteResult(ws, DiscreteTableHeading);
    for (int i = 0; i < rows; ++i)
        WriteResult(ws, Padded(ws, table.first + i) + "  " + Padded(ws, table.probability[i]) +
                            "  " + Padded(ws, table.cumulative[i]));
    if (rows > 1)
        DrawDiscrete(ws, table);
}

void InverseLines(Workspace& ws, ContinuousLaw law, double a, double b) {
    for (;;) {
        const FormAnswer answer = ShowForm(ws, Tqq290Form());
        if (answer.button != 1)
            return;
        const ParsedNumber p = ParseNumber(answer.values.at(0));
        if (!p.ok()) {
            ShowNotice(ws, ParameterNotANumberNotice);
            continue;
        }
        if (p.value < 0 || p.value > 1) {
            ShowNotice(ws, ProbabilityRangeNotice);
            continue;
        }
        const LawQuantile q = QuantileOf(law, a, b, p.value);
        std::string x;
        switch (q.kind) {
            case LawQuantile::MinusInfinity:
                x = "-беск.";
                break;
            case LawQuantile::PlusInfinity:
                x = "+беск.";
                break;
            case LawQuantile::Finite:
                x = Padded(ws, q.x);
                break;
        }
        WriteResult(ws, "P=" + Padded(ws, p.value) + ", X=" + x);
    }
}

void BoundsLines(Workspace& ws, ContinuousLaw law, double a, double b) {
    WriteResult(ws, BoundsHeading);
    for (;;) {
        const FormAnswer answer = ShowForm(ws, Tqq289Form());
        if (answer.button != 1)
            return;
        const ParsedNumber x1 = ParseNumber(answer.values.at(0));
        const ParsedNumber x2 = ParseNumber(answer.values.at(1));
        if (!x1.ok() || !x2.ok()) {
            ShowNotice(ws, ParameterNotANumberNotice);
            continue;
        }
        const BoundsFigures f = ComputeBounds(law, a, b, x1.value, x2.value);
        WriteResult(ws, Fields(ws, {f.x1, f.x2, f.f1, f.f2, f.f2 - f.f1}));
    }
}

void DrawContinuous(Workspace& ws, const LawCurves& curves) {
    GraphOrder(ws, GraphKind::Described)
        .Described(curves.x, curves.cdf, 0, 0)
        .Title("Функция распределения вероятностей")
        .Show();
    GraphOrder(ws, GraphKind::Described)
        .Described(curves.middle, curves.density, 1, 0)
        .Title("Функция распределения плотности вероятностей")
        .Show();
}

void ContinuousCalculator(Workspace& ws, ContinuousLaw law, bool inverse) {
    const int index = static_cast<int>(law) + 4;
    std::vector<std::string> texts;
    std::array<double, 3> values{};
    if (!AskParameters(ws, index, texts, values))
        return;
    const double a = values[0];
    const double b = Shown(index, 1) ? values[1] : 0;

    std::string name = DistributionName(NameIndex(law)) + Number(ws, a);
    if (b != 0)
        name += "," + Number(ws, b);
    WriteResult(ws, name);
    if (const std::string problem = LawParameterProblem(law, a, b); !problem.empty()) {
        ShowNotice(ws, problem);
        return;
    }
    WriteResult(ws, "");
    const LawMoments moments = MomentsOf(law, a, b);
    WriteMoments(ws, moments.mean, moments.variance);

    if (inverse)
        InverseLines(ws, law, a, b);
    else
        BoundsLines(ws, law, a, b);
    const LawCurves curves = ComputeLawCurves(law, a, b);
    if (curves.x.empty()) {
        ShowNotice(ws, CurvesNotDrawnNotice);
        return;
    }
    DrawContinuous(ws, curves);
}

}  // namespace

void ProbabilityCalculator(Workspace& ws) {
    const int answer = FormReader(ws, Tqq271Form()).button();
    if (answer < 1 || answer > 21)
        return;
    if (answer <= 5) {
        DiscreteCalculator(ws, static_cast<DiscreteLaw>(answer));
        return;
    }
    const int type = answer - 5;
    const bool inverse = type > 8;
    ContinuousCalculator(ws, static_cast<ContinuousLaw>(inverse ? type % 9 + 1 : type), inverse);
}

}  // namespace dalvex
