#include "dispatch/method_kit.h"

#include <algorithm>
#include <cmath>

#include "core/arithmetic_fault.h"
#include "core/number.h"
#include "core/sheet_bridge.h"
#include "core/text.h"
#include "dispatch/variable_dialogs.h"
#include "numeric/distributions.h"
#include "output/significance.h"

namespace dalvex {

// ---------------------------------------------------------------------------
// Loaded rows

LoadedRow LoadedRowOf(Workspace& ws, int row) {
    LoadedRow loaded;
    loaded.row = row;
    loaded.column = ws.SelectedColumns[row + 1];
    loaded.name = VariableName(ws, loaded.column - 1);
    const int last = ws.VarLength[row + 1];
    loaded.values.reserve(last < 0 ? 0 : last + 1);
    for (int i = 0; i <= last; ++i)
        loaded.values.push_back(ws.store.Data(row, i));
    return loaded;
}

std::vector<LoadedRow> LoadedRows(Workspace& ws) {
    std::vector<LoadedRow> rows;
    for (int r = 0; r <= ws.VarLength[0]; ++r)
        rows.push_back(LoadedRowOf(ws, r));
    return rows;
}

std::vector<LoadedRow> ChooseAndLoad(Workspace& ws, Choose choose, int spare, Missing missing) {
    switch (choose) {
        case Choose::List:
            if (pq30(ws) == 0 || !LoadSelected(ws, spare, missing))
                return {};
            break;
        case Choose::One:
            if (pq030(ws) == 0 || !LoadSelected(ws, spare, missing))
                return {};
            break;
        case Choose::All:
            if (!SelectAllVariables(ws, spare, missing))
                return {};
            break;
    }
    return LoadedRows(ws);
}

// ---------------------------------------------------------------------------
// Variables a method cannot use

void NoteUnusable(Workspace& ws, const std::string& notice, const std::string& name) {
    ws.runNotices.Gather(notice, name);
}

void ShowUnusable(Workspace& ws) {
    ws.runNotices.Flush(ws);
}

// ---------------------------------------------------------------------------
// Report lines

std::string Field(const Workspace& ws, double x) {
    const std::string text = FormatNumber(x, ws.digits(), ws.decimalSeparator());
    if (CharLength(text) >= 9)
        return " " + text;
    return PadLeft(text, 9);
}

std::string Fields(const Workspace& ws, const std::vector<double>& figures) {
    std::string line;
    for (double x : figures)
        line += Field(ws, x);
    return line;
}

std::string NameField(const std::string& name) {
    return PadLeft(name, 9);
}

void WriteFigureRow(Workspace& ws, const std::string& name, const std::vector<double>& figures,
                    std::size_t limit) {
    std::string line = NameField(name) + Fields(ws, figures);
    if (limit != std::string::npos)
        line = CharCut(line, limit);
    WriteResult(ws, line);
}

double WriteStatistic(Workspace& ws, const std::string& label, double value, double p, double df2,
                      double df1) {
    ws.SetTextBuffer(label + FormatNumber(value, ws.digits(), ws.decimalSeparator()));
    return WriteSignificance(ws, p, df2, df1);
}

double FSignificance(double f, double df1, double df2) {
    if (df1 == 1)
        return FisherTail(std::sqrt(f), 1, df2);
    return FisherTail(f, df1, df2);
}

double WriteFLine(Workspace& ws, const std::string& label, double f, double df1, double df2) {
    return WriteStatistic(ws, label, f, FSignificance(f, df1, df2), df2, df1);
}

// ---------------------------------------------------------------------------
// Form answers

FormReader::FormReader(Workspace& ws, FormDialog form)
    : ws_(ws), form_(std::move(form)), answer_(ShowForm(ws, form_)) {}

void FormReader::Refuse(int field, const std::string& notice) {
    if (ok_) {
        const std::string label =
            field >= 0 && field < form_.FieldCount() ? form_.FieldAt(field).label : std::string();
        const FloatingFlagsKept kept;  // the window's arithmetic is not the command's
        ws_.ui.FieldRefused(label, notice);
    }
    ok_ = false;
}

const std::string* FormReader::Text(int field, const std::string& notice) {
    if (!ok_)
        return nullptr;
    if (field < 0 || field >= static_cast<int>(answer_.values.size())) {
        Refuse(field, notice);
        return nullptr;
    }
    return &answer_.values[field];
}

int FormReader::Integer(int field, int low, int high, const std::string& notice) {
    const std::string* text = Text(field, notice);
    if (text == nullptr)
        return low;
    const ParsedNumber parsed = ParseNumber(Trim(*text));
    const double value = std::trunc(parsed.value);
    if (!parsed.ok() || value < low || value > high) {
        Refuse(field, notice);
        return low;
    }
    return static_cast<int>(value);
}

double FormReader::Number(int field, const std::string& notice, double low, double high) {
    const std::string* text = Text(field, notice);
    if (text == nullptr)
        return low;
    const ParsedNumber parsed = ParseNumber(Trim(*text));
    if (!parsed.ok() || parsed.value < low || parsed.value > high) {
        Refuse(field, notice);
        return low;
    }
    return parsed.value;
}

int FormReader::Choice(int field, int items, const std::string& notice) {
    return Integer(field, 0, items - 1, notice);
}

// ---------------------------------------------------------------------------
// The sheet

bool AppendSheetVariable(Workspace& ws, const std::vector<double>& values) {
    const int col = ws.sheet.VariableCount() + 1;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const int obs = static_cast<int>(i);
        const bool written = values[i] == MissingValue ? PutSheetText(ws, "", col, obs)
                                                       : PutSheetValue(ws, col, obs, values[i]);
        if (!written)
            return false;
    }
    return true;
}

// ---------------------------------------------------------------------------
// Graphs

GraphOrder& GraphOrder::Series(std::vector<double> x, std::vector<double> y, SeriesStyle style,
                               std::string name) {
    series_.push_back({std::move(x), std::move(y), style, std::move(name)});
    return *this;
}

GraphOrder& GraphOrder::Described(std::vector<double> x, std::vector<double> y, int marker,
                                  int style, std::string name) {
    series_.push_back(
        {std::move(x), std::move(y), SeriesStyle::Line, std::move(name), marker, style});
    return *this;
}

GraphOrder& GraphOrder::Bars(std::vector<double> heights, std::string name) {
    series_.push_back({{}, std::move(heights), SeriesStyle::Bars, std::move(name)});
    return *this;
}

GraphOrder& GraphOrder::Title(std::string title) {
    title_ = std::move(title);
    return *this;
}

void GraphOrder::Show(bool offerDiscard) {
    if (series_.empty() || static_cast<int>(series_.size()) > MaxGraphSeries)
        return;
    // A bar chart's series is one row, its heights; the others are X and Y.
    const int rowsPerSeries = kind_ == GraphKind::Bars ? 1 : 2;
    const int rows = rowsPerSeries * static_cast<int>(series_.size());
    std::size_t longest = 0;
    for (const Entry& s : series_)
        longest = std::max({longest, s.x.size(), s.y.size()});
    FitDataRows(ws_, rows, static_cast<int>(longest));
    DataStore& store = ws_.store;
    auto lay = [&](int row, const std::vector<double>& values) {
        for (std::size_t i = 0; i < values.size(); ++i)
            store.Data(row, static_cast<int>(i)) = Checked(values[i]);
        ws_.VarLength[row + 1] = static_cast<int>(values.size()) - 1;
    };
    const int lastSeries = static_cast<int>(series_.size()) - 1;
    for (int p = 0; p <= lastSeries; ++p) {
        const Entry& s = series_[p];
        if (kind_ == GraphKind::Bars) {
            lay(p, s.y);
        } else {
            lay(2 * p, s.x);
            lay(2 * p + 1, s.y);
        }
        if (kind_ == GraphKind::Described)
            ws_.graphTables.Describe(p, 2 * p, 2 * p + 1, s.marker, s.described);
        else
            ws_.graphTables.SeriesStyles[p] = static_cast<std::uint8_t>(s.style);
        ws_.graphTables.SeriesNames[p] = s.name;
    }
    ws_.VarLength[0] = lastSeries;
    ws_.SetTextBuffer(title_);
    const int request = kind_ == GraphKind::Bars        ? RequestBars
                        : kind_ == GraphKind::Described ? RequestDescribed
                                                        : RequestPairs;
    GraSt(ws_, request, lastSeries);
    pqsegr(ws_, offerDiscard);
}

}  // namespace dalvex
