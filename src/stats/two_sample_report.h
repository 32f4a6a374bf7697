// The two-sample tests as methods: method 4 (Fisher's variance ratio,
// Student's t for independent and paired samples), 6 (shift: rank sum, van
// der Waerden, and for paired data signed ranks and signs), 7 (scale:
// Ansari-Bradley and squared normal scores) and 8 (Smirnov). Each is a pair
// routine of the pairwise run; the figures come from two_sample.h and the
// functions here only write them.
#pragma once

#include <string>
#include <vector>

#include "stats/pairwise_run.h"
#include "stats/two_sample.h"

namespace dalvex {

inline constexpr const char* UnpairedStudentFile = "непарC.txt";
inline constexpr const char* PairedStudentFile = "парC.txt";
inline constexpr const char* UnpairedRankFile = "непар.txt";
inline constexpr const char* PairedRankFile = "пар.txt";

inline constexpr const char* PairedDataLine = "Для парных данных:";
inline constexpr const char* FewerThanThreeLine = "Критерий неприменим: число значений < 3";
inline constexpr const char* DifferenceHypothesis =
    "   Гипотеза 1: <Есть различия между медианами выборок>";
inline constexpr const char* NoDifferenceHypothesis =
    "   Гипотеза 0: <Нет различий между медианами выборок>";
// Degenerate pairs: the tests cannot mean anything, and the report says why
// instead of printing a fault.
inline constexpr const char* AllTiedLine = "Критерий неприменим: все значения пары одинаковы";
inline constexpr const char* ConstantDifferencesLine =
    "Критерий неприменим: разности пар постоянны";
inline constexpr const char* AllDifferencesZeroLine =
    "Критерий знаков неприменим: все разности равны нулю";
inline constexpr const char* NoVarianceLine =
    "Критерий неприменим: дисперсия статистики равна нулю";
std::string TooFewValuesLine(const std::string& name, int needed);
std::string ConstantVariableLine(const std::string& name);

// The label of a normal-approximation line: entry k of text group 92.
inline constexpr int RankLabelGroup = 92;

// The label, the statistic, ", Z=" and z, then the one-sided significance
// with degrees of freedom nu1, nu2.
void NormalApproxLine(Workspace& ws, int k, int nu1, int nu2, const NormalApproximation& a);
// "Вилкоксон=" / "Знаков=" with the critical bounds and the hypothesis line.
void TableLine(Workspace& ws, const char* label, const TableVerdict& v);

void WriteStudentFisher(Workspace& ws, const StudentFisherFigures& f, SignificanceLists& lists);
void WritePairedStudent(Workspace& ws, const PairedStudentFigures& f, SignificanceLists& lists);
// kind 1 shift, 2 scale, 3 arbitrary alternatives.
void RankTests(Workspace& ws, const PooledRankSums& s, int kind, SignificanceLists& lists);
void PairedRankTests(Workspace& ws, const PairedRankFigures& f, SignificanceLists& lists);

// The pair routines.
void StudentFisherPair(PairStep& step);
void RankTestsPair(PairStep& step);

}  // namespace dalvex
