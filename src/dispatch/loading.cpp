#include "dispatch/loading.h"

#include <algorithm>
#include <vector>

#include "core/sheet_bridge.h"
#include "numeric/data_range.h"

namespace dalvex {

int LoadingMode(Missing missing) {
    switch (missing) {
        case Missing::Listwise:
            return 0;
        case Missing::Keep:
            return 1;
        case Missing::PerRow:
            return 2;
        case Missing::PlainCopy:
            return 3;
    }
    return 3;
}

bool LoadSelected(Workspace& ws, int spare, Missing missing) {
    return LoadSelected(ws, spare, LoadingMode(missing));
}

bool SelectAllVariables(Workspace& ws, int spare, Missing missing) {
    return SelectAllVariables(ws, spare, LoadingMode(missing));
}

void LoadPair(Workspace& ws, int xcol, int ycol, Missing missing, ParsedColumns* parsed) {
    LoadPair(ws, xcol, ycol, missing == Missing::Listwise ? 1 : 0, parsed);
}

void RemoveMissing(Workspace& ws, Missing missing) {
    if (missing == Missing::Listwise || missing == Missing::PerRow)
        RemoveMissing(ws, missing == Missing::Listwise);
}

std::string TooLongNotice(int dataWidth) {
    return TooLongNoticeStart + std::to_string(dataWidth) + "!\r\n(при данном числе переменных)";
}

int FitDataRows(Workspace& ws, int rows, int longest) {
    rows = std::max(rows, 1);
    int width = CellCapacity / rows;
    // A row keeps one cell beyond its last observation, as loading always has.
    if (longest + 1 > width && ws.store.EnsureDataCells(static_cast<long>(longest + 1) * rows))
        width = longest + 1;
    ws.store.SetRowWidth(StoreMatrix::Data, width);
    return width;
}

namespace {

int ColumnLengthOf(const Workspace& ws, int col) {
    return col >= 1 && col <= SheetColumns ? ws.sheet.ColumnLength(col) : 0;
}

}  // namespace

const std::vector<double>& ParsedColumns::Of(const Workspace& ws, int col) {
    auto [it, added] = columns_.try_emplace(col);
    if (added) {
        const int n = ColumnLengthOf(ws, col);
        it->second.resize(n);
        for (int i = 0; i < n; ++i)
            it->second[i] = SheetValue(ws, col, i);
    }
    return it->second;
}

void LoadVariable(Workspace& ws, int k, int col, ParsedColumns* parsed) {
    const int n = ColumnLengthOf(ws, col);
    int last = n - 1;
    const int width = ws.store.DataWidth();
    if (n - 1 >= width - 1) {
        last = width - 2;
        ws.runNotices.ShowOnce(ws, TooLongNotice(width));
    }
    if (parsed != nullptr) {
        const std::vector<double>& values = parsed->Of(ws, col);
        for (int i = 0; i <= last; ++i)
            ws.store.Data(k - 1, i) = values[i];
    } else {
        for (int i = 0; i <= last; ++i)
            ws.store.Data(k - 1, i) = SheetValue(ws, col, i);
    }
    ws.VarLength[k] = last;
    // Observation i is sheet row i + 1 again until missing cells are removed.
    ws.graphTables.ObservationRows.clear();
}

void LoadPair(Workspace& ws, int xcol, int ycol, int mode, ParsedColumns* parsed) {
    LoadVariable(ws, 2, ycol, parsed);
    if (xcol == ycol) {
        for (int i = 0; i <= ws.VarLength[2]; ++i)
            ws.store.Data(0, i) = i;
        ws.VarLength[1] = ws.VarLength[2];
    } else {
        LoadVariable(ws, 1, xcol, parsed);
    }
    ws.VarLength[0] = 1;
    // A pairwise run meets the same unequal lengths pair after pair: the
    // notice is said once in a run.
    if (mode > 0 && ws.VarLength[1] != ws.VarLength[2]) {
        ws.runNotices.ShowOnce(ws, UnequalLengthNotice);
        ws.VarLength[1] = std::min(ws.VarLength[1], ws.VarLength[2]);
    }
    RemoveMissing(ws, mode > 0);
}

bool LoadSelected(Workspace& ws, int spare, int mode) {
    const int count = ws.SelectedColumns[0];
    if (count <= 0) {
        ShowNotice(ws, TooFewValuesNotice);
        return false;
    }
    int longestColumn = 0;
    for (int k = 1; k <= count; ++k)
        longestColumn = std::max(longestColumn, ColumnLengthOf(ws, ws.SelectedColumns[k]));
    FitDataRows(ws, spare + count, longestColumn);
    ws.store.SetRowWidth(StoreMatrix::Work, SquareSide);
    int longest = -1;  // none seen yet
    for (int k = 1; k <= count; ++k) {
        LoadVariable(ws, k, ws.SelectedColumns[k]);
        const int length = ws.VarLength[k] + 1;
        if ((mode == 0 || mode == 1) && longest >= 0 && length != longest)
            ws.runNotices.ShowOnce(ws, UnequalLengthNotice);
        longest = std::max(longest, length);
    }
    ws.VarLength[0] = count - 1;
    ws.VarLength[count + 2] = longest - 1;
    if (mode == 0)
        RemoveMissing(ws, true);
    else if (mode == 2)
        RemoveMissing(ws, false);
    // After listwise removal every row already ends at the common length;
    // without removal the longest row sets it.
    if (mode == 1)
        ws.VarLength[1] = longest - 1;
    if (mode == 0 || mode == 1)
        LoadedRowsRange(ws);
    return true;
}

bool SelectAllVariables(Workspace& ws, int spare, int mode) {
    const int count = ws.sheet.VariableCount();
    ws.SelectedColumns[0] = count;
    for (int k = 1; k <= count; ++k)
        ws.SelectedColumns[k] = k;
    return LoadSelected(ws, spare, mode);
}

namespace {

// Keeps the observations of row `row` up to `last` that are not missing;
// returns the new last index.
int CompactRow(Workspace& ws, int row, int last, long& found) {
    int kept = 0;
    for (int i = 0; i <= last; ++i) {
        const double v = ws.store.Data(row, i);
        if (v == MissingValue)
            ++found;
        else
            ws.store.Data(row, kept++) = v;
    }
    return kept - 1;
}

// The sheet row observation `i` of the loaded rows came from.
int SheetRowOfObservation(const Workspace& ws, int i) {
    const std::vector<int>& rows = ws.graphTables.ObservationRows;
    if (rows.empty())
        return i + 1;
    return i < static_cast<int>(rows.size()) ? rows[i] : 0;
}

}  // namespace

void RemoveMissing(Workspace& ws, bool listwise) {
    const int rows = ws.VarLength[0] + 1;
    long found = 0;
    long removed = 0;
    if (listwise) {
        // Only observations every row holds are examined, so no row keeps
        // values past the common length.
        int last = ws.VarLength[1];
        for (int k = 1; k <= rows; ++k)
            last = std::min(last, ws.VarLength[k]);
        int kept = 0;
        std::vector<int> sheetRows;
        for (int i = 0; i <= last; ++i) {
            int missing = 0;
            for (int r = 0; r < rows; ++r)
                missing += ws.store.Data(r, i) == MissingValue ? 1 : 0;
            found += missing;
            if (missing > 0)
                continue;
            for (int r = 0; r < rows; ++r)
                ws.store.Data(r, kept) = ws.store.Data(r, i);
            sheetRows.push_back(SheetRowOfObservation(ws, i));
            ++kept;
        }
        if (kept <= last)
            ws.graphTables.ObservationRows = std::move(sheetRows);
        removed = static_cast<long>(last + 1 - kept) * rows;
        for (int k = 1; k <= rows; ++k)
            ws.VarLength[k] = kept - 1;
    } else {
        for (int r = 0; r < rows; ++r)
            ws.VarLength[r + 1] = CompactRow(ws, r, ws.VarLength[r + 1], found);
        removed = found;
    }
    if (found > 0)
        WriteResult(ws, "Пропущн=" + std::to_string(found) + " " + std::to_string(removed));
}

}  // namespace dalvex
