#include "dispatch/sheet_graph.h"

#include <algorithm>

#include "core/graph_handover.h"
#include "core/sheet_bridge.h"
#include "core/text.h"
#include "dispatch/loading.h"
#include "graphics/graph_data.h"
#include "graphics/graph_kinds.h"

namespace dalvex {

namespace {

constexpr int TitledNames = 10;
constexpr int SuperDiagramVariables = 10;

// The complete set of variables for the kind: trimmed to whole pairs or
// triples with the notice, or refused (empty) with it.
std::vector<int> CompleteSet(Workspace& ws, int kind, std::vector<int> columns) {
    const int f = static_cast<int>(columns.size());
    auto refuse = [&] {
        ShowNotice(ws, IncompleteGraphNotice);
        return std::vector<int>{};
    };
    auto trimTo = [&](int group) {
        if (f % group != 0) {
            ShowNotice(ws, IncompleteGraphNotice);
            columns.resize(static_cast<std::size_t>(f - f % group));
        }
        return columns;
    };
    switch (kind) {
        case KindFunctions:
        case KindScatter:
        case KindSplineInterpolation:
        case KindSplineSmoothing:
            if (f == 0)
                return refuse();
            return f == 1 ? columns : trimTo(2);
        case KindDeviations:
        case KindScatter3D:
        case KindSmoothingSurface:
        case KindMap3D:
            return f < 3 ? refuse() : trimTo(3);
        case KindSuperDiagram:
            if (f < 4)
                return refuse();
            if (f > SuperDiagramVariables)
                columns.resize(SuperDiagramVariables);
            return columns;
        case KindColourMap:
            return f < 2 ? refuse() : columns;
        default:
            return f == 0 ? refuse() : columns;
    }
}

// Missing cells: rows that stand for one another's observations lose an
// observation together; series of their own each drop their own.
Missing LoadingOf(int kind) {
    if (kind == KindDistributions || kind == KindBoxPlots || kind == KindTree)
        return Missing::PerRow;
    return Missing::Listwise;
}

}  // namespace

std::string GraphKindTitle(int kind) {
    switch (kind) {
        case KindFunctions:
            return "Функция";
        case KindDeviations:
            return "ФункОткл";
        case KindScatter:
            return "Рассеяние";
        case KindDistributions:
            return "Распределение";
        case KindBoxPlots:
            return "Ящик с усами";
        case KindColourMap:
            return "Карта";
        case KindSuperDiagram:
            return "Супердиаграмма";
        case KindSplineInterpolation:
        case KindSplineSmoothing:
            return "Сплайны";
        case KindTree:
            return "Y-ряды";
        default:
            if (kind >= KindBars && kind <= KindPie)
                return "Диаграмма";
            return "3-мерная";
    }
}

bool DrawSheetGraph(Workspace& ws, int kind, std::vector<int> columns, int smoothing) {
    if (kind < KindDescribed || kind > KindColourMap || kind == KindFunctionSurface)
        return false;
    columns = CompleteSet(ws, kind, std::move(columns));
    if (columns.empty())
        return false;
    std::string title = GraphKindTitle(kind);
    for (std::size_t i = 0; i < columns.size() && i < TitledNames; ++i)
        title += (i == 0 ? ": " : ", ") + Trim(VariableName(ws, columns[i] - 1));

    // The superdiagram's first variable is the value it maps: its last row.
    std::vector<int> order = columns;
    if (kind == KindSuperDiagram)
        std::rotate(order.begin(), order.begin() + 1, order.end());
    // The maps take the first two variables the other way round.
    if (kind == KindSmoothingSurface || kind == KindMap3D)
        std::swap(order[0], order[1]);
    const bool single = columns.size() == 1 && KindRow(kind).rows == RowsRead::PerSeries &&
                        KindRow(kind).rowsPerSeries == 2;
    if (single)
        order = {columns[0], columns[0]};  // against the observation numbers

    const int count = static_cast<int>(order.size());
    ws.SelectedColumns[0] = count;
    for (int k = 0; k < count; ++k)
        ws.SelectedColumns[k + 1] = order[k];
    ws.SelectedColumns[count + 1] = 0;  // names from the variables
    const int spare = kind == KindTree ? 1 : 0;
    if (single) {
        LoadPair(ws, order[0], order[0], Missing::Listwise);
        ws.SelectedColumns[0] = 1;
        ws.SelectedColumns[1] = order[0];
    } else if (!LoadSelected(ws, spare, LoadingOf(kind))) {
        return false;
    }

    int lastSeries = count - 1;
    int drawn = kind;
    const GraphKindRow& row = KindRow(kind);
    if (row.rows == RowsRead::PerSeries && row.rowsPerSeries > 1 && !row.business)
        lastSeries = std::max(count / row.rowsPerSeries, 1) - 1;
    if (kind == KindSmoothingSurface || kind == KindMap3D)
        lastSeries = 0;
    const int style = kind == KindScatter || kind == KindBoxPlots ? 2 : 1;
    for (int p = 0; p <= lastSeries && p < MaxGraphSeries; ++p)
        ws.graphTables.SeriesStyles[p] = static_cast<std::uint8_t>(style);
    if (kind == KindTree) {
        // Every variable against one row of observation numbers 0 .. longest.
        int longest = 0;
        for (int k = 1; k <= count; ++k)
            longest = std::max(longest, ws.VarLength[k]);
        for (int i = 0; i <= longest; ++i)
            ws.store.Data(count, i) = i;
        ws.VarLength[count + 1] = longest;
        for (int p = 0; p < count && p < MaxGraphSeries; ++p)
            ws.graphTables.Describe(p, count, p, p, 0);
        drawn = KindDescribed;
    }
    ws.SetTextBuffer(title);
    ShowGraphKind(ws, drawn, lastSeries, smoothing);
    return true;
}

}  // namespace dalvex
