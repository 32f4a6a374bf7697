// What every data file fuzzer does around its reader: a sheet that is empty
// or already holds a few variables (the first input byte decides), and the
// checks that hold after any read: the bookkeeping within the sheet's limits
// and every text a cell holds valid, printable and at most 255 characters.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/sheet_bridge.h"
#include "core/text.h"
#include "core/workspace.h"

namespace dalvex::fuzz {

[[noreturn]] inline void Fail(const char* what, int col, int row) {
    std::fprintf(stderr, "sheet broken: %s at column %d, row %d\n", what, col, row);
    std::abort();
}

// Columns 1..n with a few values each, so the read appends after them.
inline void Prefill(Workspace& ws, std::uint8_t selector) {
    const int variables = selector % 5;
    for (int c = 1; c <= variables; ++c)
        for (int obs = 0; obs < c; ++obs)
            PutSheetText(ws, std::to_string(obs), c, obs);
}

inline void CheckText(const std::string& text, int col, int row) {
    if (SanitizeUtf8(text) != text)
        Fail("malformed UTF-8", col, row);
    if (CharLength(text) > MaxCellChars)
        Fail("text too long", col, row);
    for (unsigned char c : text)
        if (c < 0x20 || c == 0x7F)
            Fail("control character", col, row);
}

// The labels a fresh sheet has; a label equal to its default needs no check.
inline const std::vector<std::string>& DefaultLabels() {
    static const std::vector<std::string> labels = [] {
        std::vector<std::string> out(SheetRows + 1);
        for (int r = 1; r <= SheetRows; ++r)
            out[r] = SheetGrid::DefaultLabel(r);
        return out;
    }();
    return labels;
}

// `labelRows`: a bound on the rows whose labels a read can have touched;
// every label takes at least one byte of the file.
inline void CheckSheet(const Workspace& ws, std::size_t labelRows) {
    const SheetGrid& g = ws.sheet;
    if (g.VariableCount() < 0 || g.VariableCount() > SheetColumns)
        Fail("variable count", g.VariableCount(), 0);
    if (g.FilledCells() > CellCapacity)
        Fail("capacity", 0, 0);
    for (int c = 1; c <= SheetColumns; ++c) {
        const int length = g.ColumnLength(c);
        if (length < 0 || length > SheetRows || (c > g.VariableCount() && length != 0))
            Fail("column length", c, length);
        CheckText(g.Cell(c, 0), c, 0);
        for (int r = 1; r <= length; ++r)
            CheckText(g.Cell(c, r), c, r);
        for (int r = length + 1; r <= std::min(length + 2, SheetRows); ++r)
            if (!g.Cell(c, r).empty())
                Fail("text below the column's end", c, r);
    }
    const auto& labels = DefaultLabels();
    const int last = static_cast<int>(std::min<std::size_t>(labelRows, SheetRows));
    for (int r = 1; r <= last; ++r)
        if (g.Cell(0, r) != labels[r])
            CheckText(g.Cell(0, r), 0, r);
}

// Puts a sheet back to its fresh state touching only what a run changed:
// building a new sheet for every input would cost more than the read.
inline void ResetSheet(Workspace& ws, std::size_t labelRows) {
    SheetGrid& g = ws.sheet;
    const auto& labels = DefaultLabels();
    const int last = static_cast<int>(std::min<std::size_t>(labelRows, SheetRows));
    for (int r = 1; r <= last; ++r)
        if (g.Cell(0, r) != labels[r])
            g.SetCell(0, r, labels[r]);
    for (int c = 1; c <= SheetColumns; ++c) {
        for (int r = 1; r <= g.ColumnLength(c); ++r)
            g.SetCell(c, r, std::string());
        g.SetColumnLength(c, 0);
        std::string name = SheetGrid::DefaultName(c);
        if (g.Cell(c, 0) != name)
            g.SetCell(c, 0, std::move(name));
    }
    g.SetVariableCount(0);
    ws.sheetOverflow = false;
}

// A workspace and its scripted dialogs, kept for the whole fuzzing run.
struct Slot {
    ScriptedDialogs ui;
    Workspace ws{ui};
};

// Slot 0 for the read, slot 1 for reading back; fresh for every input of at
// most `size` bytes.
inline Slot& FreshSlot(int which, std::size_t size) {
    static Slot slots[2];
    static std::size_t touched[2] = {SheetRows, SheetRows};
    slots[which].ui.ClearLog();
    ResetSheet(slots[which].ws, touched[which]);
    touched[which] = size + 1;
    return slots[which];
}

}  // namespace dalvex::fuzz
