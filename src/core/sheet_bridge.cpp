#include "core/sheet_bridge.h"

#include "core/arithmetic_fault.h"
#include "core/number.h"
#include "core/text.h"

namespace dalvex {

std::string SheetOverflowText() {
    return "!ПЕРЕПОЛНЕНА ЭЛЕКТРОННАЯ ТАБЛИЦА: " + std::to_string(CellCapacity) + "!";
}

void NotifySheetOverflow(Workspace& ws) {
    if (!ws.sheetOverflow)
        ShowNotice(ws, SheetOverflowText());
    ws.sheetOverflow = true;
}

double SheetValue(const Workspace& ws, int col, int obs) {
    if (!SheetGrid::InGrid(col, obs + 1))
        return MissingValue;
    const ParsedNumber n = ParseNumber(Trim(ws.sheet.Cell(col, obs + 1)));
    return n.ok() ? n.value : MissingValue;
}

bool SheetHasRoomFor(Workspace& ws, long extraCells) {
    if (ws.sheet.FilledCells() + extraCells <= CellCapacity)
        return true;
    NotifySheetOverflow(ws);
    return false;
}

bool PutSheetText(Workspace& ws, const std::string& text, int col, int obs) {
    const int row = obs + 1;
    SheetGrid& sheet = ws.sheet;
    if (!SheetGrid::InGrid(col, row)) {
        NotifySheetOverflow(ws);
        return false;
    }
    // Only values that lengthen a variable count against the capacity, so a
    // full sheet can still be edited in place and have columns removed.
    if (col >= 1) {
        const long growth = row > sheet.ColumnLength(col) ? row - sheet.ColumnLength(col) : 0;
        long filled = sheet.FilledCells();
        if (col > sheet.VariableCount())
            filled += sheet.ColumnLength(col);
        if (growth > 0 && filled + growth > CellCapacity) {
            NotifySheetOverflow(ws);
            return false;
        }
    }
    ws.sheetOverflow = false;
    sheet.SetCell(col, row, CharCut(PadLeft(Trim(text), 8), MaxCellChars));
    // A write several columns past the last variable makes every column up to
    // it a variable, so no data is left where it can be neither saved nor selected.
    if (col > sheet.VariableCount())
        sheet.SetVariableCount(col);
    if (sheet.ColumnLength(col) < row)
        sheet.SetColumnLength(col, row);
    return true;
}

bool PutSheetValue(Workspace& ws, int col, int obs, double value) {
    if (ws.watchArithmetic)
        CheckFloatingFlags();
    return PutSheetText(ws, FormatNumber(value, 2 * ws.digits(), ws.decimalSeparator()), col, obs);
}

void WriteRowToSheet(Workspace& ws, int row, int last) {
    const int col = ws.sheet.VariableCount() + 1;
    for (int i = 0; i <= last; ++i)
        if (!PutSheetValue(ws, col, i, ws.store.Data(row, i)))
            break;
}

std::string VariableName(const Workspace& ws, int k) {
    if (!SheetGrid::InGrid(k + 1, 0))
        return {};
    return Trim(CharCut(ws.sheet.Cell(k + 1, 0), 8));
}

std::string PaddedVariableName(const Workspace& ws, int k) {
    return PadLeft(VariableName(ws, k), 9);
}

}  // namespace dalvex
