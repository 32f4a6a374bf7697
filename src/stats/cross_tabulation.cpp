#include "stats/cross_tabulation.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "core/number.h"
#include "core/sheet_bridge.h"
#include "core/sheet_grid.h"
#include "core/text.h"
#include "dispatch/method_kit.h"
#include "output/significance.h"

namespace dalvex {

namespace {

std::string Number(const Workspace& ws, double x) {
    return FormatNumber(x, ws.digits(), ws.decimalSeparator());
}

std::string List(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names)
        text += name + " ";
    return text;
}

// A whole number as a code: no fraction and within the range of a count.
bool WholeCode(double v) {
    return std::fabs(v) <= 2147483647.0 && v == std::trunc(v);
}

}  // namespace

std::string EmptyTotalsNotice(const std::vector<std::string>& rows,
                              const std::vector<std::string>& columns) {
    std::string text = "!НУЛЕВЫЕ ИТОГИ ТАБЛИЦЫ СОПРЯЖЕННОСТИ -";
    if (!rows.empty())
        text += " СТРОКИ: " + List(rows);
    if (!columns.empty())
        text += (rows.empty() ? " " : "; ") + std::string("СТОЛБЦЫ: ") + List(columns);
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text + "!";
}

std::optional<NamedTable> SheetTable(const Workspace& ws, std::string& refusal) {
    NamedTable t;
    const int K = ws.sheet.VariableCount();
    int M = 0;
    for (int c = 1; c <= K; ++c)
        M = std::max(M, ws.sheet.ColumnLength(c));
    t.table.cells.assign(K, std::vector<double>(M, 0.0));
    for (int c = 1; c <= K; ++c) {
        t.columnNames.push_back(VariableName(ws, c - 1));
        t.sheetColumns.push_back(c);
        for (int r = 0; r < M; ++r) {
            // An empty cell, or the mark a text file keeps for one, counts 0.
            const std::string text = Trim(ws.sheet.Cell(c, r + 1));
            if (text.empty() || text == "?")
                continue;
            const double v = SheetValue(ws, c, r);
            if (v == MissingValue || v < 0) {
                refusal = NotForTabulationNotice;
                return std::nullopt;
            }
            t.table.cells[c - 1][r] = v;
        }
    }
    for (int r = 0; r < M; ++r)
        t.rowNames.push_back(Trim(ws.sheet.Cell(0, r + 1)));
    return t;
}

std::optional<NamedTable> TabulateCategories(const Workspace& ws, std::string& refusal) {
    const int length = std::max(ws.sheet.ColumnLength(1), ws.sheet.ColumnLength(2));
    std::vector<std::string> first, second;
    for (int r = 1; r <= length; ++r) {
        const std::string a = Trim(ws.sheet.Cell(1, r)), b = Trim(ws.sheet.Cell(2, r));
        for (int c : {1, 2}) {
            const double v = SheetValue(ws, c, r - 1);
            if (v != MissingValue && !WholeCode(v)) {
                refusal = NotForTabulationNotice;
                return std::nullopt;
            }
        }
        if (a.empty() || b.empty())
            continue;
        first.push_back(a);
        second.push_back(b);
    }
    Tabulation tab = TabulateTexts(first, second);
    const long cells = static_cast<long>(tab.columnCategories.size()) *
                       static_cast<long>(tab.rowCategories.size());
    if (cells > CellCapacity || static_cast<int>(tab.columnCategories.size()) > MaxVariables) {
        refusal = NotForTabulationNotice;
        return std::nullopt;
    }
    NamedTable t;
    t.table = std::move(tab.table);
    t.columnNames = std::move(tab.columnCategories);
    t.rowNames = std::move(tab.rowCategories);
    return t;
}

bool WriteTabulation(Workspace& ws, NamedTable& t) {
    const int first = ws.sheet.VariableCount() + 1;
    const int K = t.table.columns(), M = t.table.rows();
    if (first + K > MaxVariables || M > SheetRows) {
        ShowNotice(ws, NoRoomForTableNotice);
        return false;
    }
    if (!SheetHasRoomFor(ws, static_cast<long>(K + 1) * M))
        return false;
    PutSheetText(ws, CategoriesHeading, first, -1);
    for (int r = 0; r < M; ++r)
        PutSheetText(ws, t.rowNames[r], first, r);
    t.sheetColumns.clear();
    for (int c = 0; c < K; ++c) {
        const int column = first + 1 + c;
        PutSheetText(ws, t.columnNames[c], column, -1);
        for (int r = 0; r < M; ++r)
            PutSheetValue(ws, column, r, t.table.cells[c][r]);
        t.sheetColumns.push_back(column);
    }
    return true;
}

namespace {

using CellValue = std::function<double(int c, int r)>;

void WriteTable(Workspace& ws, const NamedTable& t, const char* heading, const CellValue& cell) {
    WriteResult(ws, "");
    WriteResult(ws, heading);
    for (int r = 0; r < t.table.rows(); ++r) {
        std::string line;
        for (int c = 0; c < t.table.columns(); ++c)
            line += Field(ws, cell(c, r));
        WriteResult(ws, line);
    }
}

std::string Separator(int columns) {
    std::string line;
    for (int c = 0; c < columns; ++c)
        line += "---------";
    return line + "|";
}

void WriteObserved(Workspace& ws, const NamedTable& t, const CrossTabFigures& f) {
    const int K = t.table.columns();
    WriteResult(ws, "");
    WriteResult(ws, "        Наблюденные частоты признаков");
    for (int r = 0; r < t.table.rows(); ++r) {
        std::string line;
        for (int c = 0; c < K; ++c)
            line += Field(ws, t.table.cells[c][r]);
        WriteResult(ws, line + "|" + Field(ws, f.rowTotals[r]));
    }
    WriteResult(ws, Separator(K));
    std::string totals;
    for (int c = 0; c < K; ++c)
        totals += Field(ws, f.columnTotals[c]);
    WriteResult(ws, totals + "|" + Field(ws, f.total));
}

void WriteTotalPercents(Workspace& ws, const NamedTable& t, const CrossTabFigures& f) {
    const int K = t.table.columns();
    const double s = f.total;
    WriteResult(ws, "");
    WriteResult(ws, "       Общая процентная встречаемость признаков:");
    for (int r = 0; r < t.table.rows(); ++r) {
        std::string line;
        for (int c = 0; c < K; ++c)
            line += Field(ws, 100 * t.table.cells[c][r] / s);
        WriteResult(ws, line + "|" + Field(ws, 100 * f.rowTotals[r] / s) + "%");
    }
    WriteResult(ws, Separator(K));
    std::string totals;
    for (int c = 0; c < K; ++c)
        totals += Field(ws, 100 * f.columnTotals[c] / s) + "%";
    WriteResult(ws, totals);
}

void WriteMeasures(Workspace& ws, const CrossTabFigures& f) {
    ws.VerdictIndex = 1;
    WriteStatistic(ws, "Хи-квадрат =", f.chi2, f.significance, f.df, 1);
    WriteResult(ws, "Коэфф. Фи =" + Number(ws, f.phi));
    WriteResult(ws, "Коэфф.сопряж. Пирсона =" + Number(ws, f.contingency));
    WriteResult(ws, "V-коэфф. Краммера =" + Number(ws, f.cramer));
    WriteResult(ws, "Ламбда Гудмана и Крускала: симметр, ряд, столб =" + Number(ws, f.lambdaSym) +
                        ", " + Number(ws, f.lambdaRow) + ", " + Number(ws, f.lambdaCol));
    WriteResult(ws, "Тау-b Кендала =" + Number(ws, f.tauB));
    WriteResult(ws, "Тау-с Кендала =" + Number(ws, f.tauC));
    WriteResult(ws, "Гамма Гудмана и Кендала =" + Number(ws, f.gamma));
    WriteResult(ws, "d(x,y)Соммера=" + Number(ws, f.somersRow) + ", " + Number(ws, f.somersCol));
}

void DrawTable(Workspace& ws, const NamedTable& t) {
    // The bars carry the names of the table's columns where they are in the
    // sheet: the graph names its series after the selected variables.
    ws.SelectedColumns[0] = static_cast<int>(t.sheetColumns.size());
    for (std::size_t c = 0; c < t.sheetColumns.size(); ++c)
        ws.SelectedColumns[c + 1] = t.sheetColumns[c];
    GraphOrder graph(ws, GraphKind::Bars);
    for (const std::vector<double>& column : t.table.cells)
        graph.Bars(column);
    graph.Title(CrossTabCaption).Show();
}

}  // namespace

void WriteCrossTabulation(Workspace& ws, const NamedTable& t, const CrossTabFigures& f) {
    WriteTable(ws, t, "       Процентная встречаемость признаков по рядам:", [&](int c, int r) {
        return 100 * t.table.cells[c][r] / f.rowTotals[r];
    });
    WriteTable(ws, t, "       Процентная встречаемость признаков по столбцам:", [&](int c, int r) {
        return 100 * t.table.cells[c][r] / f.columnTotals[c];
    });
    WriteTotalPercents(ws, t, f);
    WriteTable(ws, t, "       Ожидаемые частоты признаков:", [&](int c, int r) {
        return f.expected[c][r];
    });
    WriteTable(ws, t, "       Остаточные частоты признаков (набл-ожид):", [&](int c, int r) {
        return t.table.cells[c][r] - f.expected[c][r];
    });
    WriteResult(ws, "");
    WriteMeasures(ws, f);
}

void CrossTabulation(Workspace& ws) {
    std::string refusal;
    std::optional<NamedTable> t;
    const bool raw = ws.sheet.VariableCount() == 2 && ws.sheet.ColumnLength(1) > 10;
    t = raw ? TabulateCategories(ws, refusal) : SheetTable(ws, refusal);
    if (!t) {
        ShowNotice(ws, refusal);
        return;
    }
    if (t->table.columns() < 2 || t->table.rows() < 2) {
        ShowNotice(ws, TableTooSmallNotice);
        return;
    }
    if (raw)
        WriteTabulation(ws, *t);

    // Totals first: an empty row or column is named, and nothing is divided by it.
    ContingencyTable& table = t->table;
    std::vector<std::string> emptyRows, emptyColumns;
    std::vector<double> rowTotals(table.rows(), 0.0), columnTotals(table.columns(), 0.0);
    for (int c = 0; c < table.columns(); ++c)
        for (int r = 0; r < table.rows(); ++r) {
            rowTotals[r] += table.cells[c][r];
            columnTotals[c] += table.cells[c][r];
        }
    for (int r = 0; r < table.rows(); ++r)
        if (rowTotals[r] == 0)
            emptyRows.push_back(t->rowNames[r]);
    for (int c = 0; c < table.columns(); ++c)
        if (columnTotals[c] == 0)
            emptyColumns.push_back(t->columnNames[c]);

    WriteResult(ws, "Столбцы: " + List(t->columnNames));
    WriteResult(ws, "Строки: " + List(t->rowNames));
    if (!emptyRows.empty() || !emptyColumns.empty()) {
        ShowNotice(ws, EmptyTotalsNotice(emptyRows, emptyColumns));
        return;
    }
    const CrossTabFigures f = CrossTabulate(table);
    WriteObserved(ws, *t, f);
    WriteCrossTabulation(ws, *t, f);
    DrawTable(ws, *t);
}

}  // namespace dalvex
