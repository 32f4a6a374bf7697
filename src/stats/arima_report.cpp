#include "stats/arima_report.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/arithmetic_fault.h"
#include "core/number.h"
#include "dispatch/loading.h"
#include "dispatch/method_kit.h"
#include "output/significance.h"
#include "stats/arima.h"

namespace dalvex {

FormDialog Tqq251Form() {
    FormDialog form;
    form.caption = "ARIMA-модели";
    form.Group("Введите параметры ARIMA-модели")
        .Field("Порядок авторегрессии=", "2")
        .Field("Порядок скольз.среднего=", "0")
        .Field("Число дифференцирований=", "0")
        .Field("Шагов прогноза=", "10")
        .Field("Начальное время=", "0")
        .Field("Временной шаг=", "1")
        .Button("Утвердить", 1)
        .Button("Отменить", 0);
    form.RememberIn("q251.ini");
    return form;
}

namespace {

// The orders the work areas hold: the search goes two above each.
constexpr int LargestOrder = SquareSide - 3;
// Differencing multiplies the forecast's weights by binomial coefficients;
// up to 22 differences (20 asked, two more searched) they stay finite over
// the longest horizon.
constexpr int LargestDifferencing = 20;

std::string Num(const Workspace& ws, double x) {
    return FormatNumber(Checked(x), ws.digits(), ws.decimalSeparator());
}

struct Curve {
    int xRow, yRow, marker, style;
    std::string name;
};

// A described-series graph: the rows into DataMatrix, the curves into the
// description table, the title, then the graph request; the graph prompt
// where the method asks the person to look.
void ShowDescribed(Workspace& ws, const std::vector<std::vector<double>>& rows,
                   const std::vector<Curve>& curves, const std::string& title, bool prompt) {
    std::size_t longest = 1;
    for (const auto& row : rows)
        longest = std::max(longest, row.size());
    FitDataRows(ws, static_cast<int>(rows.size()), static_cast<int>(longest));
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t i = 0; i < rows[r].size(); ++i)
            ws.store.Data(static_cast<int>(r), static_cast<int>(i)) = Checked(rows[r][i]);
        ws.VarLength[r + 1] = static_cast<int>(rows[r].size()) - 1;
    }
    ws.VarLength[0] = static_cast<int>(rows.size()) - 1;
    for (std::size_t c = 0; c < curves.size(); ++c) {
        const Curve& curve = curves[c];
        ws.graphTables.Describe(static_cast<int>(c), curve.xRow, curve.yRow, curve.marker,
                                curve.style);
        ws.graphTables.SeriesNames[c] = curve.name;
    }
    ws.SetTextBuffer(title);
    GraSt(ws, RequestDescribed, static_cast<int>(curves.size()) - 1);
    if (prompt)
        pqsegr(ws);
}

std::vector<double> Count(int from, int to) {
    std::vector<double> v;
    for (int k = from; k <= to; ++k)
        v.push_back(k);
    return v;
}

void OfferScanGraphs(Workspace& ws, const ArOrderScanFigures& scan) {
    if (scan.m >= 2 && AskYesNo(ws, PredictionErrorQuestion))
        ShowDescribed(ws, {Count(2, scan.m), scan.predictionError},
                      {{0, 1, 0, 1, "Ошибка прогноза"}}, "Ошибка прогноза", true);
    if (scan.m >= 1 && AskYesNo(ws, PartialAutocorrelationQuestion))
        ShowDescribed(ws, {Count(1, scan.m), scan.partial}, {{0, 1, 0, 0, "Частн.автокорр"}},
                      "Частн.автокорр", true);
}

struct ArimaParameters {
    ArimaOrders orders;
    int steps = 0;
    double t0 = 0, dt = 1;
};

bool AskParameters(Workspace& ws, ArimaParameters& out) {
    FormReader read(ws, Tqq251Form());
    if (!read.answered())
        return false;
    out.orders.p = read.Integer(0, 0, LargestOrder, ArimaNotApplicableNotice);
    out.orders.q = read.Integer(1, 0, LargestOrder, ArimaNotApplicableNotice);
    out.orders.d = read.Integer(2, 0, LargestDifferencing, ArimaNotApplicableNotice);
    out.steps = read.Integer(3, 1, 1000000000, ArimaNotApplicableNotice);
    out.t0 = read.Number(4, ArimaTimeNotice, -1e100, 1e100);
    out.dt = read.Number(5, ArimaTimeNotice, -1e100, 1e100);
    return read.ok();
}

void WriteCandidate(Workspace& ws, const ArimaCandidate& c) {
    const ArimaOrders& o = c.model.orders;
    WriteResult(ws, "Модель: AR=" + Num(ws, o.p) + ", MA=" + Num(ws, o.q) +
                        ", дифф=" + Num(ws, o.d) + ", хи2=" + Num(ws, c.chiSquare) +
                        ", ст.своб=" + Num(ws, c.df) + ", значим=" + Num(ws, c.significance));
    WriteVerdict(ws, c.significance);
}

void WriteCoefficients(Workspace& ws, const ArimaRefinement& refined) {
    WriteResult(ws, "                   Коэффициенты авторегрессионной модели");
    WriteResult(ws, ArHeading);
    std::vector<double> ar{refined.intercept};
    ar.insert(ar.end(), refined.model.phi.begin(), refined.model.phi.end());
    WriteResult(ws, Fields(ws, ar));
    WriteResult(ws, "");
    WriteResult(ws, "                 Коэффициенты модели скользящего среднего");
    WriteResult(ws, MaHeading);
    std::vector<double> ma{refined.model.noiseVariance};
    ma.insert(ma.end(), refined.model.theta.begin(), refined.model.theta.end());
    WriteResult(ws, Fields(ws, ma));
}

void WriteForecast(Workspace& ws, const ArimaForecastFigures& f) {
    WriteResult(ws, "");
    WriteResult(ws, ForecastHeading);
    for (std::size_t j = 0; j < f.mean.size(); ++j)
        WriteResult(ws, Fields(ws, {f.time[j], f.mean[j], f.halfWidth[j] / f.z, f.halfWidth[j],
                                    f.paths[0][j], f.paths[1][j], f.paths[2][j]}));
}

std::vector<double> TimeAxis(double t0, double dt, int first, int count) {
    std::vector<double> t(count);
    for (int i = 0; i < count; ++i)
        t[i] = t0 + dt * (first + i);
    return t;
}

void OfferForecastGraphs(Workspace& ws, const std::string& name, const std::vector<double>& x,
                         const ArimaForecastFigures& f, double t0, double dt) {
    const int last = static_cast<int>(x.size()) - 1;
    const std::vector<double> times = TimeAxis(t0, dt, 0, last + 1);
    // The forecast rows start at the last observation, so they join the series.
    std::vector<double> fTimes{times.back()};
    fTimes.insert(fTimes.end(), f.time.begin(), f.time.end());
    auto joined = [&](const std::vector<double>& values) {
        std::vector<double> row{x.back()};
        row.insert(row.end(), values.begin(), values.end());
        return row;
    };
    if (AskYesNo(ws, ForecastBandQuestion)) {
        std::vector<double> upper, lower;
        const std::vector<double> mean = joined(f.mean);
        for (std::size_t k = 0; k < mean.size(); ++k) {
            const double w = f.halfWidth[k == 0 ? 0 : k - 1];
            upper.push_back(mean[k] + w);
            lower.push_back(mean[k] - w);
        }
        ShowDescribed(ws, {times, x, fTimes, mean, upper, lower},
                      {{0, 1, 0, 0, name},
                       {2, 3, 1, 1, "Ср.прогноз"},
                       {2, 4, 2, 0, "Верх.граница"},
                       {2, 5, 2, 0, "Ниж.граница"}},
                      "ARIMA-прогноз", false);
    }
    if (AskYesNo(ws, ForecastPathsQuestion))
        ShowDescribed(
            ws, {times, x, fTimes, joined(f.paths[0]), joined(f.paths[1]), joined(f.paths[2])},
            {{0, 1, 0, 0, name},
             {2, 3, 1, 1, "Прогноз 1"},
             {2, 4, 2, 1, "Прогноз 2"},
             {2, 5, 3, 1, "Прогноз 3"}},
            "ARIMA-прогноз4", false);
}

void WriteDurbinWatson(Workspace& ws, const DurbinWatsonFigures& dw, const ArimaOrders& o,
                       double t0, double dt) {
    if (!dw.defined) {
        ShowNotice(ws, ArimaConstantResidualsNotice);
        return;
    }
    WriteResult(ws, "Корреляция остатков Дурбина-Ватсона=" + Num(ws, dw.r) +
                        ", значимость=" + Num(ws, dw.significance));
    WriteVerdict(ws, dw.significance);
    if (AskYesNo(ws, ArimaResidualsQuestion)) {
        // The first residual belongs to observation max(p, q) of the series
        // differenced d times, that is to observation d + max(p, q).
        const int first = o.d + std::max(o.p, o.q);
        ShowDescribed(
            ws, {TimeAxis(t0, dt, first, static_cast<int>(dw.residuals.size())), dw.residuals},
            {{0, 1, 1, 1, "Остатки"}}, "ARIMA-остатки", false);
    }
}

// Shows how far a long stage got, and closes the display however the stage
// ends.
class StageProgress {
  public:
    StageProgress(Workspace& ws, const char* text, int total)
        : ws_(ws), text_(text), total_(total) {}
    ~StageProgress() { ShowProgress(ws_, text_, total_, total_); }
    StageProgress(const StageProgress&) = delete;
    StageProgress& operator=(const StageProgress&) = delete;
    // `done` counts the step about to be made.
    bool operator()(int done, int total) {
        total_ = total;
        return ShowProgress(ws_, text_, std::min(done, total - 1), total);
    }

  private:
    Workspace& ws_;
    const char* text_;
    int total_;
};

}  // namespace

void ArimaModel(Workspace& ws) {
    const LoadedRow row = LoadedRowOf(ws, 0);
    const std::vector<double>& x = row.values;
    if (x.empty()) {
        ShowNotice(ws, TooFewValuesNotice);
        return;
    }
    const int last = row.count() - 1;  // N
    OfferScanGraphs(ws, ScanArOrders(x, ws.store.WorkWidth()));

    WriteResult(ws, "");
    WriteResult(ws, "               Переменная " + row.name);
    ArimaParameters params;
    if (!AskParameters(ws, params))
        return;
    ArimaOrders& o = params.orders;
    // The forecast's rows and the work areas hold the steps beside the series.
    const int room = std::min(static_cast<int>(ws.store.DataWidth()) - last - 1,
                              static_cast<int>(ws.store.WorkWidth()) - 1);
    if (params.steps > room) {
        params.steps = room;
        ShowNotice(ws, ArimaLongSeriesNotice + std::to_string(room));
    }
    if (o.p + o.q <= 0 || params.steps <= 0 || last < o.p + o.q + o.d + 27) {
        ShowNotice(ws, ArimaNotApplicableNotice);
        return;
    }
    const int tail = o.p + o.q + o.d + 21;
    if (std::all_of(x.begin(), x.end(), [&](double v) { return v == x[0]; })) {
        ShowNotice(ws, ArimaConstantNotice);
        return;
    }

    ArimaSearchFigures search;
    {
        StageProgress progress(ws, ArimaSearchProgress, ArimaCandidateCount);
        // The step about to be tried: 0 before the first candidate.
        search = SearchArima(x, o, ws.settings.SignificanceLevel,
                             [&](int done, int total) { return progress(done - 1, total); });
    }
    for (const ArimaCandidate& c : search.tried)
        WriteCandidate(ws, c);
    if (search.cancelled) {
        ShowNotice(ws, WorkStoppedNotice);
        return;
    }
    if (search.chosen < 0) {
        ShowNotice(ws, ArimaNoModelNotice);
        return;
    }
    const ArimaModelFit& chosen = search.tried[search.chosen].model;
    if (!search.accepted)
        WriteResult(ws,
                    "Адекватная модель не найдена; далее - модель с наибольшей значимостью: AR=" +
                        Num(ws, chosen.orders.p) + ", MA=" + Num(ws, chosen.orders.q) +
                        ", дифф=" + Num(ws, chosen.orders.d));

    WriteResult(ws, "");
    ArimaRefinement refined;
    {
        StageProgress progress(ws, ArimaRefinementProgress, RefinementIterationLimit);
        refined = RefineArima(x, chosen, std::ref(progress));
    }
    if (refined.cancelled) {
        ShowNotice(ws, WorkStoppedNotice);
        return;
    }
    if (refined.iterationLimit)
        ShowNotice(ws, ArimaIterationLimitNotice);
    WriteCoefficients(ws, refined);

    const ArimaForecastFigures forecast =
        ForecastArima(x, refined, params.steps, tail, params.t0, params.dt,
                      ws.settings.SignificanceLevel, ws.RandomSeed);
    WriteForecast(ws, forecast);
    OfferForecastGraphs(ws, row.name, x, forecast, params.t0, params.dt);

    WriteDurbinWatson(ws, DurbinWatsonCheck(x, refined.model), chosen.orders, params.t0, params.dt);
}

}  // namespace dalvex
