// The long double functions on special arguments (the C library's value and
// flags, bit for bit), on exact cases, and on the symmetries of the quadrants.
#include "expr/long_double_math.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

using Real = long double;

struct Function {
    const char* name;
    Real (*ours)(Real);
    Real (*library)(Real);
};

const Function kFunctions[] = {
    {"sin", expr::math::Sin, [](Real x) { return std::sin(x); }},
    {"cos", expr::math::Cos, [](Real x) { return std::cos(x); }},
    {"tan", expr::math::Tan, [](Real x) { return std::tan(x); }},
    {"exp", expr::math::Exp, [](Real x) { return std::exp(x); }},
    {"ln", expr::math::Ln, [](Real x) { return std::log(x); }},
    {"log10", expr::math::Log10, [](Real x) { return std::log10(x); }},
    {"log2", expr::math::Log2, [](Real x) { return std::log2(x); }},
    {"sinh", expr::math::Sinh, [](Real x) { return std::sinh(x); }},
    {"cosh", expr::math::Cosh, [](Real x) { return std::cosh(x); }},
    {"atan", expr::math::Atan, [](Real x) { return std::atan(x); }},
    {"asin", expr::math::Asin, [](Real x) { return std::asin(x); }},
    {"acos", expr::math::Acos, [](Real x) { return std::acos(x); }},
};

constexpr int kFaults = FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW;

// True when the space-separated `list` holds `name`.
bool Names(const std::string& list, const std::string& name) {
    return (" " + list + " ").find(" " + name + " ") != std::string::npos;
}

bool SameBits(Real a, Real b) {
    return std::memcmp(&a, &b, 10) == 0;
}

TEST(LongDoubleMathTest, SpecialArgumentsGiveTheLibraryValueAndFlags) {
    constexpr Real kInf = std::numeric_limits<Real>::infinity();
    struct Case {
        Real x;
        const char* functions;  // where x is special
    };
    const char* all = "sin cos tan exp ln log10 log2 sinh cosh atan asin acos";
    const Case cases[] = {
        {0.0L, all},
        {-0.0L, "sin cos tan exp ln log10 log2 cosh atan asin acos"},  // sinh(-0) stays +0
        {kInf, all},
        {-kInf, all},
        {std::numeric_limits<Real>::quiet_NaN(), all},
        {1E4930L, all},
        {-1E4930L, all},
        {1E-4950L, all},  // subnormal
        {-1E-4950L, all},
        {1, "ln log10 log2 atan asin acos"},
        {-1, "atan asin acos"},
        {1.0000000000000000001L, "asin acos"},  // just outside: NaN and invalid
        {-2, "asin acos"},
        {0x1p64L, "atan"},  // the edge of our range and beyond
        {-0x1p65L, "atan"},
        {std::numeric_limits<Real>::min(), "sin cos tan exp"},
        {std::numeric_limits<Real>::max(), "sin cos tan exp"},
        // pi/2 rounded: the remainder is so small that the C library does it.
        {1.57079632679489661923L, "sin cos tan"},
        {65536.5L, "sin cos tan"},  // beyond the reduction
        {-1E6L, "sin cos tan"},
        {11350.5L, "exp"},  // near overflow, overflowing, subnormal results
        {11356.6L, "exp"},
        {-11360, "exp"},
        {-11400, "exp"},
        {11350.5L, "sinh cosh"},  // beyond our range, finite, overflowing
        {-11357, "sinh cosh"},
        {11358, "sinh cosh"},
    };
    for (const Function& f : kFunctions) {
        for (const Case& c : cases) {
            if (!Names(c.functions, f.name)) continue;
            const Real x = c.x;
            std::feclearexcept(FE_ALL_EXCEPT);
            const Real library = f.library(x);
            const int libraryFlags = std::fetestexcept(kFaults);
            std::feclearexcept(FE_ALL_EXCEPT);
            const Real ours = f.ours(x);
            const int ourFlags = std::fetestexcept(kFaults);
            EXPECT_TRUE(SameBits(ours, library) || (std::isnan(ours) && std::isnan(library)))
                << f.name << "(" << static_cast<double>(x) << ") = " << static_cast<double>(ours)
                << ", C library " << static_cast<double>(library);
            EXPECT_EQ(ourFlags, libraryFlags) << f.name << "(" << static_cast<double>(x) << ")";
        }
    }
    std::feclearexcept(FE_ALL_EXCEPT);
}

TEST(LongDoubleMathTest, ExactCasesAreExact) {
    for (int k = -16382; k <= 16383; k += 7) {
        EXPECT_EQ(expr::math::Log2(std::ldexp(1.0L, k)), k) << k;
    }
    Real power = 1;
    for (int k = 0; k <= 27; ++k, power *= 10) {  // 10^27 is the last exact power
        EXPECT_EQ(expr::math::Log10(power), k) << k;
        EXPECT_EQ(expr::math::Log10(1 / power), -k) << k;
    }
    EXPECT_EQ(expr::math::Ln(1), 0);
    EXPECT_EQ(expr::math::Exp(0), 1);
    EXPECT_EQ(expr::math::Exp(1), 2.71828182845904523536L);
    EXPECT_EQ(expr::math::Sin(0.5L), 0.479425538604203000273L);
    EXPECT_EQ(expr::math::Cos(0.5L), 0.877582561890372716116L);
    EXPECT_EQ(expr::math::Tan(0.5L), 0.546302489843790513255L);
}

// sinh as (e^x - e^-x) / 2 kept about 5 digits of sinh(1e-15), cosh(11357)
// overflowed although it is finite, and sinh(-0) was +0 (it stays so).
TEST(LongDoubleMathTest, HyperbolicFunctionsWithoutCancellationOrEarlyOverflow) {
    EXPECT_EQ(expr::math::Sinh(1E-15L), 1E-15L);
    EXPECT_EQ(expr::math::Sinh(-1E-10L), -1.00000000000000000000166666667E-10L);
    EXPECT_EQ(expr::math::Sinh(0.0625L), 0.06254069805219182172183989L);  // series limit
    EXPECT_EQ(expr::math::Sinh(1), 1.175201193643801456882382L);
    EXPECT_EQ(expr::math::Cosh(-1), 1.543080634815243778477906L);
    EXPECT_TRUE(std::isfinite(expr::math::Cosh(11357)));
    EXPECT_FALSE(std::signbit(expr::math::Sinh(-0.0L)));
    for (Real x = -30; x < 30; x += 0.0317L) {
        EXPECT_EQ(expr::math::Sinh(-x), -expr::math::Sinh(x)) << static_cast<double>(x);
        EXPECT_EQ(expr::math::Cosh(-x), expr::math::Cosh(x)) << static_cast<double>(x);
    }
}

// x^y was e^(y ln x) from a rounded logarithm: 2^10050 came out thousands of
// units off. Special arguments keep that formula's value and flags.
TEST(LongDoubleMathTest, PowersKeepTheirLastDigits) {
    using expr::math::Power;
    EXPECT_EQ(Power(0x1p100L, 100.5L), 0x1p10050L);
    EXPECT_EQ(Power(0x1p-100L, 100.25L), 0x1p-10025L);
    EXPECT_EQ(Power(0x1p64L, 1.5L), 0x1p96L);
    EXPECT_EQ(Power(4, 0.5L), 2);
    EXPECT_EQ(Power(3, 0.5L), std::sqrt(3.0L));
    EXPECT_EQ(Power(1, 1E4000L), 1);  // beyond 2^8: the C library's
    constexpr Real kInf = std::numeric_limits<Real>::infinity();
    const Real nan = std::numeric_limits<Real>::quiet_NaN();
    for (Real x : {0.0L, -0.0L, -8.0L, kInf, -kInf, nan, 1E-4950L, 2.0L}) {
        for (Real y : {0.5L, -0.5L, kInf, -kInf, nan}) {
            if (x == 2 && std::isfinite(y)) continue;
            std::feclearexcept(FE_ALL_EXCEPT);
            const Real before = expr::math::Exp(y * expr::math::Ln(x));
            const int beforeFlags = std::fetestexcept(kFaults);
            std::feclearexcept(FE_ALL_EXCEPT);
            const Real ours = Power(x, y);
            EXPECT_EQ(std::fetestexcept(kFaults), beforeFlags)
                << static_cast<double>(x) << "^" << static_cast<double>(y);
            EXPECT_TRUE(SameBits(ours, before) || (std::isnan(ours) && std::isnan(before)))
                << static_cast<double>(x) << "^" << static_cast<double>(y);
        }
    }
    std::feclearexcept(FE_ALL_EXCEPT);
}

// Guards the quadrant and table-sign bookkeeping of the reduction.
TEST(LongDoubleMathTest, QuadrantsKeepTheSymmetries) {
    for (Real x = -400; x < 400; x += 0.0123L) {
        EXPECT_EQ(expr::math::Sin(-x), -expr::math::Sin(x)) << static_cast<double>(x);
        EXPECT_EQ(expr::math::Cos(-x), expr::math::Cos(x)) << static_cast<double>(x);
        EXPECT_EQ(expr::math::Tan(-x), -expr::math::Tan(x)) << static_cast<double>(x);
        const Real s = expr::math::Sin(x), c = expr::math::Cos(x);
        EXPECT_NEAR(static_cast<double>(s * s + c * c), 1.0, 1e-18) << static_cast<double>(x);
        EXPECT_NEAR(static_cast<double>(std::sin(x) - s), 0.0, 2e-19) << static_cast<double>(x);
    }
}

// Processors without fused multiply-adds take the other kernels: the same
// bits, so results never depend on the machine.
TEST(LongDoubleMathTest, KernelsWithAndWithoutFusedMultiplyAddAgree) {
    if (!expr::math::detail::UseFusedMultiplyAdd(true)) GTEST_SKIP() << "no FMA here";
    std::vector<Real> xs;
    Real x = 1E-9L;
    for (int i = 0; i < 20000; ++i, x *= -1.0011L) xs.push_back(x);  // up to about 3.6E9
    for (int k = -200000; k <= 200000; k += 37) {  // near the reduction's break points
        const Real edge = k * 0.0061359231515425649188L;
        xs.insert(xs.end(), {edge, std::nextafter(edge, 0.0L), edge + 0x1p-41L});
    }
    for (Real e = -11350; e <= 11350; e += 0.731L) xs.push_back(e);
    using Function = Real (*)(Real);
    const Function functions[] = {
        expr::math::Sin,
        expr::math::Cos,
        expr::math::Tan,
        expr::math::Exp,
        expr::math::Sinh,
        expr::math::Cosh,
        [](Real a) { return expr::math::Ln(std::fabs(a)); },
        [](Real a) { return expr::math::Log2(std::fabs(a)); },
        [](Real a) { return expr::math::Log10(std::fabs(a)); },
        [](Real a) { return expr::math::Power(std::fabs(a) + 0.5L, 1.7L); },
    };
    std::vector<Real> fused;
    for (const Real a : xs) {
        for (const Function f : functions) fused.push_back(f(a));
    }
    expr::math::detail::UseFusedMultiplyAdd(false);
    size_t i = 0;
    for (const Real a : xs) {
        for (const Function f : functions) {
            const Real plain = f(a);
            EXPECT_TRUE(SameBits(plain, fused[i]) || (std::isnan(plain) && std::isnan(fused[i])))
                << static_cast<double>(a);
            ++i;
        }
    }
    expr::math::detail::UseFusedMultiplyAdd(true);
}

}  // namespace
