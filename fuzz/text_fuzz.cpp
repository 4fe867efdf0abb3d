// Text files as they are read: byte-order marks, UTF-16, UTF-8 or Windows-1252,
// line ends; and the preferences and list tables read from such text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/plot_settings.h"
#include "engine/text_file.h"
#include "expr/list_store.h"
#include "expr/list_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> lines = engine::SplitTextLines(bytes);
    engine::PlotSettings settings;
    engine::ApplyPreferences(lines, settings);
    (void)engine::PreferencesLines(settings);
    try {
        engine::ApplyProgramSettings(lines, settings);
    } catch (const engine::ConversionError&) {
    }
    expr::ListStore lists;
    try {
        expr::ReadListTable(bytes, lists);
    } catch (const std::exception&) {
        // a table that is no table is refused with a message
    }
    return 0;
}
