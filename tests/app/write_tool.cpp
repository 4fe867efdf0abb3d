// For the kill test: writes a file of `megabytes` through the one file writer, its
// bytes fixed by `seed`, so the test can tell a whole old file from a whole new one.
#include <cstdlib>
#include <string>

#include "export/whole_file.h"

int main(int argc, char** argv) {
    if (argc != 4) return 2;
    const std::string path = argv[1];
    const size_t megabytes = std::strtoul(argv[2], nullptr, 10);
    const unsigned seed = static_cast<unsigned>(std::strtoul(argv[3], nullptr, 10));
    std::string bytes = "seed " + std::to_string(seed) + "\n";
    bytes.resize(megabytes << 20, static_cast<char>('a' + seed % 26));
    return exporter::WriteWholeFile(path, bytes) ? 0 : 1;
}
