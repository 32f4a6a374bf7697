#include "graphics/graph_data.h"

#include <algorithm>
#include <set>

#include "core/sheet_bridge.h"
#include "core/text.h"
#include "core/workspace.h"
#include "graphics/graph_kinds.h"

namespace dalvex {

int KindOfRequest(int request) {
    switch (request) {
        case RequestPairs:
            return KindFunctions;
        case RequestBars:
            return KindBars;
        case RequestDescribed:
            return KindDescribed;
        case RequestTree:
            return KindTree;
        case RequestScatter3D:
            return KindScatter3D;
        default:
            return -1;
    }
}

const std::vector<double>& GraphData::Row(int r) const {
    static const std::vector<double> none;
    if (r < 0 || r >= RowCount())
        return none;
    return rows[r];
}

namespace {

// Row r of DataMatrix, elements 0..VarLength[r + 1], held to what the store
// really has.
std::vector<double> CopyRow(Workspace& ws, int r) {
    if (r < 0 || r >= MaxVariables || !ws.store.allocated())
        return {};
    DataStore& store = ws.store;
    const int width = store.DataWidth();
    const long firstCell = static_cast<long>(r) * width;
    const long cells = store.DataCells();
    if (width <= 0 || firstCell >= cells)
        return {};
    long last = ws.VarLength[r + 1];
    last = std::min<long>({last, width - 1, cells - 1 - firstCell});
    std::vector<double> row;
    if (last < 0)
        return row;
    row.reserve(static_cast<std::size_t>(last) + 1);
    for (int i = 0; i <= last; ++i)
        row.push_back(store.Data(r, i));
    return row;
}

std::set<int> RowsOfKind(const Workspace& ws, int kind, int lastSeries, int partnerRow) {
    std::set<int> rows;
    const int series = lastSeries + 1;
    const GraphKindRow& row = KindRow(kind);
    switch (row.rows) {
        case RowsRead::Described:
            for (int p = 0; p < series && p < MaxGraphSeries; ++p) {
                const SeriesDescription& d = ws.graphTables.SeriesDescriptions[p];
                rows.insert(d.xRow);
                rows.insert(d.yRow);
            }
            if (partnerRow >= 0)
                rows.insert(partnerRow);
            break;
        case RowsRead::PerSeries:
            for (int r = 0; r < row.rowsPerSeries * series && r < MaxVariables; ++r)
                rows.insert(r);
            break;
        case RowsRead::Fixed:
            for (int r = 0; r < row.rowsPerSeries; ++r)
                rows.insert(r);
            break;
    }
    return rows;
}

}  // namespace

std::string GraphData::SeriesName(int series, int yRow) const {
    if (series >= 0 && series < static_cast<int>(seriesNames.size()) &&
        !seriesNames[series].empty())
        return seriesNames[series];
    if (yRow >= 0 && yRow < static_cast<int>(rowNames.size()) && !rowNames[yRow].empty())
        return rowNames[yRow];
    return std::to_string(series + 1);
}

GraphData TakeGraphData(Workspace& ws, int kind, int lastSeries) {
    GraphData data;
    data.kind = kind;
    lastSeries = std::clamp(lastSeries, 0, MaxGraphSeries - 1);
    data.seriesCount = lastSeries + 1;
    data.title = ws.TextBuffer();

    if (kind == KindDescribed) {
        for (int p = 0; p < data.seriesCount; ++p) {
            const SeriesDescription& d = ws.graphTables.SeriesDescriptions[p];
            data.descriptions.push_back(d);
            // Partners of the points sit in the spare row after the loaded ones.
            if (d.style == 5)
                data.partnerRow = ws.VarLength[0] + 1;
        }
    }
    for (int p = 0; p < data.seriesCount; ++p)
        data.styles.push_back(ws.graphTables.SeriesStyles[p]);
    for (int p = 0; p < data.seriesCount; ++p)
        data.seriesNames.push_back(ws.graphTables.SeriesNames[p]);
    for (std::string& name : ws.graphTables.SeriesNames)
        name.clear();

    const std::set<int> wanted = RowsOfKind(ws, kind, lastSeries, data.partnerRow);
    int longest = 0;
    if (!wanted.empty() && *wanted.rbegin() >= 0) {
        data.rows.resize(static_cast<std::size_t>(*wanted.rbegin()) + 1);
        for (int r : wanted)
            if (r >= 0) {
                data.rows[r] = CopyRow(ws, r);
                longest = std::max(longest, static_cast<int>(data.rows[r].size()));
            }
    }

    const int selected = std::clamp(ws.SelectedColumns[0], 0, MaxVariables - 1);
    for (int i = 0; i < selected; ++i)
        data.variableNames.push_back(VariableName(ws, ws.SelectedColumns[i + 1] - 1));
    for (int r = 0; r < data.RowCount(); ++r)
        data.rowNames.push_back(r < selected ? data.variableNames[r] : std::string());
    data.observationRows = ws.graphTables.ObservationRows;
    const int labels = std::min(longest, SheetRows);
    data.observationLabels.reserve(labels);
    for (int i = 0; i < labels; ++i) {
        const int row = data.SheetRowOf(i);
        data.observationLabels.push_back(row > 0 ? Trim(ws.sheet.Cell(0, row)) : std::string());
    }
    return data;
}

int GraphData::SheetRowOf(int i) const {
    if (observationRows.empty())
        return i >= 0 && i < SheetRows ? i + 1 : 0;
    if (i < 0 || i >= static_cast<int>(observationRows.size()))
        return 0;
    const int row = observationRows[i];
    return row >= 1 && row <= SheetRows ? row : 0;
}

}  // namespace dalvex
