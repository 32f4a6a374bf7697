#include "stats/stepwise_regression.h"

#include <algorithm>
#include <cmath>

#include "core/number.h"
#include "core/text.h"
#include "dispatch/method_kit.h"
#include "numeric/distributions.h"
#include "stats/correlation_matrix.h"
#include "stats/correlation_matrix_report.h"
#include "stats/nonlinear_regression.h"

namespace dalvex {

bool SelectionSettings::Enters(const CandidateFigures& c) const {
    if (!(c.tolerance > tolerance))
        return false;
    if (bySignificance)
        return c.line.significance < pEnter;
    return c.line.infiniteF || c.line.f > fEnter;
}

bool SelectionSettings::Leaves(const VariableLine& line) const {
    if (bySignificance)
        return line.significance > pRemove;
    return !line.infiniteF && line.f < fRemove;
}

FormDialog SelectionForm() {
    FormDialog form;
    form.caption = SelectionCaption;
    form.Field("F-вкл=", "3.84", "F для включения переменной в уравнение")
        .Field("F-искл=", "2.71", "F для исключения переменной (не больше F-вкл)")
        .Field("P-вкл=", "0.05", "Значимость для включения переменной")
        .Field("P-искл=", "0.1", "Значимость для исключения переменной (не меньше P-вкл)")
        .Field("Сходство=", "0.01", "Наименьшая толерантность включаемой переменной")
        .Choice("Критерий", {"F-уровень", "Р-уровень"}, 0)
        .Button("&1=вперед", 1, "Включение переменных в пустое уравнение")
        .Button("&2=назад ", 2, "Исключение переменных из полного уравнения")
        .Button("&3=пошаговая", 3, "Включение и исключение на каждом шаге")
        .Button("Отменить", 0)
        .RememberIn(SelectionMemory);
    return form;
}

bool AskSelection(Workspace& ws, SelectionSettings& s) {
    FormReader read(ws, SelectionForm());
    if (!read.answered())
        return false;
    s.kind = static_cast<SelectionKind>(read.button());
    s.fEnter = read.Number(0, FThresholdNotice, 0);
    s.fRemove = read.Number(1, FThresholdNotice, 0);
    s.pEnter = read.Number(2, PThresholdNotice, 0, 1);
    s.pRemove = read.Number(3, PThresholdNotice, 0, 1);
    s.tolerance = read.Number(4, ToleranceNotice, 0, 1);
    s.bySignificance = read.Choice(5, 2, FThresholdNotice) == 1;
    if (!read.ok())
        return false;
    // Only the thresholds of the chosen criterion take part.
    if (!s.bySignificance && s.fRemove > s.fEnter)
        read.Refuse(1, FRemoveAboveEnterNotice);
    if (s.bySignificance && s.pRemove < s.pEnter)
        read.Refuse(3, PRemoveBelowEnterNotice);
    return read.ok();
}

int MostSelectionSteps(int predictors) {
    return 4 * predictors + 4;
}

namespace {

constexpr const char* NotInEquationRule =
    "------------------ Переменные не в уравнении ---------------------------";
constexpr const char* NotInEquationHeading =
    " Переменн. Коэфф.В  Ст.ош.В     Бета        F   Значим  Частн.R    Толер.";
constexpr const char* BackwardRule =
    "----------------- Переменные в уравнении ---------------------";
constexpr const char* BackwardHeading =
    " Переменн. Коэфф.В  Ст.ош.В   Бета       F    Значим   Частн.R";
constexpr const char* ChangeHeading = "Измен.R^2        F   Значим";
constexpr const char* ProgressText = "Селекция переменных";

std::string Number(const Workspace& ws, double x) {
    return FormatNumber(x, ws.digits(), ws.decimalSeparator());
}

// One selection run: the equation's members, its steps and their limit.
class Selection {
  public:
    Selection(Workspace& ws, const RegressionData& data, const SelectionSettings& settings)
        : ws_(ws), data_(data), settings_(settings), most_(MostSelectionSteps(data.predictors())) {}

    // Forward or two-way selection from the X most correlated with Y.
    bool Forward(int first);
    // Removes what must leave; false when the run has to end.
    bool Backward();
    const std::vector<int>& members() const { return members_; }
    void StartFull() {
        for (int j = 0; j < data_.predictors(); ++j)
            members_.push_back(j);
    }

  private:
    // Counts a step; false (with its notice) past the limit or when stopped.
    bool Step();
    bool Fit(SubsetFit& s) {
        s = FitSubset(data_, members_);
        if (s.notice.empty())
            return true;
        ShowNotice(ws_, s.notice);
        return false;
    }
    double R2Without(int variable);

    Workspace& ws_;
    const RegressionData& data_;
    const SelectionSettings& settings_;
    std::vector<int> members_;
    int steps_ = 0;
    const int most_;
};

bool Selection::Step() {
    if (++steps_ > most_) {
        ShowNotice(ws_, IterationLimitNotice);
        return false;
    }
    if (!ShowProgress(ws_, ProgressText, steps_, most_)) {
        ShowNotice(ws_, WorkStoppedNotice);
        return false;
    }
    return true;
}

// R^2 of the equation without one of its variables (0 for none left).
double Selection::R2Without(int variable) {
    std::vector<int> rest;
    for (int j : members_)
        if (j != variable)
            rest.push_back(j);
    if (rest.empty())
        return 0;
    const SubsetFit s = FitSubset(data_, rest);
    return s.notice.empty() ? s.r2 : 0.0;
}

bool Selection::Forward(int first) {
    members_ = {first};
    int entered = first;
    for (int step = 1;; ++step) {
        if (!Step())
            return false;
        WriteResult(ws_, "");
        WriteResult(ws_, "    *** Метод включения. Шаг No." + Number(ws_, step) +
                             ", введена переменная:" + data_.names[entered]);
        WriteResult(ws_, "");
        SubsetFit s;
        if (!Fit(s))
            return false;
        WriteSubsetTables(ws_, data_, s);

        // What the variable just entered adds to the equation as it now is.
        const double change = s.r2 - R2Without(entered);
        const int df = s.fit.dfResidual;
        WriteResult(ws_, "");
        WriteResult(ws_, ChangeHeading);
        if (s.anova.perfect || !(1 - s.r2 > 0)) {
            WriteResult(ws_, Field(ws_, change) + PadLeft(InfiniteF, 9) + Field(ws_, 0));
        } else {
            const double f = std::max(0.0, change) * df / (1 - s.r2);
            WriteResult(ws_, Field(ws_, change) + Field(ws_, f) +
                                 Field(ws_, df > 0 ? FisherTail(std::sqrt(f), 1, df) : 1.0));
        }
        WriteResult(ws_, "");
        WriteResult(ws_, InEquationRule);
        WriteResult(ws_, InEquationHeading);
        for (std::size_t j = 0; j < members_.size(); ++j)
            WriteResult(ws_, VariableLineText(ws_, EquationLine(data_, s, static_cast<int>(j))));

        std::vector<int> outside;
        for (int j = 0; j < data_.predictors(); ++j)
            if (std::find(members_.begin(), members_.end(), j) == members_.end())
                outside.push_back(j);
        if (outside.empty())
            return true;
        WriteResult(ws_, "");
        WriteResult(ws_, NotInEquationRule);
        WriteResult(ws_, NotInEquationHeading);
        const std::vector<CandidateFigures> candidates = Candidates(data_, s, outside);
        const CandidateFigures* best = nullptr;
        for (const CandidateFigures& c : candidates) {
            WriteResult(ws_, VariableLineText(ws_, c.line) + Field(ws_, std::sqrt(c.partialR2)) +
                                 Field(ws_, c.tolerance));
            if (settings_.Enters(c) && (best == nullptr || c.partialR2 > best->partialR2))
                best = &c;
        }
        if (best == nullptr)
            return true;
        entered = best->variable;
        members_.push_back(entered);
        if (settings_.kind == SelectionKind::Stepwise && !Backward())
            return false;
    }
}

bool Selection::Backward() {
    for (int step = 1;; ++step) {
        WriteResult(ws_, "");
        WriteResult(ws_, BackwardRule);
        WriteResult(ws_, BackwardHeading);
        SubsetFit s;
        if (!Fit(s))
            return false;
        int leaving = -1;
        double smallest = 0;
        for (std::size_t j = 0; j < members_.size(); ++j) {
            double partial = 0;
            const VariableLine line = EquationLine(data_, s, static_cast<int>(j), &partial);
            WriteResult(ws_, VariableLineText(ws_, line) + Field(ws_, std::sqrt(partial)));
            if (settings_.Leaves(line) && (leaving < 0 || partial < smallest)) {
                leaving = static_cast<int>(j);
                smallest = partial;
            }
        }
        WriteSubsetTables(ws_, data_, s);
        if (leaving < 0)
            return true;
        if (!Step())
            return false;
        WriteResult(ws_, "");
        WriteResult(ws_, "   ***   Метод исключения.   Шаг No." + Number(ws_, step) +
                             ", удалена переменная:" + data_.names[members_[leaving]]);
        WriteResult(ws_, "");
        // The next round starts from the equation without it: its R^2 and
        // partial correlations are refitted, not carried over.
        members_.erase(members_.begin() + leaving);
        if (members_.size() <= 1)
            return true;
    }
}

}  // namespace

std::vector<int> SelectVariables(Workspace& ws, const RegressionData& data,
                                 const SelectionSettings& settings) {
    Selection selection(ws, data, settings);
    const int k = data.predictors();
    bool done = false;
    if (settings.kind == SelectionKind::Backward) {
        selection.StartFull();
        done = selection.Backward();
    } else {
        // The X most correlated with Y enters first (the first of equals).
        // On values scaled to about 1, so no product leaves the double range.
        const auto centred = [](const std::vector<double>& v) {
            const double scale = PowerOfTwoScale(v);
            std::vector<double> c = Centred(v);
            for (double& x : c)
                x /= scale;
            return c;
        };
        std::vector<double> r(k, 0.0);
        const std::vector<double> yc = centred(data.y);
        for (int j = 0; j < k; ++j) {
            const std::vector<double> xc = centred(data.xs[j]);
            const double spread = std::sqrt(Dot(xc, xc)) * std::sqrt(Dot(yc, yc));
            r[j] = spread > 0 ? std::fabs(Dot(xc, yc)) / spread : 0.0;
        }
        const int first = static_cast<int>(std::max_element(r.begin(), r.end()) - r.begin());
        done = selection.Forward(first);
    }
    return done ? selection.members() : std::vector<int>{};
}

void StepwiseRegression(Workspace& ws) {
    const std::vector<LoadedRow> rows = LoadedRows(ws);
    if (rows.size() < 2) {
        ShowNotice(ws, TooFewValuesNotice);
        return;
    }
    const RegressionData data = RegressionDataOf(rows);
    WriteResult(ws, "");
    MatrixInput input;
    input.names = data.names;
    input.names.push_back(data.yName);
    input.values = data.xs;
    input.values.push_back(data.y);
    for (int i = 1; i <= data.count(); ++i)
        input.rows.push_back(i);
    const MatrixOutcome matrix =
        BuildCorrelationMatrix(MatrixKind::Pearson, input, ws.settings.SignificanceLevel);
    if (!matrix.figures) {
        ShowNotice(ws, matrix.notice);
        return;
    }
    ReportCorrelationMatrix(ws, input.names, *matrix.figures, -1);

    SelectionSettings settings;
    if (!AskSelection(ws, settings))
        return;
    const std::vector<int> members = SelectVariables(ws, data, settings);
    if (members.empty())
        return;
    const SubsetFit final = FitSubset(data, members);
    if (!final.notice.empty())
        return;
    WriteResult(ws, " ");
    ResidualGraphs(ws, data, final);
}

}  // namespace dalvex
