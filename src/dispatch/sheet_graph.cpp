#include "dispatch/sheet_graph.h"

#include <algorithm>
#include <numeric>

#include "core/graph_handover.h"
#include "core/sheet_bridge.h"
#include "core/text.h"
#include "dispatch/loading.h"
#include "graphics/graph_data.h"
#include "graphics/graph_kinds.h"
#include "numeric/splines.h"

namespace dalvex {

namespace {

constexpr int TitledNames = 10;
constexpr int SuperDiagramVariables = 10;

using Row = std::vector<double>;

// The complete set of variables for the answer: trimmed to whole pairs or
// triples with the notice, or refused (empty) with it.
std::vector<int> CompleteSet(Workspace& ws, int answer, std::vector<int> columns) {
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
    switch (answer) {
        case KindFunctions:
        case KindScatter:
            if (f == 0)
                return refuse();
            return f == 1 ? columns : trimTo(2);
        case KindSplineInterpolation:
        case KindSplineSmoothing:
            if (f == 0)
                return refuse();
            // One curve a graph: the first pair is fitted.
            columns = f == 1 ? columns : trimTo(2);
            columns.resize(std::min<std::size_t>(columns.size(), 2));
            return columns;
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

// Keeps the observations that every row of the group holds: a missing cell,
// or the end of a shorter row, takes the observation out of all of them, so
// the rows stay aligned point by point.
void KeepComplete(std::vector<Row*> group) {
    std::size_t n = group.front()->size();
    for (const Row* row : group)
        n = std::min(n, row->size());
    std::size_t kept = 0;
    for (std::size_t i = 0; i < n; ++i) {
        bool complete = true;
        for (const Row* row : group)
            complete = complete && (*row)[i] != MissingValue;
        if (!complete)
            continue;
        for (Row* row : group)
            (*row)[kept] = (*row)[i];
        ++kept;
    }
    for (Row* row : group)
        row->resize(kept);
}

Row ObservationNumbers(std::size_t n) {
    Row numbers(n);
    std::iota(numbers.begin(), numbers.end(), 0.0);
    return numbers;
}

// The rows a graph of the X-Y family reads, with the sheet column each row
// was taken from (its name is the row's name in the legend).
struct Layout {
    std::vector<Row> rows;
    std::vector<int> rowColumns;
    int series = 0;
    std::vector<std::string> seriesNames;  // empty: the Y row's variable

    void Add(Row row, int column) {
        rows.push_back(std::move(row));
        rowColumns.push_back(column);
    }
};

class Preparation {
  public:
    Preparation(Workspace& ws, const std::vector<int>& columns) : ws_(ws), columns_(columns) {}

    // Groups of `size` consecutive variables (one variable alone is set
    // against its observation numbers); a group without a complete
    // observation is left out and named.
    Layout Groups(int size) {
        Layout layout;
        if (columns_.size() == 1 && size == 2) {
            Row y = Values(columns_[0]);
            Row x = ObservationNumbers(y.size());
            AddGroup(layout, {std::move(x), std::move(y)}, {columns_[0], columns_[0]});
            return layout;
        }
        for (std::size_t g = 0; g + size <= columns_.size(); g += size) {
            std::vector<Row> rows;
            std::vector<int> cols;
            for (int k = 0; k < size; ++k) {
                rows.push_back(Values(columns_[g + k]));
                cols.push_back(columns_[g + k]);
            }
            AddGroup(layout, std::move(rows), cols);
        }
        return layout;
    }

    // Every variable a series of its own, its missing cells dropped; with
    // `numbered`, each against the observation numbers of the values it has.
    Layout Singles(bool numbered, bool sorted) {
        Layout layout;
        for (int column : columns_) {
            Row y = Values(column);
            if (numbered) {
                AddGroup(layout, {ObservationNumbers(y.size()), std::move(y)}, {column, column});
                continue;
            }
            std::erase(y, MissingValue);
            if (sorted)
                std::sort(y.begin(), y.end());
            AddGroup(layout, {std::move(y)}, {column});
        }
        return layout;
    }

  private:
    Row Values(int column) { return parsed_.Of(ws_, column); }

    void AddGroup(Layout& layout, std::vector<Row> rows, const std::vector<int>& cols) {
        std::vector<Row*> group;
        for (Row& row : rows)
            group.push_back(&row);
        KeepComplete(group);
        if (rows.front().empty()) {
            ws_.runNotices.Gather(EmptySeriesNotice, Trim(VariableName(ws_, cols.back() - 1)));
            return;
        }
        for (std::size_t k = 0; k < rows.size(); ++k)
            layout.Add(std::move(rows[k]), cols[k]);
        ++layout.series;
    }

    Workspace& ws_;
    const std::vector<int>& columns_;
    ParsedColumns parsed_;
};

// The rows into DataMatrix with their lengths; SelectedColumns names the
// column of each row, so that legends and point names find their variables.
void PutRows(Workspace& ws, const Layout& layout) {
    const int count = static_cast<int>(layout.rows.size());
    std::size_t longest = 0;
    for (const Row& row : layout.rows)
        longest = std::max(longest, row.size());
    const int width = FitDataRows(ws, count, static_cast<int>(longest));
    if (static_cast<int>(longest) > width - 1)
        ws.runNotices.ShowOnce(ws, TooLongNotice(width));
    for (int r = 0; r < count; ++r) {
        const Row& row = layout.rows[r];
        const int n = std::min(static_cast<int>(row.size()), width - 1);
        for (int i = 0; i < n; ++i)
            ws.store.Data(r, i) = row[i];
        ws.VarLength[r + 1] = n - 1;
        ws.SelectedColumns[r + 1] = layout.rowColumns[r];
    }
    ws.VarLength[0] = count - 1;
    ws.SelectedColumns[0] = count;
    ws.SelectedColumns[count + 1] = 0;
    for (int p = 0; p < layout.series && p < MaxGraphSeries; ++p)
        if (p < static_cast<int>(layout.seriesNames.size()))
            ws.graphTables.SeriesNames[p] = layout.seriesNames[p];
}

void SetStyles(Workspace& ws, int series, int style) {
    for (int p = 0; p < series && p < MaxGraphSeries; ++p)
        ws.graphTables.SeriesStyles[p] = static_cast<std::uint8_t>(style);
}

bool Sorted(Row& x, Row& y) {
    std::vector<std::size_t> order(x.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return x[a] < x[b]; });
    Row sx, sy;
    for (std::size_t i : order) {
        sx.push_back(x[i]);
        sy.push_back(y[i]);
    }
    x = std::move(sx);
    y = std::move(sy);
    return std::adjacent_find(x.begin(), x.end()) == x.end();
}

// The pair's points sorted by X and, when they make a spline, its curve as
// a second series. Without a curve the points alone are drawn.
void AddSpline(Workspace& ws, int answer, Layout& layout, const GraphOptions& options) {
    Row& x = layout.rows[0];
    Row& y = layout.rows[1];
    const int n = static_cast<int>(x.size());
    if (n < SplineMinPoints || n > SplineMaxPoints) {
        ShowNotice(ws, SplinePointCountNotice);
        return;
    }
    if (!Sorted(x, y)) {
        ShowNotice(ws, SplineEqualXNotice);
        return;
    }
    const CubicPieces spline = answer == KindSplineInterpolation
                                   ? InterpolatingSpline(x, y)
                                   : SmoothingSpline(x, y, SmoothingBound(y, options.coefficient));
    Row gx, gy;
    EvaluateOnGrid(spline, SplineSteps(options.steps, n, CellCapacity / 4), gx, gy);
    const int yColumn = layout.rowColumns[1];
    layout.Add(std::move(gx), yColumn);
    layout.Add(std::move(gy), yColumn);
    layout.series = 2;
    layout.seriesNames = {std::string(), answer == KindSplineInterpolation ? "Сплайн-интерполяция"
                                                                           : "Сплайн-сглаживание"};
}

// The business graphs and the multivariate kinds: their variables describe
// one set of observations (objects), loaded listwise with equal lengths.
bool ObservationsTogether(int answer) {
    switch (answer) {
        case KindBars:
        case KindTower:
        case KindTower100:
        case KindPie:
        case KindColourMap:
        case KindScatter3D:
        case KindSmoothingSurface:
        case KindMap3D:
        case KindSuperDiagram:
            return true;
        default:
            return false;
    }
}

bool LoadListwise(Workspace& ws, int answer, const std::vector<int>& columns, int& lastSeries) {
    // The superdiagram's first variable is the value it maps: its last row.
    std::vector<int> order = columns;
    if (answer == KindSuperDiagram)
        std::rotate(order.begin(), order.begin() + 1, order.end());
    // The maps take the first two variables the other way round.
    if (answer == KindSmoothingSurface || answer == KindMap3D)
        std::swap(order[0], order[1]);
    const int count = static_cast<int>(order.size());
    ws.SelectedColumns[0] = count;
    for (int k = 0; k < count; ++k)
        ws.SelectedColumns[k + 1] = order[k];
    ws.SelectedColumns[count + 1] = 0;
    if (!LoadSelected(ws, 0, Missing::Listwise))
        return false;
    if (ws.VarLength[1] < 0) {
        ShowNotice(ws, TooFewValuesNotice);
        return false;
    }
    lastSeries = count - 1;
    if (answer == KindScatter3D)
        lastSeries = count / 3 - 1;
    if (answer == KindSmoothingSurface || answer == KindMap3D)
        lastSeries = 0;
    SetStyles(ws, lastSeries + 1, 1);
    return true;
}

}  // namespace

std::string GraphKindTitle(int answer) {
    const GraphMenuEntry* entry = GraphMenuEntryOf(answer);
    return entry != nullptr ? entry->title : "";
}

bool DrawSheetGraph(Workspace& ws, int answer, std::vector<int> columns,
                    const GraphOptions& options) {
    const GraphMenuEntry* entry = GraphMenuEntryOf(answer);
    if (entry == nullptr || answer == MenuFunctionSurface)
        return false;
    ws.runNotices.Begin();
    columns = CompleteSet(ws, answer, std::move(columns));
    if (columns.empty())
        return false;
    if (answer == MenuYSeries && static_cast<int>(columns.size()) > MostYSeries) {
        ShowNotice(ws, TooManySeriesNotice);
        columns.resize(MostYSeries);
    }
    std::string title = entry->title;
    for (std::size_t i = 0; i < columns.size() && i < TitledNames; ++i)
        title += (i == 0 ? ": " : ", ") + Trim(VariableName(ws, columns[i] - 1));

    int lastSeries = 0;
    if (ObservationsTogether(answer)) {
        if (!LoadListwise(ws, answer, columns, lastSeries))
            return false;
    } else {
        Preparation preparation(ws, columns);
        Layout layout;
        int style = 1;
        switch (answer) {
            case KindDeviations:
                layout = preparation.Groups(3);
                break;
            case KindDistributions:
            case KindBoxPlots:
                layout = preparation.Singles(false, true);
                style = answer == KindBoxPlots ? 2 : 1;
                break;
            case MenuYSeries:
                layout = preparation.Singles(true, false);
                break;
            default:
                layout = preparation.Groups(2);
                style = answer == KindScatter ? 2 : 1;
                break;
        }
        ws.runNotices.Flush(ws);
        if (layout.series == 0)
            return false;
        if (answer == KindSplineInterpolation || answer == KindSplineSmoothing)
            AddSpline(ws, answer, layout, options);
        PutRows(ws, layout);
        lastSeries = layout.series - 1;
        SetStyles(ws, layout.series, style);
        if (answer == KindSplineInterpolation || answer == KindSplineSmoothing) {
            // The points as markers, the curve as a line.
            ws.graphTables.SeriesStyles[0] = 2;
            ws.graphTables.SeriesStyles[1] = 0;
        }
        if (answer == MenuYSeries) {
            // Every variable against its own observation numbers, a line in
            // the colour of its position.
            for (int p = 0; p < layout.series; ++p) {
                ws.graphTables.Describe(p, 2 * p, 2 * p + 1, p, 0);
                ws.graphTables.SeriesNames[p] =
                    Trim(VariableName(ws, layout.rowColumns[2 * p] - 1));
            }
        }
    }
    ws.SetTextBuffer(title);
    ShowGraphKind(ws, entry->kind, lastSeries,
                  {options.smoothing, options.bars, options.effect3D ? 1 : 0});
    return true;
}

}  // namespace dalvex
