// Reading and writing whole text files: UTF-8, UTF-16 or Windows-1252 in, UTF-8 out,
// CRLF or LF line ends, and writes that never leave half a file.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace engine {

// Larger files are no program or preferences file; the cap also stops a read of
// something endless.
inline constexpr size_t kMaxTextFileBytes = 64 * 1024 * 1024;

enum class TextEncoding { Utf8, Windows1252, Utf16LittleEndian, Utf16BigEndian };

struct DecodedText {
    std::string text;  // UTF-8
    TextEncoding encoding = TextEncoding::Utf8;
    bool byteOrderMark = false;
};

bool IsValidUtf8(const std::string& bytes);
std::string Windows1252ToUtf8(const std::string& bytes);

// A file's bytes as UTF-8 text: a byte-order mark is dropped, UTF-16 (recognised by
// its mark) converted, and what is not valid UTF-8 read as Windows-1252.
DecodedText DecodeText(const std::string& bytes);
// UTF-8 text as UTF-16 without a mark.
std::string Utf8ToUtf16(const std::string& text, bool bigEndian);

// Decodes (see DecodeText) and splits at CRLF, LF or a lone CR.
// A final line end does not add an empty line.
std::vector<std::string> SplitTextLines(const std::string& bytes);

// Empty optional when the file cannot be read: it is missing, a folder, a FIFO
// or device, or larger than `maxBytes`. `problem` then says why in words for the
// user ("het is een map"), or is empty when the system gave no reason.
std::optional<std::string> ReadFileBytes(const std::string& path, std::string* problem = nullptr,
                                         size_t maxBytes = kMaxTextFileBytes);
std::optional<std::vector<std::string>> ReadTextLines(const std::string& path,
                                                      std::string* problem = nullptr);
// "MESSAGE" or "MESSAGE: PROBLEM", for a message about a file that could not be read.
std::string WithProblem(const std::string& message, const std::string& problem);

// Lines each followed by the line end, written whole (a temporary file in the same
// folder renamed over `path`), so a failure never leaves half a file.
bool WriteTextLines(const std::string& path, const std::vector<std::string>& lines,
                    const std::string& lineEnd = "\n");

}  // namespace engine
