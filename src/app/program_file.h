// A program file as the editor sees it: its text, and how it was stored (UTF-8
// with or without a byte-order mark, UTF-16 or Windows-1252, CRLF or LF, a last
// line end or not), so that saving keeps the file as it was, byte for byte when
// the text did not change.
#pragma once

#include <string>

#include "engine/text_file.h"

namespace app {

class ProgramFile {
public:
    // Files larger than this are no program.
    static constexpr size_t kMaxBytes = 4 * 1024 * 1024;

    // Empty on success, else the message for the user; on failure nothing changes.
    std::string Load(const std::string& path);
    // Writes `text` (lines separated by "\n") whole; false when it cannot be written.
    // After success the file is the one last loaded.
    bool Save(const std::string& path, const std::string& text);

    // The bytes that saving `text` writes.
    std::string Encode(const std::string& text) const;

    const std::string& Path() const { return path_; }
    // UTF-8, lines separated by "\n".
    const std::string& Text() const { return text_; }
    bool IsWindows1252() const { return encoding_ == engine::TextEncoding::Windows1252; }

private:
    std::string Encode(const std::string& text, engine::TextEncoding& encoding) const;

    std::string path_;
    std::string bytes_;
    std::string text_;
    engine::TextEncoding encoding_ = engine::TextEncoding::Utf8;
    bool byteOrderMark_ = false;
    std::string lineEnd_ = "\n";
    bool finalLineEnd_ = true;
};

}  // namespace app
