// UTF-8 text to the Windows-1252 bytes that the PDF fonts' WinAnsiEncoding expects.
#pragma once

#include <string>

namespace exporter {

// Each character becomes its Windows-1252 byte; characters outside that set and
// malformed UTF-8 become "?".
std::string ToWinAnsi(const std::string& utf8);

}  // namespace exporter
