// The one writer of every file zorvat saves: a failed save never leaves half a
// file, never replaces a link or a device node, and never reports success falsely.
#pragma once

#include <string>

namespace exporter {

// Writes `bytes` to `path`. A symbolic link (or a chain of them, or a dangling one)
// is followed and the file it names is written. A regular file is written whole: a
// temporary file beside it, renamed over it, keeping the old file's permission bits.
// A FIFO or a character or block device is written directly. Returns false, leaving
// any old regular file as it was, when that fails.
bool WriteWholeFile(const std::string& path, const std::string& bytes);

}  // namespace exporter
