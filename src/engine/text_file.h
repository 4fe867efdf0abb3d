// Reading and writing whole text files: UTF-8 or Windows-1252 in, UTF-8 out,
// CRLF or LF line ends, and writes that never leave half a file.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace engine {

bool IsValidUtf8(const std::string& bytes);
std::string Windows1252ToUtf8(const std::string& bytes);

// Decodes (UTF-8, else Windows-1252) and splits at CRLF, LF or a lone CR.
// A final line end does not add an empty line.
std::vector<std::string> SplitTextLines(const std::string& bytes);

// Empty optional when the file cannot be read.
std::optional<std::string> ReadFileBytes(const std::string& path);
std::optional<std::vector<std::string>> ReadTextLines(const std::string& path);

// Lines each followed by the line end, written whole (a temporary file in the same
// folder renamed over `path`), so a failure never leaves half a file.
bool WriteTextLines(const std::string& path, const std::vector<std::string>& lines,
                    const std::string& lineEnd = "\n");

}  // namespace engine
