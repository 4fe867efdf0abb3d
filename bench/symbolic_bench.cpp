// Times libsymbolic on 100 typical requests (derivatives, antiderivatives, substitution,
// approximation, LaTeX) and prints the median and slowest time per request; then times hostile
// requests, each of which should end within two seconds.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "symbolic.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRuns = 7;

const char* const kRequests[] = {
    "diff(x^3,x)",
    "diff(x^2+3*x+1,x)",
    "diff(3*x^4-2*x^3+x-7,x)",
    "diff(5,x)",
    "diff(x,x)",
    "diff(1/x,x)",
    "diff(1/x^2,x)",
    "diff(x^(-3),x)",
    "diff(sqrt(x),x)",
    "diff(x^(1/3),x)",
    "diff(x^(3/2),x)",
    "diff(x^(-1/2),x)",
    "diff(2.5*x^2,x)",
    "diff((x^2+1)^3,x)",
    "diff((2*x-1)^5,x)",
    "diff(sqrt(x^2+1),x)",
    "diff(1/sqrt(x),x)",
    "diff(sin(x),x)",
    "diff(cos(x),x)",
    "diff(tan(x),x)",
    "diff(sin(2*x),x)",
    "diff(cos(3*x+1),x)",
    "diff(sin(x)^2,x)",
    "diff(cos(x)^3,x)",
    "diff(sin(x)*cos(x),x)",
    "diff(exp(x),x)",
    "diff(exp(2*x),x)",
    "diff(exp(-x^2),x)",
    "diff(x*exp(x),x)",
    "diff(x^2*exp(-x),x)",
    "diff(ln(x),x)",
    "diff(ln(x^2+1),x)",
    "diff(ln(2*x),x)",
    "diff(x*ln(x),x)",
    "diff(ln(x)/x,x)",
    "diff(ln(sin(x)),x)",
    "diff(asin(x),x)",
    "diff(acos(x),x)",
    "diff(atan(x),x)",
    "diff(atan(2*x),x)",
    "diff(asin(x/2),x)",
    "diff(x*sin(x),x)",
    "diff(x^2*cos(x),x)",
    "diff(sin(x)/x,x)",
    "diff(x/(x+1),x)",
    "diff((x^2+1)/(x-1),x)",
    "diff((x-1)/(x+1)^2,x)",
    "diff(1/(1+x^2),x)",
    "diff(exp(x)*sin(x),x)",
    "diff(exp(sin(x)),x)",
    "diff(sin(exp(x)),x)",
    "diff(sqrt(1-x^2),x)",
    "diff(tan(x^2),x)",
    "diff(1/cos(x),x)",
    "diff(2^x,x)",
    "diff(x^x,x)",
    "diff(sin(x)^2+cos(x)^2,x)",
    "diff((3*x+2)/(4*x-5),x)",
    "diff(x^2*ln(x),x)",
    "diff(sqrt(x)*ln(x),x)",
    "int(x^2,x)",
    "int(x^3-2*x,x)",
    "int(3*x^2+2*x+1,x)",
    "int(5,x)",
    "int(x,x)",
    "int(1/x,x)",
    "int(1/x^2,x)",
    "int(x^(-3),x)",
    "int(sqrt(x),x)",
    "int(1/sqrt(x),x)",
    "int(x^(2/3),x)",
    "int(exp(x),x)",
    "int(exp(2*x),x)",
    "int(exp(-x),x)",
    "int(exp(3*x+1),x)",
    "int(sin(x),x)",
    "int(cos(x),x)",
    "int(sin(2*x),x)",
    "int(cos(3*x-1),x)",
    "int(tan(x),x)",
    "int(1/(1+x^2),x)",
    "int(1/sqrt(1-x^2),x)",
    "int(1/(2*x+1),x)",
    "int((2*x+1)^3,x)",
    "int((3*x-2)^4,x)",
    "int(sqrt(2*x+1),x)",
    "int(1/(x+1)^2,x)",
    "int(x*exp(x),x)",
    "int(x*exp(2*x),x)",
    "int(x^2*exp(x),x)",
    "int(x*sin(x),x)",
    "int(x*cos(x),x)",
    "int(x^2*sin(x),x)",
    "int(x*cos(2*x),x)",
    "int(ln(x),x)",
    "int(x*ln(x),x)",
    "int(x^2,x,0,3)",
    "SUBST(x^2+1,x,3)",
    "APPROX(SQRT(2)+SIN(1))",
    "LATEX((x^2+1)/(x-1))",
};

// Median of kRuns calls of one request, in microseconds. A request's tree is freed after
// each call, so no call finds the previous one's normal forms.
double MedianMicroseconds(const char* request, double& first) {
    std::vector<double> times;
    char answer[1000];
    for (int run = 0; run < kRuns; ++run) {
        const auto start = Clock::now();
        symbolic_calculate(request, answer, sizeof answer);
        times.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    first = times.front();
    std::nth_element(times.begin(), times.begin() + kRuns / 2, times.end());
    return times[kRuns / 2];
}

std::string Repeated(const std::string& part, int count, const std::string& end) {
    std::string text;
    for (int i = 0; i < count; ++i) text += part;
    return text + end;
}

std::string Nested(const std::string& function, int depth) {
    std::string text = "x";
    for (int i = 0; i < depth; ++i) text = function + "(" + text + ")";
    return text;
}

// Deep, endless and big-number requests of at most 100 KB; the macros come first.
std::vector<std::string> HostileRequests() {
    std::string fractions;
    for (int i = 0; i < 900; ++i) {
        if (i > 0) fractions += "+";
        fractions += std::to_string(1000003 + 7 * i) + std::string(44, '7') + "/" +
                     std::to_string(2000003 + 11 * i) + std::string(44, '3');
    }
    std::string factors;
    for (int i = 1; i < 999; ++i) factors += (i > 1 ? "*" : "") + std::to_string(i);
    return {
        "_ADD_MACRO(grows(x),grows(x)+1)",
        "_ADD_MACRO(nests(x),nests(nests(x)))",
        "_ADD_MACRO(counts(x),counts(x+1))",
        "_ADD_MACRO(down(n),IF(n>0,down(n-1),0))",
        Repeated("x^", 31000, "x"),
        "int(x^20000*cos(x),x)",
        "int(x^17600*sin(x),x)",
        "int(x^50000*exp(x),x)",
        "int(x^50000*sin(2*x),x)",
        "grows(2)",
        "nests(1)",
        "counts(1)",
        "diff(" + Nested("sin", 995) + ",x)",
        "diff(x^2,x," + std::string(1000, '9') + ")",
        "diff(x^2,x,10000)",
        "down(10^4999)",
        std::string(4999, '9') + "/" + std::string(4998, '7') + "1",
        "APPROX(" + std::string(4999, '9') + "/" + std::string(4998, '7') + "1)",
        fractions,
        factors,
        "int(x^2,x," + std::string(1600, '8') + "," + std::string(1600, '9') + ")",
        "2^16000",
        "9^9^9^9",
    };
}

}  // namespace

int main() {
    char answer[1000];
    symbolic_calculate("1", answer, sizeof answer);  // builds the rule base once
    std::vector<std::pair<double, const char*>> times;
    std::vector<double> firstCalls;
    for (const char* request : kRequests) {
        double first = 0;
        times.emplace_back(MedianMicroseconds(request, first), request);
        firstCalls.push_back(first);
    }
    std::sort(firstCalls.begin(), firstCalls.end());
    std::sort(times.begin(), times.end());
    double total = 0;
    for (const auto& [time, request] : times) total += time;
    std::printf("requests: %zu\n", times.size());
    std::printf("median per request: %.1f us\n", times[times.size() / 2].first);
    std::printf("median first call:  %.1f us\n", firstCalls[firstCalls.size() / 2]);
    std::printf("mean per request:   %.1f us\n", total / static_cast<double>(times.size()));
    std::printf("slowest: %.1f us  %s\n", times.back().first, times.back().second);
    std::printf("requests under 1 ms: %zu of %zu\n",
                static_cast<size_t>(std::count_if(times.begin(), times.end(),
                                                  [](const auto& t) { return t.first < 1000; })),
                times.size());

    std::printf("\nhostile requests, one call each:\n");
    std::vector<char> buffer(1 << 16);
    double slowest = 0;
    for (const std::string& request : HostileRequests()) {
        const auto start = Clock::now();
        const int length =
            symbolic_calculate(request.c_str(), buffer.data(), static_cast<int>(buffer.size()));
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        slowest = std::max(slowest, ms);
        const std::string shown = request.size() > 40 ? request.substr(0, 37) + "..." : request;
        std::printf("%9.1f ms  %-40s  %s%.40s\n", ms, shown.c_str(), length < 0 ? "error: " : "",
                    buffer.data());
    }
    std::printf("slowest hostile request: %.1f ms (goal: under 2000 ms)\n", slowest);
    return 0;
}
