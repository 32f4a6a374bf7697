// Sheets a method must survive: empty, too short, missing, constant, texts,
// values at the ends of the double range, large offsets, ties, the largest
// sheets the program holds, ragged columns, signs a law or a logarithm refuses.
#pragma once

#include <string>
#include <vector>

namespace dalvex {

struct HostileSheet {
    std::string name;  // also the file's name: "<name>.dvx"
    // Variable names and their cells as typed; columns may differ in length
    // and an empty text is a missing cell.
    std::vector<std::string> names;
    std::vector<std::vector<std::string>> columns;
    // Values whose squares or sums leave the double range: a stop by an
    // arithmetic fault (an overflow, or the infinities' difference after it)
    // is the sound answer there.
    bool anyFaultIsSound = false;
    // Values so small that a quotient by their spread may overflow: there
    // an overflow is sound, a division by zero is not.
    bool overflowIsSound = false;
};

const std::vector<HostileSheet>& HostileSheets();

// The program's own data file for the sheet (empty for a sheet without
// variables, as the program writes it).
std::string NativeFileOf(const HostileSheet& sheet);

// The first rows of the sheet as a TAB-separated table, for a report.
std::string SheetPreview(const HostileSheet& sheet, int rows = 12);

}  // namespace dalvex
