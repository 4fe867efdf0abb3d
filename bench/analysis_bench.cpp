// A direction field of 100 x 100 segments and 50 Runge-Kutta solution curves of 1000
// steps: one whole run on a 500 x 500 picture, median over repeated runs, beside the
// same numbers computed by a plain C++ loop without parser or drawing (the peer).
// The goal is a run under 200 ms.
#include <QGuiApplication>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <iostream>
#include <vector>

#include "app/batch_host.h"
#include "engine/compiler.h"
#include "engine/runner.h"
#include "plot/plot_surface.h"

namespace {

constexpr int kRuns = 21;
constexpr double kGoalMilliseconds = 200;

const std::vector<std::string> kProgram = {
    "xmin=-5",
    "xmax=4.9",
    "ymin=-5",
    "ymax=4.9",
    "lijnelveld(0.3*sin(x*y);0.1;0.1)",
    "met(k;1;50;1)",
    "oplossingskromme(0.3*sin(x*y);-5;-3.5+k*0.14;0.0098;999;runge)",
    "volgende",
};

double Median(std::vector<double> times) {
    std::nth_element(times.begin(), times.begin() + kRuns / 2, times.end());
    return times[kRuns / 2];
}

double MedianMilliseconds(const std::function<void()>& work) {
    work();  // caches and first allocations, as before a redraw
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double, std::milli> elapsed =
            std::chrono::steady_clock::now() - start;
        times.push_back(elapsed.count());
    }
    return Median(times);
}

// The peer: the same slopes and curves with the right-hand side written in C++.
double PlainLoop() {
    const auto f = [](double x, double y) { return 0.3 * std::sin(x * y); };
    double sum = 0;
    for (int i = 0; i < 100; ++i) {
        for (int j = 0; j < 100; ++j) sum += f(-5 + 0.1 * i, -5 + 0.1 * j);
    }
    for (int k = 1; k <= 50; ++k) {
        double x = -5, y = -3.5 + k * 0.14;
        const double h = 0.0098;
        for (int s = 0; s < 1000; ++s) {
            const double k1 = h * f(x, y), k2 = h * f(x + h / 2, y + k1 / 2);
            const double k3 = h * f(x + h / 2, y + k2 / 2), k4 = h * f(x + h, y + k3);
            y += (k1 + 2 * k2 + 2 * k3 + k4) / 6;
            x += h;
        }
        sum += y;
    }
    return sum;
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication application(argc, argv);
    app::BatchHost host(std::cerr);
    plot::TPlotSurface surface(500, 500);
    engine::Runner runner(host, surface);
    runner.Program() = engine::CompileProgram(kProgram);
    const double ours = MedianMilliseconds([&] { runner.Run(); });
    volatile double sink = 0;
    const double peer = MedianMilliseconds([&] { sink = sink + PlainLoop(); });
    std::printf("field 100x100 + 50 runge curves x 1000 steps: median_ms=%.2f goal_ms=%.0f %s\n",
                ours, kGoalMilliseconds, ours < kGoalMilliseconds ? "ok" : "TOO SLOW");
    std::printf("plain C++ loop (same numbers, no parser, no drawing): median_ms=%.3f ratio=%.1f\n",
                peer, ours / peer);
    return runner.LastRunFailed() ? 1 : 0;
}
