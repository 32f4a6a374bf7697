// libFuzzer target: the text reader (blank or TAB separated). After the
// sheet checks, both text writers must take whatever was read.
#include <cstdint>

#include "fuzz_common.h"
#include "sheet/text_data_file.h"

using namespace dalvex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    Workspace& ws = fuzz::FreshSlot(0, size).ws;
    fuzz::Prefill(ws, data[0]);
    ReadTextData(ws, std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));
    fuzz::CheckSheet(ws, size);
    const std::string blank = WriteTextData(ws, ' ');
    const std::string tab = WriteTextData(ws, '\t');
    if (ws.sheet.VariableCount() > 0 && (blank.empty() || tab.empty()))
        fuzz::Fail("nothing written", 0, 0);
    return 0;
}
