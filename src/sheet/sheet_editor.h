// The data sheet's editing rules ("Таблица данных"): cursor limits, typing,
// Enter, Insert, delete/cut/copy, paste, column drag, clearing, the status
// label, the scrolling limit and the printed lines. Qt-free: the grid view
// forwards the person's keys and clicks here and shows the result.
#pragma once

#include <string>
#include <vector>

#include "core/workspace.h"
#include "sheet/sheet_history.h"

namespace dalvex {

// A rectangle of grid cells (column 0 = row labels, row 0 = names), inclusive.
struct SheetSelection {
    int left = 1;
    int top = 1;
    int right = 1;
    int bottom = 1;
    bool operator==(const SheetSelection&) const = default;
};

struct SheetScroll {
    int leftColumn = 1;  // first visible variable column
    int topRow = 1;      // first visible data row
    bool operator==(const SheetScroll&) const = default;
};

class TSht1 {
  public:
    explicit TSht1(Workspace& ws);

    // Initial names, labels and bookkeeping; the sheet becomes current
    // (ActiveWindowKind = 1), the cursor goes to (1, 1).
    void FormIni();

    const SheetSelection& selection() const { return selection_; }
    int cursorColumn() const { return cursorCol_; }
    int cursorRow() const { return cursorRow_; }

    // --- mouse and arrow keys -------------------------------------------------
    // A press on a data cell: the cursor and a one-cell selection go there when
    // the cell lies within the limits (columns 1..VariableCount + 1, rows
    // 1..ColumnLength + 1), otherwise to the limit. Returns whether permitted.
    bool PressCell(int col, int row);
    // Dragging with the button down (or Shift+click): extends the selection
    // from the anchor to the cell, both clamped to the limits.
    void ExtendTo(int col, int row);
    // The button is released: after a refused press the selection collapses to
    // the cursor cell.
    void Release();
    // Arrow keys and Page keys: move by (dCol, dRow) within the limits;
    // `extend` keeps the anchor (Shift).
    void MoveCursor(int dCol, int dRow, bool extend);
    void ClickRowLabel(int row);
    void ClickColumnName(int col);
    void ClickCorner();

    // --- keys -------------------------------------------------------------------
    // One printable character (UTF-8) typed into the current cell.
    void TypeText(const std::string& ch);
    // Backspace removes the last typed character of the current cell.
    void Backspace();
    // Enter moves the selection one row down; returns true when the view
    // should scroll one row (the top is then more than 10 rows below
    // `firstVisibleRow`).
    bool Enter(int firstVisibleRow);
    // Insert: a 0 cell at the selection's top in its left column.
    void InsertZero();

    // --- commands ---------------------------------------------------------------
    // 0 delete the selection, 1 cut (copy, then delete), 2 copy. Copies leave
    // their text in clipboardText().
    void SelSht(int mode);
    const std::string& clipboardText() const { return clipboard_; }
    // Inserts the text at the selection (TAB, else blank separated tokens).
    void Paste(const std::string& text);
    // The main menu's Delete: ignored while the EditBox has the focus; asks
    // "Удалить переменную …?" for a whole column; then deletes.
    void DeleteCommand(bool editBoxHasFocus);
    // Context menu: "Удалить переменную" and "Удалить строку".
    void DeleteVariable();
    void DeleteRow();
    // Column drag: copy variable `source` into column `dest`.
    void DragColumn(int source, int dest);
    // Clear the sheet.
    void ShtFre();

    // --- undo and redo ----------------------------------------------------------
    // Every command above that changes the grid is one step (the characters
    // typed into one cell together); a change made elsewhere (a file opened,
    // a transformation, a method's results) becomes a step at the next
    // RecordStep(), which whoever made it calls.
    void RecordStep();
    // The last step taken back, or made again; false when there is none. The
    // cursor stays where it was when the cell is still within the limits.
    bool Undo();
    bool Redo();
    const SheetHistory& history() const { return history_; }

    // --- EditBox and status -----------------------------------------------------
    // The trimmed text the EditBox shows for the current selection.
    std::string EditBoxText() const;
    // The person typed in the EditBox.
    void EditBoxChanged(const std::string& text);
    // "ВсехX=…, x…=…, y…"
    std::string StatusText() const;

    // --- view -------------------------------------------------------------------
    // The scrolling limit: where the view must be put back to, given where it
    // is and how wide the grid is in pixels.
    SheetScroll LimitScroll(SheetScroll at, int gridWidthPixels) const;
    // The printed sheet: names row, then data rows up to the longest column;
    // cells of columns 1..VariableCount left-padded to 10. Empty when there is
    // nothing to print.
    std::vector<std::string> PrintLines() const;
    // Whether Print has anything to print (without building the lines).
    bool HasPrintableData() const;

    // How the current selection was made: by cells, or by clicking a
    // variable's name or a row's label. The EditBox edits the name or the
    // label only for the latter two, so a one-value variable can still have
    // its value edited there.
    enum class SelectionKind { Cells, Column, Row, All };
    SelectionKind selectionKind() const { return kind_; }

  private:
    int RowLimit(int col) const;
    int ColumnLimit() const;
    void SelectCellOnly(int col, int row);
    void SetRect(int c1, int r1, int c2, int r2);
    void ShiftDown(int col, int fromRow);
    void RemoveRows(int col, int top, int bottom);
    void FollowLabels(int top, int deleted, int oldEnd);
    void RemoveColumn(int col);
    void MoveColumn(int from, int to);
    void ClearColumnCells(int col);
    void StoreCell(int col, int row, const std::string& text);
    void KeepCursorWithinLimits();

    Workspace& ws_;
    SelectionKind kind_ = SelectionKind::Cells;
    SheetSelection selection_;
    int cursorCol_ = 1;
    int cursorRow_ = 1;
    int anchorCol_ = 1;
    int anchorRow_ = 1;
    bool refusedPress_ = false;
    bool freshCell_ = true;  // the next typed character replaces the cell
    std::string clipboard_;
    SheetHistory history_;
    int typingRun_ = 0;  // counts the cells typed into, to keep each one's keys together
};

}  // namespace dalvex
