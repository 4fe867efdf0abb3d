// Long double elementary functions of our own: table-driven reductions and
// short polynomials, with the C library for the arguments outside their range.
#pragma once

#include <cmath>
#include <limits>

namespace expr::math {

namespace detail {

// x = hi + lo, the nearest double to a long double x and the rest.
long double SinOfPair(double hi, double lo);
long double CosOfPair(double hi, double lo);
long double TanOfPair(double hi, double lo);
long double ExpOfPair(double hi, double lo);

// Whether the kernels use fused multiply-adds, where the processor has them;
// the results are the same bits either way. Returns the setting now in force.
bool UseFusedMultiplyAdd(bool on);

// The x87 format, which a pair of doubles holds exactly; elsewhere the C
// library does it all.
inline constexpr bool kExtended = std::numeric_limits<long double>::digits == 64;
inline constexpr long double kTrigonometricLimit = 0x1p16L;
// Keeps the result of the exponential a normal number.
inline constexpr long double kExpLimit = 11350;

// Below these sin x and tan x are x, cos x is 1 and e^x is 1 + x, to the
// last bit.
inline constexpr double kFirstTermOnly = 0x1p-33;
inline constexpr double kExpFirstTermOnly = 0x1p-70;

inline bool Within(long double x, long double limit) {
    return __builtin_islessequal(__builtin_fabsl(x), limit);  // quiet for NaN
}

}  // namespace detail

// Each gives the C library's value for special arguments (infinities, NaN,
// zero, out of domain, beyond the reduction range), with the same flags. The
// first four split the argument into a pair of doubles here: a long double
// passed by value goes through memory, the pair in two registers.
inline long double Sin(long double x) {
    if (!detail::kExtended || !detail::Within(x, detail::kTrigonometricLimit)) return std::sin(x);
    const double hi = static_cast<double>(x);
    if (std::fabs(hi) < detail::kFirstTermOnly) return x;
    return detail::SinOfPair(hi, static_cast<double>(x - hi));
}

inline long double Cos(long double x) {
    if (!detail::kExtended || !detail::Within(x, detail::kTrigonometricLimit)) return std::cos(x);
    const double hi = static_cast<double>(x);
    if (std::fabs(hi) < detail::kFirstTermOnly) return 1;
    return detail::CosOfPair(hi, static_cast<double>(x - hi));
}

inline long double Tan(long double x) {
    if (!detail::kExtended || !detail::Within(x, detail::kTrigonometricLimit)) return std::tan(x);
    const double hi = static_cast<double>(x);
    if (std::fabs(hi) < detail::kFirstTermOnly) return x;
    return detail::TanOfPair(hi, static_cast<double>(x - hi));
}

inline long double Exp(long double x) {
    if (!detail::kExtended || !detail::Within(x, detail::kExpLimit)) return std::exp(x);
    const double hi = static_cast<double>(x);
    if (std::fabs(hi) < detail::kExpFirstTermOnly) return 1 + x;
    return detail::ExpOfPair(hi, static_cast<double>(x - hi));
}

long double Ln(long double x);
long double Log10(long double x);
long double Log2(long double x);
long double Sinh(long double x);
long double Cosh(long double x);
long double Atan(long double x);
long double Asin(long double x);
long double Acos(long double x);
// x^y as e^(y ln x) with a logarithm of double length, so that large powers
// keep their last digits; for x <= 0, subnormal or special x and infinite y it
// is Exp(y * Ln(x)) as before; for |y| > 256 and beyond the exponential's range
// the C library's.
long double Power(long double x, long double y);

}  // namespace expr::math
