#include "stats/discriminant.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/data_store.h"
#include "core/number.h"
#include "core/text.h"
#include "core/workspace.h"
#include "dispatch/loading.h"
#include "dispatch/method_kit.h"
#include "numeric/distributions.h"
#include "numeric/inversion.h"
#include "stats/correlation_matrix.h"

namespace dalvex {

std::vector<std::vector<int>> CollectClasses(const std::vector<double>& classValues) {
    std::vector<std::vector<int>> classes;
    for (int g = 1;; ++g) {
        std::vector<int> members;
        for (int i = 0; i < static_cast<int>(classValues.size()); ++i)
            if (classValues[i] == g)
                members.push_back(i);
        if (members.empty())
            return classes;
        classes.push_back(std::move(members));
    }
}

namespace {

// The inverse of a symmetric positive definite p x p matrix by Cholesky's
// factors; nothing when a pivot vanishes against its diagonal element (the
// features are linearly dependent within the classes).
std::optional<std::vector<double>> InvertSymmetric(std::vector<double> a, int p) {
    const double tolerance = 1e3 * p * std::numeric_limits<double>::epsilon();
    std::vector<double> diagonal(p);
    for (int i = 0; i < p; ++i)
        diagonal[i] = a[i * p + i];
    for (int j = 0; j < p; ++j) {
        double pivot = a[j * p + j];
        for (int k = 0; k < j; ++k)
            pivot -= a[j * p + k] * a[j * p + k];
        if (!(pivot > tolerance * diagonal[j]))
            return std::nullopt;
        const double root = std::sqrt(pivot);
        a[j * p + j] = root;
        for (int i = j + 1; i < p; ++i) {
            double s = a[i * p + j];
            for (int k = 0; k < j; ++k)
                s -= a[i * p + k] * a[j * p + k];
            a[i * p + j] = s / root;
        }
    }
    // L^-1 column by column, then (L^-1)^T L^-1.
    std::vector<double> li(static_cast<std::size_t>(p) * p, 0.0);
    for (int c = 0; c < p; ++c) {
        li[c * p + c] = 1 / a[c * p + c];
        for (int i = c + 1; i < p; ++i) {
            double s = 0;
            for (int k = c; k < i; ++k)
                s -= a[i * p + k] * li[k * p + c];
            li[i * p + c] = s / a[i * p + i];
        }
    }
    std::vector<double> inverse(static_cast<std::size_t>(p) * p, 0.0);
    for (int i = 0; i < p; ++i)
        for (int j = 0; j <= i; ++j) {
            double s = 0;
            for (int k = i; k < p; ++k)
                s += li[k * p + i] * li[k * p + j];
            inverse[i * p + j] = inverse[j * p + i] = s;
        }
    return inverse;
}

// u^T A v of p-vectors.
double Form(const std::vector<double>& a, const std::vector<double>& u,
            const std::vector<double>& v) {
    const int p = static_cast<int>(u.size());
    double s = 0;
    for (int i = 0; i < p; ++i)
        for (int j = 0; j < p; ++j)
            s += u[i] * a[i * p + j] * v[j];
    return s;
}

}  // namespace

std::optional<DiscriminantFigures> ComputeDiscriminant(
    const std::vector<std::vector<double>>& features, const std::vector<double>& classValues) {
    DiscriminantFigures f;
    const std::vector<std::vector<int>> classes = CollectClasses(classValues);
    const int p = static_cast<int>(features.size());
    const int G = static_cast<int>(classes.size());
    f.features = p;
    f.classes = G;
    // Means about a first guess, the deviations then summed: data with a
    // large common offset keep their digits.
    std::vector<double> origin(p);
    for (int q = 0; q < p; ++q)
        origin[q] = features[q][classes[0][0]];
    f.grandMean.assign(p, 0.0);
    for (const std::vector<int>& members : classes) {
        std::vector<double> mean(p, 0.0);
        for (int i : members)
            for (int q = 0; q < p; ++q)
                mean[q] += features[q][i] - origin[q];
        for (int q = 0; q < p; ++q) {
            f.grandMean[q] += mean[q];
            mean[q] = mean[q] / static_cast<double>(members.size()) + origin[q];
        }
        f.means.push_back(mean);
        f.sizes.push_back(static_cast<int>(members.size()));
        f.classified += static_cast<int>(members.size());
    }
    for (int q = 0; q < p; ++q)
        f.grandMean[q] = f.grandMean[q] / f.classified + origin[q];

    std::vector<double> within(static_cast<std::size_t>(p) * p, 0.0);
    for (int g = 0; g < G; ++g)
        for (int i : classes[g])
            for (int a = 0; a < p; ++a)
                for (int b = 0; b <= a; ++b)
                    within[a * p + b] +=
                        (features[a][i] - f.means[g][a]) * (features[b][i] - f.means[g][b]);
    for (int a = 0; a < p; ++a)
        for (int b = 0; b < a; ++b)
            within[b * p + a] = within[a * p + b];
    const int df = f.classified - G;
    std::optional<std::vector<double>> inverse = df > 0 ? InvertSymmetric(within, p) : std::nullopt;
    if (!inverse)
        return std::nullopt;
    // The pooled covariance is W/(n_c - G); its inverse scales W's.
    f.inverse = std::move(*inverse);
    for (double& v : f.inverse)
        v *= df;

    for (int g = 0; g < G; ++g) {
        std::vector<double> shift(p);
        for (int q = 0; q < p; ++q)
            shift[q] = f.means[g][q] - f.grandMean[q];
        f.separation += f.sizes[g] * Form(f.inverse, shift, shift);
        std::vector<double> row{-0.5 * Form(f.inverse, f.means[g], f.means[g])};
        for (int a = 0; a < p; ++a) {
            double b = 0;
            for (int c = 0; c < p; ++c)
                b += f.inverse[a * p + c] * f.means[g][c];
            row.push_back(b);
        }
        f.coefficients.push_back(std::move(row));
    }
    f.significance = ChiSquareTail(f.separation, p * (G - 1.0));

    // The scores differ between classes by -D²/2: taken from the centred
    // distances they keep their digits where a0 + b'x would cancel.
    const int n = static_cast<int>(classValues.size());
    std::vector<double> x(p), d(G);
    for (int i = 0; i < n; ++i) {
        for (int g = 0; g < G; ++g) {
            for (int q = 0; q < p; ++q)
                x[q] = features[q][i] - f.means[g][q];
            d[g] = Form(f.inverse, x, x);
        }
        ObjectClassification c;
        const int best = static_cast<int>(std::min_element(d.begin(), d.end()) - d.begin());
        double w = 0;
        for (int g = 0; g < G; ++g) {
            const double gap = -0.5 * (d[g] - d[best]);
            w += gap <= -20 ? 2e-10 : std::exp(gap);
        }
        c.predicted = best + 1;
        c.distance = d[best];
        c.significance = d[best] > 0 ? ChiSquareTail(d[best], p) : 1.0;
        c.posterior = 1 / w;
        f.objects.push_back(c);
    }
    return f;
}

FormDialog TableForm() {
    // The question stands in the window's frame too: a title bar is easily
    // overlooked.
    FormDialog form;
    form.caption = TableQuestion;
    form.GroupButton(TableQuestion, "Да", 1, "сокращенная: несовпадения и значимые D^2")
        .GroupButton(TableQuestion, "Нет", 2, "полная: все объекты")
        .GroupButton(TableQuestion, "Отмена", 0, "краткая: только несовпадения");
    return form;
}

// ---------------------------------------------------------------------------
// The run

namespace {

std::string Number(const Workspace& ws, double x) {
    return FormatNumber(x, ws.digits(), ws.decimalSeparator());
}

void WriteCoefficients(Workspace& ws, const DiscriminantFigures& f) {
    WriteResult(ws, "    Класс  <--- Коэффициенты дискриминантной функции:a[0],a[1],... --->");
    for (int g = 0; g < f.classes; ++g) {
        std::string line = Field(ws, g + 1);
        for (double c : f.coefficients[g]) {
            if (CharLength(line) > 240) {
                WriteResult(ws, line);
                line.clear();
            }
            line += Field(ws, c);
        }
        WriteResult(ws, line);
    }
}

enum class TableMode { Brief = 0, Short = 1, Full = 2 };

void WriteClassification(Workspace& ws, const DiscriminantFigures& f,
                         const std::vector<double>& classValues,
                         const std::vector<std::string>& labels, TableMode mode) {
    const double alpha = ws.settings.SignificanceLevel;
    for (std::size_t i = 0; i < f.objects.size(); ++i) {
        const ObjectClassification& c = f.objects[i];
        const double stored = classValues[i];
        std::string line = PadLeft(CharCut(labels[i], 9), 9) + Field(ws, c.predicted);
        if (stored != c.predicted) {
            line += stored != 0 ? "!" : "*";
            if (mode == TableMode::Brief)
                line += "#" + Number(ws, stored);
        } else if (mode == TableMode::Brief ||
                   (mode == TableMode::Short && !(c.significance < alpha))) {
            continue;
        }
        WriteResult(
            ws, line + Field(ws, c.distance) + Field(ws, c.significance) + Field(ws, c.posterior));
    }
}

}  // namespace

void DiscriminantAnalysis(Workspace& ws) {
    if (ws.sheet.VariableCount() == 0) {
        ShowNotice(ws, TooFewValuesNotice);
        return;
    }
    // Every variable, observations with an empty cell left out of all.
    const MatrixInput input = LoadAllVariables(ws, MatrixKind::Pearson);
    const int m = input.size() - 1;
    const std::vector<double> classValues = input.values.back();
    const int G = static_cast<int>(CollectClasses(classValues).size());
    if (G < 2) {
        ShowNotice(ws, ClassNumberingNotice);
        return;
    }
    if (m < 2) {
        ShowNotice(ws, FewVariablesNotice);
        return;
    }
    const int P = std::max(m, G);
    if (2 * P + G > CellCapacity / (m + 1)) {
        ShowNotice(ws, ManyVariablesNotice);
        return;
    }
    const std::vector<std::vector<double>> features(input.values.begin(), input.values.end() - 1);
    const std::optional<DiscriminantFigures> f = ComputeDiscriminant(features, classValues);
    if (!f) {
        ShowNotice(ws, SingularMatrixNotice);
        return;
    }
    WriteResult(ws, "");
    if (f->separation >= 0) {
        WriteResult(ws, "    Расстояние Махаланобиса=" + Number(ws, f->separation) +
                            ", значимость=" + Number(ws, f->significance));
        WriteResult(ws, f->significance >= ws.settings.SignificanceLevel
                            ? "   Гипотеза 0: <Межкластерное расстояние не отлично от нуля>"
                            : "   Гипотеза 1: <Межкластерное расстояние отлично от нуля>");
    } else {
        WriteResult(ws, "Классификация неадекватна !");
    }
    WriteCoefficients(ws, *f);
    WriteResult(ws, "");
    WriteResult(ws, "    Объект   Класс      D^2    Значим  Апостеор.вероят.");
    const auto mode = static_cast<TableMode>(std::clamp(ShowForm(ws, TableForm()).button, 0, 2));
    std::vector<std::string> labels;
    for (int row : input.rows) {
        const std::string label = Trim(ws.sheet.Cell(0, row));
        labels.push_back(label.empty() ? std::to_string(row) : label);
    }
    WriteClassification(ws, *f, classValues, labels, mode);
}

}  // namespace dalvex
