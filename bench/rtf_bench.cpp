// Reading a 64 MB presentation page: our RTF reader next to unrtf on the same file.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "engine/rtf_reader.h"

namespace {

namespace fs = std::filesystem;

constexpr size_t kTargetBytes = 64 * 1024 * 1024;

// The body of a LibreOffice page repeated until the file has the target size.
std::string MakeBigPage(const fs::path& sample) {
    std::ifstream in(sample, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    const std::string page = text.str();
    const size_t bodyStart = page.find("\\pard");
    const size_t bodyEnd = page.rfind('}');
    if (bodyStart == std::string::npos || bodyEnd == std::string::npos || bodyEnd <= bodyStart) {
        std::cerr << "rtf_bench: " << sample << " is no usable RTF sample\n";
        std::exit(1);
    }
    const std::string body = page.substr(bodyStart, bodyEnd - bodyStart);
    std::string big = page.substr(0, bodyStart);
    while (big.size() < kTargetBytes) big += body;
    return big + "}";
}

double Seconds(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    const fs::path sample =
        argc > 1 ? fs::path(argv[1])
                 : fs::path(__FILE__).parent_path().parent_path() / "tests/data/rtf/opmaak.rtf";
    const std::string bytes = MakeBigPage(sample);
    const fs::path file =
        fs::temp_directory_path() / ("zorvat_rtf_bench_" + std::to_string(::getpid()) + ".rtf");
    std::ofstream(file, std::ios::binary) << bytes;

    double ours = 1e30;
    size_t paragraphs = 0;
    for (int round = 0; round < 3; ++round) {
        const auto start = std::chrono::steady_clock::now();
        paragraphs = engine::ReadRtf(bytes).paragraphs.size();
        ours = std::min(ours, Seconds(start));
    }
    const auto start = std::chrono::steady_clock::now();
    const int status =
        std::system(("unrtf --nopict --text '" + file.string() + "' > /dev/null").c_str());
    const double peer = Seconds(start);
    fs::remove(file);
    if (status != 0) {
        std::cerr << "rtf_bench: unrtf failed\n";
        return 1;
    }
    std::printf("%.1f MB, %zu paragraphs: ours %.2f s, unrtf %.2f s, unrtf/ours %.1f\n",
                static_cast<double>(bytes.size()) / (1024 * 1024), paragraphs, ours, peer,
                peer / ours);
    return 0;
}
