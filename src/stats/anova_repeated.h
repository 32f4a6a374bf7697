// Repeated-measures analysis of variance (method 36): every selected variable
// is one cell of the design and every observation one subject, measured in
// every cell of the within-subject factors; between-subject factors split the
// subjects into groups of n each (observation i of a group's cells is that
// group's subject i). Six designs, from one within factor to three.
//
// Every sum of squares is a combination of brackets (the sum over the
// classes of a classification of (class total)² / class size) over the data
// less their grand mean, so values near 1e7 keep their digits. A within
// factor of more than three levels gets the covariance matrix of its levels,
// the Greenhouse-Geisser and Huynh-Feldt coefficients and, where they call
// for it, the tests again with corrected degrees of freedom.
#pragma once

#include <string>
#include <vector>

#include "core/form_dialog.h"
#include "core/workspace.h"

namespace dalvex {

inline constexpr const char* GroupDesignMemory = "q114.ini";
inline constexpr const char* RepeatedLevelsNotice = "Ошибка задания числа уровней факторов!";
inline constexpr const char* RepeatedHeading = "Источник  Сум.квадр  Ст.своб Ср.квадр";
inline constexpr const char* CellMeansTitle = "График факторных эффектов";
// A described graph keeps its rows in signed bytes: two rows a series, rows
// 0 .. 127.
inline constexpr int MostCellMeanSeries = 64;
std::string CellMeanSeriesNotice(int drawn, int all);

// The answers of the design dialog, as the dispatcher knows them.
enum class RepeatedDesign {
    WithinOne = 1,
    WithinOneBetweenOne = 2,
    WithinOneBetweenTwo = 3,
    WithinTwoBetweenOne = 4,
    WithinThree = 5,
    WithinTwo = 6,
};

struct RepeatedSource {
    const char* label;  // 9 characters
    double ss = 0, df = 0;
    bool meanSquare = true;  // "Групповая" and "Общая" show none
};

struct RepeatedFLine {
    const char* label;  // "F(фактор1)="
    double f = 0, p = 1, df1 = 0, df2 = 0;
};

// The covariance matrix of a within factor's levels and its coefficients.
struct SphericityFigures {
    const char* title;  // "  Матрица ковариаций"
    std::vector<std::vector<double>> matrix;
    double epsilon = 1;     // Greenhouse-Geisser
    double huynhFeldt = 1;  // held to at most 1
};

struct RepeatedFigures {
    std::string notice;  // the analysis cannot be made (nothing else is set)
    std::vector<RepeatedSource> sources;
    std::vector<RepeatedFLine> fLines;
    std::vector<SphericityFigures> sphericity;  // none, one, or two (two within)
    // The tests again with corrected degrees of freedom; empty when the
    // coefficients call for none.
    std::vector<double> coefficients;
    std::vector<RepeatedFLine> corrected;
    // The levels of factors 1, 2, 3 (1 where the design has no such factor)
    // and the mean of each cell, cell j1 + L1 (j2 + L2 j3).
    int levels[3] = {1, 1, 1};
    std::vector<double> cellMeans;
};

// `cells` the loaded rows (all of one length, loaded listwise); `levels1`,
// `levels2` the typed level counts the design uses.
RepeatedFigures ComputeRepeated(const std::vector<std::vector<double>>& cells,
                                RepeatedDesign design, int levels1, int levels2);

// The table, the F lines, the matrices with their coefficients and the
// corrected tests.
void WriteRepeated(Workspace& ws, const RepeatedFigures& f);
// The graph of cell means of every design but the first.
void DrawCellMeans(Workspace& ws, const RepeatedFigures& f, RepeatedDesign design);

// The design dialog `Tq114` ("Метод").
FormDialog GroupDesignForm();
// Shows it: the design's answer (0 cancelled); the typed level counts land in
// AnswerNumber as L1 + 64 L2, each 2 .. 63.
int GroupDesignChoice(Workspace& ws);
// Method 36 on the loaded rows with the design of `choice`.
void GroupAnalysisMethod(Workspace& ws, int choice);

}  // namespace dalvex
