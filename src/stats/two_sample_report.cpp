#include "stats/two_sample_report.h"

#include <cmath>

#include "core/number.h"
#include "core/sheet_bridge.h"
#include "dispatch/loading.h"
#include "dispatch/method_kit.h"
#include "output/significance.h"

namespace dalvex {

namespace {

std::string Number(const Workspace& ws, double x) {
    return FormatNumber(x, ws.digits(), ws.decimalSeparator());
}

// The complete pairs of the two columns, loaded again listwise so that each
// difference belongs to one observation, whatever per-row loading did.
std::vector<double> CompletePairDifferences(PairStep& step) {
    LoadPair(step.ws, step.first.column, step.second.column, Missing::Listwise, step.parsed);
    const LoadedRow x = PairRow(step.ws, 0, step.first.column);
    const LoadedRow y = PairRow(step.ws, 1, step.second.column);
    std::vector<double> d(x.values.size());
    for (std::size_t i = 0; i < d.size(); ++i)
        d[i] = x.values[i] - y.values[i];
    return d;
}

// Paired tests apply to columns of equal length in the sheet: then row i of
// one belongs with row i of the other.
bool PairedColumns(const PairStep& step) {
    return step.ws.sheet.ColumnLength(step.first.column) ==
           step.ws.sheet.ColumnLength(step.second.column);
}

}  // namespace

std::string TooFewValuesLine(const std::string& name, int needed) {
    return "Критерий неприменим: значений переменной " + name + " меньше " + std::to_string(needed);
}

std::string ConstantVariableLine(const std::string& name) {
    return "Критерий неприменим: переменная " + name + " постоянна";
}

void NormalApproxLine(Workspace& ws, int k, int nu1, int nu2, const NormalApproximation& a) {
    ReadTextResource(ws, RankLabelGroup, k);
    WriteStatistic(ws, ws.TextBuffer() + Number(ws, a.statistic) + ", Z=", a.z, a.significance, nu2,
                   nu1);
}

void TableLine(Workspace& ws, const char* label, const TableVerdict& v) {
    std::string line = label + Number(ws, v.statistic) +
                       ", Критические границы = " + std::to_string(v.lower) + "-" +
                       std::to_string(v.upper) + ", степ.своб = " + std::to_string(v.df1);
    if (v.df2 > 0)
        line += "," + std::to_string(v.df2);
    WriteResult(ws, line);
    WriteResult(ws, v.significant ? DifferenceHypothesis : NoDifferenceHypothesis);
}

void WriteStudentFisher(Workspace& ws, const StudentFisherFigures& f, SignificanceLists& lists) {
    // The printed ratio is v0 / v1 even below 1; the significance is the
    // test's own, taken with the larger variance on top.
    WriteStatistic(ws, "Статистика Фишера=", f.f, f.fSignificance, f.fDf2, f.fDf1);
    ws.VerdictIndex = 3;
    if (f.t == 0)
        return;
    WriteStatistic(ws, "Статистика Стьюдента=", std::fabs(f.t), f.tSignificance, f.df, 1);
    lists.AppendUnpaired(ws, f.tSignificance, UnpairedStudentFile);
    WriteResult(ws, "Разность средних=" + Number(ws, std::fabs(f.difference)) +
                        ", доверит.интервал=" + Number(ws, f.halfWidth));
}

void WritePairedStudent(Workspace& ws, const PairedStudentFigures& f, SignificanceLists& lists) {
    WriteStatistic(ws, "Стьюдент для парных данных=", f.t, f.significance, f.df, 1);
    lists.AppendPaired(ws, f.significance, PairedStudentFile);
}

void RankTests(Workspace& ws, const PooledRankSums& s, int kind, SignificanceLists& lists) {
    auto approximate = [&](int label, const std::optional<NormalApproximation>& a) {
        if (!a) {
            WriteResult(ws, NoVarianceLine);
            return false;
        }
        NormalApproxLine(ws, label, s.n0, s.n1, *a);
        return true;
    };
    switch (kind) {
        case 1:
            if (const auto table = RankSumTable(s)) {
                TableLine(ws, "Вилкоксон=", *table);
            } else {
                const auto a = RankSumApproximation(s);
                if (approximate(2, a))
                    lists.AppendUnpaired(ws, a->significance, UnpairedRankFile);
            }
            approximate(3, VanDerWaerden(s));
            break;
        case 2:
            approximate(4, AnsariBradley(s));
            approximate(5, SquaredNormalScores(s));
            break;
        default: {
            const SmirnovFigures d = Smirnov(s);
            WriteStatistic(ws, "Смирнов=", d.d, d.significance, s.n1, s.n0);
            break;
        }
    }
}

void PairedRankTests(Workspace& ws, const PairedRankFigures& f, SignificanceLists& lists) {
    WriteResult(ws, "");
    WriteResult(ws, PairedDataLine);
    if (f.nonZero < 3) {
        WriteResult(ws, FewerThanThreeLine);
    } else if (const auto table = SignedRankTable(f)) {
        TableLine(ws, "Вилкоксон=", *table);
    } else {
        const NormalApproximation a = SignedRankApproximation(f);
        NormalApproxLine(ws, 10, 2, f.nonZero, a);
        lists.AppendPaired(ws, a.significance, PairedRankFile);
    }
    if (f.nonZero == 0)
        WriteResult(ws, AllDifferencesZeroLine);
    else if (const auto exact = SignTestExact(f, ws.settings.SignificanceLevel))
        TableLine(ws, "Знаков=", *exact);
    else
        NormalApproxLine(ws, 11, 2, f.nonZero, SignTestApproximation(f));
}

void StudentFisherPair(PairStep& step) {
    Workspace& ws = step.ws;
    for (const LoadedRow* row : {&step.first, &step.second}) {
        if (row->count() < 2) {
            WriteResult(ws, TooFewValuesLine(row->name, 2));
            return;
        }
    }
    for (const LoadedRow* row : {&step.first, &step.second}) {
        if (MomentsOf(row->values).variance == 0) {
            WriteResult(ws, ConstantVariableLine(row->name));
            return;
        }
    }
    WriteStudentFisher(
        ws, StudentFisher(step.first.values, step.second.values, ws.settings.SignificanceLevel),
        step.lists);

    if (!PairedColumns(step))
        return;
    const std::vector<double> d = CompletePairDifferences(step);
    if (d.size() < 2)
        WriteResult(ws, FewerThanThreeLine);
    else if (MomentsOf(d).variance == 0)
        WriteResult(ws, ConstantDifferencesLine);
    else
        WritePairedStudent(ws, PairedStudent(d), step.lists);
}

void RankTestsPair(PairStep& step) {
    Workspace& ws = step.ws;
    const int kind = step.type - 6;
    const std::vector<double>& x = step.first.values;
    const std::vector<double>& y = step.second.values;
    if (x.empty()) {
        WriteResult(ws, TooFewValuesLine(step.first.name, 1));
    } else if (y.empty()) {
        WriteResult(ws, TooFewValuesLine(step.second.name, 1));
    } else if (x.size() + y.size() < 3) {
        WriteResult(ws, FewerThanThreeLine);
    } else {
        const PooledRankSums s = PoolAndRank(x, y);
        if (s.allTied)
            WriteResult(ws, AllTiedLine);
        else
            RankTests(ws, s, kind, step.lists);
    }
    if (kind == 1 && PairedColumns(step))
        PairedRankTests(ws, PairedRanks(CompletePairDifferences(step)), step.lists);
}

}  // namespace dalvex
