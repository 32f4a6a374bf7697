#include "stats/two_sample_report.h"

#include <cmath>

#include "core/number.h"
#include "core/sheet_bridge.h"
#include "dispatch/loading.h"
#include "output/significance.h"

namespace dalvex {

namespace {

std::string Number(const Workspace& ws, double x) {
    return FormatNumber(x, ws.digits(), ws.decimalSeparator());
}

std::string NameOf(const Workspace& ws, int column) {
    return VariableName(ws, column - 1);
}

// The complete pairs of the two columns, loaded again listwise so that each
// difference belongs to one observation, whatever per-row loading did.
std::vector<double> CompletePairDifferences(PairStep& step) {
    LoadPair(step.ws, step.firstColumn, step.secondColumn, 1, step.parsed);
    const std::vector<double> x = LoadedValues(step.ws, 0);
    const std::vector<double> y = LoadedValues(step.ws, 1);
    std::vector<double> d(x.size());
    for (std::size_t i = 0; i < x.size(); ++i)
        d[i] = x[i] - y[i];
    return d;
}

// Paired tests apply to columns of equal length in the sheet: then row i of
// one belongs with row i of the other.
bool PairedColumns(const PairStep& step) {
    return step.ws.sheet.ColumnLength(step.firstColumn) ==
           step.ws.sheet.ColumnLength(step.secondColumn);
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
    ws.SetTextBuffer(ws.TextBuffer() + Number(ws, a.statistic) + ", Z=" + Number(ws, a.z));
    WriteSignificance(ws, a.significance, nu2, nu1);
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
    ws.SetTextBuffer("Статистика Фишера=" + Number(ws, f.f));
    WriteSignificance(ws, f.fSignificance, f.fDf2, f.fDf1);
    ws.VerdictIndex = 3;
    if (f.t == 0)
        return;
    ws.SetTextBuffer("Статистика Стьюдента=" + Number(ws, std::fabs(f.t)));
    WriteSignificance(ws, f.tSignificance, f.df, 1);
    lists.AppendUnpaired(ws, f.tSignificance, UnpairedStudentFile);
    WriteResult(ws, "Разность средних=" + Number(ws, std::fabs(f.difference)) +
                        ", доверит.интервал=" + Number(ws, f.halfWidth));
}

void WritePairedStudent(Workspace& ws, const PairedStudentFigures& f, SignificanceLists& lists) {
    ws.SetTextBuffer("Стьюдент для парных данных=" + Number(ws, f.t));
    WriteSignificance(ws, f.significance, f.df, 1);
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
            ws.SetTextBuffer("Смирнов=" + Number(ws, d.d));
            WriteSignificance(ws, d.significance, s.n1, s.n0);
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
    const std::vector<double> x = LoadedValues(ws, 0);
    const std::vector<double> y = LoadedValues(ws, 1);
    const std::pair<const std::vector<double>*, int> samples[] = {{&x, step.firstColumn},
                                                                  {&y, step.secondColumn}};
    for (const auto& [values, column] : samples) {
        if (values->size() < 2) {
            WriteResult(ws, TooFewValuesLine(NameOf(ws, column), 2));
            return;
        }
    }
    for (const auto& [values, column] : samples) {
        if (MomentsOf(*values).variance == 0) {
            WriteResult(ws, ConstantVariableLine(NameOf(ws, column)));
            return;
        }
    }
    WriteStudentFisher(ws, StudentFisher(x, y, ws.settings.SignificanceLevel), step.lists);

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
    const std::vector<double> x = LoadedValues(ws, 0);
    const std::vector<double> y = LoadedValues(ws, 1);
    if (x.empty()) {
        WriteResult(ws, TooFewValuesLine(NameOf(ws, step.firstColumn), 1));
    } else if (y.empty()) {
        WriteResult(ws, TooFewValuesLine(NameOf(ws, step.secondColumn), 1));
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
