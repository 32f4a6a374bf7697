#include "stats/correlation_report.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "core/form_dialog.h"
#include "core/number.h"
#include "core/sheet_bridge.h"
#include "core/text.h"
#include "dispatch/method_kit.h"
#include "numeric/distributions.h"
#include "output/significance.h"
#include "stats/two_sample_report.h"

namespace dalvex {

namespace {

constexpr int LineLimit = 80;
const std::string NineBlanks(9, ' ');

std::string Number(const Workspace& ws, double x) {
    return FormatNumber(x, ws.digits(), ws.decimalSeparator());
}

// A report line that is written and restarted with 9 blanks as soon as it
// grows beyond 80 characters, so wide matrices wrap at a field's edge.
class WrappedLine {
  public:
    WrappedLine(Workspace& ws, std::string start) : ws_(ws), line_(std::move(start)) {}
    void Add(const std::string& piece) {
        line_ += piece;
        fresh_ = false;
        if (CharLength(line_) > LineLimit) {
            WriteResult(ws_, line_);
            line_ = NineBlanks;
            fresh_ = true;
        }
    }
    void Finish() {
        if (!fresh_)
            WriteResult(ws_, line_);
    }

  private:
    Workspace& ws_;
    std::string line_;
    bool fresh_ = false;
};

std::string NameOf(const Workspace& ws, int column) {
    return VariableName(ws, column - 1);
}

// The names of a run's variables, for the matrix.
std::vector<std::string> SelectedNames(const Workspace& ws, int count) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i)
        names.push_back(NameOf(ws, ws.SelectedColumns[i + 1]));
    return names;
}

void WriteLowerTriangle(Workspace& ws, const std::vector<std::string>& names,
                        const std::function<std::optional<double>(int, int)>& coefficient) {
    const int size = static_cast<int>(names.size());
    WrappedLine heading(ws, NineBlanks);
    for (int j = 0; j + 1 < size; ++j)
        heading.Add(NameField(names[j]));
    heading.Finish();
    for (int i = 1; i < size; ++i) {
        WrappedLine row(ws, NameField(names[i]));
        for (int j = 0; j < i; ++j) {
            const std::optional<double> r = coefficient(i, j);
            row.Add(r ? Field(ws, *r) : PadLeft(UndefinedMark, 9));
        }
        row.Finish();
    }
}

bool AnyUndefined(const CorrelationMatrix& m) {
    for (int i = 1; i < m.size; ++i)
        for (int j = 0; j < i; ++j)
            if (!m.at(i, j))
                return true;
    return false;
}

int Percent(int k, int pairs) {
    return pairs > 0 ? 100 * k / pairs : 0;
}

void HighCorrelations(Workspace& ws, const CorrelationMatrix& m, double low, double high,
                      const char* heading) {
    std::vector<std::string> lines;
    for (int i = 0; i < m.size; ++i) {
        std::string line;
        for (int j = 0; j < m.size; ++j) {
            const auto& r = m.at(i, j);
            if (i == j || !r)
                continue;
            const double a = std::fabs(*r);
            if (a >= low && a < high)
                line += m.names[j] + "-" + std::to_string(static_cast<int>(100 * a + 0.5)) + ", ";
        }
        if (!line.empty())
            lines.push_back(m.names[i] + "=" + line);
    }
    if (lines.empty())
        return;
    WriteResult(ws, "");
    WriteResult(ws, heading);
    for (const std::string& line : lines)
        WriteResult(ws, line);
}

void PartialCorrelations(Workspace& ws, const CorrelationMatrix& m) {
    auto r = [&](int i, int j) { return m.at(i, j); };
    std::vector<std::optional<double>> partial(9);
    int defined = 0, significant = 0;
    const int count = m.SmallestCount();
    const double critical =
        count > 3 ? CriticalCoefficient(count, ws.settings.SignificanceLevel, 3) : 0;
    for (int i = 1; i < 3; ++i)
        for (int j = 0; j < i; ++j) {
            const int k = 3 - i - j;
            if (r(i, j) && r(i, k) && r(j, k))
                partial[i * 3 + j] = PartialCorrelation(*r(i, j), *r(i, k), *r(j, k));
            if (partial[i * 3 + j]) {
                ++defined;
                if (count > 3 && std::fabs(*partial[i * 3 + j]) >= critical)
                    ++significant;
            }
        }
    WriteResult(ws, PartialHeading);
    WriteLowerTriangle(ws, m.names, [&](int i, int j) { return partial[i * 3 + j]; });
    if (defined < 3)
        WriteResult(ws, UndefinedNote);
    if (count <= 3) {
        WriteResult(ws, FewPairsLine);
        return;
    }
    WriteResult(ws, std::string(" ") + CriticalLine + Number(ws, critical));
    WriteResult(ws, " Число значимых коэффициентов=" + std::to_string(significant) + " (" +
                        std::to_string(Percent(significant, 3)) + "%)");
}

}  // namespace

// ---------------------------------------------------------------------------
// The matrix

void CorrelationMatrix::Resize(int variables) {
    size = variables;
    r.assign(static_cast<std::size_t>(variables) * variables, std::nullopt);
    counts.assign(static_cast<std::size_t>(variables) * variables, 0);
}

int CorrelationMatrix::SmallestCount() const {
    int smallest = 0;
    for (std::size_t k = 0; k < r.size(); ++k)
        if (r[k] && (smallest == 0 || counts[k] < smallest))
            smallest = counts[k];
    return smallest;
}

MatrixVerdict CountSignificant(const CorrelationMatrix& m, double alpha, int pairCount) {
    MatrixVerdict v;
    v.pairs = m.size * (m.size - 1) / 2;
    const int count = m.SmallestCount();
    if (count < 3)
        return v;
    v.critical = CriticalCoefficient(count, pairCount > 0 ? alpha / pairCount : alpha);
    for (int i = 1; i < m.size; ++i)
        for (int j = 0; j < i; ++j)
            if (m.at(i, j) && std::fabs(*m.at(i, j)) >= v.critical)
                ++v.significant;
    return v;
}

bool WriteMatrixToSheet(Workspace& ws, const CorrelationMatrix& m) {
    const int first = ws.sheet.VariableCount() + 1;
    const int columns = m.size + 1;
    if (first + columns - 1 > MaxVariables) {
        ShowNotice(ws, NoRoomForMatrixNotice);
        return false;
    }
    if (!SheetHasRoomFor(ws, static_cast<long>(columns) * m.size))
        return false;
    PutSheetText(ws, MatrixNamesHeading, first, -1);
    for (int i = 0; i < m.size; ++i)
        PutSheetText(ws, m.names[i], first, i);
    for (int j = 0; j < m.size; ++j) {
        const int column = first + 1 + j;
        PutSheetText(ws, m.names[j], column, -1);
        for (int i = 0; i < m.size; ++i) {
            if (i == j)
                PutSheetValue(ws, column, i, 1.0);
            else if (m.at(i, j))
                PutSheetValue(ws, column, i, *m.at(i, j));
        }
    }
    return true;
}

void CorrelationMatrixReport(Workspace& ws, int type, const CorrelationMatrix& m, int pairCount) {
    if (type == RankCorrelationPairs)
        WriteResult(ws, " ");
    WriteResult(ws, MatrixHeading);
    WriteLowerTriangle(ws, m.names, [&](int i, int j) { return m.at(i, j); });
    WriteResult(ws, "");
    if (AnyUndefined(m))
        WriteResult(ws, UndefinedNote);
    if (type == CorrelationPairs) {
        const double alpha = ws.settings.SignificanceLevel;
        const MatrixVerdict v = CountSignificant(m, alpha, pairCount);
        const int count = m.SmallestCount();
        if (count < 3) {
            WriteResult(ws, FewPairsLine);
        } else {
            WriteResult(ws, (pairCount == 1 ? CriticalLine : CriticalBonferroniLine) +
                                Number(ws, v.critical));
            WriteResult(ws, "Число значимых коэффициентов=" + std::to_string(v.significant) + " (" +
                                std::to_string(Percent(v.significant, v.pairs)) + "%)");
            if (pairCount > 1)
                WriteResult(ws, CriticalPlainLine + Number(ws, CriticalCoefficient(count, alpha)));
            if (m.size - 1 > 5 && v.significant > 5) {
                HighCorrelations(ws, m, 0.95, 2.0, "Высокие корреляции > 0.95");
                HighCorrelations(ws, m, 0.9, 0.95, "Высокие корреляции > 0.9");
            }
        }
    }
    if (AskYesNo(ws, WriteMatrixQuestion))
        WriteMatrixToSheet(ws, m);
    if (type == CorrelationPairs && m.size == 3)
        PartialCorrelations(ws, m);
}

// ---------------------------------------------------------------------------
// The methods

namespace {

// Why a pair has no coefficient: too few complete pairs or a constant
// variable; empty when it has one.
std::string Unusable(const PairStep& step) {
    const std::vector<double>& x = step.first.values;
    const std::vector<double>& y = step.second.values;
    if (std::min(x.size(), y.size()) < 3)
        return FewPairsLine;
    if (!PearsonR(x, y)) {
        const bool xConstant = std::all_of(x.begin(), x.end(), [&](double v) { return v == x[0]; });
        return ConstantVariableLine(xConstant ? step.first.name : step.second.name);
    }
    return {};
}

bool MatrixRun(const Workspace& ws) {
    return ws.SelectedColumns[0] > 2;
}

void Enter(CorrelationMatrix& m, const PairStep& step, double r, int count) {
    m.at(step.i, step.j) = m.at(step.j, step.i) = r;
    m.counts[step.i * m.size + step.j] = m.counts[step.j * m.size + step.i] = count;
}

void PearsonPair(PairStep& step, CorrelationMatrix& m) {
    Workspace& ws = step.ws;
    const std::vector<double>& x = step.first.values;
    const std::vector<double>& y = step.second.values;
    step.length = static_cast<int>(std::min(x.size(), y.size()));
    const std::optional<PearsonFigures> f = Pearson(x, y);
    if (MatrixRun(ws)) {
        if (f && m.size > 0)
            Enter(m, step, f->r, f->count);
        return;
    }
    if (!f) {
        WriteResult(ws, Unusable(step));
        return;
    }
    WriteStatistic(ws, "Коэфф.корреляции=" + Number(ws, f->r) + " T:=", f->t, f->significance,
                   f->count - 2, 1);
    step.lists.AppendUnpaired(Number(ws, f->r) + " " + Number(ws, f->significance),
                              CorrelationListFile);
}

void KendallSpearmanPair(PairStep& step, CorrelationMatrix& m) {
    Workspace& ws = step.ws;
    const std::vector<double>& x = step.first.values;
    const std::vector<double>& y = step.second.values;
    step.length = static_cast<int>(std::min(x.size(), y.size()));
    const std::string why = Unusable(step);
    if (!why.empty()) {
        WriteResult(ws, why);
        return;
    }
    const RankCorrelationFigures f = RankCorrelation(x, y);
    NormalApproxLine(ws, 7, 1, f.count, {f.tau, f.tauZ, f.tauSignificance});
    NormalApproxLine(ws, 8, 1, f.count, {f.rho, f.rhoZ, f.rhoSignificance});
    if (m.size > 0)
        Enter(m, step, f.rho, f.count);
}

void ChiSquarePair(PairStep& step, int kind) {
    Workspace& ws = step.ws;
    const std::vector<double>& x = step.first.values;
    const std::vector<double>& y = step.second.values;
    auto negative = [](const std::vector<double>& v) {
        return std::any_of(v.begin(), v.end(), [](double f) { return f < 0; });
    };
    if (negative(x) || negative(y)) {
        WriteResult(ws, NegativeFrequencyLine);
        return;
    }
    const std::optional<ChiSquareFigures> f = kind == 1 ? Homogeneity(x, y) : GoodnessOfFit(x, y);
    if (!f) {
        WriteResult(ws, ChiSquareUnusableLine);
        return;
    }
    WriteStatistic(ws, "Хи-квадрат=", f->chi2, ChiSquareTail(f->chi2, f->df), f->df, 1);
}

// Runs a correlation method: the coefficients land in one matrix shared by
// the pair routine and the report after all pairs.
void RunCorrelation(Workspace& ws, int type, Missing missing,
                    void (*pair)(PairStep&, CorrelationMatrix&)) {
    CorrelationMatrix m;
    int pairCount = 0;
    PairwiseRun(
        ws, type, missing,
        [&](PairStep& step) {
            if (m.size == 0 && MatrixRun(ws)) {
                m.Resize(ws.SelectedColumns[0]);
                m.names = SelectedNames(ws, m.size);
            }
            ++pairCount;
            pair(step, m);
        },
        [&](Workspace& w) { CorrelationMatrixReport(w, type, m, pairCount); });
}

}  // namespace

void CorrelationMethod(Workspace& ws, Missing missing) {
    RunCorrelation(ws, CorrelationPairs, missing, PearsonPair);
}

void RankCorrelationMethod(Workspace& ws, Missing missing) {
    RunCorrelation(ws, RankCorrelationPairs, missing, KendallSpearmanPair);
}

int AskSecondDistribution(Workspace& ws) {
    FormDialog form;
    form.caption = SecondDistributionCaption;
    form.Button("&1=эмпирич.(однородности)", 1).Button("&2=теоретич.(согласия)", 2);
    form.Button("Отменить", 0);
    return FormReader(ws, form).button();
}

void ChiSquareMethod(Workspace& ws, Missing missing) {
    PairwiseRun(ws, ChiSquarePairs, missing, [](PairStep& step) {
        const int kind = AskSecondDistribution(step.ws);
        if (kind == 0)
            return;
        ChiSquarePair(step, kind);
    });
}

}  // namespace dalvex
