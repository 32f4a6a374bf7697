// A graph window's own copy of what it was handed: the DataMatrix rows its
// kind reads, the series tables, the names it may write beside points and
// under categories, and the title. Later methods overwrite the store; the
// window keeps drawing its own graph from this copy.
#pragma once

#include <string>
#include <vector>

#include "core/graph_handover.h"

namespace dalvex {

struct Workspace;

// Graph kinds of `TGra.FormIni`, the numbers GraphData::kind holds (a
// method's GraphOrder speaks of its own GraphKind: how its series are laid out).
enum GraphKindNumber {
    KindDescribed = 0,
    KindFunctions = 1,
    KindDeviations = 2,
    KindScatter = 3,
    KindDistributions = 4,
    KindBoxPlots = 5,
    KindBars = 6,
    KindTower = 7,
    KindTower100 = 8,
    KindPie = 9,
    KindScatter3D = 10,
    KindFunctionSurface = 11,
    KindSmoothingSurface = 12,
    KindMap3D = 13,
    KindSuperDiagram = 14,
    KindSplineInterpolation = 15,
    KindSplineSmoothing = 16,
    KindTree = 17,
    KindColourMap = 18,
};

// The kind a request of `TSMForm.GraSt` draws; -1 for an unknown request.
int KindOfRequest(int request);

struct GraphData {
    int kind = KindFunctions;
    int seriesCount = 1;
    // DataMatrix rows as handed over; rows the kind does not read stay empty.
    std::vector<std::vector<double>> rows;
    std::vector<int> styles;                      // per series, X-Y kinds
    std::vector<SeriesDescription> descriptions;  // per series, described series
    int partnerRow = -1;                          // described series with style 5
    std::vector<std::string> rowNames;            // per row: its variable's name, or empty
    std::vector<std::string> seriesNames;         // per series: the name the method gave, or empty
    std::vector<std::string> observationLabels;   // the points' sheet row labels, trimmed
    // The sheet row of each point (1-based), or empty when point i is row i + 1.
    std::vector<int> observationRows;
    std::vector<std::string> variableNames;  // the selected variables' names in order
    std::string title;
    int smoothing = 0;  // "Сглаж:" 0..3 of the smoothing surface, map and superdiagram

    // The sheet row point `i` stands for, 0 when it stands for none (a point
    // past the observations that were loaded).
    int SheetRowOf(int i) const;
    // Row r, empty when it was not handed over.
    const std::vector<double>& Row(int r) const;
    int RowCount() const { return static_cast<int>(rows.size()); }
    // The legend's name of series `series` whose values are in row `yRow`:
    // the method's name for it, its variable's, or its number.
    std::string SeriesName(int series, int yRow) const;
};

// Copies from the workspace what a graph of `kind` with series
// 0..lastSeries reads: rows with their lengths from VarLength, the series
// tables, the sheet's names and the title in TextBuffer.
GraphData TakeGraphData(Workspace& ws, int kind, int lastSeries);

}  // namespace dalvex
