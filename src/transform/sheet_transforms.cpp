#include "transform/sheet_transforms.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "core/number.h"
#include "core/sheet_bridge.h"
#include "core/text.h"
#include "numeric/ranks.h"

namespace dalvex {

namespace {

std::string CellText(const Workspace& ws, int col, int obs) {
    return Trim(ws.sheet.Cell(col, obs + 1));
}

int LastObservation(int bottom) {
    return std::min(bottom, SheetRows - 1);
}

// Whether a condition compares with a quoted text: then a cell's text is
// what it tests, otherwise it compares numbers.
bool ComparesTexts(const ActiveFormula& formula) {
    for (const FormulaCell& cell : formula.program().cells)
        if (cell.kind == TextOperand)
            return true;
    return false;
}

// Fills the condition's slots for observation `obs`, the current cell being
// that of `column`. A condition without quoted texts compares numbers: a row
// where a cell it reads is not a number is not tested at all (false), so a
// text or an empty cell never passes for 0.
bool TestCondition(Workspace& ws, ActiveFormula& condition, int column, int obs) {
    const std::vector<int>& variables = condition.program().variables;
    condition.SetCellText(CellText(ws, column, obs));
    for (std::size_t k = 0; k < variables.size(); ++k)
        condition.SetVariableText(static_cast<int>(k) + 1, CellText(ws, variables[k], obs));
    condition.SetObservation(obs);
    condition.SetColumn(column);
    try {
        return EvaluateFormula(ws, condition) != 0.0;
    } catch (const NotANumberInFormula&) {
        return false;
    }
}

// The numbers of a variable with their observations.
struct NumberedValues {
    std::vector<double> values;
    std::vector<int> rows;
};

NumberedValues NumbersOf(const Workspace& ws, int column) {
    NumberedValues out;
    const int length = ws.sheet.ColumnLength(column);
    for (int o = 0; o < length; ++o) {
        const double x = SheetValue(ws, column, o);
        if (x != MissingValue) {
            out.values.push_back(x);
            out.rows.push_back(o);
        }
    }
    return out;
}

// The raw texts of observations 0 .. count - 1 of a column.
std::vector<std::string> RawColumn(const SheetGrid& sheet, int column, int count) {
    std::vector<std::string> texts(static_cast<std::size_t>(count));
    for (int o = 0; o < count; ++o)
        texts[static_cast<std::size_t>(o)] = sheet.Cell(column, o + 1);
    return texts;
}

// Puts the chosen rows of a column at the top, in order, and cuts the rest.
void KeepRows(Workspace& ws, int column, const std::vector<bool>& keep, bool markEmpty) {
    const int length = ws.sheet.ColumnLength(column);
    const std::vector<std::string> old = RawColumn(ws.sheet, column, length);
    int p = 0;
    for (int o = 0; o < length; ++o) {
        if (o >= static_cast<int>(keep.size()) || !keep[static_cast<std::size_t>(o)])
            continue;
        std::string text = old[static_cast<std::size_t>(o)];
        const std::string trimmed = Trim(text);
        if (markEmpty && (trimmed.empty() || trimmed == "?" || trimmed == "-?-"))
            text = PadLeft("-?-", 8);
        ws.sheet.SetCell(column, p + 1, text);
        ++p;
    }
    CutColumn(ws, column, p);
}

}  // namespace

SheetBlock BlockOfSelection(const Workspace& ws, int left, int top, int right, int bottom) {
    SheetBlock block;
    if (left == right && top == bottom) {
        const int column = std::max(left, 1);
        block.left = block.right = column;
        block.top = 0;
        block.bottom = ws.sheet.ColumnLength(column) - 1;
        return block;
    }
    block.left = std::max(left, 1);
    block.right = std::max(right, block.left);
    block.top = std::max(top, 1) - 1;
    block.bottom = std::max(bottom, 1) - 1;
    return block;
}

int ApplyStandardFunction(Workspace& ws, const SheetBlock& block, StandardFunction f, double a,
                          double b) {
    int invalid = 0;
    const int last = LastObservation(block.bottom);
    for (int c = block.left; c <= block.right; ++c) {
        // The derivative reads the next row before it is rewritten.
        std::vector<double> column;
        for (int o = block.top; o <= last; ++o)
            column.push_back(SheetValue(ws, c, o));
        double sum = 0.0;
        for (int o = block.top; o <= last; ++o) {
            const double x = column[static_cast<std::size_t>(o - block.top)];
            if (x == MissingValue)
                continue;
            StandardValue result;
            if (f == StandardFunction::Derivative) {
                if (o == last) {
                    result = {0.0};
                } else {
                    const double next = column[static_cast<std::size_t>(o - block.top + 1)];
                    result =
                        next == MissingValue ? StandardValue{0.0, true} : StandardValue{x - next};
                }
            } else if (f == StandardFunction::Integral) {
                sum += x;
                result = {sum};
            } else {
                result = ApplyStandard(f, x, a, b);
            }
            if (result.invalid)
                ++invalid;
            if (!PutSheetValue(ws, c, o, result.value))
                return invalid;
        }
    }
    if (invalid > 0)
        ShowNotice(ws, InvalidArgumentsText + std::to_string(invalid));
    return invalid;
}

std::string NotNumberText(int cells) {
    return "!ПЕРЕМЕННАЯ ФОРМУЛЫ - НЕ ЧИСЛО: ЯЧЕЕК ОСТАВЛЕНО БЕЗ ИЗМЕНЕНИЯ=" +
           std::to_string(cells) + "!";
}

int ApplyFormulaToBlock(Workspace& ws, ActiveFormula& formula, const SheetBlock& block) {
    if (ws.sheet.ColumnLength(block.left) == 0)
        ShowNotice(ws, EmptyTargetText);
    const std::vector<int> variables = formula.program().variables;
    const int last = LastObservation(block.bottom);
    formula.rejectNonNumbers = true;
    int skipped = 0;
    for (int c = block.left; c <= block.right; ++c) {
        for (int o = block.top; o <= last; ++o) {
            if (SheetValue(ws, c, o) == MissingValue)
                continue;
            for (std::size_t k = 0; k < variables.size(); ++k)
                formula.SetVariableText(static_cast<int>(k) + 1, CellText(ws, variables[k], o));
            formula.SetObservation(o);
            formula.SetColumn(c);
            double value = 0.0;
            try {
                value = EvaluateFormula(ws, formula);
            } catch (const NotANumberInFormula&) {
                ++skipped;
                continue;
            }
            if (!PutSheetValue(ws, c, o, value))
                return skipped;
        }
    }
    if (skipped > 0)
        ShowNotice(ws, NotNumberText(skipped));
    return skipped;
}

int CodeVariables(Workspace& ws, ActiveFormula& condition, const std::vector<int>& columns,
                  const std::string& code) {
    condition.rejectNonNumbers = !ComparesTexts(condition);
    int coded = 0;
    for (int v : columns) {
        const int length = ws.sheet.ColumnLength(v);
        for (int o = 0; o < length; ++o) {
            if (!TestCondition(ws, condition, v, o))
                continue;
            if (!PutSheetText(ws, code, v, o))
                return coded;
            ++coded;
        }
    }
    return coded;
}

int SelectObservations(Workspace& ws, ActiveFormula& condition, const std::vector<int>& columns) {
    if (columns.empty())
        return 0;
    condition.rejectNonNumbers = !ComparesTexts(condition);
    int rows = 0;
    for (int v : columns)
        rows = std::max(rows, ws.sheet.ColumnLength(v));
    // Every row is judged before any variable moves, so a condition on one
    // chosen variable chooses the same rows of all of them.
    std::vector<bool> keep(static_cast<std::size_t>(rows), false);
    int kept = 0;
    for (int o = 0; o < rows; ++o)
        if (TestCondition(ws, condition, columns.front(), o)) {
            keep[static_cast<std::size_t>(o)] = true;
            ++kept;
        }
    for (int v : columns)
        KeepRows(ws, v, keep, true);
    return kept;
}

std::string ZeroDeviationText(const std::string& name) {
    return "!СТАНДАРТНОЕ ОТКЛОНЕНИЕ ПЕРЕМЕННОЙ " + name +
           " РАВНО 0 - НОРМИРОВКА НЕВОЗМОЖНА, ПЕРЕМЕННАЯ НЕ ИЗМЕНЕНА!";
}

std::string ZeroRangeText(const std::string& name) {
    return "!ДИАПАЗОН ПЕРЕМЕННОЙ " + name +
           " РАВЕН 0 - НОРМИРОВКА НЕВОЗМОЖНА, ПЕРЕМЕННАЯ НЕ ИЗМЕНЕНА!";
}

void NormaliseByDeviation(Workspace& ws, const std::vector<int>& columns) {
    for (int v : columns) {
        const NumberedValues numbers = NumbersOf(ws, v);
        const std::size_t n = numbers.values.size();
        double mean = 0.0;
        for (double x : numbers.values)
            mean += x;
        mean = n > 0 ? mean / static_cast<double>(n) : 0.0;
        double squares = 0.0;
        for (double x : numbers.values)
            squares += (x - mean) * (x - mean);
        const double sd = n > 1 ? std::sqrt(squares / static_cast<double>(n - 1)) : 0.0;
        if (!(sd > 0.0)) {
            ShowNotice(ws, ZeroDeviationText(VariableName(ws, v - 1)));
            continue;
        }
        for (std::size_t k = 0; k < n; ++k)
            if (!PutSheetValue(ws, v, numbers.rows[k], (numbers.values[k] - mean) / sd))
                return;
    }
}

void NormaliseByRange(Workspace& ws, const std::vector<int>& columns) {
    for (int v : columns) {
        const NumberedValues numbers = NumbersOf(ws, v);
        if (numbers.values.empty()) {
            ShowNotice(ws, ZeroRangeText(VariableName(ws, v - 1)));
            continue;
        }
        const auto [low, high] = std::minmax_element(numbers.values.begin(), numbers.values.end());
        const double min = *low;
        const double range = *high - *low;
        if (!(range > 0.0)) {
            ShowNotice(ws, ZeroRangeText(VariableName(ws, v - 1)));
            continue;
        }
        for (std::size_t k = 0; k < numbers.values.size(); ++k)
            if (!PutSheetValue(ws, v, numbers.rows[k], (numbers.values[k] - min) / range))
                return;
    }
}

void RankVariables(Workspace& ws, const std::vector<int>& columns) {
    for (int v : columns) {
        const NumberedValues numbers = NumbersOf(ws, v);
        std::vector<std::size_t> order(numbers.values.size());
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&](std::size_t i, std::size_t j) {
            return numbers.values[i] < numbers.values[j];
        });
        std::vector<double> sorted;
        sorted.reserve(order.size());
        for (std::size_t i : order)
            sorted.push_back(numbers.values[i]);
        const std::vector<double> ranks = MidRanksOfSorted(sorted);
        for (std::size_t k = 0; k < order.size(); ++k)
            if (!PutSheetValue(ws, v, numbers.rows[order[k]], ranks[k]))
                return;
    }
}

void SortRows(Workspace& ws, const std::vector<int>& keys, const std::vector<int>& moved,
              bool descending) {
    if (keys.empty() || moved.empty())
        return;
    int rows = 0;
    for (int v : keys)
        rows = std::max(rows, ws.sheet.ColumnLength(v));
    for (int v : moved)
        rows = std::max(rows, ws.sheet.ColumnLength(v));
    std::vector<std::vector<double>> keyValues;
    for (int v : keys) {
        std::vector<double> values(static_cast<std::size_t>(rows));
        for (int o = 0; o < rows; ++o)
            values[static_cast<std::size_t>(o)] = SheetValue(ws, v, o);
        keyValues.push_back(std::move(values));
    }
    std::vector<int> order(static_cast<std::size_t>(rows));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int i, int j) {
        for (const std::vector<double>& key : keyValues) {
            const double a = key[static_cast<std::size_t>(i)];
            const double b = key[static_cast<std::size_t>(j)];
            if (a == b)
                continue;
            // A cell that is not a number goes after every number.
            if (a == MissingValue)
                return false;
            if (b == MissingValue)
                return true;
            return descending ? a > b : a < b;
        }
        return false;
    });
    auto permute = [&](int column) {
        const std::vector<std::string> old = RawColumn(ws.sheet, column, rows);
        int length = 0;
        for (int o = 0; o < rows; ++o) {
            const std::string& text =
                old[static_cast<std::size_t>(order[static_cast<std::size_t>(o)])];
            ws.sheet.SetCell(column, o + 1, text);
            if (!Trim(text).empty())
                length = o + 1;
        }
        if (column > 0)
            ws.sheet.SetColumnLength(column, length);
    };
    for (int v : moved)
        permute(v);
    std::vector<int> all(static_cast<std::size_t>(ws.sheet.VariableCount()));
    std::iota(all.begin(), all.end(), 1);
    std::vector<int> sortedMoved = moved;
    std::sort(sortedMoved.begin(), sortedMoved.end());
    sortedMoved.erase(std::unique(sortedMoved.begin(), sortedMoved.end()), sortedMoved.end());
    if (sortedMoved == all)
        permute(0);
}

void SampleObservations(Workspace& ws, const std::vector<int>& columns, int size) {
    if (columns.empty())
        return;
    const int n = ws.sheet.ColumnLength(columns.front());
    const int wanted = std::min(size, n);
    std::vector<bool> marked(static_cast<std::size_t>(n), false);
    if (wanted > 0) {
        const double q = static_cast<double>(wanted) / n;
        int count = 0;
        while (count < wanted)
            for (int j = 0; j < n && count < wanted; ++j)
                if (!marked[static_cast<std::size_t>(j)] && NextUniform(ws) < q) {
                    marked[static_cast<std::size_t>(j)] = true;
                    ++count;
                }
    }
    for (int v : columns)
        KeepRows(ws, v, marked, false);
}

std::string TransposeTooLargeText(int rows) {
    return "!ТРАНСПОНИРОВАНИЕ НЕВОЗМОЖНО: НАБЛЮДЕНИЙ " + std::to_string(rows) +
           ", А ПЕРЕМЕННЫХ В ЛИСТЕ ДАННЫХ НЕ БОЛЕЕ " + std::to_string(SheetColumns) + "!";
}

bool Transpose(Workspace& ws) {
    SheetGrid& sheet = ws.sheet;
    const int V = sheet.VariableCount();
    const int R = sheet.LongestColumn();
    if (V == 0 || R == 0)
        return true;
    if (R > SheetColumns) {
        ShowNotice(ws, TransposeTooLargeText(R));
        return false;
    }
    std::vector<int> oldLength(static_cast<std::size_t>(V + 1), 0);
    std::vector<std::vector<std::string>> old(static_cast<std::size_t>(V + 1));
    for (int c = 0; c <= V; ++c) {
        oldLength[static_cast<std::size_t>(c)] = sheet.ColumnLength(c);
        std::vector<std::string>& texts = old[static_cast<std::size_t>(c)];
        for (int r = 0; r <= R; ++r)
            texts.push_back(sheet.Cell(c, r));
    }
    const int side = std::max(V, R);
    for (int c = 0; c <= side; ++c) {
        for (int r = 0; r <= side; ++r) {
            if (c == 0 && r == 0)
                continue;
            std::string text;
            if (c <= R && r <= V)
                text = old[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
            else if (r == 0)
                text = SheetGrid::DefaultName(c);
            else if (c == 0)
                text = SheetGrid::DefaultLabel(r);
            sheet.SetCell(c, r, std::move(text));
        }
    }
    for (int c = 1; c <= side; ++c) {
        int length = 0;
        if (c <= R)
            for (int r = 1; r <= V; ++r)
                if (oldLength[static_cast<std::size_t>(r)] >= c)
                    length = r;
        sheet.SetColumnLength(c, length);
    }
    sheet.SetVariableCount(R);
    return true;
}

std::string RoundTripText(const Workspace& ws, double x) {
    // The usual digits first, then the few counts that can be the shortest
    // exact text of a double (17 always is).
    std::string text;
    for (int digits : {2 * ws.digits(), 15, 16, 17}) {
        if (digits < 2 * ws.digits())
            continue;
        text = FormatNumber(x, digits, ws.decimalSeparator());
        if (ParseNumber(text).value == x)
            break;
    }
    return text;
}

int WriteGenerated(Workspace& ws, int column, const std::vector<double>& values) {
    int written = 0;
    for (double x : values) {
        if (!PutSheetText(ws, RoundTripText(ws, x), column, written))
            break;
        ++written;
    }
    if (ws.sheet.ColumnLength(column) > written)
        CutColumn(ws, column, written);
    return written;
}

void CutColumn(Workspace& ws, int column, int from) {
    const int length = ws.sheet.ColumnLength(column);
    for (int o = from; o < length; ++o)
        ws.sheet.SetCell(column, o + 1, std::string());
    ws.sheet.SetColumnLength(column, from);
}

}  // namespace dalvex
