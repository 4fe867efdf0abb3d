// Statements per second of the program runner, next to the same loop in Python 3.
#include <sched.h>
#include <QGuiApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/batch_host.h"
#include "engine/compiler.h"
#include "engine/runner.h"
#include "plot/plot_surface.h"

namespace {

// 200 000 passes of five statements: one million statements.
constexpr int kPasses = 200000;
constexpr int kStatementsPerPass = 5;

// Best of several runs of `program`.
double BestRunSeconds(engine::Runner& runner, const std::vector<std::string>& program) {
    runner.Program() = engine::CompileProgram(program);
    double best = 1e30;
    for (int round = 0; round < 7; ++round) {
        const auto start = std::chrono::steady_clock::now();
        runner.Run();
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        best = std::min(best, elapsed.count());
    }
    return best;
}

// The loop's time: a run of the program less a run of the empty program (clearing
// the picture and drawing the axes), like the Python time excludes start-up.
double SecondsForZorvat() {
    app::BatchHost host(std::cerr);
    plot::TPlotSurface surface(100, 100);
    engine::Runner runner(host, surface);
    const double empty = BestRunSeconds(runner, {});
    const double loop = BestRunSeconds(runner, {
                                                   "s:=0",
                                                   "t:=0",
                                                   "for(i;1;" + std::to_string(kPasses) + ";1)",
                                                   "s:=s+i*2",
                                                   "als(heav(i))",
                                                   "t:=t+1",
                                                   "eindals",
                                                   "volgende",
                                               });
    if (runner.Parser(1).ReadVariable("t") != kPasses) {
        std::cerr << "run_bench: the program did not run every pass\n";
        std::exit(1);
    }
    std::fprintf(stderr, "run_bench: empty run %.2f ms, loop run %.2f ms\n", empty * 1e3,
                 loop * 1e3);
    return loop - empty;
}

// The same loop in Python 3, timed inside the interpreter (start-up excluded).
double SecondsForPython() {
    const std::string script =
        "import time\n"
        "def run():\n"
        "    s = 0\n"
        "    t = 0\n"
        "    for i in range(1, " +
        std::to_string(kPasses) +
        " + 1):\n"
        "        s = s + i * 2\n"
        "        if i >= 0:\n"
        "            t = t + 1\n"
        "    return t\n"
        "best = 1e30\n"
        "for _ in range(7):\n"
        "    start = time.perf_counter()\n"
        "    run()\n"
        "    best = min(best, time.perf_counter() - start)\n"
        "print(best)\n";
    const std::string command = "python3 -c '" + script + "'";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe) return 1e30;
    char buffer[64] = {};
    if (std::fgets(buffer, sizeof buffer, pipe.get()) == nullptr) return 1e30;
    return std::atof(buffer);
}

}  // namespace

int main(int argc, char** argv) {
    // Both interpreters on the same core: the two cores of a shared machine can
    // differ in speed at any moment.
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(sched_getcpu(), &one);
    sched_setaffinity(0, sizeof one, &one);
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication application(argc, argv);
    // Turns, so that a slow spell of a shared machine hits both alike.
    double zorvat = 1e30, python = 1e30;
    for (int turn = 0; turn < 3; ++turn) {
        zorvat = std::min(zorvat, SecondsForZorvat());
        python = std::min(python, SecondsForPython());
    }
    const double statements = static_cast<double>(kPasses) * kStatementsPerPass;
    std::printf("statements=%.0f zorvat_statements_per_second=%.0f", statements,
                statements / zorvat);
    if (python < 1e30) {
        std::printf(" python_statements_per_second=%.0f ratio_python=%.2f\n", statements / python,
                    python / zorvat);
    } else {
        std::printf(" python=unavailable\n");
    }
    return 0;
}
