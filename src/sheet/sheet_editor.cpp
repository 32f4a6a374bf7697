#include "sheet/sheet_editor.h"

#include <algorithm>

#include "core/sheet_bridge.h"
#include "core/text.h"

namespace dalvex {

namespace {

std::string Padded8(const std::string& text) {
    return CharCut(PadLeft(Trim(text), 8), MaxCellChars);
}

bool IsDefaultLabel(const std::string& label, int row) {
    return Trim(label) == std::to_string(row);
}

// Control characters (binary clipboard data) are shown as "?" so that cells
// hold printable text only.
std::string Printable(std::string text) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = '?';
    return text;
}

}  // namespace

TSht1::TSht1(Workspace& ws) : ws_(ws) {}

void TSht1::FormIni() {
    ws_.sheet.Reset();
    history_.Reset(ws_.sheet);
    ws_.ActiveWindowKind = 1;
    SelectCellOnly(1, 1);
}

// --- undo and redo -------------------------------------------------------------------

void TSht1::RecordStep() {
    history_.Record(ws_.sheet);
}

void TSht1::KeepCursorWithinLimits() {
    const int col = std::min(cursorCol_, ColumnLimit());
    SelectCellOnly(col, std::min(cursorRow_, RowLimit(col)));
    ws_.sheetOverflow = false;
}

bool TSht1::Undo() {
    if (!history_.Undo(ws_.sheet))
        return false;
    KeepCursorWithinLimits();
    return true;
}

bool TSht1::Redo() {
    if (!history_.Redo(ws_.sheet))
        return false;
    KeepCursorWithinLimits();
    return true;
}

// --- limits and selection ----------------------------------------------------

int TSht1::ColumnLimit() const {
    return std::min(ws_.sheet.VariableCount() + 1, SheetColumns);
}

int TSht1::RowLimit(int col) const {
    if (col < 1 || col > SheetColumns)
        return 1;
    return std::min(ws_.sheet.ColumnLength(col) + 1, SheetRows);
}

void TSht1::SetRect(int c1, int r1, int c2, int r2) {
    selection_ = {std::min(c1, c2), std::min(r1, r2), std::max(c1, c2), std::max(r1, r2)};
}

void TSht1::SelectCellOnly(int col, int row) {
    cursorCol_ = anchorCol_ = col;
    cursorRow_ = anchorRow_ = row;
    selection_ = {col, row, col, row};
    kind_ = SelectionKind::Cells;
    freshCell_ = true;
}

bool TSht1::PressCell(int col, int row) {
    col = std::max(col, 1);
    row = std::max(row, 1);
    bool permitted = true;
    if (col > ColumnLimit()) {
        col = ColumnLimit();
        row = 1;
        permitted = false;
    } else if (row > RowLimit(col)) {
        row = RowLimit(col);
        permitted = false;
    }
    SelectCellOnly(col, row);
    refusedPress_ = !permitted;
    return permitted;
}

void TSht1::ExtendTo(int col, int row) {
    col = std::clamp(col, 1, ColumnLimit());
    row = std::clamp(row, 1, RowLimit(col));
    cursorCol_ = col;
    cursorRow_ = row;
    SetRect(anchorCol_, anchorRow_, col, row);
    kind_ = SelectionKind::Cells;
    freshCell_ = true;
}

void TSht1::Release() {
    if (refusedPress_)
        SelectCellOnly(cursorCol_, cursorRow_);
    refusedPress_ = false;
}

void TSht1::MoveCursor(int dCol, int dRow, bool extend) {
    const int col = std::clamp(cursorCol_ + dCol, 1, ColumnLimit());
    const int row = std::clamp(cursorRow_ + dRow, 1, RowLimit(col));
    if (extend) {
        ExtendTo(col, row);
    } else {
        SelectCellOnly(col, row);
    }
}

void TSht1::ClickRowLabel(int row) {
    const SheetGrid& g = ws_.sheet;
    if (row < 1 || row > g.ColumnLength(1) || g.VariableCount() < 1)
        return;
    const SheetSelection whole{1, row, g.VariableCount(), row};
    if (selection_ == whole && kind_ == SelectionKind::Row) {
        SelectCellOnly(1, row);
        return;
    }
    SelectCellOnly(1, row);
    selection_ = whole;
    anchorCol_ = g.VariableCount();
    kind_ = SelectionKind::Row;
}

void TSht1::ClickColumnName(int col) {
    const SheetGrid& g = ws_.sheet;
    if (col < 1 || col > SheetColumns)
        return;
    if (col > ColumnLimit()) {
        SelectCellOnly(ColumnLimit(), 1);
        return;
    }
    const SheetSelection whole{col, 1, col, std::max(g.ColumnLength(col), 1)};
    if (selection_ == whole && kind_ == SelectionKind::Column) {
        SelectCellOnly(col, 1);
        return;
    }
    SelectCellOnly(col, 1);
    selection_ = whole;
    anchorRow_ = whole.bottom;
    kind_ = SelectionKind::Column;
}

void TSht1::ClickCorner() {
    const SheetGrid& g = ws_.sheet;
    const SheetSelection whole{1, 1, std::max(g.VariableCount(), 1),
                               std::max(g.ColumnLength(1), 1)};
    if (selection_ == whole && kind_ == SelectionKind::All) {
        SelectCellOnly(1, 1);
        return;
    }
    SelectCellOnly(1, 1);
    selection_ = whole;
    anchorCol_ = whole.right;
    anchorRow_ = whole.bottom;
    kind_ = SelectionKind::All;
}

// --- typing ----------------------------------------------------------------------

void TSht1::StoreCell(int col, int row, const std::string& text) {
    PutSheetText(ws_, text, col, row - 1);
    ws_.sheetOverflow = false;
}

void TSht1::TypeText(const std::string& ch) {
    if (cursorCol_ > ColumnLimit() || cursorRow_ > RowLimit(cursorCol_))
        return;
    const std::string typed = Printable(SanitizeUtf8(ch));
    if (freshCell_)
        ++typingRun_;
    const std::string text =
        freshCell_ ? typed : Trim(ws_.sheet.Cell(cursorCol_, cursorRow_)) + typed;
    StoreCell(cursorCol_, cursorRow_, text);
    freshCell_ = false;
    history_.Record(ws_.sheet, "typing " + std::to_string(typingRun_));
}

void TSht1::Backspace() {
    if (cursorCol_ > ColumnLimit() || cursorRow_ > RowLimit(cursorCol_))
        return;
    if (cursorRow_ > ws_.sheet.ColumnLength(cursorCol_))
        return;  // nothing typed here yet
    const std::string text = Trim(ws_.sheet.Cell(cursorCol_, cursorRow_));
    if (text.empty())
        return;
    if (freshCell_)
        ++typingRun_;
    StoreCell(cursorCol_, cursorRow_, CharCut(text, CharLength(text) - 1));
    freshCell_ = false;
    history_.Record(ws_.sheet, "typing " + std::to_string(typingRun_));
}

bool TSht1::Enter(int firstVisibleRow) {
    const int down = std::min(selection_.top + 1, RowLimit(selection_.left)) - selection_.top;
    selection_.top += down;
    selection_.bottom = std::min(selection_.bottom + down, SheetRows);
    cursorRow_ = std::min(cursorRow_ + down, SheetRows);
    anchorRow_ = std::min(anchorRow_ + down, SheetRows);
    kind_ = SelectionKind::Cells;
    freshCell_ = true;
    return selection_.top - firstVisibleRow > 10;
}

void TSht1::ShiftDown(int col, int fromRow) {
    SheetGrid& g = ws_.sheet;
    const int end = g.ColumnLength(col);
    for (int r = end; r >= fromRow; --r)
        g.SetCell(col, r + 1, g.Cell(col, r));
    if (end >= fromRow)
        g.SetColumnLength(col, end + 1);
}

void TSht1::InsertZero() {
    SheetGrid& g = ws_.sheet;
    const int col = selection_.left;
    const int row = selection_.top;
    if (col < 1 || col > ColumnLimit() || row > RowLimit(col))
        return;
    // The whole shift is checked first, so a refusal leaves the column as it was.
    if (g.ColumnLength(col) >= SheetRows || !SheetHasRoomFor(ws_, 1)) {
        NotifySheetOverflow(ws_);
        return;
    }
    ShiftDown(col, row);
    StoreCell(col, row, "0");
    if (g.ColumnLength(col) < row)
        g.SetColumnLength(col, row);
    RecordStep();
}

// --- delete, cut, copy ---------------------------------------------------------------

void TSht1::RemoveRows(int col, int top, int bottom) {
    SheetGrid& g = ws_.sheet;
    const int end = g.ColumnLength(col);
    const int count = bottom - top + 1;
    for (int r = top; r <= end; ++r)
        g.SetCell(col, r, r + count <= end ? g.Cell(col, r + count) : std::string());
    g.SetColumnLength(col, end - count);
}

// Row labels follow the data when whole observations are deleted. A label
// equal to its own row number is a default one: it stays a number at its
// new place, so default numbering never shifts while given labels do.
void TSht1::FollowLabels(int top, int deleted, int oldEnd) {
    SheetGrid& g = ws_.sheet;
    std::vector<std::string> fresh;
    for (int r = top; r <= oldEnd; ++r) {
        const int source = r + deleted;
        if (source <= oldEnd && !IsDefaultLabel(g.Cell(0, source), source))
            fresh.push_back(g.Cell(0, source));
        else
            fresh.push_back(SheetGrid::DefaultLabel(r));
    }
    for (int r = top; r <= oldEnd; ++r)
        g.SetCell(0, r, fresh[r - top]);
}

void TSht1::ClearColumnCells(int col) {
    SheetGrid& g = ws_.sheet;
    for (int r = 1; r <= g.ColumnLength(col); ++r)
        g.SetCell(col, r, std::string());
    g.SetColumnLength(col, 0);
}

void TSht1::MoveColumn(int from, int to) {
    SheetGrid& g = ws_.sheet;
    const int fromLen = g.ColumnLength(from);
    const int toLen = g.ColumnLength(to);
    for (int r = 0; r <= fromLen; ++r)
        g.SetCell(to, r, g.Cell(from, r));
    for (int r = fromLen + 1; r <= toLen; ++r)
        g.SetCell(to, r, std::string());
    g.SetColumnLength(to, fromLen);
}

void TSht1::RemoveColumn(int col) {
    SheetGrid& g = ws_.sheet;
    const int last = g.VariableCount();
    for (int c = col; c < last; ++c)
        MoveColumn(c + 1, c);
    // The freed last column takes its default name, made unique against its neighbours.
    std::string name = Trim(SheetGrid::DefaultName(last));
    const std::string left = last > 1 ? Trim(g.Cell(last - 1, 0)) : std::string();
    const std::string right = last < SheetColumns ? Trim(g.Cell(last + 1, 0)) : std::string();
    if (name == left || name == right)
        name += "+";
    ClearColumnCells(last);
    g.SetCell(last, 0, Padded8(name));
    g.SetVariableCount(last - 1);
}

void TSht1::SelSht(int mode) {
    SheetGrid& g = ws_.sheet;
    const int left = std::max(selection_.left, 1);
    int right = std::min(selection_.right, g.VariableCount());
    const int top = std::max(selection_.top, 1);
    const int bottom = selection_.bottom;

    if (mode == 1 || mode == 2) {
        clipboard_.clear();
        if (right >= left) {
            for (int r = top; r <= bottom; ++r) {
                for (int c = left; c <= right; ++c) {
                    const std::string cell = Trim(g.Cell(c, r));
                    clipboard_ += cell.empty() ? "?" : cell;
                    if (c < right)
                        clipboard_ += '\t';
                }
                clipboard_ += '\n';
            }
        }
    }
    if (mode == 2 || right < left)
        return;

    const bool wholeObservations = left == 1 && right == g.VariableCount();
    const int oldEndOfFirst = g.ColumnLength(1);
    int deletedFromFirst = 0;
    for (int c = left; c <= right; ++c) {
        const int end = g.ColumnLength(c);
        if (end < top)
            continue;
        const int b = std::min(bottom, end);
        RemoveRows(c, top, b);
        if (c == 1)
            deletedFromFirst = b - top + 1;
    }
    if (wholeObservations && deletedFromFirst > 0)
        FollowLabels(top, deletedFromFirst, oldEndOfFirst);

    for (int c = left; c <= std::min(right, g.VariableCount());) {
        if (g.ColumnLength(c) == 0) {
            RemoveColumn(c);
            --right;
        } else {
            ++c;
        }
    }
    if (selection_.left > g.VariableCount() && selection_.right > g.VariableCount() + 1)
        SelectCellOnly(ColumnLimit(), 1);
    if (cursorCol_ > ColumnLimit() || cursorRow_ > RowLimit(cursorCol_))
        SelectCellOnly(std::min(cursorCol_, ColumnLimit()),
                       std::min(cursorRow_, RowLimit(std::min(cursorCol_, ColumnLimit()))));
    kind_ = SelectionKind::Cells;
    RecordStep();
}

void TSht1::DeleteCommand(bool editBoxHasFocus) {
    if (editBoxHasFocus)
        return;
    const SheetGrid& g = ws_.sheet;
    const int col = selection_.left;
    if (col >= 1 && col <= g.VariableCount() && g.ColumnLength(col) > 0 && selection_.top <= 1 &&
        selection_.bottom >= g.ColumnLength(col)) {
        if (!AskYesNo(ws_, "Удалить переменную " + Trim(g.Cell(col, 0)) + "?"))
            return;
    }
    SelSht(0);
}

void TSht1::DeleteVariable() {
    const int col = selection_.left;
    if (col < 1 || col > ws_.sheet.VariableCount())
        return;
    ClickColumnName(col);
    if (kind_ != SelectionKind::Column)
        ClickColumnName(col);
    DeleteCommand(false);
}

void TSht1::DeleteRow() {
    const SheetGrid& g = ws_.sheet;
    const int row = selection_.top;
    if (row < 1 || row > g.LongestColumn())
        return;
    SelectCellOnly(1, row);
    selection_ = {1, row, g.VariableCount(), row};
    SelSht(0);
}

// --- paste ---------------------------------------------------------------------------

void TSht1::Paste(const std::string& text) {
    if (text.empty())
        return;
    SheetGrid& g = ws_.sheet;
    const int left = std::max(selection_.left, 1);
    const int top = std::max(selection_.top, 1);
    // One notice for the whole paste, however many values it could not place.
    bool refused = false;
    auto refuse = [&] {
        if (!refused)
            NotifySheetOverflow(ws_);
        refused = true;
    };
    long filled = g.FilledCells();

    // Lines are taken one at a time: a huge clipboard text is never copied
    // whole, and reading stops at the last row of the sheet.
    std::size_t lineStart = 0;
    for (int row = top; lineStart < text.size(); ++row) {
        std::size_t lineEnd = text.find_first_of("\r\n", lineStart);
        if (lineEnd == std::string::npos)
            lineEnd = text.size();
        const std::string_view raw(text.data() + lineStart, lineEnd - lineStart);
        lineStart = lineEnd + 1;
        if (lineEnd < text.size() && text[lineEnd] == '\r' && lineStart < text.size() &&
            text[lineStart] == '\n')
            ++lineStart;
        if (row > SheetRows) {
            // Only lines with something to place are refused.
            if (raw.find_first_not_of(" \t") == std::string_view::npos)
                continue;
            refuse();
            break;
        }
        const std::string line = SanitizeUtf8(raw);
        const bool tabbed = line.find('\t') != std::string::npos;
        const char separator = tabbed ? '\t' : ' ';
        std::size_t pos = 0;
        int col = left;
        if (!tabbed)
            pos = line.find_first_not_of(' ');
        while (pos != std::string::npos && pos < line.size()) {
            std::size_t end = line.find(separator, pos);
            std::string token =
                Trim(line.substr(pos, end == std::string::npos ? std::string::npos : end - pos));
            if (end == std::string::npos) {
                pos = std::string::npos;
            } else {
                pos = end + 1;
                // Runs of blanks in blank-separated text are one separator.
                if (!tabbed)
                    pos = line.find_first_not_of(' ', pos);
            }
            if (col > SheetColumns) {
                refuse();
                break;
            }
            if (const auto comma = token.find(','); comma != std::string::npos)
                token[comma] = '.';
            token = Printable(token);
            const bool inserts = col <= g.VariableCount() && g.ColumnLength(col) >= row;
            const int grows = inserts ? 1 : std::max(row - g.ColumnLength(col), 0);
            const long columnOutside = col > g.VariableCount() ? g.ColumnLength(col) : 0;
            if ((inserts && g.ColumnLength(col) >= SheetRows) ||
                filled + columnOutside + grows > CellCapacity) {
                refuse();
                ++col;
                continue;
            }
            const int before = g.ColumnLength(col);
            const int countBefore = g.VariableCount();
            if (inserts)
                ShiftDown(col, row);
            PutSheetText(ws_, token, col, row - 1);
            filled += g.ColumnLength(col) - before + (g.VariableCount() > countBefore ? before : 0);
            ++col;
        }
    }
    if (refused)
        ws_.sheetOverflow = true;
    RecordStep();
}

// --- column drag ---------------------------------------------------------------------

void TSht1::DragColumn(int source, int dest) {
    SheetGrid& g = ws_.sheet;
    const int count = g.VariableCount();
    if (source < 1 || source > count || dest < 1 || dest > SheetColumns || dest == source)
        return;
    // Room for the copy and for the shift to the right, checked before anything moves.
    if ((dest <= count && count >= SheetColumns) || !SheetHasRoomFor(ws_, g.ColumnLength(source))) {
        NotifySheetOverflow(ws_);
        return;
    }
    if (dest <= count) {
        for (int c = count; c >= dest; --c)
            MoveColumn(c, c + 1);
        g.SetVariableCount(count + 1);
        if (dest < source)
            ++source;
    } else {
        g.SetVariableCount(dest);
    }
    const int oldDestLength = g.ColumnLength(dest);
    const int sourceLength = g.ColumnLength(source);
    for (int r = 0; r <= sourceLength; ++r)
        g.SetCell(dest, r, g.Cell(source, r));
    for (int r = sourceLength + 1; r <= oldDestLength; ++r)
        g.SetCell(dest, r, std::string());
    g.SetColumnLength(dest, sourceLength);
    g.SetCell(dest, 0, Padded8(Trim(g.Cell(source, 0)) + "+"));
    SelectCellOnly(dest, 1);
    RecordStep();
}

// --- clear ---------------------------------------------------------------------------

void TSht1::ShtFre() {
    SheetGrid& g = ws_.sheet;
    if (g.VariableCount() > 0) {
        const int labelled = std::max(g.ColumnLength(1), g.LongestColumn());
        for (int r = 1; r <= labelled; ++r)
            g.SetCell(0, r, SheetGrid::DefaultLabel(r));
        for (int c = 1; c <= g.VariableCount(); ++c) {
            g.SetCell(c, 0, SheetGrid::DefaultName(c));
            ClearColumnCells(c);
        }
        g.SetVariableCount(0);
    }
    ws_.sheetOverflow = false;
    SelectCellOnly(1, 1);
    RecordStep();
}

// --- EditBox and status ----------------------------------------------------------------

std::string TSht1::EditBoxText() const {
    const SheetGrid& g = ws_.sheet;
    switch (kind_) {
        case SelectionKind::Column:
            return Trim(g.Cell(selection_.left, 0));
        case SelectionKind::Row:
            return Trim(g.Cell(0, selection_.top));
        default:
            return Trim(g.Cell(cursorCol_, cursorRow_));
    }
}

void TSht1::EditBoxChanged(const std::string& text) {
    const std::string clean = Printable(SanitizeUtf8(text));
    switch (kind_) {
        case SelectionKind::Column:
            if (selection_.left <= ColumnLimit())
                PutSheetText(ws_, clean, selection_.left, -1);
            break;
        case SelectionKind::Row:
            PutSheetText(ws_, clean, 0, selection_.top - 1);
            break;
        default:
            if (cursorCol_ <= ColumnLimit() && cursorRow_ <= RowLimit(cursorCol_))
                StoreCell(cursorCol_, cursorRow_, clean);
            break;
    }
    // The EditBox's keystrokes on one selection are one step.
    history_.Record(ws_.sheet, "edit box " + std::to_string(static_cast<int>(kind_)) + " " +
                                   std::to_string(selection_.left) + " " +
                                   std::to_string(selection_.top) + " " +
                                   std::to_string(typingRun_));
}

std::string TSht1::StatusText() const {
    const SheetGrid& g = ws_.sheet;
    return "ВсехX=" + std::to_string(g.VariableCount()) + ", x" + std::to_string(cursorCol_) + "=" +
           std::to_string(g.ColumnLength(cursorCol_)) + ", y" + std::to_string(cursorRow_);
}

// --- view ------------------------------------------------------------------------------

SheetScroll TSht1::LimitScroll(SheetScroll at, int gridWidthPixels) const {
    const SheetGrid& g = ws_.sheet;
    const int count = g.VariableCount();
    if (at.leftColumn > count)
        at.leftColumn = std::max(count, 1);
    const int columnWidth = std::max(ws_.settings.columnWidth, 1);
    const int visible = std::max((gridWidthPixels - 40) / columnWidth, 0) + 1;
    int longest = 1;
    for (int c = at.leftColumn; c < at.leftColumn + visible && c <= count; ++c)
        longest = std::max(longest, g.ColumnLength(c));
    if (at.topRow > longest)
        at.topRow = longest;
    return at;
}

bool TSht1::HasPrintableData() const {
    return ws_.sheet.VariableCount() >= 1 && ws_.sheet.ColumnLength(1) > 0;
}

std::vector<std::string> TSht1::PrintLines() const {
    const SheetGrid& g = ws_.sheet;
    std::vector<std::string> lines;
    if (g.VariableCount() < 1 || g.ColumnLength(1) == 0)
        return lines;
    const int longest = g.LongestColumn();
    lines.reserve(longest + 1);
    for (int r = 0; r <= longest; ++r) {
        std::string line;
        for (int c = 1; c <= g.VariableCount(); ++c)
            line += PadLeft(g.Cell(c, r), 10);
        lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace dalvex
