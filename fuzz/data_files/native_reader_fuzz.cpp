// libFuzzer target: the native data file reader. Besides the sheet checks, a
// sheet read from any bytes is written and read back into an empty sheet,
// which must then hold exactly the same texts.
#include <cstdint>
#include <cstdlib>

#include "fuzz_common.h"
#include "sheet/native_data_file.h"

using namespace dalvex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    Workspace& ws = fuzz::FreshSlot(0, size).ws;
    fuzz::Prefill(ws, data[0]);
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    const NativeReadResult result = ReadNativeData(ws, bytes);
    fuzz::CheckSheet(ws, size);
    fuzz::CheckText(result.title, -1, -1);

    if (data[0] % 5 != 0)
        return 0;
    const std::string written = WriteNativeData(ws, result.title);
    fuzz::Slot& back = fuzz::FreshSlot(1, written.size());
    Workspace& again = back.ws;
    ReadNativeData(again, written);
    if (!back.ui.notices().empty())
        fuzz::Fail("notice on reading back", 0, 0);
    if (WriteNativeData(again, result.title) != written)
        fuzz::Fail("different on reading back", 0, 0);
    return 0;
}
