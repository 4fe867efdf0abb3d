// Presentation pages: the RTF reader and the split at the program marker.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/rtf_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    try {
        const engine::Presentation page = engine::SplitPresentation(engine::ReadRtf(bytes));
        (void)page.page.PlainText();
    } catch (const engine::RtfError&) {
    }
    return 0;
}
