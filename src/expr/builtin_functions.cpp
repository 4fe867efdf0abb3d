// The built-in function table of TParser and the shared power, rounding and
// random helpers.
#include "builtin_functions.h"

#include <algorithm>

#include <cfenv>
#include <cmath>
#include <limits>
#include <random>

#include "long_double_math.h"

namespace expr {

namespace {

constexpr Real kPi = 3.14159265358979323846264338327950288L;
constexpr Real kTwoPi = 6.28318530717958647692528676655900577L;
constexpr Real kTwoOverPi = 0.63661977236758134307553505349005745L;
constexpr Real kNaN = std::numeric_limits<Real>::quiet_NaN();

std::mt19937_64& Generator() {
    static std::mt19937_64 engine{std::random_device{}()};
    return engine;
}

Real Tan(Real x) {
    return math::Tan(x);
}
Real Sin(Real x) {
    return math::Sin(x);
}
Real Cos(Real x) {
    return math::Cos(x);
}
Real Sinh(Real x) {
    return math::Sinh(x);
}
Real Cosh(Real x) {
    return math::Cosh(x);
}
Real ArcTan(Real x) {
    return math::Atan(x);
}
Real CoTan(Real x) {
    return 1.0L / math::Tan(x);
}
// ARG is the polar angle of (x, y); called with one argument y is 0, so the
// angle of (x, 0): 0 on the positive axis and at the origin, pi on the negative axis.
Real Arg(Real x) {
    if (std::isnan(x)) return x;
    return std::isless(x, 0.0L) ? kPi : 0.0L;
}
Real Exp(Real x) {
    return math::Exp(x);
}
Real Ln(Real x) {
    return math::Ln(x);
}
Real Log10(Real x) {
    return math::Log10(x);
}
Real Log2(Real x) {
    return math::Log2(x);
}
Real Sqr(Real x) {
    return x * x;
}
Real Sqrt(Real x) {
    return std::sqrt(x);
}
Real Abs(Real x) {
    return std::fabs(x);
}
Real Trunc(Real x) {
    return std::trunc(x);
}
Real Ceil(Real x) {
    return std::ceil(x);
}
Real Floor(Real x) {
    return std::floor(x);
}
// The phase of x * pi/2 brought back into [-pi, pi].
Real Phase(Real x) {
    const Real u = x / kTwoOverPi;
    return kTwoPi * (u - RoundHalfEven(u));
}
Real Rnd(Real x) {
    return RandomFraction() * std::trunc(x);
}
Real Random(Real) {
    return RandomFraction();
}

Real Max(Real a, Real b) {
    if (std::isnan(a) || std::isnan(b)) return kNaN;
    return std::isgreater(a, b) ? a : b;
}
Real Min(Real a, Real b) {
    if (std::isnan(a) || std::isnan(b)) return kNaN;
    return std::isless(a, b) ? a : b;
}
Real Power(Real a, Real b) {
    return RealPower(a, b);
}
Real IntPower(Real a, Real b) {
    const Real n = std::trunc(b);
    constexpr Real kLimit = 9223372036854775808.0L;  // 2^63
    if (std::isless(std::fabs(n), kLimit)) return IntegerPower(a, static_cast<int64_t>(n));
    return RealPower(a, n);
}
Real LogN(Real base, Real x) {
    return math::Ln(x) / math::Ln(base);
}

constexpr FunctionDefinition kFunctions1[] = {
    {"TAN", Routine1<Tan>, true},        {"SIN", Routine1<Sin>, true},
    {"COS", Routine1<Cos>, true},        {"SINH", Routine1<Sinh>, true},
    {"COSH", Routine1<Cosh>, true},      {"ARCTAN", Routine1<ArcTan>, true},
    {"COTAN", Routine1<CoTan>, true},    {"ARG", Routine1<Arg>, true},
    {"EXP", Routine1<Exp>, true},        {"LN", Routine1<Ln>, true},
    {"LOG10", Routine1<Log10>, true},    {"LOG2", Routine1<Log2>, true},
    {"SQR", Routine1<Sqr>, true},        {"SQRT", Routine1<Sqrt>, true},
    {"ABS", Routine1<Abs>, true},        {"TRUNC", Routine1<Trunc>, true},
    {"INT", Routine1<Trunc>, true},      {"CEIL", Routine1<Ceil>, true},
    {"FLOOR", Routine1<Floor>, true},    {"HEAV", Routine1<Heaviside>, true},
    {"SIGN", Routine1<Sign>, true},      {"ZERO", Routine1<Zero>, true},
    {"PH", Routine1<Phase>, true},       {"RND", Routine1<Rnd>, false},
    {"RANDOM", Routine1<Random>, false},
};

constexpr FunctionDefinition kFunctions2[] = {
    {"MAX", Routine2<Max>, true},     {"MIN", Routine2<Min>, true},
    {"POWER", Routine2<Power>, true}, {"INTPOWER", Routine2<IntPower>, true},
    {"LOGN", Routine2<LogN>, true},
};

}  // namespace

std::span<const FunctionDefinition> BuiltinFunctions1() {
    return kFunctions1;
}
std::span<const FunctionDefinition> BuiltinFunctions2() {
    return kFunctions2;
}

Real RoundHalfEven(Real x) {
    if (!std::isfinite(x)) return x;
    const Real below = std::floor(x);
    const Real rest = x - below;
    if (rest > 0.5L) return below + 1;
    if (rest < 0.5L) return below;
    return std::fmod(below, 2.0L) == 0 ? below : below + 1;
}

Real IntegerPower(Real base, int64_t exponent) {
    const uint64_t count =
        exponent < 0 ? 0 - static_cast<uint64_t>(exponent) : static_cast<uint64_t>(exponent);
    const auto raise = [count](Real factor) {
        Real result = 1;
        // Square only while bits remain, so an unused last square cannot overflow.
        for (uint64_t n = count;;) {
            if (n & 1) result *= factor;
            n >>= 1;
            if (n == 0) break;
            factor *= factor;
        }
        return result;
    };
    if (exponent >= 0) return raise(base);

    fexcept_t overflowBefore;
    fegetexceptflag(&overflowBefore, FE_OVERFLOW);
    const Real power = raise(base);
    // When the positive power leaves the range, its reciprocal may still be
    // representable (or truly overflow): take the reciprocal of the base first.
    const bool beyondRange =
        (std::isinf(power) && std::isfinite(base)) || (power == 0 && base != 0);
    if (beyondRange) {
        fesetexceptflag(&overflowBefore, FE_OVERFLOW);
        return raise(1.0L / base);
    }
    return 1.0L / power;
}

Real RealPower(Real base, Real exponent) {
    if (exponent == 0) return 1;
    if (base == 0 && exponent > 0) return 0;
    constexpr Real kInt32Limit = 2147483648.0L;
    if (exponent == std::trunc(exponent) && exponent >= -kInt32Limit && exponent < kInt32Limit) {
        return IntegerPower(base, static_cast<int64_t>(exponent));
    }
    return math::Power(base, exponent);
}

int64_t TruncateToInt64(Real x) {
    constexpr Real kLimit = 9223372036854775808.0L;  // 2^63
    if (!(x >= -kLimit && x < kLimit)) {
        std::feraiseexcept(FE_INVALID);
        return 0;
    }
    return static_cast<int64_t>(x);
}

Real RandomFraction() {
    // 64 random bits fit the 64-bit mantissa exactly, so the result stays below 1.
    return static_cast<Real>(Generator()()) * 0x1p-64L;
}

void SeedRandom(uint64_t seed) {
    Generator().seed(seed);
}

bool UsesOnlyX87Flags(OperationRoutine routine) {
    static constexpr OperationRoutine kX87Only[] = {
        Routine1<Sqr>,  Routine1<Abs>, Routine1<Heaviside>, Routine1<Sign>,
        Routine1<Zero>, Routine2<Max>, Routine2<Min>,
    };
    return std::find(std::begin(kX87Only), std::end(kX87Only), routine) != std::end(kX87Only);
}

bool KeepsFaultsInSight(OperationRoutine routine) {
    // The others of the kind (SIN, TAN, LN, SQRT, ...) are done in place.
    static constexpr OperationRoutine kInSight[] = {
        Routine1<CoTan>,
        Routine1<Trunc>,
        Routine1<Ceil>,
        Routine1<Floor>,
    };
    return std::find(std::begin(kInSight), std::end(kInSight), routine) != std::end(kInSight);
}

bool NeverFaults(OperationRoutine routine) {
    static constexpr OperationRoutine kComparisons[] = {
        Routine1<Abs>,  Routine1<Heaviside>, Routine1<Sign>,
        Routine1<Zero>, Routine2<Max>,       Routine2<Min>,
    };
    return std::find(std::begin(kComparisons), std::end(kComparisons), routine) !=
           std::end(kComparisons);
}

}  // namespace expr
