// The long double functions against mpmath at 30 digits: 100 000 arguments per
// function (ordinary, near multiples of pi/2, near 0 and 1, large, tiny, near
// overflow), the worst error in units in the last place, ours next to the C
// library's, and how often 18 printed digits differ from the C library's.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <initializer_list>
#include <map>
#include <sstream>

#include "expr/long_double_math.h"
#include "expr/number_format.h"
#include "peer_tools.h"
#include "test_folder.h"

namespace {

using Real = long double;

struct Function {
    Real (*ours)(Real);
    Real (*library)(Real);
};

const std::map<std::string, Function> kFunctions = {
    {"sin", {expr::math::Sin, [](Real x) { return std::sin(x); }}},
    {"cos", {expr::math::Cos, [](Real x) { return std::cos(x); }}},
    {"tan", {expr::math::Tan, [](Real x) { return std::tan(x); }}},
    {"exp", {expr::math::Exp, [](Real x) { return std::exp(x); }}},
    {"sinh", {expr::math::Sinh, [](Real x) { return std::sinh(x); }}},
    {"cosh", {expr::math::Cosh, [](Real x) { return std::cosh(x); }}},
    {"ln", {expr::math::Ln, [](Real x) { return std::log(x); }}},
    {"log10", {expr::math::Log10, [](Real x) { return std::log10(x); }}},
    {"log2", {expr::math::Log2, [](Real x) { return std::log2(x); }}},
    {"atan", {expr::math::Atan, [](Real x) { return std::atan(x); }}},
    {"asin", {expr::math::Asin, [](Real x) { return std::asin(x); }}},
    {"acos", {expr::math::Acos, [](Real x) { return std::acos(x); }}},
};

// The first arguments of each function are uniform over its main range; this
// many of them also compare the 18 digits that --eval prints.
constexpr int kPrintedArguments = 10000;
// Errors up to this many ulp count as correctly rounded: the true value lies
// almost halfway between two long doubles.
constexpr double kNearTie = 0.502;

struct Worst {
    double ours = 0;
    double library = 0;
};

struct Summary {
    int arguments = 0;
    Worst worst;
    std::map<std::string, Worst> byCategory;
    int printedDifferent = 0;
};

bool SameBits(Real a, Real b) {
    return std::memcmp(&a, &b, 10) == 0;
}

// Error of v in units in the last place of the reference, which lies
// `fraction` units beyond `reference`.
double UlpError(Real v, Real reference, double fraction) {
    int exponent;
    std::frexp(reference, &exponent);
    const Real ulp = std::ldexp(1.0L, exponent - 64);
    return std::fabs(static_cast<double>((v - reference) / ulp) - fraction);
}

TEST(LongDoubleMathPeer, WithinOneUlpOfMpmath) {
    const auto folder = MakeTestFolder();
    const auto file = folder / "references.txt";
    const ToolResult result =
        RunTool("/usr/bin/python3 " ZORVAT_LONG_DOUBLE_PEER " " + file.string());
    ASSERT_EQ(result.status, 0) << result.output;

    std::map<std::string, Summary> summaries;
    std::ifstream in(file);
    std::string line;
    int failures = 0;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string name, category;
        int sign, exponent;
        unsigned long long mantissa;
        if (!(fields >> name >> category >> sign >> mantissa >> exponent)) {
            FAIL() << "unreadable reference line: " << line;
        }
        const Real x = sign * std::ldexp(static_cast<Real>(mantissa), exponent);
        Real ours, library;
        if (name == "pow") {
            int ySign, yExponent;
            unsigned long long yMantissa;
            if (!(fields >> ySign >> yMantissa >> yExponent)) {
                FAIL() << "unreadable reference line: " << line;
            }
            const Real y = ySign * std::ldexp(static_cast<Real>(yMantissa), yExponent);
            ours = expr::math::Power(x, y);
            library = std::pow(x, y);
        } else {
            const Function& f = kFunctions.at(name);
            ours = f.ours(x);
            library = f.library(x);
        }
        Summary& s = summaries[name];
        ++s.arguments;
        int refSign, refExponent;
        unsigned long long refMantissa;
        double fraction;
        if (!(fields >> refSign >> refMantissa >> refExponent >> fraction)) {
            // Zero, subnormal or overflowing: exactly what the C library gives.
            if (!SameBits(ours, library) && failures++ < 20) {
                ADD_FAILURE() << name << "(" << static_cast<double>(x)
                              << ") differs from the C library";
            }
            continue;
        }
        const Real reference = refSign * std::ldexp(static_cast<Real>(refMantissa), refExponent);
        const double error = UlpError(ours, reference, fraction);
        const double libraryError = UlpError(library, reference, fraction);
        for (Worst* w : {&s.worst, &s.byCategory[category]}) {
            w->ours = std::max(w->ours, error);
            w->library = std::max(w->library, libraryError);
        }
        // Beyond our ranges the C library answers; there its own error is the bound.
        if (error > 1.0 && !SameBits(ours, library) && failures++ < 20) {
            char text[200];
            std::snprintf(text, sizeof text, "%s(%.21Lg) = %.21Lg: %.3f ulp", name.c_str(), x, ours,
                          error);
            ADD_FAILURE() << text;
        }
        if (s.arguments <= kPrintedArguments) {
            const std::string a = expr::FormatGeneral(ours, 18),
                              b = expr::FormatGeneral(library, 18);
            if (a != b) {
                ++s.printedDifferent;
                // Printed digits change only where the C library was further off,
                // or at a near tie, where both round within a hair of correctly.
                EXPECT_LE(error, std::max(libraryError, kNearTie))
                    << name << " " << static_cast<double>(x);
                std::printf(
                    "  18 digits differ: %s(%.21Lg): ours %s, C library %s, true %.25Lg%+.3f ulp\n",
                    name.c_str(), x, a.c_str(), b.c_str(), reference, fraction);
            }
        }
    }
    EXPECT_EQ(summaries.size(), kFunctions.size() + 1);  // and pow
    for (const auto& [name, s] : summaries) {
        EXPECT_GE(s.arguments, 100000) << name;
        std::printf(
            "%-6s %6d arguments: worst %.3f ulp (C library %.3f ulp); 18 digits as the C "
            "library for %.2f%% of %d\n",
            name.c_str(), s.arguments, s.worst.ours, s.worst.library,
            100.0 * (kPrintedArguments - s.printedDifferent) / kPrintedArguments,
            kPrintedArguments);
        for (const auto& [category, w] : s.byCategory) {
            std::printf("         %-14s worst %.3f ulp (C library %.3f ulp)\n", category.c_str(),
                        w.ours, w.library);
        }
    }
}

}  // namespace
