// The work of one slider move: a whole run of each example program on a 500 x 500
// picture. Prints the median over repeated runs and its ratio to one frame at 60 Hz
// (16.7 ms), the time within which a dragged slider redraws at screen rate.
#include <QGuiApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <vector>

#include "app/batch_host.h"
#include "engine/compiler.h"
#include "engine/runner.h"
#include "engine/text_file.h"
#include "plot/plot_surface.h"

namespace {

namespace fs = std::filesystem;

constexpr int kRuns = 21;
constexpr double kFrameMilliseconds = 1000.0 / 60;

double MedianRunMilliseconds(const fs::path& program) {
    app::BatchHost host(std::cerr);
    plot::TPlotSurface surface(500, 500);
    engine::Runner runner(host, surface);
    engine::CompileOptions options;
    options.programFolder = program.parent_path().string();
    runner.Program() = engine::CompileProgram(
        engine::ReadTextLines(program.string()).value_or(std::vector<std::string>{}), options);
    runner.SetProgramFolder(options.programFolder);
    runner.Run();  // the first run loads pictures and fills caches, as before a drag
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        const auto start = std::chrono::steady_clock::now();
        runner.Run();
        const std::chrono::duration<double, std::milli> elapsed =
            std::chrono::steady_clock::now() - start;
        times.push_back(elapsed.count());
    }
    std::nth_element(times.begin(), times.begin() + kRuns / 2, times.end());
    return times[kRuns / 2];
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication application(argc, argv);
    std::vector<fs::path> programs;
    for (const auto& entry : fs::directory_iterator(ZORVAT_EXAMPLES)) {
        if (entry.path().extension() == ".txt") programs.push_back(entry.path());
    }
    std::sort(programs.begin(), programs.end());
    for (const fs::path& program : programs) {
        const double median = MedianRunMilliseconds(program);
        std::printf("%-22s median_ms=%.2f ratio_frame=%.2f\n", program.stem().c_str(), median,
                    median / kFrameMilliseconds);
    }
    return 0;
}
