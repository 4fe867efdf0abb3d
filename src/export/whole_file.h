// Writing a picture file whole, so that a failed save never leaves half a file.
#pragma once

#include <string>

namespace exporter {

// Writes `bytes` to a temporary file in the folder of `path` and renames it over
// `path`. Returns false, leaving any old file as it was, when that fails.
bool WriteWholeFile(const std::string& path, const std::string& bytes);

}  // namespace exporter
