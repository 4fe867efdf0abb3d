// Temporary file beside the target, then one rename.
#include "export/whole_file.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace exporter {

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
    namespace fs = std::filesystem;
    const fs::path target(path);
    if (target.filename().empty()) return false;
    // A name nobody else uses: the target's name, a clock tick and a counter.
    static unsigned counter = 0;
    const auto tick = std::chrono::steady_clock::now().time_since_epoch().count();
    fs::path temporary = target;
    temporary += ".tmp" + std::to_string(tick) + "-" + std::to_string(++counter);
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            fs::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code error;
    fs::rename(temporary, target, error);
    if (error) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return false;
    }
    return true;
}

}  // namespace exporter
