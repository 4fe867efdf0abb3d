// Times TParser against muparser and against the same expression written in C++,
// over the same x values; prints one line of ratios per expression.
#include <muParser.h>
#include <sched.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "expr/parser.h"

namespace {

using Clock = std::chrono::steady_clock;
using Real = long double;

constexpr int kSamples = 1'000'000;
constexpr int kRepetitions = 9;
constexpr Real kPi = 3.14159265358979323846264338327950288L;

struct Case {
    const char* text;
    Real low;  // x runs over [low, high], where the expression is defined
    Real high;
    Real (*native)(Real);
};

const Case kCases[] = {
    {"sin(x)*x^2+3", -10, 10, [](Real x) { return std::sin(x) * x * x + 3; }},
    {"sqrt(16.3-x*x)", -4, 4, [](Real x) { return std::sqrt(16.3L - x * x); }},
    {"exp(-x*x/2)/sqrt(2*pi)", -8, 8,
     [](Real x) { return std::exp(-x * (x / 2)) / std::sqrt(2 * kPi); }},
    {"(x^3-2*x+1)/(x^2+1)", -10, 10, [](Real x) { return (x * x * x - 2 * x + 1) / (x * x + 1); }},
    {"abs(x-1)+abs(x+1)", -10, 10, [](Real x) { return std::fabs(x - 1) + std::fabs(x + 1); }},
};

// Best of several rounds, in seconds, for each of `runs`; the rounds take turns,
// so that a slow spell of a shared machine hits all of them alike. `sum` keeps the
// work observable.
std::vector<double> BestTimes(const std::vector<std::function<double()>>& runs, double& sum) {
    std::vector<double> best(runs.size(), std::numeric_limits<double>::max());
    for (int r = 0; r < kRepetitions; ++r) {
        for (size_t i = 0; i < runs.size(); ++i) {
            const auto start = Clock::now();
            sum += runs[i]();
            const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
            best[i] = std::min(best[i], seconds);
        }
    }
    return best;
}

}  // namespace

int main() {
    // All three on one core: the cores of a shared machine can differ in speed.
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(sched_getcpu(), &one);
    sched_setaffinity(0, sizeof one, &one);

    double checksum = 0;
    for (const Case& c : kCases) {
        std::vector<Real> xs(kSamples);
        std::vector<double> xd(kSamples);
        for (int i = 0; i < kSamples; ++i) {
            xs[i] = c.low + (c.high - c.low) * i / (kSamples - 1);
            xd[i] = static_cast<double>(xs[i]);
        }

        expr::TParser parser;
        parser.SetExpression(c.text);
        Real& x = parser.X();
        mu::Parser peer;
        peer.DefineConst("pi", static_cast<double>(kPi));
        double peerX = 0;
        peer.DefineVar("x", &peerX);
        peer.SetExpr(c.text);
        const std::vector<double> times = BestTimes({[&] {
                                                         Real sum = 0;
                                                         for (const Real value : xs) {
                                                             x = value;
                                                             sum += parser.Value();
                                                         }
                                                         return static_cast<double>(sum);
                                                     },
                                                     [&] {
                                                         double sum = 0;
                                                         for (const double value : xd) {
                                                             peerX = value;
                                                             sum += peer.Eval();
                                                         }
                                                         return sum;
                                                     },
                                                     [&] {
                                                         Real sum = 0;
                                                         for (const Real value : xs)
                                                             sum += c.native(value);
                                                         return static_cast<double>(sum);
                                                     }},
                                                    checksum);
        const double ours = times[0], theirs = times[1], native = times[2];

        std::printf("%s ratio_muparser=%.2f ratio_native=%.2f\n", c.text, ours / theirs,
                    ours / native);
        std::fprintf(stderr, "  %s: TParser %.1f ns, muparser %.1f ns, native %.1f ns\n", c.text,
                     ours * 1e9 / kSamples, theirs * 1e9 / kSamples, native * 1e9 / kSamples);
    }
    std::fprintf(stderr, "checksum %g\n", checksum);
    return 0;
}
