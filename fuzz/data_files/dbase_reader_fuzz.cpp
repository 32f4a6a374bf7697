// libFuzzer target: the dBase reader. After the sheet checks, the table
// written from the sheet must read back into an empty sheet without a notice.
#include <cstdint>
#include <cstdio>
#include <string>

#include "fuzz_common.h"
#include "sheet/dbase_data_file.h"

using namespace dalvex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    Workspace& ws = fuzz::FreshSlot(0, size).ws;
    fuzz::Prefill(ws, data[0]);
    ReadDBaseData(ws, std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));
    fuzz::CheckSheet(ws, size);
    const std::string written = WriteDBaseData(ws);
    fuzz::Slot& back = fuzz::FreshSlot(1, written.size());
    ReadDBaseData(back.ws, written);
    fuzz::CheckSheet(back.ws, written.size());
    if (ws.sheet.VariableCount() > 0 && !back.ui.notices().empty()) {
        for (const std::string& notice : back.ui.notices())
            std::fprintf(stderr, "%s\n", notice.c_str());
        fuzz::Fail("notice on reading back", 0, 0);
    }
    return 0;
}
