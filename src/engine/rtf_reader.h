// Reading RTF files (presentation pages) into rich text, without Qt.
#pragma once

#include <stdexcept>
#include <string>

#include "engine/rich_text.h"

namespace engine {

// The file is no RTF at all; the message is for the user.
class RtfError : public std::runtime_error {
public:
    explicit RtfError(const std::string& message) : std::runtime_error(message) {}
};

// Reads RTF bytes. Throws RtfError when they do not start with "{\rtf" (after blanks); any
// other input (truncated, odd, binary after the header) reads as far as it makes sense, in time
// linear in its size and without deep recursion.
RichText ReadRtf(const std::string& bytes);

// A presentation page from its file: read, split at the program marker. Throws RtfError with
// the Dutch reason when the file cannot be read or is no RTF.
Presentation ReadPresentation(const std::string& path);

}  // namespace engine
