// Factoring products of two primes of 15, 20, 25 and 30 digits: the calculator
// window's pipeline, factor# of programs, and gp alone (the outside program both
// end with), in seconds; ratio_gp is our time over gp's.
#include <QGuiApplication>
#include <chrono>
#include <cstdio>
#include <iostream>

#include "app/batch_host.h"
#include "bigint/factorisation.h"
#include "engine/compiler.h"
#include "engine/outside_factoring.h"
#include "engine/runner.h"

namespace {

struct Semiprime {
    int digits;
    const char* product;
};

constexpr Semiprime kSemiprimes[] = {
    {15, "16613904352556811556062325741"},
    {20, "163845705891181273050209413182200341937"},
    {25, "1967706961107006591548598637496336922667422757249"},
    {30, "25261715354298798059614466984426179320823040470353438525349"},
};

template <typename Work>
double Seconds(Work&& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication application(argc, argv);
    for (const Semiprime& s : kSemiprimes) {
        bigint::TInteger n;
        n.AssignText(s.product);
        const double gp = Seconds([&] { engine::FactorWithGp(n, [] { return true; }); });
        const double window = Seconds([&] {
            bigint::Factorisation work([](const std::string&) {},
                                       [](const bigint::TInteger& m) {
                                           return engine::FactorWithGp(m, [] { return true; });
                                       },
                                       {});
            work.Run(n);
        });
        app::BatchHost host(std::cerr);
        plot::TPlotSurface surface(10, 10);
        engine::Runner runner(host, surface);
        runner.Program() = engine::CompileProgram({std::string("#a:=") + s.product, "factor#(#a)"});
        const double command = Seconds([&] { runner.Run(); });
        std::printf("2x%d_digits window_s=%.2f factor#_s=%.2f gp_s=%.3f ratio_gp=%.0f\n", s.digits,
                    window, command, gp, window / gp);
    }
    return 0;
}
