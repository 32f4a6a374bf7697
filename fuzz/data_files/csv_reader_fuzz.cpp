// libFuzzer target: the CSV reader. After the sheet checks, the file written
// from the sheet must read back into an empty sheet as the same sheet: names,
// labels and cells (a decimal comma comes back as a point), without a notice.
#include <cstdint>
#include <cstdio>
#include <string>

#include "core/number.h"
#include "fuzz_common.h"
#include "sheet/csv_data_file.h"

using namespace dalvex;

namespace {

// What a cell's text becomes through a CSV file.
std::string ThroughCsv(const std::string& cell) {
    std::string text = Trim(cell);
    if (ParseNumber(text).ok())
        for (char& c : text)
            if (c == ',')
                c = '.';
    return text;
}

void Compare(const Workspace& original, const Workspace& back) {
    const SheetGrid& a = original.sheet;
    const SheetGrid& b = back.sheet;
    if (a.VariableCount() != b.VariableCount())
        fuzz::Fail("variable count read back", b.VariableCount(), 0);
    for (int c = 1; c <= a.VariableCount(); ++c) {
        if (Trim(a.Cell(c, 0)) != Trim(b.Cell(c, 0)))
            fuzz::Fail("name read back", c, 0);
        const int rows = std::max(a.ColumnLength(c), b.ColumnLength(c));
        for (int r = 1; r <= rows; ++r) {
            const std::string was = r <= a.ColumnLength(c) ? ThroughCsv(a.Cell(c, r)) : "";
            const std::string is = r <= b.ColumnLength(c) ? Trim(b.Cell(c, r)) : "";
            if (was != is)
                fuzz::Fail("cell read back", c, r);
        }
    }
    for (int r = 1; r <= a.LongestColumn(); ++r)
        if (Trim(a.Cell(0, r)) != Trim(b.Cell(0, r)))
            fuzz::Fail("label read back", 0, r);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    Workspace& ws = fuzz::FreshSlot(0, size).ws;
    fuzz::Prefill(ws, data[0]);
    ReadCsvData(ws, std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));
    fuzz::CheckSheet(ws, size);
    const std::string written = WriteCsvData(ws);
    if (ws.sheet.VariableCount() > 0 && written.empty())
        fuzz::Fail("nothing written", 0, 0);
    fuzz::Slot& back = fuzz::FreshSlot(1, written.size());
    ReadCsvData(back.ws, written);
    fuzz::CheckSheet(back.ws, written.size());
    if (!back.ui.notices().empty()) {
        for (const std::string& notice : back.ui.notices())
            std::fprintf(stderr, "%s\n", notice.c_str());
        fuzz::Fail("notice on reading back", 0, 0);
    }
    Compare(ws, back.ws);
    return 0;
}
